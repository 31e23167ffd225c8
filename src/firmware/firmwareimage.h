#pragma once

#include <QByteArray>
#include <QString>

/// A decoded firmware file: what its header says and the image that is sent.
struct FirmwareImage {
    /// Header bytes 0-49 up to the first 0x00, as text.
    QString version;
    /// W, header byte 51 read signed; 0 when the header is shorter than 52 bytes.
    int addressWidth = 0;
    /// Header byte 52; 0 when the header is 52 bytes or shorter.
    quint8 updateCommand = 0;
    /// The decrypted bytes from offset 96 on.
    QByteArray image;
    /// The whole decrypted length, for the "size:%d" debug line.
    int decryptedSize = 0;
    static constexpr int packetSize = 1024;
    /// Image size / 1024 rounded up.
    int packetCount() const;
    /// Image size / 1024 rounded down.
    int fullPackets() const;
    /// Image size mod 1024.
    int lastPacketLength() const;
    /// True when the image can be sent: W is 1, 2 or 4 and the image is not empty.
    bool usable() const;
};
