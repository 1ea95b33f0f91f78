#include "editor/mainframe.h"

#include "app/appglobals.h"
#include "editor/detailview.h"
#include "editor/editorservices.h"
#include "editor/minuteview.h"
#include "editor/treeimages.h"
#include "framework/commandids.h"
#include "framework/commandrouter.h"
#include "framework/uiservice.h"
#include "model/quillondoc.h"
#include "platform/inputpanel.h"
#include "platform/shell.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QScreen>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>

namespace {

QKeySequence ShortcutFor(int id)
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
    default:
        return {};
    }
}

int ImageFor(int id)
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

} // namespace

CMainFrame::CMainFrame(EditorServices& services, CommandTarget* application, QWidget* parent)
    : QMainWindow(parent)
    , m_services(services)
    , m_application(application)
{
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowTitle(kAppCaption);
    setWindowIcon(ApplicationIcon());

    // The menu bar: File, Edit, tools, edit, four buttons, view modes.
    m_menuBar = new QToolBar(tr("Menu bar"), this);
    m_menuBar->setObjectName(QStringLiteral("128"));
    m_menuBar->setMovable(false);
    m_menuBar->setFloatable(false);
    m_menuBar->setIconSize(QSize(16, 16));
    m_menuBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    addToolBar(Qt::BottomToolBarArea, m_menuBar);

    const std::vector<MenuItem> popups = MainMenuPopups();
    for (const MenuItem& popup : popups)
        m_popups.append(BuildMenu(popup, this));
    AddDropDown(m_popups[0], tr("File"), -1, tr("File"));
    AddDropDown(m_popups[1], tr("Edit"), -1, tr("Edit"));
    AddDropDown(m_popups[2], QString(), BarImages::Tools, tr("Tools"));
    AddDropDown(m_popups[3], QString(), BarImages::Edit, tr("Cut, copy and paste"));
    AddButton(cmd::InsertItem, BarImages::InsertItem, tr("Insert Item"));
    AddButton(cmd::InsertSubItem, BarImages::InsertSubItem, tr("Insert Sub-Item"));
    AddButton(cmd::FindNext, BarImages::FindNext, tr("Find next occurence"));
    AddButton(cmd::ReplaceNext, BarImages::ReplaceNext, tr("Replace next occurence"));
    AddDropDown(m_popups[4], QString(), BarImages::ViewModes, tr("Both panes, tree or text"));

    OnCommand(cmd::ViewBoth, [this] { SetViewMode(cmd::ViewBoth); });
    OnCommand(cmd::ViewTree, [this] { SetViewMode(cmd::ViewTree); });
    OnCommand(cmd::ViewText, [this] { SetViewMode(cmd::ViewText); });
    OnCommand(cmd::Help, [this] { OnHelp(); });

    auto* help = new QAction(this);
    help->setShortcut(QKeySequence::HelpContents);
    connect(help, &QAction::triggered, this, [this] { SendCommand(cmd::Help); });
    addAction(help);

    m_connections.append(connect(&services.inputPanel, &InputPanel::changed, this, &CMainFrame::FitToInputPanel));
    m_connections.append(connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (m_pTreeView && now == m_pTreeView)
            m_lastActive = m_pTreeView;
        else if (m_pTextView && now == m_pTextView)
            m_lastActive = m_pTextView;
    }));
}

CMainFrame::~CMainFrame()
{
    // The widgets below go after this body; focus moving among them then must not reach us.
    for (const QMetaObject::Connection& connection : m_connections)
        disconnect(connection);
    // The views go with the window; the document must not reach them afterwards.
    if (m_pDocument) {
        m_pDocument->RemoveModifiedListener(m_nModifiedListener);
        m_pDocument->SetMinuteView(nullptr);
        if (m_pTreeView)
            m_pDocument->RemoveView(m_pTreeView);
        if (m_pTextView)
            m_pDocument->RemoveView(m_pTextView);
    }
}

