#include "model/quillondoc.h"

#include "app/appglobals.h"
#include "app/settingsprofile.h"
#include "framework/commandids.h"
#include "framework/doctemplate.h"
#include "framework/uiservice.h"
#include "model/minutefile.h"
#include "model/minuteviewlink.h"
#include "model/templates.h"
#include "platform/devicepaths.h"

#include <QFileInfo>

namespace {

const QString kMinuteFilter = QStringLiteral("Minute files (*.min)|*.min||");
const QString kLastMinuteSection = QStringLiteral("LastMinute");
const QString kFilePathEntry = QStringLiteral("FilePath");

} // namespace

const QString CQuillonDoc::kUntitled = QStringLiteral("Untitled");

CQuillonDoc::CQuillonDoc(SettingsProfile& profile, UiService& ui, const DevicePaths& device)
    : MinuteNodes(m_nodeList, m_clipList)
    , m_pOptions(std::make_unique<COptions>(&profile))
    , m_strPath(kUntitled)
    , m_profile(profile)
    , m_ui(ui)
    , m_device(device)
{
    m_pOptions->Load();

    OnCommand(cmd::Open, [this] { OnFileOpen(); });
    OnCommand(cmd::Save, [this] { OnFileSave(); }, [this](CmdUI& ui) { ui.Enable(m_bDocOpen); });
    OnCommand(cmd::SaveAsMinute, [this] { OnFileSaveAs(); }, [this](CmdUI& ui) { ui.Enable(m_bDocOpen); });
}

CQuillonDoc::~CQuillonDoc() = default;

void CQuillonDoc::SetMinuteView(MinuteViewLink* view)
{
    m_pMinuteView = view;
    SetLevelShiftSource(view);
}

void CQuillonDoc::ChooseTemplate(const QString& templatePath)
{
    m_strOpenPath = templatePath;
    m_bOpenTemplate = true;
    m_bFromTemplate = true;
}

void CQuillonDoc::ClearContents()
{
    ClearNodes();
}

void CQuillonDoc::DeleteContents()
{
    ClearContents();
}

void CQuillonDoc::ShowError(const QString& message)
{
    m_ui.MessageBox(message, kAppCaption, MB_OK | MB_ICONEXCLAMATION);
}

void CQuillonDoc::PrepareSave()
{
    if (m_pMinuteView)
        m_pMinuteView->PrepareSave();
}

