// The window as built and its language switch.
#include "app/mainwindow.h"
#include "windowfixture.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void startsInChineseAndFirstSwitchStoresEnglish();
    void startsInStoredEnglish();
    void builtAsDescribed();
    void switchKeepsBusyTexts_data();
    void switchKeepsBusyTexts();
    void switchKeepsComboIndexes();
    void switchKeepsTypedValues();
    void helpLabelsLightUpUnderTheMouse();
    void waitKeepsHandlingTimers();

private:
    void clickLanguageLabel(QWidget *window);
    QTemporaryDir settingsDir;
};

void TestMainWindow::initTestCase()
{
    QVERIFY(settingsDir.isValid());
    useTemporarySettings(settingsDir.path());
    qunsetenv("TILTLINK_EXTRA_PORTS");
}

void TestMainWindow::cleanup()
{
    removeAllTranslators(*qApp);
    storeLanguage(QString());
}

void TestMainWindow::clickLanguageLabel(QWidget *window)
{
    QTest::mouseClick(widget<QLabel>(window, "label_lan"), Qt::LeftButton);
}

void TestMainWindow::startsInChineseAndFirstSwitchStoresEnglish()
{
    storeLanguage(QString());
    startLikeMain(*qApp);
    MainWindow window;
    auto *tabs = widget<QTabWidget>(&window, "tabWidget");
    QCOMPARE(widget<QLabel>(&window, "label_lan")->text(), QString("Select Language: English"));
    QCOMPARE(widget<QPushButton>(&window, "openPortButton")->text(), QString("打开"));
    QCOMPARE(tabs->tabText(0), QString("参数设置"));

    clickLanguageLabel(&window);
    QCOMPARE(storedLanguage(), QString("EN"));
    QCOMPARE(widget<QLabel>(&window, "label_lan")->text(), QString("语言：中文"));
    QCOMPARE(widget<QPushButton>(&window, "openPortButton")->text(), QString("Open"));
    QCOMPARE(tabs->tabText(0), QString("Parameter settings"));
    QCOMPARE(tabs->tabText(3), QString("OTA"));
    QCOMPARE(widget<QLabel>(&window, "label_pix")->text(),
             QString("          LoRaWAN Inclinometer Software"));
    QCOMPARE(widget<QPushButton>(&window, "pushButton_daoru")->text(),
             QString::fromUtf8("Load Template\u200c"));

    clickLanguageLabel(&window);
    QCOMPARE(storedLanguage(), QString("CN"));
    QCOMPARE(widget<QLabel>(&window, "label_lan")->text(), QString("Select Language: English"));
    QCOMPARE(tabs->tabText(0), QString("参数设置"));
    QCOMPARE(widget<QLabel>(&window, "label_pix")->text(),
             QString("          OrvexLoRaWAN无线倾角上位机"));
}

void TestMainWindow::startsInStoredEnglish()
{
    storeLanguage("EN");
    startLikeMain(*qApp);
    MainWindow window;
    QCOMPARE(widget<QPushButton>(&window, "openPortButton")->text(), QString("Open"));
    QCOMPARE(widget<QLabel>(&window, "label_lan")->text(), QString("语言：中文"));
    QCOMPARE(widget<QTabWidget>(&window, "tabWidget")->tabText(1), QString("Serial Port Tool"));
    QCOMPARE(window.windowTitle(), QString(" LoRaWAN(UART)  V1.0.4"));
    // The switch from a stored English start goes to Chinese.
    clickLanguageLabel(&window);
    QCOMPARE(storedLanguage(), QString("CN"));
    QCOMPARE(widget<QPushButton>(&window, "openPortButton")->text(), QString("打开"));
    QCOMPARE(window.windowTitle(), QString(" LoRaWAN(UART)  V1.0.4"));
}

