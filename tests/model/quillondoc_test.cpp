// The minute document: new, open, save, save as, revert, the save-changes
// question and the last minute, driven through the scripted UI service.

#include "app/appglobals.h"
#include "app/settingsprofile.h"
#include "framework/commandids.h"
#include "framework/doctemplate.h"
#include "framework/scripteduiservice.h"
#include "framework/view.h"
#include "model/minutefile.h"
#include "model/minuteviewlink.h"
#include "model/quillondoc.h"
#include "platform/devicepaths.h"
#include "platform/registry.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kCaption = QStringLiteral("Quillon");

// The tree view as the document sees it.
class FakeMinuteView : public View, public MinuteViewLink {
public:
    int LevelShift() const override { return 0; }
    void PrepareSave() override
    {
        ++prepareSaves;
        if (onPrepareSave)
            onPrepareSave();
    }
    bool HadFirstUpdate() const override { return hadFirstUpdate; }
    void CloseFindReplace() override { ++findClosed; }
    void OnInitialUpdate() override
    {
        ++initialUpdates;
        hadFirstUpdate = true;
    }

    std::function<void()> onPrepareSave;
    bool hadFirstUpdate = false;
    int prepareSaves = 0;
    int findClosed = 0;
    int initialUpdates = 0;
};

class QuillonDocTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_bExiting = false;
        profile.SetRegistryKey(QStringLiteral("Corvexa"));
        QDir().mkpath(dir.filePath(QStringLiteral("device")));
        makeDocument();
    }
    void TearDown() override { g_bExiting = false; }

    void makeDocument()
    {
        docTemplate.reset();
        doc = std::make_unique<CQuillonDoc>(profile, ui, device);
        doc->AddView(&view);
        doc->SetMinuteView(&view);
        docTemplate = std::make_unique<SingleDocTemplate>(*doc);
    }

    // A minute file with one top-level node per title.
    QString writeMinute(const QString& name, const QStringList& titles)
    {
        const QString path = dir.filePath(name);
        NodeList list;
        for (const QString& title : titles)
            list.append(std::make_unique<CTreeNode>(title, title.toLower(), 1, 1));
        EXPECT_TRUE(WriteMinuteFile(path, path, list).ok());
        return path;
    }

    QStringList titles() const
    {
        QStringList result;
        for (const auto& node : doc->GetNodeList())
            result.append(node->GetTitle());
        return result;
    }

    QStringList fileTitles(const QString& path) const
    {
        MinuteReader reader;
        NodeList list;
        if (!reader.Open(path, path).ok() || !reader.ReadInto(list).ok())
            return {QStringLiteral("<unreadable>")};
        QStringList result;
        for (const auto& node : list)
            result.append(node->GetTitle());
        return result;
    }

    // A named minute, opened and then changed.
    QString openModifiedMinute()
    {
        const QString path = writeMinute(QStringLiteral("Board.min"), {QStringLiteral("Attendees")});
        ui.fileAnswers.push_back(path);
        doc->OnFileOpen();
        doc->InsertNode(QStringLiteral("Actions"), 1, 2, QString(), 0, 1);
        doc->SetMinuteModified(true);
        ui.messages.clear();
        return path;
    }

    QString lastMinute() const
    {
        const auto value = registry.value(RegistryHive::CurrentUser,
                                          QStringLiteral("software\\Corvexa\\Quillon\\LastMinute"), QStringLiteral("FilePath"));
        return value ? value->toString() : QStringLiteral("<none>");
    }

    QTemporaryDir dir;
    Registry registry{dir.filePath(QStringLiteral("device/registry.reg"))};
    SettingsProfile profile{registry};
    DevicePaths device{dir.filePath(QStringLiteral("device"))};
    ScriptedUiService ui;
    FakeMinuteView view;
    std::unique_ptr<CQuillonDoc> doc;
    std::unique_ptr<SingleDocTemplate> docTemplate;
};

} // namespace

