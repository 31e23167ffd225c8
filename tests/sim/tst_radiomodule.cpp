#include "sim/simulatedsensor.h"

#include <QElapsedTimer>
#include <QtTest>

Q_DECLARE_METATYPE(SensorFaults)
Q_DECLARE_METATYPE(ModuleFaults)

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

// The tool's module one-key set, line by line.
const QByteArrayList oneKeyLines = {
    "ATE1\r\n",           "AT+BAND=3\r\n", "AT+HEART=1\r\n", "AT+CHANNEL=1,2,3\r\n",
    "AT+CHANNEL=4,5\r\n", "AT+SAVE\r\n",   "AT+RESET\r\n",   "ATE0\r\n",
};

// Sends each request as one chunk; returns the chunks sent back.
QByteArrayList exchange(SimulatedSensor &sensor, const QByteArrayList &requests)
{
    QByteArrayList sent;
    auto connection = QObject::connect(&sensor, &SimulatedSensor::transmit,
                                       [&](const QByteArray &b) { sent += b; });
    for (const QByteArray &request : requests)
        sensor.receive(request);
    QObject::disconnect(connection);
    return sent;
}

QByteArrayList textLines(const QByteArrayList &requests)
{
    QByteArrayList lines;
    for (const QByteArray &request : requests) {
        if (request.startsWith("AT"))
            lines.append(request);
    }
    return lines;
}

} // namespace

class TestRadioModule : public QObject
{
    Q_OBJECT

private slots:
    void answers_data();
    void answers();
    void powerCycle_data();
    void powerCycle();
    void defaultIdentifiers_data();
    void defaultIdentifiers();
    void identifiersConfigurable();
    void chunking_data();
    void chunking();
    void faults_data();
    void faults();
    void delayedAnswersKeepTheirPlace();
};

