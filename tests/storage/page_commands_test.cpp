#include "storage/page_commands.h"

#include "storage/page_edits.h"
#include "storage/page_file.h"
#include "storage_fixture.h"

namespace lumavo {
namespace {

class PageCommandsTest : public test::StorageFixture {
protected:
    void makePages(std::initializer_list<const char*> numbers)
    {
        for (const char* n : numbers)
            makePage(n);
    }
};

struct DeleteCase {
    std::vector<QString> pages;
    QString deleted;
    std::vector<std::pair<QString, QString>> after;   // page number -> its Text1, "<missing>" if none
    QString lastPage;
};

class DeletePageTest : public PageCommandsTest, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(DeletePageTest, LaterPagesMoveDownUntilTheFirstGap)
{
    for (const QString& n : GetParam().pages)
        makePage(n);
    ws->project.pageNow = GetParam().deleted;
    prompter.answers.push_back(Answer::Yes);
    ASSERT_TRUE(deletePage(*ws, prompter).removed);
    EXPECT_EQ(prompter.confirmations,
              QStringList{"ARE YOU SURE? Delete Page " + GetParam().deleted + " of SHOW"});
    EXPECT_EQ(prompter.confirmationIcons, std::vector<MessageIcon>{MessageIcon::Warning});
    EXPECT_EQ(ws->project.projectName, "SHOW");
    for (const auto& [number, text] : GetParam().after)
        EXPECT_EQ(text1Of(page(number)), text) << qPrintable(number);
    EXPECT_EQ(lastPageNumber(ws->project.projectDir, "SHOW"), GetParam().lastPage);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DeletePageTest,
    ::testing::Values(
        DeleteCase{{"000", "001", "002", "003", "004"},
                   "002",
                   {{"002", "page 003"}, {"003", "page 004"}, {"004", "<missing>"}},
                   "003"},
        DeleteCase{{"000", "001", "002", "005"},
                   "001",
                   {{"001", "page 002"}, {"002", "<missing>"}, {"005", "page 005"}},
                   "001"},
        DeleteCase{{"000", "999"}, "999", {{"999", "<missing>"}, {"000", "page 000"}}, "000"}));

TEST_F(PageCommandsTest, DeleteAnsweredNoOrWithoutPageDoesNothing)
{
    makePages({"000", "001"});
    ws->project.pageNow = "001";
    EXPECT_FALSE(deletePage(*ws, prompter).removed);   // the scripted answer is No
    EXPECT_EQ(ws->project.projectName, "SHOW.TLP");
    EXPECT_EQ(text1Of(page("001")), "page 001");
    ws->project.pageNow = "007";
    prompter.answers.push_back(Answer::Yes);
    EXPECT_FALSE(deletePage(*ws, prompter).removed);
    EXPECT_EQ(prompter.confirmations.size(), 1);
}

TEST_F(PageCommandsTest, RenumberingKeepsEachFilesLetterCase)
{
    makePage("000", "show.000");
    makePage("001", "show.001");
    makePage("002", "show.002");
    ws->project.pageNow = "000";
    prompter.answers.push_back(Answer::Yes);
    ASSERT_TRUE(deletePage(*ws, prompter).removed);
    EXPECT_EQ(text1Of(dir.file("show.000")), "page 001");
    EXPECT_EQ(text1Of(dir.file("show.001")), "page 002");
    EXPECT_FALSE(QFileInfo::exists(dir.file("show.002")));
    EXPECT_EQ(ws->status.panel[3], "001");
}

TEST_F(PageCommandsTest, NextPgOnTheLastPageKeepsTheShownPageUnderItsOwnNumber)
{
    makePages({"000", "001"});
    ws->project.pageNow = "000";
    ASSERT_TRUE(LoadPage(*ws, ws->project.projectName, "000").loaded);
    EditorActions a = PagePointerClick(*ws, prompter, PageStep::Next);
    EXPECT_TRUE(a.showPage);
    EXPECT_EQ(ws->project.pageIndex, 1);
    EXPECT_EQ(ws->page.line(1).text, "page 001");

    setLineText(*ws, 2, "edited on 001");
    a = PagePointerClick(*ws, prompter, PageStep::Next);   // answered No: nothing saved
    EXPECT_FALSE(a.showPage);
    EXPECT_EQ(ws->project.pageIndex, 1);
    EXPECT_EQ(ws->project.pageNow, "001");
    EXPECT_EQ(prompter.confirmations, QStringList{"Save current page?"});
    EXPECT_TRUE(ws->editor.pageModified) << "the edit is still there, unsaved";
    // The page shown, the number shown and the file saved are one page.
    ASSERT_EQ(SavePage(*ws, prompter).status, SavePageStatus::Saved);
    EXPECT_EQ(text1Of(page("001")), "page 001");
    EXPECT_FALSE(QFileInfo::exists(page("002")));
}

TEST_F(PageCommandsTest, NextPgWhoseSaveFailsStaysOnTheEditedPage)
{
    makePages({"000", "001"});
    ws->project.pageNow = "000";
    ASSERT_TRUE(LoadPage(*ws, ws->project.projectName, "000").loaded);
    setLineText(*ws, 1, "edited on 000");
    ASSERT_TRUE(QFile::remove(page("000")));
    ASSERT_TRUE(QDir(dir.path()).mkdir("SHOW.000"));   // the save cannot replace a folder
    prompter.answers.push_back(Answer::Yes);
    const EditorActions a = PagePointerClick(*ws, prompter, PageStep::Next);
    EXPECT_FALSE(a.showPage);
    ASSERT_FALSE(a.notices.empty());
    EXPECT_TRUE(a.notices[0].error.startsWith("Can not Save this page"));
    EXPECT_EQ(ws->project.pageNow, "000");
    EXPECT_EQ(ws->page.line(1).text, "edited on 000");
    EXPECT_TRUE(ws->editor.pageModified);
}

TEST_F(PageCommandsTest, NPgAfterAnUnsavedEditOffersToSaveItFirst)
{
    makePages({"000"});
    ws->project.pageNow = "000";
    ASSERT_TRUE(LoadPage(*ws, ws->project.projectName, "000").loaded);
    setLineText(*ws, 1, "edited on 000");
    prompter.answers.push_back(Answer::Yes);
    newPageCommand(*ws, prompter);
    EXPECT_EQ(prompter.confirmations, QStringList{"Save current page?"});
    EXPECT_EQ(text1Of(page("000")), "edited on 000");
    EXPECT_TRUE(ws->editor.newPagePending);
    EXPECT_TRUE(ws->page.line(1).text.isEmpty());
}

TEST_F(PageCommandsTest, DPgOnAPendingPageDiscardsItAfterAskingAndDeletesNothingStored)
{
    makePages({"000", "001"});
    ws->project.pageNow = "001";
    ASSERT_TRUE(LoadPage(*ws, ws->project.projectName, "001").loaded);
    newPage(*ws);
    setLineText(*ws, 1, "never saved");
    EXPECT_FALSE(deletePageCommand(*ws, prompter).showPage);   // answered No: all stays
    EXPECT_TRUE(ws->editor.newPagePending);
    EXPECT_EQ(ws->page.line(1).text, "never saved");

    prompter.answers.push_back(Answer::Yes);
    const EditorActions a = deletePageCommand(*ws, prompter);
    EXPECT_EQ(prompter.confirmations, (QStringList{kDiscardPendingPageQuestion, kDiscardPendingPageQuestion}));
    EXPECT_TRUE(a.showPage && a.showPageNumber);
    EXPECT_EQ(a.enableNewAndCopy, std::optional<bool>(true));
    EXPECT_FALSE(ws->editor.newPagePending);
    EXPECT_FALSE(ws->editor.pageModified);
    EXPECT_EQ(ws->status.panel[2], "Current");
    EXPECT_EQ(ws->project.pageNow, "001");
    EXPECT_EQ(ws->page.line(1).text, "page 001");
    EXPECT_EQ(text1Of(page("000")), "page 000");
    EXPECT_EQ(text1Of(page("001")), "page 001");
}

TEST_F(PageCommandsTest, SPgOfANewPageShowsTheNumberItWasSavedUnder)
{
    makePages({"000", "001"});
    ws->project.pageNow = "000";
    ASSERT_TRUE(LoadPage(*ws, ws->project.projectName, "000").loaded);
    for (bool tool : {true, false}) {
        copyPage(*ws);
        const EditorActions a = savePageCommand(*ws, prompter, tool);
        EXPECT_TRUE(a.showPageNumber);
    }
    EXPECT_EQ(ws->project.pageNow, "003");
    ws->project.projectName.clear();
    EXPECT_FALSE(savePageCommand(*ws, prompter, false).showPageNumber);   // nothing saved
}

TEST_F(PageCommandsTest, PreviousOnPageZeroReloadsItAfterTheSaveQuestion)
{
    makePages({"000"});
    ws->project.pageNow = "000";
    ws->page.line(1).text = "edited";
    ws->editor.pageModified = true;
    prompter.answers.push_back(Answer::No);
    PagePointerClick(*ws, prompter, PageStep::Previous);
    EXPECT_EQ(prompter.confirmations, QStringList{"Save current page?"});
    EXPECT_EQ(ws->project.pageIndex, 0);
    EXPECT_EQ(ws->page.line(1).text, "page 000");
    EXPECT_EQ(text1Of(page("000")), "page 000");
}

TEST_F(PageCommandsTest, SaveQuestionAnsweredYesSavesBeforeMoving)
{
    makePages({"000", "001"});
    ws->project.pageNow = "000";
    ws->page.line(1).text = "edited";
    ws->editor.pageModified = true;
    prompter.answers.push_back(Answer::Yes);
    PagePointerClick(*ws, prompter, PageStep::Next);
    EXPECT_EQ(text1Of(page("000")), "edited");
    EXPECT_EQ(ws->page.line(1).text, "page 001");
}

TEST_F(PageCommandsTest, NextOnPage999StaysThere)
{
    makePages({"999"});
    ws->project.pageIndex = 999;
    ws->project.pageNow = "999";
    ws->page.line(1).text = "unsaved";
    PagePointerClick(*ws, prompter, PageStep::Next);
    EXPECT_EQ(ws->project.pageIndex, 999);
    EXPECT_EQ(ws->project.pageNow, "999");
}

TEST_F(PageCommandsTest, NewPageIsSavedIntoTheFirstGap)
{
    makePages({"000", "001", "003"});
    ws->project.pageNow = "001";
    ws->stage.inPath(2).count = 10;
    ws->page.line(1).archOn = true;
    ws->page.line(1).text = "old text";
    ws->page.fadeDelay = 300;
    EditorActions a = newPage(*ws);
    EXPECT_TRUE(ws->editor.newPagePending);
    EXPECT_EQ(ws->status.panel[2], "New Page");
    EXPECT_EQ(a.enableNewAndCopy, false);
    EXPECT_TRUE(a.showPage);
    EXPECT_TRUE(a.clearPreviews);
    EXPECT_EQ(ws->stage.inPath(2).count, -1);
    EXPECT_TRUE(ws->page.line(1).text.isEmpty());
    EXPECT_TRUE(ws->page.line(1).archOn) << "a new page keeps the filter switch";
    EXPECT_EQ(ws->page.fadeDelay, 300);
    EXPECT_EQ(ws->page.line(2).inDir, 5);

    a = newPage(*ws);
    EXPECT_EQ(ws->status.panel[2], "Current");
    EXPECT_TRUE(ws->editor.newPagePending);
    EXPECT_FALSE(a.enableNewAndCopy.has_value());

    ws->page.line(1).text = "fresh";
    a = savePageCommand(*ws, prompter, true);
    EXPECT_EQ(a.enableNewAndCopy, true);
    EXPECT_EQ(text1Of(page("002")), "fresh");
    EXPECT_EQ(text1Of(page("001")), "page 001");
}

TEST_F(PageCommandsTest, CopyPageWhilePendingOnlyShowsCurrent)
{
    makePages({"000"});
    ws->project.pageNow = "000";
    ws->page.line(1).text = "copied";
    EditorActions a = copyPage(*ws);
    EXPECT_EQ(ws->status.panel[2], "Copy Page");
    EXPECT_EQ(a.enableNewAndCopy, false);
    a = copyPage(*ws);
    EXPECT_EQ(ws->status.panel[2], "Current");
    EXPECT_TRUE(ws->editor.newPagePending);
    EXPECT_EQ(ws->page.line(1).text, "copied");
    ASSERT_EQ(SavePage(*ws, prompter).status, SavePageStatus::Saved);
    EXPECT_EQ(text1Of(page("001")), "copied");
}

TEST_F(PageCommandsTest, SavePageToolWithoutProjectRefuses)
{
    ws->project.projectName.clear();
    const EditorActions a = savePageCommand(*ws, prompter, true);
    EXPECT_TRUE(prompter.messages.empty()) << "the window shows it";
    ASSERT_EQ(a.notices.size(), 1u);
    EXPECT_EQ(a.notices[0].error, "Save Project first, than add New pages.");
    EXPECT_FALSE(a.enableNewAndCopy.has_value());
}

TEST_F(PageCommandsTest, NewProjectCommands)
{
    ws->editor.pageModified = true;
    EditorActions a = newProjectFromMenu(*ws);
    // Keeping the old name and folder let the first save write over page 000 of the old project.
    EXPECT_TRUE(ws->project.projectName.isEmpty());
    EXPECT_TRUE(ws->project.projectDir.isEmpty());
    EXPECT_EQ(ws->project.pageNow, "000");
    EXPECT_EQ(SavePage(*ws, prompter).status, SavePageStatus::NoProject);
    EXPECT_EQ(ws->status.panel[3], "NEW");
    EXPECT_EQ(ws->status.panel[4], "PROJECT: ");
    EXPECT_TRUE(a.showPage);

    ws->stage.outPath(3).count = 4;
    a = newProjectFromTool(*ws);
    EXPECT_TRUE(ws->project.projectName.isEmpty());
    EXPECT_EQ(ws->status.panel[3], "000");
    EXPECT_FALSE(ws->editor.pageModified);
    EXPECT_EQ(ws->stage.outPath(3).count, -1);
    EXPECT_EQ(a.enableNewAndCopy, false);
}

TEST_F(PageCommandsTest, OpenProjectCommand)
{
    EXPECT_FALSE(openProjectCommand(*ws, prompter).enableProjectTools) << "cancelled dialog";
    makePages({"000"});
    ASSERT_TRUE(test::writeAll(dir.file("show.tlp"), "[LumavoProject]\nProjectName=SHOW.TLP\nUseCountDown=1\n"));
    prompter.openNames.push_back(dir.file("show.tlp"));
    ws->editor.pageModified = true;
    const EditorActions a = openProjectCommand(*ws, prompter);
    EXPECT_TRUE(a.enableProjectTools);
    EXPECT_TRUE(a.showPage);
    EXPECT_FALSE(ws->editor.pageModified);
    EXPECT_TRUE(ws->project.useCountDown);
    EXPECT_EQ(ws->page.line(1).text, "page 000");
}

} // namespace
} // namespace lumavo
