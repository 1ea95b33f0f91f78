// The options sheet: what each page shows, what closing it writes.

#include "app/settingsprofile.h"
#include "framework/scripteduiservice.h"
#include "options/options.h"
#include "options/optionssheet.h"
#include "platform/registry.h"
#include "testsupport.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

const QString kOptionsKey = QStringLiteral("software\\Corvexa\\Quillon\\Options");

class OptionsSheetTest : public ::testing::Test {
protected:
    void SetUp() override { profile.SetRegistryKey(QStringLiteral("Corvexa")); }

    void Store(const char* name, quint32 value)
    {
        registry.createKey(RegistryHive::CurrentUser, kOptionsKey);
        registry.setValue(RegistryHive::CurrentUser, kOptionsKey, QString::fromLatin1(name), RegistryValue::fromDword(value));
    }
    quint32 Stored(const char* name) const
    {
        const auto value = registry.value(RegistryHive::CurrentUser, kOptionsKey, QString::fromLatin1(name));
        return value ? quint32(uchar(value->data[0]) | uchar(value->data[1]) << 8 | uchar(value->data[2]) << 16 | uchar(value->data[3]) << 24)
                     : 0xBADBADu;
    }
    // Loads the options and shows the sheet, doing what act does while it is up.
    void Edit(const std::function<int(COptionsSheet&)>& act)
    {
        options.Load();
        ui.modalHandler = [&](QDialog& dialog) { return act(static_cast<COptionsSheet&>(dialog)); };
        EditOptions(options, sheet, ui);
    }
    static QCheckBox* Check(QWidget& page, int id) { return page.findChild<QCheckBox*>(QString::number(id)); }
    static QRadioButton* Radio(QWidget& page, int id) { return page.findChild<QRadioButton*>(QString::number(id)); }

    QTemporaryDir dir;
    Registry registry{dir.filePath(QStringLiteral("registry.reg"))};
    SettingsProfile profile{registry};
    COptions options{&profile};
    COptionsSheet sheet;
    ScriptedUiService ui;
};

} // namespace

TEST_F(OptionsSheetTest, OkWritesAllEightValuesAndCancelNone)
{
    Edit([](COptionsSheet&) { return IDCANCEL; });
    for (const char* name : {"WarningOnDelete", "CompCheckOnClose", "AutoOpenLastMinute", "ExportTextAsASCII",
                             "NumberAttributesOnExport", "ShowLinesInTree", "AutoExpandOverview", "RequiredContactProps"})
        EXPECT_EQ(Stored(name), 0xBADBADu) << name;
    EXPECT_EQ(sheet.windowTitle(), QStringLiteral("Options"));
    Edit([](COptionsSheet& s) {
        s.OkButton()->click();
        return s.result();
    });
    for (const char* name : {"WarningOnDelete", "CompCheckOnClose", "AutoOpenLastMinute", "ExportTextAsASCII",
                             "NumberAttributesOnExport", "AutoExpandOverview", "RequiredContactProps"})
        EXPECT_EQ(Stored(name), 0u) << name;
    // A missing value means lines are drawn: the sheet shows it so and keeps it so.
    EXPECT_EQ(Stored("ShowLinesInTree"), 1u);
}

TEST_F(OptionsSheetTest, TheGeneralPageTicksSwitchesAndWritesWhatItShows)
{
    Store("WarningOnDelete", 1);
    Store("AutoExpandOverview", 5); // outside 0 to 2: shown unticked
    Store("CompCheckOnClose", 2);
    Edit([](COptionsSheet& s) {
        EXPECT_TRUE(Check(s.m_page1, CPage1::IDC_WARNING)->isChecked());
        EXPECT_FALSE(Check(s.m_page1, CPage1::IDC_EXPAND)->isChecked());
        EXPECT_EQ(s.m_page1.m_bAutoExpandOverview, 0);
        EXPECT_TRUE(Check(s.m_page1, CPage1::IDC_COMP_CHECK)->isChecked());
        EXPECT_EQ(Check(s.m_page1, CPage1::IDC_LINES)->text(), QStringLiteral("Show lines in tree"));
        Check(s.m_page1, CPage1::IDC_LINES)->setChecked(true);
        s.OkButton()->click();
        return s.result();
    });
    EXPECT_EQ(Stored("WarningOnDelete"), 1u);
    EXPECT_EQ(Stored("AutoExpandOverview"), 0u);
    EXPECT_EQ(Stored("CompCheckOnClose"), 1u);
    EXPECT_EQ(Stored("ShowLinesInTree"), 1u);
}

TEST_F(OptionsSheetTest, CancelKeepsEveryOptionEvenFromAPageThatWasLeft)
{
    Store("WarningOnDelete", 0);
    Edit([](COptionsSheet& s) {
        Check(s.m_page1, CPage1::IDC_WARNING)->setChecked(true);
        s.Tabs()->setCurrentIndex(2);
        s.Tabs()->setCurrentIndex(1);
        return IDCANCEL;
    });
    EXPECT_EQ(Stored("WarningOnDelete"), 0u);
    EXPECT_EQ(options.GetWarningOnDelete(), 0);
}

