#include "editor/branchmoves.h"

#include "app/appglobals.h"
#include "editor/editorservices.h"
#include "editor/minuteview.h"
#include "editor/treeimages.h"
#include "framework/uiservice.h"
#include "model/quillondoc.h"

#include <algorithm>
#include <limits>

CQuillonDoc* BranchMoves::Doc() const
{
    return m_view.GetDoc();
}

QTreeWidgetItem* BranchMoves::ClipSource() const
{
    return m_view.Item(m_hClipSource);
}

QTreeWidgetItem* BranchMoves::Pasted() const
{
    return m_view.Item(m_hPasted);
}

void BranchMoves::Reset()
{
    // A new minute starts with a clean clip: nothing earlier decides what Undo does.
    m_nLevelShift = 0;
    m_hLastParent = QPersistentModelIndex();
    m_hUndoAnchor = QPersistentModelIndex();
    m_nUndoState = UNDO_NONE;
    m_hPasted = QPersistentModelIndex();
    m_nClipMode = 0;
    m_hClipSource = QPersistentModelIndex();
}

bool BranchMoves::CanCutCopy() const
{
    QTreeWidgetItem* selected = m_view.SelectedItem();
    return selected && selected != m_view.RootItem();
}

bool BranchMoves::CanPaste() const
{
    // A source that has gone (deleted, or moved away by a paste) is never used.
    return ClipSource() && m_nUndoState != UNDO_NONE && m_nUndoState != UNDO_DELETED;
}

void BranchMoves::MarkCut(QTreeWidgetItem* item, bool on)
{
    if (!item)
        return;
    const int selected = CMinuteView::SelectedImage(item);
    if (selected == TreeImages::Heading)
        m_view.SetItemImages(item, on ? TreeImages::HeadingCut : TreeImages::Heading, selected);
    else if (selected == TreeImages::Item)
        m_view.SetItemImages(item, on ? TreeImages::ItemCut : TreeImages::Item, selected);
}

void BranchMoves::SetUndoState(int state)
{
    // A cut is pending only until the next edit that Undo would reverse:
    // then its mark comes off, whatever that edit was.
    if (m_nUndoState == UNDO_CUT && state != UNDO_CUT)
        MarkCut(ClipSource(), false);
    m_nUndoState = state;
}

void BranchMoves::ClearCutMark()
{
    if (m_nUndoState == UNDO_CUT)
        MarkCut(ClipSource(), false);
}

int BranchMoves::CopyItem()
{
    return TakeClipSource(CLIP_COPY);
}

int BranchMoves::CutItem()
{
    return TakeClipSource(CLIP_CUT);
}

int BranchMoves::TakeClipSource(int mode)
{
    QTreeWidgetItem* selected = m_view.SelectedItem();
    if (!selected)
        return 0;
    // Only one branch at a time shows as cut.
    ClearCutMark();
    m_nUndoState = UNDO_NONE;
    m_nClipMode = mode;
    m_hClipSource = m_view.Handle(selected);
    if (mode == CLIP_CUT)
        MarkCut(selected, true);
    SetUndoState(mode == CLIP_CUT ? UNDO_CUT : UNDO_COPIED);
    return 1;
}

bool BranchMoves::TakesChildren(QTreeWidgetItem* target) const
{
    if (!target)
        return false;
    if (target == m_view.RootItem() || target == m_view.Item(m_hLastParent))
        return true;
    return target->childCount() > 0 && target->isExpanded();
}

bool BranchMoves::IsValidMove(QTreeWidgetItem* source, QTreeWidgetItem* target) const
{
    if (!source || !target || source == target)
        return false;
    for (const QTreeWidgetItem* p = target->parent(); p; p = p->parent()) {
        if (p == source)
            return false; // inside the source's branch
    }
    QTreeWidgetItem* parent = source->parent();
    if (parent) {
        const int position = parent->indexOfChild(source);
        if (position > 0 && parent->child(position - 1) == target)
            return target->childCount() > 0 && target->isExpanded();
    }
    return true;
}

BranchMoves::Place BranchMoves::PlaceAt(QTreeWidgetItem* target) const
{
    if (!target)
        return {};
    if (TakesChildren(target))
        return {target, nullptr};
    return {target->parent(), target};
}

BranchMoves::Place BranchMoves::PlaceOf(QTreeWidgetItem* item)
{
    QTreeWidgetItem* parent = item ? item->parent() : nullptr;
    if (!parent)
        return {};
    const int position = parent->indexOfChild(item);
    return {parent, position > 0 ? parent->child(position - 1) : nullptr};
}

BranchMoves::Place BranchMoves::UndoPlace() const
{
    // The anchor is the previous sibling of what went away, or its parent
    // when it was the first sub-item: either way it goes back exactly there,
    // whether or not the anchor has expanded sub-items of its own.
    QTreeWidgetItem* anchor = m_view.Item(m_hUndoAnchor);
    QTreeWidgetItem* parent = m_view.Item(m_hLastParent);
    if (!anchor)
        return {};
    if (anchor == parent)
        return {parent, nullptr};
    return {anchor->parent(), anchor};
}

bool BranchMoves::CanPlace(QTreeWidgetItem* source, const Place& place)
{
    if (!source || !place.parent)
        return false;
    if (place.after && place.after->parent() != place.parent)
        return false;
    for (const QTreeWidgetItem* p = place.parent; p; p = p->parent()) {
        if (p == source)
            return false;
    }
    return true;
}

int BranchMoves::DepthOf(const QTreeWidgetItem* item) const
{
    int depth = 0;
    for (const QTreeWidgetItem* p = item; p && p != m_view.RootItem(); p = p->parent())
        ++depth;
    return depth;
}

