#include "playback/ui/stage.h"

#include "scripted_prompter.h"
#include "test_support.h"
#include "../test_stage.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace lumavo {
namespace {

// An offscreen stage with a scripted prompter, the fake clock and a logging wave player.
struct StageRig {
    Workspace ws;
    test::ScriptedPrompter prompter;
    FakeClock clock;
    QStringList waveLog;
    QWidget mainWidget;
    AppContext context{ws, prompter, clock, [this] { return std::make_unique<test::RecordingWavePlayer>(waveLog); }};
    std::unique_ptr<TCan> stage;

    StageRig()
    {
        context.mainWidget = &mainWidget;
        stage = std::make_unique<TCan>(context);
        stage->enableStage();
        stage->showForPlayback();
    }
    void key(Qt::Key k) { QTest::keyClick(stage.get(), k); }
    void click(Qt::MouseButton b, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        QTest::mouseClick(stage.get(), b, m, QPoint(10, 10));
    }
};

TEST(Stage, CoversTheScreenWithAScreenSizedBackBuffer)
{
    StageRig r;
    const QRect screen = r.stage->screen()->geometry();
    const qreal ratio = r.stage->screen()->devicePixelRatio();
    EXPECT_EQ(r.stage->geometry(), screen);
    // Device pixels: twice the logical size on a screen of ratio 2.
    EXPECT_EQ(r.stage->backBuffer().width(), qRound(screen.width() * ratio));
    EXPECT_EQ(r.stage->backBuffer().height(), qRound(screen.height() * ratio));
    EXPECT_EQ(r.stage->backBuffer().pixelFormat(), PixelFormat::Bits32);
    EXPECT_TRUE(r.stage->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(r.stage->cursor().shape(), Qt::BlankCursor);
    // The title format follows the screen's depth; the effect format is 32-bit only with it.
    const int depth = r.stage->screen()->depth();
    EXPECT_EQ(r.stage->screenColorDepth(), depth);
    const PixelFormat expectedTitle = depth == 24 ? PixelFormat::Bits24 : depth == 32 ? PixelFormat::Bits32
                                    : depth == 16 ? PixelFormat::Bits16 : PixelFormat::Device;
    EXPECT_EQ(r.stage->titlePixelFormat(), expectedTitle);
    EXPECT_EQ(r.stage->effectFormat(), depth == 32 ? PixelFormat::Bits32 : PixelFormat::Bits24);
}

TEST(Stage, SpaceBarTogglesTheHoldOnlyInManualMode)
{
    StageRig r;
    r.ws.page.mpause = true;
    r.key(Qt::Key_Space);
    EXPECT_TRUE(r.stage->getspcbarpause());
    r.key(Qt::Key_Space);
    EXPECT_FALSE(r.stage->getspcbarpause());
    EXPECT_FALSE(r.stage->getkillnow());

    r.ws.page.mpause = false;
    r.stage->setspcbarpause(true);
    r.key(Qt::Key_Space);
    EXPECT_FALSE(r.stage->getspcbarpause());
    EXPECT_TRUE(r.stage->getkillnow());
}

TEST(Stage, ClickerKeysRightAndPageDownStoppedInsteadOfContinuing)
{
    StageRig r;
    r.ws.page.mpause = true;
    for (const Qt::Key key : {Qt::Key_Right, Qt::Key_PageDown}) {
        r.stage->setspcbarpause(true);
        r.key(key);
        EXPECT_FALSE(r.stage->getspcbarpause()) << key;
        EXPECT_FALSE(r.stage->getkillnow()) << key;
    }
}

TEST(Stage, EscapeClearsTheHoldAndStops)
{
    StageRig r;
    r.ws.page.mpause = true;
    r.stage->setspcbarpause(true);
    r.key(Qt::Key_Escape);
    EXPECT_FALSE(r.stage->getspcbarpause());
    EXPECT_TRUE(r.stage->getkillnow());
}

TEST(Stage, KeysDoNothingInAlignmentModeButTheManualSpaceBar)
{
    StageRig r;
    r.ws.editor.alignActive = true;
    r.key(Qt::Key_Escape);
    r.key(Qt::Key_A);
    EXPECT_FALSE(r.stage->getkillnow());
    r.ws.page.mpause = true;
    r.key(Qt::Key_Space);
    EXPECT_TRUE(r.stage->getspcbarpause());
}

TEST(Stage, FirstLeftClickStopsSecondClosesTheStage)
{
    StageRig r;
    r.mainWidget.hide();
    r.click(Qt::LeftButton);
    EXPECT_TRUE(r.stage->getkillnow());
    EXPECT_TRUE(r.stage->isVisible());
    r.click(Qt::LeftButton);
    EXPECT_FALSE(r.stage->isVisible());
    EXPECT_FALSE(r.stage->isEnabled());
    EXPECT_TRUE(r.mainWidget.isVisible());
}

// Regression: a single P All ended with the stage up and Esc did nothing visible.
TEST(Stage, EscapeAfterAStopClosesTheStageAndAsksForAMainWindowRepaint)
{
    StageRig r;
    QSignalSpy closed(r.stage.get(), &TCan::stageClosed);
    r.key(Qt::Key_Escape);
    EXPECT_TRUE(r.stage->getkillnow());
    EXPECT_TRUE(r.stage->isVisible());
    EXPECT_EQ(closed.count(), 0);
    r.key(Qt::Key_Escape);
    EXPECT_FALSE(r.stage->isVisible());
    EXPECT_TRUE(r.mainWidget.isVisible());
    EXPECT_EQ(closed.count(), 1);
}

TEST(Stage, IsShownOnScreenOnlyOnceItsFirstFrameIsPainted)
{
    StageRig r;
    r.stage->closeStage();
    EXPECT_FALSE(r.stage->isShownOnScreen());
    r.stage->enableStage();
    r.stage->showForPlayback();
    EXPECT_FALSE(r.stage->isShownOnScreen());   // shown, but nothing painted yet
    QTRY_VERIFY(r.stage->isShownOnScreen());
}

TEST(Stage, ClicksWithAModifierDoNothing)
{
    StageRig r;
    r.click(Qt::LeftButton, Qt::ShiftModifier);
    r.click(Qt::RightButton, Qt::ControlModifier);
    EXPECT_FALSE(r.stage->getkillnow());
    EXPECT_TRUE(r.prompter.fileDialogs.empty());
}

TEST(Stage, RightClickSavesThePictureOfTheWholeStage)
{
    StageRig r;
    test::TempDir dir;
    Bitmap& back = r.stage->backBuffer();
    back.setPixel(5, 7, rgb(10, 200, 30));
    back.setPixel(back.width() - 1, back.height() - 1, kWhite);
    r.prompter.saveNames.push_back(dir.file("snap.bmp"));
    r.click(Qt::RightButton);
    ASSERT_EQ(r.prompter.fileDialogs.size(), 1u);
    EXPECT_EQ(r.prompter.fileDialogs[0].title, "Save As A Bitmap File");
    EXPECT_EQ(r.prompter.fileDialogs[0].defaultSuffix, "bmp");
    Bitmap saved;
    ASSERT_TRUE(saved.loadFromFile(dir.file("snap.bmp")));
    EXPECT_TRUE(saved.samePixels(back));
    EXPECT_FALSE(r.stage->getkillnow());

    // Cancelled: nothing written. An unwritable name: a message, no crash.
    r.click(Qt::RightButton);
    r.prompter.saveNames.push_back(dir.file("no/such/dir/snap.bmp"));
    r.click(Qt::RightButton);
    EXPECT_EQ(r.prompter.messages.size(), 1u);
}

TEST(Stage, PlayCurrentPageDrawsTheComposedTitleAndClosesTheStage)
{
    StageRig r;
    TitleLine& line = r.ws.page.line(1);
    line.text = "Hi";
    line.titleValid = true;
    line.fontSize = 40;
    line.inDir = 13;
    line.outDir = 0;   // stays where it came in
    r.ws.stage.restOf(1) = {50, 60};
    r.stage->playCurrentPage();
    EXPECT_TRUE(r.stage->getkillnow());
    EXPECT_FALSE(r.stage->isVisible());
    int lit = 0;
    const Bitmap& back = r.stage->backBuffer();
    for (int y = 60; y < 160; ++y)
        for (int x = 50; x < 150; ++x)
            lit += back.pixel(x, y) != kBlack;
    EXPECT_GT(lit, 20);
    EXPECT_EQ(back.pixel(40, 55), kBlack);
}

TEST(Stage, PlayCurrentPageShowsTheValidityMessage)
{
    StageRig r;
    r.stage->playCurrentPage();
    EXPECT_EQ(r.prompter.messageTexts(), QStringList{"Enter a title in the black edit box."});
}

} // namespace
} // namespace lumavo
