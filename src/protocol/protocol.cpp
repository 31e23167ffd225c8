#include "protocol/protocol.h"

#include "protocol/encoding.h"

#include <algorithm>

namespace {

constexpr char frameHeader = 0x77;
constexpr int minimumLength = 7; // LEN of a frame without data
constexpr int maximumLength = 255; // LEN travels in one byte

struct CrcTable {
    quint32 entries[256];
};

constexpr CrcTable makeCrcTable()
{
    CrcTable table {};
    for (quint32 i = 0; i < 256; ++i) {
        quint32 value = i;
        for (int bit = 0; bit < 8; ++bit)
            value = (value & 1u) ? (value >> 1) ^ 0xEDB88320u : value >> 1;
        table.entries[i] = value;
    }
    return table;
}

constexpr CrcTable crcTable = makeCrcTable();

int clampedCount(const QByteArray &buffer, int n)
{
    return std::min(n, buffer.size());
}

} // namespace

QByteArray Protocol::buildAddressQuery() const
{
    return QByteArray("\x77\x07\x00\x00\x00\x00\x1f\x26", 8);
}

QByteArray Protocol::buildFrame() const
{
    // The callers always pass 7..255; anything else cannot be expressed by the length byte.
    const int len = std::clamp(length, minimumLength, maximumLength);
    QByteArray frame = header(len, command);
    const int wanted = len - minimumLength;
    frame.append(data.left(wanted));
    frame.append(wanted - std::min(wanted, data.size()), '\0');
    sealFrame(frame);
    return frame;
}

QByteArray Protocol::buildReadbackFrame(bool shortForm) const
{
    QByteArray frame = header(shortForm ? 8 : 12, readbackCommand);
    frame.append(char(readbackSubCode));
    if (!shortForm) {
        frame.append(char(rangeBegin >> 8));
        frame.append(char(rangeBegin & 0xFF));
        frame.append(char(rangeEnd >> 8));
        frame.append(char(rangeEnd & 0xFF));
    }
    sealFrame(frame);
    return frame;
}

QByteArray Protocol::checksum(const QByteArray &buffer, int n)
{
    const int count = clampedCount(buffer, n);
    quint8 sum = 0;
    for (int i = 1; i < count; ++i)
        sum = quint8(sum + quint8(buffer.at(i)));
    return QByteArray(1, char(sum));
}

QByteArray Protocol::crc32(const QByteArray &buffer, int n)
{
    const int count = clampedCount(buffer, n);
    const quint32 crc = count < 1 ? 0 : crc32Value(buffer.constData(), count);
    QByteArray result(4, '\0');
    for (int i = 0; i < 4; ++i)
        result[i] = char(crc >> (24 - 8 * i));
    return result;
}

quint32 Protocol::crc32Value(const char *data, qsizetype n)
{
    quint32 crc = 0xFFFFFFFFu;
    for (qsizetype i = 0; i < n; ++i)
        crc = crcTable.entries[(crc ^ quint8(data[i])) & 0xFFu] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

QByteArray Protocol::header(int len, int code) const
{
    const quint32 addr = Encoding::hexValue(address);
    QByteArray frame;
    frame.reserve(len + 1);
    frame.append(frameHeader);
    frame.append(char(len));
    for (int shift = 24; shift >= 0; shift -= 8)
        frame.append(char(addr >> shift));
    frame.append(char(code));
    return frame;
}

void Protocol::sealFrame(QByteArray &frame)
{
    // The frame holds bytes 0..LEN-1 here; the checksum becomes byte LEN.
    frame.append(checksum(frame, frame.size()));
}
