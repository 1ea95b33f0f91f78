#pragma once

#include <QString>

#include <optional>

class Registry;

// The application's settings, grouped in sections below
// HKEY_CURRENT_USER\software\<registry key name>\<profile name>.
//
// Until the registry key name is set (once, at start-up) integer reads give 0,
// string reads their default, and writes fail. Reading a section creates its
// key when it is missing, as opening it for writing does.
class SettingsProfile {
public:
    explicit SettingsProfile(Registry& registry, const QString& profileName = QStringLiteral("Quillon"));

    void SetRegistryKey(const QString& keyName);
    Registry& GetRegistry() const { return m_registry; }

    // The stored value when it is at most 4 bytes (of whatever type), else the default.
    int ReadInt(const QString& section, const QString& entry, int defaultValue) const;
    bool WriteInt(const QString& section, const QString& entry, int value);
    QString ReadString(const QString& section, const QString& entry, const QString& defaultValue) const;
    // Without a value the entry is deleted; without an entry the whole section is.
    bool WriteString(const QString& section, const std::optional<QString>& entry, const std::optional<QString>& value);

    // The key path of a section below HKEY_CURRENT_USER.
    QString SectionKey(const QString& section) const;

private:
    // Opens (creating when missing) the section key; false when that fails.
    bool OpenSection(const QString& section) const;

    Registry& m_registry;
    QString m_profileName;
    QString m_registryKey;
};
