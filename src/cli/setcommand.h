#pragma once

#include "cli/sensorsettings.h"
#include "cli/stepcommand.h"

/// `set KEY=VALUE...`: each setting in turn, each acknowledged, then the save when asked.
class SetCommand : public StepCommand {
    Q_OBJECT

public:
    SetCommand(PortLink &link, Output &out, std::optional<quint32> address,
        const QList<SensorSetting> &settings, bool save, QObject *parent = nullptr);

protected:
    void plan() override;

private:
    QList<SensorSetting> settings;
    bool save;
};
