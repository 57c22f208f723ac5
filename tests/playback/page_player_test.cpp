#include "playback/page_player.h"
#include "storage/page_edits.h"

#include "playback/page_validity.h"
#include "scripted_prompter.h"
#include "test_stage.h"

#include <gtest/gtest.h>

namespace lumavo {
namespace {

using namespace std::chrono_literals;
using test::FakeComposer;
using test::RecordingWavePlayer;
using test::ScriptedPrompter;
using test::TestStage;

QStringList noticeTexts(const PagePlayer& player)
{
    QStringList texts;
    for (const Result& notice : player.notices())
        texts << notice.error;
    return texts;
}

// A page player on the fake clock with a 640 x 480 test stage and 40 x 20 titles.
struct Rig {
    Workspace ws;
    FakeClock clock;
    QStringList log;
    TestStage stage{clock};
    PlaybackFlags flags;
    ScriptedPrompter prompter;
    RecordingWavePlayer wave{log};
    FakeComposer composer;
    PagePlayer player;

    Rig() : player(ws, stage, flags, clock, wave, std::ref(composer))
    {
        stage.log = &log;
        composer.log = &log;
        for (int n = 1; n <= 3; ++n) {
            ws.page.line(n).titleValid = true;
            ws.page.line(n).inDir = 13;
            ws.page.line(n).outDir = 13;
            ws.stage.restOf(n) = {100 * n, 50 * n};
        }
    }
    Color at(Point p) const { return stage.back.pixel(p.x, p.y); }
    bool titleShown(int n) const { return at(ws.stage.restOf(n)) == FakeComposer::colorOf(n); }
};

TEST(PagePlayer, PlaysEveryLineInAndOutAndDestroysTheImages)
{
    Rig r;
    r.ws.page.line(2).outDir = 6;   // line 2 leaves to the left
    EXPECT_EQ(r.player.playOnePage("Current"), PageEnd::Played);
    EXPECT_TRUE(r.titleShown(1));
    EXPECT_TRUE(r.titleShown(3));
    // Code 6 left its last frame off the left edge and its first frames overwritten by black frames
    // of the title... the fake title has no frame, so its trail stays: only the start changed.
    EXPECT_EQ(r.at({0, 100}), FakeComposer::colorOf(2));
    for (int n = 1; n <= 3; ++n)
        EXPECT_EQ(r.player.titleImage(n), nullptr);
    EXPECT_EQ(r.log.filter("compose").size(), 3);
    EXPECT_TRUE(r.stage.shown);
}

TEST(PagePlayer, ComposerGetsTheSelectedRowFilledInAndThePageKeepsItsPlaceholders)
{
    Rig r;
    QStringList texts;
    PagePlayer player(r.ws, r.stage, r.flags, r.clock, r.wave,
                      [&](const TitleLine& line, int n, Point rest, const ComposeFormats& formats, bool align,
                          const QString& dir, Point screen) {
                          texts << line.text;
                          return r.composer(line, n, rest, formats, align, dir, screen);
                      });
    r.ws.dataRow = DataRow{2, {"Name"}, {"Bo"}};
    r.ws.page.line(1).text = "Hi {{Name}}";
    r.ws.page.line(2).text = "{{Role}}";
    r.ws.page.line(3).bitmapFile = "missing.bmp";
    player.playOnePage("Current");
    EXPECT_EQ(texts, (QStringList{"Hi Bo", "{{Role}}", ""}));
    EXPECT_EQ(r.ws.page.line(1).text, "Hi {{Name}}");
    EXPECT_EQ(r.ws.page.line(3).bitmapFile, "missing.bmp");   // playing never writes the page
}

TEST(PagePlayer, StopFlagAtTheStartSkipsThePage)
{
    Rig r;
    r.flags.killNow = true;
    EXPECT_EQ(r.player.playOnePage("000"), PageEnd::Skipped);
    EXPECT_FALSE(r.stage.shown);
    EXPECT_TRUE(r.log.filter("compose").isEmpty());
}

class StopAfterCompose : public testing::TestWithParam<int> {};
INSTANTIATE_TEST_SUITE_P(Lines, StopAfterCompose, testing::Values(1, 2, 3));

TEST_P(StopAfterCompose, EndsThePageWithTitlesSoFarDestroyed)
{
    const int stopAt = GetParam();
    Rig r;
    r.composer.during = [&](int n) {
        if (n == stopAt)
            r.flags.killNow = true;   // a click while title n is composed
    };
    EXPECT_EQ(r.player.playOnePage("Current"), PageEnd::Stopped);
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(r.titleShown(n), n < stopAt) << n;
        EXPECT_EQ(r.player.titleImage(n), nullptr) << n;
    }
    EXPECT_EQ(r.log.filter("compose").size(), stopAt);
}

TEST(PagePlayer, ManualModeWaitsForTheSpaceBarTwice)
{
    Rig r;
    r.ws.page.mpause = true;
    r.ws.page.pauseSecs = 30;   // ignored in manual mode
    r.stage.onWait = [&] {
        r.log << "space";
        r.flags.spaceBarPause = false;
    };
    r.stage.enabled = true;
    const auto start = r.clock.now();
    r.player.playOnePage("Current");
    EXPECT_EQ(r.stage.waits, 2);
    // The first wait comes before title 1 is composed, the second after title 3 moved in.
    EXPECT_LT(r.log.indexOf("space"), r.log.indexOf("compose 1"));
    EXPECT_GT(r.log.lastIndexOf("space"), r.log.indexOf("compose 3"));
    EXPECT_LT(r.clock.now() - start, 1s);
}

TEST(PagePlayer, ManualWaitEndsWhenTheStageIsClosed)
{
    Rig r;
    r.ws.page.mpause = true;
    r.stage.enabled = true;
    r.stage.onWait = [&] { r.stage.closeStage(); };   // a second left click, no space bar
    r.player.playOnePage("Current");
    EXPECT_EQ(r.stage.waits, 1);
}

TEST(PagePlayer, PauseSecondsRunBetweenInAndOut)
{
    for (int pause : {0, 3}) {
        Rig r;
        r.ws.page.pauseSecs = pause;
        const auto start = r.clock.now();
        r.player.playOnePage("Current");
        // Code 13 with no delay takes no time; the frame pacing adds less than a frame per present.
        const auto took = r.clock.now() - start;
        EXPECT_GE(took, std::chrono::seconds(pause));
        EXPECT_LT(took, std::chrono::seconds(pause) + 200ms);
    }
}

TEST(PagePlayer, LeadersOnlyForPageZero)
{
    for (const char* label : {"Current", "001", "000"}) {
        Rig r;
        r.ws.project.useColorBars = true;
        r.ws.project.colorBarTime = 2;
        r.ws.project.useCountDown = true;
        const auto start = r.clock.now();
        r.player.playOnePage(label);
        const auto took = r.clock.now() - start;
        if (QString(label) == "000") {
            EXPECT_GE(took, 2s + 1s + 12s);   // bars, their black second, the count-down
            EXPECT_LT(took, 15s + 500ms);
        } else {
            EXPECT_LT(took, 500ms) << label;
        }
    }
}

TEST(PagePlayer, ColorBarsNeedATimeAboveZero)
{
    Rig r;
    r.ws.project.useColorBars = true;
    r.ws.project.colorBarTime = 0;
    const auto start = r.clock.now();
    r.player.playOnePage("000");
    EXPECT_LT(r.clock.now() - start, 500ms);
}

TEST(PagePlayer, WaveOrderPerLine)
{
    Rig r;
    for (int n = 1; n <= 3; ++n)
        r.ws.page.line(n).waveFile = QStringLiteral("/nowhere/w%1.wav").arg(n);
    r.player.playOnePage("Current");
    const QStringList expected = {
        "open /nowhere/w1.wav", "play", "compose 1", "close wave",
        "open /nowhere/w2.wav", "compose 2", "play", "close wave",
        "open /nowhere/w3.wav", "play", "compose 3", "close wave",
    };
    QStringList seen;
    for (const QString& e : r.log)
        if (e.startsWith("open") || e == "play" || e.startsWith("compose") || e == "close wave")
            seen << e;
    EXPECT_EQ(seen, expected);
}

class WaveFailure : public testing::TestWithParam<int> {};
INSTANTIATE_TEST_SUITE_P(Lines, WaveFailure, testing::Values(1, 2, 3));

// Regression: a wave of line 2 or 3 that cannot be opened ends the page like line 1's does,
// instead of escaping and leaving the stage up.
TEST_P(WaveFailure, ShowsTheMessageClearsTheWaveAndClosesTheStage)
{
    const int bad = GetParam();
    Rig r;
    r.ws.page.line(bad).waveFile = "/nowhere/broken.wav";
    r.wave.refused << "/nowhere/broken.wav";
    r.player.playCurrentPage();
    // The player shows nothing itself: the window that played shows what it returns.
    EXPECT_TRUE(r.prompter.messages.empty());
    ASSERT_EQ(r.player.notices().size(), 1u);
    EXPECT_EQ(r.player.notices()[0].error, "Error: Opening Media file: /nowhere/broken.wav");
    EXPECT_EQ(r.player.notices()[0].icon, MessageIcon::Error);
    EXPECT_TRUE(r.ws.page.line(bad).waveFile.isEmpty());
    EXPECT_EQ(r.log.filter("compose").size(), bad - 1);
    for (int n = 1; n <= 3; ++n)
        EXPECT_EQ(r.player.titleImage(n), nullptr);
    EXPECT_TRUE(r.flags.killNow);
    EXPECT_EQ(r.stage.closes, 1);
    EXPECT_FALSE(r.stage.enabled);
}

TEST(PagePlayer, WaveMessageIsCutTo107Characters)
{
    const QString name = "/" + QString(200, 'a') + ".wav";
    EXPECT_EQ(waveErrorMessage(name).size(), 107);
    EXPECT_TRUE(waveErrorMessage(name).startsWith("Error: Opening Media file: /aaa"));
}

TEST(PagePlayer, RestPositionFollowsTheImageButNotAFailedPicture)
{
    Rig r;
    r.ws.page.line(1).bitmapFile = "missing.bmp";
    r.ws.page.line(2).inDir = 11;
    DrawnPath& path = r.ws.stage.inPath(2);
    path.count = 3;
    path.points[0] = {5, 5};
    path.points[1] = {6, 6};
    path.points[2] = {7, 7};
    r.player.playOnePage("Current");
    EXPECT_EQ(r.ws.stage.restOf(1), (Point{100, 50}));
    ASSERT_EQ(r.player.notices().size(), 1u);
    EXPECT_EQ(r.player.notices()[0].error, "Error opening file: missing.bmp");
    EXPECT_EQ(r.ws.page.line(1).bitmapFile, "missing.bmp");   // the page keeps its picture
    EXPECT_EQ(r.ws.stage.restOf(2), (Point{200, 100}));
    EXPECT_EQ(r.at({7, 7}), FakeComposer::colorOf(2));   // the path's points were drawn
    EXPECT_EQ(r.at({8, 8}), FakeComposer::colorOf(2));
}

TEST(PagePlayer, ARestPositionTheTitleCameToIsAnEditOfThePage)
{
    Rig r;
    pageReplaced(r.ws);
    PagePlayer player(r.ws, r.stage, r.flags, r.clock, r.wave,
                      [&](const TitleLine& line, int n, Point rest, const ComposeFormats& formats, bool align,
                          const QString& dir, Point screen) {
                          ComposedTitle title = r.composer(line, n, rest, formats, align, dir, screen);
                          if (n == 1)
                              title.position = {rest.x + 10, rest.y};
                          return title;
                      });
    player.playOnePage("Current");
    EXPECT_EQ(r.ws.stage.restOf(1), (Point{110, 50}));
    EXPECT_TRUE(r.ws.editor.pageModified) << "a save would write the new rest position";
    ASSERT_TRUE(undoPageEdit(r.ws));
    EXPECT_EQ(r.ws.stage.restOf(1), (Point{100, 50}));
}

TEST(PagePlayer, InCodeZeroShowsTheTitleFirstOnItsOutMotion)
{
    Rig r;
    r.ws.page.line(1).inDir = 0;
    r.ws.page.line(1).outDir = 13;
    r.ws.page.line(2).titleValid = false;
    r.ws.page.line(3).titleValid = false;
    bool seenBeforeOut = false;
    bool checked = false;
    r.stage.onPump = [&] {
        if (!checked && r.clock.now() >= 1s) {   // the message run that ends the hold
            checked = true;
            seenBeforeOut = r.titleShown(1);
        }
    };
    r.ws.page.pauseSecs = 1;   // a message run comes during the hold
    r.player.playOnePage("Current");
    EXPECT_TRUE(checked);
    EXPECT_TRUE(r.titleShown(1));
    EXPECT_FALSE(seenBeforeOut);
}

TEST(PagePlayer, SrcInvertLeftByUnrollInForcesPlainCopyOut)
{
    Rig r;
    r.ws.editor.osEffect = 5;
    r.ws.page.line(2).titleValid = false;
    r.ws.page.line(3).titleValid = false;
    r.ws.page.line(1).inDir = 9;
    r.player.playOnePage("Current");
    EXPECT_EQ(r.stage.back.canvas().copyMode, RasterOp::SrcCopy);
    EXPECT_TRUE(r.titleShown(1));   // OUT 13 copied plainly over the unrolled title

    Rig x;
    x.ws.editor.osEffect = 5;
    x.ws.page.line(2).titleValid = false;
    x.ws.page.line(3).titleValid = false;
    x.player.playOnePage("Current");   // IN 13 and OUT 13 both exclusive-or: the title cancels out
    EXPECT_EQ(x.at(x.ws.stage.restOf(1)), kBlack);
}

TEST(PagePlayer, PresentsStayAFrameApartOnTheFakeClock)
{
    Rig r;
    r.ws.page.movementDelay = 1000;
    r.ws.page.line(1).inDir = 5;
    r.ws.page.line(1).outDir = 6;
    r.player.playOnePage("Current");
    ASSERT_GT(r.stage.presents.size(), 20u);
    EXPECT_GE(r.stage.minPresentGap(), r.stage.frame);
}

// Regression: a play command reached from a message run inside playback (the editor's Play
// button) would destroy the titles the running page is moving.
TEST(PagePlayer, PlayCommandsDoNotNestInsidePlayback)
{
    Rig r;
    r.ws.page.pauseSecs = 1;
    int nested = 0;
    r.stage.onPump = [&] {
        if (nested++ == 3) {
            r.player.playCurrentPage();
            r.player.playAllPages({[] { return QString("000"); }, [](const QString&) { return true; }});
        }
    };
    r.player.playCurrentPage();
    EXPECT_EQ(r.log.filter("compose").size(), 3);
    EXPECT_TRUE(r.titleShown(3));
    EXPECT_EQ(r.stage.closes, 1);
    EXPECT_FALSE(r.player.isPlaying());
}

TEST(PagePlayer, PlayCurrentPageRefusesAnInvalidPage)
{
    Rig r;
    r.ws.page.line(2).inDir = 0;
    r.player.playCurrentPage();
    EXPECT_EQ(noticeTexts(r.player), QStringList{"Click an IN direction for title #2"});
    EXPECT_TRUE(r.log.filter("compose").isEmpty());
    EXPECT_FALSE(r.flags.killNow);
}

struct ValidityCase {
    std::array<bool, 3> valid;
    std::array<int, 3> inDir;
    bool bars;
    bool countDown;
    const char* message;
};

class Validity : public testing::TestWithParam<ValidityCase> {};
INSTANTIATE_TEST_SUITE_P(
    Pages, Validity,
    testing::Values(ValidityCase{{false, false, false}, {5, 5, 5}, false, false, "Enter a title in the black edit box."},
                    ValidityCase{{false, false, false}, {5, 5, 5}, true, false, ""},
                    ValidityCase{{false, false, false}, {5, 5, 5}, false, true, ""},
                    ValidityCase{{true, false, true}, {0, 5, 0}, false, false, "Click an IN direction for title #1"},
                    ValidityCase{{false, true, true}, {0, 0, 0}, true, true, "Click an IN direction for title #2"},
                    ValidityCase{{false, false, true}, {0, 0, 0}, false, false, "Click an IN direction for title #3"},
                    ValidityCase{{true, true, true}, {1, 12, 13}, false, false, ""}));

TEST_P(Validity, Message)
{
    const ValidityCase& c = GetParam();
    Workspace ws;
    for (int n = 1; n <= 3; ++n) {
        ws.page.line(n).titleValid = c.valid[static_cast<std::size_t>(n - 1)];
        ws.page.line(n).inDir = c.inDir[static_cast<std::size_t>(n - 1)];
        ws.page.line(n).outDir = 0;   // never checked
    }
    ws.project.useColorBars = c.bars;
    ws.project.useCountDown = c.countDown;
    EXPECT_EQ(projectValidityMessage(ws), QString(c.message));
}

// Regression: a click during an IN motion was noticed only at the page's pause.
TEST(PagePlayer, ClickDuringAnInMotionStopsThePageAfterThatTitle)
{
    Rig r;
    r.ws.page.movementDelay = 1000;
    r.ws.page.line(1).inDir = 5;
    r.ws.page.pauseSecs = 5;
    r.stage.onPump = [&] {
        if (r.log.contains("compose 1"))
            r.flags.killNow = true;   // the click queued while title 1 moved in
    };
    EXPECT_EQ(r.player.playOnePage("Current"), PageEnd::Stopped);
    EXPECT_EQ(r.log.filter("compose").size(), 2);
    EXPECT_TRUE(r.titleShown(1));
    EXPECT_FALSE(r.titleShown(2));
    EXPECT_LT(r.clock.now(), 5s);
}

// Regression: closing the stage during a motion left the page drawing out of sight, and every
// output following it, until the motion and the rest of the page had played.
TEST(PagePlayer, CutDuringAMotionShowsBlackAndEndsTheRunWithinAFrame)
{
    Rig r;
    r.ws.page.movementDelay = 1000;
    r.ws.page.line(1).inDir = 5;
    r.ws.page.pauseSecs = 5;
    std::size_t presentsAtCut = 0;
    Clock::Nanoseconds cutAt{};
    r.stage.onPump = [&] {
        if (cutAt.count() == 0 && r.log.contains("compose 1") && r.clock.now() >= 100ms) {
            cutAt = r.clock.now();
            presentsAtCut = r.stage.presents.size();
            r.player.cut();   // a second click on the stage
        }
    };
    r.player.playCurrentPage();
    ASSERT_GT(cutAt.count(), 0) << "messages ran during the motion";
    ASSERT_EQ(r.stage.presents.size(), presentsAtCut + 1);   // the black frame, nothing after it
    EXPECT_EQ(r.stage.presents.back().region, (Rect{0, 0, 640, 480}));
    for (int y = 0; y < 480; y += 4)
        for (int x = 0; x < 640; x += 4)
            ASSERT_EQ(r.at({x, y}), kBlack) << x << "," << y;
    EXPECT_LT(r.clock.now(), cutAt + r.stage.frame);
    EXPECT_EQ(r.log.filter("compose").size(), 1);
    EXPECT_EQ(r.stage.closes, 1);
    EXPECT_TRUE(r.flags.killNow);
    EXPECT_FALSE(r.player.isPlaying());
}

// Regression: a key or click during the pause was handled only after the whole pause.
TEST(PagePlayer, StopDuringThePauseEndsItWithinFiftyMilliseconds)
{
    Rig r;
    r.ws.page.pauseSecs = 30;
    r.stage.onPump = [&] {
        if (r.clock.now() >= 2s)
            r.flags.killNow = true;
    };
    EXPECT_EQ(r.player.playOnePage("Current"), PageEnd::Played);
    EXPECT_GE(r.clock.now(), 2s);
    EXPECT_LT(r.clock.now(), 2s + 50ms + r.stage.frame);
}

// Regression: the first IN frames went to a stage the window manager had not yet mapped.
TEST(PagePlayer, WaitsForTheStageToReachTheScreenBeforeTheFirstDraw)
{
    Rig r;
    r.stage.shownOnScreen = [&] { return r.clock.now() >= 300ms; };
    bool shownAtCompose = false;
    r.composer.during = [&](int n) {
        if (n == 1)
            shownAtCompose = r.stage.isShownOnScreen();
    };
    r.player.playOnePage("Current");
    EXPECT_TRUE(shownAtCompose);

    // A stage that never reports itself shown holds the page up 2 s at most.
    Rig never;
    never.stage.shownOnScreen = [] { return false; };
    Clock::Nanoseconds composedAt{};
    never.composer.during = [&](int n) {
        if (n == 1)
            composedAt = never.clock.now();
    };
    never.player.playOnePage("Current");
    EXPECT_GE(composedAt, 2s);
    EXPECT_LT(composedAt, 2s + 10ms);
}

// Play all over a fake project whose pages differ in their pause.
struct PlayAllRig : Rig {
    QString last = "004";
    QStringList loaded;
    QStringList unreadable;   // pages whose file cannot be read
    std::function<void(const QString&)> onLoad;
    PageSource source()
    {
        return {[this] { return last; },
                [this](const QString& page) {
                    loaded << page;
                    ws.page.pauseSecs = page.toInt();   // page k rests k seconds
                    if (onLoad)
                        onLoad(page);
                    return !unreadable.contains(page);
                }};
    }
};

TEST(PlayAll, SingleRunPlaysEveryPageOnceInOrderThenWaitsForAClick)
{
    PlayAllRig r;
    r.ws.project.useColorBars = true;
    r.ws.project.colorBarTime = 1;
    const auto start = r.clock.now();
    r.player.playAllPages(r.source());
    EXPECT_EQ(r.loaded, (QStringList{"000", "001", "002", "003", "004"}));
    EXPECT_EQ(r.ws.project.pageNow, "004");
    // Bars (1 s + 1 s of black) once, then the pauses 0+1+2+3+4.
    const auto took = r.clock.now() - start;
    EXPECT_GE(took, 12s);
    EXPECT_LT(took, 13s);
    EXPECT_TRUE(r.flags.killNow);
    EXPECT_TRUE(r.stage.shown);   // stays up, black, until a left click
    EXPECT_EQ(r.stage.closes, 0);
}

TEST(PlayAll, NewProjectPlaysTheCurrentPageOnce)
{
    PlayAllRig r;
    r.last = "NEW";
    r.player.playAllPages(r.source());
    EXPECT_EQ(r.loaded, QStringList{"000"});
    EXPECT_EQ(leadingNumber("149"), 149);
    EXPECT_EQ(leadingNumber("NEW"), 0);
    EXPECT_EQ(leadingNumber("07x"), 7);
}

TEST(PlayAll, ManualModeWaitsAfterEveryPage)
{
    PlayAllRig r;
    r.last = "001";
    r.ws.page.mpause = true;
    r.stage.onWait = [&] { r.flags.spaceBarPause = false; };
    r.player.playAllPages(r.source());
    EXPECT_EQ(r.stage.waits, 6);   // two inside each page, one after each page
}

TEST(PlayAll, StopBeforeAPageClosesTheStage)
{
    PlayAllRig r;
    r.onLoad = [&](const QString& page) {
        if (page == "002")
            r.flags.killNow = true;   // a click while page 002 plays
    };
    r.player.playAllPages(r.source());
    EXPECT_EQ(r.loaded, (QStringList{"000", "001", "002"}));
    EXPECT_EQ(r.stage.closes, 1);
}

// Regression: a stop after page 000 left pageNow on 001 while the fields of 000 were held, so
// the next S Pg wrote them over page 001.
TEST(PlayAll, StopAfterAPageLeavesPageNowOnThePageHeld)
{
    PlayAllRig r;
    r.onLoad = [&](const QString&) { r.flags.killNow = true; };
    r.player.playAllPages(r.source());
    EXPECT_EQ(r.loaded, QStringList{"000"});
    EXPECT_EQ(r.ws.project.pageNow, "000");

    // A page that cannot be read keeps the previous page's fields, and so its number.
    PlayAllRig u;
    u.unreadable = QStringList{"002"};
    u.onLoad = [&](const QString& page) {
        if (page == "002")
            u.flags.killNow = true;
    };
    u.player.playAllPages(u.source());
    EXPECT_EQ(u.ws.project.pageNow, "001");
}

TEST(PlayAll, RepeatLoopRunsUntilStoppedAndReplaysTheLeaders)
{
    PlayAllRig r;
    r.last = "002";
    r.ws.editor.repeatLoop = true;
    r.ws.project.useCountDown = true;
    int loads = 0;
    r.onLoad = [&](const QString&) { ++loads; };
    r.composer.during = [&](int) {
        if (loads == 7)
            r.flags.killNow = true;   // a click while the third pass's page 000 plays
    };
    const auto start = r.clock.now();
    r.player.playAllPages(r.source());
    EXPECT_EQ(r.loaded, (QStringList{"000", "001", "002", "000", "001", "002", "000"}));
    EXPECT_EQ(r.stage.closes, 1);
    // Three count-downs of 12 s and two passes of pauses (0 + 1 + 2).
    EXPECT_GE(r.clock.now() - start, 42s);
    EXPECT_LT(r.clock.now() - start, 43s);
}

TEST(PlayAll, InvalidPageOnlySetsTheStopFlag)
{
    PlayAllRig r;
    for (int n = 1; n <= 3; ++n)
        r.ws.page.line(n).titleValid = false;
    r.player.playAllPages(r.source());
    EXPECT_EQ(noticeTexts(r.player), QStringList{"Enter a title in the black edit box."});
    EXPECT_TRUE(r.loaded.isEmpty());
    EXPECT_TRUE(r.flags.killNow);
}

} // namespace
} // namespace lumavo
