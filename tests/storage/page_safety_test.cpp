// Ordinary commands must never write one page's fields over another page's file.
#include "storage/page_commands.h"

#include "storage/page_file.h"
#include "storage_fixture.h"

#include <QDir>

namespace lumavo {
namespace {

class PageSafetyTest : public test::StorageFixture {
protected:
    void load(const QString& number)
    {
        ws->project.pageNow = number;
        ASSERT_TRUE(LoadPage(*ws, ws->project.projectName, number).loaded);
    }
};

TEST_F(PageSafetyTest, DeleteKeptTheDeletedFieldsUnderTheNumberOfThePageThatMovedDown)
{
    for (const char* n : {"000", "001", "002"})
        makePage(n);
    load("001");
    prompter.answers.push_back(Answer::Yes);
    const EditorActions a = deletePageCommand(*ws, prompter);
    EXPECT_TRUE(a.showPage);
    EXPECT_EQ(ws->project.pageNow, "001");
    EXPECT_EQ(ws->page.line(1).text, "page 002");   // the page that moved into the slot
    ASSERT_EQ(SavePage(*ws, prompter).status, SavePageStatus::Saved);
    EXPECT_EQ(text1Of(page("001")), "page 002");

    // Deleting the last page shows the one before it.
    prompter.answers.push_back(Answer::Yes);
    deletePageCommand(*ws, prompter);
    EXPECT_EQ(ws->project.pageNow, "000");
    EXPECT_EQ(ws->page.line(1).text, "page 000");
}

TEST_F(PageSafetyTest, NewProjectToolLeftTheOldPageNumberSoTheFirstSaveSkippedPage000)
{
    makePage("000");
    makePage("001");
    load("001");
    newProjectFromTool(*ws);
    EXPECT_EQ(ws->project.pageNow, "000");
    EXPECT_EQ(ws->project.pageIndex, 0);
    EXPECT_TRUE(ws->project.projectDir.isEmpty());
    EXPECT_TRUE(ws->project.projectFile.isEmpty());
}

TEST_F(PageSafetyTest, NewAndOpenDroppedUnsavedEditsWithoutAsking)
{
    makePage("000");
    load("000");
    ws->page.line(1).text = "edited";
    ws->editor.pageModified = true;
    prompter.answers.push_back(Answer::Yes);
    newProjectFromMenu(*ws, prompter);
    EXPECT_EQ(prompter.confirmations, QStringList{"Save current page?"});
    EXPECT_EQ(text1Of(page("000")), "edited");

    // Open asks too, before its dialog (the dialog is cancelled here).
    ws->editor.pageModified = true;
    prompter.answers.push_back(Answer::No);
    openProjectCommand(*ws, prompter);
    EXPECT_EQ(prompter.confirmations.size(), 2);

    ws->editor.pageModified = true;
    prompter.answers.push_back(Answer::No);
    newProjectFromTool(*ws, prompter);
    EXPECT_EQ(prompter.confirmations.size(), 3);
}

TEST_F(PageSafetyTest, FullProjectWroteTheNewPageOverTheCurrentPage)
{
    for (int n = 0; n < kPageCount; ++n)
        ASSERT_TRUE(test::writeAll(page(pageNumberText(n)), QByteArray(kRecordSize, '\0')));
    makePage("005");
    load("005");
    const EditorActions added = newPageCommand(*ws, prompter);
    const EditorActions copied = copyPageCommand(*ws);
    EXPECT_FALSE(added.showPage);
    EXPECT_FALSE(copied.enableNewAndCopy.has_value());
    for (const EditorActions& refused : {added, copied}) {
        ASSERT_EQ(refused.notices.size(), 1u);
        EXPECT_EQ(refused.notices[0].error, kProjectFullMessage);
    }
    EXPECT_FALSE(ws->editor.newPagePending);
    EXPECT_EQ(ws->page.line(1).text, "page 005");
    prompter.messages.clear();
    newPage(*ws);   // started without the check: the save still refuses
    ws->page.line(1).text = "new page";
    const SavePageOutcome saved = SavePage(*ws, prompter);
    EXPECT_EQ(saved.status, SavePageStatus::ProjectFull);
    ASSERT_EQ(saved.notices.size(), 1u);
    EXPECT_EQ(saved.notices[0].error, kProjectFullMessage);
    EXPECT_EQ(text1Of(page("005")), "page 005");
    EXPECT_TRUE(ws->editor.newPagePending);
}

TEST_F(PageSafetyTest, BrokenPageKeptItsNumberAndTheNextSaveDestroyedIt)
{
    makePage("000");
    ASSERT_TRUE(test::writeAll(page("001"), QByteArray(100, 'x')));   // an older, shorter file
    makePage("002");
    load("000");
    const EditorActions stepped = PagePointerClick(*ws, prompter, PageStep::Next);
    // The broken page is stepped over: the editor holds page 002 under its own number.
    EXPECT_EQ(ws->project.pageNow, "002");
    EXPECT_EQ(ws->page.line(1).text, "page 002");
    ASSERT_EQ(stepped.notices.size(), 1u);
    EXPECT_TRUE(stepped.notices[0].error.startsWith("Error opening (possible older file structure)"));

    PagePointerClick(*ws, prompter, PageStep::Previous);
    EXPECT_EQ(ws->project.pageNow, "000");

    // With nothing readable beyond it, the editor keeps the page it holds.
    QFile::remove(page("002"));
    ASSERT_TRUE(test::writeAll(page("002"), QByteArray(100, 'x')));
    ASSERT_TRUE(test::writeAll(page("003"), QByteArray(100, 'x')));
    PagePointerClick(*ws, prompter, PageStep::Next);
    EXPECT_EQ(ws->project.pageNow, "000");   // the page held keeps its number
    EXPECT_EQ(ws->project.pageIndex, 0);
    ASSERT_EQ(SavePage(*ws, prompter).status, SavePageStatus::Saved);
    EXPECT_EQ(text1Of(page("000")), "page 000");
    EXPECT_EQ(test::readAll(page("001")), QByteArray(100, 'x'));
}

TEST_F(PageSafetyTest, UnreadablePage000OfAnOpenedProjectWasSavedOver)
{
    ASSERT_TRUE(test::writeAll(dir.file("SHOW.TLP"), "[LumavoProject]\nProjectName=SHOW.TLP\n"));
    ASSERT_TRUE(test::writeAll(page("000"), QByteArray(100, 'x')));
    ws->page.line(1).text = "another project's page";
    EXPECT_FALSE(OpenProject(*ws, dir.file("SHOW.TLP")).pageLoaded);
    ASSERT_EQ(SavePage(*ws, prompter).status, SavePageStatus::Saved);
    EXPECT_EQ(test::readAll(page("000")), QByteArray(100, 'x'));
    EXPECT_EQ(text1Of(page("001")), "another project's page");
}

TEST_F(PageSafetyTest, TextOutsideTheCodePageWasSilentlyStoredAsQuestionMarks)
{
    makePage("000");
    load("000");
    ws->page.line(2).text = QString::fromUtf8("Tokyo 東京 café");
    ws->editor.pageModified = true;
    ASSERT_EQ(SavePage(*ws, prompter).status, SavePageStatus::Saved);
    EXPECT_TRUE(prompter.messages.empty());
    load("000");
    EXPECT_EQ(ws->page.line(2).text, QString::fromUtf8("Tokyo 東京 café"));
    EXPECT_EQ(describeUnstorableText(PageRecord{}), QString());
}

TEST_F(PageSafetyTest, OutOfRangeDelaysFrozeTheStage)
{
    PageRecord r;
    r.pauseSecs = 100000;
    r.movementDelay = 2000000000;
    r.fadeDelay = 65535;
    RecordBytes stored{};
    encodePageRecord(r, stored);
    ASSERT_TRUE(test::writeAll(page("000"), QByteArray(reinterpret_cast<const char*>(stored.data()), kRecordSize)));
    load("000");
    EXPECT_EQ(ws->page.pauseSecs, 60);
    EXPECT_EQ(ws->page.movementDelay, 6000);
    EXPECT_EQ(ws->page.fadeDelay, 6000);
    EXPECT_EQ(ws->recordBuffer, stored);   // the bytes stay as stored until the page is saved
    r.pauseSecs = -5;
    applyRecordToWorkspace(r, *ws);
    EXPECT_EQ(ws->page.pauseSecs, 0);
}

TEST_F(PageSafetyTest, OpeningAProjectRemovesOnlyTheWritersStaleTemporaries)
{
    ASSERT_TRUE(test::writeAll(dir.file("SHOW.TLP"), "[LumavoProject]\nProjectName=SHOW.TLP\n"));
    const QStringList stale = {".SHOW.TLP.lumavo-a1B2c3", ".SHOW.000.lumavo-ZZZZZZ"};
    const QStringList kept = {"SHOW.TLP.a1B2c3", ".SHOW.TLP.lumavo-abc", "notes.lumavo-a1B2c3", "SHOW.000"};
    for (const QString& name : stale + kept)
        ASSERT_TRUE(test::writeAll(dir.file(name), "x"));
    OpenProject(*ws, dir.file("SHOW.TLP"));
    for (const QString& name : stale)
        EXPECT_FALSE(QFileInfo::exists(dir.file(name))) << name.toStdString();
    for (const QString& name : kept)
        EXPECT_TRUE(QFileInfo::exists(dir.file(name))) << name.toStdString();
}

// Mutations the older tests let through.
TEST(PageLimits, TitleCutTo81CharactersInsteadOf80)
{
    Workspace ws;
    ws.page.line(1).text = QString(100, u'A');
    const PageRecord r = recordFromWorkspace(ws, "000");
    EXPECT_EQ(r.line(1).text.size(), 80);
    RecordBytes b{};
    encodePageRecord(r, b);
    EXPECT_EQ(b[record_offset::kText1], 80);
    EXPECT_EQ(decodePageRecord(b).line(1).text, QString(80, u'A'));
    EXPECT_EQ(b[record_offset::kText1 + 81], 0);   // Text2's length byte is untouched
}

TEST(PageLimits, StripTLPCutAtDotTLInsteadOfDotTLP)
{
    EXPECT_EQ(StripTLP("X.TLX.TLP"), "X.TLX");
    EXPECT_EQ(StripTLP("show.tl.tlp"), "SHOW.TL");
}

TEST(PageLimits, Page999WasNeverOfferedAsTheLastFreePage)
{
    test::TempDir dir;
    for (int n = 0; n < kPageCount - 1; ++n)
        ASSERT_TRUE(test::writeAll(dir.file("P." + pageNumberText(n)), "x"));
    EXPECT_EQ(nextFreePageNumber(dir.dirWithSeparator(), "P"), std::optional<QString>("999"));
    EXPECT_EQ(lastPageNumber(dir.dirWithSeparator(), "P"), "998");
    ASSERT_TRUE(test::writeAll(dir.file("P.999"), "x"));
    EXPECT_EQ(nextFreePageNumber(dir.dirWithSeparator(), "P"), std::nullopt);
    EXPECT_EQ(lastPageNumber(dir.dirWithSeparator(), "P"), "999");
}

} // namespace
} // namespace lumavo
