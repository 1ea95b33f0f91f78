#include "editor/minuteview.h"

#include "app/appglobals.h"
#include "app/inputpanelservice.h"
#include "app/settingsprofile.h"
#include "catalogue/cataloguedialog.h"
#include "catalogue/categorystore.h"
#include "editor/findreplace.h"
#include "editor/branchmoves.h"
#include "editor/detailview.h"
#include "editor/editorservices.h"
#include "editor/itemtextpickers.h"
#include "editor/minutecommands.h"
#include "editor/treecontextmenu.h"
#include "editor/treedrag.h"
#include "editor/treeimages.h"
#include "export/exportcommands.h"
#include "export/minuteexport.h"
#include "framework/commandids.h"
#include "framework/uiservice.h"
#include "model/quillondoc.h"
#include "options/options.h"
#include "platform/devicepaths.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QGestureEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <limits>
#include <unordered_map>
#include <vector>

bool g_bDragging = false;

namespace {

constexpr int kNormalImageRole = Qt::UserRole + 1;
constexpr int kSelectedImageRole = Qt::UserRole + 2;

} // namespace

// Renames in place without letting the tree write the label: the view
// decides what the label becomes and stores the title.
class LabelDelegate : public QStyledItemDelegate {
public:
    explicit LabelDelegate(CMinuteView* view) : QStyledItemDelegate(view), m_view(view) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        m_view->m_labelEditor = editor;
        return editor;
    }

    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex&) const override
    {
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            m_view->OnEndLabelEdit(line->text());
    }

private:
    CMinuteView* m_view;
};

CMinuteView::CMinuteView(EditorServices& services, QWidget* parent)
    : QTreeWidget(parent)
    , m_services(services)
{
    setObjectName(QStringLiteral("CMinuteView"));
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setItemDelegate(new LabelDelegate(this));
    setUniformRowHeights(true);
    setExpandsOnDoubleClick(true);
    setFrameShape(QFrame::Box);
    setIconSize(QSize(16, 16));

    // Long titles and deep levels scroll sideways rather than run past the edge.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    m_export = std::make_unique<ExportCommands>(*this, services);
    m_find = std::make_unique<FindReplace>(*this, services);
    m_moves = std::make_unique<BranchMoves>(*this);
    m_drag = std::make_unique<TreeDrag>(*this);
    m_menu = std::make_unique<TreeContextMenu>(*this);
    m_pickers = std::make_unique<ItemTextPickers>(*this);
    m_commands = std::make_unique<MinuteCommands>(*this);

    // The view reads this option itself, and counts a missing value as on.
    m_bShowLines = services.profile.ReadInt(COptions::kSection, QStringLiteral("ShowLinesInTree"), 1) != 0;
    setRootIsDecorated(m_bShowLines);

    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        if (current)
            OnSelChanged(current);
    });
    RegisterCommands();
}

CMinuteView::~CMinuteView() = default;

