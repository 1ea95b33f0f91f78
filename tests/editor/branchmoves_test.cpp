// Cut, copy, paste, drag and drop of branches, and the one-step undo.

#include "editorfixture.h"

#include "editor/branchmoves.h"
#include "editor/treecontextmenu.h"
#include "editor/treedrag.h"
#include "editor/treeimages.h"
#include "framework/commandids.h"
#include "model/minutefile.h"

#include <QScrollBar>
#include <QTest>

namespace {

// A[A1 A2] B[B1[B11]] C, all expanded: indexes 1 to 7.
const std::vector<EditorTest::Node> kAgenda = {{1, QStringLiteral("A"), QStringLiteral("a")},
                                               {2, QStringLiteral("A1"), QStringLiteral("a1")},
                                               {2, QStringLiteral("A2"), {}},
                                               {1, QStringLiteral("B"), {}},
                                               {2, QStringLiteral("B1"), QStringLiteral("b1")},
                                               {3, QStringLiteral("B11"), {}},
                                               {1, QStringLiteral("C"), {}}};

class BranchMoveTest : public EditorTest {
protected:
    void StartWithAgenda()
    {
        Start({WriteMinute(QStringLiteral("M.min"), kAgenda)});
        Tree()->expandAll();
        ItemAt(7)->setExpanded(false);
        Doc()->SetMinuteModified(false);
    }

    // Selects, then sends an Edit command to the tree, as the Edit menu does
    // while the tree has the focus.
    int Edit(int id)
    {
        switch (id) {
        case cmd::Cut:
            return Tree()->CutItem();
        case cmd::Copy:
            return Tree()->CopyItem();
        case cmd::Paste:
            return Tree()->PasteClip();
        default:
            return Tree()->UndoTreeEdit();
        }
    }

};

} // namespace

TEST_F(BranchMoveTest, ACopyPastedOntoItselfMakesADuplicate)
{
    StartWithAgenda();
    Select(2);
    EXPECT_TRUE(Tree()->CanCutCopy());
    EXPECT_FALSE(Tree()->CanPaste());
    ASSERT_EQ(Edit(cmd::Copy), 1);
    EXPECT_EQ(Tree()->GetUndoState(), BranchMoves::UNDO_COPIED);
    EXPECT_TRUE(Tree()->CanPaste());
    ASSERT_EQ(Edit(cmd::Paste), 1);
    EXPECT_EQ(Outline(), "M.min[A[A1 A1 A2] B[B1[B11]] C]");
    EXPECT_EQ(Nodes(), "A/1/0 A1/2/1 A1/2/1 A2/2/1 B/1/0 B1/2/0 B11/3/1 C/1/1");
    EXPECT_EQ(Doc()->GetNodeText(3), QStringLiteral("a1"));
    EXPECT_EQ(Tree()->currentItem(), ItemAt(3));
    EXPECT_EQ(Tree()->GetUndoState(), BranchMoves::UNDO_PASTED);
    EXPECT_TRUE(Doc()->IsMinuteModified());

    // An expanded item with sub-items takes the copy as its first sub-item, one level down.
    Select(1);
    Edit(cmd::Copy);
    Edit(cmd::Paste);
    EXPECT_EQ(Outline(), "M.min[A[A[A1 A1 A2] A1 A1 A2] B[B1[B11]] C]");
    EXPECT_EQ(Nodes(), "A/1/0 A/2/0 A1/3/1 A1/3/1 A2/3/1 A1/2/1 A1/2/1 A2/2/1 B/1/0 B1/2/0 B11/3/1 C/1/1");
}

