#include "platform/canvas.h"

#include "platform/bitmap.h"
#include "platform/pixel_rows.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace lumavo {

namespace {

int dpiOverride = 0;

bool is32(PixelFormat f) { return bitsPerPixel(f) == 32; }

std::uint32_t* words(std::uint8_t* row) { return reinterpret_cast<std::uint32_t*>(row); }
const std::uint32_t* words(const std::uint8_t* row) { return reinterpret_cast<const std::uint32_t*>(row); }

// Applies op to n target pixels from x0 of row, with the source given as B,G,R,X words.
// scratch holds at least 4 * n bytes.
void applyWordsToRow(PixelFormat format, std::uint8_t* row, int x0, int n, const std::uint32_t* src,
                     RasterOp op, Color brush, std::vector<std::uint32_t>& scratch)
{
    if (is32(format)) {
        pixel_rows::applyWords(op, words(row) + x0, src, n, pixel_rows::toWord(brush));
        return;
    }
    if (format == PixelFormat::Bits24) {
        std::uint8_t* d = row + 3 * static_cast<std::size_t>(x0);
        if (op == RasterOp::SrcCopy) {
            pixel_rows::row32To24(src, d, n);
            return;
        }
        auto* s = reinterpret_cast<std::uint8_t*>(scratch.data());
        pixel_rows::row32To24(src, s, n);
        const std::uint8_t pattern[3] = {blueOf(brush), greenOf(brush), redOf(brush)};
        pixel_rows::applyBytes(op, d, s, 3 * n, pattern, 3);
        return;
    }
    if (op == RasterOp::SrcCopy) {
        pixel_rows::packRow(format, row, x0, n, src);
        return;
    }
    pixel_rows::unpackRow(format, row, x0, n, scratch.data());
    pixel_rows::applyWords(op, scratch.data(), src, n, pixel_rows::toWord(brush));
    pixel_rows::packRow(format, row, x0, n, scratch.data());
}

// Same-size transfer of one row: n pixels from (sx, sy) of src to (dx, dy) of dst.
void blitRow(Bitmap& dst, int dx, int dy, const Bitmap& src, int sx, int sy, int n, RasterOp op, Color brush,
             std::vector<std::uint32_t>& a, std::vector<std::uint32_t>& b)
{
    const PixelFormat df = dst.pixelFormat();
    const PixelFormat sf = src.pixelFormat();
    std::uint8_t* drow = dst.scanLine(dy);
    const std::uint8_t* srow = src.scanLine(sy);
    if (dst.hasAlpha()) {
        const std::uint32_t* s = words(srow) + sx;
        if (!src.hasAlpha()) {
            pixel_rows::unpackRow(sf, srow, sx, n, a.data());
            pixel_rows::keyAlpha(a.data(), n);
            s = a.data();
        }
        pixel_rows::applyWordsAlpha(op, words(drow) + dx, s, n, pixel_rows::toWord(brush));
    } else if (is32(df) && is32(sf)) {
        pixel_rows::applyWords(op, words(drow) + dx, words(srow) + sx, n, pixel_rows::toWord(brush));
    } else if (df == PixelFormat::Bits24 && sf == PixelFormat::Bits24) {
        const std::uint8_t pattern[3] = {blueOf(brush), greenOf(brush), redOf(brush)};
        pixel_rows::applyBytes(op, drow + 3 * static_cast<std::size_t>(dx), srow + 3 * static_cast<std::size_t>(sx),
                               3 * n, pattern, 3);
    } else if (is32(df) && sf == PixelFormat::Bits24) {
        if (op == RasterOp::SrcCopy) {
            pixel_rows::row24To32(srow + 3 * static_cast<std::size_t>(sx), words(drow) + dx, n);
        } else {
            pixel_rows::row24To32(srow + 3 * static_cast<std::size_t>(sx), a.data(), n);
            pixel_rows::applyWords(op, words(drow) + dx, a.data(), n, pixel_rows::toWord(brush));
        }
    } else {
        pixel_rows::unpackRow(sf, srow, sx, n, a.data());
        applyWordsToRow(df, drow, dx, n, a.data(), op, brush, b);
    }
}

Rect clipped(const Rect& r, const Bitmap& bm)
{
    return {std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, bm.width()), std::min(r.bottom, bm.height())};
}