void CMinuteView::RegisterCommands()
{
    OnCommand(cmd::InsertItem, [this] { OnInsertItem(); });
    OnCommand(cmd::InsertSubItem, [this] { OnInsertSubItem(); });
    OnCommand(cmd::DeleteItem, [this] { OnDeleteItem(); },
              [this](CmdUI& ui) { ui.Enable(m_nSelIndex > 0 && SelectedItem()); });
    OnCommand(cmd::Expand, [this] { OnExpand(); });
    OnCommand(cmd::ExpandAll, [this] { OnExpandAll(); });
    OnCommand(cmd::CollapseAll, [this] { OnCollapseAll(); });
    OnCommand(cmd::ExpandBranch, [this] { OnExpandBranch(); });
    OnCommand(cmd::CollapseBranch, [this] { OnCollapseBranch(); });
    OnCommand(cmd::ItemCatalogue, [this] { m_commands->OnItemCatalogue(); });
    OnCommand(cmd::New, [this] { m_commands->OnFileNew(); });
    OnCommand(cmd::ImportOpml, [this] { m_commands->OnFileImportOpml(); });
    OnCommand(cmd::SaveAsTemplate, [this] { m_commands->OnFileSaveAsTemplate(); });
    OnCommand(cmd::Completion, [this] {
        CommitText();
        m_commands->CheckCompletion(false);
    });

    OnCommand(cmd::ExportText, [this] { m_export->ExportToFile(ExportText); });
    OnCommand(cmd::ExportHtml, [this] { m_export->ExportToFile(ExportHtml); });
    OnCommand(cmd::ExportNote, [this] { m_export->ExportToFile(ExportNote); });
    OnCommand(cmd::ExportRtf, [this] { m_export->ExportToFile(ExportRtf); });
    OnCommand(cmd::ExportMarkdown, [this] { m_export->ExportToFile(ExportMarkdown); });
    OnCommand(cmd::ExportPdf, [this] { m_export->ExportToFile(ExportPdf); });
    OnCommand(cmd::ExportOpml, [this] { m_export->ExportToFile(ExportOpml); });
    OnCommand(cmd::Print, [this] { m_export->Print(false); });
    OnCommand(cmd::PrintPreview, [this] { m_export->Print(true); });
    OnCommand(cmd::ExportClipboard, [this] { m_export->ExportToClipboard(); });
    OnCommand(cmd::BeamMinute, [this] { m_export->BeamMinute(ExportMinute); });
    OnCommand(cmd::BeamHtml, [this] { m_export->BeamMinute(ExportHtml); });
    OnCommand(cmd::BeamNote, [this] { m_export->BeamMinute(ExportNote); });
    OnCommand(cmd::BeamRtf, [this] { m_export->BeamMinute(ExportRtf); });
    OnCommand(cmd::BeamText, [this] { m_export->BeamMinute(ExportText); });
    OnCommand(cmd::BeamMarkdown, [this] { m_export->BeamMinute(ExportMarkdown); });
    OnCommand(cmd::BeamPdf, [this] { m_export->BeamMinute(ExportPdf); });
    OnCommand(cmd::BeamOpml, [this] { m_export->BeamMinute(ExportOpml); });

    auto notRoot = [this](CmdUI& ui) { ui.Enable(m_nSelIndex > 0); };
    OnCommand(cmd::Find, [this] { m_find->OpenFindDialog(false); }, notRoot);
    OnCommand(cmd::Replace, [this] {
        if (m_pDetailView)
            m_pDetailView->m_bReplaceAll = false;
        m_find->OpenFindDialog(true);
    }, notRoot);
    OnCommand(cmd::FindNext, [this] { m_find->FindNext(); });

    OnCommand(cmd::ContactsShow, [this] { m_pickers->OnContactsShow(); });
    // The root's pane is read-only: nothing can be put there.
    OnCommand(cmd::ContactsSpecify, [this] { m_pickers->OnContactsSpecify(); }, notRoot);
    OnCommand(cmd::DatesCalendar, [this] { m_pickers->OnDatesCalendar(); });
    OnCommand(cmd::DatesSpecify, [this] { m_pickers->OnDatesSpecify(); }, notRoot);
    OnCommand(cmd::Options, [this] { m_commands->OnEditOptions(); });
    OnCommand(cmd::ReplaceNext, [this] { m_find->ReplaceNext(); });
}

void CMinuteView::DeleteBeamTempFile()
{
    m_export->DeleteBeamTempFile();
}

CQuillonDoc* CMinuteView::GetDoc() const
{
    return static_cast<CQuillonDoc*>(GetDocument());
}

QTreeWidgetItem* CMinuteView::Item(const QPersistentModelIndex& handle) const
{
    return handle.isValid() ? itemFromIndex(handle) : nullptr;
}

QPersistentModelIndex CMinuteView::Handle(QTreeWidgetItem* item) const
{
    return item ? QPersistentModelIndex(indexFromItem(item)) : QPersistentModelIndex();
}

int CMinuteView::NormalImage(const QTreeWidgetItem* item)
{
    return item ? item->data(0, kNormalImageRole).toInt() : -1;
}

int CMinuteView::SelectedImage(const QTreeWidgetItem* item)
{
    return item ? item->data(0, kSelectedImageRole).toInt() : -1;
}

void CMinuteView::SetItemImages(QTreeWidgetItem* item, int normal, int selected)
{
    item->setData(0, kNormalImageRole, normal);
    item->setData(0, kSelectedImageRole, selected);
    item->setIcon(0, TreeImages::Icon(normal, selected));
}

void CMinuteView::SetKindImages(QTreeWidgetItem* item, bool hasSubItems)
{
    // An item waiting to be pasted keeps its cut mark when it gains or loses sub-items.
    const int normal = NormalImage(item);
    const bool cut = normal == TreeImages::HeadingCut || normal == TreeImages::ItemCut;
    const int image = hasSubItems ? TreeImages::Heading : TreeImages::Item;
    SetItemImages(item, cut ? (hasSubItems ? TreeImages::HeadingCut : TreeImages::ItemCut) : image, image);
}

