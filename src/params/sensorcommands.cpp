#include "params/sensorcommands.h"

#include "protocol/encoding.h"

namespace SensorCommands {

namespace {
constexpr int oneKeyStepMs = 200;
constexpr int factoryFollowUpMs = 100;
} // namespace

static SensorRequest request(int command, const QByteArray &data = QByteArray())
{
    return SensorRequest {command, data};
}

static QByteArray indexByte(int index)
{
    return QByteArray(1, char(index & 0xFF));
}

SensorRequest readLiveData() { return request(0x03); }

SensorRequest setAddress(const QString &text)
{
    return request(0x0F, Encoding::typedDigitsBcd(text, 4));
}

SensorRequest setBaud(int comboIndex) { return request(0x0B, indexByte(portBaudIndex(comboIndex))); }
SensorRequest setUploadMode(int comboIndex) { return request(0x69, indexByte(comboIndex)); }
SensorRequest setZeroMode(int comboIndex) { return request(0x05, indexByte(comboIndex)); }
SensorRequest queryZeroMode() { return request(0x0D); }

SensorRequest setOutputTiming(const QString &autoInterval, const QString &keepTime)
{
    return request(0x0C, QByteArray(1, '\0') + Encoding::typedDigitsBcd(autoInterval, 1)
                             + Encoding::typedDigitsBcd(keepTime, 2));
}

SensorRequest setSleepPeriod(const QString &text)
{
    return request(0x56, Encoding::typedDigitsBcd(text, 2));
}

SensorRequest querySleepPeriod() { return request(0x57); }

SensorRequest setAlarmThreshold(const QString &text)
{
    return request(0x6B, Encoding::scaledBcd(text));
}

SensorRequest setMotionDuration(const QString &text)
{
    return request(0x53, QByteArray(1, char(Encoding::integerQuotient(text))));
}

SensorRequest setMotionThreshold(const QString &text)
{
    return request(0x42, Encoding::typedDigitsBcd(text, 2));
}

SensorRequest setDateTime(const QStringList &fields)
{
    QByteArray data;
    for (int i = 0; i < 6; ++i)
        data += Encoding::typedDigitsBcd(fields.value(i), 1);
    return request(0x65, data);
}

SensorRequest queryDateTime() { return request(0x66); }
SensorRequest setInstallation(int comboIndex) { return request(0x6A, indexByte(comboIndex)); }
SensorRequest saveParameters() { return request(0x0A); }
SensorRequest restoreFactory() { return request(0x0E); }
SensorRequest factoryFollowUp() { return request(0x68); }

Exchange oneKeySet(quint32 address, const SensorForm &form)
{
    const SensorRequest requests[] = {setUploadMode(form.uploadMode),
                                      setZeroMode(form.zeroMode),
                                      setOutputTiming(form.autoInterval, form.keepTime),
                                      setSleepPeriod(form.sleepPeriod),
                                      setAlarmThreshold(form.alarmThreshold),
                                      setMotionDuration(form.motionDuration),
                                      setMotionThreshold(form.motionThreshold),
                                      setInstallation(form.installation),
                                      setDateTime(form.dateTime)};
    Exchange steps;
    for (const SensorRequest &request : requests)
        steps.append({Protocol::buildFrame(address, request), oneKeyStepMs, true});
    return steps;
}

Exchange factoryDefaults(quint32 address)
{
    return {{Protocol::buildFrame(address, restoreFactory()), factoryFollowUpMs, true},
            {Protocol::buildFrame(address, factoryFollowUp()), 0, false}};
}

} // namespace SensorCommands
