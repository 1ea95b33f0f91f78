#pragma once

#include <QDialog>
#include <QPointer>

#include <vector>

class QAbstractItemView;
class QBoxLayout;
class QLabel;
class QPushButton;
class QTreeWidget;

// The common shape of the editor's dialogs: identified by their template
// number (the object name), static texts in blue, and an OK button standing
// in for the handheld's title-bar OK. Controls are found by their id as
// object name.
//
// Where a dialog goes is decided here, for all of them, from the screen it
// opens on: a handheld-sized screen shows it over the whole main window, as
// the handheld did; a desktop shows it at its natural size, centred on the
// main window. Tab visits the controls in the order they are laid out in,
// the buttons last.
class HandheldDialog : public QDialog {
    Q_OBJECT
public:
    HandheldDialog(int templateId, const QString& title, QWidget* parent = nullptr);

    // Screens narrower than this are handheld-sized.
    static constexpr int kHandheldWidth = 640;

    // The dialog's geometry: over the owner's whole window when it asks for
    // that and the available area is handheld-sized, else its natural size
    // centred on the owner (raised by raise pixels); in any case inside the
    // available area. owner may be null (no owner: the area's centre).
    static QRect Placement(bool fullWindow, QSize natural, const QRect& owner, const QRect& available, int raise = 0);

    // Runs OnInitDialog once; the UI service calls it before the dialog runs,
    // so that a test handler receives an initialised dialog.
    void InitDialog();
    // For a dialog object that runs more than once: the next run initialises again.
    void ResetInitialised() { m_initialised = false; }

    // False: keep the dialog's own size on every screen.
    void SetFullScreen(bool fullScreen) { m_fullScreen = fullScreen; }

    // A blue static text.
    static QLabel* MakeStaticText(const QString& text, QWidget* parent);
    static void MakeBlue(QLabel* label);
    // A one-column list of rows with tick boxes, without a header.
    static QTreeWidget* MakeTickList(int id, QWidget* parent);
    // Rows or cells too narrow for their text show it whole as a tool tip.
    static void ShowCutTextAsTip(QAbstractItemView* view);

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
    // The control that has the focus when the dialog opens.
    void SetFirstFocus(QWidget* control) { m_firstFocus = control; }
    // At its natural size, the dialog leaves a list room for its contents:
    // its widest row (every column's) and between minRows and maxRows rows.
    void FitToContents(QAbstractItemView* view, int minRows, int maxRows);
    // Opened above the owner's centre by this many pixels.
    void SetRaise(int pixels) { m_raise = pixels; }

    void showEvent(QShowEvent* event) override;

private:
    struct FittedList {
        QPointer<QAbstractItemView> view;
        int minRows;
        int maxRows;
    };
    // The size that shows every control whole, within limit.
    QSize NaturalSize(const QSize& limit);
    // Tab in reading order: the controls as laid out, then the buttons.
    void OrderTabs();

    QBoxLayout* m_body = nullptr;
    QBoxLayout* m_buttonRow = nullptr;
    QPushButton* m_ok = nullptr;
    QPointer<QWidget> m_firstFocus;
    std::vector<FittedList> m_fitted;
    int m_raise = 0;
    bool m_fullScreen = true;
    bool m_initialised = false;
};
