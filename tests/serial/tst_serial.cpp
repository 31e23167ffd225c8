// The Serial wrapper on a real pseudo-terminal, the test playing the device on the master side.
#include "pseudoterminal.h"
#include "serial/serial.h"

#include <QtTest>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

// The one place that knows how Serial hands over the bytes it received.
static void collectReceived(Serial &serial, QByteArrayList &blocks)
{
    QObject::connect(&serial, &Serial::readSignal, &serial,
                     [&blocks](const QByteArray &bytes) { blocks += bytes; });
}

// Speed, and flags that must be off; a pty always reports 8 data bits and no parity anyway.
static QPair<int, tcflag_t> lineOf(const QString &port)
{
    termios line {};
    const int fd = ::open(QFile::encodeName(port).constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    tcgetattr(fd, &line);
    ::close(fd);
    return {int(cfgetospeed(&line)),
            (line.c_cflag & (CSTOPB | CRTSCTS)) | (line.c_iflag & (IXON | IXOFF))};
}

class TestSerial : public QObject
{
    Q_OBJECT

private slots:
    void portFromOpenToLost_data();
    void portFromOpenToLost();
    void listsExtraPortsFirstAndOnlyOpenable();
};

void TestSerial::portFromOpenToLost_data()
{
    QTest::addColumn<int>("baud");
    QTest::addColumn<int>("speed");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArrayList>("in"); // chunks the device writes, one after the other
    const QByteArray touchy = QByteArray::fromHex("00030a0d11131a7fff"); // zero, control, high
    QTest::newRow("2400, nothing") << 2400 << B2400 << QByteArray() << QByteArrayList();
    QTest::newRow("9600, a line split in its end")
        << 9600 << B9600 << QByteArray("AT\r\n") << QByteArrayList {"OK\r", "\n"};
    QTest::newRow("115200, a frame") << 115200 << B115200 << QByteArray::fromHex("7707000000001f26")
        << QByteArrayList {QByteArray::fromHex("770700"), QByteArray::fromHex("0000018300")};
    QTest::newRow("460800, touchy") << 460800 << B460800 << touchy << QByteArrayList {touchy};
}

void TestSerial::portFromOpenToLost()
{
    QFETCH(int, baud);
    QFETCH(int, speed);
    QFETCH(QByteArray, out);
    QFETCH(QByteArrayList, in);
    PseudoTerminal pty;
    Serial serial;
    QVERIFY(serial.openPort(pty.slaveName(), baud));
    QCOMPARE(lineOf(pty.slaveName()), qMakePair(speed, tcflag_t(0)));
    QSignalSpy announced(&serial, &Serial::serialshowSignal);
    serial.sendData(out);
    QCOMPARE(announced, QList<QVariantList>({{out}}));
    const QByteArray onLine = pty.readAtLeast(out.size());
    QCOMPARE((onLine + pty.readFor(100)).toHex(), out.toHex()); // and nothing more
    QByteArrayList received;
    collectReceived(serial, received);
    for (int i = 0; i < in.size(); ++i) {
        pty.write(in.at(i));
        QTRY_COMPARE_WITH_TIMEOUT(received.join().toHex(), in.mid(0, i + 1).join().toHex(), 5000);
    }
    serial.setBaud(1200);
    QCOMPARE(lineOf(pty.slaveName()), qMakePair(B1200, tcflag_t(0)));
    QSignalSpy lost(&serial, &Serial::portLostSignal);
    pty.closeMaster();
    QTRY_VERIFY_WITH_TIMEOUT(!serial.isOpen(), 5000);
    QTest::qWait(200);
    QCOMPARE(lost.count(), 1);
}

void TestSerial::listsExtraPortsFirstAndOnlyOpenable()
{
    PseudoTerminal first, second;
    const QString one = first.slaveName(), two = second.slaveName(), missing = "/dev/tilt-none";
    qputenv("TILTLINK_EXTRA_PORTS", (two + "::" + missing + ':' + one + ':' + two).toLocal8Bit());
    Serial serial;
    QVERIFY(!serial.openPort(missing, 115200));
    const QStringList names = serial.listPorts();
    QCOMPARE(names.mid(0, 2), QStringList({two, one}));
    QCOMPARE(names.count(two) + names.count(missing), 1);
    Serial holder; // a port held open elsewhere cannot be opened again and is left out
    QVERIFY(holder.openPort(one, 115200));
    QVERIFY(!serial.listPorts().contains(one));
    qunsetenv("TILTLINK_EXTRA_PORTS");
}

QTEST_GUILESS_MAIN(TestSerial)
#include "tst_serial.moc"
