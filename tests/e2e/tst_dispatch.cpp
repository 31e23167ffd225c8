// Reception and dispatch of sensor replies: the test plays the sensor byte by byte on a
// pseudo-terminal and watches what the window shows.
#include "app/mainwindow.h"
#include "dialogrecorder.h"
#include "pseudoterminal.h"
#include "windowfixture.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Every widget a reply may write to. Each starts from a marker text of its own, so a test sees
// both what changed and that nothing else did.
const char *const lineEdits[] = {"lineEditAddr", "Edit_Addr", "Edit_Sleep", "lineEdit_y",
                                 "lineEdit_m", "lineEdit_d", "lineEdit_h", "lineEdit_mm",
                                 "lineEdit_s"};
const char *const labels[] = {"label_X", "label_Y", "label_Z", "label_T", "label_B"};

const QString readyText = QStringLiteral("ready");
const QByteArray marker = QByteArray::fromHex("7707000000016971"); // upload-mode acknowledgement

// Live reply A: angles -12.3456, 123.4567, -0.1000; accelerations 0.981234, -1, 0.000001;
// 25.50 degrees; power 87.
const QByteArray liveA = QByteArray::fromHex(
    "772300000001831012345601234567f000100000981234110000000000000100255057df");
// Live reply B: angles 0.1000, -0.0001, 9.0000; accelerations 1, 0, -0.5; -5.00 degrees;
// power 100.
const QByteArray liveB = QByteArray::fromHex(
    "7723000000018300001000100000010009000001000000000000001050000010050064ab");

const QStringList liveAShown = {"label_X=-12.3456", "label_Y=123.4567", "label_Z=-0.1000",
                                "label_T=25.50", "label_B=87"};
const QStringList liveBShown = {"label_X=0.1000", "label_Y=-0.0001", "label_Z=9.0000",
                                "label_T=-5.00", "label_B=100"};

QByteArrayList bytewise(const QByteArray &bytes)
{
    QByteArrayList chunks;
    for (char byte : bytes)
        chunks.append(QByteArray(1, byte));
    return chunks;
}

} // namespace

class TestDispatch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void repliesUpdateTheWindow_data();
    void repliesUpdateTheWindow();
    void rejectedRepliesChangeNothing_data();
    void rejectedRepliesChangeNothing();
    void loneHeaderIsDroppedAfterSilence();
    void strayChunkIsDroppedWhole_data();
    void strayChunkIsDroppedWhole();
    void liveReplyFollowedByStartOfNext();

private:
    void presetWidgets();
    QStringList snapshot() const;
    QStringList expectedAfter(const QStringList &changes) const;
    QString status() const { return window->statusBar()->currentMessage(); }
    void writeChunks(const QByteArrayList &chunks, int gapMs);

    QTemporaryDir settingsDir;
    MainWindow *window = nullptr;
    PseudoTerminal *pty = nullptr;
    QStringList preset;
};

void TestDispatch::initTestCase()
{
    useTemporarySettings(settingsDir.path());
    startLikeMain(*qApp);
}

void TestDispatch::init()
{
    pty = new PseudoTerminal;
    QVERIFY(pty->isValid());
    window = new MainWindow;
    window->show();
    openPortNamed(window, pty->slaveName());
    QCOMPARE(widget<QPushButton>(window, "openPortButton")->text(), QString("关闭"));
    presetWidgets();
}

void TestDispatch::cleanup()
{
    delete window;
    window = nullptr;
    delete pty;
    pty = nullptr;
}

void TestDispatch::presetWidgets()
{
    for (const char *name : lineEdits)
        widget<QLineEdit>(window, name)->setText(QString::fromLatin1(name) + "?");
    for (const char *name : labels)
        widget<QLabel>(window, name)->setText(QString::fromLatin1(name) + "?");
    widget<QComboBox>(window, "Combo_Zero")->setCurrentIndex(-1);
    window->statusBar()->showMessage(readyText);
    preset = snapshot();
}

