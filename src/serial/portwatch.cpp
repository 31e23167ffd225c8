#include "serial/portwatch.h"

void PortWatch::start(const PortIdentity &port, int baud, bool live)
{
    lost = port;
    lostBaud = baud;
    lostLive = live;
    active = true;
    away.start();
}

QString PortWatch::candidate(const QList<PortIdentity> &present) const
{
    if (!active)
        return QString();
    // At the same path may now be another adapter: one the system knows by another serial
    // number is not the device lost.
    bool pathBack = false;
    bool otherAdapter = false;
    for (const PortIdentity &port : present) {
        if (port.name != lost.name && port.location != lost.name)
            continue;
        pathBack = true;
        otherAdapter = otherAdapter
            || (!lost.serialNumber.isEmpty() && !port.serialNumber.isEmpty()
                && port.serialNumber != lost.serialNumber);
    }
    const bool pseudoTerminal = lost.name.startsWith(QLatin1String("/dev/pts/"));
    if (pathBack && !otherAdapter && !pseudoTerminal)
        return lost.name;
    if (lost.serialNumber.isEmpty())
        return QString();
    for (const PortIdentity &port : present) {
        if (port.serialNumber == lost.serialNumber && port.vendor == lost.vendor
            && port.product == lost.product)
            return port.location.isEmpty() ? port.name : port.location;
    }
    return QString();
}
