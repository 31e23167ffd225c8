#pragma once

#include <QWidget>

class QCustomPlot;
struct ChartSeries;

/// A time chart of X, Y and Z on the left axis and the temperature on the right one, drawn by
/// QCustomPlot (only this class sees the library). A point whose values are all NaN breaks the
/// lines. The wheel zooms and a drag pans the time axis (both axes without autoscale).
class ChartPlot : public QWidget {
    Q_OBJECT

public:
    /// How the time axis reads its keys: the computer's local time (live samples), or the
    /// record fields as they were stored (kept as UTC, so no clock shift bends them).
    enum TimeBase { LocalTime, RecordTime };

    explicit ChartPlot(TimeBase base, QWidget *parent = nullptr);

    /// The legend's names of X, Y, Z and the temperature, and the two value axes' titles.
    void setTexts(
        const QStringList &names, const QString &valueAxis, const QString &temperatureAxis);
    void clear();
    /// Adds one point per series at `time` (seconds), after those there.
    void append(double time, const double values[4]);
    /// Drops the points before `time`.
    void removeBefore(double time);
    /// Shows these points instead of the ones there, the whole time span in view.
    void setSeries(const ChartSeries &series);
    void setTemperatureShown(bool shown);
    /// With autoscale the value axes fit the points in view at each redraw.
    void setAutoscale(bool on);
    /// Puts the time axis on [from, to] seconds.
    void showSpan(double from, double to);
    bool savePng(const QString &path);
    /// Redraws at the next turn of the event loop; while hidden, when shown again.
    void redraw();
    /// Redraws now (for measurements); returns false while hidden.
    bool redrawNow();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fitValues();

    QCustomPlot *plot;
    bool autoscale = true;
    bool stale = false; // changed while hidden
};
