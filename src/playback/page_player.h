#pragma once

#include "compose/title_composer.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/wave_player.h"
#include "playback/frame_pacer.h"
#include "playback/title_motion.h"
#include "storage/workspace.h"

#include <QString>
#include <array>
#include <utility>
#include <functional>
#include <optional>

namespace lumavo {

class StageSurface;

// The stage's two playback flags, set by its key and mouse handlers and tested by playback.
struct PlaybackFlags {
    bool killNow = false;        // the stop flag
    bool spaceBarPause = false;  // the space-bar hold flag
    bool cut = false;            // the run was cut or its stage closed: nothing more is drawn
};

// Composes title line n (1..3) for playback; the stage passes composeTitle().
using TitleComposer = std::function<ComposedTitle(const TitleLine& line, int n, Point rest,
                                                  const ComposeFormats& formats, bool alignMode,
                                                  const QString& projectDir, Point screenSize)>;

// How play-all reaches the project's pages: the last page number of the unbroken run ("NEW" when
// page 000 is missing), and loading page "NNN" into the current page.
struct PageSource {
    std::function<QString()> lastPageNumber;
    std::function<bool(const QString& pageNumber)> loadPage;   // true when the page was read
};
// The project's pages through storage (GetNumberOFPages and LoadPage on the open project). Why a
// page could not be read goes to `notices`, once each, for the window to show after the run.
PageSource storagePageSource(Workspace& ws, Notices& notices);

// How a page ended.
enum class PageEnd {
    Played,       // every step ran
    Skipped,      // the stop flag was set at the start: nothing happened
    Stopped,      // the stop flag ended it after a title was composed
    WaveFailed,   // a line's wave file could not be opened: the page ended with its message
    Cut,          // a cut or a close of the stage ended it at once
};

// Plays pages on the stage: the page sequence, title motion, leaders and timed waits.
// All of it runs on the calling (user-interface) thread and returns when the run ends.
class PagePlayer {
public:
    PagePlayer(Workspace& ws, StageSurface& stage, PlaybackFlags& flags, Clock& clock, WavePlayer& wave,
               TitleComposer composer);

    // The Play Page command: enable the stage, clear the stop flag, and when the page is valid
    // play it as "Current", then set the stop flag and close the stage.
    // Both commands do nothing when asked again while one is running (from a nested message run).
    void playCurrentPage();
    // The play-all command: pages 000..last of the project, once, or over and over with the
    // repeat loop until the stop flag is set.
    void playAllPages(const PageSource& pages);
    bool isPlaying() const { return playing_; }
    // What the last run has to tell the operator (a page that cannot play, a wave or picture that
    // cannot be read), in order; each run starts with none. The player never shows a message box:
    // nothing but programme reaches the stage, and the window that played shows these after it.
    const Notices& notices() const { return notices_; }
    Notices takeNotices() { return std::exchange(notices_, {}); }

    // Plays the current page; label "000" plays the leaders first.
    PageEnd playOnePage(const QString& label);

    // The building blocks, also used by the stage window.
    void waitSeconds(int seconds);
    void showColorBars(int seconds);
    void countDown();
    void pauseUntilSpaceBarReset();
    // Draws nothing new: clears the stage to black and shows it (InitImageScreen), then waits
    // (2 s at most) until the stage is on the screen with its black frame shown.
    void initImageScreen();
    // Destroys title n's image when line n is in use, then lets messages run.
    void killBitmaps(int n);
    // Ends playback: lets messages run and closes the stage.
    void killcan();
    // Cut: ends the page and the run at once. The stage shows black in the present made here, then
    // closes; nothing the page would still draw reaches the screen. Closing the stage while a page
    // plays (a second click or Esc) is a cut.
    void cut();
    // Presents pending drawing, then lets pending window messages run once.
    void pumpMessages();
    // Blacks the back buffer and shows it (the stage repainting after an invalidate).
    void invalidateStage();

    // The title images of the current page (for tests and snapshots); null when none.
    const ComposedTitle* titleImage(int n) const;
    FramePacer& pacer() { return pacer_; }

private:
    void waitUntilStageShown();
    // True once a cut has ended the run (tested after every phase of a page).
    bool wasCut() const { return flags_.cut; }
    bool openWave(int n);
    void moveIn(int n);
    void moveOut(int n);
    ComposedTitle& compose(int n);
    MotionInput motionInput(int n, int code, bool inPath) const;

    Workspace& ws_;
    StageSurface& stage_;
    PlaybackFlags& flags_;
    Clock& clock_;
    WavePlayer& wave_;
    TitleComposer composer_;
    FramePacer pacer_;
    std::array<std::optional<ComposedTitle>, kLineCount> titles_;
    bool playing_ = false;
    Notices notices_;
};

// The message for a wave file that cannot be opened, cut to 107 characters.
QString waveErrorMessage(const QString& fileName);
// The page count play-all walks: the leading decimal digits of the last page number ("NEW": 0).
int leadingNumber(const QString& text);

} // namespace lumavo
