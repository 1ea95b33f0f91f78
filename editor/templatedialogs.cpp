#include "editor/templatedialogs.h"

#include "app/appglobals.h"
#include "app/inputpanelservice.h"
#include "framework/uiservice.h"
#include "model/templates.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

CNewMinuteDlg::CNewMinuteDlg(QWidget* parent)
    : HandheldDialog(IDD, tr("New minute"), parent)
{
    auto* group = new QGroupBox(tr("Create from:"), this);
    auto* groupLayout = new QVBoxLayout(group);
    m_template = new QRadioButton(tr("Template"), group);
    m_template->setObjectName(QString::number(IDC_TEMPLATE));
    m_blank = new QRadioButton(tr("Blank minute"), group);
    m_blank->setObjectName(QString::number(IDC_BLANK));
    groupLayout->addWidget(m_template);
    groupLayout->addWidget(m_blank);
    Body()->addWidget(group);
    Body()->addWidget(MakeStaticText(tr("Templates:"), this));
    m_list = new QListWidget(this);
    m_list->setObjectName(QString::number(IDC_LIST));
    Body()->addWidget(m_list, 1);
    FitToContents(m_list, 4, 12);
    MakeButton(IDCANCEL, tr("Cancel"));

    connect(m_template, &QRadioButton::clicked, this, [this] { SetFromTemplate(true); });
    connect(m_blank, &QRadioButton::clicked, this, [this] { SetFromTemplate(false); });
    // A double tap on a template takes it.
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] {
        if (m_bFromTemplate)
            done(IDOK);
    });
}

void CNewMinuteDlg::OnInitDialog()
{
    m_list->clear();
    if (m_bTemplatesFound) {
        m_list->addItems(m_names);
        m_list->setCurrentRow(0);
        m_strSelected = m_list->item(0)->text();
        m_template->setChecked(true);
        m_bFromTemplate = true;
        // The arrow keys go through the templates, not the choice above them.
        SetFirstFocus(m_list);
    } else {
        m_list->addItem(QStringLiteral("** None found **"));
        m_template->setEnabled(false);
        m_blank->setChecked(true);
        SetFirstFocus(m_blank);
    }
}

void CNewMinuteDlg::SetFromTemplate(bool fromTemplate)
{
    m_bFromTemplate = fromTemplate;
    m_list->setEnabled(fromTemplate);
}

void CNewMinuteDlg::done(int result)
{
    if (result == IDOK) {
        const QListWidgetItem* selected = m_list->currentItem();
        m_strSelected = selected && selected->isSelected() ? selected->text() : QString();
    }
    HandheldDialog::done(result);
}

CSaveAsTemplateDlg::CSaveAsTemplateDlg(Templates& templates, UiService& ui, InputPanel* inputPanel, QWidget* parent)
    : HandheldDialog(IDD, tr("Save As Template"), parent)
    , m_templates(templates)
    , m_ui(ui)
    , m_inputPanel(inputPanel)
{
    auto* row = new QHBoxLayout;
    QLabel* label = MakeStaticText(tr("New template:"), this);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QString::number(IDC_NAME));
    label->setBuddy(m_name);
    row->addWidget(label);
    row->addWidget(m_name, 1);
    Body()->addLayout(row);
    Body()->addWidget(MakeStaticText(tr("Templates:"), this));
    m_list = new QListWidget(this);
    m_list->setObjectName(QString::number(IDC_LIST));
    Body()->addWidget(m_list, 1);
    FitToContents(m_list, 4, 12);
    m_delete = MakeButton(IDC_DELETE, tr("Delete"), false);
    MakeButton(IDCANCEL, tr("Cancel"));
    disconnect(OkButton(), nullptr, this, nullptr);
    connect(OkButton(), &QPushButton::clicked, this, &CSaveAsTemplateDlg::accept);
    connect(m_delete, &QPushButton::clicked, this, &CSaveAsTemplateDlg::OnDelete);
    // A template chosen, not merely the row the focus came to: Tab into the
    // list must not put a template's name over the one being typed.
    connect(m_list, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> selected = m_list->selectedItems();
        if (!selected.isEmpty())
            OnSelect(m_list->row(selected.constFirst()));
    });
}

void CSaveAsTemplateDlg::OnInitDialog()
{
    m_nSelected = -1;
    m_list->clear();
    m_list->addItems(m_names);
    m_list->setCurrentRow(-1);
    m_delete->setEnabled(false);
    if (m_inputPanel)
        ShowInputPanel(*m_inputPanel, true);
    SetFirstFocus(m_name);
}

void CSaveAsTemplateDlg::OnSelect(int row)
{
    if (row < 0)
        return;
    m_nSelected = row;
    m_strSelected = m_list->item(row)->text();
    if (!m_strSelected.isEmpty()) {
        m_name->setText(m_strSelected);
        m_delete->setEnabled(true);
    }
}

void CSaveAsTemplateDlg::OnDelete()
{
    if (m_nSelected < 0 || m_strSelected.isEmpty())
        return;
    if (m_ui.MessageBox(QStringLiteral("Delete template %1 ? ").arg(m_strSelected), kAppCaption,
                        MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND) != IDYES)
        return;
    // A template that cannot be deleted stays listed; nothing is said.
    if (!m_templates.Remove(m_strSelected))
        return;
    const QSignalBlocker blocker(m_list);
    delete m_list->takeItem(m_nSelected);
    m_list->setCurrentRow(-1);
    m_nSelected = -1;
    m_delete->setEnabled(false);
}

void CSaveAsTemplateDlg::accept()
{
    m_strNewName = m_name->text();
    if (m_strNewName.isEmpty()) {
        done(IDOK); // nothing to save
        return;
    }
    QString problem;
    const QString fileName = Templates::FileNameFor(m_strNewName, &problem);
    if (fileName.isEmpty()) {
        m_ui.MessageBox(problem, kAppCaption, MB_OK | MB_ICONEXCLAMATION);
        m_name->setFocus();
        return;
    }
    // Asked about the file that would be overwritten, whichever way its name came.
    if (m_templates.Exists(fileName)
        && m_ui.MessageBox(QStringLiteral("Replace template %1 ? ").arg(fileName), kAppCaption,
                           MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND) != IDYES)
        return;
    done(IDOK);
}
