#include "options/optionssheet.h"

#include "app/appglobals.h"
#include "contacts/contactfields.h"
#include "framework/uiservice.h"
#include "options/options.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>

namespace {

// A switch is shown ticked for 1 (and for 2, which also counts as set);
// anything outside 0 to 2 is first made 0.
void ExchangeCheck(QCheckBox* box, int& field, bool save)
{
    if (save) {
        field = box->isChecked() ? 1 : 0;
        return;
    }
    if (field < 0 || field > 2)
        field = 0;
    box->setChecked(field != 0);
}

QCheckBox* AddCheck(QWidget* page, QBoxLayout* layout, int id, const QString& text)
{
    auto* box = new QCheckBox(text, page);
    box->setObjectName(QString::number(id));
    layout->addWidget(box);
    return box;
}

} // namespace

CPage1::CPage1(QWidget* parent)
    : COptionsPage(parent)
{
    setObjectName(QString::number(IDD));
    auto* layout = new QVBoxLayout(this);
    AddCheck(this, layout, IDC_COMP_CHECK, tr("Empty agenda item check on new document"));
    AddCheck(this, layout, IDC_WARNING, tr("Warning on agenda item deletion"));
    AddCheck(this, layout, IDC_AUTO_OPEN, tr("Automatically open last minute on start-up"));
    AddCheck(this, layout, IDC_LINES, tr("Show lines in tree"));
    AddCheck(this, layout, IDC_EXPAND, tr("Automatically expand overview on start-up"));
    layout->addStretch(1);
}

void CPage1::DoDataExchange(bool save)
{
    auto box = [this](int id) { return findChild<QCheckBox*>(QString::number(id)); };
    ExchangeCheck(box(IDC_LINES), m_bShowLinesInTree, save);
    ExchangeCheck(box(IDC_COMP_CHECK), m_bCompCheckOnClose, save);
    ExchangeCheck(box(IDC_WARNING), m_bWarningOnDelete, save);
    ExchangeCheck(box(IDC_AUTO_OPEN), m_bAutoOpenLastMinute, save);
    ExchangeCheck(box(IDC_EXPAND), m_bAutoExpandOverview, save);
    m_bExchanged = true;
}

QWidget* CPage1::FirstControl() const
{
    return findChild<QCheckBox*>(QString::number(IDC_COMP_CHECK));
}

CPage2::CPage2(QWidget* parent)
    : COptionsPage(parent)
{
    setObjectName(QString::number(IDD));
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(tr("Export format"), this);
    auto* groupLayout = new QVBoxLayout(group);
    m_format = new QButtonGroup(this);
    const std::pair<int, const char*> buttons[] = {{IDC_TEXT, "Text"}, {IDC_ASCII, "ASCII text"}, {IDC_UTF8, "UTF-8 text"}};
    int index = 0;
    for (const auto& [id, text] : buttons) {
        auto* radio = new QRadioButton(tr(text), group);
        radio->setObjectName(QString::number(id));
        m_format->addButton(radio, index++);
        groupLayout->addWidget(radio);
    }
    layout->addWidget(group);
    AddCheck(this, layout, IDC_NUMBER, tr("Number headings on export"));
    layout->addStretch(1);
}

namespace {

// The format buttons by index: 0 "Text" and 1 "ASCII text" are the values of
// "ExportTextAsASCII"; 2 "UTF-8 text" is "ExportTextAsUTF8" set, which wins
// over whatever "ExportTextAsASCII" holds.
constexpr int kUtf8Index = 2;

} // namespace

void CPage2::DoDataExchange(bool save)
{
    if (save) {
        const int chosen = m_format->checkedId(); // -1 when none is selected
        m_nExportTextAsUTF8 = chosen == kUtf8Index ? 1 : 0;
        // With UTF-8 on the width decides nothing; it is kept for when UTF-8 is turned off.
        if (chosen != kUtf8Index)
            m_nExportTextAsASCII = chosen;
    } else {
        // One button at most: a width other than 0 or 1 selects none, as it always has.
        const bool width = m_nExportTextAsASCII == 0 || m_nExportTextAsASCII == 1;
        const int selected = m_nExportTextAsUTF8 != 0 ? kUtf8Index : width ? m_nExportTextAsASCII : -1;
        m_format->setExclusive(false);
        for (QAbstractButton* button : m_format->buttons())
            button->setChecked(m_format->id(button) == selected);
        m_format->setExclusive(true);
    }
    ExchangeCheck(findChild<QCheckBox*>(QString::number(IDC_NUMBER)), m_bNumberAttributesOnExport, save);
    m_bExchanged = true;
}

