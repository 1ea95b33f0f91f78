#include "catalogue/findreplace.h"

#include "framework/uiservice.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

CFindReplaceDlg::CFindReplaceDlg(QWidget* parent)
    : HandheldDialog(IDD, tr("Find/replace"), parent)
{
    auto* form = new QFormLayout;
    m_find = new QComboBox(this);
    m_find->setObjectName(QString::number(IDC_FIND));
    m_find->setEditable(true);
    m_find->setInsertPolicy(QComboBox::NoInsert);
    QLabel* findLabel = MakeStaticText(tr("Fi&nd What:"), this);
    findLabel->setBuddy(m_find);
    form->addRow(findLabel, m_find);
    m_replace = new QLineEdit(this);
    m_replace->setObjectName(QString::number(IDC_REPLACE_TEXT));
    m_replaceLabel = MakeStaticText(tr("Re&place with:"), this);
    m_replaceLabel->setObjectName(QString::number(IDC_REPLACE_LABEL));
    m_replaceLabel->setBuddy(m_replace);
    form->addRow(m_replaceLabel, m_replace);
    m_matchCase = new QCheckBox(tr("Match &Case"), this);
    m_matchCase->setObjectName(QString::number(IDC_MATCH_CASE));
    form->addRow(QString(), m_matchCase);
    Body()->addLayout(form);
    Body()->addStretch(1);

    OkButton()->hide(); // Find Next and Replace close the dialog
    m_findNext = MakeButton(IDC_FIND_NEXT, tr("Find Next"), false);
    m_findNext->setDefault(true);
    m_replaceButton = MakeButton(IDC_REPLACE, tr("Replace"), false);
    MakeButton(IDCANCEL, tr("Cancel"), false);
    connect(m_findNext, &QPushButton::clicked, this, &CFindReplaceDlg::OnFindNext);
    connect(m_replaceButton, &QPushButton::clicked, this, &CFindReplaceDlg::OnReplace);
    connect(Control<QPushButton>(IDCANCEL), &QPushButton::clicked, this, &CFindReplaceDlg::reject);
    connect(m_find, &QComboBox::editTextChanged, this, &CFindReplaceDlg::UpdateButtons);
    connect(m_find, &QComboBox::currentIndexChanged, this, &CFindReplaceDlg::UpdateButtons);
}

void CFindReplaceDlg::OnInitDialog()
{
    m_bReplaceChosen = false;
    m_replace->setEnabled(m_bReplaceMode);
    m_replaceLabel->setEnabled(m_bReplaceMode);
    m_find->clear();
    m_find->addItems(m_recent);
    m_find->setEditText(m_strFind);
    m_replace->setText(m_strReplace);
    m_matchCase->setChecked(m_bMatchCase);
    SetFirstFocus(m_find);
    // Enter presses the one button the mode enables.
    (m_bReplaceMode ? m_replaceButton : m_findNext)->setDefault(true);
    UpdateButtons();
    if (m_showInputPanel)
        m_showInputPanel(true);
}

void CFindReplaceDlg::UpdateButtons()
{
    // Only the button that fits the mode, and only with something to find.
    const bool hasText = !m_find->currentText().isEmpty();
    m_findNext->setEnabled(hasText && !m_bReplaceMode);
    m_replaceButton->setEnabled(hasText && m_bReplaceMode);
}

bool CFindReplaceDlg::ReadControls()
{
    m_strFind = m_find->currentText();
    m_strReplace = m_replace->text();
    m_bMatchCase = m_matchCase->isChecked();
    if (m_strFind.isEmpty()) {
        QApplication::beep();
        m_find->setFocus();
        return false;
    }
    return true;
}

void CFindReplaceDlg::OnFindNext()
{
    if (!ReadControls())
        return;
    if (m_showInputPanel)
        m_showInputPanel(false);
    done(IDOK);
}

void CFindReplaceDlg::OnReplace()
{
    if (!ReadControls())
        return;
    m_bReplaceChosen = true;
    if (m_showInputPanel)
        m_showInputPanel(false);
    done(IDOK);
}

void CFindReplaceDlg::reject()
{
    if (m_showInputPanel)
        m_showInputPanel(false);
    done(IDCANCEL);
}
