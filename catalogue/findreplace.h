#pragma once

#include "framework/handhelddialog.h"

#include <QStringList>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

// "Find/replace": the search text (with the recent ones), the replacement
// and "Match Case". One dialog object lives as long as the tree, so its
// fields carry over from one search to the next.
class CFindReplaceDlg : public HandheldDialog {
    Q_OBJECT
public:
    enum {
        IDD = 135,
        IDC_REPLACE_TEXT = 1000,
        IDC_REPLACE_LABEL = 1002,
        IDC_FIND_NEXT = 1004,
        IDC_FIND = 1007,
        IDC_MATCH_CASE = 1012,
        IDC_REPLACE = 1015,
    };

    explicit CFindReplaceDlg(QWidget* parent = nullptr);

    bool m_bMatchCase = false;
    QString m_strReplace;
    QString m_strFind;
    bool m_bReplaceChosen = false;
    bool m_bReplaceMode = false;
    // The recent searches to offer, newest first.
    QStringList m_recent;
    // Set before each run: raises and lowers the on-screen keyboard.
    std::function<void(bool)> m_showInputPanel;

    void OnFindNext();
    void OnReplace();
    void reject() override;

protected:
    void OnInitDialog() override;

private:
    void UpdateButtons();
    bool ReadControls();

    QComboBox* m_find;
    QLineEdit* m_replace;
    QLabel* m_replaceLabel;
    QCheckBox* m_matchCase;
    QPushButton* m_findNext;
    QPushButton* m_replaceButton;
};
