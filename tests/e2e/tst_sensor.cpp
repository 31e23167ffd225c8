// The window end to end, the test or the simulated sensor playing the device on a pseudo-terminal:
// what each button reads and sends, refusals, where replies land, live measurement and its pauses,
// the one-key sets, the acknowledgements that move the port or the address, the module exchanges.
#include "sim/ptydevice.h"
#include "sim/simulatedsensor.h"
#include "windowfixture.h"

namespace {

// "button status input=value... code+data": what each parameter button sends (the core tests
// pin whole frames). The first nine are the one-key set's, in its order.
const QStringList buttons = {
    "Dev_Button_Send 设置参数 Combo_Send=1 6901",
    "Dev_Button_Zero 设置参数 Combo_Zero=1 0501",
    "Dev_Button_Auto 设置参数 Edit_Auto=10 Edit_Keep=30 0c00100030",
    "Dev_Button_Sleep 设置参数 Edit_Sleep=30 560030",
    "pushButtonAlarm 设置参数 Edit_Alarm=12.34 6b1234",
    "Dev_Button_Sport 设置参数 Edit_Sport=0.4 5305",
    "Dev_Button_Yu 设置参数 Edit_Yu=200 420200",
    "Dev_Button_Instal 设置参数 Combo_Instal=1 6a01",
    "Dev_Button_Date 设置参数 lineEdit_y=2025 lineEdit_m=03 lineEdit_d=01 lineEdit_h=12 "
    "lineEdit_mm=34 lineEdit_s=56 65250301123456",
    "Dev_Button_Addr 设置参数 Edit_Addr=1A2B3C4D 0f1a2b3c4d",
    "Dev_Button_Baud 设置参数 Combo_Baud=3 0b05",
    "Dev_Button_ZeroF 查询参数 0d",
    "Dev_Button_SleepF 查询参数 57",
    "Dev_Button_DateF 查询参数 66",
    "Dev_Button_Save 设置参数 0a",
};
QStringList inputsOf(const QString &button)
{
    return button.split(' ').mid(2, button.count(' ') - 2);
}
QByteArray codeAndData(const QByteArray &frame)
{
    return frame.mid(6, frame.size() - 7).toHex();
}

// Angles -12.3456, 123.4567, -0.1000; accelerations 0.981234, -1, 0.000001; 25.50 °C; power 87.
const QByteArray liveA = QByteArray::fromHex(
    "772300000001831012345601234567f000100000981234110000000000000100255057df");
// Angles 0.1000, -0.0001, 9.0000; accelerations 1, 0, -0.5; -5.00 °C; power 100.
const QByteArray liveB = QByteArray::fromHex(
    "7723000000018300001000100000010009000001000000000000001050000010050064ab");
const QByteArray ack = QByteArray::fromHex("7707000000016971");
const QStringList lockedWhileLive
    = { "pushButtonRead", "pushButtonDelete", "iapDownLoadButton", "comboBoxGayo" };

// Module buttons: "button|inputs|commands|pause|answer|status|filled", lists split at ';'. An
// exchange opens with "ATE1", sends each command followed by the pause, and closes with "ATE0";
// the test answers the first command.
const QStringList exchanges = {
    "Lw_Button_Band|BandCombo=3|AT+BAND=3|300|OK+BAND|频段设置成功！|",
    "Lw_Button_Heart|HeartCombo=1|AT+HEART=1|300|OK+HEART|心跳设置成功！|",
    "Lw_Button_Chanel|Edit_Chanel1=1, 2 ,3;Edit_Chanel2= 8-15|"
    "AT+CHANNEL=1, 2 ,3;AT+CHANNEL= 8-15|300|OK+CHANNEL|信道设置成功！|",
    "Button_Save_LW||AT+SAVE;AT+RESET|100|OK+SAVE|保存设置成功！|",
    "Button_Default_LW||AT+RENEW|300|OK+RENEW|恢复出厂设置成功！|",
    "Lw_Button_BandF||AT+BAND?|300|OK+BAND:04|查询成功！|BandCombo=4",
    "Lw_Button_HeartF||AT+HEART?|300|OK+HEART:01|查询成功！|HeartCombo=1",
    "Lw_Button_ChanelF||AT+CHANNEL?|300|OK+CHANNEL:0-7;OK+CHANNEL:8, 9|查询成功！|"
    "Edit_Chanel1=0-7;Edit_Chanel2=8, 9",
    "Lw_Button_ChanelF||AT+CHANNEL?|300|OK+CHANNEL:16-23|查询成功！|"
    "Edit_Chanel1=16-23;Edit_Chanel2=",
    "Lw_Button_Deveui||AT+DEVEUI?|300|OK+DEVEUI:0011223344556677|查询成功！|"
    "Edit_Deveui=0011223344556677",
    "Lw_Button_Appeui||AT+APPEUI?|300|OK+APPEUI:70B3D57ED0000001|查询成功！|"
    "Edit_Appeui=70B3D57ED0000001",
    "Lw_Button_Appkey||AT+APPKEY?|300|OK+APPKEY:000102030405060708090A0B0C0D0E0F|查询成功！|"
    "Edit_Appkey=000102030405060708090A0B0C0D0E0F",
};
// Every module input, and what it holds before each exchange.
const QStringList typedBefore = { "BandCombo=0", "HeartCombo=0", "Edit_Chanel1=a", "Edit_Chanel2=b",
    "Edit_Deveui=d", "Edit_Appeui=e", "Edit_Appkey=k" };

QStringList field(const QString &row, int i)
{
    return row.section('|', i, i).split(';', Qt::SkipEmptyParts);
}
QByteArray lines(const QStringList &commands) // of a whole exchange
{
    return (QStringList { "ATE1" } + commands + QStringList { "ATE0", "" }).join("\r\n").toUtf8();
}

} // namespace

