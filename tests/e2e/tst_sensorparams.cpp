// The sensor parameter buttons end to end: the frames they put on the line, their refusals,
// the pause of live polling, the one-key set, factory defaults and the acknowledgements that
// change the port or the working address.
#include "app/mainwindow.h"
#include "dialogrecorder.h"
#include "pseudoterminal.h"
#include "sim/ptydevice.h"
#include "sim/simulatedsensor.h"
#include "windowfixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QtTest>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

const QByteArray pollTo00000001 = QByteArray::fromHex("770700000001030b");

struct ButtonInfo
{
    const char *name;
    const char *status;
};

// Every button of the sensor parameter group and the status it shows first.
const ButtonInfo parameterButtons[] = {
    {"Dev_Button_Addr", "设置参数"},    {"Dev_Button_Baud", "设置参数"},
    {"Dev_Button_Send", "设置参数"},    {"Dev_Button_Zero", "设置参数"},
    {"Dev_Button_ZeroF", "查询参数"},   {"Dev_Button_Auto", "设置参数"},
    {"Dev_Button_Sleep", "设置参数"},   {"Dev_Button_SleepF", "查询参数"},
    {"pushButtonAlarm", "设置参数"},    {"Dev_Button_Sport", "设置参数"},
    {"Dev_Button_Yu", "设置参数"},      {"Dev_Button_Date", "设置参数"},
    {"Dev_Button_DateF", "查询参数"},   {"Dev_Button_Instal", "设置参数"},
    {"Dev_Button_Save", "设置参数"},    {"Dev_Button_Default", "设置参数"},
    {"pushButton_ssetting", "一键设置参数"},
};

// The widget contents the one-key tests send, and the nine frames that carry them.
const QStringList oneKeyInputs = {
    "Combo_Send=1",  "Combo_Zero=1",       "Edit_Auto=10",  "Edit_Keep=30",
    "Edit_Sleep=30", "Edit_Alarm=12.349",  "Edit_Sport=0.4", "Edit_Yu=200",
    "Combo_Instal=1", "lineEdit_y=2025",   "lineEdit_m=03", "lineEdit_d=01",
    "lineEdit_h=12", "lineEdit_mm=34",     "lineEdit_s=56"};
const QByteArrayList oneKeyFrames = {
    QByteArray::fromHex("770800000001690173"),           // upload mode 1
    QByteArray::fromHex("77080000000105010f"),           // zero mode 1
    QByteArray::fromHex("770b000000010c0010003058"),     // output timing 10 s, hold 30 s
    QByteArray::fromHex("77090000000156003090"),         // sleep 30 min
    QByteArray::fromHex("7709000000016b1234bb"),         // alarm 12.34 degrees
    QByteArray::fromHex("770800000001530561"),           // motion wake 5 x 80 ms
    QByteArray::fromHex("7709000000014202004e"),         // motion threshold 200 mg
    QByteArray::fromHex("7708000000016a0174"),           // vertical installation
    QByteArray::fromHex("770d000000016525030112345638"), // 25-03-01 12:34:56
};

QByteArrayList framesExceptPolls(const QList<QByteArray> &frames)
{
    QByteArrayList list;
    for (const QByteArray &frame : frames) {
        if (quint8(frame.at(6)) != 0x03)
            list.append(frame);
    }
    return list;
}

// Line speed of a pseudo-terminal, as the port left it.
speed_t lineSpeed(const QString &path, speed_t *inputSpeed = nullptr)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return speed_t(-1);
    termios tio {};
    tcgetattr(fd, &tio);
    ::close(fd);
    if (inputSpeed)
        *inputSpeed = cfgetispeed(&tio);
    return cfgetospeed(&tio);
}

// Every frame the window sends, with the moment it was sent, taken from the echo in the
// terminal tab (the echo is written just before the bytes go to the port).
class SendLog : public QObject
{
public:
    struct Entry
    {
        qint64 ms;
        QByteArray frame;
    };

