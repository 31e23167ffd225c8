#ifndef SIM_MODULESETTINGS_H
#define SIM_MODULESETTINGS_H

#include <QByteArray>

// The radio module's settings that the AT commands change. The channel texts mean something to
// the module's radio only; they are kept byte for byte as they were sent.
struct ModuleSettings
{
    int band = 1; // 0 EU433, 1 CN470, 2 AL470, 3 EU868, 4 US915, 5 AS923, 6 AU915
    int heartbeat = 1; // 0 off, 1 on
    QByteArray channel1 = "0-7";
    QByteArray channel2 = "8-15";

    bool operator==(const ModuleSettings &o) const
    {
        return band == o.band && heartbeat == o.heartbeat && channel1 == o.channel1
            && channel2 == o.channel2;
    }
    bool operator!=(const ModuleSettings &o) const { return !(*this == o); }
};

#endif // SIM_MODULESETTINGS_H
