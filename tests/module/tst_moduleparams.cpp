// The radio-module buttons end to end, with the test playing the module on a pseudo-terminal:
// the exact lines of each exchange and the pauses between them, what the answers fill in,
// the refusals, and the answers that must change nothing.
#include "app/mainwindow.h"
#include "dialogrecorder.h"
#include "pseudoterminal.h"
#include "windowfixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

namespace {

// Command line -> what the module puts on the line when it arrives.
using Answers = QMap<QByteArray, QByteArray>;

const QString deviceAddress = QStringLiteral("00000001");

// Plays the module on the master side of the pseudo-terminal. Every line the window sends is
// noted with the moment its line end arrived, the status text and the state of the pressed
// button at that moment; lines found in `answers` are answered at once. The moments the window
// sent are taken from the terminal tab, which shows each send just before the bytes go out.
class ModulePlayer : public QObject
{
public:
    struct Line
    {
        QByteArray bytes;
        qint64 ms = 0;
        QString status;
        bool buttonEnabled = true;
    };

    ModulePlayer(PseudoTerminal *pty, QMainWindow *window, QWidget *button = nullptr)
        : pty(pty)
        , window(window)
        , button(button)
        , terminal(widget<QTextBrowser>(window, "text_Serial"))
    {
        // The terminal tab shows each received chunk the moment the window takes it.
        widget<QCheckBox>(window, "checkBox_active")->setChecked(true);
        connect(terminal, &QTextBrowser::textChanged, this, &ModulePlayer::terminalChanged);
        timer.setTimerType(Qt::PreciseTimer);
        timer.setInterval(1);
        connect(&timer, &QTimer::timeout, this, &ModulePlayer::poll);
        clock.start();
        timer.start();
    }

    QByteArrayList sentLines() const
    {
        QByteArrayList list;
        for (const Line &line : lines)
            list.append(line.bytes);
        return list;
    }

    Answers answers;
    QList<qint64> sendMoments;
    // A second answer to the same line, put on the line as soon as the window has taken the
    // first one: the two arrive as separate chunks well within the window's 50 ms.
    Answers followUps;
    QList<Line> lines;
    QByteArray rest; // bytes after the last line end

private:
    void poll()
    {
        rest += pty->readAvailable();
        int end;
        while ((end = rest.indexOf("\r\n")) >= 0) {
            Line line;
            line.bytes = rest.left(end + 2);
            rest.remove(0, end + 2);
            line.ms = clock.elapsed();
            line.status = window->statusBar()->currentMessage();
            line.buttonEnabled = !button || button->isEnabled();
            lines.append(line);
            if (answers.contains(line.bytes)) {
                pendingFollowUp = followUps.value(line.bytes);
                receivesBefore = receives();
                pty->write(answers.value(line.bytes));
            }
        }
    }

    // Received chunks shown in the terminal tab so far.
    int receives() const { return terminal->toPlainText().count(QStringLiteral("rec\u2190")); }

    void terminalChanged()
    {
        const int sends = terminal->toPlainText().count(QStringLiteral("send\u2192"));
        while (sendMoments.size() < sends)
            sendMoments.append(clock.elapsed());
        if (pendingFollowUp.isEmpty() || receives() == receivesBefore)
            return;
        const QByteArray bytes = pendingFollowUp;
        pendingFollowUp.clear();
        pty->write(bytes);
    }

    PseudoTerminal *pty;
    QMainWindow *window;
    QWidget *button;
    QTextBrowser *terminal;
    QByteArray pendingFollowUp;
    int receivesBefore = 0;
    QTimer timer;
    QElapsedTimer clock;
};

struct ButtonInfo
{
    const char *name;
    const char *status;
};

// Every button of the module group that talks to the module, and the status it shows first.
const ButtonInfo moduleButtons[] = {
    {"Lw_Button_Band", "设置参数"},        {"Lw_Button_BandF", "查询参数"},
    {"Lw_Button_Heart", "设置参数"},       {"Lw_Button_HeartF", "查询参数"},
    {"Lw_Button_Chanel", "设置参数"},      {"Lw_Button_ChanelF", "查询参数"},
    {"Lw_Button_Deveui", "查询参数"},      {"Lw_Button_Appeui", "查询参数"},
    {"Lw_Button_Appkey", "查询参数"},      {"pushButton_lsetting", "一键设置参数"},
    {"Button_Default_LW", "恢复出厂默认值"}, {"Button_Save_LW", "保存参数"},
};

} // namespace

