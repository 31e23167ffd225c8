// tiltlink-cli's command line: the input is the argument list, split at zero bytes. It runs in a
// folder of its own holding a template ("t.ini") and a firmware file ("f.ovx") for the commands
// that read one; the dictionary names them.
#include "fuzzinput.h"

#include "cli/clioptions.h"
#include "cli/sensorsettings.h"
#include "firmware/firmwarefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    static QTemporaryDir folder;
    FUZZ_CHECK(folder.isValid() && QDir::setCurrent(folder.path()));
    // A file argument must not wait for a terminal.
    FUZZ_CHECK(std::freopen("/dev/null", "r", stdin) != nullptr);
    writeFile("t.ini",
        "[Sensor]\nMode=1\nZero=0\nInterval=60\nKeep=10\nSleep=30\nAlarm=5\nDuration=2\n"
        "Threshold=3\nInstal=1\n[Module]\nBand=3\nHeart=1\nChannel1=0-7\nChannel2=8\n");
    writeFile("f.ovx", FirmwareFile::encode("AB#CD#V1.0.4", 4, 0x5F, QByteArray(1500, 'x')));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    QStringList arguments = QString::fromUtf8(input.rest()).split(QChar(0));
    if (arguments.size() > 24)
        return 0;
    arguments.prepend(QStringLiteral("tiltlink-cli"));
    CliOptions options;
    QString message;
    const ParseOutcome outcome = parseCommandLine(arguments, options, message);
    if (outcome == ParseOutcome::Run) {
        FUZZ_CHECK(!options.command.isEmpty());
        FUZZ_CHECK(options.command == "ports" || (!options.ports.isEmpty() && options.baud > 0));
        FUZZ_CHECK(!options.range
            || (options.range->begin >= 1 && options.range->begin <= options.range->end
                && options.range->end <= RecordReadback::lastIndex));
        FUZZ_CHECK(options.command != "upgrade" || options.firmware.usable());
    } else {
        FUZZ_CHECK(!message.isEmpty());
    }
    // The KEY=VALUE checks on their own, whatever the command.
    QList<SensorSetting> sensor;
    QList<ModuleSetting> module;
    Settings::parseSensor(arguments.mid(1), sensor, message);
    Settings::parseModule(arguments.mid(1), module, message);
    return 0;
}
