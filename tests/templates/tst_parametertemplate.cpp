#include "templates/parametertemplate.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestParameterTemplate : public QObject
{
    Q_OBJECT

private slots:
    void moduleFileContent();
    void sensorFileContent();
    void roundTrips();
    void eachGroupLeavesTheOther();
    void missingFileGivesDefaults();
    void valuesThatDoNotFitAreReported_data();
    void valuesThatDoNotFitAreReported();
    void typedValuesAreNotRewritten();
    void unwritableFileIsReported();

private:
    static QString read(const QString &path);
    static QString write(const QTemporaryDir &dir, const QByteArray &content);
};

QString TestParameterTemplate::read(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly | QIODevice::Text);
    return QString::fromUtf8(file.readAll());
}

QString TestParameterTemplate::write(const QTemporaryDir &dir, const QByteArray &content)
{
    QFile file(dir.filePath("settings.ini"));
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        return QString();
    return file.fileName();
}

void TestParameterTemplate::moduleFileContent()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.ini");
    ModuleForm values;
    values.band = 4;
    values.heart = 1;
    values.channel1 = "A";
    values.channel2 = "B";
    QVERIFY(ParameterTemplates::saveModule(path, values));
    QCOMPARE(read(path), QString("[Module]\nBand=4\nChannel1=A\nChannel2=B\nHeart=1\n"));
}

void TestParameterTemplate::sensorFileContent()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.ini");
    SensorForm values; // the form's start values
    values.autoInterval = "10";
    values.keepTime = "30";
    values.sleepPeriod = "0";
    values.alarmThreshold = "0";
    values.motionDuration = "0.4";
    values.motionThreshold = "200";
    QVERIFY(ParameterTemplates::saveSensor(path, values));
    QCOMPARE(read(path), QString("[Sensor]\nAlarm=0\nDuration=0.4\nInstal=0\nInterval=10\nKeep=30\n"
                                 "Mode=0\nSleep=0\nThreshold=200\nZero=0\n"));
}

void TestParameterTemplate::roundTrips()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.ini");
    SensorForm sensor;
    sensor.uploadMode = 1;
    sensor.zeroMode = 1;
    sensor.installation = 1;
    sensor.autoInterval = "99";
    sensor.keepTime = "9999";
    sensor.sleepPeriod = "abc"; // kept as typed even though the sensor would get 0
    sensor.alarmThreshold = "12.34";
    sensor.motionDuration = "0.08";
    sensor.motionThreshold = "1, 2; \"x\" = 3 信道";
    QVERIFY(ParameterTemplates::saveSensor(path, sensor));
    const SensorForm back = ParameterTemplates::loadSensor(path).values;
    QCOMPARE(back.uploadMode, 1);
    QCOMPARE(back.zeroMode, 1);
    QCOMPARE(back.installation, 1);
    QCOMPARE(back.keepTime, QString("9999"));
    QCOMPARE(back.sleepPeriod, QString("abc"));
    QCOMPARE(back.motionDuration, QString("0.08"));
    QCOMPARE(back.motionThreshold, QString("1, 2; \"x\" = 3 信道"));

    ModuleForm module;
    module.band = 6;
    module.channel1 = "0-7, 8";
    QVERIFY(ParameterTemplates::saveModule(path, module));
    const auto loaded = ParameterTemplates::loadModule(path);
    QCOMPARE(loaded.invalidKeys, QStringList());
    const ModuleForm moduleBack = loaded.values;
    QCOMPARE(moduleBack.band, 6);
    QCOMPARE(moduleBack.channel1, QString("0-7, 8"));
    QCOMPARE(moduleBack.channel2, QString());
}

void TestParameterTemplate::eachGroupLeavesTheOther()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.ini");
    ModuleForm module;
    module.band = 3;
    module.channel2 = "B";
    QVERIFY(ParameterTemplates::saveModule(path, module));
    SensorForm sensor;
    sensor.sleepPeriod = "30";
    QVERIFY(ParameterTemplates::saveSensor(path, sensor));
    QCOMPARE(ParameterTemplates::loadModule(path).values.band, 3);
    QCOMPARE(ParameterTemplates::loadModule(path).values.channel2, QString("B"));
    module.band = 5;
    QVERIFY(ParameterTemplates::saveModule(path, module));
    QCOMPARE(ParameterTemplates::loadSensor(path).values.sleepPeriod, QString("30"));
    QCOMPARE(ParameterTemplates::loadModule(path).values.band, 5);
}

