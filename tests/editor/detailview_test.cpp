// The item text pane: what is typed reaches its node, the Edit commands
// follow the focus, and the search inside an item.

#include "editorfixture.h"

#include "editor/replacedialog.h"
#include "framework/commandids.h"
#include "model/minutefile.h"

#include <QApplication>
#include <QPushButton>

namespace {

const std::vector<EditorTest::Node> kMinute = {{1, QStringLiteral("Attendees"), QStringLiteral("Ann\r\nBob")},
                                               {1, QStringLiteral("Venue"), QStringLiteral("Room 4")},
                                               {1, QStringLiteral("Notes"), QStringLiteral("a\rb")}};

} // namespace

TEST_F(EditorTest, TypedTextReachesItsNodeWhenTheSelectionMoves)
{
    Start({WriteMinute(QStringLiteral("Board.min"), kMinute)});
    Doc()->SetMinuteModified(false);
    Text()->setPlainText(QStringLiteral("Ann\nBob\nCarol"));
    EXPECT_TRUE(Doc()->IsMinuteModified());
    EXPECT_EQ(Doc()->GetNodeText(1), QStringLiteral("Ann\r\nBob")); // not yet

    Select(2);
    EXPECT_EQ(Doc()->GetNodeText(1), QStringLiteral("Ann\r\nBob\r\nCarol"));
    EXPECT_EQ(Text()->toPlainText(), QStringLiteral("Room 4"));

    // The root stores what was typed, then shows nothing and takes no typing.
    Text()->setPlainText(QStringLiteral("Room 5"));
    Select(0);
    EXPECT_EQ(Doc()->GetNodeText(2), QStringLiteral("Room 5"));
    EXPECT_TRUE(Text()->toPlainText().isEmpty());
    EXPECT_TRUE(Text()->isReadOnly());
}

TEST_F(EditorTest, TextsNobodyTypedInKeepTheirBytes)
{
    const QString path = WriteMinute(QStringLiteral("Board.min"), kMinute);
    const QByteArray before = [&] {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }();
    Start({path});
    for (int index : {3, 2, 1, 3, 0})
        Select(index);
    EXPECT_EQ(Doc()->GetNodeText(3), QStringLiteral("a\rb"));
    Send(cmd::Save);
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    EXPECT_EQ(file.readAll(), before);
}

TEST_F(EditorTest, SaveWritesTheTextBeingTypedAndRelabelsTheRoot)
{
    Start({WriteMinute(QStringLiteral("Board.min"), kMinute)});
    Select(2);
    Text()->setPlainText(QStringLiteral("Room 9"));
    const QString other = dir.filePath(QStringLiteral("Other.min"));
    ui.fileAnswers.push_back(other);
    ASSERT_TRUE(Send(cmd::SaveAsMinute));
    EXPECT_EQ(Tree()->RootItem()->text(0), QStringLiteral("Other.min"));
    EXPECT_EQ(Frame()->windowTitle(), QStringLiteral("Other.min - Quillon"));
    MinuteReader reader;
    NodeList saved;
    ASSERT_TRUE(reader.Open(other, other).ok());
    ASSERT_TRUE(reader.ReadInto(saved).ok());
    EXPECT_EQ(saved.at(1)->GetText(), QStringLiteral("Room 9"));
    EXPECT_FALSE(Doc()->IsMinuteModified());
}

TEST_F(EditorTest, EditCommandsFollowTheFocus)
{
    Start({WriteMinute(QStringLiteral("Board.min"), kMinute)});
    Frame()->show();
    QApplication::setActiveWindow(Frame());

    Text()->setFocus();
    ASSERT_TRUE(Text()->hasFocus());
    EXPECT_FALSE(Frame()->IsCommandEnabled(cmd::Cut));
    EXPECT_FALSE(Frame()->IsCommandEnabled(cmd::Copy));
    EXPECT_TRUE(Frame()->IsCommandEnabled(cmd::Paste));
    EXPECT_FALSE(Frame()->IsCommandEnabled(cmd::Undo));
    Text()->selectAll();
    EXPECT_TRUE(Frame()->IsCommandEnabled(cmd::Cut));
    ASSERT_TRUE(Send(cmd::Cut));
    EXPECT_TRUE(Text()->toPlainText().isEmpty());
    EXPECT_TRUE(Frame()->IsCommandEnabled(cmd::Undo));
    ASSERT_TRUE(Send(cmd::Undo));
    EXPECT_EQ(Text()->toPlainText(), QStringLiteral("Ann\nBob"));

    // A tree command works while the text pane has the focus.
    PickCategory(QStringLiteral("Venue"));
    ASSERT_TRUE(Send(cmd::InsertItem));
    EXPECT_EQ(Doc()->GetNodeCount(), 4);
}

TEST_F(EditorTest, FindingInsideAnItemMovesOnAfterEachMatch)
{
    Start({WriteMinute(QStringLiteral("Board.min"), {{1, QStringLiteral("Notes"), QStringLiteral("Budget and budget\r\nBUDGET")}})});
    EXPECT_TRUE(Text()->FindInText(QStringLiteral("budget"), true));
    EXPECT_EQ(Text()->textCursor().selectionStart(), 11);
    EXPECT_FALSE(Text()->FindInText(QStringLiteral("budget"), true));

    Text()->ResetSearch();
    int found = 0;
    while (Text()->FindInText(QStringLiteral("budget"), false))
        ++found;
    EXPECT_EQ(found, 3);
    EXPECT_EQ(Text()->textCursor().selectedText(), QStringLiteral("BUDGET"));

    ui.answers.push_back(IDYES);
    Text()->OnTextNotFound(QStringLiteral("budget"));
    EXPECT_EQ(ui.messages.back().text, QStringLiteral("'budget' not found!\nStart again?"));
    EXPECT_EQ(Text()->m_nSearchBase, 0);
}

TEST_F(EditorTest, ReplacingAsksForEachMatchUntilAll)
{
    Start({WriteMinute(QStringLiteral("Board.min"), {{1, QStringLiteral("Notes"), QStringLiteral("cat cat cat cat")}})});
    std::vector<int> answers = {CDetailView::IDC_NO, CDetailView::IDC_YES, CDetailView::IDC_ALL};
    dialogs[QStringLiteral("133")] = [&answers](QDialog& dialog) {
        const int answer = answers.front();
        answers.erase(answers.begin());
        dialog.findChild<QPushButton*>(QString::number(answer))->click();
        return dialog.result();
    };
    bool atEnd = false;
    EXPECT_TRUE(Text()->ReplaceInText(QStringLiteral("cat"), true, QStringLiteral("tiger"), atEnd)); // No
    EXPECT_TRUE(Text()->ReplaceInText(QStringLiteral("cat"), true, QStringLiteral("ox"), atEnd));    // Yes
    EXPECT_TRUE(Text()->ReplaceInText(QStringLiteral("cat"), true, QStringLiteral("ox"), atEnd));    // All
    EXPECT_FALSE(atEnd);
    EXPECT_TRUE(Text()->m_bReplaceAll);
    EXPECT_TRUE(Text()->ReplaceInText(QStringLiteral("cat"), true, QStringLiteral("ox"), atEnd)); // no question
    EXPECT_TRUE(atEnd);
    EXPECT_EQ(Text()->toPlainText(), QStringLiteral("cat ox ox ox"));
    EXPECT_FALSE(Text()->ReplaceInText(QStringLiteral("cat"), true, QStringLiteral("ox"), atEnd));
    EXPECT_EQ(ui.modalDialogs.size(), 3);
    EXPECT_TRUE(Doc()->IsMinuteModified());
}
