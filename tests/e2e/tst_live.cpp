// Reading the device address, polling live readings and the record file, through a
// pseudo-terminal on which the test plays the device.
#include "e2ewindow.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFile>

namespace {

const char *const lockedWhileLive[] = {"pushButtonRead", "pushButtonDelete", "iapDownLoadButton",
                                       "comboBoxGayo"};
const QString recordName = QStringLiteral("Orvex_Record.txt");

QStringList readLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

} // namespace

class TestLive : public QObject, public E2eWindow
{
    Q_OBJECT

private slots:
    void initTestCase() { startApp(); }
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }
    void addressIsAskedForAndShown();
    void startPollsStopEndsAndRestartClears();
    void viewKinds_data();
    void viewKinds();
    void recordFile_data();
    void recordFile();
    void unwritableRecordFolderIsReportedOnce();

private:
    QStringList readings() const
    {
        return {text("label_X"), text("label_Y"), text("label_Z"), text("label_T"),
                text("label_B")};
    }
    void startLive(int kind = 0)
    {
        openPort();
        widget<QComboBox>(window, "comboBoxGayo")->setCurrentIndex(kind);
        clickNamed(window, "pushButtonStart");
        QCOMPARE(widget<QPushButton>(window, "pushButtonStart")->text(), QString("停止"));
    }
    // Plays a live reply and waits until its power reading is shown.
    void play(const QByteArray &reply)
    {
        pty->write(reply);
        QTRY_COMPARE(text("label_B"), QString(reply == liveA ? "87" : "100"));
    }
};

void TestLive::addressIsAskedForAndShown()
{
    openPort("abcdef01");
    clickNamed(window, "getAddrButton");
    QCOMPARE(status(), QString("获取设置地址"));
    QCOMPARE(text("lineEditAddr"), QString());
    // The query goes to address 0 whatever the working address was, and goes once.
    QCOMPARE(pty->readAtLeast(8).toHex(), QByteArray("7707000000001f26"));
    QCOMPARE(pty->readFor(200).toHex(), QByteArray());

    pty->write(QByteArray::fromHex("770b000000001f123456783e"));
    QTRY_COMPARE(text("lineEditAddr"), QString("12345678"));
    QCOMPARE(text("Edit_Addr"), QString("12345678"));
}

void TestLive::startPollsStopEndsAndRestartClears()
{
    // Polls carry the working address taken at the start.
    openPort("12345678");
    clickNamed(window, "pushButtonStart");
    QCOMPARE(status(), QString("更新实时数据"));
    for (const char *name : lockedWhileLive)
        QVERIFY2(!widget<QWidget>(window, name)->isEnabled(), name);
    const QByteArray poll = QByteArray::fromHex("770712345678031e");
    QCOMPARE(pty->readAtLeast(8).toHex(), poll.toHex());
    // Ten polls a second; the bounds are wide on purpose (loaded machines).
    const QByteArray sent = pty->readFor(1000);
    QCOMPARE(sent.toHex(), poll.repeated(sent.size() / 8).toHex());
    QVERIFY2(sent.size() >= 4 * 8 && sent.size() <= 15 * 8, qPrintable(sent.toHex()));
    play(liveA);

    clickNamed(window, "pushButtonStart");
    QCOMPARE(widget<QPushButton>(window, "pushButtonStart")->text(), QString("开始"));
    QCOMPARE(status(), QString("停止更新实际数据"));
    for (const char *name : lockedWhileLive)
        QVERIFY2(widget<QWidget>(window, name)->isEnabled(), name);
    // A poll already on its way may still arrive; after that the line stays quiet.
    pty->readFor(300);
    QCOMPARE(pty->readFor(500).toHex(), QByteArray());
    QCOMPARE(readings(), QStringList({"-12.3456", "123.4567", "-0.1000", "25.50", "87"}));

    // A new start clears the readings before any reply.
    clickNamed(window, "pushButtonStart");
    QCOMPARE(readings(), QStringList({"0", "0", "0", "0", "0"}));
    QCOMPARE(pty->readAtLeast(8).left(8).toHex(), poll.toHex());
}

