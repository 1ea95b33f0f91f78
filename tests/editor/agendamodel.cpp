#include "agendamodel.h"

#include <algorithm>

AgendaModel::AgendaModel()
{
    m_root.uid = 0;
}

void AgendaModel::Load(const std::vector<std::tuple<int, QString, QString>>& nodes)
{
    m_root.kids.clear();
    std::vector<Item*> parents{&m_root};
    for (const auto& [level, title, text] : nodes) {
        parents.resize(std::min<size_t>(parents.size(), size_t(level)));
        auto item = std::make_unique<Item>();
        item->uid = m_nextUid++;
        item->title = title;
        item->text = text;
        item->parent = parents.back();
        parents.push_back(item.get());
        parents[parents.size() - 2]->kids.push_back(std::move(item));
    }
    m_messages.clear();
    Reopen();
}

void AgendaModel::Reopen()
{
    m_clipMode = 0;
    m_undoState = kNone;
    m_marked = -1;
    m_clipSource = m_pasted = m_anchor = m_lastParent = -1;
    m_deleted.reset();
    Select(m_root.kids.empty() ? &m_root : m_root.kids.front().get());
}

std::vector<AgendaModel::Item*> AgendaModel::PreOrder() const
{
    std::vector<Item*> out;
    std::function<void(const Item&)> walk = [&](const Item& item) {
        for (const auto& kid : item.kids) {
            out.push_back(kid.get());
            walk(*kid);
        }
    };
    walk(m_root);
    return out;
}

AgendaModel::Item* AgendaModel::At(int index) const
{
    if (index == 0)
        return const_cast<Item*>(&m_root);
    const std::vector<Item*> items = PreOrder();
    return index > 0 && index <= int(items.size()) ? items[size_t(index - 1)] : nullptr;
}

int AgendaModel::IndexOf(const Item* item) const
{
    if (item == &m_root)
        return 0;
    const std::vector<Item*> items = PreOrder();
    const auto found = std::find(items.begin(), items.end(), item);
    return found == items.end() ? -1 : int(found - items.begin()) + 1;
}

int AgendaModel::Level(const Item* item)
{
    int level = 0;
    for (const Item* p = item; p && p->parent; p = p->parent)
        ++level;
    return level;
}

AgendaModel::Item* AgendaModel::Find(int uid) const
{
    if (uid == 0)
        return const_cast<Item*>(&m_root);
    for (Item* item : PreOrder()) {
        if (item->uid == uid)
            return item;
    }
    return nullptr;
}

std::unique_ptr<AgendaModel::Item> AgendaModel::Clone(const Item& item)
{
    auto copy = std::make_unique<Item>();
    copy->uid = m_nextUid++;
    copy->title = item.title;
    copy->text = item.text;
    for (const auto& kid : item.kids) {
        copy->kids.push_back(Clone(*kid));
        copy->kids.back()->parent = copy.get();
    }
    return copy;
}

AgendaModel::Item* AgendaModel::Insert(std::unique_ptr<Item> item, const Place& place)
{
    auto& kids = place.parent->kids;
    auto at = kids.begin();
    if (place.after)
        at = std::find_if(kids.begin(), kids.end(), [&](const auto& kid) { return kid.get() == place.after; }) + 1;
    item->parent = place.parent;
    return kids.insert(at, std::move(item))->get();
}

std::unique_ptr<AgendaModel::Item> AgendaModel::Remove(Item* item)
{
    auto& kids = item->parent->kids;
    const auto at = std::find_if(kids.begin(), kids.end(), [&](const auto& kid) { return kid.get() == item; });
    std::unique_ptr<Item> taken = std::move(*at);
    kids.erase(at);
    return taken;
}

AgendaModel::Place AgendaModel::PlaceOf(Item* item)
{
    Item* parent = item->parent;
    Item* previous = nullptr;
    for (const auto& kid : parent->kids) {
        if (kid.get() == item)
            break;
        previous = kid.get();
    }
    return {parent, previous};
}

bool AgendaModel::TakesChildren(Item* target, const ExpandedFn& expanded) const
{
    return target == &m_root || target->uid == m_lastParent || (!target->kids.empty() && expanded(target));
}

bool AgendaModel::IsValidMove(Item* source, Item* target, const ExpandedFn& expanded) const
{
    if (!source || !target || source == target)
        return false;
    for (const Item* p = target->parent; p; p = p->parent) {
        if (p == source)
            return false;
    }
    if (source->parent && PlaceOf(source).after == target)
        return !target->kids.empty() && expanded(target);
    return true;
}

