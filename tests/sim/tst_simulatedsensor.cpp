#include "sim/simulatedsensor.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtMath>
#include <QtTest>

#include <cmath>

Q_DECLARE_METATYPE(SensorFaults)
Q_DECLARE_METATYPE(LiveReadings)

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

QByteArrayList hexList(std::initializer_list<const char *> texts)
{
    QByteArrayList list;
    for (const char *text : texts)
        list.append(hex(text));
    return list;
}

// The nine frames of a one-key set to address 00000001.
const std::initializer_list<const char *> oneKeyFrames = {
    "770800000001690173",     "77080000000105010f",           "770b000000010c0010003058",
    "77090000000156003090",   "7709000000016b1234bb",         "770800000001530561",
    "7709000000014202004e",   "7708000000016a0174",           "770d0000000165250301090503ad",
};

// Decodes a signed BCD field: sign nibble, then digits; `first` is the place of the first digit.
double signedBcd(const QByteArray &bytes, int at, int size, double first)
{
    double value = (quint8(bytes.at(at)) & 0x0F) * first;
    double place = first;
    for (int i = 1; i < size; ++i) {
        const quint8 b = quint8(bytes.at(at + i));
        value += (b >> 4) * (place /= 10);
        value += (b & 0x0F) * (place /= 10);
    }
    return (quint8(bytes.at(at)) >> 4) ? -value : value;
}

quint8 sum(const QByteArray &frame, int end)
{
    quint8 s = 0;
    for (int i = 1; i < end; ++i)
        s = quint8(s + quint8(frame.at(i)));
    return s;
}

} // namespace

class TestSimulatedSensor : public QObject
{
    Q_OBJECT

private slots:
    void replies_data();
    void replies();
    void setCommandsStoreValues();
    void onlySavedValuesSurvivePowerCycle();
    void liveDataIsPlausible();
    void liveDataEncoding_data();
    void liveDataEncoding();
    void readingsWanderSlowly();
    void chunking_data();
    void chunking();
    void incompleteFrameGivenUpWhenQuiet();
    void faults_data();
    void faults();
    void splitChunksKeepTheirGaps();
    void delayedRepliesKeepTheirOrder();
    void unplugDropsPendingReplies();
};

void TestSimulatedSensor::replies_data()
{
    QTest::addColumn<quint32>("address");
    QTest::addColumn<QByteArrayList>("requests");
    QTest::addColumn<QByteArray>("replies");

    QTest::newRow("read address") << 1u << hexList({"7707000000001f26"})
                                  << hex("770b000000001f000000012b");
    QTest::newRow("read address of 12345678") << 0x12345678u << hexList({"7707000000001f26"})
                                              << hex("770b000000001f123456783e");
    QTest::newRow("read address sent to another address")
        << 1u << hexList({"7707aabbccdd1f34"}) << hex("770b000000001f000000012b");
    QTest::newRow("upload mode") << 1u << hexList({"770800000001690173"})
                                 << hex("7707000000016971");
    QTest::newRow("zero mode set, queried")
        << 1u << hexList({"77080000000105010f", "7707000000010d15"})
        << hex("770700000001858d" "7708000000018d0197");
    QTest::newRow("zero mode default") << 1u << hexList({"7707000000010d15"})
                                       << hex("7708000000018d0096");
    QTest::newRow("output timing") << 1u << hexList({"770b000000010c0010003058"})
                                   << hex("7707000000018c94");
    QTest::newRow("sleep set, queried")
        << 1u << hexList({"77090000000156003090", "770700000001575f"})
        << hex("770700000001565e" "77090000000157003091");
    QTest::newRow("alarm") << 1u << hexList({"7709000000016b1234bb"}) << hex("7707000000016b73");
    QTest::newRow("motion duration") << 1u << hexList({"770800000001530561"})
                                     << hex("770700000001535b");
    QTest::newRow("motion threshold") << 1u << hexList({"7709000000014202004e"})
                                      << hex("770700000001424a");
    QTest::newRow("installation") << 1u << hexList({"7708000000016a0174"})
                                  << hex("7707000000016a72");
    QTest::newRow("date set, queried")
        << 1u << hexList({"770d0000000165250301090503ad", "770700000001666e"})
        << hex("770700000001656d" "770d0000000166250301090503ae");
    QTest::newRow("baud rate") << 1u << hexList({"7708000000010b0519"})
                               << hex("7707000000018b93");
    QTest::newRow("save") << 1u << hexList({"7707000000010a12"}) << hex("7707000000018a92");
    QTest::newRow("factory reset restores sleep period")
        << 1u
        << hexList({"77090000000156003090", "7707000000010e16", "7707000000016870",
                    "770700000001575f"})
        << hex("770700000001565e" "7707000000018e96" "77090000000157000061");
    QTest::newRow("new address: ack from the old, then only the new answers")
        << 1u << hexList({"770b000000010f123456782f", "7707123456780d28", "7707000000010d15"})
        << hex("7707000000018f97" "7708123456788d00a9");
    QTest::newRow("other address ignored") << 1u << hexList({"770700000002030c"}) << QByteArray();
    QTest::newRow("bad checksum ignored") << 1u << hexList({"770700000001030a"}) << QByteArray();
    QTest::newRow("factory follow-up unanswered") << 1u << hexList({"7707000000016870"})
                                                  << QByteArray();
}

