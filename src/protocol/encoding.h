#ifndef PROTOCOL_ENCODING_H
#define PROTOCOL_ENCODING_H

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QtGlobal>

// Value encodings carried in sensor frames.
namespace Encoding {

/// Layout of a signed BCD field in a reply.
enum BcdField {
    Angle, // 4 bytes, hundreds down to ten-thousandths, 4 decimals
    Acceleration, // 4 bytes, units down to millionths, 6 decimals
    Temperature // 3 bytes, hundreds down to hundredths, 2 decimals
};

/// A hex digit 0-9, a-f or A-F (QString's toUInt also takes signs and blanks around digits).
constexpr bool isHexDigit(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
        || (c >= QLatin1Char('a') && c <= QLatin1Char('f'))
        || (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

/// Unsigned hexadecimal parse to 32 bits; 0 when the text does not parse or does not fit.
quint32 hexValue(const QString &text);

/// Text parsed as hex, low `bytes` bytes (0..4) most significant first; typed digits become BCD.
QByteArray typedDigitsBcd(const QString &text, int bytes);

/// Decimal text in hundredths, truncated, re-read as hex: 2 bytes ("12.34" -> 12 34).
QByteArray scaledBcd(const QString &text);

/// Text as a single-precision float divided by 0.08, truncated toward zero, low 8 bits.
quint8 integerQuotient(const QString &text);

/// Value of the signed BCD field at offset; bytes beyond the frame read as zero.
float decodeSignedBcd(const QByteArray &frame, int offset, BcdField field);

/// decodeSignedBcd() in fixed-point notation with the field's number of decimals.
QString formatSignedBcd(const QByteArray &frame, int offset, BcdField field);

/// Four bytes at offset as 8 lower-case hex digits; bytes beyond the frame read as zero.
QString addressText(const QByteArray &frame, int offset);

} // namespace Encoding

#endif // PROTOCOL_ENCODING_H
