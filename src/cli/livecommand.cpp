#include "cli/livecommand.h"

#include "cli/exitcode.h"
#include "cli/portlink.h"
#include "measure/livesample.h"
#include "params/sensorcommands.h"

#include <QDateTime>
#include <QJsonObject>

namespace {
/// The run fails when no reading has come for this long (single lost answers are normal).
constexpr int silenceMs = 3000;
} // namespace

LiveCommand::LiveCommand(PortLink &link, Output &out, std::optional<quint32> address,
    const LivePlan &plan, QObject *parent)
    : PortCommand(link, out, address, parent)
    , plan(plan)
{
    connect(&pollTimer, &QTimer::timeout, this, &LiveCommand::poll);
}

void LiveCommand::begin()
{
    if (!plan.json)
        out.result("time,x,y,z,temp,power");
    if (plan.durationS > 0)
        QTimer::singleShot(int(plan.durationS * 1000), this, [this] { finish(ExitCode::Done); });
    pollTimer.start(qMax(1, int(1000 / plan.rateHz)));
    poll();
    expectReplyWithin(silenceMs);
}

void LiveCommand::poll()
{
    if (!isFinished())
        link.send(Protocol::buildFrame(address, SensorCommands::readLiveData()));
}

bool LiveCommand::take(const QByteArray &bytes, const Reply &reply)
{
    if (reply.kind != Reply::LiveData)
        return false;
    const LiveSample sample = decodeLiveSample(bytes, plan.dataKind);
    const QDateTime now = QDateTime::currentDateTime();
    const QString time = now.toOffsetFromUtc(now.offsetFromUtc()).toString(Qt::ISODateWithMs);
    const QStringList fields = { sample.x, sample.y, sample.z, sample.temperature, sample.power };
    if (plan.json) {
        QJsonObject values { { "time", time } };
        const char *names[] = { "x", "y", "z", "temp", "power" };
        for (int i = 0; i < 5; ++i) {
            bool number = false;
            const double value = fields[i].toDouble(&number);
            values[names[i]] = number ? QJsonValue(value) : QJsonValue(fields[i]);
        }
        out.outcome(values, {});
    } else {
        out.result(time + ',' + fields.join(','));
    }
    if (plan.count > 0 && ++taken >= plan.count)
        finish(ExitCode::Done);
    else
        expectReplyWithin(silenceMs);
    return true;
}

void LiveCommand::noAnswer()
{
    out.message(QString("no live readings for %1 s").arg(silenceMs / 1000));
    finish(ExitCode::Failed);
}

void LiveCommand::interrupt()
{
    // Ctrl-C is how a live run without a limit ends.
    finish(ExitCode::Done);
}

int LiveCommand::wrapUp(int exitCode)
{
    pollTimer.stop();
    return exitCode;
}
