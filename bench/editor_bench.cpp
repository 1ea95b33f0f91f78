// The editor on a large minute, offscreen: opening it (tree filled, first
// item selected, its text shown), and inserting, deleting and selecting items.
// One more minute has 200,000-character single-line texts to select. The
// recovery copy of the large minute is taken while the event loop runs on.
//
// QUILLON_BENCH_NODES changes the size of the minute (100,000 by default).

#include "app/quillonapp.h"
#include "app/recoverykeeper.h"
#include "app/stacklimit.h"
#include "editor/detailview.h"
#include "editor/mainframe.h"
#include "editor/minuteview.h"
#include "catalogue/findreplace.h"
#include "framework/commandids.h"
#include "framework/doctemplate.h"
#include "framework/scripteduiservice.h"
#include "largeminute.h"
#include "widgetbenchmain.h"
#include "model/agendasearch.h"
#include "model/minutefile.h"
#include "model/quillondoc.h"
#include "platform/inputpanel.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

struct Editor {
    QTemporaryDir dir;
    ScriptedUiService ui;
    TestInputPanel panel;
    std::unique_ptr<CQuillonApp> app;
    QString minute;

    explicit Editor(const NodeList& list = MakeLargeMinute())
    {
        minute = dir.filePath(QStringLiteral("large.min"));
        WriteMinuteFile(minute, minute, list);
        app = std::make_unique<CQuillonApp>(dir.filePath(QStringLiteral("device")), &ui, &panel);
        app->InitInstance({QStringLiteral("quillon"), minute});
        // Every catalogue pick is "Venue".
        ui.modalHandler = [](QDialog& dialog) {
            auto* list = dialog.findChild<QTreeWidget*>(QStringLiteral("1024"));
            if (!list)
                return IDCANCEL;
            list->setCurrentItem(list->findItems(QStringLiteral("Venue"), Qt::MatchExactly).first());
            return IDOK;
        };
    }
    virtual ~Editor() = default;
    CMinuteView* Tree() const { return app->MainFrame()->TreeView(); }
};

// Every editor made, to be closed before the application object goes: its
// windows cannot outlive it.
std::vector<std::unique_ptr<Editor>>& Editors()
{
    static std::vector<std::unique_ptr<Editor>> editors;
    return editors;
}

// The one editor of a kind, made when first wanted.
template <class E>
E& Kept()
{
    static E* const editor = [] {
        Editors().push_back(std::make_unique<E>());
        return static_cast<E*>(Editors().back().get());
    }();
    return *editor;
}

Editor& TheEditor()
{
    return Kept<Editor>();
}

void BM_OpenMinute(benchmark::State& state)
{
    Editor& editor = TheEditor();
    for (auto _ : state) {
        if (!editor.app->DocTemplate()->OpenDocumentFile(editor.minute))
            state.SkipWithError("could not open");
        benchmark::DoNotOptimize(editor.Tree()->currentItem());
    }
    state.counters["items"] = editor.app->Document()->GetNodeCount();
}

// Insert Item after an item in the middle of the minute.
void BM_InsertItem(benchmark::State& state)
{
    Editor& editor = TheEditor();
    const int middle = editor.app->Document()->GetNodeCount() / 2;
    for (auto _ : state) {
        state.PauseTiming();
        editor.Tree()->setCurrentItem(editor.Tree()->ItemAt(middle));
        state.ResumeTiming();
        editor.app->MainFrame()->SendCommand(cmd::InsertItem);
        state.PauseTiming();
        editor.Tree()->DeleteItem(editor.Tree()->currentItem(), false);
        state.ResumeTiming();
    }
}

// Delete Item of a leaf in the middle of the minute.
void BM_DeleteLeaf(benchmark::State& state)
{
    Editor& editor = TheEditor();
    int index = editor.app->Document()->GetNodeCount() / 2;
    for (auto _ : state) {
        state.PauseTiming();
        QTreeWidgetItem* item = editor.Tree()->ItemAt(index);
        while (item && item->childCount() > 0)
            item = editor.Tree()->ItemAt(++index);
        editor.Tree()->setCurrentItem(item);
        state.ResumeTiming();
        editor.app->MainFrame()->SendCommand(cmd::DeleteItem);
    }
}

