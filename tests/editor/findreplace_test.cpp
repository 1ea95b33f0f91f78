// Find and replace across the agenda, and the recent searches.

#include "editorfixture.h"

#include "catalogue/findreplace.h"
#include "editor/detailview.h"
#include "framework/commandids.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

namespace {

// A[A1[A1a]] B, with texts to search.
const std::vector<EditorTest::Node> kAgenda = {{1, QStringLiteral("A"), QStringLiteral("no match here")},
                                               {2, QStringLiteral("A1"), QStringLiteral("Action one")},
                                               {3, QStringLiteral("A1a"), QStringLiteral("cat and cat")},
                                               {1, QStringLiteral("B"), QStringLiteral("last ACTION, cat")}};

class FindReplaceTest : public EditorTest {
protected:
    // Answers the find dialog: type a text (unless null), choose the replacement and press a button.
    void Answer(const QString& find, const QString& replacement = QString(), int button = CFindReplaceDlg::IDC_FIND_NEXT,
                bool matchCase = false)
    {
        dialogs[QStringLiteral("135")] = [=, this](QDialog& dialog) {
            auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("1007"));
            seenFind = combo->currentText();
            seenRecent.clear();
            for (int i = 0; i < combo->count(); ++i)
                seenRecent.append(combo->itemText(i));
            findEnabled = dialog.findChild<QPushButton*>(QStringLiteral("1004"))->isEnabled();
            replaceEnabled = dialog.findChild<QPushButton*>(QStringLiteral("1015"))->isEnabled();
            replaceEditEnabled = dialog.findChild<QLineEdit*>(QStringLiteral("1000"))->isEnabled();
            if (button == IDCANCEL)
                return IDCANCEL;
            if (!find.isNull())
                combo->setEditText(find);
            dialog.findChild<QLineEdit*>(QStringLiteral("1000"))->setText(replacement);
            dialog.findChild<QCheckBox*>(QStringLiteral("1012"))->setChecked(matchCase);
            dialog.findChild<QPushButton*>(QString::number(button))->click();
            return dialog.result();
        };
    }
    QString Selected() const { return Text()->textCursor().selectedText(); }
    QString Current() const { return Tree()->currentItem()->text(0); }
    QStringList Stored() const
    {
        QStringList values;
        for (int i = 1; i <= 5; ++i)
            values.append(app->Profile().ReadString(QStringLiteral("RecentUserFinds"), QStringLiteral("FI%1").arg(i), QStringLiteral("-")));
        return values;
    }

    QString seenFind;
    QStringList seenRecent;
    bool findEnabled = false;
    bool replaceEnabled = false;
    bool replaceEditEnabled = false;
};

} // namespace

TEST_F(FindReplaceTest, FindNextWalksTheWholeAgendaAndStartsAgainAtTheTop)
{
    Start({WriteMinute(QStringLiteral("M.min"), kAgenda)});
    Answer(QStringLiteral("ACTION"));
    ASSERT_TRUE(Send(cmd::Find));
    EXPECT_EQ(Current(), QStringLiteral("A1")); // "Action" found with Match Case off
    EXPECT_EQ(Selected(), QStringLiteral("Action"));
    ASSERT_TRUE(Send(cmd::FindNext));
    // Past the end of A's deeper branch the search goes on into B.
    EXPECT_EQ(Current(), QStringLiteral("B"));
    EXPECT_EQ(Selected(), QStringLiteral("ACTION"));
    ASSERT_TRUE(Send(cmd::FindNext));
    EXPECT_EQ(Current(), QStringLiteral("A")); // no more: the first item, without a word
    EXPECT_TRUE(ui.messages.empty());
    ASSERT_TRUE(Send(cmd::FindNext));
    EXPECT_EQ(Current(), QStringLiteral("A1"));
}

TEST_F(FindReplaceTest, WithinAnItemEachFindContinuesAfterTheLastMatch)
{
    Start({WriteMinute(QStringLiteral("M.min"), kAgenda)});
    Select(3);
    Answer(QStringLiteral("cat"), QString(), CFindReplaceDlg::IDC_FIND_NEXT, true);
    Send(cmd::Find);
    EXPECT_EQ(Text()->textCursor().selectionStart(), 0);
    Send(cmd::FindNext);
    EXPECT_EQ(Current(), QStringLiteral("A1a"));
    EXPECT_EQ(Text()->textCursor().selectionStart(), 8);
    Send(cmd::FindNext);
    EXPECT_EQ(Current(), QStringLiteral("B"));
}

TEST_F(FindReplaceTest, TheDialogOffersTheSelectionAndTheButtonsFitTheMode)
{
    Start({WriteMinute(QStringLiteral("M.min"), kAgenda)});
    Select(2);
    Text()->setFocus();
    QTextCursor cursor = Text()->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(6, QTextCursor::KeepAnchor);
    Text()->setTextCursor(cursor);

    Answer(QString(), QString(), IDCANCEL);
    Tree()->Find().OpenFindDialog(false);
    EXPECT_EQ(seenFind, QStringLiteral("Action"));
    EXPECT_TRUE(findEnabled);
    EXPECT_FALSE(replaceEnabled);
    EXPECT_FALSE(replaceEditEnabled);
    EXPECT_EQ(Tree()->Find().Dialog().m_strFind, QString()); // cancelled: the earlier text is back

    Select(0);
    Tree()->Find().OpenFindDialog(true);
    EXPECT_EQ(seenFind, QString());
    EXPECT_FALSE(findEnabled); // nothing to find yet
    EXPECT_FALSE(replaceEnabled);
    EXPECT_TRUE(replaceEditEnabled);

    // From the tree, Find and Replace need an item, not the root.
    EXPECT_FALSE(Frame()->IsCommandEnabled(cmd::Find));
    Select(1);
    EXPECT_TRUE(Frame()->IsCommandEnabled(cmd::Replace));

    // Find Next without a search text opens the dialog.
    ui.modalDialogs.clear();
    Send(cmd::FindNext);
    EXPECT_EQ(ui.modalDialogs, QStringList{QStringLiteral("135")});
}

