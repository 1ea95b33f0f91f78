// Export to files and the clipboard, viewers, and sending to another device.

#include "editorfixture.h"

#include "export/exportcommands.h"
#include "framework/commandids.h"
#include "testsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <csignal>
#include <sys/stat.h>

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
    // A stand-in for the host's sender, registered as the device's: it logs
    // the file it gets to "sent", then runs body.
    void InstallSender(const QByteArray& body = {})
    {
        const QString script = dir.filePath(QStringLiteral("sender"));
        ASSERT_TRUE(testsupport::writeFile(script, "#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"" + dir.filePath(QStringLiteral("sent")).toLocal8Bit()
                                                   + "\"\n" + body));
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        Registry registry(DevicePath(QStringLiteral("registry.reg")));
        ASSERT_TRUE(registry.setValueCreatingKey(RegistryHive::LocalMachine, Shell::AppPathsKey(QStringLiteral("irsquirt.exe")),
                                                 QString(), RegistryValue::fromString(script)));
    }
    // A sender that runs until Release.
    void InstallWaitingSender()
    {
        const QByteArray fifo = dir.filePath(QStringLiteral("go")).toLocal8Bit();
        ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
        InstallSender("read line < \"" + fifo + "\"\n");
    }
    void Release()
    {
        QFile fifo(dir.filePath(QStringLiteral("go")));
        ASSERT_TRUE(fifo.open(QIODevice::WriteOnly));
        fifo.write("\n");
    }
    // Waits for the latest sender to end, and lets its report (if any) come.
    void WaitForSender()
    {
        QProcess* sender = Tree()->Exports().LatestSender();
        ASSERT_NE(sender, nullptr);
        ASSERT_TRUE(sender->waitForFinished());
        QCoreApplication::sendPostedEvents();
    }
    QStringList Sent() const
    {
        return QString::fromLocal8Bit(testsupport::readFile(dir.filePath(QStringLiteral("sent")))).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
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
    SetOption("ExportTextAsASCII", 0); // chosen before UTF-8 was offered: UTF-16
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
        {cmd::ExportMarkdown, "Export minute as Markdown", "Markdown files (*.md)|*.md||", "worked_example_numbered.md", "\\Windows\\pword.exe"},
        // An outline to exchange is never numbered.
        {cmd::ExportOpml, "Export minute as OPML", "OPML files (*.opml)|*.opml||", "worked_example.opml", "\\Windows\\iexplore.exe"},
        {cmd::ExportPdf, "Export minute as PDF", "PDF files (*.pdf)|*.pdf||", nullptr, "\\Windows\\iexplore.exe"},
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
        if (c.golden) {
            EXPECT_EQ(testsupport::readFile(path), Golden(c.golden));
        } else {
            // The PDF holds today's date: its text is read instead.
            const testsupport::ToolRun text = testsupport::runTool(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), path, QStringLiteral("-")});
            EXPECT_EQ(text.error, QString());
            EXPECT_EQ(QString::fromUtf8(text.output).split(QLatin1Char('\n')).mid(2, 6),
                      (QStringList{"1. Attendees", "Ann", "Bob", "1.1. Apologies", "2. Actions", "Call"}));
        }
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
    EXPECT_EQ(ui.messageTexts().back(), QStringLiteral("No program to open the file is installed. Install xdg-utils."));

    // No sender registered, and one that fails: each says why.
    ui.messages.clear();
    Send(cmd::BeamText);
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("No program to send files is installed. Install bluetooth-sendto, "
                                                            "blueman or kdeconnect, then run Setup again.")});
    InstallSender("echo 'some noise' >&2; echo 'No paired device is reachable.' >&2; exit 1\n");
    ui.messages.clear();
    Send(cmd::BeamText);
    WaitForSender();
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("The file could not be sent.\nNo paired device is reachable.")});
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

TEST_F(ExportCommandsTest, ASentFileStaysWhileItsSenderRuns)
{
    SetOption("ExportTextAsASCII", 0);
    Install();
    InstallWaitingSender();
    StartWithMinute();
    ASSERT_TRUE(Send(cmd::BeamText));
    const QString host = DevicePath(QStringLiteral("Program Files/Quillon/Temp/Board.txt"));
    const QString expected = QStringLiteral("Attendees\r\nAnn\r\nBob\r\n\r\nApologies\r\n\r\n\r\nActions\r\nCall\r\n\r\n");
    EXPECT_EQ(testsupport::readFile(host), QByteArray(reinterpret_cast<const char*>(expected.utf16()), expected.size() * 2));

    // Coming back to the window while the sender still runs leaves its file.
    Frame()->m_onActivate();
    EXPECT_TRUE(QFile::exists(host));
    Release();
    WaitForSender();
    EXPECT_EQ(Sent(), QStringList{host});
    Frame()->m_onActivate();
    EXPECT_FALSE(QFile::exists(host));

    // The next send deletes an earlier file whose sender has ended.
    const struct {
        int command;
        const char* file;
        QByteArray start;
    } kinds[] = {
        {cmd::BeamMarkdown, "Board.md", "# Board\n\n## Attendees\n"},
        {cmd::BeamOpml, "Board.opml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<opml version=\"2.0\">"},
        {cmd::BeamPdf, "Board.pdf", "%PDF-"},
    };
    for (const auto& kind : kinds) {
        const QString file = DevicePath(QStringLiteral("Program Files/Quillon/Temp/") + QLatin1String(kind.file));
        Send(kind.command);
        Release();
        WaitForSender();
        EXPECT_TRUE(testsupport::readFile(file).startsWith(kind.start)) << kind.file;
        Send(cmd::BeamRtf);
        EXPECT_FALSE(QFile::exists(file));
        Release();
        WaitForSender();
    }
    Send(cmd::BeamRtf);

    // Exit ends the sender still running and deletes its file.
    QProcess* sender = Tree()->Exports().LatestSender();
    ASSERT_NE(sender, nullptr);
    const qint64 pid = sender->processId();
    app.reset();
    EXPECT_FALSE(QFile::exists(DevicePath(QStringLiteral("Program Files/Quillon/Temp/Board.rtf"))));
    EXPECT_NE(::kill(pid_t(pid), 0), 0);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ExportCommandsTest, ANewInstallationExportsUtf8)
{
    Start({WriteMinute(QStringLiteral("Board.min"), {{1, QString::fromUtf16(u"Caf\u00e9"), QString::fromUtf16(u"\u20ac")}})});
    const QString path = dir.filePath(QStringLiteral("export.pwi"));
    ui.fileAnswers.push_back(path);
    ASSERT_TRUE(Send(cmd::ExportNote));
    EXPECT_EQ(testsupport::readFile(path), QByteArray("Caf\xc3\xa9\r\n\xe2\x82\xac\r\n\r\n"));
}

