// The radio-module buttons end to end: the lines each button puts on a real pseudo-terminal and
// the pauses between them, where the answers land, the refusals, and live polling held off the
// line during an exchange. The test plays the module itself, or runs the simulated sensor.
#include "app/mainwindow.h"
#include "dialogrecorder.h"
#include "sim/ptydevice.h"
#include "sim/simulatedsensor.h"
#include "windowonpty.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

namespace {

// Every module input, and what the tests type into them before pressing a button.
const QStringList moduleInputs = {"BandCombo",   "HeartCombo",  "Edit_Chanel1", "Edit_Chanel2",
                                  "Edit_Deveui", "Edit_Appeui", "Edit_Appkey"};
const QStringList typedBefore
    = {"BandCombo=EU433", "HeartCombo=关闭心跳", "Edit_Chanel1=a", "Edit_Chanel2=b",
       "Edit_Deveui=d",   "Edit_Appeui=e",       "Edit_Appkey=k"};

// Every exchange opens by switching the module's echo on and closes by switching it off.
QByteArrayList exchangeLines(const QByteArrayList &commands)
{
    return QByteArrayList {"ATE1\r\n"} + commands + QByteArrayList {"ATE0\r\n"};
}

// Plays the module on the master side of the pseudo-terminal: notes each line, the moment its
// line end arrived and whether the pressed button was enabled then, and answers the line
// `asked` at once. When the window sent each line is read off the terminal tab, which
// shows every send just before the bytes go out.
class ModulePlayer : public QObject
{
public:
    ModulePlayer(PseudoTerminal *pty, QWidget *window, QWidget *button, const QByteArray &asked,
                 const QByteArray &answer)
    {
        auto *terminal = widget<QTextBrowser>(window, "text_Serial");
        widget<QCheckBox>(window, "checkBox_active")->setChecked(true);
        connect(terminal, &QTextBrowser::textChanged, this, [this, terminal] {
            while (sentMs.size() < terminal->toPlainText().count(QStringLiteral("send\u2192")))
                sentMs.append(clock.elapsed());
        });
        connect(&timer, &QTimer::timeout, this, [=] {
            rest += pty->readAvailable();
            for (int end; (end = rest.indexOf("\r\n")) >= 0; rest.remove(0, end + 2)) {
                lines << rest.left(end + 2);
                wireMs << clock.elapsed();
                buttonEnabled << (!button || button->isEnabled());
                if (lines.last() == asked)
                    pty->write(answer);
            }
        });
        timer.setTimerType(Qt::PreciseTimer);
        clock.start();
        timer.start(1);
    }

    QByteArrayList lines;
    QList<qint64> wireMs, sentMs;
    QList<bool> buttonEnabled;
    QByteArray rest; // bytes after the last line end

private:
    QTimer timer;
    QElapsedTimer clock;
};

} // namespace

class TestModule : public QObject, public WindowOnPty
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void exchange_data();
    void exchange();
    void boxAndNothingSent_data();
    void boxAndNothingSent();
    void oneKeySetWhileLive_data();
    void oneKeySetWhileLive();

private:
    void fill(const QStringList &inputs);
    QStringList shown() const;
};

void TestModule::initTestCase()
{
    startApp();
}

void TestModule::init()
{
    openWindow();
}

void TestModule::cleanup()
{
    closeWindow();
}

// Applies "objectName=value" pairs; a combo box selects the item with that text.
void TestModule::fill(const QStringList &inputs)
{
    for (const QString &input : inputs) {
        const QString name = input.section('=', 0, 0), value = input.section('=', 1);
        if (auto *combo = window->findChild<QComboBox *>(name))
            combo->setCurrentIndex(combo->findText(value));
        else
            window->findChild<QLineEdit *>(name)->setText(value);
    }
}

// Every module input as "objectName=value", in the order of moduleInputs.
QStringList TestModule::shown() const
{
    QStringList list;
    for (const QString &name : moduleInputs) {
        auto *combo = window->findChild<QComboBox *>(name);
        list << name + '='
                + (combo ? combo->currentText() : window->findChild<QLineEdit *>(name)->text());
    }
    return list;
}

