// The catalogue dialog in pick and browse mode, with the details dialog.

#include "app/settingsprofile.h"
#include "catalogue/cataloguedialog.h"
#include "catalogue/categorydetailsdialog.h"
#include "catalogue/categorystore.h"
#include "framework/scripteduiservice.h"
#include "platform/inputpanel.h"
#include "platform/registry.h"
#include "testsupport.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

class CatalogueDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        profile.SetRegistryKey(QStringLiteral("Corvexa"));
        // The details dialog fills in what the next Add asks for.
        ui.modalHandler = [this](QDialog& dialog) {
            if (dialog.objectName() != QLatin1String("148") || details.empty())
                return IDCANCEL;
            const auto [name, description] = details.front();
            details.erase(details.begin());
            dialog.findChild<QLineEdit*>(QStringLiteral("1022"))->setText(name);
            dialog.findChild<QPlainTextEdit*>(QStringLiteral("1023"))->setPlainText(description);
            dialog.findChild<QPushButton*>(QStringLiteral("1"))->click();
            return dialog.result() == IDOK ? IDOK : IDCANCEL;
        };
    }

    std::unique_ptr<CCatalogueDlg> Open(bool pickMode)
    {
        auto dialog = std::make_unique<CCatalogueDlg>(store, ui, &panel);
        dialog->SetCaption(QStringLiteral("Insert Agenda Item"));
        dialog->SetPickMode(pickMode);
        dialog->InitDialog();
        return dialog;
    }

    static QStringList Rows(const CCatalogueDlg& dialog)
    {
        QStringList rows;
        auto* list = dialog.Control<QTreeWidget>(CCatalogueDlg::IDC_LIST);
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            rows.append(list->topLevelItem(i)->text(0) + (list->topLevelItem(i)->text(2) == QLatin1String("User-defined") ? "*" : ""));
        return rows;
    }

    QTemporaryDir dir;
    Registry registry{dir.filePath(QStringLiteral("registry.reg"))};
    SettingsProfile profile{registry};
    CategoryStore store{profile};
    ScriptedUiService ui;
    TestInputPanel panel;
    std::vector<std::pair<QString, QString>> details;
};

} // namespace

TEST_F(CatalogueDialogTest, OpensWithTheBuiltInCategoriesAndTheFirstChosen)
{
    auto dialog = Open(true);
    EXPECT_EQ(Rows(*dialog), (QStringList{"Actions", "Action - New", "Action - Old", "Agenda", "Attendees", "Author",
                                          "Blank", "Date", "Minute Title", "Purpose of meeting", "Project Title", "Venue"}));
    auto* list = dialog->Control<QTreeWidget>(CCatalogueDlg::IDC_LIST);
    EXPECT_EQ(list->headerItem()->text(0), QStringLiteral("Name"));
    EXPECT_EQ(list->headerItem()->text(2), QStringLiteral("Type"));
    EXPECT_EQ(list->topLevelItem(4)->text(1), QStringLiteral("Meeting attendees"));
    EXPECT_EQ(dialog->GetChosen(), QStringLiteral("Actions"));
    EXPECT_FALSE(dialog->Control<QPushButton>(CCatalogueDlg::IDC_DELETE)->isEnabled());
    EXPECT_TRUE(dialog->Control<QPushButton>(CCatalogueDlg::IDC_INSERT)->isEnabled());
    EXPECT_TRUE(panel.state.panelOn); // raised for typing
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Insert Agenda Item"));
}

TEST_F(CatalogueDialogTest, BrowseModeCanOnlyLookAddAndDelete)
{
    auto dialog = Open(false);
    for (int id : {int(CCatalogueDlg::IDC_INSERT), int(CCatalogueDlg::IDC_BLANK), IDCANCEL})
        EXPECT_FALSE(dialog->Control<QPushButton>(id)->isEnabled()) << id;
    EXPECT_TRUE(dialog->Control<QPushButton>(CCatalogueDlg::IDC_ADD)->isEnabled());
}

