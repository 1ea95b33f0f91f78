#pragma once

#include <QDialog>

class QBoxLayout;
class QLabel;
class QPushButton;
class QTreeWidget;

// The common shape of the editor's dialogs: identified by their template
// number (the object name), static texts in blue, and an OK button standing
// in for the handheld's title-bar OK. Unless asked otherwise a dialog takes
// the size of the main window and covers it, as the handheld shows dialogs
// full screen. Controls are found by their id as object name.
class HandheldDialog : public QDialog {
    Q_OBJECT
public:
    HandheldDialog(int templateId, const QString& title, QWidget* parent = nullptr);

    // Runs OnInitDialog once; the UI service calls it before the dialog runs,
    // so that a test handler receives an initialised dialog.
    void InitDialog();
    // For a dialog object that runs more than once: the next run initialises again.
    void ResetInitialised() { m_initialised = false; }

    // Keep the dialog's own size, centred on the main window.
    void SetFullScreen(bool fullScreen) { m_fullScreen = fullScreen; }

    // A blue static text.
    static QLabel* MakeStaticText(const QString& text, QWidget* parent);
    static void MakeBlue(QLabel* label);
    // A one-column list of rows with tick boxes, without a header.
    static QTreeWidget* MakeTickList(int id, QWidget* parent);

    // A push button with the given id, ending the dialog with that id unless
    // the caller connects it otherwise.
    QPushButton* MakeButton(int id, const QString& text, bool endsDialog = true);
    QPushButton* OkButton() const { return m_ok; }

    // The control with the given id.
    template<typename T> T* Control(int id) const { return findChild<T*>(QString::number(id)); }

protected:
    // Fills the controls from the dialog's data.
    virtual void OnInitDialog() {}

    // Where the dialog's own controls go.
    QBoxLayout* Body() const { return m_body; }
    void showEvent(QShowEvent* event) override;

private:
    QBoxLayout* m_body = nullptr;
    QBoxLayout* m_buttonRow = nullptr;
    QPushButton* m_ok = nullptr;
    bool m_fullScreen = true;
    bool m_initialised = false;
};
