#include "templates/parametertemplate.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

class TestParameterTemplate : public QObject
{
    Q_OBJECT

private slots:
    void moduleFileContent();
    void sensorFileContent();
    void roundTrips();
    void eachGroupLeavesTheOther();
    void missingFileGivesDefaults();
    void unwritableFileIsReported();

private:
    static QString read(const QString &path);
};

QString TestParameterTemplate::read(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly | QIODevice::Text);
    return QString::fromUtf8(file.readAll());
}

void TestParameterTemplate::moduleFileContent()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.ini");
    ModuleTemplate values;
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
    const SensorForm back = ParameterTemplates::loadSensor(path);
    QCOMPARE(back.uploadMode, 1);
    QCOMPARE(back.zeroMode, 1);
    QCOMPARE(back.installation, 1);
    QCOMPARE(back.keepTime, QString("9999"));
    QCOMPARE(back.sleepPeriod, QString("abc"));
    QCOMPARE(back.motionDuration, QString("0.08"));
    QCOMPARE(back.motionThreshold, QString("1, 2; \"x\" = 3 信道"));

    ModuleTemplate module;
    module.band = 6;
    module.channel1 = "0-7, 8";
    QVERIFY(ParameterTemplates::saveModule(path, module));
    const ModuleTemplate moduleBack = ParameterTemplates::loadModule(path);
    QCOMPARE(moduleBack.band, 6);
    QCOMPARE(moduleBack.channel1, QString("0-7, 8"));
    QCOMPARE(moduleBack.channel2, QString());
}

void TestParameterTemplate::eachGroupLeavesTheOther()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.ini");
    ModuleTemplate module;
    module.band = 3;
    module.channel2 = "B";
    QVERIFY(ParameterTemplates::saveModule(path, module));
    SensorForm sensor;
    sensor.sleepPeriod = "30";
    QVERIFY(ParameterTemplates::saveSensor(path, sensor));
    QCOMPARE(ParameterTemplates::loadModule(path).band, 3);
    QCOMPARE(ParameterTemplates::loadModule(path).channel2, QString("B"));
    module.band = 5;
    QVERIFY(ParameterTemplates::saveModule(path, module));
    QCOMPARE(ParameterTemplates::loadSensor(path).sleepPeriod, QString("30"));
    QCOMPARE(ParameterTemplates::loadModule(path).band, 5);
}

void TestParameterTemplate::missingFileGivesDefaults()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("none.ini");
    const SensorForm sensor = ParameterTemplates::loadSensor(path);
    QCOMPARE(sensor.uploadMode, 0);
    QCOMPARE(sensor.installation, 0);
    QCOMPARE(sensor.autoInterval, QString());
    QCOMPARE(sensor.motionThreshold, QString());
    QCOMPARE(ParameterTemplates::loadModule(path).heart, 0);
    QVERIFY(!QFile::exists(path));

    // Out-of-range and non-numeric stored indexes come back as stored or as 0.
    QFile file(dir.filePath("odd.ini"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Module]\nBand=42\nHeart=on\n");
    file.close();
    QCOMPARE(ParameterTemplates::loadModule(file.fileName()).band, 42);
    QCOMPARE(ParameterTemplates::loadModule(file.fileName()).heart, 0);
}

void TestParameterTemplate::unwritableFileIsReported()
{
    QTemporaryDir dir;
    // A folder that is really a file cannot hold the template, whoever runs the test.
    QFile blocker(dir.filePath("folder"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QVERIFY(!ParameterTemplates::saveModule(dir.filePath("folder/settings.ini"), ModuleTemplate()));
    QVERIFY(!ParameterTemplates::saveSensor(dir.filePath("folder/settings.ini"), SensorForm()));
    if (geteuid() != 0) {
        QVERIFY(chmod(dir.path().toLocal8Bit().constData(), 0500) == 0);
        QVERIFY(!ParameterTemplates::saveModule(dir.filePath("settings.ini"), ModuleTemplate()));
        chmod(dir.path().toLocal8Bit().constData(), 0700);
    }
}

QTEST_GUILESS_MAIN(TestParameterTemplate)
#include "tst_parametertemplate.moc"
