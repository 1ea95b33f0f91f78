// The desktop menu bar: the command bar's commands under the same texts,
// ids, enable states and keys, every one reachable from the keyboard; and
// File > Recent.

#include "editorfixture.h"

#include "app/recentminutes.h"
#include "editor/menudefinition.h"
#include "framework/commandids.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTest>
#include <QToolBar>

#include <set>

namespace {

// Every command entry below a menu, each submenu shown first so that the
// entries carry the state the routing gives them.
void ShowAndCollect(QMenu* menu, QList<QAction*>& commands)
{
    // File > Recent holds minutes, not commands.
    if (menu->objectName() == QString::number(cmd::RecentMinutes))
        return;
    emit menu->aboutToShow();
    for (QAction* action : menu->actions()) {
        if (action->menu())
            ShowAndCollect(action->menu(), commands);
        else if (!action->isSeparator())
            commands.append(action);
    }
}

// The Alt letter of a text, lower case; a null character when it has none.
QChar AltLetter(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == QLatin1Char('&'))
            return text[i + 1] == QLatin1Char('&') ? (++i, QChar()) : text[i + 1].toLower();
    }
    return {};
}

// Each entry of a menu has its own Alt letter.
void ExpectAltLetters(const QList<QAction*>& actions, const QString& where)
{
    std::set<QChar> letters;
    for (QAction* action : actions) {
        if (action->isSeparator())
            continue;
        const QChar letter = AltLetter(action->text());
        EXPECT_FALSE(letter.isNull()) << qPrintable(where + QStringLiteral(" > ") + action->text());
        EXPECT_TRUE(letters.insert(letter).second) << qPrintable(where + QStringLiteral(" > ") + action->text());
        if (action->menu() && action->menu()->objectName() != QString::number(cmd::RecentMinutes))
            ExpectAltLetters(action->menu()->actions(), where + QStringLiteral(" > ") + action->text());
    }
}

} // namespace

TEST_F(EditorTest, TheMenuBarOffersTheCommandBarsCommandsAsTheBarDoes)
{
    Start({WriteMinute(QStringLiteral("M.min"), {{1, QStringLiteral("Venue"), QStringLiteral("Hall")},
                                                 {2, QStringLiteral("Room"), {}}})});
    ShowFrame();
    QMenuBar* bar = Frame()->menuBar();
    QStringList menus;
    for (QAction* action : bar->actions())
        menus.append(WithoutMnemonic(action->text()));
    EXPECT_EQ(menus, (QStringList{"File", "Edit", "View", "Insert", "Tools", "Help"}));
    ExpectAltLetters(bar->actions(), QStringLiteral("menu bar"));

    // The command bar's commands: its popups' entries and its buttons.
    std::set<int> barCommands;
    for (int index = 0; index < 5; ++index) {
        QList<QAction*> entries;
        ShowAndCollect(Frame()->Popup(index), entries);
        for (QAction* entry : entries)
            barCommands.insert(entry->data().toInt());
    }
    QMap<int, QAction*> buttons;
    for (QAction* action : Frame()->MenuBarStrip()->actions()) {
        if (action->data().toInt() != 0)
            buttons.insert(action->data().toInt(), action);
    }
    const std::set<int> desktopOnly{cmd::ViewSideBySide, cmd::ViewCommandBar, cmd::Help, cmd::ImportOpml, cmd::Print,
                                    cmd::PrintPreview};

    // In each of these states every entry matches the command bar's.
    const std::vector<std::function<void()>> states{
        [] {},                                   // the root selected
        [this] { Select(2); },                   // a sub-item selected
        [this] { Select(1); Send(cmd::Cut); },   // something to paste and undo
        [this] { Text()->setFocus(); },          // typing in the text pane
    };
    for (size_t state = 0; state < states.size(); ++state) {
        SCOPED_TRACE(state);
        states[state]();
        QList<QAction*> commands;
        for (QAction* menu : bar->actions())
            ShowAndCollect(menu->menu(), commands);
        for (int index = 0; index < 5; ++index) {
            QList<QAction*> ignored;
            ShowAndCollect(Frame()->Popup(index), ignored);
        }
        std::set<int> offered;
        std::set<QKeySequence> keys;
        for (QAction* command : commands) {
            const int id = command->data().toInt();
            SCOPED_TRACE(command->text().toStdString());
            offered.insert(id);
            EXPECT_EQ(command->isEnabled(), Frame()->IsCommandEnabled(id));
            if (!command->shortcut().isEmpty()) {
                EXPECT_TRUE(keys.insert(command->shortcut()).second) << "one key, two commands";
            }
            QList<QAction*> twins;
            for (QAction* other : Frame()->ActionsFor(id)) {
                if (!commands.contains(other))
                    twins.append(other);
            }
            if (twins.isEmpty() && buttons.contains(id)) {
                EXPECT_EQ(WithoutMnemonic(command->text()), buttons[id]->text());
                EXPECT_TRUE(buttons[id]->toolTip().contains(command->shortcut().toString(QKeySequence::NativeText)));
                continue;
            }
            EXPECT_EQ(twins.isEmpty(), desktopOnly.count(id) == 1);
            for (QAction* twin : twins) {
                EXPECT_EQ(WithoutMnemonic(command->text()), twin->text());
                EXPECT_EQ(command->isEnabled(), twin->isEnabled());
                EXPECT_EQ(command->shortcut(), twin->shortcut());
            }
        }
        // Nothing of the command bar is missing from the menu bar.
        for (const int id : barCommands)
            EXPECT_EQ(offered.count(id), 1u) << id;
        for (const auto& [id, button] : buttons.asKeyValueRange())
            EXPECT_EQ(offered.count(id), 1u) << id;
    }
}