bool CMainFrame::OnCreateClient(CQuillonDoc& document)
{
    const QSize size = this->size();
    m_cxScreen = size.width();
    m_cyScreen = size.height();

    m_wndSplitter = new QSplitter(Qt::Vertical, this);
    m_wndSplitter->setObjectName(QStringLiteral("59648"));
    m_wndSplitter->setChildrenCollapsible(true);
    m_pTreeView = new CMinuteView(m_services, m_wndSplitter);
    m_pTextView = new CDetailView(m_services, m_wndSplitter);
    m_pTreeView->SetDetailView(m_pTextView);
    m_pTextView->SetMinuteView(m_pTreeView);
    setCentralWidget(m_wndSplitter);
    SetViewMode(cmd::ViewBoth);

    m_pDocument = &document;
    document.AddView(m_pTreeView);
    document.AddView(m_pTextView);
    document.SetMinuteView(m_pTreeView);
    m_lastActive = m_pTreeView;

    connect(m_pTreeView, &CMinuteView::commandRequested, this, [this](int id) { SendCommand(id); });
    m_onActivate = [this] { m_pTreeView->DeleteBeamTempFile(); };
    connect(m_pTreeView, &CMinuteView::rootLabelChanged, this, &CMainFrame::RefreshTitle);
    // Unsaved changes show in the title the way the desktop marks them.
    m_nModifiedListener = document.AddModifiedListener([this](bool modified) {
        if (modified != isWindowModified())
            setWindowModified(modified);
    });
    return true;
}

void CMainFrame::RefreshTitle(const QString& label)
{
    setWindowTitle(label.isEmpty() ? kAppCaption : label + QStringLiteral("[*] - ") + kAppCaption);
}

View* CMainFrame::ActiveView() const
{
    QWidget* focus = QApplication::focusWidget();
    if (m_pTextView && focus == m_pTextView)
        return m_pTextView;
    if (m_pTreeView && focus == m_pTreeView)
        return m_pTreeView;
    return m_lastActive;
}

bool CMainFrame::SendCommand(int id)
{
    // A rename still open belongs to the item it began on: finish it before
    // a command moves the selection or changes the tree.
    if (m_pTreeView)
        m_pTreeView->EndLabelEditing();
    CmdUI ui{id};
    RouteCommand(ActiveView(), this, m_application, id, &ui);
    if (!ui.enabled)
        return false;
    return RouteCommand(ActiveView(), this, m_application, id, nullptr);
}

bool CMainFrame::IsCommandEnabled(int id)
{
    CmdUI ui{id};
    RouteCommand(ActiveView(), this, m_application, id, &ui);
    return ui.enabled;
}

QList<QAction*> CMainFrame::ActionsFor(int id) const
{
    QList<QAction*> actions;
    for (QAction* action : m_commandActions) {
        if (action->data().toInt() == id)
            actions.append(action);
    }
    return actions;
}

QMenu* CMainFrame::BuildMenu(const MenuItem& item, QWidget* parent)
{
    auto* menu = new QMenu(item.text, parent);
    for (const MenuItem& entry : item.items) {
        switch (entry.kind) {
        case MenuItem::Separator:
            menu->addSeparator();
            break;
        case MenuItem::Submenu:
            menu->addMenu(BuildMenu(entry, menu));
            break;
        case MenuItem::Command: {
            QAction* action = menu->addAction(entry.text);
            action->setData(entry.id);
            if (const int image = ImageFor(entry.id); image >= 0)
                action->setIcon(BarImages::Icon(image));
            // A command's shortcut belongs to its first entry only.
            if (ActionsFor(entry.id).isEmpty()) {
                action->setShortcut(ShortcutFor(entry.id));
                action->setShortcutContext(Qt::WindowShortcut);
                addAction(action);
            }
            connect(action, &QAction::triggered, this, [this, id = entry.id] { SendCommand(id); });
            m_commandActions.append(action);
            break;
        }
        }
    }
    // Entries show the state the routing gives them while the menu is open;
    // otherwise they stay enabled so that their shortcuts can ask afresh.
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { UpdateMenu(menu); });
    connect(menu, &QMenu::aboutToHide, this, [menu] {
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator() && !action->menu())
                action->setEnabled(true);
        }
    });
    return menu;
}

