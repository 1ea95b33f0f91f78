// Export to files and the clipboard, viewers, and sending to another device.

#include "editorfixture.h"

#include "framework/commandids.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>

namespace {

class ExportCommandsTest : public EditorTest {
protected:
    void Install()
    {
        Registry registry(DevicePath(QStringLiteral("registry.reg")));
        const QString key = QStringLiteral("SOFTWARE\\Apps\\Corvexa Quillon for Pocket PCs");
        registry.createKey(RegistryHive::LocalMachine, key);
        registry.setValue(RegistryHive::LocalMachine, key, QStringLiteral("InstallDir"),
                          RegistryValue::fromString(QStringLiteral("\\Program Files\\Quillon")));
    }
    // The export worked example as Board.min.
    void StartWithMinute()
    {
        Start({WriteMinute(QStringLiteral("Board.min"), {{1, QStringLiteral("Attendees"), QStringLiteral("Ann\r\nBob")},
                                                         {2, QStringLiteral("Apologies"), QString()},
                                                         {1, QStringLiteral("Actions"), QStringLiteral("Call")}})});
    }
    static QByteArray Golden(const char* name)
    {
        return testsupport::readFile(testsupport::dataPath(QString::fromLatin1(name)));
    }
};

} // namespace

TEST_F(ExportCommandsTest, ExportsAreWrittenAndOfferedToTheirViewer)
{
    SetOption("NumberAttributesOnExport", 1);
    StartWithMinute();
    const struct {
        int command;
        const char* title;
        const char* filter;
        const char* golden;
        const char* viewer;
    } cases[] = {
        {cmd::ExportText, "Export minute as text", "Text files (*.txt)|*.txt||", "worked_example_numbered.txt", "\\Windows\\pword.exe"},
        {cmd::ExportNote, "Export minute as note", "Note files (*.pwi)|*.pwi||", "worked_example_numbered.txt", "\\Windows\\notes.exe"},
        {cmd::ExportRtf, "Export minute as Word file", "Pocket Word files (*.rtf)|*.rtf||", "worked_example_numbered.rtf", "\\Windows\\pword.exe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        shell.started.clear();
        const QString path = dir.filePath(QStringLiteral("export"));
        ui.fileAnswers.push_back(path);
        ui.answers.push_back(IDYES);
        ASSERT_TRUE(Send(c.command));
        const FileDialogRequest& request = ui.fileDialogs.back();
        EXPECT_EQ(request.title, QString::fromLatin1(c.title));
        EXPECT_EQ(request.filter, QString::fromLatin1(c.filter));
        EXPECT_EQ(request.initialName, QStringLiteral("*.") + request.defaultExtension);
        EXPECT_TRUE(request.overwritePrompt);
        EXPECT_EQ(testsupport::readFile(path), Golden(c.golden));
        EXPECT_EQ(ui.messages.back().text, QStringLiteral("Open the file?"));
        EXPECT_EQ(ui.messages.back().flags, MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND);
        ASSERT_EQ(shell.started.size(), 1u);
        EXPECT_EQ(shell.started[0].verb, QStringLiteral("Open"));
        EXPECT_EQ(shell.started[0].file, QString::fromLatin1(c.viewer));
        EXPECT_EQ(shell.started[0].parameters, path);
        EXPECT_EQ(shell.started[0].directory, QStringLiteral("\\Windows"));
        EXPECT_EQ(shell.started[0].show, 5);
    }

    // No: the file stays and nothing starts.
    shell.started.clear();
    const QString html = dir.filePath(QStringLiteral("Board.htm"));
    ui.fileAnswers.push_back(html);
    ui.answers.push_back(IDNO);
    Send(cmd::ExportHtml);
    EXPECT_TRUE(QFile::exists(html));
    EXPECT_TRUE(shell.started.empty());

    // Cancel: nothing at all.
    const size_t asked = ui.messages.size();
    ui.fileAnswers.push_back(std::nullopt);
    Send(cmd::ExportHtml);
    EXPECT_EQ(ui.messages.size(), asked);
    EXPECT_TRUE(ui.unanswered.isEmpty());
}

TEST_F(ExportCommandsTest, FailuresAreReportedInsteadOfOfferingAFile)
{
    StartWithMinute();
    const QString nowhere = dir.filePath(QStringLiteral("missing/out.txt"));
    ui.fileAnswers.push_back(nowhere);
    Send(cmd::ExportText);
    EXPECT_EQ(ui.messageTexts(), QStringList{nowhere + QStringLiteral(" was not found.")});
    EXPECT_TRUE(shell.started.empty());

    shell.succeeds = false;
    ui.fileAnswers.push_back(dir.filePath(QStringLiteral("out.htm")));
    ui.answers.push_back(IDYES);
    Send(cmd::ExportHtml);
    EXPECT_EQ(ui.messageTexts().back(), QStringLiteral("Could not start \\Windows\\iexplore.exe."));
}

TEST_F(ExportCommandsTest, TheClipboardGetsTheTextAndAConfirmation)
{
    SetOption("NumberAttributesOnExport", 1);
    SetOption("ExportTextAsASCII", 1);
    StartWithMinute();
    Select(1);
    Text()->setPlainText(QStringLiteral("Ann\nBob\nCy"));
    ASSERT_TRUE(Send(cmd::ExportClipboard));
    EXPECT_EQ(ui.clipboardText, QStringLiteral("1.\tAttendees\r\nAnn\r\nBob\r\nCy\r\n\r\n1.1.\tApologies\r\n\r\n\r\n2.\tActions\r\nCall\r\n\r\n"));
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("Exported Minute")});
    EXPECT_TRUE(ui.fileDialogs.empty());
}

