#include "cli/clioptions.h"

#include "firmware/firmwarefile.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

struct CommandInfo {
    const char *name;
    const char *summary;
    const char *arguments;
};

const CommandInfo commands[] = {
    { "ports", "List the serial ports.", "" },
    { "info", "Show the address, date and time, zero mode and sleep period.", "" },
    { "readback", "Read the stored records into a .csv or .xlsx file.", "" },
    { "erase", "Erase the stored records (needs --yes).", "" },
    // Not built yet; their names are reserved so that scripts fail plainly.
    { "live", "Show live readings (not available yet).", "" },
    { "set", "Set sensor parameters (not available yet).", "KEY=VALUE..." },
    { "module", "Read or set the radio module (not available yet).", "get|set" },
    { "apply", "Apply a parameter template (not available yet).", "TEMPLATE.ini" },
    { "module-ids", "Read the module identifiers (not available yet).", "" },
    { "upgrade", "Upgrade the firmware from an .ovx file.", "FILE.ovx" },
};

const CommandInfo *findCommand(const QString &name)
{
    for (const CommandInfo &info : commands)
        if (name == QLatin1String(info.name))
            return &info;
    return nullptr;
}

QString commandList()
{
    QString text = "\nCommands:\n";
    for (const CommandInfo &info : commands)
        text += QString("  %1 %2\n").arg(QString(info.name), -12).arg(info.summary);
    return text;
}

bool parseRange(const QString &text, RecordRange &range)
{
    const QRegularExpressionMatch match = QRegularExpression("^(\\d{1,5})-(\\d{1,5})$").match(text);
    if (!match.hasMatch())
        return false;
    const int begin = match.captured(1).toInt(), end = match.captured(2).toInt();
    if (begin < 1 || begin > end || end > RecordReadback::lastIndex)
        return false;
    range = { quint16(begin), quint16(end) };
    return true;
}

} // namespace

