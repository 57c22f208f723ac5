#pragma once

#include "platform/color.h"
#include "platform/geometry.h"

#include <QString>
#include <Qt>
#include <cstdint>

namespace lumavo {

class Bitmap;

// The raster operations of a bit-block transfer, with their classic codes.
// D = destination, S = source, P = the brush (pattern) colour; applied to each colour byte.
// On a 32-bit target the fourth (X) byte goes through the same operation, with P's X byte 0.
enum class RasterOp : std::uint32_t {
    SrcCopy = 0x00CC0020,     // S
    NotSrcCopy = 0x00330008,  // ~S
    NotSrcErase = 0x001100A6, // ~(S | D)
    PatPaint = 0x00FB0A09,    // D | P | ~S
    SrcErase = 0x00440328,    // S & ~D
    SrcInvert = 0x00660046,   // S ^ D
    SrcPaint = 0x00EE0086,    // S | D
    Blackness = 0x00000042,   // 0
};

// Cross: one-pixel lines in the brush colour on every row and column whose coordinate is a
// multiple of 8 (counted from the bitmap's top-left), the pixels between them untouched.
enum class BrushStyle { Solid, Clear, Cross };
// Dash: 18 pixels on, 6 off; Dot: 3 on, 3 off (pens one pixel wide; wider pens draw solid).
// The gaps take the brush colour when the brush is Solid and stay untouched otherwise.
enum class PenStyle { Solid, Dash, Dot, Clear };

// Font style bits, as stored in page records.
enum FontStyleBit : std::uint8_t {
    kStyleBold = 1,
    kStyleItalic = 2,
    kStyleUnderline = 4,
    kStyleStrikeOut = 8,
};

struct Brush {
    Color color = 0xFFFFFF;
    BrushStyle style = BrushStyle::Solid;
};

struct Pen {
    Color color = 0x000000;
    PenStyle style = PenStyle::Solid;
    int width = 1; // pixels; a wider pen draws a width x width square at each line pixel
};

struct Font {
    QString name = QStringLiteral("Arial");
    int points = 8;          // size in points; the pixel height is round(points * dpi / 72)
    std::uint8_t style = 0;  // FontStyleBit set
    Color color = 0x000000;
    int outlineWidth = 0;    // pixels of outline around each glyph, on bitmaps with alpha only
    Color outlineColor = 0x000000;
};

// The direction a line of text runs in: right to left when its first strong character belongs to a
// right-to-left script (Arabic, Hebrew, ...), so that numbers and Latin words inside it fall into
// place. Text drawing lays every line out in its own direction; fonts missing a character fall
// back to an installed font that has it.
Qt::LayoutDirection textDirection(const QString& text);

// The drawing surface of a Bitmap. Every call clips to the bitmap. Rectangles exclude their right
// and bottom edges; lines exclude their last pixel. Colour channels are exact in 24 and 32 bits.
class Canvas {
public:
    explicit Canvas(Bitmap* owner) : owner_(owner) {}

    Brush brush;
    Pen pen;
    Font font;
    RasterOp copyMode = RasterOp::SrcCopy;

    // Logical dots per inch used to turn font points into pixels: the primary screen's when a
    // QGuiApplication with a screen exists, else 96. setLogicalDpi(n > 0) overrides it for the
    // whole program (tests use 96); setLogicalDpi(0) returns to the screen's.
    static int logicalDpi();
    static void setLogicalDpi(int dpi);
    static int pixelHeightForPoints(int points); // round(points * dpi / 72)

    Bitmap& bitmap() { return *owner_; }

    // Whole-bitmap copy of src with its top-left at (x, y), using copyMode.
    void draw(int x, int y, const Bitmap& src);
    // src scaled into dst (nearest pixel: target column x takes source column
    // (x - dst.left) * src width / dst width, rows alike), using copyMode. An empty dst draws nothing.
    void stretchDraw(const Rect& dst, const Bitmap& src);
    // Part of src (srcRect) scaled into dst, using mode (CopyRect/BitBlt/StretchBlt). Target
    // pixels whose source pixel lies outside src are left alone. src may be this canvas's bitmap.
    void copyRect(const Rect& dst, const Bitmap& src, const Rect& srcRect, RasterOp mode);

    void fillRect(const Rect& r);      // brush fill (solid or cross-hatch), no outline
    void frameRect(const Rect& r);     // one-pixel frame in the brush colour (whatever its style)
    // Outline with the pen on the rectangle's outermost pixels, inside filled with the brush.
    // With a Clear pen the fill covers r less its right column and bottom row.
    void rectangle(const Rect& r);
    void moveTo(int x, int y);
    // Pen line, last pixel excluded; moves the pen position. A dashed or dotted pattern goes on
    // from where the previous lineTo left it, until the next moveTo.
    void lineTo(int x, int y);
    Point penPosition() const { return penPos_; }
    void setPixel(int x, int y, Color c);
    Color pixel(int x, int y) const;

    // Text with its cell's top-left at (x, y), in font, laid out in its own textDirection. Opaque
    // (the cell, textWidth x textHeight, filled with the brush colour) when the brush is Solid,
    // transparent otherwise. Glyph pixels overhanging the cell are drawn too. On a bitmap without
    // alpha there is no antialiasing: every pixel is text or not. On a bitmap with alpha the text is
    // antialiased and laid over what is there, with its outline (font.outlineWidth) under it.
    // Text needs a QGuiApplication: without one nothing is drawn and the measures are 0.
    void textOut(int x, int y, const QString& text);
    int textWidth(const QString& text) const;  // advance width in pixels
    int textHeight(const QString& text) const; // the font's cell height in pixels
    // The pixels textOut(0, 0, text) would mark with ink (outline included), which may reach
    // outside the cell (italics, a "J" hooking left); empty for no ink.
    Rect textInk(const QString& text) const;

private:
    // Bresenham line from (x0, y0) towards (x1, y1); phase counts pixels along dashed patterns.
    void drawLine(int x0, int y0, int x1, int y1, int& phase, bool includeLast);
    void plotPen(int x, int y, bool on);

    Bitmap* owner_;
    Point penPos_;
    int penPhase_ = 0;   // pixels of the pen's pattern drawn since the last moveTo
    friend class Bitmap;
};

} // namespace lumavo
