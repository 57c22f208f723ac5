#pragma once

#include "compose/title_composer.h"
#include "platform/bitmap.h"
#include "platform/clock.h"
#include "platform/geometry.h"

namespace lumavo {

// The stage as the page player sees it: a screen-sized 32-bit back buffer that every draw goes
// into, a way to show part of it on the screen, and the window's few other duties. The stage
// window implements it; tests use a stage that records what was presented.
class StageSurface {
public:
    virtual ~StageSurface() = default;

    // The screen-sized 32-bit back buffer (black where nothing is drawn). Lives as long as the stage.
    virtual Bitmap& backBuffer() = 0;
    // Shows the region of the back buffer on the screen now.
    virtual void present(const Rect& region) = 0;
    // The display's frame period: presents follow a grid of this period. Zero: no grid, every
    // present happens at once (a stage that records rather than shows).
    virtual Clock::Nanoseconds framePeriod() const = 0;
    // True once the stage window is on the screen and its first frame has been shown there.
    // Playback waits for it (a while at most) before it draws the first frame of a page.
    virtual bool isShownOnScreen() const { return true; }

    // Screen width and height in pixels, and its colour depth in bits per pixel.
    virtual Point screenSize() const = 0;
    virtual int screenDepth() const = 0;
    // The formats titles are composed in (set from the screen's depth when the stage is shown).
    virtual ComposeFormats composeFormats() const = 0;

    // Lets pending window messages run once (key and mouse handlers run nested inside this).
    virtual void pumpMessages() = 0;
    // Sleeps until at least one window message is pending (or a short while has passed).
    virtual void waitForMessages() = 0;

    // Shows the stage full-screen over the screen for playback: size, no cursor, tool bar hidden.
    virtual void showForPlayback() = 0;
    // Enables the stage (a play command starts).
    virtual void enableStage() = 0;
    // Disables and hides the stage and brings the main window back.
    virtual void closeStage() = 0;
    // True while the stage is enabled (a second left click or closeStage() disables it).
    virtual bool isEnabledStage() const = 0;
};

} // namespace lumavo
