#include "export/exportcommands.h"

#include "app/appglobals.h"
#include "app/installdir.h"
#include "editor/editorservices.h"
#include "editor/minuteview.h"
#include "export/exportfile.h"
#include "export/minuteexport.h"
#include "export/printlayout.h"
#include "framework/uiservice.h"
#include "model/quillondoc.h"
#include "platform/devicepaths.h"
#include "platform/fileops.h"
#include "platform/shell.h"

#include <QDir>
#include <QProcess>

#include <algorithm>

namespace {

const QString kSender = QStringLiteral("\\Windows\\irsquirt.exe");

// How long a sender still running at exit gets to close its windows before it is killed.
constexpr int kSenderGraceMs = 2000;

} // namespace

ExportCommands::ExportCommands(CMinuteView& view, EditorServices& services)
    : m_strInstallDir(GetInstallDir(services.registry).value_or(QString()))
    , m_view(view)
    , m_services(services)
{
}

ExportCommands::~ExportCommands()
{
    for (Sending& sending : m_sendings) {
        if (!sending.sender || sending.sender->state() == QProcess::NotRunning)
            continue;
        sending.sender->disconnect(); // ended by us: nothing to report
        sending.sender->terminate();
        if (!sending.sender->waitForFinished(kSenderGraceMs)) {
            sending.sender->kill();
            sending.sender->waitForFinished(kSenderGraceMs);
        }
    }
    DeleteEndedSendFiles(false); // no message at exit
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
    {"Minute files (*.min)|*.min||", "min", "Save minute as", ""}, // ExportMinute
    {"Markdown files (*.md)|*.md||", "md", "Export minute as Markdown", "\\Windows\\pword.exe"},
    {"PDF files (*.pdf)|*.pdf||", "pdf", "Export minute as PDF", "\\Windows\\iexplore.exe"},
    {"OPML files (*.opml)|*.opml||", "opml", "Export minute as OPML", "\\Windows\\iexplore.exe"},
};

const KindInfo& InfoFor(int kind)
{
    return IsExportFileKind(kind) ? kKinds[kind] : kKinds[0];
}

} // namespace

QString ExportCommands::ViewerFor(int kind)
{
    return QString::fromLatin1(InfoFor(kind).viewer);
}

QString ExportCommands::TempExtensionFor(int kind)
{
    return IsExportFileKind(kind) ? QString::fromLatin1(InfoFor(kind).extension) : QString();
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
    if (const CQuillonDoc* doc = m_view.GetDoc())
        request.initialFolder = doc->MinuteFolder();
    const std::optional<QString> chosenPath = m_services.ui.FileDialog(request);
    if (!chosenPath)
        return false;
    path = *chosenPath;
    return true;
}

void ExportCommands::OpenInViewer(int kind, const QString& path)
{
    // Every viewer is the desktop's opener for the file's type.
    if (!m_services.shell.Execute(QStringLiteral("Open"), ViewerFor(kind), path, QStringLiteral("\\Windows"),
                                  Shell::kShowNormal))
        m_services.ui.MessageBox(QStringLiteral("No program to open the file is installed. Install xdg-utils."),
                                 kAppCaption, MB_OK | MB_ICONEXCLAMATION);
}

CQuillonDoc* ExportCommands::CommittedDoc()
{
    m_view.CommitText();
    return m_view.GetDoc();
}

ExportSettings ExportCommands::SettingsFor(const CQuillonDoc& doc)
{
    ExportSettings settings = ExportSettings::ForMinute(doc.GetPath());
    settings.numbered = doc.GetOptions()->GetNumberAttributesOnExport();
    settings.encoding = doc.GetOptions()->GetExportTextEncoding();
    return settings;
}

bool ExportCommands::Render(const CQuillonDoc& doc, int kind, QString& path, bool confirm)
{
    const std::optional<FileError> error =
        CMinuteExport(doc.GetNodeList(), &m_services.ui, &m_services.device).Render(kind, path, SettingsFor(doc), confirm);
    if (error)
        m_services.ui.MessageBox(error->message(), kAppCaption, MB_OK | MB_ICONEXCLAMATION);
    return !error;
}

