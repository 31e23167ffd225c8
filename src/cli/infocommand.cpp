#include "cli/infocommand.h"

#include "cli/exitcode.h"
#include "cli/portlink.h"
#include "params/sensorcommands.h"
#include "protocol/timing.h"

namespace {

struct Query {
    SensorRequest (*request)();
    Reply::Kind answer;
};

const Query queries[] = {
    { SensorCommands::queryDateTime, Reply::DateTime },
    { SensorCommands::queryZeroMode, Reply::ZeroMode },
    { SensorCommands::querySleepPeriod, Reply::SleepQuery },
};
constexpr int queryCount = int(sizeof queries / sizeof queries[0]);

} // namespace

void InfoCommand::begin()
{
    const QString text = QString("%1").arg(address, 8, 16, QChar('0'));
    values["address"] = text;
    lines << "address: " + text;
    askNext();
}

void InfoCommand::askNext()
{
    if (step < queryCount) {
        send(Protocol::buildFrame(address, queries[step].request()), Timing::queryReplyMs);
        return;
    }
    out.outcome(values, lines);
    finish(ExitCode::Done);
}

bool InfoCommand::take(const QByteArray &, const Reply &reply)
{
    if (step >= queryCount || reply.kind != queries[step].answer)
        return false;
    QString key, value;
    switch (reply.kind) {
    case Reply::DateTime: {
        const QStringList &t = reply.dateTime;
        key = "datetime";
        value = QString("20%1-%2-%3 %4:%5:%6")
                    .arg(t.value(0), t.value(1), t.value(2), t.value(3), t.value(4), t.value(5));
        break;
    }
    case Reply::ZeroMode:
        key = "zero-mode";
        value = reply.zeroModeIndex == 0 ? "absolute" : "relative";
        break;
    default:
        // The period travels as BCD digits: its hex text reads as minutes.
        key = "sleep-minutes";
        value = reply.sleepText;
        break;
    }
    values[key] = value;
    lines << key + ": " + value;
    ++step;
    askNext();
    return true;
}
