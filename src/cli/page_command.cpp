#include "cli/commands.h"

#include "storage/page_extension.h"
#include "storage/page_file.h"
#include "storage/page_record.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>
#include <type_traits>
#include <variant>
#include <vector>

namespace lumavo::cli {

namespace {

// The record's fields in file order, each able to print itself and to take a JSON value.
struct FieldCodec {
    QString key;
    std::function<QByteArray(PageRecord&)> dump;   // takes the record mutable only to share accessors
    // Stores the value; false when it has the wrong type or range.
    std::function<bool(PageRecord&, const QJsonValue&)> load;
};

QByteArray jsonString(const QString& text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

bool integerIn(const QJsonValue& v, double low, double high, qint64& out)
{
    if (!v.isDouble())
        return false;
    // The range is checked before the conversion: casting a double outside qint64 is undefined.
    const double d = v.toDouble();
    if (!(d >= low && d <= high) || d != std::trunc(d))
        return false;
    out = static_cast<qint64>(d);
    return true;
}

// Stores a number field's value when it fits the field's type (other fields never get here).
template <typename T>
bool loadNumber(T* to, const QJsonValue& v)
{
    if constexpr (std::is_arithmetic_v<T>) {
        qint64 n = 0;
        if (!integerIn(v, static_cast<double>(std::numeric_limits<T>::min()),
                       static_cast<double>(std::numeric_limits<T>::max()), n))
            return false;
        *to = static_cast<T>(n);
        return true;
    } else {
        return false;
    }
}

// The path count that says how many of a path field's points are in use.
std::int32_t& pathCountOf(const RecordField& field, PageRecord& r)
{
    RecordLine& line = r.line(field.line);
    return field.name.startsWith(QStringLiteral("InPath")) ? line.inPathCount : line.outPathCount;
}

QByteArray dumpPath(const PathPoints& points, std::int32_t count)
{
    const int last = clampPathCount(count);
    QByteArray out = "[";
    for (int s = 0; s <= last; ++s) {
        const PathPoint p = points[static_cast<std::size_t>(s)];
        if (s > 0)
            out += ", ";
        out += '[' + QByteArray::number(p.x) + ", " + QByteArray::number(p.y) + ']';
    }
    return out + ']';
}

bool loadPath(PathPoints& points, const QJsonValue& v)
{
    if (!v.isArray() || v.toArray().size() > kPathSlots)
        return false;
    const QJsonArray array = v.toArray();
    for (qsizetype s = 0; s < array.size(); ++s) {
        const QJsonArray pair = array[s].toArray();
        qint64 x = 0;
        qint64 y = 0;
        if (!array[s].isArray() || pair.size() != 2 || !integerIn(pair[0], 0, 65535, x) ||
            !integerIn(pair[1], 0, 65535, y))
            return false;
        points[static_cast<std::size_t>(s)] = {static_cast<std::uint16_t>(x), static_cast<std::uint16_t>(y)};
    }
    return true;
}

// A number field's value, whatever its width (other fields never get here).
template <typename T>
QByteArray dumpNumber(T* value)
{
    if constexpr (std::is_arithmetic_v<T>)
        return QByteArray::number(static_cast<qint64>(*value));
    else
        return {};
}

// Each field of the record's table, able to print itself and to take a JSON value.
std::vector<FieldCodec> recordFields()
{
    std::vector<FieldCodec> codecs;
    for (const RecordField& field : pageRecordFields()) {
        const auto dump = [field](PageRecord& r) {
            const RecordValue value = field.value(r, field.line);
            if (QString* const* text = std::get_if<QString*>(&value))
                return jsonString(**text);
            if (bool* const* flag = std::get_if<bool*>(&value))
                return QByteArray(**flag ? "true" : "false");
            if (PathPoints* const* points = std::get_if<PathPoints*>(&value))
                return dumpPath(**points, pathCountOf(field, r));
            return std::visit([](auto* number) { return dumpNumber(number); }, value);
        };
        const auto load = [field](PageRecord& r, const QJsonValue& v) {
            const RecordValue value = field.value(r, field.line);
            if (QString* const* text = std::get_if<QString*>(&value)) {
                **text = v.toString();
                return v.isString();
            }
            if (bool* const* flag = std::get_if<bool*>(&value)) {
                **flag = v.toBool();
                return v.isBool();
            }
            if (PathPoints* const* points = std::get_if<PathPoints*>(&value))
                return loadPath(**points, v);
            return std::visit([&v](auto* number) { return loadNumber(number, v); }, value);
        };
        codecs.push_back({field.name, dump, load});
    }
    return codecs;
}

// The lines' styles kept only in the page's extension, after the record's fields.
struct StyleField {
    const char* key;
    std::int32_t LineExtension::*value;
    double high;
};

constexpr std::array<StyleField, 2> kStyleFields{{
    {"OutlineWidth", &LineExtension::outlineWidth, 10000},
    {"SoftShadowRadius", &LineExtension::softShadowRadius, 10000},
}};

// Runs visit(key, line, number field or nullptr for the colour) over every style key.
template <typename Visit>
void forEachStyleKey(Visit&& visit)
{
    for (int k = 1; k <= kLineCount; ++k) {
        const QString n = QString::number(k);
        for (const StyleField& f : kStyleFields)
            visit(QString::fromLatin1(f.key) + n, k, &f);
        visit(QStringLiteral("OutlineColor") + n, k, nullptr);
    }
}

int dumpPage(const QString& pagePath)
{
    RecordBytes bytes{};
    switch (readPageFile(pagePath, bytes)) {
    case PageReadStatus::CannotOpen:
        return fail("cannot read " + pagePath);
    case PageReadStatus::TooShort:
        return fail(pagePath + " is shorter than one page record (25716 bytes)");
    case PageReadStatus::Ok:
        break;
    }
    PageRecord record = decodePageRecord(bytes);
    const ExtensionRead extension = readPageExtension(pagePath);
    if (extension.status == ExtensionReadStatus::Garbled)
        std::fprintf(stderr, "lumavo-cli: ignoring the extension file: %s\n", qPrintable(extension.error));
    mergeExtension(extension.extension, record);
    QByteArray out = "{";
    bool first = true;
    const auto add = [&](const QString& key, const QByteArray& value) {
        out += first ? "\n  " : ",\n  ";
        first = false;
        out += jsonString(key) + ": " + value;
    };
    for (const FieldCodec& field : recordFields())
        add(field.key, field.dump(record));
    // Styles at their defaults are left out, so a classic page dumps as before.
    const LineExtension defaults;
    forEachStyleKey([&](const QString& key, int k, const StyleField* f) {
        const LineExtension& line = extension.extension.line(k);
        const qint64 value = f ? line.*f->value : static_cast<qint64>(line.outlineColor);
        if (value != (f ? defaults.*f->value : static_cast<qint64>(defaults.outlineColor)))
            add(key, QByteArray::number(value));
    });
    out += "\n}\n";
    std::fwrite(out.constData(), 1, static_cast<std::size_t>(out.size()), stdout);
    return kExitOk;
}

int writePage(const QString& jsonPath, const QString& pagePath)
{
    QFile file(jsonPath);
    if (!file.open(QIODevice::ReadOnly))
        return fail("cannot read " + jsonPath);
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return fail(jsonPath + ": not a JSON object (" + error.errorString() + ")");
    const QJsonObject object = doc.object();
    PageRecord record;
    QSet<QString> known;
    for (const FieldCodec& field : recordFields()) {
        known.insert(field.key);
        if (object.contains(field.key) && !field.load(record, object.value(field.key)))
            return fail(jsonPath + ": bad value for " + field.key);
    }
    PageExtension styles;
    QString badStyle;
    forEachStyleKey([&](const QString& key, int k, const StyleField* f) {
        known.insert(key);
        if (!object.contains(key))
            return;
        qint64 n = 0;
        if (!integerIn(object.value(key), 0, f ? f->high : 0xFFFFFF, n)) {
            badStyle = badStyle.isEmpty() ? key : badStyle;
            return;
        }
        LineExtension& line = styles.line(k);
        if (f)
            line.*f->value = static_cast<std::int32_t>(n);
        else
            line.outlineColor = static_cast<Color>(n);
    });
    if (!badStyle.isEmpty())
        return fail(jsonPath + ": bad value for " + badStyle);
    for (const QString& key : object.keys()) {
        if (!known.contains(key))
            return fail(jsonPath + ": unknown field " + key);
    }
    for (int k = 1; k <= kLineCount; ++k) {
        for (const QString* name : {&record.line(k).bitmapFile, &record.line(k).waveFile}) {
            const QString why = unstorableNameReason(*name);
            if (!why.isEmpty())
                return fail(jsonPath + ": line " + QString::number(k) + " names a file no page can keep (" + why + ")");
        }
    }
    const struct {
        const char* key;
        qint64 value;
        int high;
    } ranged[] = {{"PauseSecs", record.pauseSecs, kMaxPauseSecs},
                  {"MovementDelay", record.movementDelay, kMaxMovementDelay},
                  {"FadeDelay", record.fadeDelay, kMaxFadeDelay}};
    for (const auto& r : ranged) {
        if (r.value < 0 || r.value > r.high)
            return fail(jsonPath + ": " + r.key + " " + QString::number(r.value) + " is outside 0.." +
                        QString::number(r.high));
    }
    RecordBytes bytes{};
    encodePageRecord(record, bytes);
    // Texts, faces and names the record cannot hold, and the styles, go to the page's extension.
    PageExtension extension = extensionForRecord(record);
    for (int k = 1; k <= kLineCount; ++k) {
        const LineExtension& style = styles.line(k);
        extension.line(k).outlineWidth = style.outlineWidth;
        extension.line(k).outlineColor = style.outlineColor;
        extension.line(k).softShadowRadius = style.softShadowRadius;
    }
    Result leftOver;
    const IoResult written = writePageAndExtension(pagePath, bytes, true, extension, &leftOver);
    if (!written.ok)
        return fail(written.error);
    if (!leftOver.ok)
        return fail(leftOver.error);
    return kExitOk;
}

} // namespace

int runPage(const QStringList& args)
{
    if (args.size() == 2 && args[0] == "dump")
        return dumpPage(args[1]);
    if (args.size() == 3 && args[0] == "write")
        return writePage(args[1], args[2]);
    return fail("usage: page dump PAGEFILE | page write JSONFILE PAGEFILE", kExitUsage);
}

} // namespace lumavo::cli
