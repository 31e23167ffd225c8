#include "records/exporttarget.h"

#include <QFileInfo>

namespace {

const QString workbookFilter = QStringLiteral("Excel (*.xlsx)");
const QString csvFilter = QStringLiteral("CSV (*.csv)");

} // namespace

QString exportFilters()
{
    return workbookFilter + QStringLiteral(";;") + csvFilter;
}

ExportTarget exportTarget(const QString &name, const QString &filter)
{
    ExportTarget target;
    target.path = name;
    const QString suffix = QFileInfo(name).suffix().toLower();
    if (suffix == QLatin1String("csv") || suffix == QLatin1String("xlsx")) {
        target.format = suffix == QLatin1String("csv") ? ExportTarget::Format::Csv
                                                       : ExportTarget::Format::Workbook;
        return target;
    }
    const bool csv = filter == csvFilter;
    target.format = csv ? ExportTarget::Format::Csv : ExportTarget::Format::Workbook;
    if (suffix.isEmpty())
        target.path += csv ? QStringLiteral(".csv") : QStringLiteral(".xlsx");
    return target;
}
