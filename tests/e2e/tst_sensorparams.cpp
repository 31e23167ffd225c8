// The sensor parameter buttons end to end: the frame each puts on the line, the refusals (the
// live data buttons' too), the pause of live polling, the one-key set, factory defaults and the
// acknowledgements that change the port or the working address.
#include "e2ewindow.h"
#include "sim/ptydevice.h"
#include "sim/simulatedsensor.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QTextBlock>
#include <QTextBrowser>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

struct ParameterSlot
{
    const char *button;
    QStringList inputs;
    const char *frame;
    const char *status;
};
const char *const set = "设置参数";
const char *const query = "查询参数";
// Every parameter button but factory defaults, with what it is given and the frame it sends.
// The first nine are the one-key set's, in its order.
const ParameterSlot parameterSlots[] = {
    {"Dev_Button_Send", {"Combo_Send=1"}, "770800000001690173", set},
    {"Dev_Button_Zero", {"Combo_Zero=1"}, "77080000000105010f", set},
    {"Dev_Button_Auto", {"Edit_Auto=10", "Edit_Keep=30"}, "770b000000010c0010003058", set},
    {"Dev_Button_Sleep", {"Edit_Sleep=30"}, "77090000000156003090", set},
    {"pushButtonAlarm", {"Edit_Alarm=12.349"}, "7709000000016b1234bb", set},
    {"Dev_Button_Sport", {"Edit_Sport=0.4"}, "770800000001530561", set},
    {"Dev_Button_Yu", {"Edit_Yu=200"}, "7709000000014202004e", set},
    {"Dev_Button_Instal", {"Combo_Instal=1"}, "7708000000016a0174", set},
    {"Dev_Button_Date",
     {"lineEdit_y=2025", "lineEdit_m=03", "lineEdit_d=01", "lineEdit_h=12", "lineEdit_mm=34",
      "lineEdit_s=56"},
     "770d000000016525030112345638", set},
    {"Dev_Button_Addr", {"Edit_Addr=1A2B3C4D"}, "770b000000010f1a2b3c4de9", set},
    {"Dev_Button_Baud", {"Combo_Baud=3"}, "7708000000010b0519", set},
    {"Dev_Button_ZeroF", {}, "7707000000010d15", query},
    {"Dev_Button_SleepF", {}, "770700000001575f", query},
    {"Dev_Button_DateF", {}, "770700000001666e", query},
    {"Dev_Button_Save", {}, "7707000000010a12", set},
};

QByteArrayList framesExceptPolls(const QList<QByteArray> &frames)
{
    QByteArrayList list;
    for (const QByteArray &frame : frames)
        if (quint8(frame.at(6)) != 0x03)
            list.append(frame);
    return list;
}

// Output speed of a pseudo-terminal, as the port left it.
speed_t lineSpeed(const QString &path)
{
    termios tio {};
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    const bool read = fd >= 0 && tcgetattr(fd, &tio) == 0;
    ::close(fd);
    return read ? cfgetospeed(&tio) : speed_t(-1);
}

// Every frame the window sends and when, taken from the echo in the terminal tab (written just
// before the bytes go to the port).
class SendLog : public QObject
{
public:
    explicit SendLog(QWidget *window)
        : log(widget<QTextBrowser>(window, "text_Serial"))
    {
        widget<QCheckBox>(window, "checkBox_active")->setChecked(true);
        widget<QCheckBox>(window, "checkBox_hexshow")->setChecked(true);
        clock.start();
        connect(log, &QTextBrowser::textChanged, this, [this] {
            const QTextBlock last = log->document()->lastBlock();
            const int at = last.text().indexOf(QStringLiteral("send\u2192 "));
            if (last.blockNumber() == seenBlock || at < 0)
                return;
            seenBlock = last.blockNumber();
            ms.append(clock.elapsed());
            frames.append(QByteArray::fromHex(last.text().mid(at + 6).toLatin1()));
        });
    }

    QList<qint64> ms;
    QByteArrayList frames;

private:
    QTextBrowser *log;
    QElapsedTimer clock;
    int seenBlock = -1;
};

} // namespace

