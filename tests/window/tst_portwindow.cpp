// Opening and closing the port, the terminal tab and losing the device, through a real
// pseudo-terminal.
#include "windowonpty.h"
#include "windowtest.h"

#include <QAction>
#include <QCheckBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextBrowser>

#include <ctime>

// Processor time of the whole process, all threads.
static double cpuSeconds() { return double(std::clock()) / CLOCKS_PER_SEC; }

class TestPortWindow : public QObject, public WindowOnPty
{
    Q_OBJECT

    QString text(const char *name) const { return textOf(window, name); }
    // Open button, port label and status bar message.
    QString portState() const
    {
        return text("openPortButton") + "|" + text("label_serial_open") + "|" + status();
    }
    void open() { openPortNamed(window, pty->slaveName()); }
    QStringList logLines() const
    {
        const QString log = widget<QTextBrowser>(window, "text_Serial")->toPlainText();
        return log.isEmpty() ? QStringList() : log.split('\n');
    }
    void activateTerminal(bool hexShow, bool hexSend, bool crlf)
    {
        widget<QCheckBox>(window, "checkBox_active")->setChecked(true);
        widget<QCheckBox>(window, "checkBox_hexshow")->setChecked(hexShow);
        widget<QCheckBox>(window, "checkBox_hexsend")->setChecked(hexSend);
        widget<QCheckBox>(window, "checkBox_enter")->setChecked(crlf);
    }
    void send(const QString &typed)
    {
        widget<QLineEdit>(window, "lineEdit_Serial")->setText(typed);
        clickNamed(window, "pushButton_Send");
    }

private slots:
    void initTestCase() { startApp(); }
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void openFailureAndAboutBoxes()
    {
        DialogRecorder boxes(QMessageBox::Yes);
        openPortNamed(window, "/dev/tiltlink-no-such-port");
        QTRY_COMPARE(boxes.boxes().size(), 1);
        compareBox(boxes.boxes().first(), "串口打开失败", "请选择正确的串口或串口被占用!",
                   QMessageBox::Warning, QMessageBox::Yes);
        QCOMPARE(portState(), QString("打开|串口已断开|串口打开失败"));
        QVERIFY(widget<QComboBox>(window, "portComboBox")->isEnabled());

        boxes.setAnswer(QMessageBox::NoButton);
        window->findChild<QAction *>("actionabout")->trigger();
        QTRY_COMPARE(boxes.boxes().size(), 2);
        compareBox(boxes.boxes().last(), "关于", "Orvex", QMessageBox::Information, QMessageBox::Ok);
    }

    void openAndClose()
    {
        const QStringList portControls = {"portComboBox", "baudComboBox", "scanPortButton",
                                          "label_ttl"};
        openPortNamed(window, pty->slaveName(), "9600");
        QCOMPARE(portState(), QString("关闭|串口已连接|串口已连接"));
        QCOMPARE(widget<QLabel>(window, "label_serial_open")->palette().color(QPalette::WindowText),
                 QColor(Qt::blue));
        QCOMPARE(enabledOf(window, portControls), QStringList("label_ttl"));

        // Sending through the terminal proves the line is really open.
        activateTerminal(true, true, false);
        send("AA 55");
        QCOMPARE(pty->readAtLeast(2).toHex(), QByteArray("aa55"));

        widget<QLineEdit>(window, "lineEditAddr")->setText("00000001");
        clickNamed(window, "openPortButton");
        QCOMPARE(portState(), QString("打开|串口已断开|串口已断开"));
        QCOMPARE(text("lineEditAddr"), QString());
        QCOMPARE(enabledOf(window, portControls), portControls.mid(0, 3));

        // Closing ends a live measurement and a firmware transfer.
        const QStringList idleOnly = {"pushButtonRead", "pushButtonDelete", "iapDownLoadButton",
                                      "comboBoxGayo"};
        open();
        widget<QAbstractButton>(window, "pushButtonStart")->setText("停止");
        for (const QString &name : idleOnly)
            window->findChild<QWidget *>(name)->setEnabled(false);
        clickNamed(window, "openPortButton");
        QCOMPARE(text("pushButtonStart"), QString("开始"));
        QCOMPARE(enabledOf(window, idleOnly), idleOnly);

        open();
        widget<QAbstractButton>(window, "iapDownLoadButton")->setText("取消");
        widget<QAbstractButton>(window, "pushButtonStart")->setEnabled(false);
        clickNamed(window, "openPortButton");
        QCOMPARE(text("iapDownLoadButton"), QString("下载"));
        QVERIFY(widget<QAbstractButton>(window, "pushButtonStart")->isEnabled());
    }

    void switchWhileOpenKeepsPortTexts()
    {
        open();
        QTest::mouseClick(widget<QLabel>(window, "label_lan"), Qt::LeftButton);
        QCOMPARE(text("openPortButton") + "|" + text("label_serial_open"), QString("Close|bond"));
        QCOMPARE(text("label_lan"), QString("语言：中文"));
        // The port really is still open: closing works from the English text.
        clickNamed(window, "openPortButton");
        QCOMPARE(text("openPortButton") + "|" + text("label_serial_open"), QString("Open|break"));
    }

    void extraPortsListedFirstAndRescan()
    {
        PseudoTerminal other;
        qputenv("TILTLINK_EXTRA_PORTS",
                (pty->slaveName() + ":/dev/tiltlink-no-such-port").toLocal8Bit());
        MainWindow listed;
        auto *ports = widget<QComboBox>(&listed, "portComboBox");
        QCOMPARE(ports->itemText(0), pty->slaveName());
        QCOMPARE(ports->findText("/dev/tiltlink-no-such-port"), -1);

        qputenv("TILTLINK_EXTRA_PORTS", other.slaveName().toLocal8Bit());
        clickNamed(&listed, "scanPortButton");
        qunsetenv("TILTLINK_EXTRA_PORTS");
        QCOMPARE(listed.statusBar()->currentMessage(), QString("寻找可用串口"));
        QCOMPARE(ports->itemText(0), other.slaveName());
        QCOMPARE(ports->findText(pty->slaveName()), -1);
    }

