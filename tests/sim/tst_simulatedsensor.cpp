// The simulator alone: known answers, how it reads a chunked line, each fault switch, and the
// pseudo-terminal that puts it where the program looks for a serial port.
#include "sim/ptydevice.h"
#include "sim/simulatedsensor.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

Q_DECLARE_METATYPE(SensorFaults)
Q_DECLARE_METATYPE(ModuleFaults)

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

// The program's end of the line, opened like a serial port.
int openPort(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd >= 0) {
        termios raw {};
        tcgetattr(fd, &raw);
        cfmakeraw(&raw);
        tcsetattr(fd, TCSANOW, &raw);
    }
    return fd;
}

// Waits, handling events, until n bytes came or the time is up.
QByteArray readPort(int fd, int n, int timeoutMs = 5000)
{
    QByteArray bytes;
    QDeadlineTimer deadline(timeoutMs);
    char buffer[256];
    while (bytes.size() < n && !deadline.hasExpired()) {
        QTest::qWait(5);
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got > 0)
            bytes.append(buffer, int(got));
    }
    return bytes;
}

const QByteArray addressRequest = hex("7707000000001f26");
const QByteArray addressReply = hex("770b000000001f000000012b");

} // namespace

class TestSimulatedSensor : public QObject
{
    Q_OBJECT

private slots:
    void answers_data();
    void answers();
    void liveReply();
    void readingsWanderSlowly();
    void identifiers();
    void onlySavedSettingsSurvivePowerCycle();
    void chunking_data();
    void chunking();
    void incompleteFrameGivenUpWhenQuiet();
    void faults_data();
    void faults();
    void delayedAnswersKeepTheirOrderUntilUnplugged();
    void ptyRequestGetsReplyAfterReopen();
    void ptyUnplugClosesDevice();
};

void TestSimulatedSensor::answers_data()
{
    QTest::addColumn<QByteArrayList>("requests");
    QTest::addColumn<QByteArrayList>("answers");

    QTest::newRow("read address, whatever address it is sent to")
        << hexList({"7707aabbccdd1f34"}) << hexList({"770b000000001f000000012b"});
    QTest::newRow("zero mode, sleep and date set, queried")
        << hexList({"77080000000105010f", "7707000000010d15", "77090000000156003090",
                    "770700000001575f", "770d0000000165250301090503ad", "770700000001666e"})
        << hexList({"770700000001858d", "7708000000018d0197", "770700000001565e",
                    "77090000000157003091", "770700000001656d", "770d0000000166250301090503ae"});
    QTest::newRow("new address: ack from the old, then only the new answers")
        << hexList({"770b000000010f123456782f", "7707123456780d28", "7707000000010d15"})
        << hexList({"7707000000018f97", "7708123456788d00a9"});
    QTest::newRow("other address ignored") << hexList({"770700000002030c"}) << QByteArrayList();

    QTest::newRow("band set, queried; out of range refused")
        << QByteArrayList {"AT+BAND=3\r\n", "AT+BAND=7\r\n", "AT+BAND?\r\n"}
        << QByteArrayList {"OK+BAND\r\n", "ERROR\r\n", "OK+BAND:03\r\n"};
    QTest::newRow("heartbeat set, queried") << QByteArrayList {"AT+HEART=0\r\n", "AT+HEART?\r\n"}
                                            << QByteArrayList {"OK+HEART\r\n", "OK+HEART:00\r\n"};
    QTest::newRow("channel texts kept exactly")
        << QByteArrayList {"ATE1\r\n", "AT+CHANNEL=1, 2 ,3\r\n", "AT+CHANNEL=8-15;x=y 信道\r\n",
                           "ATE0\r\n", "AT+CHANNEL?\r\n"}
        << QByteArrayList {"OK\r\n", "OK+CHANNEL\r\n", "OK+CHANNEL\r\n", "OK\r\n",
                           "OK+CHANNEL:1, 2 ,3\r\nOK+CHANNEL:8-15;x=y 信道\r\n"};
    // a, b, then c wraps to the first text; ATE1 points d at the first one again.
    QTest::newRow("channel sets alternate; ATE1 restarts them")
        << QByteArrayList {"ATE1\r\n", "AT+CHANNEL=a\r\n", "AT+CHANNEL=b\r\n", "AT+CHANNEL=c\r\n",
                           "ATE1\r\n", "AT+CHANNEL=d\r\n", "AT+CHANNEL?\r\n"}
        << QByteArrayList {"OK\r\n", "OK+CHANNEL\r\n", "OK+CHANNEL\r\n", "OK+CHANNEL\r\n",
                           "OK\r\n", "OK+CHANNEL\r\n", "OK+CHANNEL:d\r\nOK+CHANNEL:b\r\n"};
    // The reset brings back the saved settings: the renewed ones.
    QTest::newRow("renew, then reset")
        << QByteArrayList {"AT+BAND=5\r\n", "AT+HEART=0\r\n", "AT+CHANNEL=x\r\n", "AT+SAVE\r\n",
                           "AT+RENEW\r\n", "AT+RESET\r\n", "AT+BAND?\r\n", "AT+HEART?\r\n",
                           "AT+CHANNEL?\r\n"}
        << QByteArrayList {"OK+BAND\r\n", "OK+HEART\r\n", "OK+CHANNEL\r\n", "OK+SAVE\r\n",
                           "OK+RENEW\r\n", "OK\r\n", "OK+BAND:01\r\n", "OK+HEART:01\r\n",
                           "OK+CHANNEL:0-7\r\nOK+CHANNEL:8-15\r\n"};
}

