// Firmware files: any text through Base64, AES and the header; and any image through encode and
// back. The version texts of both go through the version check.
#include "fuzzinput.h"

#include "firmware/firmwarefile.h"
#include "firmware/firmwareversion.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const QByteArray raw(reinterpret_cast<const char *>(data), int(size));
    const FirmwareImage decoded = FirmwareFile::decode(raw);
    FUZZ_CHECK(decoded.image.size() <= decoded.decryptedSize);
    if (decoded.usable()) {
        FUZZ_CHECK(decoded.packetCount() >= 1);
        FUZZ_CHECK(decoded.fullPackets() * FirmwareImage::packetSize + decoded.lastPacketLength()
            == decoded.image.size());
    }
    FirmwareVersion::judge(decoded.version, QStringLiteral("AB#CD#V1.0.3"));

    // What comes back out of a file made here is what went in.
    const int width = input.byte() % 5;
    const quint8 command = input.byte();
    // The version text is printable ASCII, as the tool that makes the files writes it.
    QByteArray versionBytes = input.chunk().left(49);
    for (char &c : versionBytes)
        c = char(0x20 + quint8(c) % 0x5F);
    const QString version = QString::fromLatin1(versionBytes);
    const QByteArray image = input.rest();
    const FirmwareImage back
        = FirmwareFile::decode(FirmwareFile::encode(version, width, command, image));
    FUZZ_CHECK(back.version == version && back.addressWidth == width);
    FUZZ_CHECK(back.updateCommand == command && back.image.startsWith(image));
    FUZZ_CHECK(back.image.size() - image.size() < 16);
    FirmwareVersion::judge(version, QString::fromLatin1(image));
    FirmwareVersion::compare(version, QString::fromLatin1(image));
    FirmwareFile::defaultAddress(width);
    return 0;
}
