// Where things are in an exported file's frames: at the times the playback engine's own plan gives.
#include "export/exporter.h"

#include "platform/silent_prompter.h"
#include "playback/leaders.h"
#include "playback/test_stage.h"
#include "playback/title_motion.h"
#include "storage/page_file.h"
#include "test_support.h"

#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

namespace lumavo {
namespace {

using namespace std::chrono_literals;

// The frames of a PNG sequence export, in order, as RGBA.
std::vector<QImage> readFrames(const QString& folder)
{
    std::vector<QImage> frames;
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name))
        frames.push_back(QImage(dir.filePath(name)).convertToFormat(QImage::Format_RGBA8888));
    return frames;
}

// Whether the colour channels of `frame` equal the 32-bit bitmap `want`.
bool sameColours(const QImage& frame, const Bitmap& want)
{
    if (frame.width() != want.width() || frame.height() != want.height())
        return false;
    for (int y = 0; y < want.height(); ++y)
        for (int x = 0; x < want.width(); ++x) {
            const std::uint8_t* p = frame.constScanLine(y) + x * 4;
            if (rgb(p[0], p[1], p[2]) != want.pixel(x, y))
                return false;
        }
    return true;
}

bool allBlack(const QImage& frame)
{
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x) {
            const std::uint8_t* p = frame.constScanLine(y) + x * 4;
            if ((p[0] | p[1] | p[2]) != 0)
                return false;
        }
    return true;
}

// The rightmost column of row y that is not black, or -1.
int rightmostLit(const QImage& frame, int y)
{
    for (int x = frame.width() - 1; x >= 0; --x) {
        const std::uint8_t* p = frame.constScanLine(y) + x * 4;
        if ((p[0] | p[1] | p[2]) != 0)
            return x;
    }
    return -1;
}

