#pragma once

#include <QStringList>

class DevicePaths;
class SettingsProfile;

// The last eight minutes opened or saved, newest first, kept in the settings
// section "Recent" as "File1" to "File8". Paths are kept as the minute was
// named (a device path or a host path); two names of one file count once.
class RecentMinutes {
public:
    static constexpr int kMaximum = 8;

    RecentMinutes(SettingsProfile& profile, const DevicePaths& device);

    QStringList List() const;
    // Puts the path first, dropping the eighth when the list is full.
    void Add(const QString& path);
    void Remove(const QString& path);

private:
    void Store(const QStringList& paths);
    QString HostPathOf(const QString& path) const;

    SettingsProfile& m_profile;
    const DevicePaths& m_device;
};
