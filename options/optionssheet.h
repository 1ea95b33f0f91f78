#pragma once

#include "framework/handhelddialog.h"

#include <QWidget>


class COptions;
class QButtonGroup;
class QCheckBox;
class QRadioButton;
class QTabWidget;
class QTreeWidget;
class UiService;

// A page of the options sheet: it moves values between its fields and its
// controls, and remembers that it has done so at least once.
class COptionsPage : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    // Fields to controls (save false) or controls to fields (save true).
    virtual void DoDataExchange(bool save) = 0;
    virtual void OnOK() { DoDataExchange(true); }
    // The control that has the focus when the page comes up.
    virtual QWidget* FirstControl() const = 0;

    bool m_bExchanged = false;
};

// "General".
class CPage1 : public COptionsPage {
    Q_OBJECT
public:
    enum { IDD = 143, IDC_COMP_CHECK = 1003, IDC_WARNING = 1006, IDC_AUTO_OPEN = 1007, IDC_LINES = 1008, IDC_EXPAND = 1009 };
    explicit CPage1(QWidget* parent = nullptr);

    int m_bShowLinesInTree = 0;
    int m_bCompCheckOnClose = 0;
    int m_bWarningOnDelete = 0;
    int m_bAutoOpenLastMinute = 0;
    int m_bAutoExpandOverview = 0;

    void DoDataExchange(bool save) override;
    QWidget* FirstControl() const override;
};

// "Export".
class CPage2 : public COptionsPage {
    Q_OBJECT
public:
    enum { IDD = 144, IDC_TEXT = 1005, IDC_ASCII = 1013, IDC_UTF8 = 1014, IDC_NUMBER = 1001 };
    explicit CPage2(QWidget* parent = nullptr);

    // The radio group shows both values as one choice; see DoDataExchange.
    int m_nExportTextAsASCII = -1;
    int m_nExportTextAsUTF8 = 0;
    int m_bNumberAttributesOnExport = 0;

    void DoDataExchange(bool save) override;
    QWidget* FirstControl() const override;

private:
    QButtonGroup* m_format;
};

// "Contacts": which contact properties go into a minute.
class CPage3 : public COptionsPage {
    Q_OBJECT
public:
    enum { IDD = 150, IDC_LIST = 1008, IDC_SELECT_ALL = 1009, IDC_DESELECT_ALL = 1010 };
    explicit CPage3(QWidget* parent = nullptr);

    quint32 m_dwRequiredContactProps = 0;

    void DoDataExchange(bool save) override;
    QWidget* FirstControl() const override;
    void OnInitDialog();
    void OnSelectAll();
    void OnDeselectAll();

private:
    QTreeWidget* m_list;
    bool m_filling = false;
};

// "Options": the three pages. Pages exchange data with their controls when
// they are shown, when they are left, and (the one on screen) on OK.
class COptionsSheet : public HandheldDialog {
    Q_OBJECT
public:
    explicit COptionsSheet(QWidget* parent = nullptr);
    ~COptionsSheet() override;

    CPage1 m_page1;
    CPage2 m_page2;
    CPage3 m_page3;

    QTabWidget* Tabs() const { return m_tabs; }
    void accept() override;

protected:
    void OnInitDialog() override;
    void showEvent(QShowEvent* event) override;

private:
    COptionsPage* Page(int index) const;

    QTabWidget* m_tabs;
    int m_current = -1;
};

// Shows the sheet with the options' values, takes back what the pages hold
// however the sheet was closed, and saves them. A sheet that could not come
// up at all is tried again a few times, then the user is told.
void EditOptions(COptions& options, COptionsSheet& sheet, UiService& ui);
