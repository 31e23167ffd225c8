#pragma once

#include <QByteArray>
#include <QtGlobal>

/// The two checks the sensor's frames carry: an additive checksum on ordinary frames, and a
/// CRC-32 on record pages and firmware frames.
namespace Checksum {

/// Low 8 bits of the sum of buffer bytes 1 to n - 1 (n clamped to the size; 0 when below 2).
quint8 additive(const QByteArray &buffer, int n);

/// CRC-32 (reflected polynomial 0xEDB88320, preset and final complement) of n bytes.
quint32 crc32(const char *data, qsizetype n);

/// CRC-32 of buffer bytes 0 to n - 1 as four bytes, most significant first (zeros when n < 1).
QByteArray crc32Bytes(const QByteArray &buffer, int n);

} // namespace Checksum
