#include "compose/ui/effects_window.h"

#include "compose/effects.h"
#include "compose_window_fixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QToolButton>

namespace lumavo {
namespace {

constexpr Color kFont = rgb(10, 20, 30);
constexpr Color kGrad = rgb(40, 50, 60);

class EffectsWindow : public test::ComposeWindowTest {
protected:
    EffectsWindow()
    {
        ws.editor.titleNum = 2;
        TitleLine& line = ws.page.line(2);
        line.text = QStringLiteral("Sample");
        line.fontSize = 30;
        line.fontColor = kFont;
        line.gradColor = kGrad;
        line.gradOn = true;
    }

    QLineEdit* edit(int k) { return window.findChild<QLineEdit*>(QStringLiteral("edit%1").arg(k)); }
    QSlider* slider() { return window.findChild<QSlider*>(QStringLiteral("TrackBar1")); }
    QToolButton* toggle() { return window.findChild<QToolButton*>(QStringLiteral("SpeedButton1")); }
    void click(const char* name) { window.findChild<QPushButton*>(QString::fromLatin1(name))->click(); }

    QStringList editTexts()
    {
        QStringList texts;
        for (int k = 1; k <= 6; ++k)
            texts << edit(k)->text();
        return texts;
    }

    // Every non-black pixel of the sample's row y.
    void expectSampleRow(int y, Color expected)
    {
        int seen = 0;
        for (int x = 0; x < window.sample().width(); ++x)
            if (window.sample().pixel(x, y) != kBlack) {
                ASSERT_EQ(window.sample().pixel(x, y), expected & 0xFFFFFF) << x << "," << y;
                ++seen;
            }
        EXPECT_GT(seen, 0) << "row " << y;
    }

    Tefxctr window{context};
};

struct SliderCase {
    int position;
    QStringList edits;
};

class EffectsSlider : public EffectsWindow, public testing::WithParamInterface<SliderCase> {};

TEST_P(EffectsSlider, WritesTheColourPairAndRedrawsTheSample)
{
    const SliderCase c = GetParam();
    window.show();
    slider()->setValue(c.position == 0 ? 1 : 0);
    slider()->setValue(c.position);
    EXPECT_EQ(editTexts(), c.edits);
    const Color end = rgb(c.edits[0].toInt(), c.edits[1].toInt(), c.edits[2].toInt());
    const Color start = rgb(c.edits[3].toInt(), c.edits[4].toInt(), c.edits[5].toInt());
    EXPECT_EQ(window.endColor(), end | kPaletteRelative);
    EXPECT_EQ(window.startColor(), start | kPaletteRelative);
    // The sample ramps from the start colour in its top row to the end colour in its bottom row.
    const int last = window.sample().height() - 1;
    const RGBTRIPLE mid = gradientRowColor(start, end, last / 2, last);
    expectSampleRow(last / 2, rgb(mid.rgbtRed, mid.rgbtGreen, mid.rgbtBlue));
}

INSTANTIATE_TEST_SUITE_P(Positions, EffectsSlider,
                         testing::Values(SliderCase{0, {"0", "255", "0", "0", "0", "255"}},
                                         SliderCase{255, {"255", "0", "0", "0", "255", "0"}},
                                         SliderCase{256, {"254", "1", "0", "1", "0", "254"}},
                                         SliderCase{510, {"0", "255", "0", "255", "0", "0"}},
                                         SliderCase{765, {"0", "0", "255", "0", "255", "0"}}));

TEST_F(EffectsWindow, ShowingFillsTheEditsAndDrawsThePlainText)
{
    window.show();
    EXPECT_EQ(editTexts(), (QStringList{"10", "20", "30", "40", "50", "60"}));
    EXPECT_EQ(window.sample().pixelFormat(), PixelFormat::Bits24);
    EXPECT_EQ(window.sample().width(), 248);
    EXPECT_GT(window.sample().height(), 20);
    bool plainText = false;
    for (int y = 0; y < window.sample().height() && !plainText; ++y)
        for (int x = 0; x < window.sample().width() && !plainText; ++x)
            plainText = window.sample().pixel(x, y) == kFont;
    EXPECT_TRUE(plainText);
    EXPECT_TRUE(toggle()->isChecked());
    EXPECT_EQ(toggle()->text(), QStringLiteral("Gradient On"));
}

TEST_F(EffectsWindow, NumberAbove255IsHeldTo255ThenTheSampleIsDrawn)
{
    window.show();
    edit(5)->selectAll();
    QTest::keyClicks(edit(5), QStringLiteral("300"));
    EXPECT_EQ(edit(5)->text(), QStringLiteral("255"));
    EXPECT_EQ(window.startColor(), rgb(40, 255, 60) | kPaletteRelative);
    const int last = window.sample().height() - 1;
    const RGBTRIPLE mid = gradientRowColor(rgb(40, 255, 60), kFont, last / 2, last);
    expectSampleRow(last / 2, rgb(mid.rgbtRed, mid.rgbtGreen, mid.rgbtBlue));
}

TEST_F(EffectsWindow, OkWithoutChangesWritesThePagesOwnColoursFlaggedPaletteRelative)
{
    window.show();
    click("BitBtn1");
    const TitleLine& line = ws.page.line(2);
    EXPECT_EQ(line.fontColor, kFont | kPaletteRelative);
    EXPECT_EQ(line.gradColor, kGrad | kPaletteRelative);
    EXPECT_TRUE(line.gradOn);
    EXPECT_EQ(window.result(), QDialog::Accepted);
}

TEST_F(EffectsWindow, OkWritesTheSliderColoursAndTheToggle)
{
    window.show();
    slider()->setValue(510);
    toggle()->click();
    click("BitBtn1");
    const TitleLine& line = ws.page.line(2);
    EXPECT_EQ(line.fontColor, rgb(0, 255, 0) | kPaletteRelative);
    EXPECT_EQ(line.gradColor, rgb(255, 0, 0) | kPaletteRelative);
    EXPECT_FALSE(line.gradOn);
}

TEST_F(EffectsWindow, GradientOffThenCancelKeepsThePageButTellsTheEditor)
{
    std::vector<bool> toggles;
    QObject::connect(&window, &Tefxctr::gradientToggleChanged, [&](bool down) { toggles.push_back(down); });
    window.show();
    slider()->setValue(300);
    toggle()->click();
    EXPECT_EQ(toggle()->text(), QStringLiteral("Gradient Off"));
    click("BitBtn2");
    ASSERT_FALSE(toggles.empty());
    EXPECT_FALSE(toggles.back());
    const TitleLine& line = ws.page.line(2);
    EXPECT_TRUE(line.gradOn);
    EXPECT_EQ(line.fontColor, kFont);
    EXPECT_EQ(line.gradColor, kGrad);
    EXPECT_EQ(window.result(), QDialog::Rejected);
}

TEST_F(EffectsWindow, LineNumberOutOfRangeWritesNothing)
{
    window.show();
    ws.editor.titleNum = 0;
    slider()->setValue(700);
    click("BitBtn1");
    EXPECT_EQ(ws.page.line(2).fontColor, kFont);
    EXPECT_EQ(ws.page.line(1).fontColor, TitleLine{}.fontColor);
}

} // namespace
} // namespace lumavo
