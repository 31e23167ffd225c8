#include "serial/portwatch.h"

#include <QtTest>

namespace {

// "name location serial vendor product", "-" for empty.
PortIdentity port(const QString &text)
{
    const QStringList f = text.split(' ');
    const auto field = [&f](int i) { return f.value(i) == "-" ? QString() : f.value(i); };
    return { field(0), field(1), field(2), quint16(f.value(3).toUInt(nullptr, 16)),
        quint16(f.value(4).toUInt(nullptr, 16)) };
}

} // namespace

class TestPortWatch : public QObject {
    Q_OBJECT
private slots:
    // "lost | present, separated by ';' | the name to open". The watch stopped finds nothing.
    void candidate_data()
    {
        QTest::addColumn<QString>("row");
        for (const char *row : {
                 "/tmp/link /tmp/link - 0 0|/tmp/link /tmp/link - 0 0|/tmp/link",
                 "/tmp/link /tmp/link - 0 0|ttyS0 /dev/ttyS0 - 0 0|",
                 "ttyUSB0 /dev/ttyUSB0 A1 403 6001|ttyUSB0 /dev/ttyUSB0 A1 403 6001|ttyUSB0",
                 "ttyUSB0 /dev/ttyUSB0 A1 403 6001|ttyUSB1 /dev/ttyUSB1 A1 403 6001|/dev/ttyUSB1",
                 "ttyUSB0 /dev/ttyUSB0 A1 403 6001|ttyUSB0 /dev/ttyUSB0 B2 403 6001|",
                 "ttyUSB0 /dev/ttyUSB0 A1 403 6001|ttyUSB1 /dev/ttyUSB1 A1 10c4 ea60|",
                 "/dev/ttyUSB0 /dev/ttyUSB0 - 0 0|ttyUSB0 /dev/ttyUSB0 - 0 0|/dev/ttyUSB0",
                 "/dev/pts/3 /dev/pts/3 - 0 0|/dev/pts/3 /dev/pts/3 - 0 0|",
                 "stopped - - 0 0|stopped - - 0 0|",
             })
            QTest::newRow(row) << QString(row);
    }
    void candidate()
    {
        QFETCH(QString, row);
        PortWatch watch;
        watch.start(port(row.section('|', 0, 0)), 9600, false);
        if (row.startsWith("stopped"))
            watch.stop();
        QList<PortIdentity> present;
        for (const QString &text : row.section('|', 1, 1).split(';'))
            present << port(text);
        QCOMPARE(watch.candidate(present), row.section('|', 2, 2));
        QCOMPARE(watch.nextPollMs(), 500);
    }
};

QTEST_GUILESS_MAIN(TestPortWatch)
#include "tst_portwatch.moc"
