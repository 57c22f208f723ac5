#pragma once

#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/color.h"
#include "platform/geometry.h"
#include "storage/workspace.h"

#include <array>
#include <cstdint>
#include <optional>

namespace lumavo {

// One of the six drawn paths: title line 1..3 and its IN or OUT side.
struct PathId {
    int line = 1;
    PathSide side = PathSide::In;
    friend constexpr bool operator==(const PathId&, const PathId&) = default;
};

// The six paths in panel and timer order: line 1 IN, line 1 OUT, line 2 IN, ... line 3 OUT.
inline constexpr std::array<PathId, 6> kAllPaths{{{1, PathSide::In}, {1, PathSide::Out},
                                                  {2, PathSide::In}, {2, PathSide::Out},
                                                  {3, PathSide::In}, {3, PathSide::Out}}};

// Highest slot a point is ever recorded in (the count may reach kMaxPathCount, one beyond).
inline constexpr int kLastRecordedSlot = kMaxPathCount - 1;

// Colour of line 1..3's paths and of its title frame in alignment mode: red, white, blue.
Color pathColor(int line);

// The path's count kept within -1..kMaxPathCount, whatever was stored in it.
int boundedCount(const DrawnPath& path);

// Highest slot holding a recorded point: the count, but never beyond kLastRecordedSlot;
// -1 for an empty path.
int lastRecordedSlot(const DrawnPath& path);

// Sets (x, y) and its four direct neighbours to colour (pixels off the canvas are skipped).
void drawTpath(Canvas& canvas, int x, int y, Color color);

// A path point packed as one word: y in the high 16 bits, x in the low 16 bits.
std::uint32_t packPoint(PathPoint point);
PathPoint unpackPoint(std::uint32_t packed);

// The next path point from previous towards mouse: one pixel (or none) on each axis.
PathPoint stepTowards(PathPoint previous, Point mouse);

// The centre-line grid across the whole canvas at x = width div 2: a solid grey line when on,
// a solid black line (erasing it) when off. Leaves the pen solid in that colour.
void drawGrid(Canvas& canvas, bool on);

// The safe areas guides mark: centred rectangles of this share of the stage's width and height
// (action-safe 93 %, title-safe 90 %, as broadcasters keep them for today's flat screens).
inline constexpr int kActionSafePercent = 93;
inline constexpr int kTitleSafePercent = 90;
// The centred rectangle of `percent` of a stage of size `stage` (right and bottom excluded).
Rect safeArea(Point stage, int percent);
// The action-safe (dotted) and title-safe (solid) outlines in the grid's grey when on, in black
// (erasing them) when off. Drawn beside the centre line, switched with it; leaves the pen solid.
void drawSafeAreas(Canvas& canvas, bool on);

// A title dragged or nudged on the stage: its picture drawn there at `from` is blacked out and
// drawn again at `to`, so no copy stays behind at the old place.
void moveTitlePicture(Canvas& canvas, const Bitmap& picture, Point from, Point to);

// What the alignment screen knows of a title image: its composed picture and where it stands.
// bitmap is null when the line has no image.
struct TitlePicture {
    const Bitmap* bitmap = nullptr;
    Point position;
};
using TitlePictures = std::array<TitlePicture, kLineCount>;

// The alignment screen's path model: the six drawn paths of the stage and the rest positions in
// the workspace, the path being drawn, the last path point and the path timer's phase bit.
// Every drawing goes to the canvas passed in (the stage's back buffer).
class AlignmentPaths {
public:
    explicit AlignmentPaths(Workspace& workspace);

    DrawnPath& path(PathId id);
    const DrawnPath& path(PathId id) const;
    // True when the page's direction for that path is 11 (inPathOn / outPathOn).
    bool pathEnabled(PathId id) const;

    // The path whose button is down; nullopt when none is (or "Reset Current Path" is down).
    std::optional<PathId> currentPath() const { return current_; }
    // Empties the path: count -1, every slot painted out in black on the stage and set to (0, 0).
    void clearPath(Canvas& canvas, PathId id);
    // A path button pressed: clears that path and makes it the one being drawn.
    void choosePath(Canvas& canvas, PathId id);
    // "Reset Current Path": no path is drawn any more.
    void releasePath() { current_.reset(); }

    // One step from the previous point (prevX, prevY) towards the mouse, with a pen line from the
    // current pen position to it; remembers it as the last path point; returns it packed.
    std::uint32_t setXY(Canvas& canvas, int mouseY, int mouseX, int prevX, int prevY);

    // A mouse move on the stage. Records at most one point in the current path when the left
    // button alone is held and the path is enabled. True when the path's count changed.
    bool mouseMove(Canvas& canvas, Point mouse, bool leftButtonAlone);
    // The count of the path being drawn (for the count label and the gauge); -1 when none.
    int currentCount() const;
    PathPoint lastPathPoint() const { return lastPoint_; }

    // A mouse button pressed on the stage (the timer is the caller's). With the left button alone,
    // blacks out the picture of the current path's line at the last path point and moves the pen
    // to the mouse.
    void mouseDown(Canvas& canvas, Point mouse, bool leftButtonAlone, const TitlePictures& pictures);
    // A mouse button released: for the current path's line (when enabled), blacks out its picture
    // where its image stands and draws it at the last path point.
    void mouseUp(Canvas& canvas, const TitlePictures& pictures);

    // Every path of more than one point as a line through its points, with the current pen.
    void showAllPaths(Canvas& canvas) const;
    // True when some path has a count above 1 (the timer then has something to show).
    bool anyPathDrawn() const;

    // One tick of the path timer: flips the phase bit, draws each path of a line in use whose
    // count is above 1 dotted or dashed in its colour, then the grid when gridChecked.
    void timerTick(Canvas& canvas, bool gridChecked);
    bool phase() const { return phase_; }

    // Leaving the screen: each line in use rests where its IN path ends (point count - 1) when
    // the path has a count of 1 or more, else where its image was left (imagePositions).
    void takeRestPositions(const std::array<Point, kLineCount>& imagePositions);

private:
    Workspace& workspace_;
    std::optional<PathId> current_;
    PathPoint lastPoint_;
    bool phase_ = false;
};

} // namespace lumavo
