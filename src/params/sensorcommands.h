#pragma once

#include "protocol/exchange.h"
#include "protocol/protocol.h"

#include <QString>
#include <QStringList>

/// The values of the sensor group that the one-key set sends.
struct SensorForm {
    int uploadMode = 0;
    int zeroMode = 0;
    int installation = 0;
    QString autoInterval;
    QString keepTime;
    QString sleepPeriod;
    QString alarmThreshold;
    QString motionDuration;
    QString motionThreshold;
    QStringList dateTime; // year, month, day, hour, minute, second as typed
};

/// Builders of every sensor request from the texts and indexes the user entered.
namespace SensorCommands {

/// 0x03: live readings.
SensorRequest readLiveData();
/// 0x0F: new device address, typed text read as hex, 4 bytes.
SensorRequest setAddress(const QString &text);
/// Index in the port's baud list (2400, 4800, 9600, ...) of the rate at this index of the
/// sensor's baud list (9600, 19200, ...); it is also the code the sensor takes for that rate.
constexpr int portBaudIndex(int comboIndex)
{
    return comboIndex + 2;
}

/// The rates the sensor can switch to, in the order of its baud list.
constexpr int sensorBaudRates[] = { 9600, 19200, 115200, 38400, 57600 };

/// The code of the acknowledgement the sensor answers a set request with: the request's code,
/// with the top bit set for the codes below 0x10.
constexpr int acknowledgementCode(int command)
{
    return command < 0x10 ? command | 0x80 : command;
}

/// 0x0B: baud code portBaudIndex(comboIndex).
SensorRequest setBaud(int comboIndex);
/// 0x69: upload mode index.
SensorRequest setUploadMode(int comboIndex);
/// 0x05: zero mode index.
SensorRequest setZeroMode(int comboIndex);
/// 0x0D: zero mode query.
SensorRequest queryZeroMode();
/// 0x0C: 00, output interval (1 byte), hold time (2 bytes), both typed digits as BCD.
SensorRequest setOutputTiming(const QString &autoInterval, const QString &keepTime);
/// 0x56: sleep period in minutes, typed digits as BCD, 2 bytes.
SensorRequest setSleepPeriod(const QString &text);
/// 0x57: sleep period query.
SensorRequest querySleepPeriod();
/// 0x6B: alarm threshold in hundredths of a degree as scaled BCD, 2 bytes.
SensorRequest setAlarmThreshold(const QString &text);
/// 0x53: motion wake duration in steps of 0.08 s, 1 byte.
SensorRequest setMotionDuration(const QString &text);
/// 0x42: motion wake threshold in mg, typed digits as BCD, 2 bytes.
SensorRequest setMotionThreshold(const QString &text);
/// 0x65: year, month, day, hour, minute, second, each typed digits as BCD, 1 byte.
SensorRequest setDateTime(const QStringList &fields);
/// 0x66: date and time query.
SensorRequest queryDateTime();
/// 0x6A: installation index.
SensorRequest setInstallation(int comboIndex);
/// 0x0A: make the settings permanent.
SensorRequest saveParameters();
/// 0x0E: restore factory settings.
SensorRequest restoreFactory();
/// 0x68: sent after 0x0E; its answer is ignored.
SensorRequest factoryFollowUp();
/// The one-key set: nine requests to `address`, each followed by 200 ms and each answer counted.
Exchange oneKeySet(quint32 address, const SensorForm &form);
/// Factory defaults: 0x0E (answer counted), 100 ms, then 0x68.
Exchange factoryDefaults(quint32 address);

} // namespace SensorCommands
