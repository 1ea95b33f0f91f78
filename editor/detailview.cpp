#include "editor/detailview.h"

#include "app/appglobals.h"
#include "editor/editorservices.h"
#include "editor/minuteview.h"
#include "editor/replacedialog.h"
#include "editor/textfinddialog.h"
#include "framework/commandids.h"
#include "framework/uiservice.h"
#include "model/quillondoc.h"

#include <QApplication>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextCursor>

namespace {

QString ToPane(const QString& text)
{
    QString pane = text;
    pane.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return pane;
}

// Wrapping at word boundaries breaks a run that has no break opportunity
// anywhere only after finding it longer than a line, and it measures the rest
// of the run again for every line the run fills: the work grows with the
// square of the run's length, and one line of 200,000 letters takes seconds.
// The sum of the squared run lengths stands for that work; this budget costs
// some 10 ms at most. Past it the pane wraps anywhere instead, which looks the
// same for the long runs and only splits the ordinary words at line ends too.
constexpr qint64 kWordWrapBudget = 20'000'000;

bool WordWrapTooSlow(QStringView text)
{
    if (qint64(text.size()) * text.size() <= kWordWrapBudget)
        return false; // no text this short can exceed it
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text);
    qint64 work = 0;
    qsizetype last = 0;
    for (qsizetype p = breaks.toNextBoundary(); p >= 0; p = breaks.toNextBoundary()) {
        work += qint64(p - last) * (p - last);
        if (work > kWordWrapBudget)
            return true;
        last = p;
    }
    return false;
}

} // namespace

CDetailView::CDetailView(EditorServices& services, QWidget* parent)
    : QPlainTextEdit(parent)
    , m_services(services)
{
    setObjectName(QStringLiteral("CDetailView"));
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFrameShape(QFrame::Box);
    setTabChangesFocus(false);
    setReadOnly(true);

    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_bLoading) {
            m_bEdited = true;
            if (CQuillonDoc* doc = GetDoc())
                doc->SetMinuteModified(true);
        }
    });
    connect(this, &QPlainTextEdit::undoAvailable, this, [this](bool available) { m_bCanUndo = available; });
    // The document reports a change before its layout sees it: the change is
    // laid out in a wrap mode set here.
    connect(document(), &QTextDocument::contentsChange, this, [this](int position, int, int added) {
        if (!m_bLoading)
            KeepWrappingFast(position, added);
    });
    RegisterCommands();
}

CQuillonDoc* CDetailView::GetDoc() const
{
    return static_cast<CQuillonDoc*>(GetDocument());
}

bool CDetailView::PaneHasFocus() const
{
    return hasFocus();
}

bool CDetailView::TreeHasFocus() const
{
    return m_pMinuteView && m_pMinuteView->hasFocus();
}

void CDetailView::RegisterCommands()
{
    // Find and Replace of the pane itself, when it is the active view.
    OnCommand(cmd::Find, [this] {
        CTextFindDlg dialog(*this, false, window());
        m_services.ui.RunModal(dialog);
    });
    OnCommand(cmd::Replace, [this] {
        CTextFindDlg dialog(*this, true, window());
        m_services.ui.RunModal(dialog);
    });

    // Edit commands act on whichever pane has the focus; with the focus in
    // neither, they do nothing and their state stays as it was.
    auto byFocus = [this](int id, std::function<void()> inPane, std::function<bool()> paneEnabled,
                          std::function<void(CMinuteView&)> inTree, std::function<bool(CMinuteView&)> treeEnabled) {
        OnCommand(
            id,
            [this, inPane, inTree] {
                if (PaneHasFocus())
                    inPane();
                else if (TreeHasFocus())
                    inTree(*m_pMinuteView);
            },
            [this, paneEnabled, treeEnabled](CmdUI& ui) {
                if (PaneHasFocus())
                    ui.Enable(paneEnabled());
                else if (TreeHasFocus())
                    ui.Enable(treeEnabled(*m_pMinuteView));
            });
    };
    byFocus(
        cmd::Cut, [this] { cut(); }, [this] { return textCursor().hasSelection() && !isReadOnly(); },
        [](CMinuteView& tree) { tree.CutItem(); }, [](CMinuteView& tree) { return tree.CanCutCopy(); });
    byFocus(
        cmd::Copy, [this] { copy(); }, [this] { return textCursor().hasSelection(); },
        [](CMinuteView& tree) { tree.CopyItem(); }, [](CMinuteView& tree) { return tree.CanCutCopy(); });
    byFocus(
        cmd::Paste, [this] { paste(); }, [] { return true; },
        [](CMinuteView& tree) { tree.PasteClip(); }, [](CMinuteView& tree) { return tree.CanPaste(); });
    byFocus(
        cmd::Undo,
        [this] {
            if (m_bCanUndo)
                undo();
        },
        [this] { return m_bCanUndo; }, [](CMinuteView& tree) { tree.UndoTreeEdit(); },
        [](CMinuteView& tree) { return tree.CanUndo(); });
}

