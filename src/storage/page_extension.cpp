#include "storage/page_extension.h"

#include "platform/atomic_file.h"
#include "platform/windows1252.h"
#include "storage/file_lookup.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace lumavo {

namespace {

const QString kFormatKey = QStringLiteral("format");
const QString kFormatName = QStringLiteral("lumavo-page-extension");
const QString kVersionKey = QStringLiteral("version");
constexpr int kFormatVersion = 1;
constexpr qint64 kMaxExtensionBytes = 1024 * 1024;

// The string fields of a line: their JSON key, record capacity and place in both structures.
struct StringField {
    const char* key;
    int capacity;
    std::optional<QString> LineExtension::*extension;
    QString RecordLine::*record;
};

constexpr std::array<StringField, 4> kStringFields{{
    {"text", kTextCapacity, &LineExtension::text, &RecordLine::text},
    {"fontName", kFontNameCapacity, &LineExtension::fontName, &RecordLine::fontName},
    {"bitmapFile", kTextCapacity, &LineExtension::bitmapFile, &RecordLine::bitmapFile},
    {"waveFile", kTextCapacity, &LineExtension::waveFile, &RecordLine::waveFile},
}};

struct NumberField {
    const char* key;
    std::int32_t LineExtension::*value;
};

constexpr std::array<NumberField, 2> kNumberFields{{
    {"outlineWidth", &LineExtension::outlineWidth},
    {"softShadowRadius", &LineExtension::softShadowRadius},
}};
const QString kOutlineColorKey = QStringLiteral("outlineColor");

QString lineKey(int k) { return QStringLiteral("line") + QString::number(k); }

bool fitsRecord(const QString& value, int capacity)
{
    return recordFormOf(value, capacity) == value;
}

// A JSON number that is a whole value within the range; false otherwise.
bool wholeNumber(const QJsonValue& v, double low, double high, double& out)
{
    if (!v.isDouble())
        return false;
    out = v.toDouble();
    return out >= low && out <= high && out == static_cast<double>(static_cast<qint64>(out));
}

std::optional<LineExtension> decodeLine(const QJsonObject& object, const QString& where, QString* why)
{
    const auto bad = [&](const QString& key) {
        *why = where + u'.' + key + QStringLiteral(" has a value of the wrong type or range");
        return std::nullopt;
    };
    LineExtension line;
    for (const StringField& f : kStringFields) {
        const QString key = QString::fromLatin1(f.key);
        if (!object.contains(key))
            continue;
        if (!object.value(key).isString())
            return bad(key);
        QString value = object.value(key).toString();
        if (f.extension == &LineExtension::text)
            value = leftCharacters(value, kTextCapacity);
        line.*f.extension = value;
    }
    for (const NumberField& f : kNumberFields) {
        const QString key = QString::fromLatin1(f.key);
        double n = 0;
        if (!object.contains(key))
            continue;
        if (!wholeNumber(object.value(key), 0, 10000, n))
            return bad(key);
        line.*f.value = static_cast<std::int32_t>(n);
    }
    if (object.contains(kOutlineColorKey)) {
        double n = 0;
        if (!wholeNumber(object.value(kOutlineColorKey), 0, 0xFFFFFF, n))
            return bad(kOutlineColorKey);
        line.outlineColor = static_cast<Color>(n);
    }
    return line;
}

} // namespace

QString pageExtensionPath(const QString& pagePath)
{
    return pagePath + QStringLiteral(".json");
}

QString recordFormOf(const QString& value, int capacity)
{
    return decodeWindows1252(encodeWindows1252(value).left(capacity));
}

PageExtension extensionForRecord(const PageRecord& record)
{
    PageExtension extension;
    for (int k = 1; k <= kLineCount; ++k) {
        const RecordLine& from = record.line(k);
        LineExtension& to = extension.line(k);
        for (const StringField& f : kStringFields) {
            QString value = from.*f.record;
            if (f.extension == &LineExtension::text)
                value = leftCharacters(value, kTextCapacity);
            if (!fitsRecord(value, f.capacity))
                to.*f.extension = value;
        }
    }
    return extension;
}

PageExtension extensionFromWorkspace(const Workspace& ws)
{
    return extensionForPage(ws, recordFromWorkspace(ws, ws.project.pageNow.left(kPageNumberCapacity)));
}

PageExtension extensionForPage(const Workspace& ws, const PageRecord& saved)
{
    PageExtension extension = extensionForRecord(saved);
    for (int k = 1; k <= kLineCount; ++k) {
        const TitleLine& t = ws.page.line(k);
        LineExtension& to = extension.line(k);
        to.outlineWidth = t.outlineWidth;
        to.outlineColor = t.outlineColor;
        to.softShadowRadius = t.softShadowRadius;
    }
    return extension;
}

int mergeExtension(const PageExtension& extension, PageRecord& record)
{
    int taken = 0;
    for (int k = 1; k <= kLineCount; ++k) {
        const LineExtension& from = extension.line(k);
        RecordLine& to = record.line(k);
        for (const StringField& f : kStringFields) {
            const std::optional<QString>& value = from.*f.extension;
            if (!value || recordFormOf(*value, f.capacity) != to.*f.record)
                continue;
            to.*f.record = *value;
            ++taken;
        }
    }
    return taken;
}

