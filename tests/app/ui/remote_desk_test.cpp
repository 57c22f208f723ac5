#include "app/ui/remote_desk.h"

#include "app/ui/application.h"
#include "app/ui/main_window.h"
#include "main_window_fixture.h"
#include "playback/ui/stage.h"
#include "storage/page_file.h"
#include "storage/page_record.h"

#include <QCoreApplication>

namespace lumavo::test {
namespace {

// The program with project SHOW open on page 000 ("Zero"); page 001 says "One".
class RemoteDeskTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(writeAll(dir.file("show.tlp"), "[LumavoProject]\nProjectName=SHOW.TLP\n"));
        writePage("000", "Zero");
        writePage("001", "One");
        ASSERT_TRUE(writeAll(settings(), "[LUMAVO Options]\nLastproject=" + dir.file("show.tlp").toUtf8() + "\n"));
        app = std::make_unique<Application>(prompter, clock, std::function<std::unique_ptr<WavePlayer>()>{}, settings());
        app->createWindows();
        ASSERT_EQ(app->workspace().project.pageNow, "000");
        prompter.messages.clear();
    }
    void writePage(const QString& number, const QString& text)
    {
        Workspace page;
        page.page.line(1).text = text;
        RecordBytes bytes{};
        encodePageRecord(recordFromWorkspace(page, number), bytes);
        ASSERT_TRUE(writePageFile(dir.file("SHOW." + number), bytes, true).ok);
    }
    QString settings() const { return dir.file(QStringLiteral("lumavo.ini")); }
    QString editText(int line) const { return app->mainWindow().edit(line)->text(); }

    TempDir dir;
    ScriptedPrompter prompter;
    FakeClock clock;
    std::unique_ptr<Application> app;
};

TEST_F(RemoteDeskTest, UnsavedChangesRefuseCueingAndRemoteEditsWithoutAQuestion)
{
    RemoteDesk& desk = app->remoteDesk();
    app->mainWindow().edit(1)->setText("typed here");
    ASSERT_TRUE(app->workspace().editor.pageModified);
    EXPECT_EQ(desk.run(RemoteCommand::Play, QStringLiteral("001")).status, 409);
    EXPECT_EQ(desk.run(RemoteCommand::PlayAll, std::nullopt).status, 409);
    EXPECT_EQ(desk.setLineText("000", 2, "Remote").status, 409);
    EXPECT_EQ(app->workspace().project.pageNow, "000");
    EXPECT_EQ(editText(1), "typed here");
    EXPECT_TRUE(prompter.confirmations.isEmpty());
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(RemoteDeskTest, RemoteEditOfTheCurrentPageIsSavedAndShownAndPlayCuesThePage)
{
    RemoteDesk& desk = app->remoteDesk();
    ASSERT_TRUE(desk.setLineText("000", 2, "Remote").ok());
    EXPECT_EQ(editText(2), "Remote");
    EXPECT_FALSE(app->workspace().editor.pageModified);

    EXPECT_EQ(desk.run(RemoteCommand::Play, QStringLiteral("009")).status, 404);
    ASSERT_TRUE(desk.run(RemoteCommand::Play, QStringLiteral("001")).ok());
    EXPECT_EQ(app->workspace().project.pageNow, "001");
    EXPECT_EQ(editText(1), "One");
    EXPECT_EQ(desk.status().page, "001");
    // A second play before the first has started is refused; a stop cancels the start.
    EXPECT_EQ(desk.run(RemoteCommand::Play, std::nullopt).status, 409);
    EXPECT_TRUE(desk.run(RemoteCommand::Stop, std::nullopt).ok());
    QCoreApplication::processEvents();
    EXPECT_FALSE(app->mainWindow().windows().stage->player().isPlaying());
    EXPECT_EQ(desk.status().pages, 2);
    EXPECT_EQ(desk.selectRow(1).status, 409);   // no data file
    EXPECT_TRUE(prompter.messages.empty());
}

} // namespace
} // namespace lumavo::test
