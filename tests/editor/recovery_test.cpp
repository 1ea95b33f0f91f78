// Recovery copies: kept while a minute has unsaved changes, offered after a crash.

#include "editorfixture.h"

#include "app/recoverykeeper.h"
#include "framework/commandids.h"
#include "model/recoverystore.h"

#include <QGuiApplication>
#include <QProcess>
#include <QTest>

namespace {

QList<RecoveryCopy> CopiesIn(const QString& folder)
{
    return RecoveryStore(folder).Copies();
}

} // namespace

// A copy exists exactly while the minute has unsaved changes: focus loss and
// the interval write it, with the typing not yet stored in its item; saving,
// discarding and closing remove it. The minute's own file is never touched.
TEST_F(EditorTest, ARecoveryCopyIsKeptExactlyWhileChangesAreUnsaved)
{
    const QString folder = DevicePath(QStringLiteral("Program Files/Quillon/Recovery"));
    const QString path = WriteMinute(QStringLiteral("Board.min"), {{1, QStringLiteral("Venue"), QStringLiteral("Hall")}});
    const QByteArray original = testsupport::readFile(path);
    Start({path});
    ShowFrame();
    RecoveryKeeper* keeper = app->Recovery();
    const auto typeInVenue = [&](const QString& typed) {
        Click(1);
        Text()->setFocus();
        Text()->moveCursor(QTextCursor::End);
        QTest::keyClicks(Text(), typed);
    };

    typeInVenue(QStringLiteral(" B"));
    EXPECT_TRUE(CopiesIn(folder).isEmpty()) << "nothing is written before the interval";
    emit qGuiApp->applicationStateChanged(Qt::ApplicationInactive);
    keeper->WaitForWrite();
    QList<RecoveryCopy> copies = CopiesIn(folder);
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(copies[0].minutePath, path);
    NodeList copied = ReadBack(RecoveryStore(folder).MinuteFile(copies[0].id));
    ASSERT_EQ(copied.size(), 1);
    EXPECT_EQ(copied.at(0)->GetText(), QStringLiteral("Hall B"));
    // The pane kept its typing: its undo still takes back the last key.
    EXPECT_TRUE(Text()->HasUnstoredEdits());
    EXPECT_EQ(testsupport::readFile(path), original);

    QTest::keyClick(Frame(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(Doc()->IsMinuteModified());
    EXPECT_TRUE(CopiesIn(folder).isEmpty()) << "saved";

    keeper->SetInterval(20);
    typeInVenue(QStringLiteral(" C"));
    for (int i = 0; i < 100 && CopiesIn(folder).isEmpty(); ++i)
        QTest::qWait(20);
    keeper->WaitForWrite();
    ASSERT_EQ(CopiesIn(folder).size(), 1) << "the interval writes it";
    ui.answers = {IDNO};
    Send(cmd::FileNew);
    EXPECT_TRUE(CopiesIn(folder).isEmpty()) << "discarded";

    Doc()->OpenMinuteFile(path);
    typeInVenue(QStringLiteral(" D"));
    emit qGuiApp->applicationStateChanged(Qt::ApplicationInactive);
    keeper->WaitForWrite();
    ASSERT_EQ(CopiesIn(folder).size(), 1);
    ui.answers = {IDNO};
    Frame()->close();
    EXPECT_TRUE(CopiesIn(folder).isEmpty()) << "closed without saving";
    EXPECT_TRUE(ui.unanswered.isEmpty()) << ui.unanswered.join(u'|').toStdString();
}

// Copies a crash left behind are offered newest first, naming the minute: No
// deletes one, Yes opens it as the modified minute it was, with its own path.
TEST_F(EditorTest, StartUpOffersEachCopyLeftBehind)
{
    const QString folder = DevicePath(QStringLiteral("Program Files/Quillon/Recovery"));
    const QString path = WriteMinute(QStringLiteral("Board.min"), {{1, QStringLiteral("Venue"), QStringLiteral("Hall")}});
    const QByteArray original = testsupport::readFile(path);
    const RecoveryStore store(folder);
    NodeList recovered;
    recovered.append(std::make_unique<CTreeNode>(QStringLiteral("Venue"), QStringLiteral("Hall, typed"), 1, CTreeNode::kLeaf));
    ASSERT_TRUE(store.Write(QStringLiteral("older"), path, recovered).ok());
    NodeList untitled;
    untitled.append(std::make_unique<CTreeNode>(QStringLiteral("Draft"), QString(), 1, CTreeNode::kLeaf));
    ASSERT_TRUE(store.Write(QStringLiteral("newer"), QString(), untitled).ok());
    QFile older(store.MinuteFile(QStringLiteral("older")));
    ASSERT_TRUE(older.open(QIODevice::ReadWrite));
    older.setFileTime(QDateTime::currentDateTime().addSecs(-600), QFileDevice::FileModificationTime);
    older.close();

    ui.answers = {IDNO, IDYES};
    Start();
    const QStringList asked = ui.messageTexts();
    ASSERT_EQ(asked.size(), 2);
    EXPECT_TRUE(asked[0].contains(QStringLiteral("Untitled"))) << asked[0].toStdString();
    EXPECT_TRUE(asked[1].contains(path)) << asked[1].toStdString();
    EXPECT_EQ(CopiesIn(folder).size(), 1) << "No deleted the newer copy";

    EXPECT_EQ(Outline(), "Board.min[Venue]");
    EXPECT_TRUE(Doc()->IsMinuteModified());
    EXPECT_EQ(Doc()->GetNodeText(1), QStringLiteral("Hall, typed"));
    EXPECT_EQ(testsupport::readFile(path), original);
    // Save writes where the user expects, and the copy has done its work.
    ShowFrame();
    QTest::keyClick(Frame(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ReadBack(path).at(0)->GetText(), QStringLiteral("Hall, typed"));
    EXPECT_TRUE(CopiesIn(folder).isEmpty());
}

// The editor process is killed (SIGKILL) after typing; the next start
// recovers the typing, and the minute's own file was never touched.
TEST_F(EditorTest, TypingSurvivesAKilledEditor)
{
    const QString path = WriteMinute(QStringLiteral("Board.min"), {{1, QStringLiteral("Venue"), QStringLiteral("Hall")}});
    const QByteArray original = testsupport::readFile(path);
    QProcess editor;
    editor.start(QStringLiteral(QUILLON_TYPING_EDITOR), {DevicePath(QString()), path, QStringLiteral(" and garden")});
    ASSERT_TRUE(editor.waitForStarted());
    while (!editor.canReadLine() && editor.waitForReadyRead(30000)) {
    }
    ASSERT_EQ(editor.readLine(), QByteArray("copied\n")) << editor.readAllStandardError().constData();
    editor.kill();
    ASSERT_TRUE(editor.waitForFinished());
    ASSERT_EQ(editor.exitStatus(), QProcess::CrashExit);

    ui.answers = {IDYES};
    Start();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(Doc()->GetPath(), path);
    EXPECT_TRUE(Doc()->IsMinuteModified());
    EXPECT_EQ(Doc()->GetNodeText(1), QStringLiteral("Hall and garden"));
    EXPECT_EQ(testsupport::readFile(path), original);
}
