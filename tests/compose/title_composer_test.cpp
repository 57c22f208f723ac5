#include "platform/bmp_file.h"
#include <cstring>
#include "compose/title_composer.h"

#include "compose/effects.h"
#include "test_support.h"

#include <QSize>
#include <gtest/gtest.h>

namespace lumavo {
namespace {

constexpr Point kScreen{1024, 768};
constexpr Point kRest{100, 200};

class TitleComposer : public testing::Test {
protected:
    void SetUp() override { Canvas::setLogicalDpi(96); }

    static TitleLine textLine(const QString& text, int points)
    {
        TitleLine line;
        line.text = text;
        line.fontName = QStringLiteral("Arial");
        line.fontSize = points;
        line.fontColor = rgb(0, 255, 0);
        line.shadowColor = rgb(255, 255, 255);
        return line;
    }

    static ComposedTitle compose(const TitleLine& line, int n, bool align = false,
                                 ComposeFormats formats = {PixelFormat::Bits24, PixelFormat::Bits24},
                                 const QString& projectDir = QString())
    {
        return composeTitle(line, n, kRest, formats, align, projectDir, kScreen);
    }

    // The text's own cell in the line's font, measured on a fresh surface.
    static QSize textCell(const TitleLine& line)
    {
        Bitmap probe(1, 1);
        probe.canvas().font.name = line.fontName;
        probe.canvas().font.points = line.fontSize;
        return {probe.canvas().textWidth(line.text), probe.canvas().textHeight(line.text)};
    }
};

Rect boundsOfNonBlack(const Bitmap& bitmap)
{
    Rect r{bitmap.width(), bitmap.height(), 0, 0};
    for (int y = 1; y < bitmap.height() - 1; ++y)
        for (int x = 1; x < bitmap.width() - 1; ++x)
            if (bitmap.pixel(x, y) != kBlack)
                r = {std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 1), std::max(r.bottom, y + 1)};
    return r;
}

struct ShadowCase {
    int points;
    int offset;
};

class ShadowOffset : public TitleComposer, public testing::WithParamInterface<ShadowCase> {};

TEST_P(ShadowOffset, GrowsTheBitmapAndShiftsTheShadowRightAndDown)
{
    const ShadowCase c = GetParam();
    EXPECT_EQ(shadowOffset(c.points), c.offset);
    TitleLine plain = textLine(QStringLiteral("Hello"), c.points);
    TitleLine shadowed = plain;
    shadowed.shadowOn = true;
    const QSize cell = textCell(plain);

    const ComposedTitle withShadow = compose(shadowed, 2);
    ASSERT_TRUE(withShadow.ok);
    EXPECT_EQ(withShadow.bitmap.width(), cell.width() + c.offset);
    EXPECT_EQ(withShadow.bitmap.height(), cell.height() + c.offset);
    EXPECT_EQ(withShadow.position, kRest);

    const Rect text = boundsOfNonBlack(compose(plain, 2).bitmap);
    const Rect both = boundsOfNonBlack(withShadow.bitmap);
    EXPECT_EQ(both, (Rect{text.left, text.top, text.right + c.offset, text.bottom + c.offset}));
    // The text keeps its place on top: its top-left pixel is in the font colour.
    bool textOnTop = false;
    for (int x = text.left; x < text.right && !textOnTop; ++x)
        textOnTop = withShadow.bitmap.pixel(x, text.top) == shadowed.fontColor;
    EXPECT_TRUE(textOnTop);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ShadowOffset,
                         testing::Values(ShadowCase{15, 0}, ShadowCase{16, 1}, ShadowCase{60, 3},
                                         ShadowCase{100, 6}));

TEST_F(TitleComposer, LineOneLosesItsTopRow)
{
    TitleLine first = textLine(QStringLiteral("Hg"), 40);
    TitleLine second = first;
    const Bitmap one = compose(first, 1).bitmap;
    const Bitmap two = compose(second, 2).bitmap;
    ASSERT_EQ(one.width(), two.width());
    ASSERT_EQ(one.height(), two.height());
    const int w = one.width();
    const int h = one.height();
    for (int y = 1; y < h - 2; ++y)
        for (int x = 1; x < w - 1; ++x)
            ASSERT_EQ(one.pixel(x, y), two.pixel(x, y + 1)) << x << "," << y;
}

struct FrameCase {
    int line;
    bool align;
    Color frame;
};

class FrameColour : public TitleComposer, public testing::WithParamInterface<FrameCase> {};

TEST_P(FrameColour, OutlinesTheTitleAndLeavesTheInsideAsInPlayback)
{
    const FrameCase c = GetParam();
    TitleLine line = textLine(QStringLiteral("Title"), 30);
    TitleLine same = line;
    const Bitmap framed = compose(line, c.line, c.align).bitmap;
    const Bitmap playback = compose(same, c.line, false).bitmap;
    const int w = framed.width();
    const int h = framed.height();
    ASSERT_GT(w, 2);
    for (int x = 0; x < w; ++x) {
        EXPECT_EQ(framed.pixel(x, 0), c.frame);
        EXPECT_EQ(framed.pixel(x, h - 1), c.frame);
    }
    for (int y = 0; y < h; ++y) {
        EXPECT_EQ(framed.pixel(0, y), c.frame);
        EXPECT_EQ(framed.pixel(w - 1, y), c.frame);
    }
    for (int y = 1; y < h - 1; ++y)
        for (int x = 1; x < w - 1; ++x)
            ASSERT_EQ(framed.pixel(x, y), playback.pixel(x, y));
}

INSTANTIATE_TEST_SUITE_P(Lines, FrameColour,
                         testing::Values(FrameCase{1, false, kBlack}, FrameCase{2, false, kBlack},
                                         FrameCase{3, false, kBlack}, FrameCase{1, true, rgb(255, 0, 0)},
                                         FrameCase{2, true, rgb(255, 255, 255)},
                                         FrameCase{3, true, rgb(0, 0, 255)}));

TEST_F(TitleComposer, PictureHasItsOuterRingReplacedByTheFrame)
{
    test::TempDir dir;
    Bitmap picture(6, 5, PixelFormat::Bits24);
    picture.canvas().brush.color = rgb(10, 200, 30);
    picture.canvas().fillRect(Rect{0, 0, 6, 5});
    ASSERT_TRUE(picture.saveToFile(dir.file("logo.bmp")));

    TitleLine line = textLine(QString(), 40);
    line.bitmapFile = dir.file("logo.bmp");
    const ComposedTitle title = compose(line, 3, true);
    ASSERT_TRUE(title.ok);
    EXPECT_EQ(title.position, kRest);
    ASSERT_EQ(title.bitmap.width(), 6);
    ASSERT_EQ(title.bitmap.height(), 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool ring = x == 0 || y == 0 || x == 5 || y == 4;
            EXPECT_EQ(title.bitmap.pixel(x, y), ring ? rgb(0, 0, 255) : rgb(10, 200, 30)) << x << "," << y;
        }
    EXPECT_EQ(line.bitmapFile, dir.file("logo.bmp"));
}

TEST_F(TitleComposer, StoredWindowsPicturePathIsFoundInTheProjectDirectory)
{
    test::TempDir dir;
    Bitmap picture(4, 4, PixelFormat::Bits24);
    picture.canvas().brush.color = kWhite;
    picture.canvas().fillRect(Rect{0, 0, 4, 4});
    ASSERT_TRUE(picture.saveToFile(dir.file("Logo.bmp")));
    TitleLine line = textLine(QString(), 40);
    line.bitmapFile = QStringLiteral("C:\\TITLES\\LOGO.BMP");
    const ComposedTitle title = compose(line, 1, false, {PixelFormat::Bits24, PixelFormat::Bits24},
                                        dir.dirWithSeparator());
    ASSERT_TRUE(title.ok);
    EXPECT_EQ(title.bitmap.pixel(1, 1), kWhite);
}

TEST_F(TitleComposer, PictureOfLineTwoAloneTakesTheTitleFormat)
{
    test::TempDir dir;
    ASSERT_TRUE(Bitmap(8, 8, PixelFormat::Bits24).saveToFile(dir.file("p.bmp")));
    const ComposeFormats formats{PixelFormat::Bits16, PixelFormat::Bits24};
    for (int n : {1, 2, 3}) {
        TitleLine line = textLine(QString(), 40);
        line.bitmapFile = dir.file("p.bmp");
        const ComposedTitle title = compose(line, n, false, formats);
        ASSERT_TRUE(title.ok);
        EXPECT_EQ(title.bitmap.pixelFormat(), n == 2 ? PixelFormat::Bits16 : PixelFormat::Bits24) << n;
    }
}

TEST_F(TitleComposer, PictureThatFailsToComposeClearedTheStoredFileName)
{
    test::TempDir dir;
    const QString name = dir.file("notes.bmp");
    ASSERT_TRUE(test::writeAll(name, "these are notes, not a bitmap"));
    TitleLine line = textLine(QStringLiteral("fallback"), 40);
    line.bitmapFile = name;
    const ComposedTitle title = compose(line, 2);
    EXPECT_FALSE(title.ok);
    EXPECT_EQ(title.errorMessage, (QStringLiteral("Error opening file: ") + name).left(100));
    EXPECT_TRUE(title.bitmap.isEmpty());
    EXPECT_EQ(title.position, (Point{kScreen.x + 1, kScreen.y + 1}));
    // The page keeps its picture: a later save stores the name as it was.
    EXPECT_EQ(line.bitmapFile, name);
    EXPECT_FALSE(compose(line, 2).ok);

    // A top-down BMP (negative height) composes.
    Bitmap red(4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            red.setPixel(x, y, rgb(255, 0, 0));
    QByteArray bytes = bmp_file::encode(red);
    const std::int32_t topDown = -3;
    std::memcpy(bytes.data() + 22, &topDown, 4);
    ASSERT_TRUE(test::writeAll(name, bytes));
    EXPECT_TRUE(compose(line, 2).ok);
}

TEST_F(TitleComposer, ErrorMessageIsCutToAHundredCharacters)
{
    const QString longName = QStringLiteral("/") + QString(150, QLatin1Char('x')) + QStringLiteral(".bmp");
    EXPECT_EQ(pictureErrorMessage(longName).size(), 100);
    EXPECT_TRUE(pictureErrorMessage(longName).startsWith(QStringLiteral("Error opening file: /xxx")));
}

TEST_F(TitleComposer, MissingPictureFileComposesTheText)
{
    TitleLine line = textLine(QStringLiteral("Text"), 40);
    line.bitmapFile = QStringLiteral("/nowhere/gone.bmp");
    const ComposedTitle title = compose(line, 1);
    EXPECT_TRUE(title.ok);
    EXPECT_EQ(title.bitmap.width(), textCell(line).width());
    EXPECT_EQ(line.bitmapFile, QStringLiteral("/nowhere/gone.bmp"));
}

TEST_F(TitleComposer, NegativeStoredSizeGivesNoShadowOffset)
{
    EXPECT_EQ(shadowOffset(-40), 0);
    TitleLine line = textLine(QStringLiteral("Odd"), -40);
    line.shadowOn = true;
    const ComposedTitle title = compose(line, 2);
    EXPECT_TRUE(title.ok);
    EXPECT_EQ(title.bitmap.width(), textCell(line).width());
}

TEST_F(TitleComposer, HugeFontIsRefusedWithTheMemoryMessageInsteadOfExhaustingMemory)
{
    TitleLine line = textLine(QStringLiteral("Hello World"), 5000);
    const ComposedTitle title = compose(line, 1);
    EXPECT_FALSE(title.ok) << title.bitmap.width() << "x" << title.bitmap.height();
    EXPECT_TRUE(title.errorMessage.startsWith(QStringLiteral("error in TBigByteArray.create")));
    EXPECT_TRUE(title.bitmap.isEmpty());
}

// Every non-black pixel inside the frame of row y has the colour rowColour(y).
template <typename RowColour>
void expectRowsRecoloured(const Bitmap& bitmap, RowColour rowColour)
{
    int recoloured = 0;
    for (int y = 1; y < bitmap.height() - 1; ++y)
        for (int x = 1; x < bitmap.width() - 1; ++x)
            if (bitmap.pixel(x, y) != kBlack) {
                ASSERT_EQ(bitmap.pixel(x, y), rowColour(y)) << x << "," << y;
                ++recoloured;
            }
    EXPECT_GT(recoloured, 0);
}

TEST_F(TitleComposer, Gradient24RecoloursShadowAndTextFromStartToFontColour)
{
    TitleLine line = textLine(QStringLiteral("Ramp"), 60);
    line.shadowOn = true;
    line.gradOn = true;
    line.gradColor = rgb(255, 0, 0);
    const ComposedTitle title = compose(line, 2, false, {PixelFormat::Bits24, PixelFormat::Bits24});
    ASSERT_TRUE(title.ok);
    const int last = title.bitmap.height() - 1;
    expectRowsRecoloured(title.bitmap, [&](int y) {
        const RGBTRIPLE t = gradientRowColor(line.gradColor, line.fontColor, y, last);
        return rgb(t.rgbtRed, t.rgbtGreen, t.rgbtBlue);
    });
}

TEST_F(TitleComposer, Gradient32RampsFromBlackToTheFontColourInThirtyTwoBits)
{
    TitleLine line = textLine(QStringLiteral("Ramp"), 60);
    line.fontColor = kWhite;
    line.gradOn = true;
    line.gradColor = rgb(255, 0, 0); // not used by the 32-bit form
    const ComposedTitle title = compose(line, 3, false, {PixelFormat::Bits32, PixelFormat::Bits32});
    ASSERT_TRUE(title.ok);
    EXPECT_EQ(title.bitmap.pixelFormat(), PixelFormat::Bits32);
    const int last = title.bitmap.height() - 1;
    expectRowsRecoloured(title.bitmap, [&](int y) {
        const RGBQUAD q = gradient32RowColor(kWhite, y, last);
        return rgb(q.rgbRed, q.rgbGreen, q.rgbBlue);
    });
}

TEST_F(TitleComposer, PictureGradientIn32BitsEndsAtTheLineFontColour)
{
    test::TempDir dir;
    Bitmap picture(3, 5, PixelFormat::Bits24);
    picture.canvas().brush.color = kWhite;
    picture.canvas().fillRect(Rect{0, 0, 3, 5});
    ASSERT_TRUE(picture.saveToFile(dir.file("w.bmp")));
    TitleLine line = textLine(QString(), 40);
    line.bitmapFile = dir.file("w.bmp");
    line.fontColor = rgb(0, 0, 200);
    line.gradOn = true;
    const ComposedTitle title = compose(line, 1, false, {PixelFormat::Bits32, PixelFormat::Bits32});
    ASSERT_TRUE(title.ok);
    EXPECT_EQ(title.bitmap.pixel(1, 2), rgb(0, 0, 100)); // row 2 of 0..4: half of 200
}

TEST_F(TitleComposer, FilterRunsBeforeTheGradientAndBothReturnToTheTitleFormat)
{
    TitleLine both = textLine(QStringLiteral("Order"), 40);
    both.archOn = true;
    both.gradOn = true;
    both.gradColor = rgb(0, 0, 255);
    TitleLine gradientOnly = both;
    gradientOnly.archOn = false;
    const ComposeFormats formats{PixelFormat::Bits16, PixelFormat::Bits24};
    const ComposedTitle filtered = compose(both, 2, false, formats);
    const ComposedTitle plain = compose(gradientOnly, 2, false, formats);
    ASSERT_TRUE(filtered.ok);
    EXPECT_EQ(filtered.bitmap.pixelFormat(), PixelFormat::Bits16);

    // The gradient came last: one colour per row over every non-black pixel, including the pixels
    // the filter lit up beside the glyphs.
    Bitmap reference(1, filtered.bitmap.height(), PixelFormat::Bits16);
    const int last = filtered.bitmap.height() - 1;
    expectRowsRecoloured(filtered.bitmap, [&](int y) {
        const RGBTRIPLE t = gradientRowColor(both.gradColor, both.fontColor, y, last);
        reference.setPixel(0, y, rgb(t.rgbtRed, t.rgbtGreen, t.rgbtBlue)); // as 16 bits keep it
        return reference.pixel(0, y);
    });
    EXPECT_FALSE(filtered.bitmap.samePixels(plain.bitmap));
}

} // namespace
} // namespace lumavo
