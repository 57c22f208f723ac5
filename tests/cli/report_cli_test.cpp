#include "cli_run.h"
#include "storage/page_file.h"
#include "storage/page_record.h"
#include "test_support.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <sys/stat.h>

#include <gtest/gtest.h>

namespace lumavo {
namespace {

using test::CliRun;

CliRun runReportCli(const QStringList& args)
{
    return test::runCli(QStringList{"report"} + args);
}

QString pdfText(const QString& path, const QStringList& extra = {})
{
    const QString tool = QStandardPaths::findExecutable("pdftotext");
    QProcess process;
    process.start(tool, extra + QStringList{path, "-"});
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

class ReportCli : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(test::writeAll(dir.file("show.tlp"), "[LumavoProject]\nProjectName=SHOW.TLP\n"));
        for (int i = 0; i < 2; ++i) {
            Workspace ws;
            ws.page.line(1).text = QStringLiteral("First %1").arg(i);
            ws.page.line(3).bitmapFile = QStringLiteral("logo.bmp");
            RecordBytes bytes{};
            encodePageRecord(recordFromWorkspace(ws, QStringLiteral("00%1").arg(i)), bytes);
            ASSERT_TRUE(writePageFile(dir.file(QStringLiteral("SHOW.00%1").arg(i)), bytes, true).ok);
        }
    }
    test::TempDir dir;
};

TEST_F(ReportCli, WritesTheReportOfEveryPage)
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    const QString out = dir.file("report.pdf");
    const CliRun run = runReportCli({dir.file("show.tlp"), "--pdf", out});
    ASSERT_EQ(run.exitCode, 0) << run.stderrText.toStdString();
    const QString text = pdfText(out);
    EXPECT_TRUE(text.contains("SHOW.TLP Pages : 001"));
    EXPECT_TRUE(text.contains("First 0"));
    EXPECT_TRUE(text.contains("First 1"));
    EXPECT_TRUE(text.contains("BM File: logo.bmp"));
    EXPECT_TRUE(text.contains("Total Pages: 001"));
}

TEST_F(ReportCli, PageSizeNamesThePaper)
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    const QString out = dir.file("letter.pdf");
    ASSERT_EQ(runReportCli({dir.file("show.tlp"), "--pdf", out, "--page-size", "Letter"}).exitCode, 0);
    // Letter is 612 points wide.
    EXPECT_TRUE(pdfText(out, {"-bbox"}).contains("<page width=\"612.000000\""));
}

TEST_F(ReportCli, FailuresAndUsageErrorsHaveTheirExitCodes)
{
    const CliRun missing = runReportCli({dir.file("none.tlp"), "--pdf", dir.file("a.pdf")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.stderrText.contains("lumavo-cli: cannot read project"));
    EXPECT_FALSE(QFile::exists(dir.file("a.pdf")));

    const CliRun unwritable = runReportCli({dir.file("show.tlp"), "--pdf", dir.file("no/dir/a.pdf")});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_TRUE(unwritable.stderrText.contains("no/dir/a.pdf"));

    EXPECT_EQ(runReportCli({dir.file("show.tlp")}).exitCode, 2);
    EXPECT_EQ(runReportCli({"--pdf", dir.file("a.pdf")}).exitCode, 2);
    EXPECT_EQ(runReportCli({dir.file("show.tlp"), "--pdf", dir.file("a.pdf"), "--page-size", "Napkin"}).exitCode, 2);
    EXPECT_FALSE(QFile::exists(dir.file("a.pdf")));
}

TEST_F(ReportCli, PdfReplacedAFifo)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.file("fifo")).constData(), 0600), 0);
    const CliRun run = runReportCli({dir.file("show.tlp"), "--pdf", dir.file("fifo")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.stderrText.contains(dir.file("fifo") + ": it is a FIFO")) << qPrintable(run.stderrText);
    EXPECT_FALSE(QFileInfo(dir.file("fifo")).isFile());
}

} // namespace
} // namespace lumavo
