#include "pseudoterminal.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QTest>

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

PseudoTerminal::PseudoTerminal()
{
    int slave = -1;
    char path[128] = {};
    termios raw {};
    cfmakeraw(&raw);
    if (openpty(&master, &slave, path, &raw, nullptr) != 0)
        master = -1;
    name = QString::fromLocal8Bit(path);
    ::close(slave); // the program opens the slave by name
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
}

void PseudoTerminal::write(const QByteArray &bytes)
{
    // Between writes the program runs: it has to read when the buffer is full.
    for (qsizetype done = 0; master >= 0 && done < bytes.size(); QTest::qWait(0)) {
        const ssize_t n = ::write(master, bytes.constData() + done, size_t(bytes.size() - done));
        done += qMax(ssize_t(0), n);
    }
}

QByteArray PseudoTerminal::readAvailable()
{
    QByteArray bytes;
    char buffer[4096];
    ssize_t n;
    // Stops at EAGAIN (nothing more) and at EIO (no slave open right now).
    while (master >= 0 && (n = ::read(master, buffer, sizeof buffer)) > 0)
        bytes.append(buffer, int(n));
    return bytes;
}

QByteArray PseudoTerminal::readAtLeast(int n, int timeoutMs)
{
    QByteArray bytes;
    for (QDeadlineTimer deadline(timeoutMs); bytes.size() < n && !deadline.hasExpired();) {
        QTest::qWait(5);
        bytes += readAvailable();
    }
    return bytes + readAvailable();
}

speed_t PseudoTerminal::speed() const
{
    termios tio {};
    const int fd = ::open(QFile::encodeName(name).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    const bool read = fd >= 0 && tcgetattr(fd, &tio) == 0;
    ::close(fd);
    return read ? cfgetospeed(&tio) : speed_t(-1);
}

void PseudoTerminal::closeMaster()
{
    if (master >= 0)
        ::close(master);
    master = -1;
}
