#include "export/ui/export_dialog.h"
#include "export/ui/export_runner.h"

#include "playback/test_stage.h"
#include "test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace lumavo {
namespace {

TEST(ExportDialog, OffersTheLastChoicesAndEnablesExportOnlyForAFileItCanWrite)
{
    ExportSettings initial;
    initial.allPages = true;
    initial.rate = {30000, 1001};
    initial.passes = 3;
    ExportDialog dialog(initial);
    QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    auto* destination = dialog.findChild<QLineEdit*>("destination");
    EXPECT_FALSE(ok->isEnabled());   // no file yet
    destination->setText("/tmp/show.avi");
    EXPECT_FALSE(ok->isEnabled());
    EXPECT_TRUE(dialog.problem().contains("unknown export format"));
    destination->setText("/tmp/show.mov");
    EXPECT_TRUE(ok->isEnabled());

    const ExportSettings chosen = dialog.settings();
    EXPECT_TRUE(chosen.allPages);
    EXPECT_EQ(chosen.rate, (FrameRate{30000, 1001}));
    EXPECT_EQ(chosen.passes, 3);
    EXPECT_EQ(chosen.size, (Point{1920, 1080}));
    EXPECT_EQ(chosen.destination, "/tmp/show.mov");

    dialog.findChildren<QSpinBox*>().front()->setValue(1921);   // an odd width
    EXPECT_FALSE(ok->isEnabled());
}

TEST(ExportRunner, ExportsOffTheInterfaceThreadAndReportsProgressText)
{
    test::TempDir dir;
    Workspace ws;
    ws.page.line(1).titleValid = true;
    ws.page.line(1).inDir = 5;
    ws.page.line(1).outDir = 13;
    ws.page.movementDelay = 3000;
    ws.page.pauseSecs = 1;
    ExportSettings s;
    s.destination = dir.file("run.mp4");
    s.size = {64, 36};
    test::FakeComposer composer;
    composer.size = {16, 8};
    const ExportResult r = runExportWithProgress(nullptr, ws, s, composer);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_GT(r.frames, 60);
    EXPECT_GT(QFile(s.destination).size(), 0);

    EXPECT_EQ(exportProgressText(0, 100, 0), "0%");
    EXPECT_EQ(exportProgressText(25, 100, 10), "25% - about 30 s left");
}

TEST(ExportRunner, CancelInTheProgressDialogStopsTheExportAndLeavesNoFile)
{
    test::TempDir dir;
    ASSERT_TRUE(test::writeAll(dir.file("show.mp4"), "old"));
    Workspace ws;
    ws.page.line(1).titleValid = true;
    ws.page.line(1).inDir = 5;
    ws.page.line(1).outDir = 13;
    ws.page.pauseSecs = 3600;   // an hour: far longer than the test waits for the click
    ExportSettings s;
    s.destination = dir.file("show.mp4");
    s.size = {64, 36};
    test::FakeComposer composer;
    composer.size = {16, 8};

    // The user clicks Cancel once the progress dialog is up.
    bool clicked = false;
    QTimer clicker;
    QObject::connect(&clicker, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* progress = qobject_cast<QProgressDialog*>(w);
            if (progress == nullptr || !progress->isVisible() || clicked)
                continue;
            for (QPushButton* button : progress->findChildren<QPushButton*>())
                if (button->text() == "Cancel") {
                    button->click();
                    clicked = true;
                }
        }
    });
    clicker.start(20);
    const ExportResult r = runExportWithProgress(nullptr, ws, s, composer);
    EXPECT_TRUE(clicked);
    EXPECT_TRUE(r.cancelled);
    EXPECT_FALSE(r.ok);
    EXPECT_LT(r.frames, 3600 * 60);
    // The file that was there is kept, and nothing of the export is left beside it.
    EXPECT_EQ(test::readAll(s.destination), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"show.mp4"});
}

} // namespace
} // namespace lumavo
