// The simulator alone: known answers, one row per fault switch, the pseudo-terminal end to end.
#include "sim/ptydevice.h"
#include "sim/simulatedsensor.h"

#include "firmware/tea.h"
#include "protocol/checksum.h"

#include <QtTest>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

using S = SensorFaults;
using M = ModuleFaults;
using Setup = void (*)(S &, M &);
Q_DECLARE_METATYPE(Setup)
using Prepare = void (*)(SimulatedSensor &);
Q_DECLARE_METATYPE(Prepare)
static const Setup noFaults = [](S &, M &) {};
static const Prepare asBuilt = [](SimulatedSensor &) {};
using Items = std::initializer_list<QByteArray>;

static const char request[] = "7707000000001f26", reply[] = "770b000000001f000000012b"; // address
static const char upload[] = "770800000001690173"; // upload mode 1
static const char unplug[] = ""; // not sent: the plug is pulled there
static const char settle[] = "settle"; // not sent: waits for the next chunk on the line
// Reads of the three stored records, two to a page: ascending over 1..3, descending, stop, erase.
static const char a00[] = "770c0000000161000001000372", a10[] = "770c0000000161100001000382";
static const char a11[] = "770c0000000161110001000383", m00[] = "7708000000016d0076";
static const char m10[] = "7708000000016d1086";
static const char stop[] = "77080000000162107b", eraseAll[] = "770c0000000163000001000374";
// Records: date, time, X, Y, Z angle, temperature, 0, power, X, Y, Z acceleration, 0. A page:
// 77, N, flags (80: 36-byte records), 000000, command, FF on the last page, records, CRC-32.
static const QByteArray rec1 = "1a0101000100" "10012345" "00023456" "00034567" "101234" "0001"
                               "10123456" "00234567" "00345678" "00";
static const QByteArray rec2 = "1a0101000200" "00024690" "10046912" "00069134" "002468" "0002"
                               "00246912" "10469134" "00691356" "00";
static const QByteArray rec3 = "1a0101000300" "10037035" "00070368" "10103701" "003702" "0003"
                               "10370368" "00703701" "11037034" "00";
static const QByteArray page12 = "7702800000006100" + rec1 + rec2 + "93dd381e";
// Boot loader: update requests (full and 16-bit address, command 30), the answer to them (5A 81,
// version text in 50 bytes, CRC-32), announcement and abort of a 2064-byte image in 3 packets,
// acknowledgements (5A 82, packet index, 01 written or 02 checksum error, CRC-32).
static const char upd4[] = "7707000000013038", upd2[] = "770500013036";
static const QByteArray version = "5a81544c2353312356312e302e30" + QByteArray(76, '0') + "ee62e647";
static const QByteArray announce = "5a010000081000034728e1f6";
static const char cancel[] = "5a030100000810001fa1bab6";
static const char ack0[] = "5a8200000184d66e51", ack1[] = "5a820001019dcd5f10";
static const char ack2[] = "5a82000201b6e00cd3", ack0Error[] = "5a820000021ddf3feb";
static const char ack1Error[] = "5a8200010204c40eaa";

static QByteArray firmware()
{
    QByteArray image(2064, '\0');
    for (int i = 0; i < image.size(); ++i)
        image[i] = char(i * 7 + i / 256);
    return image;
}

// Packet k in hex: 5A 02 k, its payload under TEA, CRC-32 of the plain text (last byte ^ flip).
static QByteArray packet(int k, char flip = 0)
{
    const QByteArray plain
        = QByteArray::fromHex("5a0200") + char(k) + firmware().mid(k * 1024, 1024);
    QByteArray crc = Checksum::crc32Bytes(plain, plain.size());
    crc[3] = char(crc.at(3) ^ flip);
    return (plain.left(4) + Tea::encrypt(plain.mid(4)) + crc).toHex();
}
static const QByteArray p0 = packet(0), p1 = packet(1), p2 = packet(2);

// Wire bytes: a text line as written (it ends in CR LF), anything else a frame in hex.
static QByteArrayList wire(Items items)
{
    QByteArrayList list;
    for (const QByteArray &item : items)
        list.append(item.endsWith("\r\n") || item == settle ? item : QByteArray::fromHex(item));
    return list;
}

static void row(const char *name, Items requests, Items chunks, Setup setup = noFaults,
    Prepare prepare = asBuilt, const QByteArray &image = QByteArray())
{
    QTest::newRow(name) << setup << prepare << wire(requests) << wire(chunks) << image;
}

class TestSimulatedSensor : public QObject
{
    Q_OBJECT

private slots:
    void exchanges_data();
    void exchanges();
    void ptyDeviceEndToEnd();
};

