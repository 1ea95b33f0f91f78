#pragma once

#include "framework/handhelddialog.h"

class CDetailView;
class QCheckBox;
class QLineEdit;
class QRadioButton;

// Find (and Replace) inside the text pane only, for when the pane rather
// than the tree has the focus. It stays open until cancelled; each button
// acts on the pane at once.
class CTextFindDlg : public HandheldDialog {
    Q_OBJECT
public:
    enum {
        IDC_FIND_WHAT = 1152,
        IDC_REPLACE_WITH = 1153,
        IDC_WHOLE_WORD = 1040,
        IDC_MATCH_CASE = 1041,
        IDC_UP = 1056,
        IDC_DOWN = 1057,
        IDC_REPLACE = 1024,
        IDC_REPLACE_ALL = 1025,
    };

    CTextFindDlg(CDetailView& view, bool replace, QWidget* parent = nullptr);

    void OnFindNext();
    void OnReplace();
    void OnReplaceAll();

private:
    bool Find(bool reportNotFound);

    CDetailView& m_view;
    bool m_bReplace;
    QLineEdit* m_find;
    QLineEdit* m_replaceWith = nullptr;
    QCheckBox* m_wholeWord;
    QCheckBox* m_matchCase;
    QRadioButton* m_up = nullptr;
};