TEST_F(OptionsSheetTest, TheExportFormatSelectsAtMostOneButton)
{
    Store("ExportTextAsASCII", 7);
    Store("NumberAttributesOnExport", 1);
    Edit([](COptionsSheet& s) {
        s.Tabs()->setCurrentIndex(1);
        EXPECT_FALSE(s.m_page2.findChild<QRadioButton*>(QStringLiteral("1005"))->isChecked());
        EXPECT_FALSE(s.m_page2.findChild<QRadioButton*>(QStringLiteral("1013"))->isChecked());
        EXPECT_TRUE(Check(s.m_page2, CPage2::IDC_NUMBER)->isChecked());
        s.OkButton()->click();
        return s.result();
    });
    EXPECT_EQ(Stored("ExportTextAsASCII"), 0xFFFFFFFFu); // none chosen: -1
    EXPECT_EQ(Stored("NumberAttributesOnExport"), 1u);

    Edit([](COptionsSheet& s) {
        s.Tabs()->setCurrentIndex(1);
        s.m_page2.findChild<QRadioButton*>(QStringLiteral("1013"))->setChecked(true);
        s.OkButton()->click();
        return s.result();
    });
    EXPECT_EQ(Stored("ExportTextAsASCII"), 1u);

    // Never opened this time: the Export page's values are written as they were.
    Edit([](COptionsSheet& s) {
        s.OkButton()->click();
        return s.result();
    });
    EXPECT_EQ(Stored("ExportTextAsASCII"), 1u);
}

TEST_F(OptionsSheetTest, TheContactsPageTicksBitsOnlyThroughTheirBoxes)
{
    Store("RequiredContactProps", 0x3);
    Edit([](COptionsSheet& s) {
        s.Tabs()->setCurrentIndex(2);
        auto* list = s.m_page3.findChild<QTreeWidget*>(QStringLiteral("1008"));
        EXPECT_EQ(list->topLevelItemCount(), 31);
        EXPECT_EQ(list->topLevelItem(0)->checkState(0), Qt::Checked);
        EXPECT_EQ(list->topLevelItem(2)->checkState(0), Qt::Unchecked);
        EXPECT_EQ(list->topLevelItem(30)->text(0), QStringLiteral("Notes"));
        list->topLevelItem(2)->setCheckState(0, Qt::Checked);
        list->setCurrentItem(list->topLevelItem(5)); // the label: no tick
        s.OkButton()->click();
        return s.result();
    });
    EXPECT_EQ(Stored("RequiredContactProps"), 0x7u);

    Edit([](COptionsSheet& s) {
        s.Tabs()->setCurrentIndex(2);
        s.m_page3.findChild<QPushButton*>(QStringLiteral("1009"))->click();
        auto* list = s.m_page3.findChild<QTreeWidget*>(QStringLiteral("1008"));
        list->topLevelItem(30)->setCheckState(0, Qt::Unchecked);
        s.OkButton()->click();
        return s.result();
    });
    EXPECT_EQ(Stored("RequiredContactProps"), 0xBFFFFFFFu); // all 32 bits but Notes

    Edit([](COptionsSheet& s) {
        s.Tabs()->setCurrentIndex(2);
        s.m_page3.findChild<QPushButton*>(QStringLiteral("1010"))->click();
        return IDCANCEL;
    });
    EXPECT_EQ(Stored("RequiredContactProps"), 0xBFFFFFFFu); // cancelled: unchanged
}

// Three buttons over two values: UTF-8 is a value of its own, and the width
// keeps what it meant.
TEST_F(OptionsSheetTest, TheExportFormatChoosesAmongTextAsciiAndUtf8)
{
    // Shows the Export page, chooses the button id (if any), and says which button was selected.
    auto choose = [this](int id) {
        QString shown;
        Edit([&](COptionsSheet& s) {
            s.Tabs()->setCurrentIndex(1);
            if (QAbstractButton* selected = s.m_page2.findChild<QButtonGroup*>()->checkedButton())
                shown = selected->objectName();
            if (id)
                Radio(s.m_page2, id)->setChecked(true);
            s.OkButton()->click();
            return s.result();
        });
        return shown + QStringLiteral(" %1 %2").arg(Stored("ExportTextAsASCII")).arg(Stored("ExportTextAsUTF8"));
    };
    EXPECT_EQ(choose(CPage2::IDC_ASCII), QStringLiteral("1014 1 0")); // a new store: UTF-8
    EXPECT_EQ(choose(CPage2::IDC_UTF8), QStringLiteral("1013 1 1"));  // the width is kept for later
    EXPECT_EQ(choose(CPage2::IDC_TEXT), QStringLiteral("1014 0 0"));
    EXPECT_EQ(choose(0), QStringLiteral("1005 0 0"));
    Store("ExportTextAsASCII", 2); // no button's, the UTF-8 one's neither
    EXPECT_EQ(choose(0), QStringLiteral(" 4294967295 0"));
}

TEST_F(OptionsSheetTest, TabGoesInReadingOrderFromEachPagesFirstControlAndEnterIsOk)
{
    auto focused = [] { return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(); };
    auto press = [&](int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        if (QWidget* widget = QApplication::focusWidget())
            QTest::keyClick(widget, Qt::Key(key), modifiers);
        return focused();
    };
    auto tabs = [&](int count) {
        QStringList seen{focused()};
        for (int i = 0; i < count; ++i)
            seen.append(press(Qt::Key_Tab));
        return seen.join(QLatin1Char(' '));
    };
    Store("ExportTextAsASCII", 1);
    Edit([&](COptionsSheet& s) {
        s.show();
        QApplication::setActiveWindow(&s);
        EXPECT_EQ(tabs(8), QStringLiteral("1003 1006 1007 1008 1009 1 2 qt_tabwidget_tabbar 1003"));
        press(Qt::Key_Tab, Qt::ControlModifier); // the Export page, its radio group entered at the selected button
        EXPECT_EQ(tabs(3), QStringLiteral("1013 1001 1 2"));
        s.Tabs()->setCurrentIndex(0);
        press(Qt::Key_Space);
        press(Qt::Key_Return);
        return s.result();
    });
    EXPECT_EQ(Stored("CompCheckOnClose"), 1u);
}
