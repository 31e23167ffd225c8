#include "cli/stepcommand.h"

#include "cli/exitcode.h"
#include "cli/portlink.h"
#include "cli/sensorsettings.h"
#include "params/modulecommands.h"
#include "params/sensorcommands.h"
#include "protocol/timing.h"

namespace {
/// After a module exchange's closing line, time for its last answer to go quiet.
constexpr int moduleSettleMs = 2 * Timing::moduleQuietMs;
} // namespace

StepCommand::StepCommand(
    PortLink &link, Output &out, std::optional<quint32> address, QObject *parent)
    : PortCommand(link, out, address, parent)
{
    pauseTimer.setSingleShot(true);
    connect(&pauseTimer, &QTimer::timeout, this, &StepCommand::sendLine);
    connect(&link, &PortLink::moduleAnswered, this, [this](const ModuleAnswer &answer) {
        if (exchanging && answer.kind != ModuleAnswer::None)
            moduleAnswers << answer;
    });
}

void StepCommand::addRequest(const QString &what, const SensorRequest &request, Accept accept)
{
    steps << Step { what, request, std::move(accept), {}, {}, {} };
}

void StepCommand::addSet(
    const QString &what, const SensorRequest &request, std::function<void()> done)
{
    const int code = SensorCommands::acknowledgementCode(request.command);
    addRequest(what, request, [code, done](const Reply &reply) {
        const bool acknowledged = reply.code == code
            && (reply.kind == Reply::SetAck || reply.kind == Reply::MotionOrSleepAck
                || reply.kind == Reply::SetAddressAck || reply.kind == Reply::BaudAck);
        if (acknowledged && done)
            done();
        return acknowledged;
    });
}

void StepCommand::addExchange(const QString &what, const Exchange &exchange, Answers answers)
{
    steps << Step { what, {}, {}, exchange, std::move(answers), {} };
}

void StepCommand::addModuleQuery(const QString &what, const Exchange &exchange,
    ModuleAnswer::Kind kind, std::function<void(const ModuleAnswer &)> done)
{
    addExchange(what, exchange, [this, what, kind, done](const QList<ModuleAnswer> &answers) {
        for (const ModuleAnswer &answer : answers) {
            if (answer.kind == kind) {
                done(answer);
                return;
            }
        }
        fail(QString("no answer to %1").arg(what));
    });
}

void StepCommand::addModuleSet(
    const QString &what, const Exchange &exchange, std::function<void()> done)
{
    addExchange(what, exchange, [this, what, exchange, done](const QList<ModuleAnswer> &answers) {
        int confirmed = 0;
        for (const ModuleAnswer &answer : answers)
            confirmed += answer.counted() ? 1 : 0;
        if (confirmed < expectedAnswers(exchange))
            return fail(QString("the module did not confirm %1").arg(what));
        if (done)
            done();
    });
}

void StepCommand::addModuleKeyQuery(
    const QString &key, std::function<void(const QString &, const QString &)> done)
{
    const QString what = key + " query";
    if (key == "band") {
        addModuleQuery(what, ModuleCommands::queryBand(), ModuleAnswer::BandQuery,
            [done](const ModuleAnswer &a) { done("band", Settings::bandName(a.index)); });
    } else if (key == "heartbeat") {
        addModuleQuery(what, ModuleCommands::queryHeart(), ModuleAnswer::HeartQuery,
            [done](const ModuleAnswer &a) { done("heartbeat", Settings::heartbeatName(a.index)); });
    } else if (key == "channels") {
        addModuleQuery(what, ModuleCommands::queryChannels(), ModuleAnswer::ChannelQuery,
            [done](const ModuleAnswer &a) {
                done("channel1", a.text);
                done("channel2", a.text2);
            });
    } else {
        const int which = key == "deveui" ? 0 : key == "appeui" ? 1 : 2;
        const ModuleAnswer::Kind kinds[]
            = { ModuleAnswer::DevEui, ModuleAnswer::AppEui, ModuleAnswer::AppKey };
        addModuleQuery(what, ModuleCommands::queryId(which), kinds[which],
            [done, key](const ModuleAnswer &a) { done(key, a.text); });
    }
}

void StepCommand::addAction(std::function<void()> action)
{
    steps << Step { QString(), {}, {}, {}, {}, std::move(action) };
}

void StepCommand::fail(const QString &message)
{
    steps.clear();
    out.message(message);
    finish(ExitCode::Failed);
}

void StepCommand::interrupt()
{
    if (exchanging && !isFinished())
        link.send(Protocol::buildBracketLine(true));
    PortCommand::interrupt();
}

void StepCommand::report(const QString &key, const QJsonValue &value)
{
    values[key] = value;
    lines << key + ": " + value.toVariant().toString();
}

void StepCommand::reportSaved()
{
    values["saved"] = true;
    lines << "saved";
}

void StepCommand::complete()
{
    out.outcome(values, lines);
    finish(ExitCode::Done);
}

void StepCommand::begin()
{
    plan();
    runNext();
}

void StepCommand::runNext()
{
    while (!isFinished() && !steps.isEmpty()) {
        current = steps.takeFirst();
        if (current.action) {
            current.action();
            continue;
        }
        if (!current.exchange.isEmpty()) {
            exchanging = true;
            moduleAnswers.clear();
            line = 0;
            sendLine();
        } else {
            send(Protocol::buildFrame(address, current.request), Timing::queryReplyMs);
        }
        return;
    }
    if (!isFinished())
        complete();
}

void StepCommand::sendLine()
{
    if (isFinished())
        return;
    if (line < current.exchange.size()) {
        const ExchangeStep &step = current.exchange.at(line++);
        link.send(step.bytes);
        pauseTimer.start(line < current.exchange.size() ? step.pauseMs : moduleSettleMs);
        return;
    }
    exchanging = false;
    current.answers(moduleAnswers);
    runNext();
}

bool StepCommand::take(const QByteArray &, const Reply &reply)
{
    if (exchanging || !current.accept || !current.accept(reply))
        return false;
    current.accept = {};
    runNext();
    return true;
}

void StepCommand::noAnswer()
{
    fail(QString("no answer to %1").arg(current.what));
}