class TestModuleParams : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void exchange_data();
    void exchange();
    void queryFillsWidgets_data();
    void queryFillsWidgets();
    void closedPortRefuses_data();
    void closedPortRefuses();
    void missingAddressRefuses_data();
    void missingAddressRefuses();
    void factoryQuestionNotConfirmed_data();
    void factoryQuestionNotConfirmed();
    void unrecognisedAnswerChangesNothing_data();
    void unrecognisedAnswerChangesNothing();
    void answersWithin50msReadAsOne_data();
    void answersWithin50msReadAsOne();
    void oneKeyVerdictCountsParsedAnswers_data();
    void oneKeyVerdictCountsParsedAnswers();

private:
    QString status() const { return window->statusBar()->currentMessage(); }
    void fill(const QStringList &inputs);
    QStringList shown(const QStringList &expected) const;
    void openWithAddress();
    void addButtonRows();

    QTemporaryDir settingsDir;
    MainWindow *window = nullptr;
    PseudoTerminal *pty = nullptr;
};

void TestModuleParams::initTestCase()
{
    useTemporarySettings(settingsDir.path());
    startLikeMain(*qApp);
}

void TestModuleParams::init()
{
    pty = new PseudoTerminal;
    QVERIFY(pty->isValid());
    window = new MainWindow;
    window->show();
}

void TestModuleParams::cleanup()
{
    delete window;
    window = nullptr;
    delete pty;
    pty = nullptr;
}

// Applies "objectName=value" pairs: a combo box takes the value as its index.
void TestModuleParams::fill(const QStringList &inputs)
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

// What the widgets named in "objectName=value" pairs show, in the same form (a combo box by
// its current text).
QStringList TestModuleParams::shown(const QStringList &expected) const
{
    QStringList list;
    for (const QString &pair : expected) {
        const QString name = pair.section('=', 0, 0);
        if (auto *combo = window->findChild<QComboBox *>(name))
            list << name + '=' + combo->currentText();
        else if (auto *edit = window->findChild<QLineEdit *>(name))
            list << name + '=' + edit->text();
        else
            list << "no widget " + name;
    }
    return list;
}

void TestModuleParams::openWithAddress()
{
    openPortNamed(window, pty->slaveName());
    QCOMPARE(widget<QPushButton>(window, "openPortButton")->text(), QString("关闭"));
    widget<QLineEdit>(window, "lineEditAddr")->setText(deviceAddress);
}

