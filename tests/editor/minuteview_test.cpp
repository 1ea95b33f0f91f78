// The agenda tree: building from the minute, inserting, deleting, renaming,
// expanding, and the tap-and-hold menu, each checked against the node list.

#include "editorfixture.h"

#include "editor/itemtextpickers.h"
#include "editor/treeimages.h"
#include "framework/commandids.h"

#include <QLineEdit>
#include <QDialog>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <limits>

TEST_F(EditorTest, ANewMinuteShowsOnlyTheUntitledRootSelected)
{
    Start();
    EXPECT_EQ(Outline(), "Untitled");
    EXPECT_EQ(Tree()->currentItem(), Tree()->RootItem());
    EXPECT_EQ(Tree()->SelectedIndex(), 0);
    EXPECT_EQ(CMinuteView::NormalImage(Tree()->RootItem()), TreeImages::Minute);
    EXPECT_TRUE(Text()->toPlainText().isEmpty());
    EXPECT_TRUE(Text()->isReadOnly());
    EXPECT_EQ(Frame()->windowTitle(), QStringLiteral("Untitled[*] - Quillon"));
}

TEST_F(EditorTest, AnOpenedMinuteSelectsItsFirstItemAndShowsTopLevelItemsOnly)
{
    const QString path = WriteMinute(QStringLiteral("Board.min"),
                                     {{1, QStringLiteral("Attendees"), QStringLiteral("Ann\r\nBob")},
                                      {1, QStringLiteral("Agenda"), QString()},
                                      {2, QStringLiteral("Budget"), QStringLiteral("ok")},
                                      {3, QStringLiteral("Q3"), QString()},
                                      {1, QStringLiteral("Venue"), QString()}});
    Start({path});
    EXPECT_EQ(Outline(), "Board.min[Attendees Agenda[Budget[Q3]] Venue]");
    EXPECT_EQ(Tree()->currentItem(), ItemAt(1));
    EXPECT_EQ(Text()->toPlainText(), QStringLiteral("Ann\nBob"));
    EXPECT_FALSE(Text()->isReadOnly());
    EXPECT_TRUE(Tree()->RootItem()->isExpanded());
    EXPECT_FALSE(ItemAt(2)->isExpanded());
    EXPECT_EQ(CMinuteView::NormalImage(ItemAt(2)), TreeImages::Heading);
    EXPECT_EQ(CMinuteView::NormalImage(ItemAt(4)), TreeImages::Item);
    EXPECT_EQ(Tree()->GetItemIndex(ItemAt(4)), 4);
    EXPECT_EQ(Tree()->CountDescendants(ItemAt(2)), 2);
    EXPECT_EQ(Tree()->GetItemPath(ItemAt(4)), QStringLiteral("Board.min\\Agenda\\Budget\\Q3"));
}

TEST_F(EditorTest, OverviewExpandsWhenTheOptionSaysSo)
{
    SetOption("AutoExpandOverview", 1);
    const QString path = WriteMinute(QStringLiteral("Board.min"), {{1, QStringLiteral("Agenda"), {}},
                                                                   {2, QStringLiteral("Budget"), {}},
                                                                   {3, QStringLiteral("Q3"), {}}});
    Start({path});
    EXPECT_TRUE(ItemAt(1)->isExpanded());
    EXPECT_TRUE(ItemAt(2)->isExpanded());
}

TEST_F(EditorTest, LevelsThatBreakTheRulesArePlacedAsDeepAsTheyMayGo)
{
    const QString path = WriteMinute(QStringLiteral("Odd.min"),
                                     {{0, QStringLiteral("Zero"), {}},
                                      {-3, QStringLiteral("Negative"), {}},
                                      {5, QStringLiteral("Jump"), {}},
                                      {std::numeric_limits<int>::max(), QStringLiteral("Huge"), {}},
                                      {2, QStringLiteral("Back"), {}},
                                      {1, QStringLiteral("Top"), {}}});
    Start({path});
    EXPECT_EQ(Outline(), "Odd.min[Zero Negative[Jump[Huge] Back] Top]");
    // The stored levels are the file's.
    EXPECT_EQ(Doc()->GetNodeLevel(4), std::numeric_limits<int>::max());
    EXPECT_EQ(Doc()->GetNodeLevel(2), -3);
}