TEST_F(QuillonDocTest, ConstructedThenNewGivesAnEmptyUntitledMinute)
{
    EXPECT_EQ(doc->GetPath(), QStringLiteral("Untitled"));
    EXPECT_FALSE(doc->GetDocOpen());
    EXPECT_FALSE(doc->GetReplacePending());
    EXPECT_EQ(doc->GetOpenPath(), QString());
    ASSERT_NE(doc->GetOptions(), nullptr);
    CmdUI save{cmd::Save};
    doc->OnCmdMsg(cmd::Save, &save);
    EXPECT_FALSE(save.enabled);

    doc->SetPathName(QStringLiteral("/somewhere/else.min"));
    doc->SetMinuteModified(true);
    ui.answers.push_back(IDNO); // "Save changes to this untitled minute?"
    ASSERT_TRUE(docTemplate->NewDocument());
    EXPECT_TRUE(doc->GetDocOpen());
    EXPECT_EQ(doc->GetPath(), QStringLiteral("Untitled"));
    EXPECT_EQ(doc->GetPathName(), QString());
    EXPECT_FALSE(doc->IsMinuteModified());
    EXPECT_EQ(view.findClosed, 1);
    EXPECT_EQ(view.initialUpdates, 1);
    save = CmdUI{cmd::Save};
    doc->OnCmdMsg(cmd::SaveAsMinute, &save);
    EXPECT_TRUE(save.enabled);
}

TEST_F(QuillonDocTest, TheFirstMinuteReopensTheLastOneWhenAsked)
{
    const QString path = writeMinute(QStringLiteral("Board.min"), {QStringLiteral("Attendees"), QStringLiteral("Venue")});
    profile.WriteString(QStringLiteral("LastMinute"), QStringLiteral("FilePath"), path);

    // Option off: an empty untitled minute.
    ASSERT_TRUE(docTemplate->NewDocument());
    EXPECT_TRUE(titles().isEmpty());
    EXPECT_EQ(doc->GetPath(), QStringLiteral("Untitled"));

    profile.WriteInt(QStringLiteral("Options"), QStringLiteral("AutoOpenLastMinute"), 1);
    view.hadFirstUpdate = false;
    makeDocument();
    ASSERT_TRUE(docTemplate->NewDocument());
    EXPECT_EQ(titles(), (QStringList{QStringLiteral("Attendees"), QStringLiteral("Venue")}));
    EXPECT_EQ(doc->GetPath(), path);
    EXPECT_EQ(doc->GetOpenPath(), path);

    // Only the first minute of a run.
    ASSERT_TRUE(docTemplate->NewDocument());
    EXPECT_TRUE(titles().isEmpty());

    // A last minute that has gone is skipped without a message.
    QFile::remove(path);
    view.hadFirstUpdate = false;
    makeDocument();
    ASSERT_TRUE(docTemplate->NewDocument());
    EXPECT_TRUE(titles().isEmpty());
    EXPECT_EQ(doc->GetPath(), QStringLiteral("Untitled"));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(QuillonDocTest, OpeningAnotherFileSavesTheModifiedMinuteSilentlyFirst)
{
    const QString board = openModifiedMinute();
    const QString other = writeMinute(QStringLiteral("Other.min"), {QStringLiteral("Date")});
    view.initialUpdates = 0;
    ui.fileAnswers.push_back(other);
    doc->OnFileOpen();

    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(fileTitles(board), (QStringList{QStringLiteral("Attendees"), QStringLiteral("Actions")}));
    EXPECT_EQ(titles(), QStringList{QStringLiteral("Date")});
    EXPECT_EQ(doc->GetPath(), other);
    EXPECT_EQ(doc->GetOpenPath(), other);
    EXPECT_EQ(doc->GetPathName(), other);
    EXPECT_EQ(doc->GetTitle(), QStringLiteral("Other.min"));
    EXPECT_FALSE(doc->IsMinuteModified());
    EXPECT_EQ(view.initialUpdates, 1);

    const FileDialogRequest& request = ui.fileDialogs.back();
    EXPECT_EQ(request.mode, FileDialogRequest::Open);
    EXPECT_EQ(request.title, QStringLiteral("Open minute"));
    EXPECT_EQ(request.filter, QStringLiteral("Minute files (*.min)|*.min||"));
    EXPECT_EQ(request.defaultExtension, QStringLiteral("min"));
    EXPECT_TRUE(request.mustExist);
    EXPECT_EQ(request.initialFolder, QFileInfo(board).absolutePath()) << "the dialog starts beside the open minute";
}

TEST_F(QuillonDocTest, AFileThatCannotBeOpenedKeepsTheMinuteAndItsChanges)
{
    openModifiedMinute();
    const QString gone = dir.filePath(QStringLiteral("Gone.min"));
    doc->SetReplacePending(true); // so nothing is saved on the way
    ui.answers.push_back(IDNO);
    ui.fileAnswers.push_back(gone);
    doc->OnFileOpen();

    EXPECT_EQ(ui.messageTexts().back(), gone + QStringLiteral(" was not found."));
    EXPECT_EQ(ui.messages.back().flags, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(ui.messages.back().caption, kCaption);
    EXPECT_EQ(titles(), (QStringList{QStringLiteral("Attendees"), QStringLiteral("Actions")}));
    EXPECT_TRUE(doc->IsMinuteModified());
    EXPECT_EQ(doc->GetPath(), dir.filePath(QStringLiteral("Board.min")));
}

TEST_F(QuillonDocTest, ADamagedFileLeavesANewUntitledMinute)
{
    openModifiedMinute();
    const QString damaged = dir.filePath(QStringLiteral("Damaged.min"));
    testsupport::writeFile(damaged, testsupport::fromHex("03 00 FF FF 01 00 09 00"));
    view.initialUpdates = 0;
    ui.fileAnswers.push_back(damaged);
    doc->OnFileOpen();

    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("Unexpected file format.")});
    EXPECT_TRUE(titles().isEmpty());
    EXPECT_EQ(doc->GetPath(), QStringLiteral("Untitled"));
    EXPECT_TRUE(doc->GetDocOpen());
    EXPECT_FALSE(doc->IsMinuteModified());
    EXPECT_EQ(view.initialUpdates, 1);
}

