#ifndef SIM_SENSORSETTINGS_H
#define SIM_SENSORSETTINGS_H

#include <QByteArray>
#include <QtGlobal>

// The sensor's parameters, kept as they travel in the set commands: the values typed in decimal
// on the host arrive as BCD digits and are stored that way.
struct SensorSettings
{
    quint32 address = 0x00000001;
    quint8 baudCode = 4; // 2 = 9600, 3 = 19200, 4 = 115200, 5 = 38400, 6 = 57600
    quint8 uploadMode = 0; // 0 compact, 1 normal
    quint8 zeroMode = 0; // 0 absolute, 1 relative
    quint8 outputInterval = 0x10; // seconds, BCD
    quint16 holdTime = 0x0030; // seconds, BCD
    quint16 sleepPeriod = 0x0000; // minutes, BCD
    quint16 alarmThreshold = 0x0000; // hundredths of a degree, BCD
    quint8 motionDuration = 5; // steps of 80 ms
    quint16 motionThreshold = 0x0200; // mg, BCD
    quint8 installation = 0; // 0 horizontal, 1 vertical
    QByteArray dateTime; // year, month, day, hour, minute, second as BCD; empty until set

    bool operator==(const SensorSettings &o) const
    {
        return address == o.address && baudCode == o.baudCode && uploadMode == o.uploadMode
            && zeroMode == o.zeroMode && outputInterval == o.outputInterval
            && holdTime == o.holdTime && sleepPeriod == o.sleepPeriod
            && alarmThreshold == o.alarmThreshold && motionDuration == o.motionDuration
            && motionThreshold == o.motionThreshold && installation == o.installation
            && dateTime == o.dateTime;
    }
    bool operator!=(const SensorSettings &o) const { return !(*this == o); }
};

#endif // SIM_SENSORSETTINGS_H
