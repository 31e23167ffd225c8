#include "protocol/encoding.h"

#include <QtTest>

Q_DECLARE_METATYPE(Encoding::BcdField)

class TestEncoding : public QObject {
    Q_OBJECT

private slots:
    void typedDigitsBcd_data();
    void typedDigitsBcd();
    void scaledBcd_data();
    void scaledBcd();
    void integerQuotient_data();
    void integerQuotient();
    void signedBcd_data();
    void signedBcd();
    void addressText_data();
    void addressText();
};

void TestEncoding::typedDigitsBcd_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("bytes");
    QTest::addColumn<QByteArray>("encoded");

    QTest::newRow("sleep 30") << "30" << 2 << QByteArray::fromHex("0030");
    QTest::newRow("threshold 200") << "200" << 2 << QByteArray::fromHex("0200");
    QTest::newRow("auto 10") << "10" << 1 << QByteArray::fromHex("10");
    QTest::newRow("five digits lose the first") << "12345" << 2 << QByteArray::fromHex("2345");
    QTest::newRow("four-digit year") << "2025" << 1 << QByteArray::fromHex("25");
    QTest::newRow("hex address") << "1A2B3C4D" << 4 << QByteArray::fromHex("1a2b3c4d");
    QTest::newRow("padded address") << "1" << 4 << QByteArray::fromHex("00000001");
    QTest::newRow("empty") << "" << 2 << QByteArray::fromHex("0000");
    QTest::newRow("not hex") << "12g" << 2 << QByteArray::fromHex("0000");
    QTest::newRow("wider than 32 bits") << "123456789" << 4 << QByteArray::fromHex("00000000");
}

void TestEncoding::typedDigitsBcd()
{
    QFETCH(QString, text);
    QFETCH(int, bytes);
    QFETCH(QByteArray, encoded);
    QCOMPARE(Encoding::typedDigitsBcd(text, bytes).toHex(), encoded.toHex());
}

void TestEncoding::scaledBcd_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("encoded");

    QTest::newRow("12.34") << "12.34" << QByteArray::fromHex("1234");
    QTest::newRow("0.29") << "0.29" << QByteArray::fromHex("0029");
    QTest::newRow("0.57") << "0.57" << QByteArray::fromHex("0057");
    QTest::newRow("truncated not rounded") << "12.349" << QByteArray::fromHex("1234");
    QTest::newRow("12.5") << "12.5" << QByteArray::fromHex("1250");
    QTest::newRow("30") << "30" << QByteArray::fromHex("3000");
    QTest::newRow("0.5") << "0.5" << QByteArray::fromHex("0050");
    QTest::newRow("point first") << ".5" << QByteArray::fromHex("0050");
    QTest::newRow("exponent") << "1.5e1" << QByteArray::fromHex("1500");
    QTest::newRow("upper digits lost") << "123.45" << QByteArray::fromHex("2345");
    QTest::newRow("eight digits") << "123456.78" << QByteArray::fromHex("5678");
    QTest::newRow("nine digits do not parse") << "1234567.89" << QByteArray::fromHex("0000");
    QTest::newRow("below a hundredth") << "0.009" << QByteArray::fromHex("0000");
    // A negative amount prints with a minus sign, which the unsigned hex parse refuses.
    QTest::newRow("negative") << "-12.34" << QByteArray::fromHex("0000");
    QTest::newRow("negative below a hundredth") << "-0.001" << QByteArray::fromHex("0000");
    QTest::newRow("not a number") << "abc" << QByteArray::fromHex("0000");
    QTest::newRow("trailing junk") << "12.34x" << QByteArray::fromHex("0000");
    QTest::newRow("empty") << "" << QByteArray::fromHex("0000");
}

void TestEncoding::scaledBcd()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, encoded);
    QCOMPARE(Encoding::scaledBcd(text).toHex(), encoded.toHex());
}

void TestEncoding::integerQuotient_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");

    QTest::newRow("0.4") << "0.4" << 0x05;
    QTest::newRow("0.16") << "0.16" << 0x02;
    QTest::newRow("0.07") << "0.07" << 0x00;
    QTest::newRow("20") << "20" << 0xFA;
    QTest::newRow("21 cut to 8 bits") << "21" << 0x06;
    QTest::newRow("negative toward zero") << "-0.4" << 0xFB;
    QTest::newRow("empty") << "" << 0x00;
    QTest::newRow("not a number") << "abc" << 0x00;
    QTest::newRow("out of float range") << "1e50" << 0x00;
    QTest::newRow("infinite") << "inf" << 0x00;
}

void TestEncoding::integerQuotient()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(int(Encoding::integerQuotient(text)), value);
}

void TestEncoding::signedBcd_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<int>("offset");
    QTest::addColumn<Encoding::BcdField>("field");
    QTest::addColumn<QString>("text");

    const auto hex = [](const char *h) { return QByteArray::fromHex(h); };
    QTest::newRow("angle negative") << hex("10123456") << 0 << Encoding::Angle << "-12.3456";
    QTest::newRow("angle hundreds") << hex("01234567") << 0 << Encoding::Angle << "123.4567";
    QTest::newRow("angle any sign nibble") << hex("f0001000") << 0 << Encoding::Angle << "-0.1000";
    QTest::newRow("angle largest") << hex("09999999") << 0 << Encoding::Angle << "999.9999";
    QTest::newRow("angle cut by frame end") << hex("0123") << 0 << Encoding::Angle << "123.0000";
    QTest::newRow("angle past frame end") << hex("0123") << 5 << Encoding::Angle << "0.0000";
    QTest::newRow("nibbles above 9 count")
        << hex("0a0000a0") << 0 << Encoding::Angle << "1000.0100";
    // The sign is applied to 0.0; the formatted negative zero carries no minus sign.
    QTest::newRow("negative zero") << hex("10000000") << 0 << Encoding::Angle << "0.0000";
    QTest::newRow("acceleration") << hex("00981234") << 0 << Encoding::Acceleration << "0.981234";
    QTest::newRow("acceleration negative")
        << hex("11000000") << 0 << Encoding::Acceleration << "-1.000000";
    QTest::newRow("temperature") << hex("002550") << 0 << Encoding::Temperature << "25.50";
    QTest::newRow("temperature negative") << hex("100500") << 0 << Encoding::Temperature << "-5.00";
    QTest::newRow("temperature hundreds")
        << hex("011234ff") << 0 << Encoding::Temperature << "112.34";
}

void TestEncoding::signedBcd()
{
    QFETCH(QByteArray, frame);
    QFETCH(int, offset);
    QFETCH(Encoding::BcdField, field);
    QFETCH(QString, text);
    QCOMPARE(Encoding::formatSignedBcd(frame, offset, field), text);
    QCOMPARE(Encoding::decodeSignedBcd(frame, offset, field), text.toFloat());
}

void TestEncoding::addressText_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("text");

    QTest::newRow("digits") << QByteArray::fromHex("12345678") << 0 << "12345678";
    QTest::newRow("lower case") << QByteArray::fromHex("0000000a") << 0 << "0000000a";
    QTest::newRow("in reply") << QByteArray::fromHex("770b000000001fabcdef013e") << 7 << "abcdef01";
    QTest::newRow("past frame end") << QByteArray::fromHex("7701") << 1 << "01000000";
}

void TestEncoding::addressText()
{
    QFETCH(QByteArray, frame);
    QFETCH(int, offset);
    QFETCH(QString, text);
    QCOMPARE(Encoding::addressText(frame, offset), text);
}

QTEST_GUILESS_MAIN(TestEncoding)
#include "tst_encoding.moc"