void TestRadioModule::answers_data()
{
    QTest::addColumn<QByteArrayList>("requests");
    QTest::addColumn<QByteArrayList>("answers");

    QTest::newRow("echo on, not echoed") << QByteArrayList {"ATE1\r\n"}
                                         << QByteArrayList {"OK\r\n"};
    QTest::newRow("echo off") << QByteArrayList {"ATE1\r\n", "ATE0\r\n"}
                              << QByteArrayList {"OK\r\n", "OK\r\n"};
    QTest::newRow("band default") << QByteArrayList {"AT+BAND?\r\n"}
                                  << QByteArrayList {"OK+BAND:01\r\n"};
    QTest::newRow("band 3 set, queried") << QByteArrayList {"AT+BAND=3\r\n", "AT+BAND?\r\n"}
                                         << QByteArrayList {"OK+BAND\r\n", "OK+BAND:03\r\n"};
    QTest::newRow("band 6 set, queried") << QByteArrayList {"AT+BAND=6\r\n", "AT+BAND?\r\n"}
                                         << QByteArrayList {"OK+BAND\r\n", "OK+BAND:06\r\n"};
    QTest::newRow("band 0 set, queried") << QByteArrayList {"AT+BAND=0\r\n", "AT+BAND?\r\n"}
                                         << QByteArrayList {"OK+BAND\r\n", "OK+BAND:00\r\n"};
    QTest::newRow("band out of range keeps the old band")
        << QByteArrayList {"AT+BAND=5\r\n", "AT+BAND=7\r\n", "AT+BAND?\r\n"}
        << QByteArrayList {"OK+BAND\r\n", "ERROR\r\n", "OK+BAND:05\r\n"};
    QTest::newRow("band not decimal")
        << QByteArrayList {"AT+BAND=x\r\n", "AT+BAND=-1\r\n", "AT+BAND= 3\r\n", "AT+BAND=\r\n",
                           "AT+BAND?\r\n"}
        << QByteArrayList {"ERROR\r\n", "ERROR\r\n", "ERROR\r\n", "ERROR\r\n", "OK+BAND:01\r\n"};
    QTest::newRow("heartbeat default") << QByteArrayList {"AT+HEART?\r\n"}
                                       << QByteArrayList {"OK+HEART:01\r\n"};
    QTest::newRow("heartbeat off set, queried")
        << QByteArrayList {"AT+HEART=0\r\n", "AT+HEART?\r\n"}
        << QByteArrayList {"OK+HEART\r\n", "OK+HEART:00\r\n"};
    QTest::newRow("heartbeat 2 refused") << QByteArrayList {"AT+HEART=0\r\n", "AT+HEART=2\r\n",
                                                            "AT+HEART?\r\n"}
                                         << QByteArrayList {"OK+HEART\r\n", "ERROR\r\n",
                                                            "OK+HEART:00\r\n"};
    QTest::newRow("channel default: two lines in one chunk")
        << QByteArrayList {"AT+CHANNEL?\r\n"}
        << QByteArrayList {"OK+CHANNEL:0-7\r\nOK+CHANNEL:8-15\r\n"};
    QTest::newRow("channel pair as the tool sends it")
        << QByteArrayList {"ATE1\r\n", "AT+CHANNEL=1, 2 ,3\r\n", "AT+CHANNEL=8-15;a b\r\n",
                           "ATE0\r\n", "AT+CHANNEL?\r\n"}
        << QByteArrayList {"OK\r\n", "OK+CHANNEL\r\n", "OK+CHANNEL\r\n", "OK\r\n",
                           "OK+CHANNEL:1, 2 ,3\r\nOK+CHANNEL:8-15;a b\r\n"};
    QTest::newRow("ATE1 points back at the first channel")
        << QByteArrayList {"ATE1\r\n", "AT+CHANNEL=a\r\n", "ATE1\r\n", "AT+CHANNEL=b\r\n",
                           "AT+CHANNEL?\r\n"}
        << QByteArrayList {"OK\r\n", "OK+CHANNEL\r\n", "OK\r\n", "OK+CHANNEL\r\n",
                           "OK+CHANNEL:b\r\nOK+CHANNEL:8-15\r\n"};
    QTest::newRow("third channel set wraps to the first")
        << QByteArrayList {"ATE1\r\n", "AT+CHANNEL=a\r\n", "AT+CHANNEL=b\r\n",
                           "AT+CHANNEL=c\r\n", "AT+CHANNEL?\r\n"}
        << QByteArrayList {"OK\r\n", "OK+CHANNEL\r\n", "OK+CHANNEL\r\n", "OK+CHANNEL\r\n",
                           "OK+CHANNEL:c\r\nOK+CHANNEL:b\r\n"};
    QTest::newRow("channel texts empty, with '=' and not ASCII")
        << QByteArrayList {"AT+CHANNEL=\r\n", "AT+CHANNEL=x=y 信道\r\n", "AT+CHANNEL?\r\n"}
        << QByteArrayList {"OK+CHANNEL\r\n", "OK+CHANNEL\r\n",
                           "OK+CHANNEL:\r\nOK+CHANNEL:x=y 信道\r\n"};
    QTest::newRow("DevEUI") << QByteArrayList {"AT+DEVEUI?\r\n"}
                            << QByteArrayList {"OK+DEVEUI:0200000000000001\r\n"};
    QTest::newRow("AppEUI") << QByteArrayList {"AT+APPEUI?\r\n"}
                            << QByteArrayList {"OK+APPEUI:0100000000000001\r\n"};
    QTest::newRow("AppKey") << QByteArrayList {"AT+APPKEY?\r\n"}
                            << QByteArrayList {"OK+APPKEY:5A81A8CEF61D446A92B9E0062E557CA2\r\n"};
    QTest::newRow("save") << QByteArrayList {"AT+SAVE\r\n"} << QByteArrayList {"OK+SAVE\r\n"};
    QTest::newRow("reset brings back the saved band")
        << QByteArrayList {"AT+BAND=5\r\n", "AT+SAVE\r\n", "AT+BAND=6\r\n", "AT+RESET\r\n",
                           "AT+BAND?\r\n"}
        << QByteArrayList {"OK+BAND\r\n", "OK+SAVE\r\n", "OK+BAND\r\n", "OK\r\n",
                           "OK+BAND:05\r\n"};
    QTest::newRow("factory settings")
        << QByteArrayList {"AT+BAND=5\r\n", "AT+HEART=0\r\n", "AT+CHANNEL=x\r\n", "AT+SAVE\r\n",
                           "AT+RENEW\r\n", "AT+BAND?\r\n", "AT+HEART?\r\n", "AT+CHANNEL?\r\n"}
        << QByteArrayList {"OK+BAND\r\n",   "OK+HEART\r\n",   "OK+CHANNEL\r\n",
                           "OK+SAVE\r\n",   "OK+RENEW\r\n",   "OK+BAND:01\r\n",
                           "OK+HEART:01\r\n", "OK+CHANNEL:0-7\r\nOK+CHANNEL:8-15\r\n"};
    QTest::newRow("unknown and malformed lines")
        << QByteArrayList {"AT+FOO?\r\n", "AT+DEVEUI=0102030405060708\r\n", "AT+SAVE?\r\n",
                           "AT+BAND??\r\n", "ATE2\r\n", "AT\r\n", "AT+band?\r\n",
                           "AT+BAND?\n"}
        << QByteArrayList {"ERROR\r\n", "ERROR\r\n", "ERROR\r\n", "ERROR\r\n",
                           "ERROR\r\n", "ERROR\r\n", "ERROR\r\n", "ERROR\r\n"};
}

