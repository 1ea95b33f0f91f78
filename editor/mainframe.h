#pragma once

#include "editor/menudefinition.h"

#include <QMainWindow>

class QMenu;
class QToolBar;

// The application's one top-level window, with the menu bar along its bottom edge.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);

    QToolBar* menuBarStrip() const { return m_menuBar; }
    // The action carrying a command id (the first one when several menus hold it).
    QAction* actionFor(int id) const;

signals:
    void commandTriggered(int id);

private:
    QMenu* buildMenu(const MenuItem& item, QWidget* parent);
    void addDropDown(const QString& text, QMenu* menu);

    QToolBar* m_menuBar = nullptr;
    QList<QAction*> m_commandActions;
};
