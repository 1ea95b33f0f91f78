#include "model/nodelist.h"

void NodeList::insert(qsizetype pos, std::unique_ptr<CTreeNode> node)
{
    m_nodes.insert(m_nodes.begin() + pos, std::move(node));
}

void NodeList::removeAt(qsizetype pos)
{
    m_nodes.erase(m_nodes.begin() + pos);
}

void NodeList::removeRange(qsizetype begin, qsizetype end)
{
    m_nodes.erase(m_nodes.begin() + begin, m_nodes.begin() + end);
}

void NodeList::insertRange(qsizetype pos, std::vector<std::unique_ptr<CTreeNode>> nodes)
{
    m_nodes.insert(m_nodes.begin() + pos, std::make_move_iterator(nodes.begin()), std::make_move_iterator(nodes.end()));
}

bool SameNodes(const NodeList& a, const NodeList& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const CTreeNode& x = *a.at(i);
        const CTreeNode& y = *b.at(i);
        if (x.GetTitle() != y.GetTitle() || x.GetText() != y.GetText() || x.GetLevel() != y.GetLevel()
            || x.GetKind() != y.GetKind() || x.GetReserved() != y.GetReserved())
            return false;
    }
    return true;
}
