#pragma once

#include "records/storedrecord.h"

#include <QString>
#include <QStringList>

/// The English column headers of the records table, as the window shows them in English.
QStringList recordColumnHeaders();

/// Writes records to a CSV file: UTF-8 with a byte order mark (so spreadsheets take the degree
/// and Celsius signs), comma separated, fields quoted where RFC 4180 needs it, CR LF line ends.
class CsvWriter {
public:
    /// Writes the header line and one line per record with the table's texts. False when the
    /// file could not be written; errorString() then says why.
    bool write(
        const QString &path, const QStringList &headers, const QVector<StoredRecord> &records);
    /// Why the last write() failed; empty after a successful one.
    QString errorString() const { return error; }

    /// One line of fields, each quoted when it holds a comma, a quote or a line break.
    static QByteArray line(const QStringList &fields);

private:
    QString error;
};
