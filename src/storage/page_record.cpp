#include "storage/page_record.h"

#include "platform/windows1252.h"

#include <algorithm>
#include <QStringList>
#include <cstring>

namespace lumavo {

namespace {

namespace off = record_offset;

constexpr int kTextStride = kTextCapacity + 1;
constexpr int kFontNameStride = kFontNameCapacity + 1;

std::uint32_t readU32(const RecordBytes& b, int at)
{
    const auto i = static_cast<std::size_t>(at);
    return static_cast<std::uint32_t>(b[i]) | (static_cast<std::uint32_t>(b[i + 1]) << 8) |
           (static_cast<std::uint32_t>(b[i + 2]) << 16) | (static_cast<std::uint32_t>(b[i + 3]) << 24);
}

std::int32_t readI32(const RecordBytes& b, int at)
{
    return static_cast<std::int32_t>(readU32(b, at));
}

std::uint16_t readU16(const RecordBytes& b, int at)
{
    const auto i = static_cast<std::size_t>(at);
    return static_cast<std::uint16_t>(b[i] | (b[i + 1] << 8));
}

void writeU32(RecordBytes& b, int at, std::uint32_t v)
{
    const auto i = static_cast<std::size_t>(at);
    b[i] = static_cast<std::uint8_t>(v);
    b[i + 1] = static_cast<std::uint8_t>(v >> 8);
    b[i + 2] = static_cast<std::uint8_t>(v >> 16);
    b[i + 3] = static_cast<std::uint8_t>(v >> 24);
}

void writeU16(RecordBytes& b, int at, std::uint16_t v)
{
    const auto i = static_cast<std::size_t>(at);
    b[i] = static_cast<std::uint8_t>(v);
    b[i + 1] = static_cast<std::uint8_t>(v >> 8);
}

QString readShortString(const RecordBytes& b, int at, int capacity)
{
    const int length = std::min<int>(b[static_cast<std::size_t>(at)], capacity);
    return decodeWindows1252(b.data() + at + 1, static_cast<std::size_t>(length));
}

void writeShortString(RecordBytes& b, int at, int capacity, const QString& text)
{
    const QByteArray bytes = encodeWindows1252(text).left(capacity);
    b[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(bytes.size());
    std::uint8_t* chars = b.data() + at + 1;
    std::memset(chars, 0, static_cast<std::size_t>(capacity));
    std::memcpy(chars, bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void readPath(const RecordBytes& b, int at, std::array<PathPoint, kPathSlots>& points)
{
    for (int s = 0; s < kPathSlots; ++s)
        points[static_cast<std::size_t>(s)] = {readU16(b, at + 4 * s), readU16(b, at + 4 * s + 2)};
}

void writePath(RecordBytes& b, int at, const std::array<PathPoint, kPathSlots>& points)
{
    for (int s = 0; s < kPathSlots; ++s) {
        writeU16(b, at + 4 * s, points[static_cast<std::size_t>(s)].x);
        writeU16(b, at + 4 * s + 2, points[static_cast<std::size_t>(s)].y);
    }
}

// Offsets of line k's (0-based) path group.
int pathGroup(int k) { return off::kPathGroup1 + k * off::kPathGroupSize; }
int inPathBlock(int k) { return pathGroup(k) + 8; }
int outPathBlock(int k) { return pathGroup(k) + 8 + off::kPathBlockSize; }

} // namespace

PageRecord decodePageRecord(const RecordBytes& b)
{
    PageRecord r;
    for (int k = 0; k < kLineCount; ++k) {
        RecordLine& l = r.lines[static_cast<std::size_t>(k)];
        const auto byteAt = [&](int at) { return b[static_cast<std::size_t>(at)]; };
        l.text = readShortString(b, off::kText1 + k * kTextStride, kTextCapacity);
        l.archOn = byteAt(off::kArchOn1 + k) != 0;
        l.gradOn = byteAt(off::kGradOn1 + k) != 0;
        l.gradColor = readU32(b, off::kGradColor1 + 4 * k);
        l.waveFile = readShortString(b, off::kWaveFile1 + k * kTextStride, kTextCapacity);
        l.bitmapFile = readShortString(b, off::kBitmapFile1 + k * kTextStride, kTextCapacity);
        l.inDir = static_cast<std::int8_t>(byteAt(off::kInDir1 + k));
        l.outDir = static_cast<std::int8_t>(byteAt(off::kOutDir1 + k));
        l.fontSize = readI32(b, off::kFontSize1 + 4 * k);
        l.fontColor = readU32(b, off::kFontColor1 + 4 * k);
        l.shadowColor = readU32(b, off::kShadowColor1 + 4 * k);
        l.fontSizeCopy = readI32(b, off::kFontSizeCopy1 + 4 * k);
        l.restLeft = readI32(b, off::kRestLeft1 + 4 * k);
        l.restTop = readI32(b, off::kRestTop1 + 4 * k);
        l.fontStyle = byteAt(off::kFontStyle1 + k);
        l.fontName = readShortString(b, off::kFontName1 + k * kFontNameStride, kFontNameCapacity);
        l.shadowOn = byteAt(off::kShadowOn1 + k) != 0;
        l.inPathCount = readI32(b, pathGroup(k));
        l.outPathCount = readI32(b, pathGroup(k) + 4);
        readPath(b, inPathBlock(k), l.inPath);
        readPath(b, outPathBlock(k), l.outPath);
    }
    r.fadeDelay = readU16(b, off::kFadeDelay);
    r.manual = b[off::kManual] != 0;
    r.pauseSecs = readI32(b, off::kPauseSecs);
    r.movementDelay = readI32(b, off::kMovementDelay);
    r.pageNumber = readShortString(b, off::kPageNumber, kPageNumberCapacity);
    return r;
}

void encodePageRecord(const PageRecord& r, RecordBytes& b)
{
    writeShortString(b, off::kPageNumber, kPageNumberCapacity, r.pageNumber);
    for (int k = 0; k < kLineCount; ++k) {
        const RecordLine& l = r.lines[static_cast<std::size_t>(k)];
        const auto setByte = [&](int at, std::uint8_t v) { b[static_cast<std::size_t>(at)] = v; };
        setByte(off::kArchOn1 + k, l.archOn ? 1 : 0);
        setByte(off::kGradOn1 + k, l.gradOn ? 1 : 0);
        writeU32(b, off::kGradColor1 + 4 * k, l.gradColor);
        writeShortString(b, off::kWaveFile1 + k * kTextStride, kTextCapacity, l.waveFile);
        writeShortString(b, off::kText1 + k * kTextStride, kTextCapacity, l.text);
        setByte(off::kInDir1 + k, static_cast<std::uint8_t>(l.inDir));
        setByte(off::kOutDir1 + k, static_cast<std::uint8_t>(l.outDir));
        writeU32(b, off::kFontSize1 + 4 * k, static_cast<std::uint32_t>(l.fontSize));
        writeU32(b, off::kFontColor1 + 4 * k, l.fontColor);
        writeU32(b, off::kShadowColor1 + 4 * k, l.shadowColor);
        writeU32(b, off::kFontSizeCopy1 + 4 * k, static_cast<std::uint32_t>(l.fontSizeCopy));
        writeU32(b, off::kRestLeft1 + 4 * k, static_cast<std::uint32_t>(l.restLeft));
        writeU32(b, off::kRestTop1 + 4 * k, static_cast<std::uint32_t>(l.restTop));
        setByte(off::kFontStyle1 + k, l.fontStyle);
        writeShortString(b, off::kFontName1 + k * kFontNameStride, kFontNameCapacity, l.fontName);
        setByte(off::kShadowOn1 + k, l.shadowOn ? 1 : 0);
        writeShortString(b, off::kBitmapFile1 + k * kTextStride, kTextCapacity, l.bitmapFile);
        writePath(b, inPathBlock(k), l.inPath);
        writePath(b, outPathBlock(k), l.outPath);
        writeU32(b, pathGroup(k), static_cast<std::uint32_t>(l.inPathCount));
        writeU32(b, pathGroup(k) + 4, static_cast<std::uint32_t>(l.outPathCount));
    }
    writeU16(b, off::kFadeDelay, r.fadeDelay);
    std::fill_n(b.begin() + off::kReserved1, 6, std::uint8_t{0});
    b[off::kManual] = r.manual ? 1 : 0;
    std::fill_n(b.begin() + off::kReserved2, 3, std::uint8_t{0});
    writeU32(b, off::kPauseSecs, static_cast<std::uint32_t>(r.pauseSecs));
    writeU32(b, off::kMovementDelay, static_cast<std::uint32_t>(r.movementDelay));
}

QString trimControl(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first].unicode() <= 32)
        ++first;
    while (last > first && text[last - 1].unicode() <= 32)
        --last;
    return text.mid(first, last - first);
}

QString leftCharacters(const QString& text, int count)
{
    qsizetype end = 0;
    for (int n = 0; n < count && end < text.size(); ++n) {
        const bool pair = text[end].isHighSurrogate() && end + 1 < text.size() && text[end + 1].isLowSurrogate();
        end += pair ? 2 : 1;
    }
    return text.left(end);
}

std::int32_t clampPathCount(std::int32_t count)
{
    return std::clamp<std::int32_t>(count, -1, kMaxPathCount);
}

PageRecord recordFromWorkspace(const Workspace& ws, const QString& pageNumber)
{
    PageRecord r;
    r.pageNumber = pageNumber;
    r.fadeDelay = static_cast<std::uint16_t>(ws.page.fadeDelay);
    r.manual = ws.page.mpause;
    r.pauseSecs = ws.page.pauseSecs;
    r.movementDelay = ws.page.movementDelay;
    for (int k = 1; k <= kLineCount; ++k) {
        const TitleLine& t = ws.page.line(k);
        RecordLine& l = r.line(k);
        l.text = leftCharacters(trimControl(t.text), kTextCapacity);
        l.archOn = t.archOn;
        l.gradOn = t.gradOn;
        l.gradColor = t.gradColor;
        l.waveFile = t.waveFile;
        l.bitmapFile = t.bitmapFile;
        l.inDir = static_cast<std::int8_t>(t.inDir & 0xFF);
        l.outDir = static_cast<std::int8_t>(t.outDir & 0xFF);
        l.fontSize = t.fontSize;
        l.fontColor = t.fontColor;
        l.shadowColor = t.shadowColor;
        l.fontSizeCopy = t.fontSize;
        l.restLeft = ws.stage.restOf(k).x;
        l.restTop = ws.stage.restOf(k).y;
        l.fontStyle = t.fontStyle;
        l.fontName = t.fontName;
        l.shadowOn = t.shadowOn;
        l.inPathCount = clampPathCount(ws.stage.inPath(k).count);
        l.outPathCount = clampPathCount(ws.stage.outPath(k).count);
        l.inPath = ws.stage.inPath(k).points;
        l.outPath = ws.stage.outPath(k).points;
    }
    return r;
}

void applyRecordToWorkspace(const PageRecord& r, Workspace& ws)
{
    // Values beyond the controls' ranges would hold the stage for hours; the page uses the
    // nearest value in range (the record buffer keeps the stored bytes until the page is saved).
    ws.page.fadeDelay = std::clamp<std::int32_t>(r.fadeDelay, 0, kMaxFadeDelay);
    ws.page.mpause = r.manual;
    ws.page.pauseSecs = std::clamp<std::int32_t>(r.pauseSecs, 0, kMaxPauseSecs);
    ws.page.movementDelay = std::clamp<std::int32_t>(r.movementDelay, 0, kMaxMovementDelay);
    for (int k = 1; k <= kLineCount; ++k) {
        const RecordLine& l = r.line(k);
        TitleLine& t = ws.page.line(k);
        t.archOn = l.archOn;
        t.gradOn = l.gradOn;
        t.gradColor = l.gradColor;
        t.waveFile = trimControl(l.waveFile);
        t.text = trimControl(l.text);
        t.inDir = l.inDir;
        t.outDir = l.outDir;
        t.shadowColor = l.shadowColor;
        ws.stage.restOf(k) = {l.restLeft, l.restTop};
        t.fontStyle = l.fontStyle & 0x0F;
        t.fontSize = l.fontSize;
        t.fontColor = l.fontColor;
        t.fontName = l.fontName;
        t.shadowOn = l.shadowOn;
        t.bitmapFile = trimControl(l.bitmapFile);
        DrawnPath& in = ws.stage.inPath(k);
        DrawnPath& out = ws.stage.outPath(k);
        in.count = clampPathCount(l.inPathCount);
        out.count = clampPathCount(l.outPathCount);
        in.points = l.inPath;
        out.points = l.outPath;
    }
}

void refreshDerivedFields(PageFields& page)
{
    for (TitleLine& t : page.lines) {
        t.titleValid = !t.text.isEmpty() || !t.bitmapFile.isEmpty();
        if (t.inDir >= 1 && t.inDir <= 13)
            t.inPathOn = t.inDir == 11;
        if (t.outDir >= 1 && t.outDir <= 13)
            t.outPathOn = t.outDir == 11;
    }
}

std::vector<StoredText> storedTexts(const PageRecord& record)
{
    std::vector<StoredText> texts;
    for (int k = 1; k <= kLineCount; ++k) {
        const RecordLine& l = record.line(k);
        const QString n = QString::number(k);
        texts.push_back({QStringLiteral("Text") + n, l.text});
        texts.push_back({QStringLiteral("WaveFile") + n, l.waveFile});
        texts.push_back({QStringLiteral("BitmapFile") + n, l.bitmapFile});
        texts.push_back({QStringLiteral("FontName") + n, l.fontName});
    }
    texts.push_back({QStringLiteral("PageNumber"), record.pageNumber});
    return texts;
}

QString describeUnstorableText(const PageRecord& record)
{
    // Everything else is kept, in the record or in the page's extension file (UTF-8), which
    // cannot carry half of a surrogate pair.
    const auto broken = [](const QString& text) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                ++i;
            else if (text[i].isSurrogate())
                return true;
        }
        return false;
    };
    QStringList lines;
    for (const StoredText& text : storedTexts(record)) {
        if (broken(text.value))
            lines.append(text.field + QStringLiteral(": ") + text.value);
    }
    return lines.join(u'\n');
}

} // namespace lumavo
