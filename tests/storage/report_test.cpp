#include "storage/report.h"

#include "scripted_prompter.h"
#include "storage/page_file.h"
#include "storage/page_record.h"
#include "storage/project.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace lumavo {
namespace {

using test::ScriptedPrompter;
using test::TempDir;

// A project "DEMO.TLP" with pages 000..count-1; page i's line n reads "P<i>L<n>".
class ReportTest : public ::testing::Test {
protected:
    void writeProject(int count)
    {
        ASSERT_TRUE(test::writeAll(dir.file("demo.tlp"), "[LumavoProject]\nProjectName=DEMO.TLP\n"));
        for (int i = 0; i < count; ++i) {
            Workspace page;
            for (int n = 1; n <= kLineCount; ++n) {
                page.page.line(n).text = QStringLiteral("P%1L%2").arg(i).arg(n);
                page.page.line(n).fontName = n == 2 ? QStringLiteral("Courier") : QStringLiteral("Arial");
                page.page.line(n).fontSize = 10 * n + i;
                page.page.line(n).shadowOn = n == 1;
                page.page.line(n).bitmapFile = n == 3 ? QStringLiteral("pic%1.bmp").arg(i) : QString();
            }
            writePage(page, i);
        }
    }

    void writePage(const Workspace& page, int i)
    {
        RecordBytes bytes{};
        encodePageRecord(recordFromWorkspace(page, pageNumberText(i)), bytes);
        ASSERT_TRUE(writePageFile(pageFilePath(dir.dirWithSeparator(), "DEMO", pageNumberText(i)), bytes, true).ok);
    }

    void openProject()
    {
        ASSERT_TRUE(OpenProject(ws, dir.file("demo.tlp")).projectFileRead);
        ASSERT_TRUE(prompter.messages.empty());
    }

    const RecordingReportSurface::Text* at(const RecordingReportSurface& s, int sheet, int x, int y)
    {
        for (const auto& t : s.texts())
            if (t.sheet == sheet && t.x == x && t.y == y)
                return &t;
        return nullptr;
    }

    TempDir dir;
    Workspace ws;
    ScriptedPrompter prompter;
};

TEST_F(ReportTest, BlocksColumnsSheetBreakAndFooterFollowTheGeometry)
{
    writeProject(3);
    openProject();
    RecordingReportSurface surface(2400, 1000, 20);
    const ReportOutcome outcome = writeProjectReport(ws, prompter, surface);

    ASSERT_EQ(outcome.status, ReportStatus::Printed);
    EXPECT_EQ(surface.jobTitle(), "TLP PROJECT");
    EXPECT_TRUE(surface.ended());
    const auto* header = at(surface, 1, 30, 10);
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->text, "DEMO.TLP Pages : 002");
    EXPECT_EQ(header->face, "Default");

    // Block of page 000: rows 60..160 in three columns at Q = 600.
    ASSERT_NE(at(surface, 1, 600, 60), nullptr);
    EXPECT_EQ(at(surface, 1, 600, 60)->text, "Page: 000");
    const QStringList separators = {"----- 1 ----", "----- 2 ----", "----- 3 ----"};
    for (int n = 1; n <= 3; ++n) {
        const int x = 600 * n;
        ASSERT_NE(at(surface, 1, x, 80), nullptr) << n;
        EXPECT_EQ(at(surface, 1, x, 80)->text, separators[n - 1]);
        EXPECT_EQ(at(surface, 1, x, 100)->text, QStringLiteral("P0L%1").arg(n));
        EXPECT_EQ(at(surface, 1, x, 100)->face, n == 2 ? "Courier" : "Arial");
        EXPECT_EQ(at(surface, 1, x, 120)->text, QStringLiteral("Font Size : %1").arg(10 * n));
        EXPECT_EQ(at(surface, 1, x, 120)->face, "Arial");
        EXPECT_EQ(at(surface, 1, x, 140)->text, n == 1 ? "Shadow On" : "Shadow Off");
        EXPECT_EQ(at(surface, 1, x, 160)->text, n == 3 ? "BM File: pic0.bmp" : "BM File: ");
    }
    // The next block starts at 310, so its page row is at 330.
    ASSERT_NE(at(surface, 1, 600, 330), nullptr);
    EXPECT_EQ(at(surface, 1, 600, 330)->text, "Page: 001");
    // Page 002's block ends with y = 850 > 800: sheet number, new sheet, header in Arial.
    EXPECT_EQ(at(surface, 1, 600, 600)->text, "Page: 002");
    ASSERT_NE(at(surface, 1, 2200, 900), nullptr);
    EXPECT_EQ(at(surface, 1, 2200, 900)->text, "1");
    ASSERT_NE(at(surface, 2, 30, 10), nullptr);
    EXPECT_EQ(at(surface, 2, 30, 10)->text, "DEMO.TLP Pages : 002");
    EXPECT_EQ(at(surface, 2, 30, 10)->face, "Arial");
    // Footer on the last sheet, which carries no sheet number.
    EXPECT_EQ(at(surface, 2, 10, 920)->text, "Pixel Pg Height 1000");
    EXPECT_EQ(at(surface, 2, 10, 940)->text, "Pixel Pg Width 2400");
    EXPECT_EQ(at(surface, 2, 10, 960)->text, "fh 20");
    EXPECT_EQ(at(surface, 2, 10, 980)->text, "Total Pages: 002");
    EXPECT_EQ(at(surface, 2, 2200, 900), nullptr);
    EXPECT_EQ(outcome.sheets, 2);
    for (const auto& t : surface.texts())
        EXPECT_EQ(t.points, 10) << t.text.toStdString();