void TestRadioModule::answers()
{
    QFETCH(QByteArrayList, requests);
    QFETCH(QByteArrayList, answers);

    SimulatedSensor sensor;
    QCOMPARE(exchange(sensor, requests), answers);
    QCOMPARE(sensor.receivedLines(), requests);
    QCOMPARE(sensor.discardedBytes(), 0);
}

void TestRadioModule::powerCycle_data()
{
    QTest::addColumn<QByteArrayList>("requests");
    QTest::addColumn<int>("band");
    QTest::addColumn<int>("heartbeat");
    QTest::addColumn<QByteArray>("channel1");
    QTest::addColumn<QByteArray>("channel2");

    QTest::newRow("unsaved settings lost") << oneKeyLines.mid(0, 5) << 1 << 1
                                           << QByteArray("0-7") << QByteArray("8-15");
    QTest::newRow("one-key set kept") << oneKeyLines << 3 << 1 << QByteArray("1,2,3")
                                      << QByteArray("4,5");
    QTest::newRow("only what came before the save")
        << QByteArrayList {"AT+HEART=0\r\n", "AT+SAVE\r\n", "AT+BAND=4\r\n"} << 1 << 0
        << QByteArray("0-7") << QByteArray("8-15");
    QTest::newRow("factory settings kept")
        << QByteArrayList {"AT+BAND=4\r\n", "AT+SAVE\r\n", "AT+RENEW\r\n"} << 1 << 1
        << QByteArray("0-7") << QByteArray("8-15");
}

void TestRadioModule::powerCycle()
{
    QFETCH(QByteArrayList, requests);
    QFETCH(int, band);
    QFETCH(int, heartbeat);
    QFETCH(QByteArray, channel1);
    QFETCH(QByteArray, channel2);

    SimulatedSensor sensor;
    exchange(sensor, requests);
    sensor.powerCycle();
    const ModuleSettings &s = sensor.radioModule().settings();
    QCOMPARE(s.band, band);
    QCOMPARE(s.heartbeat, heartbeat);
    QCOMPARE(s.channel1, channel1);
    QCOMPARE(s.channel2, channel2);
    QVERIFY(!sensor.radioModule().echo());
}

