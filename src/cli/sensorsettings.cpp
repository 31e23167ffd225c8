#include "cli/sensorsettings.h"

#include "protocol/encoding.h"

#include <QDateTime>
#include <QRegularExpression>

#include <functional>

namespace Settings {

namespace {

const char *const bandNames[] = { "EU433", "CN470", "AL470", "EU868", "US915", "AS923", "AU915" };
const char *const uploadModes[] = { "compact", "standard" };
const char *const zeroModes[] = { "absolute", "relative" };
const char *const installations[] = { "horizontal", "vertical" };

bool matches(const QString &pattern, const QString &text)
{
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern)).match(text).hasMatch();
}

/// A name from the list (any case) or its index; -1 when it is neither.
template <size_t N> int choice(const char *const (&names)[N], const QString &text)
{
    for (size_t i = 0; i < N; ++i)
        if (text.compare(QLatin1String(names[i]), Qt::CaseInsensitive) == 0
            || text == QString::number(i))
            return int(i);
    return -1;
}

template <size_t N> QString choices(const char *const (&names)[N])
{
    QStringList list;
    for (const char *name : names)
        list << QLatin1String(name);
    return list.join('|');
}

/// Decimal digits sent as BCD: at most two digits a byte.
bool digits(const QString &text, int bytes)
{
    return matches(QString("\\d{1,%1}").arg(2 * bytes), text);
}

using Check = std::function<std::optional<SensorSetting>(const QString &)>;

SensorSetting setting(const QString &value, const SensorRequest &request)
{
    return { QString(), value, request, std::nullopt, std::nullopt };
}

struct Rule {
    const char *key;
    const char *accepts; // for the message when a value does not fit
    Check check;
};

std::optional<SensorSetting> dateTime(const QString &text)
{
    QDateTime when
        = text == "now" ? QDateTime::currentDateTime() : QDateTime::fromString(text, Qt::ISODate);
    if (!when.isValid() || when.date().year() < 2000 || when.date().year() > 2099)
        return std::nullopt;
    const QString shown = when.toString("yyyy-MM-ddTHH:mm:ss");
    // The sensor keeps two-digit fields, each typed digits as BCD.
    QStringList fields = when.toString("yy MM dd HH mm ss").split(' ');
    return setting(shown, SensorCommands::setDateTime(fields));
}

const QList<Rule> &sensorRules()
{
    static const QList<Rule> rules = {
        { "address", "8 hex digits",
            [](const QString &v) -> std::optional<SensorSetting> {
                if (!matches("[0-9A-Fa-f]{8}", v))
                    return std::nullopt;
                const quint32 address = Encoding::hexValue(v);
                SensorSetting s = setting(
                    QString("%1").arg(address, 8, 16, QChar('0')), SensorCommands::setAddress(v));
                s.newAddress = address;
                return s;
            } },
        { "baud", "9600, 19200, 38400, 57600 or 115200",
            [](const QString &v) -> std::optional<SensorSetting> {
                const auto &rates = SensorCommands::sensorBaudRates;
                for (int i = 0; i < int(std::size(rates)); ++i) {
                    if (v == QString::number(rates[i])) {
                        SensorSetting s = setting(v, SensorCommands::setBaud(i));
                        s.newBaud = rates[i];
                        return s;
                    }
                }
                return std::nullopt;
            } },
        { "mode", "compact or standard",
            [](const QString &v) -> std::optional<SensorSetting> {
                const int i = choice(uploadModes, v);
                if (i < 0)
                    return std::nullopt;
                return setting(uploadModes[i], SensorCommands::setUploadMode(i));
            } },
        { "zero", "absolute or relative",
            [](const QString &v) -> std::optional<SensorSetting> {
                const int i = choice(zeroModes, v);
                if (i < 0)
                    return std::nullopt;
                return setting(zeroModes[i], SensorCommands::setZeroMode(i));
            } },
        // "interval" and "hold" are checked here and joined into one request by parseSensor().
        { "interval", "0 to 99 seconds",
            [](const QString &v) -> std::optional<SensorSetting> {
                if (!digits(v, 1))
                    return std::nullopt;
                return setting(v, {});
            } },
        { "hold", "0 to 9999",
            [](const QString &v) -> std::optional<SensorSetting> {
                if (!digits(v, 2))
                    return std::nullopt;
                return setting(v, {});
            } },
        { "alarm", "0 to 99.99 degrees, at most two decimals",
            [](const QString &v) -> std::optional<SensorSetting> {
                if (!matches("\\d{1,2}(\\.\\d{1,2})?", v))
                    return std::nullopt;
                return setting(v, SensorCommands::setAlarmThreshold(v));
            } },
        { "motion-time", "0 to 20.4 seconds (steps of 0.08 s)",
            [](const QString &v) -> std::optional<SensorSetting> {
                // The sensor counts 0.08 s steps in one byte.
                if (!matches("\\d{1,2}(\\.\\d{1,3})?", v) || v.toDouble() > 20.4)
                    return std::nullopt;
                return setting(v, SensorCommands::setMotionDuration(v));
            } },
        { "motion-threshold", "0 to 9999 mg",
            [](const QString &v) -> std::optional<SensorSetting> {
                if (!digits(v, 2))
                    return std::nullopt;
                return setting(v, SensorCommands::setMotionThreshold(v));
            } },
        { "install", "horizontal or vertical",
            [](const QString &v) -> std::optional<SensorSetting> {
                const int i = choice(installations, v);
                if (i < 0)
                    return std::nullopt;
                return setting(installations[i], SensorCommands::setInstallation(i));
            } },
        { "sleep", "0 to 9999 minutes",
            [](const QString &v) -> std::optional<SensorSetting> {
                if (!digits(v, 2))
                    return std::nullopt;
                return setting(v, SensorCommands::setSleepPeriod(v));
            } },
        { "datetime", "now, or YYYY-MM-DDTHH:MM:SS with a year 2000 to 2099", dateTime },
    };
    return rules;
}

