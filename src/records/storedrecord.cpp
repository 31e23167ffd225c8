#include "records/storedrecord.h"

#include "protocol/checksum.h"
#include "protocol/encoding.h"

namespace {

constexpr int pageHeaderSize = 8;
constexpr int pageCrcSize = 4;
constexpr quint8 descendingCommand = 0x6D;
constexpr quint8 lastPageMark = 0xFF;
constexpr quint8 accelerationFlag = 0x80;
// A Z angle at or below this marks a sensor that took no Z reading.
constexpr float noZAngle = -180.0f;

QString fixed(float value, int decimals)
{
    return QString::number(double(value), 'f', decimals);
}

QString twoDigits(const quint8 (&values)[3], QChar separator, const QString &prefix)
{
    QString text = prefix;
    for (int i = 0; i < 3; ++i) {
        if (i > 0)
            text += separator;
        text += QString::number(values[i]).rightJustified(2, QLatin1Char('0'));
    }
    return text;
}

StoredRecord decodeRecord(const QByteArray &record, bool withAcceleration)
{
    using Encoding::decodeSignedBcd;
    StoredRecord decoded;
    for (int i = 0; i < 3; ++i) {
        decoded.date[i] = quint8(record.at(i));
        decoded.time[i] = quint8(record.at(3 + i));
        decoded.angle[i] = decodeSignedBcd(record, 6 + 4 * i, Encoding::Angle);
        if (withAcceleration)
            decoded.acceleration[i] = decodeSignedBcd(record, 23 + 4 * i, Encoding::Acceleration);
    }
    decoded.temperature = decodeSignedBcd(record, 18, Encoding::Temperature);
    decoded.power = quint8(record.at(22));
    decoded.hasAcceleration = withAcceleration;
    return decoded;
}

} // namespace

QString StoredRecord::text(int column) const
{
    switch (column) {
    case RecordColumn::Date:
        return twoDigits(date, QLatin1Char('-'), QStringLiteral("20"));
    case RecordColumn::Time:
        return twoDigits(time, QLatin1Char(':'), QString());
    case RecordColumn::XAngle:
    case RecordColumn::YAngle:
        return fixed(angle[column - RecordColumn::XAngle], 4);
    case RecordColumn::ZAngle:
        return angle[2] > noZAngle ? fixed(angle[2], 4) : QString();
    case RecordColumn::XAcceleration:
    case RecordColumn::YAcceleration:
    case RecordColumn::ZAcceleration:
        return hasAcceleration ? fixed(acceleration[column - RecordColumn::XAcceleration], 5)
                               : QString();
    case RecordColumn::Temperature:
        return fixed(temperature, 2);
    case RecordColumn::Power:
        return QString::number(power);
    default:
        return QString();
    }
}

RecordPage decodeRecordPage(const QByteArray &page)
{
    RecordPage decoded;
    if (page.size() < pageHeaderSize + pageCrcSize)
        return decoded;
    const int crcAt = page.size() - pageCrcSize;
    decoded.crcOk = Checksum::crc32Bytes(page, crcAt) == page.mid(crcAt);
    decoded.command = quint8(page.at(6));
    decoded.last = quint8(page.at(7)) == lastPageMark;
    const bool withAcceleration = quint8(page.at(2)) & accelerationFlag;
    const int size = withAcceleration ? 36 : 24;
    // N comes from the page; the bytes that are really there bound it.
    const int count = qMin(int(quint8(page.at(1))), (crcAt - pageHeaderSize) / size);
    decoded.records.reserve(count);
    for (int i = 0; i < count; ++i) {
        const int index = decoded.command == descendingCommand ? count - 1 - i : i;
        decoded.records.append(
            decodeRecord(page.mid(pageHeaderSize + index * size, size), withAcceleration));
    }
    return decoded;
}