QStringList TestDispatch::snapshot() const
{
    QStringList state;
    for (const char *name : lineEdits)
        state << QString::fromLatin1(name) + "=" + widget<QLineEdit>(window, name)->text();
    for (const char *name : labels)
        state << QString::fromLatin1(name) + "=" + widget<QLabel>(window, name)->text();
    state << "Combo_Zero="
                 + QString::number(widget<QComboBox>(window, "Combo_Zero")->currentIndex());
    state << "baudComboBox=" + widget<QComboBox>(window, "baudComboBox")->currentText();
    return state;
}

QStringList TestDispatch::expectedAfter(const QStringList &changes) const
{
    QStringList state = preset;
    for (const QString &change : changes) {
        const QString name = change.section('=', 0, 0) + "=";
        bool found = false;
        for (QString &entry : state) {
            if (entry.startsWith(name)) {
                entry = change;
                found = true;
            }
        }
        if (!found)
            state << change; // a misspelt name can then never compare equal
    }
    return state;
}

void TestDispatch::writeChunks(const QByteArrayList &chunks, int gapMs)
{
    for (int i = 0; i < chunks.size(); ++i) {
        if (i > 0)
            QTest::qWait(gapMs);
        pty->write(chunks.at(i));
    }
}

void TestDispatch::repliesUpdateTheWindow_data()
{
    QTest::addColumn<QByteArrayList>("chunks");
    QTest::addColumn<int>("gapMs");
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<QString>("expectedStatus");

    const QString set = QStringLiteral("设置成功！");
    const QString queried = QStringLiteral("查询成功！");
    auto one = [](const char *hex) { return QByteArrayList {QByteArray::fromHex(hex)}; };

    // Set acknowledgements: no widget changes, only the status line.
    QTest::newRow("ack upload mode 69") << one("7707000000016971") << 0 << QStringList() << set;
    QTest::newRow("ack zero mode 85") << one("770700000001858d") << 0 << QStringList() << set;
    QTest::newRow("ack save 8A") << one("7707000000018a92") << 0 << QStringList() << set;
    QTest::newRow("ack timing 8C") << one("7707000000018c94") << 0 << QStringList() << set;
    QTest::newRow("ack factory 8E") << one("7707000000018e96") << 0 << QStringList() << set;
    QTest::newRow("ack threshold 42") << one("770700000001424a") << 0 << QStringList() << set;
    QTest::newRow("ack date 65") << one("770700000001656d") << 0 << QStringList() << set;
    QTest::newRow("ack installation 6A") << one("7707000000016a72") << 0 << QStringList()
                                         << set;
    QTest::newRow("ack alarm 6B") << one("7707000000016b73") << 0 << QStringList() << set;
    QTest::newRow("ack sleep 56") << one("770700000001565e") << 0 << QStringList() << set;
    QTest::newRow("ack motion 53") << one("770700000001535b") << 0 << QStringList() << set;
    // Some sensors sum these replies as if their code were 0x10 lower.
    QTest::newRow("ack sleep 56 summed as 46")
        << one("770700000001564e") << 0 << QStringList() << set;
    QTest::newRow("ack motion 53 summed as 43")
        << one("770700000001534b") << 0 << QStringList() << set;
    QTest::newRow("set address 8F makes the typed address the working one")
        << one("7707000000018f97") << 0 << QStringList {"lineEditAddr=Edit_Addr?"} << set;
    // Combo_Baud is at its first item, 9600, the third of the port list.
    QTest::newRow("baud 8B moves the port list")
        << one("7707000000018b93") << 0 << QStringList {"baudComboBox=9600"} << set;

    QTest::newRow("address 12345678")
        << one("770b000000001f123456783e") << 0
        << QStringList {"lineEditAddr=12345678", "Edit_Addr=12345678"} << readyText;
    QTest::newRow("address in lower case")
        << one("770b000000001f0000000a34") << 0
        << QStringList {"lineEditAddr=0000000a", "Edit_Addr=0000000a"} << readyText;
    QTest::newRow("address reply from any address")
        << one("770babcdef011f0000000193") << 0
        << QStringList {"lineEditAddr=00000001", "Edit_Addr=00000001"} << readyText;

    QTest::newRow("sleep 0030") << one("77090000000157003091") << 0
                                << QStringList {"Edit_Sleep=30"} << queried;
    QTest::newRow("sleep 0120") << one("77090000000157012082") << 0
                                << QStringList {"Edit_Sleep=120"} << queried;
    QTest::newRow("sleep 0000") << one("77090000000157000061") << 0
                                << QStringList {"Edit_Sleep=0"} << queried;
    QTest::newRow("sleep summed as 47") << one("77090000000157012072") << 0
                                        << QStringList {"Edit_Sleep=120"} << queried;

    const QStringList date250301 = {"lineEdit_y=25", "lineEdit_m=03", "lineEdit_d=01",
                                    "lineEdit_h=12", "lineEdit_mm=34", "lineEdit_s=56"};
    QTest::newRow("date") << one("770d000000016625030112345639") << 0 << date250301 << queried;
    QTest::newRow("date with a wrong checksum is still shown")
        << one("770d000000016625030112345600") << 0 << date250301 << queried;
    QTest::newRow("date 991231 235958")
        << one("770d000000016699123123595824") << 0
        << QStringList {"lineEdit_y=99", "lineEdit_m=12", "lineEdit_d=31", "lineEdit_h=23",
                        "lineEdit_mm=59", "lineEdit_s=58"}
        << queried;

    QTest::newRow("zero mode FF is relative") << one("7708000000018dff95") << 0
                                              << QStringList {"Combo_Zero=1"} << queried;
    QTest::newRow("zero mode 00") << one("7708000000018d0096") << 0
                                  << QStringList {"Combo_Zero=0"} << queried;
    QTest::newRow("zero mode 01") << one("7708000000018d0197") << 0
                                  << QStringList {"Combo_Zero=1"} << queried;

    // Live data is shown whether or not measurement runs; the view is angles until a start.
    QTest::newRow("live data") << QByteArrayList {liveA} << 0 << liveAShown << readyText;

    // Chunking: a reply may arrive in pieces; each piece restarts the 500 ms discard timer.
    QTest::newRow("ack in two chunks 100 ms apart")
        << QByteArrayList {QByteArray::fromHex("77070000"), QByteArray::fromHex("00016971")}
        << 100 << QStringList() << set;
    QTest::newRow("ack byte by byte, 700 ms in all")
        << bytewise(QByteArray::fromHex("7707000000016971")) << 100 << QStringList() << set;
    QTest::newRow("live data in three chunks")
        << QByteArrayList {liveA.left(7), liveA.mid(7, 15), liveA.mid(22)} << 100 << liveAShown
        << readyText;
    QTest::newRow("address reply, header alone first")
        << QByteArrayList {QByteArray::fromHex("77"),
                           QByteArray::fromHex("0b000000001f123456783e")}
        << 100
        << QStringList {"lineEditAddr=12345678", "Edit_Addr=12345678"} << readyText;

    // Several replies in one chunk are all handled.
    QTest::newRow("sleep and date replies in one chunk")
        << one("77090000000157003091770d000000016625030112345639") << 0
        << (QStringList {"Edit_Sleep=30"} + date250301) << queried;
    QTest::newRow("date reply and acknowledgement in one chunk")
        << one("770d0000000166250301123456397707000000016971") << 0 << date250301 << set;
    QTest::newRow("two live replies in one chunk, the last one shown")
        << QByteArrayList {liveA + liveB} << 0 << liveBShown << readyText;
}

