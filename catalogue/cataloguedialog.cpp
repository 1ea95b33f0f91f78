#include "catalogue/cataloguedialog.h"

#include "app/appglobals.h"
#include "app/inputpanelservice.h"
#include "catalogue/categorydetailsdialog.h"
#include "catalogue/categorystore.h"
#include "framework/uiservice.h"

#include <QBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>

namespace {

const QString kPredefined = QStringLiteral("Pre-defined");
const QString kUserDefined = QStringLiteral("User-defined");

} // namespace

CCatalogueDlg::CCatalogueDlg(CategoryStore& store, UiService& ui, InputPanel* inputPanel, QWidget* parent)
    : HandheldDialog(IDD, tr("Insert Agenda Item"), parent)
    , m_store(store)
    , m_ui(ui)
    , m_inputPanel(inputPanel)
{
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QString::number(IDC_LIST));
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setAllColumnsShowFocus(true);
    m_list->header()->setSectionsClickable(false);
    m_list->header()->setSortIndicatorShown(false);
    Body()->addWidget(m_list, 1);
    FitToContents(m_list, 8, 16);

    auto* buttons = new QHBoxLayout;
    Body()->addLayout(buttons);
    const std::pair<int, const char*> own[] = {{IDC_ADD, "Add"}, {IDC_DELETE, "Delete"}, {IDC_INSERT, "Insert"}, {IDC_BLANK, "Blank"}};
    for (const auto& [id, text] : own) {
        auto* button = new QPushButton(tr(text), this);
        button->setObjectName(QString::number(id));
        button->setAutoDefault(true); // Enter presses the button that has the focus
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    MakeButton(IDCANCEL, tr("Cancel"));

    connect(Control<QPushButton>(IDC_ADD), &QPushButton::clicked, this, &CCatalogueDlg::OnAdd);
    connect(Control<QPushButton>(IDC_DELETE), &QPushButton::clicked, this, &CCatalogueDlg::OnDelete);
    connect(Control<QPushButton>(IDC_INSERT), &QPushButton::clicked, this, [this] { done(IDOK); });
    connect(Control<QPushButton>(IDC_BLANK), &QPushButton::clicked, this, &CCatalogueDlg::OnBlank);
    connect(m_list, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item)
            MakeCurrent(m_list->indexOfTopLevelItem(item));
    });
    // A double tap on a category picks it, as Insert does.
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (m_bPickMode)
            done(IDOK);
    });
}

void CCatalogueDlg::SetCaption(const QString& caption)
{
    m_strCaption = caption;
}

void CCatalogueDlg::OnInitDialog()
{
    setWindowTitle(m_strCaption);
    m_list->clear();
    m_list->setHeaderLabels({tr("Name"), tr("Description"), tr("Type")});
    // Names and types whole; the description takes the rest of the width
    // (at a natural size, its whole text).
    QHeaderView* header = m_list->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(1, QHeaderView::Stretch);
    header->setSectionResizeMode(2, QHeaderView::ResizeToContents);

    const QList<Category> predefined = CategoryStore::Predefined();
    for (int row = 0; row < predefined.size(); ++row)
        InsertRow(row, predefined[row].name, predefined[row].description, true);
    for (const Category& category : m_store.UserCategories())
        InsertRow(CategoryStore::SortedPosition(RowNames(), category.name), category.name, category.description, false);

    MakeCurrent(0);
    for (const int id : {int(IDC_INSERT), int(IDC_BLANK), IDCANCEL})
        Control<QPushButton>(id)->setEnabled(m_bPickMode);
    // Enter inserts the chosen category; browsing, it closes the catalogue.
    (m_bPickMode ? Control<QPushButton>(IDC_INSERT) : OkButton())->setDefault(true);
    if (m_inputPanel)
        ShowInputPanel(*m_inputPanel, true);
    SetFirstFocus(m_list);
}

void CCatalogueDlg::InsertRow(int row, const QString& name, const QString& description, bool predefined)
{
    auto* item = new QTreeWidgetItem({name, description, predefined ? kPredefined : kUserDefined});
    m_list->insertTopLevelItem(row, item);
}

QStringList CCatalogueDlg::RowNames() const
{
    QStringList names;
    for (int row = 0; row < m_list->topLevelItemCount(); ++row)
        names.append(m_list->topLevelItem(row)->text(0));
    return names;
}

void CCatalogueDlg::MakeCurrent(int row)
{
    QTreeWidgetItem* item = m_list->topLevelItem(row);
    if (!item)
        return;
    m_nCurrent = row;
    if (m_list->currentItem() != item)
        m_list->setCurrentItem(item);
    item->setSelected(true);
    m_list->scrollToItem(item);
    m_strChosen = item->text(0);
    Control<QPushButton>(IDC_DELETE)->setEnabled(item->text(2) == kUserDefined);
}

void CCatalogueDlg::OnAdd()
{
    // The details dialog is modal: the catalogue takes no input while it is up.
    CCategoryDetailsDlg details(m_ui, m_inputPanel, this);
    const int result = m_ui.RunModal(details);
    m_list->setFocus();
    if (result != IDOK || details.m_strName.isEmpty())
        return;

    const QString& name = details.m_strName;
    if (m_store.IsDefined(name)) {
        m_ui.MessageBox(QStringLiteral("Category '%1' already defined!").arg(name), kAppCaption,
                        MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const int row = CategoryStore::SortedPosition(RowNames(), name);
    InsertRow(row, name, details.m_strDescription, false);
    MakeCurrent(row);
    m_store.Add({name, details.m_strDescription, false});
}

void CCatalogueDlg::OnDelete()
{
    QTreeWidgetItem* item = m_list->topLevelItem(m_nCurrent);
    if (!item || item->text(2) != kUserDefined)
        return;
    m_store.Remove(item->text(0));
    const int row = m_nCurrent;
    delete m_list->takeTopLevelItem(row);
    MakeCurrent(row > 0 ? row - 1 : 0);
}

void CCatalogueDlg::OnBlank()
{
    m_strChosen = QStringLiteral("Blank");
    done(IDOK);
}
