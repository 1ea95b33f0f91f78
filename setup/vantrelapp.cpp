#include "setup/vantrelapp.h"

#include "setup/installlauncher.h"
#include "setup/setupdialogs.h"
#include "setup/setupui.h"

CVantrelView::CVantrelView(SetupUi& ui, CInstallLauncher& launcher, QWidget* parent)
    : QWidget(parent)
    , m_ui(ui)
    , m_launcher(launcher)
{
}

void CVantrelView::RunInstall()
{
    // Declining any step ends the installation, and the user is told so.
    auto confirmed = [this](QDialog& dialog) {
        if (m_ui.RunModal(dialog) == QDialog::Accepted)
            return true;
        m_ui.MessageBox(QStringLiteral("Setup aborted"), kSetupCaption, SetupUi::Information, this);
        return false;
    };
    CIntroDlg intro(this);
    if (!confirmed(intro))
        return;
    CLicenseDlg license(this);
    license.OnInitDialog();
    if (!confirmed(license))
        return;
    CReadyDlg ready(this);
    if (!confirmed(ready))
        return;
    // When the manager cannot be found or started the launcher has said so already.
    if (m_launcher.Launch(this))
        m_ui.MessageBox(QStringLiteral("Setup complete"), kSetupCaption, SetupUi::Information, this);
}

CVantrelApp::CVantrelApp(SetupUi& ui, CInstallLauncher& launcher)
    : m_ui(ui)
    , m_launcher(launcher)
{
}

CVantrelApp::~CVantrelApp() = default;

int CVantrelApp::Run()
{
    if (!m_document.OnNewDocument())
        return 0;
    m_frame = std::make_unique<CMainFrame>();
    auto* view = new CVantrelView(m_ui, m_launcher, m_frame.get());
    m_frame->setCentralWidget(view);
    m_frame->setWindowTitle(QStringLiteral("Vantrel"));
    // The window stays hidden: the dialogs are all there is to see.
    view->RunInstall();
    return 0;
}
