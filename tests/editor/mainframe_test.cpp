// The main frame: menus, view modes, fitting to the on-screen keyboard, help, options and exit.

#include "editorfixture.h"

#include "app/appglobals.h"
#include "framework/commandids.h"
#include "options/options.h"
#include "options/optionssheet.h"
#include "platform/registry.h"

#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

TEST_F(EditorTest, TheMenuBarHoldsEveryMenuAndButton)
{
    Start();
    QStringList entries;
    for (QAction* action : Frame()->MenuBarStrip()->actions()) {
        QWidget* widget = Frame()->MenuBarStrip()->widgetForAction(action);
        auto* button = qobject_cast<QToolButton*>(widget);
        entries.append(button && button->menu() ? QStringLiteral("menu") : QString::number(action->data().toInt()));
    }
    EXPECT_EQ(entries, (QStringList{"menu", "menu", "menu", "menu", "32779", "32782", "32775", "32790", "menu"}));

    auto titles = [](QMenu* menu) {
        QStringList result;
        for (QAction* action : menu->actions())
            result.append(action->isSeparator() ? QStringLiteral("-") : action->text());
        return result;
    };
    EXPECT_EQ(titles(Frame()->Popup(0)), (QStringList{"New", "Open...", "Save", "Save As", "-", "Exit"}));
    EXPECT_EQ(titles(Frame()->Popup(3)), (QStringList{"Cut", "Copy", "Paste", "-", "Undo"}));
    EXPECT_EQ(titles(Frame()->Popup(4)), (QStringList{"Both", "Tree", "Text"}));
    EXPECT_EQ(Frame()->ActionsFor(cmd::Cut).size(), 3); // the command bar twice, the menu bar once
    EXPECT_EQ(Frame()->ActionsFor(cmd::BeamText).size(), 2);
    EXPECT_EQ(Frame()->ActionsFor(cmd::Save).first()->shortcut(), QKeySequence(QKeySequence::Save));
}

TEST_F(EditorTest, MenusShowTheRoutedEnableState)
{
    Start();
    QMenu* file = Frame()->Popup(0);
    emit file->aboutToShow();
    EXPECT_TRUE(Frame()->ActionsFor(cmd::Save).first()->isEnabled());
    QMenu* agenda = nullptr;
    for (QAction* action : Frame()->Popup(1)->actions()) {
        if (action->menu())
            agenda = action->menu();
    }
    ASSERT_NE(agenda, nullptr);
    emit agenda->aboutToShow();
    EXPECT_FALSE(Frame()->ActionsFor(cmd::DeleteItem).first()->isEnabled()); // the root is selected
    emit agenda->aboutToHide();
    EXPECT_TRUE(Frame()->ActionsFor(cmd::DeleteItem).first()->isEnabled());
    EXPECT_FALSE(Send(cmd::DeleteItem)); // still refused when asked
}

TEST_F(EditorTest, ViewModesShareTheHeight)
{
    Start();
    const int height = Frame()->m_cyScreen;
    const int tree = height / 2 - 24;
    Send(cmd::ViewTree);
    EXPECT_EQ(Frame()->Splitter()->sizes().at(1), 0);
    Send(cmd::ViewText);
    EXPECT_EQ(Frame()->Splitter()->sizes().at(0), 0);
    Send(cmd::ViewBoth);
    const QList<int> sizes = Frame()->Splitter()->sizes();
    // The splitter may hand out a pixel or two of rounding differently.
    EXPECT_NEAR(double(sizes.at(0)) / (sizes.at(0) + sizes.at(1)), double(tree) / height, 0.02);
}

TEST_F(EditorTest, TheWindowKeepsClearOfTheOnScreenKeyboard)
{
    Start();
    Frame()->setGeometry(100, 50, 400, 600);
    panel.setState({true, QRect(0, 0, 1024, 400)});
    EXPECT_EQ(Frame()->geometry().bottom(), 399);
    EXPECT_EQ(Frame()->geometry().top(), 50);
    panel.setState({false, QRect(0, 0, 1024, 768)});
    EXPECT_EQ(Frame()->geometry().height(), 600);
    panel.queryFails = true;
    panel.setState({true, QRect(0, 0, 1024, 300)});
    EXPECT_EQ(Frame()->geometry().height(), 600);
}

TEST_F(EditorTest, HelpOpensThePageInItsViewer)
{
    Start();
    ASSERT_TRUE(Send(cmd::Help));
    ASSERT_EQ(shell.started.size(), 1u);
    EXPECT_EQ(shell.started[0].file, QStringLiteral("PegHelp.exe"));
    EXPECT_EQ(shell.started[0].parameters, QStringLiteral("file:\\windows\\Quillon.htm"));
    EXPECT_TRUE(ui.messages.empty());

    shell.succeeds = false;
    Send(cmd::Help);
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("Failed to launch help.")});
}

TEST_F(EditorTest, ExitAsksAboutChangesAndRemembersTheMinute)
{
    const QString path = WriteMinute(QStringLiteral("Board.min"), {{1, QStringLiteral("Venue"), {}}});
    Start({path});
    Frame()->show();
    Doc()->SetMinuteModified(true);
    ui.answers.push_back(IDCANCEL);
    Send(cmd::Exit);
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("Save changes to %1?").arg(path)});
    EXPECT_TRUE(Frame()->isVisible());
    EXPECT_FALSE(g_bExiting); // cancelled: a later close starts afresh

    ui.answers.push_back(IDNO);
    Send(cmd::Exit);
    EXPECT_FALSE(Frame()->isVisible());
    Registry registry(DevicePath(QStringLiteral("registry.reg")));
    EXPECT_EQ(registry.value(RegistryHive::CurrentUser, QStringLiteral("software\\Corvexa\\Quillon\\LastMinute"),
                             QStringLiteral("FilePath"))->toString(),
              path);
}

