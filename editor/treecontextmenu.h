#pragma once

#include <QObject>
#include <QPoint>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QTimer>

class CMinuteView;
class QContextMenuEvent;
class QMenu;
class QMouseEvent;
class QTreeWidgetItem;

// The tree's item menu (Insert, Delete, Collapse and Expand Branch). A right
// click, the Menu key or a press held still on an item each open it, once per
// gesture: never a second one while one is up, and never during a drag.
class TreeContextMenu : public QObject {
public:
    // How long a press must be held still before the menu opens.
    static constexpr int kHoldMs = 700;

    explicit TreeContextMenu(CMinuteView& view);

    // A press on the tree's viewport: remembers the item under it and, for
    // the left button, starts waiting for a hold.
    void Press(QMouseEvent* event, QTreeWidgetItem* item);
    // A press that moves as far as a drag needs is no hold.
    void PointerMoved(const QPoint& position);
    // The press was released, or became a drag: no hold menu for it.
    void CancelHold() { m_hold.stop(); }
    bool HoldPending() const { return m_hold.isActive(); }
    void OnContextMenuEvent(QContextMenuEvent* event);

    // Selects the remembered item and shows its menu.
    void OnContextMenu();
    QMenu* BuildContextMenu(QTreeWidgetItem* item);
    // The menu on screen, if any.
    QMenu* OpenMenu() const { return m_menu; }

private:
    CMinuteView& m_view;
    QTimer m_hold;
    QPointer<QMenu> m_menu;
    QPoint m_pressPoint;

    QPersistentModelIndex m_hTapItem;
    int m_nTapX = 0;
    int m_nTapItemTop = 0;
};