const Rule *findRule(const QString &key)
{
    for (const Rule &rule : sensorRules())
        if (key == QLatin1String(rule.key))
            return &rule;
    return nullptr;
}

/// Runs the key's check; false with `message` when the value does not fit.
bool checkOne(const QString &key, const QString &value, SensorSetting &out, QString &message)
{
    const Rule *rule = findRule(key);
    if (!rule) {
        message = QString("unknown key '%1' (keys: %2)").arg(key, sensorKeys().join(", "));
        return false;
    }
    const std::optional<SensorSetting> checked = rule->check(value);
    if (!checked) {
        message = QString("%1 '%2' is not %3").arg(key, value, QLatin1String(rule->accepts));
        return false;
    }
    out = *checked;
    out.key = key;
    return true;
}

bool splitPair(const QString &pair, QString &key, QString &value, QString &message)
{
    const int equals = pair.indexOf('=');
    if (equals <= 0) {
        message = QString("'%1' is not KEY=VALUE").arg(pair);
        return false;
    }
    key = pair.left(equals);
    value = pair.mid(equals + 1);
    return true;
}

/// Joins the checked interval and hold into the one request that carries both.
bool joinTiming(QList<SensorSetting> &settings, QString &message)
{
    int interval = -1, hold = -1;
    for (int i = 0; i < settings.size(); ++i) {
        if (settings[i].key == "interval")
            interval = i;
        if (settings[i].key == "hold")
            hold = i;
    }
    if (interval < 0 && hold < 0)
        return true;
    if (interval < 0 || hold < 0) {
        message = "interval and hold are set together: give both";
        return false;
    }
    SensorSetting &joined = settings[interval];
    joined.key = "interval,hold";
    joined.request = SensorCommands::setOutputTiming(joined.value, settings[hold].value);
    joined.value += ',' + settings[hold].value;
    settings.removeAt(hold);
    return true;
}

} // namespace

QStringList sensorKeys()
{
    QStringList keys;
    for (const Rule &rule : sensorRules())
        keys << QLatin1String(rule.key);
    return keys;
}

QString sensorHelp()
{
    QString text = "\nKeys:\n";
    for (const Rule &rule : sensorRules())
        text += QString("  %1 %2\n").arg(QLatin1String(rule.key), -17).arg(rule.accepts);
    return text + "  (interval and hold go together)\n";
}

QString moduleHelp()
{
    return "\nget KEY... (none: all): band, heartbeat, channels, deveui, appeui, appkey\n"
           "set KEY=VALUE...:\n"
           "  band              "
        + choices(bandNames)
        + "\n"
          "  heartbeat         on|off\n"
          "  channel1          text, sent as given (with channel2)\n"
          "  channel2          text, sent as given (with channel1)\n";
}

