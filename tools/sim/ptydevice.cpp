#include "sim/ptydevice.h"

#include "sim/simulatedsensor.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

void setFlags(int fd)
{
    fcntl(fd, F_SETFD, fcntl(fd, F_GETFD) | FD_CLOEXEC);
}

} // namespace

PtyDevice::PtyDevice(SimulatedSensor *sensor, QObject *parent)
    : QObject(parent)
    , sensor(sensor)
{
    connect(sensor, &SimulatedSensor::transmit, this, &PtyDevice::write);
    connect(sensor, &SimulatedSensor::unplugRequested, this, &PtyDevice::unplug);
}

PtyDevice::~PtyDevice()
{
    close();
}

bool PtyDevice::open(const QString &linkPath)
{
    close();
    error.clear();
    termios raw {};
    cfmakeraw(&raw);
    char name[128] = {};
    if (openpty(&master, &ownSlave, name, &raw, nullptr) != 0) {
        error = QStringLiteral("openpty: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        master = ownSlave = -1;
        return false;
    }
    setFlags(master);
    setFlags(ownSlave);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    slavePath = QString::fromLocal8Bit(name);

    if (!linkPath.isEmpty()) {
        // A link left behind by a killed run is replaced; anything else is not touched.
        if (QFileInfo(linkPath).isSymLink())
            QFile::remove(linkPath);
        if (!QFile::link(slavePath, linkPath)) {
            error = QStringLiteral("cannot create the link %1").arg(linkPath);
            close();
            return false;
        }
        link = linkPath;
    }
    lastLink = linkPath;

    readNotifier = new QSocketNotifier(master, QSocketNotifier::Read, this);
    connect(readNotifier, &QSocketNotifier::activated, this, &PtyDevice::readMaster);
    writeNotifier = new QSocketNotifier(master, QSocketNotifier::Write, this);
    writeNotifier->setEnabled(false);
    connect(writeNotifier, &QSocketNotifier::activated, this, &PtyDevice::writePending);
    return true;
}

void PtyDevice::unplug()
{
    if (!isOpen())
        return;
    close();
    emit unplugged();
}

bool PtyDevice::plugBack()
{
    return !isOpen() && open(lastLink);
}

void PtyDevice::readMaster()
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(master, buffer, sizeof buffer);
        if (n > 0) {
            sensor->receive(QByteArray(buffer, int(n)));
            if (!isOpen())
                return; // the sensor was unplugged while handling the bytes
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && readNotifier) {
            // Should not happen while the own slave descriptor is open; avoid spinning.
            readNotifier->setEnabled(false);
        }
        return;
    }
}

void PtyDevice::write(const QByteArray &bytes)
{
    if (!isOpen())
        return;
    pending.append(bytes);
    writePending();
}

void PtyDevice::writePending()
{
    while (!pending.isEmpty()) {
        const ssize_t n = ::write(master, pending.constData(), size_t(pending.size()));
        if (n > 0) {
            pending.remove(0, int(n));
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            break; // the line is full: nobody reads the port just now
        } else {
            pending.clear();
        }
    }
    writeNotifier->setEnabled(!pending.isEmpty());
}

void PtyDevice::close()
{
    // Remove the link first, while it can still be told to point to this device.
    if (!link.isEmpty() && QFileInfo(link).symLinkTarget() == slavePath)
        QFile::remove(link);
    link.clear();
    // close() may run inside a notifier's own signal (unplug while reading): no direct delete.
    for (QSocketNotifier *notifier : {readNotifier, writeNotifier}) {
        if (notifier) {
            notifier->setEnabled(false);
            notifier->deleteLater();
        }
    }
    readNotifier = writeNotifier = nullptr;
    if (master >= 0)
        ::close(master);
    if (ownSlave >= 0)
        ::close(ownSlave);
    master = ownSlave = -1;
    pending.clear();
    slavePath.clear();
}
