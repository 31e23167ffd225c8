#include "protocol/protocol.h"

#include <QtTest>

class TestProtocol : public QObject {
    Q_OBJECT

private slots:
    void addressQueryIgnoresFields();
    void buildFrame_data();
    void buildFrame();
    void readbackFrame_data();
    void readbackFrame();
    void checksum_data();
    void checksum();
    void crc32_data();
    void crc32();
};

void TestProtocol::addressQueryIgnoresFields()
{
    Protocol protocol;
    protocol.address = QStringLiteral("12345678");
    protocol.command = 0x03;
    QCOMPARE(protocol.buildAddressQuery(), QByteArray::fromHex("7707000000001f26"));
}

void TestProtocol::buildFrame_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("command");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QByteArray>("frame");

    const QByteArray none;
    QTest::newRow("live request") << "00000001" << 7 << 0x03 << none
                                  << QByteArray::fromHex("770700000001030b");
    QTest::newRow("short address text")
        << "1" << 7 << 0x03 << none << QByteArray::fromHex("770700000001030b");
    QTest::newRow("address bytes")
        << "12345678" << 7 << 0x03 << none << QByteArray::fromHex("770712345678031e");
    QTest::newRow("unparsable address")
        << "xyz" << 7 << 0x1F << none << QByteArray::fromHex("7707000000001f26");
    QTest::newRow("too wide address")
        << "123456789" << 7 << 0x1F << none << QByteArray::fromHex("7707000000001f26");
    QTest::newRow("command low byte")
        << "1" << 7 << 0x103 << none << QByteArray::fromHex("770700000001030b");
    QTest::newRow("sleep 30") << "00000001" << 9 << 0x56 << QByteArray::fromHex("0030")
                              << QByteArray::fromHex("77090000000156003090");
    QTest::newRow("output timing") << "00000001" << 11 << 0x0C << QByteArray::fromHex("00100030")
                                   << QByteArray::fromHex("770b000000010c0010003058");
    QTest::newRow("data padded") << "00000001" << 9 << 0x42 << QByteArray::fromHex("05")
                                 << QByteArray::fromHex("77090000000142050051");
    QTest::newRow("extra data ignored")
        << "00000001" << 9 << 0x56 << QByteArray::fromHex("00304455")
        << QByteArray::fromHex("77090000000156003090");
    QTest::newRow("length below 7") << "00000001" << 3 << 0x69 << QByteArray::fromHex("aa")
                                    << QByteArray::fromHex("7707000000016971");
}

void TestProtocol::buildFrame()
{
    QFETCH(QString, address);
    QFETCH(int, length);
    QFETCH(int, command);
    QFETCH(QByteArray, data);
    QFETCH(QByteArray, frame);

    Protocol protocol;
    protocol.address = address;
    protocol.length = length;
    protocol.command = command;
    protocol.data = data;
    QCOMPARE(protocol.buildFrame().toHex(), frame.toHex());
}

void TestProtocol::readbackFrame_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("subCode");
    QTest::addColumn<int>("begin");
    QTest::addColumn<int>("end");
    QTest::addColumn<bool>("shortForm");
    QTest::addColumn<QByteArray>("frame");

    QTest::newRow("descending next page") << "abcdef01" << 0x6D << 0x10 << 5 << 6 << true
                                          << QByteArray::fromHex("7708abcdef016d10ed");
    QTest::newRow("ascending first request") << "00000001" << 0x61 << 0x00 << 1 << 60000 << false
                                             << QByteArray::fromHex("770c0000000161000001ea60b9");
    QTest::newRow("delete resend") << "12345678" << 0x63 << 0x11 << 0x0102 << 0x0304 << false
                                   << QByteArray::fromHex("770c123456786311010203049e");
}

void TestProtocol::readbackFrame()
{
    QFETCH(QString, address);
    QFETCH(int, command);
    QFETCH(int, subCode);
    QFETCH(int, begin);
    QFETCH(int, end);
    QFETCH(bool, shortForm);
    QFETCH(QByteArray, frame);

    Protocol protocol;
    protocol.address = address;
    protocol.readbackCommand = quint8(command);
    protocol.readbackSubCode = quint8(subCode);
    protocol.rangeBegin = quint16(begin);
    protocol.rangeEnd = quint16(end);
    QCOMPARE(protocol.buildReadbackFrame(shortForm).toHex(), frame.toHex());
}

void TestProtocol::checksum_data()
{
    QTest::addColumn<QByteArray>("buffer");
    QTest::addColumn<int>("n");
    QTest::addColumn<QByteArray>("sum");

    const QByteArray ack = QByteArray::fromHex("7707000000016971");
    QTest::newRow("ack") << ack << 7 << QByteArray::fromHex("71");
    QTest::newRow("header excluded")
        << QByteArray::fromHex("ff01") << 2 << QByteArray::fromHex("01");
    QTest::newRow("wraps") << QByteArray::fromHex("00ffff03") << 4 << QByteArray::fromHex("01");
    QTest::newRow("n is 1") << ack << 1 << QByteArray::fromHex("00");
    QTest::newRow("n is 0") << ack << 0 << QByteArray::fromHex("00");
    QTest::newRow("n negative") << ack << -3 << QByteArray::fromHex("00");
    QTest::newRow("n beyond buffer")
        << QByteArray::fromHex("770102") << 40 << QByteArray::fromHex("03");
}

void TestProtocol::checksum()
{
    QFETCH(QByteArray, buffer);
    QFETCH(int, n);
    QFETCH(QByteArray, sum);
    QCOMPARE(Protocol::checksum(buffer, n).toHex(), sum.toHex());
}

void TestProtocol::crc32_data()
{
    QTest::addColumn<QByteArray>("buffer");
    QTest::addColumn<int>("n");
    QTest::addColumn<QByteArray>("crc");

    const QByteArray fox("The quick brown fox jumps over the lazy dog");
    QTest::newRow("check value") << QByteArray("123456789") << 9 << QByteArray::fromHex("cbf43926");
    QTest::newRow("abc") << QByteArray("abc") << 3 << QByteArray::fromHex("352441c2");
    QTest::newRow("prefix only") << QByteArray("abcdef") << 3 << QByteArray::fromHex("352441c2");
    QTest::newRow("long text") << fox << fox.size() << QByteArray::fromHex("414fa339");
    QTest::newRow("n beyond buffer") << QByteArray("abc") << 100 << QByteArray::fromHex("352441c2");
    QTest::newRow("n is 0") << QByteArray("abc") << 0 << QByteArray::fromHex("00000000");
    QTest::newRow("n negative") << QByteArray("abc") << -1 << QByteArray::fromHex("00000000");
    QTest::newRow("empty buffer") << QByteArray() << 4 << QByteArray::fromHex("00000000");
}

void TestProtocol::crc32()
{
    QFETCH(QByteArray, buffer);
    QFETCH(int, n);
    QFETCH(QByteArray, crc);
    QCOMPARE(Protocol::crc32(buffer, n).toHex(), crc.toHex());
    if (n >= 1 && n <= buffer.size())
        QCOMPARE(Protocol::crc32Value(buffer.constData(), n), crc.toHex().toUInt(nullptr, 16));
}

QTEST_GUILESS_MAIN(TestProtocol)
#include "tst_protocol.moc"
