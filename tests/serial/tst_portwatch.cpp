#include "serial/portwatch.h"

#include <QtTest>

class TestPortWatch : public QObject {
    Q_OBJECT
private slots:
    // "lost | present, separated by ';' | the name to open"; a port is "name location serial
    // vendor product", "-" for no serial.
    void candidate_data()
    {
        QTest::addColumn<QString>("row");
        for (const char *row : { "/tmp/link /tmp/link - 0 0|/tmp/link /tmp/link - 0 0|/tmp/link",
                 "/tmp/link /tmp/link - 0 0|ttyS0 /dev/ttyS0 - 0 0|",
                 "ttyUSB0 /dev/ttyUSB0 A1 403 6001|ttyUSB0 /dev/ttyUSB0 A1 403 6001|ttyUSB0",
                 "ttyUSB0 /dev/ttyUSB0 A1 403 6001|ttyUSB1 /dev/ttyUSB1 A1 403 6001|/dev/ttyUSB1",
                 "ttyUSB0 /dev/ttyUSB0 A1 403 6001|ttyUSB0 /dev/ttyUSB0 B2 403 6001|",
                 "ttyUSB0 /dev/ttyUSB0 A1 403 6001|ttyUSB1 /dev/ttyUSB1 A1 10c4 ea60|",
                 "/dev/pts/3 /dev/pts/3 - 0 0|/dev/pts/3 /dev/pts/3 - 0 0|" })
            QTest::newRow(row) << QString(row);
    }
    void candidate()
    {
        QFETCH(QString, row);
        const auto port = [](const QString &text) {
            const QStringList f = QString(text).replace(" - ", "  ").split(' ');
            return PortIdentity { f[0], f[1], f[2], quint16(f[3].toUInt(nullptr, 16)),
                quint16(f[4].toUInt(nullptr, 16)) };
        };
        PortWatch watch;
        watch.start(port(row.section('|', 0, 0)), 9600, false);
        QList<PortIdentity> present;
        for (const QString &text : row.section('|', 1, 1).split(';'))
            present << port(text);
        QCOMPARE(watch.candidate(present), row.section('|', 2, 2));
    }
};

QTEST_GUILESS_MAIN(TestPortWatch)
#include "tst_portwatch.moc"
