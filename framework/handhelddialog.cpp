#include "framework/handhelddialog.h"

#include "framework/uiservice.h"

#include <QApplication>
#include <QBoxLayout>
#include <QFormLayout>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <QTreeWidget>

#include <algorithm>

namespace {

// Shows a cell's whole text as its tip when the cell is too narrow for it.
class CutTextTips final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override
    {
        if (event->type() == QEvent::ToolTip && index.isValid() && !index.data(Qt::ToolTipRole).isValid()) {
            // Only the part of the cell the viewport shows counts.
            const QRect shown = option.rect.intersected(view->viewport()->rect());
            const QString text = index.data(Qt::DisplayRole).toString();
            if (!text.isEmpty() && sizeHint(option, index).width() > shown.width()) {
                QToolTip::showText(event->globalPos(), text, view->viewport(), shown);
                return true;
            }
        }
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    }
};

// The focusable controls under a layout item, in the order they are laid out.
void CollectControls(QLayoutItem* item, QList<QWidget*>& controls)
{
    if (auto* form = qobject_cast<QFormLayout*>(item->layout())) {
        // Row by row, whatever order the rows were added in.
        for (int row = 0; row < form->rowCount(); ++row) {
            for (const auto role : {QFormLayout::LabelRole, QFormLayout::FieldRole, QFormLayout::SpanningRole}) {
                if (QLayoutItem* cell = form->itemAt(row, role))
                    CollectControls(cell, controls);
            }
        }
    } else if (QLayout* layout = item->layout()) {
        for (int i = 0; i < layout->count(); ++i)
            CollectControls(layout->itemAt(i), controls);
    } else if (QWidget* widget = item->widget()) {
        if (widget->focusPolicy() & Qt::TabFocus)
            controls.append(widget);
        else if (widget->layout()) // a frame such as a group box: the controls in it
            CollectControls(widget->layout(), controls);
    }
}

// The room a list needs to show its widest row whole, and between minRows and maxRows rows.
QSize ContentSize(QAbstractItemView& view, int minRows, int maxRows)
{
    const QAbstractItemModel* model = view.model();
    const int rows = model ? model->rowCount(view.rootIndex()) : 0;
    int width = 0;
    int height = 0;
    if (auto* tree = qobject_cast<QTreeView*>(&view)) {
        const QHeaderView* header = tree->header();
        for (int column = 0; column < header->count(); ++column) {
            if (header->isSectionHidden(column))
                continue;
            width += std::max(view.sizeHintForColumn(column), header->isHidden() ? 0 : header->sectionSizeHint(column));
        }
        if (!header->isHidden())
            height += header->sizeHint().height();
    } else {
        width = std::max(0, view.sizeHintForColumn(0));
    }
    // Rows as the view lays them out (its size hints may be taken before a style sheet applies).
    const int laidOut = rows > 0 ? view.visualRect(model->index(0, 0, view.rootIndex())).height() : 0;
    const int rowHeight = laidOut > 0 ? laidOut : rows > 0 ? view.sizeHintForRow(0) : view.fontMetrics().height() + 4;
    height += rowHeight * std::clamp(rows, minRows, maxRows);
    if (rows > maxRows)
        width += view.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &view);
    // A little air between the widest text and the frame.
    const int frame = 2 * view.frameWidth();
    return {width + frame + 4, height + frame};
}

} // namespace

HandheldDialog::HandheldDialog(int templateId, const QString& title, QWidget* parent)
    : QDialog(parent ? parent : QApplication::activeWindow())
{
    setObjectName(QString::number(templateId));
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    m_body = new QVBoxLayout;
    layout->addLayout(m_body, 1);
    m_buttonRow = new QHBoxLayout;
    m_buttonRow->addStretch(1);
    layout->addLayout(m_buttonRow);
    m_ok = MakeButton(IDOK, tr("OK"));
    m_ok->setDefault(true);
}

QRect HandheldDialog::Placement(bool fullWindow, QSize natural, const QRect& owner, const QRect& available, int raise)
{
    if (fullWindow && available.width() < kHandheldWidth) {
        const QRect window = owner.intersected(available);
        return window.isEmpty() ? available : window;
    }
    const QSize size = natural.boundedTo(available.size());
    const QRect around = owner.isValid() ? owner : available;
    const int left = around.x() + (around.width() - size.width()) / 2;
    const int top = around.y() + (around.height() - size.height()) / 2 - raise;
    // Wholly inside the area, also when the owner is partly outside it.
    return {std::clamp(left, available.left(), available.right() + 1 - size.width()),
            std::clamp(top, available.top(), available.bottom() + 1 - size.height()), size.width(), size.height()};
}

