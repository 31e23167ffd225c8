#pragma once

#include "cli/portcommand.h"
#include "protocol/protocol.h"

#include <QJsonObject>

/// `info`: the address, then date and time, zero mode and sleep period, one query each.
class InfoCommand : public PortCommand {
    Q_OBJECT

public:
    InfoCommand(PortLink &link, Output &out, std::optional<quint32> address, bool json,
        QObject *parent = nullptr);

protected:
    void begin() override;
    bool take(const QByteArray &bytes, const Reply &reply) override;

private:
    void askNext();

    bool json;
    int step = 0;
    QJsonObject values; // in query order on the text lines
    QStringList lines;
};