TEST_F(BranchMoveTest, ACutCannotGoIntoItself)
{
    StartWithAgenda();
    Select(4);
    ASSERT_EQ(Edit(cmd::Cut), 1);
    EXPECT_EQ(CMinuteView::NormalImage(ItemAt(4)), TreeImages::HeadingCut);
    for (int target : {4, 5, 6}) {
        Select(target);
        EXPECT_EQ(Edit(cmd::Paste), 0);
    }
    // The previous sibling, collapsed, is refused too.
    ItemAt(1)->setExpanded(false);
    Select(1);
    EXPECT_EQ(Edit(cmd::Paste), 0);
    EXPECT_EQ(ui.messageTexts(), QStringList(4, QStringLiteral("Cannot cut and paste within one's self!")));
    EXPECT_EQ(ui.messages.back().flags, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(Tree()->GetUndoState(), BranchMoves::UNDO_CUT);
    EXPECT_FALSE(Doc()->IsMinuteModified());
    EXPECT_EQ(Nodes(), "A/1/0 A1/2/1 A2/2/1 B/1/0 B1/2/0 B11/3/1 C/1/1");

    // Undo takes the mark off and ends the cut.
    Edit(cmd::Undo);
    EXPECT_EQ(CMinuteView::NormalImage(ItemAt(4)), TreeImages::Heading);
    EXPECT_EQ(Tree()->GetUndoState(), BranchMoves::UNDO_NONE);
    EXPECT_FALSE(Tree()->CanUndo());
}

TEST_F(BranchMoveTest, CutAndPasteMovesAndUndoMovesBackAndForth)
{
    StartWithAgenda();
    Select(5); // B1 with B11
    Edit(cmd::Cut);
    Select(7);
    ASSERT_EQ(Edit(cmd::Paste), 1);
    EXPECT_EQ(Outline(), "M.min[A[A1 A2] B C B1[B11]]");
    EXPECT_EQ(Nodes(), "A/1/0 A1/2/1 A2/2/1 B/1/1 C/1/1 B1/1/0 B11/2/1");
    EXPECT_EQ(Doc()->GetNodeText(6), QStringLiteral("b1"));
    EXPECT_EQ(CMinuteView::NormalImage(ItemAt(6)), TreeImages::Heading); // no longer greyed
    EXPECT_EQ(CMinuteView::NormalImage(ItemAt(4)), TreeImages::Item);    // B lost its last sub-item
    // The source has gone: nothing is left to paste.
    EXPECT_FALSE(Tree()->CanPaste());
    EXPECT_EQ(Edit(cmd::Paste), 0);

    Doc()->SetMinuteModified(false);
    ASSERT_EQ(Edit(cmd::Undo), 1);
    EXPECT_EQ(Outline(), "M.min[A[A1 A2] B[B1[B11]] C]");
    EXPECT_EQ(Nodes(), "A/1/0 A1/2/1 A2/2/1 B/1/0 B1/2/0 B11/3/1 C/1/1");
    EXPECT_TRUE(Doc()->IsMinuteModified());
    EXPECT_EQ(Tree()->GetUndoState(), BranchMoves::UNDO_PASTED);

    Edit(cmd::Undo);
    EXPECT_EQ(Outline(), "M.min[A[A1 A2] B C B1[B11]]");
    Edit(cmd::Undo);
    EXPECT_EQ(Outline(), "M.min[A[A1 A2] B[B1[B11]] C]");
}

TEST_F(BranchMoveTest, UndoOfADeletePutsTheBranchBack)
{
    StartWithAgenda();
    Select(5);
    ASSERT_TRUE(Send(cmd::DeleteItem));
    EXPECT_EQ(Outline(), "M.min[A[A1 A2] B C]");
    EXPECT_TRUE(Tree()->CanUndo());
    EXPECT_FALSE(Tree()->CanPaste());
    Edit(cmd::Undo);
    EXPECT_EQ(Outline(), "M.min[A[A1 A2] B[B1[B11]] C]");
    EXPECT_EQ(Nodes(), "A/1/0 A1/2/1 A2/2/1 B/1/0 B1/2/0 B11/3/1 C/1/1");
    EXPECT_EQ(Doc()->GetNodeText(5), QStringLiteral("b1"));
    // Undo is a toggle: a second Undo takes the same branch away again.
    EXPECT_EQ(Tree()->GetUndoState(), BranchMoves::UNDO_RESTORED);
    Edit(cmd::Undo);
    EXPECT_EQ(Outline(), "M.min[A[A1 A2] B C]");
    EXPECT_EQ(Nodes(), "A/1/0 A1/2/1 A2/2/1 B/1/1 C/1/1");
    EXPECT_EQ(Tree()->GetUndoState(), BranchMoves::UNDO_DELETED);
}

TEST_F(BranchMoveTest, AfterACopyUndoSwingsBetweenInsertAndDelete)
{
    SetOption("WarningOnDelete", 1);
    StartWithAgenda();
    Select(2);
    Edit(cmd::Copy);
    Select(7);
    Edit(cmd::Paste);
    EXPECT_EQ(Outline(), "M.min[A[A1 A2] B[B1[B11]] C A1]");

    // Undo of the paste deletes the copy, asking first.
    ui.answers.push_back(IDNO);
    Edit(cmd::Undo);
    EXPECT_EQ(ui.messages.back().text, QStringLiteral("Delete agenda item 'A1' ?"));
    EXPECT_EQ(Tree()->GetUndoState(), BranchMoves::UNDO_PASTED);
    ui.answers.push_back(IDYES);
    Edit(cmd::Undo);
    EXPECT_EQ(Outline(), "M.min[A[A1 A2] B[B1[B11]] C]");
    EXPECT_EQ(Tree()->GetUndoState(), BranchMoves::UNDO_DELETED);
    Edit(cmd::Undo);
    EXPECT_EQ(Outline(), "M.min[A[A1 A2] B[B1[B11]] C A1]");
    EXPECT_EQ(Tree()->GetUndoState(), BranchMoves::UNDO_RESTORED);
    ui.answers.push_back(IDYES);
    Edit(cmd::Undo);
    EXPECT_EQ(Outline(), "M.min[A[A1 A2] B[B1[B11]] C]");
}

TEST_F(BranchMoveTest, DropsFollowTheTargetsShape)
{
    StartWithAgenda();
    Frame()->show();
    // A level-3 item dropped on the root becomes its first sub-item at level 1.
    Drag(CentreOf(6), CentreOf(0));
    EXPECT_EQ(Outline(), "M.min[B11 A[A1 A2] B[B1] C]");
    EXPECT_EQ(Nodes(), "B11/1/1 A/1/0 A1/2/1 A2/2/1 B/1/0 B1/2/1 C/1/1");
    EXPECT_EQ(Tree()->GetUndoState(), BranchMoves::UNDO_MOVED);
    EXPECT_EQ(Tree()->currentItem(), ItemAt(1));
    EXPECT_FALSE(g_bDragging);
    EXPECT_FALSE(Tree()->IsBusy());

    // On a collapsed top-level item: its next sibling.
    Drag(CentreOf(4), CentreOf(7)); // A2 onto C
    EXPECT_EQ(Outline(), "M.min[B11 A[A1] B[B1] C A2]");
    EXPECT_EQ(Nodes(), "B11/1/1 A/1/0 A1/2/1 B/1/0 B1/2/1 C/1/1 A2/1/1");
    Edit(cmd::Undo);
    EXPECT_EQ(Outline(), "M.min[B11 A[A1 A2] B[B1] C]");
}

TEST_F(BranchMoveTest, DropsIntoThemselvesOrTheRootAreIgnored)
{
    StartWithAgenda();
    Frame()->show();
    const std::string before = Outline();
    Drag(CentreOf(4), CentreOf(5));  // into its own branch
    Drag(CentreOf(0), CentreOf(7));  // the root
    ItemAt(1)->setExpanded(false);
    Drag(CentreOf(4), CentreOf(1));  // onto its collapsed previous sibling
    EXPECT_EQ(Outline(), before);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(Doc()->IsMinuteModified());

    // The previous sibling expanded with sub-items takes it as its first.
    ItemAt(1)->setExpanded(true);
    Drag(CentreOf(4), CentreOf(1));
    EXPECT_EQ(Outline(), "M.min[A[B[B1[B11]] A1 A2] C]");
    EXPECT_EQ(Nodes(), "A/1/0 B/2/0 B1/3/0 B11/4/1 A1/2/1 A2/2/1 C/1/1");
    EXPECT_TRUE(Doc()->IsMinuteModified());
}

TEST_F(BranchMoveTest, DraggingPastTheEdgesScrollsALineAtATime)
{
    std::vector<Node> many;
    for (int i = 0; i < 80; ++i)
        many.push_back({1, QStringLiteral("Item %1").arg(i), {}});
    Start({WriteMinute(QStringLiteral("Many.min"), many)});
    Frame()->resize(300, 400);
    Frame()->show();
    QScrollBar* bar = Tree()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 3);
    const QPoint start = CentreOf(1);
    Tree()->OnBeginDrag(start);
    const int top = bar->value();
    Tree()->OnDragMove(QPoint(start.x(), Tree()->viewport()->height() + 10));
    Tree()->OnDragMove(QPoint(start.x(), Tree()->viewport()->height() + 12));
    EXPECT_EQ(bar->value(), top + 2);
    Tree()->OnDragMove(QPoint(start.x(), -5));
    EXPECT_EQ(bar->value(), top + 1);
    // Away from the items nothing is highlighted, so a release there drops nothing.
    EXPECT_EQ(Tree()->DropTarget(), nullptr);
    Tree()->OnDragMove(CentreOf(2));
    EXPECT_EQ(Tree()->DropTarget(), ItemAt(2));
    Tree()->OnDrop();
    EXPECT_FALSE(g_bDragging);
}

