#ifndef SIM_RADIOMODULE_H
#define SIM_RADIOMODULE_H

#include "sim/modulefaults.h"
#include "sim/modulesettings.h"

#include <QByteArray>
#include <QList>
#include <QtGlobal>

// The sensor's LoRaWAN radio module as seen from the shared serial line: it takes text command
// lines ("ATE1", "AT+BAND=3", "AT+BAND?", ... each ending in CR LF) and gives the text to send
// back. Sets are answered with the bare key ("OK+BAND"), queries with key, colon and value
// ("OK+BAND:03"), the echo switches and the reset with "OK", everything else with "ERROR".
// It has no I/O and no timing of its own; the device it belongs to puts the answers on the line.
//
// The module keeps two channel texts but has a single channel command: "ATE1", which opens
// every exchange, points the next channel set at the first text; each set then fills the text
// pointed at and moves on to the other one, so a pair of sets fills the first and the second.
class RadioModule
{
public:
    /// Handles one received line, terminator included; returns the answer, empty for none.
    QByteArray handleLine(const QByteArray &line);

    /// The settings in effect.
    const ModuleSettings &settings() const { return current; }
    /// The settings as last saved; they come back after a reset or a power cycle.
    const ModuleSettings &savedSettings() const { return saved; }
    /// Replaces the settings in effect and the saved ones.
    void setSettings(const ModuleSettings &settings);
    /// True after "ATE1" until "ATE0", a reset or a power cycle.
    bool echo() const { return echoOn; }
    /// Loses unsaved settings and the echo switch.
    void powerCycle();

    /// The device address the default identifiers are made from.
    void setAddress(quint32 address) { baseAddress = address; }
    /// DevEUI as answered: 16 hex digits.
    QByteArray devEui() const;
    /// AppEUI as answered: 16 hex digits.
    QByteArray appEui() const;
    /// AppKey as answered: 32 hex digits.
    QByteArray appKey() const;
    /// Answers this DevEUI from now on; empty goes back to the one made from the address.
    void setDevEui(const QByteArray &hex) { devEuiText = hex; }
    /// Answers this AppEUI from now on; empty goes back to the one made from the address.
    void setAppEui(const QByteArray &hex) { appEuiText = hex; }
    /// Answers this AppKey from now on; empty goes back to the one made from the address.
    void setAppKey(const QByteArray &hex) { appKeyText = hex; }

    ModuleFaults faults() const { return activeFaults; }
    void setFaults(const ModuleFaults &faults) { activeFaults = faults; }

    /// Every line received, terminator included, oldest first.
    QList<QByteArray> receivedLines() const { return lines; }
    /// Forgets the received lines.
    void clearCounters() { lines.clear(); }

private:
    QByteArray execute(const QByteArray &text, QByteArray &key);
    QByteArray set(const QByteArray &key, const QByteArray &value);
    QByteArray query(const QByteArray &key) const;
    QByteArray action(const QByteArray &key);
    QByteArray withFaults(const QByteArray &key, QByteArray answer) const;

    ModuleSettings current;
    ModuleSettings saved;
    ModuleFaults activeFaults;
    bool echoOn = false;
    bool secondChannelNext = false;
    quint32 baseAddress = 1;
    QByteArray devEuiText;
    QByteArray appEuiText;
    QByteArray appKeyText;
    QList<QByteArray> lines;
};

#endif // SIM_RADIOMODULE_H