void TestMainWindow::builtAsDescribed()
{
    startLikeMain(*qApp);
    MainWindow window;
    QCOMPARE(window.minimumSize(), QSize(1080, 705));
    QVERIFY(!qApp->styleSheet().isEmpty());
    QCOMPARE(window.windowTitle(), QString(" LoRaWAN(UART)  V1.0.4"));

    auto *tabs = widget<QTabWidget>(&window, "tabWidget");
    QCOMPARE(tabs->count(), 4);
    QCOMPARE(tabs->currentIndex(), 0);
    const QStringList pages = {"tab_2", "tab_4", "tab_3", "tab"};
    const QStringList titles = {"参数设置", "串口助手", "设备数据读取", "在线升级"};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(tabs->widget(i)->objectName(), pages.at(i));
        QCOMPARE(tabs->tabText(i), titles.at(i));
    }

    auto *baud = widget<QComboBox>(&window, "baudComboBox");
    QCOMPARE(baud->currentText(), QString("115200"));
    QStringList rates;
    for (int i = 0; i < baud->count(); ++i)
        rates << baud->itemText(i);
    QCOMPARE(rates, QStringList({"2400", "4800", "9600", "19200", "115200", "38400", "57600",
                                 "460800"}));
    QVERIFY(!widget<QLabel>(&window, "label_ttl")->isEnabled());
    QVERIFY(widget<QLineEdit>(&window, "lineEditAddr")->isReadOnly());
    QCOMPARE(widget<QLabel>(&window, "label_serial_open")->text(), QString("串口已断开"));

    QVERIFY(widget<QRadioButton>(&window, "radioButtonALL")->isChecked());
    QVERIFY(widget<QRadioButton>(&window, "radioButtonTimeUp")->isChecked());
    auto *begin = widget<QLineEdit>(&window, "lineEditBegin");
    auto *end = widget<QLineEdit>(&window, "lineEditEnd");
    QVERIFY(!begin->isEnabled() && !end->isEnabled());
    QCOMPARE(begin->text() + "-" + end->text(), QString("1-60000"));

    auto *table = widget<QTableView>(&window, "tableView");
    QCOMPARE(table->model()->rowCount(), 18);
    QStringList heads;
    for (int c = 0; c < table->model()->columnCount(); ++c)
        heads << table->model()->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(heads, QStringList({"Date", "Time", "X(°)", "Y(°)", "Z(°)", "X(g)", "Y(g)", "Z(g)",
                                 "Temp(℃)", "Power"}));
    QCOMPARE(table->horizontalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    QCOMPARE(table->horizontalHeader()->sectionResizeMode(9), QHeaderView::Fixed);
    QCOMPARE(table->horizontalHeader()->sectionResizeMode(4), QHeaderView::Stretch);
    QCOMPARE(table->editTriggers(), QAbstractItemView::NoEditTriggers);

    // Date and time fields start at the current date and time, two digits each.
    const QString year = widget<QLineEdit>(&window, "lineEdit_y")->text();
    QCOMPARE(year.size(), 2);
    QCOMPARE(year, QDate::currentDate().toString("yy"));
    for (const char *name : {"lineEdit_m", "lineEdit_d", "lineEdit_h", "lineEdit_mm",
                             "lineEdit_s"})
        QCOMPARE(widget<QLineEdit>(&window, name)->text().size(), 2);

    const QStringList permanent = {"Orvex", "Version：V1.0.4"};
    QStringList shown;
    for (QLabel *label : window.statusBar()->findChildren<QLabel *>())
        if (permanent.contains(label->text()))
            shown << label->text();
    QCOMPARE(shown.size(), 2);
}

void TestMainWindow::switchKeepsBusyTexts_data()
{
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<QString>("busyChinese");
    QTest::addColumn<QString>("busyEnglish");
    QTest::newRow("live measurement") << QByteArray("pushButtonStart") << "停止" << "Stop";
    QTest::newRow("readback running") << QByteArray("pushButtonRead") << "暂停" << "Pause";
    QTest::newRow("readback paused") << QByteArray("pushButtonRead") << "继续" << "Continue";
    QTest::newRow("firmware transfer") << QByteArray("iapDownLoadButton") << "取消" << "Cancel";
}

