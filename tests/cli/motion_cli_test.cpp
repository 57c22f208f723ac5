#include "cli_run.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace lumavo {
namespace {

using test::CliRun;

CliRun runMotionCli(const QStringList& args)
{
    return test::runCli(QStringList{"motion"} + args);
}

const QStringList kBase = {"--size", "200x50", "--rest", "100,300", "--screen", "1024x768"};

TEST(MotionCli, PrintsOneLinePerStepWithTheWaitInNanoseconds)
{
    const CliRun run = runMotionCli(QStringList{"in", "--code", "5", "--delay", "1000"} + kBase);
    ASSERT_EQ(run.exitCode, 0) << run.stderrText.toStdString();
    ASSERT_EQ(run.lines.size(), 301);
    EXPECT_EQ(run.lines.front(), "blit -200 300 1000000");
    EXPECT_EQ(run.lines.back(), "blit 100 300 1000000");

    const CliRun unroll = runMotionCli(QStringList{"in", "--code", "10"} + kBase);
    EXPECT_EQ(unroll.lines.front(), "stretch 300 300 300 350 0");
    const CliRun fade = runMotionCli(QStringList{"out", "--code", "12", "--fade", "20"} + kBase);
    EXPECT_EQ(fade.lines.front(), "fade 32 4000");
    EXPECT_EQ(fade.lines.size(), 33);
    const CliRun easy = runMotionCli(QStringList{"in", "--code", "1", "--delay", "2", "--easy"} + kBase);
    EXPECT_EQ(easy.lines.back(), "blit 100 300 200000");
}

TEST(MotionCli, PathFileCountIsItsLengthMinusOne)
{
    test::TempDir dir;
    ASSERT_TRUE(test::writeAll(dir.file("p.json"), "[[1,2],[2,3],[3,4],[4,4]]"));
    const CliRun in = runMotionCli(QStringList{"in", "--code", "11", "--path", dir.file("p.json")} + kBase);
    EXPECT_EQ(in.lines, (QStringList{"blit 1 2 0", "blit 2 3 0", "blit 3 4 0"}));
    const CliRun out = runMotionCli(QStringList{"out", "--code", "11", "--path", dir.file("p.json")} + kBase);
    EXPECT_EQ(out.lines, (QStringList{"blit 1 2 0", "blit 2 3 0"}));
    const CliRun none = runMotionCli(QStringList{"in", "--code", "11"} + kBase);
    EXPECT_EQ(none.exitCode, 0);
    EXPECT_TRUE(none.lines.isEmpty());
}

TEST(MotionCli, ExitCodes)
{
    test::TempDir dir;
    ASSERT_TRUE(test::writeAll(dir.file("bad.json"), "[[1,2],[70000,3]]"));
    ASSERT_TRUE(test::writeAll(dir.file("cut.json"), "[[1,2],"));
    struct Case {
        QStringList args;
        int exitCode;
    };
    const Case cases[] = {
        {QStringList{"in", "--code", "14"} + kBase, 0},
        {QStringList{"sideways", "--code", "5"} + kBase, 2},
        {QStringList{"in"} + kBase, 2},
        {QStringList{"in", "--code", "5", "--bogus", "1"} + kBase, 2},
        {QStringList{"in", "--code", "5", "--delay"}, 2},
        {QStringList{"in", "--code", "five"} + kBase, 1},
        {QStringList{"in", "--code", "5", "--delay", "6001"} + kBase, 1},
        {QStringList{"in", "--code", "5", "--size", "20by5", "--rest", "1,1", "--screen", "9x9"}, 1},
        {QStringList{"in", "--code", "11", "--path", dir.file("bad.json")} + kBase, 1},
        {QStringList{"in", "--code", "11", "--path", dir.file("cut.json")} + kBase, 1},
        {QStringList{"in", "--code", "11", "--path", dir.file("none.json")} + kBase, 1},
    };
    for (const Case& c : cases) {
        const CliRun run = runMotionCli(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args.join(' ').toStdString();
        if (c.exitCode != 0) {
            EXPECT_TRUE(run.lines.isEmpty());
        }
        if (c.exitCode == 1) {
            EXPECT_EQ(run.stderrText.count("lumavo-cli:"), 1);
        }
    }
}

} // namespace
} // namespace lumavo
