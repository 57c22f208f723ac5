#include "cli_run.h"
#include "compose/title_composer.h"
#include "platform/canvas.h"
#include "storage/page_file.h"
#include "storage/page_record.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace lumavo {
namespace {

using test::CliRun;

CliRun runComposeCli(const QStringList& args)
{
    return test::runCli(QStringList{"compose"} + args);
}

// A project "SHOW" with page 000 (empty) and page 001, whose lines are given by the test.
class ComposeCli : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(test::writeAll(dir.file("show.tlp"), "[LumavoProject]\nProjectName=SHOW.TLP\n"));
        writePage("000", Workspace{});
        page.page.line(2).text = QStringLiteral("Hello");
        page.page.line(2).fontSize = 30;
        page.page.line(2).fontColor = rgb(255, 200, 0);
        page.page.line(2).archOn = true;
        page.page.line(2).gradOn = true;
        page.page.line(2).gradColor = rgb(0, 0, 255);
        page.stage.restOf(2) = Point{10, 20};
    }

    void writePage(const QString& number, const Workspace& ws)
    {
        RecordBytes bytes{};
        encodePageRecord(recordFromWorkspace(ws, number), bytes);
        ASSERT_TRUE(writePageFile(dir.file("SHOW." + number), bytes, true).ok);
    }

    // What the command should produce for line n of `page`, composed here with the same inputs.
    Bitmap expected(int n, bool align, PixelFormat format)
    {
        Workspace loaded;
        applyRecordToWorkspace(decodePageRecord([&] {
                                   RecordBytes bytes{};
                                   encodePageRecord(recordFromWorkspace(page, "001"), bytes);
                                   return bytes;
                               }()),
                               loaded);
        Canvas::setLogicalDpi(96);
        return composeTitle(loaded.page.line(n), n, loaded.stage.restOf(n), {format, format}, align,
                            dir.dirWithSeparator(), Point{0, 0})
            .bitmap;
    }

    test::TempDir dir;
    Workspace page;
};

TEST_F(ComposeCli, WritesTheComposedLineForPlaybackAndForAlignment)
{
    writePage("001", page);
    for (const bool align : {false, true}) {
        const QString out = dir.file(align ? "align.bmp" : "play.bmp");
        QStringList args{dir.file("show.tlp"), "--page", "001", "--line", "2", "--out", out};
        if (align)
            args << "--align";
        const CliRun run = runComposeCli(args);
        ASSERT_EQ(run.exitCode, 0) << run.stderrText.toStdString();
        Bitmap written;
        ASSERT_TRUE(written.loadFromFile(out));
        EXPECT_EQ(written.pixelFormat(), PixelFormat::Bits24);
        EXPECT_TRUE(written.samePixels(expected(2, align, PixelFormat::Bits24)));
        EXPECT_EQ(written.pixel(0, 0), align ? kWhite : kBlack);
    }
}

TEST_F(ComposeCli, ThirtyTwoBitsUseTheThirtyTwoBitEffects)
{
    writePage("001", page);
    const QString out = dir.file("t.bmp");
    const CliRun run = runComposeCli(
        {dir.file("show.tlp"), "--page", "001", "--line", "2", "--out", out, "--bits", "32"});
    ASSERT_EQ(run.exitCode, 0) << run.stderrText.toStdString();
    Bitmap written;
    ASSERT_TRUE(written.loadFromFile(out));
    EXPECT_EQ(written.pixelFormat(), PixelFormat::Bits32);
    EXPECT_TRUE(written.samePixels(expected(2, false, PixelFormat::Bits32)));
}

TEST_F(ComposeCli, MissingPageEmptyLineAndBrokenPictureFailWithoutOutput)
{
    page.page.line(3).bitmapFile = dir.file("broken.bmp");
    ASSERT_TRUE(test::writeAll(dir.file("broken.bmp"), "BM not really"));
    writePage("001", page);
    ASSERT_TRUE(test::writeAll(dir.file("SHOW.002"), QByteArray(100, '\0'))); // cut short
    const QString out = dir.file("o.bmp");
    const QString project = dir.file("show.tlp");

    EXPECT_EQ(runComposeCli({project, "--page", "005", "--line", "1", "--out", out}).exitCode, 1);
    EXPECT_EQ(runComposeCli({project, "--page", "002", "--line", "1", "--out", out}).exitCode, 1);
    EXPECT_EQ(runComposeCli({project, "--page", "001", "--line", "1", "--out", out}).exitCode, 1);
    const CliRun broken = runComposeCli({project, "--page", "001", "--line", "3", "--out", out});
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_TRUE(broken.stderrText.contains("Error opening file: ")) << broken.stderrText.toStdString();
    EXPECT_EQ(runComposeCli({dir.file("none.tlp"), "--page", "001", "--line", "2", "--out", out}).exitCode, 1);
    EXPECT_EQ(runComposeCli({project, "--page", "1", "--line", "2", "--out", out}).exitCode, 1);
    EXPECT_EQ(runComposeCli({project, "--page", "001", "--line", "4", "--out", out}).exitCode, 1);
    EXPECT_EQ(runComposeCli({project, "--page", "001", "--out", out}).exitCode, 2);
    EXPECT_EQ(runComposeCli({project, "--page", "001", "--line", "2", "--out", out, "--frame"}).exitCode, 2);
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(ComposeCli, RowFillsThePlaceholdersFromTheDataFile)
{
    ASSERT_TRUE(test::writeAll(dir.file("show.tlp"), "[LumavoProject]\nProjectName=SHOW.TLP\nDataFile=guests.csv\n"));
    ASSERT_TRUE(test::writeAll(dir.file("guests.csv"), "Name\nAnn\nHello\n"));
    page.page.line(2).text = QStringLiteral("{{Name}}");
    writePage("001", page);
    const QString out = dir.file("row.bmp");
    const QString project = dir.file("show.tlp");
    const CliRun run = runComposeCli({project, "--page", "001", "--line", "2", "--out", out, "--row", "2"});
    ASSERT_EQ(run.exitCode, 0) << run.stderrText.toStdString();
    Bitmap written;
    ASSERT_TRUE(written.loadFromFile(out));
    page.page.line(2).text = QStringLiteral("Hello");   // what row 2 says
    EXPECT_TRUE(written.samePixels(expected(2, false, PixelFormat::Bits24)));

    EXPECT_EQ(runComposeCli({project, "--page", "001", "--line", "2", "--out", out, "--row", "3"}).exitCode, 1);
    EXPECT_EQ(runComposeCli({project, "--page", "001", "--line", "2", "--out", out, "--row", "0"}).exitCode, 1);
}

} // namespace
} // namespace lumavo
