// The radio-module workflows end to end against the simulated sensor and its module: one-key
// set, factory settings, save, settings that go out and come back, the identifiers, and live
// polling held off the line while the module is spoken to.
#include "app/mainwindow.h"
#include "dialogrecorder.h"
#include "sim/ptydevice.h"
#include "sim/simulatedsensor.h"
#include "windowfixture.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr quint32 deviceAddress = 0x1a2b3c4d;

// The inputs every one-key test types, and the lines they must put on the wire.
const QStringList oneKeyInputs = {"BandCombo=3", "HeartCombo=0", "Edit_Chanel1=1, 2 ,3",
                                  "Edit_Chanel2=16-23"};
const QByteArrayList oneKeyLines = {"ATE1\r\n",           "AT+BAND=3\r\n",
                                    "AT+HEART=0\r\n",     "AT+CHANNEL=1, 2 ,3\r\n",
                                    "AT+CHANNEL=16-23\r\n", "AT+SAVE\r\n",
                                    "AT+RESET\r\n",       "ATE0\r\n"};

ModuleSettings moduleSettings(int band, int heartbeat, const QByteArray &channel1,
                              const QByteArray &channel2)
{
    ModuleSettings settings;
    settings.band = band;
    settings.heartbeat = heartbeat;
    settings.channel1 = channel1;
    settings.channel2 = channel2;
    return settings;
}

const ModuleSettings oneKeySettings = moduleSettings(3, 0, "1, 2 ,3", "16-23");

QString describe(const ModuleSettings &s)
{
    return QString("band %1, heartbeat %2, channels \"%3\" \"%4\"")
        .arg(s.band)
        .arg(s.heartbeat)
        .arg(QString::fromUtf8(s.channel1), QString::fromUtf8(s.channel2));
}

// Everything the device received, sensor frames and module lines in one list, with the
// moment each arrived.
class WireLog : public QObject
{
public:
    struct Entry
    {
        qint64 ms;
        QByteArray bytes;
        bool line; // a module line; else a sensor frame
    };

    explicit WireLog(SimulatedSensor *sensor)
    {
        clock.start();
        connect(sensor, &SimulatedSensor::frameReceived, this, [this](const QByteArray &frame) {
            entries.append({clock.elapsed(), frame, false});
        });
        connect(sensor, &SimulatedSensor::lineReceived, this, [this](const QByteArray &line) {
            entries.append({clock.elapsed(), line, true});
        });
    }

    static bool isPoll(const Entry &entry)
    {
        return !entry.line && entry.bytes.size() > 6 && quint8(entry.bytes.at(6)) == 0x03;
    }

    int lastLine(const QByteArray &line) const
    {
        for (int i = entries.size() - 1; i >= 0; --i) {
            if (entries.at(i).line && entries.at(i).bytes == line)
                return i;
        }
        return -1;
    }

    int pollsAfter(int index) const
    {
        int polls = 0;
        for (int i = index + 1; index >= 0 && i < entries.size(); ++i)
            polls += isPoll(entries.at(i)) ? 1 : 0;
        return polls;
    }

    QList<Entry> entries;

private:
    QElapsedTimer clock;
};

} // namespace

Q_DECLARE_METATYPE(SensorFaults)
Q_DECLARE_METATYPE(ModuleFaults)

class TestModuleWorkflows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void oneKeySetSucceeds_data();
    void oneKeySetSucceeds();
    void oneKeySetFails_data();
    void oneKeySetFails();
    void settingsRoundTrip_data();
    void settingsRoundTrip();
    void identifiersAreRead_data();
    void identifiersAreRead();
    void factorySettingsConfirmed();
    void save_data();
    void save();
    void livePollingPausedDuringExchange_data();
    void livePollingPausedDuringExchange();

private:
    QString status() const { return window->statusBar()->currentMessage(); }
    void fill(const QStringList &inputs);
    bool useSimulator(SimulatedSensor &sensor, PtyDevice &device);
    void startLive(SimulatedSensor &sensor);

    QTemporaryDir settingsDir;
    MainWindow *window = nullptr;
};

void TestModuleWorkflows::initTestCase()
{
    useTemporarySettings(settingsDir.path());
    startLikeMain(*qApp);
}

void TestModuleWorkflows::init()
{
    window = new MainWindow;
    window->show();
}

