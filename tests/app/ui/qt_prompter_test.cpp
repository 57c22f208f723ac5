#include "platform/ui/qt_prompter.h"

#include <gtest/gtest.h>

namespace lumavo {
namespace {

TEST(QtPrompterColours, KeepRedInTheLowByte)
{
    EXPECT_EQ(toQColor(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(toQColor(0xFF0000), QColor(0, 0, 255));
    EXPECT_EQ(fromQColor(QColor(0x12, 0x34, 0x56)), 0x563412u);
    for (const Color c : {Color{0}, Color{0xC0C0C0}, Color{0x123456}, Color{0xFFFFFF}})
        EXPECT_EQ(fromQColor(toQColor(c)), c);
}

} // namespace
} // namespace lumavo