class TestSensor : public QObject, public WindowFixture {
    Q_OBJECT
private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    // Each parameter button sends the code and data of what its widgets hold, to the address.
    void buttonsReadTheirWidgets()
    {
        openPort("0000abcd");
        DialogRecorder boxes;
        for (const QString &button : buttons) {
            for (const QString &other : buttons) // every other input 0: a wrong read differs
                fill(inputsOf(other).replaceInStrings(QRegularExpression("=.*"), "=0"));
            fill(inputsOf(button));
            click(button.section(' ', 0, 0));
            const QByteArray sent = pty->readFor(300);
            QCOMPARE(status() + ' ' + sent.mid(2, 4).toHex() + ' ' + codeAndData(sent),
                button.section(' ', 1, 1) + " 0000abcd " + button.section(' ', -1));
        }
        QCOMPARE(boxes.boxes, QStringList());
    }

    // Refused: a box, nothing sent, the button still enabled, live measurement not started.
    // "port|button|status|box": the port closed, open, or open with an address.
    void refusals_data()
    {
        QTest::addColumn<QString>("row");
        const QString closed = "|错误|请先打开串口!|3|4000|0",
                      none = "|错误|设备地址未获取到!|3|4000|0";
        const QString factory = "|提示|是否把%1参数恢复到出厂设置?|2|14000|10000"; // answered No
        for (const QString &row : { "closed|Dev_Button_Sleep|设置参数" + closed,
                 "closed|pushButton_ssetting|一键设置参数" + closed,
                 "closed|getAddrButton|获取设置地址" + closed, "closed|pushButtonStart|" + closed,

                 "closed|Button_Default_LW|恢复出厂默认值" + closed,
                 "open|Dev_Button_DateF|查询参数" + none, "open|Dev_Button_Default|设置参数" + none,
                 "open|pushButtonStart|" + none, "open|Lw_Button_Appkey|查询参数" + none,
                 "open|pushButton_lsetting|一键设置参数" + none,
                 "address|Dev_Button_Default|设置参数" + factory.arg("传感器"),
                 "address|Button_Default_LW|恢复出厂默认值" + factory.arg("LoRaWAN模块") })
            QTest::newRow(qPrintable(row.section('|', 0, 1))) << row;
    }

