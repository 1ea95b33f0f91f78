#pragma once

#include "export/textencoding.h"
#include "model/object.h"

#include <QString>

class SettingsProfile;

// The device user's nine preferences, kept as DWORDs in the settings section
// "Options". They belong to the user, not to a minute: nothing of them goes
// into a minute file, and serialising does nothing.
class COptions final : public CObject {
public:
    static const RuntimeClass classCOptions;

    explicit COptions(SettingsProfile* profile = nullptr);

    const RuntimeClass* GetRuntimeClass() const override { return &classCOptions; }
    void Serialize(Archive& ar) override;

    // Reads the nine values; a missing one is 0, but for "ShowLinesInTree"
    // and "ExportTextAsUTF8" (see there). Always succeeds.
    bool Load();
    // Writes the nine values; a write that fails is skipped.
    void Save();

    quint32 GetRequiredContactProps() const { return m_dwRequiredContactProps; }
    int GetNumberAttributesOnExport() const { return m_bNumberAttributesOnExport; }
    int GetExportTextAsASCII() const { return m_nExportTextAsASCII; }
    // What "ExportTextAsASCII" and "ExportTextAsUTF8" make of the text and
    // note exports together: "ExportTextAsUTF8" set (nonzero) means UTF-8
    // whatever "ExportTextAsASCII" holds; clear, "ExportTextAsASCII" decides
    // as it did before UTF-8 was offered (nonzero one byte a character, 0
    // UTF-16). So the older value keeps its meaning, and a store written
    // before UTF-8 keeps its format.
    TextEncoding GetExportTextEncoding() const;
    int GetCompCheckOnClose() const { return m_bCompCheckOnClose; }
    int GetWarningOnDelete() const { return m_bWarningOnDelete; }
    int GetAutoOpenLastMinute() const { return m_bAutoOpenLastMinute; }
    int GetAutoExpandOverview() const { return m_bAutoExpandOverview; }

    // All nine values at once, for the options sheet to show and change.
    struct Values {
        quint32 requiredContactProps = 0;
        int numberAttributesOnExport = 0;
        int exportTextAsASCII = 0;
        int exportTextAsUTF8 = 0;
        int compCheckOnClose = 0;
        int warningOnDelete = 0;
        int autoOpenLastMinute = 0;
        int showLinesInTree = 0;
        int autoExpandOverview = 0;
    };
    Values GetValues() const;
    void SetValues(const Values& values);

    static const QString kSection;

private:
    SettingsProfile* m_profile;

    quint32 m_dwRequiredContactProps = 0;
    int m_bNumberAttributesOnExport = 0;
    int m_nExportTextAsASCII = 0;
    // Missing from the store, it is 1 only while "ExportTextAsASCII" is missing
    // too: a new installation writes UTF-8, which every desktop reads, while a
    // store that already holds a width chose it and keeps it.
    int m_nExportTextAsUTF8 = 0;
    int m_bCompCheckOnClose = 0;
    int m_bWarningOnDelete = 0;
    int m_bAutoOpenLastMinute = 0;
    int m_bShowLinesInTree = 0;
    int m_bAutoExpandOverview = 0;
};
