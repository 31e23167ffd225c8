// Reading the device address, polling live readings and the record file, through a
// pseudo-terminal on which the test or the simulated sensor plays the device.
#include "app/mainwindow.h"
#include "dialogrecorder.h"
#include "pseudoterminal.h"
#include "sim/ptydevice.h"
#include "sim/simulatedsensor.h"
#include "windowfixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const char *const labels[] = {"label_X", "label_Y", "label_Z", "label_T", "label_B"};
const char *const lockedWhileLive[] = {"pushButtonRead", "pushButtonDelete", "iapDownLoadButton",
                                       "comboBoxGayo"};

const QByteArray pollTo00000001 = QByteArray::fromHex("770700000001030b");

// Angles -12.3456, 123.4567, -0.1000; accelerations 0.981234, -1, 0.000001; 25.50 degrees;
// power 87.
const QByteArray liveA = QByteArray::fromHex(
    "772300000001831012345601234567f000100000981234110000000000000100255057df");
// Angles 0.1000, -0.0001, 9.0000; accelerations 1, 0, -0.5; -5.00 degrees; power 100.
const QByteArray liveB = QByteArray::fromHex(
    "7723000000018300001000100000010009000001000000000000001050000010050064ab");
// 31 bytes (LEN 0x1E): the angles 1.2340, 2.0000, -0.3000 and then nothing past offset 29.
const QByteArray liveShort =
    QByteArray::fromHex("771e0000000183000123400002000010003000005000000060000000700068");

const QString recordName = QStringLiteral("Orvex_Record.txt");

QStringList readLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(file.readAll());
    QStringList lines = text.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// Splits what the program sent into frames (0x77, LEN, ..., checksum at index LEN).
QByteArrayList frames(const QByteArray &bytes)
{
    QByteArrayList list;
    int at = 0;
    while (at + 1 < bytes.size()) {
        const int size = quint8(bytes.at(at + 1)) + 1;
        list.append(bytes.mid(at, size));
        at += size;
    }
    return list;
}

} // namespace

class TestLive : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void addressIsAskedForAndShown();
    void addressNeedsAnOpenPort();
    void startPollsAndStopEnds();
    void startRefusals_data();
    void startRefusals();
    void restartClearsTheReadings();
    void viewKinds_data();
    void viewKinds();
    void viewKindIsTakenAtStart();
    void shortReplyHasNoTemperatureOrPower();
    void recordFileGetsOneLinePerSample();
    void recordingSkipped_data();
    void recordingSkipped();
    void unwritableRecordFolderIsReportedOnce();

private:
    QString status() const { return window->statusBar()->currentMessage(); }
    QString text(const char *name) const;
    void startLive(const QString &address = QStringLiteral("00000001"), int kind = 0);

    QTemporaryDir settingsDir;
    MainWindow *window = nullptr;
    PseudoTerminal *pty = nullptr;
};

void TestLive::initTestCase()
{
    useTemporarySettings(settingsDir.path());
    startLikeMain(*qApp);
}

void TestLive::init()
{
    pty = new PseudoTerminal;
    QVERIFY(pty->isValid());
    window = new MainWindow;
    window->show();
}

void TestLive::cleanup()
{
    delete window;
    window = nullptr;
    delete pty;
    pty = nullptr;
}

QString TestLive::text(const char *name) const
{
    if (auto *label = widget<QLabel>(window, name))
        return label->text();
    if (auto *edit = widget<QLineEdit>(window, name))
        return edit->text();
    return QStringLiteral("<no widget %1>").arg(QString::fromLatin1(name));
}

// Opens the port on the raw pseudo-terminal, starts measuring and takes the first poll.
void TestLive::startLive(const QString &address, int kind)
{
    openPortNamed(window, pty->slaveName());
    widget<QLineEdit>(window, "lineEditAddr")->setText(address);
    widget<QComboBox>(window, "comboBoxGayo")->setCurrentIndex(kind);
    clickNamed(window, "pushButtonStart");
    QCOMPARE(widget<QPushButton>(window, "pushButtonStart")->text(), QString("停止"));
}

