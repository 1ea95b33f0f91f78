#include "app/settingsprofile.h"

#include "platform/registry.h"

#include <QtEndian>

SettingsProfile::SettingsProfile(Registry& registry, const QString& profileName)
    : m_registry(registry)
    , m_profileName(profileName)
{
}

void SettingsProfile::SetRegistryKey(const QString& keyName)
{
    m_registryKey = keyName;
}

QString SettingsProfile::SectionKey(const QString& section) const
{
    QString key = QStringLiteral("software\\%1\\%2").arg(m_registryKey, m_profileName);
    if (!section.isEmpty())
        key += QLatin1Char('\\') + section;
    return key;
}

bool SettingsProfile::OpenSection(const QString& section) const
{
    if (m_registryKey.isEmpty())
        return false;
    return m_registry.createKey(RegistryHive::CurrentUser, SectionKey(section));
}

int SettingsProfile::ReadInt(const QString& section, const QString& entry, int defaultValue) const
{
    if (m_registryKey.isEmpty())
        return 0;
    if (!OpenSection(section))
        return defaultValue;
    const auto value = m_registry.value(RegistryHive::CurrentUser, SectionKey(section), entry);
    // Larger values do not fit the 4-byte buffer and so fail to read.
    if (!value || value->data.size() > 4)
        return defaultValue;
    uchar bytes[4] = {0, 0, 0, 0};
    std::copy(value->data.begin(), value->data.end(), bytes);
    return int(qFromLittleEndian<quint32>(bytes));
}

bool SettingsProfile::WriteInt(const QString& section, const QString& entry, int value)
{
    if (!OpenSection(section))
        return false;
    return m_registry.setValue(RegistryHive::CurrentUser, SectionKey(section), entry,
                               RegistryValue::fromDword(quint32(value)));
}

QString SettingsProfile::ReadString(const QString& section, const QString& entry, const QString& defaultValue) const
{
    if (!OpenSection(section))
        return defaultValue;
    const auto value = m_registry.value(RegistryHive::CurrentUser, SectionKey(section), entry);
    return value ? value->toString() : defaultValue;
}

bool SettingsProfile::WriteString(const QString& section, const std::optional<QString>& entry,
                                  const std::optional<QString>& value)
{
    if (m_registryKey.isEmpty())
        return false;
    if (!entry) {
        // Deleting a section that is not there is a failure, as deleting a missing key is.
        return m_registry.deleteKey(RegistryHive::CurrentUser, SectionKey(section));
    }
    if (!OpenSection(section))
        return false;
    if (!value)
        return m_registry.deleteValue(RegistryHive::CurrentUser, SectionKey(section), *entry);
    return m_registry.setValue(RegistryHive::CurrentUser, SectionKey(section), *entry,
                               RegistryValue::fromString(*value));
}
