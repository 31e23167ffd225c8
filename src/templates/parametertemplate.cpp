#include "templates/parametertemplate.h"

#include "templates/inigroup.h"

#include <QFile>
#include <QSaveFile>
#include <QSettings>

namespace ParameterTemplates {

namespace {

// Items of the combo boxes whose indexes a template keeps.
constexpr int uploadModes = 2;
constexpr int zeroModes = 2;
constexpr int installations = 2;
constexpr int bands = 7;
constexpr int heartbeats = 2;

constexpr qint64 largestFile = 1024 * 1024; // a template is a few hundred bytes

/// The file's bytes ("" when it cannot be read); nullopt when it is larger than largestFile. A
/// device or pipe reports no size, so one byte over the limit is read to see it.
std::optional<QByteArray> readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    const QByteArray bytes = file.read(largestFile + 1);
    return bytes.size() > largestFile ? std::nullopt : std::optional<QByteArray>(bytes);
}

/// Writes the group, then syncs and reports whether the file really took the values. A file
/// with typed values is left alone: rewriting it would make QSettings decode them; so is one too
/// large to be a template.
template <typename Write> bool writeGroup(const QString &path, const QString &group, Write write)
{
    const std::optional<QByteArray> content = readFile(path);
    if (!content || IniGroup::fileHasTypedValues(*content))
        return false;
    QSettings file(path, QSettings::IniFormat);
    file.beginGroup(group);
    write(file);
    file.endGroup();
    file.sync();
    if (file.status() != QSettings::NoError)
        return false;
    const std::optional<QByteArray> written = readFile(path);
    const QByteArray escaped = IniGroup::asciiEscaped(written.value_or(QByteArray()));
    if (!written || escaped == *written)
        return true;
    QSaveFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(escaped) == escaped.size() && out.commit();
}

/// Reads the values of one group as plain text, noting each key whose text does not fit it.
class GroupReader {
public:
    GroupReader(const QString &path, const QString &group)
        : group(readFile(path).value_or(QByteArray()), group)
    {
    }

    QString text(const char *key)
    {
        const std::optional<QString> value = group.text(QLatin1String(key));
        if (!value)
            invalid.append(QLatin1String(key));
        return value.value_or(QString());
    }

    /// A combo-box index below count; a missing key gives 0.
    int index(const char *key, int count)
    {
        if (!group.contains(QLatin1String(key)))
            return 0;
        bool ok = false;
        const int value = text(key).toInt(&ok);
        if (ok && value >= 0 && value < count)
            return value;
        if (!invalid.contains(QLatin1String(key)))
            invalid.append(QLatin1String(key));
        return 0;
    }

    QStringList invalid;

private:
    IniGroup group;
};

} // namespace

QString defaultPath()
{
    return QStringLiteral("./settings.ini");
}

bool hasGroup(const QString &path, const QString &group)
{
    return !IniGroup(readFile(path).value_or(QByteArray()), group).isEmpty();
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

LoadedTemplate<SensorForm> loadSensor(const QString &path)
{
    GroupReader file(path, QStringLiteral("Sensor"));
    SensorForm values;
    values.uploadMode = file.index("Mode", uploadModes);
    values.zeroMode = file.index("Zero", zeroModes);
    values.autoInterval = file.text("Interval");
    values.keepTime = file.text("Keep");
    values.sleepPeriod = file.text("Sleep");
    values.alarmThreshold = file.text("Alarm");
    values.motionDuration = file.text("Duration");
    values.motionThreshold = file.text("Threshold");
    values.installation = file.index("Instal", installations);
    return { values, file.invalid };
}

bool saveModule(const QString &path, const ModuleForm &values)
{
    return writeGroup(path, QStringLiteral("Module"), [&values](QSettings &file) {
        file.setValue(QStringLiteral("Band"), values.band);
        file.setValue(QStringLiteral("Heart"), values.heart);
        file.setValue(QStringLiteral("Channel1"), values.channel1);
        file.setValue(QStringLiteral("Channel2"), values.channel2);
    });
}

LoadedTemplate<ModuleForm> loadModule(const QString &path)
{
    GroupReader file(path, QStringLiteral("Module"));
    ModuleForm values;
    values.band = file.index("Band", bands);
    values.heart = file.index("Heart", heartbeats);
    values.channel1 = file.text("Channel1");
    values.channel2 = file.text("Channel2");
    return { values, file.invalid };
}

} // namespace ParameterTemplates
