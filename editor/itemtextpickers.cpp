#include "editor/itemtextpickers.h"

#include "app/inputpanelservice.h"
#include "contacts/contactsconnection.h"
#include "contacts/selectcontactsdialog.h"
#include "contacts/selectdatedialog.h"
#include "editor/detailview.h"
#include "editor/editorservices.h"
#include "editor/minuteview.h"
#include "editor/titledialog.h"
#include "framework/uiservice.h"
#include "model/quillondoc.h"
#include "options/options.h"

QString ItemTextPickers::PromptTitle()
{
    const bool panelWasShowing = IsInputPanelShowing(m_view.Services().inputPanel);
    if (!panelWasShowing)
        ShowInputPanel(m_view.Services().inputPanel, true);
    CTitleDlg dialog(m_view.window());
    const int result = m_view.Services().ui.RunModal(dialog);
    if (!panelWasShowing)
        ShowInputPanel(m_view.Services().inputPanel, false);
    const QString name = dialog.Name();
    return result == IDOK && !name.isEmpty() ? name : QStringLiteral("<No Title>");
}

void ItemTextPickers::PrefillText(const QString& title)
{
    // Exactly these titles, letter case included.
    QString text;
    if (title == QLatin1String("Date"))
        text = m_prefillProvider ? m_prefillProvider(title) : GetDateText();
    else if (title == QLatin1String("Attendees") || title == QLatin1String("Author"))
        text = m_prefillProvider ? m_prefillProvider(title) : GetContactsText();
    else
        return;
    if (CDetailView* pane = m_view.DetailView())
        pane->SetPaneText(text);
}

QString ItemTextPickers::GetContactsText()
{
    return PickContacts().value_or(QString());
}

std::optional<QString> ItemTextPickers::PickContacts()
{
    CQuillonDoc* doc = m_view.GetDoc();
    const bool panelWasShowing = IsInputPanelShowing(m_view.Services().inputPanel);
    CSelectContactsDlg dialog(g_bContactsAvailable ? g_pOutlookApp : nullptr, m_view.Services().ui, m_view.window());
    dialog.SetRequiredProps(doc ? doc->GetOptions()->GetRequiredContactProps() : 0);
    // Raised for typing in "Find:".
    ShowInputPanel(m_view.Services().inputPanel, true);
    std::optional<QString> text;
    if (m_view.Services().ui.RunModal(dialog) == IDOK)
        text = dialog.m_strResult;
    if (!panelWasShowing)
        ShowInputPanel(m_view.Services().inputPanel, false);
    return text;
}

QString ItemTextPickers::GetDateText()
{
    return PickDate().value_or(QString());
}

std::optional<QString> ItemTextPickers::PickDate()
{
    CSelectDateDlg dialog(m_view.window());
    if (m_view.Services().ui.RunModal(dialog) != IDOK)
        return std::nullopt;
    return dialog.DateText();
}

void ItemTextPickers::InsertPicked(const std::optional<QString>& text)
{
    // Cancel, or OK with nothing chosen, leaves the text and its selection alone.
    CDetailView* pane = m_view.DetailView();
    if (pane && m_view.SelectedIndex() > 0 && text && !text->isEmpty())
        pane->InsertAtCaret(*text);
}

void ItemTextPickers::OnContactsShow()
{
    GetContactsText();
}

void ItemTextPickers::OnContactsSpecify()
{
    InsertPicked(PickContacts());
}

void ItemTextPickers::OnDatesCalendar()
{
    CSelectDateDlg dialog(m_view.window());
    m_view.Services().ui.RunModal(dialog);
}

void ItemTextPickers::OnDatesSpecify()
{
    InsertPicked(PickDate());
}
