#pragma once

#include "editor/menudefinition.h"

#include <QKeySequence>
#include <QList>
#include <QObject>

#include <functional>

class QAction;
class QMenu;
class QWidget;
struct CmdUI;

// Builds menus of commands and keeps their actions: every entry sends its
// command through one routing, and shows the state that routing gives it
// while its menu is open. One command may appear in several menus (the
// command bar's and the menu bar's); they show the same key, and only the
// entries built with live keys react to it, so that no key is ambiguous.
class CommandMenus : public QObject {
    Q_OBJECT
public:
    using Send = std::function<void(int id)>;
    using Update = std::function<void(CmdUI& ui)>;

    // Keys of live entries go to window, which holds them while any menu is hidden.
    CommandMenus(QWidget* window, Send send, Update update);

    enum class Keys { Live, Shown };
    QMenu* Build(const MenuItem& item, QWidget* parent, Keys keys);

    // Every entry that carries the command, in the order they were built.
    QList<QAction*> ActionsFor(int id) const;

    // The key of a command, if it has one.
    static QKeySequence ShortcutFor(int id);
    // Whether a command's key is the agenda tree's own rather than the window's.
    static bool TreeKey(int id);
    // The command bar image of a command, or -1.
    static int ImageFor(int id);

private:
    void UpdateMenu(QMenu* menu);

    QWidget* m_window;
    Send m_send;
    Update m_update;
    QList<QAction*> m_actions;
};
