#pragma once

#include <QPageSize>
#include <QString>

#include <functional>
#include <optional>

class QDialog;
class QPagedPaintDevice;

// Message box flags and results, with the handheld's values, so that each
// call site reads like the behaviour it carries out.
inline constexpr unsigned MB_OK = 0x0;
inline constexpr unsigned MB_OKCANCEL = 0x1;
inline constexpr unsigned MB_YESNOCANCEL = 0x3;
inline constexpr unsigned MB_YESNO = 0x4;
inline constexpr unsigned MB_TYPEMASK = 0xF;
inline constexpr unsigned MB_ICONHAND = 0x10;
inline constexpr unsigned MB_ICONQUESTION = 0x20;
inline constexpr unsigned MB_ICONEXCLAMATION = 0x30;
inline constexpr unsigned MB_ICONINFORMATION = 0x40;
inline constexpr unsigned MB_ICONMASK = 0xF0;
inline constexpr unsigned MB_SETFOREGROUND = 0x10000;

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// What an open or save file dialog is asked to show.
struct FileDialogRequest {
    enum Mode { Open, Save };

    Mode mode = Open;
    QString title;
    QString filter;           // "Minute files (*.min)|*.min||": description|pattern pairs, "||" ends
    QString defaultExtension; // added when the chosen name has none
    QString initialName;      // may be a pattern such as "*.min"
    QString initialFolder;    // the host folder to start in; empty: the last one used
    bool overwritePrompt = false;
    bool mustExist = false;
};

// What a print dialog is asked to print.
struct PrintRequest {
    QString documentName;
    QPageSize paper;      // for a printer that has no paper size of its own, such as printing to a file
    bool preview = false; // show the pages first; printing is then offered from the preview
};

enum class PrintResult { Printed, Cancelled, Failed };

// Paints pages firstPage to lastPage (1-based; 0 for the first or the last)
// on a printer; false when the printer could not be painted on.
using PagePainter = std::function<bool(QPagedPaintDevice& device, int firstPage, int lastPage)>;

// Everything that reaches the user goes through this one interface: message
// boxes, file dialogs, modal dialogs, the wait cursor and the clipboard. The
// application gives the Qt implementation; tests give a scripted one.
class UiService {
public:
    virtual ~UiService() = default;

    // Returns IDOK, IDCANCEL, IDYES or IDNO.
    virtual int MessageBox(const QString& text, const QString& caption, unsigned flags) = 0;
    // The chosen full path, or nothing when the dialog was cancelled.
    virtual std::optional<QString> FileDialog(const FileDialogRequest& request) = 0;
    // Runs an initialised dialog modally and returns its result.
    virtual int RunModal(QDialog& dialog) = 0;

    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;

    // Puts Unicode text on the clipboard; false when the clipboard refused it.
    virtual bool SetClipboardText(const QString& text) = 0;

    // The print dialog, or the preview, for pages that paint gives.
    virtual PrintResult Print(const PrintRequest& request, const PagePainter& paint) = 0;
};

// Shows the wait cursor for the lifetime of the object.
class WaitCursor {
public:
    explicit WaitCursor(UiService& ui) : m_ui(ui) { m_ui.BeginWaitCursor(); }
    ~WaitCursor() { m_ui.EndWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    UiService& m_ui;
};

// The file-type list of a filter string, as the dialogs take it:
// "Minute files (*.min)|*.min||" gives {"Minute files (*.min)", "*.min"}.
struct FileFilter {
    QString description;
    QString pattern;
};
QList<FileFilter> ParseFileFilter(const QString& filter);
