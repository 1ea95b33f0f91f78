// The check for items without text, on its own and before a new minute.

#include "editorfixture.h"

#include "framework/commandids.h"

#include <QDialog>
#include <QListWidget>
#include <QTest>

namespace {

class CompletionTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        dialogs[QStringLiteral("145")] = [this](QDialog& dialog) {
            auto* list = dialog.findChild<QListWidget*>(QStringLiteral("1010"));
            listed.clear();
            for (int i = 0; i < list->count(); ++i)
                listed.append(list->item(i)->text());
            selectedRow = list->currentRow();
            ++shown;
            return IDOK;
        };
        dialogs[QStringLiteral("146")] = [this](QDialog&) {
            ++newDialogs;
            return IDCANCEL;
        };
    }

    QStringList listed;
    int selectedRow = -2;
    int shown = 0;
    int newDialogs = 0;
};

} // namespace

TEST_F(CompletionTest, AnEmptyMinuteShowsNothing)
{
    SetOption("CompCheckOnClose", 1);
    Start();
    ASSERT_TRUE(Send(cmd::Completion));
    EXPECT_EQ(shown, 0);
    Send(cmd::New);
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(newDialogs, 1);
}

TEST_F(CompletionTest, ItemsWithoutTextAreListedInOrderWithDuplicates)
{
    Start({WriteMinute(QStringLiteral("M.min"), {{1, QStringLiteral("Venue"), {}},
                                                 {1, QStringLiteral("Agenda"), QStringLiteral(" ")},
                                                 {2, QStringLiteral("Venue"), {}},
                                                 {1, QStringLiteral("Date"), {}},
                                                 {1, QStringLiteral("Actions"), QStringLiteral("\r\n")}})});
    // The item being edited counts with the text now in the pane.
    Select(4);
    Text()->setPlainText(QStringLiteral("today"));
    ASSERT_TRUE(Send(cmd::Completion));
    EXPECT_EQ(listed, (QStringList{QStringLiteral("Venue"), QStringLiteral("Venue")}));
    EXPECT_EQ(selectedRow, 0);
    EXPECT_TRUE(ui.messages.empty()); // on its own it asks nothing
}

TEST_F(CompletionTest, NewAsksWhetherToGoOnWhenItemsAreEmpty)
{
    SetOption("CompCheckOnClose", 1);
    Start({WriteMinute(QStringLiteral("M.min"), {{1, QStringLiteral("Venue"), {}}, {1, QStringLiteral("Date"), QStringLiteral("x")}})});
    ui.answers.push_back(IDNO);
    Send(cmd::New);
    EXPECT_EQ(shown, 1);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Some attributes not completed\nContinue close?"));
    EXPECT_EQ(ui.messages[0].caption, QStringLiteral("Continue?"));
    EXPECT_EQ(ui.messages[0].flags, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(newDialogs, 0);
    EXPECT_EQ(Outline(), "M.min[Venue Date]");

    ui.answers.push_back(IDYES);
    Send(cmd::New);
    EXPECT_EQ(newDialogs, 1);
}

TEST_F(CompletionTest, NewWithEveryTextFilledShowsAnEmptyListAndAsksNothing)
{
    SetOption("CompCheckOnClose", 1);
    Start({WriteMinute(QStringLiteral("M.min"), {{1, QStringLiteral("Venue"), QStringLiteral("Room 4")}})});
    Send(cmd::New);
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(listed.isEmpty());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(newDialogs, 1);
}

TEST_F(CompletionTest, WithTheOptionOffNewRunsNoCheck)
{
    Start({WriteMinute(QStringLiteral("M.min"), {{1, QStringLiteral("Venue"), {}}})});
    Send(cmd::New);
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(newDialogs, 1);
}

// Enter (or a double click) on a listed item goes there, its text pane ready
// for typing; before a new minute it also stops the new minute.
TEST_F(CompletionTest, EnterOnAListedItemSelectsItAndFocusesItsText)
{
    SetOption("CompCheckOnClose", 1);
    Start({WriteMinute(QStringLiteral("M.min"), {{1, QStringLiteral("Venue"), QStringLiteral("Hall")},
                                                 {1, QStringLiteral("Date"), {}},
                                                 {2, QStringLiteral("Time"), {}}})});
    ShowFrame();
    dialogs[QStringLiteral("145")] = [](QDialog& dialog) {
        auto* list = dialog.findChild<QListWidget*>(QStringLiteral("1010"));
        list->setFocus();
        list->setCurrentRow(list->count() - 1);
        QTest::keyClick(list, Qt::Key_Return);
        return dialog.result();
    };
    ASSERT_TRUE(Send(cmd::Completion));
    EXPECT_EQ(Tree()->currentItem()->text(0), QStringLiteral("Time"));
    EXPECT_TRUE(Text()->hasFocus());
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("10:00"));
    EXPECT_EQ(Text()->toPlainText(), QStringLiteral("10:00"));

    Send(cmd::New);
    EXPECT_EQ(newDialogs, 0) << "going to an item stops the new minute";
    EXPECT_EQ(Tree()->currentItem()->text(0), QStringLiteral("Date")) << "the one item still empty";
    EXPECT_TRUE(ui.messages.empty()) << ui.messageTexts().join(u'|').toStdString();
}
