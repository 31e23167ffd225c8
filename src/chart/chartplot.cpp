#include "chart/chartplot.h"

#include "chart/chartseries.h"

#include <QTimeZone>
#include <QVBoxLayout>
#include <qcustomplot.h>

namespace {

constexpr int temperatureGraph = 3;
const QColor seriesColours[] = { QColor(0xd6, 0x27, 0x28), QColor(0x2c, 0xa0, 0x2c),
    QColor(0x1f, 0x77, 0xb4), QColor(0xa0, 0x6a, 0x00) };

} // namespace

ChartPlot::ChartPlot(TimeBase base, QWidget *parent)
    : QWidget(parent)
    , plot(new QCustomPlot(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(plot);

    QSharedPointer<QCPAxisTickerDateTime> ticker(new QCPAxisTickerDateTime);
    if (base == LocalTime) {
        ticker->setDateTimeFormat(QStringLiteral("hh:mm:ss"));
    } else {
        ticker->setTimeZone(QTimeZone::utc());
        ticker->setDateTimeFormat(QStringLiteral("yyyy-MM-dd\nhh:mm"));
        ticker->setTickCount(4); // two-line labels: fewer of them fit
    }
    plot->xAxis->setTicker(ticker);
    plot->yAxis2->setVisible(true);
    for (int i = 0; i < ChartSeries::valueCount; ++i) {
        QCPGraph *graph
            = plot->addGraph(plot->xAxis, i == temperatureGraph ? plot->yAxis2 : plot->yAxis);
        // A one-pixel pen keeps to the raster engine's fast line path; wider ones are stroked.
        graph->setPen(QPen(seriesColours[i], 1));
        graph->setAdaptiveSampling(true);
    }
    plot->legend->setVisible(true);
    plot->axisRect()->insetLayout()->setInsetAlignment(0, Qt::AlignTop | Qt::AlignLeft);
    // Lines of tens of thousands of points: no antialiasing, which costs most of a redraw.
    plot->setNotAntialiasedElements(QCP::aeAll);
    plot->setPlottingHints(QCP::phFastPolylines | QCP::phCacheLabels);
    plot->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    plot->axisRect()->setRangeDragAxes({ plot->xAxis }, { plot->yAxis, plot->yAxis2 });
    plot->axisRect()->setRangeZoomAxes({ plot->xAxis }, { plot->yAxis, plot->yAxis2 });
    setAutoscale(true);
    // Every redraw, the user's drags and zooms included, fits the value axes first.
    connect(plot, &QCustomPlot::beforeReplot, this, &ChartPlot::fitValues);
}

void ChartPlot::setTexts(
    const QStringList &names, const QString &valueAxis, const QString &temperatureAxis)
{
    for (int i = 0; i < ChartSeries::valueCount; ++i)
        plot->graph(i)->setName(names.value(i));
    plot->yAxis->setLabel(valueAxis);
    plot->yAxis2->setLabel(temperatureAxis);
    redraw();
}

void ChartPlot::clear()
{
    for (int i = 0; i < ChartSeries::valueCount; ++i)
        plot->graph(i)->data()->clear();
    redraw();
}

void ChartPlot::append(double time, const double values[4])
{
    for (int i = 0; i < ChartSeries::valueCount; ++i)
        plot->graph(i)->addData(time, values[i]);
}

void ChartPlot::removeBefore(double time)
{
    for (int i = 0; i < ChartSeries::valueCount; ++i)
        plot->graph(i)->data()->removeBefore(time);
}

void ChartPlot::setSeries(const ChartSeries &series)
{
    for (int i = 0; i < ChartSeries::valueCount; ++i)
        plot->graph(i)->setData(series.time, series.value[i], true);
    if (series.size() > 0)
        showSpan(series.time.first(), series.time.last());
    redraw();
}

void ChartPlot::setTemperatureShown(bool shown)
{
    plot->graph(temperatureGraph)->setVisible(shown);
    if (shown)
        plot->graph(temperatureGraph)->addToLegend();
    else
        plot->graph(temperatureGraph)->removeFromLegend();
    plot->yAxis2->setVisible(shown);
    redraw();
}

void ChartPlot::setAutoscale(bool on)
{
    autoscale = on;
    // With autoscale the values are fitted: wheel and drag move the time only.
    plot->axisRect()->setRangeDrag(on ? Qt::Horizontal : Qt::Horizontal | Qt::Vertical);
    plot->axisRect()->setRangeZoom(on ? Qt::Horizontal : Qt::Horizontal | Qt::Vertical);
    redraw();
}

void ChartPlot::showSpan(double from, double to)
{
    plot->xAxis->setRange(from, to > from ? to : from + 1);
}

bool ChartPlot::savePng(const QString &path)
{
    return plot->savePng(path);
}

void ChartPlot::redraw()
{
    // An empty chart has no time to show: its ticks would read 1970-01-01.
    plot->xAxis->setTickLabels(!plot->graph(0)->data()->isEmpty());
    stale = !isVisible();
    if (!stale)
        plot->replot(QCustomPlot::rpQueuedReplot);
}

bool ChartPlot::redrawNow()
{
    if (!isVisible())
        return false;
    plot->xAxis->setTickLabels(!plot->graph(0)->data()->isEmpty());
    plot->replot(QCustomPlot::rpImmediateRefresh);
    return true;
}

void ChartPlot::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (stale)
        redraw();
}

void ChartPlot::fitValues()
{
    if (!autoscale)
        return;
    bool found = false;
    QCPRange values;
    for (int i = 0; i < temperatureGraph; ++i) {
        bool any = false;
        const QCPRange range
            = plot->graph(i)->getValueRange(any, QCP::sdBoth, plot->xAxis->range());
        if (any)
            values = found
                ? QCPRange(qMin(values.lower, range.lower), qMax(values.upper, range.upper))
                : range;
        found = found || any;
    }
    if (found)
        plot->yAxis->setRange(
            values.lower - 0.05 * values.size() - 1e-6, values.upper + 0.05 * values.size() + 1e-6);
    bool any = false;
    const QCPRange temperatures
        = plot->graph(temperatureGraph)->getValueRange(any, QCP::sdBoth, plot->xAxis->range());
    if (any)
        plot->yAxis2->setRange(temperatures.lower - 0.5, temperatures.upper + 0.5);
}
