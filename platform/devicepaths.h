#pragma once

#include <QString>

// The handheld's file store, played by a folder on the host.
//
// A device path starts with a backslash ("\Windows\Quillon.htm") and names a
// file below the device folder; the device's file system ignores letter case,
// so each component is matched case-insensitively against what exists.
// Any other path is a host path and is used as it is.
class DevicePaths {
public:
    explicit DevicePaths(const QString& root);

    // QUILLON_DEVICE, else $XDG_DATA_HOME/quillon/device.
    static QString defaultDeviceRoot();
    // QUILLON_DESKTOP, else $XDG_DATA_HOME/quillon/desktop.
    static QString defaultDesktopRoot();

    QString root() const { return m_root; }
    QString registryFile() const;

    static bool isDevicePath(const QString& path);
    // The host path for path. ".." never leads out of the device folder.
    QString toHost(const QString& path) const;

private:
    QString m_root;
};

// The part of a path after its last backslash or slash (the whole path when it has neither).
QString fileNamePart(const QString& path);

// The path a file is opened or created under: one whose second character is
// a backslash loses its first, so "\\folder\file" becomes "\folder\file".
QString normaliseFilePath(const QString& path);
