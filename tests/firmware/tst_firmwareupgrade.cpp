// The upgrade's wire frames, the TEA payload cipher and the version rules, as known answers. The
// conversation itself is tested through the window against the simulated boot loader.
#include "firmware/firmwareupgrade.h"
#include "firmware/firmwareversion.h"
#include "firmware/tea.h"

#include <QtTest>

class TestFirmwareUpgrade : public QObject {
    Q_OBJECT

private slots:
    void frames()
    {
        QCOMPARE(FirmwareUpgrade::announcement(2048, 2).toHex(), "5a010000080000022c097210");
        QCOMPARE(FirmwareUpgrade::abortFrame(2048).toHex(), "5a030100000800005563a8e7");
        QCOMPARE(FirmwareUpgrade::updateRequest(0x1234abcd, 1, 0x30).toHex(), "7704cd3001");
        QCOMPARE(FirmwareUpgrade::updateRequest(0x1234abcd, 2, 0x30).toHex(), "7705abcd30ad");
        QCOMPARE(FirmwareUpgrade::updateRequest(0x1234abcd, 4, 0x30).toHex(), "77071234abcd30f5");
        // The third packet of a 2064-byte image: its 16 bytes, the CRC over them unencrypted.
        QByteArray image(2048, 'x');
        for (char c = 0; c < 16; ++c)
            image.append(c);
        FirmwareUpgrade upgrade;
        upgrade.start({ image, 1, 4, 0x30 });
        const QByteArray packet = upgrade.packet(2);
        QCOMPARE(packet.left(4).toHex() + ' ' + packet.right(4).toHex() + ' '
                + QByteArray::number(packet.size()),
            QByteArray("5a020002 0f030f6b 24"));
    }

    void tea()
    {
        // The published all-zero vector: words 41ea3a0a 94baa940, stored little-endian.
        const QByteArray zeros(16, '\0');
        QCOMPARE(Tea::encrypt(QByteArray(8, '\0'), zeros).toHex(), "0a3aea4140a9ba94");
        QCOMPARE(Tea::decrypt(QByteArray::fromHex("0a3aea4140a9ba94"), zeros), QByteArray(8, 0));
    }

    void versions()
    {
        QStringList got;
        for (const char *pair : { "1.2.3 1.2.3", "1.10 1.9", "1.2 1.2.7", "1.a 1.0", "2 10" })
            got << QString::number(FirmwareVersion::compare(
                QString(pair).section(' ', 0, 0), QString(pair).section(' ', 1)));
        QCOMPARE(got.join(' '), QString("0 1 0 -2 -1"));
        using V = FirmwareVersion::Verdict;
        QList<V> verdicts;
        for (const char *device :
            { "AB#CD#V1.0.2", "AB#CE#V1.0.2", "AB#CD#V1.1.0", "AB#CD#V1.x.2" })
            verdicts << FirmwareVersion::judge(device, "AB#CD#V1.0.3");
        QCOMPARE(
            verdicts, QList<V>({ V::Accept, V::ModelMismatch, V::DeviceNewer, V::FormatError }));
    }
};

QTEST_GUILESS_MAIN(TestFirmwareUpgrade)
#include "tst_firmwareupgrade.moc"
