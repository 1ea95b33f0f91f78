#include "editor/treecontextmenu.h"

#include "editor/treedrag.h"
#include "editor/minuteview.h"
#include "framework/commandids.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>

TreeContextMenu::TreeContextMenu(CMinuteView& view)
    : m_view(view)
{
    m_hold.setSingleShot(true);
    m_hold.setInterval(kHoldMs);
    connect(&m_hold, &QTimer::timeout, this, [this] {
        // Held still: the press is a menu request, not the start of a drag.
        m_view.Drag().Cancel();
        OnContextMenu();
    });
}

void TreeContextMenu::Press(QMouseEvent* event, QTreeWidgetItem* item)
{
    const QPoint position = event->position().toPoint();
    // A press away from every item leaves nothing to remember: the menu then
    // acts on the selected item, never on one that may since have gone.
    m_hTapItem = m_view.Handle(item);
    if (item) {
        m_nTapX = position.x();
        m_nTapItemTop = m_view.visualItemRect(item).top();
    }
    m_pressPoint = position;
    if (event->button() == Qt::LeftButton)
        m_hold.start();
    else
        m_hold.stop();
}

void TreeContextMenu::PointerMoved(const QPoint& position)
{
    if (m_hold.isActive() && (position - m_pressPoint).manhattanLength() >= QApplication::startDragDistance())
        m_hold.stop();
}

void TreeContextMenu::OnContextMenuEvent(QContextMenuEvent* event)
{
    m_hold.stop();
    if (event->reason() != QContextMenuEvent::Mouse) {
        // From the keyboard: the menu is for the selected item.
        m_hTapItem = m_view.Handle(m_view.SelectedItem());
        if (QTreeWidgetItem* item = m_view.SelectedItem()) {
            const QRect rect = m_view.visualItemRect(item);
            m_nTapX = rect.left() + 20;
            m_nTapItemTop = rect.top();
        }
    }
    OnContextMenu();
    event->accept();
}

QMenu* TreeContextMenu::BuildContextMenu(QTreeWidgetItem* item)
{
    auto* menu = new QMenu(&m_view);
    menu->setObjectName(QStringLiteral("137"));
    auto add = [this, menu](const QString& text, int id) {
        QAction* action = menu->addAction(text);
        action->setData(id);
        connect(action, &QAction::triggered, &m_view, [this, id] { emit m_view.commandRequested(id); });
        return action;
    };
    add(QStringLiteral("Insert Item..."), cmd::InsertItem);
    add(QStringLiteral("Insert Sub-Item..."), cmd::InsertSubItem);
    menu->addSeparator();
    add(QStringLiteral("Delete Item..."), cmd::DeleteItem)->setEnabled(item != m_view.RootItem());
    if (item->childCount() > 0) {
        menu->addSeparator();
        add(QStringLiteral("Collapse Branch"), cmd::CollapseBranch);
        add(QStringLiteral("Expand Branch"), cmd::ExpandBranch);
    }
    return menu;
}

void TreeContextMenu::OnContextMenu()
{
    m_hold.stop();
    // One gesture, one menu: a request while one is up (a right click whose
    // press also began a hold, say) opens nothing more.
    if (m_menu && m_menu->isVisible())
        return;
    QTreeWidgetItem* item = m_view.Item(m_hTapItem);
    if (!item) {
        item = m_view.SelectedItem();
        if (!item)
            return;
        const QRect rect = m_view.visualItemRect(item);
        m_nTapX = rect.left() + 20;
        m_nTapItemTop = rect.top();
    }
    m_view.SelectItem(item);

    // Placed as the handheld places it, within the main window: to the left
    // of the tap near the right edge, below the item unless too near the bottom.
    QWidget* frame = m_view.window();
    const int width = frame->width();
    const int height = frame->height();
    const int x = m_nTapX + 130 > width ? m_nTapX - 132 : m_nTapX < 130 ? 2 : m_nTapX;
    const int y = m_nTapItemTop + 174 > height ? m_nTapItemTop - 170 : m_nTapItemTop + 44;

    m_menu = BuildContextMenu(item);
    m_menu->setAttribute(Qt::WA_DeleteOnClose);
    m_menu->popup(frame->mapToGlobal(QPoint(std::max(x, 0), std::max(y, 0))));
}