void TestRadioModule::defaultIdentifiers_data()
{
    QTest::addColumn<quint32>("address");
    QTest::addColumn<QByteArrayList>("answers");

    QTest::newRow("00000001") << 1u
                              << QByteArrayList {"OK+DEVEUI:0200000000000001\r\n",
                                                 "OK+APPEUI:0100000000000001\r\n",
                                                 "OK+APPKEY:5A81A8CEF61D446A92B9E0062E557CA2\r\n"};
    QTest::newRow("12345678") << 0x12345678u
                              << QByteArrayList {"OK+DEVEUI:0200000012345678\r\n",
                                                 "OK+APPEUI:0100000012345678\r\n",
                                                 "OK+APPKEY:48B5FEB7E4291213808DB67F3C612ADB\r\n"};
    QTest::newRow("A0B1C2D3: upper-case digits")
        << 0xA0B1C2D3u
        << QByteArrayList {"OK+DEVEUI:02000000A0B1C2D3\r\n", "OK+APPEUI:01000000A0B1C2D3\r\n",
                           "OK+APPKEY:FA306A1C56AC86B8320822D48EE4BE70\r\n"};
}

void TestRadioModule::defaultIdentifiers()
{
    QFETCH(quint32, address);
    QFETCH(QByteArrayList, answers);

    SimulatedSensor sensor;
    sensor.setAddress(address);
    QCOMPARE(exchange(sensor, {"AT+DEVEUI?\r\n", "AT+APPEUI?\r\n", "AT+APPKEY?\r\n"}), answers);
}

void TestRadioModule::identifiersConfigurable()
{
    SimulatedSensor sensor;
    RadioModule &module = sensor.radioModule();
    module.setDevEui("0011223344556677");
    module.setAppEui("8899AABBCCDDEEFF");
    module.setAppKey("00112233445566778899AABBCCDDEEFF");
    sensor.setAddress(0x12345678);
    const QByteArrayList queries = {"AT+DEVEUI?\r\n", "AT+APPEUI?\r\n", "AT+APPKEY?\r\n"};
    QCOMPARE(exchange(sensor, queries),
             QByteArrayList({"OK+DEVEUI:0011223344556677\r\n", "OK+APPEUI:8899AABBCCDDEEFF\r\n",
                             "OK+APPKEY:00112233445566778899AABBCCDDEEFF\r\n"}));

    // Back to the identifiers made from the address; setting the address over the line does not
    // change them, as the radio keeps its identity.
    module.setDevEui(QByteArray());
    module.setAppEui(QByteArray());
    module.setAppKey(QByteArray());
    exchange(sensor, {hex("770b123456780f0000000230")});
    QCOMPARE(sensor.address(), 2u);
    QCOMPARE(exchange(sensor, queries),
             QByteArrayList({"OK+DEVEUI:0200000012345678\r\n", "OK+APPEUI:0100000012345678\r\n",
                             "OK+APPKEY:48B5FEB7E4291213808DB67F3C612ADB\r\n"}));
}

void TestRadioModule::chunking_data()
{
    QTest::addColumn<QByteArrayList>("chunks");
    QTest::addColumn<QByteArray>("answers");
    QTest::addColumn<int>("discarded");

    const QByteArray addressRequest = hex("7707000000001f26");
    const QByteArray addressReply = hex("770b000000001f000000012b");
    QByteArrayList bytewise;
    for (char c : QByteArray("AT+HEART?\r\n"))
        bytewise.append(QByteArray(1, c));

    QTest::newRow("split in the key") << QByteArrayList {"AT+BA", "ND?\r\n"}
                                      << QByteArray("OK+BAND:01\r\n") << 0;
    QTest::newRow("one byte at a time") << bytewise << QByteArray("OK+HEART:01\r\n") << 0;
    QTest::newRow("split between CR and LF")
        << QByteArrayList {"AT+BAND=", "3\r", "\n", "AT+BAND?\r\n"}
        << QByteArray("OK+BAND\r\nOK+BAND:03\r\n") << 0;
    QTest::newRow("two lines in one chunk") << QByteArrayList {"ATE1\r\nAT+SAVE\r\n"}
                                            << QByteArray("OK\r\nOK+SAVE\r\n") << 0;
    QTest::newRow("sensor frame, then a line")
        << QByteArrayList {addressRequest + "AT+BAND?\r\n"}
        << addressReply + "OK+BAND:01\r\n" << 0;
    QTest::newRow("line, then a sensor frame")
        << QByteArrayList {"AT+DEVEUI?\r\n" + addressRequest}
        << "OK+DEVEUI:0200000000000001\r\n" + addressReply << 0;
    QTest::newRow("line split around a chunk with a frame")
        << QByteArrayList {"AT+SA", "VE\r\n" + addressRequest.left(3), addressRequest.mid(3)}
        << "OK+SAVE\r\n" + addressReply << 0;
    QTest::newRow("garbage before a line") << QByteArrayList {hex("00ff0d0a") + "AT+SAVE\r\n"}
                                           << QByteArray("OK+SAVE\r\n") << 4;
}

