#include "remote/live_data_source.h"
#include "remote/stored_pages.h"
#include "storage/page_file.h"
#include "storage/storage_fixture.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

namespace lumavo {
namespace {

using StoredPages = test::StorageFixture;
using test::writeAll;

TEST_F(StoredPages, TextOfAnotherPageIsSavedWithoutTouchingTheEditor)
{
    makePage("000");
    makePage("001");
    ws->project.pageNow = "000";
    ws->page.line(1).text = "held in the editor";
    ws->editor.pageModified = true;
    EXPECT_TRUE(setStoredLineText(*ws, "001", 1, "Changed").ok());
    EXPECT_EQ(text1Of(page("001")), "Changed");
    EXPECT_EQ(ws->page.line(1).text, "held in the editor");
    EXPECT_TRUE(ws->editor.pageModified);
    EXPECT_EQ(ws->project.pageNow, "000");
    EXPECT_EQ(setStoredLineText(*ws, "007", 1, "x").status, 404);
    // A text that does not come back as it was sent (the page format cannot hold it) is saved as
    // the editor saves it, and the outcome says so instead of reporting plain success.
    const QString sent = QString::fromUtf8("日本");
    const RemoteOutcome unstorable = setStoredLineText(*ws, "001", 1, sent);
    EXPECT_TRUE(unstorable.ok());
    Workspace back;
    ASSERT_TRUE(loadStoredPage(ws->project, "001", back));
    EXPECT_EQ(unstorable.reason.isEmpty(), back.page.line(1).text == sent) << unstorable.reason.toStdString();
}

TEST_F(StoredPages, ThePageHeldWithUnsavedChangesIsRefusedAndKept)
{
    makePage("000");
    ws->project.pageNow = "000";
    ASSERT_TRUE(LoadPage(*ws, ws->project.projectName, "000").loaded);
    ws->page.line(2).text = "typed, not saved";
    ws->editor.pageModified = true;
    EXPECT_EQ(setStoredLineText(*ws, "000", 1, "Remote").status, 409);
    EXPECT_EQ(text1Of(page("000")), "page 000");
    EXPECT_EQ(ws->page.line(2).text, "typed, not saved");

    ws->editor.pageModified = false;
    EXPECT_TRUE(setStoredLineText(*ws, "000", 1, "Remote").ok());
    EXPECT_EQ(ws->page.line(1).text, "Remote");
    EXPECT_EQ(text1Of(page("000")), "Remote");
    EXPECT_FALSE(ws->editor.pageModified);
}

TEST_F(StoredPages, SummariesListTheUnbrokenRun)
{
    makePage("000");
    makePage("001");
    makePage("003");
    const QList<PageSummary> pages = storedPageSummaries(ws->project);
    ASSERT_EQ(pages.size(), 2);
    EXPECT_EQ(pages[1].number, "001");
    EXPECT_EQ(pages[1].texts[0], "page 001");
}

TEST_F(StoredPages, DataFileIsReadAgainWhenItChangesAndTheRowIsKeptWithinIt)
{
    ASSERT_TRUE(writeAll(dir.file("guests.csv"), "Name\nAnn\nBo\nCy\n"));
    ws->project.dataFile = "guests.csv";
    LiveDataSource source(*ws);
    source.followProject();
    ASSERT_EQ(source.rowCount(), 3);
    EXPECT_EQ(ws->dataRow.number, 1);
    EXPECT_TRUE(source.selectRow(3));
    EXPECT_EQ(ws->dataRow.values, QStringList{"Cy"});
    EXPECT_FALSE(source.selectRow(4));

    // Replaced on disk as editors save: a new file renamed over the old one.
    ASSERT_TRUE(writeAll(dir.file("new.csv"), "Name\nDee\nEd\n"));
    ASSERT_TRUE(QFile::remove(dir.file("guests.csv")));
    ASSERT_TRUE(QFile::rename(dir.file("new.csv"), dir.file("guests.csv")));
    const QDeadlineTimer limit(20000);
    while (source.rowCount() != 2 && !limit.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    ASSERT_EQ(source.rowCount(), 2);
    EXPECT_EQ(ws->dataRow.number, 2);
    EXPECT_EQ(ws->dataRow.values, QStringList{"Ed"});
}

} // namespace
} // namespace lumavo
