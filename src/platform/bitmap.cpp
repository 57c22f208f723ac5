#include "platform/bitmap.h"

#include "platform/atomic_file.h"
#include "platform/bmp_file.h"
#include "platform/pixel_rows.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QBuffer>

#include <algorithm>
#include <cstring>
#include <unistd.h>

namespace lumavo {

int bitsPerPixel(PixelFormat format)
{
    switch (format) {
    case PixelFormat::Bits8:
        return 8;
    case PixelFormat::Bits16:
        return 16;
    case PixelFormat::Bits24:
        return 24;
    case PixelFormat::Device:
    case PixelFormat::Bits32:
        return 32;
    }
    return 32;
}

Bitmap::Bitmap() : canvas_(this) {}

Bitmap::Bitmap(int width, int height, PixelFormat format) : canvas_(this)
{
    allocate(width, height, format);
}

Bitmap::Bitmap(const Bitmap& other)
    : width_(other.width_), height_(other.height_), format_(other.format_), stride_(other.stride_),
      data_(other.data_), alpha_(other.alpha_), canvas_(other.canvas_)
{
    canvas_.owner_ = this;
}

Bitmap::Bitmap(Bitmap&& other) noexcept
    : width_(other.width_), height_(other.height_), format_(other.format_), stride_(other.stride_),
      data_(std::move(other.data_)), alpha_(other.alpha_), canvas_(std::move(other.canvas_))
{
    canvas_.owner_ = this;
    other.width_ = other.height_ = other.stride_ = 0;
    other.data_.clear();
}

Bitmap& Bitmap::operator=(const Bitmap& other)
{
    if (this != &other) {
        width_ = other.width_;
        height_ = other.height_;
        format_ = other.format_;
        stride_ = other.stride_;
        data_ = other.data_;
        alpha_ = other.alpha_;
        canvas_ = other.canvas_;
        canvas_.owner_ = this;
    }
    return *this;
}

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept
{
    if (this != &other) {
        width_ = other.width_;
        height_ = other.height_;
        format_ = other.format_;
        stride_ = other.stride_;
        data_ = std::move(other.data_);
        alpha_ = other.alpha_;
        canvas_ = std::move(other.canvas_);
        canvas_.owner_ = this;
        other.width_ = other.height_ = other.stride_ = 0;
        other.data_.clear();
    }
    return *this;
}

Bitmap::~Bitmap() = default;

int Bitmap::bitsPerPixel() const { return lumavo::bitsPerPixel(format_); }

void Bitmap::allocate(int width, int height, PixelFormat format, bool zero)
{
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    format_ = format;
    stride_ = ((width_ * lumavo::bitsPerPixel(format) + 31) / 32) * 4;
    const std::size_t bytes = static_cast<std::size_t>(stride_) * static_cast<std::size_t>(height_);
    if (zero) {
        data_.assign(bytes, 0);
    } else {
        data_.clear();
        data_.resize(bytes);
    }
}

void Bitmap::setPixelFormat(PixelFormat format)
{
    if (format == format_)
        return;
    if (lumavo::bitsPerPixel(format) != 32)
        alpha_ = false;
    const bool same32 = lumavo::bitsPerPixel(format) == 32 && lumavo::bitsPerPixel(format_) == 32;
    if (same32) { // Device and 32-bit share one layout.
        format_ = format;
        return;
    }
    if (isEmpty()) {
        allocate(width_, height_, format);
        return;
    }
    Bitmap converted;
    converted.allocate(width_, height_, format, false);
    std::vector<std::uint32_t> words(static_cast<std::size_t>(width_));
    for (int y = 0; y < height_; ++y) {
        if (format_ == PixelFormat::Bits24 && lumavo::bitsPerPixel(format) == 32) {
            pixel_rows::row24To32(scanLine(y), reinterpret_cast<std::uint32_t*>(converted.scanLine(y)), width_);
        } else if (lumavo::bitsPerPixel(format_) == 32 && format == PixelFormat::Bits24) {
            pixel_rows::row32To24(reinterpret_cast<const std::uint32_t*>(scanLine(y)), converted.scanLine(y), width_);
        } else {
            pixel_rows::unpackRow(format_, scanLine(y), 0, width_, words.data());
            if (lumavo::bitsPerPixel(format) == 32)
                for (auto& w : words)
                    w &= 0xFFFFFF;
            pixel_rows::packRow(format, converted.scanLine(y), 0, width_, words.data());
        }
    }
    // Row padding is part of the buffer callers may compare: keep it zero.
    const std::size_t used = (static_cast<std::size_t>(width_) * lumavo::bitsPerPixel(format) + 7) / 8;
    if (used < static_cast<std::size_t>(converted.stride_))
        for (int y = 0; y < height_; ++y)
            std::memset(converted.scanLine(y) + used, 0, converted.stride_ - used);
    format_ = format;
    stride_ = converted.stride_;
    data_ = std::move(converted.data_);
}

void Bitmap::setSize(int width, int height)
{
    width = std::max(0, width);
    height = std::max(0, height);
    if (width == width_ && height == height_)
        return;
    const int oldWidth = width_, oldHeight = height_, oldStride = stride_;
    const auto old = std::move(data_);
    allocate(width, height, format_);
    const int keepW = std::min(oldWidth, width_);
    const int keepH = std::min(oldHeight, height_);
    const std::size_t keepBytes = static_cast<std::size_t>(keepW) * lumavo::bitsPerPixel(format_) / 8;
    const Color fill = canvas_.brush.color;
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* row = scanLine(y);
        if (y < keepH) {
            std::memcpy(row, old.data() + static_cast<std::size_t>(y) * oldStride, keepBytes);
            fillPixels(y, keepW, width_ - keepW, fill);
        } else {
            fillPixels(y, 0, width_, fill);
        }
    }
}

