// Long random sequences of what a user does to the agenda, through real
// clicks, keys and drags, checked after every step against an independent
// model: the tree and the node list agree item for item, the remembered
// selection is the highlighted item, and no typed text is lost or moved.
//
// QUILLON_SOAK_STEPS and QUILLON_SOAK_SEEDS make the run as long as asked.
// A failing sequence is shrunk and printed, ready to keep as a named case.

#include "agendamodel.h"
#include "editorfixture.h"

#include "editor/minuteview.h"
#include "editor/treedrag.h"
#include "editor/treeimages.h"
#include "framework/commandids.h"

#include <QFile>
#include <QLineEdit>
#include <QTest>

#include <random>
#include <set>
#include <sstream>

namespace {

// One user action. Its numbers pick among what is there when it runs (an
// item, a point), so that any part of a sequence can be replayed alone.
struct Action {
    enum Kind {
        Click,
        Type,
        Insert,
        InsertSub,
        Delete,
        Rename,
        Copy,
        Cut,
        Paste,
        Drag,
        Undo,
        Expand,
        SaveAndReopen,
        KindCount
    };
    Kind kind;
    unsigned a;
    unsigned b;
};

const char* const kKindNames[] = {"Click", "Type",  "Insert", "InsertSub", "Delete", "Rename",       "Copy",
                                  "Cut",   "Paste", "Drag",   "Undo",      "Expand", "SaveAndReopen"};

std::string Describe(const std::vector<Action>& actions)
{
    std::ostringstream out;
    for (const Action& action : actions)
        out << "{Action::" << kKindNames[action.kind] << ", " << action.a << "u, " << action.b << "u},\n";
    return out.str();
}

// How often each action comes up, out of the sum.
constexpr int kWeights[Action::KindCount] = {18, 14, 6, 6, 6, 7, 6, 6, 8, 10, 12, 5, 1};
constexpr int kMaxItems = 60;

class RandomEdits : public EditorTest {
protected:
    // Runs the actions on a fresh editor; the first failure, or empty.
    std::string Run(const std::vector<Action>& actions, size_t* failedAt = nullptr);
    // Runs, and on failure shrinks the sequence and reports it.
    void RunAndReport(const std::vector<Action>& actions, const std::string& name);
    static std::vector<Action> RandomActions(unsigned seed, int steps);


private:
    void Perform(const Action& action);
    std::string Check() const;
    std::vector<QTreeWidgetItem*> VisibleItems() const;
    AgendaModel::Item* ModelOf(QTreeWidgetItem* item) const { return m_model.At(Tree()->GetItemIndex(item)); }
    // Which items show their sub-items now, before the next action changes the tree.
    AgendaModel::ExpandedFn Expanded() const
    {
        std::set<int> expanded;
        const std::vector<AgendaModel::Item*> items = m_model.PreOrder();
        for (size_t i = 0; i < items.size(); ++i) {
            if (QTreeWidgetItem* item = ItemAt(int(i) + 1); item && item->isExpanded())
                expanded.insert(items[i]->uid);
        }
        return [expanded](const AgendaModel::Item* item) { return expanded.count(item->uid) > 0; };
    }
    void FocusTree() { Tree()->setFocus(Qt::MouseFocusReason); }
    void Key(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(widget, key, modifiers); }
    // Some titles hold a backslash: it is part of the title, never a path.
    QString NewTitle()
    {
        ++m_titles;
        return m_titles % 3 ? QStringLiteral("T%1").arg(m_titles) : QStringLiteral("T%1\\b").arg(m_titles);
    }

