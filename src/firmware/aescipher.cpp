#include "firmware/aescipher.h"

#include <cstring>

namespace {

// Multiplication by x in GF(2^8), reduced by x^8 + x^4 + x^3 + x + 1.
constexpr quint8 xtime(quint8 b)
{
    return quint8((b << 1) ^ (b & 0x80 ? 0x1B : 0x00));
}

constexpr quint8 multiply(quint8 a, quint8 b)
{
    quint8 product = 0;
    for (; b != 0; b >>= 1, a = xtime(a)) {
        if (b & 1)
            product ^= a;
    }
    return product;
}

constexpr quint8 rotateLeft(quint8 b, int n)
{
    return quint8((b << n) | (b >> (8 - n)));
}

struct Tables {
    quint8 sbox[256] {};
    quint8 inverseSbox[256] {};
    quint8 times[15][256] {}; // times[c][x] = c * x, for the column-mixing coefficients
};

// The S-box is built the way FIPS-197 defines it, the multiplicative inverse followed by the
// affine transform, rather than typed in: 512 hand-copied bytes are easy to get wrong.
constexpr Tables makeTables()
{
    Tables t;
    // Powers of the generator 3 give every non-zero element, so inverses come from logarithms.
    quint8 power[255] {};
    int logarithm[256] {};
    quint8 p = 1;
    for (int i = 0; i < 255; ++i) {
        power[i] = p;
        logarithm[p] = i;
        p = quint8(p ^ xtime(p));
    }
    for (int x = 0; x < 256; ++x) {
        const quint8 inverse = x == 0 ? 0 : power[(255 - logarithm[x]) % 255];
        const quint8 s = inverse ^ rotateLeft(inverse, 1) ^ rotateLeft(inverse, 2)
            ^ rotateLeft(inverse, 3) ^ rotateLeft(inverse, 4) ^ 0x63;
        t.sbox[x] = s;
        t.inverseSbox[s] = quint8(x);
        for (int c = 0; c < 15; ++c)
            t.times[c][x] = multiply(quint8(x), quint8(c));
    }
    return t;
}

constexpr Tables tables = makeTables();
constexpr int blockLength = AesCipher::blockLength;

// State byte k is row k % 4, column k / 4. ShiftRows moves row r left by r places, so the byte
// that lands at k comes from column (k / 4 + r) % 4 of its row; InvShiftRows moves it back.
constexpr int shiftedFrom(int k)
{
    return k % 4 + 4 * ((k / 4 + k % 4) % 4);
}

constexpr int unshiftedFrom(int k)
{
    return k % 4 + 4 * ((k / 4 + 4 - k % 4) % 4);
}

// Each column a becomes b with b[i] = c[0]a[i] + c[1]a[i+1] + c[2]a[i+2] + c[3]a[i+3], the
// indices taken mod 4 (rows of the circulant matrices of MixColumns and InvMixColumns).
constexpr int forwardMix[4] = { 2, 3, 1, 1 };
constexpr int inverseMix[4] = { 14, 11, 13, 9 };

void mixColumns(quint8 *state, const int (&coefficients)[4])
{
    const quint8 *c0 = tables.times[coefficients[0]], *c1 = tables.times[coefficients[1]];
    const quint8 *c2 = tables.times[coefficients[2]], *c3 = tables.times[coefficients[3]];
    for (int column = 0; column < blockLength; column += 4) {
        const quint8 a[4]
            = { state[column], state[column + 1], state[column + 2], state[column + 3] };
        for (int i = 0; i < 4; ++i)
            state[column + i]
                = c0[a[i]] ^ c1[a[(i + 1) % 4]] ^ c2[a[(i + 2) % 4]] ^ c3[a[(i + 3) % 4]];
    }
}

// Cipher of one block; `in` and `out` may be the same block.
void cipherBlock(const quint8 *in, quint8 *out, const quint8 *schedule, int rounds)
{
    quint8 state[blockLength];
    for (int k = 0; k < blockLength; ++k)
        state[k] = in[k] ^ schedule[k];
    for (int round = 1; round <= rounds; ++round) {
        quint8 next[blockLength];
        for (int k = 0; k < blockLength; ++k)
            next[k] = tables.sbox[state[shiftedFrom(k)]];
        if (round < rounds)
            mixColumns(next, forwardMix);
        for (int k = 0; k < blockLength; ++k)
            state[k] = next[k] ^ schedule[blockLength * round + k];
    }
    std::memcpy(out, state, blockLength);
}

// InvCipher of one block; `in` and `out` may be the same block.
void inverseCipherBlock(const quint8 *in, quint8 *out, const quint8 *schedule, int rounds)
{
    quint8 state[blockLength];
    for (int k = 0; k < blockLength; ++k)
        state[k] = in[k] ^ schedule[blockLength * rounds + k];
    for (int round = rounds - 1; round >= 0; --round) {
        quint8 next[blockLength];
        for (int k = 0; k < blockLength; ++k)
            next[k]
                = tables.inverseSbox[state[unshiftedFrom(k)]] ^ schedule[blockLength * round + k];
        if (round > 0)
            mixColumns(next, inverseMix);
        std::memcpy(state, next, blockLength);
    }
    std::memcpy(out, state, blockLength);
}

void xorInto(quint8 *target, const quint8 *other, int length)
{
    for (int k = 0; k < length; ++k)
        target[k] ^= other[k];
}

const quint8 *bytesOf(const QByteArray &data)
{
    return reinterpret_cast<const quint8 *>(data.constData());
}

} // namespace

