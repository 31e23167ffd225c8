#include "templates/parametertemplate.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestParameterTemplate : public QObject
{
    Q_OBJECT

private slots:
    void writtenAndReadBack();
    void eachGroupLeavesTheOther();
    void missingFileGivesDefaults();
    void valuesThatDoNotFitAreReported_data();
    void valuesThatDoNotFitAreReported();
    void typedValuesAreNotRewritten_data();
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

// The file as QSettings writes it, and every value read back by our own reader as it was.
void TestParameterTemplate::writtenAndReadBack()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.ini");
    const ModuleForm module { 6, 1, "0-7, 8", "%1 \"x\" = 信道1a g" };
    const SensorForm sensor {1, 1, 1, "10", "9999", "abc", "12.34", "0.4", "1, 2; \"x\" = 3", {}};
    QVERIFY(ParameterTemplates::saveModule(path, module));
    QVERIFY(ParameterTemplates::saveSensor(path, sensor));
    QCOMPARE(read(path),
        QString("[Module]\nBand=6\nChannel1=\"0-7, 8\"\n"
                "Channel2=\"%1 \\\"x\\\" = \\x4fe1\\x9053\\x31\\x61 g\"\nHeart=1\n\n"
                "[Sensor]\nAlarm=12.34\nDuration=0.4\nInstal=1\nInterval=10\n"
                "Keep=9999\nMode=1\nSleep=abc\nThreshold=\"1, 2; \\\"x\\\" = 3\"\n"
                "Zero=1\n"));
    const auto moduleBack = ParameterTemplates::loadModule(path);
    QCOMPARE(moduleBack.invalidKeys, QStringList());
    QCOMPARE((QStringList {QString::number(moduleBack.values.band),
                           QString::number(moduleBack.values.heart), moduleBack.values.channel1,
                           moduleBack.values.channel2}),
             (QStringList {"6", "1", module.channel1, module.channel2}));
    const SensorForm back = ParameterTemplates::loadSensor(path).values;
    QCOMPARE((QList<int> {back.uploadMode, back.zeroMode, back.installation}),
             (QList<int> {1, 1, 1}));
    QCOMPARE((QStringList {back.autoInterval, back.keepTime, back.sleepPeriod, back.alarmThreshold,
                           back.motionDuration, back.motionThreshold}),
             (QStringList {"10", "9999", "abc", "12.34", "0.4", sensor.motionThreshold}));
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

void TestParameterTemplate::typedValuesAreNotRewritten_data()
{
    QTest::addColumn<QByteArray>("crafted");
    const QByteArray variant("@Variant(\0\0\0\xb\x7f\xff\xff\xff)", 17);
    QTest::newRow("a value") << "[Module]\nBand=" + variant + "\n";
    // Where QSettings also finds a value (each shown by the check in fuzz/fuzz_templates).
    QTest::newRow("after '#'") << "[Module]\n#Band=" + variant + "\n";
    QTest::newRow("after a lone CR") << "[Module]\nBand=1\rHeart=" + variant + "\n";
    QTest::newRow("quoted '=' in the key") << "[Module]\n\"a=b\"=" + variant + "\n";
    QTest::newRow("in a list") << "[Module]\nBand=1," + variant + "\n";
    QTest::newRow("continued line") << "[Module]\nBand=\\\n" + variant + "\n";
}

void TestParameterTemplate::typedValuesAreNotRewritten()
{
    QFETCH(QByteArray, crafted);
    QTemporaryDir dir;
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
    // A device without end is not read to its end.
    QVERIFY(!ParameterTemplates::hasGroup("/dev/zero", "Sensor"));
    QVERIFY(!ParameterTemplates::saveModule("/dev/zero", ModuleForm()));
}

QTEST_GUILESS_MAIN(TestParameterTemplate)
#include "tst_parametertemplate.moc"
