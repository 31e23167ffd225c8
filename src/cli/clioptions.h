#pragma once

#include "cli/sensorsettings.h"
#include "firmware/firmwareimage.h"
#include "measure/livesample.h"
#include "records/recordreadback.h"

#include <QString>
#include <QStringList>

#include <optional>

/// What `live` polls and for how long.
struct LivePlan {
    int dataKind = AngleKind; // or AccelerationKind
    double rateHz = 10;
    int count = 0; // 0: no limit
    double durationS = 0; // 0: no limit
    bool json = false;
};

/// Everything the command line asked for, checked before anything goes on the wire.
struct CliOptions {
    QString command;
    QStringList ports;
    qint32 baud = 115200;
    std::optional<quint32> address; // fetched from the sensor when not given
    bool json = false;
    bool yes = false;
    // readback
    std::optional<RecordRange> range; // the whole memory when not given
    bool descending = false;
    QString out;
    int retries = 5;
    // upgrade
    FirmwareImage firmware;
    bool checkVersion = false;
    // set, module, apply
    QList<SensorSetting> settings;
    QList<ModuleSetting> moduleSettings;
    QStringList moduleKeys; // module get
    bool save = false;
    std::optional<SensorForm> templateSensor;
    std::optional<ModuleForm> templateModule;
    // module-ids
    QString appendTo;
    // live
    LivePlan live;
};

/// How parsing ended: run the command, or print `message` (help on stdout, error on stderr).
enum class ParseOutcome { Run, Help, UsageError };

/// Parses the arguments (program name first) into `options`; `message` holds the help text or
/// a one-line description of what is wrong.
ParseOutcome parseCommandLine(const QStringList &arguments, CliOptions &options, QString &message);