void ExportCommands::Print(bool preview)
{
    const CQuillonDoc* doc = CommittedDoc();
    if (!doc)
        return;
    const ExportSettings settings = SettingsFor(*doc);
    const PaperSettings paper = settings.Paper();
    const PrintLayout layout(doc->GetNodeList());
    const PrintRequest request{settings.title, settings.paper, preview};
    const PrintResult result = m_services.ui.Print(request, [&](QPagedPaintDevice& device, int first, int last) {
        const WaitCursor wait(m_services.ui);
        return layout.Print(paper, device, first, last);
    });
    if (result == PrintResult::Failed)
        m_services.ui.MessageBox(QStringLiteral("The minute could not be printed."), kAppCaption, MB_OK | MB_ICONEXCLAMATION);
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
        OpenInViewer(kind, path);
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
    DeleteEndedSendFiles(true);
    Sending sending;
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
        sending.tempFile = file;
    }
    m_strBeamFile = file;
    sending.sender = m_services.shell.Launch(kSender, file, QStringLiteral("\\Windows"));
    m_latestSender = sending.sender.get();
    if (sending.sender) {
        QProcess* sender = sending.sender.get();
        QObject::connect(sender, &QProcess::finished, sender, [this, sender] { ReportFailedSend(*sender); });
    } else {
        // The sender's entry is written by Setup from what it finds on this computer.
        m_services.ui.MessageBox(QStringLiteral("No program to send files is installed. Install bluetooth-sendto, "
                                                "blueman or kdeconnect, then run Setup again."),
                                 kAppCaption, MB_OK | MB_ICONEXCLAMATION);
    }
    if (sending.sender || !sending.tempFile.isEmpty())
        m_sendings.push_back(std::move(sending));
}

QProcess* ExportCommands::LatestSender() const
{
    return m_latestSender;
}

void ExportCommands::ReportFailedSend(QProcess& sender)
{
    if (sender.exitStatus() == QProcess::NormalExit && sender.exitCode() == 0)
        return;
    // The sender's last words say why, when it gave any.
    QString text = QStringLiteral("The file could not be sent.");
    const QStringList lines = QString::fromLocal8Bit(sender.readAllStandardError()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (!lines.isEmpty())
        text += QLatin1Char('\n') + lines.back().trimmed().left(200);
    // Shown from the event loop, not from inside the process's own signal,
    // so that whatever runs while the box is up may delete the process.
    QMetaObject::invokeMethod(
        &m_view, [this, text] { m_services.ui.MessageBox(text, kAppCaption, MB_OK | MB_ICONEXCLAMATION); },
        Qt::QueuedConnection);
}

void ExportCommands::DeleteBeamTempFile()
{
    DeleteEndedSendFiles(true);
}

void ExportCommands::DeleteEndedSendFiles(bool report)
{
    auto running = [](const Sending& sending) {
        return sending.sender && sending.sender->state() != QProcess::NotRunning;
    };
    QStringList failures;
    for (auto it = m_sendings.begin(); it != m_sendings.end();) {
        if (running(*it)) {
            ++it;
            continue;
        }
        // A later send of the same file to a sender still running deletes it when that one ends.
        const QString& file = it->tempFile;
        const bool stillSent = std::any_of(m_sendings.begin(), m_sendings.end(), [&](const Sending& other) {
            return &other != &*it && running(other) && other.tempFile == file;
        });
        if (!file.isEmpty() && !stillSent) {
            const std::optional<FileError> error = RemoveFile(m_services.device.toHost(file), file);
            // A file that has gone already needs no deleting; any other failure
            // is reported once (the box's closing reactivates the window, which
            // comes back here) and retried silently later.
            if (error && error->cause != FileErrorCause::FileNotFound) {
                if (report && !it->failureShown) {
                    it->failureShown = true;
                    failures.append(error->message());
                }
                ++it;
                continue;
            }
        }
        if (it->sender.get() == m_latestSender)
            m_latestSender = nullptr;
        it = m_sendings.erase(it);
    }
    for (const QString& message : failures)
        m_services.ui.MessageBox(message, kAppCaption, MB_OK | MB_ICONEXCLAMATION);
}
