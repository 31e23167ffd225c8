#include "cli/clioptions.h"
#include "cli/exitcode.h"
#include "cli/portlist.h"
#include "cli/portrunner.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("tiltlink-cli");
    QCoreApplication::setApplicationVersion(TILT_VERSION);

    CliOptions options;
    QString message;
    switch (parseCommandLine(QCoreApplication::arguments(), options, message)) {
    case ParseOutcome::Help:
        std::fputs(qUtf8Printable(message), stdout);
        return ExitCode::Done;
    case ParseOutcome::UsageError:
        std::fputs(qUtf8Printable("tiltlink-cli: " + message + '\n'), stderr);
        return ExitCode::Usage;
    case ParseOutcome::Run:
        break;
    }
    if (options.command == "ports")
        return listPorts(options.json);

    PortRunner runner(options);
    QObject::connect(&runner, &PortRunner::done, &app, &QCoreApplication::quit);
    runner.start();
    app.exec();
    return runner.exitCode();
}