AgendaModel::Place AgendaModel::UndoPlace() const
{
    Item* anchor = Find(m_anchor);
    if (!anchor)
        return {};
    if (anchor->uid == m_lastParent)
        return {anchor, nullptr};
    return {anchor->parent, anchor};
}

void AgendaModel::SetState(int state)
{
    // The cut mark shows only while the cut is the last thing Undo would reverse.
    if (state != kCut)
        m_marked = -1;
    m_undoState = state;
}

void AgendaModel::Refuse()
{
    m_messages.push_back(QStringLiteral("Cannot cut and paste within one's self!"));
}

void AgendaModel::TypeText(const QString& text)
{
    if (Item* item = Selected(); item && item != &m_root)
        item->text += text;
}

void AgendaModel::Rename(Item* item, const QString& title)
{
    if (item && item != &m_root && !title.isEmpty())
        item->title = title;
}

void AgendaModel::InsertItem(const QString& title, bool subItem)
{
    Item* selected = Selected();
    auto item = std::make_unique<Item>();
    item->uid = m_nextUid++;
    item->title = title;
    Place place{selected, nullptr};
    if (!subItem && selected != &m_root)
        place = {selected->parent, selected};
    Select(Insert(std::move(item), place));
}

bool AgendaModel::DeleteItem(Item* item)
{
    if (!item || item == &m_root)
        return false;
    const Place place = PlaceOf(item);
    m_anchor = (place.after ? place.after : place.parent)->uid;
    m_lastParent = place.parent->uid;
    Select(place.after ? place.after : place.parent);
    m_deleted = Remove(item);
    return true;
}

void AgendaModel::Delete()
{
    // Delete Item is off while the root is selected.
    if (DeleteItem(Selected()))
        SetState(kDeleted);
}

void AgendaModel::TakeClipSource(int mode)
{
    Item* selected = Selected();
    if (!selected || selected == &m_root)
        return; // Cut and Copy are off for the root
    m_clipMode = mode;
    m_clipSource = selected->uid;
    SetState(mode == kCutMode ? kCut : kCopied);
    m_marked = mode == kCutMode ? selected->uid : -1;
}

void AgendaModel::CopyBranch(Item* source, const Place& place, bool move)
{
    const Place origin = PlaceOf(source);
    Item* placed = Insert(Clone(*source), place);
    m_pasted = placed->uid;
    if (move) {
        DeleteItem(source);
        m_lastParent = origin.parent->uid;
        m_anchor = (origin.after ? origin.after : origin.parent)->uid;
    }
    Select(placed);
}

void AgendaModel::Paste(const ExpandedFn& expanded)
{
    Item* source = Find(m_clipSource);
    if (!source || m_undoState == kNone || m_undoState == kDeleted)
        return; // Paste is off
    Item* target = Selected();
    if (m_undoState != kCopied && !IsValidMove(source, target, expanded)) {
        Refuse();
        return;
    }
    const Place place = TakesChildren(target, expanded) ? Place{target, nullptr} : Place{target->parent, target};
    CopyBranch(source, place, m_clipMode == kCutMode);
    SetState(kPasted);
}

void AgendaModel::Drop(Item* source, Item* target, const ExpandedFn& expanded)
{
    m_marked = -1; // taken off when the drag begins
    if (!source || !target || !IsValidMove(source, target, expanded))
        return;
    const Place place = TakesChildren(target, expanded) ? Place{target, nullptr} : Place{target->parent, target};
    CopyBranch(source, place, true);
    SetState(kMoved);
}

void AgendaModel::MoveBack()
{
    Item* pasted = Find(m_pasted);
    const Place place = UndoPlace();
    if (!pasted || !place.parent)
        return;
    for (const Item* p = place.parent; p; p = p->parent) {
        if (p == pasted) {
            Refuse();
            return;
        }
    }
    m_clipMode = kCutMode;
    m_clipSource = pasted->uid;
    CopyBranch(pasted, place, true);
    SetState(kPasted);
}

void AgendaModel::Undo()
{
    switch (m_undoState) {
    case kCopied:
    case kCut:
        SetState(kNone);
        break;
    case kPasted:
        if (m_clipMode == kCopyMode) {
            if (DeleteItem(Find(m_pasted)))
                SetState(kDeleted);
        } else {
            MoveBack();
        }
        break;
    case kDeleted:
        if (const Place place = UndoPlace(); place.parent && m_deleted) {
            m_pasted = Insert(Clone(*m_deleted), place)->uid;
            SetState(kRestored);
        }
        break;
    case kRestored:
        if (DeleteItem(Find(m_pasted)))
            SetState(kDeleted);
        break;
    case kMoved:
        MoveBack();
        break;
    default:
        break;
    }
}
