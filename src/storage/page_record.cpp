#include "storage/page_record.h"

#include "platform/windows1252.h"

#include <algorithm>
#include <QStringList>
#include <cstring>
#include <type_traits>

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

// Values of the current page, reached through a workspace of either constness.
template <auto Member>
struct OnLine {
    template <typename W>
    auto& operator()(W& ws, int k) const { return ws.page.line(k).*Member; }
};
template <auto Member>
struct OnPage {
    template <typename W>
    auto& operator()(W& ws, int) const { return ws.page.*Member; }
};
template <auto Member>
struct OnRest {
    template <typename W>
    auto& operator()(W& ws, int k) const { return ws.stage.restOf(k).*Member; }
};
template <bool In, auto Member>
struct OnPath {
    template <typename W>
    auto& operator()(W& ws, int k) const { return (In ? ws.stage.inPath(k) : ws.stage.outPath(k)).*Member; }
};

CarriedValue carried(const QString& v) { return v; }
CarriedValue carried(const PathPoints& v) { return &v; }
template <typename T>
    requires std::is_arithmetic_v<T>
CarriedValue carried(T v)
{
    return static_cast<qint64>(v);
}

void assign(QString& to, const CarriedValue& v) { to = std::get<QString>(v); }
void assign(PathPoints& to, const CarriedValue& v) { to = *std::get<const PathPoints*>(v); }
template <typename T>
    requires std::is_arithmetic_v<T>
void assign(T& to, const CarriedValue& v)
{
    to = static_cast<T>(std::get<qint64>(v));   // a direction code keeps its low byte
}

template <typename Get>
PageBinding bind(PageCarry carry, int limit = 0)
{
    return {carry, limit, [](const Workspace& ws, int k) { return carried(Get{}(ws, k)); },
            [](Workspace& ws, int k, const CarriedValue& v) { assign(Get{}(ws, k), v); }};
}

template <auto Member>
PageBinding onLine(PageCarry carry = PageCarry::Plain)
{
    return bind<OnLine<Member>>(carry);
}

