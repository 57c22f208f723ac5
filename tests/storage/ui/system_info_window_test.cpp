#include "storage/ui/system_info_window.h"

#include "platform/clock.h"
#include "scripted_prompter.h"
#include "storage/report.h"
#include "storage/ui/report_printing.h"
#include "test_support.h"

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace lumavo {
namespace {

DeviceCaps device(const QString& name, std::uint32_t formats = 0, int technology = 0)
{
    DeviceCaps caps;
    caps.name = name;
    caps.formats = formats;
    caps.channels = 2;
    caps.technology = technology;
    caps.driverVersion = 0x0102;
    return caps;
}

class SystemInfoWindowTest : public ::testing::Test {
protected:
    SystemInfoWindowTest()
    {
        probe.devices[DeviceKind::WaveOut] = {device("default", 0xFFF), device("Card A", 0x00F),
                                              device("Card B", 0x800)};
        probe.devices[DeviceKind::MidiOut] = {device("default", 0, 5), device("Square", 0, 3)};
        probe.displayFigures.widthPx = 1024;
        probe.displayFigures.heightPx = 768;
        probe.memory = {37, 8ull << 30, 4ull << 30, 10ull << 30, 5ull << 30};
        probe.heapFigures[0] = 1234567;
        probe.systemFigures.processorType = 586;
        context.systemProbe = &probe;
    }

    QString text(const QString& name)
    {
        auto* label = window.findChild<QLabel*>(name);
        EXPECT_NE(label, nullptr) << name.toStdString();
        return label ? label->text() : QString();
    }
    QTabWidget* tabs() { return window.findChild<QTabWidget*>("PageControl1"); }
    QListWidget* list(const char* name) { return window.findChild<QListWidget*>(name); }

    Workspace ws;
    test::ScriptedPrompter prompter;
    FakeClock clock;
    FakeSystemProbe probe;
    AppContext context{ws, prompter, clock, {}};
    Tsyschk window{context};
};

TEST_F(SystemInfoWindowTest, OpensOnSystemInfoAndRefreshesOnlyWhileShown)
{
    ASSERT_NE(tabs(), nullptr);
    EXPECT_EQ(window.windowTitle(), "Under Your Hood");
    EXPECT_EQ(tabs()->count(), 5);
    EXPECT_EQ(tabs()->currentIndex(), Tsyschk::kSystemInfoTab);
    EXPECT_EQ(tabs()->tabText(4), "System Info");
    EXPECT_FALSE(window.refreshRunning());

    window.show();
    EXPECT_TRUE(window.refreshRunning());
    EXPECT_EQ(text("heap0"), "1,234,567");
    EXPECT_EQ(text("display2"), "1024 x 768");
    EXPECT_EQ(text("display5"), "Nt Only");
    EXPECT_EQ(text("system2"), "Pentium");
    EXPECT_EQ(text("memory0"), "37%");
    EXPECT_EQ(text("memory1"), "8,388,608 KB");
    EXPECT_EQ(window.findChild<QProgressBar*>("ProgressBar1")->value(), 37);

    probe.memory.loadPercent = 80;
    window.Timer1Timer();
    EXPECT_EQ(text("memory0"), "80%");
    EXPECT_EQ(window.findChild<QProgressBar*>("ProgressBar1")->value(), 80);

    QTest::mouseClick(window.findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.refreshRunning());
}

TEST_F(SystemInfoWindowTest, TwoWaveOutDevicesListThreeEntriesMapperFirst)
{
    window.show();
    tabs()->setCurrentIndex(0);
    EXPECT_EQ(tabs()->tabText(0), "Wave Out 2");
    QListWidget* entries = list("ListBox1");
    ASSERT_EQ(entries->count(), 3);
    EXPECT_EQ(entries->item(0)->text(), "default");
    EXPECT_EQ(entries->item(2)->text(), "Card B");
    EXPECT_EQ(text("ListBox1Field0"), "-1");
    EXPECT_EQ(text("ListBox1Field4"), "default");

    const QRect third = entries->visualItemRect(entries->item(2));
    QTest::mouseClick(entries->viewport(), Qt::LeftButton, {}, third.center());
    QCoreApplication::processEvents();
    EXPECT_EQ(text("ListBox1Field0"), "1");
    EXPECT_EQ(text("ListBox1Field4"), "Card B");
    EXPECT_EQ(text("ListBox1Field5"), " 44.1   kHz, Stereo, 16-bit\n");
    EXPECT_EQ(entries->count(), 3);
    EXPECT_TRUE(entries->selectedItems().isEmpty());

    QTest::mouseClick(entries->viewport(), Qt::LeftButton, {}, entries->visualItemRect(entries->item(1)).center());
    QCoreApplication::processEvents();
    EXPECT_EQ(text("ListBox1Field5"),
              " 11.025 kHz, Stereo, 16-bit\n 11.025 kHz, Mono,   16-bit\n"
              " 11.025 kHz, Stereo, 8-bit \n 11.025 kHz, Mono,   8-bit \n");
    EXPECT_EQ(text("ListBox1Field3"), "1.2");
}

TEST_F(SystemInfoWindowTest, MidiTechnologyThreeShowsSquareWaveOnly)
{
    window.show();
    window.showDevice(DeviceKind::MidiOut, 0);
    EXPECT_EQ(text("ListBox2Field5"), "Square wave internal synth\n");
    tabs()->setCurrentIndex(1);
    EXPECT_EQ(tabs()->tabText(1), "Midi Out 1");
    EXPECT_EQ(text("ListBox2Field5"), "MIDI mapper\n");
}

TEST_F(SystemInfoWindowTest, TabsWithoutDevicesSayNoDevices)
{
    window.show();
    tabs()->setCurrentIndex(2);
    EXPECT_EQ(tabs()->tabText(2), "Wave In 0");
    EXPECT_EQ(text("ListBox3Field4"), "No Wave Input device drivers in system");
    EXPECT_EQ(text("ListBox3Field0"), "");
    EXPECT_EQ(list("ListBox3")->count(), 0);
    tabs()->setCurrentIndex(3);
    EXPECT_EQ(text("ListBox4Field4"), "No Midi Input devices drivers in system");
}

TEST_F(SystemInfoWindowTest, WaveInWithOneDeviceOpensOnTheMapper)
{
    probe.devices[DeviceKind::WaveIn] = {device("default"), device("Mic")};
    window.show();
    tabs()->setCurrentIndex(2);
    EXPECT_EQ(text("ListBox3Field0"), "-1");
    probe.devices[DeviceKind::WaveIn].push_back(device("Line"));
    tabs()->setCurrentIndex(4);
    tabs()->setCurrentIndex(2);
    EXPECT_EQ(text("ListBox3Field0"), "1");
    EXPECT_EQ(text("ListBox3Field4"), "Line");
}

TEST_F(SystemInfoWindowTest, MemoryPrintoutCarriesTheShownTexts)
{
    window.show();
    const MemoryPrintout printout = window.memoryPrintout();
    EXPECT_EQ(printout.applicationTitle, "Lumavo-32");
    EXPECT_EQ(printout.memoryTexts[0], "8,388,608 KB");
    EXPECT_EQ(printout.memoryTexts[3], "5,242,880 KB");
    EXPECT_EQ(printout.heap[0], 1234567u);
}

TEST_F(SystemInfoWindowTest, RealProbeWithoutSoundHardwareNeitherCrashesNorWaits)
{
    AppContext own{ws, prompter, clock, {}};
    Tsyschk real(own);
    real.show();
    auto* pages = real.findChild<QTabWidget*>("PageControl1");
    for (int i = 0; i < 5; ++i)
        pages->setCurrentIndex(i);
    EXPECT_FALSE(real.findChild<QLabel*>("memory1")->text().isEmpty());
    EXPECT_FALSE(real.findChild<QLabel*>("system3")->text().isEmpty());
}

// Printing where no printer is installed goes to a PDF file.
class PdfPrintingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QPrinterInfo::availablePrinters().isEmpty())
            GTEST_SKIP() << "this machine has a printer";
        context.mainWidget = &mainWidget;
        ASSERT_TRUE(test::writeAll(dir.file("demo.tlp"), "[LumavoProject]\nProjectName=DEMO.TLP\n"));
        ws.project.projectDir = dir.dirWithSeparator();
        ws.project.projectName = "demo.tlp";
    }

    test::TempDir dir;
    Workspace ws;
    test::ScriptedPrompter prompter;
    FakeClock clock;
    QWidget mainWidget;
    AppContext context{ws, prompter, clock, {}};
};

