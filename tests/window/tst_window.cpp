// The window with a port: opening and closing it and losing the device, the parameter
// templates, and the language switch.
#include "windowfixture.h"

#include <QDir>
#include <QSettings>

class TestWindow : public QObject, public WindowFixture {
    Q_OBJECT

    QTemporaryDir workDir; // where the templates go
    const QString previousDir = QDir::currentPath();
    const QStringList portControls
        = { "portComboBox", "baudComboBox", "scanPortButton", "label_ttl" };

    // Open button, start button, port label, status, language label, stored choice and title.
    QString state() const
    {
        return QStringList { text("openPortButton"), text("pushButtonStart"),
            text("label_serial_open"), status(), text("label_lan"),
            QSettings("IAP", "update").value("Language").toString(), window->windowTitle() }
            .join('|');
    }
    void switchLanguage() { QTest::mouseClick(widget("label_lan"), Qt::LeftButton); }

private slots:
    void init()
    {
        QDir::setCurrent(workDir.path());
        QFile::remove("settings.ini");
        openWindow();
    }
    void cleanup()
    {
        closeWindow();
        QDir::setCurrent(previousDir);
    }

    void openAndClose()
    {
        DialogRecorder boxes(QMessageBox::Yes);
        widget<QComboBox>("portComboBox")->setCurrentText("/dev/tiltlink-no-such-port");
        click("openPortButton");
        QCOMPARE(boxes.boxes, { "串口打开失败|请选择正确的串口或串口被占用!|2|4000|0" });
        QCOMPARE(state().section('|', 0, 3), QString("打开|开始|串口已断开|串口打开失败"));
        fill({ "baudComboBox=2" }); // 9600
        openPort("");
        QCOMPARE(pty->speed(), speed_t(B9600));
        QCOMPARE(state().section('|', 0, 3), QString("关闭|开始|串口已连接|串口已连接"));
        QCOMPARE(enabled(portControls), QStringList { "label_ttl" });
        click("openPortButton");
        QCOMPARE(state().section('|', 0, 3), QString("打开|开始|串口已断开|串口已断开"));
        QCOMPARE(enabled(portControls), portControls.mid(0, 3));
        // Closing empties the address and ends live measurement.
        openPort();
        click("pushButtonStart");
        SendLog log(window);
        click("openPortButton");
        QCOMPARE(text("lineEditAddr") + '|' + text("pushButtonStart"), QString("|开始"));
        QCOMPARE(enabled({ "pushButtonRead", "iapDownLoadButton", "comboBoxGayo" }).size(), 3);
        QTest::qWait(300);
        QCOMPARE(log.sends.size(), 0);
    }

    void unplugClosesThePort()
    {
        openPort();
        pty->closeMaster();
        QTRY_COMPARE_WITH_TIMEOUT(state().section('|', 0, 3),
            QString("打开|开始|串口已断开|串口已断开：设备已移除"), 10000);
        QCOMPARE(text("lineEditAddr") + enabled(portControls).join(','),
            QString("portComboBox,baudComboBox,scanPortButton"));
    }

    void templatesSavedAndLoaded_data()
    {
        QTest::addColumn<QString>("prefix"); // of the save and load buttons
        QTest::addColumn<QStringList>("values"); // saved, changed, and loaded again
        QTest::addColumn<QStringList>("boxes"); // icon 1 information; 4000 Yes, 10000 No
        const QString ask
            = "提示|是否将当前参数保存为本地配置文件？<br>此操作不会修改%1内部参数。|1|14000|4000",
            load = "提示|是否从本地加载参数模板？<br>加载后需点击【一键设置】生效。|1|14000|4000",
            done = "参数信息|%1参数模板%2成功!|1|4000|0";
        QTest::newRow("sensor") << "pushButton_dao"
                                << QStringList { "Combo_Send=1", "Combo_Zero=1", "Combo_Instal=1",
                                       "Edit_Auto=10", "Edit_Keep=30", "Edit_Sleep=45",
                                       "Edit_Alarm=1.5", "Edit_Sport=0.4", "Edit_Yu=200" }
                                << QStringList { ask.arg("传感器"), done.arg("传感器", "保存"),
                                       load, done.arg("传感器", "信息加载") };
        QTest::newRow("module") << "pushButton_ldao"
                                << QStringList { "BandCombo=4", "HeartCombo=1", "Edit_Chanel1=A",
                                       "Edit_Chanel2=B" }
                                << QStringList { ask.arg("模组"), done.arg("模组", "信息保存"),
                                       load, done.arg("模组", "信息加载") };
    }

