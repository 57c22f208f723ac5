#include "playback/leaders.h"

#include "platform/bitmap.h"
#include "playback/page_player.h"
#include "scripted_prompter.h"
#include "test_stage.h"

#include <QSet>
#include <gtest/gtest.h>

namespace lumavo {
namespace {

using namespace std::chrono_literals;

Bitmap blackStage(int w, int h)
{
    Bitmap b(w, h, PixelFormat::Bits32);
    b.canvas().brush.color = kBlack;
    b.canvas().fillRect({0, 0, w, h});
    return b;
}

TEST(ColorBars, GeometryAndColoursOn1024)
{
    Bitmap stage = blackStage(1024, 768);
    drawColorBars(stage.canvas(), {1024, 768});
    const Color bars[] = {rgb(255, 255, 255), rgb(255, 255, 0), rgb(0, 255, 255), rgb(0, 255, 0),
                          rgb(255, 0, 255),   rgb(0, 0, 255),   rgb(255, 0, 0)};
    for (int k = 0; k < 7; ++k) {
        EXPECT_EQ(stage.pixel(k * 128 + 64, 300), bars[k]) << k;
        EXPECT_EQ(stage.pixel(k * 128, 300), kBlack) << k;   // outlined with the black pen
    }
    const Color blocks[] = {rgb(128, 0, 0),   rgb(0, 128, 0),   rgb(128, 128, 0), rgb(0, 0, 128),
                            rgb(128, 0, 128), rgb(0, 128, 128), rgb(128, 128, 128)};
    for (int k = 0; k < 7; ++k)
        EXPECT_EQ(stage.pixel(7 * 128 + 60, k * 76 + 30), blocks[k]) << k;
    // The silver block carries a black cross-hatch: a hatch row is black, rows between are silver.
    int silver = 0, black = 0;
    for (int y = 7 * 76 + 1; y < 700; ++y)
        (stage.pixel(7 * 128 + 61, y) == rgb(192, 192, 192) ? silver : black) += 1;
    EXPECT_GT(silver, 100);
    EXPECT_GT(black, 10);
    // Grey strip: 16-pixel steps of k * 255 / 32 up to x = 512, white beyond.
    for (int k = 1; k < 32; ++k) {
        const auto v = static_cast<std::uint8_t>(k * 255 / 32);
        EXPECT_EQ(stage.pixel(16 * k + 8, 760), rgb(v, v, v)) << k;
    }
    EXPECT_EQ(stage.pixel(8, 760), kBlack);
    EXPECT_EQ(stage.pixel(600, 760), kWhite);
    EXPECT_EQ(stage.pixel(1023, 760), kWhite);
    EXPECT_EQ(stage.canvas().pen.color, kWhite);
    EXPECT_EQ(stage.canvas().brush.style, BrushStyle::Solid);
}

TEST(ColorBars, WidthNotAMultipleOfEightLeavesTheRightEdgeBlack)
{
    Bitmap stage = blackStage(1030, 600);
    drawColorBars(stage.canvas(), {1030, 600});
    EXPECT_EQ(stage.pixel(1020, 30), rgb(128, 0, 0));
    for (int x = 1024; x < 1030; ++x)
        EXPECT_EQ(stage.pixel(x, 100), kBlack) << x;
}

TEST(CountDown, TenNumbersInTwelveSecondsThenBlack)
{
    FakeClock clock;
    test::TestStage stage(clock, {640, 480});
    Workspace ws;
    PlaybackFlags flags;
    test::ScriptedPrompter prompter;
    QStringList log;
    test::RecordingWavePlayer wave(log);
    PagePlayer player(ws, stage, flags, clock, wave, test::FakeComposer{});
    QList<int> litAt;   // seconds at which a message run saw a lit stage
    QSet<qint64> pictures;
    const auto countLit = [&] {
        qint64 lit = 0;
        for (int y = 0; y < 480; y += 2)
            for (int x = 0; x < 640; x += 2)
                lit += stage.back.pixel(x, y) != kBlack ? x * 7 + y * 13 + 1 : 0;
        return lit;
    };
    stage.onPump = [&] {
        const int s = static_cast<int>(clock.now() / 1s);
        const qint64 lit = countLit();
        if (lit > 0)
            pictures.insert(lit);
        if (lit > 0 && (litAt.isEmpty() || litAt.back() != s))
            litAt << s;
    };
    player.countDown();
    EXPECT_EQ(clock.now(), 12s);
    EXPECT_EQ(pictures.size(), 10);   // ten numbers
    // One a second from 0 s; "1" is still up at 11 s, when the stage clears.
    EXPECT_EQ(litAt.front(), 0);
    EXPECT_EQ(litAt.back(), 11);
    EXPECT_EQ(countLit(), 0);
    EXPECT_EQ(countDownText(10), " 10 ");
}

// Regression: after Esc during the count-down the later numbers were drawn one after another
// without their waits, flashing on air before the stage closed.
TEST(CountDown, StopRequestEndsItWithoutDrawingALaterNumber)
{
    FakeClock clock;
    test::TestStage stage(clock);
    PlaybackFlags flags;
    Workspace ws;
    test::ScriptedPrompter prompter;
    QStringList log;
    test::RecordingWavePlayer wave(log);
    PagePlayer player(ws, stage, flags, clock, wave, test::FakeComposer{});
    QSet<qint64> pictures;   // the lit pictures a message run saw
    stage.onPump = [&] {
        qint64 lit = 0;
        for (int y = 0; y < 480; y += 2)
            for (int x = 0; x < 640; x += 2)
                lit += stage.back.pixel(x, y) != kBlack ? x * 7 + y * 13 + 1 : 0;
        if (lit > 0)
            pictures.insert(lit);
        if (clock.now() >= 3500ms)
            flags.killNow = true;   // Esc while "7" is up
    };
    player.countDown();
    EXPECT_LT(clock.now(), 4s);
    for (int y = 0; y < 480; y += 2)
        for (int x = 0; x < 640; x += 2)
            ASSERT_EQ(stage.back.pixel(x, y), kBlack);
    EXPECT_EQ(pictures.size(), 4);   // 10, 9, 8, 7
}

} // namespace
} // namespace lumavo
