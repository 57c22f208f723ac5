#include "platform/bitmap.h"
#include "test_support.h"

#include <QImage>
#include <gtest/gtest.h>

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
