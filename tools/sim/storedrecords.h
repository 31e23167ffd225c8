#ifndef SIM_STOREDRECORDS_H
#define SIM_STOREDRECORDS_H

#include <QByteArray>
#include <QDateTime>
#include <QtGlobal>

// The measurements the sensor keeps in its memory and the read sessions that hand them out a
// page at a time. Records are numbered 1 (oldest) to count() (newest); their contents follow
// from the number alone, so that a reader can tell every record apart and check the order.
// A page is 0x77, N, flags (bit 7: 36-byte records), three zero bytes, the read command, 0xFF
// on the last page, the N records and a CRC-32 over everything before it.
class StoredRecords {
public:
    static constexpr int maxCount = 60000; // what the sensor's memory holds
    static constexpr int maxPageSize = 255; // N is one byte

    /// Time stamp of record `index` (1-based): 2026-01-01 00:00:00 UTC plus `index` minutes.
    static QDateTime recordTime(int index);

    /// Records after record `index` are stamped gapMinutes later than recordTime gives: a pause
    /// of the sensor. 0 (the default) leaves none.
    void setGapAfter(int index) { gapAfter = index; }
    static constexpr int gapMinutes = 60;

    int count() const { return stored; }
    /// Sets the number of records (0..maxCount); a read in progress ends.
    void setCount(int count);
    int recordSize() const { return size; }
    /// 36 (with accelerations) or 24 bytes; anything but 24 means 36. A read in progress ends.
    void setRecordSize(int bytes);
    int pageSize() const { return perPage; }
    /// Records per page, 1..maxPageSize. A read in progress ends.
    void setPageSize(int records);

    /// The bytes of record `index` (1-based), recordSize() of them.
    QByteArray record(int index) const;

    /// Answers a read request: command 0x61 reads begin..end ascending, 0x6D all descending;
    /// sub-code 0x00 starts a read, 0x10 moves on to the next page, 0x11 repeats the last one.
    /// Returns the page to send, or nothing when the request is to be ignored.
    QByteArray read(quint8 command, quint8 subCode, int begin = 0, int end = 0);
    /// Ends the read in progress; later 0x10 and 0x11 requests are ignored.
    void stopRead() { command = 0; }
    /// Pages handed out in the current read, repeats included.
    int pagesSent() const { return sent; }
    /// Forgets every record.
    void erase() { setCount(0); }

private:
    QByteArray page(int index) const;

    int stored = 1000;
    int gapAfter = 0;
    int size = 36;
    int perPage = maxPageSize;
    // The read in progress: its command (0 when none), the records it covers, the page last sent.
    quint8 command = 0;
    int first = 1;
    int last = 0;
    int current = 0;
    int sent = 0;
};

#endif // SIM_STOREDRECORDS_H
