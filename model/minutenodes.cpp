#include "model/minutenodes.h"

#include <algorithm>
#include <limits>

namespace {

// Levels come from files and may be anything; adding to them must not overflow.
int AddToLevel(int level, int delta)
{
    const qint64 sum = qint64(level) + delta;
    return int(std::clamp<qint64>(sum, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

} // namespace

void MinuteNodes::InsertNode(const QString& title, int ref, int newIndex, const QString& text, int relation, int kind)
{
    if (!m_nodes.isEmpty() && newIndex >= 2) {
        const CTreeNode* reference = Node(ref);
        const CTreeNode* previous = Node(newIndex - 1);
        if (!reference || !previous)
            return;
        int level = relation;
        if (relation == kSubItem)
            level = AddToLevel(reference->GetLevel(), 1);
        else if (relation == kSibling)
            level = reference->GetLevel();
        m_nodes.insert(newIndex - 1, std::make_unique<CTreeNode>(title, text, level, kind));
        return;
    }
    m_nodes.insert(0, std::make_unique<CTreeNode>(title, text, 1, kind));
}

void MinuteNodes::InsertNodes(int newIndex, std::vector<std::unique_ptr<CTreeNode>> nodes)
{
    if (nodes.empty())
        return;
    const bool atHead = m_nodes.isEmpty() || newIndex <= 1;
    if (!atHead && !Node(newIndex - 1)) {
        // No node to follow: let each insertion find its own way.
        for (size_t i = 0; i < nodes.size(); ++i) {
            const CTreeNode& node = *nodes[i];
            InsertNode(node.GetTitle(), newIndex + int(i) - 1, newIndex + int(i), node.GetText(), node.GetLevel(), node.GetKind());
        }
        return;
    }
    if (atHead)
        nodes.front()->SetLevel(1); // a node put first is always top-level
    m_nodes.insertRange(atHead ? 0 : newIndex - 1, std::move(nodes));
}

void MinuteNodes::DeleteNode(const QString&, int index)
{
    if (Node(index))
        m_nodes.removeAt(index - 1);
}

void MinuteNodes::DeleteNodes(int first, int count)
{
    if (first < 1)
        return;
    const qsizetype begin = qsizetype(first) - 1;
    const qsizetype end = std::min<qsizetype>(qsizetype(first) - 1 + std::max(count, 0), m_nodes.size());
    if (begin < end)
        m_nodes.removeRange(begin, end);
}

QString MinuteNodes::GetNodeText(int index) const
{
    const CTreeNode* node = Node(index);
    return node ? node->GetText() : QString();
}

void MinuteNodes::SetNodeText(int index, const QString& text)
{
    if (CTreeNode* node = Node(index))
        node->SetText(text);
}

void MinuteNodes::SetNodeTitle(const QString& title, int index)
{
    if (CTreeNode* node = Node(index))
        node->SetTitle(title);
}

bool MinuteNodes::SetNodeAttributes(int index, int kind, int level)
{
    if (CTreeNode* node = Node(index)) {
        if (kind != -1)
            node->SetKind(kind);
        if (level != -1)
            node->SetLevel(level);
    }
    return true;
}

bool MinuteNodes::CopyNodesToClip(int first, int count)
{
    if (m_nodes.isEmpty())
        return true;
    m_clip.clear();
    const int shift = m_levelShiftSource ? m_levelShiftSource->LevelShift() : 0;
    for (qsizetype pos = qsizetype(first) - 1; pos < qsizetype(first) - 1 + count; ++pos) {
        const CTreeNode* source = pos >= 0 ? m_nodes.value(pos) : nullptr;
        if (!source)
            break;
        auto copy = std::make_unique<CTreeNode>();
        copy->CopyNode(*source);
        copy->SetLevel(AddToLevel(copy->GetLevel(), shift));
        m_clip.append(std::move(copy));
    }
    return true;
}

int MinuteNodes::GetNodeLevel(int index) const
{
    const CTreeNode* node = Node(index);
    return node ? node->GetLevel() : -1;
}

void MinuteNodes::ClearNodes()
{
    m_nodes.clear();
    m_clip.clear();
}
