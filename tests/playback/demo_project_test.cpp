#include "playback/page_player.h"

#include "scripted_prompter.h"
#include "storage/project.h"
#include "test_stage.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace lumavo {
namespace {

// The demo project in examples/demo, copied to a fresh directory, played through storage and the
// real title composer on the test stage.
TEST(DemoProject, PlaysAllPagesWithItsPictureAndSound)
{
    test::TempDir dir;
    const QDir demo(QStringLiteral(LUMAVO_SOURCE_DIR "/examples/demo"));
    const QStringList files = demo.entryList(QDir::Files);
    ASSERT_TRUE(files.contains("DEMO.tlp"));
    for (const QString& name : files)
        ASSERT_TRUE(QFile::copy(demo.filePath(name), dir.file(name)));

    Workspace ws;
    test::ScriptedPrompter prompter;
    FakeClock clock;
    QStringList log;
    test::TestStage stage(clock, {1024, 768}, 24);
    PlaybackFlags flags;
    test::RecordingWavePlayer wave(log);
    PagePlayer player(ws, stage, flags, clock, wave, &composeTitle);
    const OpenProjectOutcome opened = OpenProject(ws, dir.file("DEMO.tlp"));
    ASSERT_TRUE(opened.projectFileRead);
    ws.project.useCountDown = false;   // keep the run short; the colour bars stay on

    QStringList pagesSeen;
    stage.onPump = [&] {
        if (pagesSeen.isEmpty() || pagesSeen.back() != ws.project.pageNow)
            pagesSeen << ws.project.pageNow;
    };
    Notices loading;
    player.playAllPages(storagePageSource(ws, loading));
    EXPECT_TRUE(loading.empty());

    EXPECT_TRUE(prompter.messages.empty()) << prompter.messageTexts().join('\n').toStdString();
    EXPECT_TRUE(player.notices().empty());
    EXPECT_EQ(pagesSeen, (QStringList{"000", "001", "002", "003", "004"}));
    // The stored wave name is found in the project's directory.
    EXPECT_TRUE(log.contains("open " + dir.file("chime.wav"))) << log.join('\n').toStdString();
    EXPECT_TRUE(flags.killNow);
    EXPECT_GT(stage.presents.size(), 100u);
}

} // namespace
} // namespace lumavo
