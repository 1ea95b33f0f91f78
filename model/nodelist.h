#pragma once

#include "model/treenode.h"

#include <memory>
#include <vector>

// An ordered list that owns its nodes: removing a node destroys it.
// Positions here are 0-based; the agenda's 1-based node indexes are the
// business of MinuteNodes.
class NodeList {
public:
    NodeList() = default;
    NodeList(NodeList&&) noexcept = default;
    NodeList& operator=(NodeList&&) noexcept = default;

    qsizetype size() const { return qsizetype(m_nodes.size()); }
    bool isEmpty() const { return m_nodes.empty(); }

    CTreeNode* at(qsizetype pos) const { return m_nodes[size_t(pos)].get(); }
    CTreeNode* value(qsizetype pos) const { return pos >= 0 && pos < size() ? at(pos) : nullptr; }

    void append(std::unique_ptr<CTreeNode> node) { m_nodes.push_back(std::move(node)); }
    void insert(qsizetype pos, std::unique_ptr<CTreeNode> node);
    void insertRange(qsizetype pos, std::vector<std::unique_ptr<CTreeNode>> nodes);
    void removeAt(qsizetype pos);
    void removeRange(qsizetype begin, qsizetype end);
    void clear() { m_nodes.clear(); }
    void reserve(qsizetype n) { m_nodes.reserve(size_t(n)); }

    auto begin() const { return m_nodes.begin(); }
    auto end() const { return m_nodes.end(); }

private:
    std::vector<std::unique_ptr<CTreeNode>> m_nodes;
};

// Whether two lists hold the same nodes: titles, texts, levels, kinds and
// reserved words, in the same order.
bool SameNodes(const NodeList& a, const NodeList& b);