    // The full grouping table is in tst_terminaltext; these rows follow it through the window.
    void hexSendReachesTheLine_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("crlf");
        QTest::addColumn<QString>("logged"); // as sent on the line
        QTest::newRow("request with blanks")
            << "77 07 00 00 00 00 1F 26" << false << "77 07 00 00 00 00 1f 26";
        QTest::newRow("digit and blank group") << "7 07" << true << "07 07 0d 0a";
        QTest::newRow("not hex") << "ZZ" << false << "00";
    }

    void hexSendReachesTheLine()
    {
        QFETCH(QString, typed);
        QFETCH(bool, crlf);
        QFETCH(QString, logged);
        open();
        activateTerminal(true, true, crlf);
        send(typed);
        QCOMPARE(status(), QString("发送数据"));
        const QByteArray wire = QByteArray::fromHex(logged.toLatin1());
        QCOMPARE(pty->readAtLeast(wire.size()), wire);
        QCOMPARE(logLines().size(), 1);
        const QRegularExpression shape("^\\[\\d\\d:\\d\\d:\\d\\d\\.\\d{3}\\]send→ " + logged + "$");
        QVERIFY2(shape.match(logLines().first()).hasMatch(), qPrintable(logLines().first()));
    }

    void textSendAndLogLines()
    {
        open();
        activateTerminal(false, false, true);
        send("AT+BAND?");
        QCOMPARE(pty->readAtLeast(10), QByteArray("AT+BAND?\r\n"));

        pty->write(QByteArray("OK+BAND:3\0tail", 14));
        // The sent CR LF breaks the sent line in the log, as a terminal shows it.
        QTRY_VERIFY(logLines().last().contains("rec← "));
        QVERIFY(logLines().first().contains("send→ AT+BAND?"));
        QVERIFY2(logLines().last().endsWith("rec← OK+BAND:3"), qPrintable(logLines().last()));
        pty->write("<b>bold</b>"); // device markup is shown as text
        QTRY_VERIFY2(logLines().last().endsWith("rec← <b>bold</b>"), qPrintable(logLines().last()));

        const int before = logLines().size();
        widget<QCheckBox>(window, "checkBox_hexshow")->setChecked(true);
        pty->write(QByteArray::fromHex("4f4b00"));
        QTRY_COMPARE(logLines().size(), before + 1);
        QVERIFY2(logLines().last().endsWith("rec← 4F 4B 00 "), qPrintable(logLines().last()));
    }

    void emptySendClearAndInactive()
    {
        open();
        activateTerminal(false, false, false);
        send(QString());
        QCOMPARE(logLines().size(), 1);
        QVERIFY(logLines().first().endsWith("send→ "));
        QCOMPARE(pty->readFor(150), QByteArray());

        widget<QCheckBox>(window, "checkBox_enter")->setChecked(true);
        send(QString());
        QCOMPARE(pty->readAtLeast(2), QByteArray("\r\n"));

        // Switched off, the terminal still clears its log but neither sends nor logs.
        widget<QCheckBox>(window, "checkBox_active")->setChecked(false);
        clickNamed(window, "pushButton_clear");
        QCOMPARE(status(), QString("清空串口数据"));
        QCOMPARE(logLines(), QStringList());
        send("AA");
        pty->write("OK");
        QCOMPARE(pty->readFor(150), QByteArray());
        QCOMPARE(logLines(), QStringList());
    }

    void waitKeepsReadingThePort()
    {
        open();
        activateTerminal(true, false, false);
        bool timerRan = false;
        QTimer::singleShot(40, this, [this] { pty->write(QByteArray::fromHex("770b")); });
        QTimer::singleShot(120, this, [&] { timerRan = true; });
        QElapsedTimer clock;
        clock.start();
        window->Delay_MSec_Suspend(300);
        const qint64 waited = clock.elapsed();
        QVERIFY2(waited >= 290 && waited < 10000, qPrintable(QString::number(waited)));
        QVERIFY(timerRan);
        QCOMPARE(logLines().size(), 1);
        QVERIFY(logLines().first().endsWith("rec← 77 0B "));

        // Waiting must not spin: a busy loop would burn about the whole wait.
        const double cpuBefore = cpuSeconds();
        window->Delay_MSec_Suspend(400);
        const double cpuUsed = cpuSeconds() - cpuBefore;
        QVERIFY2(cpuUsed < 0.2, qPrintable(QString::number(cpuUsed)));
    }

    void unplugClosesThePort()
    {
        open();
        widget<QLineEdit>(window, "lineEditAddr")->setText("00000001");
        pty->closeMaster();
        QTRY_COMPARE_WITH_TIMEOUT(portState(), QString("打开|串口已断开|串口已断开：设备已移除"), 10000);
        QVERIFY(widget<QComboBox>(window, "portComboBox")->isEnabled());
        QCOMPARE(text("lineEditAddr"), QString());

        // Nothing keeps spinning on the dead port afterwards.
        const double cpuBefore = cpuSeconds();
        QTest::qWait(500);
        QVERIFY2(cpuSeconds() - cpuBefore < 0.25, "the window keeps busy after the unplug");

        // The terminal still works on the closed port without writing anywhere.
        activateTerminal(true, true, false);
        send("01");
        QCOMPARE(logLines().size(), 1);
    }
};

QTEST_MAIN(TestPortWindow)
#include "tst_portwindow.moc"
