// The editor on a large minute, offscreen: opening it (tree filled, first
// item selected, its text shown), and inserting, deleting and selecting items.
//
// QUILLON_BENCH_NODES changes the size of the minute (100,000 by default).

#include "app/quillonapp.h"
#include "editor/mainframe.h"
#include "editor/minuteview.h"
#include "framework/commandids.h"
#include "framework/doctemplate.h"
#include "framework/scripteduiservice.h"
#include "largeminute.h"
#include "model/minutefile.h"
#include "model/quillondoc.h"
#include "platform/inputpanel.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

namespace {

struct Editor {
    QTemporaryDir dir;
    ScriptedUiService ui;
    TestInputPanel panel;
    std::unique_ptr<CQuillonApp> app;
    QString minute;

    Editor()
    {
        minute = dir.filePath(QStringLiteral("large.min"));
        const NodeList list = MakeLargeMinute();
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
    CMinuteView* Tree() const { return app->MainFrame()->TreeView(); }
};

Editor& TheEditor()
{
    static Editor editor;
    return editor;
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

BENCHMARK(BM_OpenMinute)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_InsertItem)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
BENCHMARK(BM_DeleteLeaf)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
BENCHMARK(BM_SelectionChange)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    TheEditor();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