TEST_F(QuillonDocTest, OpeningTheMinutesOwnFileAsksToRevert)
{
    const QString board = openModifiedMinute();
    ui.fileAnswers.push_back(board);
    ui.answers.push_back(IDNO);
    doc->OnFileOpen();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Do you want to revert to the saved file\n'%1'?").arg(board));
    EXPECT_EQ(ui.messages[0].flags, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(titles(), (QStringList{QStringLiteral("Attendees"), QStringLiteral("Actions")}));
    EXPECT_TRUE(doc->IsMinuteModified());

    ui.fileAnswers.push_back(board);
    ui.answers.push_back(IDYES);
    doc->OnFileOpen();
    EXPECT_EQ(titles(), QStringList{QStringLiteral("Attendees")});
    EXPECT_FALSE(doc->IsMinuteModified());
    EXPECT_EQ(doc->GetPath(), board);
    EXPECT_FALSE(doc->GetOpenTemplate()); // read once: a later failed open does not read it again
    EXPECT_EQ(fileTitles(board), QStringList{QStringLiteral("Attendees")}); // the changes were not saved
    EXPECT_TRUE(ui.unanswered.isEmpty());
}

TEST_F(QuillonDocTest, SaveAsWritesWhatIsBeingTypedAndNamesTheMinute)
{
    ASSERT_TRUE(docTemplate->NewDocument());
    doc->InsertNode(QStringLiteral("Venue"), 0, 1, QString(), 0, 1);
    doc->SetMinuteModified(true);
    // The tree view puts the pane's text into its node when asked to prepare.
    view.onPrepareSave = [this] { doc->SetNodeText(1, QStringLiteral("Room 4")); };

    // Save on an untitled minute is Save As; cancelling it writes nothing.
    ui.fileAnswers.push_back(std::nullopt);
    doc->OnCmdMsg(cmd::Save, nullptr);
    const FileDialogRequest request = ui.fileDialogs.back();
    EXPECT_EQ(request.mode, FileDialogRequest::Save);
    EXPECT_EQ(request.title, QStringLiteral("Save minute as"));
    EXPECT_EQ(request.initialName, QStringLiteral("*.min"));
    EXPECT_EQ(request.defaultExtension, QStringLiteral("min"));
    EXPECT_TRUE(request.overwritePrompt);
    EXPECT_TRUE(request.initialFolder.isEmpty()) << "no file yet: the last folder or Documents";
    EXPECT_EQ(doc->GetPath(), QStringLiteral("Untitled"));
    EXPECT_TRUE(doc->IsMinuteModified());

    const QString path = dir.filePath(QStringLiteral("Venue.min"));
    ui.fileAnswers.push_back(path);
    doc->OnCmdMsg(cmd::Save, nullptr);
    EXPECT_EQ(doc->GetPath(), path);
    EXPECT_EQ(doc->GetOpenPath(), path);
    EXPECT_EQ(doc->GetTitle(), QStringLiteral("Venue.min"));
    EXPECT_FALSE(doc->IsMinuteModified());
    NodeList saved;
    MinuteReader reader;
    ASSERT_TRUE(reader.Open(path, path).ok());
    ASSERT_TRUE(reader.ReadInto(saved).ok());
    EXPECT_EQ(saved.at(0)->GetText(), QStringLiteral("Room 4"));

    // Save now writes to the file without a dialog.
    doc->SetNodeText(1, QStringLiteral("changed"));
    view.onPrepareSave = nullptr;
    doc->SetMinuteModified(true);
    doc->OnCmdMsg(cmd::Save, nullptr);
    EXPECT_EQ(ui.fileDialogs.size(), 2u);
    EXPECT_FALSE(doc->IsMinuteModified());
    EXPECT_EQ(view.prepareSaves, 2);
}

TEST_F(QuillonDocTest, AFailedSaveAsKeepsThePathAndTheChanges)
{
    const QString board = openModifiedMinute();
    const QString nowhere = dir.filePath(QStringLiteral("missing/Board.min"));
    ui.fileAnswers.push_back(nowhere);
    EXPECT_FALSE(doc->OnFileSaveAs());
    EXPECT_EQ(ui.messageTexts(), QStringList{nowhere + QStringLiteral(" was not found.")});
    EXPECT_EQ(doc->GetPath(), board);
    EXPECT_EQ(doc->GetPathName(), board);
    EXPECT_EQ(doc->GetOpenPath(), board);
    EXPECT_TRUE(doc->IsMinuteModified());
}

TEST_F(QuillonDocTest, APathWhoseSecondCharacterIsABackslashLosesItsFirst)
{
    QDir().mkpath(device.toHost(QStringLiteral("\\My Documents")));
    const QString host = device.toHost(QStringLiteral("\\My Documents\\Board.min"));
    NodeList list;
    list.append(std::make_unique<CTreeNode>(QStringLiteral("Venue"), QString(), 1, 1));
    ASSERT_TRUE(WriteMinuteFile(host, host, list).ok());

    const QString doubled = QStringLiteral("\\\\My Documents\\Board.min");
    ASSERT_TRUE(doc->OnOpenMinute(doubled));
    EXPECT_EQ(titles(), QStringList{QStringLiteral("Venue")});
    EXPECT_EQ(doc->GetPath(), doubled); // recorded as given

    doc->SetNodeTitle(QStringLiteral("Agenda"), 1);
    ASSERT_TRUE(doc->OnSaveMinute(doubled));
    EXPECT_EQ(fileTitles(host), QStringList{QStringLiteral("Agenda")});
}

TEST_F(QuillonDocTest, SaveChangesCheckWithoutAReplacePending)
{
    // Unmodified: nothing happens.
    ASSERT_TRUE(docTemplate->NewDocument());
    EXPECT_TRUE(doc->QuerySaveChanges());
    EXPECT_TRUE(ui.messages.empty());

    // Modified and named: saved silently, with the typed text.
    const QString board = openModifiedMinute();
    view.prepareSaves = 0;
    EXPECT_TRUE(doc->QuerySaveChanges());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(view.prepareSaves, 1);
    EXPECT_EQ(fileTitles(board), (QStringList{QStringLiteral("Attendees"), QStringLiteral("Actions")}));

    // A silent save that fails keeps the minute, and asks what to do.
    const QString moved = dir.filePath(QStringLiteral("sub/Board.min"));
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("sub"))));
    ui.fileAnswers.push_back(moved);
    ASSERT_TRUE(doc->OnFileSaveAs());
    ASSERT_TRUE(QDir(dir.filePath(QStringLiteral("sub"))).removeRecursively());
    doc->SetMinuteModified(true);
    EXPECT_FALSE(doc->QuerySaveChanges());
    EXPECT_EQ(ui.messageTexts(), (QStringList{moved + QStringLiteral(" was not found."), QStringLiteral("Save changes to %1?").arg(moved)}));

    // Modified and never saved: asked, not written to a file called "Untitled".
    makeDocument();
    ASSERT_TRUE(docTemplate->NewDocument());
    doc->InsertNode(QStringLiteral("Venue"), 0, 1, QString(), 0, 1);
    doc->SetMinuteModified(true);
    ui.messages.clear();
    ui.answers.push_back(IDNO);
    EXPECT_TRUE(doc->QuerySaveChanges());
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("Save changes to this untitled minute?")});
    EXPECT_FALSE(QFile::exists(QStringLiteral("Untitled")));
    EXPECT_FALSE(QFile::exists(device.toHost(QStringLiteral("Untitled"))));
}