void TestModuleParams::exchange_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QByteArrayList>("lines");
    QTest::addColumn<QList<int>>("pauses");
    QTest::addColumn<Answers>("answers");
    QTest::addColumn<QString>("startStatus");
    QTest::addColumn<QString>("endStatus");

    const QString set = QStringLiteral("设置参数");
    const QString query = QStringLiteral("查询参数");

    QTest::newRow("band EU868") << "Lw_Button_Band" << QStringList {"BandCombo=3"}
                                << QByteArrayList {"ATE1\r\n", "AT+BAND=3\r\n", "ATE0\r\n"}
                                << QList<int> {100, 300}
                                << Answers {{"AT+BAND=3\r\n", "OK+BAND\r\n"}} << set
                                << QString("频段设置成功！");
    QTest::newRow("band EU433") << "Lw_Button_Band" << QStringList {"BandCombo=0"}
                                << QByteArrayList {"ATE1\r\n", "AT+BAND=0\r\n", "ATE0\r\n"}
                                << QList<int> {100, 300}
                                << Answers {{"AT+BAND=0\r\n", "OK+BAND\r\n"}} << set
                                << QString("频段设置成功！");
    // Answers to the opening and closing lines are not acted on.
    QTest::newRow("band AU915, echo switches answered")
        << "Lw_Button_Band" << QStringList {"BandCombo=6"}
        << QByteArrayList {"ATE1\r\n", "AT+BAND=6\r\n", "ATE0\r\n"} << QList<int> {100, 300}
        << Answers {{"ATE1\r\n", "OK\r\n"},
                    {"AT+BAND=6\r\n", "OK+BAND\r\n"},
                    {"ATE0\r\n", "OK\r\n"}}
        << set << QString("频段设置成功！");
    QTest::newRow("heartbeat on") << "Lw_Button_Heart" << QStringList {"HeartCombo=1"}
                                  << QByteArrayList {"ATE1\r\n", "AT+HEART=1\r\n", "ATE0\r\n"}
                                  << QList<int> {100, 300}
                                  << Answers {{"AT+HEART=1\r\n", "OK+HEART\r\n"}} << set
                                  << QString("心跳设置成功！");
    QTest::newRow("heartbeat off") << "Lw_Button_Heart" << QStringList {"HeartCombo=0"}
                                   << QByteArrayList {"ATE1\r\n", "AT+HEART=0\r\n", "ATE0\r\n"}
                                   << QList<int> {100, 300}
                                   << Answers {{"AT+HEART=0\r\n", "OK+HEART\r\n"}} << set
                                   << QString("心跳设置成功！");
    QTest::newRow("channels with blanks and commas")
        << "Lw_Button_Chanel" << QStringList {"Edit_Chanel1=1, 2 ,3", "Edit_Chanel2=8-15"}
        << QByteArrayList {"ATE1\r\n", "AT+CHANNEL=1, 2 ,3\r\n", "AT+CHANNEL=8-15\r\n",
                           "ATE0\r\n"}
        << QList<int> {100, 300, 300}
        << Answers {{"AT+CHANNEL=1, 2 ,3\r\n", "OK+CHANNEL\r\n"},
                    {"AT+CHANNEL=8-15\r\n", "OK+CHANNEL\r\n"}}
        << set << QString("信道设置成功！");
    QTest::newRow("channels empty") << "Lw_Button_Chanel"
                                    << QStringList {"Edit_Chanel1=", "Edit_Chanel2="}
                                    << QByteArrayList {"ATE1\r\n", "AT+CHANNEL=\r\n",
                                                       "AT+CHANNEL=\r\n", "ATE0\r\n"}
                                    << QList<int> {100, 300, 300} << Answers() << set << set;
    QTest::newRow("channel text with a percent sign and non-ASCII")
        << "Lw_Button_Chanel" << QStringList {"Edit_Chanel1=%1 50%", "Edit_Chanel2=信道2"}
        << QByteArrayList {"ATE1\r\n", "AT+CHANNEL=%1 50%\r\n",
                           "AT+CHANNEL=\xe4\xbf\xa1\xe9\x81\x93\x32\r\n", "ATE0\r\n"}
        << QList<int> {100, 300, 300} << Answers() << set << set;
    QTest::newRow("band query") << "Lw_Button_BandF" << QStringList()
                                << QByteArrayList {"ATE1\r\n", "AT+BAND?\r\n", "ATE0\r\n"}
                                << QList<int> {100, 300}
                                << Answers {{"AT+BAND?\r\n", "OK+BAND:03\r\n"}} << query
                                << QString("查询成功！");
    QTest::newRow("heartbeat query")
        << "Lw_Button_HeartF" << QStringList()
        << QByteArrayList {"ATE1\r\n", "AT+HEART?\r\n", "ATE0\r\n"} << QList<int> {100, 300}
        << Answers {{"AT+HEART?\r\n", "OK+HEART:00\r\n"}} << query << QString("查询成功！");
    QTest::newRow("channel query ignores the typed text")
        << "Lw_Button_ChanelF" << QStringList {"Edit_Chanel1=1-2"}
        << QByteArrayList {"ATE1\r\n", "AT+CHANNEL?\r\n", "ATE0\r\n"} << QList<int> {100, 300}
        << Answers() << query << query;
    QTest::newRow("DevEUI query") << "Lw_Button_Deveui" << QStringList()
                                  << QByteArrayList {"ATE1\r\n", "AT+DEVEUI?\r\n", "ATE0\r\n"}
                                  << QList<int> {100, 300} << Answers() << query << query;
    QTest::newRow("AppEUI query") << "Lw_Button_Appeui" << QStringList()
                                  << QByteArrayList {"ATE1\r\n", "AT+APPEUI?\r\n", "ATE0\r\n"}
                                  << QList<int> {100, 300} << Answers() << query << query;
    QTest::newRow("AppKey query") << "Lw_Button_Appkey" << QStringList()
                                  << QByteArrayList {"ATE1\r\n", "AT+APPKEY?\r\n", "ATE0\r\n"}
                                  << QList<int> {100, 300} << Answers() << query << query;
    // The save exchange pauses 100 ms after each line, not 300 ms.
    QTest::newRow("save") << "Button_Save_LW" << QStringList()
                          << QByteArrayList {"ATE1\r\n", "AT+SAVE\r\n", "AT+RESET\r\n",
                                             "ATE0\r\n"}
                          << QList<int> {100, 100, 100}
                          << Answers {{"AT+SAVE\r\n", "OK+SAVE\r\n"}, {"AT+RESET\r\n", "OK\r\n"}}
                          << QString("保存参数") << QString("保存设置成功！");
    QTest::newRow("factory settings, confirmed")
        << "Button_Default_LW" << QStringList()
        << QByteArrayList {"ATE1\r\n", "AT+RENEW\r\n", "ATE0\r\n"} << QList<int> {100, 300}
        << Answers {{"AT+RENEW\r\n", "OK+RENEW\r\n"}} << QString("恢复出厂默认值")
        << QString("恢复出厂设置成功！");
    QTest::newRow("one-key set")
        << "pushButton_lsetting"
        << QStringList {"BandCombo=4", "HeartCombo=1", "Edit_Chanel1=0-7", "Edit_Chanel2=8, 9"}
        << QByteArrayList {"ATE1\r\n",           "AT+BAND=4\r\n",       "AT+HEART=1\r\n",
                           "AT+CHANNEL=0-7\r\n", "AT+CHANNEL=8, 9\r\n", "AT+SAVE\r\n",
                           "AT+RESET\r\n",       "ATE0\r\n"}
        << QList<int> {100, 300, 300, 300, 300, 300, 300}
        << Answers {{"ATE1\r\n", "OK\r\n"},
                    {"AT+BAND=4\r\n", "OK+BAND\r\n"},
                    {"AT+HEART=1\r\n", "OK+HEART\r\n"},
                    {"AT+CHANNEL=0-7\r\n", "OK+CHANNEL\r\n"},
                    {"AT+CHANNEL=8, 9\r\n", "OK+CHANNEL\r\n"},
                    {"AT+SAVE\r\n", "OK+SAVE\r\n"},
                    {"AT+RESET\r\n", "OK\r\n"}}
        << QString("一键设置参数") << QString("一键设置参数成功！");
}

