#include "app/settingsprofile.h"
#include "options/options.h"
#include "platform/registry.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace {

const QString kOptionsKey = QStringLiteral("software\\Corvexa\\Quillon\\Options");

class OptionsTest : public ::testing::Test {
protected:
    void SetUp() override { profile.SetRegistryKey(QStringLiteral("Corvexa")); }

    void store(const char* name, quint32 value)
    {
        registry.createKey(RegistryHive::CurrentUser, kOptionsKey);
        registry.setValue(RegistryHive::CurrentUser, kOptionsKey, QString::fromLatin1(name), RegistryValue::fromDword(value));
    }

    QTemporaryDir dir;
    Registry registry{dir.filePath(QStringLiteral("registry.reg"))};
    SettingsProfile profile{registry};
};

} // namespace

TEST_F(OptionsTest, ACleanDeviceHasEveryOptionOff)
{
    COptions options(&profile);
    EXPECT_TRUE(options.Load());
    EXPECT_EQ(options.GetRequiredContactProps(), 0u);
    EXPECT_EQ(options.GetNumberAttributesOnExport(), 0);
    EXPECT_EQ(options.GetExportTextAsASCII(), 0);
    EXPECT_EQ(options.GetCompCheckOnClose(), 0);
    EXPECT_EQ(options.GetWarningOnDelete(), 0);
    EXPECT_EQ(options.GetAutoOpenLastMinute(), 0);
    EXPECT_EQ(options.GetAutoExpandOverview(), 0);
    EXPECT_TRUE(registry.keyExists(RegistryHive::CurrentUser, kOptionsKey));
}

TEST_F(OptionsTest, StoredValuesAreTakenAsTheyAre)
{
    store("WarningOnDelete", 5);
    store("CompCheckOnClose", 1);
    store("AutoOpenLastMinute", 1);
    store("ExportTextAsASCII", 0xFFFFFFFF);
    store("NumberAttributesOnExport", 1);
    store("AutoExpandOverview", 2);
    store("RequiredContactProps", 0x80000003);
    COptions options(&profile);
    options.Load();
    EXPECT_EQ(options.GetWarningOnDelete(), 5);
    EXPECT_EQ(options.GetCompCheckOnClose(), 1);
    EXPECT_EQ(options.GetAutoOpenLastMinute(), 1);
    EXPECT_EQ(options.GetExportTextAsASCII(), -1);
    EXPECT_EQ(options.GetNumberAttributesOnExport(), 1);
    EXPECT_EQ(options.GetAutoExpandOverview(), 2);
    EXPECT_EQ(options.GetRequiredContactProps(), 0x80000003u);
}

TEST_F(OptionsTest, SaveWritesAllNineDwordsInOrder)
{
    store("ShowLinesInTree", 1);
    store("RequiredContactProps", 0xFFFFFFFF);
    COptions options(&profile);
    options.Load();
    registry.deleteKey(RegistryHive::CurrentUser, kOptionsKey);

    options.Save();
    EXPECT_EQ(registry.valueNames(RegistryHive::CurrentUser, kOptionsKey),
              (QStringList{QStringLiteral("WarningOnDelete"), QStringLiteral("CompCheckOnClose"),
                           QStringLiteral("AutoOpenLastMinute"), QStringLiteral("ExportTextAsASCII"),
                           QStringLiteral("ExportTextAsUTF8"), QStringLiteral("NumberAttributesOnExport"),
                           QStringLiteral("ShowLinesInTree"), QStringLiteral("AutoExpandOverview"),
                           QStringLiteral("RequiredContactProps")}));
    EXPECT_EQ(registry.value(RegistryHive::CurrentUser, kOptionsKey, QStringLiteral("ShowLinesInTree")),
              RegistryValue::fromDword(1));
    EXPECT_EQ(registry.value(RegistryHive::CurrentUser, kOptionsKey, QStringLiteral("RequiredContactProps")),
              RegistryValue::fromDword(0xFFFFFFFF));
    EXPECT_EQ(registry.value(RegistryHive::CurrentUser, kOptionsKey, QStringLiteral("WarningOnDelete")),
              RegistryValue::fromDword(0));
}

// A store that holds a width from before UTF-8 was offered keeps it; a new
// one starts with UTF-8 and keeps that once saved.
TEST_F(OptionsTest, TheTextEncodingOfOldStoresStaysAndNewOnesStartWithUtf8)
{
    const std::optional<quint32> none;
    const struct { std::optional<quint32> ascii, utf8; TextEncoding expected; } cases[] = {
        {none, none, TextEncoding::Utf8}, {0, none, TextEncoding::Utf16}, {1, none, TextEncoding::Ascii},
        {0xFFFFFFFF, none, TextEncoding::Ascii}, {none, 0, TextEncoding::Utf16}, {1, 1, TextEncoding::Utf8}};
    for (const auto& c : cases) {
        registry.deleteKey(RegistryHive::CurrentUser, kOptionsKey);
        if (c.ascii)
            store("ExportTextAsASCII", *c.ascii);
        if (c.utf8)
            store("ExportTextAsUTF8", *c.utf8);
        for (int run = 0; run < 2; ++run) { // as loaded, then as saved and loaded again
            COptions options(&profile);
            options.Load();
            EXPECT_EQ(options.GetExportTextEncoding(), c.expected) << c.ascii.value_or(42) << " " << c.utf8.value_or(42);
            options.Save();
        }
    }
}