    explicit SendLog(QWidget *window)
        : log(widget<QTextBrowser>(window, "text_Serial"))
    {
        widget<QCheckBox>(window, "checkBox_active")->setChecked(true);
        widget<QCheckBox>(window, "checkBox_hexshow")->setChecked(true);
        clock.start();
        connect(log, &QTextBrowser::textChanged, this, &SendLog::changed);
    }

    QList<Entry> entries;

private:
    void changed()
    {
        const QTextBlock last = log->document()->lastBlock();
        if (last.text().isEmpty() || last.blockNumber() == seenBlock)
            return;
        seenBlock = last.blockNumber();
        const QString text = last.text();
        const QString sent = QStringLiteral("send\u2192 ");
        const int at = text.indexOf(sent);
        if (at >= 0)
            entries.append({clock.elapsed(), QByteArray::fromHex(text.mid(at + 6).toLatin1())});
    }

    QTextBrowser *log;
    QElapsedTimer clock;
    int seenBlock = -1;
};

} // namespace

Q_DECLARE_METATYPE(SensorFaults)

class TestSensorParams : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void requestFrames_data();
    void requestFrames();
    void closedPortRefuses_data();
    void closedPortRefuses();
    void missingAddressRefuses_data();
    void missingAddressRefuses();
    void livePollingPausesAroundCommand_data();
    void livePollingPausesAroundCommand();
    void settingsReadBack();
    void oneKeySetSucceeds_data();
    void oneKeySetSucceeds();
    void oneKeySetFails_data();
    void oneKeySetFails();
    void oneKeyCountRestartsAfterTenThousand_data();
    void oneKeyCountRestartsAfterTenThousand();
    void factoryDefaultsAnsweredNo();
    void factoryDefaultsAnsweredYes();
    void baudAckSwitchesThePort_data();
    void baudAckSwitchesThePort();
    void setAddressAckChangesWorkingAddress();
    void livePollingFollowsNewAddress();

private:
    QString status() const { return window->statusBar()->currentMessage(); }
    void fill(const QStringList &inputs);
    void addButtonRows();
    void useSimulator(SimulatedSensor &sensor, PtyDevice &device);

    QTemporaryDir settingsDir;
    MainWindow *window = nullptr;
    PseudoTerminal *pty = nullptr;
};

void TestSensorParams::initTestCase()
{
    useTemporarySettings(settingsDir.path());
    startLikeMain(*qApp);
}

void TestSensorParams::init()
{
    pty = new PseudoTerminal;
    QVERIFY(pty->isValid());
    window = new MainWindow;
    window->show();
}

void TestSensorParams::cleanup()
{
    delete window;
    window = nullptr;
    delete pty;
    pty = nullptr;
}

// Applies "objectName=value" pairs: a combo box takes the value as its index.
void TestSensorParams::fill(const QStringList &inputs)
{
    for (const QString &input : inputs) {
        const QString name = input.section('=', 0, 0);
        const QString value = input.section('=', 1);
        if (auto *combo = window->findChild<QComboBox *>(name))
            combo->setCurrentIndex(value.toInt());
        else if (auto *edit = window->findChild<QLineEdit *>(name))
            edit->setText(value);
        else
            QFAIL(qPrintable("no input " + name));
    }
}

void TestSensorParams::useSimulator(SimulatedSensor &sensor, PtyDevice &device)
{
    QVERIFY(device.open());
    openPortNamed(window, device.slaveName());
    QCOMPARE(widget<QPushButton>(window, "openPortButton")->text(), QString("关闭"));
    widget<QLineEdit>(window, "lineEditAddr")
        ->setText(QString::asprintf("%08x", unsigned(sensor.address())));
}

