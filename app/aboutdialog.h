#pragma once

#include "framework/handhelddialog.h"

// "About Quillon": the icon, the product line and the version recorded in the settings.
class CAboutDlg : public HandheldDialog {
    Q_OBJECT
public:
    enum { IDD = 100, IDC_VERSION = 1000 };
    CAboutDlg(const QString& version, QWidget* parent = nullptr);
};
