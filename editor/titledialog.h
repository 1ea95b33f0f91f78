#pragma once

#include "framework/handhelddialog.h"

class QLineEdit;

// "Rename Agenda Item": asks for the title of an item picked as "Blank".
class CTitleDlg : public HandheldDialog {
    Q_OBJECT
public:
    enum { IDD = 149, IDC_NAME = 1025 };
    explicit CTitleDlg(QWidget* parent = nullptr);

    QString Name() const;

private:
    QLineEdit* m_name;
};
