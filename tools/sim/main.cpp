// tiltlink-sim: a simulated tilt sensor with its radio module on a pseudo-terminal, for trying
// TiltLink without hardware. SIGUSR1 unplugs the sensor, SIGUSR2 plugs it in again (on a new
// pseudo-terminal, the link follows it); SIGINT and SIGTERM end the program and remove the link.

#include "sim/ptydevice.h"
#include "sim/simulatedsensor.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>
#include <QTextStream>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};
constexpr int longestTrace = 64; // bytes sent that are traced in full

void forwardSignal(int number)
{
    const char byte = char(number);
    // Nothing to do about a full pipe: the signal before this one is still pending.
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

bool installSignalHandlers()
{
    if (::pipe(signalPipe) != 0)
        return false;
    for (int fd : signalPipe)
        fcntl(fd, F_SETFD, FD_CLOEXEC);
    fcntl(signalPipe[1], F_SETFL, O_NONBLOCK);
    struct sigaction action {};
    action.sa_handler = forwardSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : {SIGINT, SIGTERM, SIGHUP, SIGUSR1, SIGUSR2})
        sigaction(number, &action, nullptr);
    return true;
}

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

void announce(const PtyDevice &device)
{
    out() << "tiltlink-sim: sensor on " << device.slaveName() << Qt::endl;
    if (!device.linkPath().isEmpty())
        out() << "tiltlink-sim: link " << device.linkPath() << " -> " << device.slaveName()
              << Qt::endl;
}

// Long frames (a firmware packet has 1032 bytes) are traced by their start and size.
QString compact(const QByteArray &bytes, int longest)
{
    if (bytes.size() <= longest)
        return QString::fromLatin1(bytes.toHex(' '));
    return QStringLiteral("%1 ... (%2 bytes)")
        .arg(QString::fromLatin1(bytes.left(16).toHex(' ')))
        .arg(bytes.size());
}

bool parseHex(const QString &text, quint32 &value)
{
    bool ok = false;
    value = text.toUInt(&ok, 16);
    return ok;
}

// Hex digits only, upper-cased as the module answers them.
bool parseIdentifier(const QCommandLineParser &options, const QString &name, int digits,
                     QByteArray &value)
{
    if (!options.isSet(name))
        return true;
    const QByteArray text = options.value(name).toLatin1().toUpper();
    bool hex = text.size() == digits;
    for (char c : text)
        hex = hex && ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'));
    if (!hex) {
        err() << "tiltlink-sim: --" << name << " takes " << digits << " hex digits" << Qt::endl;
        return false;
    }
    value = text;
    return true;
}

// A whole number within bounds; anything else is refused with a message.
bool readInt(const QCommandLineParser &options, const QString &name, int low, int high,
             int &value)
{
    bool ok = false;
    value = options.value(name).toInt(&ok);
    if (ok && value >= low && value <= high)
        return true;
    err() << "tiltlink-sim: --" << name << " takes a whole number from " << low << " to " << high
          << ", not " << options.value(name) << Qt::endl;
    return false;
}

bool readRate(const QCommandLineParser &options, const QString &name, double &value)
{
    bool ok = false;
    value = options.value(name).toDouble(&ok);
    if (ok && value >= 0 && value <= 1)
        return true;
    err() << "tiltlink-sim: --" << name << " takes a fraction from 0 to 1, not "
          << options.value(name) << Qt::endl;
    return false;
}

