#include "platform/devicepaths.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString dataHome()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString rootFromEnvironment(const char* variable, const QString& fallbackName)
{
    const QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty())
        return QDir::cleanPath(QDir(value).absolutePath());
    return QDir::cleanPath(dataHome() + QStringLiteral("/quillon/") + fallbackName);
}

// The entry of folder whose name equals name ignoring case, preferring an exact match.
QString matchEntry(const QString& folder, const QString& name)
{
    if (QFileInfo::exists(folder + QLatin1Char('/') + name))
        return name;
    const QDir dir(folder);
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return name;
}

} // namespace

DevicePaths::DevicePaths(const QString& root)
    : m_root(QDir::cleanPath(root))
{
}

QString DevicePaths::defaultDeviceRoot()
{
    return rootFromEnvironment("QUILLON_DEVICE", QStringLiteral("device"));
}

QString DevicePaths::defaultDesktopRoot()
{
    return rootFromEnvironment("QUILLON_DESKTOP", QStringLiteral("desktop"));
}

QString DevicePaths::registryFile() const
{
    return m_root + QStringLiteral("/registry.reg");
}

bool DevicePaths::isDevicePath(const QString& path)
{
    return path.startsWith(QLatin1Char('\\'));
}

QString DevicePaths::toHost(const QString& path) const
{
    if (!isDevicePath(path))
        return path;
    QStringList parts;
    for (const QString& part : path.split(QLatin1Char('\\'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            if (!parts.isEmpty())
                parts.removeLast();
            continue;
        }
        parts.append(part);
    }
    QString host = m_root;
    for (const QString& part : parts) {
        // A slash inside a device name would reach another host folder.
        QString safe = part;
        safe.replace(QLatin1Char('/'), QLatin1Char('_'));
        host += QLatin1Char('/') + matchEntry(host, safe);
    }
    return host;
}

QString fileNamePart(const QString& path)
{
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    return path.mid(cut + 1);
}

QString normaliseFilePath(const QString& path)
{
    return path.size() > 1 && path.at(1) == QLatin1Char('\\') ? path.mid(1) : path;
}
