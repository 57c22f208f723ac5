#include "cli_run.h"

#include <gtest/gtest.h>

namespace lumavo::test {
namespace {

TEST(CliMain, UsageErrorsExitWithTwo)
{
    EXPECT_EQ(runCli({}).exitCode, 2);
    const CliRun unknown = runCli({"dance"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.stderrText.contains("unknown command: dance"));
    const CliRun help = runCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.lines.value(0).startsWith("usage: lumavo-cli"));
}

TEST(CliMain, AFailureIsOneLineOnStderrEvenWithoutASession)
{
    const CliRun run = runCli({"page", "dump", "/nonexistent/SHOW.000"}, false);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.stderrText.count('\n'), 1) << qPrintable(run.stderrText);
    EXPECT_TRUE(run.stderrText.contains("/nonexistent/SHOW.000"));
}

} // namespace
} // namespace lumavo::test
