#pragma once

#include <QPersistentModelIndex>

class CMinuteView;
class CQuillonDoc;
class QTreeWidgetItem;

// Cut, copy and paste of whole branches, the move that a drop makes, and the
// one-step undo of those edits and of Delete Item. A branch is read from the
// node list when it is placed, not when it is copied or cut: it goes into the
// document's cut buffer, is built at its new place, and for a move the source
// is then deleted.
class BranchMoves {
public:
    // Clip modes.
    enum { CLIP_COPY = 1, CLIP_CUT = 2 };
    // Undo states. UNDO_RESTORED follows the Undo of a delete, so that the
    // next Undo removes the same branch again.
    enum {
        UNDO_NONE = 0,
        UNDO_COPIED = 1,
        UNDO_CUT = 2,
        UNDO_PASTED = 3,
        UNDO_DELETED = 4,
        UNDO_RESTORED = 5,
        UNDO_MOVED = 6
    };

    explicit BranchMoves(CMinuteView& view) : m_view(view) {}

    // Forgets every remembered item and mode, for a new minute.
    void Reset();

    bool CanCutCopy() const;
    bool CanPaste() const;
    bool CanUndo() const { return m_nUndoState != UNDO_NONE; }
    int CutItem();
    int CopyItem();
    int PasteClip();
    int UndoTreeEdit();

    void MarkCut(QTreeWidgetItem* item, bool on);
    // A drag takes the mark off a branch that is waiting to be pasted.
    void ClearCutMark();
    bool TakesChildren(QTreeWidgetItem* target) const;
    bool IsValidMove(QTreeWidgetItem* source, QTreeWidgetItem* target) const;
    void UpdateKindImage(QTreeWidgetItem* item);

    // The move a drop makes; false when it is not a valid move.
    bool Drop(QTreeWidgetItem* source, QTreeWidgetItem* target);
    // Delete Item tells where the branch it removes stood.
    void RecordDeletion(QTreeWidgetItem* parent, QTreeWidgetItem* previousSibling);
    void SetUndoState(int state);

    int LevelShift() const { return m_nLevelShift; }
    int GetUndoState() const { return m_nUndoState; }

private:
    QTreeWidgetItem* ClipSource() const;
    QTreeWidgetItem* Pasted() const;
    // A place in the tree: under parent, directly after `after`, or first
    // when after is none.
    struct Place {
        QTreeWidgetItem* parent = nullptr;
        QTreeWidgetItem* after = nullptr;
    };
    Place PlaceAt(QTreeWidgetItem* target) const;
    static Place PlaceOf(QTreeWidgetItem* item);
    // Where Undo puts back what was deleted or moved away last.
    Place UndoPlace() const;
    // Whether a branch may go to a place: never into itself.
    static bool CanPlace(QTreeWidgetItem* source, const Place& place);
    // Builds the cut buffer at a place; the first item placed.
    QTreeWidgetItem* BuildAt(const Place& place);
    // Copies source's branch to place and, for a move, deletes the source;
    // the placed branch is then selected.
    QTreeWidgetItem* CopyBranch(QTreeWidgetItem* source, const Place& place, bool move);
    // Undo of a move: the branch placed last goes back where it came from.
    void MoveBack();
    int TakeClipSource(int mode);
    // "Cannot cut and paste within one's self!"
    void RefuseMove();
    int DepthOf(const QTreeWidgetItem* item) const;
    CQuillonDoc* Doc() const;

    CMinuteView& m_view;

    int m_nLevelShift = 0;
    QPersistentModelIndex m_hLastParent;
    QPersistentModelIndex m_hUndoAnchor;
    int m_nUndoState = UNDO_NONE;
    QPersistentModelIndex m_hPasted;
    int m_nClipMode = 0;
    QPersistentModelIndex m_hClipSource;
};
