// Template buttons of the parameter tab: their boxes, the file they write and what they load.
#include "app/mainwindow.h"
#include "windowtest.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

class TestTemplateWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir settingsDir;
    QTemporaryDir workDir;
    QString previousDir;
    MainWindow *window = nullptr;

    QComboBox *combo(const char *name) const { return widget<QComboBox>(window, name); }
    QLineEdit *edit(const char *name) const { return widget<QLineEdit>(window, name); }

private slots:
    void initTestCase()
    {
        useTemporarySettings(settingsDir.path());
        startLikeMain(*qApp);
        previousDir = QDir::currentPath();
    }

    void init()
    {
        QVERIFY(QDir::setCurrent(workDir.path()));
        QFile::remove("settings.ini");
        window = new MainWindow;
    }

    void cleanup()
    {
        delete window;
        QDir::setCurrent(previousDir);
    }

    void saveAsks_data()
    {
        QTest::addColumn<QByteArray>("button");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("result");
        QTest::newRow("sensor") << QByteArray("pushButton_daochu")
            << "是否将当前参数保存为本地配置文件？<br>此操作不会修改传感器内部参数。"
            << "传感器参数模板保存成功!";
        QTest::newRow("module") << QByteArray("pushButton_ldaochu")
            << "是否将当前参数保存为本地配置文件？<br>此操作不会修改模组内部参数。"
            << "模组参数模板信息保存成功!";
    }

    void saveAsks()
    {
        QFETCH(QByteArray, button);
        QFETCH(QString, question);
        QFETCH(QString, result);
        DialogRecorder boxes(QMessageBox::Yes);
        clickNamed(window, button.constData());
        QTRY_COMPARE(boxes.boxes().size(), 2);
        compareBox(boxes.boxes().at(0), "提示", question, QMessageBox::Information,
                   QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(boxes.boxes().at(0).defaultButton, QMessageBox::Yes);
        compareBox(boxes.boxes().at(1), "参数信息", result, QMessageBox::Information,
                   QMessageBox::Yes);
        QVERIFY(QFile::exists("settings.ini"));
    }

    void moduleRoundTrip()
    {
        DialogRecorder boxes(QMessageBox::Yes);
        combo("BandCombo")->setCurrentIndex(4);
        combo("HeartCombo")->setCurrentIndex(1);
        edit("Edit_Chanel1")->setText("A");
        edit("Edit_Chanel2")->setText("B");
        clickNamed(window, "pushButton_ldaochu");
        QSettings file("settings.ini", QSettings::IniFormat);
        QStringList stored;
        for (const char *key : {"Band", "Heart", "Channel1", "Channel2"})
            stored << file.value(QString("Module/") + key).toString();
        QCOMPARE(stored, QStringList({"4", "1", "A", "B"}));

        combo("BandCombo")->setCurrentIndex(0);
        combo("HeartCombo")->setCurrentIndex(0);
        edit("Edit_Chanel1")->clear();
        edit("Edit_Chanel2")->setText("x");
        boxes.clear();
        clickNamed(window, "pushButton_ldaoru");
        QCOMPARE(boxes.boxes().size(), 2);
        QCOMPARE(boxes.boxes().at(0).text,
                 QString("是否从本地加载参数模板？<br>加载后需点击【一键设置】生效。"));
        QCOMPARE(boxes.boxes().at(1).text, QString("模组参数模板信息加载成功!"));
        QCOMPARE(combo("BandCombo")->currentText(), QString("US915"));
        QCOMPARE(combo("HeartCombo")->currentIndex(), 1);
        QCOMPARE(edit("Edit_Chanel1")->text() + edit("Edit_Chanel2")->text(), QString("AB"));
    }

    void withoutFile()
    {
        // Answering No neither writes the file nor touches the fields.
        DialogRecorder boxes(QMessageBox::No);
        clickNamed(window, "pushButton_daochu");
        QCOMPARE(boxes.boxes().size(), 1);
        QVERIFY(!QFile::exists("settings.ini"));
        edit("Edit_Sleep")->setText("45");
        clickNamed(window, "pushButton_daoru");
        QCOMPARE(boxes.boxes().size(), 2);
        QCOMPARE(edit("Edit_Sleep")->text(), QString("45"));

        // Loading with no file clears the sensor fields.
        boxes.setAnswer(QMessageBox::Yes);
        const char *const combos[] = {"Combo_Send", "Combo_Zero", "Combo_Instal"};
        for (const char *name : combos)
            combo(name)->setCurrentIndex(1);
        clickNamed(window, "pushButton_daoru");
        QCOMPARE(boxes.boxes().size(), 4);
        QCOMPARE(boxes.boxes().at(3).text, QString("传感器参数模板信息加载成功!"));
        for (const char *name : {"Edit_Auto", "Edit_Keep", "Edit_Sleep", "Edit_Alarm",
                                 "Edit_Sport", "Edit_Yu"})
            QVERIFY2(edit(name)->text().isEmpty(), name);
        for (const char *name : combos)
            QCOMPARE(combo(name)->currentIndex(), 0);
        QVERIFY(!QFile::exists("settings.ini"));
    }

    void storedIndexOutOfRange()
    {
        QFile file("settings.ini");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Sensor]\nMode=7\nInstal=1\n");
        file.close();
        DialogRecorder boxes(QMessageBox::Yes);
        clickNamed(window, "pushButton_daoru");
        QCOMPARE(combo("Combo_Send")->currentIndex(), -1);
        QCOMPARE(combo("Combo_Instal")->currentIndex(), 1);
    }

    void unwritableTemplateSaysSo()
    {
        // A folder standing where the template file should be: no one can write it.
        QVERIFY(QDir().mkdir("settings.ini"));
        DialogRecorder boxes(QMessageBox::Yes);
        clickNamed(window, "pushButton_ldaochu");
        QDir().rmdir("settings.ini");
        QCOMPARE(boxes.boxes().size(), 2);
        compareBox(boxes.boxes().at(1), "错误",
                   "模板无法写入：" + QDir::toNativeSeparators(workDir.filePath("settings.ini")),
                   QMessageBox::Critical, QMessageBox::Yes);
    }
};

QTEST_MAIN(TestTemplateWindow)
#include "tst_templatewindow.moc"
