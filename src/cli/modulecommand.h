#pragma once

#include "cli/sensorsettings.h"
#include "cli/stepcommand.h"

/// `module get KEY...` and `module set KEY=VALUE...`: one module exchange per key.
class ModuleCommand : public StepCommand {
    Q_OBJECT

public:
    /// Queries `keys` when `settings` is empty, else sets them; `save` ends with the module save.
    ModuleCommand(PortLink &link, Output &out, std::optional<quint32> address,
        const QStringList &keys, const QList<ModuleSetting> &settings, bool save,
        QObject *parent = nullptr);

protected:
    void plan() override;

private:
    QStringList keys;
    QList<ModuleSetting> settings;
    bool save;
};