TEST_F(QuillonDocTest, SaveChangesCheckForAnUntitledMinuteBeingReplaced)
{
    ASSERT_TRUE(docTemplate->NewDocument());
    doc->SetReplacePending(true);
    EXPECT_TRUE(doc->QuerySaveChanges()); // not modified: no question

    doc->InsertNode(QStringLiteral("Venue"), 0, 1, QString(), 0, 1);
    doc->SetMinuteModified(true);

    ui.answers.push_back(IDCANCEL);
    EXPECT_FALSE(doc->QuerySaveChanges());
    EXPECT_EQ(ui.messages.back().text, QStringLiteral("Save changes to this untitled minute?"));
    EXPECT_EQ(ui.messages.back().flags, MB_YESNOCANCEL | MB_ICONQUESTION);
    EXPECT_EQ(ui.messages.back().caption, kCaption);

    ui.answers.push_back(IDNO);
    EXPECT_TRUE(doc->QuerySaveChanges());
    EXPECT_TRUE(ui.fileDialogs.empty());

    // Yes, then cancelling the file dialog, still goes on.
    ui.answers.push_back(IDYES);
    ui.fileAnswers.push_back(std::nullopt);
    EXPECT_TRUE(doc->QuerySaveChanges());

    // Yes, then a file that cannot be written, does not.
    ui.answers.push_back(IDYES);
    ui.fileAnswers.push_back(dir.filePath(QStringLiteral("missing/x.min")));
    EXPECT_FALSE(doc->QuerySaveChanges());

    const QString path = dir.filePath(QStringLiteral("Kept.min"));
    ui.answers.push_back(IDYES);
    ui.fileAnswers.push_back(path);
    EXPECT_TRUE(doc->QuerySaveChanges());
    EXPECT_EQ(fileTitles(path), QStringList{QStringLiteral("Venue")});
    EXPECT_TRUE(ui.unanswered.isEmpty());
}

