#include "cli/portrunner.h"

#include "cli/erasecommand.h"
#include "cli/exitcode.h"
#include "cli/infocommand.h"
#include "cli/interruptnotifier.h"
#include "cli/output.h"
#include "cli/portlink.h"
#include "cli/readbackcommand.h"
#include "cli/upgradecommand.h"

#include <QTimer>

PortRunner::PortRunner(const CliOptions &options, QObject *parent)
    : QObject(parent)
    , options(options)
{
    connect(new InterruptNotifier(this), &InterruptNotifier::interrupted, this, [this] {
        for (PortCommand *command : commands)
            command->interrupt();
    });
}

PortRunner::~PortRunner() = default;

void PortRunner::start()
{
    const bool prefixed = options.ports.size() > 1;
    for (const QString &port : qAsConst(options.ports)) {
        outputs.push_back(std::make_unique<Output>(port, prefixed, options.json));
        Output &out = *outputs.back();
        auto *link = new PortLink(this);
        if (!link->open(port, options.baud)) {
            out.message(QString("cannot open %1: %2").arg(port, link->errorString()));
            worst = qMax(worst, int(ExitCode::PortError));
            continue;
        }
        PortCommand *command = makeCommand(*link, out);
        connect(command, &PortCommand::finished, this, &PortRunner::oneFinished);
        commands.push_back(command);
        ++running;
    }
    for (PortCommand *command : commands)
        command->start();
    if (running == 0)
        QTimer::singleShot(0, this, &PortRunner::done);
}

PortCommand *PortRunner::makeCommand(PortLink &link, Output &out)
{
    if (options.command == "info")
        return new InfoCommand(link, out, options.address, this);
    if (options.command == "erase")
        return new EraseCommand(link, out, options.address, this);
    if (options.command == "upgrade")
        return new UpgradeCommand(
            link, out, options.address, options.firmware, options.checkVersion, options.yes, this);
    return new ReadbackCommand(link, out, options, this);
}

void PortRunner::oneFinished(int exitCode)
{
    worst = qMax(worst, exitCode);
    if (--running == 0)
        QTimer::singleShot(0, this, &PortRunner::done);
}