AesCipher::AesCipher(int level, int mode, int padding, QObject *parent)
    : QObject(parent)
    , keyWords(level == Aes192  ? 6
              : level == Aes256 ? 8
                                : 4)
    , cipherMode(mode)
    , paddingScheme(padding == Pkcs7Padding || padding == IsoPadding ? padding : ZeroPadding)
{
}

QByteArray AesCipher::expandKey(const QByteArray &key) const
{
    if (key.size() != 4 * keyWords)
        return {};
    const int words = 4 * (keyWords + 6 + 1);
    QByteArray schedule(4 * words, Qt::Uninitialized);
    quint8 *w = reinterpret_cast<quint8 *>(schedule.data());
    std::memcpy(w, key.constData(), key.size());
    quint8 roundConstant = 0x01;
    for (int i = keyWords; i < words; ++i) {
        quint8 word[4] = { w[4 * i - 4], w[4 * i - 3], w[4 * i - 2], w[4 * i - 1] };
        if (i % keyWords == 0) {
            const quint8 first = word[0];
            word[0] = tables.sbox[word[1]] ^ roundConstant;
            word[1] = tables.sbox[word[2]];
            word[2] = tables.sbox[word[3]];
            word[3] = tables.sbox[first];
            roundConstant = xtime(roundConstant);
        } else if (keyWords == 8 && i % keyWords == 4) {
            for (quint8 &b : word)
                b = tables.sbox[b];
        }
        for (int b = 0; b < 4; ++b)
            w[4 * i + b] = w[4 * (i - keyWords) + b] ^ word[b];
    }
    return schedule;
}

QByteArray AesCipher::scheduleFor(const QByteArray &key, const QByteArray &iv) const
{
    if (cipherMode < Ecb || cipherMode > Ofb)
        return {};
    if (cipherMode != Ecb && (iv.isNull() || iv.size() != blockLength))
        return {};
    return expandKey(key);
}

QByteArray AesCipher::decrypt(
    const QByteArray &in, const QByteArray &key, const QByteArray &iv) const
{
    const QByteArray schedule = scheduleFor(key, iv);
    if (schedule.isEmpty())
        return {};
    const quint8 *w = bytesOf(schedule);
    const int rounds = keyWords + 6;
    // ECB and CBC need whole blocks: a partial last block is left out, never read past its end.
    const bool wholeBlocks = cipherMode == Ecb || cipherMode == Cbc;
    QByteArray out = wholeBlocks ? in.left(in.size() / blockLength * blockLength) : in;
    quint8 *data = reinterpret_cast<quint8 *>(out.data());
    quint8 vector[blockLength] = {};
    if (cipherMode != Ecb)
        std::memcpy(vector, iv.constData(), blockLength);
    for (int at = 0; at < out.size(); at += blockLength) {
        quint8 *block = data + at;
        const int length = qMin(blockLength, out.size() - at);
        quint8 cipherText[blockLength];
        std::memcpy(cipherText, block, length);
        switch (cipherMode) {
        case Ecb:
            inverseCipherBlock(block, block, w, rounds);
            break;
        case Cbc:
            inverseCipherBlock(block, block, w, rounds);
            xorInto(block, vector, blockLength);
            std::memcpy(vector, cipherText, blockLength);
            break;
        case Cfb:
            cipherBlock(vector, vector, w, rounds);
            xorInto(block, vector, length);
            std::memcpy(vector, cipherText, length); // a short block is the last one
            break;
        default: // Ofb: the key stream does not depend on the data
            cipherBlock(vector, vector, w, rounds);
            xorInto(block, vector, length);
            break;
        }
    }
    return out;
}