    void refusals()
    {
        QFETCH(QString, row);
        if (!row.startsWith("closed"))
            openPort(row.startsWith("address") ? "00000001" : "");
        window->statusBar()->clearMessage();
        SendLog log(window); // shows sends even with the port closed
        DialogRecorder boxes(QMessageBox::No);
        click(row.section('|', 1, 1));
        QTRY_COMPARE(boxes.boxes, QStringList { row.section('|', 3) });
        QCOMPARE(status(), row.section('|', 2, 2));
        QCOMPARE(pty->readFor(300).toHex() + QByteArray::number(log.sends.size()), QByteArray("0"));
        QVERIFY(widget(row.section('|', 1, 1))->isEnabled());
        QCOMPARE(text("pushButtonStart"), QString("开始"));
    }

    void repliesReachTheirWidgets_data()
    {
        QTest::addColumn<QString>("row"); // "chunks|changes|status", lists split at ';'
        QTest::newRow("sleep in two chunks") << "7709000000015701;2082|Edit_Sleep=120|查询成功！";
        QTest::newRow("zero mode") << "7708000000018dff95|Combo_Zero=1|查询成功！";
        QTest::newRow("sleep and date in one chunk")
            << "77090000000157003091770d000000016625030112345639|Edit_Sleep=30;lineEdit_y=25;"
               "lineEdit_m=03;lineEdit_d=01;lineEdit_h=12;lineEdit_mm=34;lineEdit_s=56|查询成功！";
        QTest::newRow("address")
            << "770b000000001f123456783e|lineEditAddr=12345678;Edit_Addr=12345678|";
        QTest::newRow("acknowledgement") << QString(ack.toHex() + "||设置成功！");
        QTest::newRow("live reply") << QString(liveB.toHex() + "|label_Z=9.0000;label_B=100|");
        // These leave nothing behind: an acknowledgement after them gets through.
        QTest::newRow("stray byte before an acknowledgement") << QString("00" + ack.toHex() + "||");
        QTest::newRow("sleep reply with a wrong checksum") << "77090000000157003092||";
        // Kept past 500 ms, the 0x77 would make the ack read as a frame of 0x77 + 1 bytes.
        QTest::newRow("lone header") << "77;;;;;;;||";
    }

    void repliesReachTheirWidgets()
    {
        QFETCH(QString, row);
        openPort("");
        const QStringList before = { "Edit_Sleep=", "Combo_Zero=0",
            "lineEdit_y=", "lineEdit_s=", "Edit_Addr=", "label_Z=0", "label_B=0" };
        fill(before);
        window->statusBar()->clearMessage();
        for (const QString &chunk : row.section('|', 0, 0).split(';')) {
            pty->write(QByteArray::fromHex(chunk.toLatin1()));
            QTest::qWait(100);
        }
        const QStringList changes = row.section('|', 1, 1).split(';', Qt::SkipEmptyParts);
        QTRY_COMPARE(
            shown(changes.isEmpty() ? before : changes), changes.isEmpty() ? before : changes);
        QCOMPARE(status(), row.section('|', 2, 2));
        if (status().isEmpty()) {
            pty->write(ack);
            QTRY_COMPARE(status(), QString("设置成功！"));
        }
    }

