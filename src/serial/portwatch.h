#pragma once

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
/// present every pollMs, tries the candidate this returns, and stops the watch when it opened.
class PortWatch {
public:
    /// How often the caller looks for the device: soon enough that a device plugged back in is
    /// taken within a second, seldom enough that listing the ports costs next to nothing.
    static constexpr int pollMs = 500;

    /// Starts watching for `lost`, to be opened again at `baud`; `live` says whether live
    /// measurement ran when it went.
    void start(const PortIdentity &lost, int baud, bool live);
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

    /// The name to open now among the ports present, empty when the device is not back. A
    /// pseudo-terminal's own node never comes back (its number goes to the next one opened):
    /// only a link to it counts as a path.
    QString candidate(const QList<PortIdentity> &present) const;

private:
    PortIdentity lost;
    int lostBaud = 0;
    bool lostLive = false;
    bool active = false;
};
