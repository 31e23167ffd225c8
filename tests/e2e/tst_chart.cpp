// The chart tab against the simulated sensor: a point per live sample carrying the labels'
// value, a point per stored record with a break at the gap in time, the level's colour.
#include "sim/livereadings.h"
#include "sim/ptydevice.h"
#include "sim/simulatedsensor.h"
#include "windowfixture.h"

#include <QDoubleSpinBox>
#include <qcustomplot.h>

class TestChart : public QObject, public WindowFixture {
    Q_OBJECT

    SimulatedSensor *sensor = nullptr;
    PtyDevice *device = nullptr;

    QCPGraph *graph(const QString &plot, int series) const
    {
        return widget(plot)->findChild<QCustomPlot *>()->graph(series);
    }
    // "points breaks" of a series: its numbers, and its NaN points.
    QString points(const QString &plot, int series = 0) const
    {
        int numbers = 0, breaks = 0;
        for (const QCPGraphData &point : *graph(plot, series)->data())
            ++(qIsNaN(point.value) ? breaks : numbers);
        return QString("%1 %2").arg(numbers).arg(breaks);
    }
    int polls() const
    {
        int count = 0;
        for (const QByteArray &frame : sensor->receivedFrames())
            count += frame.at(6) == 0x03;
        return count;
    }

private slots:
    void init()
    {
        openWindow();
        sensor = new SimulatedSensor;
        device = new PtyDevice(sensor);
        QVERIFY(device->open());
        openPort("00000001", device->slaveName());
        sensor->clearCounters();
        widget<QTabWidget>("tabWidget")->setCurrentWidget(widget("chartTab"));
    }
    void cleanup()
    {
        closeWindow();
        delete device;
        delete sensor;
    }

    void onePointPerLiveSample()
    {
        click("pushButtonStart");
        QTRY_VERIFY_WITH_TIMEOUT(polls() >= 10, 20000);
        click("pushButtonStart");
        QTRY_COMPARE_WITH_TIMEOUT(points("chartLivePlot"), QString("%1 0").arg(polls()), 10000);
        const double labels[] = { text("label_X").toDouble(), text("label_Y").toDouble(),
            text("label_Z").toDouble(), text("label_T").toDouble() };
        for (int series = 0; series < 4; ++series)
            QCOMPARE(
                graph("chartLivePlot", series)->data()->at(polls() - 1)->value, labels[series]);
    }

    void storedRecordsWithTheGap()
    {
        sensor->setStoredRecords(300);
        sensor->setRecordGapAfter(120);
        DialogRecorder boxes;
        click("pushButtonRead");
        QTRY_COMPARE_WITH_TIMEOUT(boxes.boxes.size(), 1, 10000);
        click("chartRecordsButton");
        for (int series = 0; series < 4; ++series)
            QCOMPARE(points("chartRecordPlot", series), QString("300 1"));
        QCOMPARE(text("chartRecordInfo"), QString("300 条记录，1 处时间间断"));
        const auto &data = *graph("chartRecordPlot", 0)->data();
        QCOMPARE(data.at(120)->key - data.at(119)->key, 30.5 * 60); // between record 120 and 121
    }

    void levelGreenInsideRing_data()
    {
        QTest::addColumn<QString>("row"); // "x y ring green"
        for (const char *row : { "0.3 0.3 0.5 1", "0.3 0.3 0.4 0", "-1.5 0 2 1", "-1.5 0 1 0" })
            QTest::newRow(row) << row;
    }
    void levelGreenInsideRing()
    {
        QFETCH(QString, row);
        const QStringList v = row.split(' ');
        LiveReadings readings;
        readings.angleX = v[0].toDouble();
        readings.angleY = v[1].toDouble();
        sensor->setReadings(readings);
        widget<QDoubleSpinBox>("chartRingRadius")->setValue(v[2].toDouble());
        click("pushButtonStart");
        QTRY_COMPARE_WITH_TIMEOUT(text("label_X").toDouble(), v[0].toDouble(), 10000);
        const QImage face = widget("chartLevelView")->grab().toImage();
        int green = 0;
        for (int y = 0; y < face.height(); ++y)
            for (int x = 0; x < face.width(); ++x)
                green += face.pixel(x, y) == qRgb(0x2e, 0xa0, 0x43);
        QCOMPARE(green > face.width() * face.height() / 3, v[3] == "1");
    }
};

QTEST_MAIN(TestChart)
#include "tst_chart.moc"