void TestRadioModule::chunking()
{
    QFETCH(QByteArrayList, chunks);
    QFETCH(QByteArray, answers);
    QFETCH(int, discarded);

    SimulatedSensor sensor;
    QCOMPARE(exchange(sensor, chunks).join(), answers);
    QCOMPARE(sensor.discardedBytes(), discarded);
}

void TestRadioModule::faults_data()
{
    QTest::addColumn<SensorFaults>("sensorFaults");
    QTest::addColumn<ModuleFaults>("moduleFaults");
    QTest::addColumn<QByteArrayList>("requests");
    QTest::addColumn<QByteArrayList>("chunks");

    const QByteArray addressRequest = hex("7707000000001f26");
    const QByteArray addressReply = hex("770b000000001f000000012b");

    ModuleFaults moduleSilent;
    moduleSilent.silent = true;
    QTest::newRow("module silent, sensor answers")
        << SensorFaults() << moduleSilent
        << QByteArrayList {"ATE1\r\n", "AT+BAND?\r\n", addressRequest, "AT+FOO\r\n"}
        << QByteArrayList {addressReply};
    SensorFaults deviceSilent;
    deviceSilent.silent = true;
    QTest::newRow("device silent") << deviceSilent << ModuleFaults()
                                   << QByteArrayList {"AT+BAND?\r\n", "AT+SAVE\r\n"}
                                   << QByteArrayList();
    ModuleFaults saveMuted;
    saveMuted.mutedKeys = {"SAVE"};
    // The band answer after the reset shows that the muted save still saved.
    QTest::newRow("save muted in the one-key set")
        << SensorFaults() << saveMuted << oneKeyLines + QByteArrayList {"AT+BAND?\r\n"}
        << QByteArrayList {"OK\r\n",         "OK+BAND\r\n", "OK+HEART\r\n", "OK+CHANNEL\r\n",
                           "OK+CHANNEL\r\n", "OK\r\n",      "OK\r\n",       "OK+BAND:03\r\n"};
    ModuleFaults echoMuted;
    echoMuted.mutedKeys = {"E"};
    QTest::newRow("echo switches muted")
        << SensorFaults() << echoMuted << QByteArrayList {"ATE1\r\n", "AT+BAND?\r\n", "ATE0\r\n"}
        << QByteArrayList {"OK+BAND:01\r\n"};
    ModuleFaults bandMuted;
    bandMuted.mutedKeys = {"BAND"};
    QTest::newRow("band set and query muted")
        << SensorFaults() << bandMuted
        << QByteArrayList {"AT+BAND=3\r\n", "AT+BAND=9\r\n", "AT+BAND?\r\n", "AT+HEART?\r\n"}
        << QByteArrayList {"OK+HEART:01\r\n"};
    ModuleFaults garbled;
    garbled.garbled = true;
    QTest::newRow("garbled keys")
        << SensorFaults() << garbled
        << QByteArrayList {"AT+BAND=3\r\n", "AT+BAND?\r\n", "AT+CHANNEL?\r\n", "AT+SAVE\r\n",
                           "AT+APPKEY?\r\n", "ATE1\r\n", "AT+FOO?\r\n"}
        << QByteArrayList {"OK+BADN\r\n",
                           "OK+BADN:03\r\n",
                           "OK+CHANNLE:0-7\r\nOK+CHANNLE:8-15\r\n",
                           "OK+SAEV\r\n",
                           "OK+APPKYE:5A81A8CEF61D446A92B9E0062E557CA2\r\n",
                           "OK\r\n",
                           "ERROR\r\n"};
    ModuleFaults longKey;
    longKey.longAppKey = true;
    QTest::newRow("AppKey of 40 digits")
        << SensorFaults() << longKey << QByteArrayList {"AT+APPKEY?\r\n", "AT+DEVEUI?\r\n"}
        << QByteArrayList {"OK+APPKEY:5A81A8CEF61D446A92B9E0062E557CA2A5A5A5A5\r\n",
                           "OK+DEVEUI:0200000000000001\r\n"};
    SensorFaults merge;
    merge.mergeReplies = true;
    QTest::newRow("answers merged in pairs")
        << merge << ModuleFaults()
        << QByteArrayList {"ATE1\r\n", "AT+BAND=3\r\n", "AT+HEART=1\r\n", "ATE0\r\n"}
        << QByteArrayList {"OK\r\nOK+BAND\r\n", "OK+HEART\r\nOK\r\n"};
    QTest::newRow("module answer merged with a sensor reply")
        << merge << ModuleFaults() << QByteArrayList {"AT+SAVE\r\n", addressRequest}
        << QByteArrayList {"OK+SAVE\r\n" + addressReply};
    SensorFaults split;
    split.splitSize = 4;
    QTest::newRow("answer split into chunks")
        << split << ModuleFaults() << QByteArrayList {"AT+BAND?\r\n"}
        << QByteArrayList {"OK+B", "AND:", "01\r\n"};
    SensorFaults garbage;
    garbage.garbage = hex("0a");
    QTest::newRow("line feed before the answer")
        << garbage << ModuleFaults() << QByteArrayList {"AT+SAVE\r\n"}
        << QByteArrayList {"\nOK+SAVE\r\n"};
    SensorFaults sensorMuted;
    sensorMuted.mutedCommands = {0x1F};
    QTest::newRow("muted sensor code leaves the module alone")
        << sensorMuted << ModuleFaults() << QByteArrayList {addressRequest, "AT+HEART?\r\n"}
        << QByteArrayList {"OK+HEART:01\r\n"};
}

