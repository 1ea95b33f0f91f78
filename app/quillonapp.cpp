#include "app/quillonapp.h"

#include "app/aboutdialog.h"
#include "app/appglobals.h"
#include "app/filetypes.h"
#include "app/installdir.h"
#include "app/recentminutes.h"
#include "app/recoverykeeper.h"
#include "contacts/contactsconnection.h"
#include "editor/mainframe.h"
#include "editor/minuteview.h"
#include "editor/recoverysnapshot.h"
#include "framework/commandids.h"
#include "framework/doctemplate.h"
#include "framework/handhelddialog.h"
#include "framework/qtuiservice.h"
#include "model/quillondoc.h"
#include "platform/contactsstore.h"
#include "platform/fileerror.h"
#include "platform/inputpanel.h"
#include "platform/singleinstance.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <QSplitter>
#include <QTimer>

#include <utility>

namespace {

const QString kRegistryKey = QStringLiteral("Corvexa");
// Where the window's size, place, pane split and view mode are kept between starts.
const QString kWindowSection = QStringLiteral("Window");

// The entry keeping the pane split of a view mode that shows both panes.
QString SplitterEntry(int viewMode)
{
    if (viewMode == cmd::ViewBoth)
        return QStringLiteral("Splitter");
    if (viewMode == cmd::ViewSideBySide)
        return QStringLiteral("SideSplitter");
    return QString();
}

} // namespace

CQuillonApp::CQuillonApp(const QString& deviceRoot, UiService* ui, InputPanel* inputPanel, Shell* shell)
    : m_device(deviceRoot)
    , m_registry(m_device.registryFile())
    , m_profile(m_registry)
    , m_ownUi(ui ? nullptr : std::make_unique<QtUiService>())
    , m_ownInputPanel(inputPanel ? nullptr : std::make_unique<DesktopInputPanel>())
    , m_ownShell(shell ? nullptr : std::make_unique<Shell>(m_registry, m_device))
    , m_services{ui ? *ui : *m_ownUi, inputPanel ? *inputPanel : *m_ownInputPanel, m_profile, m_registry, m_device,
                 shell ? *shell : *m_ownShell}
    , m_recent(std::make_unique<RecentMinutes>(m_profile, m_device))
{
    // A settings change that cannot be stored is told once a session: after
    // that the user knows, and every further write would say the same.
    m_registry.setStoreFailureHandler([this](const QString& cause) {
        if (std::exchange(m_bSettingsFailureReported, true))
            return;
        m_services.ui.MessageBox(QStringLiteral("Quillon cannot store its settings in %1: %2. "
                                                "Settings changed in this session may be lost.")
                                     .arg(QDir::toNativeSeparators(m_registry.filePath()), cause),
                                 kAppCaption, MB_OK | MB_ICONEXCLAMATION);
    });
    OnCommand(cmd::About, [this] { OnAppAbout(); });
    OnCommand(cmd::Exit, [this] { OnAppExit(); });
    OnCommand(cmd::FileNew, [this] {
        if (m_pDocTemplate)
            m_pDocTemplate->NewDocument();
    });
}

CQuillonApp::~CQuillonApp()
{
    if (g_pOutlookApp == m_contacts.get())
        ExitInstance();
    // The recovery keeper takes its snapshots from the frame: it goes first.
    m_recovery.reset();
    // The frame's views leave the document before the document goes.
    m_pMainFrame.reset();
}