// A tap on an item far from the selected one, and back.
void BM_SelectionChange(benchmark::State& state)
{
    Editor& editor = TheEditor();
    const int count = editor.app->Document()->GetNodeCount();
    QTreeWidgetItem* near = editor.Tree()->ItemAt(1);
    QTreeWidgetItem* far = editor.Tree()->ItemAt(count - 1);
    bool toFar = true;
    for (auto _ : state) {
        editor.Tree()->setCurrentItem(toFar ? far : near);
        toFar = !toFar;
    }
}

// A minute of the same size whose first item heads a branch of 10,000 items.
struct BranchEditor : Editor {
    BranchEditor()
        : Editor(MakeBranchMinute())
    {
        app->MainFrame()->resize(480, 720);
        app->MainFrame()->show();
        Tree()->collapseAll();
        Tree()->RootItem()->setExpanded(true);
    }

    static NodeList MakeBranchMinute()
    {
        NodeList list = MakeLargeMinute();
        for (qsizetype i = 0; i < list.size(); ++i) {
            CTreeNode* node = list.at(i);
            if (i < kBranch)
                node->SetLevel(i == 0 ? 1 : 2);
            else
                node->SetLevel(i % 2 == 0 ? 1 : 2);
            node->SetKind(i == 0 || (i >= kBranch && i % 2 == 0) ? CTreeNode::kHasSubItems : CTreeNode::kLeaf);
        }
        return list;
    }
    static constexpr int kBranch = 10000;
};

BranchEditor& TheBranchEditor()
{
    return Kept<BranchEditor>();
}

// Cut the 10,000-item branch and paste it after the last item.
void BM_CutAndPasteBranch(benchmark::State& state)
{
    BranchEditor& editor = TheBranchEditor();
    CMinuteView* tree = editor.Tree();
    for (auto _ : state) {
        state.PauseTiming();
        QTreeWidgetItem* root = tree->RootItem();
        tree->setCurrentItem(root->child(0));
        state.ResumeTiming();
        tree->CutItem();
        state.PauseTiming();
        tree->setCurrentItem(root->child(root->childCount() - 1));
        state.ResumeTiming();
        tree->PasteClip();
        state.PauseTiming();
        tree->UndoTreeEdit(); // back to the top for the next round
        state.ResumeTiming();
    }
    state.counters["branch"] = tree->CountDescendants(tree->RootItem()->child(0)) + 1;
}

// Undo of that move: the branch goes back.
void BM_UndoMove(benchmark::State& state)
{
    BranchEditor& editor = TheBranchEditor();
    CMinuteView* tree = editor.Tree();
    for (auto _ : state) {
        state.PauseTiming();
        QTreeWidgetItem* root = tree->RootItem();
        tree->setCurrentItem(root->child(0));
        tree->CutItem();
        tree->setCurrentItem(root->child(root->childCount() - 1));
        tree->PasteClip();
        state.ResumeTiming();
        tree->UndoTreeEdit();
    }
}

// Drag the branch onto the item below it.
void BM_DropBranch(benchmark::State& state)
{
    BranchEditor& editor = TheBranchEditor();
    CMinuteView* tree = editor.Tree();
    for (auto _ : state) {
        state.PauseTiming();
        QTreeWidgetItem* root = tree->RootItem();
        tree->scrollToTop();
        const QPoint from = tree->visualItemRect(root->child(0)).center();
        const QPoint to = tree->visualItemRect(root->child(1)).center();
        state.ResumeTiming();
        tree->OnBeginDrag(from);
        tree->OnDragMove(to);
        tree->OnDrop();
        state.PauseTiming();
        if (root->child(1)->childCount() == 0)
            state.SkipWithError("the branch did not move");
        tree->UndoTreeEdit();
        state.ResumeTiming();
    }
}

