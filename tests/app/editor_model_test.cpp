#include "app/editor_model.h"

#include "storage/page_record.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace lumavo {
namespace {

TEST(StartupValues, SetSizesFontsColoursAndDirectionsOfTheThreeLines)
{
    Workspace ws;
    PageFields& page = ws.page;
    page.line(2).fontName = QStringLiteral("Courier");
    page.line(3).fontColor = 0x123456;
    applyStartupValues(ws);
    const int sizes[] = {60, 50, 30}, ins[] = {1, 5, 3}, outs[] = {3, 6, 1};
    for (int k = 1; k <= 3; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(page.line(k).fontSize, sizes[k - 1]);
        EXPECT_EQ(page.line(k).inDir, ins[k - 1]);
        EXPECT_EQ(page.line(k).outDir, outs[k - 1]);
        EXPECT_EQ(page.line(k).fontName, QStringLiteral("Arial"));
        EXPECT_EQ(page.line(k).fontColor, kWhite);
    }
}

TEST(RecordDirection, InTargetSetsInDirectionAndPathFlag)
{
    Workspace ws;
    ASSERT_EQ(setLineDirection(ws, PathSide::In, 2, 11).line, 2);
    EXPECT_EQ(ws.page.line(2).inDir, 11);
    EXPECT_TRUE(ws.page.line(2).inPathOn);
    EXPECT_EQ(ws.page.line(2).outDir, 6);
    ASSERT_EQ(setLineDirection(ws, PathSide::In, 2, 4).line, 2);
    EXPECT_EQ(ws.page.line(2).inDir, 4);
    EXPECT_FALSE(ws.page.line(2).inPathOn);
}

TEST(RecordDirection, OutTargetSetsTheOutDirection)
{
    Workspace ws;
    ASSERT_EQ(setLineDirection(ws, PathSide::Out, 1, 11).line, 1);
    EXPECT_EQ(ws.page.line(1).outDir, 11);
    EXPECT_TRUE(ws.page.line(1).outPathOn);
    EXPECT_EQ(ws.page.line(1).inDir, 5);
    EXPECT_FALSE(ws.page.line(1).inPathOn);
}

TEST(RecordDirection, LineOutsideOneToThreeChangesNothing)
{
    Workspace ws;
    const PageFields before = ws.page;
    EXPECT_EQ(setLineDirection(ws, PathSide::In, 0, 11).line, 0);
    EXPECT_EQ(setLineDirection(ws, PathSide::Out, 4, 11).line, 0);
    EXPECT_EQ(ws.page, before);
}

TEST(ChooseDirection, UsesTitleNumAndTargetAndRemembersTheCode)
{
    Workspace ws;
    ws.editor.titleNum = 3;
    setDirectionTarget(ws.editor, PathSide::In);
    EXPECT_EQ(ws.editor.dirTarget, PathSide::In);
    setDirectionTarget(ws.editor, PathSide::Out);
    EXPECT_EQ(directionTarget(ws.editor), PathSide::Out);
    EXPECT_TRUE(chooseDirection(ws, 12));
    EXPECT_EQ(ws.page.line(3).outDir, 12);
    EXPECT_EQ(ws.editor.lastDirection, 12);
    ws.editor.titleNum = 0;
    EXPECT_FALSE(chooseDirection(ws, 7));
    EXPECT_EQ(ws.editor.lastDirection, 7);
}

TEST(LineToggles, StoreEachToggleOnItsOwnFieldAndIgnoreBadLines)
{
    Workspace ws;
    EXPECT_TRUE(setLineToggle(ws, 2, LineToggle::Arch, true).changed);
    EXPECT_TRUE(setLineToggle(ws, 2, LineToggle::Shadow, true).changed);
    const PageFields& page = ws.page;
    EXPECT_TRUE(page.line(2).archOn);
    EXPECT_TRUE(page.line(2).shadowOn);
    EXPECT_FALSE(page.line(2).gradOn);
    EXPECT_TRUE(setLineToggle(ws, 2, LineToggle::Gradient, true).changed);
    EXPECT_TRUE(page.line(2).gradOn);
    EXPECT_EQ(setLineToggle(ws, 4, LineToggle::Arch, true).line, 0);
    EXPECT_FALSE(page.line(1).archOn || page.line(3).archOn);
}

struct FadeCase {
    int position;
    int shown;
};
class FadeLabel : public testing::TestWithParam<FadeCase> {};
TEST_P(FadeLabel, ShowsPositionDividedBy230)
{
    EXPECT_EQ(fadeLabelValue(GetParam().position), GetParam().shown);
}
INSTANTIATE_TEST_SUITE_P(Positions, FadeLabel,
                         testing::Values(FadeCase{0, 0}, FadeCase{229, 0}, FadeCase{230, 1}, FadeCase{459, 1},
                                         FadeCase{460, 2}, FadeCase{6000, 26}));

TEST(OsEffectNames, NameEveryPositionAndClampOutsideTheRange)
{
    const QStringList expected{"Normal", "Not Copy", "Not Erase", "Patt Paint", "Src Erase", "Src Invert", "Src paint"};
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_EQ(osEffectName(i), expected[i]);
    EXPECT_EQ(osEffectName(-3), QStringLiteral("Normal"));
    EXPECT_EQ(osEffectName(9), QStringLiteral("Src paint"));
}

TEST(ManualMode, MarksModifiedOnlyWhenDifferentFromThePageAsLoaded)
{
    Workspace ws;
    ws.page.line(1).text = QStringLiteral("Stored");
    ws.page.mpause = true;                // a page stored in manual mode
    pageReplaced(ws);
    setManualMode(ws, false);
    EXPECT_FALSE(ws.page.mpause);
    EXPECT_TRUE(ws.editor.pageModified);
    setManualMode(ws, true);              // back to what the page holds
    EXPECT_FALSE(ws.editor.pageModified);

    ws.page.line(1).fontSize = 99;        // a change the editor did not make still counts
    setManualMode(ws, false);
    setManualMode(ws, true);
    EXPECT_TRUE(ws.editor.pageModified);
}

TEST(EditChange, TypingIntoAPictureLineDropsThePictureAndKeepsTheLineValid)
{
    Workspace ws;
    ws.page.line(2).bitmapFile = QStringLiteral("/pictures/logo.bmp");
    ws.page.line(2).titleValid = true;
    const EditChange change = editTextChanged(ws, 2, QStringLiteral("A"));
    EXPECT_TRUE(change.clearPicture);
    EXPECT_TRUE(ws.page.line(2).bitmapFile.isEmpty());
    EXPECT_TRUE(ws.page.line(2).titleValid);
    EXPECT_EQ(ws.page.line(2).text, QStringLiteral("A"));
    EXPECT_TRUE(ws.editor.pageModified);
}

TEST(EditChange, DeletingTheLastCharacterOfATextLineMakesItInvalid)
{
    Workspace ws;
    editTextChanged(ws, 1, QStringLiteral("x"));
    ws.editor.pageModified = false;
    const EditChange change = editTextChanged(ws, 1, QString());
    EXPECT_FALSE(change.clearPicture);
    EXPECT_FALSE(ws.page.line(1).titleValid);
    EXPECT_FALSE(ws.editor.pageModified);
}

TEST(EditChange, EmptyingTheBoxOfAPictureLineKeepsItValid)
{
    Workspace ws;
    ws.page.line(3).bitmapFile = QStringLiteral("logo.bmp");
    const EditChange change = editTextChanged(ws, 3, QString());
    EXPECT_FALSE(change.clearPicture);
    EXPECT_EQ(ws.page.line(3).bitmapFile, QStringLiteral("logo.bmp"));
    EXPECT_TRUE(ws.page.line(3).titleValid);
    EXPECT_FALSE(ws.editor.pageModified);   // nothing a save writes has changed
}

TEST(LeaderToggles, WriteTheProjectValuesAndTheirStatusPanels)
{
    Workspace ws;
    setCountDown(ws, true);
    setColorBars(ws, false);
    EXPECT_TRUE(ws.project.useCountDown);
    EXPECT_EQ(ws.status.panel[0], QStringLiteral("CntDwn ON"));
    EXPECT_EQ(ws.status.panel[1], QStringLiteral("Clr Bars OFF"));
    setCountDown(ws, false);
    setColorBars(ws, true);
    EXPECT_EQ(ws.status.panel[0], QStringLiteral("CntDwn OFF"));
    EXPECT_EQ(ws.status.panel[1], QStringLiteral("Clr Bars ON"));
    EXPECT_TRUE(ws.project.useColorBars);
}

TEST(TitleRowLayout, At900PixelsTheEditBoxIs780WideFrom57)
{
    TitleRowWidths widths;
    widths.inButton = 24;
    widths.strip = 13;
    widths.outButton = 24;
    widths.directionToolbar = 300;
    const TitleRowLayout row = layoutTitleRow(900, widths);
    EXPECT_EQ(row.inLeft, 20);
    EXPECT_EQ(row.leftStripLeft, 44);
    EXPECT_EQ(row.editLeft, 57);
    EXPECT_EQ(row.editWidth, 780);
    EXPECT_EQ(row.rightStripLeft, 837);
    EXPECT_EQ(row.outLeft, 853);
    EXPECT_EQ(row.outLabelLeft, 853);
    EXPECT_EQ(row.directionToolbarLeft, 853 + 24 - 300);
}

} // namespace
} // namespace lumavo
