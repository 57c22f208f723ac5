#include "platform/bitmap_dialogs.h"

#include "scripted_prompter.h"
#include "test_support.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace lumavo::test {
namespace {

TEST(SaveBitmapAs, WritesTheChosenFileAndNothingWhenCancelled)
{
    TempDir dir;
    Bitmap picture(4, 3, PixelFormat::Bits24);
    picture.setPixel(1, 1, 0x0000FF);
    ScriptedPrompter prompter;
    prompter.saveNames = {std::nullopt, dir.file("stage.bmp")};

    EXPECT_FALSE(saveBitmapAs(picture, prompter));
    EXPECT_TRUE(QDir(dir.path()).isEmpty());

    EXPECT_TRUE(saveBitmapAs(picture, prompter));
    Bitmap back;
    ASSERT_TRUE(back.loadFromFile(dir.file("stage.bmp")));
    EXPECT_TRUE(back.samePixels(picture));
    ASSERT_EQ(prompter.fileDialogs.size(), 2u);
    EXPECT_EQ(prompter.fileDialogs[0].title, "Save As A Bitmap File");
    EXPECT_EQ(prompter.fileDialogs[0].defaultSuffix, "bmp");
    EXPECT_TRUE(prompter.messages.empty());
}

TEST(SaveBitmapAs, AFailedWriteNamesTheFile)
{
    TempDir dir;
    const QString name = dir.file("missing-folder/stage.bmp");
    ScriptedPrompter prompter;
    prompter.saveNames = {name};
    EXPECT_FALSE(saveBitmapAs(Bitmap(2, 2), prompter));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_TRUE(prompter.messages[0].text.startsWith("Can not save " + name)) << qPrintable(prompter.messages[0].text);
    EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Error);
    EXPECT_FALSE(QFileInfo::exists(name));
}

} // namespace
} // namespace lumavo::test
