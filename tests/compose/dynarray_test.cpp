#include "compose/dynarray.h"
#include "compose/dynarray32.h"

#include <gtest/gtest.h>

namespace lumavo {
namespace {

const RGBTRIPLE kUntouched{0xAA, 0xBB, 0xCC};

TEST(Dynarray, TwoDimensionalIndexWrapsIntoNeighbouringRows)
{
    dynarray::TByteArray2D a;
    ASSERT_TRUE(a.create(4, 3, nullptr));
    a.Put(4, 1, 0x00030201);
    RGBTRIPLE t = kUntouched;
    a.Get(0, 2, t); // element 0 + 1 * 4 = element 4, the last of row 1
    EXPECT_EQ(t, (RGBTRIPLE{0x01, 0x02, 0x03}));

    a.Put(1, 3, 0x00060504); // element 9
    t = kUntouched;
    a.Get(5, 2, t); // 5 + 4 = 9
    EXPECT_EQ(t, (RGBTRIPLE{0x04, 0x05, 0x06}));
}

TEST(Dynarray, OutOfRangeGetKeepsTheCallersRecordAndPutWritesNothing)
{
    dynarray::TByteArray2D a;
    ASSERT_TRUE(a.create(4, 3, nullptr));
    for (int y = 1; y <= 3; ++y)
        for (int x = 1; x <= 4; ++x)
            a.Put(x, y, 0);
    for (const auto& [x, y] : {std::pair{5, 3}, {1, 0}, {0, 1}, {-100, 1}}) {
        RGBTRIPLE t = kUntouched;
        a.Get(x, y, t);
        EXPECT_EQ(t, kUntouched) << x << "," << y;
        a.Put(x, y, 0x00FFFFFF);
    }
    for (int i = 0; i < 12 * 3; ++i)
        EXPECT_EQ(a.array().data()[i], 0) << "byte " << i;
}

TEST(Dynarray, ElementsAreLaidOutBlueGreenRedFromTheFirstByte)
{
    dynarray::TBigByteArray a;
    ASSERT_TRUE(a.create(3, nullptr));
    a.Put(2, 0x00332211);
    EXPECT_EQ(a.data()[3], 0x11);
    EXPECT_EQ(a.data()[4], 0x22);
    EXPECT_EQ(a.data()[5], 0x33);

    dynarray32::TBigByteArray b;
    ASSERT_TRUE(b.create(2, nullptr));
    b.Put(2, 0x44332211);
    EXPECT_EQ(b.data()[4], 0x11);
    EXPECT_EQ(b.data()[7], 0x44);
    EXPECT_EQ(b.Get(2), 0x44332211u);
    EXPECT_EQ(b.Get(3), 0u);
    EXPECT_EQ(b.Get(0), 0u);
}

TEST(Dynarray, ZeroWidthArrayIsEmptyAndHarmless)
{
    dynarray::TByteArray2D a;
    ASSERT_TRUE(a.create(0, 5, nullptr));
    EXPECT_EQ(a.array().count(), 0);
    a.Put(1, 1, 0x123456);
    RGBTRIPLE t = kUntouched;
    a.Get(1, 1, t);
    EXPECT_EQ(t, kUntouched);

    dynarray32::TByteArray2D32 b;
    ASSERT_TRUE(b.create(7, 0, nullptr));
    b.Put(1, 1, 5);
    EXPECT_EQ(b.Get(1, 1), 0u);
}

TEST(Dynarray, FailedAllocationNamesTheRequestedBytes)
{
    ENotEnoughMemory error;
    dynarray::TByteArray2D a;
    EXPECT_FALSE(a.create(1000, 200, &error, 599999));
    EXPECT_EQ(error.requestedBytes, 600000u);
    EXPECT_EQ(error.message, QStringLiteral("error in TBigByteArray.create: Not enough contiguous memory "
                                            "available\r\n requested memory block: 600000 bytes"));
    EXPECT_EQ(a.width(), 0);
    EXPECT_EQ(a.array().count(), 0);

    dynarray32::TByteArray2D32 b;
    EXPECT_FALSE(b.create(1000, 200, &error, 100));
    EXPECT_TRUE(error.message.endsWith(QStringLiteral(" 800000 bytes")));
}

TEST(Dynarray, SizeBeyondThirtyTwoBitsIsRefusedWithTheTrueByteCount)
{
    // 65536 x 65536 elements would wrap a 32-bit count to 0; the request is refused instead.
    ENotEnoughMemory error;
    dynarray32::TByteArray2D32 b;
    EXPECT_FALSE(b.create(65536, 65536, &error));
    EXPECT_EQ(error.requestedBytes, 17179869184u);
    EXPECT_TRUE(error.message.endsWith(QStringLiteral(" 17179869184 bytes")));

    dynarray::TByteArray2D a;
    EXPECT_FALSE(a.create(2147483647, 2, &error));
    EXPECT_EQ(error.requestedBytes, 2147483647ull * 2 * 3);
}

} // namespace
} // namespace lumavo