TEST_F(EditorTest, InsertItemGoesAfterTheSelectedBranchAtItsLevel)
{
    const QString path = WriteMinute(QStringLiteral("Board.min"), {{1, QStringLiteral("Agenda"), {}},
                                                                   {2, QStringLiteral("Budget"), {}},
                                                                   {1, QStringLiteral("Venue"), {}}});
    Start({path});
    PickCategory(QStringLiteral("Actions"));
    Select(1);
    ASSERT_TRUE(Send(cmd::InsertItem));
    EXPECT_EQ(Outline(), "Board.min[Agenda[Budget] Actions Venue]");
    EXPECT_EQ(Nodes(), "Agenda/1/0 Budget/2/1 Actions/1/1 Venue/1/1");
    EXPECT_EQ(Tree()->currentItem(), ItemAt(3));
    EXPECT_EQ(Tree()->SelectedIndex(), 3);
    EXPECT_TRUE(Doc()->IsMinuteModified());
    EXPECT_TRUE(Text()->toPlainText().isEmpty());
    EXPECT_FALSE(Text()->isReadOnly());

    // With the root selected the item goes first.
    PickCategory(QStringLiteral("Date"));
    dialogs[QStringLiteral("141")] = [](QDialog&) { return IDCANCEL; }; // the date picker a new "Date" opens
    Select(0);
    ASSERT_TRUE(Send(cmd::InsertItem));
    EXPECT_EQ(Nodes(), "Date/1/1 Agenda/1/0 Budget/2/1 Actions/1/1 Venue/1/1");
    EXPECT_EQ(Tree()->currentItem(), ItemAt(1));
    EXPECT_TRUE(ui.unanswered.isEmpty());
    EXPECT_EQ(ui.modalDialogs, (QStringList{QStringLiteral("147"), QStringLiteral("147"), QStringLiteral("141")}));
}

TEST_F(EditorTest, InsertSubItemGoesFirstAndMakesALeafAHeading)
{
    const QString path = WriteMinute(QStringLiteral("Board.min"), {{1, QStringLiteral("Agenda"), {}},
                                                                   {2, QStringLiteral("Budget"), {}},
                                                                   {1, QStringLiteral("Venue"), {}}});
    Start({path});
    PickCategory(QStringLiteral("Actions"));
    Select(1);
    ASSERT_TRUE(Send(cmd::InsertSubItem));
    EXPECT_EQ(Outline(), "Board.min[Agenda[Actions Budget] Venue]");
    EXPECT_EQ(Nodes(), "Agenda/1/0 Actions/2/1 Budget/2/1 Venue/1/1");

    Select(4);
    ASSERT_TRUE(Send(cmd::InsertSubItem));
    EXPECT_EQ(Nodes(), "Agenda/1/0 Actions/2/1 Budget/2/1 Venue/1/0 Actions/2/1");
    EXPECT_EQ(CMinuteView::NormalImage(ItemAt(4)), TreeImages::Heading);
    EXPECT_EQ(CMinuteView::SelectedImage(ItemAt(4)), TreeImages::Heading);
    EXPECT_EQ(Tree()->currentItem(), ItemAt(5));

    // Under the root: first at level 1.
    Select(0);
    ASSERT_TRUE(Send(cmd::InsertSubItem));
    EXPECT_EQ(Doc()->GetNodeList().at(0)->GetTitle(), QStringLiteral("Actions"));
    EXPECT_EQ(Doc()->GetNodeLevel(1), 1);
}

TEST_F(EditorTest, BlankAsksForATitleAndCancelInsertsNothing)
{
    Start();
    PickCategory(QStringLiteral("Blank"), QStringLiteral("Budget\\Q3"));
    ASSERT_TRUE(Send(cmd::InsertItem));
    // Shown and stored whole: a backslash is part of what the user typed.
    EXPECT_EQ(Outline(), "Untitled[Budget\\Q3]");
    EXPECT_EQ(Nodes(), "Budget\\Q3/1/1");

    PickCategory(QStringLiteral("Blank"), QString());
    ASSERT_TRUE(Send(cmd::InsertItem));
    EXPECT_EQ(Nodes(), "Budget\\Q3/1/1 <No Title>/1/1");

    panel.state.panelOn = true;
    const int applied = panel.applyCount;
    PickCategory(QString());
    ASSERT_TRUE(Send(cmd::InsertItem));
    EXPECT_EQ(Nodes(), "Budget\\Q3/1/1 <No Title>/1/1");
    EXPECT_TRUE(panel.state.panelOn); // put back as it was
    EXPECT_GT(panel.applyCount, applied);
}