    void templatesSavedAndLoaded()
    {
        QFETCH(QString, prefix);
        QFETCH(QStringList, values);
        QFETCH(QStringList, boxes);
        DialogRecorder recorder(QMessageBox::Yes);
        fill(values);
        click(prefix + "chu");
        fill(QStringList(values).replaceInStrings(QRegularExpression("=.*"), "=0"));
        click(prefix + "ru");
        QTRY_COMPARE(recorder.boxes, boxes);
        QCOMPARE(shown(values), values);
    }

    // A template value that does not fit its key is named, and nothing is loaded; the file
    // QSettings would decode with the length written in it is never handed to QSettings.
    void templateThatDoesNotFitIsRefused()
    {
        QFile file("settings.ini");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("[Module]\nBand=@Variant(\0\0\0\xb\x7f\xff\xff\xff)\nHeart=1\n", 41));
        file.close();
        DialogRecorder recorder(QMessageBox::Yes);
        fill({ "BandCombo=2", "HeartCombo=0" });
        click("pushButton_ldaoru");
        QTRY_COMPARE(recorder.boxes.size(), 2);
        QCOMPARE(recorder.boxes.last(), QString("错误|模板中的值无效，未加载：Band|3|4000|0"));
        QCOMPARE(shown({ "BandCombo", "HeartCombo" }), QStringList({ "BandCombo=2", "HeartCombo=0" }));
        click("pushButton_ldaochu"); // nor is such a file rewritten
        QTRY_COMPARE(recorder.boxes.size(), 4);
        QVERIFY(recorder.boxes.last().startsWith("错误|模板无法写入："));
    }

    // On a fresh account the documents folder may not exist yet: recording makes it. A folder
    // the user typed is not made; that failure is said once.
    void recordingMakesTheDefaultFolder()
    {
        closeWindow();
        const QByteArray home = qgetenv("HOME");
        qputenv("HOME", workDir.filePath("home").toLocal8Bit());
        openWindow();
        qputenv("HOME", home);
        const QString documents = workDir.filePath("home/Documents");
        QCOMPARE(text("lineEdit_Save"), QDir::toNativeSeparators(documents));
        openPort();
        fill({ "checkBox_Save=1" });
        click("pushButtonStart");
        const QByteArray live = QByteArray::fromHex(
            "7723000000018300001000100000010009000001000000000000001050000010050064ab");
        pty->write(live);
        QTRY_VERIFY(QFile::exists(documents + "/Orvex_Record.txt"));
        fill({ "lineEdit_Save=" + workDir.filePath("typed") });
        pty->write(live);
        QTRY_COMPARE(status(), "无法写入记录文件：" + workDir.filePath("typed/Orvex_Record.txt"));
        QVERIFY(!QFile::exists(workDir.filePath("typed")));
    }

    void languageSwitch_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("states"); // at the start, after one switch, after two
        const QString zh = "打开|开始|串口已断开||Select Language: English|",
                      en = "Open|Start|break||语言：中文|";
        QTest::newRow("none stored") << "" << zh + "|\n" + en + "EN|\n" + zh + "CN|";
        QTest::newRow("English stored") << "EN" << en + "EN|\n" + zh + "CN|\n" + en + "EN|";
    }

    // Started like the program with this choice stored; busy states and values outlive switches.
    void languageSwitch()
    {
        QFETCH(QString, stored);
        QFETCH(QString, states);
        closeWindow();
        QSettings store("IAP", "update");
        stored.isEmpty() ? store.remove("Language") : store.setValue("Language", stored);
        removeTranslators();
        startLikeMain();
        openWindow();
        QString seen = state() + '\n';
        switchLanguage();
        seen += state() + '\n';
        switchLanguage();
        seen += state();
        QCOMPARE(seen.remove(" LoRaWAN(UART)  V1.0.4"), states); // the same title throughout
        if (!stored.isEmpty())
            return;
        const QStringList values = { "comboBoxGayo=2", "Combo_Instal=1", "HeartCombo=1",
            "BandCombo=5", "Edit_Yu=150", "baudComboBox=4" };
        fill(values);
        openPort();
        click("pushButtonStart");
        switchLanguage();
        QCOMPARE(shown(values), values);
        QCOMPARE(QStringList({ widget<QComboBox>("comboBoxGayo")->currentText(),
                     widget<QComboBox>("Combo_Instal")->currentText() }),
            QStringList({ "Gravity acceleration", "Vertical" }));
        QCOMPARE(state().section('|', 0, 2), QString("Close|Stop|bond"));
        switchLanguage();
        QCOMPARE(state().section('|', 0, 2), QString("关闭|停止|串口已连接"));
        pty->readAvailable();
        QCOMPARE(pty->readAtLeast(8).left(8).toHex(), QByteArray("770700000001030b")); // polling on
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