void TestModuleWorkflows::cleanup()
{
    delete window;
    window = nullptr;
}

// Applies "objectName=value" pairs: a combo box takes the value as its index.
void TestModuleWorkflows::fill(const QStringList &inputs)
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

// Opens the port on the simulated sensor and fetches its address, as a user would.
bool TestModuleWorkflows::useSimulator(SimulatedSensor &sensor, PtyDevice &device)
{
    sensor.setAddress(deviceAddress);
    if (!device.open())
        return false;
    openPortNamed(window, device.slaveName());
    if (widget<QPushButton>(window, "openPortButton")->text() != QString("关闭"))
        return false;
    clickNamed(window, "getAddrButton");
    auto *address = widget<QLineEdit>(window, "lineEditAddr");
    const bool known = QTest::qWaitFor([&] { return address->text() == "1a2b3c4d"; }, 5000);
    sensor.clearCounters();
    return known;
}

void TestModuleWorkflows::startLive(SimulatedSensor &sensor)
{
    QVERIFY(clickNamed(window, "pushButtonStart"));
    QCOMPARE(widget<QPushButton>(window, "pushButtonStart")->text(), QString("停止"));
    QTRY_VERIFY(sensor.receivedCount(0x03) >= 3);
    QTRY_VERIFY(widget<QLabel>(window, "label_T")->text() != "0");
}

void TestModuleWorkflows::oneKeySetSucceeds_data()
{
    QTest::addColumn<bool>("live");
    QTest::addColumn<SensorFaults>("lineFaults");
    QTest::addColumn<ModuleFaults>("moduleFaults");

    QTest::newRow("idle") << false << SensorFaults() << ModuleFaults();
    QTest::newRow("while live measurement runs") << true << SensorFaults() << ModuleFaults();
    SensorFaults late;
    late.delayMs = 100;
    QTest::newRow("answers 100 ms late") << false << late << ModuleFaults();
    ModuleFaults noEcho;
    noEcho.mutedKeys = {"E"};
    QTest::newRow("echo switches unanswered") << false << SensorFaults() << noEcho;
    ModuleFaults noReset;
    noReset.mutedKeys = {"RESET"};
    QTest::newRow("reset unanswered") << false << SensorFaults() << noReset;
}

void TestModuleWorkflows::oneKeySetSucceeds()
{
    QFETCH(bool, live);
    QFETCH(SensorFaults, lineFaults);
    QFETCH(ModuleFaults, moduleFaults);

    SimulatedSensor sensor;
    PtyDevice device(&sensor);
    QVERIFY(useSimulator(sensor, device));
    sensor.setFaults(lineFaults);
    sensor.radioModule().setFaults(moduleFaults);
    fill(oneKeyInputs);
    if (live)
        startLive(sensor);
    sensor.clearCounters();

    auto *button = widget<QPushButton>(window, "pushButton_lsetting");
    bool enabledWhileRunning = true;
    // The run takes about 1.9 s: this looks in the middle of it.
    QTimer::singleShot(600, button, [&] { enabledWhileRunning = button->isEnabled(); });
    QVERIFY(clickNamed(window, "pushButton_lsetting"));
    QVERIFY(!enabledWhileRunning);
    QVERIFY(button->isEnabled());
    QCOMPARE(status(), QString("一键设置参数成功！"));
    QTRY_COMPARE(sensor.receivedLines().size(), oneKeyLines.size());
    QCOMPARE(QByteArrayList(sensor.receivedLines()), oneKeyLines);
    QVERIFY2(sensor.radioModule().settings() == oneKeySettings,
             qPrintable(describe(sensor.radioModule().settings())));
    QVERIFY2(sensor.radioModule().savedSettings() == oneKeySettings,
             qPrintable(describe(sensor.radioModule().savedSettings())));

    if (live) {
        QCOMPARE(widget<QPushButton>(window, "pushButtonStart")->text(), QString("停止"));
        const int polls = sensor.receivedCount(0x03);
        QTRY_VERIFY(sensor.receivedCount(0x03) >= polls + 3);
    }
}

