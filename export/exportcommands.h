#pragma once

#include "export/exportfile.h"

#include <QString>

#include <memory>
#include <vector>

class CMinuteView;
class QProcess;
class CQuillonDoc;
struct EditorServices;

// The export and send commands of the agenda tree: export to a file and
// offer to open it in the device's viewer, export to the clipboard, and send
// the minute (or an export of it) to another device. The temporary export a
// send leaves is deleted once its sender has ended: at the next activation of
// the main window, at the next send, or at exit.
class ExportCommands {
public:
    ExportCommands(CMinuteView& view, EditorServices& services);
    // Ends the senders still running, so that their files can go too.
    ~ExportCommands();

    // The save dialog for an export kind; false when cancelled (path unchanged).
    bool ExportFileDialog(int kind, QString& path);
    void ExportToFile(int kind);
    void ExportToClipboard();
    void BeamMinute(int kind);
    // Prints the minute in the PDF's layout, through the print dialog or the preview.
    void Print(bool preview);
    // Deletes the temporary files whose sender has ended. A file that cannot
    // be deleted is reported once and tried again silently later.
    void DeleteBeamTempFile();
    // The program started by the latest send; nullptr when it could not start.
    QProcess* LatestSender() const;

    // The device program that views an export kind.
    static QString ViewerFor(int kind);
    static QString TempExtensionFor(int kind);

    QString m_strBeamFile;
    QString m_strInstallDir;

private:
    // A file handed to a sender. The sender is our child, not a detached
    // program, so that we know for certain when it has ended and whether it
    // failed; its temporary file must stay until then.
    struct Sending {
        QString tempFile; // empty for the minute's own file, which is never deleted
        std::unique_ptr<QProcess> sender;
        bool failureShown = false;
    };

    void DeleteEndedSendFiles(bool report);
    void ReportFailedSend(QProcess& sender);

    // The document with the text being typed stored in its item; nullptr when there is none.
    CQuillonDoc* CommittedDoc();
    // The document's export options, today's date and the user's paper.
    static ExportSettings SettingsFor(const CQuillonDoc& doc);
    // Renders the minute with the document's export options; a failure is
    // reported and gives false.
    bool Render(const CQuillonDoc& doc, int kind, QString& path, bool confirm);
    void OpenInViewer(int kind, const QString& path);

    CMinuteView& m_view;
    EditorServices& m_services;
    std::vector<Sending> m_sendings;
    QProcess* m_latestSender = nullptr;
};
