#include "options/options.h"

#include "app/settingsprofile.h"
#include "platform/registry.h"

namespace {

CObject* CreateOptions()
{
    return new COptions;
}

} // namespace

const RuntimeClass COptions::classCOptions = {"COptions", 1, &CreateOptions};
const QString COptions::kSection = QStringLiteral("Options");

COptions::COptions(SettingsProfile* profile)
    : m_profile(profile)
{
}

void COptions::Serialize(Archive&)
{
}

bool COptions::Load()
{
    if (!m_profile)
        return true;
    auto read = [this](const char* name, int missing = 0) {
        return m_profile->ReadInt(kSection, QString::fromLatin1(name), missing);
    };
    m_bWarningOnDelete = read("WarningOnDelete");
    m_bCompCheckOnClose = read("CompCheckOnClose");
    m_bAutoOpenLastMinute = read("AutoOpenLastMinute");
    m_nExportTextAsASCII = read("ExportTextAsASCII");
    const bool widthStored = m_profile->GetRegistry()
                                 .value(RegistryHive::CurrentUser, m_profile->SectionKey(kSection),
                                        QStringLiteral("ExportTextAsASCII"))
                                 .has_value();
    m_nExportTextAsUTF8 = read("ExportTextAsUTF8", widthStored ? 0 : 1);
    m_bNumberAttributesOnExport = read("NumberAttributesOnExport");
    // The tree draws its lines when the value is missing: the sheet must show that, not an unticked box.
    m_bShowLinesInTree = read("ShowLinesInTree", 1);
    m_bAutoExpandOverview = read("AutoExpandOverview");
    m_dwRequiredContactProps = quint32(read("RequiredContactProps"));
    return true;
}

void COptions::Save()
{
    if (!m_profile)
        return;
    auto write = [this](const char* name, int value) { m_profile->WriteInt(kSection, QString::fromLatin1(name), value); };
    write("WarningOnDelete", m_bWarningOnDelete);
    write("CompCheckOnClose", m_bCompCheckOnClose);
    write("AutoOpenLastMinute", m_bAutoOpenLastMinute);
    write("ExportTextAsASCII", m_nExportTextAsASCII);
    write("ExportTextAsUTF8", m_nExportTextAsUTF8);
    write("NumberAttributesOnExport", m_bNumberAttributesOnExport);
    write("ShowLinesInTree", m_bShowLinesInTree);
    write("AutoExpandOverview", m_bAutoExpandOverview);
    write("RequiredContactProps", int(m_dwRequiredContactProps));
}

TextEncoding COptions::GetExportTextEncoding() const
{
    if (m_nExportTextAsUTF8 != 0)
        return TextEncoding::Utf8;
    return m_nExportTextAsASCII != 0 ? TextEncoding::Ascii : TextEncoding::Utf16;
}

COptions::Values COptions::GetValues() const
{
    return {m_dwRequiredContactProps, m_bNumberAttributesOnExport, m_nExportTextAsASCII, m_nExportTextAsUTF8,
            m_bCompCheckOnClose,      m_bWarningOnDelete,          m_bAutoOpenLastMinute, m_bShowLinesInTree,
            m_bAutoExpandOverview};
}

void COptions::SetValues(const Values& values)
{
    m_dwRequiredContactProps = values.requiredContactProps;
    m_bNumberAttributesOnExport = values.numberAttributesOnExport;
    m_nExportTextAsASCII = values.exportTextAsASCII;
    m_nExportTextAsUTF8 = values.exportTextAsUTF8;
    m_bCompCheckOnClose = values.compCheckOnClose;
    m_bWarningOnDelete = values.warningOnDelete;
    m_bAutoOpenLastMinute = values.autoOpenLastMinute;
    m_bShowLinesInTree = values.showLinesInTree;
    m_bAutoExpandOverview = values.autoExpandOverview;
}
