#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

/// Columns of the records table, in order.
namespace RecordColumn {
enum : int {
    Date,
    Time,
    XAngle,
    YAngle,
    ZAngle,
    XAcceleration,
    YAcceleration,
    ZAcceleration,
    Temperature,
    Power,
    Count
};
}

/// One record the sensor stored: when it was taken and what it measured.
struct StoredRecord {
    quint8 date[3] = {}; // year - 2000, month, day
    quint8 time[3] = {}; // hour, minute, second
    float angle[3] = {}; // X, Y, Z in degrees
    float acceleration[3] = {}; // X, Y, Z in g, when the sensor stored them
    float temperature = 0; // degrees Celsius
    quint8 power = 0;
    bool hasAcceleration = false;

    /// The table's text of a column; empty for a cell without a value.
    QString text(int column) const;
};

/// A page of stored records as it came from the sensor.
struct RecordPage {
    bool crcOk = false; // the page's CRC-32 matches its bytes
    quint8 command = 0; // the request it answers: 0x61 ascending, 0x6D descending
    bool last = false; // no page follows
    QVector<StoredRecord> records; // in table order: a descending page is reversed
};

/// Decodes one complete page (header, N records of 24 or 36 bytes, CRC-32).
RecordPage decodeRecordPage(const QByteArray &page);
