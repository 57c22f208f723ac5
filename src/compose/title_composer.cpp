#include "compose/title_composer.h"

#include "compose/byte_block.h"
#include "compose/effects.h"
#include "compose/smooth_effects.h"
#include "storage/file_lookup.h"
#include "storage/live_data.h"
#include "storage/page_edits.h"

#include <algorithm>
#include <new>
#include <stdexcept>

namespace lumavo {

Color titleFrameColor(int n, bool alignMode)
{
    if (!alignMode)
        return kBlack;
    switch (n) {
    case 1: return rgb(255, 0, 0);
    case 2: return rgb(255, 255, 255);
    default: return rgb(0, 0, 255);
    }
}

QString pictureErrorMessage(const QString& fileName)
{
    return (QStringLiteral("Error opening file: ") + fileName).left(100);
}

int shadowOffset(int points)
{
    return points < 16 ? 0 : points / 16; // a negative stored size must not shrink the bitmap
}

namespace {

// Bytes of a 32-bit bitmap of that size, the measure the memory messages give.
std::uint64_t titleBytes(std::int64_t width, std::int64_t height)
{
    return width > 0 && height > 0 ? static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * 4 : 0;
}

// The effects: the filter, then the gradient, each run in the effect format and converted back to
// the title format. A smooth title stays 32-bit with alpha; both act on its straight colour.
void applyEffects(Bitmap& bitmap, const TitleLine& line, const ComposeFormats& formats)
{
    if (formats.smooth) {
        if (!line.archOn && !line.gradOn)
            return;
        applyToColour(bitmap, [&line](Bitmap& b) {
            if (line.archOn)
                Filter32(b);
            if (line.gradOn)
                Gradient32(b); // ends at the surface's font colour
        });
        return;
    }
    const bool wide = formats.effect == PixelFormat::Bits32;
    if (line.archOn) {
        bitmap.setPixelFormat(wide ? PixelFormat::Bits32 : PixelFormat::Bits24);
        wide ? Filter32(bitmap) : Filter24(bitmap);
        bitmap.setPixelFormat(formats.title);
    }
    if (line.gradOn) {
        bitmap.setPixelFormat(wide ? PixelFormat::Bits32 : PixelFormat::Bits24);
        if (wide)
            Gradient32(bitmap); // ends at the surface's font colour
        else
            Gradient24(bitmap, line.gradColor, line.fontColor);
        bitmap.setPixelFormat(formats.title);
    }
}

Rect united(const Rect& a, const Rect& b)
{
    if (a.isEmpty())
        return b;
    if (b.isEmpty())
        return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

// The cell, grown to hold ink that overhangs it with one pixel to spare on that side, so the
// frame drawn on the outermost pixels never covers a glyph. A smooth title also grows where ink
// reaches the cell's outermost pixels; a classic one keeps them under the frame, as it always has.
Rect inkBounds(const Rect& cell, const Rect& ink, bool smooth)
{
    if (ink.isEmpty())
        return cell;
    const int edge = smooth ? 1 : 0;
    return {ink.left < cell.left + edge ? ink.left - 1 : cell.left,
            ink.top < cell.top + edge ? ink.top - 1 : cell.top,
            ink.right > cell.right - edge ? ink.right + 1 : cell.right,
            ink.bottom > cell.bottom - edge ? ink.bottom + 1 : cell.bottom};
}

Rect moved(const Rect& r, int dx, int dy, int grow)
{
    return r.isEmpty() ? r : Rect{r.left + dx - grow, r.top + dy - grow, r.right + dx + grow, r.bottom + dy + grow};
}

void drawFrame(Bitmap& bitmap, Color color)
{
    Canvas& canvas = bitmap.canvas();
    canvas.brush.color = color;
    canvas.brush.style = BrushStyle::Solid;
    canvas.frameRect(Rect{0, 0, bitmap.width(), bitmap.height()});
}

// The text title: the text, with its shadow d pixels right and below, on black. The bitmap
// holds the text's cell and all of its ink (and the shadow's): where ink overhangs the cell, the
// bitmap grows on that side and the text moves in by as much. A smooth title draws the line's
// outline under the text and blurs the shadow by its soft radius. *bytes gets the bitmap's size;
// false (nothing drawn) when it is above kMaxTitlePixels.
bool drawText(Bitmap& bitmap, const TitleLine& line, int n, bool smooth, std::uint64_t* bytes)
{
    Canvas& canvas = bitmap.canvas();
    canvas.brush.color = kBlack;
    canvas.brush.style = BrushStyle::Solid;
    canvas.font.name = line.fontName;
    canvas.font.color = line.shadowOn ? line.shadowColor : line.fontColor;
    canvas.font.points = line.fontSize;
    canvas.font.style = line.fontStyle;
    canvas.font.outlineWidth = smooth ? std::clamp(line.outlineWidth, 0, kMaxLineStylePixels) : 0;
    canvas.font.outlineColor = line.shadowOn ? line.shadowColor : line.outlineColor;

    const int d = line.shadowOn ? shadowOffset(line.fontSize) : 0;
    const int radius = smooth ? std::clamp(line.softShadowRadius, 0, kMaxLineStylePixels) : 0;
    const int blur = line.shadowOn ? softBlurReach(radius) : 0;
    const Rect cell{0, 0, canvas.textWidth(line.text), canvas.textHeight(line.text)};
    const Rect body = inkBounds(cell, canvas.textInk(line.text), smooth);
    const Rect bounds = line.shadowOn ? united(body, moved(body, d, d, blur)) : body;
    const int ox = -bounds.left, oy = -bounds.top;
    const std::int64_t width = bounds.width();
    const std::int64_t height = bounds.height();
    *bytes = titleBytes(width, height);
    if (width > 0 && height > 0 && width * height > kMaxTitlePixels)
        return false;
    bitmap.setWidth(static_cast<int>(width));
    bitmap.setHeight(static_cast<int>(height));
    if (line.shadowOn) {
        canvas.textOut(ox + d, oy + d, line.text);
        blurPremultiplied(bitmap, radius);
        canvas.brush.style = BrushStyle::Clear;
        canvas.font.color = line.fontColor;
        canvas.font.outlineColor = line.outlineColor;
        canvas.textOut(ox, oy, line.text);
        canvas.brush.style = BrushStyle::Solid;
    } else {
        canvas.textOut(ox, oy + (n == 1 ? -1 : 0), line.text);
    }
    return true;
}

ComposedTitle failed(const QString& message, Point screenSize)
{
    ComposedTitle title;
    title.bitmap = Bitmap(0, 0, PixelFormat::Device);
    title.position = Point{screenSize.x + 1, screenSize.y + 1};
    title.ok = false;
    title.errorMessage = message;
    return title;
}

} // namespace

ComposedTitle composeTitle(const TitleLine& line, int n, Point rest, const ComposeFormats& formats,
                           bool alignMode, const QString& projectDir, Point screenSize)
{
    ComposedTitle title;
    title.position = rest;
    std::uint64_t bytes = 0;
    try {
        const QString picturePath =
            line.bitmapFile.isEmpty() ? QString() : resolveStoredPath(line.bitmapFile, projectDir);
        if (!picturePath.isEmpty()) {
            if (!title.bitmap.loadFromFile(picturePath, nullptr, kMaxTitlePixels, formats.smooth)) {
                // The stored name is kept: the picture may be readable again later, and a save
                // must not drop it from the page.
                return failed(pictureErrorMessage(line.bitmapFile), screenSize);
            }
            bytes = titleBytes(title.bitmap.width(), title.bitmap.height());
            // The gradient of a 32-bit effect format ends at the line's font colour here too.
            title.bitmap.canvas().font.color = line.fontColor;
            applyEffects(title.bitmap, line, formats);
            if (n == 2 && !formats.smooth)
                title.bitmap.setPixelFormat(formats.title);
        } else {
            title.bitmap = Bitmap(0, 0, PixelFormat::Device);
            title.bitmap.setAlpha(formats.smooth);
            if (!drawText(title.bitmap, line, n, formats.smooth, &bytes))
                return failed(notEnoughMemoryMessage(bytes), screenSize);
            applyEffects(title.bitmap, line, formats);
        }
        drawFrame(title.bitmap, titleFrameColor(n, alignMode));
    } catch (const std::bad_alloc&) {
        return failed(notEnoughMemoryMessage(bytes), screenSize);
    } catch (const std::length_error&) {
        return failed(notEnoughMemoryMessage(bytes), screenSize);
    }
    return title;
}

ComposedTitle composeShownLine(const TitleLine& line, const DataRow& row,
                               const std::function<ComposedTitle(const TitleLine&)>& compose)
{
    TitleLine shown = line;
    shown.text = fillPlaceholders(line.text, row).text;
    return compose(shown);
}

} // namespace lumavo
