#include "framework/uiservice.h"

#include <QStringList>

QList<FileFilter> ParseFileFilter(const QString& filter)
{
    QList<FileFilter> result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts.at(i).isEmpty())
            break; // "||" ends the list
        result.append({parts.at(i), parts.at(i + 1)});
    }
    return result;
}
