#include "catalogue/categorydetailsdialog.h"

#include "app/appglobals.h"
#include "app/inputpanelservice.h"
#include "catalogue/categorystore.h"
#include "framework/uiservice.h"

#include <QBoxLayout>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

CCategoryDetailsDlg::CCategoryDetailsDlg(UiService& ui, InputPanel* inputPanel, QWidget* parent)
    : HandheldDialog(IDD, tr("Agenda item details"), parent)
    , m_ui(ui)
    , m_inputPanel(inputPanel)
{
    Body()->addWidget(MakeStaticText(
        tr("Enter the name of the new item for the catalogue and a description (optional) below:"), this));
    auto* form = new QFormLayout;
    m_name = new QLineEdit(this);
    m_name->setObjectName(QString::number(IDC_NAME));
    m_description = new QPlainTextEdit(this);
    m_description->setObjectName(QString::number(IDC_DESCRIPTION));
    m_description->setTabChangesFocus(true);
    auto* nameLabel = MakeStaticText(tr("Agenda item:"), this);
    auto* descriptionLabel = MakeStaticText(tr("Description:"), this);
    nameLabel->setBuddy(m_name);
    descriptionLabel->setBuddy(m_description);
    form->addRow(nameLabel, m_name);
    form->addRow(descriptionLabel, m_description);
    Body()->addLayout(form, 1);
    MakeButton(IDCANCEL, tr("CANCEL"));
    disconnect(OkButton(), nullptr, this, nullptr);
    connect(OkButton(), &QPushButton::clicked, this, &CCategoryDetailsDlg::accept);
    SetFirstFocus(m_name);
}

void CCategoryDetailsDlg::accept()
{
    m_strName = m_name->text();
    m_strDescription = m_description->toPlainText();
    // Line breaks would end up in the one-line list; keep descriptions on one line.
    m_strDescription.replace(QLatin1Char('\n'), QLatin1Char(' '));
    QString problem = CategoryStore::CheckName(m_strName);
    if (problem.isEmpty())
        problem = CategoryStore::CheckDescription(m_strDescription);
    if (!problem.isEmpty()) {
        m_ui.MessageBox(problem, kAppCaption, MB_OK | MB_ICONEXCLAMATION);
        m_name->setFocus();
        return;
    }
    if (m_inputPanel)
        ShowInputPanel(*m_inputPanel, false);
    done(IDOK);
}