void transfer(Bitmap& dst, Rect dr, const Bitmap& src, Rect sr, RasterOp op, Color brush)
{
    if (dr.isEmpty() || sr.isEmpty() || dst.isEmpty() || src.isEmpty())
        return;
    const int dw = dr.width(), dh = dr.height(), sw = sr.width(), sh = sr.height();
    if (&dst == &src) {
        // Copying within one bitmap: read from a copy of the source part, so overlaps work.
        if (dw != sw || dh != sh) {
            const Bitmap copy(src);
            transfer(dst, dr, copy, sr, op, brush);
            return;
        }
        const Rect part = clipped(sr, src);
        if (part.isEmpty())
            return;
        Bitmap copy(part.width(), part.height(), src.pixelFormat());
        transfer(copy, {0, 0, part.width(), part.height()}, src, part, RasterOp::SrcCopy, brush);
        const int dl = dr.left + part.left - sr.left, dt = dr.top + part.top - sr.top;
        transfer(dst, {dl, dt, dl + part.width(), dt + part.height()}, copy,
                 {0, 0, part.width(), part.height()}, op, brush);
        return;
    }
    std::vector<std::uint32_t> a(static_cast<std::size_t>(std::max(dst.width(), src.width())) + 4);
    std::vector<std::uint32_t> b(a.size());
    if (dw == sw && dh == sh) {
        // Clip against the source and the target, moving both rectangles together.
        int sl = sr.left, st = sr.top, dl = dr.left, dt = dr.top, n = sw, rows = sh;
        auto clip = [](int& s0, int& d0, int& len, int sLimit, int dLimit) {
            if (s0 < 0) {
                d0 -= s0;
                len += s0;
                s0 = 0;
            }
            if (d0 < 0) {
                s0 -= d0;
                len += d0;
                d0 = 0;
            }
            len = std::min({len, sLimit - s0, dLimit - d0});
        };
        clip(sl, dl, n, src.width(), dst.width());
        clip(st, dt, rows, src.height(), dst.height());
        if (n <= 0 || rows <= 0)
            return;
        for (int y = 0; y < rows; ++y)
            blitRow(dst, dl, dt + y, src, sl, st + y, n, op, brush, a, b);
        return;
    }
    // Stretch: nearest source pixel, floor((x - left) * sw / dw) from the source's left.
    const int x0 = std::max(dr.left, 0), x1 = std::min(dr.right, dst.width());
    const int y0 = std::max(dr.top, 0), y1 = std::min(dr.bottom, dst.height());
    if (x0 >= x1 || y0 >= y1)
        return;
    std::vector<int> sourceX;
    sourceX.reserve(static_cast<std::size_t>(x1 - x0));
    int first = x0, last = x0; // target columns [first, last) have a source column inside src
    bool started = false;
    for (int x = x0; x < x1; ++x) {
        const int sx = sr.left + static_cast<int>(static_cast<std::int64_t>(x - dr.left) * sw / dw);
        const bool inside = sx >= 0 && sx < src.width();
        if (inside) {
            if (!started) {
                first = x;
                started = true;
            }
            sourceX.push_back(sx);
            last = x + 1;
        } else if (started) {
            break;
        }
    }
    if (!started)
        return;
    const int n = last - first;
    const PixelFormat sf = src.pixelFormat();
    const PixelFormat df = dst.pixelFormat();
    std::vector<std::uint32_t> sourceRow(static_cast<std::size_t>(src.width()));
    int unpackedY = -1;
    for (int y = y0; y < y1; ++y) {
        const int sy = sr.top + static_cast<int>(static_cast<std::int64_t>(y - dr.top) * sh / dh);
        if (sy < 0 || sy >= src.height())
            continue;
        const std::uint32_t* s;
        if (is32(sf)) {
            s = words(src.scanLine(sy));
        } else {
            if (sy != unpackedY) {
                pixel_rows::unpackRow(sf, src.scanLine(sy), 0, src.width(), sourceRow.data());
                unpackedY = sy;
            }
            s = sourceRow.data();
        }
        const int* index = sourceX.data();
        if (dst.hasAlpha()) {
            std::uint32_t* g = a.data();
            for (int i = 0; i < n; ++i)
                g[i] = s[index[i]];
            if (!src.hasAlpha())
                pixel_rows::keyAlpha(g, n);
            pixel_rows::applyWordsAlpha(op, words(dst.scanLine(y)) + first, g, n, pixel_rows::toWord(brush));
            continue;
        }
        if (is32(df) && op == RasterOp::SrcCopy) {
            std::uint32_t* d = words(dst.scanLine(y)) + first;
            for (int i = 0; i < n; ++i)
                d[i] = s[index[i]];
            continue;
        }
        std::uint32_t* g = a.data();
        for (int i = 0; i < n; ++i)
            g[i] = s[index[i]];
        applyWordsToRow(df, dst.scanLine(y), first, n, g, op, brush, b);
    }
}

