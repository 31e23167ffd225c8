#include "cli/moduleidscommand.h"

#include "cli/exitcode.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

ModuleIdsCommand::ModuleIdsCommand(PortLink &link, Output &out, std::optional<quint32> address,
    bool json, const QString &appendTo, QObject *parent)
    : StepCommand(link, out, address, parent)
    , json(json)
    , appendTo(appendTo)
{
}

QString ModuleIdsCommand::csvHeader()
{
    return "id;dev_eui;join_eui;app_key";
}

void ModuleIdsCommand::plan()
{
    addModuleKeyQuery("deveui", [this](const QString &, const QString &v) { devEui = v; });
    addModuleKeyQuery("appeui", [this](const QString &, const QString &v) { joinEui = v; });
    addModuleKeyQuery("appkey", [this](const QString &, const QString &v) { appKey = v; });
}

void ModuleIdsCommand::complete()
{
    // Device ids are lower case with hyphens; the sensor's DevEUI makes each one unique.
    const QString id = "tilt-" + devEui.toLower();
    const QJsonObject values { { "id", id }, { "dev_eui", devEui }, { "join_eui", joinEui },
        { "app_key", appKey } };
    const QString row = QStringList { id, devEui, joinEui, appKey }.join(';');
    out.outcome(values, { row });
    if (!appendTo.isEmpty()) {
        QFile file(appendTo);
        const bool fresh = !file.exists() || file.size() == 0;
        QByteArray text
            = json ? QJsonDocument(values).toJson(QJsonDocument::Compact) : row.toUtf8();
        if (fresh && !json)
            text.prepend((csvHeader() + '\n').toUtf8());
        text += '\n';
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append) || file.write(text) != text.size()
            || !file.flush()) {
            out.message(QString("cannot append to %1: %2").arg(appendTo, file.errorString()));
            finish(ExitCode::Failed);
            return;
        }
    }
    finish(ExitCode::Done);
}
