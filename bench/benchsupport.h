// Small helpers the benchmarks and soak runs share.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QWidget>

#include <ctime>

/// A child widget of the window by object name.
template <class T = QWidget> T *widget(QWidget *root, const char *name)
{
    return root->findChild<T *>(QString::fromLatin1(name));
}

/// CPU time of this process so far (user and system), in ms.
inline double cpuMs()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

/// Resident memory of this process, in MB (0 where /proc is missing).
inline double residentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

/// A firmware image of `bytes` bytes that differs from packet to packet.
inline QByteArray benchImage(int bytes)
{
    QByteArray image(bytes, '\0');
    for (int i = 0; i < image.size(); ++i)
        image[i] = char(i * 31 + i / 1024);
    return image;
}