    AgendaModel m_model;
    QString m_path;
    int m_titles = 0;
};

std::vector<Action> RandomEdits::RandomActions(unsigned seed, int steps)
{
    std::mt19937 random(seed);
    std::discrete_distribution<int> kinds(std::begin(kWeights), std::end(kWeights));
    std::vector<Action> actions;
    for (int i = 0; i < steps; ++i)
        actions.push_back({Action::Kind(kinds(random)), unsigned(random()), unsigned(random())});
    return actions;
}

std::vector<QTreeWidgetItem*> RandomEdits::VisibleItems() const
{
    std::vector<QTreeWidgetItem*> items;
    std::function<void(QTreeWidgetItem*)> walk = [&](QTreeWidgetItem* item) {
        items.push_back(item);
        if (item->isExpanded()) {
            for (int i = 0; i < item->childCount(); ++i)
                walk(item->child(i));
        }
    };
    if (Tree()->RootItem())
        walk(Tree()->RootItem());
    return items;
}

void RandomEdits::Perform(const Action& action)
{
    const std::vector<QTreeWidgetItem*> visible = VisibleItems();
    QTreeWidgetItem* picked = visible[action.a % visible.size()];
    const int count = int(m_model.PreOrder().size());
    switch (action.kind) {
    case Action::Click:
        // Never the selected item itself: a second click there starts a rename after a pause.
        if (picked != Tree()->currentItem()) {
            QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {}, CentreOf(Tree()->GetItemIndex(picked)));
            m_model.Select(ModelOf(picked));
        }
        break;
    case Action::Type: {
        static const QString kPieces[] = {QStringLiteral("minutes"), QStringLiteral(" "), QStringLiteral("x"),
                                          QStringLiteral("\n"), QStringLiteral("Q3 budget")};
        Text()->setFocus(Qt::MouseFocusReason);
        Key(Text(), Qt::Key_End, Qt::ControlModifier);
        QString typed;
        for (unsigned n = action.b % 4 + 1, i = 0; i < n; ++i) {
            const QString& piece = kPieces[(action.a + i * 7) % std::size(kPieces)];
            if (piece == QLatin1String("\n"))
                Key(Text(), Qt::Key_Return);
            else
                QTest::keyClicks(Text(), piece);
            typed += piece == QLatin1String("\n") ? QStringLiteral("\r\n") : piece;
        }
        m_model.TypeText(typed);
        break;
    }
    case Action::Insert:
    case Action::InsertSub: {
        if (count >= kMaxItems)
            break;
        const QString title = NewTitle();
        PickCategory(QStringLiteral("Blank"), title);
        Send(action.kind == Action::Insert ? cmd::InsertItem : cmd::InsertSubItem);
        m_model.InsertItem(title, action.kind == Action::InsertSub);
        break;
    }
    case Action::Delete:
        FocusTree();
        Key(Tree(), Qt::Key_Delete);
        m_model.Delete();
        break;
    case Action::Rename: {
        FocusTree();
        AgendaModel::Item* renamed = m_model.Selected();
        Key(Tree(), Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        if (!editor)
            break;
        const QString title = NewTitle();
        editor->selectAll();
        QTest::keyClicks(editor, title);
        switch (action.b % 4) {
        case 0:
            Key(editor, Qt::Key_Return);
            m_model.Rename(renamed, title);
            break;
        case 1:
            Key(editor, Qt::Key_Escape);
            break;
        case 2: // the selection moves while the editor is open
            if (picked != Tree()->currentItem()) {
                QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {}, CentreOf(Tree()->GetItemIndex(picked)));
                m_model.Select(ModelOf(picked));
            } else {
                Key(editor, Qt::Key_Return);
            }
            m_model.Rename(renamed, title);
            break;
        default: // a command while the editor is open
            Send(cmd::DeleteItem);
            m_model.Rename(renamed, title);
            m_model.Delete();
            break;
        }
        QCoreApplication::processEvents();
        break;
    }
    case Action::Copy:
    case Action::Cut:
        FocusTree();
        Key(Tree(), action.kind == Action::Copy ? Qt::Key_C : Qt::Key_X, Qt::ControlModifier);
        action.kind == Action::Copy ? m_model.Copy() : m_model.Cut();
        break;
    case Action::Paste:
        FocusTree();
        if (count < kMaxItems || action.b % 2) {
            const auto expanded = Expanded();
            Key(Tree(), Qt::Key_V, Qt::ControlModifier);
            m_model.Paste(expanded);
        }
        break;
    case Action::Drag: {
        QWidget* viewport = Tree()->viewport();
        const QPoint from = CentreOf(Tree()->GetItemIndex(picked));
        QTreeWidgetItem* over = visible[action.b % visible.size()];
        QPoint to;
        switch (action.b % 5) {
        case 0: // away from the items: below the last one, or outside the tree
            to = action.a % 2 ? QPoint(from.x(), viewport->height() + 30) : QPoint(from.x(), viewport->height() - 2);
            if (Tree()->itemAt(to))
                to = QPoint(from.x(), viewport->height() + 30);
            break;
        case 1: // on the line between two rows
            to = Tree()->visualItemRect(over).topLeft() + QPoint(40, 0);
            break;
        default:
            to = Tree()->visualItemRect(over).center() + QPoint(0, int(action.a % 5) - 2);
            break;
        }
        if ((to - from).manhattanLength() < QApplication::startDragDistance() + 2)
            to += QPoint(QApplication::startDragDistance() + 2, 0); // onto itself, far enough to be a drag
        QTreeWidgetItem* target = viewport->rect().contains(to) ? Tree()->itemAt(to) : nullptr;
        const auto expanded = Expanded();
        AgendaModel::Item* source = ModelOf(picked);
        AgendaModel::Item* dropOn = target ? ModelOf(target) : nullptr;
        EditorTest::Drag(from, to);
        m_model.Select(source); // the press selects the dragged item
        m_model.Drop(source, dropOn, expanded);
        break;
    }
    case Action::Undo:
        FocusTree();
        Key(Tree(), Qt::Key_Z, Qt::ControlModifier);
        m_model.Undo();
        break;
    case Action::Expand: {
        static const int kCommands[] = {cmd::ExpandAll, cmd::CollapseAll, cmd::Expand, cmd::ExpandBranch, cmd::CollapseBranch};
        Send(kCommands[action.b % std::size(kCommands)]);
        // Collapsing may leave the current item hidden or move it to the parent: the tree decides.
        m_model.Select(ModelOf(Tree()->currentItem()));
        break;
    }
    case Action::SaveAndReopen: {
        // Saved, then opened from a copy: opening the file that is open would ask to revert.
        Key(Frame(), Qt::Key_S, Qt::ControlModifier);
        const QString other = dir.filePath(m_path.endsWith(QLatin1String("A.min")) ? "B.min" : "A.min");
        QFile::remove(other);
        QFile::copy(m_path, other);
        m_path = other;
        ui.fileAnswers.push_back(m_path);
        Send(cmd::Open);
        m_model.Reopen();
        break;
    }
    default:
        break;
    }
}

