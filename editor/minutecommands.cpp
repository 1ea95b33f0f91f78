#include "editor/minutecommands.h"

#include "app/appglobals.h"
#include "app/inputpanelservice.h"
#include "catalogue/cataloguedialog.h"
#include "catalogue/categorystore.h"
#include "editor/completioncheck.h"
#include "editor/detailview.h"
#include "editor/editorservices.h"
#include "editor/minuteview.h"
#include "editor/templatedialogs.h"
#include "export/opmlimport.h"
#include "framework/commandids.h"
#include "framework/uiservice.h"
#include "model/quillondoc.h"
#include "model/templates.h"
#include "options/options.h"
#include "options/optionssheet.h"
#include "platform/devicepaths.h"

MinuteCommands::MinuteCommands(CMinuteView& view)
    : m_view(view)
{
}

MinuteCommands::~MinuteCommands() = default;

void MinuteCommands::OnFileNew()
{
    CQuillonDoc* doc = m_view.GetDoc();
    if (!doc)
        return;
    if (doc->GetOptions()->GetCompCheckOnClose()) {
        m_view.CommitText();
        if (!CheckCompletion(true))
            return;
    }

    doc->ClearOpenTemplate();
    Templates templates(m_view.Services().registry, m_view.Services().device);
    CNewMinuteDlg dialog(m_view.window());
    if (templates.Folder()) {
        dialog.m_names = templates.Names();
        dialog.m_bTemplatesFound = !dialog.m_names.isEmpty();
    }
    if (m_view.Services().ui.RunModal(dialog) != IDOK)
        return;
    // "Template" with no template picked makes a blank minute, not one read from the folder.
    if (dialog.m_bTemplatesFound && dialog.m_bFromTemplate && !dialog.m_strSelected.isEmpty())
        doc->ChooseTemplate(templates.PathOf(dialog.m_strSelected));
    else
        doc->ChooseBlankMinute();
    doc->SetReplacePending(true);
    emit m_view.commandRequested(cmd::FileNew);
    // Kept when the save-changes question stopped the new minute, the flag
    // would leave the tree deaf to every selection until the next minute.
    doc->SetReplacePending(false);
}

void MinuteCommands::OnFileImportOpml()
{
    CQuillonDoc* doc = m_view.GetDoc();
    if (!doc)
        return;
    EditorServices& services = m_view.Services();
    FileDialogRequest request;
    request.mode = FileDialogRequest::Open;
    request.title = QStringLiteral("Import OPML file");
    request.filter = QStringLiteral("OPML files (*.opml)|*.opml|XML files (*.xml)|*.xml|All files (*)|*||");
    request.defaultExtension = QStringLiteral("opml");
    request.mustExist = true;
    request.initialFolder = doc->MinuteFolder();
    const std::optional<QString> chosen = services.ui.FileDialog(request);
    if (!chosen)
        return;
    NodeList nodes;
    const OpmlImport::Result result = OpmlImport::ReadFile(services.device.toHost(*chosen), *chosen, nodes);
    if (!result.ok()) {
        services.ui.MessageBox(result.message, kAppCaption, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (doc->GetOptions()->GetCompCheckOnClose()) {
        m_view.CommitText();
        if (!CheckCompletion(true))
            return;
    }
    doc->ChooseImportedMinute(std::move(nodes));
    doc->SetReplacePending(true);
    emit m_view.commandRequested(cmd::FileNew);
    doc->SetReplacePending(false);
    // Still there when the save-changes question stopped the new minute.
    doc->DropImportedMinute();
}

void MinuteCommands::OnFileSaveAsTemplate()
{
    CQuillonDoc* doc = m_view.GetDoc();
    Templates templates(m_view.Services().registry, m_view.Services().device);
    const std::optional<QString> folder = templates.Folder();
    if (!doc || !folder)
        return;
    const QStringList names = templates.Names();
    if (names.isEmpty())
        return;
    CSaveAsTemplateDlg dialog(templates, m_view.Services().ui, &m_view.Services().inputPanel, m_view.window());
    dialog.m_names = names;
    dialog.m_strFolder = *folder;
    const bool panelWasShowing = IsInputPanelShowing(m_view.Services().inputPanel);
    if (m_view.Services().ui.RunModal(dialog) == IDOK && !dialog.m_strNewName.isEmpty()) {
        const QString fileName = Templates::FileNameFor(dialog.m_strNewName, nullptr);
        if (!fileName.isEmpty()) {
            m_view.PrepareSave();
            // The minute itself has not been saved: its changes still count as unsaved.
            const bool modified = doc->IsMinuteModified();
            doc->OnSaveMinute(templates.PathOf(fileName));
            doc->SetMinuteModified(modified);
        }
    }
    ShowInputPanel(m_view.Services().inputPanel, panelWasShowing);
}

bool MinuteCommands::CheckCompletion(bool askToContinue)
{
    CQuillonDoc* doc = m_view.GetDoc();
    int chosen = 0;
    if (!doc || ::CheckCompletion(doc->GetNodeList(), m_view.Services().ui, m_view.window(), askToContinue, &chosen))
        return true;
    if (chosen > 0) {
        // Straight to the item, its text pane ready for typing.
        m_view.SelectItem(m_view.ItemAt(chosen));
        if (CDetailView* text = m_view.DetailView())
            text->setFocus();
    }
    return false;
}

COptionsSheet& MinuteCommands::OptionsSheet()
{
    // Made when first wanted, then kept for the view's whole life: what its pages remember carries over.
    if (!m_optionsSheet)
        m_optionsSheet = std::make_unique<COptionsSheet>(&m_view);
    return *m_optionsSheet;
}

void MinuteCommands::OnEditOptions()
{
    if (CQuillonDoc* doc = m_view.GetDoc())
        EditOptions(*doc->GetOptions(), OptionsSheet(), m_view.Services().ui);
}

void MinuteCommands::OnItemCatalogue()
{
    const bool panelWasShowing = IsInputPanelShowing(m_view.Services().inputPanel);
    CategoryStore store(m_view.Services().profile);
    CCatalogueDlg dialog(store, m_view.Services().ui, &m_view.Services().inputPanel, m_view.window());
    dialog.SetCaption(QStringLiteral("Agenda item Catalogue"));
    dialog.SetPickMode(false);
    m_view.Services().ui.RunModal(dialog);
    ShowInputPanel(m_view.Services().inputPanel, panelWasShowing);
}
