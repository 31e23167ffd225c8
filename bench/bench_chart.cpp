// The chart tab's cost. Live: the window (shown on the offscreen platform) polls the simulated
// sensor on a pseudo-terminal at 10 Hz with 36 000 samples (60 minutes) already in the live
// chart; process CPU over a fixed wall interval, once with the chart tab shown and once with
// another tab shown. Stored records: 60 000 records in the readback table plotted by the chart
// tab's button: the time to the first picture, then zoom and pan redraws.
//
// Usage: bench_chart [seconds per live run]   (default 20)
#include "app/mainwindow.h"
#include "benchsupport.h"
#include "chart/charttab.h"
#include "measure/livesample.h"
#include "records/recordtablemodel.h"
#include "sim/ptydevice.h"
#include "sim/simulatedsensor.h"
#include "windowfixture.h"

#include <QApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QSettings>
#include <QTabWidget>
#include <qcustomplot.h>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

namespace {

qint64 cpuMicroseconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return (qint64(usage.ru_utime.tv_sec) + usage.ru_stime.tv_sec) * 1000000
        + usage.ru_utime.tv_usec + usage.ru_stime.tv_usec;
}

void runFor(int msec)
{
    QEventLoop loop;
    QTimer::singleShot(msec, &loop, &QEventLoop::quit);
    loop.exec();
}

// CPU share of one core while live measurement runs for `seconds`, with `page` as the tab shown.
double liveRun(MainWindow &window, QWidget *page, int seconds, int &samples)
{
    widget<QTabWidget>(&window, "tabWidget")->setCurrentWidget(page);
    runFor(300);
    auto *label = widget<QLabel>(&window, "label_X");
    int changes = 0;
    QString last;
    QTimer watch; // counts label changes as samples (the wandering readings change each time)
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (label->text() != last) {
            last = label->text();
            ++changes;
        }
    });
    watch.start(20);
    const qint64 before = cpuMicroseconds();
    QElapsedTimer wall;
    wall.start();
    widget<QAbstractButton>(&window, "pushButtonStart")->click();
    runFor(seconds * 1000);
    widget<QAbstractButton>(&window, "pushButtonStart")->click();
    const double share = double(cpuMicroseconds() - before) / 1000.0 / wall.elapsed() * 100;
    samples = changes;
    runFor(300);
    return share;
}