QByteArray AesCipher::encrypt(
    const QByteArray &in, const QByteArray &key, const QByteArray &iv) const
{
    const QByteArray schedule = scheduleFor(key, iv);
    if (schedule.isEmpty())
        return {};
    const quint8 *w = bytesOf(schedule);
    const int rounds = keyWords + 6;
    QByteArray out = in + paddingFor(in.size(), blockLength);
    quint8 *data = reinterpret_cast<quint8 *>(out.data());
    quint8 vector[blockLength] = {};
    if (cipherMode != Ecb)
        std::memcpy(vector, iv.constData(), blockLength);
    // Padded, the data is whole blocks.
    for (int at = 0; at + blockLength <= out.size(); at += blockLength) {
        quint8 *block = data + at;
        switch (cipherMode) {
        case Ecb:
            cipherBlock(block, block, w, rounds);
            break;
        case Cbc:
            xorInto(block, vector, blockLength);
            cipherBlock(block, block, w, rounds);
            std::memcpy(vector, block, blockLength);
            break;
        case Cfb:
            cipherBlock(vector, vector, w, rounds);
            xorInto(block, vector, blockLength);
            std::memcpy(vector, block, blockLength);
            break;
        default: // Ofb
            cipherBlock(vector, vector, w, rounds);
            xorInto(block, vector, blockLength);
            break;
        }
    }
    return out;
}

QByteArray AesCipher::paddingFor(int currentLength, int blockLength) const
{
    if (currentLength < 0 || blockLength <= 0)
        return {};
    // A length that is already whole gets nothing, in every scheme: no extra block.
    const int pad = (blockLength - currentLength % blockLength) % blockLength;
    if (pad == 0)
        return {};
    switch (paddingScheme) {
    case Pkcs7Padding:
        return QByteArray(pad, char(pad));
    case IsoPadding:
        return QByteArray(1, '\x80') + QByteArray(pad - 1, '\0');
    default:
        return QByteArray(pad, '\0');
    }
}

QByteArray AesCipher::stripPadding(const QByteArray &data) const
{
    switch (paddingScheme) {
    case Pkcs7Padding: {
        // The count is read signed: a last byte of 0x80 or more removes nothing.
        const int count = data.isEmpty() ? 0 : qint8(data.back());
        return count > 0 && count <= data.size() ? data.left(data.size() - count) : data;
    }
    case IsoPadding: {
        const int marker = data.lastIndexOf('\x80');
        return marker < 0 ? QByteArray() : data.left(marker);
    }
    default: {
        int length = data.size();
        while (length > 0 && data.at(length - 1) == '\0')
            --length;
        return data.left(length);
    }
    }
}

QByteArray AesCipher::Decrypt(int level, int mode, const QByteArray &data, const QByteArray &key,
    const QByteArray &iv, int padding)
{
    return AesCipher(level, mode, padding).decrypt(data, key, iv);
}

QByteArray AesCipher::Encrypt(int level, int mode, const QByteArray &data, const QByteArray &key,
    const QByteArray &iv, int padding)
{
    return AesCipher(level, mode, padding).encrypt(data, key, iv);
}

QByteArray AesCipher::ExpandKey(int level, int mode, const QByteArray &key)
{
    return AesCipher(level, mode, IsoPadding).expandKey(key);
}

QByteArray AesCipher::StripPadding(const QByteArray &data, int padding)
{
    return AesCipher(Aes128, Ecb, padding).stripPadding(data);
}