// ---------------------------------------------------------------------------
// Index, branch size and path

int CMinuteView::GetItemIndex(const QTreeWidgetItem* item) const
{
    if (!item)
        return 0;
    // The root is the tree's only top-level item, so a walk of the whole tree is a walk from the root.
    int index = 0;
    for (QTreeWidgetItemIterator it(const_cast<CMinuteView*>(this)); *it; ++it, ++index) {
        if (*it == item)
            return index;
    }
    return 0;
}

int CMinuteView::CountDescendants(const QTreeWidgetItem* item) const
{
    if (!item)
        return 0;
    int count = 0;
    for (int i = 0; i < item->childCount(); ++i)
        count += 1 + CountDescendants(item->child(i));
    return count;
}

QString CMinuteView::GetItemPath(const QTreeWidgetItem* item) const
{
    if (!item)
        return {};
    QStringList labels;
    for (const QTreeWidgetItem* p = item->parent(); p; p = p->parent())
        labels.prepend(p->text(0));
    QString path;
    for (const QString& label : labels) {
        path += label;
        if (!label.endsWith(QLatin1Char('\\')))
            path += QLatin1Char('\\');
    }
    return path + item->text(0);
}

QTreeWidgetItem* CMinuteView::ItemAt(int index) const
{
    if (index < 0)
        return nullptr;
    int i = 0;
    for (QTreeWidgetItemIterator it(const_cast<CMinuteView*>(this)); *it; ++it, ++i) {
        if (i == index)
            return *it;
    }
    return nullptr;
}

// ---------------------------------------------------------------------------
// Filling the tree

QTreeWidgetItem* CMinuteView::InsertItem(const QString& label, int image, QTreeWidgetItem* parent, QTreeWidgetItem* after)
{
    auto* item = new QTreeWidgetItem(QStringList{label});
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    SetItemImages(item, image, image);
    if (!after) {
        parent->insertChild(0, item);
    } else if (after->parent() == parent) {
        const int count = parent->childCount();
        // Appending is the common case; it needs no search among the children.
        if (count > 0 && parent->child(count - 1) == after)
            parent->addChild(item);
        else
            parent->insertChild(parent->indexOfChild(after) + 1, item);
    } else {
        parent->addChild(item);
    }
    return item;
}

bool CMinuteView::Follows(const QTreeWidgetItem* item, const QTreeWidgetItem* previous)
{
    // previous was made just before item, so it has no sub-items yet.
    const QTreeWidgetItem* parent = item->parent();
    if (!previous || !parent)
        return false;
    if (parent == previous || previous->parent() == parent)
        return true; // its first sub-item, or the sibling straight after it
    // item went in as parent's last sub-item: it follows previous only when
    // previous ends the branch of the sub-item before it.
    const QTreeWidgetItem* q = previous;
    while (q && q->parent() != parent) {
        const QTreeWidgetItem* up = q->parent();
        if (!up || up->child(up->childCount() - 1) != q)
            return false;
        q = up;
    }
    return q && parent->childCount() >= 2 && parent->child(parent->childCount() - 2) == q;
}

