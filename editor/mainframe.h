#pragma once

#include "editor/menudefinition.h"
#include "framework/cmdtarget.h"

#include <QMainWindow>

#include <QStringList>

#include <functional>

class CDetailView;
class CommandMenus;
class CMinuteView;
class CQuillonDoc;
class QMenu;
class QSplitter;
class QToolBar;
class View;
struct EditorServices;

// The application's one top-level window: the agenda tree above the item
// text (or beside it), the menu bar at the top, the command bar along the
// bottom edge, four view modes, and the routing that lets a command reach
// either pane whichever has the focus.
class CMainFrame : public QMainWindow, public CommandTarget {
    Q_OBJECT
public:
    CMainFrame(EditorServices& services, CommandTarget* application, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Makes the splitter and both views of the document.
    bool OnCreateClient(CQuillonDoc& document);

    CMinuteView* TreeView() const { return m_pTreeView; }
    CDetailView* TextView() const { return m_pTextView; }
    QSplitter* Splitter() const { return m_wndSplitter; }
    QToolBar* MenuBarStrip() const { return m_menuBar; }

    // Routes a command (active view and its document, frame, application,
    // other views); false when nobody took it or it is disabled.
    bool SendCommand(int id);
    // The enable state a command's menu entry would show.
    bool IsCommandEnabled(int id);
    // The view the keyboard focus is in (the tree when it is in neither).
    View* ActiveView() const;

    // Every action of the menus that carries the command.
    QList<QAction*> ActionsFor(int id) const;
    // The popup a drop-down entry of the command bar opens, by its position (0 to 4).
    QMenu* Popup(int index) const { return m_popups.value(index); }

    // The command bar along the bottom edge; shown unless the user hid it.
    bool CommandBarShown() const;
    void ShowCommandBar(bool shown);

    // Where File > Recent takes its minutes from, and what choosing one does.
    void SetRecentMinutes(std::function<QStringList()> list, std::function<void(const QString& path)> open);

    // The help page the help command opens (a device path).
    void SetHelpFile(const QString& path) { m_helpFile = path; }

    void SetViewMode(int id);
    // The command id of the view mode shown: ViewBoth, ViewTree, ViewText or ViewSideBySide.
    int ViewMode() const { return m_nViewMode; }
    void FitToInputPanel();

    int m_cyScreen = 0;
    int m_cxScreen = 0;

    // Run each time the window is activated (the beaming clean-up hooks in here).
    std::function<void()> m_onActivate;

signals:
    void closing();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildDesktopMenus();
    void FillRecentMenu();
    void AddDropDown(QMenu* menu, const QString& text, int image, const QString& toolTip);
    void AddButton(int id, int image, const QString& toolTip);
    void OnHelp();
    void RefreshTitle(const QString& label);

    EditorServices& m_services;
    CommandTarget* m_application;
    QSplitter* m_wndSplitter = nullptr;
    CMinuteView* m_pTreeView = nullptr;
    CDetailView* m_pTextView = nullptr;
    CQuillonDoc* m_pDocument = nullptr;
    int m_nModifiedListener = 0;
    int m_nViewMode = 0;
    QToolBar* m_menuBar = nullptr;
    CommandMenus* m_menus = nullptr;
    QList<QMenu*> m_popups;
    QMenu* m_recentMenu = nullptr;
    std::function<QStringList()> m_recentList;
    std::function<void(const QString&)> m_openRecent;
    View* m_lastActive = nullptr;
    int m_heightBeforePanel = 0;
    QString m_helpFile;
    QList<QMetaObject::Connection> m_connections;
};