QStringList moduleKeys()
{
    return { "band", "heartbeat", "channels", "deveui", "appeui", "appkey" };
}

bool parseSensor(const QStringList &pairs, QList<SensorSetting> &settings, QString &message)
{
    settings.clear();
    QStringList seen;
    for (const QString &pair : pairs) {
        QString key, value;
        SensorSetting checked;
        if (!splitPair(pair, key, value, message) || !checkOne(key, value, checked, message))
            return false;
        if (seen.contains(key)) {
            message = QString("%1 is given twice").arg(key);
            return false;
        }
        seen << key;
        settings << checked;
    }
    if (settings.isEmpty()) {
        message = "nothing to set: give KEY=VALUE (keys: " + sensorKeys().join(", ") + ")";
        return false;
    }
    return joinTiming(settings, message);
}

bool parseModule(const QStringList &pairs, QList<ModuleSetting> &settings, QString &message)
{
    settings.clear();
    QString channel1, channel2;
    bool haveChannel1 = false, haveChannel2 = false;
    for (const QString &pair : pairs) {
        QString key, value;
        if (!splitPair(pair, key, value, message))
            return false;
        if (key == "band") {
            const int band = choice(bandNames, value);
            if (band < 0) {
                message = QString("band '%1' is not one of %2").arg(value, choices(bandNames));
                return false;
            }
            settings << ModuleSetting { key, bandNames[band], ModuleCommands::setBand(band), {} };
        } else if (key == "heartbeat") {
            const int heart = value == "on" || value == "1" ? 1
                : value == "off" || value == "0"            ? 0
                                                            : -1;
            if (heart < 0) {
                message = QString("heartbeat '%1' is not on or off").arg(value);
                return false;
            }
            settings << ModuleSetting { key, heartbeatName(heart), ModuleCommands::setHeart(heart),
                {} };
        } else if (key == "channel1" || key == "channel2") {
            // Sent exactly as given; only a line break would end the command early.
            if (value.contains('\r') || value.contains('\n')) {
                message = QString("%1 may not hold a line break").arg(key);
                return false;
            }
            (key == "channel1" ? channel1 : channel2) = value;
            (key == "channel1" ? haveChannel1 : haveChannel2) = true;
        } else if (key == "channels") {
            message = "give channel1=TEXT channel2=TEXT (a channel text may hold commas)";
            return false;
        } else if (key == "deveui" || key == "appeui" || key == "appkey") {
            message = QString("%1 is read-only: the module keeps its own").arg(key);
            return false;
        } else {
            message
                = QString("unknown key '%1' (keys: band, heartbeat, channel1, channel2)").arg(key);
            return false;
        }
    }
    if (haveChannel1 != haveChannel2) {
        message = "channel1 and channel2 are set together: give both";
        return false;
    }
    if (haveChannel1) {
        settings << ModuleSetting { "channels", channel1,
            ModuleCommands::setChannels(channel1, channel2), channel2 };
    }
    if (settings.isEmpty()) {
        message = "nothing to set: give KEY=VALUE (keys: band, heartbeat, channel1, channel2)";
        return false;
    }
    return true;
}

bool fromTemplate(const SensorForm &form, QList<SensorSetting> &settings, QString &message)
{
    const QStringList pairs = {
        "mode=" + QString::number(form.uploadMode),
        "zero=" + QString::number(form.zeroMode),
        "interval=" + form.autoInterval,
        "hold=" + form.keepTime,
        "sleep=" + form.sleepPeriod,
        "alarm=" + form.alarmThreshold,
        "motion-time=" + form.motionDuration,
        "motion-threshold=" + form.motionThreshold,
        "install=" + QString::number(form.installation),
    };
    return parseSensor(pairs, settings, message);
}

bool checkTemplate(const ModuleForm &form, QString &message)
{
    QList<ModuleSetting> settings;
    return parseModule(
        { "band=" + QString::number(form.band), "heartbeat=" + QString::number(form.heart),
            "channel1=" + form.channel1, "channel2=" + form.channel2 },
        settings, message);
}

QString bandName(int band)
{
    return band >= 0 && band < int(std::size(bandNames)) ? QString(bandNames[band])
                                                         : QString::number(band);
}

QString zeroModeName(int zeroMode)
{
    return zeroModes[zeroMode ? 1 : 0];
}

QString heartbeatName(int heartbeat)
{
    return heartbeat ? "on" : "off";
}

} // namespace Settings