QTreeWidgetItem* CMinuteView::BuildFromList(const NodeList& list, QTreeWidgetItem* P, QTreeWidgetItem* A, bool addToDocument)
{
    if (list.isEmpty() || !P)
        return nullptr;
    CQuillonDoc* doc = addToDocument ? GetDoc() : nullptr;
    // The item most recently made the parent when the walk first went below
    // each level; levels not yet met lead back to P. Levels are those the
    // nodes are placed at (see below), so the table holds at most one entry
    // per node whatever the stored levels are.
    std::unordered_map<qint64, QTreeWidgetItem*> parentOf;
    auto parentAt = [&](qint64 level) {
        const auto found = parentOf.find(level);
        return found == parentOf.end() ? P : found->second;
    };

    qint64 prevLevel = addToDocument ? std::max<qint64>(1, list.at(0)->GetLevel()) : 0;
    QTreeWidgetItem* parent = P;
    QTreeWidgetItem* last = A;

    // Nodes go into the document as runs: each new item normally follows the
    // one before it in pre-order, so its index is one more and the run can go
    // into the list in one step. Only an item placed elsewhere (possible with
    // broken levels) ends a run and has its index counted afresh.
    int lastIndex = doc ? (A ? GetItemIndex(A) : doc->GetNodeCount()) : 0;
    int runStart = 0;
    // Each node goes into the list at the level its item has in the tree,
    // so that the two never disagree, wherever the branch was placed.
    std::unordered_map<const QTreeWidgetItem*, int> depthOf;
    auto depth = [&](const QTreeWidgetItem* item) {
        const auto found = depthOf.find(item);
        if (found != depthOf.end())
            return found->second;
        int d = 0;
        for (const QTreeWidgetItem* p = item; p && p->parent(); p = p->parent())
            ++d;
        depthOf.emplace(item, d);
        return d;
    };
    QTreeWidgetItem* firstItem = nullptr;
    std::vector<std::unique_ptr<CTreeNode>> run;
    auto flush = [&] {
        if (!run.empty())
            doc->InsertNodes(runStart, std::move(run));
        run.clear();
    };

    bool first = true;
    for (const auto& node : list) {
        const int image = node->GetKind() == CTreeNode::kHasSubItems ? TreeImages::Heading : TreeImages::Item;
        // A stored level that breaks the rules (0 or less, or several levels
        // deeper than the node before) is placed at the deepest level it can
        // reach: one below the node before at most, never above level 1.
        const qint64 level = std::max<qint64>(1, std::min<qint64>(node->GetLevel(), prevLevel + 1));
        if (level > prevLevel) {
            parentOf[level] = parent;
            parent = last ? last : P;
        } else if (level < prevLevel) {
            parent = parentAt(level + 1);
        }
        QTreeWidgetItem* previous = last;
        QTreeWidgetItem* item = InsertItem(node->GetTitle(), image, parent, last);
        last = item;

        if (doc) {
            const bool follows = !first && Follows(item, previous);
            if (!follows) {
                flush();
                lastIndex = GetItemIndex(item);
                runStart = lastIndex;
            } else {
                ++lastIndex;
            }
            const int itemLevel = depth(parent) + 1;
            depthOf.emplace(item, itemLevel);
            run.push_back(std::make_unique<CTreeNode>(item->text(0), node->GetText(), itemLevel,
                                                      node->GetKind()));
        }
        if (first)
            firstItem = item;
        first = false;
        prevLevel = level;
    }
    if (doc)
        flush();
    return firstItem;
}

// ---------------------------------------------------------------------------
// Initial update and selection

void CMinuteView::OnInitialUpdate()
{
    UiService& ui = m_services.ui;
    if (!m_bFirstUpdate)
        ui.BeginWaitCursor();
    View::OnInitialUpdate();
    CQuillonDoc* doc = GetDoc();
    if (!doc) {
        if (!m_bFirstUpdate)
            ui.EndWaitCursor();
        return;
    }

    // Selection changes while the tree is emptied and refilled belong to no minute.
    m_bRebuilding = true;
    if (!m_bFirstUpdate) {
        if (QTreeWidgetItem* root = RootItem())
            root->setExpanded(false);
    }
    if (topLevelItemCount() > 0)
        clear();
    if (doc->GetDocOpen())
        FillTree();
    doc->SetReplacePending(false);

    m_nSelIndex = 0;
    g_bDragging = false;
    m_drag->Cancel();
    m_moves->Reset();
    m_hEditItem = QPersistentModelIndex();
    doc->SetCurrentNode(0);
    m_bRebuilding = false;

    QTreeWidgetItem* root = RootItem();
    QTreeWidgetItem* selected = root && root->childCount() > 0 ? root->child(0) : root;
    m_hSelected = Handle(selected);
    if (selected) {
        SelectItem(selected);
        scrollToItem(root);
    }

    emit rootLabelChanged(root ? root->text(0) : QString());
    if (m_bFirstUpdate)
        m_bFirstUpdate = false;
    else
        ui.EndWaitCursor();
}

