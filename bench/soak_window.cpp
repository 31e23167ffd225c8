// Soak runs of the window against the simulated sensor with its faults on; they print what
// they saw and end with exit 1 when something was lost or wrong.
//
// Usage: soak_window readback [records]   60 000 records (pages of 255), 10% of the pages with a
//                                         bad CRC, 2% not sent at all; after each time-out the
//                                         read is continued, as a user would
//        soak_window upgrade [KiB]        a 256 KiB image with 10% of the acknowledgements lost
//                                         and 5% of the packets answered with a checksum error
#include "app/mainwindow.h"
#include "firmware/firmwarefile.h"
#include "sim/ptydevice.h"
#include "sim/simulatedsensor.h"
#include "sim/storedrecords.h"
#include "windowfixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

template <class T> T *widget(QWidget *root, const char *name)
{
    return root->findChild<T *>(QString::fromLatin1(name));
}

void openPort(MainWindow &window, const QString &port)
{
    window.show();
    widget<QComboBox>(&window, "portComboBox")->setCurrentText(port);
    widget<QAbstractButton>(&window, "openPortButton")->click();
    widget<QLineEdit>(&window, "lineEditAddr")->setText(QStringLiteral("00000001"));
    QTest::qWait(200);
}

/// Runs the event loop, calling `step` every 100 ms, until it returns true or `limitMs` passed.
bool waitFor(const std::function<bool()> &step, int limitMs)
{
    QEventLoop loop;
    QTimer poll;
    bool done = false;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if ((done = step()))
            loop.quit();
    });
    poll.start(100);
    QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
    loop.exec();
    return done;
}

int readback(int records)
{
    SimulatedSensor sensor;
    sensor.setStoredRecords(records);
    sensor.setPageSize(StoredRecords::maxPageSize);
    SensorFaults faults;
    faults.badPageRate = 0.10;
    faults.dropPageRate = 0.02;
    faults.faultSeed = 7;
    sensor.setFaults(faults);
    PtyDevice device(&sensor);
    if (!device.open())
        return 1;
    MainWindow window;
    openPort(window, device.slaveName());
    DialogRecorder boxes;
    auto *read = widget<QAbstractButton>(&window, "pushButtonRead");
    const QString resume = QStringLiteral("继续");
    int continued = 0;
    QElapsedTimer wall;
    wall.start();
    read->click();
    // A dropped page ends in a time-out that leaves the read paused: go on as a user would.
    const bool ended = waitFor(
        [&] {
            if (!boxes.boxes.isEmpty())
                return true;
            if (read->text() == resume && read->isEnabled()) {
                ++continued;
                read->click();
            }
            return false;
        },
        600000);
    const qint64 ms = wall.elapsed();

    QAbstractItemModel *model = widget<QTableView>(&window, "tableView")->model();
    int inOrder = 0, wrong = 0, shown = 0;
    for (int row = 0; row < model->rowCount(); ++row) {
        const QString date = model->index(row, 0).data().toString();
        if (date.isEmpty())
            continue;
        ++shown;
        const QDateTime expected = StoredRecords::recordTime(row + 1);
        if (date == expected.toString("yyyy-MM-dd")
            && model->index(row, 1).data().toString() == expected.toString("HH:mm:ss"))
            ++inOrder;
        else
            ++wrong;
    }
    const QList<QByteArray> frames = sensor.receivedFrames();
    const int asksAgain = int(std::count_if(frames.begin(), frames.end(), [](const QByteArray &f) {
        return f.size() > 7 && quint8(f.at(6)) == 0x61 && quint8(f.at(7)) == 0x11;
    }));
    const bool ok = ended && shown == records && inOrder == records && wrong == 0;
    std::printf("soak readback: %d records, 10%% bad pages, 2%% dropped pages: %.1f s, %d pages "
                "asked for again (0x11), %d time-outs continued, %d rows shown, %d in order, %d "
                "wrong, end box: %s -> %s\n",
        records, ms / 1000.0, asksAgain, continued, shown, inOrder, wrong,
        boxes.boxes.isEmpty() ? "none" : qPrintable(boxes.boxes.first()), ok ? "OK" : "FAULT");
    return ok ? 0 : 1;
}

int upgrade(int kib)
{
    QTemporaryDir work;
    QByteArray image(kib * 1024, '\0');
    for (int i = 0; i < image.size(); ++i)
        image[i] = char(i * 31 + i / 1024);
    const QString path = work.filePath(QStringLiteral("soak.ovx"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(FirmwareFile::encode(QStringLiteral("TL#S1#V1.0.3"), 4, 0x30, image)) <= 0)
        return 1;
    file.close();

    SimulatedSensor sensor;
    SensorFaults faults;
    faults.lostAckRate = 0.10;
    faults.checksumErrorRate = 0.05;
    faults.faultSeed = 11;
    sensor.setFaults(faults);
    PtyDevice device(&sensor);
    if (!device.open())
        return 1;
    MainWindow window;
    openPort(window, device.slaveName());
    {
        FileDialogAnswer answer(&path);
        widget<QAbstractButton>(&window, "iapLoadFileButton")->click();
    }
    DialogRecorder boxes;
    QByteArray received;
    QObject::connect(&sensor, &SimulatedSensor::imageComplete,
        [&](const QByteArray &bytes) { received = bytes; });
    QElapsedTimer wall;
    wall.start();
    widget<QAbstractButton>(&window, "iapDownLoadButton")->click();
    const bool ended
        = waitFor([&] { return !received.isEmpty() || !boxes.boxes.isEmpty(); }, 30 * 60 * 1000);
    const qint64 ms = wall.elapsed();
    const int packets = (image.size() + 1023) / 1024;
    const bool ok = ended && received == image;
    std::printf("soak upgrade: %d KiB (%d packets), 10%% acknowledgements lost, 5%% checksum "
                "errors: %.1f s (%.1f s without faults), %d packets written, %d aborts, image "
                "byte-exact: %s%s -> %s\n",
        kib, packets, ms / 1000.0, packets * 0.05, sensor.packetsWritten(), sensor.abortCount(),
        received == image ? "yes" : "no",
        boxes.boxes.isEmpty() ? "" : qPrintable(", box: " + boxes.boxes.first()),
        ok ? "OK" : "FAULT");
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray("readback");
    const int size = argc > 2 ? QByteArray(argv[2]).toInt() : 0;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv("TILTLINK_EXTRA_PORTS");
    QApplication app(argc, argv);
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    startLikeMain();
    if (mode == "readback")
        return readback(size > 0 ? qMin(size, 60000) : 60000);
    if (mode == "upgrade")
        return upgrade(size > 0 ? qMin(size, 4096) : 256);
    std::fprintf(stderr, "usage: soak_window readback [records] | upgrade [KiB]\n");
    return 2;
}
