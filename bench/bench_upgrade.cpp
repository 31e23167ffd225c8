// An end-to-end firmware upgrade of a 256 KiB image through the window against the simulated
// boot loader on a pseudo-terminal, beside the least time its ticks allow: one packet per 50 ms
// tick, so 12.8 s for 256 packets.
//
// Usage: bench_upgrade [kibibytes]   (default 256)
#include "app/mainwindow.h"
#include "benchsupport.h"
#include "firmware/firmwarefile.h"
#include "sim/ptydevice.h"
#include "sim/simulatedsensor.h"
#include "windowfixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

} // namespace

int main(int argc, char **argv)
{
    const int kib = argc > 1 ? qBound(1, QByteArray(argv[1]).toInt(), 4096) : 256;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv("TILTLINK_EXTRA_PORTS");
    QApplication app(argc, argv);
    QTemporaryDir work;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, work.path());
    startLikeMain();

    const QByteArray image = benchImage(kib * 1024);
    const QString path = work.filePath(QStringLiteral("bench.ovx"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(FirmwareFile::encode(QStringLiteral("TL#S1#V1.0.3"), 4, 0x30, image)) <= 0)
        return 1;
    file.close();

    SimulatedSensor sensor;
    PtyDevice device(&sensor);
    if (!device.open())
        return 1;
    MainWindow window;
    window.show();
    widget<QComboBox>(&window, "portComboBox")->setCurrentText(device.slaveName());
    widget<QAbstractButton>(&window, "openPortButton")->click();
    {
        FileDialogAnswer answer(&path);
        widget<QAbstractButton>(&window, "iapLoadFileButton")->click();
    }

    auto *download = widget<QAbstractButton>(&window, "iapDownLoadButton");
    const double cpuBefore = cpuMs();
    QElapsedTimer wall;
    wall.start();
    download->click();
    QEventLoop loop;
    QObject::connect(&sensor, &SimulatedSensor::imageComplete, &loop, &QEventLoop::quit);
    QTimer::singleShot(600000, &loop, &QEventLoop::quit);
    loop.exec();
    const double ms = double(wall.elapsed());
    const int packets = (image.size() + 1023) / 1024;
    const double least = packets * 50.0;
    std::printf("upgrade: %d KiB, %d packets, %.0f ms wall (least the ticks allow: %.0f ms, "
                "%.1f%% above), %.0f ms CPU for both programs; image %s\n",
        kib, packets, ms, least, 100.0 * (ms - least) / least, cpuMs() - cpuBefore,
        sensor.receivedImage() == image ? "arrived intact" : "WRONG");
    return sensor.receivedImage() == image ? 0 : 1;
}
