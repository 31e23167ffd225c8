#ifndef SIM_MODULEFAULTS_H
#define SIM_MODULEFAULTS_H

#include <QByteArray>
#include <QSet>

// Misbehaviour of the radio module's answers. A faulty answer never changes what a command does:
// a muted save still saves. Delays, split and merged output, garbage and a silent device are
// line faults of the whole device (SensorFaults) and apply to these answers as well.
struct ModuleFaults
{
    bool silent = false; // the module answers nothing; the sensor still does
    // Command names whose answers are dropped: "BAND", "SAVE", ... as after "AT+", and "E" for
    // the echo switches "ATE1" and "ATE0".
    QSet<QByteArray> mutedKeys;
    bool garbled = false; // the key of every "OK+" answer has its last two letters swapped
    bool longAppKey = false; // the AppKey answer carries 40 hex digits instead of 32
};

#endif // SIM_MODULEFAULTS_H
