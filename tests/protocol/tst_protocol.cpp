#include "protocol/checksum.h"
#include "protocol/encoding.h"
#include "protocol/protocol.h"

#include <QtTest>

Q_DECLARE_METATYPE(Encoding::BcdField)

// Request frames, checksums and the value encodings; every parameter frame is in tests/params.
class TestProtocol : public QObject {
    Q_OBJECT

    static QByteArray hex(const char *text) { return QByteArray::fromHex(text); }

private slots:
    void buildFrame_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("command");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("live request") << "00000001" << 0x03 << hex("") << hex("770700000001030b");
        QTest::newRow("short address text") << "1" << 0x03 << hex("") << hex("770700000001030b");
        QTest::newRow("address bytes most significant first")
            << "12345678" << 0x03 << hex("") << hex("770712345678031e");
        QTest::newRow("address wider than 32 bits is 0")
            << "123456789" << 0x1F << hex("") << hex("7707000000001f26");
        QTest::newRow("data") << "00000001" << 0x56 << hex("0030") << hex("77090000000156003090");
    }

    void buildFrame()
    {
        QFETCH(QString, address);
        QFETCH(int, command);
        QFETCH(QByteArray, data);
        QFETCH(QByteArray, frame);
        QCOMPARE(Protocol::buildFrame(Protocol::parseAddress(address), {command, data}).toHex(),
                 frame.toHex());
        QCOMPARE(Protocol::buildAddressQuery().toHex(), QByteArray("7707000000001f26"));
    }

    void readbackFrame()
    {
        QCOMPARE(Protocol::buildReadbackFrame(0x12345678, {0x6D, 0x10, true}).toHex(),
                 QByteArray("7708123456786d1099"));
        QCOMPARE(Protocol::buildReadbackFrame(0x12345678, {0x63, 0x11, false, 0x0102, 60000})
                     .toHex(),
                 QByteArray("770c1234567863110102ea60e1"));
    }

    void checks_data()
    {
        QTest::addColumn<QByteArray>("buffer");
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("sum");
        QTest::addColumn<QByteArray>("crc");
        QTest::newRow("ack") << hex("7707000000016971") << 7 << 0x71 << hex("84d3e9de");
        QTest::newRow("check value") << QByteArray("123456789") << 9 << 0xac << hex("cbf43926");
        QTest::newRow("first n bytes only") << QByteArray("abcdef") << 3 << 0xc5 << hex("352441c2");
        QTest::newRow("n beyond buffer") << QByteArray("abc") << 100 << 0xc5 << hex("352441c2");
        QTest::newRow("n is 1") << QByteArray("abc") << 1 << 0 << hex("e8b7be43");
        QTest::newRow("n is 0") << QByteArray("abc") << 0 << 0 << hex("00000000");
    }

    void checks()
    {
        QFETCH(QByteArray, buffer);
        QFETCH(int, n);
        QFETCH(int, sum);
        QFETCH(QByteArray, crc);
        QCOMPARE(int(Checksum::additive(buffer, n)), sum);
        QCOMPARE(Checksum::crc32Bytes(buffer, n).toHex(), crc.toHex());
    }

    void scaledBcd_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("encoded");
        QTest::newRow("12.34") << "12.34" << hex("1234");
        QTest::newRow("0.29 not 0.28") << "0.29" << hex("0029");
        QTest::newRow("truncated not rounded") << "12.349" << hex("1234");
        QTest::newRow("point first") << ".5" << hex("0050");
        QTest::newRow("exponent") << "1.5e1" << hex("1500");
        QTest::newRow("upper digits lost") << "123.45" << hex("2345");
        QTest::newRow("nine digits do not parse") << "1234567.89" << hex("0000");
        // A negative amount prints with a minus sign, which the unsigned hex parse refuses.
        QTest::newRow("negative") << "-12.34" << hex("0000");
        QTest::newRow("trailing junk") << "12.34x" << hex("0000");
    }

    void scaledBcd()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, encoded);
        QCOMPARE(Encoding::scaledBcd(text).toHex(), encoded.toHex());
    }

    void integerQuotient_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("0.4") << "0.4" << 0x05;
        QTest::newRow("0.07") << "0.07" << 0x00;
        QTest::newRow("21 cut to 8 bits") << "21" << 0x06;
        QTest::newRow("negative toward zero") << "-0.4" << 0xFB;
        QTest::newRow("not a number") << "abc" << 0x00;
        QTest::newRow("infinite") << "inf" << 0x00;
    }

    void integerQuotient()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(int(Encoding::integerQuotient(text)), value);
    }

    void signedBcd_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<Encoding::BcdField>("field");
        QTest::addColumn<QString>("text");
        const auto row
            = [](const char *name, const char *frame, Encoding::BcdField field, const char *text) {
                  QTest::newRow(name) << hex(frame) << field << QString(text);
              };
        row("angle negative", "10123456", Encoding::Angle, "-12.3456");
        row("angle hundreds", "01234567", Encoding::Angle, "123.4567");
        row("angle any sign nibble", "f0001000", Encoding::Angle, "-0.1000");
        row("angle cut by frame end", "0123", Encoding::Angle, "123.0000");
        row("nibbles above 9 count", "0a0000a0", Encoding::Angle, "1000.0100");
        // The sign is applied to 0.0; the formatted negative zero carries no minus sign.
        row("negative zero", "10000000", Encoding::Angle, "0.0000");
        row("acceleration", "00981234", Encoding::Acceleration, "0.981234");
        row("acceleration negative", "11000000", Encoding::Acceleration, "-1.000000");
        row("temperature", "002550", Encoding::Temperature, "25.50");
        row("temperature negative", "100500", Encoding::Temperature, "-5.00");
    }

    void signedBcd()
    {
        QFETCH(QByteArray, frame);
        QFETCH(Encoding::BcdField, field);
        QFETCH(QString, text);
        QCOMPARE(Encoding::formatSignedBcd(frame, 0, field), text);
        QCOMPARE(Encoding::decodeSignedBcd(frame, 0, field), text.toFloat());
    }
};

QTEST_GUILESS_MAIN(TestProtocol)
#include "tst_protocol.moc"
