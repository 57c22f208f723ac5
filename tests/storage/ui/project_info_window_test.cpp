#include "storage/ui/project_info_window.h"

#include "platform/clock.h"
#include "scripted_prompter.h"
#include "storage/page_file.h"
#include "storage/page_record.h"
#include "storage/project.h"
#include "test_support.h"

#include <QLabel>
#include <gtest/gtest.h>

namespace lumavo {
namespace {

class ProjectInfoWindowTest : public ::testing::Test {
protected:
    QString value(const QString& name)
    {
        auto* label = window.findChild<QLabel*>(name);
        EXPECT_NE(label, nullptr) << name.toStdString();
        return label ? label->text() : QString();
    }

    Workspace ws;
    test::ScriptedPrompter prompter;
    FakeClock clock;
    AppContext context{ws, prompter, clock, {}};
    Tbdebug window{context};
};

TEST_F(ProjectInfoWindowTest, ShowsTheCurrentPageAndPlaceholders)
{
    ws.page.line(1).text = "Hello";
    ws.page.line(1).titleValid = true;
    ws.page.line(1).fontColor = 0x0000FF;
    ws.page.line(3).gradColor = 0x123456;
    ws.page.line(3).fontName = "Courier";
    ws.page.line(2).fontSize = 72;
    ws.page.line(2).bitmapFile = "/pics/logo.bmp";
    ws.page.line(2).titleValid = true;
    ws.page.pauseSecs = 7;
    ws.page.movementDelay = 1200;
    ws.stage.restOf(2) = {111, 222};
    ws.stage.inPath(1).count = -1;
    ws.stage.outPath(3).count = 998;
    ws.osName = "Unknown";
    window.show();

    EXPECT_EQ(window.windowTitle(), "Lumavo");
    EXPECT_EQ(value("RestLeft2"), "111");
    EXPECT_EQ(value("RestTop2"), "222");
    EXPECT_EQ(value("FontColor1"), "255");
    EXPECT_EQ(value("GradColor3"), "1193046");
    EXPECT_EQ(value("FontName3"), "Courier");
    EXPECT_EQ(value("FontSize2"), "72");
    EXPECT_EQ(value("titleValid1"), "Valid");
    EXPECT_EQ(value("Text1"), "Hello");
    EXPECT_EQ(value("titleValid2"), "Valid");
    EXPECT_EQ(value("titleValid3"), "3-Not Valid");
    EXPECT_EQ(value("BitmapFile2"), "/pics/logo.bmp");
    EXPECT_EQ(value("PauseSecs"), "7");
    EXPECT_EQ(value("MovementDelay"), "1200");
    EXPECT_EQ(value("osName"), "Unknown");
    EXPECT_EQ(value("pathRecordSize"), "4000");
    EXPECT_EQ(value("pageRecordSize"), "25716");
    EXPECT_EQ(value("InPathCount1"), "-1");
    EXPECT_EQ(value("OutPathCount3"), "998");
    EXPECT_EQ(value("pixHeight1"), "?");
    EXPECT_EQ(value("brushColor2"), "Label71");
    EXPECT_EQ(value("spare3"), "Label67");
    EXPECT_EQ(value("pixBits1"), "Label76");
    EXPECT_EQ(value("xPos3"), "?");
    EXPECT_FALSE(window.isModal());
}

TEST_F(ProjectInfoWindowTest, EveryShowingFollowsTheLoadedPage)
{
    test::TempDir dir;
    Workspace page;
    page.page.line(2).text = "";
    page.page.line(1).text = "From file";
    page.page.line(1).fontSize = 33;
    page.stage.restOf(1) = {5, 6};
    page.stage.inPath(2).count = 4;
    page.stage.outPath(2).count = -1;
    RecordBytes bytes{};
    encodePageRecord(recordFromWorkspace(page, "000"), bytes);
    ASSERT_TRUE(writePageFile(dir.file("SHOW.000"), bytes, true).ok);

    window.show();
    EXPECT_EQ(value("FontSize1"), "40");
    window.hide();
    window.show();
    EXPECT_EQ(value("FontSize1"), "40");
    window.hide();

    ws.project.projectDir = dir.dirWithSeparator();
    ws.project.pageNow = "000";
    ASSERT_TRUE(LoadPage(ws, "SHOW.TLP", "000").loaded);
    window.show();
    EXPECT_EQ(value("FontSize1"), "33");
    EXPECT_EQ(value("Text1"), "From file");
    EXPECT_EQ(value("titleValid1"), "Valid");
    EXPECT_EQ(value("titleValid2"), "2-Not Valid");
    EXPECT_EQ(value("RestLeft1"), "5");
    EXPECT_EQ(value("RestTop1"), "6");
    EXPECT_EQ(value("InPathCount2"), "4");
    EXPECT_EQ(value("OutPathCount2"), "-1");
}

} // namespace
} // namespace lumavo
