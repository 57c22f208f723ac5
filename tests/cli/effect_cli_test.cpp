#include "cli_run.h"
#include "compose/effects.h"
#include "platform/bitmap.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace lumavo {
namespace {

using test::CliRun;

CliRun runEffectCli(const QStringList& args)
{
    return test::runCli(QStringList{"effect"} + args);
}

// A small picture with a few colours on black, so both effects change something.
Bitmap samplePicture(PixelFormat format)
{
    Bitmap bitmap(9, 7, format);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x)
            bitmap.setPixel(x, y, (x + y) % 3 == 0 ? kBlack : rgb(static_cast<std::uint8_t>(x * 28), 128, 200));
    return bitmap;
}

TEST(EffectCli, FilterWritesWhatFilter24Gives)
{
    test::TempDir dir;
    const Bitmap picture = samplePicture(PixelFormat::Bits24);
    ASSERT_TRUE(picture.saveToFile(dir.file("in.bmp")));
    const CliRun run = runEffectCli({"filter", dir.file("in.bmp"), dir.file("out.bmp")});
    ASSERT_EQ(run.exitCode, 0) << run.stderrText.toStdString();

    Bitmap expected = picture;
    ASSERT_TRUE(Filter24(expected));
    Bitmap written;
    ASSERT_TRUE(written.loadFromFile(dir.file("out.bmp")));
    EXPECT_EQ(written.pixelFormat(), PixelFormat::Bits24);
    EXPECT_TRUE(written.samePixels(expected));
}

TEST(EffectCli, Gradient32EndsAtTheEndColourAndKeeps32Bits)
{
    test::TempDir dir;
    const Bitmap picture = samplePicture(PixelFormat::Bits24);
    ASSERT_TRUE(picture.saveToFile(dir.file("in.png")));
    const CliRun run = runEffectCli({"gradient", dir.file("in.png"), dir.file("out.bmp"), "--start", "0x0000FF",
                                     "--end", "0xFF8000", "--bits", "32"});
    ASSERT_EQ(run.exitCode, 0) << run.stderrText.toStdString();

    Bitmap expected = picture;
    expected.setPixelFormat(PixelFormat::Bits32);
    expected.canvas().font.color = 0xFF8000;
    ASSERT_TRUE(Gradient32(expected));
    Bitmap written;
    ASSERT_TRUE(written.loadFromFile(dir.file("out.bmp")));
    EXPECT_EQ(written.pixelFormat(), PixelFormat::Bits32);
    EXPECT_TRUE(written.samePixels(expected));
}

TEST(EffectCli, Gradient24UsesBothColours)
{
    test::TempDir dir;
    const Bitmap picture = samplePicture(PixelFormat::Bits24);
    ASSERT_TRUE(picture.saveToFile(dir.file("in.bmp")));
    const CliRun run = runEffectCli(
        {"gradient", dir.file("in.bmp"), dir.file("out.bmp"), "--start", "0x0000FF", "--end", "0xFF8000"});
    ASSERT_EQ(run.exitCode, 0) << run.stderrText.toStdString();
    Bitmap expected = picture;
    ASSERT_TRUE(Gradient24(expected, 0x0000FF, 0xFF8000));
    Bitmap written;
    ASSERT_TRUE(written.loadFromFile(dir.file("out.bmp")));
    EXPECT_TRUE(written.samePixels(expected));
}

TEST(EffectCli, FileThatIsNoPictureFailsWithOneLineAndWritesNothing)
{
    test::TempDir dir;
    ASSERT_TRUE(test::writeAll(dir.file("bad.bmp"), "BM this is not a bitmap"));
    const CliRun run = runEffectCli({"filter", dir.file("bad.bmp"), dir.file("out.bmp")});
    EXPECT_EQ(run.exitCode, 1);
    // Qt may add its own warnings; the command's own report is one line naming the file.
    const QStringList own = run.stderrText.split('\n').filter(QStringLiteral("lumavo-cli:"));
    ASSERT_EQ(own.size(), 1) << run.stderrText.toStdString();
    EXPECT_TRUE(own.front().contains("bad.bmp"));
    EXPECT_FALSE(QFile::exists(dir.file("out.bmp")));
}

TEST(EffectCli, BadValuesFailAndUsageErrorsExitTwo)
{
    test::TempDir dir;
    ASSERT_TRUE(samplePicture(PixelFormat::Bits24).saveToFile(dir.file("in.bmp")));
    const QString in = dir.file("in.bmp");
    const QString out = dir.file("out.bmp");
    EXPECT_EQ(runEffectCli({"filter", in, out, "--bits", "16"}).exitCode, 1);
    EXPECT_EQ(runEffectCli({"gradient", in, out, "--start", "0x1000000", "--end", "0"}).exitCode, 1);
    EXPECT_EQ(runEffectCli({"gradient", in, out, "--start", "red", "--end", "0"}).exitCode, 1);
    EXPECT_EQ(runEffectCli({"filter", dir.file("missing.bmp"), out}).exitCode, 1);
    EXPECT_EQ(runEffectCli({"filter", in}).exitCode, 2);
    EXPECT_EQ(runEffectCli({"gradient", in, out, "--start", "0"}).exitCode, 2);
    EXPECT_EQ(runEffectCli({"blur", in, out}).exitCode, 2);
    EXPECT_EQ(runEffectCli({"filter", in, out, "--bits"}).exitCode, 2);
    EXPECT_FALSE(QFile::exists(out));
}

} // namespace
} // namespace lumavo
