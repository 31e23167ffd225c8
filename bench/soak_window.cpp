// Soak runs of the window against the simulated sensor with its faults on; they print what
// they saw and end with exit 1 when something was lost or wrong.
//
// Usage: soak_window readback [records]   60 000 records (pages of 255), 10% of the pages with a
//                                         bad CRC, 2% not sent at all; after each time-out the
//                                         read is continued, as a user would
//        soak_window live [seconds]          600 s of polling at 10 Hz with recording on, while
//                                         5% of the replies meet a line fault (a flipped byte,
//                                         lost, split, merged, late, or led by garbage); every
//                                         value shown or recorded must be one the sensor sent
//        soak_window upgrade [KiB]        a 256 KiB image with 10% of the acknowledgements lost
//                                         and 5% of the packets answered with a checksum error
//
// A third argument "unplug" pulls the sensor's plug half-way through and puts it back on the
// same link 2 s later: the window must close the port cleanly, reconnect on its own, and the
// run must still end with nothing lost (the read is continued, the upgrade downloaded again).
#include "app/mainwindow.h"
#include "benchsupport.h"
#include "firmware/firmwarefile.h"
#include "measure/livesample.h"
#include "sim/ptydevice.h"
#include "sim/simulatedsensor.h"
#include "sim/storedrecords.h"
#include "windowfixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

bool unplugMode = false;

/// The sensor's device on a link in a folder of its own, so that it can come back at the same
/// path; pull() unplugs it and plugs it back 2 s later.
struct Plug {
    SimulatedSensor &sensor;
    PtyDevice device { &sensor };
    QTemporaryDir dir;
    bool pulled = false;

    explicit Plug(SimulatedSensor &sensor)
        : sensor(sensor)
    {
    }
    bool open() { return device.open(dir.filePath(QStringLiteral("sensor"))); }
    QString port() const { return device.linkPath(); }
    void pull()
    {
        pulled = true;
        sensor.unplug();
        QTimer::singleShot(2000, &device, [this] { device.plugBack(); });
    }
};

bool portOpen(MainWindow &window);

