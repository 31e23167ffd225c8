#include "params/sensorcommands.h"
#include "protocol/protocol.h"

#include <QtTest>

Q_DECLARE_METATYPE(ExchangeStep)

class TestSensorCommands : public QObject
{
    Q_OBJECT

private slots:
    void frames_data();
    void frames();
    void exchanges_data();
    void exchanges();
    void answerCounterWraps();
};

// Frames as they go on the wire to the sensor at address 00000001.
void TestSensorCommands::frames_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QByteArray>("wire");
    auto row = [](const char *name, const SensorRequest &r, const char *hex) {
        QTest::newRow(name) << r.command << r.data << QByteArray(hex);
    };
    using namespace SensorCommands;
    row("live data", readLiveData(), "770700000001030b");
    row("sleep 30", setSleepPeriod("30"), "77090000000156003090");
    row("alarm 12.349 truncated", setAlarmThreshold("12.349"), "7709000000016b1234bb");
    row("motion 0.4", setMotionDuration("0.4"), "770800000001530561");
    row("motion 20", setMotionDuration("20"), "77080000000153fa56");
    row("threshold 200", setMotionThreshold("200"), "7709000000014202004e");
    row("timing 10 and 30", setOutputTiming("10", "30"), "770b000000010c0010003058");
    row("baud index 3", setBaud(3), "7708000000010b0519");
    row("baud index 0", setBaud(0), "7708000000010b0216");
    row("upload mode 1", setUploadMode(1), "770800000001690173");
    row("zero mode 1", setZeroMode(1), "77080000000105010f");
    row("installation 1", setInstallation(1), "7708000000016a0174");
    row("date 2025-03-01 12:34:56", setDateTime({"2025", "03", "01", "12", "34", "56"}),
        "770d000000016525030112345638");
    row("new address 1A2B3C4D", setAddress("1A2B3C4D"), "770b000000010f1a2b3c4de9");
    row("query zero", queryZeroMode(), "7707000000010d15");
    row("query sleep", querySleepPeriod(), "770700000001575f");
    row("query date", queryDateTime(), "770700000001666e");
    row("save", saveParameters(), "7707000000010a12");
    row("factory", restoreFactory(), "7707000000010e16");
    row("factory follow-up", factoryFollowUp(), "7707000000016870");
    row("unparsable sleep is zero", setSleepPeriod("abcz"), "77090000000156000060");
}

void TestSensorCommands::frames()
{
    QFETCH(int, command);
    QFETCH(QByteArray, data);
    QFETCH(QByteArray, wire);
    QCOMPARE(Protocol::buildFrame(1, {command, data}).toHex(), wire);
}

// The multi-frame exchanges: each step's command code, address and pause, and what the
// verdict counts. The address is taken once, when the exchange is built.
void TestSensorCommands::exchanges_data()
{
    QTest::addColumn<Exchange>("exchange");
    QTest::addColumn<QStringList>("steps"); // "code/pause" with a "*" for a counted answer
    SensorForm form;
    form.dateTime = QStringList {"26", "12", "07", "10", "20", "30"};
    QTest::newRow("one-key set") << SensorCommands::oneKeySet(0x12345678, form)
                                 << QStringList {"69/200*", "05/200*", "0c/200*", "56/200*",
                                                 "6b/200*", "53/200*", "42/200*", "6a/200*",
                                                 "65/200*"};
    QTest::newRow("factory defaults") << SensorCommands::factoryDefaults(0x12345678)
                                      << QStringList {"0e/100*", "68/0"};
}

void TestSensorCommands::exchanges()
{
    QFETCH(Exchange, exchange);
    QFETCH(QStringList, steps);
    QStringList got;
    for (const ExchangeStep &step : exchange) {
        QCOMPARE(step.bytes.mid(2, 4).toHex(), QByteArray("12345678"));
        got << QString("%1/%2%3").arg(step.bytes.mid(6, 1).toHex().constData())
                   .arg(step.pauseMs)
                   .arg(step.counted ? "*" : "");
    }
    QCOMPARE(got, steps);
    QCOMPARE(expectedAnswers(exchange), int(steps.filter("*").size()));
}

void TestSensorCommands::answerCounterWraps()
{
    QCOMPARE(nextAnswerCount(0), 1);
    QCOMPARE(nextAnswerCount(9999), 10000);
    QCOMPARE(nextAnswerCount(10000), 0);
}

QTEST_GUILESS_MAIN(TestSensorCommands)
#include "tst_sensorcommands.moc"
