#pragma once

#include "cli/stepcommand.h"

/// `info`: the address, then date and time, zero mode and sleep period, one query each.
class InfoCommand : public StepCommand {
    Q_OBJECT

public:
    using StepCommand::StepCommand;

protected:
    void plan() override;
};
