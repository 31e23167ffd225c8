#include "measure/livesample.h"

#include <QtTest>

namespace {

// X/Y/Z angles -12.3456, 123.4567, -0.1; accelerations 0.981234, -1, 0.000001;
// temperature 25.50; power 0x5A.
const char fullReplyHex[]
    = "772300000001831012345601234567f00010000098123411000000000000010025505ae2";
// LEN 30: 31 bytes, too short for temperature and power.
const char shortReplyHex[] = "771e00000001830112345601234567012345670098123411000000000000ce";

} // namespace

class TestLiveSample : public QObject {
    Q_OBJECT

private slots:
    void decode_data();
    void decode();
    void recordLine_data();
    void recordLine();
    void recordFilePath_data();
    void recordFilePath();
};

void TestLiveSample::decode_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("dataKind");
    QTest::addColumn<bool>("hasAxes");
    QTest::addColumn<QStringList>("axes");
    QTest::addColumn<QString>("temperature");
    QTest::addColumn<QString>("power");

    const QByteArray full = QByteArray::fromHex(fullReplyHex);
    const QByteArray cut = QByteArray::fromHex(shortReplyHex);
    const QStringList none = { QString(), QString(), QString() };
    QTest::newRow("angles") << full << 0 << true
                            << QStringList { "-12.3456", "123.4567", "-0.1000" } << "25.50"
                            << "90";
    QTest::newRow("magnetic field") << full << 1 << false << none << "25.50"
                                    << "90";
    QTest::newRow("accelerations")
        << full << 2 << true << QStringList { "0.981234", "-1.000000", "0.000001" } << "25.50"
        << "90";
    QTest::newRow("angular velocity") << full << 3 << false << none << "25.50"
                                      << "90";
    QTest::newRow("31 bytes angles")
        << cut << 0 << true << QStringList { "112.3456", "123.4567", "123.4567" } << "0.00"
        << "0";
    // The accelerations start after the end of this 19-byte frame and read as zeros.
    QTest::newRow("19 bytes accelerations")
        << QByteArray::fromHex("7712000000018301123456012345670123456c") << 2 << true
        << QStringList { "0.000000", "0.000000", "0.000000" } << "0.00"
        << "0";
}

void TestLiveSample::decode()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, dataKind);
    QFETCH(bool, hasAxes);
    QFETCH(QStringList, axes);
    QFETCH(QString, temperature);
    QFETCH(QString, power);

    const LiveSample sample = decodeLiveSample(reply, dataKind);
    QCOMPARE(sample.hasAxes, hasAxes);
    if (hasAxes)
        QCOMPARE((QStringList { sample.x, sample.y, sample.z }), axes);
    QCOMPARE(sample.temperature, temperature);
    QCOMPARE(sample.power, power);
}

void TestLiveSample::recordLine_data()
{
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("line");

    QTest::newRow("morning") << QDateTime(QDate(2024, 3, 1), QTime(9, 5, 3, 7))
                             << QStringList { "-12.3456", "123.4567", "-0.1000", "25.50", "90" }
                             << "2024-03-01 09:05:03.007  -12.3456  123.4567  -0.1000  25.50  90\n";
    QTest::newRow("no axis values") << QDateTime(QDate(2023, 12, 31), QTime(23, 59, 59, 999))
                                    << QStringList { "0", "0", "0", "0.00", "0" }
                                    << "2023-12-31 23:59:59.999  0  0  0  0.00  0\n";
}

void TestLiveSample::recordLine()
{
    QFETCH(QDateTime, when);
    QFETCH(QStringList, texts);
    QFETCH(QString, line);
    QCOMPARE(
        ::recordLine(when, texts.at(0), texts.at(1), texts.at(2), texts.at(3), texts.at(4)), line);
}

void TestLiveSample::recordFilePath_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("path");

    QTest::newRow("folder") << "C:/Users/Public/Documents"
                            << "C:/Users/Public/Documents/Orvex_Record.txt";
    QTest::newRow("empty") << ""
                           << "";
}

void TestLiveSample::recordFilePath()
{
    QFETCH(QString, folder);
    QFETCH(QString, path);
    QCOMPARE(::recordFilePath(folder), path);
}

QTEST_GUILESS_MAIN(TestLiveSample)
#include "tst_livesample.moc"
