#ifndef MEASURE_LIVESAMPLE_H
#define MEASURE_LIVESAMPLE_H

#include <QByteArray>
#include <QDateTime>
#include <QString>

// Display texts of one live-data reply (code 0x83).
struct LiveSample {
    bool hasAxes = false; // false: this view shows no axis values; leave the X/Y/Z labels alone
    QString x;
    QString y;
    QString z;
    QString temperature;
    QString power;
};

/// Texts for the labels from a checked live reply; dataKind 0 angles, 2 accelerations.
LiveSample decodeLiveSample(const QByteArray &reply, int dataKind);

/// One record-file line: timestamp, the five texts separated by two spaces, and "\n".
QString recordLine(const QDateTime &when, const QString &x, const QString &y, const QString &z,
    const QString &t, const QString &b);

/// Record file in the folder ("" when the folder text is empty).
QString recordFilePath(const QString &folder);

#endif // MEASURE_LIVESAMPLE_H
