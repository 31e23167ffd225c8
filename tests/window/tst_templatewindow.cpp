// Template buttons of the parameter tab: their boxes, the file they write and what they load.
#include "app/mainwindow.h"
#include "dialogrecorder.h"
#include "windowfixture.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class TestTemplateWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void saveSensorAsks_data();
    void saveSensorAsks();
    void moduleRoundTrip();
    void noLeavesFileAndWidgets();
    void loadWithoutFileClearsSensorFields();
    void storedIndexOutOfRange();
    void unwritableTemplateSaysSo();

private:
    QTemporaryDir settingsDir;
    QTemporaryDir workDir;
    QString previousDir;
    MainWindow *window = nullptr;
};

void TestTemplateWindow::initTestCase()
{
    useTemporarySettings(settingsDir.path());
    startLikeMain(*qApp);
    previousDir = QDir::currentPath();
}

void TestTemplateWindow::init()
{
    QVERIFY(QDir::setCurrent(workDir.path()));
    QFile::remove("settings.ini");
    window = new MainWindow;
}

void TestTemplateWindow::cleanup()
{
    delete window;
    QDir::setCurrent(previousDir);
}

void TestTemplateWindow::saveSensorAsks_data()
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

void TestTemplateWindow::saveSensorAsks()
{
    QFETCH(QByteArray, button);
    QFETCH(QString, question);
    QFETCH(QString, result);
    DialogRecorder boxes(QMessageBox::Yes);
    clickNamed(window, button.constData());
    QTRY_COMPARE(boxes.boxes().size(), 2);
    const RecordedBox ask = boxes.boxes().at(0);
    QCOMPARE(ask.title, QString("提示"));
    QCOMPARE(ask.text, question);
    QCOMPARE(ask.icon, QMessageBox::Information);
    QCOMPARE(ask.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(ask.defaultButton, QMessageBox::Yes);
    const RecordedBox done = boxes.boxes().at(1);
    QCOMPARE(done.title, QString("参数信息"));
    QCOMPARE(done.text, result);
    QCOMPARE(done.buttons, QMessageBox::StandardButtons(QMessageBox::Yes));
    QVERIFY(QFile::exists("settings.ini"));
}

void TestTemplateWindow::moduleRoundTrip()
{
    DialogRecorder boxes(QMessageBox::Yes);
    widget<QComboBox>(window, "BandCombo")->setCurrentIndex(4);
    widget<QComboBox>(window, "HeartCombo")->setCurrentIndex(1);
    widget<QLineEdit>(window, "Edit_Chanel1")->setText("A");
    widget<QLineEdit>(window, "Edit_Chanel2")->setText("B");
    clickNamed(window, "pushButton_ldaochu");
    QSettings file("settings.ini", QSettings::IniFormat);
    QCOMPARE(file.value("Module/Band").toString(), QString("4"));
    QCOMPARE(file.value("Module/Heart").toString(), QString("1"));
    QCOMPARE(file.value("Module/Channel1").toString(), QString("A"));
    QCOMPARE(file.value("Module/Channel2").toString(), QString("B"));

    widget<QComboBox>(window, "BandCombo")->setCurrentIndex(0);
    widget<QComboBox>(window, "HeartCombo")->setCurrentIndex(0);
    widget<QLineEdit>(window, "Edit_Chanel1")->clear();
    widget<QLineEdit>(window, "Edit_Chanel2")->setText("x");
    boxes.clear();
    clickNamed(window, "pushButton_ldaoru");
    QCOMPARE(boxes.boxes().size(), 2);
    QCOMPARE(boxes.boxes().at(0).text, QString("是否从本地加载参数模板？<br>加载后需点击【一键设置】生效。"));
    QCOMPARE(boxes.boxes().at(1).text, QString("模组参数模板信息加载成功!"));
    QCOMPARE(widget<QComboBox>(window, "BandCombo")->currentText(), QString("US915"));
    QCOMPARE(widget<QComboBox>(window, "HeartCombo")->currentIndex(), 1);
    QCOMPARE(widget<QLineEdit>(window, "Edit_Chanel1")->text(), QString("A"));
    QCOMPARE(widget<QLineEdit>(window, "Edit_Chanel2")->text(), QString("B"));
}

void TestTemplateWindow::noLeavesFileAndWidgets()
{
    DialogRecorder boxes(QMessageBox::No);
    clickNamed(window, "pushButton_daochu");
    QCOMPARE(boxes.boxes().size(), 1);
    QVERIFY(!QFile::exists("settings.ini"));
    widget<QLineEdit>(window, "Edit_Sleep")->setText("45");
    clickNamed(window, "pushButton_daoru");
    QCOMPARE(boxes.boxes().size(), 2);
    QCOMPARE(widget<QLineEdit>(window, "Edit_Sleep")->text(), QString("45"));
}

void TestTemplateWindow::loadWithoutFileClearsSensorFields()
{
    DialogRecorder boxes(QMessageBox::Yes);
    for (const char *combo : {"Combo_Send", "Combo_Zero", "Combo_Instal"})
        widget<QComboBox>(window, combo)->setCurrentIndex(1);
    clickNamed(window, "pushButton_daoru");
    QCOMPARE(boxes.boxes().size(), 2);
    QCOMPARE(boxes.boxes().at(1).text, QString("传感器参数模板信息加载成功!"));
    for (const char *edit : {"Edit_Auto", "Edit_Keep", "Edit_Sleep", "Edit_Alarm", "Edit_Sport",
                             "Edit_Yu"})
        QVERIFY2(widget<QLineEdit>(window, edit)->text().isEmpty(), edit);
    for (const char *combo : {"Combo_Send", "Combo_Zero", "Combo_Instal"})
        QCOMPARE(widget<QComboBox>(window, combo)->currentIndex(), 0);
    QVERIFY(!QFile::exists("settings.ini"));
}

void TestTemplateWindow::storedIndexOutOfRange()
{
    QFile file("settings.ini");
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Sensor]\nMode=7\nInstal=1\n");
    file.close();
    DialogRecorder boxes(QMessageBox::Yes);
    clickNamed(window, "pushButton_daoru");
    QCOMPARE(widget<QComboBox>(window, "Combo_Send")->currentIndex(), -1);
    QCOMPARE(widget<QComboBox>(window, "Combo_Instal")->currentIndex(), 1);
}

void TestTemplateWindow::unwritableTemplateSaysSo()
{
    // A folder standing where the template file should be: no one can write it.
    QVERIFY(QDir().mkdir("settings.ini"));
    DialogRecorder boxes(QMessageBox::Yes);
    clickNamed(window, "pushButton_ldaochu");
    QDir().rmdir("settings.ini");
    QCOMPARE(boxes.boxes().size(), 2);
    const RecordedBox failed = boxes.boxes().at(1);
    QCOMPARE(failed.title, QString("错误"));
    QCOMPARE(failed.icon, QMessageBox::Critical);
    QCOMPARE(failed.text,
             QString("模板无法写入：") + QDir::toNativeSeparators(workDir.filePath("settings.ini")));
}

QTEST_MAIN(TestTemplateWindow)
#include "tst_templatewindow.moc"
