#pragma once

#include "cli/portcommand.h"
#include "protocol/protocol.h"

#include <QJsonObject>

/// `info`: the address, then date and time, zero mode and sleep period, one query each.
class InfoCommand : public PortCommand {
    Q_OBJECT

public:
    using PortCommand::PortCommand;

protected:
    void begin() override;
    bool take(const QByteArray &bytes, const Reply &reply) override;

private:
    void askNext();

    int step = 0;
    QJsonObject values; // in query order on the text lines
    QStringList lines;
};
