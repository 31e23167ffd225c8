#include "measure/livesample.h"

#include <QtTest>

// The field encodings themselves are pinned in tests/protocol; here: which field goes where.
class TestLiveSample : public QObject {
    Q_OBJECT

private slots:
    void decode_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("dataKind");
        QTest::addColumn<QStringList>("axes");
        QTest::addColumn<QString>("temperature");
        QTest::addColumn<QString>("power");
        // X/Y/Z angles -12.3456, 123.4567, -0.1; accelerations 0.981234, -1, 0.000001;
        // temperature 25.50; power 0x5A.
        const QByteArray full = QByteArray::fromHex(
            "772300000001831012345601234567f00010000098123411000000000000010025505ae2");
        // LEN 30: 31 bytes, too short for temperature and power.
        const QByteArray cut
            = QByteArray::fromHex("771e00000001830112345601234567012345670098123411000000000000ce");
        const auto row = [](const char *name, const QByteArray &reply, int kind,
                             const QStringList &axes, const char *temperature, const char *power) {
            QTest::newRow(name) << reply << kind << axes << QString(temperature) << QString(power);
        };
        row("angles", full, 0, { "-12.3456", "123.4567", "-0.1000" }, "25.50", "90");
        row("magnetic field", full, 1, { "0", "0", "0" }, "25.50", "90");
        row("accelerations", full, 2, { "0.981234", "-1.000000", "0.000001" }, "25.50", "90");
        row("angular velocity", full, 3, { "0", "0", "0" }, "25.50", "90");
        row("31 bytes", cut, 0, { "112.3456", "123.4567", "123.4567" }, "0.00", "0");
    }

    void decode()
    {
        QFETCH(QByteArray, reply);
        QFETCH(int, dataKind);
        QFETCH(QStringList, axes);
        QFETCH(QString, temperature);
        QFETCH(QString, power);
        const LiveSample sample = decodeLiveSample(reply, dataKind);
        QCOMPARE((QStringList { sample.x, sample.y, sample.z }), axes);
        QCOMPARE(sample.temperature, temperature);
        QCOMPARE(sample.power, power);
    }

    void recordLineHasTwoSpacesBetweenFields()
    {
        const QDateTime when(QDate(2024, 3, 1), QTime(9, 5, 3, 7));
        QCOMPARE(::recordLine(when, { "-12.3456", "123.4567", "-0.1000", "25.50", "90" }),
            QString("2024-03-01 09:05:03.007  -12.3456  123.4567  -0.1000  25.50  90\n"));
    }
};

QTEST_GUILESS_MAIN(TestLiveSample)
#include "tst_livesample.moc"
