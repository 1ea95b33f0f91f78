#include "catalogue/findreplace.h"

#include "app/inputpanelservice.h"
#include "app/settingsprofile.h"
#include "editor/detailview.h"
#include "editor/editorservices.h"
#include "editor/minuteview.h"
#include "framework/uiservice.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kRecentSection = QStringLiteral("RecentUserFinds");
constexpr int kRecentCount = 5;

QString RecentEntry(int i)
{
    return QStringLiteral("FI%1").arg(i);
}

} // namespace

CFindReplaceDlg::CFindReplaceDlg(QWidget* parent)
    : HandheldDialog(IDD, tr("Find/replace"), parent)
{
    auto* form = new QFormLayout;
    m_find = new QComboBox(this);
    m_find->setObjectName(QString::number(IDC_FIND));
    m_find->setEditable(true);
    m_find->setInsertPolicy(QComboBox::NoInsert);
    QLabel* findLabel = MakeStaticText(tr("Fi&nd What:"), this);
    findLabel->setBuddy(m_find);
    form->addRow(findLabel, m_find);
    m_replace = new QLineEdit(this);
    m_replace->setObjectName(QString::number(IDC_REPLACE_TEXT));
    m_replaceLabel = MakeStaticText(tr("Re&place with:"), this);
    m_replaceLabel->setObjectName(QString::number(IDC_REPLACE_LABEL));
    m_replaceLabel->setBuddy(m_replace);
    form->addRow(m_replaceLabel, m_replace);
    m_matchCase = new QCheckBox(tr("Match &Case"), this);
    m_matchCase->setObjectName(QString::number(IDC_MATCH_CASE));
    form->addRow(QString(), m_matchCase);
    Body()->addLayout(form);
    Body()->addStretch(1);

    OkButton()->hide(); // Find Next and Replace close the dialog
    m_findNext = MakeButton(IDC_FIND_NEXT, tr("Find Next"), false);
    m_findNext->setDefault(true);
    m_replaceButton = MakeButton(IDC_REPLACE, tr("Replace"), false);
    MakeButton(IDCANCEL, tr("Cancel"), false);
    connect(m_findNext, &QPushButton::clicked, this, &CFindReplaceDlg::OnFindNext);
    connect(m_replaceButton, &QPushButton::clicked, this, &CFindReplaceDlg::OnReplace);
    connect(Control<QPushButton>(IDCANCEL), &QPushButton::clicked, this, &CFindReplaceDlg::reject);
    connect(m_find, &QComboBox::editTextChanged, this, &CFindReplaceDlg::UpdateButtons);
    connect(m_find, &QComboBox::currentIndexChanged, this, &CFindReplaceDlg::UpdateButtons);
}

void CFindReplaceDlg::OnInitDialog()
{
    m_bReplaceChosen = false;
    m_replace->setEnabled(m_bReplaceMode);
    m_replaceLabel->setEnabled(m_bReplaceMode);
    m_find->clear();
    m_find->addItems(m_recent);
    m_find->setEditText(m_strFind);
    m_replace->setText(m_strReplace);
    m_matchCase->setChecked(m_bMatchCase);
    m_find->setFocus();
    UpdateButtons();
    if (m_showInputPanel)
        m_showInputPanel(true);
}

void CFindReplaceDlg::UpdateButtons()
{
    // Only the button that fits the mode, and only with something to find.
    const bool hasText = !m_find->currentText().isEmpty();
    m_findNext->setEnabled(hasText && !m_bReplaceMode);
    m_replaceButton->setEnabled(hasText && m_bReplaceMode);
}

bool CFindReplaceDlg::ReadControls()
{
    m_strFind = m_find->currentText();
    m_strReplace = m_replace->text();
    m_bMatchCase = m_matchCase->isChecked();
    if (m_strFind.isEmpty()) {
        QApplication::beep();
        m_find->setFocus();
        return false;
    }
    return true;
}

void CFindReplaceDlg::OnFindNext()
{
    if (!ReadControls())
        return;
    if (m_showInputPanel)
        m_showInputPanel(false);
    done(IDOK);
}

void CFindReplaceDlg::OnReplace()
{
    if (!ReadControls())
        return;
    m_bReplaceChosen = true;
    if (m_showInputPanel)
        m_showInputPanel(false);
    done(IDOK);
}

void CFindReplaceDlg::reject()
{
    if (m_showInputPanel)
        m_showInputPanel(false);
    done(IDCANCEL);
}

FindReplace::FindReplace(CMinuteView& view, EditorServices& services)
    : m_view(view)
    , m_services(services)
{
}

FindReplace::~FindReplace() = default;

