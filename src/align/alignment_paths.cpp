#include "align/alignment_paths.h"

#include "storage/page_commands.h"
#include "storage/page_edits.h"

#include <algorithm>

namespace lumavo {

namespace {

constexpr Color kGridGrey = rgb(128, 128, 128);

// Keeps a point on the canvas (and within 16 bits), so a pointer dragged off the stage never
// wraps a coordinate round to 65535.
PathPoint onCanvas(Canvas& canvas, int x, int y)
{
    const Bitmap& bm = canvas.bitmap();
    const int maxX = bm.isEmpty() ? 0xFFFF : std::min(bm.width() - 1, 0xFFFF);
    const int maxY = bm.isEmpty() ? 0xFFFF : std::min(bm.height() - 1, 0xFFFF);
    return {static_cast<std::uint16_t>(std::clamp(x, 0, maxX)),
            static_cast<std::uint16_t>(std::clamp(y, 0, maxY))};
}

int stepAxis(int previous, int mouse)
{
    if (mouse > previous)
        return previous + 1;
    if (mouse < previous)
        return previous - 1;
    return previous;
}

const PathPoint& pointAt(const DrawnPath& path, int slot)
{
    return path.points[static_cast<std::size_t>(slot)];
}

} // namespace

Color pathColor(int line)
{
    switch (line) {
    case 1:
        return rgb(255, 0, 0);
    case 2:
        return kWhite;
    default:
        return rgb(0, 0, 255);
    }
}

int boundedCount(const DrawnPath& path) { return std::clamp(path.count, -1, kMaxPathCount); }

int lastRecordedSlot(const DrawnPath& path) { return std::min(boundedCount(path), kLastRecordedSlot); }

void drawTpath(Canvas& canvas, int x, int y, Color color)
{
    canvas.setPixel(x, y, color);
    canvas.setPixel(x + 1, y, color);
    canvas.setPixel(x - 1, y, color);
    canvas.setPixel(x, y + 1, color);
    canvas.setPixel(x, y - 1, color);
}

std::uint32_t packPoint(PathPoint point)
{
    return (static_cast<std::uint32_t>(point.y) << 16) | point.x;
}

PathPoint unpackPoint(std::uint32_t packed)
{
    return {static_cast<std::uint16_t>(packed & 0xFFFF), static_cast<std::uint16_t>(packed >> 16)};
}

PathPoint stepTowards(PathPoint previous, Point mouse)
{
    const int x = stepAxis(previous.x, mouse.x);
    const int y = stepAxis(previous.y, mouse.y);
    return {static_cast<std::uint16_t>(std::clamp(x, 0, 0xFFFF)),
            static_cast<std::uint16_t>(std::clamp(y, 0, 0xFFFF))};
}

void drawGrid(Canvas& canvas, bool on)
{
    const Bitmap& bm = canvas.bitmap();
    canvas.pen.style = PenStyle::Solid;
    canvas.pen.color = on ? kGridGrey : kBlack;
    const int x = bm.width() / 2;
    canvas.moveTo(x, 0);
    canvas.lineTo(x, bm.height());
}

Rect safeArea(Point stage, int percent)
{
    const int width = stage.x * percent / 100;
    const int height = stage.y * percent / 100;
    const int left = (stage.x - width) / 2;
    const int top = (stage.y - height) / 2;
    return {left, top, left + width, top + height};
}

void drawSafeAreas(Canvas& canvas, bool on)
{
    const Point stage{canvas.bitmap().width(), canvas.bitmap().height()};
    canvas.pen.color = on ? kGridGrey : kBlack;
    for (const int percent : {kActionSafePercent, kTitleSafePercent}) {
        canvas.pen.style = on && percent == kActionSafePercent ? PenStyle::Dot : PenStyle::Solid;
        const Rect r = safeArea(stage, percent);
        canvas.moveTo(r.left, r.top);
        canvas.lineTo(r.right - 1, r.top);
        canvas.lineTo(r.right - 1, r.bottom - 1);
        canvas.lineTo(r.left, r.bottom - 1);
        canvas.lineTo(r.left, r.top);
    }
    canvas.pen.style = PenStyle::Solid;
}

void moveTitlePicture(Canvas& canvas, const Bitmap& picture, Point from, Point to)
{
    canvas.copyMode = RasterOp::Blackness;
    canvas.draw(from.x, from.y, picture);
    canvas.copyMode = RasterOp::SrcCopy;
    canvas.draw(to.x, to.y, picture);
}

AlignmentPaths::AlignmentPaths(Workspace& workspace) : workspace_(workspace) {}

DrawnPath& AlignmentPaths::path(PathId id)
{
    return id.side == PathSide::In ? workspace_.stage.inPath(id.line) : workspace_.stage.outPath(id.line);
}

const DrawnPath& AlignmentPaths::path(PathId id) const
{
    return id.side == PathSide::In ? workspace_.stage.inPath(id.line) : workspace_.stage.outPath(id.line);
}

bool AlignmentPaths::pathEnabled(PathId id) const
{
    const TitleLine& line = workspace_.page.line(id.line);
    return id.side == PathSide::In ? line.inPathOn : line.outPathOn;
}

void AlignmentPaths::clearPath(Canvas& canvas, PathId id)
{
    DrawnPath& p = path(id);
    // Every slot, the last one included: a path read from a file may hold a point there.
    for (const PathPoint& point : p.points)
        drawTpath(canvas, point.x, point.y, kBlack);
    eraseLinePath(workspace_, id.side, id.line);
}

void AlignmentPaths::choosePath(Canvas& canvas, PathId id)
{
    clearPath(canvas, id);
    current_ = id;
}

std::uint32_t AlignmentPaths::setXY(Canvas& canvas, int mouseY, int mouseX, int prevX, int prevY)
{
    const PathPoint next = stepTowards(onCanvas(canvas, prevX, prevY), {mouseX, mouseY});
    lastPoint_ = onCanvas(canvas, next.x, next.y);
    canvas.lineTo(lastPoint_.x, lastPoint_.y);
    return packPoint(lastPoint_);
}

bool AlignmentPaths::mouseMove(Canvas& canvas, Point mouse, bool leftButtonAlone)
{
    if (!current_ || !leftButtonAlone || !pathEnabled(*current_))
        return false;
    DrawnPath& p = path(*current_);
    int m = boundedCount(p);
    if (m >= kMaxPathCount)
        return false;
    ++m;
    p.count = m;
    if (m == 0) {
        const PathPoint first = onCanvas(canvas, mouse.x, mouse.y);
        p.points[0] = first;
        canvas.moveTo(first.x, first.y);
    } else if (m < kMaxPathCount) {
        canvas.pen.color = pathColor(current_->line);
        const PathPoint& prev = pointAt(p, m - 1);
        p.points[static_cast<std::size_t>(m)] = unpackPoint(setXY(canvas, mouse.y, mouse.x, prev.x, prev.y));
    }
    return true;
}

int AlignmentPaths::currentCount() const { return current_ ? boundedCount(path(*current_)) : -1; }

void AlignmentPaths::mouseDown(Canvas& canvas, Point mouse, bool leftButtonAlone, const TitlePictures& pictures)
{
    if (!leftButtonAlone)
        return;
    if (current_) {
        const TitlePicture& picture = pictures[static_cast<std::size_t>(current_->line - 1)];
        if (picture.bitmap != nullptr) {
            canvas.copyMode = RasterOp::Blackness;
            canvas.draw(lastPoint_.x, lastPoint_.y, *picture.bitmap);
        }
    }
    canvas.copyMode = RasterOp::SrcCopy;
    if (current_)
        canvas.moveTo(mouse.x, mouse.y);
}

void AlignmentPaths::mouseUp(Canvas& canvas, const TitlePictures& pictures)
{
    if (!current_ || !pathEnabled(*current_))
        return;
    const TitlePicture& picture = pictures[static_cast<std::size_t>(current_->line - 1)];
    if (picture.bitmap == nullptr)
        return;
    canvas.copyMode = RasterOp::Blackness;
    canvas.draw(picture.position.x, picture.position.y, *picture.bitmap);
    canvas.copyMode = RasterOp::SrcCopy;
    canvas.draw(lastPoint_.x, lastPoint_.y, *picture.bitmap);
}

void AlignmentPaths::showAllPaths(Canvas& canvas) const
{
    for (const PathId id : kAllPaths) {
        const DrawnPath& p = path(id);
        const int last = lastRecordedSlot(p);
        if (last < 1)
            continue;
        canvas.moveTo(pointAt(p, 0).x, pointAt(p, 0).y);
        for (int slot = 1; slot <= last; ++slot)
            canvas.lineTo(pointAt(p, slot).x, pointAt(p, slot).y);
    }
}

bool AlignmentPaths::anyPathDrawn() const
{
    return std::any_of(kAllPaths.begin(), kAllPaths.end(),
                       [this](PathId id) { return boundedCount(path(id)) > 1; });
}

void AlignmentPaths::timerTick(Canvas& canvas, bool gridChecked)
{
    const bool wasSet = phase_;
    phase_ = !phase_;
    canvas.pen.style = wasSet ? PenStyle::Dot : PenStyle::Dash;
    for (const PathId id : kAllPaths) {
        const DrawnPath& p = path(id);
        const int count = boundedCount(p);
        if (count <= 1 || !workspace_.page.line(id.line).titleValid)
            continue;
        canvas.moveTo(pointAt(p, 0).x, pointAt(p, 0).y);
        canvas.pen.color = pathColor(id.line);
        for (int slot = 1; slot <= count - 1; ++slot)
            canvas.lineTo(pointAt(p, slot).x, pointAt(p, slot).y);
    }
    canvas.pen.color = kBlack;
    if (gridChecked)
        drawGrid(canvas, true);
}

void AlignmentPaths::takeRestPositions(const std::array<Point, kLineCount>& imagePositions)
{
    for (int line = 1; line <= kLineCount; ++line) {
        if (!workspace_.page.line(line).titleValid)
            continue;
        const DrawnPath& in = workspace_.stage.inPath(line);
        const int count = boundedCount(in);
        Point& rest = workspace_.stage.restOf(line);
        if (count < 1) {
            rest = imagePositions[static_cast<std::size_t>(line - 1)];
        } else {
            const PathPoint& end = pointAt(in, std::min(count - 1, kLastRecordedSlot));
            rest = {end.x, end.y};
        }
    }
}

} // namespace lumavo
