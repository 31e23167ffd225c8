#include "records/csvwriter.h"

#include <QSaveFile>

QStringList recordColumnHeaders()
{
    return { "Date", "Time", "X(°)", "Y(°)", "Z(°)", "X(g)", "Y(g)", "Z(g)", "Temp(℃)", "Power" };
}

QByteArray CsvWriter::line(const QStringList &fields)
{
    QStringList quoted;
    for (QString field : fields) {
        if (field.contains(',') || field.contains('"') || field.contains('\r')
            || field.contains('\n'))
            field = '"' + field.replace('"', "\"\"") + '"';
        quoted << field;
    }
    return quoted.join(',').toUtf8() + "\r\n";
}

bool CsvWriter::write(
    const QString &path, const QStringList &headers, const QVector<StoredRecord> &records)
{
    error.clear();
    // A file written half is never left behind under the name asked for.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    file.write("\xEF\xBB\xBF");
    file.write(line(headers));
    QStringList fields;
    for (const StoredRecord &record : records) {
        fields.clear();
        for (int column = 0; column < headers.size(); ++column)
            fields << record.text(column);
        file.write(line(fields));
    }
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}