void TestSensorParams::requestFrames_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QString>("expectedStatus");

    const QString a1 = QStringLiteral("00000001");
    const QString set = QStringLiteral("设置参数");
    const QString query = QStringLiteral("查询参数");
    auto row = [&](const char *name, const char *button, const QStringList &inputs,
                   const QString &address, const char *hex, const QString &status) {
        QTest::newRow(name) << QString(button) << inputs << address << QByteArray::fromHex(hex)
                            << status;
    };

    row("sleep 30", "Dev_Button_Sleep", {"Edit_Sleep=30"}, a1, "77090000000156003090", set);
    row("sleep 10", "Dev_Button_Sleep", {"Edit_Sleep=10"}, a1, "77090000000156001070", set);
    row("sleep empty", "Dev_Button_Sleep", {"Edit_Sleep="}, a1, "77090000000156000060", set);
    row("sleep not a number", "Dev_Button_Sleep", {"Edit_Sleep=xyz"}, a1,
        "77090000000156000060", set);
    row("sleep 12345 keeps the low digits", "Dev_Button_Sleep", {"Edit_Sleep=12345"}, a1,
        "770900000001562345c8", set);
    row("alarm 12.349 drops the last digit", "pushButtonAlarm", {"Edit_Alarm=12.349"}, a1,
        "7709000000016b1234bb", set);
    row("alarm 12.5", "pushButtonAlarm", {"Edit_Alarm=12.5"}, a1, "7709000000016b1250d7", set);
    row("alarm 0.29", "pushButtonAlarm", {"Edit_Alarm=0.29"}, a1, "7709000000016b00299e", set);
    row("alarm 0.5", "pushButtonAlarm", {"Edit_Alarm=0.5"}, a1, "7709000000016b0050c5", set);
    row("alarm 30", "pushButtonAlarm", {"Edit_Alarm=30"}, a1, "7709000000016b3000a5", set);
    row("motion 0.4", "Dev_Button_Sport", {"Edit_Sport=0.4"}, a1, "770800000001530561", set);
    row("motion 0.16", "Dev_Button_Sport", {"Edit_Sport=0.16"}, a1, "77080000000153025e", set);
    row("motion 0.07", "Dev_Button_Sport", {"Edit_Sport=0.07"}, a1, "77080000000153005c", set);
    row("motion 20", "Dev_Button_Sport", {"Edit_Sport=20"}, a1, "77080000000153fa56", set);
    row("motion 21 keeps the low byte", "Dev_Button_Sport", {"Edit_Sport=21"}, a1,
        "770800000001530662", set);
    row("threshold 200", "Dev_Button_Yu", {"Edit_Yu=200"}, a1, "7709000000014202004e", set);
    row("timing 10 and 30", "Dev_Button_Auto", {"Edit_Auto=10", "Edit_Keep=30"}, a1,
        "770b000000010c0010003058", set);
    row("timing empty", "Dev_Button_Auto", {"Edit_Auto=", "Edit_Keep="}, a1,
        "770b000000010c0000000018", set);
    row("timing too wide keeps the low digits", "Dev_Button_Auto",
        {"Edit_Auto=123", "Edit_Keep=51234"}, a1, "770b000000010c0023123481", set);
    row("baud 9600", "Dev_Button_Baud", {"Combo_Baud=0"}, a1, "7708000000010b0216", set);
    row("baud 38400", "Dev_Button_Baud", {"Combo_Baud=3"}, a1, "7708000000010b0519", set);
    row("baud 57600", "Dev_Button_Baud", {"Combo_Baud=4"}, a1, "7708000000010b061a", set);
    row("upload compact", "Dev_Button_Send", {"Combo_Send=0"}, a1, "770800000001690072", set);
    row("upload normal", "Dev_Button_Send", {"Combo_Send=1"}, a1, "770800000001690173", set);
    row("zero absolute", "Dev_Button_Zero", {"Combo_Zero=0"}, a1, "77080000000105000e", set);
    row("zero relative", "Dev_Button_Zero", {"Combo_Zero=1"}, a1, "77080000000105010f", set);
    row("installation horizontal", "Dev_Button_Instal", {"Combo_Instal=0"}, a1,
        "7708000000016a0073", set);
    row("installation vertical", "Dev_Button_Instal", {"Combo_Instal=1"}, a1,
        "7708000000016a0174", set);
    row("date with a four-digit year", "Dev_Button_Date",
        {"lineEdit_y=2025", "lineEdit_m=03", "lineEdit_d=01", "lineEdit_h=12", "lineEdit_mm=34",
         "lineEdit_s=56"},
        a1, "770d000000016525030112345638", set);
    row("date with single digits", "Dev_Button_Date",
        {"lineEdit_y=25", "lineEdit_m=3", "lineEdit_d=1", "lineEdit_h=12", "lineEdit_mm=34",
         "lineEdit_s=56"},
        a1, "770d000000016525030112345638", set);
    row("new address", "Dev_Button_Addr", {"Edit_Addr=1A2B3C4D"}, a1,
        "770b000000010f1a2b3c4de9", set);
    row("query zero mode", "Dev_Button_ZeroF", {}, a1, "7707000000010d15", query);
    row("query sleep", "Dev_Button_SleepF", {}, a1, "770700000001575f", query);
    row("query date", "Dev_Button_DateF", {}, a1, "770700000001666e", query);
    row("save", "Dev_Button_Save", {}, a1, "7707000000010a12", set);
    row("save to 12345678", "Dev_Button_Save", {}, "12345678", "7707123456780a25", set);
    row("save to 1a2b3c4d", "Dev_Button_Save", {}, "1a2b3c4d", "77071a2b3c4d0adf", set);
}