void TestSimulatedSensor::exchanges_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<Prepare>("prepare");
    QTest::addColumn<QByteArrayList>("requests");
    QTest::addColumn<QByteArrayList>("chunks");
    QTest::addColumn<QByteArray>("image"); // received in full
    row("live readings", {"770700000001030b"}, {"77230000000183" "10123456" "01234567" "00000000"
        "00000000" "11000000" "00000000" "002550" "5f" "08"});
    row("zero mode, sleep set, queried",
        {"77080000000105010f", "7707000000010d15", "77090000000156003090", "770700000001575f"},
        {"770700000001858d", "7708000000018d0197", "770700000001565e", "77090000000157003091"});
    row("new address: ack from the old, then only the new answers",
        {"770b000000010f123456782f", "7707123456780d28", "7707000000010d15"},
        {"7707000000018f97", "7708123456788d00a9"});
    row("module: set, refuse, query; ATE1 points the channel sets at the first text again",
        {"AT+BAND=3\r\n", "AT+BAND=7\r\n", "AT+BAND?\r\n", "AT+CHANNEL=x\r\n", "ATE1\r\n",
         "AT+CHANNEL=1, 2 ,3\r\n", "AT+CHANNEL=8-15 信道\r\n", "AT+CHANNEL?\r\n"},
        {"OK+BAND\r\n", "ERROR\r\n", "OK+BAND:03\r\n", "OK+CHANNEL\r\n", "OK\r\n", "OK+CHANNEL\r\n",
         "OK+CHANNEL\r\n", "OK+CHANNEL:1, 2 ,3\r\nOK+CHANNEL:8-15 信道\r\n"});
    const Items both = {request, "AT+SAVE\r\n"};
    row("silent", {request, "AT+SAVE\r\n", a00}, {}, [](S &s, M &) { s.silent = true; });
    row("muted command", {upload, request}, {reply}, [](S &s, M &) { s.mutedCommands = {0x69}; });
    row("bad checksum", {upload}, {"770700000001698e"}, [](S &s, M &) { s.badChecksum = true; });
    row("checksum over code - 0x10 for 0x56, not 0x69", {"77090000000156003090", upload},
        {"770700000001564e", "7707000000016971"}, [](S &s, M &) { s.shiftedChecksum = true; });
    row("garbage before each answer", both, {"0d0a770b000000001f000000012b", "\r\nOK+SAVE\r\n"},
        [](S &s, M &) { s.garbage = "\r\n"; });
    row("merged in pairs, the third held", {upload, request, "AT+SAVE\r\n"},
        {"7707000000016971" "770b000000001f000000012b"}, [](S &s, M &) { s.mergeReplies = true; });
    row("delayed", {request}, {reply}, [](S &s, M &) { s.delayMs = 200; });
    row("split with gaps", {request}, {"770b000000", "001f000000", "012b"},
        [](S &s, M &) { s.splitSize = 5, s.splitGapMs = 60; });
    row("unplugged, a reply on its way", {request, unplug}, {}, [](S &s, M &) { s.delayMs = 100; });
    row("module silent, sensor answers", both, {reply}, [](S &, M &m) { m.silent = true; });
    row("module key muted, the save still saves",
        {"AT+BAND=3\r\n", "AT+SAVE\r\n", "AT+RESET\r\n", "AT+BAND?\r\n"},
        {"OK+BAND\r\n", "OK\r\n", "OK+BAND:03\r\n"}, [](S &, M &m) { m.mutedKeys = {"SAVE"}; });
    row("module keys garbled; DEVEUI made from address 1", {"AT+DEVEUI?\r\n", "ATE1\r\n"},
        {"OK+DEVEIU:0200000000000001\r\n", "OK\r\n"}, [](S &, M &m) { m.garbled = true; });
    row("module AppKey of 40 digits", {"AT+APPKEY?\r\n"},
        {"OK+APPKEY:5A81A8CEF61D446A92B9E0062E557CA2A5A5A5A5\r\n"},
        [](S &, M &m) { m.longAppKey = true; });
    row("records ascending, then an empty last page", {a00, a10, a10},
        {page12, "77018000000061ff" + rec3 + "f5c53ced", "77008000000061ff8ce3e653"});
    row("a page asked again comes byte for byte", {a00, a11}, {page12, page12});
    row("records descending: newest page first, each page ascending", {m00, m10},
        {"7702800000006d00" + rec2 + rec3 + "4a9d4872", "7701800000006dff" + rec1 + "d70b4581"});
    row("stop ends the read", {a00, stop, a10}, {page12, "770700000001626a"});
    row("erase acknowledged when done; the read is over, the records gone",
        {eraseAll, a00, settle, a10, a00}, {page12, "770700000001636b", "77008000000061ff8ce3e653"});
    row("first page with a bad CRC, its repeat good", {a00, a11},
        {"7702800000006100" + rec1 + rec2 + "93dd38e1", page12},
        [](S &s, M &) { s.badPages = {1}; });
    row("first page dropped, its repeat sent", {a00, a11}, {page12},
        [](S &s, M &) { s.droppedPages = {1}; });
    row("update requests answered once the loader has started", {upd4, upd4}, {version, version});
    row("16-bit address: the low half of the sensor's", {upd2}, {version}, noFaults,
        [](SimulatedSensor &s) { s.setAddress(0x12340001), s.setAddressWidth(2); });
    row("image in one read: two full packets and a short one, which comes first",
        {announce + p2 + p0 + p1}, {ack2, ack0, ack1}, noFaults, asBuilt, firmware());
    row("packet with a bad CRC", {announce, packet(0, 1)}, {ack0Error});
    row("abort forgets the transfer", {announce, p0, p1, cancel, p2}, {ack0, ack1});
    row("second acknowledgement lost, the repeat written again", {announce, p0, p1, p1, p2},
        {ack0, ack1, ack2}, [](S &s, M &) { s.lostAcks = {2}; }, asBuilt, firmware());
    row("good packet refused on first arrival", {announce, p0, p1, p1, p2},
        {ack0, ack1Error, ack1, ack2}, [](S &s, M &) { s.checksumErrorPackets = {1}; }, asBuilt,
        firmware());
    row("second acknowledgement, after a checksum error, with a bad CRC",
        {announce, packet(0, 1), p0}, {ack0Error, "5a8200000184d66eae"},
        [](S &s, M &) { s.badAckCrcs = {2}; });
}

