#include "storage/system_probe_format.h"

namespace lumavo {

namespace {

const QString kCr = QStringLiteral("\r");

// Each set bit's text put in front of the text built so far, so the highest bit comes first.
QString frontInsertedList(std::uint32_t bits, const QStringList& texts)
{
    QString out;
    for (int bit = 0; bit < texts.size(); ++bit)
        if ((bits >> bit) & 1u)
            out.prepend(texts[bit]);
    return out;
}

} // namespace

QString manufacturerName(int manufacturerId)
{
    switch (manufacturerId) {
    case 1: return QStringLiteral("Microsoft");
    case 126: return QStringLiteral("Fast(AvMaster)");
    case 136: return QStringLiteral("D A L");
    default: return QStringLiteral("Unknow ") + QString::number(manufacturerId);
    }
}

QString productName(int productId)
{
    switch (productId) {
    case 1: return QStringLiteral("MIDI Mapper");
    case 2: return QStringLiteral("Wave Mapper");
    case 3: return QStringLiteral("Sound Blaster MIDI output port");
    case 4: return QStringLiteral("Sound Blaster MIDI input port");
    case 5: return QStringLiteral("Sound Blaster internal synthesizer");
    case 6: return QStringLiteral("Sound Blaster waveform output");
    case 7: return QStringLiteral("Sound Blaster waveform input");
    case 9: return QStringLiteral(" Ad Lib-compatible synthesizer");
    case 10: return QStringLiteral("MPU401-compatible MIDI output port");
    case 11: return QStringLiteral("MPU401-compatible MIDI input port");
    case 12: return QStringLiteral("Joystick adapter");
    default: return QStringLiteral("Unknow or Unlisted Manufacturer");
    }
}

QString driverVersionText(std::uint32_t version)
{
    return QString::number((version >> 8) & 0xFFu) + '.' + QString::number(version & 0xFFu);
}

QString waveFormatsText(std::uint32_t formats)
{
    static const QStringList texts = {
        QStringLiteral(" 11.025 kHz, Mono,   8-bit ") + kCr, QStringLiteral(" 11.025 kHz, Stereo, 8-bit ") + kCr,
        QStringLiteral(" 11.025 kHz, Mono,   16-bit") + kCr, QStringLiteral(" 11.025 kHz, Stereo, 16-bit") + kCr,
        QStringLiteral(" 22.05  kHz, Mono,   8-bit ") + kCr, QStringLiteral(" 22.05  kHz, Stereo, 8-bit ") + kCr,
        QStringLiteral(" 22.05  kHz, Mono,   16-bit") + kCr, QStringLiteral(" 22.05  kHz, Stereo, 16-bit") + kCr,
        QStringLiteral(" 44.1   kHz, Mono,   8-bit ") + kCr, QStringLiteral(" 44.1   kHz, Stereo,  8-bit") + kCr,
        QStringLiteral(" 44.1   kHz, Mono,   16-bit") + kCr, QStringLiteral(" 44.1   kHz, Stereo, 16-bit") + kCr,
    };
    return frontInsertedList(formats, texts);
}

QString waveOutSupportText(std::uint32_t support)
{
    static const QStringList texts = {
        QStringLiteral("Supports pitch control\r"),
        QStringLiteral("Supports playback rate control\r"),
        QStringLiteral("Supports volume control\r"),
        QStringLiteral("Supports separate left and\rright volume control.\r"),
        QStringLiteral("The driver is synchronous\rand will block while \rplaying a buffer.\r"),
        QStringLiteral("Returns sample-accurate\rposition information.\r"),
        QStringLiteral("Direct Sound"),
    };
    return frontInsertedList(support, texts);
}

QString midiSupportText(std::uint32_t support)
{
    static const QStringList texts = {
        QStringLiteral("Supports volume control\r"),
        QStringLiteral("Separate left-right\rvolume control.\r"),
        QStringLiteral("Can CACHE\r"),
        QStringLiteral("Driver supports Midi\rStream Out directly.\r"),
    };
    return frontInsertedList(support, texts);
}

QString midiTechnologyText(int technology)
{
    switch (technology) {
    case 1: return QStringLiteral("Output port\r");
    case 2: return QStringLiteral("Generic internal synth\r");
    case 3: return QStringLiteral("Square wave internal synth\r");
    case 4: return QStringLiteral("FM internal synth\r");
    case 5: return QStringLiteral("MIDI mapper\r");
    default: return {};
    }
}

QString deviceTabBaseCaption(DeviceKind kind)
{
    switch (kind) {
    case DeviceKind::WaveOut: return QStringLiteral("Wave Out");
    case DeviceKind::MidiOut: return QStringLiteral("Midi Out");
    case DeviceKind::WaveIn: return QStringLiteral("Wave In");
    case DeviceKind::MidiIn: return QStringLiteral("Midi In");
    }
    return {};
}

QString deviceTabCaption(DeviceKind kind, int count)
{
    return deviceTabBaseCaption(kind) + ' ' + QString::number(count);
}

QString noDevicesText(DeviceKind kind)
{
    switch (kind) {
    case DeviceKind::WaveOut: return QStringLiteral("No Wave Out device drivers in system");
    case DeviceKind::MidiOut: return QStringLiteral("No Midi Output devices drivers in system");
    case DeviceKind::WaveIn: return QStringLiteral("No Wave Input device drivers in system");
    case DeviceKind::MidiIn: return QStringLiteral("No Midi Input devices drivers in system");
    }
    return {};
}

int initialDevice(DeviceKind kind) { return kind == DeviceKind::WaveIn ? 1 : kMapperDevice; }

QStringList deviceFieldCaptions(DeviceKind kind)
{
    const bool in = kind == DeviceKind::WaveIn || kind == DeviceKind::MidiIn;
    QStringList captions = {in ? QStringLiteral("Output Device ID") : QStringLiteral("Driver ID"),
                            QStringLiteral("Manufacturer Code"), QStringLiteral("Product Identifier"),
                            QStringLiteral("Driver Version"), QStringLiteral("Product Name")};
    switch (kind) {
    case DeviceKind::WaveOut:
        captions << QStringLiteral("Formats") << QStringLiteral("Channels") << QStringLiteral("Support");
        break;
    case DeviceKind::MidiOut:
        captions << QStringLiteral("Technology") << QStringLiteral("Voices") << QStringLiteral("Synth Max Notes")
                 << QStringLiteral("Channel Masks") << QStringLiteral("Supports");
        break;
    case DeviceKind::WaveIn:
        captions << QStringLiteral("Formats") << QStringLiteral("Channels");
        break;
    case DeviceKind::MidiIn:
        captions << QStringLiteral("Supports");
        break;
    }
    return captions;
}

QStringList deviceFieldValues(DeviceKind kind, int device, const DeviceCaps& caps)
{
    QStringList values = {QString::number(device), manufacturerName(caps.manufacturerId),
                          productName(caps.productId), driverVersionText(caps.driverVersion), caps.name};
    switch (kind) {
    case DeviceKind::WaveOut:
        values << waveFormatsText(caps.formats) << QString::number(caps.channels)
               << waveOutSupportText(caps.support);
        break;
    case DeviceKind::MidiOut:
        values << midiTechnologyText(caps.technology) << QString::number(caps.voices)
               << QString::number(caps.notes) << QString::number(caps.channelMask)
               << midiSupportText(caps.support);
        break;
    case DeviceKind::WaveIn:
        values << waveFormatsText(caps.formats) << QString::number(caps.channels);
        break;
    case DeviceKind::MidiIn:
        values << midiSupportText(caps.support);
        break;
    }
    return values;
}

QString groupedNumber(std::uint64_t value)
{
    QString digits = QString::number(value);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, ',');
    return digits;
}