void TestSimulatedSensor::answers()
{
    QFETCH(QByteArrayList, requests);
    QFETCH(QByteArrayList, answers);

    SimulatedSensor sensor;
    QCOMPARE(exchange(sensor, requests), answers);
    QCOMPARE(sensor.discardedBytes(), 0);
}

void TestSimulatedSensor::liveReply()
{
    LiveReadings r;
    r.angleX = -12.3456;
    r.angleY = 123.4567;
    r.accelerationY = -1;
    r.temperature = 25.5;
    r.power = 95;
    SimulatedSensor sensor;
    sensor.setReadings(r);
    QCOMPARE(exchange(sensor, hexList({"770700000001030b"})),
             hexList({"77230000000183" "10123456" "01234567" "00000000" "00000000" "11000000"
                      "00000000" "002550" "5f" "08"}));
}

void TestSimulatedSensor::readingsWanderSlowly()
{
    for (qint64 t = 0; t < 3600 * 1000; t += 7919) {
        const LiveReadings a = LiveReadings::wandering(t);
        const LiveReadings b = LiveReadings::wandering(t + 100);
        QVERIFY(std::fabs(b.angleX - a.angleX) < 0.1 && std::fabs(b.angleY - a.angleY) < 0.1);
    }
    QVERIFY(LiveReadings::wandering(0).angleX != LiveReadings::wandering(5000).angleX);
}

void TestSimulatedSensor::identifiers()
{
    SimulatedSensor sensor;
    sensor.setAddress(0xA0B1C2D3);
    const QByteArrayList queries = {"AT+DEVEUI?\r\n", "AT+APPEUI?\r\n", "AT+APPKEY?\r\n"};
    const QByteArrayList fromAddress = {"OK+DEVEUI:02000000A0B1C2D3\r\n",
                                        "OK+APPEUI:01000000A0B1C2D3\r\n",
                                        "OK+APPKEY:FA306A1C56AC86B8320822D48EE4BE70\r\n"};
    QCOMPARE(exchange(sensor, queries), fromAddress);
    // The radio keeps its identity when the address is changed over the line.
    exchange(sensor, hexList({"770ba0b1c2d30f0000000202"}));
    QCOMPARE(sensor.address(), 2u);
    QCOMPARE(exchange(sensor, queries), fromAddress);

    sensor.radioModule().setDevEui("0011223344556677");
    sensor.radioModule().setAppEui("8899AABBCCDDEEFF");
    sensor.radioModule().setAppKey("00112233445566778899AABBCCDDEEFF");
    QCOMPARE(exchange(sensor, queries),
             QByteArrayList({"OK+DEVEUI:0011223344556677\r\n", "OK+APPEUI:8899AABBCCDDEEFF\r\n",
                             "OK+APPKEY:00112233445566778899AABBCCDDEEFF\r\n"}));
}

void TestSimulatedSensor::onlySavedSettingsSurvivePowerCycle()
{
    SimulatedSensor sensor;
    // Sleep 0030, save, installation 1 not saved; the module likewise, with the echo on.
    exchange(sensor, hexList({"77090000000156003090", "7707000000010a12", "7708000000016a0174"}));
    exchange(sensor, {"ATE1\r\n", "AT+BAND=3\r\n", "AT+HEART=0\r\n", "AT+CHANNEL=1,2,3\r\n",
                      "AT+CHANNEL=4,5\r\n", "AT+SAVE\r\n", "AT+BAND=4\r\n", "ATE1\r\n"});
    sensor.powerCycle();
    QCOMPARE(sensor.settings().sleepPeriod, quint16(0x0030));
    QCOMPARE(sensor.settings().installation, quint8(0));
    QVERIFY(!sensor.radioModule().echo());
    QCOMPARE(exchange(sensor, {"AT+BAND?\r\n", "AT+HEART?\r\n", "AT+CHANNEL?\r\n"}),
             QByteArrayList({"OK+BAND:03\r\n", "OK+HEART:00\r\n",
                             "OK+CHANNEL:1,2,3\r\nOK+CHANNEL:4,5\r\n"}));
}