TEST_F(EditorTest, NewItemsTitledDateAttendeesOrAuthorAreFilledByTheirPicker)
{
    Start();
    QStringList asked;
    Tree()->Pickers().m_prefillProvider = [&asked](const QString& title) {
        asked.append(title);
        return QStringLiteral("filled\r\nfor ") + title;
    };
    for (const char* title : {"Attendees", "Venue", "Date"}) {
        PickCategory(QString::fromLatin1(title));
        ASSERT_TRUE(Send(cmd::InsertItem));
    }
    EXPECT_EQ(asked, (QStringList{QStringLiteral("Attendees"), QStringLiteral("Date")}));
    EXPECT_EQ(Text()->toPlainText(), QStringLiteral("filled\nfor Date"));
    Select(1);
    EXPECT_EQ(Doc()->GetNodeText(3), QStringLiteral("filled\r\nfor Date"));
    EXPECT_EQ(Doc()->GetNodeText(2), QString());
}

TEST_F(EditorTest, DeletingAnItemRemovesItsBranchAndSelectsItsNeighbour)
{
    const QString path = WriteMinute(QStringLiteral("Board.min"), {{1, QStringLiteral("Attendees"), {}},
                                                                   {1, QStringLiteral("Agenda"), {}},
                                                                   {2, QStringLiteral("Budget"), {}},
                                                                   {3, QStringLiteral("Q3"), {}},
                                                                   {2, QStringLiteral("Risks"), {}},
                                                                   {1, QStringLiteral("Venue"), {}}});
    Start({path});
    Select(3);
    ASSERT_TRUE(Send(cmd::DeleteItem)); // no question with the option off
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(Outline(), "Board.min[Attendees Agenda[Risks] Venue]");
    EXPECT_EQ(Nodes(), "Attendees/1/1 Agenda/1/0 Risks/2/1 Venue/1/1");
    EXPECT_EQ(Tree()->currentItem(), ItemAt(2)); // the parent, having no previous sibling
    // The deleted branch waits in the cut buffer with its levels.
    EXPECT_EQ(Doc()->GetClipList().size(), 2);
    EXPECT_EQ(Doc()->GetClipList().at(1)->GetLevel(), 3);

    // The last sub-item gone, its parent is a leaf again.
    Select(3);
    ASSERT_TRUE(Send(cmd::DeleteItem));
    EXPECT_EQ(Nodes(), "Attendees/1/1 Agenda/1/1 Venue/1/1");
    EXPECT_EQ(CMinuteView::NormalImage(ItemAt(2)), TreeImages::Item);

    // The root cannot go.
    Select(0);
    EXPECT_FALSE(Frame()->IsCommandEnabled(cmd::DeleteItem));
    Tree()->OnDeleteItem();
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("You cannot delete the root item!")});
    EXPECT_EQ(ui.messages.back().flags, MB_OK | MB_ICONEXCLAMATION);
}