TEST(ExportTimeline, SlideAtDelay1000ShowsThePlannedPositionAtEachFrameAndLastsTheRunRoundedUp)
{
    // A 24 x 12 title from the left (code 5) to x = 276 at 1 ms a pixel: 301 steps, 301 ms.
    constexpr Point kStage{320, 24};
    constexpr Point kTitle{24, 12};
    constexpr Point kRest{276, 6};
    Workspace ws;
    TitleLine& line = ws.page.line(1);
    line.titleValid = true;
    line.inDir = 5;
    line.outDir = 13;
    ws.stage.restOf(1) = kRest;
    ws.page.movementDelay = 1000;
    ws.page.pauseSecs = 1;
    test::FakeComposer composer;
    composer.size = kTitle;

    // The engine's plan of the slide, and when the live player starts it and ends the run on the
    // fake clock (a stage without a frame grid, like the export's).
    MotionInput input;
    input.code = 5;
    input.width = kTitle.x;
    input.height = kTitle.y;
    input.rest = kRest;
    input.screen = kStage;
    input.delay = 1000;
    const Motion plan = titleMotionIn(input);
    ASSERT_EQ(plan.steps.size(), 301u);
    ASSERT_EQ(plan.totalWaitNs(), 301'000'000);

    Workspace refWs = ws;
    FakeClock clock;
    test::TestStage stage(clock, kStage, 32);
    stage.frame = 0ns;
    PlaybackFlags flags;
    QStringList log;
    test::RecordingWavePlayer wave(log);
    SilentPrompter prompter;
    test::FakeComposer timedComposer = composer;
    Clock::Nanoseconds slideStart{-1};
    timedComposer.during = [&](int) { slideStart = clock.now(); };   // the slide follows at once
    PagePlayer player(refWs, stage, flags, clock, wave, timedComposer);
    player.playCurrentPage();
    const Clock::Nanoseconds runLength = clock.now();
    ASSERT_GE(slideStart, 0ns);

    test::TempDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("f"));
    ExportSettings s;
    s.destination = dir.file("f/%04d.png");
    s.size = kStage;
    s.rate = {60, 1};
    const ExportResult r = exportVideo(ws, s, composer);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    const std::vector<QImage> frames = readFrames(dir.file("f"));
    ASSERT_EQ(static_cast<std::int64_t>(frames.size()), r.frames);
    // Every frame time before the run's end, none after: its length rounded up to a whole frame.
    EXPECT_EQ(r.frames, (runLength.count() * 60 + 999'999'999) / 1'000'000'000);

    // Frame k shows the last step the plan has drawn at or before k / 60 s, until the rest.
    const Clock::Nanoseconds slideEnd = slideStart + Clock::Nanoseconds(plan.totalWaitNs());
    int slideFrames = 0;
    for (std::size_t k = 0; k < frames.size(); ++k) {
        const Clock::Nanoseconds at{(static_cast<std::int64_t>(k) * 1'000'000'000 + 59) / 60};
        if (at > slideEnd + 500ms)
            break;   // the pause; the title leaves after it
        int expectedLeft = -kTitle.x;   // nothing of the title on the stage yet
        if (at >= slideStart) {
            Clock::Nanoseconds due = slideStart;
            for (const MotionStep& step : plan.steps) {
                if (due > at)
                    break;
                expectedLeft = step.area.left;
                due += Clock::Nanoseconds(step.waitNs);
            }
            slideFrames += at < slideEnd ? 1 : 0;
        }
        const int lit = rightmostLit(frames[k], kRest.y + kTitle.y / 2);
        EXPECT_EQ(lit + 1 - kTitle.x, expectedLeft) << "frame " << k;
        EXPECT_EQ(rightmostLit(frames[k], kRest.y - 1), -1) << "frame " << k;
    }
    EXPECT_GE(slideFrames, 18);   // 301 ms at 60 frames a second
}

TEST(ExportTimeline, AllPagesExportOpensWithColourBarsThenTheCountDownThenPage000)
{
    constexpr Point kStage{128, 72};
    constexpr int kRate = 25;
    constexpr int kBarSeconds = 2;
    test::TempDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("f"));

    // A project of one page, 000, whose single title slides in.
    Workspace ws;
    ws.project.projectDir = dir.path() + "/";
    ws.project.projectName = "SHOW.tlp";
    ws.project.useColorBars = true;
    ws.project.colorBarTime = kBarSeconds;
    ws.project.useCountDown = true;
    TitleLine& line = ws.page.line(1);
    line.text = "Opening";
    line.titleValid = true;
    line.inDir = 5;
    line.outDir = 13;
    ws.stage.restOf(1) = {40, 30};
    ws.page.movementDelay = 2000;
    ws.page.pauseSecs = 1;
    SilentPrompter prompter;
    ASSERT_EQ(SavePage(ws, prompter).status, SavePageStatus::Saved);
    ws.page.line(1).titleValid = false;   // what plays comes from the page file

    ExportSettings s;
    s.destination = dir.file("f/%04d.png");
    s.size = kStage;
    s.rate = {kRate, 1};
    s.allPages = true;
    test::FakeComposer composer;
    composer.size = {24, 12};
    const ExportResult r = exportVideo(ws, s, composer);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_TRUE(r.pageMessages.isEmpty()) << r.pageMessages.join('|').toStdString();
    const std::vector<QImage> frames = readFrames(dir.file("f"));
    ASSERT_EQ(static_cast<std::int64_t>(frames.size()), r.frames);

    // The bars for their time, then a black second.
    Bitmap bars(kStage.x, kStage.y, PixelFormat::Bits32);
    bars.canvas().brush.color = kBlack;
    bars.canvas().fillRect({0, 0, kStage.x, kStage.y});
    drawColorBars(bars.canvas(), kStage);
    int k = 0;
    for (; k < kBarSeconds * kRate; ++k)
        ASSERT_TRUE(sameColours(frames[static_cast<std::size_t>(k)], bars)) << "frame " << k;
    for (; k < (kBarSeconds + 1) * kRate; ++k)
        ASSERT_TRUE(allBlack(frames[static_cast<std::size_t>(k)])) << "frame " << k;

    // The count-down: 10 to 1, a second each, the 1 a second more, then a black second.
    Bitmap count(kStage.x, kStage.y, PixelFormat::Bits32);
    count.canvas().brush.color = kBlack;
    count.canvas().fillRect({0, 0, kStage.x, kStage.y});
    prepareCountDownCanvas(count.canvas(), kStage);
    for (int n = 10; n >= 1; --n) {
        drawCountDownNumber(count.canvas(), kStage, n);
        const int seconds = n == 1 ? 2 : 1;
        for (const int end = k + seconds * kRate; k < end; ++k)
            ASSERT_TRUE(sameColours(frames[static_cast<std::size_t>(k)], count)) << "number " << n << ", frame " << k;
    }
    for (const int end = k + kRate; k < end; ++k)
        ASSERT_TRUE(allBlack(frames[static_cast<std::size_t>(k)])) << "frame " << k;

    // Then page 000: its title slides in from black and comes to rest.
    const std::size_t pageStart = static_cast<std::size_t>(k);
    std::size_t firstTitle = pageStart;
    while (firstTitle < frames.size() && allBlack(frames[firstTitle]))
        ++firstTitle;
    ASSERT_LT(firstTitle, frames.size());
    EXPECT_LT(firstTitle - pageStart, 2u);   // the slide starts at once, 2 ms a pixel
    bool atRest = false;
    for (std::size_t i = firstTitle; i < frames.size() && !atRest; ++i)
        atRest = frames[i].pixelColor(40, 30) == QColor(255, 0, 0) && rightmostLit(frames[i], 35) == 63;
    EXPECT_TRUE(atRest);
}

} // namespace
} // namespace lumavo