void TestModuleWorkflows::oneKeySetFails_data()
{
    QTest::addColumn<SensorFaults>("lineFaults");
    QTest::addColumn<ModuleFaults>("moduleFaults");
    QTest::addColumn<bool>("earlierBandSet");

    ModuleFaults noSave;
    noSave.mutedKeys = {"SAVE"};
    QTest::newRow("save unanswered") << SensorFaults() << noSave << false;
    ModuleFaults noBand;
    noBand.mutedKeys = {"BAND"};
    QTest::newRow("band unanswered") << SensorFaults() << noBand << false;
    ModuleFaults noChannel;
    noChannel.mutedKeys = {"CHANNEL"};
    QTest::newRow("channels unanswered") << SensorFaults() << noChannel << false;
    ModuleFaults silent;
    silent.silent = true;
    QTest::newRow("module silent") << SensorFaults() << silent << false;
    ModuleFaults garbled;
    garbled.garbled = true;
    QTest::newRow("every key garbled") << SensorFaults() << garbled << false;
    // The answers then no longer start with the letter O.
    SensorFaults noise;
    noise.garbage = "#";
    QTest::newRow("noise before every answer") << noise << ModuleFaults() << false;
    // The count starts afresh with each run: an answer from before it does not make up for
    // the missing save answer.
    QTest::newRow("an earlier band answer does not count") << SensorFaults() << noSave << true;
}

void TestModuleWorkflows::oneKeySetFails()
{
    QFETCH(SensorFaults, lineFaults);
    QFETCH(ModuleFaults, moduleFaults);
    QFETCH(bool, earlierBandSet);

    SimulatedSensor sensor;
    PtyDevice device(&sensor);
    QVERIFY(useSimulator(sensor, device));
    fill(oneKeyInputs);
    if (earlierBandSet) {
        QVERIFY(clickNamed(window, "Lw_Button_Band"));
        QTRY_COMPARE(status(), QString("频段设置成功！"));
        // The closing line is still on its way when the slot returns.
        QTRY_COMPARE(sensor.receivedLines().size(), 3);
    }
    sensor.setFaults(lineFaults);
    sensor.radioModule().setFaults(moduleFaults);
    sensor.clearCounters();

    QVERIFY(clickNamed(window, "pushButton_lsetting"));
    QCOMPARE(status(), QString("一键设置参数失败！！"));
    QVERIFY(widget<QPushButton>(window, "pushButton_lsetting")->isEnabled());
    QTRY_COMPARE(sensor.receivedLines().size(), oneKeyLines.size());
    QCOMPARE(QByteArrayList(sensor.receivedLines()), oneKeyLines);
    // A missing or unreadable answer does not undo the setting.
    QVERIFY2(sensor.radioModule().savedSettings() == oneKeySettings,
             qPrintable(describe(sensor.radioModule().savedSettings())));
}

void TestModuleWorkflows::settingsRoundTrip_data()
{
    QTest::addColumn<int>("band");
    QTest::addColumn<int>("heartbeat");
    QTest::addColumn<QString>("channel1");
    QTest::addColumn<QString>("channel2");
    QTest::addColumn<QString>("bandName");
    QTest::addColumn<QString>("heartbeatName");

    QTest::newRow("EU868, heartbeat off") << 3 << 0 << "0-7" << "8-15" << "EU868" << "关闭心跳";
    QTest::newRow("AU915, heartbeat on, blanks and commas")
        << 6 << 1 << "1, 2 ,3" << " 4 " << "AU915" << "使能心跳";
    QTest::newRow("EU433, empty channels") << 0 << 1 << "" << "" << "EU433" << "使能心跳";
    QTest::newRow("AS923") << 5 << 0 << "48" << "0-71" << "AS923" << "关闭心跳";
}