    // The editor holds the last page afterwards.
    EXPECT_EQ(ws.project.pageNow, "002");
    EXPECT_EQ(ws.project.pageIndex, 2);
    EXPECT_EQ(ws.page.line(1).text, "P2L1");
}

TEST_F(ReportTest, EmptyTitleLineStillPrintsItsFiveRows)
{
    writeProject(1);
    Workspace page;
    page.page.line(1).text = "only";
    page.page.line(3).text = "third";
    writePage(page, 0);
    openProject();
    RecordingReportSurface surface(2400, 1000, 20);
    ASSERT_EQ(writeProjectReport(ws, prompter, surface).status, ReportStatus::Printed);

    int rows = 0;
    for (const auto& t : surface.texts())
        if (t.x == 1200)
            ++rows;
    EXPECT_EQ(rows, 5);
    ASSERT_NE(at(surface, 1, 1200, 100), nullptr);
    EXPECT_EQ(at(surface, 1, 1200, 100)->text, "");
    EXPECT_EQ(at(surface, 1, 10, 980)->text, "Total Pages: 000");
}

TEST_F(ReportTest, LongBitmapNameIsPrintedInFull)
{
    Workspace page;
    const QString name = QString(76, 'b') + ".bmp";
    page.page.line(1).bitmapFile = name;
    writeProject(0);
    writePage(page, 0);
    openProject();
    RecordingReportSurface surface(2400, 1000, 20);
    writeProjectReport(ws, prompter, surface);
    ASSERT_NE(at(surface, 1, 600, 160), nullptr);
    EXPECT_EQ(at(surface, 1, 600, 160)->text, "BM File: " + name);
}

TEST_F(ReportTest, ProjectWithoutPageZeroPrintsOneBlockOfTheEditorFields)
{
    writeProject(0);
    openProject();
    ws.page.line(2).text = "held";
    RecordingReportSurface surface(2400, 1000, 20);
    ASSERT_EQ(writeProjectReport(ws, prompter, surface).status, ReportStatus::Printed);
    EXPECT_EQ(surface.find("DEMO.TLP Pages : ")->text, "DEMO.TLP Pages : NEW");
    EXPECT_EQ(at(surface, 1, 1200, 100)->text, "held");
    EXPECT_EQ(surface.find("Page: ")->text, "Page: 000");
    EXPECT_EQ(surface.find("Total Pages: ")->text, "Total Pages: 000");
    EXPECT_EQ(at(surface, 1, 600, 330), nullptr);
}

TEST_F(ReportTest, UnsavedEditsAreOfferedForSavingAndCancelPrintsNothing)
{
    writeProject(2);
    openProject();
    ws.page.line(1).text = "edited";
    ws.editor.pageModified = true;
    prompter.answers = {Answer::Cancel};
    RecordingReportSurface cancelled(2400, 1000, 20);
    EXPECT_EQ(writeProjectReport(ws, prompter, cancelled).status, ReportStatus::Cancelled);
    EXPECT_EQ(prompter.confirmations, QStringList{"Save current page?"});
    EXPECT_FALSE(cancelled.begun());
    EXPECT_EQ(ws.page.line(1).text, "edited");

    prompter.answers = {Answer::Yes};
    RecordingReportSurface saved(2400, 1000, 20);
    ASSERT_EQ(writeProjectReport(ws, prompter, saved).status, ReportStatus::Printed);
    EXPECT_EQ(at(saved, 1, 600, 100)->text, "edited");
}

TEST_F(ReportTest, CorruptPageIsReportedAndPrintedWithTheFieldsHeld)
{
    writeProject(2);
    ASSERT_TRUE(test::writeAll(dir.file("DEMO.001"), "short"));
    openProject();
    RecordingReportSurface surface(2400, 1000, 20);
    const ReportOutcome outcome = writeProjectReport(ws, prompter, surface);
    ASSERT_EQ(outcome.status, ReportStatus::Printed);
    ASSERT_EQ(outcome.notices.size(), 1u);
    EXPECT_TRUE(outcome.notices[0].error.startsWith("Error opening (possible older file structure) "));
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(at(surface, 1, 600, 370)->text, "P0L1");
}

