#pragma once

#include "platform/bitmap.h"
#include "storage/ui/app_context.h"
#include "playback/page_player.h"
#include "playback/stage_surface.h"
#include "playback/ui/stage_placement.h"

#include <QString>
#include <QTimer>
#include <QWidget>
#include <memory>

namespace lumavo {

class GlStageView;

// What the stage needs of its alignment mode. The alignment screen (a higher window layer)
// provides it; the application installs it on the stage.
class StageAlignment {
public:
    virtual ~StageAlignment() = default;
    virtual void enterAlignment() = 0;
    virtual void clearInPath(int line) = 0;
    virtual void clearOutPath(int line) = 0;
    virtual void hidePanel() = 0;
    virtual void stopPathTimer() = 0;
};

// The full-screen stage: a frameless black window over the screen the main window is on. It
// plays pages and, while the editor's alignActive flag is set, serves as the alignment screen
// (whose behaviour the installed StageAlignment provides). Everything is drawn into a screen-sized
// 32-bit back buffer; paint events and presents copy from it.
class TCan : public QWidget, public StageSurface {
    Q_OBJECT
public:
    explicit TCan(AppContext& context, QWidget* parent = nullptr);
    ~TCan() override;

    // The editor's Play and P All commands.
    void playCurrentPage();
    void playAllPages();
    // The editor's Align command.
    void enterAlignment();
    // Clears a drawn path of line 1..3 as the alignment screen's path buttons do.
    void clearInPath(int line);
    void clearOutPath(int line);

    // The stop flag and the space-bar hold flag.
    bool getkillnow() const { return flags_.killNow; }
    void setkillnow(bool on) { flags_.killNow = on; }
    bool getspcbarpause() const { return flags_.spaceBarPause; }
    void setspcbarpause(bool on) { flags_.spaceBarPause = on; }

    // Ends playback: lets messages run, disables and hides the stage, shows the main window.
    void killcan();
    // Cut: the page and the run end at once; every output shows black in this present and the
    // stage closes (a second Esc or click, Shift+Esc, the console's Cut).
    void cut();
    // Saves a picture of the whole stage under a name the operator chooses.
    void saveabitmap();

    // The formats titles are composed in, from the screen's depth when the stage was last shown.
    PixelFormat titlePixelFormat() const { return formats_.title; }
    PixelFormat effectFormat() const { return formats_.effect; }
    int screenColorDepth() const { return depth_; }

    PagePlayer& player() { return *player_; }
    // Takes ownership of the alignment mode; without one, Align and the path commands do nothing.
    void setAlignment(std::unique_ptr<StageAlignment> alignment);
    StageAlignment* alignment() const { return alignment_.get(); }
    const PlaybackFlags& flags() const { return flags_; }

    // ---- outputs: where the stage goes, and who follows its presents ----
    // Not owned; null: the editor's screen, full-screen.
    void setPlacement(StagePlacement* placement) { placement_ = placement; }
    // True while the stage's own window is up for playback.
    bool isStageWindowShown() const { return isVisible(); }
    // The screen the editor's main window is on (null without one).
    QScreen* editorScreen() const;
    // True while programme frames go to the screen through OpenGL rather than by painting.
    bool presentsThroughOpenGl() const;

signals:
    // Programme frames only (never the alignment screen's): before a present, with the back-buffer
    // region about to be shown, so that every output prepares its pixels first...
    void aboutToPresent(const QRect& region);
    // ...and after the stage has shown it, so that they all show the same frame in one pass.
    void presented(const QRect& region);
    // Playback lets window messages run (the on-air console refreshes its status here).
    void pumping();
    // A notice for the status bar, such as sound that cannot be played.
    void notice(const QString& text);
    // The stage was closed: nothing of it is on air any more.
    void closed();

public:

    // StageSurface
    Bitmap& backBuffer() override { return back_; }
    void present(const Rect& region) override;
    Clock::Nanoseconds framePeriod() const override;
    Point screenSize() const override;
    int screenDepth() const override { return depth_; }
    ComposeFormats composeFormats() const override { return formats_; }
    void pumpMessages() override;
    void waitForMessages() override;
    void showForPlayback() override;
    void enableStage() override;
    void closeStage() override;
    bool isEnabledStage() const override { return isEnabled(); }
    bool isShownOnScreen() const override;

signals:
    // The stage has closed: whoever shows the main window repaints it, so no stage pixels
    // stay on it.
    void stageClosed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QScreen* stageScreen() const;
    void fitToScreen();
    // Back-buffer pixels per logical pixel of the window (the screen's device pixel ratio).
    qreal backBufferRatio() const;
    void readScreenFormats();
    // Puts the OpenGL view over the stage for playback (made once, where OpenGL works).
    void useOpenGl(bool on);

    AppContext& context_;
    Bitmap back_;
    PlaybackFlags flags_;
    ComposeFormats formats_{PixelFormat::Device, PixelFormat::Bits24};
    int depth_ = 32;
    std::unique_ptr<WavePlayer> wave_;
    std::unique_ptr<PagePlayer> player_;
    std::unique_ptr<StageAlignment> alignment_;
    QTimer wakeTimer_;                       // bounds a wait for messages
    bool paintedSinceShown_ = false;         // a frame reached the window since it was shown
    StagePlacement* placement_ = nullptr;
    bool showStageWindow_ = true;            // false while a windowed output shows the picture
    bool awayFromEditor_ = false;            // on another screen than the editor, which keeps the keys
    bool blackedOut_ = false;
    GlStageView* gl_ = nullptr;              // owned by glContainer_; null without OpenGL
    QWidget* glContainer_ = nullptr;         // a child of the stage
    bool glTried_ = false;                // closing: the window shows black, whatever the back buffer holds
};

} // namespace lumavo
