#include "storage/page_file.h"

#include "storage_fixture.h"

#include <QFileDevice>

namespace lumavo {
namespace {

using test::readAll;
using test::writeAll;

class PageFileTest : public test::StorageFixture {};

TEST_F(PageFileTest, SaveThenLoadGivesBackThePage)
{
    ws->project.pageNow = "003";
    ws->page.line(1).text = " Opening  ";
    ws->page.line(2).bitmapFile = "logo.bmp";
    ws->page.line(3).inDir = 11;
    ws->page.line(3).fontName = "DejaVu Serif";
    ws->page.pauseSecs = 12;
    ws->stage.restOf(1) = {100, 200};
    ws->stage.outPath(2).count = 1;
    ws->stage.outPath(2).points[1] = {7, 8};
    ws->editor.pageModified = true;
    const SavePageOutcome saved = SavePage(*ws, prompter);
    ASSERT_EQ(saved.status, SavePageStatus::Saved);
    EXPECT_EQ(readAll(page("003")).size(), kRecordSize);
    EXPECT_FALSE(ws->editor.pageModified);
    EXPECT_EQ(ws->status.panel[3], "003");
    EXPECT_EQ(ws->status.panel[4], "PROJECT: SHOW.TLP");

    Workspace fresh;
    fresh.project = ws->project;
    fresh.project.pageNow = "003";
    fresh.editor.pageModified = true;
    fresh.editor.newPagePending = true;
    ASSERT_TRUE(LoadPage(fresh, "show.tlp", "003").loaded);
    EXPECT_TRUE(fresh.editor.pageLoaded);
    EXPECT_FALSE(fresh.editor.pageModified);
    EXPECT_FALSE(fresh.editor.newPagePending);
    EXPECT_EQ(fresh.status.panel[2], "Current");
    EXPECT_EQ(fresh.project.pageIndex, 3);
    EXPECT_EQ(fresh.page.line(1).text, "Opening");
    EXPECT_TRUE(fresh.page.line(1).titleValid);
    EXPECT_TRUE(fresh.page.line(2).titleValid);
    EXPECT_FALSE(fresh.page.line(3).titleValid);
    EXPECT_TRUE(fresh.page.line(3).inPathOn);
    EXPECT_EQ(fresh.page.line(3).fontName, "DejaVu Serif");
    EXPECT_EQ(fresh.page.pauseSecs, 12);
    EXPECT_EQ(fresh.stage.restOf(1), (Point{100, 200}));
    EXPECT_EQ(fresh.stage.outPath(2).points[1], (PathPoint{7, 8}));
    EXPECT_EQ(fresh.recordBuffer, ws->recordBuffer);
    EXPECT_TRUE(prompter.messages.empty());
}

// Sizes around one record: exact and longer files load, a shorter one is refused.
class PageFileSize : public test::StorageFixture, public ::testing::WithParamInterface<int> {};

TEST_P(PageFileSize, LoadsOnlyWholeRecords)
{
    makePage("000");
    QByteArray bytes = readAll(page("000"));
    bytes.resize(GetParam(), 'z');
    ASSERT_TRUE(writeAll(page("000"), bytes));
    ws->project.pageNow = "000";
    ws->page.line(1).text = "unsaved";
    ws->editor.pageModified = true;
    ws->recordBuffer.fill(0x5A);
    const LoadPageOutcome outcome = LoadPage(*ws, ws->project.projectName, "000");
    const bool loaded = outcome.loaded;
    EXPECT_EQ(loaded, GetParam() >= kRecordSize);
    if (loaded) {
        EXPECT_EQ(ws->page.line(1).text, "page 000");
        EXPECT_TRUE(outcome.notices.empty());
    } else {
        ASSERT_EQ(outcome.notices.size(), 1u);
        EXPECT_EQ(outcome.notices[0].error, "Error opening (possible older file structure) " + page("000"));
        EXPECT_EQ(outcome.notices[0].icon, MessageIcon::Information);
        EXPECT_EQ(ws->page.line(1).text, "unsaved");
        EXPECT_TRUE(ws->editor.pageModified);
        EXPECT_FALSE(ws->editor.pageLoaded);
        EXPECT_EQ(ws->recordBuffer[0], 0x5A) << "a failed read must leave the record buffer alone";
        EXPECT_EQ(ws->recordBuffer[kRecordSize - 1], 0x5A);
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, PageFileSize, ::testing::Values(0, 1, kRecordSize - 1, kRecordSize, kRecordSize + 100));

TEST_F(PageFileTest, MissingPageChangesNothingQuietly)
{
    ws->project.pageNow = "005";
    ws->editor.pageModified = true;
    ws->page.line(1).text = "kept";
    EXPECT_FALSE(LoadPage(*ws, ws->project.projectName, "005").loaded);
    EXPECT_TRUE(ws->editor.pageModified) << "the page held keeps its unsaved edits";
    EXPECT_EQ(ws->page.line(1).text, "kept");
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(PageFileTest, PageNumberInsideTheFileIsIgnored)
{
    makePage("004");
    QFile::copy(page("004"), page("002"));
    ws->project.pageNow = "002";
    ASSERT_TRUE(LoadPage(*ws, ws->project.projectName, "002").loaded);
    EXPECT_EQ(ws->project.pageIndex, 2);
    EXPECT_EQ(ws->page.line(1).text, "page 004");
}

TEST_F(PageFileTest, CarriedOverBytesComeFromTheLastPageRead)
{
    ws->project.pageNow = "000";
    ASSERT_EQ(SavePage(*ws, prompter).status, SavePageStatus::Saved);
    QByteArray first = readAll(page("000"));
    for (int i : {0, 64, 326, 327, 1690, 1691})
        EXPECT_EQ(first[i], 0) << i;

    first[0] = 'R';
    first[64] = 'S';
    first[326] = 1;
    first[1691] = 2;
    ASSERT_TRUE(writeAll(page("001"), first));
    ws->project.pageNow = "001";
    ASSERT_TRUE(LoadPage(*ws, ws->project.projectName, "001").loaded);
    ws->project.pageNow = "002";
    ASSERT_EQ(SavePage(*ws, prompter).status, SavePageStatus::Saved);
    const QByteArray second = readAll(page("002"));
    EXPECT_EQ(second[0], 'R');
    EXPECT_EQ(second[64], 'S');
    EXPECT_EQ(second[326], 1);
    EXPECT_EQ(second[1691], 2);
    EXPECT_EQ(second.mid(1686, 4), QByteArray("\x03" "002", 4));
}

TEST_F(PageFileTest, SavingOverALongerFileKeepsItsTail)
{
    makePage("000");
    ASSERT_TRUE(writeAll(page("000"), readAll(page("000")) + QByteArray("TAIL")));
    ws->project.pageNow = "000";
    ws->page.line(1).text = "rewritten";
    ASSERT_EQ(SavePage(*ws, prompter).status, SavePageStatus::Saved);
    const QByteArray bytes = readAll(page("000"));
    EXPECT_EQ(bytes.size(), kRecordSize + 4);
    EXPECT_TRUE(bytes.endsWith("TAIL"));
    EXPECT_EQ(text1Of(page("000")), "rewritten");
}

TEST_F(PageFileTest, PendingNewPageGoesToTheLowestFreeNumberInAFreshFile)
{
    makePage("000");
    makePage("001");
    makePage("003");
    ws->project.pageNow = "000";
    ws->editor.newPagePending = true;
    ws->page.line(1).text = "inserted";
    const SavePageOutcome saved = SavePage(*ws, prompter);
    ASSERT_EQ(saved.status, SavePageStatus::Saved);
    EXPECT_EQ(saved.pageNumber, "002");
    EXPECT_EQ(text1Of(page("002")), "inserted");
    EXPECT_EQ(text1Of(page("000")), "page 000");
    EXPECT_FALSE(ws->editor.newPagePending);
    // The page just saved is now the current one: saving again must not overwrite page 000.
    EXPECT_EQ(ws->project.pageNow, "002");
    ws->page.line(1).text = "edited";
    ASSERT_EQ(SavePage(*ws, prompter).status, SavePageStatus::Saved);
    EXPECT_EQ(text1Of(page("000")), "page 000");
    EXPECT_EQ(text1Of(page("002")), "edited");
}

TEST_F(PageFileTest, FailedSaveKeepsThePageUnsaved)
{
    // A directory where the page file should be: the write cannot succeed, whoever runs the test.
    ASSERT_TRUE(QDir(dir.path()).mkdir("SHOW.000"));
    ws->project.pageNow = "000";
    ws->editor.pageModified = true;
    ws->editor.newPagePending = true;
    ws->status.panel[3] = "before";
    const SavePageOutcome saved = SavePage(*ws, prompter);
    EXPECT_EQ(saved.status, SavePageStatus::WriteFailed);
    ASSERT_EQ(saved.notices.size(), 1u);
    EXPECT_EQ(saved.notices[0].icon, MessageIcon::Error);
    EXPECT_TRUE(ws->editor.pageModified);
    EXPECT_TRUE(ws->editor.newPagePending);
    EXPECT_TRUE(QFileInfo(page("000")).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{}) << "no temporary file left behind";
}

TEST_F(PageFileTest, SPgFailureMessageSaysWhy)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("SHOW.000"));
    ws->project.pageNow = "000";
    const SavePageOutcome saved = SavePage(*ws, prompter);
    ASSERT_EQ(saved.status, SavePageStatus::WriteFailed);
    ASSERT_EQ(saved.notices.size(), 1u);
    const QString shown = saved.notices[0].error;
    const QString lead = "Can not Save this page for " + page("000") + " Project. ";
    EXPECT_TRUE(shown.startsWith(lead)) << qPrintable(shown);
    EXPECT_GT(shown.size(), lead.size() + 10) << "the reason follows";
}

TEST_F(PageFileTest, SaveWithoutProjectOrBaseName)
{
    ws->project.projectName.clear();
    EXPECT_EQ(SavePage(*ws, prompter).status, SavePageStatus::NoProject);
    ws->project.projectName = " .tlp";
    const SavePageOutcome saved = SavePage(*ws, prompter);
    EXPECT_EQ(saved.status, SavePageStatus::NoBaseName);
    ASSERT_EQ(saved.notices.size(), 1u);
    EXPECT_EQ(saved.notices[0].error, "Open a Project or Save this project first.");
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(PageFileTest, PageFileInOtherLetterCaseIsLoadedAndSavedInPlace)
{
    makePage("000", "show.000");
    ws->project.pageNow = "000";
    ASSERT_TRUE(LoadPage(*ws, ws->project.projectName, "000").loaded);
    EXPECT_EQ(ws->page.line(1).text, "page 000");
    ws->page.line(1).text = "changed";
    ASSERT_EQ(SavePage(*ws, prompter).status, SavePageStatus::Saved);
    EXPECT_EQ(text1Of(dir.file("show.000")), "changed");
    EXPECT_FALSE(QFileInfo::exists(page("000")));
}

} // namespace
} // namespace lumavo