void TestSimulatedSensor::replies()
{
    QFETCH(quint32, address);
    QFETCH(QByteArrayList, requests);
    QFETCH(QByteArray, replies);

    SimulatedSensor sensor;
    sensor.setAddress(address);
    QByteArray sent;
    connect(&sensor, &SimulatedSensor::transmit, [&](const QByteArray &b) { sent += b; });
    for (const QByteArray &request : requests)
        sensor.receive(request);
    QCOMPARE(sent.toHex(), replies.toHex());
}

void TestSimulatedSensor::setCommandsStoreValues()
{
    SimulatedSensor sensor;
    for (const char *frame : oneKeyFrames)
        sensor.receive(hex(frame));
    sensor.receive(hex("7708000000010b0519"));
    const SensorSettings &s = sensor.settings();
    QCOMPARE(s.uploadMode, quint8(1));
    QCOMPARE(s.zeroMode, quint8(1));
    QCOMPARE(s.outputInterval, quint8(0x10));
    QCOMPARE(s.holdTime, quint16(0x0030));
    QCOMPARE(s.sleepPeriod, quint16(0x0030));
    QCOMPARE(s.alarmThreshold, quint16(0x1234));
    QCOMPARE(s.motionDuration, quint8(5));
    QCOMPARE(s.motionThreshold, quint16(0x0200));
    QCOMPARE(s.installation, quint8(1));
    QCOMPARE(s.dateTime, hex("250301090503"));
    QCOMPARE(s.baudCode, quint8(5));
    QCOMPARE(sensor.receivedCount(0x56), 1);
    QCOMPARE(sensor.receivedCount(0x03), 0);
}

void TestSimulatedSensor::onlySavedValuesSurvivePowerCycle()
{
    SimulatedSensor sensor;
    sensor.receive(hex("77090000000156003090")); // sleep 0030
    sensor.receive(hex("7707000000010a12")); // save
    sensor.receive(hex("7708000000016a0174")); // installation 1, not saved
    sensor.powerCycle();
    QCOMPARE(sensor.settings().sleepPeriod, quint16(0x0030));
    QCOMPARE(sensor.settings().installation, quint8(0));
}

