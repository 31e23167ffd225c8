#include "firmware/firmwarefile.h"

#include <QtTest>

using Counts = QVector<int>; // packets, full packets, last packet length

// Firmware files: made by encode, read back by decode and load; one file made independently.
class TestFirmwareFile : public QObject {
    Q_OBJECT

private slots:
    void roundTrip_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("sent"); // the image size, padded to 16
        QTest::addColumn<Counts>("packets");
        QTest::addColumn<bool>("usable");
        QTest::newRow("2512 bytes")
            << "AB#CD#V1.0.3" << 2 << 2512 << 2512 << Counts { 3, 2, 464 } << true;
        QTest::newRow("2048 bytes") << "V2" << 4 << 2048 << 2048 << Counts { 2, 2, 0 } << true;
        QTest::newRow("padded") << "" << 1 << 20 << 32 << Counts { 1, 0, 32 } << true;
        QTest::newRow("96 bytes, no image") << "V3" << 1 << 0 << 0 << Counts { 0, 0, 0 } << false;
        QTest::newRow("W 3") << "V4" << 3 << 16 << 16 << Counts { 1, 0, 16 } << false;
        QTest::newRow("W -1") << "V5" << -1 << 16 << 16 << Counts { 1, 0, 16 } << false;
    }

    void roundTrip()
    {
        QFETCH(QString, version);
        QFETCH(int, width);
        QFETCH(int, size);
        QFETCH(int, sent);
        QFETCH(Counts, packets);
        QFETCH(bool, usable);
        QByteArray image(size, '\0');
        for (int i = 0; i < size; ++i)
            image[i] = char(i * 7 + 1);
        const FirmwareImage f
            = FirmwareFile::decode(FirmwareFile::encode(version, width, 0xA5, image));
        QCOMPARE(f.version, version);
        QCOMPARE(f.addressWidth, width);
        QCOMPARE(int(f.updateCommand), 0xA5);
        QCOMPARE(f.image.toHex(), image.leftJustified(sent, '\0').toHex());
        QCOMPARE(f.decryptedSize, 96 + sent);
        QCOMPARE((Counts { f.packetCount(), f.fullPackets(), f.lastPacketLength() }), packets);
        QCOMPARE(f.usable(), usable);
    }

    void knownFile()
    {
        // Made with the openssl command line from the 96-byte header, the image and 12 zero bytes.
        const QByteArray text(
            "SOZkIfvioN4IwK/kbA0hDgiUSuEHfkKHZvDtRAEoAgZl6Zk885xAY7maWdZuHm+k4UJhahZnAG"
            "M9XH1ja5MEUiEFj5ICJf4v+ondJOrkz47FBodgR4kjSxFiPaBCAtTv/3ypzmGAqbG11hd4yu2m"
            "8UmWbyny41V+73EsoiKhqcg=");
        const QByteArray image = QByteArray::fromHex("000102030405060708090a0b0c0d0e0f10111213");
        // Decoding it is what roundTrip() checks for every row.
        QCOMPARE(FirmwareFile::encode("AB#CD#V1.0.3", 2, 0x5A, image), text);
    }

    void load()
    {
        QTemporaryDir dir;
        QFile file(dir.filePath("firmware.ovx"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(FirmwareFile::encode("V1", 2, 0x5A, QByteArray(32, 'x')));
        file.close();
        QCOMPARE(FirmwareFile::load(file.fileName()).image, QByteArray(32, 'x'));
        // The same text followed by zeros up to one byte over 16 MiB (a sparse file): refused.
        QVERIFY(file.resize(FirmwareFile::largestFile + 1));
        QCOMPARE(FirmwareFile::load(file.fileName()).decryptedSize, 0);
        QCOMPARE(FirmwareFile::load(dir.filePath("missing.ovx")).decryptedSize, 0);
    }

    void defaultAddress()
    {
        const QStringList addresses { "", "01", "0001", "", "00000001", "" };
        for (int width = 0; width < addresses.size(); ++width)
            QCOMPARE(FirmwareFile::defaultAddress(width), addresses[width]);
    }
};

QTEST_GUILESS_MAIN(TestFirmwareFile)
#include "tst_firmwarefile.moc"