TEST_F(ExportCommandsTest, SendingAnExportLeavesATemporaryFileUntilTheWindowComesBack)
{
    Install();
    StartWithMinute();
    ASSERT_TRUE(Send(cmd::BeamText));
    const QString temp = QStringLiteral("\\Program Files\\Quillon\\Temp\\Board.txt");
    ASSERT_EQ(shell.started.size(), 1u);
    EXPECT_EQ(shell.started[0].file, QStringLiteral("\\Windows\\irsquirt.exe"));
    EXPECT_EQ(shell.started[0].parameters, temp);
    const QString host = DevicePath(QStringLiteral("Program Files/Quillon/Temp/Board.txt"));
    const QString expected = QStringLiteral("Attendees\r\nAnn\r\nBob\r\n\r\nApologies\r\n\r\n\r\nActions\r\nCall\r\n\r\n");
    EXPECT_EQ(testsupport::readFile(host), QByteArray(reinterpret_cast<const char*>(expected.utf16()), expected.size() * 2));

    // Two sends before the window comes back: only the second file is deleted.
    ASSERT_TRUE(Send(cmd::BeamHtml));
    const QString htmHost = DevicePath(QStringLiteral("Program Files/Quillon/Temp/Board.htm"));
    EXPECT_TRUE(QFile::exists(htmHost));
    Frame()->m_onActivate();
    EXPECT_FALSE(QFile::exists(htmHost));
    EXPECT_TRUE(QFile::exists(host));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ExportCommandsTest, AFileThatCannotBeDeletedIsTriedAgain)
{
    Install();
    StartWithMinute();
    Send(cmd::BeamRtf);
    const QString host = DevicePath(QStringLiteral("Program Files/Quillon/Temp/Board.rtf"));
    ASSERT_TRUE(QFile::remove(host));
    ASSERT_TRUE(QDir().mkpath(host)); // a folder of that name cannot be deleted as a file
    Frame()->m_onActivate();
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("Access to \\Program Files\\Quillon\\Temp\\Board.rtf was denied.")});
    ASSERT_TRUE(QDir(host).removeRecursively());
    Frame()->m_onActivate(); // gone by now: nothing more to do or say
    Frame()->m_onActivate();
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(ExportCommandsTest, AnUntitledMinuteIsSentAsUntittxtWithoutAnInstallFolder)
{
    Start();
    ASSERT_TRUE(Send(cmd::BeamText));
    ASSERT_EQ(shell.started.size(), 1u);
    EXPECT_EQ(shell.started[0].parameters, QStringLiteral("\\Temp\\Untittxt"));
    EXPECT_TRUE(QFile::exists(DevicePath(QStringLiteral("Temp/Untittxt"))));
}

TEST_F(ExportCommandsTest, SendingTheMinuteItselfSavesItFirst)
{
    Start();
    // Never saved: cancelled, nothing is sent.
    ui.answers.push_back(IDCANCEL);
    Send(cmd::BeamMinute);
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("The minute must be saved before it can be sent.\nSave it now?")});
    EXPECT_TRUE(shell.started.empty());

    // OK: saved under a chosen name, then sent.
    const QString path = dir.filePath(QStringLiteral("Sent.min"));
    ui.answers.push_back(IDOK);
    ui.fileAnswers.push_back(path);
    Send(cmd::BeamMinute);
    ASSERT_EQ(shell.started.size(), 1u);
    EXPECT_EQ(shell.started[0].parameters, path);
    EXPECT_TRUE(QFile::exists(path));

    // Saved and unchanged: sent at once, and never deleted afterwards.
    ui.messages.clear();
    Send(cmd::BeamMinute);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(shell.started.size(), 2u);
    Frame()->m_onActivate();
    EXPECT_TRUE(QFile::exists(path));
}
