#include "templates/parametertemplate.h"

#include <QSettings>

namespace ParameterTemplates {

QString defaultPath()
{
    return QStringLiteral("./settings.ini");
}

/// Writes the group, then syncs and reports whether the file really took the values.
template <typename Write>
static bool writeGroup(const QString &path, const QString &group, Write write)
{
    QSettings file(path, QSettings::IniFormat);
    file.beginGroup(group);
    write(file);
    file.endGroup();
    file.sync();
    return file.status() == QSettings::NoError;
}

bool saveSensor(const QString &path, const SensorForm &values)
{
    return writeGroup(path, QStringLiteral("Sensor"), [&values](QSettings &file) {
        file.setValue(QStringLiteral("Mode"), values.uploadMode);
        file.setValue(QStringLiteral("Zero"), values.zeroMode);
        file.setValue(QStringLiteral("Interval"), values.autoInterval);
        file.setValue(QStringLiteral("Keep"), values.keepTime);
        file.setValue(QStringLiteral("Sleep"), values.sleepPeriod);
        file.setValue(QStringLiteral("Alarm"), values.alarmThreshold);
        file.setValue(QStringLiteral("Duration"), values.motionDuration);
        file.setValue(QStringLiteral("Threshold"), values.motionThreshold);
        file.setValue(QStringLiteral("Instal"), values.installation);
    });
}

SensorForm loadSensor(const QString &path)
{
    QSettings file(path, QSettings::IniFormat);
    file.beginGroup(QStringLiteral("Sensor"));
    SensorForm values;
    values.uploadMode = file.value(QStringLiteral("Mode")).toInt();
    values.zeroMode = file.value(QStringLiteral("Zero")).toInt();
    values.autoInterval = file.value(QStringLiteral("Interval")).toString();
    values.keepTime = file.value(QStringLiteral("Keep")).toString();
    values.sleepPeriod = file.value(QStringLiteral("Sleep")).toString();
    values.alarmThreshold = file.value(QStringLiteral("Alarm")).toString();
    values.motionDuration = file.value(QStringLiteral("Duration")).toString();
    values.motionThreshold = file.value(QStringLiteral("Threshold")).toString();
    values.installation = file.value(QStringLiteral("Instal")).toInt();
    return values;
}

bool saveModule(const QString &path, const ModuleTemplate &values)
{
    return writeGroup(path, QStringLiteral("Module"), [&values](QSettings &file) {
        file.setValue(QStringLiteral("Band"), values.band);
        file.setValue(QStringLiteral("Heart"), values.heart);
        file.setValue(QStringLiteral("Channel1"), values.channel1);
        file.setValue(QStringLiteral("Channel2"), values.channel2);
    });
}

ModuleTemplate loadModule(const QString &path)
{
    QSettings file(path, QSettings::IniFormat);
    file.beginGroup(QStringLiteral("Module"));
    ModuleTemplate values;
    values.band = file.value(QStringLiteral("Band")).toInt();
    values.heart = file.value(QStringLiteral("Heart")).toInt();
    values.channel1 = file.value(QStringLiteral("Channel1")).toString();
    values.channel2 = file.value(QStringLiteral("Channel2")).toString();
    return values;
}

} // namespace ParameterTemplates
