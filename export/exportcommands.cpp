#include "export/exportcommands.h"

#include "app/appglobals.h"
#include "app/installdir.h"
#include "editor/editorservices.h"
#include "editor/minuteview.h"
#include "export/minuteexport.h"
#include "framework/uiservice.h"
#include "model/quillondoc.h"
#include "platform/devicepaths.h"
#include "platform/fileops.h"
#include "platform/shell.h"

#include <QDir>

namespace {

const QString kSender = QStringLiteral("\\Windows\\irsquirt.exe");

} // namespace

ExportCommands::ExportCommands(CMinuteView& view, EditorServices& services)
    : m_strInstallDir(GetInstallDir(services.registry).value_or(QString()))
    , m_view(view)
    , m_services(services)
{
}

namespace {

// What goes with each export kind: its save dialog, and the device program that views it.
struct KindInfo {
    const char* filter;
    const char* extension;
    const char* title;
    const char* viewer;
};
const KindInfo kKinds[] = {
    {"Minute files (*.min)|*.min||", "min", "Save minute as", ""}, // also for anything unknown
    {"Text files (*.txt)|*.txt||", "txt", "Export minute as text", "\\Windows\\pword.exe"},
    {"Note files (*.pwi)|*.pwi||", "pwi", "Export minute as note", "\\Windows\\notes.exe"},
    {"Pocket Word files (*.rtf)|*.rtf||", "rtf", "Export minute as Word file", "\\Windows\\pword.exe"},
    {"HTML files (*.htm)|*.htm||", "htm", "Export minute as HTML", "\\Windows\\iexplore.exe"},
};

const KindInfo& InfoFor(int kind)
{
    return kind >= ExportText && kind <= ExportHtml ? kKinds[kind] : kKinds[0];
}

} // namespace

QString ExportCommands::ViewerFor(int kind)
{
    return QString::fromLatin1(InfoFor(kind).viewer);
}

QString ExportCommands::TempExtensionFor(int kind)
{
    return kind >= ExportText && kind <= ExportHtml ? QString::fromLatin1(InfoFor(kind).extension) : QString();
}

bool ExportCommands::ExportFileDialog(int kind, QString& path)
{
    const KindInfo& chosen = InfoFor(kind);
    FileDialogRequest request;
    request.mode = FileDialogRequest::Save;
    request.overwritePrompt = true;
    request.filter = QString::fromLatin1(chosen.filter);
    request.defaultExtension = QString::fromLatin1(chosen.extension);
    request.title = QString::fromLatin1(chosen.title);
    request.initialName = QStringLiteral("*.") + request.defaultExtension;
    const std::optional<QString> chosenPath = m_services.ui.FileDialog(request);
    if (!chosenPath)
        return false;
    path = *chosenPath;
    return true;
}

bool ExportCommands::Start(const QString& program, const QString& parameters)
{
    if (m_services.shell.Execute(QStringLiteral("Open"), program, parameters, QStringLiteral("\\Windows"), Shell::kShowNormal))
        return true;
    m_services.ui.MessageBox(QStringLiteral("Could not start %1.").arg(program), kAppCaption, MB_OK | MB_ICONEXCLAMATION);
    return false;
}

CQuillonDoc* ExportCommands::CommittedDoc()
{
    m_view.CommitText();
    return m_view.GetDoc();
}

bool ExportCommands::Render(const CQuillonDoc& doc, int kind, QString& path, bool confirm)
{
    CMinuteExport exporter(doc.GetNodeList(), &m_services.ui, &m_services.device);
    const COptions* options = doc.GetOptions();
    const std::optional<FileError> error =
        exporter.Render(kind, path, options->GetNumberAttributesOnExport(), options->GetExportTextAsASCII(), confirm);
    if (error)
        m_services.ui.MessageBox(error->message(), kAppCaption, MB_OK | MB_ICONEXCLAMATION);
    return !error;
}

void ExportCommands::ExportToFile(int kind)
{
    const CQuillonDoc* doc = CommittedDoc();
    QString path;
    if (!doc || !ExportFileDialog(kind, path))
        return;
    // Nothing was written after a failure: there is nothing to open.
    if (Render(*doc, kind, path, false)
        && m_services.ui.MessageBox(QStringLiteral("Open the file?"), kAppCaption, MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND) == IDYES)
        Start(ViewerFor(kind), path);
}

void ExportCommands::ExportToClipboard()
{
    QString path;
    if (const CQuillonDoc* doc = CommittedDoc())
        Render(*doc, ExportClipboard, path, true);
}

void ExportCommands::BeamMinute(int kind)
{
    CQuillonDoc* doc = CommittedDoc();
    if (!doc)
        return;
    QString file;
    if (kind == ExportMinute) {
        // The file sent must be the minute as it stands: one never saved, or
        // with changes, is saved first.
        if (doc->GetPath() == CQuillonDoc::kUntitled || doc->IsMinuteModified()) {
            if (m_services.ui.MessageBox(QStringLiteral("The minute must be saved before it can be sent.\nSave it now?"),
                                         kAppCaption, MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
                return;
            doc->OnFileSave();
            if (doc->GetPath() == CQuillonDoc::kUntitled || doc->IsMinuteModified())
                return; // not saved
        }
        file = m_view.DocPath();
    } else {
        const QString name = m_view.FileName();
        file = QStringLiteral("%1\\Temp\\%2%3").arg(m_strInstallDir, name.left(std::max<qsizetype>(0, name.size() - 3)),
                                                    TempExtensionFor(kind));
        QDir().mkpath(m_services.device.toHost(QStringLiteral("%1\\Temp").arg(m_strInstallDir)));
        if (!Render(*doc, kind, file, false))
            return;
        m_strBeamTempFile = file;
    }
    m_strBeamFile = file;
    Start(kSender, file);
}

void ExportCommands::DeleteBeamTempFile()
{
    if (m_strBeamTempFile.isEmpty())
        return;
    const std::optional<FileError> error = RemoveFile(m_services.device.toHost(m_strBeamTempFile), m_strBeamTempFile);
    // A file that has gone already needs no deleting; any other failure is
    // reported and tried again at the next activation.
    if (error && error->cause != FileErrorCause::FileNotFound) {
        m_services.ui.MessageBox(error->message(), kAppCaption, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    m_strBeamTempFile.clear();
}
