#include "chart/charttab.h"

#include "chart/chartplot.h"
#include "chart/chartseries.h"
#include "chart/levelview.h"
#include "measure/livesample.h"
#include "records/recordtablemodel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

namespace {

constexpr int spanMinutes[] = { 1, 10, 60 };
constexpr double defaultRing = 0.5;

} // namespace

ChartTab::ChartTab(const RecordTableModel *records, QWidget *parent)
    : QWidget(parent)
    , records(records)
    , liveRedrawTimer(new QTimer(this))
    , spanBox(new QComboBox)
    , spanLabel(new QLabel)
    , temperatureBox(new QCheckBox)
    , autoscaleBox(new QCheckBox)
    , pauseButton(new QPushButton)
    , recordsButton(new QPushButton)
    , saveButton(new QPushButton)
    , views(new QTabWidget)
    , livePlot(new ChartPlot(ChartPlot::LocalTime))
    , recordPlot(new ChartPlot(ChartPlot::RecordTime))
    , recordInfo(new QLabel)
    , levelGroup(new QGroupBox)
    , level(new LevelView)
    , levelNumbers(new QLabel(QStringLiteral("X --\nY --")))
    , ringLabel(new QLabel)
    , ringBox(new QDoubleSpinBox)
{
    setObjectName(QStringLiteral("chartTab"));
    spanBox->setObjectName(QStringLiteral("chartSpanCombo"));
    temperatureBox->setObjectName(QStringLiteral("chartTemperatureBox"));
    autoscaleBox->setObjectName(QStringLiteral("chartAutoscaleBox"));
    pauseButton->setObjectName(QStringLiteral("chartPauseButton"));
    recordsButton->setObjectName(QStringLiteral("chartRecordsButton"));
    saveButton->setObjectName(QStringLiteral("chartSaveButton"));
    views->setObjectName(QStringLiteral("chartViews"));
    livePlot->setObjectName(QStringLiteral("chartLivePlot"));
    recordPlot->setObjectName(QStringLiteral("chartRecordPlot"));
    recordInfo->setObjectName(QStringLiteral("chartRecordInfo"));
    level->setObjectName(QStringLiteral("chartLevelView"));
    levelNumbers->setObjectName(QStringLiteral("chartLevelNumbers"));
    ringBox->setObjectName(QStringLiteral("chartRingRadius"));

    for (int i = 0; i < 3; ++i)
        spanBox->addItem(QString());
    spanBox->setCurrentIndex(1);
    temperatureBox->setChecked(true);
    autoscaleBox->setChecked(true);
    pauseButton->setCheckable(true);
    ringBox->setRange(0.01, 45);
    ringBox->setDecimals(2);
    ringBox->setSingleStep(0.1);
    ringBox->setSuffix(QStringLiteral("°"));
    ringBox->setValue(defaultRing);
    level->setRingRadius(defaultRing);

    auto *options = new QHBoxLayout;
    options->addWidget(spanLabel);
    options->addWidget(spanBox);
    options->addWidget(temperatureBox);
    options->addWidget(autoscaleBox);
    options->addStretch();
    auto *actions = new QHBoxLayout;
    actions->addWidget(pauseButton);
    actions->addWidget(saveButton);
    actions->addStretch();

    auto *recordPage = new QWidget;
    auto *recordLayout = new QVBoxLayout(recordPage);
    recordLayout->addWidget(recordPlot, 1);
    auto *recordRow = new QHBoxLayout;
    recordRow->addWidget(recordsButton);
    recordRow->addWidget(recordInfo, 1);
    recordLayout->addLayout(recordRow);
    views->addTab(livePlot, QString());
    views->addTab(recordPage, QString());

    auto *levelLayout = new QVBoxLayout(levelGroup);
    levelLayout->addWidget(level);
    QFont numbersFont = levelNumbers->font();
    numbersFont.setPointSizeF(numbersFont.pointSizeF() * 1.4);
    numbersFont.setBold(true);
    levelNumbers->setFont(numbersFont);
    levelNumbers->setAlignment(Qt::AlignCenter);
    // A fixed size: a new text at 10 Hz then repaints the label without laying out the window.
    levelNumbers->setFixedSize(190, 2 * QFontMetrics(numbersFont).lineSpacing() + 6);
    levelLayout->addWidget(levelNumbers);
    auto *ringRow = new QHBoxLayout;
    ringRow->addWidget(ringLabel);
    ringRow->addWidget(ringBox);
    levelLayout->addLayout(ringRow);
    levelLayout->addStretch();
    levelGroup->setFixedWidth(220);

    auto *left = new QVBoxLayout;
    left->addLayout(options);
    left->addLayout(actions);
    left->addWidget(views, 1);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addWidget(levelGroup);

    liveRedrawTimer->setSingleShot(true);
    connect(liveRedrawTimer, &QTimer::timeout, this, [this] { followLive(true); });
    connect(spanBox, qOverload<int>(&QComboBox::currentIndexChanged), this,
        [this] { followLive(true); });
    connect(pauseButton, &QPushButton::toggled, this, [this] { followLive(true); });
    connect(temperatureBox, &QCheckBox::toggled, this, [this](bool shown) {
        livePlot->setTemperatureShown(shown);
        recordPlot->setTemperatureShown(shown);
    });
    connect(autoscaleBox, &QCheckBox::toggled, this, [this](bool on) {
        livePlot->setAutoscale(on);
        recordPlot->setAutoscale(on);
    });
    connect(recordsButton, &QPushButton::clicked, this, &ChartTab::plotRecords);
    connect(saveButton, &QPushButton::clicked, this, &ChartTab::savePicture);
    connect(ringBox, qOverload<double>(&QDoubleSpinBox::valueChanged), level,
        &LevelView::setRingRadius);
    retranslate();
}