std::string RandomEdits::Check() const
{
    std::ostringstream problem;
    CQuillonDoc* doc = Doc();
    const NodeList& nodes = doc->GetNodeList();
    const std::vector<AgendaModel::Item*> expected = m_model.PreOrder();

    std::vector<QTreeWidgetItem*> items;
    for (QTreeWidgetItemIterator it(Tree()); *it; ++it)
        items.push_back(*it);
    if (items.size() != size_t(nodes.size()) + 1)
        return "tree has " + std::to_string(items.size() - 1) + " items, list " + std::to_string(nodes.size());
    if (expected.size() != size_t(nodes.size()))
        return "expected " + std::to_string(expected.size()) + " items, list has " + std::to_string(nodes.size());

    const int selected = Tree()->SelectedIndex();
    for (size_t i = 0; i < expected.size(); ++i) {
        const CTreeNode& node = *nodes.at(qsizetype(i));
        QTreeWidgetItem* item = items[i + 1];
        const AgendaModel::Item& want = *expected[i];
        int depth = 0;
        for (QTreeWidgetItem* p = item; p->parent(); p = p->parent())
            ++depth;
        const int kind = item->childCount() > 0 ? CTreeNode::kHasSubItems : CTreeNode::kLeaf;
        const int image = CMinuteView::SelectedImage(item);
        const QString text = int(i) + 1 == selected ? Text()->PaneText() : node.GetText();
        if (item->text(0) != node.GetTitle() || node.GetLevel() != depth || node.GetKind() != kind)
            problem << "tree and list differ at " << i + 1 << ": " << item->text(0).toStdString() << "/" << depth << " vs "
                    << node.GetTitle().toStdString() << "/" << node.GetLevel() << "/" << node.GetKind();
        else if (image != (kind == CTreeNode::kHasSubItems ? TreeImages::Heading : TreeImages::Item))
            problem << "item " << i + 1 << " shows image " << image << " for kind " << kind;
        else if (node.GetTitle() != want.title || depth != AgendaModel::Level(&want))
            problem << "item " << i + 1 << " is " << node.GetTitle().toStdString() << "/" << depth << ", expected "
                    << want.title.toStdString() << "/" << AgendaModel::Level(&want);
        else if (text != want.text)
            problem << "text of " << want.title.toStdString() << " is '" << text.toStdString() << "', expected '"
                    << want.text.toStdString() << "'";
        const bool cut = CMinuteView::NormalImage(item) == TreeImages::HeadingCut || CMinuteView::NormalImage(item) == TreeImages::ItemCut;
        if (problem.tellp() == 0 && cut != (want.uid == m_model.CutMarked()))
            problem << "item " << i + 1 << (cut ? " shows a cut mark" : " lacks its cut mark");
        if (problem.tellp() > 0)
            return problem.str();
    }

    QTreeWidgetItem* current = Tree()->currentItem();
    if (!current || Tree()->SelectedItem() != current || Tree()->selectedItems() != QList<QTreeWidgetItem*>{current})
        return "the remembered selection is not the one highlighted item";
    if (selected != Tree()->GetItemIndex(current))
        return "remembered index " + std::to_string(selected) + " for item " + std::to_string(Tree()->GetItemIndex(current));
    if (selected != m_model.IndexOf(m_model.Selected()))
        return "selected " + std::to_string(selected) + ", expected " + std::to_string(m_model.IndexOf(m_model.Selected()));
    if (Text()->isReadOnly() != (selected == 0))
        return "the text pane's read-only state does not follow the root";
    if (g_bDragging || Tree()->IsBusy() || Tree()->Drag().IsDragging() || !OpenMenus().isEmpty())
        return "a drag or a menu is left over";
    std::vector<QString> messages;
    for (const auto& shown : ui.messages)
        messages.push_back(shown.text);
    if (messages != m_model.Messages())
        return "messages shown: " + std::to_string(messages.size()) + ", expected " + std::to_string(m_model.Messages().size())
            + (messages.empty() ? std::string() : ", last '" + messages.back().toStdString() + "'");
    return {};
}

