// Every dialog from the keyboard, with real key events on the real widgets:
// where the focus starts, the order Tab visits the controls in, what Enter
// and Escape do; how lists show their rows; where dialogs open.

#include "app/aboutdialog.h"
#include "app/settingsprofile.h"
#include "catalogue/cataloguedialog.h"
#include "catalogue/categorydetailsdialog.h"
#include "catalogue/categorystore.h"
#include "catalogue/findreplace.h"
#include "contacts/selectcontactsdialog.h"
#include "contacts/selectdatedialog.h"
#include "editor/completioncheck.h"
#include "editor/detailview.h"
#include "editor/editorservices.h"
#include "editor/replacedialog.h"
#include "editor/templatedialogs.h"
#include "editor/textfinddialog.h"
#include "editor/titledialog.h"
#include "framework/scripteduiservice.h"
#include "model/templates.h"
#include "platform/contactsstore.h"
#include "platform/devicepaths.h"
#include "platform/inputpanel.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "testsupport.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

// Offscreen, with a 1280 x 800 desktop screen and a 480 x 640 one beside it
// (tests/data/screens.json); set before the test main makes the application.
const bool kTwoScreens = [] {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty() || qgetenv("QT_QPA_PLATFORM") == "offscreen")
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" QUILLON_TEST_DATA "/screens.json");
    return true;
}();

// What the dialogs are made with: two contacts, the settings, and a text
// pane holding "the cat sat" with "cat" selected.
struct Services {
    Services()
    {
        profile.SetRegistryKey(QStringLiteral("Quillon"));
        QDir().mkpath(dir.filePath(QStringLiteral("device/Contacts")));
        testsupport::writeFile(dir.filePath(QStringLiteral("device/Contacts/people.vcf")),
                               "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:1\r\nN:Smith;John;;;\r\nORG:Acme Widgets "
                               "International Holdings Limited\r\nEND:VCARD\r\n"
                               "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:2\r\nN:Ng;Al;;;\r\nEND:VCARD\r\n");
        contacts.LogOn();
        pane.setReadOnly(false);
        pane.setPlainText(QStringLiteral("the cat sat"));
        pane.find(QStringLiteral("cat"));
    }

    QTemporaryDir dir;
    Registry registry{dir.filePath(QStringLiteral("device/registry.reg"))};
    DevicePaths device{dir.filePath(QStringLiteral("device"))};
    SettingsProfile profile{registry};
    CategoryStore categories{profile};
    Templates templates{registry, device};
    ContactsStore contacts{registry, device};
    Shell shell{registry, device};
    ScriptedUiService ui;
    TestInputPanel panel;
    EditorServices editor{ui, panel, profile, registry, device, shell};
    CDetailView pane{editor};
};

using Made = std::unique_ptr<HandheldDialog>;

struct Case {
    const char* name;
    std::function<Made(Services&, QWidget* owner)> make;
    QStringList tabs; // the focus on opening, then after each Tab until it is back there
    int enter;        // what Enter on the first control ends the dialog with; 0: it stays open
    std::function<void(HandheldDialog&, Services&)> afterEnter = {};
};

void PrintTo(const Case& c, std::ostream* out)
{
    *out << c.name;
}

// The id of the control with the focus, or of the compound control it is part of.
QString Focused()
{
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        if (bool isId = false; (w->objectName().toInt(&isId), isId))
            return w->objectName();
    }
    return QStringLiteral("(none)");
}

void Open(HandheldDialog& dialog)
{
    dialog.InitDialog();
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QApplication::processEvents();
}

void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

template<typename D> auto Plain(std::function<void(D&)> setUp = {})
{
    return [setUp](Services&, QWidget* owner) -> Made {
        auto dialog = std::make_unique<D>(owner);
        if (setUp)
            setUp(*dialog);
        return dialog;
    };
}

const QStringList kTemplates{QStringLiteral("Board.min"), QStringLiteral("Weekly.min")};

