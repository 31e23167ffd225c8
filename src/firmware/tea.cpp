#include "firmware/tea.h"

#include <QtEndian>

namespace {

constexpr quint32 delta = 0x9E3779B9;
constexpr int cycles = 32;
// Runs `block` on every whole 8-byte block; the key is read as four little-endian words (a key
// shorter than 16 bytes is taken as zero-filled).
template <class Block> QByteArray eachBlock(QByteArray data, QByteArray key, Block block)
{
    key = key.leftJustified(16, '\0', true);
    const uchar *keyBytes = reinterpret_cast<const uchar *>(key.constData());
    const quint32 k[4]
        = { qFromLittleEndian<quint32>(keyBytes), qFromLittleEndian<quint32>(keyBytes + 4),
              qFromLittleEndian<quint32>(keyBytes + 8), qFromLittleEndian<quint32>(keyBytes + 12) };
    uchar *bytes = reinterpret_cast<uchar *>(data.data());
    for (int at = 0; at + 8 <= data.size(); at += 8) {
        quint32 y = qFromLittleEndian<quint32>(bytes + at);
        quint32 z = qFromLittleEndian<quint32>(bytes + at + 4);
        block(y, z, k);
        qToLittleEndian(y, bytes + at);
        qToLittleEndian(z, bytes + at + 4);
    }
    return data;
}

} // namespace

namespace Tea {

QByteArray firmwareKey()
{
    return QByteArray::fromHex("3c71e8059a42d61f842bc06713fe59a8");
}

QByteArray encrypt(QByteArray data, const QByteArray &key)
{
    return eachBlock(std::move(data), key, [](quint32 &y, quint32 &z, const quint32 *k) {
        quint32 sum = 0;
        for (int i = 0; i < cycles; ++i) {
            sum += delta;
            y += ((z << 4) + k[0]) ^ (z + sum) ^ ((z >> 5) + k[1]);
            z += ((y << 4) + k[2]) ^ (y + sum) ^ ((y >> 5) + k[3]);
        }
    });
}

QByteArray decrypt(QByteArray data, const QByteArray &key)
{
    return eachBlock(std::move(data), key, [](quint32 &y, quint32 &z, const quint32 *k) {
        quint32 sum = delta * cycles;
        for (int i = 0; i < cycles; ++i) {
            z -= ((y << 4) + k[2]) ^ (y + sum) ^ ((y >> 5) + k[3]);
            y -= ((z << 4) + k[0]) ^ (z + sum) ^ ((z >> 5) + k[1]);
            sum -= delta;
        }
    });
}

} // namespace Tea
