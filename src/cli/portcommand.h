#pragma once

#include "cli/output.h"
#include "protocol/reply.h"

#include <QObject>
#include <QTimer>

#include <optional>

class PortLink;

/// A command that talks to the sensor on one open port. It learns the device address first
/// (the read-address request, unless one was given), then runs its own conversation: each
/// request goes out with a time-out, each reply comes in through take().
class PortCommand : public QObject {
    Q_OBJECT

public:
    PortCommand(
        PortLink &link, Output &out, std::optional<quint32> address, QObject *parent = nullptr);

    void start();
    /// Ctrl-C: end as cleanly as the conversation allows.
    virtual void interrupt();

signals:
    void finished(int exitCode);

protected:
    /// The address is known: send the first request.
    virtual void begin() = 0;
    /// A whole reply; false when it is not one this command waits for (the time-out runs on).
    virtual bool take(const QByteArray &bytes, const Reply &reply) = 0;
    /// Nothing came in time; by default the command fails.
    virtual void noAnswer();
    /// Last words before the port closes (e.g. write what was read); may change the exit code.
    virtual int wrapUp(int exitCode) { return exitCode; }

    void send(const QByteArray &request, int timeoutMs);
    /// Fails through noAnswer() unless a reply the command takes comes within `timeoutMs`.
    void expectReplyWithin(int timeoutMs);
    void finish(int exitCode);
    bool isFinished() const { return done; }

    PortLink &link;
    Output &out;
    quint32 address = 0;

private:
    void onReply(const QByteArray &bytes, const Reply &reply);

    bool addressKnown;
    bool done = false;
    QTimer replyTimer;
};
