#pragma once

#include "model/nodelist.h"

#include <QString>

#include <memory>
#include <vector>

// Where the node copies of a move get their level shift from: the agenda tree
// view, which knows it only while it moves a branch to another level.
class LevelShiftSource {
public:
    virtual ~LevelShiftSource() = default;
    virtual int LevelShift() const = 0;
};

// The minute's node list and the cut buffer, with the operations the views use
// on them. Every operation names a node by its index: its 1-based position in
// m_nodeList, which is also the position of its tree item in a pre-order walk
// below the root item (the root, index 0, stands for the minute and has no
// node). Indexes come from the tree view; one that names no node is ignored
// (or gives the empty result) rather than trusted.
class MinuteNodes {
public:
    // The lists belong to whoever makes the object (the minute document).
    MinuteNodes(NodeList& nodeList, NodeList& clipList) : m_nodes(nodeList), m_clip(clipList) {}
    MinuteNodes(const MinuteNodes&) = delete;
    MinuteNodes& operator=(const MinuteNodes&) = delete;

    // Relations for InsertNode; any other value is an explicit level.
    static constexpr int kSubItem = -1;
    static constexpr int kSibling = 0;

    const NodeList& GetNodeList() const { return m_nodes; }
    NodeList& GetNodeList() { return m_nodes; }
    const NodeList& GetClipList() const { return m_clip; }
    int GetNodeCount() const { return int(m_nodes.size()); }

    void SetLevelShiftSource(const LevelShiftSource* source) { m_levelShiftSource = source; }

    // Makes a node titled exactly as given (a backslash in a title is the
    // user's own, not a path) and links it at position newIndex: after the node newIndex - 1, with a level taken
    // from the reference node ref (relation kSubItem: one deeper; kSibling:
    // the same) or the relation itself. Into an empty list, or with newIndex
    // <= 1, the node goes first at level 1.
    void InsertNode(const QString& title, int ref, int newIndex, const QString& text, int relation, int kind);
    // Inserts a run of nodes at positions newIndex, newIndex + 1, ... as
    // InsertNode with explicit levels would one after the other, in one step.
    void InsertNodes(int newIndex, std::vector<std::unique_ptr<CTreeNode>> nodes);
    // Destroys the node at index; its sub-items are untouched.
    void DeleteNode(const QString& titlePath, int index);
    // Destroys count nodes from first on at once: what deleting a branch item
    // by item, deepest first, leaves, without shifting the list once per node.
    void DeleteNodes(int first, int count);
    QString GetNodeText(int index) const;
    void SetNodeText(int index, const QString& text);
    void SetNodeTitle(const QString& title, int index);
    // Sets kind and level, each unless it is -1.
    bool SetNodeAttributes(int index, int kind, int level);
    // Replaces the cut buffer with copies of count nodes from first on, each
    // level shifted by the level shift source.
    bool CopyNodesToClip(int first, int count);
    // -1 for the root (0) and for an index past the end.
    int GetNodeLevel(int index) const;

    // Destroys every node of both lists.
    void ClearNodes();


private:
    CTreeNode* Node(int index) const { return m_nodes.value(qsizetype(index) - 1); }

    NodeList& m_nodes;
    NodeList& m_clip;

    const LevelShiftSource* m_levelShiftSource = nullptr;
};