ParseOutcome parseCommandLine(const QStringList &arguments, CliOptions &options, QString &message)
{
    QCommandLineParser parser;
    parser.setApplicationDescription("Talks to the tilt sensor on a serial port.");
    const QCommandLineOption help({ "h", "help" }, "Show this help.");
    const QCommandLineOption port("port", "Serial port (repeat for several).", "NAME");
    const QCommandLineOption baud("baud", "Baud rate (default 115200).", "N", "115200");
    const QCommandLineOption address(
        "address", "Device address, 8 hex digits (default: asked of the sensor).", "HEX");
    const QCommandLineOption json("json", "Machine-readable output.");
    parser.addOption(help);
    parser.addOptions({ port, baud, address, json });
    parser.addPositionalArgument("command", "The command to run.", "COMMAND");

    // Options of one command are known only once the command is; a first lenient pass finds it.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    QStringList firstPass = arguments;
    parser.parse(firstPass);
    const QString name = parser.positionalArguments().value(0);
    const CommandInfo *info = findCommand(name);
    if (!name.isEmpty() && !info) {
        message = QString("unknown command '%1'").arg(name);
        return ParseOutcome::UsageError;
    }

    const QCommandLineOption range("range", "Records A to B, 1-60000 (ascending only).", "A-B");
    const QCommandLineOption desc("desc", "Newest record first (the whole memory).");
    const QCommandLineOption out("out", "Output file, .csv or .xlsx.", "FILE");
    const QCommandLineOption retries(
        "retries", "Ask again this often for a page that did not come (default 3).", "N", "3");
    const QCommandLineOption yes("yes", "Confirm a command that cannot be undone.");
    if (name == "readback")
        parser.addOptions({ range, desc, out, retries });
    const QCommandLineOption checkVersion(
        "check-version", "Refuse a file for another model or older than the sensor's firmware.");
    if (name == "erase")
        parser.addOption(yes);
    if (name == "upgrade") {
        parser.addOptions({ checkVersion,
            QCommandLineOption(yes.names(), "Go ahead when the sensor's firmware is newer.") });
    }
    if (info) {
        parser.clearPositionalArguments();
        parser.addPositionalArgument(name, info->summary, (name + ' ' + info->arguments).trimmed());
    }

    if (!parser.parse(arguments)) {
        message = parser.errorText();
        return ParseOutcome::UsageError;
    }
    if (parser.isSet(help) || !info) {
        message = parser.helpText() + (info ? QString() : commandList());
        if (!info && !parser.isSet(help)) {
            message = "no command given (try --help)";
            return ParseOutcome::UsageError;
        }
        return ParseOutcome::Help;
    }

    options.command = name;
    options.json = parser.isSet(json);
    const int allowed = name == "upgrade" ? 2 : 1;
    if (parser.positionalArguments().size() > allowed) {
        message = QString("unexpected argument '%1'").arg(parser.positionalArguments().at(allowed));
        return ParseOutcome::UsageError;
    }
    if (name == "ports")
        return ParseOutcome::Run;
    if (!QStringList { "info", "readback", "erase", "upgrade" }.contains(name)) {
        message = QString("'%1' is not available yet").arg(name);
        return ParseOutcome::UsageError;
    }

    options.ports = parser.values(port);
    if (options.ports.isEmpty()) {
        message = "--port is required";
        return ParseOutcome::UsageError;
    }
    bool ok = false;
    options.baud = parser.value(baud).toInt(&ok);
    if (!ok || options.baud <= 0) {
        message = QString("--baud '%1' is not a positive number").arg(parser.value(baud));
        return ParseOutcome::UsageError;
    }
    if (parser.isSet(address)) {
        const QString text = parser.value(address);
        if (!QRegularExpression("^[0-9A-Fa-f]{8}$").match(text).hasMatch()) {
            message = QString("--address '%1' is not 8 hex digits").arg(text);
            return ParseOutcome::UsageError;
        }
        options.address = text.toUInt(nullptr, 16);
    }

    if (name == "erase" && !(options.yes = parser.isSet(yes))) {
        message = "erase deletes every stored record: add --yes to go ahead";
        return ParseOutcome::UsageError;
    }
    if (name == "upgrade") {
        const QString path = parser.positionalArguments().value(1);
        if (path.isEmpty()) {
            message = "upgrade needs the firmware file";
            return ParseOutcome::UsageError;
        }
        options.firmware = FirmwareFile::load(path);
        if (!options.firmware.usable()) {
            message = QString("'%1' is not a firmware file that can be sent").arg(path);
            return ParseOutcome::UsageError;
        }
        options.checkVersion = parser.isSet(checkVersion);
        options.yes = parser.isSet(yes);
    }
    if (name == "readback") {
        if (parser.isSet(range)) {
            RecordRange wanted;
            if (!parseRange(parser.value(range), wanted)) {
                message = QString("--range '%1' is not A-B with 1 <= A <= B <= %2")
                              .arg(parser.value(range))
                              .arg(RecordReadback::lastIndex);
                return ParseOutcome::UsageError;
            }
            options.range = wanted;
        }
        options.descending = parser.isSet(desc);
        if (options.descending && options.range) {
            message = "--desc reads the whole memory and takes no --range";
            return ParseOutcome::UsageError;
        }
        options.retries = parser.value(retries).toInt(&ok);
        if (!ok || options.retries < 0) {
            message
                = QString("--retries '%1' is not a number of 0 or more").arg(parser.value(retries));
            return ParseOutcome::UsageError;
        }
        options.out = parser.value(out);
        const QString suffix = QFileInfo(options.out).suffix().toLower();
        if (suffix != "csv" && suffix != "xlsx") {
            message = "--out needs a file name ending in .csv or .xlsx";
            return ParseOutcome::UsageError;
        }
        if (!QFileInfo(options.out).absoluteDir().exists()) {
            message = QString("--out '%1': the folder does not exist").arg(options.out);
            return ParseOutcome::UsageError;
        }
        if (options.ports.size() > 1) {
            message = "readback writes one file: give one --port";
            return ParseOutcome::UsageError;
        }
    }
    return ParseOutcome::Run;
}
