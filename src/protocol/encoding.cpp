#include "protocol/encoding.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

struct FieldLayout {
    int bytes;
    int decimals;
};

FieldLayout layoutOf(Encoding::BcdField field)
{
    switch (field) {
    case Encoding::Acceleration:
        return { 4, 6 };
    case Encoding::Temperature:
        return { 3, 2 };
    case Encoding::Angle:
        break;
    }
    return { 4, 4 };
}

quint8 byteAt(const QByteArray &frame, qint64 index)
{
    return index >= 0 && index < frame.size() ? quint8(frame.at(int(index))) : 0;
}

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Reads a plain decimal number (sign, digits, optional point, optional exponent) and gives the
// integer part of its value in hundredths as decimal digits, without leading zeros ("" for 0).
// Works on the typed digits so that no binary rounding can move a value across a hundredth.
bool hundredthsDigits(const QString &input, bool &negative, QString &digits)
{
    const QString text = input.trimmed();
    int i = 0;
    negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-')))
        negative = text.at(i++) == QLatin1Char('-');

    QString mantissa;
    int integerDigits = 0;
    for (; i < text.size() && isAsciiDigit(text.at(i)); ++i, ++integerDigits)
        mantissa.append(text.at(i));
    if (i < text.size() && text.at(i) == QLatin1Char('.')) {
        for (++i; i < text.size() && isAsciiDigit(text.at(i)); ++i)
            mantissa.append(text.at(i));
    }
    if (mantissa.isEmpty())
        return false;

    qint64 exponent = 0;
    if (i < text.size() && (text.at(i) == QLatin1Char('e') || text.at(i) == QLatin1Char('E'))) {
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-')))
            negativeExponent = text.at(i++) == QLatin1Char('-');
        if (i >= text.size() || !isAsciiDigit(text.at(i)))
            return false;
        for (; i < text.size() && isAsciiDigit(text.at(i)); ++i) {
            // Beyond this the result is 0 or too wide either way.
            exponent = std::min<qint64>(exponent * 10 + text.at(i).digitValue(), 1000000);
        }
        if (negativeExponent)
            exponent = -exponent;
    }
    if (i != text.size())
        return false;

    // Decimal point position after scaling by 100.
    qint64 point = integerDigits + exponent + 2;
    int first = 0;
    while (first < mantissa.size() && mantissa.at(first) == QLatin1Char('0')) {
        ++first;
        --point;
    }
    mantissa.remove(0, first);
    digits.clear();
    if (mantissa.isEmpty() || point <= 0)
        return true;
    // Nine significant digits already overflow the 32-bit hex parse; more change nothing.
    point = std::min<qint64>(point, 9);
    digits = mantissa.left(int(point));
    digits.append(QString(int(point) - digits.size(), QLatin1Char('0')));
    return true;
}

} // namespace

namespace Encoding {

quint32 hexValue(const QString &text)
{
    return text.toUInt(nullptr, 16);
}

QByteArray typedDigitsBcd(const QString &text, int bytes)
{
    const quint32 value = hexValue(text);
    const int count = std::clamp(bytes, 0, 4);
    QByteArray result(count, '\0');
    for (int i = 0; i < count; ++i)
        result[i] = char(value >> (8 * (count - 1 - i)));
    return result;
}

QByteArray scaledBcd(const QString &text)
{
    bool negative = false;
    QString digits;
    quint32 value = 0;
    // A negative non-zero amount prints with a minus sign, which the unsigned hex parse
    // refuses, so it is sent as 0 like any other text that does not parse.
    if (hundredthsDigits(text, negative, digits) && !(negative && !digits.isEmpty()))
        value = hexValue(digits);
    QByteArray result(2, '\0');
    result[0] = char(value >> 8);
    result[1] = char(value);
    return result;
}

quint8 integerQuotient(const QString &text)
{
    bool ok = false;
    const float value = text.toFloat(&ok);
    if (!ok)
        return 0;
    const double quotient = double(value) / 0.08;
    if (!std::isfinite(quotient) || std::fabs(quotient) > std::numeric_limits<float>::max())
        return 0;
    // fmod is exact, so this is the low byte of the truncated value even for huge quotients.
    double low = std::fmod(std::trunc(double(float(quotient))), 256.0);
    if (low < 0)
        low += 256.0;
    return quint8(low);
}

float decodeSignedBcd(const QByteArray &frame, int offset, BcdField field)
{
    const FieldLayout layout = layoutOf(field);
    const quint8 lead = byteAt(frame, offset);
    // Nibbles above 9 are not rejected: they count with their numeric value.
    double scaled = lead & 0x0F;
    for (int i = 1; i < layout.bytes; ++i) {
        const quint8 byte = byteAt(frame, qint64(offset) + i);
        scaled = scaled * 100 + (byte >> 4) * 10 + (byte & 0x0F);
    }
    const float value = float(scaled / std::pow(10.0, layout.decimals));
    return (lead >> 4) != 0 ? -value : value;
}

QString formatSignedBcd(const QByteArray &frame, int offset, BcdField field)
{
    return QString::number(
        double(decodeSignedBcd(frame, offset, field)), 'f', layoutOf(field).decimals);
}

QString addressText(const QByteArray &frame, int offset)
{
    return QString::asprintf("%02x%02x%02x%02x", byteAt(frame, offset),
        byteAt(frame, qint64(offset) + 1), byteAt(frame, qint64(offset) + 2),
        byteAt(frame, qint64(offset) + 3));
}

} // namespace Encoding
