#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace lumavo {

// The four kinds of sound device the system information window lists.
//
// How the figures map onto this platform (ALSA):
// - Wave Out / Wave In: the PCM playback / capture devices of every sound card (hw:CARD,DEVICE),
//   numbered 0.. in card and device order. The mapper (device -1) is the "default" PCM.
// - Midi Out / Midi In: the sequencer's ports that others may write to / read from (subscribable),
//   system client excluded. The mapper (device -1) is the "default" entry.
// - name: the PCM's or port's own name; the mapper's is "default".
// - formats: bit set when the device's hardware parameters accept that rate (11025, 22050,
//   44100 Hz), channel count (1, 2) and sample size (unsigned 8-bit, signed 16-bit) together.
// - channels: the most channels the device accepts.
// - driverVersion: the ALSA library version, major in the high byte, minor in the low byte.
// - manufacturerId, productId, support: ALSA has no such figures; manufacturer and product are 0
//   (shown as the unknown texts), support is 0. The mappers carry the mapper product identifiers
//   (2 "Wave Mapper", 1 "MIDI Mapper").
// - MIDI technology: 5 for the mapper, 2 for synthesizer ports, 1 for every other port; voices and
//   notes are the port's synth and MIDI voices, the channel mask covers its MIDI channels.
// Devices are opened non-blocking: a busy device reports no formats, a machine without sound
// hardware reports no devices, and nothing waits.
enum class DeviceKind { WaveOut, MidiOut, WaveIn, MidiIn };

constexpr int kMapperDevice = -1;
constexpr int kWaveMapperProduct = 2;
constexpr int kMidiMapperProduct = 1;
constexpr int kMidiMapperTechnology = 5;

struct DeviceCaps {
    int manufacturerId = 0;
    int productId = 0;
    std::uint32_t driverVersion = 0;  // high byte major, low byte minor
    QString name;
    std::uint32_t formats = 0;        // wave: bits 0..11
    int channels = 0;                 // wave
    std::uint32_t support = 0;        // wave out: bits 0..6; MIDI: bits 0..3
    int technology = 0;               // MIDI out: 1..5
    int voices = 0;                   // MIDI out
    int notes = 0;                    // MIDI out
    std::uint32_t channelMask = 0;    // MIDI out
};

// The display as the window's screen reports it. Values the platform does not report are nullopt.
struct DisplayFigures {
    int bitsPerPixel = 0;
    int colorResolution = 0;          // bits of colour per pixel
    int widthPx = 0;                  // device pixels
    int heightPx = 0;
    int paletteSize = 0;              // 0: not a palette device
    int reservedPalette = 0;
    std::optional<int> refreshRateHz;
    std::optional<int> virtualWidthPx;
    std::optional<int> virtualHeightPx;
    int aspectX = 36;                 // relative width and height of a pixel
    int aspectY = 36;
    int widthMm = 0;
    int heightMm = 0;
    int logicalDpiX = 0;
    int logicalDpiY = 0;
    int planes = 1;
    int brushes = -1;                 // -1: no fixed set (as a true-colour display reports)
    int pens = -1;
};

struct SystemFigures {
    int versionMajor = 0;
    int versionMinor = 0;
    QString osName;                   // the platform's own name, "Unknown" when it has none
    int processorType = 0;            // 386, 486, 586 for those processors, 8664 for x86-64
    int processorCount = 0;
    int processorLevel = 0;
    int processorRevision = 0;
};

// System memory in bytes.
struct MemoryStatus {
    int loadPercent = 0;              // 0..100
    std::uint64_t totalPhys = 0;
    std::uint64_t availPhys = 0;
    std::uint64_t totalVirt = 0;      // memory plus swap
    std::uint64_t availVirt = 0;
};

// The memory manager's statistics, one value per row of the window (names in heapRowNames()).
constexpr int kHeapRowCount = 12;
using HeapFigures = std::array<std::uint64_t, kHeapRowCount>;

// Everything the information windows learn about the machine.
class SystemProbe {
public:
    virtual ~SystemProbe() = default;

    virtual DisplayFigures display() const = 0;
    virtual SystemFigures system() const = 0;
    virtual MemoryStatus memoryStatus() const = 0;
    virtual HeapFigures heap() const = 0;
    // Number of devices of the kind, not counting the mapper.
    virtual int deviceCount(DeviceKind kind) const = 0;
    // Capabilities of device -1 (mapper) .. count - 1; nullopt when the query fails.
    virtual std::optional<DeviceCaps> deviceCaps(DeviceKind kind, int device) const = 0;
};

// This machine: QScreen, uname, /proc, glibc's allocator statistics and ALSA.
//
// The twelve heap rows come from mallinfo2(): address space = arena + mmapped bytes; uncommitted =
// the releasable top of the heap; committed = address space - uncommitted; allocated = bytes in
// use (arena and mmapped); free = free bytes in the arena; free small = free bytes in fast bins;
// free big = free - free small; unused = free bytes that cannot be released; overhead = arena
// bytes neither in use nor free; heap error code = 0 (glibc reports none); alloc count = the
// number of mmapped blocks (glibc does not count in-use arena chunks); alloc size = bytes in use.
class LinuxSystemProbe final : public SystemProbe {
public:
    LinuxSystemProbe();

    DisplayFigures display() const override;
    SystemFigures system() const override;
    MemoryStatus memoryStatus() const override;
    HeapFigures heap() const override;
    int deviceCount(DeviceKind kind) const override;
    std::optional<DeviceCaps> deviceCaps(DeviceKind kind, int device) const override;
};

// A probe that answers what a test set up.
class FakeSystemProbe final : public SystemProbe {
public:
    DisplayFigures displayFigures;
    SystemFigures systemFigures;
    MemoryStatus memory;
    HeapFigures heapFigures{};
    // Devices per kind, mapper first (index 0 is device -1).
    std::map<DeviceKind, std::vector<DeviceCaps>> devices;
    mutable std::vector<std::pair<DeviceKind, int>> capsQueries;

    DisplayFigures display() const override { return displayFigures; }
    SystemFigures system() const override { return systemFigures; }
    MemoryStatus memoryStatus() const override { return memory; }
    HeapFigures heap() const override { return heapFigures; }
    int deviceCount(DeviceKind kind) const override;
    std::optional<DeviceCaps> deviceCaps(DeviceKind kind, int device) const override;
};

// Reads "MemTotal", "MemAvailable", "SwapTotal" and "SwapFree" from /proc/meminfo text.
// nullopt when MemTotal is missing or zero.
std::optional<MemoryStatus> parseMeminfo(const QString& text);

} // namespace lumavo
