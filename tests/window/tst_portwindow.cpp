// Opening and closing the port, the terminal tab and losing the device, through a real
// pseudo-terminal.
#include "app/mainwindow.h"
#include "dialogrecorder.h"
#include "pseudoterminal.h"
#include "windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

#include <sys/resource.h>

class TestPortWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void openFailureWarns();
    void openAndCloseSetWidgets();
    void closeEndsLiveAndTransfer();
    void switchWhileOpenKeepsPortTexts();
    void extraPortsListedFirstAndRescan();
    void aboutBox();
    void hexSendReachesTheLine_data();
    void hexSendReachesTheLine();
    void textSendAndLogLines();
    void emptySend();
    void inactiveTerminalSendsNothing();
    void clearEmptiesTheLog();
    void deviceMarkupIsShownAsText();
    void waitKeepsReadingThePort();
    void unplugClosesThePort();

private:
    QString status() const { return window->statusBar()->currentMessage(); }
    QStringList logLines() const;
    void activateTerminal(bool hexShow, bool hexSend, bool crlf);

    QTemporaryDir settingsDir;
    MainWindow *window = nullptr;
    PseudoTerminal *pty = nullptr;
};

static double cpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec
           + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void TestPortWindow::initTestCase()
{
    useTemporarySettings(settingsDir.path());
    startLikeMain(*qApp);
}

void TestPortWindow::init()
{
    pty = new PseudoTerminal;
    QVERIFY(pty->isValid());
    window = new MainWindow;
    window->show();
}

void TestPortWindow::cleanup()
{
    delete window;
    window = nullptr;
    delete pty;
    pty = nullptr;
}

QStringList TestPortWindow::logLines() const
{
    const QString text = widget<QTextBrowser>(window, "text_Serial")->toPlainText();
    return text.isEmpty() ? QStringList() : text.split('\n');
}

void TestPortWindow::activateTerminal(bool hexShow, bool hexSend, bool crlf)
{
    widget<QCheckBox>(window, "checkBox_active")->setChecked(true);
    widget<QCheckBox>(window, "checkBox_hexshow")->setChecked(hexShow);
    widget<QCheckBox>(window, "checkBox_hexsend")->setChecked(hexSend);
    widget<QCheckBox>(window, "checkBox_enter")->setChecked(crlf);
}

void TestPortWindow::openFailureWarns()
{
    DialogRecorder boxes(QMessageBox::Yes);
    openPortNamed(window, "/dev/tiltlink-no-such-port");
    QTRY_COMPARE(boxes.boxes().size(), 1);
    const RecordedBox box = boxes.boxes().first();
    QCOMPARE(box.title, QString("串口打开失败"));
    QCOMPARE(box.text, QString("请选择正确的串口或串口被占用!"));
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Yes));
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(status(), QString("串口打开失败"));
    QCOMPARE(widget<QPushButton>(window, "openPortButton")->text(), QString("打开"));
    QVERIFY(widget<QComboBox>(window, "portComboBox")->isEnabled());
}

void TestPortWindow::openAndCloseSetWidgets()
{
    openPortNamed(window, pty->slaveName(), "9600");
    auto *open = widget<QPushButton>(window, "openPortButton");
    QCOMPARE(open->text(), QString("关闭"));
    QCOMPARE(status(), QString("串口已连接"));
    QCOMPARE(widget<QLabel>(window, "label_serial_open")->text(), QString("串口已连接"));
    QCOMPARE(widget<QLabel>(window, "label_serial_open")->palette().color(QPalette::WindowText),
             QColor(Qt::blue));
    QVERIFY(!widget<QComboBox>(window, "portComboBox")->isEnabled());
    QVERIFY(!widget<QComboBox>(window, "baudComboBox")->isEnabled());
    QVERIFY(!widget<QPushButton>(window, "scanPortButton")->isEnabled());
    QVERIFY(widget<QLabel>(window, "label_ttl")->isEnabled());

    // Sending through the terminal proves the line is really open.
    activateTerminal(true, true, false);
    widget<QLineEdit>(window, "lineEdit_Serial")->setText("AA 55");
    clickNamed(window, "pushButton_Send");
    QCOMPARE(pty->readAtLeast(2).toHex(), QByteArray("aa55"));

    widget<QLineEdit>(window, "lineEditAddr")->setText("00000001");
    clickNamed(window, "openPortButton");
    QCOMPARE(open->text(), QString("打开"));
    QCOMPARE(status(), QString("串口已断开"));
    QCOMPARE(widget<QLabel>(window, "label_serial_open")->text(), QString("串口已断开"));
    QVERIFY(widget<QLineEdit>(window, "lineEditAddr")->text().isEmpty());
    QVERIFY(widget<QComboBox>(window, "portComboBox")->isEnabled());
    QVERIFY(widget<QPushButton>(window, "scanPortButton")->isEnabled());
    QVERIFY(!widget<QLabel>(window, "label_ttl")->isEnabled());
}