void applyExtensionStyles(const PageExtension& extension, Workspace& ws)
{
    for (int k = 1; k <= kLineCount; ++k) {
        const LineExtension& from = extension.line(k);
        TitleLine& to = ws.page.line(k);
        to.outlineWidth = from.outlineWidth;
        to.outlineColor = from.outlineColor;
        to.softShadowRadius = from.softShadowRadius;
    }
}

QByteArray encodePageExtension(const PageExtension& extension)
{
    const LineExtension defaults;
    QJsonObject root;
    root.insert(kFormatKey, kFormatName);
    root.insert(kVersionKey, kFormatVersion);
    for (int k = 1; k <= kLineCount; ++k) {
        const LineExtension& line = extension.line(k);
        QJsonObject object;
        for (const StringField& f : kStringFields) {
            if (const std::optional<QString>& value = line.*f.extension)
                object.insert(QString::fromLatin1(f.key), *value);
        }
        for (const NumberField& f : kNumberFields) {
            if (line.*f.value != defaults.*f.value)
                object.insert(QString::fromLatin1(f.key), line.*f.value);
        }
        if (line.outlineColor != defaults.outlineColor)
            object.insert(kOutlineColorKey, static_cast<qint64>(line.outlineColor));
        if (!object.isEmpty())
            root.insert(lineKey(k), object);
    }
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::optional<PageExtension> decodePageExtension(const QByteArray& json, QString* why)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError) {
        *why = error.errorString();
        return std::nullopt;
    }
    if (!doc.isObject() || doc.object().value(kFormatKey).toString() != kFormatName) {
        *why = QStringLiteral("not a page extension (no \"format\": \"%1\")").arg(kFormatName);
        return std::nullopt;
    }
    const QJsonObject root = doc.object();
    PageExtension extension;
    for (int k = 1; k <= kLineCount; ++k) {
        const QString key = lineKey(k);
        if (!root.contains(key))
            continue;
        if (!root.value(key).isObject()) {
            *why = key + QStringLiteral(" is not an object");
            return std::nullopt;
        }
        const std::optional<LineExtension> line = decodeLine(root.value(key).toObject(), key, why);
        if (!line)
            return std::nullopt;
        extension.line(k) = *line;
    }
    return extension;
}

ExtensionRead readPageExtension(const QString& pagePath)
{
    ExtensionRead read;
    const QString path = pageExtensionPath(pagePath);
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return read;
    QByteArray bytes;
    const Result loaded = readRegularFile(path, kMaxExtensionBytes, bytes);
    QString why = loaded.error;
    std::optional<PageExtension> decoded;
    if (loaded.ok)
        decoded = decodePageExtension(bytes, &why);
    if (!decoded) {
        read.status = ExtensionReadStatus::Garbled;
        read.error = path + QStringLiteral(": ") + why;
        return read;
    }
    read.status = ExtensionReadStatus::Ok;
    read.extension = *decoded;
    return read;
}

QString garbledExtensionMessage(const ExtensionRead& read)
{
    return QStringLiteral("The extension file of this page cannot be used, so texts and names outside "
                          "Windows-1252 show as the page file holds them (\"?\"). Saving the page "
                          "writes it anew.\n") +
           read.error;
}

Result writePageExtension(const QString& pagePath, const PageExtension& extension)
{
    if (extension.isEmpty())
        return removePageExtension(pagePath);
    return writeFileAtomically(pageExtensionPath(pagePath), {encodePageExtension(extension)});
}

Result removePageExtension(const QString& pagePath)
{
    const QByteArray path = QFile::encodeName(pageExtensionPath(pagePath));
    if (std::remove(path.constData()) == 0 || errno == ENOENT)
        return Result::success();
    return Result::failure(QStringLiteral("Cannot remove %1: %2")
                               .arg(pageExtensionPath(pagePath), QString::fromLocal8Bit(std::strerror(errno))));
}

Result movePageExtension(const QString& fromPage, const QString& toPage)
{
    const QByteArray from = QFile::encodeName(pageExtensionPath(fromPage));
    const QByteArray to = QFile::encodeName(pageExtensionPath(toPage));
    // rename() replaces a stray file of the target name in one step.
    if (std::rename(from.constData(), to.constData()) == 0)
        return Result::success();
    if (errno == ENOENT)
        return removePageExtension(toPage);
    return Result::failure(QStringLiteral("Cannot rename %1 to %2: %3")
                               .arg(pageExtensionPath(fromPage), pageExtensionPath(toPage),
                                    QString::fromLocal8Bit(std::strerror(errno))));
}

QString unstorableNameReason(const QString& name)
{
    if (name.size() > kMaxStoredNameLength)
        return QStringLiteral("it is longer than %1 characters").arg(kMaxStoredNameLength);
    if (trimControl(name) != name)
        return QStringLiteral("it begins or ends with a blank or a control character");
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar ch = name[i];
        if (ch.unicode() < 32 || ch.unicode() == 127)
            return QStringLiteral("it holds a control character");
        if (ch.isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate())
            ++i;
        else if (ch.isSurrogate())
            return QStringLiteral("it holds an incomplete character");
    }
    return {};
}

StoredName storableFileName(const QString& path, const QString& projectDir)
{
    StoredName stored{nameRelativeToProject(path, projectDir), {}};
    const QString why = unstorableNameReason(stored.name);
    if (!why.isEmpty())
        stored.error = QStringLiteral("This file name cannot be kept in the page: ") + path +
                       QStringLiteral("\n(") + why + QStringLiteral(").");
    return stored;
}

} // namespace lumavo
