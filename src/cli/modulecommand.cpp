#include "cli/modulecommand.h"

ModuleCommand::ModuleCommand(PortLink &link, Output &out, std::optional<quint32> address,
    const QStringList &keys, const QList<ModuleSetting> &settings, bool save, QObject *parent)
    : StepCommand(link, out, address, parent)
    , keys(keys)
    , settings(settings)
    , save(save)
{
}

void ModuleCommand::plan()
{
    for (const QString &key : qAsConst(keys))
        addModuleKeyQuery(
            key, [this](const QString &name, const QString &value) { report(name, value); });
    for (const ModuleSetting &setting : qAsConst(settings)) {
        addModuleSet(setting.key, setting.exchange, [this, setting] {
            if (setting.key != "channels")
                return report(setting.key, setting.value);
            report("channel1", setting.value);
            report("channel2", setting.value2);
        });
    }
    if (save)
        addModuleSet("save", ModuleCommands::save(), [this] { reportSaved(); });
}
