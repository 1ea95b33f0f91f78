#include "model/treenode.h"

#include "model/archive.h"

namespace {

CObject* CreateTreeNode()
{
    return new CTreeNode;
}

} // namespace

const RuntimeClass CTreeNode::classCTreeNode = {"CTreeNode", 1, &CreateTreeNode};

CTreeNode::CTreeNode(const QString& title, const QString& text, qint32 level, qint32 kind)
    : m_strText(text)
    , m_nLevel(level)
    , m_nKind(kind)
    , m_strTitle(title)
{
}

void CTreeNode::Serialize(Archive& ar)
{
    if (ar.IsStoring())
        ar << m_strTitle << m_strText << m_nLevel << m_nKind << m_dwReserved;
    else
        ar >> m_strTitle >> m_strText >> m_nLevel >> m_nKind >> m_dwReserved;
}

void CTreeNode::CopyNode(const CTreeNode& source)
{
    m_strTitle = source.m_strTitle;
    m_strText = source.m_strText;
    m_nLevel = source.m_nLevel;
    m_nKind = source.m_nKind;
}
