#include "storage/project.h"
#include "storage/page_commands.h"

#include "storage_fixture.h"

#include <QDir>

namespace lumavo {
namespace {

using test::readAll;
using test::writeAll;

struct StripCase {
    QString name;
    QString base;
};

class StripTLPTest : public ::testing::TestWithParam<StripCase> {};

TEST_P(StripTLPTest, GivesTheBaseName)
{
    EXPECT_EQ(StripTLP(GetParam().name), GetParam().base);
}

INSTANTIATE_TEST_SUITE_P(Names, StripTLPTest,
                         ::testing::Values(StripCase{" show.tlp ", "SHOW"}, StripCase{"SHOW", "SHOW"},
                                           StripCase{"a.tlp.tlp", "A"}, StripCase{"", ""},
                                           StripCase{"show.txt", "SHOW.TXT"},
                                           StripCase{"\tcaf\u00e9.Tlp\n", "CAF\u00e9"},
                                           StripCase{"x.tlpz", "X"}));

class NumberingTest : public test::StorageFixture {};

TEST_F(NumberingTest, GapsDecideLastAndNextPage)
{
    EXPECT_EQ(GetNumberOFPages(*ws, "SHOW"), "NEW");
    EXPECT_EQ(ws->status.panel[3], "NEW");
    for (const char* n : {"000", "001", "002", "004"})
        makePage(n);
    EXPECT_EQ(GetNumberOFPages(*ws, "SHOW"), "002");
    EXPECT_EQ(ws->status.panel[4], "PROJECT: SHOW");
    EXPECT_EQ(GetNextPageNumber(*ws, "SHOW"), "003");
    EXPECT_EQ(ws->status.panel[3], "003");
}

TEST_F(NumberingTest, MissingPageZeroIsNewEvenWithLaterPages)
{
    makePage("001");
    EXPECT_EQ(lastPageNumber(ws->project.projectDir, "SHOW"), "NEW");
    EXPECT_EQ(nextFreePageNumber(ws->project.projectDir, "SHOW"), "000");
}

TEST_F(NumberingTest, AllThousandPagesTaken)
{
    for (int n = 0; n < kPageCount; ++n)
        ASSERT_TRUE(writeAll(page(pageNumberText(n)), "x"));
    EXPECT_EQ(GetNumberOFPages(*ws, "SHOW"), "999");
    ws->status.panel[3] = "kept";
    EXPECT_EQ(GetNextPageNumber(*ws, "SHOW"), std::nullopt);
    EXPECT_EQ(ws->status.panel[3], "kept");
}

TEST_F(NumberingTest, PagesInOtherLetterCaseCount)
{
    makePage("000", "show.000");
    makePage("001", "Show.001");
    EXPECT_EQ(lastPageNumber(ws->project.projectDir, "SHOW"), "001");
}

class ProjectFileTest : public test::StorageFixture {};

TEST_F(ProjectFileTest, SaveWritesEveryKeyInOrderAndKeepsOtherSections)
{
    ASSERT_TRUE(writeAll(dir.file("show.tlp"), "[Mine]\nkey=1\n"));
    makePage("000");
    ws->project.projectName.clear();
    ws->project.useCountDown = true;
    ws->project.colorBarTime = 25;
    prompter.saveNames.push_back(" " + dir.file("show") + " ");
    ProjectSaveInfo info{24, 0, QDateTime(QDate(2024, 3, 1), QTime(9, 5, 7))};
    ASSERT_EQ(SaveProject(*ws, prompter, info).status, SaveProjectStatus::Saved);
    ASSERT_EQ(prompter.fileDialogs.size(), 1u);
    EXPECT_EQ(prompter.fileDialogs[0].title, "Save TLP Title Project");
    EXPECT_EQ(ws->project.projectName, "show.tlp");
    EXPECT_EQ(ws->project.projectDir, dir.dirWithSeparator());
    EXPECT_EQ(ws->status.panel[4], "PROJECT: show.tlp");
    EXPECT_EQ(ws->status.panel[3], "000");

    const QString text = QString::fromUtf8(readAll(dir.file("show.tlp")));
    EXPECT_TRUE(text.startsWith("[Mine]\nkey=1\n")) << qPrintable(text);
    const QStringList keys = {"Program=Lumavo-32", "Version=01.30", "ProjectName=show.tlp",
                              "Birth=" + birthText(info.now), "NumberOPages=000", "UseColorBars=0",
                              "UseCountDown=1", "Holdtime=25", "BPP=24", "Palette=0"};
    EXPECT_TRUE(text.endsWith("[LumavoProject]\n" + keys.join('\n') + '\n')) << qPrintable(text);
}

TEST_F(ProjectFileTest, NameWithExtensionIsKeptAndPagesFollowIt)
{
    ws->project.projectName = "show.txt";
    ASSERT_EQ(SaveProject(*ws, prompter, {}).status, SaveProjectStatus::Saved);
    EXPECT_TRUE(QFileInfo::exists(dir.file("show.txt")));
    EXPECT_EQ(StripTLP(ws->project.projectName), "SHOW.TXT");
}

TEST_F(ProjectFileTest, CancelledSaveDialogWritesAndChangesNothing)
{
    ws->project.projectName.clear();
    ws->project.projectDir = "/somewhere/";
    ws->status.panel[4] = "old";
    EXPECT_EQ(SaveProject(*ws, prompter, {}).status, SaveProjectStatus::Cancelled);
    EXPECT_EQ(ws->project.projectDir, "/somewhere/");
    EXPECT_TRUE(ws->project.projectName.isEmpty());
    EXPECT_EQ(ws->status.panel[4], "old");
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(ProjectFileTest, UnwritableProjectFileGivesAnErrorNamingIt)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("SHOW.TLP"));   // a directory in the way
    ws->project.projectName = "SHOW.TLP";
    const SaveProjectOutcome saved = SaveProject(*ws, prompter, {});
    EXPECT_EQ(saved.status, SaveProjectStatus::WriteFailed);
    ASSERT_EQ(saved.notices.size(), 1u);
    EXPECT_EQ(saved.notices[0].icon, MessageIcon::Error);
    EXPECT_TRUE(saved.notices[0].error.contains(dir.file("SHOW.TLP")));
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(ProjectFileTest, OpenReadsKeysWithDefaultsAndLoadsPageZero)
{
    ASSERT_TRUE(writeAll(dir.file("copy.tlp"), "[lumavoproject]\nprojectname=SHOW.TLP\nUseColorBars=5\n"));
    makePage("000");
    ws->project.projectName = "OTHER";
    ws->project.colorBarTime = 99;
    ws->project.useCountDown = true;
    const OpenProjectOutcome opened = OpenProject(*ws, dir.file("copy.tlp"));
    EXPECT_TRUE(opened.projectFileRead);
    EXPECT_TRUE(opened.pageLoaded);
    EXPECT_EQ(ws->project.projectName, "SHOW.TLP");
    EXPECT_TRUE(ws->project.useColorBars);
    EXPECT_FALSE(ws->project.useCountDown);
    EXPECT_EQ(ws->project.colorBarTime, 10);
    EXPECT_EQ(ws->project.pageNow, "000");
    EXPECT_EQ(ws->page.line(1).text, "page 000");
    EXPECT_EQ(ws->status.panel[4], "PROJECT: SHOW.TLP");
}

TEST_F(ProjectFileTest, OpenFindsAProjectFileInOtherLetterCase)
{
    ASSERT_TRUE(writeAll(dir.file("Show.TLP"), "[LumavoProject]\nProjectName=SHOW.TLP\nHoldtime=3\n"));
    OpenProject(*ws, dir.file("show.tlp"));
    EXPECT_EQ(ws->project.colorBarTime, 3);
}

TEST_F(ProjectFileTest, MissingProjectFileKeepsTheNameAndTakesTheDirectory)
{
    test::TempDir other;
    ws->project.projectName = "KEEP.TLP";
    const OpenProjectOutcome opened = OpenProject(*ws, other.file("gone.tlp"));
    EXPECT_FALSE(opened.projectFileRead);
    EXPECT_EQ(ws->project.projectName, "KEEP.TLP");
    EXPECT_EQ(ws->project.projectDir, other.dirWithSeparator());
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(ProjectFileTest, StoredNameCannotLeadOutOfTheProjectDirectory)
{
    ASSERT_TRUE(writeAll(dir.file("evil.tlp"), "[LumavoProject]\nProjectName=..\\..\\etc\\SHOW.TLP\n"));
    OpenProject(*ws, dir.file("evil.tlp"));
    EXPECT_EQ(ws->project.projectName, "SHOW.TLP");
}

} // namespace
} // namespace lumavo

namespace lumavo {
namespace {

class SmoothEdgesSetting : public test::StorageFixture {};

TEST_F(SmoothEdgesSetting, OpenedProjectsKeepWhatTheyStoreAndClassicFilesStayWithoutTheKey)
{
    makePage("000");
    ASSERT_TRUE(writeAll(dir.file("old.tlp"), "[LumavoProject]\nProjectName=SHOW.TLP\n"));
    ws->project.smoothEdges = true;
    OpenProject(*ws, dir.file("old.tlp"));
    EXPECT_FALSE(ws->project.smoothEdges);
    ASSERT_EQ(SaveProject(*ws, prompter, {}).status, SaveProjectStatus::Saved);
    EXPECT_FALSE(QString::fromUtf8(readAll(dir.file("SHOW.TLP"))).contains("SmoothEdges"));

    ws->project.smoothEdges = true;
    ASSERT_EQ(SaveProject(*ws, prompter, {}).status, SaveProjectStatus::Saved);
    ws->project.smoothEdges = false;
    OpenProject(*ws, dir.file("SHOW.TLP"));
    EXPECT_TRUE(ws->project.smoothEdges);
    ws->project.smoothEdges = false; // turned off again: the key says so
    ASSERT_EQ(SaveProject(*ws, prompter, {}).status, SaveProjectStatus::Saved);
    EXPECT_TRUE(QString::fromUtf8(readAll(dir.file("SHOW.TLP"))).contains("SmoothEdges=0"));

    newProjectFromMenu(*ws);
    EXPECT_TRUE(ws->project.smoothEdges);
}

} // namespace
} // namespace lumavo