TEST_F(EditorTest, DeletingAsksFirstWhenWarningsAreOn)
{
    SetOption("WarningOnDelete", 1);
    const QString path = WriteMinute(QStringLiteral("Board.min"), {{1, QStringLiteral("Agenda"), {}},
                                                                   {2, QStringLiteral("Budget"), {}},
                                                                   {1, QStringLiteral("Venue"), {}}});
    Start({path});
    Select(1);
    ui.answers.push_back(IDNO);
    Send(cmd::DeleteItem);
    EXPECT_EQ(ui.messages.back().text, QStringLiteral("Delete agenda item 'Agenda' ?\n(including subordinates)"));
    EXPECT_EQ(ui.messages.back().flags, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(Nodes(), "Agenda/1/0 Budget/2/1 Venue/1/1");

    Select(3);
    ui.answers.push_back(IDYES);
    Send(cmd::DeleteItem);
    EXPECT_EQ(ui.messages.back().text, QStringLiteral("Delete agenda item 'Venue' ?"));
    EXPECT_EQ(Nodes(), "Agenda/1/0 Budget/2/1");
    EXPECT_EQ(Tree()->currentItem(), ItemAt(1)); // the previous sibling
}

TEST_F(EditorTest, RenamingChangesTheTitleUnlessEmptyOrTheRoot)
{
    const QString path = WriteMinute(QStringLiteral("Board.min"), {{1, QStringLiteral("Agenda"), QStringLiteral("a")}});
    Start({path});
    Select(1);
    Text()->setPlainText(QStringLiteral("typed"));
    Tree()->OnBeginLabelEdit(ItemAt(1));
    Tree()->OnEndLabelEdit(QStringLiteral("Plans\\2027"));
    EXPECT_EQ(ItemAt(1)->text(0), QStringLiteral("Plans\\2027"));
    EXPECT_EQ(Nodes(), "Plans\\2027/1/1"); // what was typed is what is stored
    EXPECT_EQ(Doc()->GetNodeText(1), QStringLiteral("typed")); // the pane's text went in first
    EXPECT_TRUE(Doc()->IsMinuteModified());

    Doc()->SetMinuteModified(false);
    Tree()->OnBeginLabelEdit(ItemAt(1));
    Tree()->OnEndLabelEdit(QString());
    EXPECT_EQ(ItemAt(1)->text(0), QStringLiteral("Plans\\2027"));
    EXPECT_FALSE(Doc()->IsMinuteModified());

    Select(0);
    Tree()->OnBeginLabelEdit(ItemAt(0));
    Tree()->OnEndLabelEdit(QStringLiteral("Other.min"));
    EXPECT_EQ(ItemAt(0)->text(0), QStringLiteral("Board.min"));

    // Through the tree's own editor, too.
    Select(1);
    Tree()->editItem(ItemAt(1));
    auto* editor = Tree()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("Budget"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the editor commits on the next turn of the event loop
    EXPECT_EQ(Nodes(), "Budget/1/1");
}

TEST_F(EditorTest, ExpandAndCollapseCommands)
{
    const QString path = WriteMinute(QStringLiteral("Board.min"), {{1, QStringLiteral("Agenda"), {}},
                                                                   {2, QStringLiteral("Budget"), {}},
                                                                   {3, QStringLiteral("Q3"), {}},
                                                                   {1, QStringLiteral("Venue"), {}}});
    Start({path});
    Send(cmd::ExpandAll);
    EXPECT_TRUE(ItemAt(1)->isExpanded());
    EXPECT_TRUE(ItemAt(2)->isExpanded());
    Send(cmd::CollapseAll);
    EXPECT_FALSE(ItemAt(0)->isExpanded());
    EXPECT_FALSE(ItemAt(2)->isExpanded());

    Send(cmd::ExpandAll);
    Select(1);
    Send(cmd::CollapseBranch);
    EXPECT_FALSE(ItemAt(1)->isExpanded());
    EXPECT_FALSE(ItemAt(2)->isExpanded());
    EXPECT_TRUE(ItemAt(0)->isExpanded());
    Send(cmd::ExpandBranch);
    EXPECT_TRUE(ItemAt(2)->isExpanded());
    Send(cmd::Expand);
    EXPECT_FALSE(ItemAt(1)->isExpanded());
    Send(cmd::Expand);
    EXPECT_TRUE(ItemAt(1)->isExpanded());
}

TEST_F(EditorTest, TheTapAndHoldMenuFitsTheItem)
{
    const QString path = WriteMinute(QStringLiteral("Board.min"), {{1, QStringLiteral("Agenda"), {}},
                                                                   {2, QStringLiteral("Budget"), {}}});
    Start({path});
    auto texts = [](QMenu* menu) {
        QStringList result;
        for (QAction* action : menu->actions())
            result.append(action->isSeparator() ? QStringLiteral("-") : action->text() + (action->isEnabled() ? "" : " (grey)"));
        delete menu;
        return result;
    };
    EXPECT_EQ(texts(Tree()->BuildContextMenu(ItemAt(1))),
              (QStringList{"Insert Item...", "Insert Sub-Item...", "-", "Delete Item...", "-", "Collapse Branch", "Expand Branch"}));
    EXPECT_EQ(texts(Tree()->BuildContextMenu(ItemAt(2))),
              (QStringList{"Insert Item...", "Insert Sub-Item...", "-", "Delete Item..."}));
    EXPECT_TRUE(texts(Tree()->BuildContextMenu(ItemAt(0))).contains(QStringLiteral("Delete Item... (grey)")));

    // A tap on an item, then the item deleted: the menu acts on the selection instead.
    Tree()->expandAll();
    QTest::mousePress(Tree()->viewport(), Qt::LeftButton, {}, Tree()->visualItemRect(ItemAt(2)).center());
    QTest::mouseRelease(Tree()->viewport(), Qt::LeftButton, {}, Tree()->visualItemRect(ItemAt(2)).center());
    EXPECT_EQ(Tree()->currentItem(), ItemAt(2));
    ASSERT_TRUE(Send(cmd::DeleteItem));
    Tree()->OnContextMenu();
    EXPECT_EQ(Tree()->currentItem(), ItemAt(1));
    for (QMenu* menu : Tree()->findChildren<QMenu*>())
        menu->close();
}

TEST_F(EditorTest, TheItemCatalogueCommandBrowsesAndPutsTheKeyboardBack)
{
    Start();
    QString seen;
    dialogs[QStringLiteral("147")] = [&seen](QDialog& dialog) {
        seen = dialog.windowTitle() + QLatin1Char('|')
            + (dialog.findChild<QPushButton*>(QStringLiteral("1020"))->isEnabled() ? "pick" : "browse");
        return IDOK;
    };
    panel.state.panelOn = false;
    ASSERT_TRUE(Send(cmd::ItemCatalogue));
    EXPECT_EQ(seen, QStringLiteral("Agenda item Catalogue|browse"));
    EXPECT_FALSE(panel.state.panelOn); // raised for the dialog, lowered after
    EXPECT_TRUE(Doc()->GetNodeList().isEmpty());
}

// A rename belongs to the item it began on, whatever moves the selection
// before it ends, and a name left as it was changes nothing.
TEST_F(EditorTest, ARenameStaysWithItsItem)
{
    const QString path = WriteMinute(QStringLiteral("Board.min"), {{1, QStringLiteral("A"), {}},
                                                                   {1, QStringLiteral("B"), {}},
                                                                   {1, QStringLiteral("C"), {}}});
    Start({path});
    ShowFrame();
    auto rename = [this](int index, const QString& typed) {
        Click(index);
        QTest::keyClick(Tree(), Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        if (editor && !typed.isNull()) {
            editor->selectAll();
            QTest::keyClicks(editor, typed);
        }
        return editor;
    };
    // Ended by a click on another item.
    ASSERT_NE(rename(3, QStringLiteral("Costs")), nullptr);
    Click(1);
    QCoreApplication::processEvents();
    EXPECT_EQ(Outline(), "Board.min[A B Costs]");
    EXPECT_EQ(Nodes(), "A/1/1 B/1/1 Costs/1/1");
    EXPECT_EQ(Tree()->currentItem(), ItemAt(1));

    // Ended by a command that changes the tree: the rename lands first, on its own item.
    ASSERT_NE(rename(2, QStringLiteral("Budget")), nullptr);
    ASSERT_TRUE(Send(cmd::DeleteItem));
    QCoreApplication::processEvents();
    EXPECT_EQ(Outline(), "Board.min[A Costs]");
    EXPECT_EQ(Nodes(), "A/1/1 Costs/1/1");

    // Opened and closed without a change: the minute stays unmodified.
    QTest::keyClick(Tree(), Qt::Key_S, Qt::ControlModifier);
    ASSERT_FALSE(Doc()->IsMinuteModified());
    QLineEdit* editor = rename(2, QString());
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    Click(1);
    EXPECT_FALSE(Doc()->IsMinuteModified());
}

TEST_F(EditorTest, TheTreeScrollsSidewaysForLongTitles)
{
    Start({WriteMinute(QStringLiteral("Board.min"), {{1, QString(300, QLatin1Char('W')), {}}})});
    ShowFrame();
    Frame()->resize(400, 600);
    QCoreApplication::processEvents();
    EXPECT_GT(Tree()->horizontalScrollBar()->maximum(), 0);
}