TEST_F(EditorTest, OptionsTakeEffectAtOnceAndTheSheetIsKept)
{
    Start({WriteMinute(QStringLiteral("Board.min"), {{1, QStringLiteral("Agenda"), {}}})});
    dialogs[QStringLiteral("OptionsSheet")] = [](QDialog& dialog) {
        dialog.setProperty("shownBefore", true);
        auto& sheet = static_cast<COptionsSheet&>(dialog);
        sheet.m_page1.findChild<QCheckBox*>(QString::number(CPage1::IDC_WARNING))->setChecked(true);
        sheet.OkButton()->click();
        return sheet.result();
    };
    ASSERT_TRUE(Send(cmd::Options));
    EXPECT_EQ(Doc()->GetOptions()->GetWarningOnDelete(), 1);

    // Deleting now asks first.
    Select(1);
    ui.answers.push_back(IDNO);
    Send(cmd::DeleteItem);
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("Delete agenda item 'Agenda' ?")});
    EXPECT_EQ(Doc()->GetNodeCount(), 1);

    // The next time it is the same sheet, showing what was chosen.
    bool same = false;
    dialogs[QStringLiteral("OptionsSheet")] = [&same](QDialog& dialog) {
        same = dialog.property("shownBefore").toBool();
        auto& sheet = static_cast<COptionsSheet&>(dialog);
        EXPECT_TRUE(sheet.m_page1.findChild<QCheckBox*>(QString::number(CPage1::IDC_WARNING))->isChecked());
        return IDCANCEL;
    };
    Send(cmd::Options);
    EXPECT_TRUE(same);
    EXPECT_TRUE(ui.unanswered.isEmpty());
}

TEST_F(EditorTest, KeysReachTheBarsCommandsAndFocusFollowsTheViewMode)
{
    Start({WriteMinute(QStringLiteral("M.min"), {{1, QStringLiteral("Notes"), QStringLiteral("one two one")}})});
    ShowFrame();
    // Find Next and Replace Next live only on the bar; their keys reach them all the same.
    int searches = 0;
    dialogs[QStringLiteral("135")] = [&searches](QDialog&) {
        ++searches;
        return IDCANCEL;
    };
    Tree()->setFocus();
    QTest::keyClick(Frame(), Qt::Key_F3);
    QTest::keyClick(Frame(), Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(searches, 2); // with nothing to look for yet, each asks for it

    // A pane that is out of sight gives up the keyboard.
    Text()->setFocus();
    ASSERT_TRUE(Send(cmd::ViewTree));
    EXPECT_EQ(QApplication::focusWidget(), Tree());
    ASSERT_TRUE(Send(cmd::ViewText));
    EXPECT_EQ(QApplication::focusWidget(), Text());
}

// A first start opens a landscape window within the screen; the window's
// size and place, the pane split and the view mode survive a restart.
TEST_F(EditorTest, TheWindowComesBackAsItWasLeft)
{
    Start();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_GT(Frame()->width(), Frame()->height());
    EXPECT_LE(Frame()->width(), screen.width());
    EXPECT_LE(Frame()->height(), screen.height());

    Frame()->setGeometry(QRect(40, 50, 700, 500));
    Frame()->Splitter()->setSizes({120, 300});
    const QList<int> split = Frame()->Splitter()->sizes();
    Frame()->close();
    app.reset();
    Start();
    EXPECT_EQ(Frame()->geometry(), QRect(40, 50, 700, 500));
    EXPECT_EQ(Frame()->Splitter()->sizes(), split);
    EXPECT_EQ(Frame()->ViewMode(), int(cmd::ViewBoth));

    Send(cmd::ViewText);
    Frame()->ShowCommandBar(false);
    Frame()->close();
    app.reset();
    Start();
    EXPECT_EQ(Frame()->ViewMode(), int(cmd::ViewText));
    EXPECT_EQ(Frame()->Splitter()->sizes().constFirst(), 0);
    EXPECT_FALSE(Frame()->CommandBarShown());

    // Side by side keeps a split of its own.
    Send(cmd::ViewSideBySide);
    Frame()->Splitter()->setSizes({500, 200});
    const QList<int> sideSplit = Frame()->Splitter()->sizes();
    Frame()->close();
    app.reset();
    Start();
    EXPECT_EQ(Frame()->ViewMode(), int(cmd::ViewSideBySide));
    EXPECT_EQ(Frame()->Splitter()->orientation(), Qt::Horizontal);
    EXPECT_EQ(Frame()->Splitter()->sizes(), sideSplit);
}

// Save As and Exit have their keys on every desktop, a bare one too.
TEST_F(EditorTest, SaveAsAndExitHaveTheirKeysEverywhere)
{
    Start();
    ShowFrame();
    ui.fileAnswers.push_back(std::nullopt);
    QTest::keyClick(Frame(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_EQ(ui.fileDialogs[0].title, QStringLiteral("Save minute as"));
    QTest::keyClick(Frame(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(Frame()->isVisible());
}
