#include "chart/chartseries.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>
#include <limits>

void ChartSeries::append(double t, const double values[valueCount])
{
    time.append(t);
    for (int i = 0; i < valueCount; ++i)
        value[i].append(values[i]);
}

void liveValues(const LiveSample &sample, double values[ChartSeries::valueCount])
{
    const QString *texts[] = { &sample.x, &sample.y, &sample.z, &sample.temperature };
    for (int i = 0; i < ChartSeries::valueCount; ++i) {
        bool ok = false;
        const double v = texts[i]->toDouble(&ok);
        values[i] = ok ? v : std::numeric_limits<double>::quiet_NaN();
    }
}

double recordTime(const StoredRecord &record)
{
    const QDate date(2000 + record.date[0], record.date[1], record.date[2]);
    const QTime time(record.time[0], record.time[1], record.time[2]);
    if (!date.isValid() || !time.isValid())
        return std::numeric_limits<double>::quiet_NaN();
    return double(QDateTime(date, time, Qt::UTC).toSecsSinceEpoch());
}

ChartSeries recordSeries(const QVector<StoredRecord> &records)
{
    struct Timed {
        double time;
        const StoredRecord *record;
    };
    QVector<Timed> timed;
    timed.reserve(records.size());
    for (const StoredRecord &record : records) {
        const double t = recordTime(record);
        if (!std::isnan(t))
            timed.append({ t, &record });
    }
    // A descending read fills the table newest first.
    std::stable_sort(
        timed.begin(), timed.end(), [](const Timed &a, const Timed &b) { return a.time < b.time; });

    QVector<double> steps;
    for (int i = 1; i < timed.size(); ++i)
        if (timed[i].time > timed[i - 1].time)
            steps.append(timed[i].time - timed[i - 1].time);
    double median = 0;
    if (!steps.isEmpty()) {
        std::nth_element(steps.begin(), steps.begin() + steps.size() / 2, steps.end());
        median = steps[steps.size() / 2];
    }

    ChartSeries series;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double breakValues[ChartSeries::valueCount] = { nan, nan, nan, nan };
    for (int i = 0; i < timed.size(); ++i) {
        const double t = timed[i].time;
        if (i > 0 && median > 0 && t - timed[i - 1].time > gapFactor * median) {
            series.append((t + timed[i - 1].time) / 2, breakValues);
            ++series.gaps;
        }
        const StoredRecord &r = *timed[i].record;
        const double values[ChartSeries::valueCount]
            = { r.angle[0], r.angle[1], r.angle[2], r.temperature };
        series.append(t, values);
    }
    return series;
}