void TestModule::exchange_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QByteArrayList>("commands");
    QTest::addColumn<int>("pause"); // after each command; 100 ms after "ATE1"
    QTest::addColumn<QByteArray>("answer"); // to the first command
    QTest::addColumn<QString>("endStatus");
    QTest::addColumn<QStringList>("filled");

    auto row = [](const char *name, const char *button, const QStringList &inputs,
                  const QByteArrayList &commands, int pause, const char *answer, const char *status,
                  const QStringList &filled = {}) {
        QTest::newRow(name) << QString(button) << inputs << commands << pause << QByteArray(answer)
                            << QString(status) << filled;
    };
    row("band EU868", "Lw_Button_Band", {"BandCombo=EU868"}, {"AT+BAND=3\r\n"}, 300, "OK+BAND\r\n",
        "频段设置成功！");
    row("channels typed with blanks and commas", "Lw_Button_Chanel",
        {"Edit_Chanel1=1, 2 ,3", "Edit_Chanel2= 8-15"},
        {"AT+CHANNEL=1, 2 ,3\r\n", "AT+CHANNEL= 8-15\r\n"}, 300, "OK+CHANNEL\r\n",
        "信道设置成功！");
    row("save", "Button_Save_LW", {}, {"AT+SAVE\r\n", "AT+RESET\r\n"}, 100, "OK+SAVE\r\n",
        "保存设置成功！");
    row("factory settings, answered Yes", "Button_Default_LW", {}, {"AT+RENEW\r\n"}, 300,
        "OK+RENEW\r\n", "恢复出厂设置成功！");
    const char *queried = "查询成功！";
    row("band query", "Lw_Button_BandF", {}, {"AT+BAND?\r\n"}, 300, "OK+BAND:04\r\n", queried,
        {"BandCombo=US915"});
    row("heartbeat query", "Lw_Button_HeartF", {}, {"AT+HEART?\r\n"}, 300, "OK+HEART:01\r\n",
        queried, {"HeartCombo=使能心跳"});
    row("channel query, two channels", "Lw_Button_ChanelF", {}, {"AT+CHANNEL?\r\n"}, 300,
        "OK+CHANNEL:0-7\r\nOK+CHANNEL:8, 9 ,10\r\n", queried,
        {"Edit_Chanel1=0-7", "Edit_Chanel2=8, 9 ,10"});
    row("channel query, one channel empties the second", "Lw_Button_ChanelF", {},
        {"AT+CHANNEL?\r\n"}, 300, "OK+CHANNEL:16-23\r\n", queried,
        {"Edit_Chanel1=16-23", "Edit_Chanel2="});
    row("DevEUI query", "Lw_Button_Deveui", {}, {"AT+DEVEUI?\r\n"}, 300,
        "OK+DEVEUI:0011223344556677\r\n", queried, {"Edit_Deveui=0011223344556677"});
    row("AppEUI query", "Lw_Button_Appeui", {}, {"AT+APPEUI?\r\n"}, 300,
        "OK+APPEUI:70B3D57ED0000001\r\n", queried, {"Edit_Appeui=70B3D57ED0000001"});
    row("AppKey query", "Lw_Button_Appkey", {}, {"AT+APPKEY?\r\n"}, 300,
        "OK+APPKEY:000102030405060708090A0B0C0D0E0F\r\n", queried,
        {"Edit_Appkey=000102030405060708090A0B0C0D0E0F"});
}

