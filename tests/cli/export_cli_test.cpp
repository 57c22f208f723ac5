#include "cli_run.h"

#include "platform/silent_prompter.h"
#include "storage/page_file.h"

#include <QDir>
#include <QFile>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>

namespace lumavo::test {
namespace {

// The demo project, copied to a fresh directory.
struct DemoCopy {
    TempDir dir;
    DemoCopy()
    {
        const QDir demo(QStringLiteral(LUMAVO_SOURCE_DIR "/examples/demo"));
        for (const QString& name : demo.entryList(QDir::Files))
            QFile::copy(demo.filePath(name), dir.file(name));
    }
    QString project() const { return dir.file("DEMO.tlp"); }
    QStringList entries() const
    {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
};

TEST(ExportCli, ExportsAPageToAFileAndSaysNothingWhenStderrIsNoTerminal)
{
    DemoCopy demo;
    const CliRun run = runCli({"export", demo.project(), "--out", demo.dir.file("p.mov"), "--page", "001",
                               "--size", "64x36", "--fps", "25"});
    EXPECT_EQ(run.exitCode, 0) << qPrintable(run.stderrText);
    EXPECT_TRUE(run.stderrText.isEmpty()) << qPrintable(run.stderrText);
    EXPECT_GT(QFile(demo.dir.file("p.mov")).size(), 0);
}

TEST(ExportCli, BadValuesExitWithOneAndUsageErrorsWithTwo)
{
    DemoCopy demo;
    const QStringList before = demo.entries();
    struct Case {
        QStringList extra;
        int code;
        const char* says;
    };
    const Case cases[] = {
        {{"--size", "65x36"}, 1, "bad frame size"},
        {{"--size", "big"}, 1, "bad --size"},
        {{"--fps", "61"}, 1, "bad --fps"},
        {{"--passes", "0"}, 1, "passes"},
        {{"--page", "1"}, 1, "bad page number"},
        {{"--page", "001", "--all"}, 2, "usage"},
        {{"--colour"}, 2, "usage"},
    };
    for (const Case& c : cases) {
        const CliRun run = runCli(QStringList{"export", demo.project(), "--out", demo.dir.file("x.mp4")} + c.extra);
        EXPECT_EQ(run.exitCode, c.code) << qPrintable(c.extra.join(' '));
        EXPECT_EQ(run.stderrText.count('\n'), 1) << qPrintable(run.stderrText);
        EXPECT_TRUE(run.stderrText.contains(c.says)) << qPrintable(run.stderrText);
    }
    const CliRun unknown = runCli({"export", demo.project(), "--out", demo.dir.file("x.avi")});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_TRUE(unknown.stderrText.contains("unknown export format"));
    const CliRun noFolder = runCli({"export", demo.project(), "--out", demo.dir.file("no/x.mp4"), "--size", "64x36"});
    EXPECT_EQ(noFolder.exitCode, 1);
    EXPECT_EQ(demo.entries(), before);
}

TEST(ExportCli, PassesAndAnOlderSequenceNeedTheirOwnWords)
{
    DemoCopy demo;
    const QStringList base{"export", demo.project(), "--size", "64x36", "--fps", "25"};
    const CliRun onePage = runCli(base + QStringList{"--out", demo.dir.file("x.mp4"), "--passes", "2"});
    EXPECT_EQ(onePage.exitCode, 1);
    EXPECT_TRUE(onePage.stderrText.contains("add --all")) << qPrintable(onePage.stderrText);

    const QStringList sequence = base + QStringList{"--out", demo.dir.file("f%03d.png"), "--page", "001"};
    ASSERT_EQ(runCli(sequence).exitCode, 0);
    const CliRun again = runCli(sequence);
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(again.stderrText.contains("already holds an exported sequence")) << qPrintable(again.stderrText);
    EXPECT_EQ(runCli(sequence + QStringList{"--replace"}).exitCode, 0);
}

// A project of one page that pauses for an hour, so an export of it runs until it is stopped.
QString longProject(const TempDir& dir)
{
    writeAll(dir.file("LONG.tlp"), "[LumavoProject]\nProjectName=LONG.tlp\n");
    Workspace ws;
    ws.project.projectDir = dir.path() + "/";
    ws.project.projectName = "LONG.tlp";
    TitleLine& line = ws.page.line(1);
    line.text = "Long";
    line.titleValid = true;
    line.inDir = 13;
    line.outDir = 13;
    ws.page.pauseSecs = 3600;
    SilentPrompter prompter;
    SavePage(ws, prompter);
    return dir.file("LONG.tlp");
}

TEST(ExportCli, InterruptedOrTerminatedExportLeftHiddenPartialFiles)
{
    TempDir dir;
    const QString project = longProject(dir);
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    const struct {
        const char* out;
        int signal;
        int exitCode;
    } cases[] = {{"long.mov", SIGTERM, 143}, {"f%05d.png", SIGINT, 130}};
    for (const auto& c : cases) {
        QProcess process;
        process.start(QStringLiteral(LUMAVO_CLI),
                      {"export", project, "--out", dir.file(c.out), "--size", "64x36", "--fps", "25"});
        ASSERT_TRUE(process.waitForStarted());
        // Until the export has begun writing its hidden files.
        for (int i = 0; i < 600 && QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot) == before; ++i)
            QThread::msleep(50);
        ::kill(static_cast<pid_t>(process.processId()), c.signal);
        ASSERT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << c.out;
        EXPECT_EQ(process.exitCode(), c.exitCode) << c.out;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before) << c.out;
    }
}

} // namespace
} // namespace lumavo::test
