#pragma once

#include "editor/editorservices.h"
#include "framework/cmdtarget.h"
#include "platform/devicepaths.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "app/settingsprofile.h"

#include <QObject>
#include <QStringList>

#include <memory>

class CMainFrame;
class ContactsStore;
class CQuillonDoc;
class InputPanel;
class RecentMinutes;
class RecoveryKeeper;
class SingleDocTemplate;
class SingleInstance;
class UiService;

// The application: builds the services, keeps one instance per device,
// registers the file type, makes the document, the frame and its views,
// processes the command line, and handles About and Exit.
class CQuillonApp : public QObject, public CommandTarget {
    Q_OBJECT
public:
    // Without a UI service, an input panel or a shell the desktop ones are used.
    explicit CQuillonApp(const QString& deviceRoot, UiService* ui = nullptr, InputPanel* inputPanel = nullptr,
                         Shell* shell = nullptr);
    ~CQuillonApp() override;

    // Start-up. False when this instance is to end: another one runs (it
    // has been asked to come forward) or the command line named a minute
    // that could not be opened.
    bool InitInstance(const QStringList& arguments);
    // The exit status when InitInstance returned false: 0 when another
    // instance runs (it was asked to come forward), 1 when start-up failed,
    // such as the minute named on the command line not opening.
    int StartupExitCode() const { return m_bAnotherInstance ? 0 : 1; }
    int ExitInstance();

    CMainFrame* MainFrame() const { return m_pMainFrame.get(); }
    CQuillonDoc* Document() const { return m_pDocument.get(); }
    SingleDocTemplate* DocTemplate() const { return m_pDocTemplate.get(); }
    SettingsProfile& Profile() { return m_profile; }
    const DevicePaths& Device() const { return m_device; }
    RecoveryKeeper* Recovery() const { return m_recovery.get(); }
    RecentMinutes& Recent() const { return *m_recent; }

    QString m_strInstallDir;
    QString m_strHelpPath;

    void OnAppAbout();
    void OnAppExit();

private:
    // The window as it was left at the last close; on a first start, a
    // landscape window sized to the screen.
    void RestoreWindow();
    void RememberWindow();
    void RaiseMainFrame();
    // File > Recent: a minute that has gone is dropped from the list.
    void OpenRecentMinute(const QString& path);
    // A later start handed over the minute it was given.
    void OpenFromAnotherStart(const QString& path);

    DevicePaths m_device;
    Registry m_registry;
    SettingsProfile m_profile;
    std::unique_ptr<UiService> m_ownUi;
    std::unique_ptr<InputPanel> m_ownInputPanel;
    std::unique_ptr<Shell> m_ownShell;
    EditorServices m_services;
    std::unique_ptr<SingleInstance> m_singleInstance;
    bool m_bAnotherInstance = false;
    bool m_bSettingsFailureReported = false;
    std::unique_ptr<CQuillonDoc> m_pDocument;
    std::unique_ptr<SingleDocTemplate> m_pDocTemplate;
    std::unique_ptr<CMainFrame> m_pMainFrame;
    std::unique_ptr<ContactsStore> m_contacts;
    std::unique_ptr<RecoveryKeeper> m_recovery;
    std::unique_ptr<RecentMinutes> m_recent;
};
