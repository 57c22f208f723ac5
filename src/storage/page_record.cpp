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

namespace {

using Accessor = RecordValue (*)(PageRecord&, int);

template <auto Member>
RecordValue lineValue(PageRecord& r, int k)
{
    return &(r.line(k).*Member);
}

template <auto Member>
RecordValue pageValue(PageRecord& r, int)
{
    return &(r.*Member);
}

std::vector<RecordField> makeRecordFields()
{
    using T = RecordFieldType;
    std::vector<RecordField> f;
    const auto page = [&](const char* name, int offset, int capacity, T type, Accessor value) {
        f.push_back({QString::fromLatin1(name), offset, capacity, type, 0, value});
    };
    const auto perLine = [&](const char* name, int first, int stride, int capacity, T type, Accessor value) {
        for (int k = 1; k <= kLineCount; ++k)
            f.push_back({QString::fromLatin1(name) + QString::number(k), first + (k - 1) * stride, capacity, type, k,
                         value});
    };
    perLine("Text", off::kText1, kTextStride, kTextCapacity, T::ShortText, lineValue<&RecordLine::text>);
    perLine("ArchOn", off::kArchOn1, 1, 1, T::Flag, lineValue<&RecordLine::archOn>);
    perLine("GradOn", off::kGradOn1, 1, 1, T::Flag, lineValue<&RecordLine::gradOn>);
    page("FadeDelay", off::kFadeDelay, 2, T::UInt16, pageValue<&PageRecord::fadeDelay>);
    page("Manual", off::kManual, 1, T::Flag, pageValue<&PageRecord::manual>);
    perLine("GradColor", off::kGradColor1, 4, 4, T::UInt32, lineValue<&RecordLine::gradColor>);
    perLine("WaveFile", off::kWaveFile1, kTextStride, kTextCapacity, T::ShortText, lineValue<&RecordLine::waveFile>);
    perLine("BitmapFile", off::kBitmapFile1, kTextStride, kTextCapacity, T::ShortText,
            lineValue<&RecordLine::bitmapFile>);
    perLine("InDir", off::kInDir1, 1, 1, T::Int8, lineValue<&RecordLine::inDir>);
    perLine("OutDir", off::kOutDir1, 1, 1, T::Int8, lineValue<&RecordLine::outDir>);
    perLine("FontSize", off::kFontSize1, 4, 4, T::Int32, lineValue<&RecordLine::fontSize>);
    perLine("FontColor", off::kFontColor1, 4, 4, T::UInt32, lineValue<&RecordLine::fontColor>);
    perLine("ShadowColor", off::kShadowColor1, 4, 4, T::UInt32, lineValue<&RecordLine::shadowColor>);
    perLine("FontSizeCopy", off::kFontSizeCopy1, 4, 4, T::Int32, lineValue<&RecordLine::fontSizeCopy>);
    page("PauseSecs", off::kPauseSecs, 4, T::Int32, pageValue<&PageRecord::pauseSecs>);
    page("MovementDelay", off::kMovementDelay, 4, T::Int32, pageValue<&PageRecord::movementDelay>);
    perLine("RestLeft", off::kRestLeft1, 4, 4, T::Int32, lineValue<&RecordLine::restLeft>);
    perLine("RestTop", off::kRestTop1, 4, 4, T::Int32, lineValue<&RecordLine::restTop>);
    perLine("FontStyle", off::kFontStyle1, 1, 1, T::UInt8, lineValue<&RecordLine::fontStyle>);
    perLine("FontName", off::kFontName1, kFontNameStride, kFontNameCapacity, T::ShortText,
            lineValue<&RecordLine::fontName>);
    perLine("ShadowOn", off::kShadowOn1, 1, 1, T::Flag, lineValue<&RecordLine::shadowOn>);
    page("PageNumber", off::kPageNumber, kPageNumberCapacity, T::ShortText, pageValue<&PageRecord::pageNumber>);
    for (int k = 1; k <= kLineCount; ++k) {
        const QString n = QString::number(k);
        const int group = pathGroup(k - 1);
        f.push_back({"InPathCount" + n, group, 4, T::Int32, k, lineValue<&RecordLine::inPathCount>});
        f.push_back({"OutPathCount" + n, group + 4, 4, T::Int32, k, lineValue<&RecordLine::outPathCount>});
        f.push_back({"InPath" + n, inPathBlock(k - 1), kPathSlots, T::Path, k, lineValue<&RecordLine::inPath>});
        f.push_back({"OutPath" + n, outPathBlock(k - 1), kPathSlots, T::Path, k, lineValue<&RecordLine::outPath>});
    }
    return f;
}

template <typename... F>
struct Overloaded : F... {
    using F::operator()...;
};
template <typename... F>
Overloaded(F...) -> Overloaded<F...>;

void readField(const RecordBytes& b, const RecordField& field, PageRecord& r)
{
    const int at = field.offset;
    const std::uint8_t byte = b[static_cast<std::size_t>(at)];
    std::visit(Overloaded{[&](QString* v) { *v = readShortString(b, at, field.capacity); },
                          [&](bool* v) { *v = byte != 0; },
                          [&](std::int8_t* v) { *v = static_cast<std::int8_t>(byte); },
                          [&](std::uint8_t* v) { *v = byte; },
                          [&](std::uint16_t* v) { *v = readU16(b, at); },
                          [&](std::int32_t* v) { *v = readI32(b, at); },
                          [&](std::uint32_t* v) { *v = readU32(b, at); },
                          [&](PathPoints* v) { readPath(b, at, *v); }},
               field.value(r, field.line));
}

void writeField(RecordBytes& b, const RecordField& field, PageRecord& r)
{
    const int at = field.offset;
    std::uint8_t& byte = b[static_cast<std::size_t>(at)];
    std::visit(Overloaded{[&](QString* v) { writeShortString(b, at, field.capacity, *v); },
                          [&](bool* v) { byte = *v ? 1 : 0; },
                          [&](std::int8_t* v) { byte = static_cast<std::uint8_t>(*v); },
                          [&](std::uint8_t* v) { byte = *v; },
                          [&](std::uint16_t* v) { writeU16(b, at, *v); },
                          [&](std::int32_t* v) { writeU32(b, at, static_cast<std::uint32_t>(*v)); },
                          [&](std::uint32_t* v) { writeU32(b, at, *v); },
                          [&](PathPoints* v) { writePath(b, at, *v); }},
               field.value(r, field.line));
}

} // namespace