TEST_F(ExportCommandsTest, AFileThatCannotBeDeletedIsReportedOnceAndTriedAgain)
{
    Install();
    InstallSender();
    StartWithMinute();
    Send(cmd::BeamRtf);
    WaitForSender();
    const QString host = DevicePath(QStringLiteral("Program Files/Quillon/Temp/Board.rtf"));
    ASSERT_TRUE(QFile::remove(host));
    ASSERT_TRUE(QDir().mkpath(host)); // a folder of that name cannot be deleted as a file
    // Closing the message reactivates the window: no second message.
    Frame()->m_onActivate();
    Frame()->m_onActivate();
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("Access to \\Program Files\\Quillon\\Temp\\Board.rtf was denied.")});
    ASSERT_TRUE(QDir(host).removeRecursively());
    ASSERT_TRUE(testsupport::writeFile(host, "still here"));
    Frame()->m_onActivate(); // tried again, silently
    EXPECT_FALSE(QFile::exists(host));
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(ExportCommandsTest, AnUntitledMinuteIsSentAsUntittxtWithoutAnInstallFolder)
{
    InstallSender();
    Start();
    ASSERT_TRUE(Send(cmd::BeamText));
    WaitForSender();
    EXPECT_EQ(Sent(), QStringList{DevicePath(QStringLiteral("Temp/Untittxt"))});
    EXPECT_TRUE(QFile::exists(DevicePath(QStringLiteral("Temp/Untittxt"))));
}

TEST_F(ExportCommandsTest, SendingTheMinuteItselfSavesItFirst)
{
    InstallSender();
    Start();
    // Never saved: cancelled, nothing is sent.
    ui.answers.push_back(IDCANCEL);
    Send(cmd::BeamMinute);
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("The minute must be saved before it can be sent.\nSave it now?")});
    EXPECT_TRUE(Sent().isEmpty());

    // OK: saved under a chosen name, then sent.
    const QString path = dir.filePath(QStringLiteral("Sent.min"));
    ui.answers.push_back(IDOK);
    ui.fileAnswers.push_back(path);
    Send(cmd::BeamMinute);
    WaitForSender();
    EXPECT_EQ(Sent(), QStringList{path});
    EXPECT_TRUE(QFile::exists(path));

    // Saved and unchanged: sent at once, and never deleted afterwards.
    ui.messages.clear();
    Send(cmd::BeamMinute);
    WaitForSender();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(Sent().size(), 2);
    Frame()->m_onActivate();
    EXPECT_TRUE(QFile::exists(path));
}

TEST_F(ExportCommandsTest, PrintingGoesThroughThePrintDialogInThePdfsLayout)
{
    SetOption("NumberAttributesOnExport", 1);
    StartWithMinute();
    ShowFrame();
    const auto textOf = [](const QString& pdf) {
        const testsupport::ToolRun run = testsupport::runTool(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), pdf, QStringLiteral("-")});
        EXPECT_EQ(run.error, QString());
        return run.output;
    };
    const QString exported = dir.filePath(QStringLiteral("Board.pdf"));
    ui.fileAnswers.push_back(exported);
    ui.answers.push_back(IDNO);
    ASSERT_TRUE(Send(cmd::ExportPdf));

    const QString printed = dir.filePath(QStringLiteral("printed.pdf"));
    ui.printAnswers.push_back(printed);
    QTest::keyClick(Frame(), Qt::Key_P, Qt::ControlModifier);
    ASSERT_EQ(ui.printRequests.size(), 1u);
    EXPECT_EQ(ui.printRequests[0].documentName, QStringLiteral("Board"));
    EXPECT_FALSE(ui.printRequests[0].preview);
    EXPECT_TRUE(textOf(printed).startsWith("Board\n"));
    EXPECT_EQ(textOf(printed), textOf(exported));

    // A preview closed without printing says nothing.
    const size_t shown = ui.messages.size();
    ui.printAnswers.push_back(std::nullopt);
    ASSERT_TRUE(Send(cmd::PrintPreview));
    ASSERT_EQ(ui.printRequests.size(), 2u);
    EXPECT_TRUE(ui.printRequests[1].preview);
    EXPECT_EQ(ui.messages.size(), shown);

    // A printer that cannot be written to is reported.
    ui.printAnswers.push_back(dir.filePath(QStringLiteral("missing/printed.pdf")));
    ASSERT_TRUE(Send(cmd::Print));
    EXPECT_EQ(ui.messageTexts().back(), QStringLiteral("The minute could not be printed."));
    EXPECT_TRUE(ui.unanswered.isEmpty());
}