void TestSimulatedSensor::exchanges()
{
    QFETCH(Setup, setup);
    QFETCH(Prepare, prepare);
    QFETCH(QByteArrayList, requests);
    QFETCH(QByteArrayList, chunks);
    QFETCH(QByteArray, image);
    S sensorFaults;
    M moduleFaults;
    setup(sensorFaults, moduleFaults);
    SimulatedSensor sensor;
    sensor.setFaults(sensorFaults);
    sensor.radioModule().setFaults(moduleFaults);
    sensor.setReadings({-12.3456, 123.4567, 0, 0, -1, 0, 25.5, 95}); // angles, g, degrees, power
    sensor.setStoredRecords(3), sensor.setPageSize(2), sensor.setEraseDelayMs(50);
    prepare(sensor);
    QByteArrayList sent;
    qint64 lastAt = 0;
    QElapsedTimer clock;
    clock.start();
    connect(&sensor, &SimulatedSensor::transmit,
            [&](const QByteArray &b) { sent += b, lastAt = clock.elapsed(); });
    for (const QByteArray &bytes : requests) {
        if (bytes == settle)
            QSignalSpy(&sensor, &SimulatedSensor::transmit).wait(5000);
        else
            bytes.isEmpty() ? sensor.unplug() : sensor.receive(bytes);
    }
    QTRY_VERIFY_WITH_TIMEOUT(sent.size() >= chunks.size(), 5000);
    QTest::qWait(250); // nothing more may follow
    QCOMPARE(sent, chunks);
    const int notBefore = sensorFaults.delayMs + (chunks.size() - 1) * sensorFaults.splitGapMs;
    QVERIFY(chunks.isEmpty() || lastAt >= notBefore - 1); // a busy machine only adds to it
    QCOMPARE(sensor.receivedImage(), image);
}

void TestSimulatedSensor::ptyDeviceEndToEnd()
{
    QTemporaryDir dir;
    const QByteArray link = QFile::encodeName(dir.filePath("sensor"));
    SimulatedSensor sensor;
    PtyDevice device(&sensor);
    QVERIFY2(device.open(link), qPrintable(device.errorString()));
    ::close(::open(link, O_RDWR | O_NOCTTY)); // closing the port must not hang the device up
    QTest::qWait(50);
    const int fd = ::open(link, O_RDWR | O_NOCTTY | O_NONBLOCK);
    QCOMPARE(::write(fd, QByteArray::fromHex("7707aabbccdd1f34").constData(), 8), ssize_t(8));
    QByteArray got(12, 0);
    for (int at = 0, tries = 0; at < 12 && ++tries < 1000; QTest::qWait(5))
        at += int(std::max<ssize_t>(0, ::read(fd, got.data() + at, size_t(12 - at))));
    QCOMPARE(got.toHex(), QByteArray(reply)); // read address: answered whatever address
    // Unplugged, the device goes away: its port reads end of file or an error.
    QSignalSpy unplugged(&device, &PtyDevice::unplugged);
    sensor.unplug();
    QCOMPARE(unplugged.count(), 1);
    QVERIFY(!QFileInfo(link).isSymLink());
    QVERIFY(::read(fd, got.data(), 1) == 0 || errno == EIO);
    ::close(fd);
}

QTEST_GUILESS_MAIN(TestSimulatedSensor)
#include "tst_simulatedsensor.moc"
