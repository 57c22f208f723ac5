#include "playback/page_player.h"

#include "playback/leaders.h"
#include "playback/motion_runner.h"
#include "playback/page_validity.h"
#include "playback/stage_surface.h"
#include "playback/title_motion.h"
#include "storage/file_lookup.h"
#include "storage/page_edits.h"
#include "storage/project.h"

#include <algorithm>
#include <chrono>

namespace lumavo {

namespace {

constexpr int kWaveMessageLimit = 107;
constexpr int kCountDownFrom = 10;
const QString kLeaderLabel = QStringLiteral("000");
// How long a page waits for its stage to reach the screen before drawing anyway.
constexpr Clock::Nanoseconds kStageShowLimit = std::chrono::seconds(2);
constexpr Clock::Nanoseconds kStageShowPoll = std::chrono::milliseconds(5);

} // namespace

QString waveErrorMessage(const QString& fileName)
{
    return (QStringLiteral("Error: Opening Media file: ") + fileName).left(kWaveMessageLimit);
}

int leadingNumber(const QString& text)
{
    int value = 0;
    for (const QChar c : text) {
        if (!c.isDigit() || c.unicode() > '9')
            break;
        value = value * 10 + (c.unicode() - '0');
        if (value > 999)
            break;
    }
    return value;
}

PagePlayer::PagePlayer(Workspace& ws, StageSurface& stage, PlaybackFlags& flags, Clock& clock, WavePlayer& wave,
                       TitleComposer composer)
    : ws_(ws), stage_(stage), flags_(flags), clock_(clock), wave_(wave),
      composer_(std::move(composer)), pacer_(stage, clock)
{
    pacer_.setHalt([this] { return flags_.cut; });
}

const ComposedTitle* PagePlayer::titleImage(int n) const
{
    const auto& t = titles_.at(static_cast<std::size_t>(n - 1));
    return t ? &*t : nullptr;
}

void PagePlayer::pumpMessages()
{
    pacer_.flush();
    stage_.pumpMessages();
}

void PagePlayer::invalidateStage()
{
    Bitmap& back = stage_.backBuffer();
    // A smooth project's stage keeps the titles' alpha beside their colour.
    back.setAlpha(ws_.project.smoothEdges);
    back.canvas().brush = {kBlack, BrushStyle::Solid};
    back.canvas().fillRect({0, 0, back.width(), back.height()});
    pacer_.markAllDirty();
}

void PagePlayer::initImageScreen()
{
    invalidateStage();
    stage_.showForPlayback();
    pumpMessages();
    waitUntilStageShown();
}

void PagePlayer::waitUntilStageShown()
{
    // A window manager maps the stage some frames after it is shown; frames drawn before that
    // never reach the screen, so the first IN frames would be lost.
    const Clock::Nanoseconds limit = clock_.now() + kStageShowLimit;
    while (!stage_.isShownOnScreen() && clock_.now() < limit) {
        clock_.sleepUntil(std::min(limit, clock_.now() + kStageShowPoll));
        stage_.pumpMessages();
    }
}

void PagePlayer::killBitmaps(int n)
{
    if (ws_.page.line(n).titleValid)
        titles_.at(static_cast<std::size_t>(n - 1)).reset();
    pumpMessages();
}

void PagePlayer::killcan()
{
    pumpMessages();
    stage_.closeStage();
}

void PagePlayer::cut()
{
    flags_.cut = true;
    flags_.killNow = true;
    flags_.spaceBarPause = false;
    // The black frame goes out past the halted pacer, so every output shows it in this present.
    Bitmap& back = stage_.backBuffer();
    back.canvas().brush = {kBlack, BrushStyle::Solid};
    back.canvas().fillRect({0, 0, back.width(), back.height()});
    pacer_.discard();
    if (stage_.isEnabledStage())
        stage_.present({0, 0, back.width(), back.height()});
    stage_.closeStage();
}

void PagePlayer::waitSeconds(int seconds)
{
    const Clock::Nanoseconds end = clock_.now() + std::chrono::seconds(std::max(seconds, 0));
    pumpMessages();
    // Keys and clicks are handled during the wait; a stop request ends it, since the run stops
    // at the next test point anyway.
    if (seconds > 0)
        pacer_.waitUntil(end, [this] { return flags_.killNow; });
    pumpMessages();
}

void PagePlayer::showColorBars(int seconds)
{
    pumpMessages();
    Bitmap& back = stage_.backBuffer();
    drawColorBars(back.canvas(), stage_.screenSize());
    pacer_.markAllDirty();
    waitSeconds(seconds);
    invalidateStage();
    pumpMessages();
    if (!flags_.killNow)
        waitSeconds(1);
}

void PagePlayer::countDown()
{
    Canvas& canvas = stage_.backBuffer().canvas();
    const Point size = stage_.screenSize();
    prepareCountDownCanvas(canvas, size);
    // The first draw of the big font renders its glyphs, which takes a good part of a second:
    // render every number once, off the stage, before the timed waits begin.
    Bitmap scratch(std::max(1, canvas.textWidth(countDownText(kCountDownFrom))),
                   std::max(1, canvas.textHeight(countDownText(kCountDownFrom))), PixelFormat::Bits32);
    scratch.canvas().font = canvas.font;
    scratch.canvas().brush = canvas.brush;
    for (int k = kCountDownFrom; k >= 1; --k)
        scratch.canvas().textOut(0, 0, countDownText(k));
    invalidateStage();
    pumpMessages();
    // A stop request ends the count-down: no later number is drawn, and the stage goes black.
    for (int k = kCountDownFrom; k >= 1 && !flags_.killNow; --k) {
        drawCountDownNumber(canvas, size, k);
        pacer_.markAllDirty();
        waitSeconds(1);
    }
    if (!flags_.killNow)
        waitSeconds(1);
    invalidateStage();
    if (!flags_.killNow)
        waitSeconds(1);
    pumpMessages();
}

void PagePlayer::pauseUntilSpaceBarReset()
{
    // Also ends when the stage has been closed (a second left click), so a manual wait can never
    // outlive the window that would release it.
    pumpMessages();
    while (flags_.spaceBarPause && stage_.isEnabledStage()) {
        stage_.waitForMessages();
        pumpMessages();
    }
}

bool PagePlayer::openWave(int n)
{
    const TitleLine& line = ws_.page.line(n);
    QString path = resolveStoredPath(line.waveFile, ws_.project.projectDir);
    if (path.isEmpty())
        path = line.waveFile;
    if (wave_.open(path))
        return true;
    tellOnce(notices_, Result::failure(waveErrorMessage(line.waveFile)));
    wave_.close();
    // The next play of the page runs without sound: the editor drops the name (an edit of the page).
    setLineWave(ws_, n, QString());
    return false;
}

ComposedTitle& PagePlayer::compose(int n)
{
    auto& slot = titles_.at(static_cast<std::size_t>(n - 1));
    ComposeFormats formats = stage_.composeFormats();
    formats.smooth = ws_.project.smoothEdges;
    slot = composeShownLine(ws_.page.line(n), ws_.dataRow, [&](const TitleLine& shown) {
        return composer_(shown, n, ws_.stage.restOf(n), formats, ws_.editor.alignActive,
                         ws_.project.projectDir, stage_.screenSize());
    });
    if (!slot->ok && !slot->errorMessage.isEmpty())
        tellOnce(notices_, Result::failure(slot->errorMessage));
    return *slot;
}

MotionInput PagePlayer::motionInput(int n, int code, bool inPath) const
{
    const ComposedTitle& title = *titles_.at(static_cast<std::size_t>(n - 1));
    MotionInput in;
    in.code = code;
    in.width = title.bitmap.width();
    in.height = title.bitmap.height();
    in.rest = ws_.stage.restOf(n);
    in.screen = stage_.screenSize();
    in.delay = ws_.page.movementDelay;
    in.fadeDelay = ws_.page.fadeDelay;
    in.osEffect = ws_.editor.osEffect;
    in.easySlowdown = ws_.editor.easySlowdown;
    in.path = inPath ? &ws_.stage.inPath(n) : &ws_.stage.outPath(n);
    return in;
}

void PagePlayer::moveIn(int n)
{
    ComposedTitle& title = *titles_.at(static_cast<std::size_t>(n - 1));
    const Motion motion = titleMotionIn(motionInput(n, ws_.page.line(n).inDir, true));
    runMotion(motion, title.bitmap, stage_.backBuffer().canvas(), pacer_, clock_,
              fadeFormForDepth(stage_.screenDepth()));
    // A title whose picture failed has no image on the stage; its rest position stays as it was.
    if (title.ok && ws_.stage.restOf(n) != title.position)
        setLineRest(ws_, n, title.position);
}

void PagePlayer::moveOut(int n)
{
    auto& slot = titles_.at(static_cast<std::size_t>(n - 1));
    if (!slot)
        return;
    const Motion motion = titleMotionOut(motionInput(n, ws_.page.line(n).outDir, false));
    runMotion(motion, slot->bitmap, stage_.backBuffer().canvas(), pacer_, clock_,
              fadeFormForDepth(stage_.screenDepth()));
}

PageEnd PagePlayer::playOnePage(const QString& label)
{
    pumpMessages();
    if (flags_.killNow)
        return PageEnd::Skipped;
    initImageScreen();

    if (label == kLeaderLabel) {
        if (ws_.project.useColorBars && ws_.project.colorBarTime > 0)
            showColorBars(ws_.project.colorBarTime);
        if (ws_.project.useCountDown && !flags_.killNow)
            countDown();
    }
    if (wasCut())
        return PageEnd::Cut;
    flags_.spaceBarPause = ws_.page.mpause;
    if (flags_.spaceBarPause)
        pauseUntilSpaceBarReset();

    // A page that ends early destroys the titles built so far. A wave that cannot be opened ends
    // it the same way for every line.
    auto destroyTitlesUpTo = [&](int last) {
        for (int k = 1; k <= last; ++k)
            killBitmaps(k);
    };

    for (int n = 1; n <= kLineCount; ++n) {
        const TitleLine& line = ws_.page.line(n);
        if (!line.titleValid)
            continue;
        const bool hasWave = !line.waveFile.isEmpty();
        if (hasWave && !openWave(n)) {
            destroyTitlesUpTo(n - 1);
            return PageEnd::WaveFailed;
        }
        // Line 2's sound starts after it is composed; lines 1 and 3 start before.
        if (hasWave && n != 2)
            wave_.play();
        compose(n);
        if (flags_.killNow) {
            wave_.close();
            destroyTitlesUpTo(n);
            return wasCut() ? PageEnd::Cut : PageEnd::Stopped;
        }
        if (hasWave && n == 2)
            wave_.play();
        moveIn(n);
        wave_.close();
        // A click or key during the motion takes effect now: the page stops after this title.
        pumpMessages();
        if (wasCut()) {
            destroyTitlesUpTo(n);
            return PageEnd::Cut;
        }
    }

    flags_.spaceBarPause = ws_.page.mpause;
    if (flags_.spaceBarPause)
        pauseUntilSpaceBarReset();
    else if (ws_.page.pauseSecs > 0)
        waitSeconds(ws_.page.pauseSecs);

    for (int n = 1; n <= kLineCount && !wasCut(); ++n)
        if (ws_.page.line(n).titleValid)
            moveOut(n);
    for (int n = 1; n <= kLineCount; ++n)
        killBitmaps(n);
    return wasCut() ? PageEnd::Cut : PageEnd::Played;
}

namespace {

// Marks a play command as running for its whole length.
class PlayingScope {
public:
    explicit PlayingScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~PlayingScope() { flag_ = false; }
    PlayingScope(const PlayingScope&) = delete;
    PlayingScope& operator=(const PlayingScope&) = delete;

private:
    bool& flag_;
};

} // namespace

void PagePlayer::playCurrentPage()
{
    if (playing_)
        return;
    const PlayingScope scope(playing_);
    stage_.enableStage();
    flags_.killNow = false;
    flags_.cut = false;
    notices_.clear();
    const QString problem = projectValidityMessage(ws_);
    if (!problem.isEmpty()) {
        tellOnce(notices_, Result::failure(problem, MessageIcon::Information));
        return;
    }
    // A cut has closed the stage already.
    if (playOnePage(QStringLiteral("Current")) == PageEnd::Cut)
        return;
    flags_.killNow = true;
    killcan();
}

void PagePlayer::playAllPages(const PageSource& pages)
{
    if (playing_)
        return;
    const PlayingScope scope(playing_);
    flags_.killNow = false;
    flags_.cut = false;
    notices_.clear();
    const QString problem = projectValidityMessage(ws_);
    if (!problem.isEmpty()) {
        tellOnce(notices_, Result::failure(problem, MessageIcon::Information));
        flags_.killNow = true;
        return;
    }
    const bool repeat = ws_.editor.repeatLoop;
    stage_.enableStage();
    if (!repeat)
        stage_.showForPlayback();
    const int last = leadingNumber(pages.lastPageNumber());

    // One pass over pages 000..last; false when the stop flag ended the run.
    auto playPass = [&] {
        for (int number = 0; number <= last; ++number) {
            const QString text = pageNumberText(number);
            if (flags_.killNow) {
                if (!wasCut())
                    killcan();
                return false;
            }
            // pageNow names the page whose fields are held: a page that cannot be read leaves
            // the previous page and its number in place.
            const QString held = ws_.project.pageNow;
            ws_.project.pageNow = text;
            if (!pages.loadPage(text))
                ws_.project.pageNow = held;
            playOnePage(text);
            if (!repeat) {
                flags_.spaceBarPause = ws_.page.mpause;
                if (flags_.spaceBarPause)
                    pauseUntilSpaceBarReset();
            }
        }
        return true;
    };
    if (!repeat) {
        playPass();
    } else {
        while (stage_.isEnabledStage() && !flags_.killNow) {
            if (!playPass())
                break;
        }
    }
    flags_.killNow = true;
}

} // namespace lumavo
