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
    // A double tap closes the list, as OK does.
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { done(IDOK); });
}

void CCompletionDlg::OnInitDialog()
{
    // In the order given: the list is not sorted.
    m_list->clear();
    m_list->addItems(m_titles);
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
}

bool CheckCompletion(const NodeList& nodes, UiService& ui, QWidget* parent, bool askToContinue)
{
    if (nodes.isEmpty())
        return true;
    CCompletionDlg dialog(parent);
    bool found = false;
    for (const auto& node : nodes) {
        if (node->GetTextRef().isEmpty()) {
            dialog.AddTitle(node->GetTitle());
            found = true;
        }
    }
    ui.RunModal(dialog);
    if (askToContinue && found)
        return ui.MessageBox(QStringLiteral("Some attributes not completed\nContinue close?"), QStringLiteral("Continue?"),
                             MB_YESNO | MB_ICONQUESTION) == IDYES;
    return true;
}