void TestSimulatedSensor::chunking_data()
{
    QTest::addColumn<QByteArrayList>("chunks");
    QTest::addColumn<QByteArray>("answers");
    QTest::addColumn<int>("discarded");

    QByteArrayList bytewise;
    for (char c : addressRequest + "AT+HEART?\r\n")
        bytewise.append(QByteArray(1, c));
    QTest::newRow("a frame and a line, one byte at a time")
        << bytewise << addressReply + "OK+HEART:01\r\n" << 0;
    QTest::newRow("a frame and a line in one chunk")
        << QByteArrayList {addressRequest + "AT+BAND?\r\n"} << addressReply + "OK+BAND:01\r\n"
        << 0;
    QTest::newRow("garbage before a frame") << QByteArrayList {hex("00ff12") + addressRequest}
                                            << addressReply << 3;
    QTest::newRow("frame with a bad checksum before a frame")
        << QByteArrayList {hex("770700000001030a") + addressRequest} << addressReply << 8;
    QTest::newRow("garbage before a line") << QByteArrayList {hex("00ff0d0a") + "AT+SAVE\r\n"}
                                           << QByteArray("OK+SAVE\r\n") << 4;
}

void TestSimulatedSensor::chunking()
{
    QFETCH(QByteArrayList, chunks);
    QFETCH(QByteArray, answers);
    QFETCH(int, discarded);

    SimulatedSensor sensor;
    QCOMPARE(exchange(sensor, chunks).join().toHex(), answers.toHex());
    QCOMPARE(sensor.discardedBytes(), discarded);
}

void TestSimulatedSensor::incompleteFrameGivenUpWhenQuiet()
{
    SimulatedSensor sensor;
    sensor.setInputGapMs(50);
    QSignalSpy spy(&sensor, &SimulatedSensor::transmit);
    // 0x77 0x40 promises a 65-byte frame; the request behind it waits until the line is quiet.
    sensor.receive(hex("7740") + addressRequest);
    QCOMPARE(spy.count(), 0);
    QVERIFY(spy.wait(5000));
    QCOMPARE(spy.at(0).at(0).toByteArray().toHex(), addressReply.toHex());
    QCOMPARE(sensor.discardedBytes(), 2);
}

void TestSimulatedSensor::faults_data()
{
    QTest::addColumn<SensorFaults>("sensorFaults");
    QTest::addColumn<ModuleFaults>("moduleFaults");
    QTest::addColumn<QByteArrayList>("requests");
    QTest::addColumn<QByteArrayList>("chunks");

    const QByteArray upload = hex("770800000001690173");
    SensorFaults silent;
    silent.silent = true;
    QTest::newRow("device silent") << silent << ModuleFaults()
                                   << QByteArrayList {addressRequest, "AT+BAND?\r\n"}
                                   << QByteArrayList();
    SensorFaults muted;
    muted.mutedCommands = {0x6A};
    QTest::newRow("installation ack muted, the rest answered")
        << muted << ModuleFaults()
        << QByteArrayList {hex("7708000000016a0174"), upload, "AT+HEART?\r\n"}
        << QByteArrayList {hex("7707000000016971"), "OK+HEART:01\r\n"};
    SensorFaults badSum;
    badSum.badChecksum = true;
    QTest::newRow("bad checksum") << badSum << ModuleFaults() << QByteArrayList {upload}
                                  << hexList({"770700000001698e"});
    SensorFaults shifted;
    shifted.shiftedChecksum = true;
    QTest::newRow("checksum over code - 0x10 for 0x56, not for 0x69")
        << shifted << ModuleFaults() << QByteArrayList {hex("77090000000156003090"), upload}
        << hexList({"770700000001564e", "7707000000016971"});
    SensorFaults garbage;
    garbage.garbage = hex("00");
    QTest::newRow("garbage before each answer")
        << garbage << ModuleFaults() << QByteArrayList {upload, "AT+SAVE\r\n"}
        << QByteArrayList {hex("007707000000016971"), hex("00") + "OK+SAVE\r\n"};
    SensorFaults merge;
    merge.mergeReplies = true;
    QTest::newRow("answers merged in pairs, the third held")
        << merge << ModuleFaults() << QByteArrayList {"AT+SAVE\r\n", addressRequest, upload}
        << QByteArrayList {"OK+SAVE\r\n" + addressReply};

    ModuleFaults moduleSilent;
    moduleSilent.silent = true;
    QTest::newRow("module silent, sensor answers")
        << SensorFaults() << moduleSilent
        << QByteArrayList {"ATE1\r\n", "AT+BAND?\r\n", addressRequest}
        << QByteArrayList {addressReply};
    ModuleFaults saveMuted;
    saveMuted.mutedKeys = {"SAVE"};
    // The band after the reset shows that the muted save still saved.
    QTest::newRow("save muted")
        << SensorFaults() << saveMuted
        << QByteArrayList {"AT+BAND=3\r\n", "AT+SAVE\r\n", "AT+RESET\r\n", "AT+BAND?\r\n"}
        << QByteArrayList {"OK+BAND\r\n", "OK\r\n", "OK+BAND:03\r\n"};
    ModuleFaults garbled;
    garbled.garbled = true;
    QTest::newRow("garbled keys")
        << SensorFaults() << garbled
        << QByteArrayList {"AT+BAND?\r\n", "AT+CHANNEL?\r\n", "ATE1\r\n", "AT+FOO?\r\n"}
        << QByteArrayList {"OK+BADN:01\r\n", "OK+CHANNLE:0-7\r\nOK+CHANNLE:8-15\r\n", "OK\r\n",
                           "ERROR\r\n"};
    ModuleFaults longKey;
    longKey.longAppKey = true;
    QTest::newRow("AppKey of 40 digits")
        << SensorFaults() << longKey << QByteArrayList {"AT+APPKEY?\r\n"}
        << QByteArrayList {"OK+APPKEY:5A81A8CEF61D446A92B9E0062E557CA2A5A5A5A5\r\n"};
}

