#include "cli/upgradecommand.h"

#include "cli/exitcode.h"
#include "cli/portlink.h"
#include "firmware/firmwareversion.h"

UpgradeCommand::UpgradeCommand(PortLink &link, Output &out, std::optional<quint32> address,
    const FirmwareImage &firmware, bool checkVersion, bool yes, QObject *parent)
    : PortCommand(link, out, address, parent)
    , firmware(firmware)
    , checkVersion(checkVersion)
    , yes(yes)
{
    tickTimer.setSingleShot(true);
    connect(&tickTimer, &QTimer::timeout, this, &UpgradeCommand::tick);
}

void UpgradeCommand::begin()
{
    out.message(QString("firmware %1, %2 bytes").arg(firmware.version).arg(firmware.image.size()));
    FirmwareUpgrade::Target target;
    target.image = firmware.image;
    target.address = address;
    target.addressWidth = firmware.addressWidth;
    target.updateCommand = firmware.updateCommand;
    upgrade.start(target);
    expectReplyWithin(loaderSilenceMs);
    tickTimer.start(FirmwareUpgrade::tickMs);
}

void UpgradeCommand::tick()
{
    const FirmwareUpgrade::Tick step = upgrade.tick();
    if (!step.send.isEmpty())
        link.send(step.send);
    using Note = FirmwareUpgrade::Note;
    for (Note note : step.notes) {
        switch (note) {
        case Note::ResponseReceived:
            out.message("the boot loader answered: sending the image");
            break;
        case Note::Progress:
            out.progress(QString("sent %1%").arg(double(step.percent), 0, 'f', 2));
            break;
        case Note::TimedOutResend:
            out.message("no acknowledgement in time: the packet again");
            break;
        case Note::ChecksumResend:
            out.message("the packet arrived damaged: the packet again");
            break;
        default:
            break;
        }
    }
    if (step.nextMs > 0) {
        tickTimer.start(step.nextMs);
    } else if (upgrade.step() == FirmwareUpgrade::Step::Finished) {
        out.outcome({ { "version", firmware.version } }, { "upgraded to " + firmware.version });
        finish(ExitCode::Done);
    }
}

bool UpgradeCommand::take(const QByteArray &bytes, const Reply &reply)
{
    if (reply.kind != Reply::FirmwareReply || !upgrade.running())
        return false;
    upgrade.takeReply(bytes);
    expectReplyWithin(loaderSilenceMs);
    // The loader's version is judged once, before the transfer begins.
    if (!reply.firmwareInfo || !checkVersion || versionChecked
        || upgrade.step() == FirmwareUpgrade::Step::Transferring)
        return true;
    versionChecked = true;
    const QString device = FirmwareVersion::fromLoaderReply(bytes);
    using FirmwareVersion::Verdict;
    switch (FirmwareVersion::judge(device, firmware.version)) {
    case Verdict::Accept:
        break;
    case Verdict::DeviceNewer:
        if (!yes)
            abandon(QString("the sensor's firmware %1 is newer than %2: add --yes to go ahead")
                        .arg(device, firmware.version));
        break;
    case Verdict::ModelMismatch:
        abandon(QString("the file is for another model (sensor: %1, file: %2)")
                    .arg(device, firmware.version));
        break;
    case Verdict::FormatError:
        abandon(QString("cannot compare the versions (sensor: %1, file: %2)")
                    .arg(device, firmware.version));
        break;
    }
    return true;
}

void UpgradeCommand::noAnswer()
{
    abandon("the boot loader does not answer");
}

void UpgradeCommand::interrupt()
{
    abandon("interrupted");
}

void UpgradeCommand::abandon(const QString &why)
{
    tickTimer.stop();
    const bool wasRunning = upgrade.running();
    upgrade.cancel();
    if (wasRunning)
        link.send(upgrade.abortFrame());
    out.message(why);
    finish(ExitCode::Failed);
}
