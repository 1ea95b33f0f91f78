#include "setup/ceappmgr/deviceinstaller.h"

#include "platform/bytestream.h"
#include "platform/devicepaths.h"
#include "platform/hostprograms.h"
#include "platform/registry.h"
#include "platform/shell.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

DeviceInstaller::DeviceInstaller(const DevicePaths& device, Registry& registry)
    : m_commandFor([](const QString& role) { return role == QLatin1String("send") ? HostSenderCommand() : HostOpenCommand(); })
    , m_device(device)
    , m_registry(registry)
{
}

namespace {

// Why source cannot be copied from the medium at mediumRoot (a canonical
// path), or nothing when it can; *resolved is the file it stands for once
// links are resolved. A link to a file elsewhere in the medium is fine; one
// out of it would put any file of this computer onto the device. A source
// that is not there is left to the read to report.
QString RefusalOf(const QString& source, const QString& mediumRoot, QString* resolved)
{
    *resolved = QFileInfo(source).canonicalFilePath();
    if (resolved->isEmpty())
        return {};
    if (!QFileInfo(*resolved).isFile())
        return QStringLiteral("it is not a regular file");
    const QString prefix = mediumRoot.endsWith(QLatin1Char('/')) ? mediumRoot : mediumRoot + QLatin1Char('/');
    if (mediumRoot.isEmpty() || !resolved->startsWith(prefix))
        return QStringLiteral("it leads outside the installation medium");
    return {};
}

} // namespace

bool DeviceInstaller::CopyFile(const QString& source, const QString& mediumRoot, const QString& devicePath, bool replace,
                               QStringList* report)
{
    const QString target = m_device.toHost(devicePath);
    QString resolved;
    if (const QString refusal = RefusalOf(source, mediumRoot, &resolved); !refusal.isEmpty()) {
        report->append(QStringLiteral("Could not read %1: %2").arg(source, refusal));
        return false;
    }
    // The file checked is the one read: its links are not followed a second time.
    QFile in(resolved.isEmpty() ? source : resolved);
    if (!in.open(QIODevice::ReadOnly)) {
        report->append(QStringLiteral("Could not read %1: %2").arg(source, in.errorString()));
        return false;
    }
    const QByteArray bytes = in.readAll();
    if (QFileInfo::exists(target)) {
        if (!replace) {
            report->append(QStringLiteral("Kept %1 (already on the device)").arg(devicePath));
            return true;
        }
        QFile existing(target);
        if (existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes) {
            report->append(QStringLiteral("Up to date: %1").arg(devicePath));
            return true;
        }
    }
    QDir().mkpath(QFileInfo(target).absolutePath());
    // A link on the device is not written through: run by root, that would
    // let whoever owns the device folder replace any file of this computer.
    const std::optional<FileError> error = WriteFileSafely(
        target, devicePath, [&](ByteSink& sink) { sink.write(bytes.constData(), bytes.size()); }, SymLinks::Refuse);
    if (error) {
        report->append(error->message());
        return false;
    }
    QFile::setPermissions(target, in.permissions());
    report->append(QStringLiteral("Installed %1").arg(devicePath));
    return true;
}

bool DeviceInstaller::Install(const InstallDescription& description, const QString& sourceFolder, QStringList* report)
{
    bool ok = true;
    const QString mediumRoot = QFileInfo(sourceFolder).canonicalFilePath();
    for (const InstallDescription::FileSet& set : description.files) {
        // Sample data is for a device that has none of its own yet: once the
        // folder holds anything, the user's files are left alone.
        if (set.onlyIntoEmpty
            && !QDir(m_device.toHost(set.destination)).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
            report->append(QStringLiteral("Left %1 as it is (it is not empty)").arg(set.destination));
            continue;
        }
        const QFileInfo source(QDir(sourceFolder).filePath(set.source));
        QStringList names;
        if (source.fileName().contains(QLatin1Char('*'))) {
            names = QDir(source.absolutePath()).entryList({source.fileName()}, QDir::Files, QDir::Name);
        } else {
            names = {source.fileName()};
        }
        for (const QString& name : names) {
            const QString devicePath = set.destination + QLatin1Char('\\') + name;
            ok = CopyFile(QDir(source.absolutePath()).filePath(name), mediumRoot, devicePath, set.replace, report) && ok;
        }
    }

    const QString installKey = QStringLiteral("SOFTWARE\\Apps\\%1").arg(description.appName);
    if (m_registry.setValueCreatingKey(RegistryHive::LocalMachine, installKey, QStringLiteral("InstallDir"),
                                       RegistryValue::fromString(description.installDir))) {
        report->append(QStringLiteral("Recorded the installation folder %1").arg(description.installDir));
    } else {
        report->append(QStringLiteral("Could not record the installation in the device registry"));
        ok = false;
    }

    if (!description.settingsKey.isEmpty() && !m_version.isEmpty()) {
        // About shows the version from here.
        const QString versionKey = description.settingsKey + QStringLiteral("\\Version");
        if (m_registry.setValueCreatingKey(RegistryHive::CurrentUser, versionKey, QStringLiteral("Version"),
                                           RegistryValue::fromString(m_version))) {
            report->append(QStringLiteral("Recorded the version %1").arg(m_version));
        } else {
            report->append(QStringLiteral("Could not record the version in the device registry"));
            ok = false;
        }
    }

    for (const InstallDescription::SettingDefault& setting : description.settingDefaults) {
        // The user's own value, or one an earlier installation set, stays.
        const QString key = description.settingsKey + QLatin1Char('\\') + setting.section;
        if (m_registry.value(RegistryHive::CurrentUser, key, setting.name))
            continue;
        if (m_registry.setValueCreatingKey(RegistryHive::CurrentUser, key, setting.name, RegistryValue::fromDword(setting.value))) {
            report->append(QStringLiteral("Set %1\\%2 for a new user").arg(setting.section, setting.name));
        } else {
            report->append(QStringLiteral("Could not set %1\\%2 in the device registry").arg(setting.section, setting.name));
            ok = false;
        }
    }

    for (const InstallDescription::AppPath& appPath : description.appPaths) {
        const QString command = m_commandFor(appPath.role);
        if (command.isEmpty()) {
            // Without one, the program is not registered and starting it is reported.
            report->append(QStringLiteral("No program on this computer can stand in for %1").arg(appPath.program));
            continue;
        }
        if (m_registry.setValueCreatingKey(RegistryHive::LocalMachine, Shell::AppPathsKey(appPath.program), QString(),
                                           RegistryValue::fromString(command))) {
            report->append(QStringLiteral("%1 runs %2").arg(appPath.program, command));
        } else {
            report->append(QStringLiteral("Could not register %1").arg(appPath.program));
            ok = false;
        }
    }
    return ok;
}