class TestSensorParams : public QObject, public E2eWindow
{
    Q_OBJECT

private slots:
    void initTestCase() { startApp(); }
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }
    void buttonSendsItsFrame_data();
    void buttonSendsItsFrame();
    void refusals_data();
    void refusals();
    void livePollingPausesAroundCommand_data();
    void livePollingPausesAroundCommand();
    void oneKeySet_data();
    void oneKeySet();
    void oneKeyCountRestartsAfterTenThousand_data();
    void oneKeyCountRestartsAfterTenThousand();
    void factoryDefaultsAnsweredNo();
    void baudAckSwitchesThePort();
    void livePollingFollowsNewAddress();
};

void TestSensorParams::buttonSendsItsFrame_data()
{
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QString>("expectedStatus");
    for (const ParameterSlot &slot : parameterSlots)
        QTest::newRow(slot.button) << slot.inputs << QByteArray::fromHex(slot.frame) << slot.status;
}

void TestSensorParams::buttonSendsItsFrame()
{
    QFETCH(QStringList, inputs);
    QFETCH(QByteArray, frame);
    QFETCH(QString, expectedStatus);

    openPort();
    fill(inputs);
    DialogRecorder boxes;
    QVERIFY(clickNamed(window, QTest::currentDataTag()));
    QCOMPARE(status(), expectedStatus);
    QCOMPARE(pty->readAtLeast(frame.size()).toHex(), frame.toHex());
    QCOMPARE(pty->readFor(100).toHex(), QByteArray());
    QCOMPARE(boxTexts(boxes), QStringList());
}

void TestSensorParams::refusals_data()
{
    QTest::addColumn<bool>("portOpen");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("expectedStatus");

    // The port check comes first: the address is empty in every row.
    QTest::newRow("port closed, set sleep") << false << "Dev_Button_Sleep" << "设置参数";
    QTest::newRow("port closed, one-key set") << false << "pushButton_ssetting" << "一键设置参数";
    QTest::newRow("port closed, read address") << false << "getAddrButton" << "获取设置地址";
    QTest::newRow("port closed, start live data") << false << "pushButtonStart" << "ready";
    QTest::newRow("no address, query date") << true << "Dev_Button_DateF" << "查询参数";
    QTest::newRow("no address, factory defaults") << true << "Dev_Button_Default" << "设置参数";
    QTest::newRow("no address, start live data") << true << "pushButtonStart" << "ready";
}

void TestSensorParams::refusals()
{
    QFETCH(bool, portOpen);
    QFETCH(QString, button);
    QFETCH(QString, expectedStatus);

    if (portOpen)
        openPort(QString());
    window->statusBar()->showMessage("ready");
    SendLog sent(window);
    DialogRecorder boxes;
    QVERIFY(clickNamed(window, qPrintable(button)));
    QCOMPARE(boxTexts(boxes), QStringList {portOpen ? "错误|设备地址未获取到!|3|4000"
                                                    : "错误|请先打开串口!|3|4000"});
    QCOMPARE(status(), expectedStatus);
    QCOMPARE(pty->readFor(200).toHex(), QByteArray());
    QCOMPARE(sent.frames, QByteArrayList());
    QVERIFY(widget<QPushButton>(window, qPrintable(button))->isEnabled());
    QCOMPARE(widget<QPushButton>(window, "pushButtonStart")->text(), QString("开始"));
}

void TestSensorParams::livePollingPausesAroundCommand_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArrayList>("expectedFrames");

    QTest::newRow("set sleep") << "Dev_Button_Sleep"
                               << QByteArrayList {QByteArray::fromHex("77090000000156003090")};
    // Answered Yes: no poll between the two factory frames either, 100 ms apart.
    QTest::newRow("factory defaults")
        << "Dev_Button_Default"
        << QByteArrayList {QByteArray::fromHex("7707000000010e16"),
                           QByteArray::fromHex("7707000000016870")};
}