void TestModuleParams::exchange()
{
    QFETCH(QString, button);
    QFETCH(QStringList, inputs);
    QFETCH(QByteArrayList, lines);
    QFETCH(QList<int>, pauses);
    QFETCH(Answers, answers);
    QFETCH(QString, startStatus);
    QFETCH(QString, endStatus);
    QCOMPARE(pauses.size(), lines.size() - 1);

    openWithAddress();
    fill(inputs);
    auto *pressed = widget<QPushButton>(window, qPrintable(button));
    QVERIFY(pressed);
    DialogRecorder boxes(QMessageBox::Yes);
    ModulePlayer player(pty, window, pressed);
    player.answers = answers;
    QVERIFY(clickNamed(window, qPrintable(button)));
    QVERIFY(pressed->isEnabled());

    QTRY_COMPARE_WITH_TIMEOUT(player.lines.size(), lines.size(), 5000);
    QTest::qWait(200); // nothing else follows
    QCOMPARE(player.sentLines(), lines);
    QCOMPARE(player.rest, QByteArray());
    QCOMPARE(player.lines.first().status, startStatus);
    // The closing line reaches the device after the slot has given the button back.
    for (int i = 0; i + 1 < lines.size(); ++i)
        QVERIFY2(!player.lines.at(i).buttonEnabled, lines.at(i).constData());
    QCOMPARE(player.sendMoments.size(), lines.size());
    for (int i = 0; i < pauses.size(); ++i) {
        const QString after = QString::fromUtf8(lines.at(i).trimmed());
        // On the wire: the window writes each line from its event loop, so a busy moment
        // (painting the disabled button) can hold back the first line of a pair and shorten
        // the gap seen there by tens of milliseconds; a third of the pause still tells a pause
        // from none.
        const qint64 onWire = player.lines.at(i + 1).ms - player.lines.at(i).ms;
        QVERIFY2(onWire >= pauses.at(i) / 3 && onWire < 3000,
                 qPrintable(QString("%1 ms on the wire after %2").arg(onWire).arg(after)));
        // When sent: the pause is a wait that never ends early, only late.
        const qint64 sent = player.sendMoments.at(i + 1) - player.sendMoments.at(i);
        QVERIFY2(sent >= pauses.at(i) - 5 && sent < 3000,
                 qPrintable(QString("sent %1 ms after %2").arg(sent).arg(after)));
    }
    QTRY_COMPARE(status(), endStatus);
    QCOMPARE(boxes.boxes().size(), button == "Button_Default_LW" ? 1 : 0);
}

