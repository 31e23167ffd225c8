#pragma once

#include "cli/portcommand.h"
#include "firmware/firmwareimage.h"
#include "firmware/firmwareupgrade.h"

/// `upgrade FILE.ovx`: puts a firmware image onto the sensor with the core's upgrade engine,
/// ticking it on a timer; with --check-version the loader's version is judged first.
class UpgradeCommand : public PortCommand {
    Q_OBJECT

public:
    UpgradeCommand(PortLink &link, Output &out, std::optional<quint32> address,
        const FirmwareImage &firmware, bool checkVersion, bool yes, QObject *parent = nullptr);

    void interrupt() override;

protected:
    void begin() override;
    bool take(const QByteArray &bytes, const Reply &reply) override;
    void noAnswer() override;

private:
    void tick();
    /// Ends the transfer where it is and tells the loader to give up.
    void abandon(const QString &why);

    /// The window waits on the loader for ever; a script should not.
    static constexpr int loaderSilenceMs = 30000;

    FirmwareImage firmware;
    FirmwareUpgrade upgrade;
    QTimer tickTimer;
    bool checkVersion;
    bool yes;
    bool versionChecked = false;
};
