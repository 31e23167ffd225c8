// What a reconnect watch costs while the device is away: every poll lists the ports present
// (the system's and the extra names) and looks for the lost one among them.
#include "serial/portwatch.h"
#include "serial/serial.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <ctime>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    Serial serial;
    PortWatch watch;
    const PortIdentity lost { "/dev/ttyUSB9", "/dev/ttyUSB9", "A1B2C3D4", 0x0403, 0x6001 };
    watch.start(lost, 115200, true);
    const int polls = 200;
    int listed = 0;
    int found = 0;
    QElapsedTimer wall;
    wall.start();
    const std::clock_t cpu = std::clock();
    for (int i = 0; i < polls; ++i) {
        const QList<PortIdentity> present = serial.presentPorts(lost.name);
        listed = present.size();
        found += watch.candidate(present).isEmpty() ? 0 : 1;
    }
    const double cpuMs = double(std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC / polls;
    const double wallMs = double(wall.nsecsElapsed()) / 1e6 / polls;
    std::printf("portwatch: %d ports listed per poll, %.3f ms wall, %.3f ms CPU per poll; "
                "one poll every %d ms (the first %d s) takes %.2f%%, every %d ms then %.2f%% of "
                "one core (%d found)\n",
        listed, wallMs, cpuMs, PortWatch::pollMs, PortWatch::quickMs / 1000,
        100.0 * cpuMs / PortWatch::pollMs, PortWatch::slowPollMs,
        100.0 * cpuMs / PortWatch::slowPollMs, found);
    return 0;
}
