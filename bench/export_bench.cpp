// Rendering the large minute to text, RTF, HTML and Markdown files, measured against
// writing the same number of bytes as durably as an export does.
//
// QUILLON_BENCH_DIR names the folder the files are made in.

#include "export/markdownexport.h"
#include "export/minuteexport.h"
#include "largeminute.h"
#include "recordingreporter.h"
#include "platform/bytestream.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

NodeList g_minute;
QString g_outPath;
std::map<int, qint64> g_sizes; // bytes each kind renders to

// Markdown is not one of the renderer's kinds; it has a writer of its own.
constexpr int kMarkdown = 100;

const char* kindName(int kind)
{
    switch (kind) {
    case ExportText:
        return "text";
    case ExportRtf:
        return "rtf";
    case ExportHtml:
        return "html";
    case kMarkdown:
        return "markdown";
    default:
        return "?";
    }
}

void BM_Render(benchmark::State& state)
{
    const int kind = int(state.range(0));
    const CMinuteExport exporter(g_minute, nullptr);
    for (auto _ : state) {
        if (exporter.RenderToFile(kind, g_outPath, g_outPath, true, TextEncoding::Utf16))
            state.SkipWithError("cannot write the export");
    }
    g_sizes[kind] = QFile(g_outPath).size();
    state.SetBytesProcessed(state.iterations() * g_sizes[kind]);
    state.SetLabel(kindName(kind));
}

void BM_RenderMarkdown(benchmark::State& state)
{
    const MarkdownExport exporter(g_minute);
    for (auto _ : state) {
        if (exporter.RenderToFile(g_outPath, g_outPath, QStringLiteral("Large"), true))
            state.SkipWithError("cannot write the export");
    }
    g_sizes[kMarkdown] = QFile(g_outPath).size();
    state.SetBytesProcessed(state.iterations() * g_sizes[kMarkdown]);
    state.SetLabel(kindName(kMarkdown));
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

BENCHMARK(BM_Render)->Arg(ExportText)->Arg(ExportRtf)->Arg(ExportHtml)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_RenderMarkdown)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_PlainWrite)->Arg(ExportText)->Arg(ExportRtf)->Arg(ExportHtml)->Arg(kMarkdown)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_DurableWrite)->Arg(ExportText)->Arg(ExportRtf)->Arg(ExportHtml)->Arg(kMarkdown)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);


} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
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
    std::printf("\nexport speed relative to a durable write of the same bytes (at least 0.33 required):\n");
    for (const int kind : {int(ExportText), int(ExportRtf), int(ExportHtml), kMarkdown}) {
        const std::string suffix = "/" + std::to_string(kind) + "/min_time:2.000/real_time";
        const double render = kind == kMarkdown ? reporter.seconds["BM_RenderMarkdown/min_time:2.000/real_time"]
                                                : reporter.seconds["BM_Render" + suffix];
        const double durable = reporter.seconds["BM_DurableWrite" + suffix];
        const double plain = reporter.seconds["BM_PlainWrite" + suffix];
        if (render > 0 && durable > 0)
            std::printf("  %-8s %.2f  (%.1f MB; a plain write takes %.0f%% of the durable one)\n", kindName(kind), durable / render,
                        g_sizes[kind] / 1e6, plain > 0 ? 100 * plain / durable : 0.0);
    }
    return 0;
}
