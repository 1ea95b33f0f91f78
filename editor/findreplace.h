#pragma once

#include "catalogue/findreplace.h"

#include <QStringList>

#include <memory>

class CMinuteView;
class NodeList;
class QTreeWidgetItem;
class TextFinder;
struct EditorServices;

// Find and replace across the agenda: the selected item's text is searched
// in the text pane, from where the search stands; the items after it are
// searched where they are stored, and only the item that holds the next
// match is selected. Replace with All changes the remaining items where they
// are stored.
class FindReplace {
public:
    FindReplace(CMinuteView& view, EditorServices& services);
    ~FindReplace();

    void OpenFindDialog(bool replaceMode);
    void FindNext();
    void ReplaceNext();
    // One replacement step; true when the end of the agenda was reached.
    bool ReplaceStep();
    // The item searched after item: the next one in the agenda's order.
    QTreeWidgetItem* NextItem(QTreeWidgetItem* item) const;
    void AddRecentFind(const QString& text);

    CFindReplaceDlg& Dialog();
    QStringList m_recentFinds;

private:
    void SelectFirstItem();
    TextFinder Finder();
    // Selects the first item after the selected one whose text holds a
    // match; false when there is none.
    bool SelectNextHolding(const TextFinder& finder);
    // Replace with All from the selected item on: the rest of its text in
    // the pane, the items after it where they are stored.
    void ReplaceRest();
    // The tree item of a node, found from the node levels; null when they
    // do not give one.
    QTreeWidgetItem* ItemOfNode(const NodeList& nodes, int index) const;

    CMinuteView& m_view;
    EditorServices& m_services;
    std::unique_ptr<CFindReplaceDlg> m_dialog;
};