void BranchMoves::UpdateKindImage(QTreeWidgetItem* item)
{
    CQuillonDoc* doc = Doc();
    if (!item || !doc || item == m_view.RootItem())
        return;
    const bool hasSubItems = item->childCount() > 0;
    m_view.SetKindImages(item, hasSubItems);
    doc->SetNodeAttributes(m_view.GetItemIndex(item), hasSubItems ? CTreeNode::kHasSubItems : CTreeNode::kLeaf, -1);
}

QTreeWidgetItem* BranchMoves::BuildAt(const Place& place)
{
    CQuillonDoc* doc = Doc();
    if (!doc || !place.parent)
        return nullptr;
    WaitCursor wait(m_view.Services().ui);
    QTreeWidgetItem* first = nullptr;
    if (!doc->GetClipList().isEmpty())
        first = m_view.BuildFromList(doc->GetClipList(), place.parent, place.after, true);
    m_hPasted = m_view.Handle(first);
    UpdateKindImage(place.parent);
    return first;
}

QTreeWidgetItem* BranchMoves::CopyBranch(QTreeWidgetItem* source, const Place& place, bool move)
{
    CQuillonDoc* doc = Doc();
    m_view.CommitText();
    g_bDragging = true;
    // Where the source stood, taken before anything is placed beside it.
    const Place origin = PlaceOf(source);
    const qint64 shift = qint64(DepthOf(place.parent)) + 1 - doc->GetNodeLevel(m_view.GetItemIndex(source));
    m_nLevelShift = int(std::clamp<qint64>(shift, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
    doc->CopyNodesToClip(m_view.GetItemIndex(source), m_view.CountDescendants(source) + 1);
    m_nLevelShift = 0;
    QTreeWidgetItem* placed = BuildAt(place);
    if (move) {
        m_view.DeleteItem(source, false);
        m_hLastParent = m_view.Handle(origin.parent);
        m_hUndoAnchor = m_view.Handle(origin.after ? origin.after : origin.parent);
    }
    doc->SetMinuteModified(true);
    UpdateKindImage(placed);
    MarkCut(placed, false);
    if (placed)
        m_view.SelectPlaced(placed);
    g_bDragging = false;
    return placed;
}

void BranchMoves::RefuseMove()
{
    m_view.Services().ui.MessageBox(QStringLiteral("Cannot cut and paste within one's self!"), kAppCaption,
                                    MB_OK | MB_ICONEXCLAMATION);
}

int BranchMoves::PasteClip()
{
    QTreeWidgetItem* target = m_view.SelectedItem();
    QTreeWidgetItem* source = ClipSource();
    if (!target || !Doc() || !source)
        return 0; // nothing selected, or the source has gone
    // A copy not yet pasted may go anywhere, even into its own branch.
    if (m_nUndoState != UNDO_COPIED && !IsValidMove(source, target)) {
        RefuseMove();
        return 0;
    }
    m_view.SetBusy(true);
    CopyBranch(source, PlaceAt(target), m_nClipMode == CLIP_CUT);
    SetUndoState(UNDO_PASTED);
    m_view.SetBusy(false);
    return 1;
}

bool BranchMoves::Drop(QTreeWidgetItem* source, QTreeWidgetItem* target)
{
    if (!Doc() || !IsValidMove(source, target))
        return false;
    CopyBranch(source, PlaceAt(target), true);
    SetUndoState(UNDO_MOVED);
    return true;
}

void BranchMoves::RecordDeletion(QTreeWidgetItem* parent, QTreeWidgetItem* previousSibling)
{
    m_hUndoAnchor = m_view.Handle(previousSibling ? previousSibling : parent);
    m_hLastParent = m_view.Handle(parent);
}

int BranchMoves::UndoTreeEdit()
{
    CQuillonDoc* doc = Doc();
    if (!m_view.SelectedItem() || !doc)
        return 0;
    switch (m_nUndoState) {
    case UNDO_COPIED:
    case UNDO_CUT:
        SetUndoState(UNDO_NONE);
        break;
    case UNDO_PASTED:
        if (m_nClipMode == CLIP_COPY) {
            if (m_view.DeleteItem(Pasted(), true))
                SetUndoState(UNDO_DELETED);
            break;
        }
        MoveBack();
        break;
    case UNDO_DELETED: {
        const Place place = UndoPlace();
        if (!place.parent)
            break;
        m_view.CommitText();
        m_view.SetBusy(true);
        BuildAt(place);
        // The branch may have gone in above the selected item: its index moves with it.
        m_view.RefreshSelectedIndex();
        doc->SetMinuteModified(true);
        SetUndoState(UNDO_RESTORED);
        m_view.SetBusy(false);
        break;
    }
    case UNDO_RESTORED:
        // Undo again takes the restored branch away again.
        if (m_view.DeleteItem(Pasted(), true))
            SetUndoState(UNDO_DELETED);
        break;
    case UNDO_MOVED:
        MoveBack();
        break;
    default:
        break;
    }
    return 1;
}

// Undo of a move: the branch placed last goes back where it came from, as a
// cut and paste, so that a further Undo moves it forward again.
void BranchMoves::MoveBack()
{
    QTreeWidgetItem* pasted = Pasted();
    const Place place = UndoPlace();
    if (!pasted || !place.parent)
        return;
    if (!CanPlace(pasted, place)) {
        RefuseMove();
        return;
    }
    m_nClipMode = CLIP_CUT;
    m_hClipSource = m_view.Handle(pasted);
    m_view.SetBusy(true);
    CopyBranch(pasted, place, true);
    SetUndoState(UNDO_PASTED);
    m_view.SetBusy(false);
}
