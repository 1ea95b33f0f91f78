#include "platform/shell.h"

#include "platform/devicepaths.h"
#include "platform/registry.h"

#include <QProcess>
#include <QUrl>

Shell::Shell(const Registry& registry, const DevicePaths& device)
    : m_registry(registry)
    , m_device(device)
{
}

QString Shell::AppPathsKey(const QString& programName)
{
    return QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\") + programName;
}

QString Shell::HostCommand(const QString& file) const
{
    const auto value = m_registry.value(RegistryHive::LocalMachine, AppPathsKey(fileNamePart(file)), QString());
    return value ? value->toString().trimmed() : QString();
}

QString Shell::HostParameters(const QString& parameters) const
{
    static const QString kFileScheme = QStringLiteral("file:");
    if (parameters.startsWith(kFileScheme) && DevicePaths::isDevicePath(parameters.mid(kFileScheme.size())))
        return QUrl::fromLocalFile(m_device.toHost(parameters.mid(kFileScheme.size()))).toString();
    return m_device.toHost(parameters);
}

bool Shell::Execute(const QString&, const QString& file, const QString& parameters, const QString& directory, int)
{
    QStringList command = QProcess::splitCommand(HostCommand(file));
    if (command.isEmpty())
        return false;
    const QString program = command.takeFirst();
    if (!parameters.isEmpty())
        command.append(HostParameters(parameters));
    const QString workingDirectory = directory.isEmpty() ? QString() : m_device.toHost(directory);
    return QProcess::startDetached(program, command, workingDirectory);
}