QString CDetailView::PaneText() const
{
    // Not toPlainText(): it turns no-break spaces into spaces and line
    // separators into line breaks. Only the paragraph breaks are the pane's.
    QString stored = document()->toRawText();
    stored.replace(QChar::ParagraphSeparator, QLatin1String("\r\n"));
    return stored;
}

QString CDetailView::SearchText() const
{
    // One character for each position of the document; a paragraph break is
    // '\n' as in a search for a selection that spans one.
    QString text = document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

void CDetailView::SetPaneText(const QString& text)
{
    ShowText(ToPane(text));
}

void CDetailView::ShowText(const QString& paneText)
{
    const QTextOption::WrapMode mode =
        WordWrapTooSlow(paneText) ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere;
    if (mode != wordWrapMode()) {
        clear(); // a new mode lays out again what the pane holds: let that be nothing
        setWordWrapMode(mode);
    }
    setPlainText(paneText);
}

void CDetailView::KeepWrappingFast(int position, int added)
{
    if (wordWrapMode() == QTextOption::WrapAnywhere)
        return;
    // Only the paragraphs the change touched are laid out again.
    QString changed;
    const QTextBlock end = document()->findBlock(position + added).next();
    for (QTextBlock block = document()->findBlock(position); block.isValid() && block != end; block = block.next())
        changed += block.text() + QLatin1Char('\n');
    if (WordWrapTooSlow(changed))
        setWordWrapMode(QTextOption::WrapAnywhere);
}

void CDetailView::InsertAtCaret(const QString& text)
{
    setFocus();
    insertPlainText(ToPane(text));
}

void CDetailView::OnUpdate(View*, qintptr hint)
{
    if (hint == 0) {
        if (!m_pMinuteView || !m_pMinuteView->IsBusy())
            viewport()->update();
        return;
    }
    CQuillonDoc* doc = GetDoc();
    if (!doc)
        return;
    // A text the user has not touched is already in its node as it stands;
    // storing it back would only rewrite its line breaks.
    if (doc->GetCurrentNode() != 0 && m_bEdited)
        doc->SetNodeText(doc->GetCurrentNode(), PaneText());

    m_bLoading = true;
    if (hint == 1) {
        clear();
        setReadOnly(true);
    } else {
        ShowText(ToPane(doc->GetNodeText(int(hint - 1))));
        setReadOnly(false);
    }
    m_bEdited = false;
    m_bLoading = false;
    ResetSearch();
}

// ---------------------------------------------------------------------------
// Search

void CDetailView::ResetSearch()
{
    m_strSearchRest = SearchText();
    m_nSearchBase = 0;
}

void CDetailView::SelectRange(int start, int end)
{
    QTextCursor cursor(document());
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    ensureCursorVisible();
}

qsizetype CDetailView::SelectNextMatch(const QString& pattern, bool matchCase)
{
    if (pattern.isEmpty())
        return -1;
    const qsizetype p = m_strSearchRest.indexOf(pattern, 0, matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive);
    if (p >= 0)
        SelectRange(m_nSearchBase + int(p), m_nSearchBase + int(p + pattern.size()));
    return p;
}

bool CDetailView::FindInText(const QString& pattern, bool matchCase)
{
    const qsizetype p = SelectNextMatch(pattern, matchCase);
    if (p < 0)
        return false;
    const int n = int(pattern.size());
    m_nSearchBase += int(p) + n;
    m_strSearchRest = m_strSearchRest.mid(p + n);
    return true;
}

bool CDetailView::ReplaceInText(const QString& pattern, bool matchCase, const QString& replacement, bool& atEnd)
{
    const qsizetype p = SelectNextMatch(pattern, matchCase);
    if (p < 0)
        return false;
    const int n = int(pattern.size());

    bool replace = m_bReplaceAll;
    if (!replace) {
        CReplaceDlg dialog(window());
        switch (m_services.ui.RunModal(dialog)) {
        case IDC_YES:
            replace = true;
            break;
        case IDC_ALL:
            m_bReplaceAll = true;
            replace = true;
            break;
        default:
            break;
        }
    }
    if (replace) {
        // Replaced in place, as one edit that cannot be undone. The search
        // goes on after what the pane made of the replacement: a CR LF in it
        // is one paragraph break there.
        document()->setUndoRedoEnabled(false);
        QTextCursor cursor = textCursor();
        cursor.insertText(replacement);
        document()->setUndoRedoEnabled(true);
        m_nSearchBase = cursor.position();
    } else {
        m_nSearchBase += int(p) + n;
    }
    m_strSearchRest = m_strSearchRest.mid(p + n);
    atEnd = m_strSearchRest.isEmpty();
    return true;
}

bool CDetailView::OnTextNotFound(const QString& pattern)
{
    if (m_services.ui.MessageBox(QStringLiteral("'%1' not found!\nStart again?").arg(pattern), kAppCaption,
                                 MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    ResetSearch();
    return true;
}
