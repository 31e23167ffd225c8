#include "cli/infocommand.h"

#include "cli/sensorsettings.h"
#include "params/sensorcommands.h"

void InfoCommand::plan()
{
    report("address", QString("%1").arg(address, 8, 16, QChar('0')));
    addRequest("date and time query", SensorCommands::queryDateTime(), [this](const Reply &r) {
        if (r.kind != Reply::DateTime)
            return false;
        const QStringList &t = r.dateTime;
        report("datetime",
            QString("20%1-%2-%3 %4:%5:%6")
                .arg(t.value(0), t.value(1), t.value(2), t.value(3), t.value(4), t.value(5)));
        return true;
    });
    addRequest("zero query", SensorCommands::queryZeroMode(), [this](const Reply &r) {
        if (r.kind != Reply::ZeroMode)
            return false;
        report("zero-mode", Settings::zeroModeName(r.zeroModeIndex));
        return true;
    });
    addRequest("sleep query", SensorCommands::querySleepPeriod(), [this](const Reply &r) {
        if (r.kind != Reply::SleepQuery)
            return false;
        // The period travels as BCD digits: its hex text reads as minutes.
        report("sleep-minutes", r.sleepText);
        return true;
    });
}
