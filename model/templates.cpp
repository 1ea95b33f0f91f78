#include "model/templates.h"

#include "app/installdir.h"
#include "platform/devicepaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

Templates::Templates(const Registry& registry, const DevicePaths& device)
    : m_registry(registry)
    , m_device(device)
{
}

std::optional<QString> Templates::Folder() const
{
    const std::optional<QString> installDir = GetInstallDir(m_registry);
    if (!installDir)
        return std::nullopt;
    return QStringLiteral("%1\\Templates").arg(*installDir);
}

QStringList Templates::Names() const
{
    const std::optional<QString> folder = Folder();
    if (!folder)
        return {};
    QDir dir(m_device.toHost(*folder));
    dir.setNameFilters({QStringLiteral("*.min")});
    // A link is no template, even one to a minute: what is read or saved
    // under a template's name stays in this folder.
    dir.setFilter(QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    dir.setSorting(QDir::Unsorted);
    return dir.entryList();
}

QString Templates::PathOf(const QString& name) const
{
    return QStringLiteral("%1\\%2").arg(Folder().value_or(QString()), name);
}

QString Templates::HostPath(const QString& name) const
{
    return m_device.toHost(PathOf(name));
}

bool Templates::Exists(const QString& name) const
{
    if (!Folder() || name.isEmpty())
        return false;
    QFile file(HostPath(name));
    const QFileInfo info(file);
    return info.isFile() && !info.isSymLink() && file.open(QIODevice::ReadOnly);
}

bool Templates::Remove(const QString& name) const
{
    return Folder() && !name.isEmpty() && QFile::remove(HostPath(name));
}

QString Templates::FileNameFor(const QString& typed, QString* problem)
{
    QString name = typed;
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    if (dot >= 0)
        name.truncate(dot);
    if (name.contains(QLatin1Char('\\')) || name.contains(QLatin1Char('/'))) {
        if (problem)
            *problem = QStringLiteral("A template name cannot contain '\\' or '/'.");
        return {};
    }
    if (name.trimmed().isEmpty()) {
        if (problem)
            *problem = QStringLiteral("Please type a name for the template.");
        return {};
    }
    return name + QStringLiteral(".min");
}