QWidget* CPage2::FirstControl() const
{
    // Tab reaches a radio group at its selected button.
    QAbstractButton* chosen = m_format->checkedButton();
    return chosen ? chosen : m_format->button(0);
}

CPage3::CPage3(QWidget* parent)
    : COptionsPage(parent)
{
    setObjectName(QString::number(IDD));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(HandheldDialog::MakeStaticText(tr("Tick the contacts information that you want to appear in a minute:"), this));
    m_list = HandheldDialog::MakeTickList(IDC_LIST, this);
    m_list->setHeaderLabels({tr("Field Name")});
    layout->addWidget(m_list, 1);
    auto* buttons = new QHBoxLayout;
    auto* all = new QPushButton(tr("Select All"), this);
    all->setObjectName(QString::number(IDC_SELECT_ALL));
    auto* none = new QPushButton(tr("Deselect All"), this);
    none->setObjectName(QString::number(IDC_DESELECT_ALL));
    buttons->addWidget(all);
    buttons->addWidget(none);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    connect(all, &QPushButton::clicked, this, &CPage3::OnSelectAll);
    connect(none, &QPushButton::clicked, this, &CPage3::OnDeselectAll);
    // Only the check box toggles a row; the row's text does not.
    connect(m_list, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item) {
        if (m_filling)
            return;
        const quint32 bit = 1u << m_list->indexOfTopLevelItem(item);
        if (item->checkState(0) == Qt::Checked)
            m_dwRequiredContactProps |= bit;
        else
            m_dwRequiredContactProps &= ~bit;
    });
}

void CPage3::OnInitDialog()
{
    m_filling = true;
    m_list->clear();
    const QStringList& labels = ContactFieldNames();
    for (int i = 0; i < labels.size(); ++i) {
        auto* item = new QTreeWidgetItem(QStringList{labels[i]});
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(0, (m_dwRequiredContactProps >> i) & 1u ? Qt::Checked : Qt::Unchecked);
        m_list->addTopLevelItem(item);
    }
    m_filling = false;
}

void CPage3::DoDataExchange(bool save)
{
    // The list works on the field directly; loading refreshes it.
    if (!save)
        OnInitDialog();
    m_bExchanged = true;
}

QWidget* CPage3::FirstControl() const
{
    return m_list;
}

void CPage3::OnSelectAll()
{
    m_filling = true;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i)
        m_list->topLevelItem(i)->setCheckState(0, Qt::Checked);
    m_filling = false;
    m_dwRequiredContactProps = 0xFFFFFFFFu;
}

void CPage3::OnDeselectAll()
{
    m_filling = true;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i)
        m_list->topLevelItem(i)->setCheckState(0, Qt::Unchecked);
    m_filling = false;
    m_dwRequiredContactProps = 0;
}

COptionsSheet::COptionsSheet(QWidget* parent)
    : HandheldDialog(0, tr("Options"), parent)
{
    setObjectName(QStringLiteral("OptionsSheet"));
    m_tabs = new QTabWidget(this);
    m_tabs->addTab(&m_page1, tr("General"));
    m_tabs->addTab(&m_page2, tr("Export"));
    m_tabs->addTab(&m_page3, tr("Contacts"));
    Body()->addWidget(m_tabs, 1);
    MakeButton(IDCANCEL, tr("Cancel"));
    disconnect(OkButton(), nullptr, this, nullptr);
    connect(OkButton(), &QPushButton::clicked, this, &COptionsSheet::accept);
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        // The page left reads its controls; the page shown loads them.
        if (COptionsPage* left = Page(m_current))
            left->DoDataExchange(true);
        m_current = index;
        if (COptionsPage* shown = Page(index)) {
            shown->DoDataExchange(false);
            // A page comes up with its first control focused, unless the user
            // is going along the tabs themselves.
            if (!m_tabs->tabBar()->hasFocus())
                shown->FirstControl()->setFocus();
        }
    });
}

COptionsSheet::~COptionsSheet()
{
    // The pages go before the tabs that show them; their going must not read them.
    disconnect(m_tabs, nullptr, this, nullptr);
}

