#include "firmware/firmwarefile.h"

#include "firmware/aescipher.h"

#include <QCryptographicHash>
#include <QFile>

namespace {

constexpr int versionLength = 50;
constexpr int widthAt = 51;
constexpr int commandAt = 52;

// The key is derived at every use rather than kept anywhere.
QByteArray fileKey()
{
    return QCryptographicHash::hash(
        QByteArrayLiteral("zkmport58fwx20180704"), QCryptographicHash::Md5);
}

QByteArray fileIv()
{
    return QByteArrayLiteral("fw7x2019qplmrtkz");
}

} // namespace

namespace FirmwareFile {

FirmwareImage decode(const QByteArray &fileText)
{
    const QByteArray plain = AesCipher::Decrypt(AesCipher::Aes128, AesCipher::Cbc,
        QByteArray::fromBase64(fileText), fileKey(), fileIv(), AesCipher::ZeroPadding);
    FirmwareImage result;
    result.decryptedSize = plain.size();
    const QByteArray version = plain.left(versionLength);
    const int end = version.indexOf('\0');
    result.version = QString::fromUtf8(end < 0 ? version : version.left(end));
    if (plain.size() > widthAt)
        result.addressWidth = qint8(plain.at(widthAt));
    if (plain.size() > commandAt)
        result.updateCommand = quint8(plain.at(commandAt));
    result.image = plain.mid(headerLength);
    return result;
}

FirmwareImage load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > largestFile)
        return {};
    // A device or pipe reports no size: read one byte over the limit to see it is too large.
    const QByteArray text = file.read(largestFile + 1);
    if (text.size() > largestFile)
        return {};
    return decode(text);
}

QByteArray encode(
    const QString &version, int addressWidth, quint8 updateCommand, const QByteArray &image)
{
    QByteArray header(headerLength, '\0');
    const QByteArray versionBytes = version.toUtf8().left(versionLength);
    header.replace(0, versionBytes.size(), versionBytes);
    header[widthAt] = char(addressWidth);
    header[commandAt] = char(updateCommand);
    return AesCipher::Encrypt(AesCipher::Aes128, AesCipher::Cbc, header + image, fileKey(),
        fileIv(), AesCipher::ZeroPadding)
        .toBase64();
}

QString defaultAddress(int width)
{
    switch (width) {
    case 1:
        return QStringLiteral("01");
    case 2:
        return QStringLiteral("0001");
    case 4:
        return QStringLiteral("00000001");
    default:
        return QString();
    }
}

} // namespace FirmwareFile
