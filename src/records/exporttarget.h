#pragma once

#include <QString>

/// Where and how the records table is exported.
struct ExportTarget {
    enum class Format { Workbook, Csv };
    QString path;
    Format format = Format::Workbook;
};

/// The save dialog's filters: the workbook's, then CSV's.
QString exportFilters();

/// What a name chosen in the save dialog with `filter` selected means: a name ending in .xlsx
/// or .csv is written as such; any other name is written as the filter says, one without a
/// suffix getting the filter's (a desktop opens no file without one).
ExportTarget exportTarget(const QString &name, const QString &filter);