bool readFaults(const QCommandLineParser &options, SensorFaults &faults,
                ModuleFaults &moduleFaults)
{
    double badPageRate = 0;
    double dropPageRate = 0;
    double lostAckRate = 0;
    double checksumErrorRate = 0;
    double lineFaultRate = 0;
    bool seeded = false;
    faults.faultSeed = options.value("seed").toUInt(&seeded);
    if (!seeded) {
        err() << "tiltlink-sim: --seed takes a whole number from 0 to 4294967295" << Qt::endl;
        return false;
    }
    if (!readRate(options, "bad-page-rate", badPageRate)
        || !readRate(options, "drop-page-rate", dropPageRate)
        || !readRate(options, "lost-ack-rate", lostAckRate)
        || !readRate(options, "checksum-error-rate", checksumErrorRate)
        || !readRate(options, "line-fault-rate", lineFaultRate))
        return false;
    for (const QString &name : options.values("fault")) {
        if (name == QLatin1String("no-at-answer"))
            moduleFaults.silent = true;
        else if (name == QLatin1String("garbled-at"))
            moduleFaults.garbled = true;
        else if (name == QLatin1String("long-appkey"))
            moduleFaults.longAppKey = true;
        else if (name == QLatin1String("no-answer"))
            faults.silent = true;
        else if (name == QLatin1String("bad-checksum"))
            faults.badChecksum = true;
        else if (name == QLatin1String("shifted-checksum"))
            faults.shiftedChecksum = true;
        else if (name == QLatin1String("split"))
            faults.splitSize = options.value("split-size").toInt();
        else if (name == QLatin1String("merge"))
            faults.mergeReplies = true;
        else if (name == QLatin1String("garbage"))
            faults.garbage = QByteArray::fromHex(options.value("garbage").toLatin1());
        else if (name == QLatin1String("bad-page"))
            faults.badPageRate = badPageRate;
        else if (name == QLatin1String("drop-page"))
            faults.dropPageRate = dropPageRate;
        else if (name == QLatin1String("lost-ack"))
            faults.lostAckRate = lostAckRate;
        else if (name == QLatin1String("checksum-error"))
            faults.checksumErrorRate = checksumErrorRate;
        else if (name == QLatin1String("line"))
            faults.lineFaultRate = lineFaultRate;
        else {
            err() << "tiltlink-sim: unknown fault " << name << Qt::endl;
            return false;
        }
    }
    faults.splitGapMs = options.value("split-gap").toInt();
    faults.delayMs = options.value("delay").toInt();
    for (const QString &code : options.values("mute")) {
        quint32 value = 0;
        if (!parseHex(code, value) || value > 0xFF) {
            err() << "tiltlink-sim: --mute takes a command code in hex, not " << code << Qt::endl;
            return false;
        }
        faults.mutedCommands.insert(quint8(value));
    }
    for (const QString &key : options.values("mute-at"))
        moduleFaults.mutedKeys.insert(key.toLatin1().toUpper());
    return true;
}

