// Start-up: one instance per device, the command line, the last minute, the file type.

#include "editorfixture.h"

#include "app/aboutdialog.h"
#include "framework/commandids.h"
#include "platform/registry.h"
#include "platform/singleinstance.h"

#include <QElapsedTimer>
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
    EXPECT_EQ(Frame()->windowTitle(), QStringLiteral("Last.min[*] - Quillon"));
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

// Whatever a crash or power loss left as the lock, a start that finds no
// running instance takes it over; a device folder that cannot be written is
// reported, and start-up ends with a failure.
TEST_F(EditorTest, ALockLeftBehindNeverBlocksTheStart)
{
    // The instance lock and the settings lock, in every form a crash or a
    // stray program can leave them.
    const QString lock = DevicePath(QStringLiteral("Quillon.lock"));
    const QString settingsLock = DevicePath(QStringLiteral("registry.reg.lock"));
    const QList<QByteArray> leftovers = {QByteArray(), QByteArray("garbage\x01\x02"), QByteArray("4242\nquillon\nanother-host\n")};
    for (int i = 0; i <= leftovers.size(); ++i) {
        for (const QString& path : {lock, settingsLock}) {
            if (i < leftovers.size())
                ASSERT_TRUE(testsupport::writeFile(path, leftovers[i]));
            else
                ASSERT_TRUE(QDir().mkpath(path + (path == lock ? QStringLiteral("/inside") : QString()))); // a folder in its place
        }
        QElapsedTimer clock;
        clock.start();
        Start();
        EXPECT_NE(app->MainFrame(), nullptr) << "leftover " << i;
        EXPECT_TRUE(ui.messages.empty()) << "leftover " << i;
        EXPECT_NE(app->Profile().ReadInt(QStringLiteral("InstanceInfo"), QStringLiteral("hWnd"), 0), 0) << "leftover " << i;
        EXPECT_LT(clock.elapsed(), 4000) << "leftover " << i;
        EXPECT_FALSE(QFileInfo::exists(settingsLock));
        app.reset();
    }

    const QString readOnly = dir.filePath(QStringLiteral("readonly"));
    QDir().mkpath(readOnly);
    testsupport::openToOthers(dir.path());
    QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    EXPECT_TRUE(testsupport::runUnprivileged([&] { return SingleInstance(readOnly).Acquire() == SingleInstance::Start::Failed; }));
    QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(EditorTest, SettingsThatCannotBeStoredAreReportedOnce)
{
    // The settings file links into a folder that does not exist: it reads as
    // empty, and no write can be stored. Works as root too.
    ASSERT_TRUE(QDir().mkpath(DevicePath(QString())));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("nowhere/registry.reg")), DevicePath(QStringLiteral("registry.reg"))));
    Start();
    ASSERT_NE(app->MainFrame(), nullptr);
    app->Profile().WriteInt(QStringLiteral("Options"), QStringLiteral("AutoOpenLastMinute"), 1);
    const QStringList texts = ui.messageTexts();
    ASSERT_EQ(texts.size(), 1) << texts.join(u'|').toStdString();
    EXPECT_TRUE(texts[0].startsWith(QStringLiteral("Quillon cannot store its settings in "))) << texts[0].toStdString();
}
