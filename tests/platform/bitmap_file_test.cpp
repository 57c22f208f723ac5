#include "platform/bitmap.h"
#include "platform/bmp_file.h"
#include "test_support.h"

#include <QFile>
#include <QImage>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace lumavo {
namespace {

using test::TempDir;

Bitmap picture(PixelFormat format)
{
    Bitmap bm(7, 5, format); // odd width: rows need padding in 24 bits
    for (int y = 0; y < bm.height(); ++y)
        for (int x = 0; x < bm.width(); ++x)
            bm.setPixel(x, y, rgb(static_cast<std::uint8_t>(x * 36), static_cast<std::uint8_t>(y * 60 + 1),
                                  static_cast<std::uint8_t>(255 - x * y)));
    return bm;
}

int headerBits(const QByteArray& file) { return static_cast<std::uint8_t>(file[28]) | (static_cast<std::uint8_t>(file[29]) << 8); }

class BmpDepth : public ::testing::TestWithParam<std::pair<PixelFormat, int>> {};

TEST_P(BmpDepth, SaveAndLoadKeepsPixelsAndBitDepth)
{
    const auto [format, bits] = GetParam();
    TempDir dir;
    const QString path = dir.file(QStringLiteral("p.bmp"));
    const Bitmap original = picture(format);
    QString error;
    ASSERT_TRUE(original.saveToFile(path, &error)) << error.toStdString();
    const QByteArray bytes = test::readAll(path);
    ASSERT_GE(bytes.size(), 54);
    EXPECT_EQ(bytes.left(2), QByteArray("BM"));
    EXPECT_EQ(headerBits(bytes), bits);
    const int stride = ((7 * bits + 31) / 32) * 4;
    EXPECT_EQ(bytes.size(), 54 + stride * 5);

    Bitmap loaded;
    ASSERT_TRUE(loaded.loadFromFile(path, &error)) << error.toStdString();
    EXPECT_EQ(loaded.bitsPerPixel(), bits);
    EXPECT_TRUE(loaded.samePixels(original));
    // Qt reads the same picture: the file is an ordinary BMP.
    const QImage image(path);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixel(6, 4) & 0xFFFFFF, 0xD8F1E7u); // red 6*36, green 4*60+1, blue 255-24
}

INSTANTIATE_TEST_SUITE_P(Bitmap, BmpDepth,
                         ::testing::Values(std::pair{PixelFormat::Bits24, 24}, std::pair{PixelFormat::Bits32, 32},
                                           std::pair{PixelFormat::Device, 32}));

TEST(BitmapFile, LoadsOtherPictureFormatsByContent)
{
    TempDir dir;
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(QColor(10, 20, 30));
    const QString path = dir.file(QStringLiteral("really-a-png.bmp"));
    ASSERT_TRUE(image.save(path, "PNG"));
    Bitmap bm;
    QString error;
    ASSERT_TRUE(bm.loadFromFile(path, &error)) << error.toStdString();
    EXPECT_EQ(bm.width(), 3);
    EXPECT_EQ(bm.pixel(2, 1), rgb(10, 20, 30));
}