TEST_F(CatalogueDialogTest, AddedCategoriesAreSortedInTheListAndStoredInOrder)
{
    auto dialog = Open(true);
    details = {{QStringLiteral("Budget"), QStringLiteral("Money matters")}, {QStringLiteral("Apologies"), QString()}};
    dialog->OnAdd();
    dialog->OnAdd();
    EXPECT_EQ(store.UserString(), QStringLiteral("Budget$S$Money matters,Apologies$S$"));
    const QStringList rows = Rows(*dialog);
    EXPECT_EQ(rows.indexOf(QStringLiteral("Apologies*")), 4);
    EXPECT_EQ(rows.indexOf(QStringLiteral("Budget*")), 8);
    EXPECT_EQ(dialog->GetChosen(), QStringLiteral("Apologies"));
    EXPECT_TRUE(dialog->Control<QPushButton>(CCatalogueDlg::IDC_DELETE)->isEnabled());

    // The next opening reads them back at the same places.
    EXPECT_EQ(Rows(*Open(true)), rows);
}

TEST_F(CatalogueDialogTest, ADuplicateOrABadNameIsRefused)
{
    auto dialog = Open(true);
    details = {{QStringLiteral("Open Risks"), QString()}, {QStringLiteral("Risks"), QString()}};
    dialog->OnAdd();
    dialog->OnAdd();
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("Category 'Risks' already defined!")});
    EXPECT_EQ(store.UserString(), QStringLiteral("Open Risks$S$"));

    // In the details dialog: the message, and the dialog stays open.
    CCategoryDetailsDlg details(ui, &panel);
    details.InitDialog();
    details.findChild<QLineEdit*>(QStringLiteral("1022"))->setText(QStringLiteral("a,b"));
    details.accept();
    EXPECT_EQ(ui.messageTexts().back(), QStringLiteral("An agenda item category cannot contain\nthe characters '$' or ','"));
    EXPECT_EQ(details.result(), 0);
    details.findChild<QLineEdit*>(QStringLiteral("1022"))->setText(QString());
    details.accept();
    EXPECT_EQ(ui.messageTexts().back(), QStringLiteral("An agenda item category must have a name!"));
    details.findChild<QLineEdit*>(QStringLiteral("1022"))->setText(QStringLiteral("Costs"));
    details.findChild<QPlainTextEdit*>(QStringLiteral("1023"))->setPlainText(QStringLiteral("money, time"));
    details.accept();
    EXPECT_EQ(ui.messageTexts().back(), QStringLiteral("A description cannot contain a comma or the characters '$S$'."));
    details.findChild<QPlainTextEdit*>(QStringLiteral("1023"))->setPlainText(QStringLiteral("money"));
    details.accept();
    EXPECT_EQ(details.result(), IDOK);
    EXPECT_EQ(details.m_strName, QStringLiteral("Costs"));
}

TEST_F(CatalogueDialogTest, DeletingAUserCategoryTakesItFromListAndString)
{
    store.Add({QStringLiteral("Budget"), QString(), false});
    store.Add({QStringLiteral("Risks"), QString(), false});
    auto dialog = Open(true);
    auto* list = dialog->Control<QTreeWidget>(CCatalogueDlg::IDC_LIST);
    list->setCurrentItem(list->findItems(QStringLiteral("Risks"), Qt::MatchExactly).first());
    const int row = dialog->m_nCurrent;
    dialog->OnDelete();
    EXPECT_EQ(store.UserString(), QStringLiteral("Budget$S$"));
    EXPECT_EQ(dialog->m_nCurrent, row - 1);
    EXPECT_FALSE(Rows(*dialog).contains(QStringLiteral("Risks*")));

    // Built-in rows cannot be deleted.
    list->setCurrentItem(list->topLevelItem(0));
    EXPECT_FALSE(dialog->Control<QPushButton>(CCatalogueDlg::IDC_DELETE)->isEnabled());
    dialog->OnDelete();
    EXPECT_EQ(Rows(*dialog).size(), 13);
}

TEST_F(CatalogueDialogTest, BlankClosesWithTheNameBlank)
{
    auto dialog = Open(true);
    auto* list = dialog->Control<QTreeWidget>(CCatalogueDlg::IDC_LIST);
    list->setCurrentItem(list->topLevelItem(3));
    EXPECT_EQ(dialog->GetChosen(), QStringLiteral("Agenda"));
    dialog->Control<QPushButton>(CCatalogueDlg::IDC_BLANK)->click();
    EXPECT_EQ(dialog->result(), IDOK);
    EXPECT_EQ(dialog->GetChosen(), QStringLiteral("Blank"));
}
