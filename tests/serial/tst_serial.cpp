#include "pseudoterminal.h"
#include "serial/serial.h"

#include <QSignalSpy>
#include <QtTest>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

class TestSerial : public QObject
{
    Q_OBJECT

private slots:
    void openFailsOnMissingPort();
    void openAppliesLineSettings_data();
    void openAppliesLineSettings();
    void sendEchoesBeforeWriting();
    void emptySendEchoesButWritesNothing();
    void eachReadDeliversItsOwnBytes();
    void listsExtraPortsFirstAndOnlyOpenable();
    void deviceGoneIsReportedOnce();
    void closedPortTakesNoWrites();
};

static speed_t speedOf(const QString &path)
{
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    termios settings {};
    tcgetattr(fd, &settings);
    ::close(fd);
    return cfgetospeed(&settings);
}

static termios settingsOf(const QString &path)
{
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    termios settings {};
    tcgetattr(fd, &settings);
    ::close(fd);
    return settings;
}

void TestSerial::openFailsOnMissingPort()
{
    Serial serial;
    QVERIFY(!serial.openPort(QStringLiteral("/dev/tiltlink-no-such-port"), 115200));
    QVERIFY(!serial.isOpen());
}

void TestSerial::openAppliesLineSettings_data()
{
    QTest::addColumn<int>("baud");
    QTest::addColumn<uint>("speed");
    QTest::newRow("2400") << 2400 << uint(B2400);
    QTest::newRow("9600") << 9600 << uint(B9600);
    QTest::newRow("115200") << 115200 << uint(B115200);
    QTest::newRow("460800") << 460800 << uint(B460800);
}

void TestSerial::openAppliesLineSettings()
{
    QFETCH(int, baud);
    QFETCH(uint, speed);
    PseudoTerminal pty;
    QVERIFY(pty.isValid());
    Serial serial;
    QVERIFY(serial.openPort(pty.slaveName(), baud));
    QCOMPARE(uint(speedOf(pty.slaveName())), speed);
    const termios line = settingsOf(pty.slaveName());
    QCOMPARE(line.c_cflag & CSIZE, tcflag_t(CS8));
    QVERIFY(!(line.c_cflag & PARENB));
    QVERIFY(!(line.c_cflag & CSTOPB));
    QVERIFY(!(line.c_cflag & CRTSCTS));
    serial.setBaud(9600);
    QCOMPARE(uint(speedOf(pty.slaveName())), uint(B9600));
    serial.closePort();
    QVERIFY(!serial.isOpen());
}

void TestSerial::sendEchoesBeforeWriting()
{
    PseudoTerminal pty;
    Serial serial;
    QVERIFY(serial.openPort(pty.slaveName(), 115200));
    QByteArray seenOnLineAtEcho = "unset";
    QByteArray echoed;
    connect(&serial, &Serial::serialshowSignal, this, [&](const QByteArray &bytes) {
        echoed = bytes;
        seenOnLineAtEcho = pty.readFor(50);
    });
    serial.sendData(QByteArray::fromHex("7707000000001f26"));
    QCOMPARE(echoed, QByteArray::fromHex("7707000000001f26"));
    QCOMPARE(seenOnLineAtEcho, QByteArray());
    QCOMPARE(pty.readAtLeast(8).toHex(), QByteArray("7707000000001f26"));
}

void TestSerial::emptySendEchoesButWritesNothing()
{
    PseudoTerminal pty;
    Serial serial;
    QVERIFY(serial.openPort(pty.slaveName(), 115200));
    QSignalSpy echo(&serial, &Serial::serialshowSignal);
    serial.sendData(QByteArray());
    QCOMPARE(echo.count(), 1);
    QCOMPARE(echo.at(0).at(0).toByteArray(), QByteArray());
    QCOMPARE(pty.readFor(100), QByteArray());
}

void TestSerial::eachReadDeliversItsOwnBytes()
{
    PseudoTerminal pty;
    Serial serial;
    QVERIFY(serial.openPort(pty.slaveName(), 115200));
    QList<QByteArray> blocks;
    connect(&serial, &Serial::readSignal, this,
            [&](const QByteArray &bytes) { blocks.append(bytes); });
    pty.write(QByteArray::fromHex("770700"));
    QTRY_COMPARE_WITH_TIMEOUT(blocks.size(), 1, 5000);
    pty.write(QByteArray::fromHex("0000018300"));
    QTRY_COMPARE_WITH_TIMEOUT(blocks.size(), 2, 5000);
    QCOMPARE(blocks.at(0).toHex(), QByteArray("770700"));
    QCOMPARE(blocks.at(1).toHex(), QByteArray("0000018300"));
}

void TestSerial::listsExtraPortsFirstAndOnlyOpenable()
{
    PseudoTerminal first;
    PseudoTerminal second;
    const QString missing = QStringLiteral("/dev/tiltlink-no-such-port");
    qputenv("TILTLINK_EXTRA_PORTS",
            (second.slaveName() + ":" + missing + ":" + first.slaveName()).toLocal8Bit());
    Serial serial;
    const QStringList names = serial.listPorts();
    qunsetenv("TILTLINK_EXTRA_PORTS");
    QVERIFY(names.size() >= 2);
    QCOMPARE(names.at(0), second.slaveName());
    QCOMPARE(names.at(1), first.slaveName());
    QVERIFY(!names.contains(missing));

    // A port held open by someone else cannot be opened again and is left out.
    Serial holder;
    QVERIFY(holder.openPort(first.slaveName(), 115200));
    qputenv("TILTLINK_EXTRA_PORTS", first.slaveName().toLocal8Bit());
    QVERIFY(!serial.listPorts().contains(first.slaveName()));
    qunsetenv("TILTLINK_EXTRA_PORTS");
}

void TestSerial::deviceGoneIsReportedOnce()
{
    PseudoTerminal pty;
    Serial serial;
    QVERIFY(serial.openPort(pty.slaveName(), 115200));
    QSignalSpy lost(&serial, &Serial::portLostSignal);
    pty.closeMaster();
    QTRY_VERIFY_WITH_TIMEOUT(lost.count() >= 1, 5000);
    QTest::qWait(200);
    QCOMPARE(lost.count(), 1);
    serial.closePort();
    QVERIFY(!serial.isOpen());
}

void TestSerial::closedPortTakesNoWrites()
{
    Serial serial;
    QSignalSpy echo(&serial, &Serial::serialshowSignal);
    serial.sendData(QByteArrayLiteral("AT\r\n")); // must neither crash nor warn
    QCOMPARE(echo.count(), 1);
}

QTEST_GUILESS_MAIN(TestSerial)
#include "tst_serial.moc"