void TestDispatch::repliesUpdateTheWindow()
{
    QFETCH(QByteArrayList, chunks);
    QFETCH(int, gapMs);
    QFETCH(QStringList, changes);
    QFETCH(QString, expectedStatus);

    DialogRecorder boxes;
    writeChunks(chunks, gapMs);
    const QStringList expected = expectedAfter(changes);
    QTRY_COMPARE(snapshot(), expected);
    QTRY_COMPARE(status(), expectedStatus);
    QVERIFY(boxes.boxes().isEmpty());
}

void TestDispatch::rejectedRepliesChangeNothing_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("ack with a wrong checksum") << QByteArray::fromHex("7707000000016970");
    QTest::newRow("request code 05 is no reply") << QByteArray::fromHex("770700000001050d");
    QTest::newRow("answer to the factory follow-up") << QByteArray::fromHex("7707000000016870");
    QTest::newRow("unknown code") << QByteArray::fromHex("77070000000199a1");
    QTest::newRow("set address ack with a wrong checksum")
        << QByteArray::fromHex("7707000000018f98");
    QTest::newRow("baud ack with a wrong checksum") << QByteArray::fromHex("7707000000018b92");
    QTest::newRow("address with a wrong checksum")
        << QByteArray::fromHex("770b000000001f123456783f");
    QTest::newRow("sleep with a checksum of neither code")
        << QByteArray::fromHex("77090000000157003092");
    QTest::newRow("sleep ack with a checksum of neither code")
        << QByteArray::fromHex("770700000001565f");
    QTest::newRow("zero mode with a wrong checksum") << QByteArray::fromHex("7708000000018dff96");
    QTest::newRow("date query echoed without data") << QByteArray::fromHex("770700000001666e");
    QByteArray badLive = liveA;
    badLive[badLive.size() - 1] = char(0xde);
    QTest::newRow("live data with a wrong checksum") << badLive;
}