void TestMainWindow::switchKeepsBusyTexts()
{
    QFETCH(QByteArray, button);
    QFETCH(QString, busyChinese);
    QFETCH(QString, busyEnglish);
    startLikeMain(*qApp);
    MainWindow window;
    auto *busy = widget<QPushButton>(&window, button.constData());
    busy->setText(busyChinese);
    clickLanguageLabel(&window);
    QCOMPARE(busy->text(), busyEnglish);
    // The other busy buttons went back to their idle form texts.
    QCOMPARE(widget<QPushButton>(&window, "openPortButton")->text(), QString("Open"));
    if (button != "pushButtonStart")
        QCOMPARE(widget<QPushButton>(&window, "pushButtonStart")->text(), QString("Start"));
    clickLanguageLabel(&window);
    QCOMPARE(busy->text(), busyChinese);
}

void TestMainWindow::switchKeepsComboIndexes()
{
    startLikeMain(*qApp);
    MainWindow window;
    const QList<QPair<const char *, int>> picks = {
        {"baudComboBox", 2}, {"comboBoxGayo", 2}, {"Combo_Baud", 3}, {"Combo_Send", 1},
        {"Combo_Zero", 1},   {"Combo_Instal", 1}, {"BandCombo", 5},  {"HeartCombo", 1}};
    for (const auto &pick : picks)
        widget<QComboBox>(&window, pick.first)->setCurrentIndex(pick.second);
    clickLanguageLabel(&window);
    for (const auto &pick : picks)
        QCOMPARE(widget<QComboBox>(&window, pick.first)->currentIndex(), pick.second);
    QCOMPARE(widget<QComboBox>(&window, "comboBoxGayo")->currentText(),
             QString("Gravity acceleration"));
    QCOMPARE(widget<QComboBox>(&window, "HeartCombo")->currentText(),
             QString("Enable heartbeat"));
    QCOMPARE(widget<QComboBox>(&window, "Combo_Instal")->currentText(), QString("Vertical"));
}

void TestMainWindow::switchKeepsTypedValues()
{
    startLikeMain(*qApp);
    MainWindow window;
    const QList<QPair<const char *, QString>> typed = {
        {"Edit_Addr", "12345678"}, {"Edit_Sleep", "30"},     {"Edit_Alarm", "12.34"},
        {"Edit_Sport", "0.8"},     {"Edit_Yu", "150"},       {"Edit_Auto", "20"},
        {"Edit_Keep", "60"},       {"lineEdit_Save", "/tmp"}, {"Edit_Chanel1", "0-7"},
        {"lineEdit_Serial", "AT"}};
    for (const auto &value : typed)
        widget<QLineEdit>(&window, value.first)->setText(value.second);
    clickLanguageLabel(&window);
    for (const auto &value : typed)
        QCOMPARE(widget<QLineEdit>(&window, value.first)->text(), value.second);
}

void TestMainWindow::helpLabelsLightUpUnderTheMouse()
{
    startLikeMain(*qApp);
    MainWindow window;
    for (const char *name : {"label_web", "label_lan", "label_addr"}) {
        auto *label = widget<QLabel>(&window, name);
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(label, &enter);
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::darkCyan));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(label, &leave);
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::black));
    }
}

void TestMainWindow::waitKeepsHandlingTimers()
{
    MainWindow window;
    int fired = 0;
    QTimer::singleShot(50, this, [&] { ++fired; });
    QTimer::singleShot(150, this, [&] { ++fired; });
    QElapsedTimer clock;
    clock.start();
    window.Delay_MSec_Suspend(300);
    const qint64 waited = clock.elapsed();
    QCOMPARE(fired, 2);
    QVERIFY2(waited >= 290, qPrintable(QString::number(waited)));
    QVERIFY2(waited < 10000, qPrintable(QString::number(waited)));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
