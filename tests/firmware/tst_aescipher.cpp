#include "firmware/aescipher.h"

#include <QtTest>

// Known answers of FIPS-197 Appendix C and NIST SP 800-38A Appendix F, the padding schemes, and
// the input the cipher refuses or cuts short.
class TestAesCipher : public QObject {
    Q_OBJECT

    static QByteArray hex(const char *text) { return QByteArray::fromHex(text); }
    const QByteArray k128 = hex("2b7e151628aed2a6abf7158809cf4f3c");
    const QByteArray iv = hex("000102030405060708090a0b0c0d0e0f"); // all of Appendix F's IVs

private slots:
    void knownAnswers_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<QByteArray>("cipher");
        const QByteArray c = hex("00112233445566778899aabbccddeeff");
        const QByteArray k
            = hex("000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f");
        const QByteArray f
            = hex("6bc1bee22e409f96e93d7e117393172aae2d8a571e03ac9c9eb76fac45af8e51"
                  "30c81c46a35ce411e5fbc1191a0a52eff69f2445df4f9b17ad2b417be66c3710");
        QTest::newRow("C.1") << 0 << 0 << k.left(16) << c
                             << hex("69c4e0d86a7b0430d8cdb78070b4c55a");
        QTest::newRow("C.2") << 1 << 0 << k.left(24) << c
                             << hex("dda97ca4864cdfe06eaf70a0ec0d7191");
        QTest::newRow("C.3") << 2 << 0 << k << c << hex("8ea2b7ca516745bfeafc49904b496089");
        QTest::newRow("F.1.1 ECB-AES128")
            << 0 << 0 << k128 << f
            << hex("3ad77bb40d7a3660a89ecaf32466ef97f5d3d58503b9699de785895a96fdbaaf"
                   "43b1cd7f598ece23881b00e3ed0306887b0c785e27e8ad3f8223207104725dd4");
        QTest::newRow("F.2.1 CBC-AES128")
            << 0 << 1 << k128 << f
            << hex("7649abac8119b246cee98e9b12e9197d5086cb9b507219ee95db113a917678b2"
                   "73bed6b8e3c1743b7116e69e222295163ff1caa1681fac09120eca307586e1a7");
        QTest::newRow("F.2.3 CBC-AES192")
            << 1 << 1 << hex("8e73b0f7da0e6452c810f32b809079e562f8ead2522c6b7b") << f
            << hex("4f021db243bc633d7178183a9fa071e8b4d9ada9ad7dedf4e5e738763f69145a"
                   "571b242012fb7ae07fa9baac3df102e008b0e27988598881d920a9e64f5615cd");
        QTest::newRow("F.3.13 CFB128-AES128")
            << 0 << 2 << k128 << f
            << hex("3b3fd92eb72dad20333449f8e83cfb4ac8a64537a0b3a93fcde3cdad9f1ce58b"
                   "26751f67a3cbb140b1808cf187a4f4dfc04b05357c5d1c0eeac4c66f9ff7f2e6");
        QTest::newRow("F.4.1 OFB-AES128")
            << 0 << 3 << k128 << f
            << hex("3b3fd92eb72dad20333449f8e83cfb4a7789508d16918f03f53c52dac54ed825"
                   "9740051e9c5fecf64344f7a82260edcc304c6528f659c77866a510d9c1d6ae5e");
    }

    void knownAnswers()
    {
        QFETCH(int, level);
        QFETCH(int, mode);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, plain);
        QFETCH(QByteArray, cipher);
        // ECB ignores the IV, so it gets one that any other mode would refuse.
        const QByteArray iv = mode == AesCipher::Ecb ? this->iv.left(15) : this->iv;
        QCOMPARE(AesCipher::Encrypt(level, mode, plain, key, iv).toHex(), cipher.toHex());
        QCOMPARE(AesCipher::Decrypt(level, mode, cipher, key, iv).toHex(), plain.toHex());
        // Five bytes short: CFB and OFB keep the length, ECB and CBC leave out the partial block.
        const int kept = mode >= AesCipher::Cfb ? cipher.size() - 5 : (cipher.size() - 5) / 16 * 16;
        QCOMPARE(AesCipher::Decrypt(level, mode, cipher.chopped(5), key, iv).toHex(),
            plain.left(kept).toHex());
    }

    void keySchedule()
    {
        // FIPS-197 Appendix A.1's last round key; an unknown level is AES-128.
        QCOMPARE(AesCipher::ExpandKey(7, AesCipher::Cbc, k128).toHex().right(32),
            QByteArray("d014f9a8c9ee2589e13f0cc8b6630ca6"));
        QCOMPARE(AesCipher::ExpandKey(AesCipher::Aes256, AesCipher::Ecb, k128 + k128).size(), 240);
    }

    void padding_data()
    {
        QTest::addColumn<int>("scheme");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArray>("stripped");
        QTest::newRow("ISO: cut at the last 80") << 2 << hex("4142800000") << hex("4142");
        QTest::newRow("ISO: an 80 in the data") << 2 << hex("4180428000") << hex("418042");
        QTest::newRow("ISO: no 80 at all") << 2 << hex("414200") << hex("");
        QTest::newRow("zero") << 0 << hex("4100420000") << hex("410042");
        QTest::newRow("zero only") << 0 << hex("0000") << hex("");
        QTest::newRow("PKCS#7 03") << 1 << hex("4142030303") << hex("4142");
        QTest::newRow("PKCS#7 count over the length") << 1 << hex("4105") << hex("4105");
        const QByteArray ends81 = QByteArray(130, 'A') + '\x81'; // 129 if it were unsigned
        QTest::newRow("PKCS#7 count read signed") << 1 << ends81 << ends81;
        QTest::newRow("PKCS#7 00") << 1 << hex("4100") << hex("4100");
    }

    void padding()
    {
        QFETCH(int, scheme);
        QFETCH(QByteArray, data);
        QFETCH(QByteArray, stripped);
        QCOMPARE(AesCipher::StripPadding(data, scheme).toHex(), stripped.toHex());
        const char *padOf13[] = { "000000", "030303", "800000" };
        QCOMPARE(AesCipher(0, 0, scheme).paddingFor(13, 16).toHex(), QByteArray(padOf13[scheme]));
        // Whole blocks get no padding block, in any scheme.
        QCOMPARE(AesCipher::Encrypt(0, AesCipher::Cbc, k128 + k128, k128, iv, scheme).size(), 32);
    }

    void refused()
    {
        for (int mode : { AesCipher::Cbc, AesCipher::Cfb, AesCipher::Ofb }) {
            for (const QByteArray &badIv : { iv.left(15), iv + 'x', QByteArray() }) {
                QCOMPARE(AesCipher::Decrypt(0, mode, k128, k128, badIv), QByteArray());
                QCOMPARE(AesCipher::Encrypt(0, mode, k128, k128, badIv), QByteArray());
            }
        }
        for (int mode = AesCipher::Ecb; mode <= AesCipher::Ofb; ++mode) {
            QCOMPARE(AesCipher::Decrypt(0, mode, QByteArray(), k128, iv), QByteArray());
            QCOMPARE(AesCipher::Encrypt(0, mode, QByteArray(), k128, iv), QByteArray());
            QCOMPARE(AesCipher::Decrypt(0, mode, k128, k128.left(15), iv), QByteArray());
            QCOMPARE(AesCipher::Encrypt(AesCipher::Aes192, mode, k128, k128, iv), QByteArray());
        }
        QCOMPARE(AesCipher::Decrypt(0, 4, k128, k128, iv), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestAesCipher)
#include "tst_aescipher.moc"
