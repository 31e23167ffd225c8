#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QString>

/// What tells one serial port from another: the name it was opened by, where the system keeps
/// it, and for a USB adapter its serial number and USB ids.
struct PortIdentity {
    QString name;
    QString location; // the device path; the name itself for a path given directly
    QString serialNumber;
    quint16 vendor = 0;
    quint16 product = 0;
};

/// Watches for a lost device to come back: the same path again, or the same USB adapter (by
/// serial number and USB ids) under another name. It holds no port: the caller lists the ports
/// present every nextPollMs(), tries the candidate this returns, and stops the watch when it
/// opened.
class PortWatch {
public:
    /// How often the caller looks for the device at first: a cable pulled by mistake and put
    /// back is taken within a second. Listing the ports takes some milliseconds of CPU (bench/
    /// bench_portwatch), so after quickMs the watch looks only every slowPollMs.
    static constexpr int pollMs = 500;
    static constexpr int quickMs = 30000;
    static constexpr int slowPollMs = 2000;

    /// Starts watching for `lost`, to be opened again at `baud`; `live` says whether live
    /// measurement ran when it went.
    void start(const PortIdentity &lost, int baud, bool live);
    /// When to look next: pollMs while the device has been away for less than quickMs.
    int nextPollMs() const { return away.elapsed() < quickMs ? pollMs : slowPollMs; }
    /// Ends the watch.
    void stop() { active = false; }
    /// A watch is running.
    bool watching() const { return active; }
    /// The port being waited for.
    PortIdentity lostPort() const { return lost; }
    /// The baud rate the lost port ran at.
    int baud() const { return lostBaud; }
    /// Live measurement ran when the port was lost.
    bool wasLive() const { return lostLive; }

    /// The name to open now among the ports present, empty when the device is not back. The
    /// same path does not count when the system knows another adapter there, nor for a
    /// pseudo-terminal's own node (its number goes to the next one opened; a link to it counts).
    QString candidate(const QList<PortIdentity> &present) const;

private:
    PortIdentity lost;
    int lostBaud = 0;
    bool lostLive = false;
    bool active = false;
    QElapsedTimer away; // since the device went
};
