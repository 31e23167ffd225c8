#pragma once

#include "cli/portcommand.h"
#include "params/moduleanswer.h"
#include "protocol/exchange.h"
#include "protocol/protocol.h"

#include <QJsonObject>
#include <QList>
#include <QTimer>

#include <functional>

/// A command made of steps run one after another: sensor requests, each waiting for its
/// answer, and radio-module exchanges, each line followed by its pause. The first step that
/// fails ends the command with exit 1.
class StepCommand : public PortCommand {
    Q_OBJECT

public:
    StepCommand(
        PortLink &link, Output &out, std::optional<quint32> address, QObject *parent = nullptr);

    /// Ctrl-C: a module exchange cut short still gets its closing line.
    void interrupt() override;

protected:
    /// Offered each reply while the request waits; true when it is the request's answer.
    using Accept = std::function<bool(const Reply &)>;
    /// Gets the module's answers that came during the exchange; may call fail().
    using Answers = std::function<void(const QList<ModuleAnswer> &)>;

    /// Queues a sensor request, built for the address in effect when it goes out.
    void addRequest(const QString &what, const SensorRequest &request, Accept accept);
    /// Queues a set request whose answer is its acknowledgement.
    void addSet(const QString &what, const SensorRequest &request, std::function<void()> done);
    /// Queues a radio-module exchange.
    void addExchange(const QString &what, const Exchange &exchange, Answers answers);
    /// Queues a module query; `done` gets its answer of `kind` (none is a failure).
    void addModuleQuery(const QString &what, const Exchange &exchange, ModuleAnswer::Kind kind,
        std::function<void(const ModuleAnswer &)> done);
    /// Queues a module set; every counted line must be confirmed.
    void addModuleSet(const QString &what, const Exchange &exchange, std::function<void()> done);
    /// Queues the query of a module key (band, heartbeat, channels, deveui, appeui, appkey);
    /// `done` gets each value by name ("channels" gives channel1 and channel2).
    void addModuleKeyQuery(
        const QString &key, std::function<void(const QString &name, const QString &value)> done);
    /// Queues something to do between steps.
    void addAction(std::function<void()> action);
    /// Ends the command: the step failed.
    void fail(const QString &message);

    /// Queues the steps; called once the address is known.
    virtual void plan() = 0;
    /// Every step ran: by default prints what report() gathered and ends with exit 0.
    virtual void complete();
    /// One result: a `key: value` line, or a member of the JSON object.
    void report(const QString &key, const QJsonValue &value);
    /// The closing save was confirmed: "saved", or `"saved": true`.
    void reportSaved();

    QJsonObject values; // in report order on the text lines
    QStringList lines;

private:
    struct Step {
        QString what;
        SensorRequest request;
        Accept accept;
        Exchange exchange;
        Answers answers;
        std::function<void()> action;
    };

    void begin() override;
    bool take(const QByteArray &bytes, const Reply &reply) override;
    void noAnswer() override;
    void runNext();
    void sendLine();

    QList<Step> steps;
    Step current;
    int line = 0; // next line of the running exchange
    bool exchanging = false;
    QList<ModuleAnswer> moduleAnswers;
    QTimer pauseTimer;
};
