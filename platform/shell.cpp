#include "platform/shell.h"

#include "platform/devicepaths.h"
#include "platform/registry.h"

#include <QFileInfo>
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

bool Shell::HostInvocation(const QString& file, const QString& parameters, const QString& directory,
                           QString& program, QStringList& arguments, QString& workingDirectory) const
{
    arguments = QProcess::splitCommand(HostCommand(file));
    if (arguments.isEmpty())
        return false;
    program = arguments.takeFirst();
    if (!parameters.isEmpty())
        arguments.append(HostParameters(parameters));
    workingDirectory = directory.isEmpty() ? QString() : m_device.toHost(directory);
    // A program gets its files by full path; a device without the folder
    // must not keep it from starting.
    if (!QFileInfo(workingDirectory).isDir())
        workingDirectory.clear();
    return true;
}

bool Shell::Execute(const QString&, const QString& file, const QString& parameters, const QString& directory, int)
{
    QString program, workingDirectory;
    QStringList arguments;
    return HostInvocation(file, parameters, directory, program, arguments, workingDirectory)
        && QProcess::startDetached(program, arguments, workingDirectory);
}

std::unique_ptr<QProcess> Shell::Launch(const QString& file, const QString& parameters, const QString& directory)
{
    QString program, workingDirectory;
    QStringList arguments;
    if (!HostInvocation(file, parameters, directory, program, arguments, workingDirectory))
        return nullptr;
    auto process = std::make_unique<QProcess>();
    process->setProgram(program);
    process->setArguments(arguments);
    process->setWorkingDirectory(workingDirectory);
    // Nothing is read from the program's output, and nothing it might wait
    // for ever comes on its input.
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->start();
    if (!process->waitForStarted())
        return nullptr;
    return process;
}
