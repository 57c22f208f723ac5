#include "storage/page_edits.h"

#include "platform/canvas.h"

#include <gtest/gtest.h>

namespace lumavo {
namespace {

TEST(ModifiedRule, AnEditMarksThePageOnlyWhenItChangedWhatASaveWrites)
{
    Workspace ws;
    setLineFontStyle(ws, 2, ws.page.line(2).fontStyle);   // a cancelled dialog
    EXPECT_FALSE(ws.editor.pageModified);
    setLineFontStyle(ws, 2, 1);                           // styling
    EXPECT_TRUE(ws.editor.pageModified);

    pageSaved(ws);
    setLineRest(ws, 3, {120, 40});                        // a title came to rest elsewhere
    EXPECT_TRUE(ws.editor.pageModified);

    pageSaved(ws);
    setLineWave(ws, 1, QStringLiteral("DING.WAV"));
    EXPECT_TRUE(ws.editor.pageModified);
}

TEST(PageEdits, EachEditMarksThePageOnlyWhenItChangedWhatASaveWrites)
{
    Workspace ws;
    const TitleLine as = ws.page.line(2);

    // Writing back the values a line already has (the font chooser's Cancel) is no edit.
    PageEdit edit = setLineFont(ws, 2, as.fontName, as.fontSize);
    EXPECT_EQ(edit.line, 2);
    EXPECT_FALSE(edit.changed);
    EXPECT_FALSE(setLineGradient(ws, 2, as.gradOn, as.fontColor, as.gradColor).changed);
    EXPECT_FALSE(setLineShadowColor(ws, 2, as.shadowColor).changed);
    EXPECT_FALSE(ws.editor.pageModified);

    edit = setLineFont(ws, 2, QStringLiteral("Courier"), 72);
    EXPECT_TRUE(edit.changed);
    EXPECT_TRUE(ws.editor.pageModified);
    EXPECT_EQ(ws.page.line(2).fontName, QStringLiteral("Courier"));
    EXPECT_EQ(ws.page.line(2).fontSize, 72);

    ws.editor.pageModified = false;
    EXPECT_TRUE(setLineGradient(ws, 2, true, 0x0000FF, 0x00FF00).changed);
    EXPECT_TRUE(ws.page.line(2).gradOn);
    EXPECT_EQ(ws.page.line(2).fontColor, 0x0000FFu);
    EXPECT_EQ(ws.page.line(2).gradColor, 0x00FF00u);
    EXPECT_TRUE(ws.editor.pageModified);

    ws.editor.pageModified = false;
    EXPECT_TRUE(setLineFontStyle(ws, 3, kStyleItalic).changed);
    EXPECT_TRUE(setLineFontColor(ws, 1, 0x123456).changed);
    EXPECT_TRUE(ws.editor.pageModified);
}

TEST(PageEdits, ALineOutsideOneToThreeStoresNothingAndMarksNothing)
{
    Workspace ws;
    const RecordBytes before = pageSnapshot(ws);
    for (int line : {0, 4, -1}) {
        EXPECT_EQ(setLineFont(ws, line, QStringLiteral("Courier"), 99).line, 0);
        EXPECT_EQ(setLineGradient(ws, line, true, 1, 2).line, 0);
        EXPECT_EQ(setLineWave(ws, line, QStringLiteral("A.WAV")).line, 0);
        EXPECT_EQ(setLinePicture(ws, line, QStringLiteral("A.BMP")).line, 0);
        setLinePictureShown(ws, line, true);
    }
    EXPECT_EQ(pageSnapshot(ws), before);
    EXPECT_FALSE(ws.editor.pageModified);
}

TEST(PageEdits, LongPictureAndWaveNamesAreKeptWholeNotCutIntoNamesOfNoFile)
{
    Workspace ws;
    const QString longName = QString(kTextCapacity + 5, QLatin1Char('p'));
    EXPECT_TRUE(setLinePicture(ws, 1, longName).changed);
    EXPECT_EQ(ws.page.line(1).bitmapFile, longName);
    setLinePictureShown(ws, 1, false);
    EXPECT_FALSE(ws.page.line(1).titleValid);
    EXPECT_TRUE(setLineWave(ws, 3, longName).changed);
    EXPECT_EQ(ws.page.line(3).waveFile, longName);
    // Names that differ only where the record shows "?" still mark the page.
    ws.editor.pageModified = false;
    setLinePicture(ws, 2, QString::fromUtf8("α.bmp"));
    ws.editor.pageModified = false;
    EXPECT_TRUE(setLinePicture(ws, 2, QString::fromUtf8("β.bmp")).changed);
    EXPECT_TRUE(ws.editor.pageModified);
}

TEST(PageEdits, SlidersMarkThePageOnlyWhileTheyDifferFromThePageAsLoaded)
{
    Workspace ws;
    setMovementDelay(ws, ws.page.movementDelay);   // the slider's own position: nothing changed
    EXPECT_FALSE(ws.editor.pageModified);
    setPauseSecs(ws, 12);
    EXPECT_EQ(ws.page.pauseSecs, 12);
    EXPECT_TRUE(ws.editor.pageModified);
    setPauseSecs(ws, 0);
    EXPECT_FALSE(ws.editor.pageModified);
    setfadedelay(ws, 460);                          // the accessor is an edit like the slider
    EXPECT_EQ(ws.page.fadeDelay, 460);
    EXPECT_TRUE(ws.editor.pageModified);

    pageReplaced(ws);
    ws.page.line(1).text = QStringLiteral("Text");
    ws.page.line(2).bitmapFile = QStringLiteral("LOGO.BMP");
    ws.page.line(3).titleValid = true;
    settleTitleValidity(ws.page);
    EXPECT_TRUE(ws.page.line(1).titleValid);
    EXPECT_TRUE(ws.page.line(2).titleValid);
    EXPECT_FALSE(ws.page.line(3).titleValid);
    EXPECT_FALSE(ws.editor.pageModified);
}

TEST(PageEdits, ColorBarTimeIsHeldToZeroToThirtySeconds)
{
    Workspace ws;
    EXPECT_EQ(setColorBarTime(ws, 45), kMaxColorBarSecs);
    EXPECT_EQ(ws.project.colorBarTime, kMaxColorBarSecs);
    EXPECT_EQ(setColorBarTime(ws, -3), 0);
    EXPECT_EQ(setColorBarTime(ws, 12), 12);
    EXPECT_FALSE(ws.editor.pageModified);
}

TEST(PageEdits, RunChoicesStoreWithoutMarkingThePage)
{
    Workspace ws;
    setTITLENUM(ws, 3);
    setpagenow(ws, QString(300, QLatin1Char('9')));
    EXPECT_EQ(ws.editor.titleNum, 3);
    EXPECT_EQ(ws.project.pageNow.size(), kMaxPageNowLength);
    setEasySlowdown(ws, true);
    setRepeatLoop(ws, true);
    setAlignActive(ws, true);
    EXPECT_TRUE(ws.editor.easySlowdown && ws.editor.repeatLoop && ws.editor.alignActive);
    EXPECT_EQ(setOsEffect(ws, 9), kMaxOsEffect);
    EXPECT_EQ(setOsEffect(ws, -1), 0);
    EXPECT_EQ(setOsEffect(ws, 4), 4);
    EXPECT_EQ(ws.editor.osEffect, 4);
    EXPECT_FALSE(ws.editor.pageModified);
    EXPECT_FALSE(canUndoPageEdit(ws));
}

// A page as storage leaves it after a load: line 1 holds a saved title.
Workspace loadedPage()
{
    Workspace ws;
    ws.page.line(1).text = QStringLiteral("Saved title");
    ws.page.line(1).titleValid = true;
    pageReplaced(ws);
    return ws;
}

TEST(PageEdits, ClearingASavedTitleInOneEditMarksThePage)
{
    Workspace ws = loadedPage();
    const TextEdit cleared = setLineText(ws, 1, QString());
    EXPECT_TRUE(cleared.edit.changed);
    EXPECT_FALSE(ws.page.line(1).titleValid);
    EXPECT_TRUE(ws.editor.pageModified);
    setLineText(ws, 1, QStringLiteral("Saved title"));   // typed back as it was saved
    EXPECT_FALSE(ws.editor.pageModified);
}

TEST(PageEdits, TitleTextLongerThanThePageHoldsIsCutWhenTyped)
{
    Workspace ws;
    setLineText(ws, 2, QString(kTextCapacity + 20, QLatin1Char('x')));
    EXPECT_EQ(ws.page.line(2).text.size(), kTextCapacity);
}

TEST(PageUndo, EachEditIsOneStepAndTheModifiedRuleHoldsAfterUndoAndRedo)
{
    Workspace ws = loadedPage();
    for (const char* typed : {"S", "Sa", "Sav"})          // typing in one line merges into one step
        setLineText(ws, 2, QString::fromLatin1(typed));
    setLineFontColor(ws, 2, 0x0000FF);
    setPauseSecs(ws, 5);
    setPauseSecs(ws, 9);                                 // one slider drag
    setLineDirection(ws, PathSide::In, 3, 11);

    ASSERT_TRUE(undoPageEdit(ws));
    EXPECT_EQ(ws.page.line(3).inDir, 5);
    EXPECT_FALSE(ws.page.line(3).inPathOn);
    ASSERT_TRUE(undoPageEdit(ws));
    EXPECT_EQ(ws.page.pauseSecs, 0);
    ASSERT_TRUE(undoPageEdit(ws));
    EXPECT_EQ(ws.page.line(2).fontColor, 0xFFFFFFu);
    EXPECT_TRUE(ws.editor.pageModified);
    ASSERT_TRUE(undoPageEdit(ws));
    EXPECT_EQ(ws.page.line(2).text, QString());
    EXPECT_FALSE(ws.editor.pageModified);                // back to the page as loaded
    EXPECT_FALSE(undoPageEdit(ws));

    ASSERT_TRUE(redoPageEdit(ws));
    EXPECT_EQ(ws.page.line(2).text, QStringLiteral("Sav"));
    EXPECT_TRUE(ws.editor.pageModified);
    setLineWave(ws, 1, QStringLiteral("DING.WAV"));      // a new edit drops what could be redone
    EXPECT_FALSE(canRedoPageEdit(ws));

    pageSaved(ws);                                       // saving keeps the history
    EXPECT_FALSE(ws.editor.pageModified);
    ASSERT_TRUE(undoPageEdit(ws));
    EXPECT_TRUE(ws.editor.pageModified);
    pageReplaced(ws);                                    // another page: no history
    EXPECT_FALSE(canUndoPageEdit(ws));
    EXPECT_FALSE(canRedoPageEdit(ws));
}

TEST(PageUndo, WhatTheAlignmentScreenChangedIsOneStep)
{
    Workspace ws = loadedPage();
    alignmentOpened(ws);
    eraseLinePath(ws, PathSide::Out, 1);
    ws.stage.restOf(1) = {120, 40};
    ws.stage.inPath(2).count = 3;
    alignmentClosed(ws);
    EXPECT_TRUE(ws.editor.pageModified);
    ASSERT_TRUE(undoPageEdit(ws));
    EXPECT_EQ(ws.stage.restOf(1), Point{});
    EXPECT_EQ(ws.stage.inPath(2).count, 0);
    EXPECT_EQ(ws.stage.outPath(1).count, 0);
    EXPECT_FALSE(ws.editor.pageModified);
    EXPECT_FALSE(canUndoPageEdit(ws));

    alignmentOpened(ws);                                 // looked, changed nothing: no step
    alignmentClosed(ws);
    EXPECT_EQ(ws.pageEditor.undo.size(), 0u);
}

} // namespace
} // namespace lumavo