void TestModuleParams::queryFillsWidgets_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QStringList>("expected");

    auto row = [](const char *name, const char *button, const char *query, const QByteArray &answer,
                  const QStringList &inputs, const QStringList &expected) {
        QTest::newRow(name) << QString(button) << QByteArray(query) << answer << inputs
                            << expected;
    };
    row("band US915", "Lw_Button_BandF", "AT+BAND?\r\n", "OK+BAND:04\r\n", {"BandCombo=0"},
        {"BandCombo=US915"});
    row("band AU915", "Lw_Button_BandF", "AT+BAND?\r\n", "OK+BAND:06\r\n", {"BandCombo=0"},
        {"BandCombo=AU915"});
    row("band EU433", "Lw_Button_BandF", "AT+BAND?\r\n", "OK+BAND:00\r\n", {"BandCombo=4"},
        {"BandCombo=EU433"});
    row("band value not hex selects EU433", "Lw_Button_BandF", "AT+BAND?\r\n",
        "OK+BAND:x3\r\n", {"BandCombo=4"}, {"BandCombo=EU433"});
    row("band value beyond the list selects nothing", "Lw_Button_BandF", "AT+BAND?\r\n",
        "OK+BAND:0A\r\n", {"BandCombo=2"}, {"BandCombo="});
    row("heartbeat on", "Lw_Button_HeartF", "AT+HEART?\r\n", "OK+HEART:01\r\n",
        {"HeartCombo=0"}, {"HeartCombo=使能心跳"});
    row("heartbeat off", "Lw_Button_HeartF", "AT+HEART?\r\n", "OK+HEART:00\r\n",
        {"HeartCombo=1"}, {"HeartCombo=关闭心跳"});
    row("two channel lines", "Lw_Button_ChanelF", "AT+CHANNEL?\r\n",
        "OK+CHANNEL:0-7\r\nOK+CHANNEL:8-15\r\n", {"Edit_Chanel1=a", "Edit_Chanel2=b"},
        {"Edit_Chanel1=0-7", "Edit_Chanel2=8-15"});
    row("channel lines with blanks and commas", "Lw_Button_ChanelF", "AT+CHANNEL?\r\n",
        "OK+CHANNEL:1, 2 ,3\r\nOK+CHANNEL: 4,5 \r\n", {},
        {"Edit_Chanel1=1, 2 ,3", "Edit_Chanel2= 4,5 "});
    row("one channel line empties the second field", "Lw_Button_ChanelF", "AT+CHANNEL?\r\n",
        "OK+CHANNEL:0-7\r\n", {"Edit_Chanel1=a", "Edit_Chanel2=old"},
        {"Edit_Chanel1=0-7", "Edit_Chanel2="});
    row("DevEUI", "Lw_Button_Deveui", "AT+DEVEUI?\r\n", "OK+DEVEUI:0011223344556677\r\n", {},
        {"Edit_Deveui=0011223344556677", "Edit_Appeui=", "Edit_Appkey="});
    row("AppEUI", "Lw_Button_Appeui", "AT+APPEUI?\r\n", "OK+APPEUI:70B3D57ED0000001\r\n", {},
        {"Edit_Deveui=", "Edit_Appeui=70B3D57ED0000001", "Edit_Appkey="});
    row("AppKey", "Lw_Button_Appkey", "AT+APPKEY?\r\n",
        "OK+APPKEY:000102030405060708090A0B0C0D0E0F\r\n", {},
        {"Edit_Deveui=", "Edit_Appeui=", "Edit_Appkey=000102030405060708090A0B0C0D0E0F"});
    row("AppKey of 40 digits keeps the first 32", "Lw_Button_Appkey", "AT+APPKEY?\r\n",
        "OK+APPKEY:2B7E151628AED2A6ABF7158809CF4F3C11223344\r\n", {},
        {"Edit_Appkey=2B7E151628AED2A6ABF7158809CF4F3C"});
}

void TestModuleParams::queryFillsWidgets()
{
    QFETCH(QString, button);
    QFETCH(QByteArray, query);
    QFETCH(QByteArray, answer);
    QFETCH(QStringList, inputs);
    QFETCH(QStringList, expected);

    openWithAddress();
    fill(inputs);
    ModulePlayer player(pty, window);
    player.answers = {{query, answer}};
    QVERIFY(clickNamed(window, qPrintable(button)));
    QTRY_COMPARE(status(), QString("查询成功！"));
    QCOMPARE(shown(expected), expected);
    QCOMPARE(player.sentLines().value(1), query);
}

