#pragma once

#include "params/modulecommands.h"
#include "params/sensorcommands.h"

#include <QString>
#include <QStringList>

/// One group of a template file as read: its values, and the keys whose text was not what the
/// key expects. When any key is invalid the values are not to be trusted.
template <class Form> struct LoadedTemplate {
    Form values;
    QStringList invalidKeys;
};

/// Templates in an INI file with the groups "Sensor" and "Module"; each group is written and
/// read on its own, leaving the rest of the file as it is.
namespace ParameterTemplates {

/// The template file, relative to the working folder.
QString defaultPath();
/// Whether the file has the group ("Sensor" or "Module") with at least one key.
bool hasGroup(const QString &path, const QString &group);
/// Writes the "Sensor" group (all but the date and time); false when the file did not take it.
bool saveSensor(const QString &path, const SensorForm &values);
/// Reads the "Sensor" group; missing keys give index 0 and empty texts (no date and time).
LoadedTemplate<SensorForm> loadSensor(const QString &path);
/// Writes the "Module" group; false when the file could not be written.
bool saveModule(const QString &path, const ModuleForm &values);
/// Reads the "Module" group; missing keys give index 0 and empty texts.
LoadedTemplate<ModuleForm> loadModule(const QString &path);

} // namespace ParameterTemplates
