#pragma once

#include "framework/handhelddialog.h"

// "Replace this?": asks about one match. Each button ends the dialog with its own id.
class CReplaceDlg : public HandheldDialog {
    Q_OBJECT
public:
    enum { IDD = 133 };
    explicit CReplaceDlg(QWidget* parent = nullptr);
};