const Case kCases[] = {
    {"TitlePrompt", Plain<CTitleDlg>(), {"1025", "1", "2"}, IDOK},
    {"About", [](Services&, QWidget* o) -> Made { return std::make_unique<CAboutDlg>("2.1", o); }, {"1", "1000"}, IDOK},
    // One Tab stop for the choice of template or blank; the arrows move within it.
    {"NewMinute", Plain<CNewMinuteDlg>([](CNewMinuteDlg& d) { d.m_names = kTemplates, d.m_bTemplatesFound = true; }),
     {"1017", "1", "2", "1011"}, IDOK},
    {"SaveAsTemplate",
     [](Services& s, QWidget* o) -> Made {
         auto d = std::make_unique<CSaveAsTemplateDlg>(s.templates, s.ui, &s.panel, o);
         d->m_names = kTemplates;
         return d;
     },
     {"1012", "1017", "1", "2"}, IDOK}, // Delete waits for a template to be chosen, also when Tab reaches the list
    {"ReplaceThis", Plain<CReplaceDlg>(), {"1003", "3", "1004", "2"}, CDetailView::IDC_YES},
    {"TextFind", [](Services& s, QWidget* o) -> Made { return std::make_unique<CTextFindDlg>(s.pane, false, o); },
     {"1152", "1040", "1041", "1056", "1", "2"}, 0},
    {"TextReplace", [](Services& s, QWidget* o) -> Made { return std::make_unique<CTextFindDlg>(s.pane, true, o); },
     {"1152", "1153", "1040", "1041", "1", "1024", "1025", "2"}, 0,
     [](HandheldDialog&, Services& s) { EXPECT_EQ(s.pane.toPlainText(), "the  sat"); }},
    {"Completion", Plain<CCompletionDlg>([](CCompletionDlg& d) { d.AddTitle("Venue", 2), d.AddTitle("Date", 5); }),
     {"1010", "1"}, IDOK,
     [](HandheldDialog& d, Services&) { EXPECT_EQ(static_cast<CCompletionDlg&>(d).ChosenNode(), 2); }},
    {"SelectContacts",
     [](Services& s, QWidget* o) -> Made { return std::make_unique<CSelectContactsDlg>(&s.contacts, s.ui, o); },
     {"1008", "1011", "1", "2"}, IDOK},
    {"SelectDate", [](Services&, QWidget* o) -> Made { return std::make_unique<CSelectDateDlg>(o); }, {"40007", "1"}, IDOK},
    {"CataloguePick",
     [](Services& s, QWidget* o) -> Made { return std::make_unique<CCatalogueDlg>(s.categories, s.ui, &s.panel, o); },
     {"1024", "1018", "1020", "1021", "1", "2"}, IDOK}, // Delete is for the user's own categories
    {"CatalogueBrowse",
     [](Services& s, QWidget* o) -> Made {
         auto d = std::make_unique<CCatalogueDlg>(s.categories, s.ui, &s.panel, o);
         d->SetPickMode(false);
         return d;
     },
     {"1024", "1018", "1"}, IDOK},
    {"CategoryDetails",
     [](Services& s, QWidget* o) -> Made {
         auto d = std::make_unique<CCategoryDetailsDlg>(s.ui, &s.panel, o);
         d->Control<QLineEdit>(CCategoryDetailsDlg::IDC_NAME)->setText("Budget");
         return d;
     },
     {"1022", "1023", "1", "2"}, IDOK},
    {"FindInTree", Plain<CFindReplaceDlg>([](CFindReplaceDlg& d) { d.m_strFind = "cat"; }),
     {"1007", "1012", "1004", "2"}, IDOK},
    {"ReplaceInTree", Plain<CFindReplaceDlg>([](CFindReplaceDlg& d) { d.m_strFind = "cat", d.m_bReplaceMode = true; }),
     {"1007", "1000", "1012", "1015", "2"}, IDOK,
     [](HandheldDialog& d, Services&) { EXPECT_TRUE(static_cast<CFindReplaceDlg&>(d).m_bReplaceChosen); }},
};

class DialogKeyboard : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override
    {
        owner.setGeometry(100, 100, 900, 600);
        owner.show();
    }
    Made Open()
    {
        Made dialog = GetParam().make(services, &owner);
        ::Open(*dialog);
        return dialog;
    }

    Services services;
    QWidget owner;
};

} // namespace

TEST_P(DialogKeyboard, TabVisitsTheControlsInReadingOrderFromTheFirstToActOn)
{
    Made dialog = Open();
    QStringList visited{Focused()};
    for (qsizetype i = 0; i < GetParam().tabs.size(); ++i) {
        Press(Qt::Key_Tab);
        visited.append(Focused());
    }
    EXPECT_EQ(visited, GetParam().tabs + QStringList{GetParam().tabs.value(0)});
}