void TestModuleParams::addButtonRows()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("expectedStatus");
    for (const ButtonInfo &info : moduleButtons)
        QTest::newRow(info.name) << QString(info.name) << QString(info.status);
}

void TestModuleParams::closedPortRefuses_data()
{
    addButtonRows();
}

void TestModuleParams::closedPortRefuses()
{
    QFETCH(QString, button);
    QFETCH(QString, expectedStatus);

    // The port check comes first: a known address makes no difference.
    widget<QLineEdit>(window, "lineEditAddr")->setText(deviceAddress);
    // With the port closed the terminal tab is the only place a send would still show.
    widget<QCheckBox>(window, "checkBox_active")->setChecked(true);
    DialogRecorder boxes(QMessageBox::Yes);
    QVERIFY(clickNamed(window, qPrintable(button)));
    QCOMPARE(boxes.boxes().size(), 1);
    const RecordedBox box = boxes.boxes().first();
    QCOMPARE(box.title, QString("错误"));
    QCOMPARE(box.text, QString("请先打开串口!"));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Yes));
    QCOMPARE(status(), expectedStatus);
    QVERIFY(widget<QPushButton>(window, qPrintable(button))->isEnabled());
    QCOMPARE(widget<QPushButton>(window, "openPortButton")->text(), QString("打开"));
    QTest::qWait(100);
    QCOMPARE(widget<QTextBrowser>(window, "text_Serial")->toPlainText(), QString());
}

void TestModuleParams::missingAddressRefuses_data()
{
    addButtonRows();
}

void TestModuleParams::missingAddressRefuses()
{
    QFETCH(QString, button);
    QFETCH(QString, expectedStatus);

    openWithAddress();
    widget<QLineEdit>(window, "lineEditAddr")->clear();
    ModulePlayer player(pty, window);
    DialogRecorder boxes(QMessageBox::Yes);
    QVERIFY(clickNamed(window, qPrintable(button)));
    QCOMPARE(boxes.boxes().size(), 1);
    const RecordedBox box = boxes.boxes().first();
    QCOMPARE(box.title, QString("错误"));
    QCOMPARE(box.text, QString("设备地址未获取到!"));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Yes));
    QCOMPARE(status(), expectedStatus);
    QTest::qWait(300);
    QCOMPARE(player.sentLines(), QByteArrayList());
    QCOMPARE(player.rest, QByteArray());
    QVERIFY(widget<QPushButton>(window, qPrintable(button))->isEnabled());
}

void TestModuleParams::factoryQuestionNotConfirmed_data()
{
    QTest::addColumn<int>("answer");

    QTest::newRow("answered No") << int(QMessageBox::No);
    QTest::newRow("default button") << int(QMessageBox::NoButton);
}

void TestModuleParams::factoryQuestionNotConfirmed()
{
    QFETCH(int, answer);

    openWithAddress();
    ModulePlayer player(pty, window);
    DialogRecorder boxes {QMessageBox::StandardButton(answer)};
    QVERIFY(clickNamed(window, "Button_Default_LW"));
    QCOMPARE(boxes.boxes().size(), 1);
    const RecordedBox box = boxes.boxes().first();
    QCOMPARE(box.title, QString("提示"));
    QCOMPARE(box.text, QString("是否把LoRaWAN模块参数恢复到出厂设置?"));
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Yes | QMessageBox::No));
    QCOMPARE(box.defaultButton, QMessageBox::No);
    QCOMPARE(status(), QString("恢复出厂默认值"));
    QTest::qWait(300);
    QCOMPARE(player.sentLines(), QByteArrayList());
    QCOMPARE(player.rest, QByteArray());
    QVERIFY(widget<QPushButton>(window, "Button_Default_LW")->isEnabled());
}

