// Plays a code 5 slide on the real stage, for scripts/record_check.sh (run under Xvfb with a
// window manager). A white window stands in for the editor behind the stage.
//
//   stage_play_check --delay D [--plays N] [--check-first-frame]
//
// With --check-first-frame, each play grabs the screen when the first IN frame is presented and
// counts the plays whose screen was then the stage's (black away from the title), not the editor
// behind it. Prints "first-frame-on-stage K of N".
#include "platform/clock.h"
#include "platform/silent_prompter.h"
#include "storage/ui/app_context.h"
#include "playback/ui/stage.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

namespace {

using namespace lumavo;

// The stage, looking at the screen when the first title frame of a play is presented.
class CheckedStage final : public TCan {
public:
    using TCan::TCan;
    bool check = false;
    bool sawTitleFrame = false;
    bool firstFrameOnStage = false;
    bool throughOpenGl = false;

    std::vector<std::pair<std::int64_t, std::int64_t>> timings;   // present start, duration (us)
    SteadyClock clock;

    void present(const Rect& region) override
    {
        const auto t0 = clock.now();
        TCan::present(region);
        throughOpenGl = throughOpenGl || presentsThroughOpenGl();
        timings.emplace_back(std::chrono::duration_cast<std::chrono::microseconds>(t0).count(),
                             std::chrono::duration_cast<std::chrono::microseconds>(clock.now() - t0).count());
        const bool wholeStage = region.width() == backBuffer().width() && region.height() == backBuffer().height();
        if (!check || sawTitleFrame || wholeStage)
            return;
        sawTitleFrame = true;
        const QImage shot = screen()->grabWindow(0).toImage();
        // Samples away from the title's band must all be the stage's black.
        int black = 0, samples = 0;
        for (int y = 20; y < shot.height(); y += 97) {
            if (y >= region.top - 20 && y < region.bottom + 20)
                continue;
            for (int x = 20; x < shot.width(); x += 101) {
                ++samples;
                black += (shot.pixel(x, y) & 0xFFFFFF) == 0;
            }
        }
        firstFrameOnStage = samples > 0 && black == samples;
    }
};

int argValue(int argc, char** argv, const char* name, int fallback)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], name) == 0)
            return std::atoi(argv[i + 1]);
    return fallback;
}

bool hasFlag(int argc, char** argv, const char* name)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], name) == 0)
            return true;
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int delay = argValue(argc, argv, "--delay", 1500);
    const int plays = argValue(argc, argv, "--plays", 1);
    const bool checkFirst = hasFlag(argc, argv, "--check-first-frame");

    Workspace ws;
    SilentPrompter prompter;
    SteadyClock clock;
    AppContext context{ws, prompter, clock, nullptr};
    QWidget editor;
    QPalette white = editor.palette();
    white.setColor(QPalette::Window, Qt::white);
    editor.setPalette(white);
    editor.setAutoFillBackground(true);
    editor.setGeometry(editor.screen()->geometry());
    editor.show();
    context.mainWidget = &editor;
    CheckedStage stage(context);
    stage.check = checkFirst;

    TitleLine& line = ws.page.line(1);
    line.text = QStringLiteral("LUMAVO ON AIR");
    line.titleValid = true;
    line.fontName = QStringLiteral("DejaVu Sans");
    line.fontSize = 60;
    line.inDir = 5;
    line.outDir = 13;
    ws.stage.restOf(1) = {900, 480};
    ws.page.movementDelay = delay;
    ws.page.pauseSecs = 1;

    int onStage = 0;
    for (int k = 0; k < plays; ++k) {
        // Between plays the editor is shown again, as after any play.
        const auto until = clock.now() + std::chrono::milliseconds(300);
        while (clock.now() < until) {
            QCoreApplication::processEvents();
            clock.sleepFor(std::chrono::milliseconds(5));
        }
        stage.sawTitleFrame = false;
        stage.firstFrameOnStage = false;
        stage.playCurrentPage();
        onStage += stage.firstFrameOnStage;
    }
    if (hasFlag(argc, argv, "--timings"))
        for (std::size_t i = 1; i < stage.timings.size(); ++i)
            std::fprintf(stderr, "gap %lld us, present %lld us\n",
                         static_cast<long long>(stage.timings[i].first - stage.timings[i - 1].first),
                         static_cast<long long>(stage.timings[i].second));
    if (checkFirst)
        std::printf("first-frame-on-stage %d of %d\n", onStage, plays);
    std::printf("presented-through %s\n", stage.throughOpenGl ? "OpenGL" : "painting");
    std::printf("frame-period-ns %lld\n", static_cast<long long>(stage.framePeriod().count()));
    std::printf("back-buffer %dx%d for a %dx%d window\n", stage.backBuffer().width(), stage.backBuffer().height(),
                stage.width(), stage.height());
    return checkFirst && onStage != plays ? 1 : 0;
}