void TestSimulatedSensor::liveDataIsPlausible()
{
    SimulatedSensor sensor;
    QSignalSpy spy(&sensor, &SimulatedSensor::transmit);
    sensor.receive(hex("770700000001030b"));
    QCOMPARE(spy.count(), 1);
    const QByteArray reply = spy.at(0).at(0).toByteArray();
    QCOMPARE(reply.size(), 36);
    QCOMPARE(reply.left(7).toHex(), QByteArray("77230000000183"));
    QCOMPARE(quint8(reply.at(35)), sum(reply, 35));

    const double angle[3] = {signedBcd(reply, 7, 4, 100), signedBcd(reply, 11, 4, 100),
                             signedBcd(reply, 15, 4, 100)};
    const double g[3] = {signedBcd(reply, 19, 4, 1), signedBcd(reply, 23, 4, 1),
                         signedBcd(reply, 27, 4, 1)};
    for (double a : angle)
        QVERIFY2(std::fabs(a) < 10, qPrintable(QString::number(a)));
    // The angles belong to the gravity vector the accelerations show.
    QVERIFY(std::fabs(qRadiansToDegrees(std::asin(g[0])) - angle[0]) < 0.01);
    QVERIFY(std::fabs(qRadiansToDegrees(std::asin(g[1])) - angle[1]) < 0.01);
    QVERIFY(std::fabs(std::sqrt(g[0] * g[0] + g[1] * g[1] + g[2] * g[2]) - 1) < 0.001);
    const double temperature = signedBcd(reply, 31, 3, 100);
    QVERIFY2(temperature >= 23 && temperature <= 26, qPrintable(QString::number(temperature)));
    QVERIFY(quint8(reply.at(34)) >= 90 && quint8(reply.at(34)) <= 100);
}

void TestSimulatedSensor::liveDataEncoding_data()
{
    QTest::addColumn<LiveReadings>("readings");
    QTest::addColumn<QByteArray>("data");

    LiveReadings r;
    r.angleX = -12.3456;
    r.angleY = 123.4567;
    r.angleZ = -0.1;
    r.accelerationX = 0.981234;
    r.accelerationY = -1;
    r.accelerationZ = 0;
    r.temperature = 25.5;
    r.power = 95;
    QTest::newRow("typical") << r
                             << hex("10123456" "01234567" "10001000" "00981234" "11000000"
                                    "00000000" "002550" "5f");
    r.angleX = 1.23456; // rounded to the last digit
    r.angleY = -0.00001; // rounds to zero: no sign
    r.angleZ = 1234.5; // too large: all nines
    r.accelerationX = -0.0000004;
    r.accelerationY = 9.9999999;
    r.accelerationZ = -0.5;
    r.temperature = -5;
    r.power = 200;
    QTest::newRow("rounding and limits") << r
                                         << hex("00012346" "00000000" "09999999" "00000000"
                                                "09999999" "10500000" "100500" "c8");
}

void TestSimulatedSensor::liveDataEncoding()
{
    QFETCH(LiveReadings, readings);
    QFETCH(QByteArray, data);

    SimulatedSensor sensor;
    sensor.setReadings(readings);
    QSignalSpy spy(&sensor, &SimulatedSensor::transmit);
    sensor.receive(hex("770700000001030b"));
    QCOMPARE(spy.count(), 1);
    const QByteArray reply = spy.at(0).at(0).toByteArray();
    QCOMPARE(reply.mid(7, 28).toHex(), data.toHex());
    QCOMPARE(quint8(reply.at(35)), sum(reply, 35));
}

void TestSimulatedSensor::readingsWanderSlowly()
{
    for (qint64 t = 0; t < 3600 * 1000; t += 7919) {
        const LiveReadings a = LiveReadings::wandering(t);
        const LiveReadings b = LiveReadings::wandering(t + 100);
        QVERIFY(std::fabs(a.angleX) < 10 && std::fabs(a.angleY) < 10 && a.angleZ < 10);
        QVERIFY(std::fabs(b.angleX - a.angleX) < 0.1);
        QVERIFY(std::fabs(b.angleY - a.angleY) < 0.1);
        QVERIFY(a.temperature >= 23 && a.temperature <= 26);
        QVERIFY(a.power >= 90 && a.power <= 100);
    }
    QVERIFY(LiveReadings::wandering(0).angleX != LiveReadings::wandering(5000).angleX);
}

