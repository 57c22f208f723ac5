#pragma once

#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/geometry.h"
#include "storage/workspace.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace lumavo {

constexpr int kFadeLevels = 33;      // fade levels 0..32; 32 is the title itself
constexpr int kFadeShift = 5;        // a level scales a colour byte by level / 32

// The raster operation of the OS-effects index (0 or less, or above 6: plain copy).
RasterOp rasterOpForEffect(int osEffect);

// Waits, in nanoseconds. A plain step waits delay microseconds; the easy slow-down step waits
// (100 div (distance + 1)) x delay microseconds (none from 100 pixels away); a fade frame waits
// fadeDelay^2 x 10 nanoseconds. Negative inputs count as 0.
std::int64_t stepWaitNs(int delay);
std::int64_t DMoverDelay(int distance, int delay);
std::int64_t fadeFrameWaitNs(int fadeDelay);

// One draw of a title and the wait after it.
struct MotionStep {
    enum class Kind { Blit, Stretch, Fade };
    Kind kind = Kind::Blit;
    Rect area;                  // Blit and Fade: top-left at (left, top); Stretch: the target
    int level = 0;              // Fade: 0..32
    std::int64_t waitNs = 0;    // the wait after this step

    friend bool operator==(const MotionStep&, const MotionStep&) = default;
};

// Everything one motion needs to know.
struct MotionInput {
    int code = 0;               // direction code 1..13; anything else draws nothing
    int width = 0;              // title bitmap width and height, pixels
    int height = 0;
    Point rest;                 // where the title rests (ends IN, starts OUT)
    Point screen;               // screen width and height, pixels
    int delay = 0;              // movement delay D, 0..6000
    int fadeDelay = 0;          // fade delay F, 0..6000
    int osEffect = 0;           // raster operation index R
    bool easySlowdown = false;  // IN codes 1..8 only
    const DrawnPath* path = nullptr; // code 11: the line's IN or OUT path (none: draws nothing)
};

// A motion as a timeline: the copy mode it puts on the stage canvas before drawing (none: it
// draws with whatever the canvas has) and the draw steps in order.
struct Motion {
    std::optional<RasterOp> copyMode;
    std::vector<MotionStep> steps;
    bool isFade() const { return !steps.empty() && steps.front().kind == MotionStep::Kind::Fade; }
    std::int64_t totalWaitNs() const;
};

// The IN motion of a title (DrawTheBitMapInDir): ends with the title at the rest position.
Motion titleMotionIn(const MotionInput& input);
// The OUT motion (DrawTheBitMapOutDir): starts at the rest position, never sets the copy mode.
Motion titleMotionOut(const MotionInput& input);

// A drawn path's count clamped to -1..999, so a damaged count never reads past the stored points.
int clampedPathCount(const DrawnPath& path);

// Fade: which form to use for a screen colour depth (32 or more: the 32-bit form).
enum class FadeForm { Bits24, Bits32 };
FadeForm fadeFormForDepth(int screenDepth);

// Prepares fades of one title: the 24-bit form first raises a title below 24 bits to 24 bits.
// Holds a work bitmap of the title's size and format, filled for fade in with black and for
// fade out with the title's brush colour.
class FadeFrames {
public:
    FadeFrames(Bitmap& title, FadeForm form, bool fadeIn);
    // The work bitmap at level 0..32: lit source pixels scaled by level / 32, black ones keep the
    // fill. A title with alpha scales every pixel's colour and alpha alike.
    const Bitmap& frame(int level);

private:
    const Bitmap& title_;
    FadeForm form_;
    Bitmap work_;
};

} // namespace lumavo