void TestSensorParams::requestFrames()
{
    QFETCH(QString, button);
    QFETCH(QStringList, inputs);
    QFETCH(QString, address);
    QFETCH(QByteArray, frame);
    QFETCH(QString, expectedStatus);

    openPortNamed(window, pty->slaveName());
    widget<QLineEdit>(window, "lineEditAddr")->setText(address);
    fill(inputs);
    DialogRecorder boxes;
    QVERIFY(clickNamed(window, qPrintable(button)));
    QCOMPARE(status(), expectedStatus);
    QCOMPARE(pty->readAtLeast(frame.size()).toHex(), frame.toHex());
    QCOMPARE(pty->readFor(100).toHex(), QByteArray());
    QVERIFY(boxes.boxes().isEmpty());
}

void TestSensorParams::addButtonRows()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("expectedStatus");
    for (const ButtonInfo &info : parameterButtons)
        QTest::newRow(info.name) << QString(info.name) << QString(info.status);
}

void TestSensorParams::closedPortRefuses_data()
{
    addButtonRows();
}

void TestSensorParams::closedPortRefuses()
{
    QFETCH(QString, button);
    QFETCH(QString, expectedStatus);

    // The port check comes first, so an empty address makes no difference.
    widget<QLineEdit>(window, "lineEditAddr")->clear();
    SendLog sent(window);
    DialogRecorder boxes(QMessageBox::Yes);
    QVERIFY(clickNamed(window, qPrintable(button)));
    QCOMPARE(boxes.boxes().size(), 1);
    const RecordedBox box = boxes.boxes().first();
    QCOMPARE(box.title, QString("错误"));
    QCOMPARE(box.text, QString("请先打开串口!"));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Yes));
    QCOMPARE(status(), expectedStatus);
    QCOMPARE(sent.entries.size(), 0);
    QVERIFY(widget<QPushButton>(window, qPrintable(button))->isEnabled());
}

void TestSensorParams::missingAddressRefuses_data()
{
    addButtonRows();
}

void TestSensorParams::missingAddressRefuses()
{
    QFETCH(QString, button);
    QFETCH(QString, expectedStatus);

    openPortNamed(window, pty->slaveName());
    widget<QLineEdit>(window, "lineEditAddr")->clear();
    SendLog sent(window);
    DialogRecorder boxes(QMessageBox::Yes);
    QVERIFY(clickNamed(window, qPrintable(button)));
    QCOMPARE(boxes.boxes().size(), 1);
    const RecordedBox box = boxes.boxes().first();
    QCOMPARE(box.title, QString("错误"));
    QCOMPARE(box.text, QString("设备地址未获取到!"));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Yes));
    QCOMPARE(status(), expectedStatus);
    QCOMPARE(pty->readFor(200).toHex(), QByteArray());
    QCOMPARE(sent.entries.size(), 0);
    QVERIFY(widget<QPushButton>(window, qPrintable(button))->isEnabled());
}