Color Bitmap::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return kBlack;
    std::uint32_t w;
    pixel_rows::unpackRow(format_, scanLine(y), x, 1, &w);
    return pixel_rows::fromWord(w);
}

void Bitmap::setPixel(int x, int y, Color color)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    fillPixels(y, x, 1, color);
}

void Bitmap::fillPixels(int y, int x0, int n, Color color)
{
    if (!alpha_) {
        pixel_rows::fillRow(format_, scanLine(y), x0, n, color);
        return;
    }
    auto* d = reinterpret_cast<std::uint32_t*>(scanLine(y)) + x0;
    std::fill(d, d + std::max(n, 0), pixel_rows::keyedWord(color));
}

void Bitmap::setAlpha(bool on)
{
    if (on)
        setPixelFormat(PixelFormat::Bits32);
    if (on == alpha_ || bitsPerPixel() != 32)
        return;
    alpha_ = on;
    for (int y = 0; y < height_; ++y) {
        auto* d = reinterpret_cast<std::uint32_t*>(scanLine(y));
        for (int x = 0; x < width_; ++x)
            d[x] = on ? pixel_rows::keyedWord(pixel_rows::fromWord(d[x])) : d[x] & 0xFFFFFFu;
    }
}

QImage Bitmap::pixelView()
{
    if (isEmpty() || bitsPerPixel() != 32)
        return {};
    return QImage(data_.data(), width_, height_, stride_,
                  alpha_ ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
}

QImage Bitmap::toImage() const
{
    if (isEmpty())
        return {};
    if (alpha_) {
        const QImage view(data_.data(), width_, height_, stride_, QImage::Format_ARGB32_Premultiplied);
        return view.copy();
    }
    QImage image(width_, height_, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    for (int y = 0; y < height_; ++y) {
        auto* out = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
        pixel_rows::unpackRow(format_, scanLine(y), 0, width_, out);
        for (int x = 0; x < width_; ++x)
            out[x] |= 0xFF000000u;
    }
    return image;
}

Bitmap Bitmap::fromImage(const QImage& image, PixelFormat format, bool keepAlpha)
{
    Bitmap result;
    if (image.isNull())
        return Bitmap(0, 0, keepAlpha ? PixelFormat::Bits32 : format);
    if (keepAlpha) {
        const QImage argb = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        result.allocate(argb.width(), argb.height(), PixelFormat::Bits32, false);
        result.alpha_ = true;
        for (int y = 0; y < argb.height(); ++y)
            std::memcpy(result.scanLine(y), argb.constScanLine(y), static_cast<std::size_t>(argb.width()) * 4);
        return result;
    }
    const QImage rgb = image.format() == QImage::Format_RGB32 ? image
                                                               : image.convertToFormat(QImage::Format_RGB32);
    result.allocate(rgb.width(), rgb.height(), format);
    const bool is32 = lumavo::bitsPerPixel(format) == 32;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* in = reinterpret_cast<const std::uint32_t*>(rgb.constScanLine(y));
        if (is32) {
            auto* out = reinterpret_cast<std::uint32_t*>(result.scanLine(y));
            for (int x = 0; x < rgb.width(); ++x)
                out[x] = in[x] & 0xFFFFFF;
        } else {
            pixel_rows::packRow(format, result.scanLine(y), 0, rgb.width(), in);
        }
    }
    return result;
}

bool Bitmap::loadFromFile(const QString& path, QString* error, std::int64_t maxPixels, bool keepAlpha)
{
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    // Only a regular file: a pipe or device named as a picture would block the open or never end.
    QString why;
    const int fd = openRegularFileForReading(path, &why);
    if (fd < 0)
        return fail(QStringLiteral("Cannot open %1: %2").arg(path, why));
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return fail(QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()));
    }
    const QByteArray head = file.peek(64);
    if (bmp_file::isTruncated(head, file.size()))
        return fail(QStringLiteral("%1 is cut short").arg(path));
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead())
        return fail(QStringLiteral("%1 is not a picture that can be read").arg(path));
    // The reader names a top-down BMP's height as negative; the header has the real size.
    const QSize headerSize = bmp_file::pictureSize(head);
    const QSize size = headerSize.isValid() ? headerSize : reader.size();
    if (!size.isValid() || size.isEmpty())
        return fail(QStringLiteral("%1 has no readable picture size").arg(path));
    const std::int64_t pixels = static_cast<std::int64_t>(size.width()) * size.height();
    if (pixels > maxPixels)
        return fail(QStringLiteral("%1 is too large (%2 x %3 pixels)").arg(path).arg(size.width()).arg(size.height()));
    // The decoder has its own allocation ceiling; raise it to what the size check allows.
    const std::int64_t neededMb = pixels * 4 / (1024 * 1024) + 1;
    if (QImageReader::allocationLimit() > 0 && QImageReader::allocationLimit() < neededMb)
        QImageReader::setAllocationLimit(static_cast<int>(std::min<std::int64_t>(neededMb, 1 << 30)));
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return fail(QStringLiteral("Cannot read %1: %2").arg(path, reader.errorString()));
    const PixelFormat format = bmp_file::bitCount(head) == 32 ? PixelFormat::Bits32 : PixelFormat::Bits24;
    Bitmap loaded = fromImage(image, format, keepAlpha);
    width_ = loaded.width_;
    height_ = loaded.height_;
    format_ = loaded.format_;
    stride_ = loaded.stride_;
    data_ = std::move(loaded.data_);
    alpha_ = loaded.alpha_;
    return true;
}

bool Bitmap::saveToFile(const QString& path, QString* error) const
{
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    const QString suffix = QFileInfo(path).suffix().toLower();
    QByteArray bytes;
    if (suffix == QLatin1String("bmp") || suffix.isEmpty()) {
        bytes = bmp_file::encode(*this);
    } else {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, suffix.toLatin1());
        if (!writer.write(toImage()))
            return fail(QStringLiteral("Cannot write %1: %2").arg(path, writer.errorString()));
    }
    const Result written = writeFileAtomically(path, {bytes});
    return written.ok || fail(written.error);
}

bool Bitmap::samePixels(const Bitmap& other) const
{
    if (width_ != other.width_ || height_ != other.height_)
        return false;
    std::vector<std::uint32_t> a(static_cast<std::size_t>(width_)), b(static_cast<std::size_t>(width_));
    for (int y = 0; y < height_; ++y) {
        pixel_rows::unpackRow(format_, scanLine(y), 0, width_, a.data());
        pixel_rows::unpackRow(other.format_, other.scanLine(y), 0, width_, b.data());
        for (int x = 0; x < width_; ++x)
            if ((a[x] ^ b[x]) & 0xFFFFFF)
                return false;
    }
    return true;
}

} // namespace lumavo