void TestPortWindow::closeEndsLiveAndTransfer()
{
    openPortNamed(window, pty->slaveName());
    auto *start = widget<QPushButton>(window, "pushButtonStart");
    start->setText("停止");
    for (const char *name : {"pushButtonRead", "pushButtonDelete", "iapDownLoadButton"})
        widget<QPushButton>(window, name)->setEnabled(false);
    widget<QComboBox>(window, "comboBoxGayo")->setEnabled(false);
    clickNamed(window, "openPortButton");
    QCOMPARE(start->text(), QString("开始"));
    for (const char *name : {"pushButtonRead", "pushButtonDelete", "iapDownLoadButton"})
        QVERIFY2(widget<QPushButton>(window, name)->isEnabled(), name);
    QVERIFY(widget<QComboBox>(window, "comboBoxGayo")->isEnabled());

    openPortNamed(window, pty->slaveName());
    auto *download = widget<QPushButton>(window, "iapDownLoadButton");
    download->setText("取消");
    start->setEnabled(false);
    clickNamed(window, "openPortButton");
    QCOMPARE(download->text(), QString("下载"));
    QVERIFY(start->isEnabled());
}

void TestPortWindow::switchWhileOpenKeepsPortTexts()
{
    openPortNamed(window, pty->slaveName());
    auto *language = widget<QLabel>(window, "label_lan");
    QTest::mouseClick(language, Qt::LeftButton);
    QCOMPARE(widget<QPushButton>(window, "openPortButton")->text(), QString("Close"));
    QCOMPARE(widget<QLabel>(window, "label_serial_open")->text(), QString("bond"));
    QCOMPARE(language->text(), QString("语言：中文"));
    // The port really is still open: closing works from the English text.
    clickNamed(window, "openPortButton");
    QCOMPARE(widget<QPushButton>(window, "openPortButton")->text(), QString("Open"));
    QCOMPARE(widget<QLabel>(window, "label_serial_open")->text(), QString("break"));
    QTest::mouseClick(language, Qt::LeftButton);
    QCOMPARE(widget<QPushButton>(window, "openPortButton")->text(), QString("打开"));
}

void TestPortWindow::extraPortsListedFirstAndRescan()
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

void TestPortWindow::aboutBox()
{
    DialogRecorder boxes;
    auto *about = window->findChild<QAction *>("actionabout");
    QVERIFY(about);
    about->trigger();
    QTRY_COMPARE(boxes.boxes().size(), 1);
    QCOMPARE(boxes.boxes().first().title, QString("关于"));
    QCOMPARE(boxes.boxes().first().text, QString("Orvex"));
    QCOMPARE(boxes.boxes().first().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(boxes.boxes().first().icon, QMessageBox::Information);
}

void TestPortWindow::hexSendReachesTheLine_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("crlf");
    QTest::addColumn<QByteArray>("wire");
    QTest::newRow("request with blanks") << "77 07 00 00 00 00 1F 26" << false
                                         << QByteArray("7707000000001f26");
    QTest::newRow("same without blanks") << "7707000000001F26" << false
                                         << QByteArray("7707000000001f26");
    QTest::newRow("digit and blank group") << "7 07" << true << QByteArray("07070d0a");
    QTest::newRow("not hex") << "ZZ" << false << QByteArray("00");
}

void TestPortWindow::hexSendReachesTheLine()
{
    QFETCH(QString, typed);
    QFETCH(bool, crlf);
    QFETCH(QByteArray, wire);
    openPortNamed(window, pty->slaveName());
    activateTerminal(true, true, crlf);
    widget<QLineEdit>(window, "lineEdit_Serial")->setText(typed);
    clickNamed(window, "pushButton_Send");
    QCOMPARE(status(), QString("发送数据"));
    QCOMPARE(pty->readAtLeast(wire.size() / 2).toHex(), wire);
    const QStringList lines = logLines();
    QCOMPARE(lines.size(), 1);
    QRegularExpression shape(QString::fromUtf8("^\\[\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d\\]send→ (.*)$"));
    const QRegularExpressionMatch match = shape.match(lines.first());
    QVERIFY2(match.hasMatch(), qPrintable(lines.first()));
    QByteArray spaced;
    for (int i = 0; i < wire.size(); i += 2)
        spaced += (i ? " " : "") + wire.mid(i, 2);
    QCOMPARE(match.captured(1), QString::fromLatin1(spaced));
}

void TestPortWindow::textSendAndLogLines()
{
    openPortNamed(window, pty->slaveName());
    activateTerminal(false, false, true);
    widget<QLineEdit>(window, "lineEdit_Serial")->setText("AT+BAND?");
    clickNamed(window, "pushButton_Send");
    QCOMPARE(pty->readAtLeast(10), QByteArray("AT+BAND?\r\n"));

    pty->write(QByteArray("OK+BAND:3\0tail", 14));
    // The sent CR LF breaks the sent line in the log, as a terminal shows it.
    QTRY_VERIFY(logLines().last().contains(QString::fromUtf8("rec← ")));
    QVERIFY(logLines().first().contains(QString::fromUtf8("send→ AT+BAND?")));
    QVERIFY2(logLines().last().endsWith(QString::fromUtf8("rec← OK+BAND:3")),
             qPrintable(logLines().last()));

    const int before = logLines().size();
    widget<QCheckBox>(window, "checkBox_hexshow")->setChecked(true);
    pty->write(QByteArray::fromHex("4f4b00"));
    QTRY_COMPARE(logLines().size(), before + 1);
    QVERIFY2(logLines().last().endsWith(QString::fromUtf8("rec← 4F 4B 00 ")),
             qPrintable(logLines().last()));
}

