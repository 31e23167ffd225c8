#include "sim/storedrecords.h"

#include "sim/livereadings.h"

#include "protocol/checksum.h"

#include <algorithm>

namespace {

constexpr quint8 readAscending = 0x61;
constexpr quint8 readDescending = 0x6D;
constexpr quint8 firstPage = 0x00;
constexpr quint8 nextPage = 0x10;
constexpr quint8 samePage = 0x11;
constexpr int pageOverhead = 12; // 8 header bytes and the CRC-32
constexpr int degrees = 1800000; // 180 degrees in steps of 0.0001
constexpr int noZ = -1800000; // a sensor without a Z reading reports -180 degrees
constexpr int noZEvery = 50;

// A value for record `index` that walks through 0..range-1 in steps that are not a divisor of
// range, so neighbouring records differ in every field.
qint64 spread(int index, int step, int range, bool negative)
{
    const qint64 magnitude = qint64(index) * step % range;
    return negative ? -magnitude : magnitude;
}

QByteArray bcd(qint64 units, int decimals, int bytes)
{
    double scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    return LiveReadings::signedBcd(double(units) / scale, decimals, bytes);
}

} // namespace

QDateTime StoredRecords::recordTime(int index)
{
    // UTC, so that no daylight-saving shift bends the minute-by-minute sequence.
    return QDateTime(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC).addSecs(60 * qint64(index));
}

void StoredRecords::setCount(int count)
{
    stored = std::clamp(count, 0, maxCount);
    stopRead();
}

void StoredRecords::setRecordSize(int bytes)
{
    size = bytes == 24 ? 24 : 36;
    stopRead();
}

void StoredRecords::setPageSize(int records)
{
    perPage = std::clamp(records, 1, maxPageSize);
    stopRead();
}

QByteArray StoredRecords::record(int index) const
{
    const QDateTime stamp
        = recordTime(index).addSecs(gapAfter > 0 && index > gapAfter ? 60 * gapMinutes : 0);
    const QDate date = stamp.date();
    const QTime time = stamp.time();
    QByteArray bytes;
    bytes.reserve(size);
    for (int field :
        { date.year() - 2000, date.month(), date.day(), time.hour(), time.minute(), time.second() })
        bytes.append(char(field));
    // Signs alternate in different rhythms, so both signs show up within a few records.
    const bool odd = index % 2 != 0;
    const bool third = index % 3 == 0;
    bytes += bcd(spread(index, 12345, degrees, odd), 4, 4);
    bytes += bcd(spread(index, 23456, degrees, !odd), 4, 4);
    bytes += bcd(index % noZEvery == 0 ? noZ : spread(index, 34567, degrees, third), 4, 4);
    bytes += bcd(spread(index, 1234, 8501, index % 3 == 1), 2, 3); // up to 85.00 degrees C
    bytes.append('\0');
    bytes.append(char(index % 101)); // power 0..100
    if (size == 36) {
        bytes += bcd(spread(index, 123456, 2000000, odd), 6, 4); // up to 2 g
        bytes += bcd(spread(index, 234567, 2000000, !odd), 6, 4);
        bytes += bcd(spread(index, 345678, 2000000, third), 6, 4);
    }
    bytes.append('\0');
    return bytes;
}

QByteArray StoredRecords::read(quint8 readCommand, quint8 subCode, int begin, int end)
{
    if (readCommand != readAscending && readCommand != readDescending)
        return QByteArray();
    if (subCode == firstPage) {
        command = readCommand;
        const bool ascending = readCommand == readAscending;
        first = ascending ? std::max(begin, 1) : 1;
        last = ascending ? std::min(end, stored) : stored;
        current = 0;
        sent = 0;
    } else if ((subCode == nextPage || subCode == samePage) && readCommand == command) {
        // After the last page, the next one is an empty last page, for as long as asked.
        const int pages = last >= first ? (last - first) / perPage + 1 : 0;
        if (subCode == nextPage)
            current = std::min(current + 1, pages);
    } else {
        return QByteArray();
    }
    ++sent;
    return page(current);
}

QByteArray StoredRecords::page(int index) const
{
    // Descending reads take their pages from the newest end, but each page stays in ascending
    // order: the host turns every page of a descending read round.
    int from = 0;
    int to = -1;
    if (last >= first) {
        if (command == readAscending) {
            from = first + index * perPage;
            to = std::min(last, from + perPage - 1);
        } else {
            to = last - index * perPage;
            from = std::max(first, to - perPage + 1);
        }
    }
    const int n = std::max(0, to - from + 1);
    const bool isLast = n == 0 || (command == readAscending ? to == last : from == first);
    QByteArray bytes;
    bytes.reserve(pageOverhead + n * size);
    bytes.append(char(0x77)).append(char(n)).append(char(size == 36 ? 0x80 : 0x00));
    bytes.append(3, '\0').append(char(command)).append(char(isLast ? 0xFF : 0x00));
    for (int i = from; i <= to; ++i)
        bytes += record(i);
    return bytes + Checksum::crc32Bytes(bytes, bytes.size());
}
