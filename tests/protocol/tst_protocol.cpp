#include "protocol/encoding.h"
#include "protocol/protocol.h"

#include <QtTest>

Q_DECLARE_METATYPE(Encoding::BcdField)

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

} // namespace

// Request frames, checksums and the value encodings; every parameter frame is in tests/params.
class TestProtocol : public QObject {
    Q_OBJECT

private slots:
    void buildFrame_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("command");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArray>("frame");
        const auto row = [](const char *name, const char *address, int length, int command,
                             const char *data, const char *frame) {
            QTest::newRow(name) << address << length << command << hex(data) << hex(frame);
        };
        row("live request", "00000001", 7, 0x03, "", "770700000001030b");
        row("short address text", "1", 7, 0x03, "", "770700000001030b");
        row("address wider than 32 bits is 0", "123456789", 7, 0x1F, "", "7707000000001f26");
        row("data padded", "00000001", 9, 0x42, "05", "77090000000142050051");
        row("extra data ignored", "00000001", 9, 0x56, "00304455", "77090000000156003090");
        row("length below 7", "00000001", 3, 0x69, "aa", "7707000000016971");
    }

    void buildFrame()
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
        // The read-address request uses none of the fields.
        QCOMPARE(protocol.buildAddressQuery().toHex(), QByteArray("7707000000001f26"));
    }

    void readbackFrame_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("subCode");
        QTest::addColumn<bool>("shortForm");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("short: next page") << 0x6D << 0x10 << true << hex("7708123456786d1099");
        QTest::newRow("long: range 0102 to EA60")
            << 0x63 << 0x11 << false << hex("770c1234567863110102ea60e1");
    }

    void readbackFrame()
    {
        QFETCH(int, command);
        QFETCH(int, subCode);
        QFETCH(bool, shortForm);
        QFETCH(QByteArray, frame);
        Protocol protocol;
        protocol.address = QStringLiteral("12345678");
        protocol.readbackCommand = quint8(command);
        protocol.readbackSubCode = quint8(subCode);
        protocol.rangeBegin = 0x0102;
        protocol.rangeEnd = 60000;
        QCOMPARE(protocol.buildReadbackFrame(shortForm).toHex(), frame.toHex());
    }

    void checksum_data()
    {
        QTest::addColumn<QByteArray>("buffer");
        QTest::addColumn<int>("n");
        QTest::addColumn<QByteArray>("sum");
        QTest::newRow("n is 1") << hex("7707000000016971") << 1 << hex("00");
        QTest::newRow("n negative") << hex("7707000000016971") << -3 << hex("00");
        QTest::newRow("n beyond buffer") << hex("770102") << 40 << hex("03");
    }

    void checksum()
    {
        QFETCH(QByteArray, buffer);
        QFETCH(int, n);
        QFETCH(QByteArray, sum);
        QCOMPARE(Protocol::checksum(buffer, n).toHex(), sum.toHex());
    }

    void crc32_data()
    {
        QTest::addColumn<QByteArray>("buffer");
        QTest::addColumn<int>("n");
        QTest::addColumn<QByteArray>("crc");
        QTest::newRow("check value") << QByteArray("123456789") << 9 << hex("cbf43926");
        QTest::newRow("first n bytes only") << QByteArray("abcdef") << 3 << hex("352441c2");
        QTest::newRow("n beyond buffer") << QByteArray("abc") << 100 << hex("352441c2");
        QTest::newRow("n is 0") << QByteArray("abc") << 0 << hex("00000000");
    }

    void crc32()
    {
        QFETCH(QByteArray, buffer);
        QFETCH(int, n);
        QFETCH(QByteArray, crc);
        QCOMPARE(Protocol::crc32(buffer, n).toHex(), crc.toHex());
        if (n >= 1 && n <= buffer.size())
            QCOMPARE(Protocol::crc32Value(buffer.constData(), n), crc.toHex().toUInt(nullptr, 16));
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
        QTest::newRow("hex letters") << "abc" << hex("0000");
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
