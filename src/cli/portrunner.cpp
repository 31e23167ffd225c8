#include "cli/portrunner.h"

#include "cli/applycommand.h"
#include "cli/erasecommand.h"
#include "cli/exitcode.h"
#include "cli/infocommand.h"
#include "cli/interruptnotifier.h"
#include "cli/livecommand.h"
#include "cli/modulecommand.h"
#include "cli/moduleidscommand.h"
#include "cli/output.h"
#include "cli/portlink.h"
#include "cli/readbackcommand.h"
#include "cli/setcommand.h"
#include "cli/upgradecommand.h"
#include "serial/portpermission.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>

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
    if (options.command == "module-ids" && !options.json)
        std::fputs(qUtf8Printable(ModuleIdsCommand::csvHeader() + '\n'), stdout);
    for (const QString &port : qAsConst(options.ports)) {
        outputs.push_back(std::make_unique<Output>(port, prefixed, options.json));
        Output &out = *outputs.back();
        auto *link = new PortLink(this);
        if (!link->open(port, options.baud)) {
            const std::optional<PortPermission> lacking = PortPermission::lackingFor(port);
            out.message(lacking ? lacking->advice(PortPermission::englishText())
                                : QString("cannot open %1: %2").arg(port, link->errorString()));
            worst = qMax(worst, int(ExitCode::PortError));
            continue;
        }
        PortCommand *command = makeCommand(*link, out, port);
        connect(command, &PortCommand::finished, this, &PortRunner::oneFinished);
        commands.push_back(command);
        ++running;
    }
    for (PortCommand *command : commands)
        command->start();
    if (running == 0)
        QTimer::singleShot(0, this, &PortRunner::done);
}

PortCommand *PortRunner::makeCommand(PortLink &link, Output &out, const QString &port)
{
    const QString &name = options.command;
    const std::optional<quint32> address = options.address;
    if (name == "info")
        return new InfoCommand(link, out, address, this);
    if (name == "live")
        return new LiveCommand(link, out, address, options.live, this);
    if (name == "set")
        return new SetCommand(link, out, address, options.settings, options.save, this);
    if (name == "module") {
        return new ModuleCommand(
            link, out, address, options.moduleKeys, options.moduleSettings, options.save, this);
    }
    if (name == "apply") {
        return new ApplyCommand(link, out, address, options.templateSensor, options.settings,
            options.templateModule, options.save, this);
    }
    if (name == "module-ids")
        return new ModuleIdsCommand(link, out, address, options.json, options.appendTo, this);
    if (name == "erase")
        return new EraseCommand(link, out, address, this);
    if (name == "upgrade")
        return new UpgradeCommand(
            link, out, address, options.firmware, options.checkVersion, options.yes, this);
    CliOptions own = options;
    if (options.ports.size() > 1) {
        // One file per sensor: the port's name goes before the suffix.
        const QFileInfo file(options.out);
        own.out = file.dir().filePath(
            QString("%1-%2.%3")
                .arg(file.completeBaseName(), QFileInfo(port).fileName(), file.suffix()));
    }
    return new ReadbackCommand(link, out, own, this);
}

void PortRunner::oneFinished(int exitCode)
{
    worst = qMax(worst, exitCode);
    if (--running == 0)
        QTimer::singleShot(0, this, &PortRunner::done);
}
