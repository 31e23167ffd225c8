#include "sim/ptydevice.h"
#include "sim/simulatedsensor.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// The program's end of the line, opened like a serial port.
int openPort(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd >= 0) {
        termios raw {};
        tcgetattr(fd, &raw);
        cfmakeraw(&raw);
        tcsetattr(fd, TCSANOW, &raw);
    }
    return fd;
}

// Waits, handling events, until n bytes came or the time is up.
QByteArray readPort(int fd, int n, int timeoutMs = 5000)
{
    QByteArray bytes;
    QDeadlineTimer deadline(timeoutMs);
    char buffer[256];
    while (bytes.size() < n && !deadline.hasExpired()) {
        QTest::qWait(5);
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got > 0)
            bytes.append(buffer, int(got));
    }
    return bytes;
}

const QByteArray addressRequest = QByteArray::fromHex("7707000000001f26");
const QByteArray addressReply = QByteArray::fromHex("770b000000001f000000012b");

} // namespace

class TestPtyDevice : public QObject
{
    Q_OBJECT

private slots:
    void requestGetsReply();
    void portCanBeReopened();
    void linkFollowsDevice();
    void unplugClosesDevice();
};

void TestPtyDevice::requestGetsReply()
{
    SimulatedSensor sensor;
    PtyDevice device(&sensor);
    QVERIFY2(device.open(), qPrintable(device.errorString()));
    QVERIFY(device.slaveName().startsWith("/dev/pts/"));
    const int fd = openPort(device.slaveName());
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, addressRequest.constData(), 8), ssize_t(8));
    QCOMPARE(readPort(fd, 12).toHex(), addressReply.toHex());
    ::close(fd);
}

void TestPtyDevice::portCanBeReopened()
{
    SimulatedSensor sensor;
    PtyDevice device(&sensor);
    QVERIFY(device.open());
    ::close(openPort(device.slaveName()));
    QTest::qWait(50); // the device must not see a hang-up meanwhile
    const int fd = openPort(device.slaveName());
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, addressRequest.constData(), 8), ssize_t(8));
    QCOMPARE(readPort(fd, 12).toHex(), addressReply.toHex());
    ::close(fd);
}

void TestPtyDevice::linkFollowsDevice()
{
    QTemporaryDir dir;
    const QString link = dir.filePath("sensor");
    {
        SimulatedSensor sensor;
        PtyDevice device(&sensor);
        QVERIFY(device.open(link));
        QCOMPARE(device.linkPath(), link);
        QCOMPARE(QFileInfo(link).symLinkTarget(), device.slaveName());
        const int fd = openPort(link);
        QVERIFY(fd >= 0);
        QCOMPARE(::write(fd, addressRequest.constData(), 8), ssize_t(8));
        QCOMPARE(readPort(fd, 12).toHex(), addressReply.toHex());
        ::close(fd);
    }
    QVERIFY(!QFileInfo(link).isSymLink());
}

void TestPtyDevice::unplugClosesDevice()
{
    QTemporaryDir dir;
    const QString link = dir.filePath("sensor");
    SimulatedSensor sensor;
    PtyDevice device(&sensor);
    QVERIFY(device.open(link));
    const int fd = openPort(device.slaveName());
    QVERIFY(fd >= 0);
    QSignalSpy unplugged(&device, &PtyDevice::unplugged);
    sensor.unplug();
    QCOMPARE(unplugged.count(), 1);
    QVERIFY(!device.isOpen());
    QVERIFY(!QFileInfo(link).isSymLink());
    char byte = 0;
    const ssize_t got = ::read(fd, &byte, 1);
    const int error = errno;
    QVERIFY(got == 0 || (got < 0 && error != EAGAIN));
    ::close(fd);
}

QTEST_GUILESS_MAIN(TestPtyDevice)
#include "tst_ptydevice.moc"
