#include "export/ui/export_dialog.h"
#include "export/ui/export_controller.h"
#include "export/ui/export_runner.h"
#include "scripted_prompter.h"

#include "playback/test_stage.h"
#include "test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QEventLoop>
#include <QRegularExpression>
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
    destination->setText("/tmp/show.avi");   // the chosen format's extension is added
    EXPECT_EQ(dialog.settings().destination, "/tmp/show.avi.mp4");
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

TEST(ExportDialog, FormatPresetsAndPassesFollowTheChoices)
{
    ExportSettings initial;
    initial.destination = "/show/SHOW.mp4";
    initial.passes = 4;
    initial.allPages = true;
    ExportDialog dialog(initial, nullptr, false);
    auto* format = dialog.findChild<QComboBox*>("format");
    auto* preset = dialog.findChild<QComboBox*>("sizePreset");
    auto* destination = dialog.findChild<QLineEdit*>("destination");
    format->setCurrentIndex(static_cast<int>(ExportFormat::PngSequence));
    EXPECT_EQ(destination->text(), "/show/SHOW_%05d.png");
    format->setCurrentIndex(static_cast<int>(ExportFormat::Mov));
    EXPECT_EQ(destination->text(), "/show/SHOW_%05d.mov");
    preset->setCurrentIndex(0);
    preset->activated(0);
    EXPECT_EQ(dialog.settings().size, (Point{1280, 720}));
    EXPECT_EQ(dialog.settings().passes, 1) << "no repeat loop: one pass";

    // A long path scrolls in its field instead of widening the dialog.
    const int width = dialog.sizeHint().width();
    destination->setText("/show/" + QString(400, 'x') + ".mov");
    EXPECT_EQ(dialog.sizeHint().width(), width);
}

TEST(ExportController, RemembersChoicesAsksBeforeReplacingAndSaysWhatItWrote)
{
    test::TempDir dir;
    Workspace ws;
    ws.project.projectDir = dir.path() + "/";
    ws.project.projectName = "SHOW.tlp";
    ws.page.line(1).titleValid = true;
    ws.page.line(1).inDir = 13;
    ws.page.line(1).outDir = 13;
    ws.page.pauseSecs = 1;
    test::FakeComposer composer;
    composer.size = {16, 8};
    ASSERT_TRUE(test::writeAll(dir.file("lumavo.ini"), "[LUMAVO Options]\nTop=5\n"));
    ASSERT_TRUE(test::writeAll(dir.file("SHOW.mp4"), "old"));

    test::ScriptedPrompter prompter;
    QString offered;
    prompter.onModal = [&](QWidget& window) {
        auto& dialog = dynamic_cast<ExportDialog&>(window);
        offered = dialog.findChild<QLineEdit*>("destination")->text();
        dialog.findChildren<QSpinBox*>()[0]->setValue(64);
        dialog.findChildren<QSpinBox*>()[1]->setValue(36);
        return static_cast<int>(QDialog::Accepted);
    };
    ExportController controller(nullptr, prompter, dir.file("lumavo.ini"));
    controller.run(ws, composer);   // the existing file is not replaced: the answer is No
    EXPECT_EQ(offered, dir.file("SHOW.mp4")) << "opens in the project's folder";
    ASSERT_EQ(prompter.confirmations.size(), 1);
    EXPECT_TRUE(prompter.confirmations[0].contains("SHOW.mp4 already exists"));
    EXPECT_FALSE(controller.isExporting());

    prompter.answers.push_back(Answer::Yes);
    QEventLoop loop;
    ExportResult result;
    QObject::connect(&controller, &ExportController::exportEnded, &loop, [&](const ExportResult& r) {
        result = r;
        loop.quit();
    });
    controller.run(ws, composer);
    ASSERT_TRUE(controller.isExporting() || result.ok);
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* progress = qobject_cast<QProgressDialog*>(w)) {
            EXPECT_FALSE(progress->isModal()) << "editing goes on while it exports";
        }
    }
    if (!result.ok)
        loop.exec();
    ASSERT_TRUE(result.ok) << result.message.toStdString();
    EXPECT_NE(test::readAll(dir.file("SHOW.mp4")), "old");
    const QString ini = QString::fromUtf8(test::readAll(dir.file("lumavo.ini")));
    EXPECT_TRUE(ini.contains("[LUMAVO Options]\nTop=5\n")) << ini.toStdString();
    EXPECT_TRUE(ini.contains("[Export]")) << ini.toStdString();
    EXPECT_EQ(readExportChoices(IniFile::load(dir.file("lumavo.ini"))).size, (Point{64, 36}));

    QMessageBox* finished = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "ExportFinished")
            finished = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(finished, nullptr);
    EXPECT_TRUE(finished->text().contains(QRegularExpression("SHOW\\.mp4: [0-9.]+ MB, 1\\.[0-9] s")))
        << finished->text().toStdString();
    bool hasShow = false;
    for (QAbstractButton* button : finished->buttons())
        hasShow = hasShow || button->text() == "Show in Folder";
    EXPECT_TRUE(hasShow);
    finished->close();
}

TEST(ExportRunner, PercentOnTheLabelAndTheBarAgree)
{
    test::TempDir dir;
    Workspace ws;
    ws.page.line(1).titleValid = true;
    ws.page.line(1).inDir = 13;
    ws.page.line(1).outDir = 13;
    ws.page.pauseSecs = 3600;   // cancelled once the percent has been compared a few times
    ExportSettings s;
    s.destination = dir.file("p.mov");
    s.size = {64, 36};
    test::FakeComposer composer;
    composer.size = {16, 8};
    int compared = 0;
    QTimer reader;
    QObject::connect(&reader, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* progress = qobject_cast<QProgressDialog*>(w); progress != nullptr && progress->value() > 0) {
                const int bar = 100 * (progress->value() - progress->minimum()) / (progress->maximum() - progress->minimum());
                EXPECT_TRUE(progress->labelText().startsWith(QString::number(bar) + "%"))
                    << bar << " " << progress->labelText().toStdString();
                if (++compared == 3)
                    progress->findChild<QPushButton*>()->click();
            }
    });
    reader.start(5);
    EXPECT_TRUE(runExportWithProgress(nullptr, ws, s, composer).cancelled);
    EXPECT_GE(compared, 3);
}

} // namespace
} // namespace lumavo