TEST_F(FindReplaceTest, ReplaceAsksAtEachMatchAndAllDoesTheRest)
{
    Start({WriteMinute(QStringLiteral("M.min"), kAgenda)});
    std::vector<int> answers = {CDetailView::IDC_NO, CDetailView::IDC_YES, CDetailView::IDC_ALL};
    dialogs[QStringLiteral("133")] = [&answers](QDialog&) {
        if (answers.empty())
            return int(IDCANCEL);
        const int answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    };
    Select(3);
    Answer(QStringLiteral("cat"), QStringLiteral("tiger"), CFindReplaceDlg::IDC_REPLACE);
    ASSERT_TRUE(Send(cmd::Replace)); // first match: No
    EXPECT_EQ(Text()->toPlainText(), QStringLiteral("cat and cat"));
    Send(cmd::ReplaceNext);          // second: Yes, longer
    EXPECT_EQ(Doc()->GetNodeText(3), QStringLiteral("cat and tiger"));
    EXPECT_EQ(Current(), QStringLiteral("B")); // that match ended the text
    Send(cmd::ReplaceNext);          // All: the rest of the agenda, no more questions
    EXPECT_TRUE(answers.empty());
    EXPECT_EQ(Doc()->GetNodeText(4), QStringLiteral("last ACTION, tiger"));
    EXPECT_EQ(Doc()->GetNodeText(3), QStringLiteral("cat and tiger"));
    EXPECT_EQ(Current(), QStringLiteral("A")); // and the first item is selected
    EXPECT_TRUE(Doc()->IsMinuteModified());

    // A shorter replacement; All from the first match on replaces everything at once.
    Answer(QStringLiteral("tiger"), QStringLiteral("ox"), CFindReplaceDlg::IDC_REPLACE);
    answers = {CDetailView::IDC_ALL};
    Send(cmd::Replace);
    EXPECT_TRUE(answers.empty());
    EXPECT_EQ(Doc()->GetNodeText(3), QStringLiteral("cat and ox"));
    EXPECT_EQ(Doc()->GetNodeText(4), QStringLiteral("last ACTION, ox"));
}

TEST_F(FindReplaceTest, ReplaceNextAfterAFindDoesNothing)
{
    Start({WriteMinute(QStringLiteral("M.min"), kAgenda)});
    Answer(QStringLiteral("cat"));
    Send(cmd::Find);
    const QString before = Text()->toPlainText();
    Send(cmd::ReplaceNext);
    EXPECT_EQ(Text()->toPlainText(), before);
    EXPECT_EQ(ui.modalDialogs.size(), 1);
}

TEST_F(FindReplaceTest, RecentSearchesKeepTheLastFiveNewestFirst)
{
    Start({WriteMinute(QStringLiteral("M.min"), kAgenda)});
    for (const char* text : {"one", "two", "three", "four", "five", "six"}) {
        Answer(QString::fromLatin1(text));
        Select(1);
        Send(cmd::Find);
    }
    EXPECT_EQ(Tree()->Find().m_recentFinds, (QStringList{"six", "five", "four", "three", "two"}));
    EXPECT_EQ(Stored(), (QStringList{"six", "five", "four", "three", "two"}));

    // An older search again: to the top of the list, not of the registry.
    Answer(QStringLiteral("four"));
    Select(1);
    Send(cmd::Find);
    EXPECT_EQ(seenRecent, (QStringList{"six", "five", "four", "three", "two"}));
    EXPECT_EQ(Tree()->Find().m_recentFinds, (QStringList{"four", "six", "five", "three", "two"}));
    EXPECT_EQ(Stored(), (QStringList{"six", "five", "four", "three", "two"}));
}

TEST_F(FindReplaceTest, WithTheTextPaneActiveFindSearchesThePaneOnly)
{
    Start({WriteMinute(QStringLiteral("M.min"), kAgenda)});
    Frame()->show();
    QApplication::setActiveWindow(Frame());
    Select(3);
    Text()->setFocus();
    int found = -1;
    dialogs[QStringLiteral("1540")] = [&found, this](QDialog& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("1152"))->setText(QStringLiteral("cat"));
        dialog.findChild<QPushButton*>(QStringLiteral("1"))->click();
        dialog.findChild<QPushButton*>(QStringLiteral("1"))->click();
        found = Text()->textCursor().selectionStart();
        ui.answers.push_back(IDNO);
        dialog.findChild<QPushButton*>(QStringLiteral("1"))->click(); // no third one: asked, and No
        return IDCANCEL;
    };
    ASSERT_TRUE(Send(cmd::Find));
    EXPECT_EQ(found, 8);
    EXPECT_EQ(Current(), QStringLiteral("A1a"));
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("'cat' not found!\nStart again?")});
}
