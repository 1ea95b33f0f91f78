#include "setup/vantrelapp.h"

#include "setup/installlauncher.h"
#include "setup/setupdialogs.h"
#include "setup/setupui.h"

namespace {

const QString kCaption = QStringLiteral("Setup - Quillon for Pocket PCs");

} // namespace

CVantrelView::CVantrelView(SetupUi& ui, CInstallLauncher& launcher, QWidget* parent)
    : QWidget(parent)
    , m_ui(ui)
    , m_launcher(launcher)
{
}

void CVantrelView::RunInstall()
{
    CIntroDlg intro(this);
    if (m_ui.RunModal(intro) != QDialog::Accepted) {
        m_ui.MessageBox(QStringLiteral("Setup aborted"), kCaption, SetupUi::Information, this);
        return;
    }
    CLicenseDlg license(this);
    license.OnInitDialog();
    if (m_ui.RunModal(license) != QDialog::Accepted) {
        m_ui.MessageBox(QStringLiteral("Setup aborted"), kCaption, SetupUi::Information, this);
        return;
    }
    CReadyDlg ready(this);
    if (m_ui.RunModal(ready) != QDialog::Accepted) {
        m_ui.MessageBox(QStringLiteral("Setup aborted"), kCaption, SetupUi::Information, this);
        return;
    }
    // When the manager cannot be found the launcher has said so already.
    if (m_launcher.Launch(this))
        m_ui.MessageBox(QStringLiteral("Setup complete"), kCaption, SetupUi::Information, this);
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
