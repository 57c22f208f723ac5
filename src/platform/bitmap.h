#pragma once

#include "platform/canvas.h"
#include "platform/color.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

class QImage;

namespace lumavo {

// An allocator whose resize leaves new bytes uninitialised (pixel buffers are written whole).
template <class T>
struct UninitialisedAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = UninitialisedAllocator<U>;
    };
    UninitialisedAllocator() = default;
    template <class U>
    UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}
    template <class U>
    void construct(U* p) noexcept { ::new (static_cast<void*>(p)) U; }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) { ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...); }
};

// Pixel formats of a Bitmap. Device is the screen's own format; it is stored as 32-bit rows.
// Bits8 uses a fixed halftone palette (the 6x6x6 colour cube plus forty greys; colours go to the
// nearest entry, so black, white and the primary and secondary colours stay exact); Bits16 is 5-5-5 (x,r,g,b from high to low bit);
// Bits24 rows are B,G,R bytes; Bits32 rows are B,G,R,X bytes. Rows are padded to 4 bytes.
enum class PixelFormat { Device, Bits8, Bits16, Bits24, Bits32 };

int bitsPerPixel(PixelFormat format);

// A raster image with its own drawing surface (canvas). Row 0 is the top row.
// Copying a Bitmap copies its pixels and its canvas state (brush, pen, font, copy mode).
class Bitmap {
public:
    Bitmap();
    Bitmap(int width, int height, PixelFormat format = PixelFormat::Bits24);
    Bitmap(const Bitmap& other);
    Bitmap(Bitmap&& other) noexcept;
    Bitmap& operator=(const Bitmap& other);
    Bitmap& operator=(Bitmap&& other) noexcept;
    ~Bitmap();

    int width() const { return width_; }
    int height() const { return height_; }
    bool isEmpty() const { return width_ <= 0 || height_ <= 0; }
    PixelFormat pixelFormat() const { return format_; }
    int bitsPerPixel() const;
    int bytesPerLine() const { return stride_; }

    // Row y (0 = top), stride bytesPerLine(). Undefined for y outside 0..height-1.
    std::uint8_t* scanLine(int y) { return data_.data() + static_cast<std::size_t>(y) * stride_; }
    const std::uint8_t* scanLine(int y) const { return data_.data() + static_cast<std::size_t>(y) * stride_; }

    // Converts the pixels to another format, keeping the picture (as near as the format allows).
    void setPixelFormat(PixelFormat format);
    // Resizes; the kept area keeps its pixels and new area is filled with the canvas's brush colour.
    void setSize(int width, int height);
    void setWidth(int width) { setSize(width, height_); }
    void setHeight(int height) { setSize(width_, height); }

    // One pixel as a colour; out-of-range reads give black and writes are ignored.
    Color pixel(int x, int y) const;
    void setPixel(int x, int y, Color color);

    // Premultiplied alpha (smooth titles and the smooth stage): a Bits32 bitmap whose fourth byte is
    // the coverage, with every colour byte at most that. Solid drawing keeps the key rule: black is
    // transparent (alpha 0), any other colour opaque (255). Turning it on raises the format to
    // Bits32 and sets the fourth bytes by that rule; turning it off (or converting to another
    // format) keeps the colour, which is the picture over black.
    bool hasAlpha() const { return alpha_; }
    void setAlpha(bool on);
    // Fills n pixels of row y from x0 with one colour (no clipping), by the rule above.
    void fillPixels(int y, int x0, int n, Color color);
    // A Qt image sharing this bitmap's pixels (ARGB32 premultiplied with alpha, RGB32 without);
    // null unless the bitmap is 32-bit. Valid while the bitmap keeps its size and format.
    QImage pixelView();

    Canvas& canvas() { return canvas_; }
    const Canvas& canvas() const { return canvas_; }

    // Qt image with the same picture (Format_RGB32, or ARGB32 premultiplied with alpha), and back
    // (fromImage gives the requested format; an image with alpha is taken as its colour channels,
    // alpha ignored, unless keepAlpha: then the result is a Bits32 bitmap with alpha).
    QImage toImage() const;
    static Bitmap fromImage(const QImage& image, PixelFormat format = PixelFormat::Bits24, bool keepAlpha = false);

    // Loads any picture Qt reads (by content); false with a reason when it cannot (this bitmap is
    // then unchanged). Pictures above maxPixels are refused without decoding them, BMP files cut
    // short are refused. The format becomes Bits32 for a 32-bit BMP, Bits24 for anything else;
    // with keepAlpha, Bits32 with the picture's own alpha (opaque where it has none). A vector
    // picture (SVG) is drawn at its own size. The canvas state is kept.
    bool loadFromFile(const QString& path, QString* error = nullptr,
                      std::int64_t maxPixels = 64LL * 1000 * 1000, bool keepAlpha = false);
    // Saves by extension; a .bmp keeps 24 bits for Bits24 and 32 bits for Bits32 (8 and 16 are
    // saved as 24). Written through a temporary file and an atomic rename.
    bool saveToFile(const QString& path, QString* error = nullptr) const;

    // True when both have the same size and the same colour at every pixel.
    bool samePixels(const Bitmap& other) const;

private:
    // Sets the size and format; the pixels are zero, or left unwritten when zero is false.
    void allocate(int width, int height, PixelFormat format, bool zero = true);

    int width_ = 0;
    int height_ = 0;
    PixelFormat format_ = PixelFormat::Bits24;
    int stride_ = 0;
    std::vector<std::uint8_t, UninitialisedAllocator<std::uint8_t>> data_;
    bool alpha_ = false;
    Canvas canvas_;

    friend class Canvas;
};

} // namespace lumavo
