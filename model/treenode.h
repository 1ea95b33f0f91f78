#pragma once

#include "model/object.h"

#include <QString>

// One agenda item: its title, its free text, its depth in the agenda and
// whether it has sub-items. The agenda's shape lives only in the levels of a
// flat list of these nodes in pre-order.
class CTreeNode final : public CObject {
public:
    static const RuntimeClass classCTreeNode;

    CTreeNode() = default;
    CTreeNode(const QString& title, const QString& text, qint32 level, qint32 kind);

    const RuntimeClass* GetRuntimeClass() const override { return &classCTreeNode; }
    void Serialize(Archive& ar) override;

    QString GetTitle() const { return m_strTitle; }
    void SetTitle(const QString& title) { m_strTitle = title; }
    QString GetText() const { return m_strText; }
    // Without the copy, for code that walks many nodes.
    const QString& GetTextRef() const { return m_strText; }
    void SetText(const QString& text) { m_strText = text; }
    qint32 GetLevel() const { return m_nLevel; }
    void SetLevel(qint32 level) { m_nLevel = level; }
    qint32 GetKind() const { return m_nKind; }
    void SetKind(qint32 kind) { m_nKind = kind; }

    // Only files carry the reserved word; the command-line converter shows and sets it.
    quint32 GetReserved() const { return m_dwReserved; }
    void SetReserved(quint32 reserved) { m_dwReserved = reserved; }

    // Takes the source's title, text, level and kind; keeps its own reserved word.
    void CopyNode(const CTreeNode& source);

    // Kinds.
    static constexpr qint32 kHasSubItems = 0;
    static constexpr qint32 kLeaf = 1;

private:
    quint32 m_dwReserved = 0;
    QString m_strText;
    qint32 m_nLevel = 0;
    qint32 m_nKind = 0;
    QString m_strTitle;
};
