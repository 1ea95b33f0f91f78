#pragma once

#include "framework/handhelddialog.h"

#include <QStringList>

class NodeList;
class QListWidget;
class UiService;

// "Empty agenda items check results": the titles of the items without text,
// in agenda order. It only informs.
class CCompletionDlg : public HandheldDialog {
    Q_OBJECT
public:
    enum { IDD = 145, IDC_LIST = 1010 };
    explicit CCompletionDlg(QWidget* parent = nullptr);

    void AddTitle(const QString& title) { m_titles.append(title); }
    QStringList m_titles;

protected:
    void OnInitDialog() override;

private:
    QListWidget* m_list;
};

// Lists the items without text. With askToContinue, and some found, asks
// whether to go on; false when the user chose to stop. An empty minute shows nothing.
bool CheckCompletion(const NodeList& nodes, UiService& ui, QWidget* parent, bool askToContinue);
