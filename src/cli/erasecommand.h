#pragma once

#include "cli/portcommand.h"

/// `erase --yes`: erases the stored records and waits for the sensor to say it is done.
class EraseCommand : public PortCommand {
    Q_OBJECT

public:
    using PortCommand::PortCommand;

protected:
    void begin() override;
    bool take(const QByteArray &bytes, const Reply &reply) override;
};
