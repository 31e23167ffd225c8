// The window as built and its language switch.
#include "app/mainwindow.h"
#include "windowtest.h"

#include <QApplication>
#include <QDate>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>

class TestMainWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir settingsDir;
    MainWindow *window = nullptr;

    // Starts like the program with this stored language choice (empty for none).
    void start(const QString &storedChoice = QString())
    {
        storeLanguage(storedChoice);
        startLikeMain(*qApp);
        window = new MainWindow;
    }
    QString text(const char *name) const { return textOf(window, name); }
    QString tab(int i) const { return widget<QTabWidget>(window, "tabWidget")->tabText(i); }
    void switchLanguage()
    {
        QTest::mouseClick(widget<QLabel>(window, "label_lan"), Qt::LeftButton);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(settingsDir.isValid());
        useTemporarySettings(settingsDir.path());
        qunsetenv("TILTLINK_EXTRA_PORTS");
    }

    void cleanup()
    {
        delete window;
        window = nullptr;
        removeAllTranslators(*qApp);
    }

    void startsInChineseAndFirstSwitchStoresEnglish()
    {
        start();
        QCOMPARE(text("label_lan"), QString("Select Language: English"));
        QCOMPARE(text("openPortButton"), QString("打开"));

        switchLanguage();
        QCOMPARE(storedLanguage(), QString("EN"));
        QCOMPARE(text("label_lan"), QString("语言：中文"));
        QCOMPARE(text("openPortButton"), QString("Open"));
        QCOMPARE(tab(0) + "|" + tab(3), QString("Parameter settings|OTA"));
        QCOMPARE(text("label_pix"), QString("          LoRaWAN Inclinometer Software"));
        QCOMPARE(text("pushButton_daoru"), QString::fromUtf8("Load Template\u200c"));

        switchLanguage();
        QCOMPARE(storedLanguage(), QString("CN"));
        QCOMPARE(text("label_lan"), QString("Select Language: English"));
        QCOMPARE(tab(0), QString("参数设置"));
        QCOMPARE(text("label_pix"), QString("          OrvexLoRaWAN无线倾角上位机"));
    }

    void startsInStoredEnglish()
    {
        start("EN");
        QCOMPARE(text("openPortButton"), QString("Open"));
        QCOMPARE(text("label_lan"), QString("语言：中文"));
        QCOMPARE(tab(1), QString("Serial Port Tool"));
        QCOMPARE(window->windowTitle(), QString(" LoRaWAN(UART)  V1.0.4"));
        // The switch from a stored English start goes to Chinese.
        switchLanguage();
        QCOMPARE(storedLanguage(), QString("CN"));
        QCOMPARE(text("openPortButton"), QString("打开"));
        QCOMPARE(window->windowTitle(), QString(" LoRaWAN(UART)  V1.0.4"));
    }

    void builtAsDescribed()
    {
        start();
        QCOMPARE(window->minimumSize(), QSize(1080, 705));
        QVERIFY(!qApp->styleSheet().isEmpty());
        QCOMPARE(window->windowTitle(), QString(" LoRaWAN(UART)  V1.0.4"));
        auto *tabs = widget<QTabWidget>(window, "tabWidget");
        QCOMPARE(tabs->currentIndex(), 0);
        QStringList pages;
        for (int i = 0; i < tabs->count(); ++i)
            pages << tabs->widget(i)->objectName() + ":" + tabs->tabText(i);
        QCOMPARE(pages, QStringList({"tab_2:参数设置", "tab_4:串口助手", "tab_3:设备数据读取",
                                     "tab:在线升级"}));

        auto *baud = widget<QComboBox>(window, "baudComboBox");
        QStringList rates;
        for (int i = 0; i < baud->count(); ++i)
            rates << baud->itemText(i);
        QCOMPARE(rates, QStringList({"2400", "4800", "9600", "19200", "115200", "38400", "57600",
                                     "460800"}));
        QCOMPARE(baud->currentText(), QString("115200"));
        QVERIFY(widget<QLineEdit>(window, "lineEditAddr")->isReadOnly());
        QCOMPARE(text("label_serial_open"), QString("串口已断开"));

        QVERIFY(widget<QRadioButton>(window, "radioButtonALL")->isChecked());
        QVERIFY(widget<QRadioButton>(window, "radioButtonTimeUp")->isChecked());
        QCOMPARE(enabledOf(window, {"label_ttl", "lineEditBegin", "lineEditEnd"}), QStringList());
        QCOMPARE(text("lineEditBegin") + "-" + text("lineEditEnd"), QString("1-60000"));

        auto *table = widget<QTableView>(window, "tableView");
        QCOMPARE(table->model()->rowCount(), 18);
        QStringList heads;
        for (int c = 0; c < table->model()->columnCount(); ++c)
            heads << table->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(heads, QStringList({"Date", "Time", "X(°)", "Y(°)", "Z(°)", "X(g)", "Y(g)", "Z(g)",
                                     "Temp(℃)", "Power"}));
        const QHeaderView *header = table->horizontalHeader();
        QCOMPARE(header->sectionResizeMode(0), QHeaderView::Fixed);
        QCOMPARE(header->sectionResizeMode(9), QHeaderView::Fixed);
        QCOMPARE(header->sectionResizeMode(4), QHeaderView::Stretch);
        QCOMPARE(table->editTriggers(), QAbstractItemView::NoEditTriggers);

        // Date and time fields start at the current date and time, two digits each.
        QCOMPARE(text("lineEdit_y"), QDate::currentDate().toString("yy"));
        for (const char *name : {"lineEdit_m", "lineEdit_d", "lineEdit_h", "lineEdit_mm",
                                 "lineEdit_s"})
            QCOMPARE(text(name).size(), 2);

        QStringList permanent;
        for (QLabel *label : window->statusBar()->findChildren<QLabel *>())
            permanent << label->text();
        QVERIFY(permanent.contains("Orvex") && permanent.contains("Version：V1.0.4"));

        // Help labels light up under the mouse.
        for (const char *name : {"label_web", "label_lan", "label_addr"}) {
            auto *label = widget<QLabel>(window, name);
            QEvent enter(QEvent::Enter), leave(QEvent::Leave);
            QApplication::sendEvent(label, &enter);
            QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::darkCyan));
            QApplication::sendEvent(label, &leave);
            QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::black));
        }
    }

    void switchKeepsBusyTexts_data()
    {
        QTest::addColumn<QByteArray>("button");
        QTest::addColumn<QString>("busyChinese");
        QTest::addColumn<QString>("busyEnglish");
        QTest::newRow("live measurement") << QByteArray("pushButtonStart") << "停止" << "Stop";
        QTest::newRow("readback running") << QByteArray("pushButtonRead") << "暂停" << "Pause";
        QTest::newRow("readback paused") << QByteArray("pushButtonRead") << "继续" << "Continue";
        QTest::newRow("firmware transfer") << QByteArray("iapDownLoadButton") << "取消" << "Cancel";
    }

    void switchKeepsBusyTexts()
    {
        QFETCH(QByteArray, button);
        QFETCH(QString, busyChinese);
        QFETCH(QString, busyEnglish);
        start();
        auto *busy = widget<QPushButton>(window, button.constData());
        busy->setText(busyChinese);
        switchLanguage();
        QCOMPARE(busy->text(), busyEnglish);
        // The other busy buttons went back to their idle form texts.
        QCOMPARE(text("openPortButton"), QString("Open"));
        if (button != "pushButtonStart")
            QCOMPARE(text("pushButtonStart"), QString("Start"));
        switchLanguage();
        QCOMPARE(busy->text(), busyChinese);
    }

    void switchKeepsChoicesAndTypedValues()
    {
        start();
        const QList<QPair<const char *, int>> picks = {
            {"baudComboBox", 2}, {"comboBoxGayo", 2}, {"Combo_Baud", 3}, {"Combo_Send", 1},
            {"Combo_Zero", 1},   {"Combo_Instal", 1}, {"BandCombo", 5},  {"HeartCombo", 1}};
        const QList<QPair<const char *, QString>> typed = {
            {"Edit_Addr", "12345678"}, {"Edit_Sleep", "30"},      {"Edit_Alarm", "12.34"},
            {"Edit_Sport", "0.8"},     {"Edit_Yu", "150"},        {"Edit_Auto", "20"},
            {"Edit_Keep", "60"},       {"lineEdit_Save", "/tmp"}, {"Edit_Chanel1", "0-7"},
            {"lineEdit_Serial", "AT"}};
        for (const auto &pick : picks)
            widget<QComboBox>(window, pick.first)->setCurrentIndex(pick.second);
        for (const auto &value : typed)
            widget<QLineEdit>(window, value.first)->setText(value.second);
        switchLanguage();
        for (const auto &pick : picks)
            QCOMPARE(widget<QComboBox>(window, pick.first)->currentIndex(), pick.second);
        for (const auto &value : typed)
            QCOMPARE(text(value.first), value.second);
        QCOMPARE(text("comboBoxGayo"), QString("Gravity acceleration"));
        QCOMPARE(text("HeartCombo"), QString("Enable heartbeat"));
        QCOMPARE(text("Combo_Instal"), QString("Vertical"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
