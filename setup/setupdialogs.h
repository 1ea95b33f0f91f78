#pragma once

#include <QDialog>

class QPlainTextEdit;

// The introduction: "Install" or "Cancel".
class CIntroDlg : public QDialog {
    Q_OBJECT
public:
    enum { IDD = 102 };
    explicit CIntroDlg(QWidget* parent = nullptr);
};

// The licence agreement, read from "license.txt" in the current folder.
class CLicenseDlg : public QDialog {
    Q_OBJECT
public:
    enum { IDD = 129, IDC_TEXT = 1001 };
    explicit CLicenseDlg(QWidget* parent = nullptr);
    // Fills the text from the licence file.
    void OnInitDialog();
    QString Text() const;

private:
    QPlainTextEdit* m_text;
};

// The last confirmation: "Download" or "Cancel".
class CReadyDlg : public QDialog {
    Q_OBJECT
public:
    enum { IDD = 130 };
    explicit CReadyDlg(QWidget* parent = nullptr);
};