TEST_F(QuillonDocTest, SaveChangesCheckForANamedMinuteAtExit)
{
    const QString board = openModifiedMinute();
    g_bExiting = true;

    ui.answers.push_back(IDCANCEL);
    EXPECT_FALSE(doc->QuerySaveChanges());
    EXPECT_EQ(ui.messages.back().text, QStringLiteral("Save changes to %1?").arg(board));
    EXPECT_EQ(ui.messages.back().flags, MB_YESNOCANCEL | MB_ICONQUESTION);

    ui.answers.push_back(IDNO);
    EXPECT_TRUE(doc->QuerySaveChanges());
    EXPECT_EQ(fileTitles(board), QStringList{QStringLiteral("Attendees")});

    ui.answers.push_back(IDYES);
    EXPECT_TRUE(doc->QuerySaveChanges());
    EXPECT_EQ(fileTitles(board), (QStringList{QStringLiteral("Attendees"), QStringLiteral("Actions")}));
    EXPECT_FALSE(doc->IsMinuteModified());
}

TEST_F(QuillonDocTest, AMinuteFromATemplateIsUntitledUntilSaved)
{
    const QString weekly = writeMinute(QStringLiteral("Weekly.min"), {QStringLiteral("Agenda"), QStringLiteral("Actions")});
    ASSERT_TRUE(docTemplate->NewDocument());
    doc->ChooseTemplate(weekly);
    doc->SetReplacePending(true);
    ASSERT_TRUE(docTemplate->NewDocument());
    EXPECT_EQ(titles(), (QStringList{QStringLiteral("Agenda"), QStringLiteral("Actions")}));
    EXPECT_EQ(doc->GetPath(), QStringLiteral("Untitled"));
    EXPECT_FALSE(doc->GetFromTemplate());
    EXPECT_FALSE(doc->IsMinuteModified());

    // Never saved: the minute has no file, and the template is not taken for one.
    doc->OnCloseMinute();
    EXPECT_EQ(lastMinute(), QString());
    EXPECT_FALSE(doc->GetDocOpen());
    EXPECT_EQ(doc->GetPath(), QString());
    EXPECT_TRUE(doc->GetReplacePending());

    // Saved: the file is.
    makeDocument();
    doc->ChooseTemplate(weekly);
    ASSERT_TRUE(docTemplate->NewDocument());
    const QString mine = dir.filePath(QStringLiteral("Mine.min"));
    ui.fileAnswers.push_back(mine);
    doc->OnFileSave();
    doc->OnCloseMinute();
    EXPECT_EQ(lastMinute(), mine);

    // A minute opened by name afterwards gets its own path.
    makeDocument();
    doc->ChooseTemplate(weekly);
    ASSERT_TRUE(docTemplate->NewDocument());
    ui.fileAnswers.push_back(mine);
    doc->OnFileOpen();
    EXPECT_EQ(doc->GetPath(), mine);
}

