#include "pseudoterminal.h"

#include <QDeadlineTimer>
#include <QTest>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

PseudoTerminal::PseudoTerminal()
{
    int slave = -1;
    char path[128] = {};
    termios raw {};
    cfmakeraw(&raw);
    if (openpty(&master, &slave, path, &raw, nullptr) != 0) {
        master = -1;
        return;
    }
    name = QString::fromLocal8Bit(path);
    // The program opens the slave by name; this descriptor is not needed.
    ::close(slave);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
}

PseudoTerminal::~PseudoTerminal()
{
    closeMaster();
}

void PseudoTerminal::write(const QByteArray &bytes)
{
    qsizetype done = 0;
    while (master >= 0 && done < bytes.size()) {
        const ssize_t n = ::write(master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0)
            done += n;
        else
            QTest::qWait(1);
    }
}

QByteArray PseudoTerminal::readAvailable()
{
    QByteArray bytes;
    char buffer[4096];
    while (master >= 0) {
        const ssize_t n = ::read(master, buffer, sizeof buffer);
        if (n <= 0)
            break; // EAGAIN: nothing more; EIO: no slave open right now.
        bytes.append(buffer, int(n));
    }
    return bytes;
}

QByteArray PseudoTerminal::readAtLeast(int n, int timeoutMs)
{
    QByteArray bytes;
    QDeadlineTimer deadline(timeoutMs);
    while (bytes.size() < n && !deadline.hasExpired()) {
        QTest::qWait(5);
        bytes += readAvailable();
    }
    return bytes;
}

QByteArray PseudoTerminal::readFor(int timeoutMs)
{
    QByteArray bytes;
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        QTest::qWait(5);
        bytes += readAvailable();
    }
    return bytes + readAvailable();
}

void PseudoTerminal::closeMaster()
{
    if (master >= 0)
        ::close(master);
    master = -1;
}