TEST_F(ReportTest, PdfReportReadsBackWithEveryPageAndColumn)
{
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    writeProject(12);
    openProject();
    const QString out = dir.file("report.pdf");
    const ReportOutcome outcome = writeProjectReportPdf(ws, prompter, out, QPageSize(QPageSize::A4));
    ASSERT_EQ(outcome.status, ReportStatus::Printed) << outcome.detail.toStdString();
    EXPECT_GT(outcome.sheets, 1);

    QProcess process;
    process.start(pdftotext, {"-layout", out, "-"});
    ASSERT_TRUE(process.waitForFinished(60000));
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    EXPECT_TRUE(text.contains("DEMO.TLP Pages : 011"));
    for (int i = 0; i < 12; ++i) {
        EXPECT_TRUE(text.contains(QStringLiteral("Page: %1").arg(pageNumberText(i)))) << i;
        for (int n = 1; n <= 3; ++n)
            EXPECT_TRUE(text.contains(QStringLiteral("P%1L%2").arg(i).arg(n))) << i << " " << n;
        EXPECT_TRUE(text.contains(QStringLiteral("BM File: pic%1.bmp").arg(i))) << i;
    }
    EXPECT_TRUE(text.contains("Total Pages: 011"));
    // A4 less two 10 mm margins is 190 mm, about 2244 device units at 300 dpi.
    const auto width = QRegularExpression("Pixel Pg Width (\\d+)").match(text);
    ASSERT_TRUE(width.hasMatch());
    EXPECT_NEAR(width.captured(1).toInt(), 2244, 2);
    EXPECT_EQ(text.count('\f'), outcome.sheets);
}

TEST_F(ReportTest, PdfThatCannotBeWrittenLeavesNothingBehind)
{
    writeProject(1);
    openProject();
    const QString out = dir.file("missing/report.pdf");
    const ReportOutcome outcome = writeProjectReportPdf(ws, prompter, out, QPageSize(QPageSize::A4));
    EXPECT_EQ(outcome.status, ReportStatus::SurfaceFailed);
    EXPECT_FALSE(outcome.detail.isEmpty());
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(ReportTest, CancelledPdfKeepsTheExistingFile)
{
    writeProject(1);
    openProject();
    const QString out = dir.file("report.pdf");
    ASSERT_TRUE(test::writeAll(out, "old"));
    ws.editor.pageModified = true;
    prompter.answers = {Answer::Cancel};
    EXPECT_EQ(writeProjectReportPdf(ws, prompter, out, QPageSize(QPageSize::A4)).status, ReportStatus::Cancelled);
    EXPECT_EQ(test::readAll(out), "old");
}

TEST(ReportPageSize, NamesAreMatchedWithoutCase)
{
    ASSERT_TRUE(reportPageSize("a4").has_value());
    EXPECT_EQ(reportPageSize("a4")->id(), QPageSize::A4);
    EXPECT_EQ(reportPageSize("Letter")->id(), QPageSize::Letter);
    EXPECT_EQ(reportPageSize("A3")->id(), QPageSize::A3);
    EXPECT_FALSE(reportPageSize("Napkin").has_value());
    EXPECT_FALSE(reportPageSize("").has_value());
}

TEST(ReportLastPage, NewCountsAsZero)
{
    EXPECT_EQ(lastPageValue("NEW"), 0);
    EXPECT_EQ(lastPageValue("000"), 0);
    EXPECT_EQ(lastPageValue("017"), 17);
    EXPECT_EQ(lastPageValue("999"), 999);
}

} // namespace
} // namespace lumavo

namespace lumavo {
namespace {

TEST(ReportPdfPaths, DefaultIsTheProjectBaseBesideItAndMemoryGoesNextToIt)
{
    Workspace ws;
    ws.project.projectDir = "/projects/show/";
    ws.project.projectName = "show.tlp";
    EXPECT_EQ(defaultReportPdfPath(ws), "/projects/show/SHOW.pdf");
    ws.project.projectName.clear();
    EXPECT_EQ(defaultReportPdfPath(ws), "/projects/show/LUMAVO.pdf");
    ws.project.projectDir.clear();
    EXPECT_TRUE(defaultReportPdfPath(ws).startsWith(QDir::homePath()));
    EXPECT_EQ(memoryPrintoutPdfPath("/tmp/out/report.pdf"), "/tmp/out/report-memory.pdf");
    EXPECT_EQ(memoryPrintoutPdfPath("/tmp/out/report"), "/tmp/out/report-memory.pdf");
}

} // namespace
} // namespace lumavo