QFont qtFont(const Font& font, bool antialiased = false)
{
    QFont f(font.name);
    f.setPixelSize(std::max(1, Canvas::pixelHeightForPoints(font.points)));
    f.setBold(font.style & kStyleBold);
    f.setItalic(font.style & kStyleItalic);
    f.setUnderline(font.style & kStyleUnderline);
    f.setStrikeOut(font.style & kStyleStrikeOut);
    f.setStyleStrategy(antialiased ? QFont::NoSubpixelAntialias
                                   : static_cast<QFont::StyleStrategy>(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

bool haveGuiApplication() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr; }

QColor qtColor(Color c) { return QColor(redOf(c), greenOf(c), blueOf(c)); }

// Draws text with its origin at (x, baseline): antialiased with the font's outline under the
// glyphs, or hard-edged glyphs alone.
void paintText(QPainter& painter, const QFont& f, const Font& font, int x, int baseline, const QString& text,
               bool antialiased)
{
    painter.setRenderHint(QPainter::Antialiasing, antialiased);
    painter.setRenderHint(QPainter::TextAntialiasing, antialiased);
    if (antialiased && font.outlineWidth > 0) {
        QPainterPath path;
        path.addText(x, baseline, f, text);
        painter.strokePath(path, QPen(qtColor(font.outlineColor), 2.0 * font.outlineWidth, Qt::SolidLine,
                                      Qt::RoundCap, Qt::RoundJoin));
        painter.fillPath(path, qtColor(font.color));
        return;
    }
    painter.setFont(f);
    painter.setPen(qtColor(font.color));
    painter.setLayoutDirection(textDirection(text));
    painter.drawText(x, baseline, text);
}

// Room around a text cell for glyphs that overhang it.
int textMargin(int cellH, const Font& font, bool antialiased)
{
    return cellH / 2 + 2 + (antialiased ? std::max(font.outlineWidth, 0) : 0);
}

// The text in white on a transparent image, its cell's top-left at (margin, margin).
QImage textMask(const QFont& f, const Font& font, const QString& text, const QFontMetrics& metrics, int margin,
                bool antialiased)
{
    const int cellW = metrics.horizontalAdvance(text);
    QImage image(cellW + 2 * margin, metrics.height() + 2 * margin, QImage::Format_ARGB32);
    if (image.isNull())
        return image;
    image.fill(0);
    Font white = font;
    white.color = kWhite;
    white.outlineColor = kWhite;
    {
        QPainter painter(&image);
        paintText(painter, f, white, margin, margin + metrics.ascent(), text, antialiased);
    }
    return image;
}

// Dash and dot patterns of cosmetic pens: lengths of on and off runs in pixels.
constexpr int kDashOn = 18, kDashOff = 6;
constexpr int kDotOn = 3, kDotOff = 3;

} // namespace

Qt::LayoutDirection textDirection(const QString& text)
{
    return text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight;
}

int Canvas::logicalDpi()
{
    if (dpiOverride > 0)
        return dpiOverride;
    if (haveGuiApplication()) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            return std::max(1, static_cast<int>(std::lround(screen->logicalDotsPerInchY())));
    }
    return 96;
}

void Canvas::setLogicalDpi(int dpi) { dpiOverride = std::max(0, dpi); }

int Canvas::pixelHeightForPoints(int points)
{
    return static_cast<int>(std::lround(static_cast<double>(points) * logicalDpi() / 72.0));
}