void TestDispatch::rejectedRepliesChangeNothing()
{
    QFETCH(QByteArray, bytes);

    DialogRecorder boxes;
    pty->write(bytes);
    QTest::qWait(300);
    QCOMPARE(snapshot(), preset);
    QCOMPARE(status(), readyText);
    // The next reply is understood at once: the rejected one left nothing behind.
    pty->write(marker);
    QTRY_COMPARE(status(), QString("设置成功！"));
    QCOMPARE(snapshot(), preset);
    QVERIFY(boxes.boxes().isEmpty());
}

void TestDispatch::loneHeaderIsDroppedAfterSilence()
{
    DialogRecorder boxes;
    pty->write(QByteArray::fromHex("77"));
    // Well past the 500 ms after which an unfinished reply is given up.
    QTest::qWait(1500);
    QCOMPARE(status(), readyText);
    QCOMPARE(snapshot(), preset);
    QVERIFY(boxes.boxes().isEmpty());
    // Had the 0x77 stayed, this ack would read as a frame of 0x77 + 1 bytes and wait for more.
    pty->write(marker);
    QTRY_COMPARE(status(), QString("设置成功！"));
}

void TestDispatch::strayChunkIsDroppedWhole_data()
{
    QTest::addColumn<QByteArray>("chunk");

    QTest::newRow("lone zero") << QByteArray::fromHex("00");
    QTest::newRow("zero before a whole ack") << QByteArray::fromHex("007707000000016971");
    QTest::newRow("eight bytes of noise") << QByteArray::fromHex("123456789abcdef0");
    QTest::newRow("header with a length below seven") << QByteArray::fromHex("7703000000016971");
}

void TestDispatch::strayChunkIsDroppedWhole()
{
    QFETCH(QByteArray, chunk);

    DialogRecorder boxes;
    pty->write(chunk);
    QTest::qWait(300);
    QCOMPARE(status(), readyText);
    QCOMPARE(snapshot(), preset);
    // Well within the 500 ms discard time: only an emptied buffer lets this ack through.
    pty->write(marker);
    QTRY_COMPARE(status(), QString("设置成功！"));
    QVERIFY(boxes.boxes().isEmpty());
}

void TestDispatch::liveReplyFollowedByStartOfNext()
{
    pty->write(liveA + liveB.left(10));
    QTRY_COMPARE(snapshot(), expectedAfter(liveAShown));
    QTest::qWait(100);
    pty->write(liveB.mid(10));
    QTRY_COMPARE(snapshot(), expectedAfter(liveBShown));
}

QTEST_MAIN(TestDispatch)
#include "tst_dispatch.moc"
