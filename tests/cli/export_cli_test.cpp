#include "cli_run.h"

#include <QDir>
#include <QFile>
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

} // namespace
} // namespace lumavo::test