// The same minute shown, with two items whose texts are single lines of
// 200,000 characters: letters without a space, which the pane has to wrap
// anywhere, and words.
struct LongTextEditor : Editor {
    LongTextEditor()
        : Editor(MakeLongTextMinute())
    {
        app->MainFrame()->resize(480, 720);
        app->MainFrame()->show();
    }

    static NodeList MakeLongTextMinute()
    {
        NodeList list = MakeLargeMinute();
        for (bool words : {false, true}) {
            QString line(kLength, Qt::Uninitialized);
            for (int i = 0; i < kLength; ++i)
                line[i] = words && i % 7 == 6 ? QChar(u' ') : QChar(u'a' + i % 26);
            list.at(LongItem(words) - 1)->SetText(line);
        }
        return list;
    }
    static int LongItem(bool words) { return words ? 3 : 2; } // item 0 is the root
    static constexpr int kLength = 200000;
};

LongTextEditor& TheLongTextEditor()
{
    return Kept<LongTextEditor>();
}

// A tap on an item with a long text, until its text is shown.
void BM_SelectLongText(benchmark::State& state)
{
    LongTextEditor& editor = TheLongTextEditor();
    QTreeWidgetItem* longItem = editor.Tree()->ItemAt(LongTextEditor::LongItem(state.range(0) != 0));
    QTreeWidgetItem* other = editor.Tree()->ItemAt(4);
    for (auto _ : state) {
        editor.Tree()->setCurrentItem(longItem);
        QApplication::processEvents(); // the pane lays out and paints
        state.PauseTiming();
        if (editor.app->MainFrame()->TextView()->document()->characterCount() <= LongTextEditor::kLength)
            state.SkipWithError("the long text is not shown");
        editor.Tree()->setCurrentItem(other);
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

// Find Next from the first item: a text no item holds, then one only the
// last item holds (both end where they must: the first item, the last).
void BM_Find(benchmark::State& state)
{
    Editor& editor = TheEditor();
    CQuillonDoc* doc = editor.app->Document();
    const int count = doc->GetNodeCount();
    const QString last = doc->GetNodeText(count);
    const bool findLast = state.range(0) == 1;
    if (findLast)
        doc->SetNodeText(count, last + QStringLiteral(" omega"));
    CFindReplaceDlg& dialog = editor.Tree()->Find().Dialog();
    dialog.m_strFind = findLast ? QStringLiteral("Omega") : QStringLiteral("zzqx");
    dialog.m_bMatchCase = false;
    for (auto _ : state) {
        state.PauseTiming();
        editor.Tree()->SelectItem(editor.Tree()->ItemAt(1));
        state.ResumeTiming();
        editor.app->MainFrame()->SendCommand(cmd::FindNext);
    }
    if (editor.Tree()->SelectedIndex() != (findLast ? count : 1))
        state.SkipWithError("ended on the wrong item");
    doc->SetNodeText(count, last);
    state.SetLabel("target < 50 ms");
}

// The search of the stored texts alone, for a text no item holds.
void BM_SearchStoredTexts(benchmark::State& state)
{
    Editor& editor = TheEditor();
    const TextFinder finder(QStringLiteral("zzqx"), state.range(0) ? Qt::CaseSensitive : Qt::CaseInsensitive);
    for (auto _ : state)
        benchmark::DoNotOptimize(FindNodeHolding(editor.app->Document()->GetNodeList(), 1, finder));
}

// Replace with All of 10,000 matches, one in every tenth item, from the first item.
void BM_ReplaceAll(benchmark::State& state)
{
    Editor& editor = TheEditor();
    CQuillonDoc* doc = editor.app->Document();
    const int count = doc->GetNodeCount();
    CFindReplaceDlg& dialog = editor.Tree()->Find().Dialog();
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 1; i <= count; i += count / 10000)
            doc->SetNodeText(i, QStringLiteral("cat ") + doc->GetNodeText(i));
        editor.Tree()->SelectItem(editor.Tree()->ItemAt(1));
        dialog.m_strFind = QStringLiteral("cat ");
        dialog.m_strReplace = QString();
        dialog.m_bReplaceMode = true;
        dialog.m_bReplaceChosen = true;
        editor.app->MainFrame()->TextView()->m_bReplaceAll = true;
        state.ResumeTiming();
        editor.app->MainFrame()->SendCommand(cmd::ReplaceNext);
    }
    editor.app->MainFrame()->TextView()->m_bReplaceAll = false;
    dialog.m_bReplaceMode = false;
    if (doc->GetNodeText(1).startsWith(QStringLiteral("cat ")) || doc->GetNodeText(11).startsWith(QStringLiteral("cat ")))
        state.SkipWithError("not every match was replaced");
    state.SetLabel("target < 1000 ms");
}

