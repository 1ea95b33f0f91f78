#include "contacts/selectcontactsdialog.h"

#include "contacts/contactfields.h"
#include "framework/uiservice.h"
#include "platform/contactsstore.h"

#include <QBoxLayout>
#include <QCollator>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <algorithm>
#include <vector>

CSelectContactsDlg::CSelectContactsDlg(ContactsStore* store, UiService& ui, QWidget* parent)
    : HandheldDialog(IDD, tr("Select Contacts"), parent)
    , m_store(store)
    , m_ui(ui)
{
    m_list = MakeTickList(IDC_LIST, this);
    Body()->addWidget(m_list, 1);
    FitToContents(m_list, 8, 16);
    auto* row = new QHBoxLayout;
    QLabel* label = MakeStaticText(tr("Find:"), this);
    m_find = new QLineEdit(this);
    m_find->setObjectName(QString::number(IDC_FIND));
    label->setBuddy(m_find);
    row->addWidget(label);
    row->addWidget(m_find, 1);
    Body()->addLayout(row);
    MakeButton(IDCANCEL, tr("Cancel"));
    disconnect(OkButton(), nullptr, this, nullptr);
    connect(OkButton(), &QPushButton::clicked, this, &CSelectContactsDlg::accept);
    connect(m_find, &QLineEdit::textChanged, this, &CSelectContactsDlg::OnFindChange);
}

void CSelectContactsDlg::OnInitDialog()
{
    m_list->setHeaderLabels({tr("Contact Details")});
    if (m_store)
        FillContactList();
    // The contacts are what the user acts on first: the arrows move through
    // them and Space ticks, starting at the first. Nothing is selected yet.
    if (m_list->topLevelItemCount() > 0)
        m_list->selectionModel()->setCurrentIndex(m_list->model()->index(0, 0), QItemSelectionModel::NoUpdate);
    SetFirstFocus(m_list);
}

void CSelectContactsDlg::FillContactList()
{
    m_list->clear();
    if (!m_store)
        return;
    // Address books are read off the UI thread; one still being read, or
    // changed since, is waited for here.
    if (m_store->NeedsRefresh()) {
        WaitCursor wait(m_ui);
        m_store->Refresh();
    }
    const ContactsFolder* folder = m_store->DefaultContactsFolder();
    if (!folder)
        return;
    // In the order people read names in: accents and letter case do not
    // push a name past "Z". A host without a locale gets the common order.
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English, QLocale::UnitedStates);
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    // Each name's collation key once, rather than collating names afresh at
    // every comparison of the sort.
    struct Listed {
        QString text;
        QCollatorSortKey key;
        quint32 objectId;
    };
    std::vector<Listed> listed;
    listed.reserve(size_t(folder->Count()));
    for (int i = 1; i <= folder->Count(); ++i) {
        const ContactItem* contact = folder->Item(i);
        QString text = ContactTextBuilder::DisplayText([contact](const QString& label) { return contact->Property(label); });
        // A contact with none of the listed properties is not listed.
        if (!text.isEmpty())
            listed.push_back({text, collator.sortKey(text), contact->ObjectId()});
    }
    std::stable_sort(listed.begin(), listed.end(), [](const Listed& a, const Listed& b) {
        const int order = a.key.compare(b.key);
        return order != 0 ? order < 0 : a.text < b.text;
    });
    QList<QTreeWidgetItem*> items;
    items.reserve(qsizetype(listed.size()));
    for (const Listed& contact : listed) {
        auto* item = new QTreeWidgetItem(QStringList{contact.text});
        item->setData(0, Qt::UserRole, contact.objectId);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Unchecked);
        items.append(item);
    }
    m_list->addTopLevelItems(items);
}

void CSelectContactsDlg::OnFindChange(const QString& text)
{
    // Shows the first contact whose text begins with what was typed; ticks and selection stay.
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_list->topLevelItem(i);
        if (item->text(0).startsWith(text, Qt::CaseInsensitive)) {
            m_list->scrollToItem(item);
            return;
        }
    }
}

void CSelectContactsDlg::BuildContactText()
{
    ContactTextBuilder builder(m_dwRequiredProps);
    for (int i = 0; m_store && i < m_list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = m_list->topLevelItem(i);
        if (item->checkState(0) != Qt::Checked)
            continue;
        const ContactItem* contact = m_store->ItemByObjectId(item->data(0, Qt::UserRole).toUInt());
        if (!contact)
            continue; // gone from the store since it was listed
        builder.AppendContactLine([contact](int bit) { return contact->Value(bit); });
    }
    m_strResult = builder.Result();
}

void CSelectContactsDlg::accept()
{
    BuildContactText();
    done(IDOK);
}
