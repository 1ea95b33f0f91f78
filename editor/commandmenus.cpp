#include "editor/commandmenus.h"

#include "editor/treeimages.h"
#include "framework/cmdtarget.h"
#include "framework/commandids.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QWidget>

CommandMenus::CommandMenus(QWidget* window, Send send, Update update)
    : QObject(window)
    , m_window(window)
    , m_send(std::move(send))
    , m_update(std::move(update))
{
}

QKeySequence CommandMenus::ShortcutFor(int id)
{
    switch (id) {
    case cmd::New:
        return QKeySequence::New;
    case cmd::Open:
        return QKeySequence::Open;
    case cmd::Save:
        return QKeySequence::Save;
    // The standard keys for these are missing where no desktop theme names
    // them (a bare X session): the usual keys, then, everywhere.
    case cmd::SaveAsMinute:
        return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
    case cmd::Exit:
        return QKeySequence(Qt::CTRL | Qt::Key_Q);
    case cmd::Print:
        return QKeySequence(Qt::CTRL | Qt::Key_P);
    case cmd::Undo:
        return QKeySequence::Undo;
    case cmd::Cut:
        return QKeySequence::Cut;
    case cmd::Copy:
        return QKeySequence::Copy;
    case cmd::Paste:
        return QKeySequence::Paste;
    case cmd::Find:
        return QKeySequence::Find;
    case cmd::Replace:
        return QKeySequence(Qt::CTRL | Qt::Key_H);
    case cmd::FindNext:
        return QKeySequence(Qt::Key_F3);
    case cmd::ReplaceNext:
        return QKeySequence(Qt::SHIFT | Qt::Key_F3);
    case cmd::ExpandAll:
        return QKeySequence(Qt::CTRL | Qt::Key_Plus);
    case cmd::CollapseAll:
        return QKeySequence(Qt::CTRL | Qt::Key_Minus);
    // Keys of the tree alone (see TreeKey).
    case cmd::InsertItem:
        return QKeySequence(Qt::Key_Insert);
    case cmd::InsertSubItem:
        return QKeySequence(Qt::SHIFT | Qt::Key_Insert);
    case cmd::DeleteItem:
        return QKeySequence(Qt::Key_Delete);
    case cmd::ViewBoth:
        return QKeySequence(Qt::CTRL | Qt::Key_1);
    case cmd::ViewTree:
        return QKeySequence(Qt::CTRL | Qt::Key_2);
    case cmd::ViewText:
        return QKeySequence(Qt::CTRL | Qt::Key_3);
    case cmd::ViewSideBySide:
        return QKeySequence(Qt::CTRL | Qt::Key_4);
    case cmd::Help:
        return QKeySequence(Qt::Key_F1);
    default:
        return {};
    }
}

bool CommandMenus::TreeKey(int id)
{
    // Insert, Shift+Insert and Delete mean these commands only in the tree,
    // which takes them itself; in the text pane they stay the text's (Shift+
    // Insert pastes there), so the menu only shows them.
    return id == cmd::InsertItem || id == cmd::InsertSubItem || id == cmd::DeleteItem;
}

int CommandMenus::ImageFor(int id)
{
    switch (id) {
    case cmd::InsertItem:
        return BarImages::InsertItem;
    case cmd::InsertSubItem:
        return BarImages::InsertSubItem;
    case cmd::FindNext:
        return BarImages::FindNext;
    case cmd::ReplaceNext:
        return BarImages::ReplaceNext;
    default:
        return -1;
    }
}

QList<QAction*> CommandMenus::ActionsFor(int id) const
{
    QList<QAction*> actions;
    for (QAction* action : m_actions) {
        if (action->data().toInt() == id)
            actions.append(action);
    }
    return actions;
}

QMenu* CommandMenus::Build(const MenuItem& item, QWidget* parent, Keys keys)
{
    auto* menu = new QMenu(item.text, parent);
    // A submenu filled as it opens is found by its id.
    if (item.id != 0)
        menu->setObjectName(QString::number(item.id));
    for (const MenuItem& entry : item.items) {
        switch (entry.kind) {
        case MenuItem::Separator:
            menu->addSeparator();
            break;
        case MenuItem::Submenu:
            menu->addMenu(Build(entry, menu, keys));
            break;
        case MenuItem::Command: {
            QAction* action = menu->addAction(entry.text);
            action->setData(entry.id);
            if (const int image = ImageFor(entry.id); image >= 0)
                action->setIcon(BarImages::Icon(image));
            else if (entry.id == cmd::Print || entry.id == cmd::PrintPreview)
                // The desktop theme's printer, where there is a theme; the bar has no image for printing.
                action->setIcon(QIcon::fromTheme(entry.id == cmd::Print ? QStringLiteral("document-print")
                                                                        : QStringLiteral("document-print-preview")));
            action->setShortcut(ShortcutFor(entry.id));
            if (keys == Keys::Live && !TreeKey(entry.id)) {
                action->setShortcutContext(Qt::WindowShortcut);
                m_window->addAction(action);
            } else {
                // Shown beside the entry; the live entry of the same command answers the key.
                action->setShortcutContext(Qt::WidgetShortcut);
            }
            connect(action, &QAction::triggered, this, [this, id = entry.id] { m_send(id); });
            m_actions.append(action);
            break;
        }
        }
    }
    // Entries show the state the routing gives them while the menu is open;
    // otherwise they stay enabled so that their keys can ask afresh.
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { UpdateMenu(menu); });
    connect(menu, &QMenu::aboutToHide, this, [menu] {
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator() && !action->menu() && action->data().isValid())
                action->setEnabled(true);
        }
    });
    return menu;
}

void CommandMenus::UpdateMenu(QMenu* menu)
{
    for (QAction* action : menu->actions()) {
        // Entries that are not commands (File > Recent's minutes) keep their own state.
        if (action->isSeparator() || action->menu() || !action->data().isValid())
            continue;
        CmdUI ui{action->data().toInt()};
        m_update(ui);
        action->setEnabled(ui.enabled);
        if (ui.checked) {
            action->setCheckable(true);
            action->setChecked(*ui.checked);
        }
    }
}
