#pragma once

#include "params/sensorcommands.h"

#include <QString>

/// The radio-module values a template keeps.
struct ModuleTemplate
{
    int band = 0;
    int heart = 0;
    QString channel1;
    QString channel2;
};

/// Templates in an INI file with the groups "Sensor" and "Module"; each group is written and
/// read on its own, leaving the rest of the file as it is.
namespace ParameterTemplates {

/// The template file, relative to the working folder.
QString defaultPath();
/// Writes the "Sensor" group (all but the date and time); false when the file did not take it.
bool saveSensor(const QString &path, const SensorForm &values);
/// Reads the "Sensor" group; missing keys give index 0 and empty texts (no date and time).
SensorForm loadSensor(const QString &path);
/// Writes the "Module" group; false when the file could not be written.
bool saveModule(const QString &path, const ModuleTemplate &values);
/// Reads the "Module" group; missing keys give index 0 and empty texts.
ModuleTemplate loadModule(const QString &path);

} // namespace ParameterTemplates
