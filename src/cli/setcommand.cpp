#include "cli/setcommand.h"

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
            report(setting.key, setting.value);
        });
    }
    if (save)
        addSet("save", SensorCommands::saveParameters(), [this] { reportSaved(); });
}