QString ChartTab::title()
{
    return tr("实时曲线");
}

void ChartTab::addLiveSample(double time, const LiveSample &sample, int dataKind)
{
    if (dataKind != liveKind) { // other units: the old points do not belong on these axes
        live.clear();
        livePlot->clear();
        liveKind = dataKind;
        showValueAxes();
    }
    const bool axes = dataKind == AngleKind || dataKind == AccelerationKind;
    double values[ChartSeries::valueCount];
    liveValues(sample, values);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (int i = 0; i < 3 && !axes; ++i)
        values[i] = nan;
    const double before = live.newest();
    const LiveWindow::Step step = live.append(time);
    if (step.breakBefore) {
        const double breakValues[ChartSeries::valueCount] = { nan, nan, nan, nan };
        livePlot->append((before + step.time) / 2, breakValues);
    }
    livePlot->append(step.time, values);
    if (step.dropped > 0)
        livePlot->removeBefore(live.oldest());
    if (dataKind == AngleKind && !std::isnan(values[0]) && !std::isnan(values[1])) {
        level->setTilt(values[0], values[1]);
        levelNumbers->setText(QStringLiteral("X %1°\nY %2°").arg(sample.x, sample.y));
    } else {
        level->clearTilt();
        levelNumbers->setText(QStringLiteral("X --\nY --"));
    }
    followLive(false);
}

void ChartTab::followLive(bool now)
{
    const double span = 60.0 * spanMinutes[spanBox->currentIndex()];
    const int interval = LiveWindow::redrawIntervalMs(span, livePlot->width());
    if (!now && liveRedrawn.isValid() && liveRedrawn.elapsed() < interval) {
        if (!liveRedrawTimer->isActive())
            liveRedrawTimer->start(int(interval - liveRedrawn.elapsed()));
        return;
    }
    liveRedrawTimer->stop();
    liveRedrawn.start();
    if (!pauseButton->isChecked() && live.size() > 0)
        livePlot->showSpan(live.newest() - span, live.newest());
    livePlot->redraw();
}

void ChartTab::plotRecords()
{
    const ChartSeries series = recordSeries(records->records());
    recordCount = series.size() - series.gaps;
    recordGaps = series.gaps;
    recordPlot->setSeries(series);
    views->setCurrentIndex(1);
    retranslate();
}

void ChartTab::savePicture()
{
    QString path
        = QFileDialog::getSaveFileName(this, tr("保存图片"), QString(), tr("PNG 图片 (*.png)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".png");
    ChartPlot *shown = views->currentIndex() == 0 ? livePlot : recordPlot;
    if (!shown->savePng(path))
        QMessageBox::critical(nullptr, tr("错误"),
            tr("图片保存失败，无法写入：%1").arg(QDir::toNativeSeparators(path)), QMessageBox::Yes);
}

void ChartTab::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void ChartTab::retranslate()
{
    spanLabel->setText(tr("时间窗"));
    const QString minutes[] = { tr("1 分钟"), tr("10 分钟"), tr("60 分钟") };
    for (int i = 0; i < 3; ++i)
        spanBox->setItemText(i, minutes[i]);
    temperatureBox->setText(tr("温度"));
    autoscaleBox->setText(tr("自动缩放"));
    pauseButton->setText(tr("暂停滚动"));
    recordsButton->setText(tr("绘制存储记录"));
    saveButton->setText(tr("保存图片"));
    views->setTabText(0, tr("实时数据"));
    views->setTabText(1, tr("存储记录"));
    recordInfo->setText(recordCount < 0
            ? tr("读取记录后按“绘制存储记录”。")
            : tr("%1 条记录，%2 处时间间断").arg(recordCount).arg(recordGaps));
    levelGroup->setTitle(tr("水平仪"));
    ringLabel->setText(tr("目标圈半径"));
    showValueAxes();
}

void ChartTab::showValueAxes()
{
    const QStringList names
        = { QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("Z"), tr("温度") };
    const QString temperature = tr("温度 (°C)");
    livePlot->setTexts(
        names, liveKind == AccelerationKind ? tr("加速度 (g)") : tr("角度 (°)"), temperature);
    recordPlot->setTexts(names, tr("角度 (°)"), temperature);
}