std::vector<RecordField> makeRecordFields()
{
    using T = RecordFieldType;
    using C = PageCarry;
    std::vector<RecordField> f;
    const auto page = [&](const char* name, int offset, int capacity, T type, Accessor value, PageBinding current) {
        f.push_back({QString::fromLatin1(name), offset, capacity, type, 0, value, current});
    };
    const auto perLine = [&](const char* name, int first, int stride, int capacity, T type, Accessor value,
                             PageBinding current) {
        for (int k = 1; k <= kLineCount; ++k)
            f.push_back({QString::fromLatin1(name) + QString::number(k), first + (k - 1) * stride, capacity, type, k,
                         value, current});
    };
    perLine("Text", off::kText1, kTextStride, kTextCapacity, T::ShortText, lineValue<&RecordLine::text>,
            onLine<&TitleLine::text>(C::Trimmed));
    perLine("ArchOn", off::kArchOn1, 1, 1, T::Flag, lineValue<&RecordLine::archOn>, onLine<&TitleLine::archOn>());
    perLine("GradOn", off::kGradOn1, 1, 1, T::Flag, lineValue<&RecordLine::gradOn>, onLine<&TitleLine::gradOn>());
    page("FadeDelay", off::kFadeDelay, 2, T::UInt16, pageValue<&PageRecord::fadeDelay>,
         bind<OnPage<&PageFields::fadeDelay>>(C::InRange, kMaxFadeDelay));
    page("Manual", off::kManual, 1, T::Flag, pageValue<&PageRecord::manual>,
         bind<OnPage<&PageFields::mpause>>(C::Plain));
    perLine("GradColor", off::kGradColor1, 4, 4, T::UInt32, lineValue<&RecordLine::gradColor>,
            onLine<&TitleLine::gradColor>());
    perLine("WaveFile", off::kWaveFile1, kTextStride, kTextCapacity, T::ShortText, lineValue<&RecordLine::waveFile>,
            onLine<&TitleLine::waveFile>(C::TrimOnLoad));
    perLine("BitmapFile", off::kBitmapFile1, kTextStride, kTextCapacity, T::ShortText,
            lineValue<&RecordLine::bitmapFile>, onLine<&TitleLine::bitmapFile>(C::TrimOnLoad));
    perLine("InDir", off::kInDir1, 1, 1, T::Int8, lineValue<&RecordLine::inDir>, onLine<&TitleLine::inDir>());
    perLine("OutDir", off::kOutDir1, 1, 1, T::Int8, lineValue<&RecordLine::outDir>, onLine<&TitleLine::outDir>());
    perLine("FontSize", off::kFontSize1, 4, 4, T::Int32, lineValue<&RecordLine::fontSize>,
            onLine<&TitleLine::fontSize>());
    perLine("FontColor", off::kFontColor1, 4, 4, T::UInt32, lineValue<&RecordLine::fontColor>,
            onLine<&TitleLine::fontColor>());
    perLine("ShadowColor", off::kShadowColor1, 4, 4, T::UInt32, lineValue<&RecordLine::shadowColor>,
            onLine<&TitleLine::shadowColor>());
    perLine("FontSizeCopy", off::kFontSizeCopy1, 4, 4, T::Int32, lineValue<&RecordLine::fontSizeCopy>,
            onLine<&TitleLine::fontSize>(C::SaveOnly));
    page("PauseSecs", off::kPauseSecs, 4, T::Int32, pageValue<&PageRecord::pauseSecs>,
         bind<OnPage<&PageFields::pauseSecs>>(C::InRange, kMaxPauseSecs));
    page("MovementDelay", off::kMovementDelay, 4, T::Int32, pageValue<&PageRecord::movementDelay>,
         bind<OnPage<&PageFields::movementDelay>>(C::InRange, kMaxMovementDelay));
    perLine("RestLeft", off::kRestLeft1, 4, 4, T::Int32, lineValue<&RecordLine::restLeft>,
            bind<OnRest<&Point::x>>(C::Plain));
    perLine("RestTop", off::kRestTop1, 4, 4, T::Int32, lineValue<&RecordLine::restTop>,
            bind<OnRest<&Point::y>>(C::Plain));
    perLine("FontStyle", off::kFontStyle1, 1, 1, T::UInt8, lineValue<&RecordLine::fontStyle>,
            onLine<&TitleLine::fontStyle>(C::StyleBits));
    perLine("FontName", off::kFontName1, kFontNameStride, kFontNameCapacity, T::ShortText,
            lineValue<&RecordLine::fontName>, onLine<&TitleLine::fontName>());
    perLine("ShadowOn", off::kShadowOn1, 1, 1, T::Flag, lineValue<&RecordLine::shadowOn>,
            onLine<&TitleLine::shadowOn>());
    page("PageNumber", off::kPageNumber, kPageNumberCapacity, T::ShortText, pageValue<&PageRecord::pageNumber>, {});
    for (int k = 1; k <= kLineCount; ++k) {
        const QString n = QString::number(k);
        const int group = pathGroup(k - 1);
        f.push_back({"InPathCount" + n, group, 4, T::Int32, k, lineValue<&RecordLine::inPathCount>,
                     bind<OnPath<true, &DrawnPath::count>>(C::PathCount)});
        f.push_back({"OutPathCount" + n, group + 4, 4, T::Int32, k, lineValue<&RecordLine::outPathCount>,
                     bind<OnPath<false, &DrawnPath::count>>(C::PathCount)});
        f.push_back({"InPath" + n, inPathBlock(k - 1), kPathSlots, T::Path, k, lineValue<&RecordLine::inPath>,
                     bind<OnPath<true, &DrawnPath::points>>(C::Plain)});
        f.push_back({"OutPath" + n, outPathBlock(k - 1), kPathSlots, T::Path, k, lineValue<&RecordLine::outPath>,
                     bind<OnPath<false, &DrawnPath::points>>(C::Plain)});
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

namespace {

CarriedValue carried(const RecordValue& value)
{
    return std::visit([](auto* v) { return carried(*v); }, value);
}

void assign(const RecordValue& value, const CarriedValue& from)
{
    std::visit([&](auto* v) { assign(*v, from); }, value);
}

CarriedValue asSaved(const RecordField& field, CarriedValue v)
{
    switch (field.current.carry) {
    case PageCarry::Trimmed:
        return leftCharacters(trimControl(std::get<QString>(v)), field.capacity);
    case PageCarry::PathCount:
        return qint64{clampPathCount(static_cast<std::int32_t>(std::get<qint64>(v)))};
    default:
        return v;
    }
}

CarriedValue asLoaded(const RecordField& field, CarriedValue v)
{
    switch (field.current.carry) {
    case PageCarry::Trimmed:
    case PageCarry::TrimOnLoad:
        return trimControl(std::get<QString>(v));
    case PageCarry::InRange:
        // Values beyond the controls' ranges would hold the stage for hours.
        return std::clamp<qint64>(std::get<qint64>(v), 0, field.current.limit);
    case PageCarry::PathCount:
        return qint64{clampPathCount(static_cast<std::int32_t>(std::get<qint64>(v)))};
    case PageCarry::StyleBits:
        return std::get<qint64>(v) & 0x0F;
    default:
        return v;
    }
}

} // namespace

PageRecord recordFromWorkspace(const Workspace& ws, const QString& pageNumber)
{
    PageRecord r;
    r.pageNumber = pageNumber;
    for (const RecordField& field : pageRecordFields()) {
        if (field.current.read)
            assign(field.value(r, field.line), asSaved(field, field.current.read(ws, field.line)));
    }
    return r;
}

void applyRecordToWorkspace(const PageRecord& record, Workspace& ws)
{
    PageRecord r = record;   // the table reaches fields through a mutable record
    for (const RecordField& field : pageRecordFields()) {
        if (field.current.write && field.current.carry != PageCarry::SaveOnly)
            field.current.write(ws, field.line, asLoaded(field, carried(field.value(r, field.line))));
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