void TestModuleParams::unrecognisedAnswerChangesNothing_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("startStatus");

    const QString set = QStringLiteral("设置参数");
    const QString query = QStringLiteral("查询参数");
    auto row = [](const char *name, const char *button, const char *command,
                  const QByteArray &answer, const QString &status) {
        QTest::newRow(name) << QString(button) << QByteArray(command) << answer << status;
    };
    row("band set, key garbled", "Lw_Button_Band", "AT+BAND=3\r\n", "OK+BADN\r\n", set);
    row("band query, key garbled", "Lw_Button_BandF", "AT+BAND?\r\n", "OK+BADN:04\r\n", query);
    row("heartbeat set, key garbled", "Lw_Button_Heart", "AT+HEART=1\r\n", "OK+HEATR\r\n", set);
    row("heartbeat query, key garbled", "Lw_Button_HeartF", "AT+HEART?\r\n", "OK+HEATR:01\r\n",
        query);
    row("channel query, key garbled", "Lw_Button_ChanelF", "AT+CHANNEL?\r\n",
        "OK+CHANNLE:0-7\r\nOK+CHANNLE:8-15\r\n", query);
    row("DevEUI, key garbled", "Lw_Button_Deveui", "AT+DEVEUI?\r\n",
        "OK+DEVEIU:0011223344556677\r\n", query);
    row("AppKey, key garbled", "Lw_Button_Appkey", "AT+APPKEY?\r\n",
        "OK+APPKYE:000102030405060708090A0B0C0D0E0F\r\n", query);
    row("save, key garbled", "Button_Save_LW", "AT+SAVE\r\n", "OK+SAEV\r\n", "保存参数");
    row("lower case", "Lw_Button_Band", "AT+BAND=3\r\n", "ok+band\r\n", set);
    row("plain OK", "Lw_Button_Band", "AT+BAND=3\r\n", "OK\r\n", set);
    row("ERROR", "Lw_Button_BandF", "AT+BAND?\r\n", "ERROR\r\n", query);
    // Only text that starts with the letter O reaches the answer parser.
    row("band set after a line feed", "Lw_Button_Band", "AT+BAND=3\r\n", "\nOK+BAND\r\n", set);
    row("band query after a blank", "Lw_Button_BandF", "AT+BAND?\r\n", " OK+BAND:04\r\n", query);
    row("DevEUI after a zero byte", "Lw_Button_Deveui", "AT+DEVEUI?\r\n",
        QByteArray("\0OK+DEVEUI:0011223344556677\r\n", 29), query);
}

void TestModuleParams::unrecognisedAnswerChangesNothing()
{
    QFETCH(QString, button);
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, answer);
    QFETCH(QString, startStatus);

    const QStringList untouched = {"BandCombo=EU868", "HeartCombo=使能心跳",
                                   "Edit_Chanel1=a",   "Edit_Chanel2=b",
                                   "Edit_Deveui=d",    "Edit_Appeui=e",
                                   "Edit_Appkey=k"};
    openWithAddress();
    fill({"BandCombo=3", "HeartCombo=1", "Edit_Chanel1=a", "Edit_Chanel2=b", "Edit_Deveui=d",
          "Edit_Appeui=e", "Edit_Appkey=k"});
    ModulePlayer player(pty, window);
    player.answers = {{command, answer}};
    QVERIFY(clickNamed(window, qPrintable(button)));
    QVERIFY(player.sentLines().contains(command));
    QTest::qWait(300);
    QCOMPARE(status(), startStatus);
    QCOMPARE(shown(untouched), untouched);
}

void TestModuleParams::answersWithin50msReadAsOne_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<QByteArray>("second");
    QTest::addColumn<QString>("endStatus");
    QTest::addColumn<QStringList>("expected");

    const QStringList unchanged = {"BandCombo=EU433", "HeartCombo=关闭心跳", "Edit_Deveui=",
                                   "Edit_Appeui="};
    // Read apart, the heartbeat answer would have the last word.
    QTest::newRow("band set, then heartbeat set")
        << "Lw_Button_Band" << QByteArray("AT+BAND=0\r\n") << QByteArray("OK+BAND\r\n")
        << QByteArray("OK+HEART\r\n") << QString("频段设置成功！") << unchanged;
    // The band row comes first in the order of the keys, whichever answer came first.
    QTest::newRow("heartbeat set, then band set")
        << "Lw_Button_Heart" << QByteArray("AT+HEART=0\r\n") << QByteArray("OK+HEART\r\n")
        << QByteArray("OK+BAND\r\n") << QString("频段设置成功！") << unchanged;
    QTest::newRow("band query, then heartbeat query")
        << "Lw_Button_BandF" << QByteArray("AT+BAND?\r\n") << QByteArray("OK+BAND:04\r\n")
        << QByteArray("OK+HEART:01\r\n") << QString("查询成功！")
        << QStringList {"BandCombo=US915", "HeartCombo=关闭心跳", "Edit_Deveui=",
                        "Edit_Appeui="};
    QTest::newRow("DevEUI, then AppEUI")
        << "Lw_Button_Deveui" << QByteArray("AT+DEVEUI?\r\n")
        << QByteArray("OK+DEVEUI:0011223344556677\r\n")
        << QByteArray("OK+APPEUI:8899AABBCCDDEEFF\r\n") << QString("查询成功！")
        << QStringList {"BandCombo=EU433", "HeartCombo=关闭心跳",
                        "Edit_Deveui=0011223344556677", "Edit_Appeui="};
}

