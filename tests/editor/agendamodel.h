#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <tuple>
#include <vector>

// What the agenda should look like after each thing a user does, worked out
// on a plain tree of its own, independently of the editor's widgets and node
// list: where items and branches go, what is selected, what Undo restores and
// which refusals are shown. The randomized editor test compares the editor
// with it after every step.
class AgendaModel {
public:
    struct Item {
        int uid = 0;
        QString title;
        QString text;
        Item* parent = nullptr;
        std::vector<std::unique_ptr<Item>> kids;
    };
    // Whether an item's sub-items show in the tree, as the tree has it.
    using ExpandedFn = std::function<bool(const Item*)>;

    AgendaModel();

    // A fresh minute of (level, title, text) nodes in pre-order; the first item is selected.
    void Load(const std::vector<std::tuple<int, QString, QString>>& nodes);
    // The same agenda opened again: selection on the first item, nothing to undo.
    void Reopen();

    Item* Root() { return &m_root; }
    // The items below the root in pre-order; an item's index is its position + 1.
    std::vector<Item*> PreOrder() const;
    Item* At(int index) const;
    int IndexOf(const Item* item) const;
    static int Level(const Item* item);

    Item* Selected() const { return Find(m_selected); }
    void Select(const Item* item) { m_selected = item ? item->uid : -1; }
    // Refusals shown so far, in order.
    const std::vector<QString>& Messages() const { return m_messages; }
    // The item that should show the cut mark, if any.
    int CutMarked() const { return m_marked; }

    void TypeText(const QString& text);
    void Rename(Item* item, const QString& title);
    void InsertItem(const QString& title, bool subItem);
    void Delete();
    void Copy() { TakeClipSource(kCopyMode); }
    void Cut() { TakeClipSource(kCutMode); }
    void Paste(const ExpandedFn& expanded);
    // A drag from source released over target (none: away from the items).
    void Drop(Item* source, Item* target, const ExpandedFn& expanded);
    void Undo();

private:
    enum { kCopyMode = 1, kCutMode = 2 };
    enum { kNone = 0, kCopied = 1, kCut = 2, kPasted = 3, kDeleted = 4, kRestored = 5, kMoved = 6 };
    struct Place {
        Item* parent = nullptr;
        Item* after = nullptr;
    };

    Item* Find(int uid) const;
    std::unique_ptr<Item> Clone(const Item& item);
    Item* Insert(std::unique_ptr<Item> item, const Place& place);
    std::unique_ptr<Item> Remove(Item* item);
    static Place PlaceOf(Item* item);
    bool TakesChildren(Item* target, const ExpandedFn& expanded) const;
    bool IsValidMove(Item* source, Item* target, const ExpandedFn& expanded) const;
    Place UndoPlace() const;
    bool DeleteItem(Item* item);
    void CopyBranch(Item* source, const Place& place, bool move);
    void MoveBack();
    void TakeClipSource(int mode);
    void Refuse();
    void SetState(int state);

    Item m_root;
    int m_nextUid = 1;
    int m_selected = 0;
    std::vector<QString> m_messages;

    int m_clipMode = 0;
    int m_undoState = kNone;
    int m_clipSource = -1;
    int m_pasted = -1;
    int m_anchor = -1;
    int m_lastParent = -1;
    int m_marked = -1;
    std::unique_ptr<Item> m_deleted; // what the last delete took away
};
