#include "editor/recoverysnapshot.h"

#include "editor/detailview.h"
#include "editor/minuteview.h"
#include "model/quillondoc.h"

NodeList TakeMinuteSnapshot(const CQuillonDoc& doc, const CMinuteView* tree, const CDetailView* textPane)
{
    const NodeList& nodes = doc.GetNodeList();
    // The node whose text the pane shows (0: the root, which has none).
    const int shown = tree ? tree->SelectedIndex() : 0;
    const bool paneAhead = shown > 0 && shown <= nodes.size() && textPane && textPane->HasUnstoredEdits();

    NodeList copy;
    copy.reserve(nodes.size());
    for (qsizetype i = 0; i < nodes.size(); ++i) {
        auto node = std::make_unique<CTreeNode>();
        node->CopyNode(*nodes.at(i));
        node->SetReserved(nodes.at(i)->GetReserved());
        if (paneAhead && i == shown - 1)
            node->SetText(textPane->PaneText());
        copy.append(std::move(node));
    }
    return copy;
}
