#include "app/app_shell.h"

#include "scripted_prompter.h"
#include "storage/page_file.h"
#include "test_support.h"

#include <QFile>
#include <gtest/gtest.h>

namespace lumavo {
namespace {

struct VersionCase {
    const char* runtime;
    const char* built;
    bool warns;
};
class RuntimeVersion : public testing::TestWithParam<VersionCase> {};
TEST_P(RuntimeVersion, WarnsOnlyBelowTheBuiltVersionOrWhenUnreadable)
{
    const auto message = runtimeVersionMessage(QString::fromLatin1(GetParam().runtime), QString::fromLatin1(GetParam().built));
    EXPECT_EQ(message.has_value(), GetParam().warns);
    if (message) {
        EXPECT_TRUE(message->startsWith(QStringLiteral("You need to upgrade the Qt libraries to version ") +
                                        QString::fromLatin1(GetParam().built) + QStringLiteral(" or higher")));
    }
}
INSTANTIATE_TEST_SUITE_P(Versions, RuntimeVersion,
                         testing::Values(VersionCase{"6.4.2", "6.4.2", false}, VersionCase{"6.5.0", "6.4.2", false},
                                         VersionCase{"6.10.1", "6.4.2", false}, VersionCase{"6.4.1", "6.4.2", true},
                                         VersionCase{"5.15.8", "6.4.2", true}, VersionCase{"", "6.4.2", true},
                                         VersionCase{"garbage", "6.4.2", true}));

TEST(PlatformName, IsTheKernelNameCapitalised)
{
    const QString name = platformName();
    ASSERT_FALSE(name.isEmpty());
    EXPECT_TRUE(name[0].isUpper());
    EXPECT_NE(name, QStringLiteral("Unknown"));
}

TEST(SysInfo, ReportsTheFourFiguresAndZeroForOtherIndices)
{
    const DisplayCaps trueColour = displayCapsForDepth(32);
    EXPECT_EQ(displayCapability(0, trueColour), 32);
    EXPECT_EQ(displayCapability(1, trueColour), 24);
    EXPECT_EQ(displayCapability(2, trueColour), 0);
    EXPECT_EQ(displayCapability(3, trueColour), 0);
    EXPECT_EQ(displayCapability(4, trueColour), 0);
    EXPECT_EQ(displayCapability(-1, trueColour), 0);
    const DisplayCaps palette = displayCapsForDepth(8);
    EXPECT_EQ(displayCapability(2, palette), 256);
    EXPECT_EQ(displayCapability(3, palette), 20);
}

TEST(KeepOnScreens, MovesAWindowWhollyOutsideOntoThePrimaryScreen)
{
    const QList<QRect> screens{QRect(0, 0, 1280, 1024), QRect(1280, 0, 1920, 1080)};
    const WindowPlacement lost{5000, 4000, 480, 640};   // top, left, height, width
    const WindowPlacement moved = keepOnScreens(lost, screens, screens[0]);
    EXPECT_EQ(moved, (WindowPlacement{0, 0, 480, 640}));
}

TEST(KeepOnScreens, KeepsAWindowThatTouchesAnyScreen)
{
    const QList<QRect> screens{QRect(0, 0, 1280, 1024), QRect(1280, 0, 1920, 1080)};
    const WindowPlacement second{100, 2000, 400, 200};
    EXPECT_EQ(keepOnScreens(second, screens, screens[0]), second);
    const WindowPlacement partly{-300, -500, 400, 600};  // its lower right corner shows
    EXPECT_EQ(keepOnScreens(partly, screens, screens[0]), partly);
}

TEST(FitMainWindow, AnAbsurdStoredSizeShrinksToTheScreenItIsOn)
{
    const QList<QRect> screens{QRect(0, 0, 1280, 1024), QRect(1280, 0, 1920, 1080)};
    const WindowPlacement huge{10, 1300, 2147483647, 2147483647};
    EXPECT_EQ(fitMainWindow(huge, screens, screens[0]), (WindowPlacement{0, 1280, 1080, 1920}))
        << "shrunk to the screen and moved wholly onto it";
    const WindowPlacement lostAndHuge{5000, 9000, 40000, 40000};
    EXPECT_EQ(fitMainWindow(lostAndHuge, screens, screens[0]), (WindowPlacement{0, 0, 1024, 1280}));
}

TEST(FitMainWindow, ZeroOrNegativeSizesFallBackToTheDesignedSize)
{
    const QList<QRect> screens{QRect(0, 0, 1280, 1024)};
    EXPECT_EQ(fitMainWindow({20, 30, 0, -5}, screens, screens[0]),
              (WindowPlacement{20, 30, kMainWindowHeight, kMainWindowWidth}));
    EXPECT_EQ(fitMainWindow({20, 30, 10, 10}, screens, screens[0]),
              (WindowPlacement{20, 30, kMainWindowMinHeight, kMainWindowMinWidth}))
        << "a tiny window grows to the smallest usable size";
    const WindowPlacement usual{20, 30, 500, 700};
    EXPECT_EQ(fitMainWindow(usual, screens, screens[0]), usual);
}

TEST(FitMainWindow, AStoredSizeLargerThanTheScreenStayedHangingOffItsEdges)
{
    const QList<QRect> screens{QRect(0, 0, 1280, 1024)};
    EXPECT_EQ(fitMainWindow({500, 900, 1100, 1400}, screens, screens[0]), (WindowPlacement{0, 0, 1024, 1280}));
    EXPECT_EQ(fitMainWindow({500, 900, 400, 1400}, screens, screens[0]), (WindowPlacement{500, 0, 400, 1280}))
        << "only the direction that did not fit moves";
}

TEST(ProjectArgument, TheFirstPathOrFileUrlMadeAbsolute)
{
    EXPECT_EQ(projectArgument({"lumavo"}, "/home/op"), QString());
    EXPECT_EQ(projectArgument({"lumavo", "--verbose", "shows/SHOW.tlp"}, "/home/op"), "/home/op/shows/SHOW.tlp");
    EXPECT_EQ(projectArgument({"lumavo", "file:///media/A%20B/SHOW.TLP"}, "/home/op"), "/media/A B/SHOW.TLP");
}

class CloseQuery : public testing::Test {
protected:
    void SetUp() override
    {
        ws.project.projectDir = dir.dirWithSeparator();
        ws.project.projectName = QStringLiteral("SHOW.tlp");
        ws.project.pageNow = QStringLiteral("000");
        ws.page.line(1).text = QStringLiteral("Hello");
        ws.page.line(1).titleValid = true;
        ws.editor.pageModified = true;
    }
    test::TempDir dir;
    Workspace ws;
    test::ScriptedPrompter prompter;
};

TEST_F(CloseQuery, WithoutAnOpenProjectOrTypedTitlesClosesWithoutAsking)
{
    ws.project.projectName.clear();
    ws.page.line(1).titleValid = false;
    EXPECT_EQ(closeQuery(ws, prompter).verdict, CloseVerdict::Close);
    EXPECT_TRUE(prompter.confirmations.isEmpty());
}

TEST_F(CloseQuery, TypedTitlesWithoutAProjectAreNotLostOnExit)
{
    ws.project.projectName.clear();
    ws.project.projectDir.clear();
    prompter.answers = {Answer::Cancel, Answer::Yes};
    EXPECT_EQ(closeQuery(ws, prompter).verdict, CloseVerdict::StayOpen);
    EXPECT_EQ(prompter.confirmations.value(0), QStringLiteral("Save this project first?"));
    prompter.saveNames.push_back(dir.file(QStringLiteral("NEW.tlp")));
    EXPECT_EQ(closeQuery(ws, prompter).verdict, CloseVerdict::Close);
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("NEW.tlp"))));
    EXPECT_EQ(test::readAll(dir.file(QStringLiteral("NEW.000"))).size(), kRecordSize);
}

