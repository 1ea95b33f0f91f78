#include "framework/handhelddialog.h"

#include "framework/uiservice.h"

#include <QApplication>
#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>

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
    return list;
}

QPushButton* HandheldDialog::MakeButton(int id, const QString& text, bool endsDialog)
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(QString::number(id));
    button->setAutoDefault(false);
    m_buttonRow->addWidget(button);
    if (endsDialog)
        connect(button, &QPushButton::clicked, this, [this, id] { done(id); });
    return button;
}

void HandheldDialog::InitDialog()
{
    if (m_initialised)
        return;
    m_initialised = true;
    OnInitDialog();
}

void HandheldDialog::showEvent(QShowEvent* event)
{
    QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    const QRect area = owner ? owner->geometry()
                             : (screen() ? screen()->availableGeometry() : QRect(0, 0, 480, 640));
    if (m_fullScreen) {
        resize(area.size().expandedTo(minimumSizeHint()));
    } else {
        adjustSize();
    }
    move(area.center() - QPoint(width() / 2, height() / 2));
    QDialog::showEvent(event);
}
