// Reading and writing a large minute, each measured against moving the same
// bytes without formatting (reading the file into memory; writing its bytes
// as durably as a save does), and the peak memory that reading takes.
//
// QUILLON_BENCH_DIR names the folder the files are made in.

#include "largeminute.h"
#include "recordingreporter.h"
#include "model/minutefile.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

QString g_minutePath;
QString g_writePath;
qint64 g_fileSize = 0;

void makeMinuteFile()
{
    const NodeList list = MakeLargeMinute();
    const MinuteFileResult result = WriteMinuteFile(g_minutePath, g_minutePath, list);
    if (!result.ok()) {
        std::fprintf(stderr, "cannot make the minute: %s\n", qPrintable(result.message()));
        std::exit(1);
    }
    g_fileSize = QFile(g_minutePath).size();
}

void BM_ReadFileIntoMemory(benchmark::State& state)
{
    for (auto _ : state) {
        QFile file(g_minutePath);
        file.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        QByteArray bytes(file.size(), Qt::Uninitialized);
        if (file.read(bytes.data(), bytes.size()) != bytes.size())
            state.SkipWithError("short read");
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(state.iterations() * g_fileSize);
}

void BM_ReadMinute(benchmark::State& state)
{
    for (auto _ : state) {
        MinuteReader reader;
        NodeList list;
        MinuteFileResult result = reader.Open(g_minutePath, g_minutePath);
        if (result.ok())
            result = reader.ReadInto(list);
        if (!result.ok())
            state.SkipWithError(qPrintable(result.message()));
        benchmark::DoNotOptimize(list.size());
        // Freeing the minute is not part of reading it.
        state.PauseTiming();
        list.clear();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * g_fileSize);
}

// Writing the file's bytes as they are, the same safe way a minute is saved:
// what the disk costs without any formatting.
void BM_WriteFileFromMemory(benchmark::State& state)
{
    QFile file(g_minutePath);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    for (auto _ : state) {
        SafeFileSink sink;
        sink.open(g_writePath, g_writePath, nullptr);
        sink.write(bytes.constData(), bytes.size());
        sink.commit();
    }
    state.SetBytesProcessed(state.iterations() * g_fileSize);
}

void BM_WriteMinute(benchmark::State& state)
{
    MinuteReader reader;
    NodeList list;
    reader.Open(g_minutePath, g_minutePath);
    reader.ReadInto(list);
    for (auto _ : state) {
        const MinuteFileResult result = WriteMinuteFile(g_writePath, g_writePath, list);
        if (!result.ok())
            state.SkipWithError(qPrintable(result.message()));
    }
    state.SetBytesProcessed(state.iterations() * g_fileSize);
}

BENCHMARK(BM_ReadFileIntoMemory)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_ReadMinute)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_WriteFileFromMemory)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_WriteMinute)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);


// A field of /proc/self/status, in KiB.
long statusKiB(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// Reads the minute in a fresh process, which prints how far its resident size
// rose above what it was before the read.
long peakGrowthKiB(const char* self)
{
    QProcess child;
    child.start(QString::fromLocal8Bit(self), {QStringLiteral("--peak-read"), g_minutePath});
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        return -1;
    return child.readAllStandardOutput().trimmed().toLong();
}

int peakReadMain(const QString& path)
{
    // Start the high-water mark afresh, so that start-up does not count.
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
    clear.close();
    const long before = statusKiB("VmRSS");
    MinuteReader reader;
    NodeList list;
    MinuteFileResult result = reader.Open(path, path);
    if (result.ok())
        result = reader.ReadInto(list);
    const long peak = statusKiB("VmHWM");
    std::printf("%ld\n", peak - before);
    return result.ok() && before >= 0 && peak >= 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && std::string(argv[1]) == "--peak-read")
        return peakReadMain(QString::fromLocal8Bit(argv[2]));

    benchmark::Initialize(&argc, argv);
    const QString base = qEnvironmentVariable("QUILLON_BENCH_DIR");
    QTemporaryDir dir(base.isEmpty() ? QDir::tempPath() + QStringLiteral("/quillon-bench-XXXXXX")
                                     : base + QStringLiteral("/quillon-bench-XXXXXX"));
    g_minutePath = dir.filePath(QStringLiteral("large.min"));
    g_writePath = dir.filePath(QStringLiteral("written.min"));
    makeMinuteFile();
    std::printf("minute: %d nodes, %.1f MB\n", LargeMinuteNodeCount(), g_fileSize / 1e6);

    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const double raw = reporter.seconds["BM_ReadFileIntoMemory/min_time:2.000/real_time"];
    const double read = reporter.seconds["BM_ReadMinute/min_time:2.000/real_time"];
    const double write = reporter.seconds["BM_WriteMinute/min_time:2.000/real_time"];
    const double rawWrite = reporter.seconds["BM_WriteFileFromMemory/min_time:2.000/real_time"];
    // Like with like: reading against reading the bytes, the durable save
    // (temporary file, sync, rename) against a durable write of the bytes.
    std::printf("\nspeed relative to the same bytes without formatting (at least 0.33 required):\n");
    if (raw > 0 && read > 0)
        std::printf("  read  %.2f  (against one read of the file into memory)\n", raw / read);
    if (rawWrite > 0 && write > 0)
        std::printf("  write %.2f  (against a durable write of the file's bytes from memory)\n", rawWrite / write);

    const long growth = peakGrowthKiB(argv[0]);
    if (growth >= 0) {
        std::printf("peak memory while reading: %.1f MB, %.2f times the file (below 3 required)\n",
                    growth * 1024.0 / 1e6, growth * 1024.0 / double(g_fileSize));
    }
    return 0;
}
