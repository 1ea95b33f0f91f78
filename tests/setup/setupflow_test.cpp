// Setup's flow: three dialogs, then the application manager.

#include "platform/registry.h"
#include "setup/installlauncher.h"
#include "setup/setupdialogs.h"
#include "setup/setupui.h"
#include "setup/vantrelapp.h"
#include "testsupport.h"

#include <QDir>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kCaption = QStringLiteral("Setup - Quillon for Pocket PCs");

class SetupFlow : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous = QDir::currentPath();
        medium = dir.filePath(QStringLiteral("install medium"));
        QDir().mkpath(medium);
        QDir::setCurrent(medium);
        const QString key = CInstallLauncher::AppManagerKey();
        registry.createKey(RegistryHive::LocalMachine, key);
        registry.setValue(RegistryHive::LocalMachine, key, QString(), RegistryValue::fromString(QStringLiteral("/opt/ceappmgr")));
        ui.dialogHandler = [this](QDialog& dialog) {
            if (dialog.objectName() == QLatin1String("129"))
                licence = dialog.findChild<QPlainTextEdit*>(QStringLiteral("1001"))->toPlainText();
            return dialog.objectName() == refuse ? QDialog::Rejected : QDialog::Accepted;
        };
    }
    void TearDown() override { QDir::setCurrent(previous); }
    void SetManager(const QString& path)
    {
        registry.setValue(RegistryHive::LocalMachine, CInstallLauncher::AppManagerKey(), QString(), RegistryValue::fromString(path));
    }

    int Run()
    {
        CInstallLauncher::Starter record = [this](const QString& program, const QStringList& arguments) {
            started.push_back({program, arguments});
            return true;
        };
        CInstallLauncher launcher(registry, ui, realStart ? CInstallLauncher::Starter() : record);
        CVantrelApp app(ui, launcher);
        return app.Run();
    }
    QStringList Messages() const
    {
        QStringList texts;
        for (const auto& shown : ui.messages)
            texts.append(shown.text);
        return texts;
    }

    QTemporaryDir dir;
    QString previous;
    QString medium;
    Registry registry{dir.filePath(QStringLiteral("desktop/registry.reg"))};
    ScriptedSetupUi ui;
    QString refuse; // the dialog that is cancelled
    QString licence;
    bool realStart = false; // start the manager for real instead of recording it
    std::vector<std::pair<QString, QStringList>> started;
};

} // namespace

TEST_F(SetupFlow, CancellingAnyDialogAbortsWithNothingFurther)
{
    const std::vector<QString> order = {QStringLiteral("102"), QStringLiteral("129"), QStringLiteral("130")};
    for (size_t i = 0; i < order.size(); ++i) {
        SCOPED_TRACE(order[i].toStdString());
        ui.messages.clear();
        ui.dialogs.clear();
        refuse = order[i];
        EXPECT_EQ(Run(), 0);
        EXPECT_EQ(ui.dialogs, std::vector<QString>(order.begin(), order.begin() + long(i) + 1));
        EXPECT_EQ(Messages(), QStringList{QStringLiteral("Setup aborted")});
        EXPECT_EQ(ui.messages[0].caption, kCaption);
        EXPECT_EQ(ui.messages[0].icon, SetupUi::Information);
        EXPECT_TRUE(ui.messages[0].owned);
        EXPECT_TRUE(started.empty());
    }
}

TEST_F(SetupFlow, TheManagerGetsTheQuotedDescriptionAsOneArgument)
{
    ASSERT_TRUE(testsupport::writeFile(medium + QStringLiteral("/license.txt"), "Terms."));
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(licence, QStringLiteral("Terms."));
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].first, QStringLiteral("/opt/ceappmgr"));
    // The folder has a blank in its name; the path still arrives whole.
    EXPECT_EQ(started[0].second, QStringList{medium + QStringLiteral("/Quillon for Pocket PCs.ini")});
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("Setup complete")});
}

TEST_F(SetupFlow, AMissingLicenceSaysSoAndTheFlowGoesOn)
{
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(licence, QStringLiteral("License file not found!"));
    EXPECT_EQ(started.size(), 1u);
}

TEST_F(SetupFlow, TheLicenceIsShownWholeAndExactly)
{
    // No terminating zero, single-byte text, and not a byte more.
    ASSERT_TRUE(testsupport::writeFile(medium + QStringLiteral("/license.txt"), QByteArray("Caf\xe9 \x80 terms\r\nEnd")));
    Run();
    EXPECT_EQ(licence, QString::fromUtf16(u"Caf\u00e9 \u20ac terms\nEnd"));
    // With a terminating zero, the same text.
    ASSERT_TRUE(testsupport::writeFile(medium + QStringLiteral("/license.txt"), QByteArray("Terms\0", 6)));
    Run();
    EXPECT_EQ(licence, QStringLiteral("Terms"));
}

TEST_F(SetupFlow, WithoutTheManagerSetupFailsAndSaysWhy)
{
    registry.deleteKey(RegistryHive::LocalMachine, CInstallLauncher::AppManagerKey());
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("Setup failed!\nCould not find CE application manager.")});
    EXPECT_EQ(ui.messages[0].icon, SetupUi::Warning);
    EXPECT_FALSE(ui.messages[0].owned);
    EXPECT_TRUE(started.empty());
}

TEST_F(SetupFlow, AnyPathsReachTheManagerWhole)
{
    // A manager path longer than 125 characters, and a medium folder whose name holds quotes.
    const QString manager = QStringLiteral("/opt/") + QString(200, QLatin1Char('m')) + QStringLiteral("/ceappmgr");
    SetManager(manager);
    const QString odd = dir.filePath(QStringLiteral("the \"new\" medium"));
    QDir().mkpath(odd);
    QDir::setCurrent(odd);
    EXPECT_EQ(Run(), 0);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].first, manager);
    EXPECT_EQ(started[0].second, QStringList{odd + QStringLiteral("/Quillon for Pocket PCs.ini")});
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("Setup complete")});
}

TEST_F(SetupFlow, AManagerThatCannotBeStartedIsAFailure)
{
    SetManager(dir.filePath(QStringLiteral("no such manager")));
    realStart = true;
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("Setup failed!\nCould not start CE application manager:\n")
                                      + dir.filePath(QStringLiteral("no such manager"))});
    EXPECT_EQ(ui.messages[0].icon, SetupUi::Warning);
}
