#pragma once

#include "editor/findreplace.h"
#include "framework/view.h"
#include "model/minuteviewlink.h"

#include <QPersistentModelIndex>
#include <QPoint>
#include <QPointer>
#include <QTreeWidget>

#include <functional>
#include <memory>
#include <optional>

class BranchMoves;
class CDetailView;
class CQuillonDoc;
class ItemTextPickers;
class MinuteCommands;
class ExportCommands;
class QMenu;
class TreeContextMenu;
class TreeDrag;
struct EditorServices;

// While a branch is being dragged, and while a paste runs.
extern bool g_bDragging;

// The agenda tree: the upper pane. It shows the minute as a tree under one
// root item that stands for the minute, keeps the tree and the document's
// node list in step through every edit, and hands the selection to the text
// pane. Items and nodes are matched by position: an item's index in a
// pre-order walk from the root (the root is 0) is its node's index.
class CMinuteView : public QTreeWidget, public View, public MinuteViewLink {
    Q_OBJECT
public:

    CMinuteView(EditorServices& services, QWidget* parent = nullptr);
    ~CMinuteView() override;

    CQuillonDoc* GetDoc() const;
    void SetDetailView(CDetailView* detailView) { m_pDetailView = detailView; }
    CDetailView* DetailView() const { return m_pDetailView; }
    // The document's path as last recorded, and the root label made from it.
    QString DocPath() const { return m_strDocPath; }
    QString FileName() const { return m_strFileName; }
    ExportCommands& Exports() { return *m_export; }
    FindReplace& Find() { return *m_find; }
    // Deletes the temporary file the last send left behind.
    void DeleteBeamTempFile();

    // View.
    void OnInitialUpdate() override;

    // What the document and the other panes use.
    int LevelShift() const override;
    void PrepareSave() override;
    bool HadFirstUpdate() const override { return !m_bFirstUpdate; }
    void CloseFindReplace() override;
    void CommitText();
    void NotifySelection(qintptr hint);
    bool IsBusy() const { return m_bBusy; }
    void SetBusy(bool busy) { m_bBusy = busy; }
    EditorServices& Services() const { return m_services; }
    BranchMoves& Moves() const { return *m_moves; }
    TreeDrag& Drag() const { return *m_drag; }
    TreeContextMenu& ContextMenu() const { return *m_menu; }
    // Ends an in-place rename that is under way, keeping what was typed.
    void EndLabelEditing();
    bool IsEditingLabel() const { return state() == EditingState; }

    // The tree.
    int GetItemIndex(const QTreeWidgetItem* item) const;
    int CountDescendants(const QTreeWidgetItem* item) const;
    QString GetItemPath(const QTreeWidgetItem* item) const;
    QTreeWidgetItem* RootItem() const { return Item(m_hRoot); }
    QTreeWidgetItem* SelectedItem() const { return Item(m_hSelected); }
    int SelectedIndex() const { return int(m_nSelIndex); }
    // The item at a node index; nullptr when there is none.
    QTreeWidgetItem* ItemAt(int index) const;
    // An item's normal and selected images.
    static int NormalImage(const QTreeWidgetItem* item);
    static int SelectedImage(const QTreeWidgetItem* item);
    void SetItemImages(QTreeWidgetItem* item, int normal, int selected);
    // The images of an item with or without sub-items.
    void SetKindImages(QTreeWidgetItem* item, bool hasSubItems);
    // Items are remembered by handles that go stale when the item is deleted.
    QTreeWidgetItem* Item(const QPersistentModelIndex& handle) const;
    QPersistentModelIndex Handle(QTreeWidgetItem* item) const;