void TestModuleParams::answersWithin50msReadAsOne()
{
    QFETCH(QString, button);
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, second);
    QFETCH(QString, endStatus);
    QFETCH(QStringList, expected);

    openWithAddress();
    ModulePlayer player(pty, window);
    player.answers = {{command, first}};
    player.followUps = {{command, second}};
    QVERIFY(clickNamed(window, qPrintable(button)));
    QVERIFY(player.sentLines().contains(command));
    QTest::qWait(300);
    // Both answers reached the window, as two chunks.
    const QString terminal = widget<QTextBrowser>(window, "text_Serial")->toPlainText();
    QCOMPARE(terminal.count(QStringLiteral("rec\u2190")), 2);
    QVERIFY(terminal.contains(QString::fromLatin1(second.trimmed())));
    QCOMPARE(status(), endStatus);
    QCOMPARE(shown(expected), expected);
}

void TestModuleParams::oneKeyVerdictCountsParsedAnswers_data()
{
    QTest::addColumn<Answers>("answers");
    QTest::addColumn<Answers>("followUps");
    QTest::addColumn<QString>("verdict");

    const QString success = QStringLiteral("一键设置参数成功！");
    const QString failure = QStringLiteral("一键设置参数失败！！");
    const Answers all = {{"AT+BAND=2\r\n", "OK+BAND\r\n"},
                         {"AT+HEART=1\r\n", "OK+HEART\r\n"},
                         {"AT+CHANNEL=0-7\r\n", "OK+CHANNEL\r\n"},
                         {"AT+CHANNEL=8-15\r\n", "OK+CHANNEL\r\n"},
                         {"AT+SAVE\r\n", "OK+SAVE\r\n"}};
    QTest::newRow("five answers") << all << Answers() << success;

    Answers noSave = all;
    noSave.remove("AT+SAVE\r\n");
    QTest::newRow("save unanswered") << noSave << Answers() << failure;
    // Band and heartbeat answered together count once: four in all.
    Answers merged = all;
    merged.remove("AT+HEART=1\r\n");
    QTest::newRow("heartbeat answer merged into the band answer")
        << merged << Answers {{"AT+BAND=2\r\n", "OK+HEART\r\n"}} << failure;
    // Counted answers are counted whatever line they follow.
    Answers late = noSave;
    late.insert("AT+RESET\r\n", "OK+SAVE\r\n");
    QTest::newRow("save answered after the reset line") << late << Answers() << success;
    Answers garbled = all;
    garbled.insert("AT+BAND=2\r\n", "OK+BADN\r\n");
    QTest::newRow("band answer garbled") << garbled << Answers() << failure;
    // Query answers and the factory answer are not counted.
    Answers queries = noSave;
    queries.insert("AT+RESET\r\n", "OK+BAND:02\r\n");
    queries.insert("ATE1\r\n", "OK+RENEW\r\n");
    QTest::newRow("query and factory answers do not count") << queries << Answers() << failure;
    Answers sixth = all;
    sixth.insert("AT+RESET\r\n", "OK+SAVE\r\n");
    QTest::newRow("six answers") << sixth << Answers() << failure;
}

void TestModuleParams::oneKeyVerdictCountsParsedAnswers()
{
    QFETCH(Answers, answers);
    QFETCH(Answers, followUps);
    QFETCH(QString, verdict);

    openWithAddress();
    fill({"BandCombo=2", "HeartCombo=1", "Edit_Chanel1=0-7", "Edit_Chanel2=8-15"});
    ModulePlayer player(pty, window);
    player.answers = answers;
    player.followUps = followUps;
    QVERIFY(clickNamed(window, "pushButton_lsetting"));
    QCOMPARE(status(), verdict);
    QTRY_COMPARE(player.sentLines().size(), 8);
    QVERIFY(widget<QPushButton>(window, "pushButton_lsetting")->isEnabled());
}

QTEST_MAIN(TestModuleParams)
#include "tst_moduleparams.moc"