TEST_F(PdfPrintingTest, ReportGoesToTheProjectsPdfUntilPrintSetupNamesAnother)
{
    EXPECT_EQ(currentPrinter(context).outputFormat(), QPrinter::PdfFormat);
    const EditorActions actions = printProjectReport(context);
    EXPECT_TRUE(actions.showPage);
    EXPECT_TRUE(QFile::exists(dir.file("DEMO.pdf")));
    EXPECT_TRUE(test::readAll(dir.file("DEMO.pdf")).startsWith("%PDF"));
    EXPECT_TRUE(prompter.messages.empty());

    prompter.saveNames = {dir.file("chosen.pdf")};
    runPrintSetup(context);
    ASSERT_EQ(prompter.fileDialogs.size(), 1u);
    EXPECT_EQ(prompter.fileDialogs[0].fileName, dir.file("DEMO.pdf"));
    printProjectReport(context);
    EXPECT_TRUE(QFile::exists(dir.file("chosen.pdf")));
    EXPECT_EQ(&currentPrinter(context), &currentPrinter(context));
}

TEST_F(PdfPrintingTest, MemoryInformationPrintsBesideTheReportFile)
{
    FakeSystemProbe probe;
    context.systemProbe = &probe;
    Tsyschk window(context);
    window.show();
    QTest::mouseClick(window.findChild<QPushButton*>("SpeedButton1"), Qt::LeftButton);
    EXPECT_TRUE(test::readAll(dir.file("DEMO-memory.pdf")).startsWith("%PDF"));
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(PdfPrintingTest, UnwritablePdfSaysTheReportWasNotPrinted)
{
    ws.project.projectDir = dir.file("gone") + "/";
    const EditorActions actions = printProjectReport(context);
    ASSERT_EQ(actions.notices.size(), 1u);
    EXPECT_EQ(actions.notices[0].icon, MessageIcon::Error);
    EXPECT_TRUE(actions.notices[0].error.startsWith("The report was not printed. "));
}

} // namespace
} // namespace lumavo
