#include "platform/bmp_file.h"

#include "platform/bitmap.h"
#include "platform/pixel_rows.h"

#include <cstring>
#include <limits>
#include <vector>

namespace lumavo::bmp_file {

namespace {

void put16(char* p, std::uint16_t v)
{
    p[0] = static_cast<char>(v & 0xFF);
    p[1] = static_cast<char>(v >> 8);
}

void put32(char* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// The little-endian 32-bit value at byte `at` of head (which holds at least at + 4 bytes).
std::uint32_t get32(const QByteArray& head, int at)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<std::uint8_t>(head[at + i]);
    return v;
}

constexpr int kFileHeaderBytes = 14;
constexpr int kInfoHeaderBytes = 40;

} // namespace

QSize pictureSize(const QByteArray& head)
{
    if (bitCount(head) == 0 || head.size() < 26)
        return {};
    const std::int64_t height = static_cast<std::int32_t>(get32(head, 22));
    if (get32(head, 14) < 40 || height == std::numeric_limits<std::int32_t>::min())   // older core headers
        return {};
    return QSize(static_cast<std::int32_t>(get32(head, 18)), static_cast<int>(height < 0 ? -height : height));
}

int bitCount(const QByteArray& head)
{
    if (head.size() < 30 || head[0] != 'B' || head[1] != 'M')
        return 0;
    return static_cast<std::uint8_t>(head[28]) | (static_cast<std::uint8_t>(head[29]) << 8);
}

bool isTruncated(const QByteArray& head, qint64 fileSize)
{
    const int bits = bitCount(head);
    if (bits == 0 || head.size() < 34)
        return false;
    const std::uint32_t compression = get32(head, 30);
    if (compression != 0 && compression != 3) // only plain and bit-field rows have a fixed size
        return false;
    const std::int64_t width = static_cast<std::int32_t>(get32(head, 18));
    std::int64_t height = static_cast<std::int32_t>(get32(head, 22));
    if (height < 0)
        height = -height;   // a top-down file
    if (width <= 0)
        return true;        // no rows can be read from such a header
    // Compared by division: stride * height of a forged header does not fit in 64 bits.
    const std::int64_t stride = ((width * bits + 31) / 32) * 4;
    const std::int64_t pixelBytes = fileSize - static_cast<std::int64_t>(get32(head, 10));
    return pixelBytes < 0 || height > pixelBytes / stride;
}

QByteArray encode(const Bitmap& bitmap)
{
    const int bits = bitmap.bitsPerPixel() == 32 ? 32 : 24;
    const int w = bitmap.width();
    const int h = bitmap.height();
    const int stride = ((w * bits + 31) / 32) * 4;
    const std::uint32_t imageBytes = static_cast<std::uint32_t>(stride) * static_cast<std::uint32_t>(h);
    const int offset = kFileHeaderBytes + kInfoHeaderBytes;
    QByteArray out(offset + static_cast<qsizetype>(imageBytes), '\0');
    char* p = out.data();
    p[0] = 'B';
    p[1] = 'M';
    put32(p + 2, static_cast<std::uint32_t>(out.size()));
    put32(p + 10, offset);
    put32(p + 14, kInfoHeaderBytes);
    put32(p + 18, static_cast<std::uint32_t>(w));
    put32(p + 22, static_cast<std::uint32_t>(h)); // positive: bottom-up rows
    put16(p + 26, 1);
    put16(p + 28, static_cast<std::uint16_t>(bits));
    put32(p + 30, 0); // uncompressed
    put32(p + 34, imageBytes);
    put32(p + 38, 3780); // 96 dots per inch, in dots per metre
    put32(p + 42, 3780);
    std::vector<std::uint32_t> words(static_cast<std::size_t>(w));
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<std::uint8_t*>(p + offset + static_cast<std::size_t>(h - 1 - y) * stride);
        pixel_rows::unpackRow(bitmap.pixelFormat(), bitmap.scanLine(y), 0, w, words.data());
        if (bits == 32) {
            for (auto& v : words)
                v &= 0xFFFFFF;
            std::memcpy(row, words.data(), 4 * static_cast<std::size_t>(w));
        } else {
            pixel_rows::row32To24(words.data(), row, w);
        }
    }
    return out;
}

} // namespace lumavo::bmp_file
