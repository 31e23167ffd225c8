#pragma once

#include <QByteArray>
#include <QString>

/// A real pseudo-terminal: the program under test opens slaveName() through QSerialPort,
/// the test plays the device on the master side.
class PseudoTerminal
{
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    bool isValid() const { return master >= 0; }
    QString slaveName() const { return name; }

    /// Writes bytes as the device.
    void write(const QByteArray &bytes);
    /// Bytes the program has written so far and not yet taken (non-blocking).
    QByteArray readAvailable();
    /// Waits (handling events) until at least n bytes arrived or timeoutMs passed; returns them.
    QByteArray readAtLeast(int n, int timeoutMs = 5000);
    /// Waits (handling events) for timeoutMs and returns whatever arrived.
    QByteArray readFor(int timeoutMs);
    /// Closes the device end: the program sees its device go away.
    void closeMaster();

private:
    int master = -1;
    QString name;
};
