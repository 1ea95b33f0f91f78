#include "editor/mainframe.h"

#include "framework/commandids.h"

#include <QMenu>
#include <QToolBar>
#include <QToolButton>

CMainFrame::CMainFrame(QWidget* parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Quillon"));
    m_menuBar = new QToolBar(QStringLiteral("Menu bar"), this);
    m_menuBar->setObjectName(QStringLiteral("menuBar"));
    m_menuBar->setMovable(false);
    m_menuBar->setFloatable(false);
    addToolBar(Qt::BottomToolBarArea, m_menuBar);

    const std::vector<MenuItem> popups = MainMenuPopups();
    const QString dropDownTexts[] = {QStringLiteral("File"), QStringLiteral("Edit"), QStringLiteral("Tools"),
                                     QStringLiteral("Edit tree"), QStringLiteral("View")};
    for (size_t i = 0; i < popups.size(); ++i) {
        if (i == 4) {
            // The buttons between the edit drop-down and the view modes.
            const std::pair<const char*, int> buttons[] = {{"Insert Item", cmd::InsertItem},
                                                           {"Insert Sub-Item", cmd::InsertSubItem},
                                                           {"Find next", cmd::FindNext},
                                                           {"Replace next", cmd::ReplaceNext}};
            for (const auto& [text, id] : buttons) {
                QAction* action = m_menuBar->addAction(QString::fromLatin1(text));
                action->setData(id);
                connect(action, &QAction::triggered, this, [this, id = id] { emit commandTriggered(id); });
                m_commandActions.append(action);
            }
        }
        addDropDown(dropDownTexts[i], buildMenu(popups[i], this));
    }

    connect(this, &CMainFrame::commandTriggered, this, [this](int id) {
        if (id == cmd::Exit)
            close();
    });
}

QAction* CMainFrame::actionFor(int id) const
{
    for (QAction* action : m_commandActions) {
        if (action->data().toInt() == id)
            return action;
    }
    return nullptr;
}

QMenu* CMainFrame::buildMenu(const MenuItem& item, QWidget* parent)
{
    auto* menu = new QMenu(item.text, parent);
    for (const MenuItem& entry : item.items) {
        switch (entry.kind) {
        case MenuItem::Separator:
            menu->addSeparator();
            break;
        case MenuItem::Submenu:
            menu->addMenu(buildMenu(entry, menu));
            break;
        case MenuItem::Command: {
            QAction* action = menu->addAction(entry.text);
            action->setData(entry.id);
            connect(action, &QAction::triggered, this, [this, id = entry.id] { emit commandTriggered(id); });
            m_commandActions.append(action);
            break;
        }
        }
    }
    return menu;
}

void CMainFrame::addDropDown(const QString& text, QMenu* menu)
{
    auto* button = new QToolButton(m_menuBar);
    button->setText(text);
    button->setMenu(menu);
    button->setPopupMode(QToolButton::InstantPopup);
    m_menuBar->addWidget(button);
}