void TestSensorParams::livePollingPausesAroundCommand_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QByteArrayList>("expectedFrames");

    QTest::newRow("set sleep") << QString("Dev_Button_Sleep") << QStringList {"Edit_Sleep=30"}
                               << QByteArrayList {QByteArray::fromHex("77090000000156003090")};
    QTest::newRow("query zero mode") << QString("Dev_Button_ZeroF") << QStringList()
                                     << QByteArrayList {QByteArray::fromHex("7707000000010d15")};
    // No poll between the two factory frames either.
    QTest::newRow("factory defaults")
        << QString("Dev_Button_Default") << QStringList()
        << QByteArrayList {QByteArray::fromHex("7707000000010e16"),
                           QByteArray::fromHex("7707000000016870")};
}

void TestSensorParams::livePollingPausesAroundCommand()
{
    QFETCH(QString, button);
    QFETCH(QStringList, inputs);
    QFETCH(QByteArrayList, expectedFrames);

    openPortNamed(window, pty->slaveName());
    widget<QLineEdit>(window, "lineEditAddr")->setText("00000001");
    fill(inputs);
    SendLog sent(window);
    DialogRecorder boxes(QMessageBox::Yes);
    clickNamed(window, "pushButtonStart");
    QTest::qWait(350);
    QVERIFY(clickNamed(window, qPrintable(button)));
    QTest::qWait(800);
    clickNamed(window, "pushButtonStart");

    const QList<SendLog::Entry> log = sent.entries;
    int first = -1;
    for (int i = 0; i < log.size() && first < 0; ++i) {
        if (log.at(i).frame == expectedFrames.first())
            first = i;
    }
    QVERIFY2(first > 0, "no poll before the command, or no command");
    QCOMPARE(log.at(first - 1).frame.toHex(), pollTo00000001.toHex());
    const int last = first + expectedFrames.size() - 1;
    QVERIFY(last + 1 < log.size());
    for (int i = 0; i < expectedFrames.size(); ++i)
        QCOMPARE(log.at(first + i).frame.toHex(), expectedFrames.at(i).toHex());
    // Polling resumes 200 ms after the command instead of 100 ms; only a lower bound is safe.
    QCOMPARE(log.at(last + 1).frame.toHex(), pollTo00000001.toHex());
    const qint64 gap = log.at(last + 1).ms - log.at(last).ms;
    QVERIFY2(gap >= 150, qPrintable(QString("next poll after %1 ms").arg(gap)));
    for (int i = last + 1; i < log.size(); ++i)
        QCOMPARE(log.at(i).frame.toHex(), pollTo00000001.toHex());
}

void TestSensorParams::settingsReadBack()
{
    SimulatedSensor sensor;
    PtyDevice device(&sensor);
    useSimulator(sensor, device);
    auto *sleep = widget<QLineEdit>(window, "Edit_Sleep");
    auto *zero = widget<QComboBox>(window, "Combo_Zero");

    sleep->setText("120");
    clickNamed(window, "Dev_Button_Sleep");
    QTRY_COMPARE(status(), QString("设置成功！"));
    sleep->setText("-");
    clickNamed(window, "Dev_Button_SleepF");
    QCOMPARE(status(), QString("查询参数"));
    QTRY_COMPARE(sleep->text(), QString("120"));
    QCOMPARE(status(), QString("查询成功！"));

    zero->setCurrentIndex(1);
    clickNamed(window, "Dev_Button_Zero");
    QTRY_COMPARE(status(), QString("设置成功！"));
    zero->setCurrentIndex(0);
    clickNamed(window, "Dev_Button_ZeroF");
    QTRY_COMPARE(zero->currentIndex(), 1);
    QCOMPARE(status(), QString("查询成功！"));

    const char *const dateFields[] = {"lineEdit_y", "lineEdit_m",  "lineEdit_d",
                                      "lineEdit_h", "lineEdit_mm", "lineEdit_s"};
    fill({"lineEdit_y=2025", "lineEdit_m=3", "lineEdit_d=1", "lineEdit_h=12", "lineEdit_mm=34",
          "lineEdit_s=56"});
    clickNamed(window, "Dev_Button_Date");
    QTRY_COMPARE(status(), QString("设置成功！"));
    for (const char *name : dateFields)
        widget<QLineEdit>(window, name)->setText("-");
    clickNamed(window, "Dev_Button_DateF");
    QTRY_COMPARE(status(), QString("查询成功！"));
    QStringList shown;
    for (const char *name : dateFields)
        shown << widget<QLineEdit>(window, name)->text();
    QCOMPARE(shown, QStringList({"25", "03", "01", "12", "34", "56"}));
}