// Restoring a branch beside a previous sibling whose sub-items show: the
// branch goes back beside it, at its old level, in the tree, the list and the file.
TEST_F(BranchMoveTest, UndoPutsABranchBackBesideAnExpandedPreviousSibling)
{
    const QString path = WriteMinute(QStringLiteral("M.min"), {{1, QStringLiteral("A"), {}},
                                                               {2, QStringLiteral("A1"), {}},
                                                               {2, QStringLiteral("A2"), {}},
                                                               {1, QStringLiteral("C"), QStringLiteral("c")},
                                                               {1, QStringLiteral("B"), {}}});
    Start({path});
    ShowFrame();
    Tree()->expandAll();
    Click(4);
    QTest::keyClick(Tree(), Qt::Key_Delete);
    EXPECT_EQ(Outline(), "M.min[A[A1 A2] B]");
    QTest::keyClick(Tree(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Outline(), "M.min[A[A1 A2] C B]");
    EXPECT_EQ(Nodes(), "A/1/0 A1/2/1 A2/2/1 C/1/1 B/1/1");
    QTest::keyClick(Tree(), Qt::Key_S, Qt::ControlModifier);
    const NodeList saved = ReadBack(path);
    ASSERT_EQ(saved.size(), 5);
    EXPECT_EQ(saved.at(3)->GetLevel(), 1);
    EXPECT_EQ(saved.at(3)->GetText(), QStringLiteral("c"));

    // The same for a move: Undo puts C back beside A, not into it.
    Drag(CentreOf(4), CentreOf(5)); // C onto B, a leaf: after it
    EXPECT_EQ(Outline(), "M.min[A[A1 A2] B C]");
    QTest::keyClick(Tree(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Outline(), "M.min[A[A1 A2] C B]");
    EXPECT_EQ(Nodes(), "A/1/0 A1/2/1 A2/2/1 C/1/1 B/1/1");
    QTest::keyClick(Tree(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Outline(), "M.min[A[A1 A2] B C]");
}

// A move that changes nothing is undone without a refusal, and the
// remembered selection never parts from the highlighted item.
TEST_F(BranchMoveTest, UndoKeepsTheSelectionOnTheHighlightedItem)
{
    StartWithAgenda();
    ShowFrame();
    Drag(CentreOf(5), CentreOf(4)); // B1 onto its own expanded parent
    EXPECT_EQ(Outline(), "M.min[A[A1 A2] B[B1[B11]] C]");
    Click(7);
    QTest::keyClick(Tree(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(Tree()->SelectedItem(), Tree()->currentItem());
    EXPECT_EQ(Tree()->SelectedIndex(), Tree()->GetItemIndex(Tree()->currentItem()));
    Click(7);
    QTest::keyClick(Tree(), Qt::Key_Delete);
    EXPECT_EQ(Outline(), "M.min[A[A1 A2] B[B1[B11]]]");
}

// Undo that removes a pasted copy first keeps what was typed elsewhere.
TEST_F(BranchMoveTest, UndoKeepsTextTypedIntoAnotherItem)
{
    StartWithAgenda();
    ShowFrame();
    Click(2);
    QTest::keyClick(Tree(), Qt::Key_C, Qt::ControlModifier);
    Click(7);
    QTest::keyClick(Tree(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Outline(), "M.min[A[A1 A2] B[B1[B11]] C A1]");
    Click(1);
    Text()->setFocus();
    QTest::keyClick(Text(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(Text(), QStringLiteral(" typed"));
    // A click on the empty space below the items keeps the selection.
    QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {}, QPoint(5, Tree()->viewport()->height() - 3));
    EXPECT_EQ(Tree()->selectedItems(), QList<QTreeWidgetItem*>{ItemAt(1)});
    QTest::keyClick(Tree(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Outline(), "M.min[A[A1 A2] B[B1[B11]] C]");
    EXPECT_EQ(Doc()->GetNodeText(1), QStringLiteral("a typed"));
}

// A slow drag is still a drag: no menu opens while it runs, it ends at the
// release, and a release away from the items drops nothing.
TEST_F(BranchMoveTest, ASlowDragEndsAtTheReleaseWithoutAMenu)
{
    StartWithAgenda();
    ShowFrame();
    QWidget* viewport = Tree()->viewport();
    const QPoint from = CentreOf(4);
    const QPoint away(from.x(), viewport->height() - 3); // below the last item
    QTest::mousePress(viewport, Qt::LeftButton, {}, from);
    const QPoint near = from + QPoint(0, 15);
    QMouseEvent move(QEvent::MouseMove, near, viewport->mapToGlobal(near), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    QTest::qWait(TreeContextMenu::kHoldMs + 200);
    EXPECT_TRUE(OpenMenus().isEmpty());
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, away);
    EXPECT_FALSE(Tree()->Drag().IsDragging());
    EXPECT_FALSE(g_bDragging);
    EXPECT_EQ(Outline(), "M.min[A[A1 A2] B[B1[B11]] C]");
    // The next ordinary click only selects.
    Click(7);
    EXPECT_EQ(Outline(), "M.min[A[A1 A2] B[B1[B11]] C]");
    EXPECT_EQ(Tree()->currentItem(), ItemAt(7));

    // Escape ends a drag without dropping.
    QTest::mousePress(viewport, Qt::LeftButton, {}, CentreOf(2));
    const QPoint over = CentreOf(7);
    QMouseEvent onto(QEvent::MouseMove, over, viewport->mapToGlobal(over), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &onto);
    ASSERT_TRUE(Tree()->Drag().IsDragging());
    QTest::keyClick(Tree(), Qt::Key_Escape);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, over);
    EXPECT_EQ(Outline(), "M.min[A[A1 A2] B[B1[B11]] C]");
    EXPECT_FALSE(Doc()->IsMinuteModified());
}

// A right click, the Menu key and a held press each open exactly one menu.
TEST_F(BranchMoveTest, EachGestureOpensOneMenu)
{
    StartWithAgenda();
    ShowFrame();
    QWidget* viewport = Tree()->viewport();
    auto settle = [] {
        QTest::qWait(TreeContextMenu::kHoldMs + 200);
        const QList<QMenu*> menus = OpenMenus();
        for (QMenu* menu : menus)
            menu->close();
        return menus.size();
    };
    // The right press opens the menu, which then takes the release.
    const QPoint at = CentreOf(4);
    QTest::mousePress(viewport, Qt::RightButton, {}, at);
    QContextMenuEvent byMouse(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
    QApplication::sendEvent(viewport, &byMouse);
    EXPECT_EQ(settle(), 1);
    EXPECT_EQ(Tree()->currentItem(), ItemAt(4));

    QContextMenuEvent byKey(QContextMenuEvent::Keyboard, QPoint(), QPoint());
    QApplication::sendEvent(viewport, &byKey);
    EXPECT_EQ(settle(), 1);

    const QPoint held = CentreOf(7);
    QTest::mousePress(viewport, Qt::LeftButton, {}, held);
    EXPECT_EQ(settle(), 1);
    EXPECT_EQ(Tree()->currentItem(), ItemAt(7));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, held);
    EXPECT_EQ(Outline(), "M.min[A[A1 A2] B[B1[B11]] C]");
}

// A cut item shows greyed while it is still selected.
TEST_F(BranchMoveTest, ACutItemShowsItsMarkWhileSelected)
{
    StartWithAgenda();
    Select(2);
    Edit(cmd::Cut);
    const QImage shown = ItemAt(2)->icon(0).pixmap(16, QIcon::Selected).toImage();
    EXPECT_EQ(shown, TreeImages::Icon(TreeImages::ItemCut, TreeImages::ItemCut).pixmap(16).toImage());
    EXPECT_NE(shown, TreeImages::Icon(TreeImages::Item, TreeImages::Item).pixmap(16, QIcon::Selected).toImage());
}
