#pragma once

#include "params/modulecommands.h"
#include "params/sensorcommands.h"
#include "protocol/protocol.h"

#include <QString>
#include <QStringList>

#include <optional>

/// One sensor setting from the command line or a template, checked and ready to send.
struct SensorSetting {
    QString key;
    QString value; // as it is reported back
    SensorRequest request;
    std::optional<quint32> newAddress; // the sensor answers to this address once acknowledged
    std::optional<qint32> newBaud; // and at this rate
};

/// One radio-module setting: its key, the value as reported back and the exchange that sets it.
struct ModuleSetting {
    QString key;
    QString value;
    Exchange exchange;
    QString value2; // "channels": the second channel's text
};

/// The names and value checks of the settings that `set`, `module` and `apply` take. Nothing
/// is sent unless every value passed.
namespace Settings {

/// The keys `set` takes, in the order of its help.
QStringList sensorKeys();
/// Help lines: each key `set` takes with the values it accepts.
QString sensorHelp();
/// Help lines for `module`.
QString moduleHelp();
/// The keys `module get` takes.
QStringList moduleKeys();

/// Parses KEY=VALUE pairs for the sensor; false with `message` on an unknown key or a bad value.
/// "interval" and "hold" travel in one request and must come together.
bool parseSensor(const QStringList &pairs, QList<SensorSetting> &settings, QString &message);
/// Parses KEY=VALUE pairs for the radio module (band, heartbeat, channel1 with channel2).
bool parseModule(const QStringList &pairs, QList<ModuleSetting> &settings, QString &message);

/// The sensor group of a template as settings, checked like `set` takes them (no date and time:
/// templates do not keep one); false with the keys that fail in `message`.
bool fromTemplate(const SensorForm &form, QList<SensorSetting> &settings, QString &message);
/// The module's texts and indexes checked like `module set` takes them.
bool checkTemplate(const ModuleForm &form, QString &message);

/// The band's name ("EU868") for its index, or the index as text.
QString bandName(int band);
/// "absolute" or "relative".
QString zeroModeName(int zeroMode);
/// "on" or "off".
QString heartbeatName(int heartbeat);

} // namespace Settings
