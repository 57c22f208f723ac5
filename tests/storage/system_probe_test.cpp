#include "storage/system_probe.h"

#include "storage/system_probe_format.h"

#include <gtest/gtest.h>

namespace lumavo {
namespace {

TEST(WaveFormats, ElevenKilohertzBitsListStereoSixteenBitFirst)
{
    EXPECT_EQ(waveFormatsText(0x00F),
              " 11.025 kHz, Stereo, 16-bit\r"
              " 11.025 kHz, Mono,   16-bit\r"
              " 11.025 kHz, Stereo, 8-bit \r"
              " 11.025 kHz, Mono,   8-bit \r");
}

TEST(WaveFormats, HighestSetBitComesFirstAcrossRates)
{
    EXPECT_EQ(waveFormatsText(0x201), " 44.1   kHz, Stereo,  8-bit\r 11.025 kHz, Mono,   8-bit \r");
    EXPECT_EQ(waveFormatsText(0), "");
    EXPECT_EQ(waveFormatsText(0xF000), "");   // bits above 11 mean nothing
}

TEST(DeviceSupport, FrontInsertedListsKeepTheirLineBreaks)
{
    EXPECT_EQ(waveOutSupportText(0x41), "Direct SoundSupports pitch control\r");
    EXPECT_EQ(waveOutSupportText(0x10), "The driver is synchronous\rand will block while \rplaying a buffer.\r");
    EXPECT_EQ(midiSupportText(0x0A), "Driver supports Midi\rStream Out directly.\rSeparate left-right\rvolume control.\r");
}

TEST(MidiTechnology, ShowsOnlyTheNamedTechnology)
{
    EXPECT_EQ(midiTechnologyText(3), "Square wave internal synth\r");
    EXPECT_EQ(midiTechnologyText(5), "MIDI mapper\r");
    EXPECT_EQ(midiTechnologyText(0), "");
    EXPECT_EQ(midiTechnologyText(6), "");
}

struct NameCase {
    int id;
    const char* manufacturer;
    const char* product;
};

class DeviceNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(DeviceNames, IdentifiersMapToTheirTexts)
{
    EXPECT_EQ(manufacturerName(GetParam().id), GetParam().manufacturer);
    EXPECT_EQ(productName(GetParam().id), GetParam().product);
}

INSTANTIATE_TEST_SUITE_P(Table, DeviceNames,
                         ::testing::Values(NameCase{1, "Microsoft", "MIDI Mapper"},
                                           NameCase{2, "Unknow 2", "Wave Mapper"},
                                           NameCase{8, "Unknow 8", "Unknow or Unlisted Manufacturer"},
                                           NameCase{9, "Unknow 9", " Ad Lib-compatible synthesizer"},
                                           NameCase{12, "Unknow 12", "Joystick adapter"},
                                           NameCase{126, "Fast(AvMaster)", "Unknow or Unlisted Manufacturer"},
                                           NameCase{136, "D A L", "Unknow or Unlisted Manufacturer"},
                                           NameCase{0, "Unknow 0", "Unknow or Unlisted Manufacturer"}));

struct NumberCase {
    std::uint64_t value;
    const char* grouped;
};

class GroupedNumbers : public ::testing::TestWithParam<NumberCase> {};

TEST_P(GroupedNumbers, ThousandsAreSeparated) { EXPECT_EQ(groupedNumber(GetParam().value), GetParam().grouped); }

INSTANTIATE_TEST_SUITE_P(Table, GroupedNumbers,
                         ::testing::Values(NumberCase{0, "0"}, NumberCase{999, "999"}, NumberCase{1000, "1,000"},
                                           NumberCase{123456, "123,456"}, NumberCase{1234567, "1,234,567"},
                                           NumberCase{18446744073709551615ull, "18,446,744,073,709,551,615"}));

TEST(SystemTexts, FiguresAreFormattedAsTheWindowShowsThem)
{
    EXPECT_EQ(kilobytesText(1023), "0 KB");
    EXPECT_EQ(kilobytesText(16ull * 1024 * 1024 * 1024), "16,777,216 KB");
    EXPECT_EQ(memoryLoadText(42), "42%");
    EXPECT_EQ(systemVersionText(6, 1), "6.01");
    EXPECT_EQ(systemVersionText(4, 10), "4.10");
    EXPECT_EQ(driverVersionText(0x0102), "1.2");
    EXPECT_EQ(driverVersionText(0x0A0B), "10.11");
    EXPECT_EQ(processorTypeText(386), "80386");
    EXPECT_EQ(processorTypeText(486), "80486");
    EXPECT_EQ(processorTypeText(586), "Pentium");
    EXPECT_EQ(processorTypeText(8664), "Unknown (8664)");
}

TEST(DisplayRows, UnreportedValuesStayNtOnly)
{
    DisplayFigures d;
    d.widthPx = 1920;
    d.heightPx = 1080;
    const auto rows = displayRows(d);
    ASSERT_EQ(rows.size(), 20u);
    EXPECT_EQ(rows[2].caption, "Display Size");
    EXPECT_EQ(rows[2].value, "1920 x 1080");
    for (std::size_t i : {5u, 6u, 7u})
        EXPECT_EQ(rows[i].value, "Nt Only") << rows[i].caption.toStdString();

    d.refreshRateHz = 60;
    d.virtualWidthPx = 3840;
    d.virtualHeightPx = 1200;
    const auto filled = displayRows(d);
    EXPECT_EQ(filled[5].value, "60");
    EXPECT_EQ(filled[6].value, "3840");
    EXPECT_EQ(filled[7].value, "1200");
}

TEST(DeviceFields, ValuesLineUpWithCaptionsForEveryKind)
{
    DeviceCaps caps;
    caps.productId = 6;
    caps.name = "HDA Intel PCH";
    caps.formats = 0x800;
    caps.channels = 2;
    caps.technology = 3;
    caps.channelMask = 0xFFFF;
    for (DeviceKind kind : {DeviceKind::WaveOut, DeviceKind::MidiOut, DeviceKind::WaveIn, DeviceKind::MidiIn})
        EXPECT_EQ(deviceFieldCaptions(kind).size(), deviceFieldValues(kind, 0, caps).size());

    const QStringList out = deviceFieldValues(DeviceKind::WaveOut, 1, caps);
    EXPECT_EQ(out[0], "1");
    EXPECT_EQ(out[2], "Sound Blaster waveform output");
    EXPECT_EQ(out[4], "HDA Intel PCH");
    EXPECT_EQ(out[5], " 44.1   kHz, Stereo, 16-bit\r");
    const QStringList midi = deviceFieldValues(DeviceKind::MidiOut, -1, caps);
    EXPECT_EQ(deviceFieldCaptions(DeviceKind::MidiOut)[5], "Technology");
    EXPECT_EQ(midi[5], "Square wave internal synth\r");
    EXPECT_EQ(midi[8], "65535");
    EXPECT_EQ(deviceFieldCaptions(DeviceKind::WaveIn)[0], "Output Device ID");
}

TEST(DeviceTabs, CaptionsCountsAndStartingDevices)
{
    EXPECT_EQ(deviceTabCaption(DeviceKind::WaveOut, 2), "Wave Out 2");
    EXPECT_EQ(deviceTabCaption(DeviceKind::MidiIn, 0), "Midi In 0");
    EXPECT_EQ(noDevicesText(DeviceKind::MidiOut), "No Midi Output devices drivers in system");
    EXPECT_EQ(initialDevice(DeviceKind::WaveIn), 1);
    EXPECT_EQ(initialDevice(DeviceKind::WaveOut), kMapperDevice);
}

TEST(MemoryPrintout, LinesFollowTheCourierPitchAndPadding)
{
    RecordingReportSurface surface(2400, 3000, 30);
    MemoryPrintout printout;
    printout.applicationTitle = "Lumavo-32";
    printout.dateTime = "08/12/2026 01:30:00";
    for (std::size_t i = 0; i < printout.heap.size(); ++i)
        printout.heap[i] = 1000 * (i + 1);
    printout.memoryTexts = {"1 KB", "2 KB", "3 KB", "4 KB"};
    ASSERT_TRUE(writeMemoryPrintout(surface, printout));
    EXPECT_TRUE(surface.ended());

    const auto& t = surface.texts();
    ASSERT_EQ(t.size(), 21u);
    for (std::size_t i = 0; i < t.size(); ++i) {
        EXPECT_EQ(t[i].x, 10);
        EXPECT_EQ(t[i].y, 40 + 35 * static_cast<int>(i));
        EXPECT_EQ(t[i].face, "Courier");
        EXPECT_EQ(t[i].points, 10);
    }
    EXPECT_EQ(t[0].text, "Program: Lumavo-32 Information ");
    EXPECT_EQ(t[1].text, "08/12/2026 01:30:00");
    EXPECT_EQ(t[2].text, "___________________________");
    EXPECT_EQ(t[3].text, "TotalAddrSpace   1,000");
    EXPECT_EQ(t[4].text, "TotalUncommitted 2,000");
    EXPECT_EQ(t[12].text, "HeapErrorCode    10,000");
    EXPECT_EQ(t[14].text, "TotalPhysMem     1 KB");
    EXPECT_EQ(t[17].text, "AvailVirtMem     4 KB");
    EXPECT_EQ(t[18].text, "___________________________");
    EXPECT_EQ(t[19].text, "AllocMemCount    11000");
    EXPECT_EQ(t[20].text, "AllocMemSize     12000");
}

TEST(Meminfo, FiguresAndLoadComeFromTheKernelText)
{
    const auto m = parseMeminfo("MemTotal:       1000 kB\nMemFree:         100 kB\nMemAvailable:    250 kB\n"
                                "SwapTotal:       500 kB\nSwapFree:        400 kB\n");
    ASSERT_TRUE(m.has_value());
    EXPECT_EQ(m->totalPhys, 1024000u);
    EXPECT_EQ(m->availPhys, 256000u);
    EXPECT_EQ(m->totalVirt, 1536000u);
    EXPECT_EQ(m->availVirt, 665600u);
    EXPECT_EQ(m->loadPercent, 75);
    EXPECT_FALSE(parseMeminfo("garbage\n").has_value());
    EXPECT_FALSE(parseMeminfo("MemTotal: 0 kB\n").has_value());
    // Without MemAvailable (old kernels) the free memory counts.
    EXPECT_EQ(parseMeminfo("MemTotal: 1000 kB\nMemFree: 500 kB\n")->loadPercent, 50);
}

TEST(FakeProbe, MapperIsDeviceMinusOne)
{
    FakeSystemProbe probe;
    DeviceCaps mapper;
    mapper.name = "default";
    DeviceCaps first;
    first.name = "first";
    probe.devices[DeviceKind::WaveOut] = {mapper, first};
    EXPECT_EQ(probe.deviceCount(DeviceKind::WaveOut), 1);
    EXPECT_EQ(probe.deviceCount(DeviceKind::MidiIn), 0);
    EXPECT_EQ(probe.deviceCaps(DeviceKind::WaveOut, -1)->name, "default");
    EXPECT_EQ(probe.deviceCaps(DeviceKind::WaveOut, 0)->name, "first");
    EXPECT_FALSE(probe.deviceCaps(DeviceKind::WaveOut, 1).has_value());
}

TEST(LinuxProbe, AnswersOnThisMachineWithoutSoundHardwareOrWithIt)
{
    LinuxSystemProbe probe;
    for (DeviceKind kind : {DeviceKind::WaveOut, DeviceKind::MidiOut, DeviceKind::WaveIn, DeviceKind::MidiIn}) {
        const int count = probe.deviceCount(kind);
        EXPECT_GE(count, 0);
        EXPECT_FALSE(probe.deviceCaps(kind, count).has_value());
        EXPECT_FALSE(probe.deviceCaps(kind, -2).has_value());
    }
    const MemoryStatus memory = probe.memoryStatus();
    EXPECT_GT(memory.totalPhys, 0u);
    EXPECT_LE(memory.availPhys, memory.totalPhys);
    EXPECT_LE(memory.loadPercent, 100);
    const HeapFigures heap = probe.heap();
    EXPECT_EQ(heap[1] + heap[2], heap[0]);   // uncommitted + committed = address space
    EXPECT_EQ(heap[11], heap[3]);
    EXPECT_GE(probe.system().processorCount, 1);
}

} // namespace
} // namespace lumavo