void TestSimulatedSensor::faults()
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
    QCOMPARE(sensor.receivedFrames().size() + sensor.receivedLines().size(), requests.size());
}

void TestSimulatedSensor::delayedAnswersKeepTheirOrderUntilUnplugged()
{
    SimulatedSensor sensor;
    SensorFaults faults;
    faults.delayMs = 150;
    faults.splitSize = 5;
    faults.splitGapMs = 40;
    sensor.setFaults(faults);
    QByteArrayList sent;
    QList<qint64> sentAt;
    QElapsedTimer clock;
    connect(&sensor, &SimulatedSensor::transmit, [&](const QByteArray &b) {
        sent += b;
        sentAt += clock.elapsed();
    });
    clock.start();
    sensor.receive(addressRequest);
    sensor.setFaults(SensorFaults());
    sensor.receive("AT+BAND?\r\n"); // neither delayed nor split, yet must not overtake
    QVERIFY(sent.isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(sent.size(), 4, 5000);
    QCOMPARE(sent, hexList({"770b000000", "001f000000", "012b"}) << "OK+BAND:01\r\n");
    QVERIFY2(sentAt[0] >= 148 && sentAt[2] >= 228, qPrintable(QString::number(sentAt[2])));

    // Unplugging drops what is still on its way.
    sensor.setFaults(faults);
    sensor.receive(addressRequest);
    sensor.unplug();
    QTest::qWait(300);
    QCOMPARE(sent.size(), 4);
}

void TestSimulatedSensor::ptyRequestGetsReplyAfterReopen()
{
    QTemporaryDir dir;
    const QString link = dir.filePath("sensor");
    {
        SimulatedSensor sensor;
        PtyDevice device(&sensor);
        QVERIFY2(device.open(link), qPrintable(device.errorString()));
        QVERIFY(device.slaveName().startsWith("/dev/pts/"));
        QCOMPARE(device.linkPath(), link);
        QCOMPARE(QFileInfo(link).symLinkTarget(), device.slaveName());
        ::close(openPort(link));
        QTest::qWait(50); // the device must not see a hang-up meanwhile
        const int fd = openPort(link);
        QVERIFY(fd >= 0);
        QCOMPARE(::write(fd, addressRequest.constData(), 8), ssize_t(8));
        QCOMPARE(readPort(fd, 12).toHex(), addressReply.toHex());
        ::close(fd);
    }
    QVERIFY(!QFileInfo(link).isSymLink());
}

void TestSimulatedSensor::ptyUnplugClosesDevice()
{
    QTemporaryDir dir;
    const QString link = dir.filePath("sensor");
    SimulatedSensor sensor;
    PtyDevice device(&sensor);
    QVERIFY(device.open(link));
    const int fd = openPort(device.slaveName());
    QVERIFY(fd >= 0);
    QSignalSpy unplugged(&device, &PtyDevice::unplugged);
    sensor.unplug();
    QCOMPARE(unplugged.count(), 1);
    QVERIFY(!device.isOpen());
    QVERIFY(!QFileInfo(link).isSymLink());
    char byte = 0;
    const ssize_t got = ::read(fd, &byte, 1);
    const int error = errno;
    QVERIFY(got == 0 || (got < 0 && error != EAGAIN));
    ::close(fd);
}

QTEST_GUILESS_MAIN(TestSimulatedSensor)
#include "tst_simulatedsensor.moc"