TEST(BitmapFile, GarbledFilesFailWithAMessage)
{
    TempDir dir;
    const QByteArray good = picture(PixelFormat::Bits24).saveToFile(dir.file(QStringLiteral("g.bmp")))
                                ? test::readAll(dir.file(QStringLiteral("g.bmp")))
                                : QByteArray();
    ASSERT_FALSE(good.isEmpty());
    QByteArray huge = good;
    huge[18] = '\xFF'; // width 0x7FFFFF.. : far beyond any pixel limit
    huge[19] = '\xFF';
    huge[20] = '\xFF';
    huge[21] = '\x7F';
    const QByteArray cases[] = {QByteArray("not a picture at all"), good.left(20), good.left(60), huge,
                                QByteArray("BM") + QByteArray(100, '\xFF'), QByteArray()};
    int i = 0;
    for (const QByteArray& bytes : cases) {
        const QString path = dir.file(QStringLiteral("bad%1.bmp").arg(i++));
        ASSERT_TRUE(test::writeAll(path, bytes));
        Bitmap bm(2, 2);
        QString error;
        EXPECT_FALSE(bm.loadFromFile(path, &error)) << i << " " << bm.width() << "x" << bm.height();
        EXPECT_FALSE(error.isEmpty()) << i;
    }
    QString error;
    Bitmap bm;
    EXPECT_FALSE(bm.loadFromFile(dir.file(QStringLiteral("missing.bmp")), &error));
    EXPECT_FALSE(error.isEmpty());
    // A pipe named as a picture is refused at once; opening it would wait for a writer.
    const QString fifo = dir.file(QStringLiteral("pipe.bmp"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_FALSE(bm.loadFromFile(fifo, &error));
    EXPECT_TRUE(error.endsWith(QStringLiteral("not a regular file"))) << error.toStdString();
}

TEST(BitmapFile, PicturesAboveThePixelLimitAreRefused)
{
    TempDir dir;
    const QString path = dir.file(QStringLiteral("p.bmp"));
    ASSERT_TRUE(picture(PixelFormat::Bits24).saveToFile(path));
    Bitmap bm;
    QString error;
    EXPECT_FALSE(bm.loadFromFile(path, &error, 34));
    EXPECT_TRUE(error.contains(QStringLiteral("large")));
    EXPECT_TRUE(bm.loadFromFile(path, &error, 35));
}

TEST(BitmapFile, SavesOtherFormatsByExtensionAndFailsOnABadFolder)
{
    TempDir dir;
    const Bitmap original = picture(PixelFormat::Bits24);
    const QString png = dir.file(QStringLiteral("p.png"));
    ASSERT_TRUE(original.saveToFile(png));
    Bitmap loaded;
    ASSERT_TRUE(loaded.loadFromFile(png));
    EXPECT_TRUE(loaded.samePixels(original));
    QString error;
    EXPECT_FALSE(original.saveToFile(dir.file(QStringLiteral("no/such/folder/p.bmp")), &error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
} // namespace lumavo

namespace lumavo {
namespace {

// A 24-bit BMP header (14 + 40 bytes) for the given size, followed by pixelBytes zero bytes.
QByteArray bmpHeader(std::int32_t width, std::int32_t height, int pixelBytes)
{
    QByteArray b(54 + pixelBytes, '\0');
    auto put32 = [&](int at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, static_cast<std::uint32_t>(b.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));
    b[26] = 1;
    b[28] = 24;
    return b;
}

TEST(BitmapFileSafety, TopDownBmpFailedToLoad)
{
    TempDir dir;
    QByteArray bytes = bmpHeader(3, -2, 24);
    // Row 0 (the top row in a top-down file) red, row 1 blue.
    for (int x = 0; x < 3; ++x) {
        bytes[54 + 3 * x + 2] = char(0xFF);
        bytes[54 + 12 + 3 * x] = char(0xFF);
    }
    const QString path = dir.file("top_down.bmp");
    ASSERT_TRUE(test::writeAll(path, bytes));
    Bitmap bm;
    QString error;
    ASSERT_TRUE(bm.loadFromFile(path, &error)) << error.toStdString();
    EXPECT_EQ(bm.width(), 3);
    EXPECT_EQ(bm.height(), 2);
    EXPECT_EQ(bm.pixel(0, 0), rgb(255, 0, 0));
    EXPECT_EQ(bm.pixel(2, 1), rgb(0, 0, 255));
}

TEST(BitmapFileSafety, HugeHeaderOverflowedTheRowSizeProduct)
{
    // width * bits and stride * height exceed 64 bits for these; the file is refused as cut short.
    for (const auto& [w, h] : {std::pair<std::int32_t, std::int32_t>{2147483647, 2147483647},
                               {2147483647, -2147483647}, {-2147483647, 5}, {5, static_cast<std::int32_t>(0x80000000u)}}) {
        const QByteArray head = bmpHeader(w, h, 0);
        EXPECT_TRUE(bmp_file::isTruncated(head, head.size())) << w << "x" << h;
    }
    EXPECT_FALSE(bmp_file::isTruncated(bmpHeader(3, 2, 24), 54 + 24));
    EXPECT_TRUE(bmp_file::isTruncated(bmpHeader(3, 2, 23), 54 + 23));
}

} // namespace
} // namespace lumavo