    void liveStartPollsStopEndsRestartClears()
    {
        openPort("12345678");
        fill({ "comboBoxGayo=2" }); // accelerations
        SendLog log(window);
        click("pushButtonStart");
        QCOMPARE(text("pushButtonStart") + '|' + status(), QString("停止|更新实时数据"));
        QCOMPARE(enabled(lockedWhileLive), QStringList());
        QTest::qWait(1000);
        click("getAddrButton"); // a new address read: polls keep the one they started with
        pty->write(QByteArray::fromHex("770b000000001f0000abcda2"));
        QTest::qWait(500);
        pty->write(liveA + liveB.left(10)); // and the start of another
        const QStringList labels = { "label_X", "label_Y", "label_Z", "label_T", "label_B" };
        QTRY_COMPARE(shown(labels).join(' ').remove("label_"),
            QString("X=0.981234 Y=-1.000000 Z=0.000001 T=25.50 B=87"));
        click("pushButtonStart");
        QCOMPARE(text("pushButtonStart") + '|' + status(), QString("开始|停止更新实际数据"));
        QCOMPARE(enabled(lockedWhileLive), lockedWhileLive);
        // Polls to the address taken at the start: one at once, then every 100 ms, the repeats as
        // well as the first.
        QCOMPARE(log.select(false).size(), 1); // the address request
        const QList<SendLog::Send> polls = log.select(true);
        for (const SendLog::Send &send : polls)
            QCOMPARE(send.bytes.toHex(), QByteArray("770712345678031e"));
        QVERIFY2(polls.size() > 10 && polls.first().ms < 60, "no poll at the start");
        QCOMPARE(shortestIn(SendLog::gaps(polls.mid(1)), 90, 125), QString());
        const int sent = log.sends.size();
        QTest::qWait(500);
        QCOMPARE(log.sends.size(), sent);
        click("pushButtonStart"); // a new start clears the readings
        QCOMPARE(shown(labels).join(' ').remove("label_"), QString("X=0 Y=0 Z=0 T=0 B=0"));
    }

    // Polling stops for a command and resumes 200 ms after it; factory defaults sends its two
    // frames 100 ms apart, with no poll between them.
    void livePollingPausesForCommands()
    {
        openPort();
        SendLog log(window);
        DialogRecorder boxes(QMessageBox::Yes);
        click("pushButtonStart");
        for (const char *button :
            { "Dev_Button_Sleep", "Dev_Button_Default", "Dev_Button_Default" }) {
            QTest::qWait(400);
            click(button);
        }
        QTest::qWait(600);
        click("pushButtonStart");
        const QList<SendLog::Send> &s = log.sends;
        QByteArray codes;
        QList<qint64> followUps, resumes;
        for (int i = 1; i + 1 < s.size(); ++i) {
            if (s[i].isPoll())
                continue;
            codes += s[i].bytes.at(6);
            if (!s[i - 1].isPoll())
                followUps << s[i].ms - s[i - 1].ms;
            if (s[i + 1].isPoll())
                resumes << s[i + 1].ms - s[i].ms;
        }
        QCOMPARE(codes.toHex(), QByteArray("560e680e68"));
        QCOMPARE(QString::number(followUps.size()) + shortestIn(followUps, 95, 200), QString("2"));
        QCOMPARE(QString::number(resumes.size()) + shortestIn(resumes, 190, 290), QString("3"));
    }

    // Nine frames 200 ms apart, the button disabled meanwhile; success needs nine acknowledgements.
    void oneKeySet_data()
    {
        QTest::addColumn<bool>("live"); // polling goes on during the run and after it
        QTest::addColumn<int>("mutedCode");
        QTest::newRow("idle") << false << 0;
        QTest::newRow("while live") << true << 0;
        // An acknowledgement from before the run must not make up for the missing one.
        QTest::newRow("installation unacknowledged") << false << 0x6a;
    }

    void oneKeySet()
    {
        QFETCH(bool, live);
        QFETCH(int, mutedCode);
        SimulatedSensor sensor;
        PtyDevice device(&sensor);
        QVERIFY(device.open());
        openPort("00000001", device.slaveName());
        QStringList expected; // the first nine; the new address must not be used
        for (const QString &button : buttons) {
            fill(inputsOf(button));
            expected << button.section(' ', -1);
        }
        if (live)
            click("pushButtonStart");
        click("Dev_Button_Save");
        QTRY_COMPARE(status(), QString("设置成功！"));
        SensorFaults faults;
        faults.mutedCommands = { quint8(mutedCode) };
        sensor.setFaults(faults);
        SendLog log(window, widget("pushButton_ssetting"));
        click("pushButton_ssetting");
        QTRY_COMPARE_WITH_TIMEOUT(
            status(), QString(mutedCode ? "一键设置参数失败！！" : "一键设置参数成功!"), 10000);
        QTRY_VERIFY(widget("pushButton_ssetting")->isEnabled());
        const QList<SendLog::Send> run = log.select(false);
        QStringList sent;
        for (const SendLog::Send &send : run)
            sent << (send.watchedEnabled ? "<button enabled>" : codeAndData(send.bytes));
        QCOMPARE(sent, expected.mid(0, 9));
        QCOMPARE(shortestIn(SendLog::gaps(run), 190, 250), QString());
        if (live) {
            QVERIFY2(run.last().at - run.first().at - 8 >= 3, "too few polls during the run");
            QTRY_VERIFY(log.sends.size() - run.last().at > 3);
            QCOMPARE(text("pushButtonStart"), QString("停止"));
        }
    }

