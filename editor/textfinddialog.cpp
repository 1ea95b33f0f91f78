#include "editor/textfinddialog.h"

#include "editor/detailview.h"
#include "framework/uiservice.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextDocument>

CTextFindDlg::CTextFindDlg(CDetailView& view, bool replace, QWidget* parent)
    : HandheldDialog(replace ? 1541 : 1540, replace ? tr("Replace") : tr("Find"), parent)
    , m_view(view)
    , m_bReplace(replace)
{
    SetFullScreen(false);
    auto* form = new QFormLayout;
    m_find = new QLineEdit(this);
    m_find->setObjectName(QString::number(IDC_FIND_WHAT));
    m_find->setText(view.textCursor().selectedText());
    m_find->selectAll(); // typing replaces the text offered
    SetFirstFocus(m_find);
    form->addRow(MakeStaticText(tr("Find what:"), this), m_find);
    if (replace) {
        m_replaceWith = new QLineEdit(this);
        m_replaceWith->setObjectName(QString::number(IDC_REPLACE_WITH));
        form->addRow(MakeStaticText(tr("Replace with:"), this), m_replaceWith);
    }
    Body()->addLayout(form);
    m_wholeWord = new QCheckBox(tr("Match whole word only"), this);
    m_wholeWord->setObjectName(QString::number(IDC_WHOLE_WORD));
    m_matchCase = new QCheckBox(tr("Match case"), this);
    m_matchCase->setObjectName(QString::number(IDC_MATCH_CASE));
    Body()->addWidget(m_wholeWord);
    Body()->addWidget(m_matchCase);
    if (!replace) {
        auto* direction = new QGroupBox(tr("Direction"), this);
        auto* row = new QHBoxLayout(direction);
        m_up = new QRadioButton(tr("Up"), direction);
        m_up->setObjectName(QString::number(IDC_UP));
        auto* down = new QRadioButton(tr("Down"), direction);
        down->setObjectName(QString::number(IDC_DOWN));
        down->setChecked(true);
        row->addWidget(m_up);
        row->addWidget(down);
        Body()->addWidget(direction);
    }

    OkButton()->setText(tr("Find Next"));
    disconnect(OkButton(), nullptr, this, nullptr);
    connect(OkButton(), &QPushButton::clicked, this, &CTextFindDlg::OnFindNext);
    if (replace) {
        QPushButton* replaceButton = MakeButton(IDC_REPLACE, tr("Replace"), false);
        connect(replaceButton, &QPushButton::clicked, this, &CTextFindDlg::OnReplace);
        connect(MakeButton(IDC_REPLACE_ALL, tr("Replace All"), false), &QPushButton::clicked, this, &CTextFindDlg::OnReplaceAll);
        // Enter replaces, one match after another.
        replaceButton->setDefault(true);
    }
    MakeButton(IDCANCEL, tr("Cancel"));
}

bool CTextFindDlg::Find(bool reportNotFound)
{
    const QString pattern = m_find->text();
    if (pattern.isEmpty())
        return false;
    QTextDocument::FindFlags flags;
    if (m_matchCase->isChecked())
        flags |= QTextDocument::FindCaseSensitively;
    if (m_wholeWord->isChecked())
        flags |= QTextDocument::FindWholeWords;
    if (m_up && m_up->isChecked())
        flags |= QTextDocument::FindBackward;
    const QTextCursor found = m_view.document()->find(pattern, m_view.textCursor(), flags);
    if (!found.isNull()) {
        m_view.setTextCursor(found);
        return true;
    }
    if (reportNotFound && m_view.OnTextNotFound(pattern)) {
        // Start again from the beginning (or the end, searching up).
        QTextCursor cursor(m_view.document());
        cursor.movePosition(flags & QTextDocument::FindBackward ? QTextCursor::End : QTextCursor::Start);
        m_view.setTextCursor(cursor);
    }
    return false;
}

void CTextFindDlg::OnFindNext()
{
    Find(true);
}

void CTextFindDlg::OnReplace()
{
    const Qt::CaseSensitivity cs = m_matchCase->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive;
    QTextCursor cursor = m_view.textCursor();
    if (cursor.hasSelection() && cursor.selectedText().compare(m_find->text(), cs) == 0 && !m_view.isReadOnly()) {
        cursor.insertText(m_replaceWith->text());
        m_view.setTextCursor(cursor);
    }
    Find(true);
}

void CTextFindDlg::OnReplaceAll()
{
    if (m_find->text().isEmpty() || m_view.isReadOnly())
        return;
    QTextCursor cursor(m_view.document());
    m_view.setTextCursor(cursor);
    cursor.beginEditBlock();
    while (Find(false)) {
        QTextCursor match = m_view.textCursor();
        match.insertText(m_replaceWith->text());
        m_view.setTextCursor(match);
    }
    cursor.endEditBlock();
}
