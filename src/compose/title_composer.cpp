#include "compose/title_composer.h"

#include "compose/byte_block.h"
#include "compose/effects.h"
#include "storage/file_lookup.h"

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
// the title format.
void applyEffects(Bitmap& bitmap, const TitleLine& line, const ComposeFormats& formats)
{
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

void drawFrame(Bitmap& bitmap, Color color)
{
    Canvas& canvas = bitmap.canvas();
    canvas.brush.color = color;
    canvas.brush.style = BrushStyle::Solid;
    canvas.frameRect(Rect{0, 0, bitmap.width(), bitmap.height()});
}

// The text title: the text, with its shadow d pixels right and below, on black. *bytes gets
// the bitmap's size; false (nothing drawn) when it is above kMaxTitlePixels.
bool drawText(Bitmap& bitmap, const TitleLine& line, int n, std::uint64_t* bytes)
{
    Canvas& canvas = bitmap.canvas();
    canvas.brush.color = kBlack;
    canvas.brush.style = BrushStyle::Solid;
    canvas.font.name = line.fontName;
    canvas.font.color = line.shadowOn ? line.shadowColor : line.fontColor;
    canvas.font.points = line.fontSize;
    canvas.font.style = line.fontStyle;

    const int d = line.shadowOn ? shadowOffset(line.fontSize) : 0;
    const std::int64_t width = std::int64_t{canvas.textWidth(line.text)} + d;
    const std::int64_t height = std::int64_t{canvas.textHeight(line.text)} + d;
    *bytes = titleBytes(width, height);
    if (width > 0 && height > 0 && width * height > kMaxTitlePixels)
        return false;
    bitmap.setWidth(static_cast<int>(width));
    bitmap.setHeight(static_cast<int>(height));
    if (line.shadowOn) {
        canvas.textOut(d, d, line.text);
        canvas.brush.style = BrushStyle::Clear;
        canvas.font.color = line.fontColor;
        canvas.textOut(0, 0, line.text);
        canvas.brush.style = BrushStyle::Solid;
    } else {
        canvas.textOut(0, n == 1 ? -1 : 0, line.text);
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
            if (!title.bitmap.loadFromFile(picturePath, nullptr, kMaxTitlePixels)) {
                // The stored name is kept: the picture may be readable again later, and a save
                // must not drop it from the page.
                return failed(pictureErrorMessage(line.bitmapFile), screenSize);
            }
            bytes = titleBytes(title.bitmap.width(), title.bitmap.height());
            // The gradient of a 32-bit effect format ends at the line's font colour here too.
            title.bitmap.canvas().font.color = line.fontColor;
            applyEffects(title.bitmap, line, formats);
            if (n == 2)
                title.bitmap.setPixelFormat(formats.title);
        } else {
            title.bitmap = Bitmap(0, 0, PixelFormat::Device);
            if (!drawText(title.bitmap, line, n, &bytes))
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

} // namespace lumavo