bool CQuillonDoc::ReadMinuteFile(const QString& path)
{
    MinuteReader reader;
    MinuteFileResult result = reader.Open(m_device.toHost(path), path, LinksAt(path));
    if (!result.ok()) {
        // Nothing has been touched yet.
        ShowError(result.message());
        return false;
    }
    ClearContents();
    SetModifiedFlag(true);
    result = reader.ReadInto(m_nodeList);
    if (!result.ok()) {
        ClearContents();
        ShowError(result.message());
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

bool CQuillonDoc::OnNewMinute()
{
    m_bDocOpen = true;

    ClearContents();
    Document::OnNewDocument(); // empties the framework's path name
    SetModifiedFlag(false);
    if (m_pMinuteView)
        m_pMinuteView->CloseFindReplace();

    m_strPath = kUntitled;

    if (m_importedNodes) {
        m_nodeList = std::move(*m_importedNodes);
        m_importedNodes.reset();
        m_bOpenTemplate = false;
        m_bFromTemplate = false;
        m_strOpenPath.clear();
        SetModifiedFlag(true);
        return true;
    }

    if (m_bOpenTemplate) {
        // Read once: a later new minute (after an open that failed, say)
        // starts blank instead of reading this file again.
        m_bOpenTemplate = false;
        const bool fromTemplate = m_bFromTemplate;
        if (!OnOpenMinute(m_strOpenPath))
            SetModifiedFlag(false); // an empty new minute: nothing in it to save
        m_bFromTemplate = false;
        // A minute made from a template has no file of its own: the
        // template must never be remembered, reopened or saved as it.
        if (fromTemplate)
            m_strOpenPath.clear();
    }

    const bool firstMinute = m_pMinuteView && !m_pMinuteView->HadFirstUpdate();
    if (firstMinute && m_pOptions->GetAutoOpenLastMinute()) {
        const QString last = m_profile.ReadString(kLastMinuteSection, kFilePathEntry, QString());
        FileSource probe;
        // A last minute that has gone away is skipped without a word.
        if (!last.isEmpty() && !IsTemplatePath(last) && probe.open(m_device.toHost(normaliseFilePath(last)), last, nullptr)) {
            probe.close();
            m_strOpenPath = last;
            if (!OnOpenMinute(last))
                SetModifiedFlag(false);
        }
    }
    return true;
}

bool CQuillonDoc::IsTemplatePath(const QString& path) const
{
    const std::optional<QString> folder = Templates(m_profile.GetRegistry(), m_device).Folder();
    if (!folder)
        return false;
    const QString file = QFileInfo(m_device.toHost(normaliseFilePath(path))).absolutePath();
    const QString templates = QFileInfo(m_device.toHost(*folder)).absoluteFilePath();
    return QFileInfo(file).canonicalFilePath() == QFileInfo(templates).canonicalFilePath()
        && !QFileInfo(templates).canonicalFilePath().isEmpty();
}

SymLinks CQuillonDoc::LinksAt(const QString& path) const
{
    // Only the files themselves are templates: a link in the templates folder
    // would otherwise let it read or overwrite a file anywhere.
    return IsTemplatePath(path) ? SymLinks::Refuse : SymLinks::Follow;
}

bool CQuillonDoc::OnOpenMinute(const QString& path)
{
    if (!ReadMinuteFile(normaliseFilePath(path)))
        return false;
    m_bDocOpen = true;
    if (!m_bFromTemplate) {
        m_strPath = path;
        m_strOpenPath = path;
        if (m_onMinuteFile)
            m_onMinuteFile(path);
    }
    return true;
}

bool CQuillonDoc::OnSaveMinute(const QString& path)
{
    const QString file = normaliseFilePath(path);
    const MinuteFileResult result = WriteMinuteFile(m_device.toHost(file), file, m_nodeList, LinksAt(file));
    if (!result.ok()) {
        ShowError(result.message());
        return false;
    }
    SetModifiedFlag(false);
    if (path == m_strPath && m_onMinuteFile)
        m_onMinuteFile(path);
    return true;
}

bool CQuillonDoc::OnRecoverMinute(const QString& copyHostPath, const QString& minutePath)
{
    const QString shownPath = minutePath.isEmpty() ? kUntitled : minutePath;
    MinuteReader reader;
    MinuteFileResult result = reader.Open(copyHostPath, shownPath);
    if (!result.ok()) {
        ShowError(result.message());
        return false;
    }
    Document::OnNewDocument();
    result = reader.ReadInto(m_nodeList);
    if (!result.ok()) {
        ClearContents();
        ShowError(result.message());
        return false;
    }
    m_bDocOpen = true;
    m_bFromTemplate = false;
    m_bOpenTemplate = false;
    m_strPath = shownPath;
    m_strOpenPath = minutePath;
    if (minutePath.isEmpty())
        SetTitle(kUntitled);
    else
        SetPathName(minutePath);
    SetModifiedFlag(true);
    return true;
}

void CQuillonDoc::OnCloseMinute()
{
    m_profile.WriteString(kLastMinuteSection, kFilePathEntry, m_strOpenPath);
    m_bDocOpen = false;
    m_strPath.clear();
    m_bReplacePending = true;
}

bool CQuillonDoc::QuerySaveChanges()
{
    if (!m_bReplacePending && !g_bExiting) {
        if (!IsModified())
            return true;
        // A minute that has a file is saved to it without asking. One that
        // has none is asked about below rather than written to a file
        // called "Untitled".
        if (m_strPath != kUntitled) {
            PrepareSave();
            if (OnSaveMinute(m_strPath))
                return true;
            // The silent save failed (its folder has gone, say): the user
            // chooses below, or could neither close nor open another minute.
        }
    } else if (!IsModified()) {
        return true;
    }

    if (m_strPath == kUntitled) {
        switch (m_ui.MessageBox(QStringLiteral("Save changes to this untitled minute?"), kAppCaption,
                                MB_YESNOCANCEL | MB_ICONQUESTION)) {
        case IDYES:
            // Cancelling the file dialog still lets the minute go; a write
            // that fails does not.
            return SaveAs() != SaveAsResult::Failed;
        case IDNO:
            return true;
        default:
            return false;
        }
    }

    switch (m_ui.MessageBox(QStringLiteral("Save changes to %1?").arg(m_strPath), kAppCaption,
                            MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
        PrepareSave();
        return OnSaveMinute(m_strPath);
    case IDNO:
        return true;
    default:
        return false;
    }
}

QString CQuillonDoc::MinuteFolder() const
{
    if (m_strPath.isEmpty() || m_strPath == kUntitled)
        return QString();
    return QFileInfo(m_device.toHost(normaliseFilePath(m_strPath))).absolutePath();
}

void CQuillonDoc::OnFileOpen()
{
    FileDialogRequest request;
    request.mode = FileDialogRequest::Open;
    request.title = QStringLiteral("Open minute");
    request.filter = kMinuteFilter;
    request.defaultExtension = QStringLiteral("min");
    request.mustExist = true;
    request.initialFolder = MinuteFolder();
    const std::optional<QString> chosen = m_ui.FileDialog(request);
    if (chosen)
        OpenMinuteFile(*chosen);
}

void CQuillonDoc::OpenMinuteFile(const QString& path)
{
    if (path != m_strPath) {
        m_strOpenPath = path;
        if (SingleDocTemplate* docTemplate = GetDocTemplate())
            docTemplate->OpenDocumentFile(path);
        return;
    }

    const QString question = QStringLiteral("Do you want to revert to the saved file\n'%1'?").arg(m_strPath);
    if (m_ui.MessageBox(question, kAppCaption, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    m_bOpenTemplate = true;
    m_strOpenPath = path;
    OnNewMinute();
    if (SingleDocTemplate* docTemplate = GetDocTemplate())
        docTemplate->OpenDocumentFile(path);
}

void CQuillonDoc::OnFileSave()
{
    if (m_strPath == kUntitled) {
        SaveAs();
        return;
    }
    PrepareSave();
    OnSaveMinute(m_strPath);
}

bool CQuillonDoc::OnFileSaveAs()
{
    return SaveAs() == SaveAsResult::Saved;
}

CQuillonDoc::SaveAsResult CQuillonDoc::SaveAs()
{
    FileDialogRequest request;
    request.mode = FileDialogRequest::Save;
    request.title = QStringLiteral("Save minute as");
    request.filter = kMinuteFilter;
    request.defaultExtension = QStringLiteral("min");
    request.initialName = QStringLiteral("*.min");
    request.overwritePrompt = true;
    request.initialFolder = MinuteFolder();
    const std::optional<QString> chosen = m_ui.FileDialog(request);
    if (!chosen)
        return SaveAsResult::Cancelled;

    const QString oldPath = m_strPath;
    const QString oldPathName = GetPathName();
    const QString oldTitle = GetTitle();
    m_strPath = *chosen;
    PrepareSave();
    SetPathName(*chosen);
    if (!OnSaveMinute(*chosen)) {
        // The minute is still where it was: keep its path (and the label that shows it).
        m_strPath = oldPath;
        Document::SetPathName(oldPathName);
        SetTitle(oldTitle);
        PrepareSave();
        return SaveAsResult::Failed;
    }
    m_strOpenPath = *chosen;
    return SaveAsResult::Saved;
}

bool CQuillonDoc::OnNewDocument()
{
    return OnNewMinute();
}

bool CQuillonDoc::OnOpenDocument(const QString& path)
{
    return OnOpenMinute(path);
}

bool CQuillonDoc::SaveModified()
{
    return QuerySaveChanges();
}
