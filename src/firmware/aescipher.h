#pragma once

#include <QByteArray>
#include <QObject>

/// AES with 128, 192 or 256-bit keys in ECB, CBC, CFB (128-bit feedback) or OFB, with zero,
/// PKCS#7-style or ISO/IEC 7816-4 padding, on byte arrays. Firmware files are AES-128-CBC.
///
/// Input that cannot be handled gives an empty result: a key that is not 16, 24 or 32 bytes to
/// match the level, an IV that is not 16 bytes (in every mode but ECB), or an unknown mode.
/// ECB and CBC cipher text that ends in a partial block is decrypted up to that block only.
class AesCipher : public QObject {
    Q_OBJECT

public:
    enum Level { Aes128 = 0, Aes192 = 1, Aes256 = 2 };
    enum Mode { Ecb = 0, Cbc = 1, Cfb = 2, Ofb = 3 };
    enum Padding { ZeroPadding = 0, Pkcs7Padding = 1, IsoPadding = 2 };
    static constexpr int blockLength = 16;

    /// An object for one level, mode and padding scheme; a level out of range means Aes128 and
    /// an unknown padding scheme means ZeroPadding.
    AesCipher(int level, int mode, int padding, QObject *parent = nullptr);

    /// The plain text of `in`, padding left in place; empty on a bad key, IV or mode.
    QByteArray decrypt(
        const QByteArray &in, const QByteArray &key, const QByteArray &iv = QByteArray()) const;
    /// The cipher text of `in` after padding it; empty on a bad key, IV or mode.
    QByteArray encrypt(
        const QByteArray &in, const QByteArray &key, const QByteArray &iv = QByteArray()) const;
    /// The round keys, 16 bytes per round plus one (176, 208 or 240 bytes); empty on a bad key.
    QByteArray expandKey(const QByteArray &key) const;
    /// `data` without this object's padding.
    QByteArray stripPadding(const QByteArray &data) const;
    /// The bytes that pad `currentLength` bytes to whole blocks; none when already whole.
    QByteArray paddingFor(int currentLength, int blockLength) const;

    /// As decrypt() on an object made for the purpose.
    static QByteArray Decrypt(int level, int mode, const QByteArray &data, const QByteArray &key,
        const QByteArray &iv = QByteArray(), int padding = ZeroPadding);
    /// As encrypt() on an object made for the purpose.
    static QByteArray Encrypt(int level, int mode, const QByteArray &data, const QByteArray &key,
        const QByteArray &iv = QByteArray(), int padding = ZeroPadding);
    /// As expandKey() on an object made for the purpose.
    static QByteArray ExpandKey(int level, int mode, const QByteArray &key);
    /// As stripPadding() for the given scheme.
    static QByteArray StripPadding(const QByteArray &data, int padding);

private:
    // Checks the mode and the IV and expands the key; empty when any of them is bad.
    QByteArray scheduleFor(const QByteArray &key, const QByteArray &iv) const;

    int keyWords; // Nk: 4, 6 or 8; the cipher has Nk + 6 rounds
    int cipherMode;
    int paddingScheme;
};
