// Rendering the large minute to text, RTF, HTML, Markdown and OPML files, measured against
// writing the same number of bytes as durably as an export does, and a PDF of its first
// 1,000 items.
//
// QUILLON_BENCH_DIR names the folder the files are made in.

#include "export/exportfile.h"
#include "export/minuteexport.h"
#include "largeminute.h"
#include "recordingreporter.h"
#include "platform/bytestream.h"

#include <QGuiApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>

namespace {

NodeList g_minute;
QString g_outPath;
std::map<int, qint64> g_sizes; // bytes each kind renders to

const char* kindName(int kind)
{
    switch (kind) {
    case ExportText:
        return "text";
    case ExportRtf:
        return "rtf";
    case ExportHtml:
        return "html";
    case ExportMarkdown:
        return "markdown";
    case ExportOpml:
        return "opml";
    default:
        return "?";
    }
}

void BM_Render(benchmark::State& state)
{
    const int kind = int(state.range(0));
    ExportSettings settings;
    settings.numbered = kind != ExportOpml; // an outline to exchange is never numbered
    settings.title = QStringLiteral("Large");
    for (auto _ : state) {
        if (WriteExportFile(g_minute, kind, g_outPath, g_outPath, settings))
            state.SkipWithError("cannot write the export");
    }
    g_sizes[kind] = QFile(g_outPath).size();
    state.SetBytesProcessed(state.iterations() * g_sizes[kind]);
    state.SetLabel(kindName(kind));
}

// A PDF of the first 1,000 items: laid out, paginated and written.
void BM_RenderPdf(benchmark::State& state)
{
    NodeList minute;
    for (qsizetype i = 0; i < std::min<qsizetype>(1000, g_minute.size()); ++i) {
        const CTreeNode& node = *g_minute.at(i);
        minute.append(std::make_unique<CTreeNode>(node.GetTitle(), node.GetText(), node.GetLevel(), node.GetKind()));
    }
    ExportSettings settings;
    settings.numbered = true;
    settings.title = QStringLiteral("Large");
    settings.date = QDate(2026, 12, 8);
    for (auto _ : state) {
        if (WriteExportFile(minute, ExportPdf, g_outPath, g_outPath, settings))
            state.SkipWithError("cannot write the export");
    }
    state.counters["items"] = double(minute.size());
    state.SetLabel("pdf, under 3 s required");
}

// The same number of bytes, already in memory, written with one call.
void BM_PlainWrite(benchmark::State& state)
{
    const int kind = int(state.range(0));
    const QByteArray bytes(g_sizes[kind], 'x');
    for (auto _ : state) {
        QFile file(g_outPath);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)
            || file.write(bytes) != bytes.size())
            state.SkipWithError("cannot write");
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
    state.SetLabel(kindName(kind));
}

// The same number of bytes written as durably as an export writes them:
// a temporary file, synced, then renamed over the target.
void BM_DurableWrite(benchmark::State& state)
{
    const int kind = int(state.range(0));
    const QByteArray bytes(g_sizes[kind], 'x');
    for (auto _ : state) {
        SafeFileSink sink;
        if (!sink.open(g_outPath, g_outPath, nullptr))
            state.SkipWithError("cannot write");
        sink.write(bytes.constData(), bytes.size());
        sink.commit();
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
    state.SetLabel(kindName(kind));
}

constexpr int kFileKinds[] = {ExportText, ExportRtf, ExportHtml, ExportMarkdown, ExportOpml};

void FileKinds(benchmark::internal::Benchmark* benchmark)
{
    for (const int kind : kFileKinds)
        benchmark->Arg(kind);
}

BENCHMARK(BM_Render)->Apply(FileKinds)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_PlainWrite)->Apply(FileKinds)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_DurableWrite)->Apply(FileKinds)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_RenderPdf)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);


} // namespace

int main(int argc, char** argv)
{
    // A PDF is laid out with fonts, which only a GUI application has.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    const QString base = qEnvironmentVariable("QUILLON_BENCH_DIR");
    QTemporaryDir dir((base.isEmpty() ? QDir::tempPath() : base) + QStringLiteral("/quillon-bench-XXXXXX"));
    g_outPath = dir.filePath(QStringLiteral("export.out"));
    g_minute = MakeLargeMinute();

    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    // An export file is written durably, so it is measured against a durable
    // write of its bytes; the plain write shows what the disk's sync costs.
    std::printf("\nexport speed relative to a durable and to a plain write of the same bytes (at least 0.33 of each required):\n");
    for (const int kind : kFileKinds) {
        const std::string suffix = "/" + std::to_string(kind) + "/min_time:2.000/real_time";
        const double render = reporter.seconds["BM_Render" + suffix];
        const double durable = reporter.seconds["BM_DurableWrite" + suffix];
        const double plain = reporter.seconds["BM_PlainWrite" + suffix];
        if (render > 0 && durable > 0)
            std::printf("  %-8s %.2f  (%.1f MB; against a plain write %.2f)\n", kindName(kind), durable / render,
                        g_sizes[kind] / 1e6, plain / render);
    }
    const double pdf = reporter.seconds["BM_RenderPdf/min_time:2.000/real_time"];
    if (pdf > 0)
        std::printf("  pdf of 1,000 items: %.2f s (under 3 s required)\n", pdf);
    return 0;
}
