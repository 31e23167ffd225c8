// The chart's rules without a widget: which live samples the 60-minute window keeps, and the
// level's inside-the-ring test.
#include "chart/levelrule.h"
#include "chart/livewindow.h"

#include <QtTest>

class TestChartRules : public QObject {
    Q_OBJECT
private slots:
    // "sample times (s) | kept: count oldest | dropped by the last | break before the last"
    void liveWindowKeepsAnHour_data()
    {
        QTest::addColumn<QString>("row");
        for (const char *row : { "0 1 2|3 0|0|0", "0 1 3600|3 0|0|1", "0 1 3600.5|2 1|1|1",
                 "0 0.5 1 3601|2 1|2|1", "0 1 7200|1 7200|2|1", "10 5|2 10|0|0" })
            QTest::newRow(row) << row;
    }
    void liveWindowKeepsAnHour()
    {
        QFETCH(QString, row);
        LiveWindow window;
        LiveWindow::Step step;
        for (const QString &time : row.section('|', 0, 0).split(' '))
            step = window.append(time.toDouble());
        QCOMPARE(QString("%1 %2|%3|%4")
                     .arg(window.size())
                     .arg(window.oldest())
                     .arg(step.dropped)
                     .arg(int(step.breakBefore)),
            row.section('|', 1));
    }

    void levelInsideRing_data()
    {
        QTest::addColumn<QString>("row"); // "x y radius inside"
        for (const char *row : { "0 0 0.5 1", "0.3 0.4 0.5 1", "0.3 0.41 0.5 0", "-0.6 0 0.5 0",
                 "0 -0.49 0.5 1", "0.01 0 0 0" })
            QTest::newRow(row) << row;
    }
    void levelInsideRing()
    {
        QFETCH(QString, row);
        const QStringList v = row.split(' ');
        QCOMPARE(LevelRule::inside(v[0].toDouble(), v[1].toDouble(), v[2].toDouble()), v[3] == "1");
    }
};

QTEST_GUILESS_MAIN(TestChartRules)
#include "tst_chartrules.moc"
