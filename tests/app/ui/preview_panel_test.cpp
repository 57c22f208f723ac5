#include "app/ui/preview_panel.h"

#include "playback/ui/stage.h"
#include "../../playback/ui/stage_context.h"

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace lumavo {
namespace {

// A preview panel in an editor window, beside the real (offscreen) stage it must leave alone.
struct PreviewRig : test::StageContext {
    QWidget window;
    std::unique_ptr<TCan> stage;
    PreviewPanel* panel = nullptr;

    PreviewRig()
    {
        context.mainWidget = &window;
        stage = std::make_unique<TCan>(context);
        panel = new PreviewPanel(context, &window);
        window.resize(640, 480);
        window.show();
        QApplication::setActiveWindow(&window);
        oneTitlePage();
        ws.page.line(1).waveFile = "/no/such/sound.wav";
        ws.page.pauseSecs = 2;
    }
};

int litPixels(const Bitmap& b)
{
    int lit = 0;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            lit += b.pixel(x, y) != kBlack;
    return lit;
}

TEST(PreviewPanel, PlaysThePageOnItsOwnCanvasWithoutTouchingTheStage)
{
    PreviewRig r;
    QSignalSpy stagePresents(r.stage.get(), &TCan::presented);
    QSignalSpy finished(r.panel, &PreviewPanel::finished);
    const int stageLitBefore = litPixels(r.stage->backBuffer());
    r.panel->preview({1280, 720});
    EXPECT_EQ(r.panel->backBuffer().width(), 1280);
    EXPECT_GT(litPixels(r.panel->backBuffer()), 20);
    EXPECT_GE(r.clock.now(), std::chrono::seconds(2));   // the timed hold ran on the clock
    EXPECT_EQ(stagePresents.count(), 0);
    EXPECT_FALSE(r.stage->isVisible());
    EXPECT_EQ(litPixels(r.stage->backBuffer()), stageLitBefore);
    EXPECT_TRUE(r.waveLog.isEmpty());                      // sounds off
    EXPECT_EQ(r.ws.page.line(1).waveFile, QStringLiteral("/no/such/sound.wav"));
    EXPECT_TRUE(r.prompter.messages.empty());
    EXPECT_EQ(finished.count(), 1);
    EXPECT_FALSE(r.panel->isVisible());
}

TEST(PreviewPanel, EscapeEndsAManualHold)
{
    PreviewRig r;
    r.ws.page.mpause = true;
    // Esc goes in once the panel is up and holding; a guard ends a hold the key failed to end.
    QTimer press;
    int ticks = 0;
    bool guarded = false;
    QObject::connect(&press, &QTimer::timeout, r.panel, [&] {
        if (++ticks > 200) {
            guarded = true;
            r.panel->stopPreview();
        } else if (r.panel->isVisible() && r.panel->flags().spaceBarPause) {
            QTest::keyClick(&r.window, Qt::Key_Escape);
        }
    });
    press.start(1);
    r.panel->preview({640, 360});
    press.stop();
    EXPECT_FALSE(guarded);
    EXPECT_TRUE(r.panel->flags().killNow);
    EXPECT_FALSE(r.panel->isPreviewing());
    EXPECT_FALSE(r.panel->isVisible());
}

TEST(PreviewPanel, PictureKeepsTheCanvasAspect)
{
    PreviewRig r;
    r.panel->preview({1280, 720});
    r.panel->show();
    r.panel->resize(660, 600);
    QApplication::processEvents();
    const QRect picture = r.panel->pictureRect();
    EXPECT_NEAR(static_cast<double>(picture.width()) / picture.height(), 16.0 / 9.0, 0.01);

    // A thin grey edge stands between the stage's own black and the letterbox's.
    auto* area = r.panel->findChild<QWidget*>(QStringLiteral("PreviewPicture"));
    ASSERT_NE(area, nullptr);
    const QImage shown = area->grab().toImage();
    const int x = picture.center().x();
    EXPECT_EQ(shown.pixelColor(x, picture.top() - 1), QColor(110, 110, 110));
    EXPECT_EQ(shown.pixelColor(x, picture.top() - 4), QColor(Qt::black));
    EXPECT_EQ(shown.pixelColor(x, picture.top() + 1), QColor(Qt::black)) << "the stage itself is black here";
}

} // namespace
} // namespace lumavo