void TestSimulatedSensor::chunking_data()
{
    QTest::addColumn<QByteArrayList>("chunks");
    QTest::addColumn<QByteArray>("replies");
    QTest::addColumn<int>("discarded");

    const QByteArray addressReply = hex("770b000000001f000000012b");
    QByteArrayList bytewise;
    for (char c : hex("7707000000001f26"))
        bytewise.append(QByteArray(1, c));
    QTest::newRow("one byte at a time") << bytewise << addressReply << 0;
    QTest::newRow("split inside the data") << hexList({"77090000", "0001560030", "90"})
                                           << hex("770700000001565e") << 0;
    QTest::newRow("two requests in one chunk")
        << hexList({"7707000000010d15" "770700000001575f"})
        << hex("7708000000018d0096" "77090000000157000061") << 0;
    QTest::newRow("garbage before") << hexList({"00ff12" "7707000000001f26"}) << addressReply
                                    << 3;
    QTest::newRow("header with impossible length") << hexList({"7703", "7707000000001f26"})
                                                   << addressReply << 2;
    QTest::newRow("broken frame before") << hexList({"770700000001030a" "7707000000001f26"})
                                         << addressReply << 8;
    QTest::newRow("radio-module line before")
        << QByteArrayList {QByteArray("AT+BAND?\r\n"), hex("7707000000001f26")}
        << "OK+BAND:01\r\n" + addressReply << 0;
    QTest::newRow("text that is no command") << QByteArrayList {"AX" + hex("7707000000001f26")}
                                             << addressReply << 2;
    QTest::newRow("boot-loader frame before")
        << hexList({"5a010000080000022c097210" "7707000000001f26"}) << addressReply << 0;
}

void TestSimulatedSensor::chunking()
{
    QFETCH(QByteArrayList, chunks);
    QFETCH(QByteArray, replies);
    QFETCH(int, discarded);

    SimulatedSensor sensor;
    QByteArray sent;
    connect(&sensor, &SimulatedSensor::transmit, [&](const QByteArray &b) { sent += b; });
    for (const QByteArray &chunk : chunks)
        sensor.receive(chunk);
    QCOMPARE(sent.toHex(), replies.toHex());
    QCOMPARE(sensor.discardedBytes(), discarded);
}

void TestSimulatedSensor::incompleteFrameGivenUpWhenQuiet()
{
    SimulatedSensor sensor;
    sensor.setInputGapMs(50);
    QSignalSpy spy(&sensor, &SimulatedSensor::transmit);
    // 0x77 0x40 promises a 65-byte frame; the request behind it waits until the line is quiet.
    sensor.receive(hex("7740" "7707000000001f26"));
    QCOMPARE(spy.count(), 0);
    QVERIFY(spy.wait(5000));
    QCOMPARE(spy.at(0).at(0).toByteArray().toHex(), QByteArray("770b000000001f000000012b"));
    QCOMPARE(sensor.discardedBytes(), 2);
}

void TestSimulatedSensor::faults_data()
{
    QTest::addColumn<SensorFaults>("faults");
    QTest::addColumn<QByteArrayList>("requests");
    QTest::addColumn<QByteArrayList>("chunks");

    SensorFaults silent;
    silent.silent = true;
    QTest::newRow("no answer") << silent
                               << hexList({"7707000000001f26", "770800000001690173"})
                               << QByteArrayList();
    SensorFaults muted;
    muted.mutedCommands = {0x6A};
    QTest::newRow("installation ack dropped")
        << muted << hexList(oneKeyFrames)
        << hexList({"7707000000016971", "770700000001858d", "7707000000018c94",
                    "770700000001565e", "7707000000016b73", "770700000001535b",
                    "770700000001424a", "770700000001656d"});
    SensorFaults badSum;
    badSum.badChecksum = true;
    QTest::newRow("bad checksum") << badSum << hexList({"770800000001690173"})
                                  << hexList({"770700000001698e"});
    SensorFaults shifted;
    shifted.shiftedChecksum = true;
    QTest::newRow("checksum over code - 0x10")
        << shifted << hexList({"77090000000156003090", "770700000001575f", "770800000001690173"})
        << hexList({"770700000001564e", "77090000000157003081", "7707000000016971"});
    SensorFaults garbage;
    garbage.garbage = hex("00");
    QTest::newRow("garbage before the reply") << garbage << hexList({"770800000001690173"})
                                              << hexList({"007707000000016971"});
    SensorFaults merge;
    merge.mergeReplies = true;
    QTest::newRow("two replies in one chunk, the third held")
        << merge << hexList({"770800000001690173", "7708000000016a0174", "7707000000010a12"})
        << hexList({"7707000000016971" "7707000000016a72"});
    SensorFaults split;
    split.splitSize = 5;
    QTest::newRow("split without gaps") << split << hexList({"7707000000001f26"})
                                        << hexList({"770b000000", "001f000000", "012b"});
}