void Canvas::draw(int x, int y, const Bitmap& src)
{
    transfer(*owner_, {x, y, x + src.width(), y + src.height()}, src, {0, 0, src.width(), src.height()}, copyMode,
             brush.color);
}

void Canvas::stretchDraw(const Rect& dst, const Bitmap& src)
{
    transfer(*owner_, dst, src, {0, 0, src.width(), src.height()}, copyMode, brush.color);
}

void Canvas::copyRect(const Rect& dst, const Bitmap& src, const Rect& srcRect, RasterOp mode)
{
    transfer(*owner_, dst, src, srcRect, mode, brush.color);
}

void Canvas::fillRect(const Rect& r)
{
    Bitmap& bm = *owner_;
    const Rect c = clipped(r, bm);
    if (c.isEmpty() || brush.style == BrushStyle::Clear)
        return;
    for (int y = c.top; y < c.bottom; ++y) {
        if (brush.style == BrushStyle::Solid || y % 8 == 0) {
            bm.fillPixels(y, c.left, c.width(), brush.color);
        } else {
            // Cross hatch: lines on every eighth row and column of the bitmap, background left alone.
            for (int x = (c.left + 7) / 8 * 8; x < c.right; x += 8)
                bm.fillPixels(y, x, 1, brush.color);
        }
    }
}

void Canvas::frameRect(const Rect& r)
{
    if (r.isEmpty())
        return;
    Bitmap& bm = *owner_;
    auto solid = [&](Rect part) {
        const Rect c = clipped(part, bm);
        if (c.isEmpty())
            return;
        for (int y = c.top; y < c.bottom; ++y)
            bm.fillPixels(y, c.left, c.width(), brush.color);
    };
    solid({r.left, r.top, r.right, r.top + 1});
    solid({r.left, r.bottom - 1, r.right, r.bottom});
    solid({r.left, r.top + 1, r.left + 1, r.bottom - 1});
    solid({r.right - 1, r.top + 1, r.right, r.bottom - 1});
}

void Canvas::rectangle(const Rect& r)
{
    if (r.isEmpty())
        return;
    if (pen.style == PenStyle::Clear) {
        // Without an outline the fill covers the rectangle less its right column and bottom row.
        fillRect({r.left, r.top, r.right - 1, r.bottom - 1});
        return;
    }
    fillRect({r.left + 1, r.top + 1, r.right - 1, r.bottom - 1});
    int phase = 0;
    const int right = r.right - 1, bottom = r.bottom - 1;
    if (right == r.left || bottom == r.top) {
        // A one-pixel-wide or -high rectangle is a single line, last pixel included.
        drawLine(r.left, r.top, right, bottom, phase, true);
        return;
    }
    drawLine(r.left, r.top, right, r.top, phase, false);
    drawLine(right, r.top, right, bottom, phase, false);
    drawLine(right, bottom, r.left, bottom, phase, false);
    drawLine(r.left, bottom, r.left, r.top, phase, false);
}

void Canvas::moveTo(int x, int y)
{
    penPos_ = {x, y};
    penPhase_ = 0;
}

void Canvas::lineTo(int x, int y)
{
    drawLine(penPos_.x, penPos_.y, x, y, penPhase_, false);
    penPos_ = {x, y};
}

void Canvas::plotPen(int x, int y, bool on)
{
    Bitmap& bm = *owner_;
    if (!on) {
        // Gaps of dashed and dotted pens take the brush colour when the brush is solid.
        if (brush.style == BrushStyle::Solid)
            bm.setPixel(x, y, brush.color);
        return;
    }
    const int w = std::max(1, pen.width);
    if (w == 1) {
        bm.setPixel(x, y, pen.color);
        return;
    }
    const int h = (w - 1) / 2;
    const Rect c = clipped({x - h, y - h, x - h + w, y - h + w}, bm);
    for (int yy = c.top; yy < c.bottom; ++yy)
        bm.fillPixels(yy, c.left, c.width(), pen.color);
}