std::string RandomEdits::Run(const std::vector<Action>& actions, size_t* failedAt)
{
    app.reset();
    ui.messages.clear();
    ui.unanswered.clear();
    m_titles = 0;
    // A small agenda to start from: a few levels, some texts.
    const std::vector<Node> start = {{1, QStringLiteral("Attendance"), QStringLiteral("Ann\r\nBob")},
                                     {1, QStringLiteral("Budget"), {}},
                                     {2, QStringLiteral("Income"), QStringLiteral("up")},
                                     {3, QStringLiteral("Grants"), {}},
                                     {2, QStringLiteral("Costs"), {}},
                                     {1, QStringLiteral("Actions"), QStringLiteral("call")},
                                     {2, QStringLiteral("Venue"), {}}};
    m_path = WriteMinute(QStringLiteral("A.min"), start);
    std::vector<std::tuple<int, QString, QString>> loaded;
    for (const Node& node : start)
        loaded.emplace_back(node.level, node.title, node.text);
    m_model.Load(loaded);
    Start({m_path});
    if (!app)
        return "the editor did not start";
    Frame()->resize(420, 640);
    ShowFrame();
    if (std::string problem = Check(); !problem.empty())
        return "at the start: " + problem;
    for (size_t i = 0; i < actions.size(); ++i) {
        Perform(actions[i]);
        if (std::string problem = Check(); !problem.empty()) {
            if (failedAt)
                *failedAt = i;
            return "step " + std::to_string(i) + " (" + kKindNames[actions[i].kind] + "): " + problem;
        }
    }
    // Everything typed reaches the file.
    QTest::keyClick(Frame(), Qt::Key_S, Qt::ControlModifier);
    const NodeList saved = ReadBack(m_path);
    const std::vector<AgendaModel::Item*> expected = m_model.PreOrder();
    if (saved.size() != qsizetype(expected.size()))
        return "the saved file has " + std::to_string(saved.size()) + " nodes";
    for (size_t i = 0; i < expected.size(); ++i) {
        const CTreeNode& node = *saved.at(qsizetype(i));
        if (node.GetTitle() != expected[i]->title || node.GetText() != expected[i]->text
            || node.GetLevel() != AgendaModel::Level(expected[i]))
            return "the saved file differs at " + std::to_string(i + 1);
    }
    return {};
}