void TestSimulatedSensor::faults()
{
    QFETCH(SensorFaults, faults);
    QFETCH(QByteArrayList, requests);
    QFETCH(QByteArrayList, chunks);

    SimulatedSensor sensor;
    sensor.setFaults(faults);
    QByteArrayList sent;
    connect(&sensor, &SimulatedSensor::transmit, [&](const QByteArray &b) { sent += b; });
    for (const QByteArray &request : requests)
        sensor.receive(request);
    QCOMPARE(sent, chunks);
    // Faults change the answers, never what the sensor takes in.
    QCOMPARE(sensor.receivedFrames(), requests);
}

void TestSimulatedSensor::splitChunksKeepTheirGaps()
{
    SimulatedSensor sensor;
    SensorFaults faults;
    faults.splitSize = 5;
    faults.splitGapMs = 40;
    sensor.setFaults(faults);
    QByteArrayList sent;
    QElapsedTimer clock;
    qint64 lastAt = 0;
    connect(&sensor, &SimulatedSensor::transmit, [&](const QByteArray &b) {
        sent += b;
        lastAt = clock.elapsed();
    });
    clock.start();
    sensor.receive(hex("7707000000001f26"));
    QCOMPARE(sent.size(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(sent.size(), 3, 5000);
    QCOMPARE(sent, hexList({"770b000000", "001f000000", "012b"}));
    QVERIFY2(lastAt >= 78, qPrintable(QString::number(lastAt)));
}

void TestSimulatedSensor::delayedRepliesKeepTheirOrder()
{
    SimulatedSensor sensor;
    SensorFaults faults;
    faults.delayMs = 150;
    sensor.setFaults(faults);
    QByteArrayList sent;
    QElapsedTimer clock;
    qint64 firstAt = 0;
    connect(&sensor, &SimulatedSensor::transmit, [&](const QByteArray &b) {
        if (sent.isEmpty())
            firstAt = clock.elapsed();
        sent += b;
    });
    clock.start();
    sensor.receive(hex("7707000000001f26"));
    sensor.setFaults(SensorFaults());
    sensor.receive(hex("770800000001690173")); // not delayed, yet must not overtake
    QVERIFY(sent.isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(sent.size(), 2, 5000);
    QCOMPARE(sent, hexList({"770b000000001f000000012b", "7707000000016971"}));
    QVERIFY2(firstAt >= 148, qPrintable(QString::number(firstAt)));
}

void TestSimulatedSensor::unplugDropsPendingReplies()
{
    SimulatedSensor sensor;
    SensorFaults faults;
    faults.delayMs = 50;
    sensor.setFaults(faults);
    QSignalSpy sent(&sensor, &SimulatedSensor::transmit);
    QSignalSpy unplugged(&sensor, &SimulatedSensor::unplugRequested);
    sensor.receive(hex("7707000000001f26"));
    sensor.unplug();
    QCOMPARE(unplugged.count(), 1);
    QTest::qWait(300);
    QCOMPARE(sent.count(), 0);
}

QTEST_GUILESS_MAIN(TestSimulatedSensor)
#include "tst_simulatedsensor.moc"