TEST_P(DialogKeyboard, EnterPressesTheDefaultOrTheFocusedButtonAndEscapeCancels)
{
    Made dialog = Open();
    Press(Qt::Key_Return);
    EXPECT_EQ(dialog->isVisible(), GetParam().enter == 0);
    if (GetParam().enter) {
        EXPECT_EQ(dialog->result(), GetParam().enter);
    }
    if (GetParam().afterEnter)
        GetParam().afterEnter(*dialog, services);

    dialog = Open();
    Press(Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_NE(dialog->result(), IDOK);

    dialog = Open();
    Press(Qt::Key_Tab, Qt::ShiftModifier); // the last control, a button in most dialogs
    if (auto* button = qobject_cast<QPushButton*>(QApplication::focusWidget())) {
        const int id = button->objectName().toInt();
        Press(Qt::Key_Return);
        EXPECT_EQ(dialog->result(), id);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryDialog, DialogKeyboard, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(DialogLists, ArrowsAndSpaceActOnTheListTheFocusStartsIn)
{
    Services services;
    CNewMinuteDlg newMinute;
    newMinute.m_names = kTemplates;
    newMinute.m_bTemplatesFound = true;
    Open(newMinute);
    Press(Qt::Key_Down);
    Press(Qt::Key_Down);
    EXPECT_EQ(newMinute.Control<QListWidget>(CNewMinuteDlg::IDC_LIST)->currentRow(), 1);
    EXPECT_TRUE(newMinute.Control<QRadioButton>(CNewMinuteDlg::IDC_TEMPLATE)->isChecked());
    newMinute.hide();

    CSelectContactsDlg contacts(&services.contacts, services.ui);
    contacts.SetRequiredProps(1); // last name
    Open(contacts);
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Down, Qt::Key_Space, Qt::Key_Return})
        Press(key);
    EXPECT_EQ(contacts.m_strResult, "Ng\r\nSmith\r\n");
}

TEST(DialogLists, ColumnsFitTheirContentsAndACutRowShowsItsTextAsATip)
{
    Services services;
    CCatalogueDlg catalogue(services.categories, services.ui, &services.panel);
    Open(catalogue);
    QAbstractItemView* columns = catalogue.Control<QTreeWidget>(CCatalogueDlg::IDC_LIST);
    for (int column = 0; column < 3; ++column)
        EXPECT_GE(static_cast<QTreeView*>(columns)->header()->sectionSize(column), columns->sizeHintForColumn(column));
    EXPECT_FALSE(columns->verticalScrollBar()->isVisible()); // every built-in row shows

    CSelectContactsDlg contacts(&services.contacts, services.ui);
    Open(contacts);
    QAbstractItemView* list = contacts.Control<QTreeWidget>(CSelectContactsDlg::IDC_LIST);
    EXPECT_GE(list->viewport()->width(), list->sizeHintForColumn(0));
    contacts.resize(200, contacts.height());
    QApplication::processEvents();
    auto tipAt = [list](int row) {
        const QPoint at = list->visualRect(list->model()->index(row, 0)).center();
        QHelpEvent help(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
        QApplication::sendEvent(list->viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(tipAt(0), QString()); // "Ng, Al" is whole
    EXPECT_EQ(tipAt(1), "Smith, John, Acme Widgets International Holdings Limited");
    QToolTip::hideText();
}

TEST(DialogPlacement, NaturalSizeOnADesktopTheWholeMainWindowOnAHandheld)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    ASSERT_EQ(screens.size(), 2) << "the screens of tests/data/screens.json";
    ASSERT_LT(screens[1]->availableGeometry().width(), HandheldDialog::kHandheldWidth);
    QWidget onDesktop;
    onDesktop.setGeometry(screens[0]->availableGeometry());
    onDesktop.show();
    CTitleDlg prompt(&onDesktop);
    prompt.show();
    EXPECT_LT(prompt.width(), onDesktop.width() / 2);
    EXPECT_LT(prompt.height(), onDesktop.height() / 2);
    EXPECT_LE((prompt.geometry().center() - onDesktop.geometry().center()).manhattanLength(), 2);

    QWidget onHandheld;
    onHandheld.setGeometry(screens[1]->availableGeometry().adjusted(0, 0, 0, -26));
    onHandheld.show();
    CTitleDlg fullWindow(&onHandheld);
    fullWindow.show();
    EXPECT_EQ(fullWindow.geometry(), onHandheld.geometry());
    CSelectDateDlg keepsItsSize(&onHandheld);
    keepsItsSize.show();
    EXPECT_LT(keepsItsSize.width(), onHandheld.width());

    // Never off the screen, nor larger than it; raised above the centre on request.
    const QRect screen(0, 0, 1280, 800);
    EXPECT_EQ(HandheldDialog::Placement(false, {300, 200}, {1000, 600, 800, 600}, screen), QRect(980, 600, 300, 200));
    EXPECT_EQ(HandheldDialog::Placement(false, {2000, 300}, screen, screen, 20), QRect(0, 230, 1280, 300));
}
