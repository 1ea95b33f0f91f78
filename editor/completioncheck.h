#pragma once

#include "framework/handhelddialog.h"

#include <QStringList>

class NodeList;
class QListWidget;
class UiService;

// "Empty agenda items check results": the titles of the items without text,
// in agenda order. Double-clicking a title, or Enter on it, chooses its item
// to go to.
class CCompletionDlg : public HandheldDialog {
    Q_OBJECT
public:
    enum { IDD = 145, IDC_LIST = 1010 };
    explicit CCompletionDlg(QWidget* parent = nullptr);

    void AddTitle(const QString& title, int nodeIndex = 0)
    {
        m_titles.append(title);
        m_nodeIndexes.append(nodeIndex);
    }
    QStringList m_titles;
    // The node index of the item chosen to go to; 0 when none was.
    int ChosenNode() const { return m_nChosenNode; }

protected:
    void OnInitDialog() override;

private:
    QListWidget* m_list;
    QList<int> m_nodeIndexes;
    int m_nChosenNode = 0;
};

// Lists the items without text. With askToContinue, and some found, asks
// whether to go on; false when the user chose to stop, or chose an item to go
// to (*chosenNode, its node index). An empty minute shows nothing.
bool CheckCompletion(const NodeList& nodes, UiService& ui, QWidget* parent, bool askToContinue, int* chosenNode = nullptr);
