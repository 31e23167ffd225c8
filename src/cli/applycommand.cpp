#include "cli/applycommand.h"

#include "cli/exitcode.h"
#include "protocol/encoding.h"

#include <QJsonObject>

ApplyCommand::ApplyCommand(PortLink &link, Output &out, std::optional<quint32> address,
    std::optional<SensorForm> sensor, const QList<SensorSetting> &settings,
    std::optional<ModuleForm> module, bool save, QObject *parent)
    : StepCommand(link, out, address, parent)
    , sensor(std::move(sensor))
    , settings(settings)
    , module(std::move(module))
    , save(save)
{
}

void ApplyCommand::plan()
{
    for (const SensorSetting &setting : qAsConst(settings))
        addSet(setting.key, setting.request, {});
    if (module)
        addModuleSet("the module settings", ModuleCommands::oneKeySet(*module), {});
    if (save)
        addSet("save", SensorCommands::saveParameters(), {});
    addAction([this] { out.message("settings sent; reading them back"); });

    if (sensor) {
        const SensorForm wanted = *sensor;
        addRequest("zero query", SensorCommands::queryZeroMode(), [this, wanted](const Reply &r) {
            if (r.kind != Reply::ZeroMode)
                return false;
            check("zero", Settings::zeroModeName(wanted.zeroMode),
                Settings::zeroModeName(r.zeroModeIndex), wanted.zeroMode == r.zeroModeIndex);
            return true;
        });
        addRequest(
            "sleep query", SensorCommands::querySleepPeriod(), [this, wanted](const Reply &r) {
                if (r.kind != Reply::SleepQuery)
                    return false;
                // The period travels as the typed digits in BCD: compare what went on the wire.
                const quint32 sent = Encoding::hexValue(wanted.sleepPeriod) & 0xFFFF;
                check("sleep", wanted.sleepPeriod, r.sleepText,
                    sent == r.sleepText.toUInt(nullptr, 16));
                return true;
            });
    }
    if (module) {
        const ModuleForm wanted = *module;
        const QMap<QString, QString> expected { { "band", Settings::bandName(wanted.band) },
            { "heartbeat", Settings::heartbeatName(wanted.heart) }, { "channel1", wanted.channel1 },
            { "channel2", wanted.channel2 } };
        for (const char *key : { "band", "heartbeat", "channels" }) {
            addModuleKeyQuery(key, [this, expected](const QString &name, const QString &read) {
                check(name, expected.value(name), read, expected.value(name) == read);
            });
        }
    }
}

void ApplyCommand::check(const QString &key, const QString &wanted, const QString &read, bool same)
{
    mismatches += same ? 0 : 1;
    checks.append(
        QJsonObject { { "key", key }, { "wanted", wanted }, { "read", read }, { "match", same } });
    rows << QString("%1 %2 %3 %4")
                .arg(key, -10)
                .arg(wanted, -16)
                .arg(read, -16)
                .arg(same ? "ok" : "MISMATCH");
}

void ApplyCommand::complete()
{
    rows.prepend(QString("%1 %2 %3").arg("key", -10).arg("wanted", -16).arg("read"));
    out.outcome({ { "checks", checks }, { "match", mismatches == 0 } }, rows);
    if (mismatches > 0)
        out.message(QString("%1 value(s) did not take").arg(mismatches));
    finish(mismatches == 0 ? ExitCode::Done : ExitCode::Failed);
}