const std::vector<RecordField>& pageRecordFields()
{
    static const std::vector<RecordField> fields = makeRecordFields();
    return fields;
}

const RecordField* findRecordField(const QString& name)
{
    for (const RecordField& field : pageRecordFields()) {
        if (field.name == name)
            return &field;
    }
    return nullptr;
}

QString recordFieldText(const PageRecord& record, const RecordField& field)
{
    PageRecord r = record;
    return std::visit(Overloaded{[](QString* v) { return *v; },
                                 [](bool* v) { return QString::number(*v ? 1 : 0); },
                                 [&](PathPoints*) {
                                     const RecordLine& line = r.line(field.line);
                                     return QString::number(field.name.startsWith(QStringLiteral("InPath"))
                                                                ? line.inPathCount
                                                                : line.outPathCount);
                                 },
                                 [](auto* v) { return QString::number(static_cast<qint64>(*v)); }},
                      field.value(r, field.line));
}

PageRecord decodePageRecord(const RecordBytes& b)
{
    PageRecord r;
    for (const RecordField& field : pageRecordFields())
        readField(b, field, r);
    return r;
}

void encodePageRecord(const PageRecord& record, RecordBytes& b)
{
    PageRecord r = record;   // the table reaches fields through a mutable record
    for (const RecordField& field : pageRecordFields())
        writeField(b, field, r);
    std::fill_n(b.begin() + off::kReserved1, 6, std::uint8_t{0});
    std::fill_n(b.begin() + off::kReserved2, 3, std::uint8_t{0});
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
    PageRecord r = record;
    std::vector<StoredText> texts;
    for (const RecordField& field : pageRecordFields()) {
        if (field.type == RecordFieldType::ShortText)
            texts.push_back({field.name, *std::get<QString*>(field.value(r, field.line))});
    }
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