/// The port is open and the sensor has told its address again (the window asks on reconnect).
bool portOpen(MainWindow &window)
{
    return window.findChild<QAbstractButton *>(QStringLiteral("openPortButton"))->text()
        == QStringLiteral("关闭")
        && !window.findChild<QLineEdit *>(QStringLiteral("lineEditAddr"))->text().isEmpty();
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

/// The five texts of a live sample, as the labels show them and the record file keeps them.
QString sampleKey(const QStringList &texts)
{
    return texts.join(QLatin1Char('|'));
}

int live(int seconds)
{
    QTemporaryDir folder;
    SimulatedSensor sensor;
    SensorFaults faults;
    faults.lineFaultRate = 0.05;
    faults.faultSeed = 5;
    sensor.setFaults(faults);
    Plug plug(sensor);
    if (!plug.open())
        return 1;
    MainWindow window;
    openPort(window, plug.port());
    DialogRecorder boxes;
    widget<QLineEdit>(&window, "lineEdit_Save")->setText(folder.path());
    widget<QCheckBox>(&window, "checkBox_Save")->setChecked(true);
    QList<QLabel *> labels;
    for (const char *name : { "label_X", "label_Y", "label_Z", "label_T", "label_B" })
        labels << widget<QLabel>(&window, name);

    // Everything the sensor sent, as texts; grows as the run goes on.
    QSet<QString> sent;
    int known = 0;
    auto learn = [&] {
        const QList<QByteArray> data = sensor.liveDataSent();
        for (; known < data.size(); ++known) {
            // The reply as the window decodes it: header, address, code, then the data.
            const QByteArray reply = QByteArray("\x77\x00\x00\x00\x00\x01\x83", 7) + data.at(known)
                + QByteArray(1, '\0');
            const LiveSample s = decodeLiveSample(reply, AngleKind);
            sent.insert(sampleKey({ s.x, s.y, s.z, s.temperature, s.power }));
        }
    };
    int checks = 0, wrongShown = 0, pollsAtPull = -1;
    double mbAtMinute = 0;
    QElapsedTimer wall;
    wall.start();
    widget<QAbstractButton>(&window, "pushButtonStart")->click();
    waitFor(
        [&] {
            learn();
            QStringList shown;
            for (QLabel *label : labels)
                shown << label->text();
            if (shown.first() != QLatin1String("0") || shown.last() != QLatin1String("0")) {
                ++checks;
                if (!sent.contains(sampleKey(shown)))
                    ++wrongShown;
            }
            if (mbAtMinute == 0 && wall.elapsed() > 60000)
                mbAtMinute = residentMb();
            if (unplugMode && !plug.pulled && wall.elapsed() > seconds * 500) {
                pollsAtPull = int(sensor.receivedFrames().size());
                plug.pull();
            }
            return false;
        },
        seconds * 1000);
    widget<QAbstractButton>(&window, "pushButtonStart")->click();
    QTest::qWait(300);
    learn();
    const double mbAtEnd = residentMb();

    QFile file(recordFilePath(folder.path()));
    int recorded = 0, wrongRecorded = 0;
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        for (const QByteArray &line : file.readAll().split('\n')) {
            const QStringList parts = QString::fromLocal8Bit(line).split(QStringLiteral("  "));
            if (parts.size() < 6)
                continue;
            ++recorded;
            if (!sent.contains(sampleKey(parts.mid(parts.size() - 5))))
                ++wrongRecorded;
        }
    }
    const QList<QByteArray> frames = sensor.receivedFrames();
    const int polls = int(std::count_if(frames.begin(), frames.end(),
        [](const QByteArray &f) { return f.size() > 6 && quint8(f.at(6)) == 0x03; }));
    // After the plug went back in, polling must have gone on by itself.
    const int pollsAfter = pollsAtPull < 0 ? 0 : int(frames.size()) - pollsAtPull;
    const bool resumed = !unplugMode || pollsAfter > 10;
    const bool ok
        = wrongShown == 0 && wrongRecorded == 0 && recorded > 0 && boxes.boxes.isEmpty() && resumed;
    if (unplugMode)
        std::printf(
            "soak live: unplugged half-way and back 2 s later: %d requests after\n", pollsAfter);
    std::printf("soak live: %d s at 10 Hz, recording, 5%% line faults: %d polls, %d replies sent, "
                "%d lines recorded (%.1f%%), %d wrong; labels checked %d times, %d wrong; "
                "resident memory %.1f MB after a minute, %.1f MB at the end%s -> %s\n",
        seconds, polls, int(sent.size()), recorded, 100.0 * recorded / qMax(1, known),
        wrongRecorded, checks, wrongShown, mbAtMinute, mbAtEnd,
        boxes.boxes.isEmpty() ? "" : qPrintable(", box: " + boxes.boxes.first()),
        ok ? "OK" : "FAULT");
    return ok ? 0 : 1;
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
    Plug plug(sensor);
    if (!plug.open())
        return 1;
    MainWindow window;
    openPort(window, plug.port());
    DialogRecorder boxes;
    auto *read = widget<QAbstractButton>(&window, "pushButtonRead");
    const QString resume = QStringLiteral("继续");
    const int pages = (records + StoredRecords::maxPageSize - 1) / StoredRecords::maxPageSize;
    int continued = 0;
    QElapsedTimer wall;
    wall.start();
    read->click();
    // A dropped page ends in a time-out that leaves the read paused: go on as a user would.
    const bool ended = waitFor(
        [&] {
            if (!boxes.boxes.isEmpty())
                return true;
            if (unplugMode && !plug.pulled && sensor.receivedFrames().size() > 1 + pages / 2)
                plug.pull();
            if (read->text() == resume && read->isEnabled() && portOpen(window)) {
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
    const QByteArray image = benchImage(kib * 1024);
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
    Plug plug(sensor);
    if (!plug.open())
        return 1;
    MainWindow window;
    openPort(window, plug.port());
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
    bool again = false;
    const bool ended = waitFor(
        [&] {
            if (!unplugMode)
                return !received.isEmpty() || !boxes.boxes.isEmpty();
            if (!plug.pulled && sensor.packetsWritten() >= image.size() / 2048)
                plug.pull();
            // The transfer was cancelled with a box; once the port is back, download again.
            if (plug.pulled && !again && !boxes.boxes.isEmpty() && portOpen(window)) {
                again = true;
                widget<QAbstractButton>(&window, "iapDownLoadButton")->click();
            }
            return !received.isEmpty();
        },
        30 * 60 * 1000);
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
    unplugMode = argc > 3 && QByteArray(argv[3]) == "unplug";
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv("TILTLINK_EXTRA_PORTS");
    QApplication app(argc, argv);
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    startLikeMain();
    if (mode == "readback")
        return readback(size > 0 ? qMin(size, 60000) : 60000);
    if (mode == "live")
        return live(size > 0 ? size : 600);
    if (mode == "upgrade")
        return upgrade(size > 0 ? qMin(size, 4096) : 256);
    std::fprintf(
        stderr, "usage: soak_window readback [records] | live [seconds] | upgrade [KiB]\n");
    return 2;
}