QString kilobytesText(std::uint64_t bytes) { return groupedNumber(bytes / 1024) + QStringLiteral(" KB"); }

QString memoryLoadText(int percent) { return QString::number(percent) + '%'; }

QString systemVersionText(int major, int minor)
{
    return QString::asprintf("%d.%.2d", major, minor);
}

QString processorTypeText(int type)
{
    switch (type) {
    case 386: return QStringLiteral("80386");
    case 486: return QStringLiteral("80486");
    case 586: return QStringLiteral("Pentium");
    default: return QString::asprintf("Unknown (%d)", type);
    }
}

const std::array<QString, kHeapRowCount>& heapRowNames()
{
    static const std::array<QString, kHeapRowCount> names = {
        QStringLiteral("TotalAddrSpace"), QStringLiteral("TotalUncommitted"), QStringLiteral("TotalCommitted"),
        QStringLiteral("TotalAllocated"), QStringLiteral("TotalFree"),        QStringLiteral("FreeSmall"),
        QStringLiteral("FreeBig"),        QStringLiteral("Unused"),           QStringLiteral("Overhead"),
        QStringLiteral("HeapErrorCode"),  QStringLiteral("AllocMemCount"),    QStringLiteral("AllocMemSize"),
    };
    return names;
}

std::vector<CaptionedValue> heapRows(const HeapFigures& heap)
{
    std::vector<CaptionedValue> rows;
    for (int i = 0; i < kHeapRowCount; ++i)
        rows.push_back({heapRowNames()[static_cast<std::size_t>(i)], groupedNumber(heap[static_cast<std::size_t>(i)])});
    return rows;
}

