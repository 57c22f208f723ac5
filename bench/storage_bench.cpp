// Speed of the page store: loading and saving one page, counting the pages of a 1000-page project
// and deleting its first page (999 renames). Each engine figure runs next to a plain POSIX version
// of the same file work.
#include "platform/silent_prompter.h"
#include "storage/page_commands.h"
#include "storage/page_file.h"
#include "storage/project.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace lumavo;

RecordBytes sampleRecord()
{
    Workspace ws;
    ws.page.line(1).text = "Benchmark title";
    ws.stage.inPath(1).count = 500;
    for (int s = 0; s <= 500; ++s)
        ws.stage.inPath(1).points[static_cast<std::size_t>(s)] = {static_cast<std::uint16_t>(s), 100};
    RecordBytes bytes{};
    encodePageRecord(recordFromWorkspace(ws, "000"), bytes);
    return bytes;
}

void writeRaw(const QString& path, const RecordBytes& bytes)
{
    std::FILE* f = std::fopen(path.toLocal8Bit().constData(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

void makeProject(const QString& dir, int pages)
{
    const RecordBytes bytes = sampleRecord();
    for (int n = 0; n < pages; ++n)
        writeRaw(dir + "/SHOW." + pageNumberText(n), bytes);
}

Workspace projectWorkspace(const QString& dir)
{
    Workspace ws;
    ws.project.projectDir = dir + '/';
    ws.project.projectName = "SHOW.TLP";
    ws.project.pageNow = "000";
    return ws;
}

void BM_LoadPage(benchmark::State& state)
{
    QTemporaryDir dir;
    makeProject(dir.path(), 1);
    Workspace ws = projectWorkspace(dir.path());
    SilentPrompter prompter(Answer::Yes);
    for (auto _ : state) {
        const bool loaded = LoadPage(ws, ws.project.projectName, "000").loaded;
        benchmark::DoNotOptimize(loaded);
    }
}
BENCHMARK(BM_LoadPage)->Unit(benchmark::kMicrosecond);

void BM_LoadPageReference(benchmark::State& state)
{
    QTemporaryDir dir;
    makeProject(dir.path(), 1);
    const QByteArray path = (dir.path() + "/SHOW.000").toLocal8Bit();
    RecordBytes bytes{};
    for (auto _ : state) {
        struct stat info {};
        stat(path.constData(), &info);
        std::FILE* f = std::fopen(path.constData(), "rb");
        const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        benchmark::DoNotOptimize(got);
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_LoadPageReference)->Unit(benchmark::kMicrosecond);

void BM_SavePage(benchmark::State& state)
{
    QTemporaryDir dir(QDir::currentPath() + "/storage_bench-XXXXXX");
    makeProject(dir.path(), 1);
    Workspace ws = projectWorkspace(dir.path());
    SilentPrompter prompter(Answer::Yes);
    LoadPage(ws, ws.project.projectName, "000");
    for (auto _ : state) {
        const auto saved = SavePage(ws, prompter);
        benchmark::DoNotOptimize(saved.status);
    }
}
BENCHMARK(BM_SavePage)->Unit(benchmark::kMicrosecond);

// The same crash-safe write by hand: temporary file, write, fsync, rename.
void BM_SavePageReference(benchmark::State& state)
{
    QTemporaryDir dir(QDir::currentPath() + "/storage_bench-XXXXXX");
    const QByteArray path = (dir.path() + "/SHOW.000").toLocal8Bit();
    const QByteArray temp = path + ".tmp";
    const RecordBytes bytes = sampleRecord();
    for (auto _ : state) {
        const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        benchmark::DoNotOptimize(::write(fd, bytes.data(), bytes.size()));
        ::fsync(fd);
        ::close(fd);
        ::rename(temp.constData(), path.constData());
    }
}
BENCHMARK(BM_SavePageReference)->Unit(benchmark::kMicrosecond);

void BM_GetNumberOFPages(benchmark::State& state)
{
    QTemporaryDir dir;
    makeProject(dir.path(), kPageCount);
    Workspace ws = projectWorkspace(dir.path());
    for (auto _ : state)
        benchmark::DoNotOptimize(GetNumberOFPages(ws, "SHOW"));
}
BENCHMARK(BM_GetNumberOFPages)->Unit(benchmark::kMillisecond);

void BM_GetNumberOFPagesReference(benchmark::State& state)
{
    QTemporaryDir dir;
    makeProject(dir.path(), kPageCount);
    const QByteArray prefix = (dir.path() + "/SHOW.").toLocal8Bit();
    for (auto _ : state) {
        int last = -1;
        char name[4096];
        for (int n = 0; n < kPageCount; ++n) {
            std::snprintf(name, sizeof name, "%s%03d", prefix.constData(), n);
            struct stat info {};
            if (stat(name, &info) != 0)
                break;
            last = n;
        }
        benchmark::DoNotOptimize(last);
    }
}
BENCHMARK(BM_GetNumberOFPagesReference)->Unit(benchmark::kMillisecond);

void BM_DeletePage000(benchmark::State& state)
{
    SilentPrompter prompter(Answer::Yes);
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        makeProject(dir.path(), kPageCount);
        Workspace ws = projectWorkspace(dir.path());
        state.ResumeTiming();
        benchmark::DoNotOptimize(deletePage(ws, prompter));
        state.PauseTiming();
        dir.remove();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DeletePage000)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_DeletePage000Reference(benchmark::State& state)
{
    char from[4096];
    char to[4096];
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        makeProject(dir.path(), kPageCount);
        const QByteArray prefix = (dir.path() + "/SHOW.").toLocal8Bit();
        state.ResumeTiming();
        std::snprintf(from, sizeof from, "%s000", prefix.constData());
        ::unlink(from);
        for (int n = 1; n < kPageCount; ++n) {
            std::snprintf(from, sizeof from, "%s%03d", prefix.constData(), n);
            std::snprintf(to, sizeof to, "%s%03d", prefix.constData(), n - 1);
            ::rename(from, to);
        }
        state.PauseTiming();
        dir.remove();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DeletePage000Reference)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

BENCHMARK_MAIN();
