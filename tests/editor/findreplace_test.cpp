// Find and replace across the agenda, and the recent searches.

#include "editorfixture.h"

#include "catalogue/findreplace.h"
#include "model/agendasearch.h"
#include "editor/detailview.h"
#include "framework/commandids.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>

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

// The items after the selected one are searched where they are stored: for
// any text and pattern, that search and a replacement there must give what
// the pane gives with the item shown in it. Line breaks of every kind, case
// pairs (the Kelvin sign folds to 'k'), no-break spaces and surrogate pairs.
TEST_F(FindReplaceTest, TheStoredTextsAreSearchedAsThePaneSearchesThem)
{
    Start({WriteMinute(QStringLiteral("M.min"), kAgenda)});
    const QList<QString> pieces = {QStringLiteral("a"), QStringLiteral("K"), QStringLiteral("k"), QString(QChar(0x212A)),
                                   QStringLiteral("\r\n"), QStringLiteral("\r"), QStringLiteral("\n"),
                                   QString(QChar::ParagraphSeparator), QString(QChar::LineSeparator), QString(QChar(0xA0)),
                                   QStringLiteral("\xC3\xA9"), QStringLiteral("\xC3\x89"), QStringLiteral("\xF0\x90\x90\x80"),
                                   QStringLiteral("\xF0\x90\x90\xA8"), QStringLiteral("\t")};
    QRandomGenerator random(20261208);
    const auto pick = [&](int count) {
        QString text;
        for (int i = 0; i < count; ++i)
            text += pieces[random.bounded(int(pieces.size()))];
        return text;
    };
    for (int round = 0; round < 3000; ++round) {
        const QString stored = pick(random.bounded(30));
        const QString pattern = random.bounded(2) ? pick(1 + random.bounded(3)) : TextFinder::SearchForm(stored).mid(random.bounded(6), 1 + random.bounded(3));
        if (pattern.isEmpty())
            continue;
        const bool matchCase = random.bounded(2);
        const TextFinder finder(pattern, matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive);
        const QString replacement = pick(random.bounded(3));

        Text()->SetPaneText(stored);
        Text()->ResetSearch();
        const bool paneFinds = Text()->FindInText(pattern, matchCase);
        Text()->SetPaneText(stored);
        Text()->ResetSearch();
        Text()->m_bReplaceAll = true;
        bool atEnd = false;
        while (!atEnd && Text()->ReplaceInText(pattern, matchCase, replacement, atEnd)) {
        }
        const std::optional<QString> replaced = finder.ReplacedIn(stored, replacement);
        const auto shown = [](const QString& s) { return s.toUtf8().toHex(' ').toStdString(); };
        ASSERT_EQ(finder.IsIn(stored), paneFinds) << shown(stored) << " / " << shown(pattern) << " case " << matchCase;
        ASSERT_EQ(replaced.value_or(stored), paneFinds ? Text()->PaneText() : stored)
            << shown(stored) << " / " << shown(pattern) << " -> " << shown(replacement) << " pane " << shown(Text()->PaneText()) << " ours " << shown(replaced.value_or(stored));
    }
    Text()->m_bReplaceAll = false;
}

// Matches deep in collapsed branches, two in one text, none after the
// caret's item: Find Next (F3) selects only the items that hold one, and
// Replace with All changes the stored texts and ends on the first item.
TEST_F(FindReplaceTest, FindNextReachesIntoCollapsedBranchesAndReplaceAllChangesTheStoredTexts)
{
    Start({WriteMinute(QStringLiteral("M.min"), {{1, QStringLiteral("A"), QStringLiteral("cat\r\nand cat")},
                                                 {2, QStringLiteral("A1"), QStringLiteral("none")},
                                                 {3, QStringLiteral("A1a"), QStringLiteral("a CAT")},
                                                 {1, QStringLiteral("B"), QStringLiteral("dog")},
                                                 {2, QStringLiteral("B1"), QStringLiteral("cat")}})});
    ShowFrame();
    Send(cmd::CollapseAll);
    Answer(QStringLiteral("cat"));
    ASSERT_TRUE(Send(cmd::Find));
    EXPECT_EQ(Current(), QStringLiteral("A"));
    QStringList visits;
    for (int i = 0; i < 5; ++i) {
        QTest::keyClick(Frame(), Qt::Key_F3);
        visits.append(Current() + u':' + QString::number(Text()->textCursor().selectionStart()));
    }
    EXPECT_EQ(visits, (QStringList{"A:8", "A1a:2", "B1:0", "A:0", "A:0"}));
    EXPECT_TRUE(ui.messages.empty());

    std::vector<int> answers = {CDetailView::IDC_ALL};
    dialogs[QStringLiteral("133")] = [&answers](QDialog&) {
        const int answer = answers.empty() ? int(IDCANCEL) : answers.front();
        answers.clear();
        return answer;
    };
    Select(2);
    Answer(QStringLiteral("cat"), QStringLiteral("ox\nen"), CFindReplaceDlg::IDC_REPLACE);
    ASSERT_TRUE(Send(cmd::Replace));
    EXPECT_EQ(Doc()->GetNodeText(1), QStringLiteral("cat\r\nand cat")) << "before the selected item";
    EXPECT_EQ(Doc()->GetNodeText(3), QStringLiteral("a ox\r\nen"));
    EXPECT_EQ(Doc()->GetNodeText(4), QStringLiteral("dog")) << "no match: untouched";
    EXPECT_EQ(Doc()->GetNodeText(5), QStringLiteral("ox\r\nen"));
    EXPECT_EQ(Current(), QStringLiteral("A"));
    EXPECT_TRUE(Doc()->IsMinuteModified());
}