void RandomEdits::RunAndReport(const std::vector<Action>& actions, const std::string& name)
{
    size_t failedAt = 0;
    const std::string problem = Run(actions, &failedAt);
    if (problem.empty())
        return;
    // Shrink: drop runs of steps, then single steps, while it still fails.
    std::vector<Action> shrunk(actions.begin(), actions.begin() + qsizetype(failedAt) + 1);
    for (size_t chunk = shrunk.size() / 2; chunk >= 1; chunk /= 2) {
        for (size_t at = 0; at + chunk <= shrunk.size();) {
            std::vector<Action> trial = shrunk;
            trial.erase(trial.begin() + qsizetype(at), trial.begin() + qsizetype(at + chunk));
            size_t trialFailedAt = 0;
            if (!trial.empty() && !Run(trial, &trialFailedAt).empty())
                shrunk.assign(trial.begin(), trial.begin() + qsizetype(trialFailedAt) + 1);
            else
                at += chunk;
        }
    }
    ADD_FAILURE() << name << ": " << problem << "\nshrunk to " << shrunk.size() << " steps (" << Run(shrunk)
                  << "):\n" << Describe(shrunk);
}

int FromEnvironment(const char* name, int fallback)
{
    const int value = qEnvironmentVariableIntValue(name);
    return value > 0 ? value : fallback;
}

} // namespace

TEST_F(RandomEdits, SequencesOfUserActionsKeepTreeListAndTextsTogether)
{
    SetOption("WarningOnDelete", 0);
    const int steps = FromEnvironment("QUILLON_SOAK_STEPS", 250);
    const int seeds = FromEnvironment("QUILLON_SOAK_SEEDS", 8);
    for (int seed = 1; seed <= seeds && !HasFailure(); ++seed)
        RunAndReport(RandomActions(unsigned(seed), steps), "seed " + std::to_string(seed));
}

// Sequences the random runs found, shrunk, kept so that they stay mended.
TEST_F(RandomEdits, FoundSequences)
{
    SetOption("WarningOnDelete", 0);
    // The tree missed the release that ended a drag and ignored the next click.
    RunAndReport({{Action::Drag, 1589499542u, 913684262u}, {Action::Click, 902690509u, 409822534u}},
                 "a click after a drag");
    // A cut item lost its mark when it gained a sub-item.
    RunAndReport({{Action::Insert, 1870546528u, 2349908696u},
                  {Action::Delete, 3846445276u, 3038395185u},
                  {Action::Insert, 277769250u, 2992518411u},
                  {Action::Drag, 1249287641u, 3509140155u},
                  {Action::InsertSub, 599006749u, 2312683946u},
                  {Action::Cut, 1802094238u, 1331275084u},
                  {Action::InsertSub, 3572386679u, 3436220055u}},
                 "a sub-item under a cut item");
    // Before a drag began, the pointer's way dragged the selection onto another item.
    RunAndReport({{Action::Click, 1162060974u, 4095568974u},
                  {Action::Delete, 417171869u, 1930481532u},
                  {Action::Delete, 487520170u, 1118843787u},
                  {Action::Click, 3995364353u, 264836871u},
                  {Action::Delete, 3369523018u, 2255441923u},
                  {Action::Insert, 3710488316u, 709547683u},
                  {Action::Undo, 2532726148u, 2450230920u},
                  {Action::Delete, 3129313847u, 673907546u},
                  {Action::Delete, 1935657978u, 785305697u},
                  {Action::InsertSub, 2905290488u, 2712263841u},
                  {Action::Undo, 4038910878u, 1413207917u},
                  {Action::Drag, 4029402266u, 1384063423u}},
                 "the selection before a drag");
}
