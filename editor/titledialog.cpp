#include "editor/titledialog.h"

#include "framework/uiservice.h"

#include <QBoxLayout>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

CTitleDlg::CTitleDlg(QWidget* parent)
    : HandheldDialog(IDD, tr("Rename Agenda Item"), parent)
{
    Body()->addWidget(MakeStaticText(tr("Enter the name of the agenda item below:"), this));
    auto* form = new QFormLayout;
    m_name = new QLineEdit(this);
    m_name->setObjectName(QString::number(IDC_NAME));
    QLabel* label = MakeStaticText(tr("Item name:"), this);
    label->setBuddy(m_name);
    form->addRow(label, m_name);
    Body()->addLayout(form);
    Body()->addStretch(1);
    MakeButton(IDCANCEL, tr("Cancel"));
    SetFirstFocus(m_name);
}

QString CTitleDlg::Name() const
{
    return m_name->text();
}
