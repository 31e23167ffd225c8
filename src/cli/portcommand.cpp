#include "cli/portcommand.h"

#include "cli/exitcode.h"
#include "cli/portlink.h"
#include "protocol/protocol.h"
#include "protocol/timing.h"

PortCommand::PortCommand(PortLink &link, Output &out, std::optional<quint32> given, QObject *parent)
    : QObject(parent)
    , link(link)
    , out(out)
    , address(given.value_or(0))
    , addressKnown(given.has_value())
{
    replyTimer.setSingleShot(true);
    connect(&replyTimer, &QTimer::timeout, this, [this] {
        if (addressKnown) {
            noAnswer();
        } else {
            this->out.message("no answer to the read-address request");
            finish(ExitCode::Failed);
        }
    });
    // A request gives up when no byte has come for its time-out, not when its reply is slow to
    // complete: a long page may come in many small chunks.
    connect(&link, &PortLink::received, this, [this] {
        if (replyTimer.isActive())
            replyTimer.start();
    });
    connect(&link, &PortLink::replied, this, &PortCommand::onReply);
    connect(&link, &PortLink::lost, this, [this](const QString &why) {
        this->out.message("port lost: " + why);
        finish(ExitCode::PortError);
    });
}

void PortCommand::start()
{
    if (addressKnown)
        begin();
    else
        send(Protocol::buildAddressQuery(), Timing::queryReplyMs);
}

void PortCommand::interrupt()
{
    out.message("interrupted");
    finish(ExitCode::Failed);
}

void PortCommand::noAnswer()
{
    out.message("no answer from the sensor");
    finish(ExitCode::Failed);
}

void PortCommand::send(const QByteArray &request, int timeoutMs)
{
    link.send(request);
    expectReplyWithin(timeoutMs);
}

void PortCommand::expectReplyWithin(int timeoutMs)
{
    replyTimer.start(timeoutMs);
}

void PortCommand::finish(int exitCode)
{
    if (done)
        return;
    done = true;
    replyTimer.stop();
    exitCode = wrapUp(exitCode);
    link.close();
    emit finished(exitCode);
}

void PortCommand::onReply(const QByteArray &bytes, const Reply &reply)
{
    if (done)
        return;
    const bool waiting = replyTimer.isActive();
    replyTimer.stop();
    bool mine = false;
    if (!addressKnown) {
        if ((mine = reply.kind == Reply::Address)) {
            addressKnown = true;
            address = Protocol::parseAddress(reply.address);
            begin();
        }
    } else {
        mine = take(bytes, reply);
    }
    // A reply the command was not waiting for does not stop its clock.
    if (!mine && !done && waiting)
        replyTimer.start();
}