    // Builds the nodes of list as items under parent, after the item after
    // (nullptr: as parent's first children); with addToDocument each item's
    // node goes into the document too, at the level its item has in the
    // tree. Returns the first item made.
    QTreeWidgetItem* BuildFromList(const NodeList& list, QTreeWidgetItem* parent, QTreeWidgetItem* after, bool addToDocument);
    // Deletes an item with its branch from the tree and the list, after
    // asking when confirm is set and the option says so.
    bool DeleteItem(QTreeWidgetItem* item, bool confirm);

    // Commands.
    void OnInsertItem();
    void OnInsertSubItem();
    void OnDeleteItem();
    void OnExpand();
    void OnExpandAll();
    void OnCollapseAll();
    void OnExpandBranch();
    void OnCollapseBranch();

    // Branch moves: the tree's Edit commands.
    bool CanCutCopy() const;
    bool CanPaste() const;
    bool CanUndo() const;
    int CutItem();
    int CopyItem();
    int PasteClip();
    int UndoTreeEdit();
    int GetUndoState() const;

    ItemTextPickers& Pickers() const { return *m_pickers; }
    MinuteCommands& Commands() const { return *m_commands; }

    // A drag of a branch with the mouse or stylus, in viewport coordinates.
    void OnBeginDrag(const QPoint& point);
    void OnDragMove(const QPoint& point);
    void OnDrop();
    QTreeWidgetItem* DropTarget() const;

    // The tap-and-hold menu for an item, as the gesture opens it.
    void OnContextMenu();
    QMenu* BuildContextMenu(QTreeWidgetItem* item);

    // In-place renaming.
    void OnBeginLabelEdit(QTreeWidgetItem* item);
    void OnEndLabelEdit(const QString& text);

    // Selection changes reported by the tree.
    void OnSelChanged(QTreeWidgetItem* item);
    // Selects an item; the selection handling runs as it does for a tap.
    void SelectItem(QTreeWidgetItem* item);
    // Selects an item that an edit has just placed: the index of the item
    // selected before may be wrong by now, so no text is stored under it.
    void SelectPlaced(QTreeWidgetItem* item);
    // Counts the selected item's index afresh after items went in above it.
    void RefreshSelectedIndex();

signals:
    // Asks the main frame to route a command (used by the context menu and keys).
    void commandRequested(int id);
    // The root item's label, the minute's file name, has changed.
    void rootLabelChanged(const QString& label);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index, const QEvent* event) const override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override;

private:
    friend class LabelDelegate;

    QTreeWidgetItem* InsertItem(const QString& label, int image, QTreeWidgetItem* parent, QTreeWidgetItem* after);
    // Whether item comes straight after previous in a pre-order walk.
    static bool Follows(const QTreeWidgetItem* item, const QTreeWidgetItem* previous);
    void FillTree();
    // The deepest level of the agenda.
    int TreeDepth() const;
    // The item and everything below it, optionally brought into view.
    void ExpandBranch(QTreeWidgetItem* item, bool expand, bool scroll);
    void InsertNewItem(bool subItem);
    void RegisterCommands();

    EditorServices& m_services;
    CDetailView* m_pDetailView = nullptr;
    std::unique_ptr<ExportCommands> m_export;
    std::unique_ptr<FindReplace> m_find;
    std::unique_ptr<BranchMoves> m_moves;
    std::unique_ptr<TreeDrag> m_drag;
    std::unique_ptr<TreeContextMenu> m_menu;
    std::unique_ptr<ItemTextPickers> m_pickers;
    std::unique_ptr<MinuteCommands> m_commands;
    bool m_bShowLines = true;
    bool m_bRebuilding = false;
    // The item an in-place rename began on, and its editor while it is open.
    QPersistentModelIndex m_hEditItem;
    QPointer<QWidget> m_labelEditor;

    QPersistentModelIndex m_hRoot;
    bool m_bFirstUpdate = true;
    bool m_bBusy = false;
    QString m_strFileName;
    QPersistentModelIndex m_hSelected;
    unsigned m_nSelIndex = 0;
    QString m_strOldLabel;
    QString m_strDocPath;
};
