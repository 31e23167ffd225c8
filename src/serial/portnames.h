#pragma once

#include <QString>
#include <QStringList>

/// Splits a list of extra port names (separated by the platform's path-list separator),
/// dropping empty entries and duplicates, keeping the order.
QStringList extraPortNames(const QString &list);