std::vector<CaptionedValue> displayRows(const DisplayFigures& d)
{
    const auto n = [](int v) { return QString::number(v); };
    const auto ntOnly = [](const std::optional<int>& v) {
        return v ? QString::number(*v) : QStringLiteral("Nt Only");
    };
    return {
        {QStringLiteral("Bits Per Pixel"), n(d.bitsPerPixel)},
        {QStringLiteral("Resolution"), n(d.colorResolution)},
        {QStringLiteral("Display Size"), n(d.widthPx) + QStringLiteral(" x ") + n(d.heightPx)},
        {QStringLiteral("Palette Colors  "), n(d.paletteSize)},
        {QStringLiteral("Reserved Palette"), n(d.reservedPalette)},
        {QStringLiteral("Refresh Rate"), ntOnly(d.refreshRateHz)},
        {QStringLiteral("Vr Destop Hori"), ntOnly(d.virtualWidthPx)},
        {QStringLiteral("Vr Destop Vert"), ntOnly(d.virtualHeightPx)},
        {QStringLiteral("Hori ASpect"), n(d.aspectX)},
        {QStringLiteral("Vert Aspect"), n(d.aspectY)},
        {QStringLiteral("Width, in millimeters, of the physical screen."), n(d.widthMm)},
        {QStringLiteral("Height, in millimeters, of the physical screen."), n(d.heightMm)},
        {QStringLiteral(" Width, in pixels, of the screen."), n(d.widthPx)},
        {QStringLiteral("Height, in raster lines, of the screen"), n(d.heightPx)},
        {QStringLiteral("Pixels per logical inch along the screen width."), n(d.logicalDpiX)},
        {QStringLiteral("Pixels per logical inch along the screen height."), n(d.logicalDpiY)},
        {QStringLiteral("Number of adjacent color bits for each pixel."), n(d.bitsPerPixel)},
        {QStringLiteral("Number of color planes"), n(d.planes)},
        {QStringLiteral("Number of device-specific brushes."), n(d.brushes)},
        {QStringLiteral("Number of device-specific pens."), n(d.pens)},
    };
}

std::vector<CaptionedValue> systemRows(const SystemFigures& s)
{
    return {
        {QStringLiteral("System Version : "), systemVersionText(s.versionMajor, s.versionMinor)},
        {QStringLiteral("Operating System : "), s.osName},
        {QStringLiteral("Processor Type : "), processorTypeText(s.processorType)},
        {QStringLiteral("Number of Processors : "), QString::number(s.processorCount)},
        {QStringLiteral("Processor Level :"), QString::number(s.processorLevel)},
        {QStringLiteral("Processor Revision :"), QString::number(s.processorRevision)},
    };
}

std::vector<CaptionedValue> memoryStatusRows(const MemoryStatus& m)
{
    return {
        {QStringLiteral("Current Memory Load"), memoryLoadText(m.loadPercent)},
        {QStringLiteral("Total Phys Memory:"), kilobytesText(m.totalPhys)},
        {QStringLiteral("Avail Phys Memory:"), kilobytesText(m.availPhys)},
        {QStringLiteral("Total Virt Memory:"), kilobytesText(m.totalVirt)},
        {QStringLiteral("Avail Virt Memory:"), kilobytesText(m.availVirt)},
    };
}

bool writeMemoryPrintout(ReportSurface& surface, const MemoryPrintout& printout)
{
    constexpr int kLeft = 10;
    constexpr int kTop = 40;
    constexpr int kPaddedName = 17;
    constexpr int kPrintedHeapRows = 10;
    const QString rule = QStringLiteral("___________________________");

    if (!surface.begin(printout.applicationTitle))
        return false;
    surface.setFontFace(QStringLiteral("Courier"));
    surface.setFontPointSize(10);
    const int pitch = surface.textHeight(QStringLiteral("Hg")) + 5;
    int y = kTop;
    const auto line = [&](const QString& text) {
        surface.writeText(kLeft, y, text);
        y += pitch;
    };
    const auto padded = [&](const QString& name) { return name.leftJustified(kPaddedName, ' '); };

    line(QStringLiteral("Program: ") + printout.applicationTitle + QStringLiteral(" Information "));
    line(printout.dateTime);
    line(rule);
    for (int i = 0; i < kPrintedHeapRows; ++i) {
        const auto at = static_cast<std::size_t>(i);
        line(padded(heapRowNames()[at]) + groupedNumber(printout.heap[at]));
    }
    line(rule);
    const std::array<QString, 4> memoryNames = {QStringLiteral("TotalPhysMem"), QStringLiteral("AvailPhysMem"),
                                                QStringLiteral("TotalVirtMem"), QStringLiteral("AvailVirtMem")};
    for (std::size_t i = 0; i < memoryNames.size(); ++i)
        line(padded(memoryNames[i]) + printout.memoryTexts[i]);
    line(rule);
    line(padded(QStringLiteral("AllocMemCount")) + QString::number(printout.heap[10]));
    line(padded(QStringLiteral("AllocMemSize")) + QString::number(printout.heap[11]));
    return surface.end();
}

} // namespace lumavo