void TestModule::exchange()
{
    QFETCH(QString, button);
    QFETCH(QStringList, inputs);
    QFETCH(QByteArrayList, commands);
    QFETCH(int, pause);
    QFETCH(QByteArray, answer);
    QFETCH(QString, endStatus);
    QFETCH(QStringList, filled);

    openPort();
    fill(typedBefore + inputs);
    // The answer fills the asked-for widgets and no others.
    QStringList expected = shown();
    for (const QString &pair : filled)
        expected[moduleInputs.indexOf(pair.section('=', 0, 0))] = pair;
    const QByteArrayList lines = exchangeLines(commands);
    auto *pressed = widget<QPushButton>(window, qPrintable(button));
    DialogRecorder boxes(QMessageBox::Yes);
    ModulePlayer player(pty, window, pressed, commands.first(), answer);
    QVERIFY(clickNamed(window, qPrintable(button)));
    QVERIFY(pressed->isEnabled());
    QCOMPARE(boxes.boxes().size(), button == "Button_Default_LW" ? 1 : 0);

    QTRY_COMPARE_WITH_TIMEOUT(player.lines.size(), lines.size(), 5000);
    QTest::qWait(200); // nothing else follows
    QCOMPARE(player.lines, lines);
    QCOMPARE(player.rest, QByteArray());
    QCOMPARE(player.sentMs.size(), lines.size());
    for (int i = 0; i + 1 < lines.size(); ++i) {
        // The closing line reaches the device after the slot has given the button back.
        const QString after = QString::fromUtf8(lines.at(i).trimmed());
        QVERIFY2(!player.buttonEnabled.at(i), qPrintable("button enabled at " + after));
        // On the wire a busy moment (painting the disabled button) can hold back the first
        // line of a pair and shorten the gap seen there; a third of the pause still tells a
        // pause from none. When sent, the pause is a wait that never ends early, only late.
        const int wait = i == 0 ? 100 : pause;
        const qint64 onWire = player.wireMs.at(i + 1) - player.wireMs.at(i);
        QVERIFY2(onWire >= wait / 3 && onWire < 3000,
                 qPrintable(QString("%1 ms on the wire after %2").arg(onWire).arg(after)));
        const qint64 sent = player.sentMs.at(i + 1) - player.sentMs.at(i);
        QVERIFY2(sent >= wait - 5 && sent < 3000,
                 qPrintable(QString("sent %1 ms after %2").arg(sent).arg(after)));
    }
    QTRY_COMPARE(status(), endStatus);
    QCOMPARE(shown(), expected);
}

void TestModule::boxAndNothingSent_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("portOpen");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("startStatus");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");

    auto row = [](const char *name, const char *button, bool portOpen, const char *address,
                  const char *status, const char *title, const char *text) {
        QTest::newRow(name) << QString(button) << portOpen << QString(address) << QString(status)
                            << QString(title) << QString(text);
    };
    // The port check comes first: a known address makes no difference.
    row("port closed, band set", "Lw_Button_Band", false, "00000001", "设置参数", "错误",
        "请先打开串口!");
    row("port closed, factory settings asks nothing", "Button_Default_LW", false, "00000001",
        "恢复出厂默认值", "错误", "请先打开串口!");
    row("no address, AppKey query", "Lw_Button_Appkey", true, "", "查询参数", "错误",
        "设备地址未获取到!");
    row("no address, one-key set", "pushButton_lsetting", true, "", "一键设置参数", "错误",
        "设备地址未获取到!");
    row("factory settings answered No", "Button_Default_LW", true, "00000001", "恢复出厂默认值",
        "提示", "是否把LoRaWAN模块参数恢复到出厂设置?");
}

void TestModule::boxAndNothingSent()
{
    QFETCH(QString, button);
    QFETCH(bool, portOpen);
    QFETCH(QString, address);
    QFETCH(QString, startStatus);
    QFETCH(QString, title);
    QFETCH(QString, text);
    const bool question = title == "提示";

    if (portOpen)
        openPort();
    widget<QLineEdit>(window, "lineEditAddr")->setText(address);
    // With the port closed the terminal tab is the only place a send would still show.
    widget<QCheckBox>(window, "checkBox_active")->setChecked(true);
    DialogRecorder boxes(QMessageBox::No);
    QVERIFY(clickNamed(window, qPrintable(button)));
    QCOMPARE(boxes.boxes().size(), 1);
    const RecordedBox box = boxes.boxes().first();
    QCOMPARE(box.title, title);
    QCOMPARE(box.text, text);
    QCOMPARE(box.icon, question ? QMessageBox::Warning : QMessageBox::Critical);
    QCOMPARE(box.buttons,
             question ? QMessageBox::Yes | QMessageBox::No
                      : QMessageBox::StandardButtons(QMessageBox::Yes));
    if (question)
        QCOMPARE(box.defaultButton, QMessageBox::No);
    QCOMPARE(status(), startStatus);
    QVERIFY(widget<QPushButton>(window, qPrintable(button))->isEnabled());
    QCOMPARE(pty->readFor(300), QByteArray());
    QCOMPARE(widget<QTextBrowser>(window, "text_Serial")->toPlainText(), QString());
}

