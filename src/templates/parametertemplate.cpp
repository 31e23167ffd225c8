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

bool saveSensor(const QString &path, const SensorTemplate &values)
{
    return writeGroup(path, QStringLiteral("Sensor"), [&values](QSettings &file) {
        file.setValue(QStringLiteral("Mode"), values.mode);
        file.setValue(QStringLiteral("Zero"), values.zero);
        file.setValue(QStringLiteral("Interval"), values.interval);
        file.setValue(QStringLiteral("Keep"), values.keep);
        file.setValue(QStringLiteral("Sleep"), values.sleep);
        file.setValue(QStringLiteral("Alarm"), values.alarm);
        file.setValue(QStringLiteral("Duration"), values.duration);
        file.setValue(QStringLiteral("Threshold"), values.threshold);
        file.setValue(QStringLiteral("Instal"), values.instal);
    });
}

SensorTemplate loadSensor(const QString &path)
{
    QSettings file(path, QSettings::IniFormat);
    file.beginGroup(QStringLiteral("Sensor"));
    SensorTemplate values;
    values.mode = file.value(QStringLiteral("Mode")).toInt();
    values.zero = file.value(QStringLiteral("Zero")).toInt();
    values.interval = file.value(QStringLiteral("Interval")).toString();
    values.keep = file.value(QStringLiteral("Keep")).toString();
    values.sleep = file.value(QStringLiteral("Sleep")).toString();
    values.alarm = file.value(QStringLiteral("Alarm")).toString();
    values.duration = file.value(QStringLiteral("Duration")).toString();
    values.threshold = file.value(QStringLiteral("Threshold")).toString();
    values.instal = file.value(QStringLiteral("Instal")).toInt();
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