void TestRadioModule::faults()
{
    QFETCH(SensorFaults, sensorFaults);
    QFETCH(ModuleFaults, moduleFaults);
    QFETCH(QByteArrayList, requests);
    QFETCH(QByteArrayList, chunks);

    SimulatedSensor sensor;
    sensor.setFaults(sensorFaults);
    sensor.radioModule().setFaults(moduleFaults);
    QCOMPARE(exchange(sensor, requests), chunks);
    // Faults change the answers, never what the device takes in.
    QCOMPARE(sensor.receivedLines(), textLines(requests));
}

void TestRadioModule::delayedAnswersKeepTheirPlace()
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
    sensor.receive("AT+BAND?\r\n");
    sensor.setFaults(SensorFaults());
    sensor.receive(hex("7707000000001f26")); // not delayed, yet must not overtake
    sensor.receive("AT+SAVE\r\n");
    QVERIFY(sent.isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(sent.size(), 3, 5000);
    QCOMPARE(sent, QByteArrayList({"OK+BAND:01\r\n", hex("770b000000001f000000012b"),
                                   "OK+SAVE\r\n"}));
    QVERIFY2(firstAt >= 148, qPrintable(QString::number(firstAt)));
}

QTEST_GUILESS_MAIN(TestRadioModule)
#include "tst_radiomodule.moc"