// A minute of the same size nested as one chain: each item under the one before.
struct ChainEditor : Editor {
    ChainEditor()
        : Editor(MakeChainMinute())
    {
    }

    static NodeList MakeChainMinute()
    {
        NodeList list = MakeLargeMinute();
        for (qsizetype i = 0; i < list.size(); ++i) {
            list.at(i)->SetLevel(qint32(i + 1));
            list.at(i)->SetKind(i + 1 < list.size() ? CTreeNode::kHasSubItems : CTreeNode::kLeaf);
        }
        return list;
    }
};

// Expand all, then collapse all (timed apart), on the shown window: arg 0 the
// large minute, arg 1 the chain.
void BM_ExpandAll(benchmark::State& state)
{
    Editor& editor = state.range(0) == 0 ? static_cast<Editor&>(TheEditor()) : Kept<ChainEditor>();
    editor.app->MainFrame()->show();
    double collapseMs = 0;
    for (auto _ : state) {
        editor.app->MainFrame()->SendCommand(cmd::ExpandAll);
        QCoreApplication::processEvents();
        state.PauseTiming();
        QElapsedTimer clock;
        clock.start();
        editor.app->MainFrame()->SendCommand(cmd::CollapseAll);
        QCoreApplication::processEvents();
        collapseMs = std::max(collapseMs, double(clock.nsecsElapsed()) / 1e6);
        state.ResumeTiming();
    }
    state.counters["collapse_all_ms"] = collapseMs;
    state.SetLabel(state.range(0) == 0 ? "target < 200 ms" : "chain, target < 1000 ms");
}

// A recovery copy of the large minute, as the interval timer takes it while
// the user types: the time reported is what the UI thread spends (taking the
// snapshot and handing it over); the counters give the longest the event
// loop waited while the copy was written, and how long writing it took.
void BM_RecoveryCopy(benchmark::State& state)
{
    Editor& editor = TheEditor();
    RecoveryKeeper* keeper = editor.app->Recovery();
    double longestGapMs = 0;
    double writeMs = 0;
    for (auto _ : state) {
        editor.app->Document()->SetMinuteModified(true);
        QElapsedTimer clock;
        clock.start();
        keeper->WriteCopy();
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        // Typing goes on meanwhile: the loop turns as keys would arrive.
        QElapsedTimer gap;
        gap.start();
        while (keeper->IsWriting()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            longestGapMs = std::max(longestGapMs, double(gap.nsecsElapsed()) / 1e6);
            gap.restart();
            QThread::msleep(2);
        }
        writeMs = std::max(writeMs, double(clock.nsecsElapsed()) / 1e6);
    }
    editor.app->Document()->SetMinuteModified(false);
    state.counters["loop_gap_max_ms"] = longestGapMs;
    state.counters["copy_written_ms"] = writeMs;
}

BENCHMARK(BM_OpenMinute)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_InsertItem)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
BENCHMARK(BM_DeleteLeaf)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
BENCHMARK(BM_SelectionChange)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
BENCHMARK(BM_CutAndPasteBranch)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_UndoMove)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_DropBranch)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_SelectLongText)->ArgName("words")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_Find)->ArgName("last")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_SearchStoredTexts)->ArgName("case")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BM_ReplaceAll)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ExpandAll)->ArgName("chain")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_RecoveryCopy)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    RaiseStackLimit();
    return RunWidgetBenchmarks(argc, argv, [] { Editors().clear(); });
}