void TestLive::addressIsAskedForAndShown()
{
    openPortNamed(window, pty->slaveName());
    auto *address = widget<QLineEdit>(window, "lineEditAddr");
    address->setText("abcdef01");
    clickNamed(window, "getAddrButton");
    QCOMPARE(status(), QString("获取设置地址"));
    QVERIFY(address->text().isEmpty());
    // The query goes to address 0 whatever the working address was, and goes once.
    QCOMPARE(pty->readAtLeast(8).toHex(), QByteArray("7707000000001f26"));
    QCOMPARE(pty->readFor(200).toHex(), QByteArray());

    pty->write(QByteArray::fromHex("770b000000001f123456783e"));
    QTRY_COMPARE(address->text(), QString("12345678"));
    QCOMPARE(text("Edit_Addr"), QString("12345678"));
}

void TestLive::addressNeedsAnOpenPort()
{
    DialogRecorder boxes;
    clickNamed(window, "getAddrButton");
    QTRY_COMPARE(boxes.boxes().size(), 1);
    const RecordedBox box = boxes.boxes().first();
    QCOMPARE(box.title, QString("错误"));
    QCOMPARE(box.text, QString("请先打开串口!"));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Yes));
    QCOMPARE(status(), QString("获取设置地址"));
}

void TestLive::startPollsAndStopEnds()
{
    for (const char *name : labels)
        widget<QLabel>(window, name)->setText("-");
    // Polls carry the working address taken at the start.
    startLive("12345678");
    QCOMPARE(status(), QString("更新实时数据"));
    for (const char *name : lockedWhileLive)
        QVERIFY2(!widget<QWidget>(window, name)->isEnabled(), name);
    for (const char *name : labels)
        QCOMPARE(text(name), QString("0"));

    const QByteArray poll = QByteArray::fromHex("770712345678031e");
    QByteArray sent = pty->readAtLeast(8);
    QCOMPARE(sent.left(8).toHex(), poll.toHex());
    // Ten polls a second; the window below is wide on purpose (loaded machines).
    sent += pty->readFor(1000);
    const QByteArrayList polls = frames(sent.mid(8));
    for (const QByteArray &frame : polls)
        QCOMPARE(frame.toHex(), poll.toHex());
    QVERIFY2(polls.size() >= 4 && polls.size() <= 15, qPrintable(QString::number(polls.size())));

    pty->write(liveA);
    QTRY_COMPARE(text("label_X"), QString("-12.3456"));

    clickNamed(window, "pushButtonStart");
    QCOMPARE(widget<QPushButton>(window, "pushButtonStart")->text(), QString("开始"));
    QCOMPARE(status(), QString("停止更新实际数据"));
    for (const char *name : lockedWhileLive)
        QVERIFY2(widget<QWidget>(window, name)->isEnabled(), name);
    // A poll already on its way may still arrive; after that the line stays quiet.
    pty->readFor(300);
    QCOMPARE(pty->readFor(500).toHex(), QByteArray());
    // The readings stay as last shown.
    QCOMPARE(text("label_X"), QString("-12.3456"));
    QCOMPARE(text("label_B"), QString("87"));
}

void TestLive::startRefusals_data()
{
    QTest::addColumn<bool>("openPort");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("message");

    QTest::newRow("port closed") << false << QString("00000001") << QString("请先打开串口!");
    QTest::newRow("port closed, no address") << false << QString() << QString("请先打开串口!");
    QTest::newRow("no device address") << true << QString() << QString("设备地址未获取到!");
}

void TestLive::startRefusals()
{
    QFETCH(bool, openPort);
    QFETCH(QString, address);
    QFETCH(QString, message);

    if (openPort)
        openPortNamed(window, pty->slaveName());
    widget<QLineEdit>(window, "lineEditAddr")->setText(address);
    DialogRecorder boxes(QMessageBox::Yes);
    clickNamed(window, "pushButtonStart");
    QTRY_COMPARE(boxes.boxes().size(), 1);
    const RecordedBox box = boxes.boxes().first();
    QCOMPARE(box.title, QString("错误"));
    QCOMPARE(box.text, message);
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Yes));

    QCOMPARE(widget<QPushButton>(window, "pushButtonStart")->text(), QString("开始"));
    for (const char *name : lockedWhileLive)
        QVERIFY2(widget<QWidget>(window, name)->isEnabled(), name);
    if (openPort)
        QCOMPARE(pty->readFor(300).toHex(), QByteArray());
    QCOMPARE(boxes.boxes().size(), 1);
}