TEST_F(QuillonDocTest, ClosingRecordsAnEmptyLastMinuteWhenNoFileWasUsed)
{
    ASSERT_TRUE(docTemplate->NewDocument());
    doc->OnCloseMinute();
    EXPECT_EQ(lastMinute(), QString());
}

// A read that fails leaves an empty minute with nothing to save, reported once,
// whether it was a template, the last minute, or a file opened after a revert.
TEST_F(QuillonDocTest, AFailedReadLeavesAnUnmodifiedMinuteAndOneMessage)
{
    const QString damaged = dir.filePath(QStringLiteral("Damaged.min"));
    ASSERT_TRUE(testsupport::writeFile(damaged, testsupport::fromHex("03 00 FF FF 01 00 09 00")));
    ASSERT_TRUE(docTemplate->NewDocument());
    doc->ChooseTemplate(damaged);
    doc->SetReplacePending(true);
    ASSERT_TRUE(docTemplate->NewDocument());
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("Unexpected file format.")});
    EXPECT_FALSE(doc->IsMinuteModified());

    const QString board = writeMinute(QStringLiteral("Board.min"), {QStringLiteral("Agenda")});
    ui.fileAnswers.push_back(board);
    doc->OnFileOpen();
    ui.fileAnswers.push_back(board);
    ui.answers.push_back(IDYES); // revert
    doc->OnFileOpen();
    ui.messages.clear();
    ui.fileAnswers.push_back(damaged);
    doc->OnFileOpen();
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("Unexpected file format.")});
    EXPECT_TRUE(titles().isEmpty());
    EXPECT_FALSE(doc->IsMinuteModified());
}

// When the silent save cannot be made, the user is asked instead of being stuck.
TEST_F(QuillonDocTest, AFailedSilentSaveAsksInsteadOfBlocking)
{
    QDir(dir.filePath(QStringLiteral("gone"))).mkpath(QStringLiteral("."));
    const QString path = dir.filePath(QStringLiteral("gone/Board.min"));
    NodeList list;
    list.append(std::make_unique<CTreeNode>(QStringLiteral("Agenda"), QString(), 1, 1));
    ASSERT_TRUE(WriteMinuteFile(path, path, list).ok());
    ui.fileAnswers.push_back(path);
    doc->OnFileOpen();
    doc->SetMinuteModified(true);
    ASSERT_TRUE(QDir(dir.filePath(QStringLiteral("gone"))).removeRecursively());
    ui.messages.clear();

    ui.answers = {IDCANCEL};
    EXPECT_FALSE(doc->QuerySaveChanges());
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].text, QStringLiteral("Save changes to %1?").arg(path));
    EXPECT_EQ(ui.messages[1].flags, unsigned(MB_YESNOCANCEL | MB_ICONQUESTION));
    ui.answers = {IDNO};
    EXPECT_TRUE(doc->QuerySaveChanges());
}

// A writable minute in a folder that takes no new files is still saved.
TEST_F(QuillonDocTest, AMinuteInAReadOnlyFolderIsSavedInPlace)
{
    const QString folder = dir.filePath(QStringLiteral("shared"));
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/Board.min");
    NodeList before;
    before.append(std::make_unique<CTreeNode>(QStringLiteral("Old"), QString(), 1, 1));
    ASSERT_TRUE(WriteMinuteFile(path, path, before).ok());
    testsupport::openToOthers(dir.path());
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther | QFile::WriteOther);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    const bool saved = testsupport::runUnprivileged([&] {
        NodeList after;
        after.append(std::make_unique<CTreeNode>(QStringLiteral("New"), QStringLiteral("text"), 1, 1));
        return WriteMinuteFile(path, path, after).ok();
    });
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(saved);
    EXPECT_EQ(fileTitles(path), QStringList{QStringLiteral("New")});
}
