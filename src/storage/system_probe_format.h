#pragma once

#include "storage/report_surface.h"
#include "storage/system_probe.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <vector>

namespace lumavo {

// Texts of the system information window, built from what a SystemProbe reports.

// A caption and the text shown next to it.
struct CaptionedValue {
    QString caption;
    QString value;
};

// 1 "Microsoft", 126 "Fast(AvMaster)", 136 "D A L", otherwise "Unknow " + the number.
QString manufacturerName(int manufacturerId);
// The listed product names; "Unknow or Unlisted Manufacturer" for any other identifier.
QString productName(int productId);
// High byte "." low byte, in decimal: 0x0102 -> "1.2".
QString driverVersionText(std::uint32_t version);
// One line per set format bit 0..11, each ending in "\r", the highest bit first.
QString waveFormatsText(std::uint32_t formats);
// The wave-out support bits 0..6, highest first; line breaks inside a text are "\r".
QString waveOutSupportText(std::uint32_t support);
// The MIDI support bits 0..3, highest first.
QString midiSupportText(std::uint32_t support);
// 1..5 as the technology's name ending in "\r"; "" for any other value.
QString midiTechnologyText(int technology);

// The tab's caption without a count: "Wave Out", "Midi Out", "Wave In", "Midi In".
QString deviceTabBaseCaption(DeviceKind kind);
// The caption plus a blank and the device count: "Wave Out 2".
QString deviceTabCaption(DeviceKind kind, int count);
// The product-name field's text on a machine without devices of the kind.
QString noDevicesText(DeviceKind kind);
// The device a tab shows when it becomes active: 1 for "Wave In", the mapper (-1) otherwise.
int initialDevice(DeviceKind kind);
// The field captions of a device tab, in window order; "Product Name" is the fifth.
QStringList deviceFieldCaptions(DeviceKind kind);
// The field values of one device, one per caption of deviceFieldCaptions(kind).
QStringList deviceFieldValues(DeviceKind kind, int device, const DeviceCaps& caps);

// Decimal with "," between groups of three digits: 1234567 -> "1,234,567".
QString groupedNumber(std::uint64_t value);
// bytes / 1024, grouped, + " KB".
QString kilobytesText(std::uint64_t bytes);
// "%d%%".
QString memoryLoadText(int percent);
// "%d.%.2d": 6, 1 -> "6.01".
QString systemVersionText(int major, int minor);
// 386 "80386", 486 "80486", 586 "Pentium", otherwise "Unknown (%d)".
QString processorTypeText(int type);

// Names of the twelve memory-manager rows, the address space first.
const std::array<QString, kHeapRowCount>& heapRowNames();
// The twelve rows, values grouped.
std::vector<CaptionedValue> heapRows(const HeapFigures& heap);
// The display rows of the System Info tab in window order; values the platform does not report
// show "Nt Only".
std::vector<CaptionedValue> displayRows(const DisplayFigures& display);
// "System Version : ", "Operating System : ", "Processor Type : ", "Number of Processors : ",
// "Processor Level :", "Processor Revision :" with their values.
std::vector<CaptionedValue> systemRows(const SystemFigures& system);
// "Current Memory Load", "Total Phys Memory:", "Avail Phys Memory:", "Total Virt Memory:",
// "Avail Virt Memory:" with their texts.
std::vector<CaptionedValue> memoryStatusRows(const MemoryStatus& memory);

// What the memory printout shows besides the heap figures.
struct MemoryPrintout {
    QString applicationTitle;
    QString dateTime;
    HeapFigures heap{};
    std::array<QString, 4> memoryTexts;   // shown texts of total/avail phys, total/avail virt
};
// Prints the memory information on `surface` in Courier 10 pt, one line each from y = 40 with a
// pitch of the height of "Hg" + 5. False (detail in surface.error()) when the surface failed.
bool writeMemoryPrintout(ReportSurface& surface, const MemoryPrintout& printout);

} // namespace lumavo
