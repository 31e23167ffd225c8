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
    const bool pseudoTerminal = lost.name.startsWith(QLatin1String("/dev/pts/"));
    for (const PortIdentity &port : present) {
        if (!pseudoTerminal && (port.name == lost.name || port.location == lost.name))
            return lost.name;
    }
    if (lost.serialNumber.isEmpty())
        return QString();
    for (const PortIdentity &port : present) {
        if (port.serialNumber == lost.serialNumber && port.vendor == lost.vendor
            && port.product == lost.product)
            return port.location.isEmpty() ? port.name : port.location;
    }
    return QString();
}