void TestParameterTemplate::missingFileGivesDefaults()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("none.ini");
    const auto sensor = ParameterTemplates::loadSensor(path);
    QCOMPARE(sensor.invalidKeys, QStringList());
    QCOMPARE(sensor.values.installation, 0);
    QCOMPARE(sensor.values.motionThreshold, QString());
    QCOMPARE(ParameterTemplates::loadModule(path).values.heart, 0);
    QVERIFY(!QFile::exists(path));
}

// Template files travel between people: what does not fit its key is reported, and a typed
// value (which QSettings would decode with lengths taken from the file) is never decoded.
void TestParameterTemplate::valuesThatDoNotFitAreReported_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("invalid");
    QTest::addColumn<QString>("channel1");
    QTest::newRow("variant of a huge list, raw")
        << QByteArray("[Module]\nBand=@Variant(\0\0\0\xb\x7f\xff\xff\xff)\n", 33)
        << QStringList {"Band"} << "";
    QTest::newRow("variant of a huge list, escaped")
        << QByteArray("[Module]\nChannel1=@Variant(\\0\\0\\0\\xb\\x7f\\xff\\xff\\xff)\n")
        << QStringList {"Channel1"} << "";
    QTest::newRow("byte array") << QByteArray("[Module]\nChannel2=@ByteArray(ab)\n")
                                << QStringList {"Channel2"} << "";
    QTest::newRow("index beyond the list, and not a number")
        << QByteArray("[Module]\nBand=7\nHeart=on\n") << QStringList {"Band", "Heart"} << "";
    QTest::newRow("negative index") << QByteArray("[Module]\nBand=-1\n") << QStringList {"Band"}
                                    << "";
    QTest::newRow("a list") << QByteArray("[Module]\nChannel1=a, b\n") << QStringList {"Channel1"}
                            << "";
    QTest::newRow("fits: escapes undone")
        << QByteArray("[Sensor]\nBand=@Variant(x)\n[Module]\nBand=6 ; note\nChannel1=\"@@a, "
                      "\\\"b\\\" \\x41\"\n")
        << QStringList {} << QString("@a, \"b\" A");
}

void TestParameterTemplate::valuesThatDoNotFitAreReported()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, invalid);
    QFETCH(QString, channel1);
    QTemporaryDir dir;
    const auto loaded = ParameterTemplates::loadModule(write(dir, content));
    QCOMPARE(loaded.invalidKeys, invalid);
    QCOMPARE(loaded.values.channel1, channel1);
}

void TestParameterTemplate::typedValuesAreNotRewritten()
{
    QTemporaryDir dir;
    const QByteArray crafted("[Module]\nBand=@Variant(\0\0\0\xb\x7f\xff\xff\xff)\n", 33);
    const QString path = write(dir, crafted);
    QVERIFY(!ParameterTemplates::saveSensor(path, SensorForm()));
    QVERIFY(!ParameterTemplates::saveModule(path, ModuleForm()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), crafted);
    const QByteArray sensor("[Sensor]\nMode=@Variant(\0\0\0\xb\x7f\xff\xff\xff)\nKeep=9\n", 40);
    QCOMPARE(ParameterTemplates::loadSensor(write(dir, sensor)).invalidKeys, QStringList {"Mode"});
}

void TestParameterTemplate::unwritableFileIsReported()
{
    QTemporaryDir dir;
    // A folder that is really a file cannot hold the template, whoever runs the test.
    QFile blocker(dir.filePath("folder"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QVERIFY(!ParameterTemplates::saveModule(dir.filePath("folder/settings.ini"), ModuleForm()));
    QVERIFY(!ParameterTemplates::saveSensor(dir.filePath("folder/settings.ini"), SensorForm()));
}

QTEST_GUILESS_MAIN(TestParameterTemplate)
#include "tst_parametertemplate.moc"
