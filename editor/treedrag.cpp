#include "editor/treedrag.h"

#include "editor/branchmoves.h"
#include "editor/minuteview.h"
#include "editor/treeimages.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

QTreeWidgetItem* TreeDrag::DropTarget() const
{
    return m_view.Item(m_hDropTarget);
}

void TreeDrag::Press(QMouseEvent* event, QTreeWidgetItem* item)
{
    // A drag that lost its release (another window took the mouse) ends here, dropping nothing.
    if (m_bMouseDrag)
        Cancel();
    // Only the left button starts a drag; a right-button drag does nothing.
    m_pressItemValid = item && event->button() == Qt::LeftButton;
    m_pressPoint = event->position().toPoint();
}

bool TreeDrag::Move(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    if (m_bMouseDrag) {
        OnDragMove(position);
        return true;
    }
    if (!(event->buttons() & Qt::LeftButton))
        m_pressItemValid = false;
    if (m_pressItemValid && !m_view.IsEditingLabel()
        && (position - m_pressPoint).manhattanLength() >= QApplication::startDragDistance()) {
        OnBeginDrag(m_pressPoint);
        OnDragMove(position);
        return true;
    }
    return false;
}

bool TreeDrag::Release(QMouseEvent* event)
{
    m_pressItemValid = false;
    if (!m_bMouseDrag || event->button() != Qt::LeftButton)
        return false;
    OnDragMove(event->position().toPoint());
    OnDrop();
    return true;
}

void TreeDrag::Cancel()
{
    m_pressItemValid = false;
    if (!m_bMouseDrag)
        return;
    m_bMouseDrag = false;
    g_bDragging = false;
    m_hDropTarget = QPersistentModelIndex();
    m_view.SetBusy(false);
    m_view.viewport()->update();
}

void TreeDrag::OnBeginDrag(const QPoint& point)
{
    m_ptDrag = point;
    QTreeWidgetItem* source = m_view.itemAt(point);
    m_hDragSource = m_view.Handle(source);
    if (!source)
        return;
    m_view.Moves().ClearCutMark();
    m_hDropTarget = m_view.Handle(source);
    m_nDragImage = CMinuteView::NormalImage(source);
    g_bDragging = true;
    m_view.SetBusy(true);
    m_bMouseDrag = true;
    m_view.viewport()->update();
}

void TreeDrag::OnDragMove(const QPoint& point)
{
    if (!g_bDragging || !m_bMouseDrag)
        return;
    QWidget* viewport = m_view.viewport();
    // Held above or below the tree, the tree scrolls a line at a time.
    if (point.y() < 0)
        m_view.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    else if (point.y() > viewport->height())
        m_view.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    // What is highlighted is what a release here drops on: nothing, away from the items.
    QTreeWidgetItem* item = viewport->rect().contains(point) ? m_view.itemAt(point) : nullptr;
    m_hDropTarget = m_view.Handle(item);
    m_ptDrag = point;
    viewport->update();
}

void TreeDrag::OnDrop()
{
    if (!g_bDragging || !m_bMouseDrag)
        return;
    g_bDragging = false;
    m_bMouseDrag = false;
    QTreeWidgetItem* source = m_view.Item(m_hDragSource);
    QTreeWidgetItem* target = DropTarget();
    m_hDropTarget = QPersistentModelIndex();
    // An invalid drop does nothing, without a word.
    if (source && target)
        m_view.Moves().Drop(source, target);
    m_view.SetBusy(false);
    m_view.viewport()->update();
}

void TreeDrag::Paint(QPainter& painter) const
{
    if (!m_bMouseDrag)
        return;
    // The drop target is highlighted, and the dragged item's image follows the pointer.
    if (QTreeWidgetItem* target = DropTarget()) {
        const QPalette palette = m_view.palette();
        QColor highlight = palette.color(QPalette::Highlight);
        highlight.setAlpha(90);
        const QRect rect = m_view.visualItemRect(target);
        painter.fillRect(rect, highlight);
        painter.setPen(palette.color(QPalette::Highlight));
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
    }
    painter.setOpacity(0.7);
    TreeImages::Icon(m_nDragImage, m_nDragImage).paint(&painter, QRect(m_ptDrag, QSize(16, 16)));
}