void TestSensorParams::livePollingPausesAroundCommand()
{
    QFETCH(QString, button);
    QFETCH(QByteArrayList, expectedFrames);

    openPort();
    fill({"Edit_Sleep=30"});
    SendLog sent(window);
    DialogRecorder boxes(QMessageBox::Yes);
    clickNamed(window, "pushButtonStart");
    QTest::qWait(350);
    QVERIFY(clickNamed(window, qPrintable(button)));
    QTest::qWait(800);
    clickNamed(window, "pushButtonStart");

    const int first = sent.frames.indexOf(expectedFrames.first());
    const int last = first + expectedFrames.size() - 1;
    QVERIFY2(first > 0 && last + 1 < sent.frames.size(), "no poll before or after the command");
    QCOMPARE(sent.frames.mid(first, expectedFrames.size()), expectedFrames);
    for (int i = first; i < last; ++i)
        QVERIFY2(sent.ms.at(i + 1) - sent.ms.at(i) >= 80, "frames less than 100 ms apart");
    QCOMPARE(sent.frames.at(first - 1).toHex(), pollTo00000001.toHex());
    for (int i = last + 1; i < sent.frames.size(); ++i)
        QCOMPARE(sent.frames.at(i).toHex(), pollTo00000001.toHex());
    // Polling resumes 200 ms after the command instead of 100 ms; only a lower bound is safe.
    const qint64 gap = sent.ms.at(last + 1) - sent.ms.at(last);
    QVERIFY2(gap >= 150, qPrintable(QString("next poll after %1 ms").arg(gap)));
}

void TestSensorParams::oneKeySet_data()
{
    QTest::addColumn<bool>("live");
    QTest::addColumn<int>("mutedCode");
    QTest::addColumn<QString>("verdict");

    QTest::newRow("idle") << false << 0 << "一键设置参数成功!";
    QTest::newRow("while live measurement runs") << true << 0 << "一键设置参数成功!";
    // An acknowledgement from before the run must not make up for the missing one.
    QTest::newRow("installation not acknowledged") << false << 0x6A << "一键设置参数失败！！";
}

void TestSensorParams::oneKeySet()
{
    QFETCH(bool, live);
    QFETCH(int, mutedCode);
    QFETCH(QString, verdict);

    SimulatedSensor sensor;
    PtyDevice device(&sensor);
    QVERIFY(device.open());
    openPort("00000001", device.slaveName());
    QByteArrayList oneKeyFrames;
    for (int i = 0; i < 9; ++i) {
        fill(parameterSlots[i].inputs);
        oneKeyFrames << QByteArray::fromHex(parameterSlots[i].frame);
    }
    if (live) {
        clickNamed(window, "pushButtonStart");
        QTRY_VERIFY(widget<QLabel>(window, "label_T")->text() != "0");
    }
    if (mutedCode) {
        clickNamed(window, "Dev_Button_Save");
        QTRY_COMPARE(status(), QString("设置成功！"));
        SensorFaults faults;
        faults.mutedCommands = {quint8(mutedCode)};
        sensor.setFaults(faults);
    }
    sensor.clearCounters();

    auto *button = widget<QPushButton>(window, "pushButton_ssetting");
    bool enabledWhileRunning = true;
    // The run takes at least nine waits of 200 ms: this looks in the middle of it.
    QTimer::singleShot(600, button, [&] { enabledWhileRunning = button->isEnabled(); });
    clickNamed(window, "pushButton_ssetting");
    QVERIFY(!enabledWhileRunning);
    QVERIFY(button->isEnabled());
    QCOMPARE(status(), verdict);
    QCOMPARE(framesExceptPolls(sensor.receivedFrames()), oneKeyFrames);
    if (live) {
        // Polling went on during the run and goes on after it.
        const int polls = sensor.receivedCount(0x03);
        QVERIFY2(polls >= 3, qPrintable(QString::number(polls)));
        QCOMPARE(widget<QPushButton>(window, "pushButtonStart")->text(), QString("停止"));
        QTRY_VERIFY(sensor.receivedCount(0x03) >= polls + 3);
    }
}

