// Reception and dispatch of sensor replies: the test plays the sensor in chunks on a
// pseudo-terminal and watches which widgets the replies reach.
#include "e2ewindow.h"

namespace {

// The widgets the replies below write to, emptied before each test.
const QStringList emptyWidgets = {"Edit_Sleep=",  "lineEdit_y=", "lineEdit_m=",
                                  "lineEdit_d=",  "lineEdit_h=", "lineEdit_mm=",
                                  "lineEdit_s=",  "Combo_Zero=-1"};
const QStringList date250301 = {"lineEdit_y=25", "lineEdit_m=03",  "lineEdit_d=01",
                                "lineEdit_h=12", "lineEdit_mm=34", "lineEdit_s=56"};
const QStringList liveBShown = {"label_X=0.1000", "label_Y=-0.0001", "label_Z=9.0000",
                                "label_T=-5.00", "label_B=100"};

} // namespace

class TestDispatch : public QObject, public E2eWindow
{
    Q_OBJECT

private slots:
    void initTestCase() { startApp(); }
    void init();
    void cleanup() { closeWindow(); }
    void repliesReachTheirWidgets_data();
    void repliesReachTheirWidgets();
    void rejectedChunkLeavesNothingBehind_data();
    void rejectedChunkLeavesNothingBehind();
};

void TestDispatch::init()
{
    openWindow();
    openPort();
    fill(emptyWidgets);
    window->statusBar()->showMessage("ready");
}

void TestDispatch::repliesReachTheirWidgets_data()
{
    QTest::addColumn<QByteArrayList>("chunks");
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<QString>("expectedStatus");

    QTest::newRow("sleep reply in two chunks 100 ms apart")
        << QByteArrayList {QByteArray::fromHex("7709000000015701"), QByteArray::fromHex("2082")}
        << QStringList {"Edit_Sleep=120"} << "查询成功！";
    QTest::newRow("date with a wrong checksum is still shown")
        << QByteArrayList {QByteArray::fromHex("770d000000016625030112345600")} << date250301
        << "查询成功！";
    QTest::newRow("zero mode FF is relative")
        << QByteArrayList {QByteArray::fromHex("7708000000018dff95")}
        << QStringList {"Combo_Zero=1"} << "查询成功！";
    QTest::newRow("sleep and date replies in one chunk")
        << QByteArrayList {QByteArray::fromHex("77090000000157003091"
                                               "770d000000016625030112345639")}
        << QStringList {"Edit_Sleep=30"} + date250301 << "查询成功！";
    QTest::newRow("live reply with the first bytes of the next")
        << QByteArrayList {liveA + liveB.left(10), liveB.mid(10)} << liveBShown << "ready";
}

void TestDispatch::repliesReachTheirWidgets()
{
    QFETCH(QByteArrayList, chunks);
    QFETCH(QStringList, changes);
    QFETCH(QString, expectedStatus);

    for (const QByteArray &chunk : chunks) {
        pty->write(chunk);
        QTest::qWait(100);
    }
    QTRY_COMPARE(shown(changes), changes);
    QCOMPARE(status(), expectedStatus);
}

void TestDispatch::rejectedChunkLeavesNothingBehind_data()
{
    QTest::addColumn<QByteArray>("chunk");
    QTest::addColumn<int>("waitMs");

    QTest::newRow("stray byte before an acknowledgement")
        << QByteArray::fromHex("007707000000016971") << 300;
    QTest::newRow("sleep reply with a wrong checksum")
        << QByteArray::fromHex("77090000000157003092") << 300;
    // Kept, the 0x77 would make the ack below read as a frame of 0x77 + 1 bytes.
    QTest::newRow("lone header, dropped 500 ms later") << QByteArray::fromHex("77") << 1500;
}

void TestDispatch::rejectedChunkLeavesNothingBehind()
{
    QFETCH(QByteArray, chunk);
    QFETCH(int, waitMs);

    pty->write(chunk);
    QTest::qWait(waitMs);
    QCOMPARE(status(), QString("ready"));
    QCOMPARE(shown(emptyWidgets), emptyWidgets);
    // Only an emptied buffer lets this ack through.
    pty->write(uploadModeAck);
    QTRY_COMPARE(status(), QString("设置成功！"));
}

QTEST_MAIN(TestDispatch)
#include "tst_dispatch.moc"
