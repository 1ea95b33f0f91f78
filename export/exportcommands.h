#pragma once

#include <QString>

class CMinuteView;
class CQuillonDoc;
struct EditorServices;

// The export and send commands of the agenda tree: export to a file and
// offer to open it in the device's viewer, export to the clipboard, and send
// the minute (or an export of it) to another device. The temporary export a
// send leaves is deleted the next time the main window is activated.
class ExportCommands {
public:
    ExportCommands(CMinuteView& view, EditorServices& services);

    // The save dialog for an export kind; false when cancelled (path unchanged).
    bool ExportFileDialog(int kind, QString& path);
    void ExportToFile(int kind);
    void ExportToClipboard();
    void BeamMinute(int kind);
    void DeleteBeamTempFile();

    // The device program that views an export kind.
    static QString ViewerFor(int kind);
    static QString TempExtensionFor(int kind);

    QString m_strBeamFile;
    QString m_strBeamTempFile;
    QString m_strInstallDir;

private:
    // The document with the text being typed stored in its item; nullptr when there is none.
    CQuillonDoc* CommittedDoc();
    // Renders the minute with the document's export options; a failure is
    // reported and gives false.
    bool Render(const CQuillonDoc& doc, int kind, QString& path, bool confirm);
    bool Start(const QString& program, const QString& parameters);

    CMinuteView& m_view;
    EditorServices& m_services;
};