void TestLive::restartClearsTheReadings()
{
    SimulatedSensor sensor;
    LiveReadings readings;
    readings.angleX = 12.3456;
    readings.angleY = -3.5;
    readings.angleZ = 0.25;
    readings.temperature = 21.5;
    readings.power = 77;
    sensor.setReadings(readings);
    PtyDevice device(&sensor);
    QVERIFY(device.open());
    openPortNamed(window, device.slaveName());
    widget<QLineEdit>(window, "lineEditAddr")->setText("00000001");
    clickNamed(window, "pushButtonStart");
    QTRY_COMPARE(text("label_X"), QString("12.3456"));
    QCOMPARE(text("label_Y"), QString("-3.5000"));
    QCOMPARE(text("label_Z"), QString("0.2500"));
    QCOMPARE(text("label_T"), QString("21.50"));
    QCOMPARE(text("label_B"), QString("77"));

    // A sensor that stops answering: the restart alone must clear the readings.
    SensorFaults silent;
    silent.silent = true;
    sensor.setFaults(silent);
    QTest::qWait(300); // replies already on their way arrive now
    clickNamed(window, "pushButtonStart");
    QCOMPARE(text("label_X"), QString("12.3456"));
    const int before = sensor.receivedCount(0x03);
    clickNamed(window, "pushButtonStart");
    for (const char *name : labels)
        QCOMPARE(text(name), QString("0"));
    QTRY_VERIFY(sensor.receivedCount(0x03) >= before + 3);
    for (const char *name : labels)
        QCOMPARE(text(name), QString("0"));

    sensor.setFaults(SensorFaults());
    QTRY_COMPARE(text("label_X"), QString("12.3456"));
    QCOMPARE(text("label_B"), QString("77"));
}

void TestLive::viewKinds_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("axes");

    QTest::newRow("0 angle") << 0 << QStringList {"-12.3456", "123.4567", "-0.1000"};
    QTest::newRow("1 magnetic field") << 1 << QStringList {"0", "0", "0"};
    QTest::newRow("2 acceleration") << 2 << QStringList {"0.981234", "-1.000000", "0.000001"};
    QTest::newRow("3 angular rate") << 3 << QStringList {"0", "0", "0"};
}

void TestLive::viewKinds()
{
    QFETCH(int, kind);
    QFETCH(QStringList, axes);

    QTemporaryDir records;
    widget<QCheckBox>(window, "checkBox_Save")->setChecked(true);
    widget<QLineEdit>(window, "lineEdit_Save")->setText(records.path());
    startLive("00000001", kind);
    QVERIFY(!widget<QComboBox>(window, "comboBoxGayo")->isEnabled());

    pty->write(liveA);
    QTRY_COMPARE(text("label_T"), QString("25.50"));
    QCOMPARE(text("label_B"), QString("87"));
    QCOMPARE(QStringList({text("label_X"), text("label_Y"), text("label_Z")}), axes);
    // The record line carries what the labels show.
    const QStringList lines = readLines(records.filePath(recordName));
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines.first().mid(25), axes.join("  ") + "  25.50  87");
}

void TestLive::viewKindIsTakenAtStart()
{
    startLive("00000001", 0);
    clickNamed(window, "pushButtonStart");
    // Choosing accelerations after stopping changes nothing until the next start.
    widget<QComboBox>(window, "comboBoxGayo")->setCurrentIndex(2);
    pty->write(liveA);
    QTRY_COMPARE(text("label_T"), QString("25.50"));
    QCOMPARE(text("label_X"), QString("-12.3456"));

    clickNamed(window, "pushButtonStart");
    pty->write(liveB);
    QTRY_COMPARE(text("label_T"), QString("-5.00"));
    QCOMPARE(text("label_X"), QString("1.000000"));
    QCOMPARE(text("label_Y"), QString("0.000000"));
    QCOMPARE(text("label_Z"), QString("-0.500000"));
    QCOMPARE(text("label_B"), QString("100"));
}

void TestLive::shortReplyHasNoTemperatureOrPower()
{
    startLive();
    pty->write(liveA);
    QTRY_COMPARE(text("label_B"), QString("87"));
    pty->write(liveShort);
    QTRY_COMPARE(text("label_X"), QString("1.2340"));
    QCOMPARE(text("label_Y"), QString("2.0000"));
    QCOMPARE(text("label_Z"), QString("-0.3000"));
    QCOMPARE(text("label_T"), QString("0.00"));
    QCOMPARE(text("label_B"), QString("0"));
}

