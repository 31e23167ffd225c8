#include "serial/portnames.h"

#include <QDir>

QStringList extraPortNames(const QString &list)
{
    QStringList names;
    for (const QString &part : list.split(QDir::listSeparator(), Qt::SkipEmptyParts)) {
        const QString name = part.trimmed();
        if (!name.isEmpty() && !names.contains(name))
            names.append(name);
    }
    return names;
}