void Canvas::drawLine(int x0, int y0, int x1, int y1, int& phase, bool includeLast)
{
    if (pen.style == PenStyle::Clear)
        return;
    int on = 0, off = 0;
    if (pen.width <= 1) {
        if (pen.style == PenStyle::Dash) {
            on = kDashOn;
            off = kDashOff;
        } else if (pen.style == PenStyle::Dot) {
            on = kDotOn;
            off = kDotOff;
        }
    }
    const int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
    const int stepX = x0 < x1 ? 1 : -1, stepY = y0 < y1 ? 1 : -1;
    int steps = std::max(dx, dy);
    if (includeLast)
        ++steps;
    int x = x0, y = y0;
    int err = dx - dy;
    for (int i = 0; i < steps; ++i) {
        const bool drawOn = on == 0 || phase % (on + off) < on;
        plotPen(x, y, drawOn);
        ++phase;
        const int e2 = 2 * err;
        if (e2 > -dy) {
            err -= dy;
            x += stepX;
        }
        if (e2 < dx) {
            err += dx;
            y += stepY;
        }
    }
}

void Canvas::setPixel(int x, int y, Color c) { owner_->setPixel(x, y, c); }

Color Canvas::pixel(int x, int y) const { return owner_->pixel(x, y); }

int Canvas::textWidth(const QString& text) const
{
    if (!haveGuiApplication() || text.isEmpty())
        return 0;
    return QFontMetrics(qtFont(font)).horizontalAdvance(text);
}

int Canvas::textHeight(const QString& /*text*/) const
{
    if (!haveGuiApplication())
        return 0;
    return QFontMetrics(qtFont(font)).height();
}

Rect Canvas::textInk(const QString& text) const
{
    if (!haveGuiApplication() || text.isEmpty())
        return {};
    const bool smooth = owner_->hasAlpha();
    const QFont f = qtFont(font, smooth);
    const QFontMetrics metrics(f);
    const int margin = textMargin(metrics.height(), font, smooth);
    const QImage mask = textMask(f, font, text, metrics, margin, smooth);
    // Classic text marks the pixels drawn at half coverage or more; smooth text every touched one.
    const std::uint32_t threshold = smooth ? 1 : 128;
    int left = mask.width(), top = mask.height(), right = 0, bottom = 0;
    for (int y = 0; y < mask.height(); ++y) {
        const auto* line = reinterpret_cast<const std::uint32_t*>(mask.constScanLine(y));
        for (int x = 0; x < mask.width(); ++x) {
            if ((line[x] >> 24) < threshold)
                continue;
            left = std::min(left, x);
            right = std::max(right, x + 1);
            top = std::min(top, y);
            bottom = std::max(bottom, y + 1);
        }
    }
    if (right <= left)
        return {};
    return {left - margin, top - margin, right - margin, bottom - margin};
}

void Canvas::textOut(int x, int y, const QString& text)
{
    if (!haveGuiApplication())
        return;
    const bool smooth = owner_->hasAlpha();
    const QFont f = qtFont(font, smooth);
    const QFontMetrics metrics(f);
    const int cellW = text.isEmpty() ? 0 : metrics.horizontalAdvance(text);
    const int cellH = metrics.height();
    if (brush.style == BrushStyle::Solid)
        fillRect({x, y, x + cellW, y + cellH});
    if (text.isEmpty())
        return;
    if (smooth) {
        QImage view = owner_->pixelView();
        if (view.isNull())
            return;
        QPainter painter(&view);
        paintText(painter, f, font, x, y + metrics.ascent(), text, true);
        return;
    }
    // Glyphs may overhang their cell (italics, some faces): draw with a margin and copy every text
    // pixel, inside the cell or not.
    const int margin = textMargin(cellH, font, false);
    const QImage image = textMask(f, font, text, metrics, margin, false);
    if (image.isNull())
        return;
    Bitmap& bm = *owner_;
    const int ox = x - margin, oy = y - margin;
    const int yStart = std::max(0, -oy), yEnd = std::min(image.height(), bm.height() - oy);
    const int xStart = std::max(0, -ox), xEnd = std::min(image.width(), bm.width() - ox);
    for (int iy = yStart; iy < yEnd; ++iy) {
        const auto* line = reinterpret_cast<const std::uint32_t*>(image.constScanLine(iy));
        for (int ix = xStart; ix < xEnd; ++ix)
            if ((line[ix] >> 24) >= 128)
                bm.setPixel(ox + ix, oy + iy, font.color);
    }
}

} // namespace lumavo
