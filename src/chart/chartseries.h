#pragma once

#include "measure/livesample.h"
#include "records/storedrecord.h"

#include <QVector>

/// Points of a chart: times in seconds since the epoch and, for each, X, Y, Z and the
/// temperature. A point whose values are all NaN breaks the lines there.
struct ChartSeries {
    static constexpr int valueCount = 4; // X, Y, Z, temperature
    QVector<double> time;
    QVector<double> value[valueCount];
    int gaps = 0; // break points among them

    int size() const { return time.size(); }
    void append(double t, const double values[valueCount]);
};

/// A break goes in where the step to the next point is more than this many times the median
/// step: one lost record leaves a double step and stays a line, a pause of the sensor does not.
constexpr double gapFactor = 3;

/// The numbers of a live sample (X, Y, Z, temperature) from the texts the labels show.
void liveValues(const LiveSample &sample, double values[ChartSeries::valueCount]);

/// The time of a stored record in seconds since the epoch, its fields read as UTC (so that
/// the axis shows them as the table does); NaN for a date or time that does not exist.
double recordTime(const StoredRecord &record);

/// The stored records as chart points in time order, one per record with a valid time (angles
/// and temperature), with a break between two records whose step is a gap (see gapFactor).
ChartSeries recordSeries(const QVector<StoredRecord> &records);
