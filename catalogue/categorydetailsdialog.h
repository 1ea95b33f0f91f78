#pragma once

#include "framework/handhelddialog.h"

class InputPanel;
class QLineEdit;
class QPlainTextEdit;
class UiService;

// "Agenda item details": the name and description of a new category. OK
// checks both and stays open on a problem.
class CCategoryDetailsDlg : public HandheldDialog {
    Q_OBJECT
public:
    enum { IDD = 148, IDC_NAME = 1022, IDC_DESCRIPTION = 1023 };

    CCategoryDetailsDlg(UiService& ui, InputPanel* inputPanel, QWidget* parent = nullptr);

    QString m_strDescription;
    QString m_strName;

    void accept() override;

private:
    UiService& m_ui;
    InputPanel* m_inputPanel;
    QLineEdit* m_name;
    QPlainTextEdit* m_description;
};