void TestModuleWorkflows::settingsRoundTrip()
{
    QFETCH(int, band);
    QFETCH(int, heartbeat);
    QFETCH(QString, channel1);
    QFETCH(QString, channel2);
    QFETCH(QString, bandName);
    QFETCH(QString, heartbeatName);

    SimulatedSensor sensor;
    // Different from every row, so that each set is seen to arrive.
    sensor.radioModule().setSettings(moduleSettings(1, heartbeat ? 0 : 1, "x", "y"));
    PtyDevice device(&sensor);
    QVERIFY(useSimulator(sensor, device));
    auto *bandCombo = widget<QComboBox>(window, "BandCombo");
    auto *heartCombo = widget<QComboBox>(window, "HeartCombo");
    auto *edit1 = widget<QLineEdit>(window, "Edit_Chanel1");
    auto *edit2 = widget<QLineEdit>(window, "Edit_Chanel2");

    bandCombo->setCurrentIndex(band);
    heartCombo->setCurrentIndex(heartbeat);
    edit1->setText(channel1);
    edit2->setText(channel2);
    QVERIFY(clickNamed(window, "Lw_Button_Band"));
    QTRY_COMPARE(status(), QString("频段设置成功！"));
    QVERIFY(clickNamed(window, "Lw_Button_Heart"));
    QTRY_COMPARE(status(), QString("心跳设置成功！"));
    QVERIFY(clickNamed(window, "Lw_Button_Chanel"));
    QTRY_COMPARE(status(), QString("信道设置成功！"));
    const ModuleSettings sent = moduleSettings(band, heartbeat, channel1.toUtf8(),
                                               channel2.toUtf8());
    QVERIFY2(sensor.radioModule().settings() == sent,
             qPrintable(describe(sensor.radioModule().settings())));

    bandCombo->setCurrentIndex((band + 1) % 7);
    heartCombo->setCurrentIndex(1 - heartbeat);
    edit1->setText("-");
    edit2->setText("-");
    QVERIFY(clickNamed(window, "Lw_Button_BandF"));
    QTRY_COMPARE(bandCombo->currentText(), bandName);
    QCOMPARE(status(), QString("查询成功！"));
    QVERIFY(clickNamed(window, "Lw_Button_HeartF"));
    QTRY_COMPARE(heartCombo->currentText(), heartbeatName);
    QVERIFY(clickNamed(window, "Lw_Button_ChanelF"));
    QTRY_COMPARE(edit1->text(), channel1);
    QCOMPARE(edit2->text(), channel2);
    QCOMPARE(status(), QString("查询成功！"));
}

void TestModuleWorkflows::identifiersAreRead_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("which"); // 0 DevEUI, 1 AppEUI, 2 AppKey
    QTest::addColumn<QByteArray>("value"); // empty: the module's own, made from the address
    QTest::addColumn<bool>("longKey");
    QTest::addColumn<QString>("expected");

    QTest::newRow("DevEUI from the address") << "Lw_Button_Deveui" << "Edit_Deveui" << 0
                                             << QByteArray() << false << "020000001A2B3C4D";
    QTest::newRow("DevEUI given") << "Lw_Button_Deveui" << "Edit_Deveui" << 0
                                  << QByteArray("70B3D5499A000001") << false
                                  << "70B3D5499A000001";
    QTest::newRow("AppEUI from the address") << "Lw_Button_Appeui" << "Edit_Appeui" << 1
                                             << QByteArray() << false << "010000001A2B3C4D";
    QTest::newRow("AppEUI given") << "Lw_Button_Appeui" << "Edit_Appeui" << 1
                                  << QByteArray("0123456789ABCDEF") << false
                                  << "0123456789ABCDEF";
    QTest::newRow("AppKey from the address") << "Lw_Button_Appkey" << "Edit_Appkey" << 2
                                             << QByteArray() << false
                                             << "40AA9482EC3678268892DC4A347E40EE";
    QTest::newRow("AppKey given") << "Lw_Button_Appkey" << "Edit_Appkey" << 2
                                  << QByteArray("2B7E151628AED2A6ABF7158809CF4F3C") << false
                                  << "2B7E151628AED2A6ABF7158809CF4F3C";
    QTest::newRow("AppKey of 40 digits keeps the first 32")
        << "Lw_Button_Appkey" << "Edit_Appkey" << 2 << QByteArray() << true
        << "40AA9482EC3678268892DC4A347E40EE";
}