QLabel* HandheldDialog::MakeStaticText(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    MakeBlue(label);
    return label;
}

void HandheldDialog::MakeBlue(QLabel* label)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    label->setPalette(palette);
}

QTreeWidget* HandheldDialog::MakeTickList(int id, QWidget* parent)
{
    auto* list = new QTreeWidget(parent);
    list->setObjectName(QString::number(id));
    list->setHeaderHidden(true);
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setStyleSheet(QStringLiteral("QTreeView::indicator:unchecked { image: url(:/icons/check-unticked.svg); }"
                                       "QTreeView::indicator:checked { image: url(:/icons/check-ticked.svg); }"));
    ShowCutTextAsTip(list);
    return list;
}

void HandheldDialog::ShowCutTextAsTip(QAbstractItemView* view)
{
    if (!dynamic_cast<CutTextTips*>(view->itemDelegate()))
        view->setItemDelegate(new CutTextTips(view));
}

QPushButton* HandheldDialog::MakeButton(int id, const QString& text, bool endsDialog)
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(QString::number(id));
    // Enter on a button that has the focus presses that button; elsewhere it
    // presses the dialog's default.
    button->setAutoDefault(true);
    m_buttonRow->addWidget(button);
    if (endsDialog)
        connect(button, &QPushButton::clicked, this, [this, id] { done(id); });
    return button;
}

void HandheldDialog::FitToContents(QAbstractItemView* view, int minRows, int maxRows)
{
    m_fitted.push_back({view, minRows, maxRows});
    ShowCutTextAsTip(view);
}

void HandheldDialog::InitDialog()
{
    if (m_initialised)
        return;
    m_initialised = true;
    OnInitDialog();
}

QSize HandheldDialog::NaturalSize(const QSize& limit)
{
    // Each list takes its contents' size while the dialog's is taken (at most
    // two thirds of the screen), and is free to grow and shrink afterwards.
    const QSize listLimit(limit.width() * 2 / 3, limit.height() * 2 / 3);
    struct Kept {
        QAbstractItemView* view;
        QSize minimum;
        QSize maximum;
    };
    std::vector<Kept> kept;
    for (const FittedList& fitted : m_fitted) {
        if (!fitted.view)
            continue;
        kept.push_back({fitted.view, fitted.view->minimumSize(), fitted.view->maximumSize()});
        fitted.view->setFixedSize(ContentSize(*fitted.view, fitted.minRows, fitted.maxRows).boundedTo(listLimit));
    }
    layout()->activate();
    QSize size = sizeHint().expandedTo(minimumSizeHint());
    if (hasHeightForWidth()) {
        // Wide enough for a prompt's sentence on one line, so that short
        // dialogs do not come out as narrow columns of wrapped text; the
        // text then takes the height it needs at that width.
        size.setWidth(std::min(std::max(size.width(), fontMetrics().averageCharWidth() * 50), limit.width()));
        size.setHeight(std::max(heightForWidth(size.width()), minimumSizeHint().height()));
    }
    for (const Kept& list : kept) {
        list.view->setMinimumSize(list.minimum);
        list.view->setMaximumSize(list.maximum);
    }
    layout()->activate();
    return size.boundedTo(limit);
}

void HandheldDialog::OrderTabs()
{
    QList<QWidget*> controls;
    CollectControls(layout(), controls);
    for (qsizetype i = 1; i < controls.size(); ++i)
        setTabOrder(controls[i - 1], controls[i]);
}

void HandheldDialog::showEvent(QShowEvent* event)
{
    OrderTabs();
    if (m_firstFocus)
        m_firstFocus->setFocus();

    QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    const QScreen* shownOn = owner ? owner->screen() : screen();
    QRect available = shownOn ? shownOn->availableGeometry() : QRect(0, 0, 480, 640);
    const bool fullWindow = m_fullScreen && available.width() < kHandheldWidth;
    if (!fullWindow && owner && owner->isVisible()) {
        // Room for the window frame, taken to be the owner's.
        const QRect inner = owner->geometry();
        const QRect outer = owner->frameGeometry();
        available -= QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                              outer.bottom() - inner.bottom());
    }
    const QSize natural = fullWindow ? QSize() : NaturalSize(available.size());
    setGeometry(Placement(fullWindow, natural, owner ? owner->geometry() : QRect(), available, m_raise));
    QDialog::showEvent(event);
}
