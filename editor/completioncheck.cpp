#include "editor/completioncheck.h"

#include "framework/uiservice.h"
#include "model/nodelist.h"

#include <QBoxLayout>
#include <QLabel>
#include <QListWidget>

CCompletionDlg::CCompletionDlg(QWidget* parent)
    : HandheldDialog(IDD, tr("Empty agenda items check results"), parent)
{
    Body()->addWidget(MakeStaticText(tr("The following agenda items may not\n be complete:"), this));
    m_list = new QListWidget(this);
    m_list->setObjectName(QString::number(IDC_LIST));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    Body()->addWidget(m_list, 1);
    FitToContents(m_list, 4, 15);
    SetFirstFocus(m_list);
    // A double tap, or Enter, closes the list and goes to the item.
    connect(m_list, &QListWidget::itemActivated, this, [this] {
        m_nChosenNode = m_nodeIndexes.value(m_list->currentRow(), 0);
        done(IDOK);
    });
}

void CCompletionDlg::OnInitDialog()
{
    // In the order given: the list is not sorted.
    m_nChosenNode = 0;
    m_list->clear();
    m_list->addItems(m_titles);
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
}

bool CheckCompletion(const NodeList& nodes, UiService& ui, QWidget* parent, bool askToContinue, int* chosenNode)
{
    if (nodes.isEmpty())
        return true;
    CCompletionDlg dialog(parent);
    bool found = false;
    for (qsizetype i = 0; i < nodes.size(); ++i) {
        if (nodes.at(i)->GetTextRef().isEmpty()) {
            dialog.AddTitle(nodes.at(i)->GetTitle(), int(i + 1));
            found = true;
        }
    }
    ui.RunModal(dialog);
    if (chosenNode)
        *chosenNode = dialog.ChosenNode();
    if (dialog.ChosenNode() > 0)
        return false; // going to an item: whatever was under way stops
    if (askToContinue && found)
        return ui.MessageBox(QStringLiteral("Some attributes not completed\nContinue close?"), QStringLiteral("Continue?"),
                             MB_YESNO | MB_ICONQUESTION) == IDYES;
    return true;
}
