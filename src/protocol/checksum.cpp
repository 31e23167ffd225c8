#include "protocol/checksum.h"

#include <algorithm>

namespace {

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

} // namespace

namespace Checksum {

quint8 additive(const QByteArray &buffer, int n)
{
    const int count = std::min(n, int(buffer.size()));
    quint8 sum = 0;
    for (int i = 1; i < count; ++i)
        sum = quint8(sum + quint8(buffer.at(i)));
    return sum;
}

quint32 crc32(const char *data, qsizetype n)
{
    quint32 crc = 0xFFFFFFFFu;
    for (qsizetype i = 0; i < n; ++i)
        crc = crcTable.entries[(crc ^ quint8(data[i])) & 0xFFu] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

QByteArray crc32Bytes(const QByteArray &buffer, int n)
{
    const int count = std::min(n, int(buffer.size()));
    const quint32 crc = count < 1 ? 0 : crc32(buffer.constData(), count);
    QByteArray result(4, '\0');
    for (int i = 0; i < 4; ++i)
        result[i] = char(crc >> (24 - 8 * i));
    return result;
}

} // namespace Checksum
