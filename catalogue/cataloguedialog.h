#pragma once

#include "framework/handhelddialog.h"

class CategoryStore;
class InputPanel;
class QTreeWidget;
class UiService;

// The agenda item catalogue: the built-in and the user's categories in one
// list. In pick mode it chooses the title of a new item ("Insert", "Blank");
// in browse mode it only shows, adds and deletes categories.
class CCatalogueDlg : public HandheldDialog {
    Q_OBJECT
public:
    enum {
        IDD = 147,
        IDC_ADD = 1018,
        IDC_DELETE = 1019,
        IDC_INSERT = 1020,
        IDC_BLANK = 1021,
        IDC_LIST = 1024,
    };

    CCatalogueDlg(CategoryStore& store, UiService& ui, InputPanel* inputPanel, QWidget* parent = nullptr);

    void SetCaption(const QString& caption);
    void SetPickMode(bool pickMode) { m_bPickMode = pickMode; }
    QString GetChosen() const { return m_strChosen; }


    int m_nCurrent = 0;
    bool m_bPickMode = true;
    QString m_strCaption;
    QString m_strChosen;

    // The buttons' work, also reachable without clicking.
    void OnAdd();
    void OnDelete();
    void OnBlank();

protected:
    // Fills the list and sets the buttons.
    void OnInitDialog() override;

private:
    void InsertRow(int row, const QString& name, const QString& description, bool predefined);
    void MakeCurrent(int row);
    QStringList RowNames() const;

    CategoryStore& m_store;
    UiService& m_ui;
    InputPanel* m_inputPanel;
    QTreeWidget* m_list;
};