void TestModuleWorkflows::identifiersAreRead()
{
    QFETCH(QString, button);
    QFETCH(QString, field);
    QFETCH(int, which);
    QFETCH(QByteArray, value);
    QFETCH(bool, longKey);
    QFETCH(QString, expected);

    SimulatedSensor sensor;
    RadioModule &module = sensor.radioModule();
    if (which == 0)
        module.setDevEui(value);
    else if (which == 1)
        module.setAppEui(value);
    else
        module.setAppKey(value);
    ModuleFaults faults;
    faults.longAppKey = longKey;
    module.setFaults(faults);
    PtyDevice device(&sensor);
    QVERIFY(useSimulator(sensor, device));

    QVERIFY(clickNamed(window, qPrintable(button)));
    QTRY_COMPARE(widget<QLineEdit>(window, qPrintable(field))->text(), expected);
    QCOMPARE(status(), QString("查询成功！"));
    QCOMPARE(QByteArrayList(sensor.receivedLines()).value(1),
             QByteArrayList({"AT+DEVEUI?\r\n", "AT+APPEUI?\r\n", "AT+APPKEY?\r\n"}).at(which));
    // Only the asked-for field is filled.
    int filled = 0;
    for (const char *name : {"Edit_Deveui", "Edit_Appeui", "Edit_Appkey"})
        filled += widget<QLineEdit>(window, name)->text().isEmpty() ? 0 : 1;
    QCOMPARE(filled, 1);
}

void TestModuleWorkflows::factorySettingsConfirmed()
{
    SimulatedSensor sensor;
    sensor.radioModule().setSettings(moduleSettings(5, 0, "x", "y"));
    PtyDevice device(&sensor);
    QVERIFY(useSimulator(sensor, device));
    DialogRecorder boxes(QMessageBox::Yes);
    auto *button = widget<QPushButton>(window, "Button_Default_LW");
    bool enabledWhileRunning = true;
    connect(&sensor, &SimulatedSensor::lineReceived, button, [&](const QByteArray &line) {
        if (line == "AT+RENEW\r\n")
            enabledWhileRunning = button->isEnabled();
    });
    QVERIFY(clickNamed(window, "Button_Default_LW"));
    QCOMPARE(boxes.boxes().size(), 1);
    QCOMPARE(boxes.boxes().first().text, QString("是否把LoRaWAN模块参数恢复到出厂设置?"));
    QVERIFY(!enabledWhileRunning);
    QVERIFY(button->isEnabled());
    QTRY_COMPARE(sensor.receivedLines().size(), 3);
    QCOMPARE(QByteArrayList(sensor.receivedLines()),
             QByteArrayList({"ATE1\r\n", "AT+RENEW\r\n", "ATE0\r\n"}));
    QTRY_COMPARE(status(), QString("恢复出厂设置成功！"));
    QVERIFY2(sensor.radioModule().savedSettings() == ModuleSettings(),
             qPrintable(describe(sensor.radioModule().savedSettings())));

    // What the module now holds is what the window reads back.
    widget<QComboBox>(window, "BandCombo")->setCurrentIndex(5);
    QVERIFY(clickNamed(window, "Lw_Button_BandF"));
    QTRY_COMPARE(widget<QComboBox>(window, "BandCombo")->currentText(), QString("CN470"));
}

void TestModuleWorkflows::save_data()
{
    QTest::addColumn<ModuleFaults>("faults");
    QTest::addColumn<QString>("endStatus");

    QTest::newRow("answered") << ModuleFaults() << QString("保存设置成功！");
    ModuleFaults noSave;
    noSave.mutedKeys = {"SAVE"};
    QTest::newRow("save unanswered") << noSave << QString("保存参数");
}

void TestModuleWorkflows::save()
{
    QFETCH(ModuleFaults, faults);
    QFETCH(QString, endStatus);

    SimulatedSensor sensor;
    PtyDevice device(&sensor);
    QVERIFY(useSimulator(sensor, device));
    RadioModule &module = sensor.radioModule();
    QCOMPARE(module.savedSettings().band, 1);
    widget<QComboBox>(window, "BandCombo")->setCurrentIndex(4);
    QVERIFY(clickNamed(window, "Lw_Button_Band"));
    QTRY_COMPARE(status(), QString("频段设置成功！"));
    QCOMPARE(module.settings().band, 4);
    QCOMPARE(module.savedSettings().band, 1);
    // The closing line is still on its way when the slot returns.
    QTRY_COMPARE(sensor.receivedLines().size(), 3);
    module.setFaults(faults);
    sensor.clearCounters();

    QVERIFY(clickNamed(window, "Button_Save_LW"));
    QVERIFY(widget<QPushButton>(window, "Button_Save_LW")->isEnabled());
    QTRY_COMPARE(sensor.receivedLines().size(), 4);
    QCOMPARE(QByteArrayList(sensor.receivedLines()),
             QByteArrayList({"ATE1\r\n", "AT+SAVE\r\n", "AT+RESET\r\n", "ATE0\r\n"}));
    QTRY_COMPARE(status(), endStatus);
    QCOMPARE(module.savedSettings().band, 4);

    // The saved band outlives a power cycle and is what the window reads back.
    module.powerCycle();
    widget<QComboBox>(window, "BandCombo")->setCurrentIndex(0);
    QVERIFY(clickNamed(window, "Lw_Button_BandF"));
    QTRY_COMPARE(widget<QComboBox>(window, "BandCombo")->currentText(), QString("US915"));
}