void TestPortWindow::emptySend()
{
    openPortNamed(window, pty->slaveName());
    activateTerminal(false, false, false);
    clickNamed(window, "pushButton_Send");
    QCOMPARE(logLines().size(), 1);
    QVERIFY(logLines().first().endsWith(QString::fromUtf8("send→ ")));
    QCOMPARE(pty->readFor(150), QByteArray());

    widget<QCheckBox>(window, "checkBox_enter")->setChecked(true);
    clickNamed(window, "pushButton_Send");
    QCOMPARE(pty->readAtLeast(2), QByteArray("\r\n"));
}

void TestPortWindow::inactiveTerminalSendsNothing()
{
    openPortNamed(window, pty->slaveName());
    activateTerminal(true, true, true);
    widget<QCheckBox>(window, "checkBox_active")->setChecked(false);
    widget<QLineEdit>(window, "lineEdit_Serial")->setText("AA");
    clickNamed(window, "pushButton_Send");
    pty->write("OK");
    QCOMPARE(pty->readFor(150), QByteArray());
    QCOMPARE(logLines(), QStringList());
}

void TestPortWindow::clearEmptiesTheLog()
{
    activateTerminal(false, false, false);
    widget<QLineEdit>(window, "lineEdit_Serial")->setText("x");
    clickNamed(window, "pushButton_Send"); // port closed: the echo is still logged
    QCOMPARE(logLines().size(), 1);
    widget<QCheckBox>(window, "checkBox_active")->setChecked(false);
    clickNamed(window, "pushButton_clear");
    QCOMPARE(status(), QString("清空串口数据"));
    QCOMPARE(logLines(), QStringList());
}

void TestPortWindow::deviceMarkupIsShownAsText()
{
    openPortNamed(window, pty->slaveName());
    activateTerminal(false, false, false);
    pty->write("<b>bold</b>");
    QTRY_COMPARE(logLines().size(), 1);
    QVERIFY2(logLines().first().endsWith("<b>bold</b>"), qPrintable(logLines().first()));
}

void TestPortWindow::waitKeepsReadingThePort()
{
    openPortNamed(window, pty->slaveName());
    activateTerminal(true, false, false);
    bool timerRan = false;
    QTimer::singleShot(40, this, [this] { pty->write(QByteArray::fromHex("770b")); });
    QTimer::singleShot(120, this, [&] { timerRan = true; });
    QElapsedTimer clock;
    clock.start();
    window->Delay_MSec_Suspend(300);
    const qint64 waited = clock.elapsed();
    QVERIFY(timerRan);
    QCOMPARE(logLines().size(), 1);
    QVERIFY(logLines().first().endsWith(QString::fromUtf8("rec← 77 0B ")));
    QVERIFY2(waited >= 290 && waited < 10000, qPrintable(QString::number(waited)));

    // Waiting must not spin: a busy loop would burn about the whole wait.
    const double cpuBefore = cpuSeconds();
    window->Delay_MSec_Suspend(400);
    const double cpuUsed = cpuSeconds() - cpuBefore;
    QVERIFY2(cpuUsed < 0.2, qPrintable(QString::number(cpuUsed)));
}

void TestPortWindow::unplugClosesThePort()
{
    openPortNamed(window, pty->slaveName());
    widget<QLineEdit>(window, "lineEditAddr")->setText("00000001");
    pty->closeMaster();
    auto *open = widget<QPushButton>(window, "openPortButton");
    QTRY_COMPARE_WITH_TIMEOUT(open->text(), QString("打开"), 5000);
    QCOMPARE(status(), QString("串口已断开：设备已移除"));
    QCOMPARE(widget<QLabel>(window, "label_serial_open")->text(), QString("串口已断开"));
    QVERIFY(widget<QComboBox>(window, "portComboBox")->isEnabled());
    QVERIFY(widget<QLineEdit>(window, "lineEditAddr")->text().isEmpty());

    // Nothing keeps spinning on the dead port afterwards.
    const double cpuBefore = cpuSeconds();
    QTest::qWait(500);
    QVERIFY2(cpuSeconds() - cpuBefore < 0.25, "the window keeps busy after the unplug");

    // The terminal still works on the closed port without writing anywhere.
    activateTerminal(true, true, false);
    widget<QLineEdit>(window, "lineEdit_Serial")->setText("01");
    clickNamed(window, "pushButton_Send");
    QCOMPARE(logLines().size(), 1);
}

QTEST_MAIN(TestPortWindow)
#include "tst_portwindow.moc"
