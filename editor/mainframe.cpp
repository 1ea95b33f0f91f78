#include "editor/mainframe.h"

#include "app/appglobals.h"
#include "editor/commandmenus.h"
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
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QScreen>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>


namespace {

// "name.min  [folder]": the name first, so that the list reads at a glance.
QString RecentEntryText(const QString& path)
{
    const QString native = QDir::toNativeSeparators(QString(path).replace(QLatin1Char('\\'), QLatin1Char('/')));
    const qsizetype slash = native.lastIndexOf(QDir::separator());
    if (slash < 0)
        return native;
    QString folder = native.left(slash);
    const QString home = QDir::toNativeSeparators(QDir::homePath());
    if (folder == home || folder.startsWith(home + QDir::separator()))
        folder = QLatin1Char('~') + folder.mid(home.size());
    // An ampersand in a name is shown, not taken for an Alt letter.
    return QStringLiteral("%1  [%2]").arg(native.mid(slash + 1), folder.isEmpty() ? QDir::separator() : folder)
        .replace(QLatin1Char('&'), QLatin1String("&&"));
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

    m_menus = new CommandMenus(
        this, [this](int id) { SendCommand(id); },
        [this](CmdUI& ui) { RouteCommand(ActiveView(), this, m_application, ui.id, &ui); });

    // The command bar along the bottom edge: File, Edit, tools, edit, four
    // buttons, view modes. Its entries show the keys the menu bar answers.
    m_menuBar = new QToolBar(tr("Command Bar"), this);
    m_menuBar->setObjectName(QStringLiteral("128"));
    m_menuBar->setMovable(false);
    m_menuBar->setFloatable(false);
    m_menuBar->setIconSize(QSize(16, 16));
    m_menuBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_menuBar->toggleViewAction()->setVisible(false);
    addToolBar(Qt::BottomToolBarArea, m_menuBar);

    const std::vector<MenuItem> popups = MainMenuPopups();
    for (const MenuItem& popup : popups)
        m_popups.append(m_menus->Build(popup, this, CommandMenus::Keys::Shown));
    AddDropDown(m_popups[0], tr("File"), -1, tr("File"));
    AddDropDown(m_popups[1], tr("Edit"), -1, tr("Edit"));
    AddDropDown(m_popups[2], QString(), BarImages::Tools, tr("Tools"));
    AddDropDown(m_popups[3], QString(), BarImages::Edit, tr("Cut, copy and paste"));
    AddButton(cmd::InsertItem, BarImages::InsertItem, tr("Insert Item"));
    AddButton(cmd::InsertSubItem, BarImages::InsertSubItem, tr("Insert Sub-Item"));
    AddButton(cmd::FindNext, BarImages::FindNext, tr("Find next occurence"));
    AddButton(cmd::ReplaceNext, BarImages::ReplaceNext, tr("Replace next occurence"));
    AddDropDown(m_popups[4], QString(), BarImages::ViewModes, tr("Both panes, tree or text"));

    BuildDesktopMenus();

    for (const int mode : {int(cmd::ViewBoth), int(cmd::ViewTree), int(cmd::ViewText), int(cmd::ViewSideBySide)})
        OnCommand(mode, [this, mode] { SetViewMode(mode); }, [this, mode](CmdUI& ui) { ui.SetCheck(m_nViewMode == mode); });
    OnCommand(cmd::ViewCommandBar, [this] { ShowCommandBar(!CommandBarShown()); },
              [this](CmdUI& ui) { ui.SetCheck(CommandBarShown()); });
    OnCommand(cmd::Help, [this] { OnHelp(); });

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
    return m_menus->ActionsFor(id);
}

void CMainFrame::BuildDesktopMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("DesktopMenuBar"));
    for (const MenuItem& menu : DesktopMenus())
        bar->addMenu(m_menus->Build(menu, bar, CommandMenus::Keys::Live));
    if (QMenu* recent = bar->findChild<QMenu*>(QString::number(cmd::RecentMinutes))) {
        m_recentMenu = recent;
        // The submenu is filled as its File menu opens, so that it is never stale.
        QMenu* file = qobject_cast<QMenu*>(recent->parent());
        connect(file, &QMenu::aboutToShow, this, &CMainFrame::FillRecentMenu);
    }
    // F10 opens the menu bar, as on every desktop.
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(f10, &QShortcut::activated, this, [bar] {
        if (!bar->actions().isEmpty())
            bar->setActiveAction(bar->actions().constFirst());
    });
}

void CMainFrame::SetRecentMinutes(std::function<QStringList()> list, std::function<void(const QString&)> open)
{
    m_recentList = std::move(list);
    m_openRecent = std::move(open);
}

void CMainFrame::FillRecentMenu()
{
    if (!m_recentMenu)
        return;
    m_recentMenu->clear();
    const QStringList paths = m_recentList ? m_recentList() : QStringList();
    int number = 0;
    for (const QString& path : paths) {
        const QString text = QStringLiteral("&%1 %2").arg(++number).arg(RecentEntryText(path));
        QAction* action = m_recentMenu->addAction(text);
        action->setToolTip(QDir::toNativeSeparators(path));
        connect(action, &QAction::triggered, this, [this, path] {
            if (m_openRecent)
                m_openRecent(path);
        });
    }
    m_recentMenu->menuAction()->setEnabled(!paths.isEmpty());
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
    // The menu bar's entry answers the key; the button says which it is.
    if (const QKeySequence keys = CommandMenus::ShortcutFor(id); !keys.isEmpty())
        action->setToolTip(QStringLiteral("%1 (%2)").arg(toolTip, keys.toString(QKeySequence::NativeText)));
}

bool CMainFrame::CommandBarShown() const
{
    return !m_menuBar->isHidden();
}

void CMainFrame::ShowCommandBar(bool shown)
{
    m_menuBar->setVisible(shown);
}

void CMainFrame::SetViewMode(int id)
{
    if (!m_wndSplitter)
        return;
    const bool known = id == cmd::ViewTree || id == cmd::ViewText || id == cmd::ViewSideBySide;
    m_nViewMode = known ? id : int(cmd::ViewBoth);
    m_wndSplitter->setOrientation(m_nViewMode == cmd::ViewSideBySide ? Qt::Horizontal : Qt::Vertical);
    const int both = m_cyScreen / 2 - 24;
    switch (m_nViewMode) {
    case cmd::ViewTree:
        m_wndSplitter->setSizes({m_cyScreen - 24, 0});
        break;
    case cmd::ViewText:
        m_wndSplitter->setSizes({0, m_cyScreen - 24});
        break;
    case cmd::ViewSideBySide:
        // The splitter shares out these proportions over whatever width it has.
        m_wndSplitter->setSizes({m_cxScreen / 3, m_cxScreen - m_cxScreen / 3});
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
