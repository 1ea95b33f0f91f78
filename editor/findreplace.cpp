#include "editor/findreplace.h"

#include "app/inputpanelservice.h"
#include "app/settingsprofile.h"
#include "editor/detailview.h"
#include "editor/editorservices.h"
#include "editor/minuteview.h"
#include "framework/uiservice.h"

#include <vector>
#include "model/agendasearch.h"
#include "model/quillondoc.h"

namespace {

const QString kRecentSection = QStringLiteral("RecentUserFinds");
constexpr int kRecentCount = 5;

QString RecentEntry(int i)
{
    return QStringLiteral("FI%1").arg(i);
}

} // namespace

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

TextFinder FindReplace::Finder()
{
    const CFindReplaceDlg& dialog = Dialog();
    return TextFinder(dialog.m_strFind, dialog.m_bMatchCase ? Qt::CaseSensitive : Qt::CaseInsensitive);
}

bool FindReplace::SelectNextHolding(const TextFinder& finder)
{
    CQuillonDoc* doc = m_view.GetDoc();
    if (!doc)
        return false;
    const int found = FindNodeHolding(doc->GetNodeList(), m_view.SelectedIndex() + 1, finder);
    if (found <= 0)
        return false;
    m_view.SelectItem(ItemOfNode(doc->GetNodeList(), found));
    if (m_view.SelectedIndex() != found) {
        // The levels did not give the item: count it out in the tree.
        QTreeWidgetItem* item = m_view.ItemAt(found);
        if (!item)
            return false;
        m_view.SelectItem(item);
    }
    return true;
}

QTreeWidgetItem* FindReplace::ItemOfNode(const NodeList& nodes, int index) const
{
    // Each item's place among its siblings follows from the levels of the
    // nodes before it: no walk through the tree's items is needed.
    std::vector<int> places;
    for (int i = 0; i < index && i < nodes.size(); ++i) {
        const qsizetype level = nodes.at(i)->GetLevel();
        if (level >= 1 && level <= qsizetype(places.size())) {
            places.resize(size_t(level));
            ++places.back();
        } else if (level == qsizetype(places.size()) + 1) {
            places.push_back(0);
        } else {
            return nullptr; // not the tree's shape
        }
    }
    QTreeWidgetItem* item = m_view.RootItem();
    for (const int place : places) {
        if (!item || place >= item->childCount())
            return nullptr;
        item = item->child(place);
    }
    return item;
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
    const TextFinder finder = Finder();
    for (;;) {
        if (text->FindInText(dialog.m_strFind, dialog.m_bMatchCase))
            return;
        if (!SelectNextHolding(finder)) {
            // No more matches: back to the top, without a word.
            SelectFirstItem();
            return;
        }
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
    if (text->m_bReplaceAll) {
        ReplaceRest();
        return;
    }
    // Step by step, each replacement asked about, until the user says All.
    if (!ReplaceStep() && text->m_bReplaceAll)
        ReplaceRest();
}

bool FindReplace::ReplaceStep()
{
    CDetailView* text = m_view.DetailView();
    const CFindReplaceDlg& dialog = Dialog();
    const TextFinder finder = Finder();
    for (;;) {
        bool atEnd = false;
        if (text->ReplaceInText(dialog.m_strFind, dialog.m_bMatchCase, dialog.m_strReplace, atEnd)) {
            if (!atEnd)
                return false;
            // The text ended with the match: the search goes on in the next item.
            if (QTreeWidgetItem* next = NextItem(m_view.SelectedItem())) {
                m_view.SelectItem(next);
                return false;
            }
            break;
        }
        if (!SelectNextHolding(finder))
            break;
    }
    SelectFirstItem();
    return true;
}

void FindReplace::ReplaceRest()
{
    CDetailView* text = m_view.DetailView();
    CQuillonDoc* doc = m_view.GetDoc();
    const CFindReplaceDlg& dialog = Dialog();
    if (!text || !doc)
        return;
    // The selected item's text in the pane, where the search stands.
    bool atEnd = false;
    while (!atEnd && text->ReplaceInText(dialog.m_strFind, dialog.m_bMatchCase, dialog.m_strReplace, atEnd)) {
    }
    // Leaving the item stores what the pane changed in it.
    const int from = m_view.SelectedIndex() + 1;
    SelectFirstItem();
    const TextFinder finder = Finder();
    bool changed = false;
    for (int index = std::max(from, 1); index <= doc->GetNodeCount(); ++index) {
        if (std::optional<QString> replaced = finder.ReplacedIn(doc->GetNodeText(index), dialog.m_strReplace)) {
            doc->SetNodeText(index, *replaced);
            changed = true;
        }
    }
    if (changed) {
        doc->SetMinuteModified(true);
        // The first item may have been among them: the pane shows its new text.
        if (m_view.SelectedIndex() >= from)
            m_view.SelectItem(m_view.SelectedItem());
    }
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