TEST_F(EditorTest, TheMenuBarAndItsKeysWorkFromTheKeyboard)
{
    Start({WriteMinute(QStringLiteral("M.min"), {{1, QStringLiteral("Venue"), QStringLiteral("Hall")}})});
    ShowFrame();
    Tree()->setFocus();

    // F10 opens the first menu; Alt and a letter open the others, a letter chooses.
    QTest::keyClick(Frame(), Qt::Key_F10);
    auto* open = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(WithoutMnemonic(open->title()), QStringLiteral("File"));
    QTest::keyClick(open, Qt::Key_Escape);
    QTest::keyClick(Frame()->menuBar(), Qt::Key_Escape);

    QTest::keyClick(Frame(), Qt::Key_V, Qt::AltModifier);
    open = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(WithoutMnemonic(open->title()), QStringLiteral("View"));
    QTest::keyClick(open, Qt::Key_S);
    EXPECT_EQ(Frame()->ViewMode(), int(cmd::ViewSideBySide));
    EXPECT_EQ(Frame()->Splitter()->orientation(), Qt::Horizontal);
    EXPECT_GT(Frame()->Splitter()->sizes().at(1), Frame()->Splitter()->sizes().at(0)); // the text has the room
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

    // The command bar goes and comes back; the keys answer either way.
    QTest::keyClick(Frame(), Qt::Key_V, Qt::AltModifier);
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_M);
    EXPECT_FALSE(Frame()->CommandBarShown());
    QTest::keyClick(Frame(), Qt::Key_1, Qt::ControlModifier);
    EXPECT_EQ(Frame()->ViewMode(), int(cmd::ViewBoth));
    EXPECT_EQ(Frame()->Splitter()->orientation(), Qt::Vertical);
    Send(cmd::ViewCommandBar);
    EXPECT_TRUE(Frame()->CommandBarShown());

    // Delete, Insert and Shift+Insert act on items in the tree, on the text in the text pane.
    Select(1);
    Text()->setFocus();
    Text()->moveCursor(QTextCursor::Start);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    EXPECT_EQ(Text()->toPlainText(), QStringLiteral("all"));
    QApplication::clipboard()->setText(QStringLiteral("H"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(Text()->toPlainText(), QStringLiteral("Hall"));
    EXPECT_EQ(Doc()->GetNodeCount(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Insert);
    EXPECT_TRUE(ui.unanswered.isEmpty()) << "no dialog to insert an item";
    // In a rename, Delete is the name's.
    Tree()->setFocus();
    QTest::keyClick(Tree(), Qt::Key_F2);
    auto* name = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(name, nullptr);
    QTest::keyClick(name, Qt::Key_Home);
    QTest::keyClick(name, Qt::Key_Delete);
    EXPECT_EQ(name->text(), QStringLiteral("enue"));
    QTest::keyClick(name, Qt::Key_Escape);
    EXPECT_EQ(Doc()->GetNodeCount(), 1);
    Tree()->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    EXPECT_EQ(Doc()->GetNodeCount(), 0);
}

// Minutes opened and saved come back in File > Recent, newest first, across
// starts; one that has gone is said so and dropped, the open minute untouched.
TEST_F(EditorTest, RecentMinutesAreKeptAndAGoneOneIsDropped)
{
    const QString first = WriteMinute(QStringLiteral("First.min"), {{1, QStringLiteral("A"), {}}});
    const QString second = WriteMinute(QStringLiteral("Second & Co.min"), {{1, QStringLiteral("B"), {}}});
    Start({first});
    Doc()->OpenMinuteFile(second);
    Doc()->OpenMinuteFile(first);
    EXPECT_EQ(app->Recent().List(), (QStringList{first, second}));
    Frame()->close();
    app.reset();

    ASSERT_TRUE(QFile::remove(first));
    Start({second});
    ShowFrame();
    Doc()->SetMinuteModified(true);
    QTest::keyClick(Frame(), Qt::Key_F, Qt::AltModifier);
    auto* file = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(file, nullptr);
    QTest::keyClick(file, Qt::Key_R);
    auto* recent = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(recent, nullptr);
    ASSERT_EQ(recent->actions().size(), 2);
    EXPECT_TRUE(recent->actions()[0]->text().startsWith(QStringLiteral("&1 Second && Co.min  [")));
    QTest::keyClick(recent, Qt::Key_2);
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("%1 was not found.").arg(first)});
    EXPECT_EQ(Doc()->GetPath(), second);
    EXPECT_TRUE(Doc()->IsMinuteModified());
    EXPECT_EQ(app->Recent().List(), QStringList{second});
}