void TestSensorParams::oneKeySetSucceeds_data()
{
    QTest::addColumn<bool>("live");
    QTest::addColumn<SensorFaults>("faults");

    QTest::newRow("idle") << false << SensorFaults();
    QTest::newRow("while live measurement runs") << true << SensorFaults();
    SensorFaults shifted;
    shifted.shiftedChecksum = true;
    QTest::newRow("sleep and motion replies summed 0x10 lower") << false << shifted;
    SensorFaults pieces;
    pieces.splitSize = 3;
    pieces.splitGapMs = 10;
    QTest::newRow("replies in pieces") << false << pieces;
}

void TestSensorParams::oneKeySetSucceeds()
{
    QFETCH(bool, live);
    QFETCH(SensorFaults, faults);

    SimulatedSensor sensor;
    sensor.setFaults(faults);
    PtyDevice device(&sensor);
    useSimulator(sensor, device);
    fill(oneKeyInputs);
    if (live) {
        clickNamed(window, "pushButtonStart");
        QTRY_VERIFY(widget<QLabel>(window, "label_T")->text() != "0");
    }
    sensor.clearCounters();

    auto *button = widget<QPushButton>(window, "pushButton_ssetting");
    bool enabledWhileRunning = true;
    // The run takes at least nine waits of 200 ms: this looks in the middle of it.
    QTimer::singleShot(600, button, [&] { enabledWhileRunning = button->isEnabled(); });
    clickNamed(window, "pushButton_ssetting");
    QVERIFY(!enabledWhileRunning);
    QVERIFY(button->isEnabled());
    QCOMPARE(status(), QString("一键设置参数成功!"));
    QCOMPARE(framesExceptPolls(sensor.receivedFrames()), oneKeyFrames);

    if (live) {
        // Polling went on during the run and goes on after it.
        const int polls = sensor.receivedCount(0x03);
        QVERIFY2(polls >= 3, qPrintable(QString::number(polls)));
        QCOMPARE(widget<QPushButton>(window, "pushButtonStart")->text(), QString("停止"));
        QTRY_VERIFY(sensor.receivedCount(0x03) >= polls + 3);
    }
}

void TestSensorParams::oneKeySetFails_data()
{
    QTest::addColumn<SensorFaults>("faults");
    QTest::addColumn<bool>("earlierAck");

    SensorFaults noInstallation;
    noInstallation.mutedCommands = {0x6A};
    QTest::newRow("installation not acknowledged") << noInstallation << false;
    QTest::newRow("an earlier acknowledgement does not count") << noInstallation << true;
    SensorFaults badChecksums;
    badChecksums.badChecksum = true;
    QTest::newRow("every reply with a wrong checksum") << badChecksums << false;
    SensorFaults noise;
    noise.garbage = QByteArray::fromHex("00");
    QTest::newRow("noise before every reply") << noise << false;
}

