#pragma once

#include "model/object.h"

#include <QString>

class SettingsProfile;

// The device user's eight preferences, kept as DWORDs in the settings section
// "Options". They belong to the user, not to a minute: nothing of them goes
// into a minute file, and serialising does nothing.
class COptions final : public CObject {
public:
    static const RuntimeClass classCOptions;

    explicit COptions(SettingsProfile* profile = nullptr);

    const RuntimeClass* GetRuntimeClass() const override { return &classCOptions; }
    void Serialize(Archive& ar) override;

    // Reads the eight values; a missing one is 0. Always succeeds.
    bool Load();
    // Writes the eight values; a write that fails is skipped.
    void Save();

    quint32 GetRequiredContactProps() const { return m_dwRequiredContactProps; }
    int GetNumberAttributesOnExport() const { return m_bNumberAttributesOnExport; }
    int GetExportTextAsASCII() const { return m_nExportTextAsASCII; }
    int GetCompCheckOnClose() const { return m_bCompCheckOnClose; }
    int GetWarningOnDelete() const { return m_bWarningOnDelete; }
    int GetAutoOpenLastMinute() const { return m_bAutoOpenLastMinute; }
    int GetAutoExpandOverview() const { return m_bAutoExpandOverview; }

    // All eight values at once, for the options sheet to show and change.
    struct Values {
        quint32 requiredContactProps = 0;
        int numberAttributesOnExport = 0;
        int exportTextAsASCII = 0;
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
    int m_bCompCheckOnClose = 0;
    int m_bWarningOnDelete = 0;
    int m_bAutoOpenLastMinute = 0;
    int m_bShowLinesInTree = 0;
    int m_bAutoExpandOverview = 0;
};
