#pragma once

#include "framework/view.h"

#include <QPlainTextEdit>

class CMinuteView;
class CQuillonDoc;
struct EditorServices;

// The item text: the lower pane. It shows the text of the item selected in
// the tree, stores what is typed back into that item's node when the
// selection moves on (or when the minute is about to be read), and carries
// the in-item search that Find and Replace run. Texts keep CR LF line breaks
// in the minute whatever the widget uses. A text that would take too long to
// wrap at word boundaries is wrapped anywhere.
class CDetailView : public QPlainTextEdit, public View {
    Q_OBJECT
public:
    // What the "Replace this?" dialog answers.
    enum { IDC_YES = 1003, IDC_NO = 3, IDC_ALL = 1004 };

    CDetailView(EditorServices& services, QWidget* parent = nullptr);

    CQuillonDoc* GetDoc() const;
    void SetMinuteView(CMinuteView* view) { m_pMinuteView = view; }

    void OnUpdate(View* sender, qintptr hint) override;

    // The pane's whole text, with CR LF line breaks and every other character as shown.
    QString PaneText() const;
    void SetPaneText(const QString& text);
    // Whether the pane holds typing its item's node does not have yet.
    bool HasUnstoredEdits() const { return m_bEdited; }
    // Puts text in place of the selection, or at the caret, and takes the focus.
    void InsertAtCaret(const QString& text);

    // The search inside the pane's text.
    void ResetSearch();
    bool FindInText(const QString& pattern, bool matchCase);
    bool ReplaceInText(const QString& pattern, bool matchCase, const QString& replacement, bool& atEnd);
    // Asks whether to start again; true for Yes (the search then restarts).
    bool OnTextNotFound(const QString& pattern);

    // Whether the keyboard focus is in this pane, or else in the tree.
    bool PaneHasFocus() const;
    bool TreeHasFocus() const;

    bool m_bReplaceAll = false;
    int m_nSearchBase = 0;
    QString m_strSearchRest;

private:
    void RegisterCommands();
    // The document's text, a character for each position.
    QString SearchText() const;
    // Shows a text (with '\n' line breaks) in a wrap mode that lays it out in good time.
    void ShowText(const QString& paneText);
    // After an edit at position: wraps anywhere if wrapping at word
    // boundaries would now take too long.
    void KeepWrappingFast(int position, int added);
    // Selects the next match in the rest of the text; its offset there, or -1.
    qsizetype SelectNextMatch(const QString& pattern, bool matchCase);
    // Selects characters [start, end) of the pane and shows the caret.
    void SelectRange(int start, int end);

    EditorServices& m_services;
    CMinuteView* m_pMinuteView = nullptr;
    bool m_bLoading = false;
    bool m_bEdited = false; // the text differs from what was loaded into the pane
    bool m_bCanUndo = false;
};