void TestSensorParams::oneKeySetFails()
{
    QFETCH(SensorFaults, faults);
    QFETCH(bool, earlierAck);

    SimulatedSensor sensor;
    sensor.setFaults(faults);
    PtyDevice device(&sensor);
    useSimulator(sensor, device);
    fill(oneKeyInputs);
    if (earlierAck) {
        clickNamed(window, "Dev_Button_Save");
        QTRY_COMPARE(status(), QString("设置成功！"));
    }
    sensor.clearCounters();

    clickNamed(window, "pushButton_ssetting");
    QCOMPARE(status(), QString("一键设置参数失败！！"));
    QVERIFY(widget<QPushButton>(window, "pushButton_ssetting")->isEnabled());
    QCOMPARE(framesExceptPolls(sensor.receivedFrames()), oneKeyFrames);
}

void TestSensorParams::oneKeyCountRestartsAfterTenThousand_data()
{
    QTest::addColumn<int>("acks");
    QTest::addColumn<QString>("verdict");

    // The count goes back to 0 on the ack that would take it past 10000.
    QTest::newRow("10010 acks end at 9") << 10010 << QString("一键设置参数成功!");
    QTest::newRow("10009 acks end at 8") << 10009 << QString("一键设置参数失败！！");
}

void TestSensorParams::oneKeyCountRestartsAfterTenThousand()
{
    QFETCH(int, acks);
    QFETCH(QString, verdict);

    openPortNamed(window, pty->slaveName());
    widget<QLineEdit>(window, "lineEditAddr")->setText("00000001");
    QByteArray flood;
    for (int i = 0; i < acks; ++i)
        flood += QByteArray::fromHex("7707000000016971");
    // Sent once the run has begun (it clears the count at its start).
    QTimer::singleShot(0, window, [&] { pty->write(flood); });
    clickNamed(window, "pushButton_ssetting");
    QCOMPARE(status(), verdict);
}

void TestSensorParams::factoryDefaultsAnsweredNo()
{
    openPortNamed(window, pty->slaveName());
    widget<QLineEdit>(window, "lineEditAddr")->setText("00000001");
    SendLog sent(window);
    DialogRecorder boxes(QMessageBox::No);
    clickNamed(window, "Dev_Button_Default");
    QCOMPARE(boxes.boxes().size(), 1);
    const RecordedBox box = boxes.boxes().first();
    QCOMPARE(box.title, QString("提示"));
    QCOMPARE(box.text, QString("是否把传感器参数恢复到出厂设置?"));
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Yes | QMessageBox::No));
    QCOMPARE(box.defaultButton, QMessageBox::No);
    QCOMPARE(status(), QString("设置参数"));
    QCOMPARE(pty->readFor(300).toHex(), QByteArray());
    QCOMPARE(sent.entries.size(), 0);
}

void TestSensorParams::factoryDefaultsAnsweredYes()
{
    SimulatedSensor sensor;
    sensor.setAddress(0x1a2b3c4d);
    PtyDevice device(&sensor);
    useSimulator(sensor, device);
    SendLog sent(window);
    DialogRecorder boxes(QMessageBox::Yes);
    clickNamed(window, "Dev_Button_Default");
    QCOMPARE(boxes.boxes().size(), 1);

    const QByteArrayList expected = {QByteArray::fromHex("77071a2b3c4d0ee3"),
                                     QByteArray::fromHex("77071a2b3c4d683d")};
    QTRY_COMPARE(sensor.receivedFrames().size(), 2);
    QCOMPARE(QByteArrayList(sensor.receivedFrames()), expected);
    QCOMPARE(sent.entries.size(), 2);
    QCOMPARE(sent.entries.at(0).frame.toHex(), expected.at(0).toHex());
    QCOMPARE(sent.entries.at(1).frame.toHex(), expected.at(1).toHex());
    const qint64 gap = sent.entries.at(1).ms - sent.entries.at(0).ms;
    QVERIFY2(gap >= 80 && gap <= 2000, qPrintable(QString("%1 ms apart").arg(gap)));
    QTRY_COMPARE(status(), QString("设置成功！"));
}

