#pragma once

#include <QByteArray>
#include <QString>

#include <climits>
#include <termios.h>

/// A real pseudo-terminal: the program under test opens slaveName() through QSerialPort, the
/// test plays the device on the master side.
class PseudoTerminal {
public:
    PseudoTerminal();
    ~PseudoTerminal() { closeMaster(); }
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    bool isValid() const { return master >= 0; }
    QString slaveName() const { return name; }
    /// Writes bytes as the device.
    void write(const QByteArray &bytes);
    /// What the program wrote and the test has not taken yet (non-blocking).
    QByteArray readAvailable();
    /// Waits, handling events, until n bytes arrived or timeoutMs passed; returns them.
    QByteArray readAtLeast(int n, int timeoutMs = 5000);
    /// Waits, handling events, for timeoutMs and returns whatever arrived.
    QByteArray readFor(int timeoutMs) { return readAtLeast(INT_MAX, timeoutMs); }
    /// The line speed the program set on its end.
    speed_t speed() const;
    /// Closes the device end: the program sees its device go away.
    void closeMaster();

private:
    int master = -1;
    QString name;
};
