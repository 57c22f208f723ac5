#include "app/ui/output_controls.h"

#include "app/ui/on_air_console.h"
#include "app/ui/preview_panel.h"
#include "playback/ui/output_screens.h"
#include "playback/ui/stage.h"
#include "storage/settings_file.h"
#include "../../playback/ui/stage_context.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>

namespace lumavo {
namespace {

// A main window with the two menus the outputs add to, a stage and the output controls.
struct ControlsRig : test::StageContext {
    test::TempDir dir;
    QMainWindow main;
    std::unique_ptr<TCan> stage;
    std::unique_ptr<OutputControls> controls;

    explicit ControlsRig(const OutputSettings& stored = {})
    {
        main.menuBar()->addMenu(QStringLiteral("&Page"));
        main.menuBar()->addMenu(QStringLiteral("&Configuration"));
        main.setCentralWidget(new QWidget);
        context.mainWidget = &main;
        stage = std::make_unique<TCan>(context);
        if (stored != OutputSettings{}) {
            EXPECT_TRUE(writeOutputSettings(stored, ini()).ok);
        }
        controls = std::make_unique<OutputControls>(main, *stage, context, ini());
        main.show();
    }
    QString ini() const { return dir.file("lumavo.ini"); }
    QMenu* menu(const char* name) const { return main.findChild<QMenu*>(QString::fromLatin1(name)); }
};

TEST(OutputControls, MenusListTheChoicesAndAChoiceIsStored)
{
    ControlsRig r;
    QMenu* screen = r.menu("OutputScreen1");
    ASSERT_NE(screen, nullptr);
    ASSERT_NE(r.menu("KeyOutputScreen1"), nullptr);
    ASSERT_EQ(screen->actions().size(), 1 + static_cast<qsizetype>(OutputScreens::screenEntries().size()));
    EXPECT_EQ(screen->actions().front()->text(), QStringLiteral("Same as editor"));
    EXPECT_TRUE(screen->actions().front()->isChecked());
    QMenu* window = r.menu("OutputWindow1");
    ASSERT_NE(window, nullptr);
    window->actions().at(1)->trigger();   // 1280 x 720
    EXPECT_EQ(readOutputSettings(r.ini()).outputWindow, QStringLiteral("1280x720"));
    EXPECT_NE(r.controls->outputs().windowOutput(), nullptr);
    window->actions().at(0)->trigger();
}

TEST(OutputControls, StoredChoiceIsReadAtStartAndARunAwayFromTheEditorShowsTheConsole)
{
    ControlsRig r({QString(), QString(), QStringLiteral("1280x720")});
    EXPECT_EQ(r.controls->outputs().windowCanvas(), WindowCanvas::Hd720);
    r.controls->playbackStarting();
    EXPECT_TRUE(r.controls->console().isVisible());
    EXPECT_FALSE(r.main.centralWidget()->isEnabled());
    EXPECT_FALSE(r.main.menuBar()->isEnabled());
    r.controls->playbackEnded();
    EXPECT_FALSE(r.controls->console().isVisible());
    EXPECT_TRUE(r.main.centralWidget()->isEnabled());
    EXPECT_TRUE(r.main.menuBar()->isEnabled());
}

TEST(OutputControls, RunOnTheEditorsScreenKeepsTheEditorAsItWas)
{
    ControlsRig r;
    r.controls->playbackStarting();
    EXPECT_FALSE(r.controls->console().isVisible());
    EXPECT_TRUE(r.main.centralWidget()->isEnabled());
    r.controls->playbackEnded();
}

TEST(OutputControls, PreviewPlaysThePageAndGivesTheEditorBack)
{
    ControlsRig r;
    r.oneTitlePage();
    r.controls->previewCurrentPage();
    EXPECT_FALSE(r.controls->preview().isVisible());
    EXPECT_TRUE(r.main.centralWidget()->isEnabled());
    EXPECT_GT(r.controls->preview().backBuffer().width(), 0);
    EXPECT_FALSE(r.stage->isVisible());
}

} // namespace
} // namespace lumavo