bool CQuillonApp::InitInstance(const QStringList& arguments)
{
    // One instance per device: a second one brings the first forward and ends.
    // The command line: an optional minute to open.
    QString file;
    for (const QString& argument : arguments.mid(1)) {
        if (!argument.startsWith(QLatin1String("--"))) {
            file = argument;
            break;
        }
    }
    if (!file.isEmpty() && !DevicePaths::isDevicePath(file))
        file = QFileInfo(file).absoluteFilePath();

    m_singleInstance = std::make_unique<SingleInstance>(m_device.root());
    const SingleInstance::Start start = m_singleInstance->Acquire();
    if (start == SingleInstance::Start::Failed) {
        m_services.ui.MessageBox(QStringLiteral("Quillon cannot start: the device folder %1 cannot be written.")
                                     .arg(QDir::toNativeSeparators(m_device.root())),
                                 kAppCaption, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (start == SingleInstance::Start::AnotherRuns) {
        m_bAnotherInstance = true;
        m_profile.SetRegistryKey(kRegistryKey);
        // A minute opened from a file manager goes to the window already open.
        if (m_profile.ReadInt(QStringLiteral("InstanceInfo"), QStringLiteral("hWnd"), 0) != 0)
            file.isEmpty() ? m_singleInstance->AskToRaise() : m_singleInstance->AskToOpen(file);
        return false;
    }
    connect(m_singleInstance.get(), &SingleInstance::raiseRequested, this, &CQuillonApp::RaiseMainFrame);
    connect(m_singleInstance.get(), &SingleInstance::openRequested, this, &CQuillonApp::OpenFromAnotherStart);

    g_bDragging = false;
    const std::optional<QString> installDir = GetInstallDir(m_registry);
    m_strInstallDir = installDir.value_or(QString());
    RegisterFileTypes(m_registry, installDir);
    m_profile.SetRegistryKey(kRegistryKey);

    m_pDocument = std::make_unique<CQuillonDoc>(m_profile, m_services.ui, m_device);
    m_pDocument->SetMinuteFileHandler([this](const QString& path) { m_recent->Add(path); });
    m_pDocTemplate = std::make_unique<SingleDocTemplate>(*m_pDocument);
    m_pMainFrame = std::make_unique<CMainFrame>(m_services, this);
    if (auto* qtUi = dynamic_cast<QtUiService*>(&m_services.ui))
        qtUi->SetParentWindow(m_pMainFrame.get());
    if (!m_pMainFrame->OnCreateClient(*m_pDocument))
        return false;
    m_pMainFrame->SetRecentMinutes([this] { return m_recent->List(); },
                                   [this](const QString& path) { OpenRecentMinute(path); });
    RestoreWindow();
    connect(m_pMainFrame.get(), &CMainFrame::closing, this, &CQuillonApp::RememberWindow);

    CMainFrame* frame = m_pMainFrame.get();
    m_recovery = std::make_unique<RecoveryKeeper>(*m_pDocument, m_device, m_services.ui, [this, frame] {
        return TakeMinuteSnapshot(*m_pDocument, frame->TreeView(), frame->TextView());
    });
    connect(frame, &CMainFrame::closing, m_recovery.get(), &RecoveryKeeper::EndSession);

    // Typing a crash took away comes first; then the minute named on the
    // command line; otherwise a new minute, which may reopen the last one.
    if (m_recovery->OfferRecovery()) {
        m_pDocument->SendInitialUpdate();
    } else if (!file.isEmpty()) {
        m_pDocument->SetMinuteModified(false);
        if (!m_pDocTemplate->OpenDocumentFile(file))
            return false;
    } else if (!m_pDocTemplate->NewDocument()) {
        return false;
    }

    m_pMainFrame->show();
    m_profile.WriteInt(QStringLiteral("InstanceInfo"), QStringLiteral("hWnd"), int(quint32(m_pMainFrame->winId())));
    m_strHelpPath = QStringLiteral("\\windows\\Quillon.htm");
    m_pMainFrame->SetHelpFile(m_strHelpPath);

    m_contacts = std::make_unique<ContactsStore>(m_registry, m_device);
    EnsureContactsRegistered(*m_contacts);
    g_bContactsAvailable = ContactsStartup(*m_contacts);
    return true;
}

void CQuillonApp::RestoreWindow()
{
    CMainFrame& frame = *m_pMainFrame;
    const QByteArray geometry =
        QByteArray::fromBase64(m_profile.ReadString(kWindowSection, QStringLiteral("Geometry"), QString()).toLatin1());
    if (geometry.isEmpty() || !frame.restoreGeometry(geometry)) {
        // The first start: a landscape window of two thirds of the screen, in
        // its middle; on a handheld-sized screen, the whole screen.
        const QRect available = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                                 : QRect(0, 0, 1024, 768);
        if (available.width() < HandheldDialog::kHandheldWidth) {
            frame.setGeometry(available);
        } else {
            const int width = available.width() * 2 / 3;
            frame.resize(width, std::min(available.height() * 2 / 3, width * 3 / 4));
            frame.move(available.center() - frame.rect().center());
        }
    }
    const int mode = m_profile.ReadInt(kWindowSection, QStringLiteral("ViewMode"), cmd::ViewBoth);
    frame.SetViewMode(mode);
    // Each layout of two panes keeps its own split.
    if (const QString entry = SplitterEntry(frame.ViewMode()); !entry.isEmpty()) {
        const QByteArray splitter =
            QByteArray::fromBase64(m_profile.ReadString(kWindowSection, entry, QString()).toLatin1());
        if (!splitter.isEmpty())
            frame.Splitter()->restoreState(splitter);
    }
    frame.ShowCommandBar(m_profile.ReadInt(kWindowSection, QStringLiteral("CommandBar"), 1) != 0);
}

void CQuillonApp::RememberWindow()
{
    const CMainFrame& frame = *m_pMainFrame;
    m_profile.WriteString(kWindowSection, QStringLiteral("Geometry"), QString::fromLatin1(frame.saveGeometry().toBase64()));
    m_profile.WriteInt(kWindowSection, QStringLiteral("ViewMode"), frame.ViewMode());
    if (const QString entry = SplitterEntry(frame.ViewMode()); !entry.isEmpty())
        m_profile.WriteString(kWindowSection, entry, QString::fromLatin1(frame.Splitter()->saveState().toBase64()));
    m_profile.WriteInt(kWindowSection, QStringLiteral("CommandBar"), frame.CommandBarShown() ? 1 : 0);
}

void CQuillonApp::OpenRecentMinute(const QString& path)
{
    // A minute that has gone is said so before the open minute is put at
    // stake, and is not offered again.
    if (!QFileInfo::exists(m_device.toHost(normaliseFilePath(path)))) {
        m_recent->Remove(path);
        m_services.ui.MessageBox(FileError{FileErrorCause::FileNotFound, path}.message(), kAppCaption,
                                 MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    m_pDocument->OpenMinuteFile(path);
}

void CQuillonApp::RaiseMainFrame()
{
    if (m_pMainFrame) {
        m_pMainFrame->showNormal();
        m_pMainFrame->raise();
        m_pMainFrame->activateWindow();
    }
}

void CQuillonApp::OpenFromAnotherStart(const QString& path)
{
    RaiseMainFrame();
    if (!m_pDocument)
        return;
    // Not in the middle of a dialog: the file waits until the dialog is closed.
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(300, this, [this, path] { OpenFromAnotherStart(path); });
        return;
    }
    m_pDocument->OpenMinuteFile(path);
}

int CQuillonApp::ExitInstance()
{
    if (m_recovery)
        m_recovery->EndSession();
    if (g_bContactsAvailable)
        ContactsShutdown();
    g_bContactsAvailable = false;
    g_pOutlookApp = nullptr;
    return 0;
}

void CQuillonApp::OnAppAbout()
{
    CAboutDlg dialog(m_profile.ReadString(QStringLiteral("Version"), QStringLiteral("Version"), QString()),
                     m_pMainFrame.get());
    m_services.ui.RunModal(dialog);
}

void CQuillonApp::OnAppExit()
{
    g_bExiting = true;
    if (m_pMainFrame)
        m_pMainFrame->close();
}
