#pragma once

#include <QPersistentModelIndex>
#include <QPoint>

class CMinuteView;
class QMouseEvent;
class QPainter;
class QTreeWidgetItem;

// Moving a branch by dragging it with the mouse or stylus. A drag begins once
// a left press on an item has moved far enough, highlights the item under
// the pointer as the drop target, and ends at the button release (dropping
// on the item there, if any) or at Escape (dropping nothing).
class TreeDrag {
public:
    explicit TreeDrag(CMinuteView& view) : m_view(view) {}

    // Mouse events of the tree's viewport; true when the drag took the event.
    void Press(QMouseEvent* event, QTreeWidgetItem* item);
    bool Move(QMouseEvent* event);
    bool Release(QMouseEvent* event);
    // Ends a drag without dropping, and forgets a press that could start one.
    void Cancel();

    // The steps of a drag, in viewport coordinates.
    void OnBeginDrag(const QPoint& point);
    void OnDragMove(const QPoint& point);
    void OnDrop();

    bool IsDragging() const { return m_bMouseDrag; }
    // A press that may still become a drag.
    bool IsPending() const { return m_pressItemValid; }
    QTreeWidgetItem* DropTarget() const;
    // The drop highlight and the dragged image, over the tree.
    void Paint(QPainter& painter) const;

private:
    CMinuteView& m_view;
    bool m_bMouseDrag = false;     // a drag started here is under way
    bool m_pressItemValid = false; // the left button went down on an item and is still down
    QPoint m_pressPoint;

    QPersistentModelIndex m_hDropTarget;
    int m_nDragImage = 0;
    QPersistentModelIndex m_hDragSource;
    QPoint m_ptDrag;
};