CFindReplaceDlg& FindReplace::Dialog()
{
    // Made when first wanted; it then keeps the last search for the tree's whole life.
    if (!m_dialog) {
        m_dialog = std::make_unique<CFindReplaceDlg>(&m_view);
        m_dialog->m_showInputPanel = [this](bool on) { ShowInputPanel(m_services.inputPanel, on); };
    }
    return *m_dialog;
}

void FindReplace::OpenFindDialog(bool replaceMode)
{
    CDetailView* text = m_view.DetailView();
    CFindReplaceDlg& dialog = Dialog();
    const QString remembered = dialog.m_strFind;
    dialog.m_strFind = text ? text->textCursor().selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n')) : QString();
    dialog.m_bReplaceMode = replaceMode;
    dialog.m_recent = m_recentFinds;
    // The same dialog object runs again each time; its controls are filled afresh.
    dialog.ResetInitialised();
    const int result = m_services.ui.RunModal(dialog);
    if (result == IDOK && !dialog.m_strFind.isEmpty()) {
        if (text)
            text->ResetSearch();
        AddRecentFind(dialog.m_strFind);
        if (replaceMode && dialog.m_bReplaceChosen)
            ReplaceNext();
        else
            FindNext();
        return;
    }
    dialog.m_strFind = remembered;
}

QTreeWidgetItem* FindReplace::NextItem(QTreeWidgetItem* item) const
{
    // Every item of the agenda in order: a sub-item first, then the next
    // sibling of the item or of the nearest ancestor that has one.
    if (!item)
        return nullptr;
    if (item->childCount() > 0)
        return item->child(0);
    for (QTreeWidgetItem* p = item; p && p != m_view.RootItem(); p = p->parent()) {
        QTreeWidgetItem* parent = p->parent();
        if (!parent)
            break;
        const int position = parent->indexOfChild(p);
        if (position + 1 < parent->childCount())
            return parent->child(position + 1);
    }
    return nullptr;
}

void FindReplace::SelectFirstItem()
{
    QTreeWidgetItem* root = m_view.RootItem();
    if (root)
        m_view.SelectItem(root->childCount() > 0 ? root->child(0) : root);
}

void FindReplace::FindNext()
{
    CDetailView* text = m_view.DetailView();
    const CFindReplaceDlg& dialog = Dialog();
    if (dialog.m_strFind.isEmpty()) {
        OpenFindDialog(false);
        return;
    }
    if (!text)
        return;
    for (;;) {
        if (text->FindInText(dialog.m_strFind, dialog.m_bMatchCase))
            return;
        QTreeWidgetItem* next = NextItem(m_view.SelectedItem());
        if (!next) {
            // No more matches: back to the top, without a word.
            SelectFirstItem();
            return;
        }
        m_view.SelectItem(next);
    }
}

void FindReplace::ReplaceNext()
{
    CDetailView* text = m_view.DetailView();
    const CFindReplaceDlg& dialog = Dialog();
    if (dialog.m_strFind.isEmpty()) {
        if (text)
            text->m_bReplaceAll = false;
        OpenFindDialog(true);
        return;
    }
    if (!dialog.m_bReplaceMode || !dialog.m_bReplaceChosen || !text)
        return;
    bool end = false;
    do {
        end = ReplaceStep();
    } while (text->m_bReplaceAll && !end);
}

bool FindReplace::ReplaceStep()
{
    CDetailView* text = m_view.DetailView();
    const CFindReplaceDlg& dialog = Dialog();
    bool found = false;
    bool noNext = false;
    QTreeWidgetItem* next = nullptr;
    do {
        bool atEnd = false;
        next = nullptr;
        found = text->ReplaceInText(dialog.m_strFind, dialog.m_bMatchCase, dialog.m_strReplace, atEnd);
        if (!found || atEnd) {
            next = NextItem(m_view.SelectedItem());
            if (next)
                m_view.SelectItem(next);
            else
                noNext = true;
        }
    } while (!found && next);
    if (noNext) {
        SelectFirstItem();
        return true;
    }
    return false;
}

void FindReplace::AddRecentFind(const QString& text)
{
    if (text.isEmpty())
        return;
    m_recentFinds.removeAll(text);
    while (m_recentFinds.size() >= kRecentCount)
        m_recentFinds.removeLast();
    m_recentFinds.prepend(text);

    // The stored list changes only for a text it does not hold yet.
    SettingsProfile& profile = m_services.profile;
    for (int i = kRecentCount; i >= 1; --i) {
        if (profile.ReadString(kRecentSection, RecentEntry(i), QString()) == text)
            return;
    }
    for (int i = kRecentCount - 1; i >= 1; --i)
        profile.WriteString(kRecentSection, RecentEntry(i + 1), profile.ReadString(kRecentSection, RecentEntry(i), QString()));
    profile.WriteString(kRecentSection, RecentEntry(1), text);
}
