#ifndef MEASURE_LIVESAMPLE_H
#define MEASURE_LIVESAMPLE_H

#include <QByteArray>
#include <QDateTime>
#include <QString>

/// Display texts of one live-data reply (code 0x83): what the labels show and the record file
/// keeps.
struct LiveSample {
    QString x; // "0" in the views that carry no axis values
    QString y;
    QString z;
    QString temperature;
    QString power;
};

/// Texts for the labels from a checked live reply; dataKind 0 angles, 2 accelerations.
LiveSample decodeLiveSample(const QByteArray &reply, int dataKind);

/// One record-file line: timestamp, the five texts separated by two spaces, and "\n".
QString recordLine(const QDateTime &when, const LiveSample &sample);

/// Record file in the folder ("" when the folder text is empty).
QString recordFilePath(const QString &folder);

#endif // MEASURE_LIVESAMPLE_H
