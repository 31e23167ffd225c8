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

/// What the live view shows, by the index of the window's view list: only angles and
/// accelerations carry axis values.
enum DataKind { AngleKind = 0, MagneticKind = 1, AccelerationKind = 2, AngularRateKind = 3 };

/// Texts for the labels from a checked live reply of the given DataKind.
LiveSample decodeLiveSample(const QByteArray &reply, int dataKind);

/// One record-file line: timestamp, the five texts separated by two spaces, and "\n".
QString recordLine(const QDateTime &when, const LiveSample &sample);

/// Record file in the folder ("" when the folder text is empty).
QString recordFilePath(const QString &folder);

#endif // MEASURE_LIVESAMPLE_H