void CMinuteView::FillTree()
{
    CQuillonDoc* doc = GetDoc();
    m_strDocPath = doc->GetPath();
    m_strFileName = fileNamePart(m_strDocPath);

    // Built before it joins the tree, so that a large minute costs no
    // notification per item.
    auto* root = new QTreeWidgetItem(QStringList{m_strFileName});
    root->setFlags(root->flags() | Qt::ItemIsEditable);
    SetItemImages(root, TreeImages::Minute, TreeImages::Minute);
    m_nSelIndex = 0;
    if (!doc->GetNodeList().isEmpty())
        BuildFromList(doc->GetNodeList(), root, root, false);
    addTopLevelItem(root);
    m_hRoot = Handle(root);
    if (doc->GetNodeList().isEmpty())
        return;
    root->setExpanded(true);
    if (doc->GetOptions()->GetAutoExpandOverview())
        expandAll();
}

void CMinuteView::SelectItem(QTreeWidgetItem* item)
{
    if (!item)
        return;
    if (currentItem() == item) {
        // Already current as far as the tree knows (it may have made it so
        // on its own): run the selection handling all the same.
        OnSelChanged(item);
    } else {
        setCurrentItem(item);
    }
    item->setSelected(true);
    scrollToItem(item);
}

void CMinuteView::OnSelChanged(QTreeWidgetItem* item)
{
    CQuillonDoc* doc = GetDoc();
    if (!doc || m_bRebuilding || doc->GetReplacePending() || !item)
        return;
    doc->SetCurrentNode(int(m_nSelIndex));
    QTreeWidgetItem* previous = SelectedItem();
    // Stepping to the next item in order (as a search does) needs no count from the top.
    const bool indexKnown = previous && (previous == RootItem() || m_nSelIndex > 0);
    m_hSelected = Handle(item);
    m_nSelIndex = indexKnown && m_find->NextItem(previous) == item ? m_nSelIndex + 1 : unsigned(GetItemIndex(item));
    NotifySelection(qintptr(m_nSelIndex) + 1);
}

void CMinuteView::SelectPlaced(QTreeWidgetItem* item)
{
    m_nSelIndex = 0;
    SelectItem(item);
}

void CMinuteView::RefreshSelectedIndex()
{
    if (m_nSelIndex > 0)
        m_nSelIndex = unsigned(GetItemIndex(SelectedItem()));
}

void CMinuteView::NotifySelection(qintptr hint)
{
    if (Document* doc = GetDocument())
        doc->UpdateAllViews(this, hint);
}

void CMinuteView::CommitText()
{
    CQuillonDoc* doc = GetDoc();
    if (m_nSelIndex > 0 && doc) {
        doc->SetCurrentNode(int(m_nSelIndex));
        doc->UpdateAllViews(this, qintptr(m_nSelIndex) + 1);
    }
}

void CMinuteView::PrepareSave()
{
    CQuillonDoc* doc = GetDoc();
    if (!doc)
        return;
    m_strDocPath = doc->GetPath();
    if (QTreeWidgetItem* root = RootItem()) {
        root->setText(0, fileNamePart(m_strDocPath));
        emit rootLabelChanged(root->text(0));
    }
    CommitText();
}

void CMinuteView::CloseFindReplace()
{
    // The find and replace dialogs are modal: none can be open while the minute closes.
}

// ---------------------------------------------------------------------------
// Insert and delete

void CMinuteView::OnInsertItem()
{
    InsertNewItem(false);
}

void CMinuteView::OnInsertSubItem()
{
    InsertNewItem(true);
}

void CMinuteView::InsertNewItem(bool subItem)
{
    CQuillonDoc* doc = GetDoc();
    QTreeWidgetItem* selected = SelectedItem();
    if (!selected || !doc)
        return;
    const bool panelWasShowing = IsInputPanelShowing(m_services.inputPanel);

    CategoryStore store(m_services.profile);
    CCatalogueDlg dialog(store, m_services.ui, &m_services.inputPanel, window());
    dialog.SetCaption(subItem ? QStringLiteral("Insert Sub-Item") : QStringLiteral("Insert Agenda Item"));
    dialog.SetPickMode(true);
    if (m_services.ui.RunModal(dialog) != IDCANCEL) {
        QString title = dialog.GetChosen();
        if (title == QLatin1String("Blank"))
            title = m_pickers->PromptTitle();

        QTreeWidgetItem* root = RootItem();
        QTreeWidgetItem* item = nullptr;
        int newIndex = 0;
        const int ref = GetItemIndex(selected);
        if (subItem) {
            item = InsertItem(title, TreeImages::Item, selected, nullptr);
            newIndex = ref + 1;
        } else if (selected == root) {
            item = InsertItem(title, TreeImages::Item, root, nullptr);
            newIndex = 1;
        } else {
            item = InsertItem(title, TreeImages::Item, selected->parent(), selected);
            newIndex = GetItemIndex(item);
        }
        doc->SetMinuteModified(true);
        doc->InsertNode(item->text(0), ref, newIndex, QString(), subItem ? MinuteNodes::kSubItem : MinuteNodes::kSibling,
                        CTreeNode::kLeaf);
        if (subItem)
            selected->setExpanded(true);
        doc->SetCurrentNode(int(m_nSelIndex));
        SelectItem(item);
        if (subItem && selected != root) {
            SetKindImages(selected, true);
            doc->SetNodeAttributes(ref, CTreeNode::kHasSubItems, -1);
        }
        m_pickers->PrefillText(title);
    }
    ShowInputPanel(m_services.inputPanel, panelWasShowing);
}