double msSince(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    const int seconds = argc > 1 ? qMax(1, QByteArray(argv[1]).toInt()) : 20;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv("TILTLINK_EXTRA_PORTS");
    QApplication app(argc, argv);
    QTemporaryDir work;
    QSettings::setPath(
        QSettings::NativeFormat, QSettings::UserScope, work.filePath(QStringLiteral("settings")));
    startLikeMain();

    SimulatedSensor sensor;
    PtyDevice device(&sensor);
    if (!device.open()) {
        std::fprintf(stderr, "chart: %s\n", qPrintable(device.errorString()));
        return 1;
    }
    MainWindow window;
    window.show();
    runFor(200);
    auto *tab = widget<ChartTab>(&window, "chartTab");
    auto *tabs = widget<QTabWidget>(&window, "tabWidget");
    tabs->setCurrentWidget(tab);

    // Open the port and fetch the address, as a user would.
    {
        DialogRecorder boxes(QMessageBox::Yes);
        widget<QComboBox>(&window, "portComboBox")->setCurrentText(device.slaveName());
        widget<QAbstractButton>(&window, "openPortButton")->click();
        widget<QAbstractButton>(&window, "getAddrButton")->click();
        const QDeadlineTimer deadline(3000);
        while (
            widget<QLineEdit>(&window, "lineEditAddr")->text().isEmpty() && !deadline.hasExpired())
            runFor(10);
        if (!boxes.boxes.isEmpty()
            || widget<QLineEdit>(&window, "lineEditAddr")->text().isEmpty()) {
            std::fprintf(stderr, "chart: the port did not open or no address came\n");
            return 1;
        }
    }

    // 60 minutes of samples at 10 Hz, ending now.
    const int prefill = 36000;
    const double now = QDateTime::currentMSecsSinceEpoch() / 1000.0;
    for (int i = 0; i < prefill; ++i) {
        const double t = now - (prefill - i) * 0.1;
        const LiveSample sample { QString::number(3 * std::sin(t / 30), 'f', 4),
            QString::number(2 * std::cos(t / 45), 'f', 4), QString::number(0.5, 'f', 4),
            QString::number(25 + std::sin(t / 600), 'f', 2), QStringLiteral("90") };
        tab->addLiveSample(t, sample, 0);
    }
    widget<QComboBox>(&window, "chartSpanCombo")->setCurrentIndex(2); // the whole hour in view
    std::printf("chart live: %d s per run at 10 Hz after prefilling %d samples per series, "
                "window %dx%d shown (offscreen), 60-minute span\n",
        seconds, prefill, window.width(), window.height());
    int samples = 0;
    liveRun(window, tab, 2, samples); // warm-up
    const double shown = liveRun(window, tab, seconds, samples);
    const auto *plot = widget<QWidget>(&window, "chartLivePlot")->findChild<QCustomPlot *>();
    std::printf("chart live, chart tab shown: %.2f%% of one core (%d samples, %d points per "
                "series)\n",
        shown, samples, plot->graph(0)->dataCount());
    widget<QComboBox>(&window, "chartSpanCombo")->setCurrentIndex(0);
    const double oneMinute = liveRun(window, tab, seconds, samples);
    std::printf("chart live, chart tab shown, 1-minute span (a redraw per sample): %.2f%% of one "
                "core (%d samples)\n",
        oneMinute, samples);
    const double hidden = liveRun(window, widget(&window, "tab_2"), seconds, samples);
    std::printf("chart live, chart tab hidden: %.2f%% of one core (%d samples)\n", hidden, samples);
    std::printf("chart live target: under 5%% of one core with the chart shown: %s (%.2f%%, "
                "%+.2f points over the hidden tab)\n",
        shown < 5 ? "met" : "NOT met", shown, shown - hidden);

    // Stored records: 60 000, one a minute, with a gap of a day after the first 30 000.
    const int count = 60000;
    QVector<StoredRecord> records(count);
    for (int i = 0; i < count; ++i) {
        const QDateTime at = QDateTime(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC)
                                 .addSecs(60 * qint64(i) + (i >= count / 2 ? 86400 : 0));
        StoredRecord &r = records[i];
        r.date[0] = quint8(at.date().year() - 2000);
        r.date[1] = quint8(at.date().month());
        r.date[2] = quint8(at.date().day());
        r.time[0] = quint8(at.time().hour());
        r.time[1] = quint8(at.time().minute());
        r.time[2] = quint8(at.time().second());
        for (int axis = 0; axis < 3; ++axis)
            r.angle[axis] = float(10 * std::sin(i / (200.0 + 50 * axis)));
        r.temperature = float(20 + 5 * std::sin(i / 1440.0));
    }
    window.findChild<RecordTableModel *>()->append(records);
    tabs->setCurrentWidget(tab);
    runFor(300);
    auto *recordPlot = widget<QWidget>(&window, "chartRecordPlot")->findChild<QCustomPlot *>();
    QElapsedTimer timer;
    timer.start();
    widget<QAbstractButton>(&window, "chartRecordsButton")->click();
    recordPlot->replot(QCustomPlot::rpImmediateRefresh);
    QCoreApplication::processEvents(); // the tab switch's own paint
    const double first = msSince(timer);
    std::printf("chart records: %d records (%d points per series with the breaks)\n", count,
        recordPlot->graph(0)->dataCount());
    std::printf("chart records first picture (click to drawn): %.1f ms\n", first);

    QVector<double> zooms, pans;
    for (int i = 0; i < 10; ++i) {
        timer.restart();
        recordPlot->xAxis->scaleRange(i < 5 ? 0.5 : 2.0, recordPlot->xAxis->range().center());
        recordPlot->replot(QCustomPlot::rpImmediateRefresh);
        zooms.append(msSince(timer));
        timer.restart();
        recordPlot->xAxis->moveRange(recordPlot->xAxis->range().size() * 0.1);
        recordPlot->replot(QCustomPlot::rpImmediateRefresh);
        pans.append(msSince(timer));
    }
    for (auto *list : { &zooms, &pans })
        std::sort(list->begin(), list->end());
    std::printf(
        "chart records zoom redraw: median %.1f ms, worst %.1f ms (10)\n", zooms[5], zooms.last());
    std::printf(
        "chart records pan redraw: median %.1f ms, worst %.1f ms (10)\n", pans[5], pans.last());
    std::printf("chart records targets: first picture under 300 ms: %s; zoom or pan redraw "
                "under 50 ms: %s\n",
        first < 300 ? "met" : "NOT met",
        std::max(zooms.last(), pans.last()) < 50 ? "met" : "NOT met");
    return 0;
}