void TestSensorParams::baudAckSwitchesThePort_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QString>("portBaud");
    QTest::addColumn<int>("speed");

    QTest::newRow("38400") << 3 << QByteArray::fromHex("7708000000010b0519") << QString("38400")
                           << int(B38400);
    QTest::newRow("9600") << 0 << QByteArray::fromHex("7708000000010b0216") << QString("9600")
                          << int(B9600);
    QTest::newRow("57600") << 4 << QByteArray::fromHex("7708000000010b061a") << QString("57600")
                           << int(B57600);
}

void TestSensorParams::baudAckSwitchesThePort()
{
    QFETCH(int, index);
    QFETCH(QByteArray, frame);
    QFETCH(QString, portBaud);
    QFETCH(int, speed);

    openPortNamed(window, pty->slaveName(), "115200");
    QCOMPARE(lineSpeed(pty->slaveName()), speed_t(B115200));
    widget<QLineEdit>(window, "lineEditAddr")->setText("00000001");
    widget<QComboBox>(window, "Combo_Baud")->setCurrentIndex(index);
    clickNamed(window, "Dev_Button_Baud");
    QCOMPARE(pty->readAtLeast(frame.size()).toHex(), frame.toHex());
    // The port stays at its rate until the sensor confirms.
    QCOMPARE(lineSpeed(pty->slaveName()), speed_t(B115200));

    pty->write(QByteArray::fromHex("7707000000018b93"));
    auto *baud = widget<QComboBox>(window, "baudComboBox");
    QTRY_COMPARE(baud->currentText(), portBaud);
    QCOMPARE(status(), QString("设置成功！"));
    speed_t inputSpeed = 0;
    QTRY_COMPARE(lineSpeed(pty->slaveName(), &inputSpeed), speed_t(speed));
    QCOMPARE(inputSpeed, speed_t(speed));

    // The line still works after the switch.
    clickNamed(window, "Dev_Button_Save");
    QCOMPARE(pty->readAtLeast(8).toHex(), QByteArray("7707000000010a12"));
}

void TestSensorParams::setAddressAckChangesWorkingAddress()
{
    SimulatedSensor sensor;
    PtyDevice device(&sensor);
    useSimulator(sensor, device);
    auto *address = widget<QLineEdit>(window, "lineEditAddr");
    QCOMPARE(address->text(), QString("00000001"));
    widget<QLineEdit>(window, "Edit_Addr")->setText("1A2B3C4D");
    clickNamed(window, "Dev_Button_Addr");
    QTRY_COMPARE(address->text(), QString("1A2B3C4D"));
    QCOMPARE(status(), QString("设置成功！"));
    QCOMPARE(sensor.receivedFrames().value(0).toHex(), QByteArray("770b000000010f1a2b3c4de9"));

    // The next request goes to the new address, and the sensor, now there, answers it.
    window->statusBar()->showMessage("ready");
    clickNamed(window, "Dev_Button_Save");
    QTRY_COMPARE(status(), QString("设置成功！"));
    QCOMPARE(sensor.receivedFrames().value(1).toHex(), QByteArray("77071a2b3c4d0adf"));
}

void TestSensorParams::livePollingFollowsNewAddress()
{
    SimulatedSensor sensor;
    PtyDevice device(&sensor);
    useSimulator(sensor, device);
    clickNamed(window, "pushButtonStart");
    QTRY_VERIFY(sensor.receivedCount(0x03) >= 2);
    widget<QLineEdit>(window, "Edit_Addr")->setText("00000042");
    clickNamed(window, "Dev_Button_Addr");
    QTRY_COMPARE(widget<QLineEdit>(window, "lineEditAddr")->text(), QString("00000042"));
    sensor.clearCounters();
    // Polls after the acknowledgement carry the new address, so the sensor keeps answering.
    QTRY_VERIFY_WITH_TIMEOUT(sensor.receivedCount(0x03) >= 3, 5000);
    for (const QByteArray &frame : sensor.receivedFrames())
        if (quint8(frame.at(6)) == 0x03)
            QCOMPARE(frame.toHex(), QByteArray("770700000042034c"));
    clickNamed(window, "pushButtonStart");
}

QTEST_MAIN(TestSensorParams)
#include "tst_sensorparams.moc"
