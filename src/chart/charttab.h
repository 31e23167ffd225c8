#pragma once

#include "chart/livewindow.h"

#include <QElapsedTimer>
#include <QWidget>

class ChartPlot;
class LevelView;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QTimer;
class RecordTableModel;
struct LiveSample;

/// The chart tab: the live chart of the samples with the bubble level beside it, and the chart
/// of the stored records in the readback table.
class ChartTab : public QWidget {
    Q_OBJECT

public:
    /// `records` is the readback table whose records the records chart plots.
    explicit ChartTab(const RecordTableModel *records, QWidget *parent = nullptr);

    /// The tab's title in the current language.
    static QString title();
    /// Takes a live sample that arrived at `time` (seconds since the epoch); `dataKind` is the
    /// measurement's (0 angles, 2 accelerations; the others carry no X, Y, Z values).
    void addLiveSample(double time, const LiveSample &sample, int dataKind);

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();
    void showValueAxes();
    /// Moves the live chart's time axis to the newest sample (unless paused) and redraws it,
    /// at once or when the redraw interval has passed.
    void followLive(bool now);
    void plotRecords();
    void savePicture();

    const RecordTableModel *records;
    LiveWindow live;
    int liveKind = -1; // no sample yet
    int recordCount = -1; // records in the records chart; -1 before the first plot
    int recordGaps = 0;
    QElapsedTimer liveRedrawn;
    QTimer *liveRedrawTimer;

    QComboBox *spanBox;
    QLabel *spanLabel;
    QCheckBox *temperatureBox;
    QCheckBox *autoscaleBox;
    QPushButton *pauseButton;
    QPushButton *recordsButton;
    QPushButton *saveButton;
    QTabWidget *views;
    ChartPlot *livePlot;
    ChartPlot *recordPlot;
    QLabel *recordInfo;
    QGroupBox *levelGroup;
    LevelView *level;
    QLabel *levelNumbers; // the tilt the level shows, as the labels show it
    QLabel *ringLabel;
    QDoubleSpinBox *ringBox;
};
