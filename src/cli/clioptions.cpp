#include "cli/clioptions.h"

#include "firmware/firmwarefile.h"
#include "templates/parametertemplate.h"

#include <QCommandLineParser>
#include <QCoreApplication>
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
    { "live", "Print live readings as CSV: time,x,y,z,temp,power.", "" },
    { "set", "Set sensor parameters.", "KEY=VALUE..." },
    { "module", "Query or set the radio module.", "get [KEY...] | set KEY=VALUE..." },
    { "apply", "Apply a parameter template, then read the values back.", "TEMPLATE.ini" },
    { "module-ids", "Print DevEUI, JoinEUI and AppKey for a network server's import.", "" },
    { "readback", "Read the stored records into a .csv or .xlsx file.", "" },
    { "erase", "Erase the stored records (needs --yes).", "" },
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

bool parseTemplate(
    const QString &path, bool sensor, bool module, CliOptions &options, QString &message)
{
    if (path.isEmpty() || !QFileInfo(path).isReadable()) {
        message = path.isEmpty() ? "apply needs the template file"
                                 : QString("cannot read the template '%1'").arg(path);
        return false;
    }
    // Neither switch: every group the file has.
    const bool both = !sensor && !module;
    for (const char *group : { "Sensor", "Module" }) {
        const bool wanted = group[0] == 'S' ? sensor || both : module || both;
        if (!wanted)
            continue;
        if (!ParameterTemplates::hasGroup(path, group)) {
            if (both)
                continue;
            message = QString("the template has no [%1] group").arg(group);
            return false;
        }
        QStringList invalid;
        if (group[0] == 'S') {
            const LoadedTemplate<SensorForm> loaded = ParameterTemplates::loadSensor(path);
            invalid = loaded.invalidKeys;
            if (invalid.isEmpty()
                && !Settings::fromTemplate(loaded.values, options.settings, message)) {
                message = "template [Sensor]: " + message;
                return false;
            }
            options.templateSensor = loaded.values;
        } else {
            const LoadedTemplate<ModuleForm> loaded = ParameterTemplates::loadModule(path);
            invalid = loaded.invalidKeys;
            if (invalid.isEmpty() && !Settings::checkTemplate(loaded.values, message)) {
                message = "template [Module]: " + message;
                return false;
            }
            options.templateModule = loaded.values;
        }
        if (!invalid.isEmpty()) {
            message = QString("template [%1]: unreadable %2").arg(group, invalid.join(", "));
            return false;
        }
    }
    if (!options.templateSensor && !options.templateModule) {
        message = QString("the template '%1' has neither [Sensor] nor [Module]").arg(path);
        return false;
    }
    return true;
}