    // Fetching the address during the one-key set empties the address field (and here no
    // answer fills it again): the rest of the set and live polling keep the address they had.
    void exchangeKeepsItsAddress()
    {
        openPort("12345678");
        click("pushButtonStart");
        QTimer::singleShot(500, window, [this] { click("getAddrButton"); });
        click("pushButton_ssetting"); // returns when the set is done
        QTest::qWait(300);
        QCOMPARE(text("lineEditAddr"), QString());
        const QByteArray bytes = pty->readAvailable();
        QStringList elsewhere;
        int sets = 0, pollsAfter = 0;
        for (int at = 0; at + 6 < bytes.size(); at += quint8(bytes.at(at + 1)) + 1) {
            const QByteArray frame = bytes.mid(at, quint8(bytes.at(at + 1)) + 1);
            sets += frame.at(6) != 0x03 && frame.at(6) != 0x1f;
            pollsAfter += sets == 9 && frame.at(6) == 0x03;
            if (frame.at(6) != 0x1f && frame.mid(2, 4).toHex() != "12345678")
                elsewhere << frame.toHex();
        }
        QCOMPARE(elsewhere, QStringList());
        QCOMPARE(sets, 9);
        QVERIFY(pollsAfter >= 1);
    }

    // Closing the window mid-exchange lets the exchange finish, then closes.
    void closingWaitsForTheExchange()
    {
        openPort();
        bool closed = true;
        QString said;
        QTimer::singleShot(500, window, [&] {
            closed = window->close();
            said = status();
        });
        click("pushButton_lsetting");
        QVERIFY(!closed);
        QCOMPARE(said, QString("正在完成与设备的交换，完成后关闭窗口……"));
        QByteArray heard;
        QTRY_VERIFY((heard += pty->readAvailable()).endsWith("AT+RESET\r\nATE0\r\n"));
        QTRY_VERIFY(!window->isVisible());
    }

    void baudAckSwitchesThePort()
    {
        openPort();
        fill({ "Combo_Baud=3" });
        click("Dev_Button_Baud");
        QCOMPARE(codeAndData(pty->readAtLeast(9)), QByteArray("0b05"));
        QCOMPARE(pty->speed(), speed_t(B115200)); // until the sensor confirms
        pty->write(QByteArray::fromHex("7707000000018b93"));
        QTRY_COMPARE(text("baudComboBox") + '|' + status(), QString("5|设置成功！")); // 38400
        QTRY_COMPARE(pty->speed(), speed_t(B38400));
    }

    void livePollingFollowsNewAddress()
    {
        SimulatedSensor sensor;
        PtyDevice device(&sensor);
        QVERIFY(device.open());
        openPort("00000001", device.slaveName());
        fill({ "Edit_Addr=1A2B3C4D" });
        click("pushButtonStart");
        click("Dev_Button_Addr");
        QTRY_COMPARE(text("lineEditAddr") + '|' + status(), QString("1A2B3C4D|设置成功！"));
        sensor.clearCounters();
        QTRY_VERIFY(sensor.receivedCount(0x03) >= 3);
        for (const QByteArray &frame : sensor.receivedFrames())
            QCOMPARE(frame.mid(2, 4).toHex(), QByteArray("1a2b3c4d"));
    }