void CMainFrame::UpdateMenu(QMenu* menu)
{
    for (QAction* action : menu->actions()) {
        if (action->isSeparator() || action->menu())
            continue;
        action->setEnabled(IsCommandEnabled(action->data().toInt()));
    }
}

void CMainFrame::AddDropDown(QMenu* menu, const QString& text, int image, const QString& toolTip)
{
    auto* button = new QToolButton(m_menuBar);
    if (image >= 0) {
        button->setIcon(BarImages::Icon(image));
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    } else {
        button->setText(text);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    }
    button->setToolTip(toolTip);
    button->setMenu(menu);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setFocusPolicy(Qt::NoFocus);
    m_menuBar->addWidget(button);
}

void CMainFrame::AddButton(int id, int image, const QString& toolTip)
{
    QAction* action = m_menuBar->addAction(BarImages::Icon(image), toolTip);
    action->setData(id);
    action->setToolTip(toolTip);
    connect(action, &QAction::triggered, this, [this, id] { SendCommand(id); });
    if (QWidget* button = m_menuBar->widgetForAction(action))
        button->setFocusPolicy(Qt::NoFocus);
    // A command found only on the bar (Find Next, Replace Next) carries its key here.
    if (const QKeySequence keys = ShortcutFor(id); !keys.isEmpty() && ActionsFor(id).isEmpty()) {
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setToolTip(QStringLiteral("%1 (%2)").arg(toolTip, keys.toString(QKeySequence::NativeText)));
        addAction(action);
    }
}

void CMainFrame::SetViewMode(int id)
{
    if (!m_wndSplitter)
        return;
    m_nViewMode = id == cmd::ViewTree || id == cmd::ViewText ? id : cmd::ViewBoth;
    const int both = m_cyScreen / 2 - 24;
    switch (id) {
    case cmd::ViewTree:
        m_wndSplitter->setSizes({m_cyScreen - 24, 0});
        break;
    case cmd::ViewText:
        m_wndSplitter->setSizes({0, m_cyScreen - 24});
        break;
    default:
        m_wndSplitter->setSizes({both, m_cyScreen - both});
        break;
    }
    // Typing must never go into a pane that cannot be seen.
    QWidget* focus = QApplication::focusWidget();
    auto within = [focus](QWidget* pane) { return pane && focus && (focus == pane || pane->isAncestorOf(focus)); };
    if (id == cmd::ViewTree && within(m_pTextView)) {
        m_pTreeView->setFocus(Qt::OtherFocusReason);
    } else if (id == cmd::ViewText && within(m_pTreeView)) {
        m_pTreeView->EndLabelEditing();
        m_pTextView->setFocus(Qt::OtherFocusReason);
    }
}

void CMainFrame::FitToInputPanel()
{
    const auto info = m_services.inputPanel.query();
    if (!info)
        return;
    // Keep the window clear of an on-screen keyboard, and give back what it
    // took when the keyboard goes.
    QRect frame = geometry();
    if (info->panelOn) {
        const int bottom = info->visibleDesktop.bottom();
        if (frame.bottom() > bottom && bottom > frame.top()) {
            if (m_heightBeforePanel == 0)
                m_heightBeforePanel = frame.height();
            frame.setBottom(bottom);
            setGeometry(frame);
        }
    } else if (m_heightBeforePanel > 0) {
        frame.setHeight(m_heightBeforePanel);
        m_heightBeforePanel = 0;
        setGeometry(frame);
    }
}

void CMainFrame::OnHelp()
{
    if (!m_services.shell.Execute(QStringLiteral("open"), QStringLiteral("PegHelp.exe"), QStringLiteral("file:") + m_helpFile,
                                  QString(), Shell::kShowNormal))
        m_services.ui.MessageBox(tr("Failed to launch help."), kAppCaption, MB_OK | MB_ICONEXCLAMATION);
}

void CMainFrame::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        FitToInputPanel();
        if (m_pTextView && m_onActivate)
            m_onActivate();
    }
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (m_pDocument && !m_pDocument->SaveModified()) {
        // Staying open: the next close starts afresh.
        g_bExiting = false;
        event->ignore();
        return;
    }
    if (m_pDocument)
        m_pDocument->OnCloseMinute();
    emit closing();
    event->accept();
}
