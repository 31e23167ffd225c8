#include "cli/setcommand.h"

#include "cli/exitcode.h"
#include "cli/portlink.h"

SetCommand::SetCommand(PortLink &link, Output &out, std::optional<quint32> address,
    const QList<SensorSetting> &settings, bool save, QObject *parent)
    : StepCommand(link, out, address, parent)
    , settings(settings)
    , save(save)
{
}

void SetCommand::plan()
{
    for (const SensorSetting &setting : qAsConst(settings)) {
        addSet(setting.key, setting.request, [this, setting] {
            // The sensor answers at its new address and rate from its acknowledgement on.
            if (setting.newAddress)
                address = *setting.newAddress;
            if (setting.newBaud)
                link.setBaud(*setting.newBaud);
            values[setting.key] = setting.value;
            lines << setting.key + ": " + setting.value;
        });
    }
    if (save) {
        addSet("save", SensorCommands::saveParameters(), [this] {
            values["saved"] = true;
            lines << "saved";
        });
    }
}

void SetCommand::complete()
{
    out.outcome(values, lines);
    finish(ExitCode::Done);
}