bool parseLive(const QCommandLineParser &parser, const QCommandLineOption &kind,
    const QCommandLineOption &rate, const QCommandLineOption &count,
    const QCommandLineOption &duration, CliOptions &options, QString &message)
{
    LivePlan &plan = options.live;
    plan.json = options.json;
    const QString kindText = parser.value(kind);
    if (kindText != "angle" && kindText != "accel") {
        message = QString("--kind '%1' is not angle or accel").arg(kindText);
        return false;
    }
    plan.dataKind = kindText == "angle" ? AngleKind : AccelerationKind;
    bool ok = false;
    plan.rateHz = parser.value(rate).toDouble(&ok);
    if (!ok || !(plan.rateHz > 0) || plan.rateHz > 10) {
        message = QString("--rate '%1' is not above 0 and at most 10").arg(parser.value(rate));
        return false;
    }
    if (parser.isSet(count) && parser.isSet(duration)) {
        message = "--count and --duration do not go together";
        return false;
    }
    if (parser.isSet(count)) {
        plan.count = parser.value(count).toInt(&ok);
        if (!ok || plan.count < 1) {
            message = QString("--count '%1' is not 1 or more").arg(parser.value(count));
            return false;
        }
    }
    if (parser.isSet(duration)) {
        plan.durationS = parser.value(duration).toDouble(&ok);
        if (!ok || !(plan.durationS > 0) || plan.durationS > 1e6) {
            message = QString("--duration '%1' is not a positive number of seconds")
                          .arg(parser.value(duration));
            return false;
        }
    }
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
    const QCommandLineOption version("version", "Show the version.");
    parser.addOptions({ help, version });
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
        "retries", "Ask again this often for a page that did not come (default 5).", "N", "5");
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
    const QCommandLineOption save("save", "End with the save command, so the settings last.");
    const QCommandLineOption sensorGroup("sensor", "Apply the template's sensor group.");
    const QCommandLineOption moduleGroup("module", "Apply the template's module group.");
    const QCommandLineOption format("format", "tts-csv (default) or json.", "FORMAT", "tts-csv");
    const QCommandLineOption append("append", "Also add one line per sensor to FILE.", "FILE");
    const QCommandLineOption kind("kind", "angle (default) or accel.", "KIND", "angle");
    const QCommandLineOption rate("rate", "Readings a second, up to 10 (default 10).", "HZ", "10");
    const QCommandLineOption count("count", "Stop after N readings.", "N");
    const QCommandLineOption duration("duration", "Stop after S seconds.", "S");
    if (name == "set" || name == "module")
        parser.addOption(save);
    if (name == "apply")
        parser.addOptions({ sensorGroup, moduleGroup, save });
    if (name == "module-ids")
        parser.addOptions({ format, append });
    if (name == "live")
        parser.addOptions({ kind, rate, count, duration });
    if (info) {
        parser.clearPositionalArguments();
        parser.addPositionalArgument(name, info->summary, (name + ' ' + info->arguments).trimmed());
    }

    if (!parser.parse(arguments)) {
        message = parser.errorText();
        return ParseOutcome::UsageError;
    }
    if (parser.isSet(version)) {
        message = QCoreApplication::applicationName() + ' ' + QCoreApplication::applicationVersion()
            + '\n';
        return ParseOutcome::Help;
    }
    if (parser.isSet(help) || !info) {
        message = parser.helpText() + (info ? QString() : commandList());
        if (name == "set")
            message += Settings::sensorHelp();
        if (name == "module")
            message += Settings::moduleHelp();
        if (!info && !parser.isSet(help)) {
            message = "no command given (try --help)";
            return ParseOutcome::UsageError;
        }
        return ParseOutcome::Help;
    }

    options.command = name;
    options.json = parser.isSet(json);
    const QStringList words = parser.positionalArguments().mid(1);
    const int allowed = name == "upgrade" || name == "apply" ? 1
        : name == "set" || name == "module"                  ? int(words.size())
                                                             : 0;
    if (words.size() > allowed) {
        message = QString("unexpected argument '%1'").arg(words.at(allowed));
        return ParseOutcome::UsageError;
    }
    if (name == "ports")
        return ParseOutcome::Run;

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
        const QString path = words.value(0);
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
    }
    if (name == "set") {
        options.save = parser.isSet(save);
        if (!Settings::parseSensor(words, options.settings, message))
            return ParseOutcome::UsageError;
    }
    if (name == "module") {
        options.save = parser.isSet(save);
        const QString action = words.value(0);
        if (action == "get") {
            options.moduleKeys = words.mid(1);
            if (options.moduleKeys.isEmpty())
                options.moduleKeys = Settings::moduleKeys();
            for (const QString &key : qAsConst(options.moduleKeys)) {
                if (!Settings::moduleKeys().contains(key)) {
                    message = QString("unknown key '%1' (keys: %2)")
                                  .arg(key, Settings::moduleKeys().join(", "));
                    return ParseOutcome::UsageError;
                }
            }
            if (options.save) {
                message = "--save goes with module set";
                return ParseOutcome::UsageError;
            }
        } else if (action == "set") {
            if (!Settings::parseModule(words.mid(1), options.moduleSettings, message))
                return ParseOutcome::UsageError;
        } else {
            message = "module needs get or set";
            return ParseOutcome::UsageError;
        }
    }
    if (name == "apply"
        && !parseTemplate(
            words.value(0), parser.isSet(sensorGroup), parser.isSet(moduleGroup), options, message))
        return ParseOutcome::UsageError;
    if (name == "apply")
        options.save = parser.isSet(save);
    if (name == "module-ids") {
        const QString chosen = parser.value(format);
        if (chosen != "tts-csv" && chosen != "json") {
            message = QString("--format '%1' is not tts-csv or json").arg(chosen);
            return ParseOutcome::UsageError;
        }
        options.json = options.json || chosen == "json";
        options.appendTo = parser.value(append);
    }
    if (name == "live" && !parseLive(parser, kind, rate, count, duration, options, message))
        return ParseOutcome::UsageError;
    return ParseOutcome::Run;
}
