// Times the store's operations on a data file of 10,000 Key sequences and
// compares each with reading the same file's bytes once (the goal: within 5x).
// Run: build/bench/store/store_benchmark [benchmark options], for example
// --benchmark_repetitions=5; the data file is made in $TMPDIR. Changes are
// flushed to disk, so their wall time depends on the disk.

#include "store/SequenceRecord.h"
#include "store/SequenceStore.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <map>
#include <string>

using namespace tapwise;

namespace {

constexpr int Records = 10000;

QString descriptionOf(int n) {
    return QStringLiteral("Customer order %1 – Müller\r\nTypes one order into the form").arg(n);
}

Lines linesOf(int n) {
    return {{"ExcelSheetCol#A", "10"},
            {"{TAB}", "5"},
            {":Order " + QString::number(n), "10"},
            {"{TAB}", "5"},
            {"Ctrl+s", "100"},
            {"*Pause*check the total", "0"},
            {"[LeftClick]", "20"},
            {"{ENTER}", "50"}};
}

// The data file's bytes, made record by record in memory.
QByteArray sampleFile() {
    QByteArray file(4, '\0');
    writeInt32(file, 0, Records);
    for (int n = 1; n <= Records; ++n)
        file += EncodeRecord(descriptionOf(n), linesOf(n), {}).value();
    return file;
}

struct Fixture {
    QTemporaryDir dir;
    QByteArray bytes = sampleFile();
    SequenceStore store{dir.path()};

    Fixture() { restore(); }
    void restore() {
        QFile file(store.DataFilePath());
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(bytes);
    }
};

Fixture& fixture() {
    static Fixture shared;
    return shared;
}

void ReadFileBytes(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        QFile file(f.store.DataFilePath());
        file.open(QIODevice::ReadOnly);
        benchmark::DoNotOptimize(file.readAll());
    }
    state.SetBytesProcessed(state.iterations() * f.bytes.size());
}

void ListLoad(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(f.store.ScanSequences().value().size());
}

void FindByName(benchmark::State& state) {
    Fixture& f = fixture();
    const QString last = QStringLiteral("CUSTOMER ORDER %1 – MÜLLER").arg(Records);
    for (auto _ : state)
        benchmark::DoNotOptimize(f.store.ScanSequences(last).value());
}

// A name as long as 9,000 others, so that each of them is decoded and compared.
void FindByNameWorstCase(benchmark::State& state) {
    Fixture& f = fixture();
    const QString absent = QStringLiteral("Customer order 0000 – Müller");
    for (auto _ : state)
        benchmark::DoNotOptimize(f.store.ScanSequences(absent).value());
}

void ReadLastSequence(benchmark::State& state) {
    Fixture& f = fixture();
    const qint32 last =
        f.store.ScanSequences(descriptionOf(Records).section('\r', 0, 0)).value().value();
    for (auto _ : state)
        benchmark::DoNotOptimize(f.store.ReadSequence(last).value().lines.size());
}

// What any change costs at least: the file written anew, flushed and renamed.
void DurableRewrite(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(f.store.files().replace(f.store.DataFilePath(), f.bytes).ok());
}

void Append(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        benchmark::DoNotOptimize(f.store.AppendSequence(descriptionOf(0), linesOf(0)).value());
        state.PauseTiming();
        f.restore();
        state.ResumeTiming();
    }
}

void DeleteFirst(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        benchmark::DoNotOptimize(f.store.DeleteSequence(5).ok());
        state.PauseTiming();
        f.restore();
        state.ResumeTiming();
    }
}

BENCHMARK(ReadFileBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(ListLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(FindByName)->Unit(benchmark::kMillisecond);
BENCHMARK(FindByNameWorstCase)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadLastSequence)->Unit(benchmark::kMillisecond);
BENCHMARK(DurableRewrite)->Unit(benchmark::kMillisecond);
BENCHMARK(Append)->Unit(benchmark::kMillisecond);
BENCHMARK(DeleteFirst)->Unit(benchmark::kMillisecond);

// Prints the usual table and keeps each benchmark's time per operation.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> times;

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            // With repetitions, the median stands for the benchmark.
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
                times[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto base = reporter.times.find("ReadFileBytes");
    if (base == reporter.times.end())
        return 0;
    std::printf("\n%d records, %lld bytes; time per operation / reading the file once:\n", Records,
                static_cast<long long>(fixture().bytes.size()));
    for (const auto& [name, time] : reporter.times)
        std::printf("  %-18s %8.2fx\n", name.c_str(), time / base->second);
    benchmark::Shutdown();
    return 0;
}