void CMinuteView::OnDeleteItem()
{
    QTreeWidgetItem* selected = SelectedItem();
    if (!selected)
        return;
    if (selected == RootItem()) {
        m_services.ui.MessageBox(QStringLiteral("You cannot delete the root item!"), kAppCaption, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (DeleteItem(selected, true))
        m_moves->SetUndoState(BranchMoves::UNDO_DELETED);
}

bool CMinuteView::DeleteItem(QTreeWidgetItem* item, bool confirm)
{
    CQuillonDoc* doc = GetDoc();
    if (!doc || !item || item == RootItem())
        return false;
    if (confirm && doc->GetOptions()->GetWarningOnDelete()) {
        const QString question = item->childCount() > 0
            ? QStringLiteral("Delete agenda item '%1' ?\n(including subordinates)").arg(item->text(0))
            : QStringLiteral("Delete agenda item '%1' ?").arg(item->text(0));
        if (m_services.ui.MessageBox(question, kAppCaption, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return false;
    }
    // What was typed is kept: in its own node, or with the branch for Undo.
    CommitText();
    QTreeWidgetItem* parent = item->parent();
    const int position = parent->indexOfChild(item);
    QTreeWidgetItem* previousSibling = position > 0 ? parent->child(position - 1) : nullptr;
    m_moves->RecordDeletion(parent, previousSibling);

    const int index = GetItemIndex(item);
    const int branch = CountDescendants(item) + 1;
    doc->CopyNodesToClip(index, branch);

    m_nSelIndex = 0;
    SelectItem(previousSibling ? previousSibling : parent);

    // The branch's nodes are contiguous from its item's index on; removing
    // them at once leaves what removing them one by one, deepest first, would.
    doc->DeleteNodes(index, branch);
    delete item;

    if (parent != RootItem() && parent->childCount() == 0) {
        SetKindImages(parent, false);
        doc->SetNodeAttributes(GetItemIndex(parent), CTreeNode::kLeaf, -1);
    }
    doc->SetMinuteModified(true);
    return true;
}

// ---------------------------------------------------------------------------
// Expanding and collapsing

void CMinuteView::OnExpand()
{
    if (QTreeWidgetItem* item = SelectedItem())
        item->setExpanded(!item->isExpanded());
}

void CMinuteView::ExpandBranch(QTreeWidgetItem* item, bool expand, bool scroll)
{
    if (!item)
        return;
    // One layout for the whole branch, however large or deep: item by item
    // the view would lay itself out again each time.
    setUpdatesEnabled(false);
    if (expand) {
        // Laying out expanded items costs the view time in proportion to
        // their depth, for each level: an agenda nested deeper than this
        // (no minute a person writes is) opens this far and no further.
        constexpr int kMaxExpandDepth = 10000;
        if (item == RootItem() && TreeDepth() <= kMaxExpandDepth)
            expandAll(); // one pass that also lays out as it goes
        else
            expandRecursively(indexFromItem(item), kMaxExpandDepth);
    } else if (item == RootItem()) {
        collapseAll();
    } else {
        // With a layout pending, collapsing only forgets that an item was
        // expanded; the layout that follows runs once. Walked without
        // recursion: an agenda may be nested thousands of levels deep.
        scheduleDelayedItemsLayout();
        std::vector<QTreeWidgetItem*> pending{item};
        while (!pending.empty()) {
            QTreeWidgetItem* next = pending.back();
            pending.pop_back();
            if (next->childCount() == 0)
                continue;
            if (next->isExpanded())
                collapse(indexFromItem(next));
            for (int i = next->childCount() - 1; i >= 0; --i)
                pending.push_back(next->child(i));
        }
        executeDelayedItemsLayout();
    }
    setUpdatesEnabled(true);
    if (scroll)
        scrollToItem(item);
}

int CMinuteView::TreeDepth() const
{
    // A node's level is its item's depth below the root.
    int depth = 0;
    if (const CQuillonDoc* doc = GetDoc()) {
        for (const auto& node : doc->GetNodeList())
            depth = std::max(depth, int(node->GetLevel()));
    }
    return depth;
}

void CMinuteView::OnExpandAll()
{
    ExpandBranch(RootItem(), true, false);
}

void CMinuteView::OnCollapseAll()
{
    ExpandBranch(RootItem(), false, true);
}

void CMinuteView::OnExpandBranch()
{
    ExpandBranch(SelectedItem(), true, true);
}

void CMinuteView::OnCollapseBranch()
{
    ExpandBranch(SelectedItem(), false, true);
}

// ---------------------------------------------------------------------------
// Branch moves and drag and drop: the tree's side of them

int CMinuteView::LevelShift() const
{
    return m_moves->LevelShift();
}

int CMinuteView::GetUndoState() const
{
    return m_moves->GetUndoState();
}

bool CMinuteView::CanCutCopy() const
{
    return m_moves->CanCutCopy();
}

bool CMinuteView::CanPaste() const
{
    return m_moves->CanPaste();
}

bool CMinuteView::CanUndo() const
{
    return m_moves->CanUndo();
}

int CMinuteView::CutItem()
{
    EndLabelEditing();
    return m_moves->CutItem();
}

int CMinuteView::CopyItem()
{
    EndLabelEditing();
    return m_moves->CopyItem();
}

int CMinuteView::PasteClip()
{
    EndLabelEditing();
    return m_moves->PasteClip();
}

int CMinuteView::UndoTreeEdit()
{
    EndLabelEditing();
    return m_moves->UndoTreeEdit();
}

void CMinuteView::OnBeginDrag(const QPoint& point)
{
    m_drag->OnBeginDrag(point);
}

void CMinuteView::OnDragMove(const QPoint& point)
{
    m_drag->OnDragMove(point);
}

void CMinuteView::OnDrop()
{
    m_drag->OnDrop();
}

QTreeWidgetItem* CMinuteView::DropTarget() const
{
    return m_drag->DropTarget();
}

void CMinuteView::mouseMoveEvent(QMouseEvent* event)
{
    m_menu->PointerMoved(event->position().toPoint());
    if (m_drag->Move(event)) {
        m_menu->CancelHold();
        return;
    }
    // A press on an item that may yet become a drag keeps the selection
    // where it is: the tree's own drag-selecting would move it to whatever
    // the pointer crosses before the drag begins.
    if (m_drag->IsPending())
        return;
    QTreeWidget::mouseMoveEvent(event);
}

void CMinuteView::mouseReleaseEvent(QMouseEvent* event)
{
    m_menu->CancelHold();
    if (m_drag->Release(event))
        return;
    QTreeWidget::mouseReleaseEvent(event);
}

void CMinuteView::paintEvent(QPaintEvent* event)
{
    QTreeWidget::paintEvent(event);
    QPainter painter(viewport());
    m_drag->Paint(painter);
}

// ---------------------------------------------------------------------------
// Renaming

bool CMinuteView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    const bool started = QTreeWidget::edit(index, trigger, event);
    if (started)
        OnBeginLabelEdit(itemFromIndex(index));
    return started;
}

void CMinuteView::OnBeginLabelEdit(QTreeWidgetItem* item)
{
    m_hEditItem = Handle(item);
    m_strOldLabel = item ? item->text(0) : QString();
}

void CMinuteView::EndLabelEditing()
{
    QWidget* editor = m_labelEditor;
    if (!editor || state() != EditingState)
        return;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void CMinuteView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    QTreeWidget::closeEditor(editor, hint);
    if (hint == QAbstractItemDelegate::RevertModelCache)
        OnEndLabelEdit(QString()); // cancelled
}

void CMinuteView::OnEndLabelEdit(const QString& text)
{
    // The new title belongs to the item the edit began on, wherever the
    // selection has gone since; an item deleted meanwhile takes nothing.
    QTreeWidgetItem* item = Item(m_hEditItem);
    m_hEditItem = QPersistentModelIndex();
    CQuillonDoc* doc = GetDoc();
    if (!item || !doc)
        return;
    if (text.isEmpty() || item == RootItem()) {
        // An empty name, a cancelled edit and the root keep the old label;
        // the root's always follows the file name.
        item->setText(0, m_strOldLabel);
        return;
    }
    if (text == item->text(0))
        return; // nothing changed, nothing to save
    CommitText();
    item->setText(0, text);
    doc->SetNodeTitle(text, GetItemIndex(item));
    doc->SetMinuteModified(true);
}

// ---------------------------------------------------------------------------
// Stylus, keys and the context menu

void CMinuteView::mousePressEvent(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    QTreeWidgetItem* item = itemAt(position);
    m_menu->Press(event, item);
    m_drag->Press(event, item);
    // A release the tree never saw (it ended a drag, or went to a menu) would
    // leave it waiting for one and deaf to this press.
    if (state() != EditingState)
        setState(NoState);
    QTreeWidget::mousePressEvent(event);
}

void CMinuteView::contextMenuEvent(QContextMenuEvent* event)
{
    // Not while a branch is being dragged: the drag keeps the pointer.
    if (m_drag->IsDragging()) {
        event->accept();
        return;
    }
    m_drag->Cancel();
    m_menu->OnContextMenuEvent(event);
}

QMenu* CMinuteView::BuildContextMenu(QTreeWidgetItem* item)
{
    return m_menu->BuildContextMenu(item);
}

void CMinuteView::OnContextMenu()
{
    m_menu->OnContextMenu();
}

void CMinuteView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && m_drag->IsDragging()) {
        m_drag->Cancel();
        return;
    }
    if (event->key() == Qt::Key_Delete && state() != EditingState) {
        emit commandRequested(cmd::DeleteItem);
        return;
    }
    if (event->key() == Qt::Key_Insert) {
        emit commandRequested(event->modifiers() & Qt::ShiftModifier ? cmd::InsertSubItem : cmd::InsertItem);
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void CMinuteView::resizeEvent(QResizeEvent* event)
{
    QTreeWidget::resizeEvent(event);
    // The one column is as wide as its longest label, and never narrower
    // than the pane, so that a selected row is highlighted across it.
    header()->setMinimumSectionSize(viewport()->width());
}

void CMinuteView::focusOutEvent(QFocusEvent* event)
{
    // A drag that loses the keyboard to another window has lost its release too.
    if (m_drag->IsDragging() && event->reason() == Qt::ActiveWindowFocusReason)
        m_drag->Cancel();
    QTreeWidget::focusOutEvent(event);
}

QItemSelectionModel::SelectionFlags CMinuteView::selectionCommand(const QModelIndex& index, const QEvent* event) const
{
    // Exactly one item is always highlighted, the current one: a click on
    // empty space or a Ctrl+click never leaves the tree without a selection.
    if (!index.isValid())
        return QItemSelectionModel::NoUpdate;
    if (event && event->type() == QEvent::MouseButtonRelease)
        return QItemSelectionModel::NoUpdate;
    return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
}

// ---------------------------------------------------------------------------
// Lines between the items

void CMinuteView::drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const
{
    if (m_bShowLines) {
        // Dotted connectors: a vertical line for each ancestor that has a
        // sibling below, and an elbow into the item itself.
        painter->save();
        QPen pen(palette().color(QPalette::Mid));
        pen.setStyle(Qt::DotLine);
        painter->setPen(pen);
        const int step = indentation();
        const int middleY = rect.center().y();
        QModelIndex current = index;
        int level = 0;
        for (QModelIndex p = index.parent(); p.isValid(); p = p.parent())
            ++level;
        if (!rootIsDecorated())
            --level;
        int x = rect.right() - step / 2 + 1;
        for (int depth = level; depth >= 0 && current.isValid(); --depth, x -= step) {
            const QModelIndex parent = current.parent();
            const bool hasBelow = current.sibling(current.row() + 1, 0).isValid();
            if (current == index) {
                painter->drawLine(x, middleY, x + step / 2, middleY);
                painter->drawLine(x, rect.top(), x, hasBelow ? rect.bottom() : middleY);
            } else if (hasBelow) {
                painter->drawLine(x, rect.top(), x, rect.bottom());
            }
            current = parent;
        }
        painter->restore();
    }
    QTreeWidget::drawBranches(painter, rect, index);
}
