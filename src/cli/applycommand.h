#pragma once

#include "cli/sensorsettings.h"
#include "cli/stepcommand.h"

#include <QJsonArray>

#include <optional>

/// `apply TEMPLATE.ini`: sets the template's sensor and module groups, saves when asked, then
/// queries back every value that has a query and reports wanted against read.
class ApplyCommand : public StepCommand {
    Q_OBJECT

public:
    ApplyCommand(PortLink &link, Output &out, std::optional<quint32> address,
        std::optional<SensorForm> sensor, const QList<SensorSetting> &settings,
        std::optional<ModuleForm> module, bool save, QObject *parent = nullptr);

protected:
    void plan() override;
    void complete() override;

private:
    void check(const QString &key, const QString &wanted, const QString &read, bool same);

    std::optional<SensorForm> sensor; // the template's values, for the read-back
    QList<SensorSetting> settings; // the same, checked and ready to send
    std::optional<ModuleForm> module;
    bool save;
    QJsonArray checks;
    QStringList rows;
    int mismatches = 0;
};
