// The item text pane: what is typed reaches its node, the Edit commands
// follow the focus, and the search inside an item.

#include "editorfixture.h"

#include "editor/replacedialog.h"
#include "framework/commandids.h"
#include "model/minutefile.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

namespace {

const std::vector<EditorTest::Node> kMinute = {{1, QStringLiteral("Attendees"), QStringLiteral("Ann\r\nBob")},
                                               {1, QStringLiteral("Venue"), QStringLiteral("Room 4")},
                                               {1, QStringLiteral("Notes"), QStringLiteral("a\rb")}};

// A no-break space and a line separator, which are characters of the text
// and not line breaks of the pane.
const std::vector<EditorTest::Node> kSpecial = {{1, QStringLiteral("Venue"), QStringLiteral("Room\u00a0twelve\u2028Floor\u00a0two")},
                                                {1, QStringLiteral("Notes"), QString()}};

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

TEST_F(EditorTest, TypingKeepsTheCharactersNotTyped)
{
    Start({WriteMinute(QStringLiteral("Board.min"), kSpecial)});
    Frame()->show();
    QApplication::setActiveWindow(Frame());
    Select(1);
    Text()->setFocus();
    QTest::keyClick(Text(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(Text(), QStringLiteral(", east"));
    QTest::keyClick(Text(), Qt::Key_Return);
    QTest::keyClicks(Text(), QStringLiteral("Lift"));
    Select(2);
    EXPECT_EQ(Doc()->GetNodeText(1), QStringLiteral("Room\u00a0twelve\u2028Floor\u00a0two, east\r\nLift"));
}

TEST_F(EditorTest, FindingInsideAnItemMatchesNoBreakSpacesAndLineSeparators)
{
    Start({WriteMinute(QStringLiteral("Board.min"), {{1, QStringLiteral("Venue"), QStringLiteral("Room\u00a0twelve\u2028Floor\u00a0two\r\nLift")}})});
    EXPECT_FALSE(Text()->FindInText(QStringLiteral("Room twelve"), true));
    Text()->ResetSearch();
    ASSERT_TRUE(Text()->FindInText(QStringLiteral("twelve\u2028Floor"), true));
    EXPECT_EQ(Text()->textCursor().selectionStart(), 5);
    // A paragraph break is searched for as a line break.
    ASSERT_TRUE(Text()->FindInText(QStringLiteral("two\nLift"), true));
    EXPECT_EQ(Text()->textCursor().selectionStart(), 18);
    EXPECT_EQ(Text()->textCursor().selectedText(), QStringLiteral("two\u2029Lift"));
}

TEST_F(EditorTest, SaveWritesTheTextBeingTypedAndRelabelsTheRoot)
{
    Start({WriteMinute(QStringLiteral("Board.min"), kMinute)});
    Select(2);
    Text()->setPlainText(QStringLiteral("Room 9"));
    EXPECT_TRUE(Frame()->isWindowModified()) << "the title marks the unsaved change";
    const QString other = dir.filePath(QStringLiteral("Other.min"));
    ui.fileAnswers.push_back(other);
    ASSERT_TRUE(Send(cmd::SaveAsMinute));
    EXPECT_EQ(Tree()->RootItem()->text(0), QStringLiteral("Other.min"));
    EXPECT_EQ(Frame()->windowTitle(), QStringLiteral("Other.min[*] - Quillon"));
    EXPECT_FALSE(Frame()->isWindowModified());
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