void TestModule::oneKeySetWhileLive_data()
{
    QTest::addColumn<QByteArray>("muted");
    QTest::addColumn<QString>("verdict");

    QTest::newRow("five answers") << QByteArray() << QString("一键设置参数成功！");
    QTest::newRow("save unanswered") << QByteArray("SAVE") << QString("一键设置参数失败！！");
}

// Against the simulated sensor with live measurement running: the lines, the verdict, and
// polling held off the line from the first module line to the last and resumed after it.
void TestModule::oneKeySetWhileLive()
{
    QFETCH(QByteArray, muted);
    QFETCH(QString, verdict);
    const QByteArrayList lines
        = exchangeLines({"AT+BAND=3\r\n", "AT+HEART=0\r\n", "AT+CHANNEL=1, 2 ,3\r\n",
                         "AT+CHANNEL=16-23\r\n", "AT+SAVE\r\n", "AT+RESET\r\n"});

    SimulatedSensor sensor;
    sensor.setAddress(0x1a2b3c4d);
    ModuleFaults faults;
    if (!muted.isEmpty())
        faults.mutedKeys = {muted};
    sensor.radioModule().setFaults(faults);
    PtyDevice device(&sensor);
    QVERIFY(device.open());
    openPort("1a2b3c4d", device.slaveName());
    fill({"BandCombo=EU868", "HeartCombo=关闭心跳", "Edit_Chanel1=1, 2 ,3", "Edit_Chanel2=16-23"});
    QVERIFY(clickNamed(window, "pushButtonStart"));
    QTRY_VERIFY(sensor.receivedCount(0x03) >= 3);
    QTRY_VERIFY(widget<QLabel>(window, "label_T")->text() != "0");

    // Everything the sensor receives from here on, module lines (true) and frames in one list.
    QList<QPair<bool, QByteArray>> log;
    auto *pressed = widget<QPushButton>(window, "pushButton_lsetting");
    bool enabledDuring = true;
    connect(&sensor, &SimulatedSensor::lineReceived, [&](const QByteArray &line) {
        log.append({true, line});
        if (line == lines.at(1))
            enabledDuring = pressed->isEnabled();
    });
    connect(&sensor, &SimulatedSensor::frameReceived, [&](const QByteArray &frame) {
        log.append({false, frame});
    });
    auto isPoll = [&](int i) {
        return !log[i].first && log[i].second.size() > 6 && quint8(log[i].second[6]) == 0x03;
    };
    auto pollsAfterLastLine = [&] {
        int polls = 0;
        for (int i = log.size() - 1; i >= 0 && !log[i].first; --i)
            polls += isPoll(i) ? 1 : 0;
        return polls;
    };
    pressed->click();
    QVERIFY(!enabledDuring);
    QVERIFY(pressed->isEnabled());
    QCOMPARE(status(), verdict);
    QCOMPARE(widget<QPushButton>(window, "pushButtonStart")->text(), QString("停止"));
    QTRY_COMPARE(sensor.receivedLines().size(), lines.size());
    QTRY_VERIFY_WITH_TIMEOUT(pollsAfterLastLine() >= 2, 5000);
    QVERIFY(clickNamed(window, "pushButtonStart"));

    QByteArrayList moduleLines;
    for (int i = 0; i < log.size(); ++i) {
        if (log[i].first)
            moduleLines << log[i].second;
        else if (!moduleLines.isEmpty() && moduleLines.size() < lines.size())
            QVERIFY2(!isPoll(i), "polled during the exchange");
    }
    QCOMPARE(moduleLines, lines);
}

QTEST_MAIN(TestModule)
#include "tst_module.moc"
