// Commissioning a line of sensors with tiltlink-cli: `apply` of a template (both groups, with
// the save and the read-back) and then `module-ids --append`, on N simulated sensors (each on
// its own pseudo-terminal, all in this process) - once with every port in one run, once one
// port per run after another. Prints wall time and the CLI's CPU time for each way.
#include "sim/ptydevice.h"
#include "sim/simulatedsensor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

/// CPU seconds of the finished child processes so far.
double childCpu()
{
    rusage usage {};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

/// Runs the CLI to its end while the simulated sensors answer; its exit code.
int run(const QStringList &arguments)
{
    QProcess cli;
    QEventLoop loop;
    QObject::connect(&cli, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), &loop,
        &QEventLoop::quit);
    cli.setStandardErrorFile(QProcess::nullDevice());
    cli.start(CLI, arguments);
    loop.exec();
    cli.readAllStandardOutput();
    return cli.exitCode();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 8;
    QTemporaryDir dir;
    const QString ini = dir.filePath("t.ini");
    QFile file(ini);
    file.open(QIODevice::WriteOnly);
    file.write("[Sensor]\nMode=1\nZero=1\nInterval=5\nKeep=10\nSleep=60\nAlarm=1.5\n"
               "Duration=0.8\nThreshold=100\nInstal=1\n\n"
               "[Module]\nBand=3\nHeart=1\nChannel1=0-7\nChannel2=8-15\n");
    file.close();

    std::vector<std::unique_ptr<SimulatedSensor>> sensors;
    std::vector<std::unique_ptr<PtyDevice>> devices;
    QStringList ports;
    for (int i = 0; i < count; ++i) {
        sensors.push_back(std::make_unique<SimulatedSensor>());
        devices.push_back(std::make_unique<PtyDevice>(sensors.back().get()));
        if (!devices.back()->open())
            return 1;
        ports << devices.back()->slaveName();
    }
    std::printf("commission: %d simulated sensors, apply (both groups, --save) then module-ids "
                "--append\n",
        count);

    auto commission = [&](const QStringList &group, const QString &ids) {
        QStringList portArgs;
        for (const QString &port : group)
            portArgs << "--port" << port;
        int worst = run(QStringList { "apply", ini, "--save" } + portArgs);
        worst = qMax(worst, run(QStringList { "module-ids", "--append", ids } + portArgs));
        return worst;
    };

    double cpu = childCpu();
    QElapsedTimer wall;
    wall.start();
    int worst = commission(ports, dir.filePath("together.csv"));
    std::printf("commission all ports in one run: %lld ms wall, %.0f ms CPU of the CLI, exit %d\n",
        wall.elapsed(), (childCpu() - cpu) * 1000, worst);
    std::fflush(stdout);

    cpu = childCpu();
    wall.restart();
    worst = 0;
    for (const QString &port : ports)
        worst = qMax(worst, commission({ port }, dir.filePath("apart.csv")));
    std::printf("commission one port per run: %lld ms wall, %.0f ms CPU of the CLI, exit %d\n",
        wall.elapsed(), (childCpu() - cpu) * 1000, worst);
    std::fflush(stdout);
    return worst;
}