TEST_F(CloseQuery, WithoutEditsClosesWithoutAsking)
{
    ws.editor.pageModified = false;
    EXPECT_EQ(closeQuery(ws, prompter).verdict, CloseVerdict::Close);
    EXPECT_TRUE(prompter.confirmations.isEmpty());
}

TEST_F(CloseQuery, CancelStaysOpenAndNoClosesWithoutSaving)
{
    prompter.answers = {Answer::Cancel, Answer::No};
    EXPECT_EQ(closeQuery(ws, prompter).verdict, CloseVerdict::StayOpen);
    EXPECT_EQ(prompter.confirmations.value(0), QStringLiteral("Save current page first?"));
    EXPECT_EQ(closeQuery(ws, prompter).verdict, CloseVerdict::Close);
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("SHOW.000"))));
}

TEST_F(CloseQuery, YesSavesThePageThenCloses)
{
    prompter.answers = {Answer::Yes};
    EXPECT_EQ(closeQuery(ws, prompter).verdict, CloseVerdict::Close);
    EXPECT_EQ(test::readAll(dir.file(QStringLiteral("SHOW.000"))).size(), kRecordSize);
    EXPECT_FALSE(ws.editor.pageModified);
}

TEST_F(CloseQuery, YesWithAFailedSaveKeepsTheWindowAndTheEdits)
{
    ws.project.projectDir = dir.file(QStringLiteral("missing")) + QLatin1Char('/');
    prompter.answers = {Answer::Yes};
    const CloseOutcome query = closeQuery(ws, prompter);
    EXPECT_EQ(query.verdict, CloseVerdict::StayOpen);
    EXPECT_TRUE(ws.editor.pageModified);
    EXPECT_FALSE(query.notices.empty());
}

} // namespace
} // namespace lumavo