void TestLive::viewKinds_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("0 angle") << 0 << liveA
                             << QStringList {"-12.3456", "123.4567", "-0.1000", "25.50", "87"};
    QTest::newRow("1 magnetic field") << 1 << liveA << QStringList {"0", "0", "0", "25.50", "87"};
    QTest::newRow("2 acceleration")
        << 2 << liveA << QStringList {"0.981234", "-1.000000", "0.000001", "25.50", "87"};
    QTest::newRow("3 angular rate") << 3 << liveA << QStringList {"0", "0", "0", "25.50", "87"};
    // 31 bytes: the three angles and nothing past offset 29.
    QTest::newRow("0 angle, short reply")
        << 0
        << QByteArray::fromHex("771e0000000183000123400002000010003000005000000060000000700068")
        << QStringList {"1.2340", "2.0000", "-0.3000", "0.00", "0"};
}

void TestLive::viewKinds()
{
    QFETCH(int, kind);
    QFETCH(QByteArray, reply);
    QFETCH(QStringList, shown);

    startLive(kind);
    pty->write(reply);
    QTRY_COMPARE(readings(), shown);
}

void TestLive::recordFile_data()
{
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<bool>("folderGiven");
    QTest::addColumn<QStringList>("lines");

    // The file only grows: what is in it stays.
    QTest::newRow("one line per sample")
        << true << true
        << QStringList {"earlier line", "<now>  -12.3456  123.4567  -0.1000  25.50  87",
                        "<now>  0.1000  -0.0001  9.0000  -5.00  100"};
    QTest::newRow("recording off") << false << true << QStringList {"earlier line"};
    QTest::newRow("no folder given") << true << false << QStringList {"earlier line"};
}

void TestLive::recordFile()
{
    QFETCH(bool, ticked);
    QFETCH(bool, folderGiven);
    QFETCH(QStringList, lines);

    QTemporaryDir records;
    QFile earlier(records.filePath(recordName));
    QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("earlier line\n") == 13);
    earlier.close();
    // A relative path would land in the working directory: watch an empty one.
    QTemporaryDir workDir;
    struct RestoreDir
    {
        QString path;
        ~RestoreDir() { QDir::setCurrent(path); }
    } restore {QDir::currentPath()};
    QDir::setCurrent(workDir.path());
    widget<QCheckBox>(window, "checkBox_Save")->setChecked(ticked);
    widget<QLineEdit>(window, "lineEdit_Save")->setText(folderGiven ? records.path() : QString());
    DialogRecorder boxes;
    startLive();
    play(liveA);
    play(liveB);

    QStringList written = readLines(records.filePath(recordName));
    for (QString &line : written) {
        const QDateTime when = QDateTime::fromString(line.left(23), "yyyy-MM-dd hh:mm:ss.zzz");
        if (when.isValid() && qAbs(when.secsTo(QDateTime::currentDateTime())) < 60)
            line.replace(0, 23, "<now>");
    }
    QCOMPARE(written, lines);
    QCOMPARE(QDir(workDir.path()).entryList(QDir::Files), QStringList());
    QVERIFY(!QFile::exists("/" + recordName));
    QCOMPARE(status(), QString("更新实时数据"));
    QCOMPARE(boxTexts(boxes), QStringList());
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
    pty->write(uploadModeAck);
    QTRY_COMPARE(status(), QString("设置成功！"));
    play(liveB);
    play(liveA);
    QCOMPARE(status(), QString("设置成功！"));
    QCOMPARE(boxTexts(boxes), QStringList());
    // Measuring went on all the time.
    pty->readAvailable();
    QVERIFY(pty->readAtLeast(16).contains(pollTo00000001));

    // Once the folder exists, samples are recorded again.
    QVERIFY(QDir().mkpath(folder));
    play(liveB);
    QTRY_COMPARE(readLines(folder + "/" + recordName).size(), 1);
    QVERIFY(readLines(folder + "/" + recordName).first().endsWith("  -5.00  100"));
}

QTEST_MAIN(TestLive)
#include "tst_live.moc"