bool readLoaderSettings(const QCommandLineParser &options, SimulatedSensor &sensor)
{
    const QString version = options.value("loader-version");
    bool printable = version.size() <= BootLoader::versionSize;
    for (QChar c : version)
        printable = printable && c.unicode() >= 0x20 && c.unicode() < 0x7F;
    if (!printable) {
        err() << "tiltlink-sim: --loader-version takes up to " << BootLoader::versionSize
              << " printable ASCII characters" << Qt::endl;
        return false;
    }
    quint32 code = 0;
    if (!parseHex(options.value("update-command"), code) || code > 0xFF) {
        err() << "tiltlink-sim: --update-command takes a command code in hex, not "
              << options.value("update-command") << Qt::endl;
        return false;
    }
    const QString width = options.value("address-width");
    if (width != QLatin1String("1") && width != QLatin1String("2") && width != QLatin1String("4")) {
        err() << "tiltlink-sim: --address-width takes 1, 2 or 4" << Qt::endl;
        return false;
    }
    int bootMs = 0;
    if (!readInt(options, "boot-ms", 0, 600000, bootMs))
        return false;
    sensor.setLoaderVersion(version);
    sensor.setUpdateCommand(quint8(code));
    sensor.setAddressWidth(width.toInt());
    sensor.setBootDelayMs(bootMs);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tiltlink-sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TILT_VERSION));

    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral(
        "Simulated tilt sensor with its LoRaWAN module on a pseudo-terminal.\n"
        "SIGUSR1 unplugs the sensor, SIGUSR2 plugs it in again."));
    options.addHelpOption();
    options.addVersionOption();
    options.addOptions({
        {"link", "Create a symbolic link to the sensor's device.", "path"},
        {"address", "Device address, 8 hex digits (default 00000001).", "hex", "00000001"},
        {"deveui", "Module DevEUI, 16 hex digits (default made from the address).", "hex"},
        {"appeui", "Module AppEUI, 16 hex digits (default made from the address).", "hex"},
        {"appkey", "Module AppKey, 32 hex digits (default made from the address).", "hex"},
        {"fault",
         "Misbehave: no-answer, bad-checksum, shifted-checksum, split, merge or garbage "
         "(whole device); line (any reply, see --line-fault-rate); bad-page or drop-page "
         "(record pages); lost-ack or checksum-error (firmware packets); no-at-answer, "
         "garbled-at or long-appkey (module only). May be repeated.",
         "name"},
        {"mute", "Do not answer this command code (hex). May be repeated.", "code"},
        {"mute-at",
         "Do not answer this module command: BAND, HEART, CHANNEL, DEVEUI, APPEUI, APPKEY, "
         "SAVE, RESET, RENEW, or E for ATE1/ATE0. May be repeated.",
         "key"},
        {"delay", "Send every reply this many milliseconds late.", "ms", "0"},
        {"split-size", "Chunk size for --fault split.", "bytes", "4"},
        {"split-gap", "Pause between chunks for --fault split.", "ms", "30"},
        {"garbage", "Bytes sent before each reply for --fault garbage (hex).", "hex", "00"},
        {"records", "Stored records, 0 to 60000 (default 1000).", "count", "1000"},
        {"record-size", "Bytes per stored record: 36 with accelerations, or 24 (default 36).",
         "bytes", "36"},
        {"gap-after", "Stamp the records after this one an hour later (default 0: no gap).",
         "record", "0"},
        {"page-size", "Records per page of a read, 1 to 255 (default 255).", "records", "255"},
        {"erase-ms", "How long erasing the records takes (default 6000).", "ms", "6000"},
        {"bad-page-rate", "Share of pages with a bad CRC for --fault bad-page (default 0.1).",
         "fraction", "0.1"},
        {"drop-page-rate", "Share of pages not sent for --fault drop-page (default 0.02).",
         "fraction", "0.02"},
        {"lost-ack-rate",
         "Share of packet acknowledgements not sent for --fault lost-ack (default 0.1).",
         "fraction", "0.1"},
        {"checksum-error-rate",
         "Share of good packets answered with a checksum error for --fault checksum-error "
         "(default 0.05).",
         "fraction", "0.05"},
        {"line-fault-rate",
         "Share of replies with one line fault for --fault line: a flipped byte, lost, split, "
         "merged with the next, 250 ms late, or led by random bytes (default 0.05).",
         "fraction", "0.05"},
        {"seed", "Seed for the page, packet and line faults' dice (default 1).", "number", "1"},
        {"loader-version", "Boot loader's version text (default TL#S1#V1.0.0).", "text",
         "TL#S1#V1.0.0"},
        {"update-command", "Command code of the update request, hex (default 30).", "hex", "30"},
        {"address-width", "Address bytes of the update request: 1, 2 or 4 (default 4).",
         "bytes", "4"},
        {"boot-ms", "How long the boot loader takes to start (default 300).", "ms", "300"},
        {"image-out", "Write a firmware image received in full to this file.", "file"},
        {"verbose",
         "Trace the frames and lines received and the bytes sent on standard error."},
    });
    options.process(app);

    quint32 address = 0;
    if (!parseHex(options.value("address"), address)) {
        err() << "tiltlink-sim: --address takes 8 hex digits" << Qt::endl;
        return 2;
    }
    QByteArray devEui;
    QByteArray appEui;
    QByteArray appKey;
    if (!parseIdentifier(options, "deveui", 16, devEui)
        || !parseIdentifier(options, "appeui", 16, appEui)
        || !parseIdentifier(options, "appkey", 32, appKey))
        return 2;
    SensorFaults faults;
    ModuleFaults moduleFaults;
    if (!readFaults(options, faults, moduleFaults))
        return 2;
    int records = 0;
    int pageSize = 0;
    int eraseMs = 0;
    int gapAfter = 0;
    if (!readInt(options, "records", 0, StoredRecords::maxCount, records)
        || !readInt(options, "page-size", 1, StoredRecords::maxPageSize, pageSize)
        || !readInt(options, "erase-ms", 0, 600000, eraseMs)
        || !readInt(options, "gap-after", 0, StoredRecords::maxCount, gapAfter))
        return 2;
    const int recordSize = options.value("record-size").toInt();
    if (recordSize != 24 && recordSize != 36) {
        err() << "tiltlink-sim: --record-size takes 24 or 36" << Qt::endl;
        return 2;
    }
    SimulatedSensor sensor;
    if (!readLoaderSettings(options, sensor))
        return 2;
    const QString imageOut = options.value("image-out");
    if (options.isSet("image-out") && imageOut.isEmpty()) {
        err() << "tiltlink-sim: --image-out takes a file name" << Qt::endl;
        return 2;
    }
    if (!installSignalHandlers()) {
        err() << "tiltlink-sim: cannot set up signal handling" << Qt::endl;
        return 1;
    }

    sensor.setAddress(address);
    sensor.setFaults(faults);
    sensor.setStoredRecords(records);
    sensor.setRecordGapAfter(gapAfter);
    sensor.setRecordSize(recordSize);
    sensor.setPageSize(pageSize);
    sensor.setEraseDelayMs(eraseMs);
    RadioModule &module = sensor.radioModule();
    module.setDevEui(devEui);
    module.setAppEui(appEui);
    module.setAppKey(appKey);
    module.setFaults(moduleFaults);
    QObject::connect(&sensor, &SimulatedSensor::imageComplete, [&](const QByteArray &image) {
        // The file is written before the line, so that a script waiting for the line finds it.
        QFile file(imageOut);
        if (!imageOut.isEmpty()
            && !(file.open(QIODevice::WriteOnly) && file.write(image) == image.size()
                && file.flush())) {
            err() << "tiltlink-sim: cannot write " << imageOut << ": " << file.errorString()
                  << Qt::endl;
            return;
        }
        out() << "tiltlink-sim: image complete, " << image.size() << " bytes" << Qt::endl;
    });
    if (options.isSet("verbose")) {
        QObject::connect(&sensor, &SimulatedSensor::frameReceived, [](const QByteArray &frame) {
            err() << "<- " << frame.toHex(' ') << Qt::endl;
        });
        QObject::connect(&sensor, &SimulatedSensor::lineReceived, [](const QByteArray &line) {
            QString text = QString::fromLatin1(line);
            err() << "<- " << text.replace('\r', "\\r").replace('\n', "\\n") << Qt::endl;
        });
        QObject::connect(&sensor, &SimulatedSensor::loaderFrameReceived,
            [](const QByteArray &frame) { err() << "<- " << compact(frame, 16) << Qt::endl; });
        QObject::connect(&sensor, &SimulatedSensor::transmit, [](const QByteArray &bytes) {
            // A record page runs to 9 kB: its header and its size tell enough.
            err() << "-> " << compact(bytes, longestTrace) << Qt::endl;
        });
    }

    PtyDevice device(&sensor);
    const QString link = options.value("link");
    if (!device.open(link)) {
        err() << "tiltlink-sim: " << device.errorString() << Qt::endl;
        return 1;
    }
    announce(device);

    QSocketNotifier signalNotifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, [&] {
        char number = 0;
        if (::read(signalPipe[0], &number, 1) != 1)
            return;
        if (number == SIGUSR1) {
            sensor.unplug();
            out() << "tiltlink-sim: unplugged" << Qt::endl;
        } else if (number == SIGUSR2) {
            if (device.isOpen())
                return;
            if (device.plugBack())
                announce(device);
            else
                err() << "tiltlink-sim: " << device.errorString() << Qt::endl;
        } else {
            QCoreApplication::quit();
        }
    });

    return app.exec();
}
