#pragma once

#include "framework/handhelddialog.h"

class ContactsStore;
class QLineEdit;
class QTreeWidget;
class UiService;

// "Select Contacts": every contact of the store, in reading order, to tick. OK
// builds one line per ticked contact from the chosen properties.
class CSelectContactsDlg : public HandheldDialog {
    Q_OBJECT
public:
    enum { IDD = 151, IDC_LIST = 1008, IDC_FIND = 1011 };

    // store is nullptr when the contacts store is not available: the list
    // stays empty. ui shows the wait cursor while a read is waited for.
    CSelectContactsDlg(ContactsStore* store, UiService& ui, QWidget* parent = nullptr);

    void SetRequiredProps(quint32 props) { m_dwRequiredProps = props; }
    void FillContactList();
    void BuildContactText();
    void OnFindChange(const QString& text);

    QString m_strResult;
    quint32 m_dwRequiredProps = 0;

    void accept() override;

protected:
    void OnInitDialog() override;

private:
    ContactsStore* m_store;
    UiService& m_ui;
    QTreeWidget* m_list;
    QLineEdit* m_find;
};
