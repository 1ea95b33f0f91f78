// Start-up: one instance per device, the command line, the last minute, the file type.

#include "editorfixture.h"

#include "app/aboutdialog.h"
#include "framework/commandids.h"
#include "platform/registry.h"

#include <QLineEdit>
#include <QSignalSpy>

TEST_F(EditorTest, ASecondInstanceAsksTheFirstToComeForwardAndEnds)
{
    Start();
    ScriptedUiService otherUi;
    TestInputPanel otherPanel;
    CQuillonApp second(dir.filePath(QStringLiteral("device")), &otherUi, &otherPanel);
    EXPECT_FALSE(second.InitInstance({QStringLiteral("quillon"), WriteMinute(QStringLiteral("x.min"), {})}));
    EXPECT_EQ(second.MainFrame(), nullptr);
    EXPECT_TRUE(otherUi.messages.empty());
    // The raise request arrives at the first instance over its socket.
    Frame()->showMinimized();
    for (int i = 0; i < 100 && Frame()->isMinimized(); ++i)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_FALSE(Frame()->isMinimized());
}

TEST_F(EditorTest, AFileOnTheCommandLineIsOpenedInsteadOfTheLastMinute)
{
    SetOption("AutoOpenLastMinute", 1);
    const QString last = WriteMinute(QStringLiteral("Last.min"), {{1, QStringLiteral("Last"), {}}});
    const QString named = WriteMinute(QStringLiteral("Named.min"), {{1, QStringLiteral("Named"), {}}});
    {
        Registry registry(DevicePath(QStringLiteral("registry.reg")));
        const QString key = QStringLiteral("software\\Corvexa\\Quillon\\LastMinute");
        registry.createKey(RegistryHive::CurrentUser, key);
        registry.setValue(RegistryHive::CurrentUser, key, QStringLiteral("FilePath"), RegistryValue::fromString(last));
    }
    Start({named});
    EXPECT_EQ(Outline(), "Named.min[Named]");
    EXPECT_EQ(Doc()->GetPath(), named);
}

TEST_F(EditorTest, TheLastMinuteIsReopenedWhenAsked)
{
    SetOption("AutoOpenLastMinute", 1);
    const QString last = WriteMinute(QStringLiteral("Last.min"), {{1, QStringLiteral("Last"), {}}});
    Registry registry(DevicePath(QStringLiteral("registry.reg")));
    const QString key = QStringLiteral("software\\Corvexa\\Quillon\\LastMinute");
    registry.createKey(RegistryHive::CurrentUser, key);
    registry.setValue(RegistryHive::CurrentUser, key, QStringLiteral("FilePath"), RegistryValue::fromString(last));
    Start();
    EXPECT_EQ(Outline(), "Last.min[Last]");
    EXPECT_EQ(Frame()->windowTitle(), QStringLiteral("Last.min - Quillon"));
}

TEST_F(EditorTest, AMinuteThatCannotBeOpenedEndsStartUpAfterItsMessage)
{
    app = std::make_unique<CQuillonApp>(dir.filePath(QStringLiteral("device")), &ui, &panel);
    const QString missing = dir.filePath(QStringLiteral("missing.min"));
    EXPECT_FALSE(app->InitInstance({QStringLiteral("quillon"), missing}));
    EXPECT_EQ(ui.messageTexts(), QStringList{missing + QStringLiteral(" was not found.")});
}

TEST_F(EditorTest, TheFileTypeIsRegisteredWithIconAndCommandWhenInstalled)
{
    Start();
    Registry registry(DevicePath(QStringLiteral("registry.reg")));
    auto defaultOf = [&](const char* key) {
        const auto value = registry.value(RegistryHive::ClassesRoot, QString::fromLatin1(key), QString());
        return value ? value->toString() : QStringLiteral("<none>");
    };
    EXPECT_EQ(defaultOf(".min"), QStringLiteral("Quillon"));
    EXPECT_EQ(defaultOf("Quillon"), QStringLiteral("Quillon Document"));
    EXPECT_TRUE(registry.keyExists(RegistryHive::ClassesRoot, QStringLiteral("Quillon\\DefaultIcon")));
    EXPECT_EQ(defaultOf("Quillon\\DefaultIcon"), QStringLiteral("<none>"));
    EXPECT_FALSE(registry.keyExists(RegistryHive::ClassesRoot, QStringLiteral("Quillon\\Shell\\Open\\Command")));
    EXPECT_NE(registry.value(RegistryHive::CurrentUser, QStringLiteral("software\\Corvexa\\Quillon\\InstanceInfo"),
                             QStringLiteral("hWnd")),
              std::nullopt);

    app.reset();
    const QString install = QStringLiteral("SOFTWARE\\Apps\\Corvexa Quillon for Pocket PCs");
    registry.createKey(RegistryHive::LocalMachine, install);
    registry.setValue(RegistryHive::LocalMachine, install, QStringLiteral("InstallDir"),
                      RegistryValue::fromString(QStringLiteral("\\Program Files\\Quillon")));
    Start();
    EXPECT_EQ(defaultOf("Quillon\\DefaultIcon"), QStringLiteral("\\Program Files\\Quillon\\Quillon.exe,0"));
    EXPECT_EQ(defaultOf("Quillon\\Shell\\Open\\Command"), QStringLiteral("\"\\Program Files\\Quillon\\Quillon.exe\" \"%1\""));
    EXPECT_EQ(app->m_strInstallDir, QStringLiteral("\\Program Files\\Quillon"));
}

TEST_F(EditorTest, AboutShowsTheRecordedVersion)
{
    {
        Registry registry(DevicePath(QStringLiteral("registry.reg")));
        const QString key = QStringLiteral("software\\Corvexa\\Quillon\\Version");
        registry.createKey(RegistryHive::CurrentUser, key);
        registry.setValue(RegistryHive::CurrentUser, key, QStringLiteral("Version"), RegistryValue::fromString(QStringLiteral("1.2")));
    }
    Start();
    QString shown;
    dialogs[QStringLiteral("100")] = [&shown](QDialog& dialog) {
        shown = dialog.windowTitle() + QLatin1Char('|') + dialog.findChild<QLineEdit*>(QStringLiteral("1000"))->text();
        return IDOK;
    };
    ASSERT_TRUE(Send(cmd::About));
    EXPECT_EQ(shown, QStringLiteral("About Quillon|1.2"));
}

TEST_F(EditorTest, ASecondStartHandsItsMinuteToTheFirst)
{
    Start();
    const QString path = WriteMinute(QStringLiteral("Board.min"), {{1, QStringLiteral("Venue"), {}}});
    ScriptedUiService otherUi;
    TestInputPanel otherPanel;
    CQuillonApp second(dir.filePath(QStringLiteral("device")), &otherUi, &otherPanel);
    EXPECT_FALSE(second.InitInstance({QStringLiteral("quillon"), path}));
    EXPECT_EQ(second.StartupExitCode(), 0);
    // The request arrives at the first instance over its socket, which opens the minute.
    for (int i = 0; i < 100 && Doc()->GetPath() != path; ++i)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_EQ(Doc()->GetPath(), path);
    EXPECT_EQ(Outline(), "Board.min[Venue]");
}