    // All in one window, so that the pauses of several exchanges can be compared.
    void moduleExchanges()
    {
        openPort();
        DialogRecorder boxes(QMessageBox::Yes); // the factory question
        QList<qint64> opening, saving, others;
        for (const QString &row : exchanges) {
            const QString button = row.section('|', 0, 0);
            fill(typedBefore + field(row, 1));
            QStringList expected = shown(typedBefore); // the answer fills these and no others
            for (const QString &pair : field(row, 6))
                expected.replaceInStrings(
                    QRegularExpression('^' + pair.section('=', 0, 0) + "=.*"), pair);
            QTimer device; // answers the first command
            QByteArray heard;
            const QByteArray all = lines(field(row, 2)), asked = all.left(all.indexOf('\n', 6) + 1);
            QObject::connect(&device, &QTimer::timeout, [&] {
                const QByteArray bytes = pty->readAvailable();
                if (!bytes.isEmpty() && (heard += bytes) == asked)
                    pty->write(field(row, 4).join("\r\n").toUtf8() + "\r\n");
            });
            device.start(1);
            SendLog log(window, widget(button));
            click(button);
            QTRY_VERIFY2(widget(button)->isEnabled(), qPrintable(row));
            QTRY_COMPARE(status(), row.section('|', 5, 5));
            QTest::qWait(100); // nothing else follows
            QCOMPARE(heard, all);
            QCOMPARE(shown(typedBefore), expected);
            for (const SendLog::Send &send : log.sends)
                QVERIFY2(!send.watchedEnabled, qPrintable(row)); // till after the last line
            QList<qint64> gaps = SendLog::gaps(log.sends);
            opening << gaps.takeFirst();
            (row.section('|', 3, 3) == "100" ? saving : others) << gaps;
        }
        QCOMPARE(shortestIn(opening, 95, 125) + shortestIn(saving, 95, 200)
                + shortestIn(others, 295, 400),
            QString());
    }

    // Five counted answers make a success; polling stops for the exchange and resumes after it.
    void moduleOneKeySetWhileLive_data()
    {
        QTest::addColumn<QByteArray>("muted");
        QTest::newRow("five answers") << QByteArray();
        QTest::newRow("save unanswered") << QByteArray("SAVE");
    }

    void moduleOneKeySetWhileLive()
    {
        QFETCH(QByteArray, muted);
        SimulatedSensor sensor;
        ModuleFaults faults;
        faults.mutedKeys = { muted };
        sensor.radioModule().setFaults(faults);
        PtyDevice device(&sensor);
        QVERIFY(device.open());
        openPort("00000001", device.slaveName());
        fill({ "BandCombo=3", "HeartCombo=0", "Edit_Chanel1=1, 2 ,3", "Edit_Chanel2=16-23" });
        click("pushButtonStart");
        SendLog log(window, widget("pushButton_lsetting"));
        click("pushButton_lsetting");
        QTRY_COMPARE_WITH_TIMEOUT(status(),
            QString(muted.isEmpty() ? "一键设置参数成功！" : "一键设置参数失败！！"), 10000);
        QTRY_VERIFY(widget("pushButton_lsetting")->isEnabled());
        QTRY_VERIFY(log.sends.size() > 3 && log.sends.last().isPoll()
            && log.sends.at(log.sends.size() - 2).isPoll());
        QCOMPARE(text("pushButtonStart"), QString("停止"));
        // The lines, the button disabled all along, and from the first line to the last no poll.
        const QList<SendLog::Send> sent = log.select(false);
        QByteArray bytes;
        for (const SendLog::Send &line : sent)
            bytes += line.watchedEnabled ? "<button enabled>" : line.bytes;
        QCOMPARE(sent.last().at - sent.first().at + 1, sent.size());
        QCOMPARE(bytes,
            lines({ "AT+BAND=3", "AT+HEART=0", "AT+CHANNEL=1, 2 ,3", "AT+CHANNEL=16-23", "AT+SAVE",
                "AT+RESET" }));
        QCOMPARE(shortestIn(SendLog::gaps(sent.mid(1, 6)), 295, 400), QString());
    }
};

QTEST_MAIN(TestSensor)
#include "tst_sensor.moc"
