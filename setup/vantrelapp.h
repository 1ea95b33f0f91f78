#pragma once

#include <QMainWindow>
#include <QWidget>

#include <memory>

class Registry;
class SetupUi;
class CInstallLauncher;

// The document: Setup has nothing to keep.
class CVantrelDoc {
public:
    bool OnNewDocument() { return true; }
};

// The view: it paints nothing; its first update runs the whole installation flow.
class CVantrelView : public QWidget {
    Q_OBJECT
public:
    CVantrelView(SetupUi& ui, CInstallLauncher& launcher, QWidget* parent = nullptr);
    // The flow: introduction, licence, confirmation, then the application manager.
    void RunInstall();

private:
    SetupUi& m_ui;
    CInstallLauncher& m_launcher;
};

// The frame, never meant to be seen.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    using QMainWindow::QMainWindow;
};

// Setup: runs the flow once and ends with exit code 0, whatever happened.
class CVantrelApp {
public:
    CVantrelApp(SetupUi& ui, CInstallLauncher& launcher);
    ~CVantrelApp();
    // Start-up and the flow; the exit code.
    int Run();

private:
    SetupUi& m_ui;
    CInstallLauncher& m_launcher;
    CVantrelDoc m_document;
    std::unique_ptr<CMainFrame> m_frame;
};
