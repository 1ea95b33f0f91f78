#pragma once

#include "framework/handhelddialog.h"

#include <QStringList>

class InputPanel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class Templates;
class UiService;

// "New minute": start from a template or blank.
class CNewMinuteDlg : public HandheldDialog {
    Q_OBJECT
public:
    enum { IDD = 146, IDC_TEMPLATE = 1011, IDC_BLANK = 1014, IDC_LIST = 1017 };

    explicit CNewMinuteDlg(QWidget* parent = nullptr);

    QStringList m_names;
    bool m_bTemplatesFound = false;
    bool m_bFromTemplate = false;
    QString m_strSelected;

    void done(int result) override;

protected:
    void OnInitDialog() override;

private:
    void SetFromTemplate(bool fromTemplate);

    QRadioButton* m_template;
    QRadioButton* m_blank;
    QListWidget* m_list;
};

// "Save As Template": a name for the new template, and the templates there
// are, which can also be deleted here.
class CSaveAsTemplateDlg : public HandheldDialog {
    Q_OBJECT
public:
    enum { IDD = 152, IDC_NAME = 1012, IDC_LIST = 1017, IDC_DELETE = 3 };

    CSaveAsTemplateDlg(Templates& templates, UiService& ui, InputPanel* inputPanel, QWidget* parent = nullptr);

    QString m_strNewName;
    QString m_strFolder;
    QString m_strSelected;
    int m_nSelected = -1;
    QStringList m_names;

    void OnDelete();
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    void OnSelect(int row);

    Templates& m_templates;
    UiService& m_ui;
    InputPanel* m_inputPanel;
    QLineEdit* m_name;
    QListWidget* m_list;
    QPushButton* m_delete;
};