COptionsPage* COptionsSheet::Page(int index) const
{
    switch (index) {
    case 0:
        return const_cast<CPage1*>(&m_page1);
    case 1:
        return const_cast<CPage2*>(&m_page2);
    case 2:
        return const_cast<CPage3*>(&m_page3);
    default:
        return nullptr;
    }
}

void COptionsSheet::OnInitDialog()
{
    setWindowTitle(tr("Options"));
    m_current = -1;
    // Each showing starts on the first page with its controls freshly loaded.
    const QSignalBlocker blocker(m_tabs);
    m_tabs->setCurrentIndex(0);
    m_current = 0;
    m_page1.DoDataExchange(false);
}

void COptionsSheet::showEvent(QShowEvent* event)
{
    HandheldDialog::showEvent(event);
    // Tab in reading order: the page tabs, the controls of the page on screen
    // (the hidden pages' are passed over), then OK and Cancel. Set at every
    // showing, after the dialog's own set-up, so that nothing reorders it.
    QList<QWidget*> order{m_tabs->tabBar()};
    for (const COptionsPage* page : {Page(0), Page(1), Page(2)}) {
        for (QWidget* control : page->findChildren<QWidget*>()) {
            const bool onPage = control->parentWidget() == page || qobject_cast<QGroupBox*>(control->parentWidget());
            // Radio buttons other than a group's tab stop are click-only, and are placed all the same.
            if (onPage && control->focusPolicy() != Qt::NoFocus)
                order.append(control);
        }
    }
    order.append({OkButton(), Control<QPushButton>(IDCANCEL)});
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    if (COptionsPage* page = Page(m_tabs->currentIndex()))
        page->FirstControl()->setFocus();
}

void COptionsSheet::accept()
{
    if (COptionsPage* page = Page(m_current))
        page->OnOK();
    // Pages shown in this run but not on screen were read when they were left.
    done(IDOK);
}

void EditOptions(COptions& options, COptionsSheet& sheet, UiService& ui)
{
    const COptions::Values values = options.GetValues();
    sheet.m_page1.m_bShowLinesInTree = values.showLinesInTree;
    sheet.m_page1.m_bCompCheckOnClose = values.compCheckOnClose;
    sheet.m_page1.m_bWarningOnDelete = values.warningOnDelete;
    sheet.m_page1.m_bAutoOpenLastMinute = values.autoOpenLastMinute;
    sheet.m_page1.m_bAutoExpandOverview = values.autoExpandOverview;
    sheet.m_page2.m_nExportTextAsASCII = values.exportTextAsASCII;
    sheet.m_page2.m_nExportTextAsUTF8 = values.exportTextAsUTF8;
    sheet.m_page2.m_bNumberAttributesOnExport = values.numberAttributesOnExport;
    sheet.m_page3.m_dwRequiredContactProps = values.requiredContactProps;

    constexpr int kTries = 3;
    int result = IDCANCEL;
    for (int attempt = 0;; ++attempt) {
        sheet.ResetInitialised();
        result = ui.RunModal(sheet);
        if (sheet.m_page1.m_bExchanged || sheet.m_page2.m_bExchanged || sheet.m_page3.m_bExchanged)
            break;
        if (attempt + 1 == kTries) {
            ui.MessageBox(QStringLiteral("The options could not be shown."), kAppCaption, MB_OK | MB_ICONEXCLAMATION);
            return;
        }
    }

    // Cancel, or closing the sheet any other way, leaves every option as it
    // was, whatever the pages took in while they were up.
    if (result != IDOK)
        return;
    COptions::Values changed = values;
    changed.showLinesInTree = sheet.m_page1.m_bShowLinesInTree;
    changed.compCheckOnClose = sheet.m_page1.m_bCompCheckOnClose;
    changed.warningOnDelete = sheet.m_page1.m_bWarningOnDelete;
    changed.autoOpenLastMinute = sheet.m_page1.m_bAutoOpenLastMinute;
    changed.autoExpandOverview = sheet.m_page1.m_bAutoExpandOverview;
    changed.exportTextAsASCII = sheet.m_page2.m_nExportTextAsASCII;
    changed.exportTextAsUTF8 = sheet.m_page2.m_nExportTextAsUTF8;
    changed.numberAttributesOnExport = sheet.m_page2.m_bNumberAttributesOnExport;
    changed.requiredContactProps = sheet.m_page3.m_dwRequiredContactProps;
    options.SetValues(changed);
    options.Save();
}