void TestModuleWorkflows::livePollingPausedDuringExchange_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QByteArrayList>("lines");

    QTest::newRow("band set") << "Lw_Button_Band" << QStringList {"BandCombo=3"}
                              << QByteArrayList {"ATE1\r\n", "AT+BAND=3\r\n", "ATE0\r\n"};
    QTest::newRow("heartbeat query") << "Lw_Button_HeartF" << QStringList()
                                     << QByteArrayList {"ATE1\r\n", "AT+HEART?\r\n", "ATE0\r\n"};
    QTest::newRow("channel set")
        << "Lw_Button_Chanel" << QStringList {"Edit_Chanel1=0-7", "Edit_Chanel2=8-15"}
        << QByteArrayList {"ATE1\r\n", "AT+CHANNEL=0-7\r\n", "AT+CHANNEL=8-15\r\n", "ATE0\r\n"};
    QTest::newRow("AppKey query") << "Lw_Button_Appkey" << QStringList()
                                  << QByteArrayList {"ATE1\r\n", "AT+APPKEY?\r\n", "ATE0\r\n"};
    QTest::newRow("one-key set") << "pushButton_lsetting" << oneKeyInputs << oneKeyLines;
    QTest::newRow("factory settings")
        << "Button_Default_LW" << QStringList()
        << QByteArrayList {"ATE1\r\n", "AT+RENEW\r\n", "ATE0\r\n"};
    QTest::newRow("save") << "Button_Save_LW" << QStringList()
                          << QByteArrayList {"ATE1\r\n", "AT+SAVE\r\n", "AT+RESET\r\n",
                                             "ATE0\r\n"};
}

void TestModuleWorkflows::livePollingPausedDuringExchange()
{
    QFETCH(QString, button);
    QFETCH(QStringList, inputs);
    QFETCH(QByteArrayList, lines);

    SimulatedSensor sensor;
    PtyDevice device(&sensor);
    QVERIFY(useSimulator(sensor, device));
    fill(inputs);
    startLive(sensor);
    WireLog log(&sensor);
    DialogRecorder boxes(QMessageBox::Yes);
    QVERIFY(clickNamed(window, qPrintable(button)));
    QCOMPARE(widget<QPushButton>(window, "pushButtonStart")->text(), QString("停止"));
    // Polling comes back after the closing line.
    QTRY_VERIFY_WITH_TIMEOUT(log.pollsAfter(log.lastLine("ATE0\r\n")) >= 2, 5000);
    QVERIFY(clickNamed(window, "pushButtonStart"));

    QByteArrayList moduleLines;
    int open = -1;
    for (int i = 0; i < log.entries.size(); ++i) {
        if (!log.entries.at(i).line)
            continue;
        if (open < 0)
            open = i;
        moduleLines.append(log.entries.at(i).bytes);
    }
    QCOMPARE(moduleLines, lines);
    const int close = log.lastLine("ATE0\r\n");
    for (int i = open; i < close; ++i)
        QVERIFY2(!WireLog::isPoll(log.entries.at(i)), qPrintable(QString("poll at %1").arg(i)));
    // Polling resumes 200 ms after the closing line instead of 100 ms; only a lower bound is
    // safe to assert.
    const WireLog::Entry next = log.entries.at(close + 1);
    QVERIFY(WireLog::isPoll(next));
    const qint64 gap = next.ms - log.entries.at(close).ms;
    QVERIFY2(gap >= 120, qPrintable(QString("next poll after %1 ms").arg(gap)));
}

QTEST_MAIN(TestModuleWorkflows)
#include "tst_moduleworkflows.moc"