void TestLive::recordFileGetsOneLinePerSample()
{
    QTemporaryDir records;
    const QString path = records.filePath(recordName);
    {
        // The file only grows: what is in it stays.
        QFile earlier(path);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier line\n");
    }
    widget<QCheckBox>(window, "checkBox_Save")->setChecked(true);
    widget<QLineEdit>(window, "lineEdit_Save")->setText(records.path());
    const QDateTime before = QDateTime::currentDateTime();
    startLive();
    for (const QByteArray &reply : {liveA, liveB, liveA}) {
        pty->write(reply);
        QTRY_COMPARE(text("label_B"), QString(reply == liveA ? "87" : "100"));
    }
    const QDateTime after = QDateTime::currentDateTime();

    const QStringList lines = readLines(path);
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines.at(0), QString("earlier line"));
    const QString sampleA = "  -12.3456  123.4567  -0.1000  25.50  87";
    const QString sampleB = "  0.1000  -0.0001  9.0000  -5.00  100";
    const QRegularExpression stamp("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3}$");
    const QStringList expectedTails = {sampleA, sampleB, sampleA};
    for (int i = 0; i < 3; ++i) {
        const QString line = lines.at(i + 1);
        const QString timestamp = line.left(23);
        QVERIFY2(stamp.match(timestamp).hasMatch(), qPrintable(line));
        QCOMPARE(line.mid(23), expectedTails.at(i));
        const QDateTime when = QDateTime::fromString(timestamp, "yyyy-MM-dd hh:mm:ss.zzz");
        QVERIFY2(when >= before.addSecs(-1) && when <= after.addSecs(1), qPrintable(line));
    }
}

void TestLive::recordingSkipped_data()
{
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<bool>("emptyFolder");

    QTest::newRow("recording off") << false << false;
    QTest::newRow("no folder given") << true << true;
}

void TestLive::recordingSkipped()
{
    QFETCH(bool, ticked);
    QFETCH(bool, emptyFolder);

    QTemporaryDir records;
    // A relative path would land in the working directory: watch an empty one.
    QTemporaryDir workDir;
    struct RestoreDir
    {
        QString path;
        ~RestoreDir() { QDir::setCurrent(path); }
    } restore {QDir::currentPath()};
    QDir::setCurrent(workDir.path());
    widget<QCheckBox>(window, "checkBox_Save")->setChecked(ticked);
    widget<QLineEdit>(window, "lineEdit_Save")->setText(emptyFolder ? QString() : records.path());
    DialogRecorder boxes;
    startLive();
    for (const QByteArray &reply : {liveA, liveB}) {
        pty->write(reply);
        QTRY_COMPARE(text("label_B"), QString(reply == liveA ? "87" : "100"));
    }

    QVERIFY(QDir(records.path()).entryList(QDir::Files).isEmpty());
    QVERIFY(QDir(workDir.path()).entryList(QDir::Files).isEmpty());
    QVERIFY(!QFile::exists("/" + recordName));
    QCOMPARE(status(), QString("更新实时数据"));
    QVERIFY(boxes.boxes().isEmpty());
}

void TestLive::unwritableRecordFolderIsReportedOnce()
{
    QTemporaryDir records;
    const QString folder = records.filePath("missing");
    widget<QCheckBox>(window, "checkBox_Save")->setChecked(true);
    widget<QLineEdit>(window, "lineEdit_Save")->setText(folder);
    DialogRecorder boxes;
    startLive();
    pty->write(liveA);
    QTRY_COMPARE(status(), "无法写入记录文件：" + folder + "/" + recordName);
    QCOMPARE(text("label_X"), QString("-12.3456"));

    // Another message replaces it; later failures must not bring the record error back.
    pty->write(QByteArray::fromHex("7707000000016971"));
    QTRY_COMPARE(status(), QString("设置成功！"));
    for (const QByteArray &reply : {liveB, liveA, liveB}) {
        pty->write(reply);
        QTRY_COMPARE(text("label_B"), QString(reply == liveA ? "87" : "100"));
    }
    QCOMPARE(status(), QString("设置成功！"));

    // Measuring went on all the time.
    QCOMPARE(widget<QPushButton>(window, "pushButtonStart")->text(), QString("停止"));
    pty->readAvailable();
    QVERIFY(frames(pty->readAtLeast(16)).contains(pollTo00000001));
    QVERIFY(boxes.boxes().isEmpty());

    // Once the folder exists, samples are recorded again.
    QVERIFY(QDir().mkpath(folder));
    pty->write(liveA);
    QTRY_COMPARE(readLines(folder + "/" + recordName).size(), 1);
    QVERIFY(readLines(folder + "/" + recordName).first().endsWith("  25.50  87"));
}

QTEST_MAIN(TestLive)
#include "tst_live.moc"
