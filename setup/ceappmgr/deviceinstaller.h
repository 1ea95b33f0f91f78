#pragma once

#include "setup/ceappmgr/installdescription.h"

#include <QStringList>

#include <functional>

class DevicePaths;
class Registry;

// Installs what a description names onto the device: copies its files into
// the device folder and records the installation and the device programs in
// the device registry. Running it again changes nothing.
class DeviceInstaller {
public:
    DeviceInstaller(const DevicePaths& device, Registry& registry);

    // The host command for a program role; the default finds the desktop's
    // viewer and the first nearby-device sender on this computer.
    std::function<QString(const QString& role)> m_commandFor;
    // The version being installed; recorded in the "Version" section of the
    // program's settings when the description names their key.
    QString m_version;

    // Returns false when something could not be installed; report tells
    // what was done, line by line.
    bool Install(const InstallDescription& description, const QString& sourceFolder, QStringList* report);

private:
    // Copies source, which must be a regular file inside the medium at
    // mediumRoot (a canonical path) once links are resolved.
    bool CopyFile(const QString& source, const QString& mediumRoot, const QString& devicePath, bool replace,
                  QStringList* report);

    const DevicePaths& m_device;
    Registry& m_registry;
};
