// The project report walks every page of a project: load, then lay out three columns. The plain
// reference reads and decodes the same page files without laying anything out, the floor the
// report's walk can approach. Grouping digits for the memory figures (redone every second) is
// measured against QLocale's own grouping.
#include "bench_main.h"
#include "platform/prompter.h"
#include "platform/silent_prompter.h"
#include "storage/page_file.h"
#include "storage/page_record.h"
#include "storage/project.h"
#include "storage/report.h"
#include "storage/system_probe_format.h"

#include <QGuiApplication>
#include <QLocale>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>

namespace {

using namespace lumavo;

// A project of `pages` pages in a temporary directory.
struct BenchProject {
    explicit BenchProject(int pages)
    {
        Workspace source;
        for (int n = 1; n <= kLineCount; ++n)
            source.page.line(n).text = QStringLiteral("Title line %1").arg(n);
        for (int i = 0; i < pages; ++i) {
            RecordBytes bytes{};
            encodePageRecord(recordFromWorkspace(source, pageNumberText(i)), bytes);
            writePageFile(pageFilePath(dir(), "BENCH", pageNumberText(i)), bytes, true);
        }
    }
    QString dir() const { return temp.path() + '/'; }
    QTemporaryDir temp;
};

constexpr int kPages = 200;

void BM_ReportWalk(benchmark::State& state)
{
    BenchProject project(kPages);
    SilentPrompter prompter(Answer::No);
    for (auto _ : state) {
        Workspace ws;
        ws.project.projectDir = project.dir();
        ws.project.projectName = QStringLiteral("BENCH.TLP");
        RecordingReportSurface surface(2400, 3300, 50);
        const ReportOutcome outcome = writeProjectReport(ws, prompter, surface);
        benchmark::DoNotOptimize(outcome.sheets);
    }
    state.SetItemsProcessed(state.iterations() * kPages);
}
BENCHMARK(BM_ReportWalk)->Unit(benchmark::kMillisecond);

void BM_ReadPagesReference(benchmark::State& state)
{
    BenchProject project(kPages);
    for (auto _ : state) {
        int total = 0;
        for (int i = 0; i < kPages; ++i) {
            RecordBytes bytes;
            if (readPageFile(pageFilePath(project.dir(), "BENCH", pageNumberText(i)), bytes) == PageReadStatus::Ok)
                total += decodePageRecord(bytes).line(1).fontSize;
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * kPages);
}
BENCHMARK(BM_ReadPagesReference)->Unit(benchmark::kMillisecond);

void BM_GroupedNumber(benchmark::State& state)
{
    std::uint64_t value = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(groupedNumber(value));
        value = value * 7 + 13;
    }
}
BENCHMARK(BM_GroupedNumber);

void BM_GroupedNumberQLocaleReference(benchmark::State& state)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    std::uint64_t value = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(english.toString(static_cast<qulonglong>(value)));
        value = value * 7 + 13;
    }
}
BENCHMARK(BM_GroupedNumberQLocaleReference);

} // namespace

int main(int argc, char** argv)
{
    return lumavo::bench::runWithGuiApplication(argc, argv);
}