void TestSensorParams::oneKeyCountRestartsAfterTenThousand_data()
{
    QTest::addColumn<int>("acks");
    QTest::addColumn<QString>("verdict");

    // The count goes back to 0 on the ack that would take it past 10000.
    QTest::newRow("10010 acks end at 9") << 10010 << "一键设置参数成功!";
    QTest::newRow("10009 acks end at 8") << 10009 << "一键设置参数失败！！";
}

void TestSensorParams::oneKeyCountRestartsAfterTenThousand()
{
    QFETCH(int, acks);
    QFETCH(QString, verdict);

    openPort();
    const QByteArray flood = uploadModeAck.repeated(acks);
    // Sent once the run has begun (it clears the count at its start).
    QTimer::singleShot(0, window, [&] { pty->write(flood); });
    clickNamed(window, "pushButton_ssetting");
    QCOMPARE(status(), verdict);
}

void TestSensorParams::factoryDefaultsAnsweredNo()
{
    openPort();
    SendLog sent(window);
    DialogRecorder boxes(QMessageBox::No);
    clickNamed(window, "Dev_Button_Default");
    // Icon 2: warning; 14000: Yes and No, with No the default.
    QCOMPARE(boxTexts(boxes), QStringList {"提示|是否把传感器参数恢复到出厂设置?|2|14000"});
    QCOMPARE(boxes.boxes().first().defaultButton, QMessageBox::No);
    QCOMPARE(status(), QString("设置参数"));
    QCOMPARE(pty->readFor(300).toHex(), QByteArray());
    QCOMPARE(sent.frames, QByteArrayList());
}

void TestSensorParams::baudAckSwitchesThePort()
{
    openPort();
    QCOMPARE(lineSpeed(pty->slaveName()), speed_t(B115200));
    fill({"Combo_Baud=3"});
    clickNamed(window, "Dev_Button_Baud");
    QCOMPARE(pty->readAtLeast(9).toHex(), QByteArray("7708000000010b0519"));
    // The port stays at its rate until the sensor confirms.
    QCOMPARE(lineSpeed(pty->slaveName()), speed_t(B115200));

    pty->write(QByteArray::fromHex("7707000000018b93"));
    QTRY_COMPARE(widget<QComboBox>(window, "baudComboBox")->currentText(), QString("38400"));
    QCOMPARE(status(), QString("设置成功！"));
    QTRY_COMPARE(lineSpeed(pty->slaveName()), speed_t(B38400));
    // The line still works after the switch.
    clickNamed(window, "Dev_Button_Save");
    QCOMPARE(pty->readAtLeast(8).toHex(), QByteArray("7707000000010a12"));
}

void TestSensorParams::livePollingFollowsNewAddress()
{
    SimulatedSensor sensor;
    PtyDevice device(&sensor);
    QVERIFY(device.open());
    openPort("00000001", device.slaveName());
    clickNamed(window, "pushButtonStart");
    QTRY_VERIFY(sensor.receivedCount(0x03) >= 2);
    fill({"Edit_Addr=1A2B3C4D"});
    clickNamed(window, "Dev_Button_Addr");
    QTRY_COMPARE(text("lineEditAddr"), QString("1A2B3C4D"));
    QCOMPARE(status(), QString("设置成功！"));
    sensor.clearCounters();
    // Polls after the acknowledgement carry the new address, so the sensor keeps answering.
    QTRY_VERIFY_WITH_TIMEOUT(sensor.receivedCount(0x03) >= 3, 5000);
    clickNamed(window, "pushButtonStart");
    // So do other requests.
    window->statusBar()->showMessage("ready");
    clickNamed(window, "Dev_Button_Save");
    QTRY_COMPARE(status(), QString("设置成功！"));
    QByteArrayList frames = sensor.receivedFrames();
    QCOMPARE(frames.takeLast().toHex(), QByteArray("77071a2b3c4d0adf"));
    for (const QByteArray &frame : frames)
        QCOMPARE(frame.toHex(), QByteArray("77071a2b3c4d03d8"));
}

QTEST_MAIN(TestSensorParams)
#include "tst_sensorparams.moc"
