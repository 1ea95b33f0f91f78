// The settings sections under the application's registry key.

#include "app/installdir.h"
#include "app/settingsprofile.h"
#include "platform/registry.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kAppKey = QStringLiteral("software\\Corvexa\\Quillon");

class SettingsProfileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    Registry registry{dir.filePath(QStringLiteral("registry.reg"))};
    SettingsProfile profile{registry};
};

} // namespace

TEST_F(SettingsProfileTest, BeforeTheKeyNameIsSetReadsGiveZeroOrDefaultAndWritesFail)
{
    EXPECT_EQ(profile.ReadInt(QStringLiteral("Options"), QStringLiteral("WarningOnDelete"), 7), 0);
    EXPECT_EQ(profile.ReadString(QStringLiteral("LastMinute"), QStringLiteral("FilePath"), QStringLiteral("dflt")),
              QStringLiteral("dflt"));
    EXPECT_FALSE(profile.WriteInt(QStringLiteral("Options"), QStringLiteral("WarningOnDelete"), 1));
    EXPECT_FALSE(profile.WriteString(QStringLiteral("LastMinute"), QStringLiteral("FilePath"), QStringLiteral("x")));
    EXPECT_FALSE(registry.keyExists(RegistryHive::CurrentUser, QStringLiteral("software\\Corvexa")));
}

TEST_F(SettingsProfileTest, ReadingCreatesTheSectionAndGivesTheDefault)
{
    profile.SetRegistryKey(QStringLiteral("Corvexa"));
    EXPECT_EQ(profile.ReadInt(QStringLiteral("Options"), QStringLiteral("ShowLinesInTree"), 1), 1);
    EXPECT_TRUE(registry.keyExists(RegistryHive::CurrentUser, kAppKey + QStringLiteral("\\Options")));
    EXPECT_TRUE(registry.valueNames(RegistryHive::CurrentUser, kAppKey + QStringLiteral("\\Options")).isEmpty());
    EXPECT_EQ(profile.ReadString(QStringLiteral("LastMinute"), QStringLiteral("FilePath"), QString()), QString());
    EXPECT_TRUE(registry.keyExists(RegistryHive::CurrentUser, kAppKey + QStringLiteral("\\LastMinute")));
}

TEST_F(SettingsProfileTest, ValuesAreStoredWithTheirTypesAndSizes)
{
    profile.SetRegistryKey(QStringLiteral("Corvexa"));
    EXPECT_TRUE(profile.WriteString(QStringLiteral("LastMinute"), QStringLiteral("FilePath"), QStringLiteral("abc")));
    const auto text = registry.value(RegistryHive::CurrentUser, kAppKey + QStringLiteral("\\LastMinute"), QStringLiteral("filepath"));
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(text->type, quint32(RegSz));
    EXPECT_EQ(text->data.size(), 8);
    EXPECT_EQ(profile.ReadString(QStringLiteral("LastMinute"), QStringLiteral("FilePath"), QString()), QStringLiteral("abc"));

    EXPECT_TRUE(profile.WriteInt(QStringLiteral("Options"), QStringLiteral("ExportTextAsASCII"), -1));
    const auto number = registry.value(RegistryHive::CurrentUser, kAppKey + QStringLiteral("\\Options"), QStringLiteral("ExportTextAsASCII"));
    ASSERT_TRUE(number.has_value());
    EXPECT_EQ(number->type, quint32(RegDword));
    EXPECT_EQ(number->data, QByteArray(4, '\xff'));
    EXPECT_EQ(profile.ReadInt(QStringLiteral("Options"), QStringLiteral("ExportTextAsASCII"), 0), -1);
}

TEST_F(SettingsProfileTest, IntegersAreReadFromUpToFourBytesOfAnyType)
{
    profile.SetRegistryKey(QStringLiteral("Corvexa"));
    const QString section = kAppKey + QStringLiteral("\\Odd");
    ASSERT_TRUE(registry.createKey(RegistryHive::CurrentUser, section));
    registry.setValue(RegistryHive::CurrentUser, section, QStringLiteral("Short"), {RegBinary, QByteArray("\x05\x01", 2)});
    registry.setValue(RegistryHive::CurrentUser, section, QStringLiteral("Letter"), RegistryValue::fromString(QStringLiteral("a")));
    registry.setValue(RegistryHive::CurrentUser, section, QStringLiteral("Long"), RegistryValue::fromString(QStringLiteral("abc")));
    EXPECT_EQ(profile.ReadInt(QStringLiteral("Odd"), QStringLiteral("Short"), 9), 0x0105);
    EXPECT_EQ(profile.ReadInt(QStringLiteral("Odd"), QStringLiteral("Letter"), 9), 0x61);
    EXPECT_EQ(profile.ReadInt(QStringLiteral("Odd"), QStringLiteral("Long"), 9), 9);
    EXPECT_EQ(profile.ReadInt(QStringLiteral("Odd"), QStringLiteral("Missing"), 9), 9);
}

TEST_F(SettingsProfileTest, WritingNoValueDeletesItAndNoEntryDeletesTheSection)
{
    profile.SetRegistryKey(QStringLiteral("Corvexa"));
    const QString section = QStringLiteral("RecentUserFinds");
    profile.WriteString(section, QStringLiteral("FI1"), QStringLiteral("budget"));
    profile.WriteString(section, QStringLiteral("FI2"), QString());
    EXPECT_TRUE(profile.WriteString(section, QStringLiteral("FI1"), std::nullopt));
    EXPECT_EQ(registry.valueNames(RegistryHive::CurrentUser, kAppKey + QLatin1Char('\\') + section),
              QStringList{QStringLiteral("FI2")});
    EXPECT_TRUE(profile.WriteString(section, std::nullopt, std::nullopt));
    EXPECT_FALSE(registry.keyExists(RegistryHive::CurrentUser, kAppKey + QLatin1Char('\\') + section));
}

TEST_F(SettingsProfileTest, InstallFolderComesFromTheInstallationKey)
{
    EXPECT_FALSE(GetInstallDir(registry).has_value());
    const QString key = QStringLiteral("SOFTWARE\\Apps\\Corvexa Quillon for Pocket PCs");
    ASSERT_TRUE(registry.createKey(RegistryHive::LocalMachine, key));
    EXPECT_FALSE(GetInstallDir(registry).has_value());
    registry.setValue(RegistryHive::LocalMachine, key, QStringLiteral("InstallDir"),
                      RegistryValue::fromString(QStringLiteral("\\Program Files\\Quillon")));
    EXPECT_EQ(GetInstallDir(registry), QStringLiteral("\\Program Files\\Quillon"));
}
