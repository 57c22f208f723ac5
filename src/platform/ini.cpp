#include "platform/ini.h"

#include "platform/windows1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace lumavo {

namespace {

bool isComment(const QString& trimmed)
{
    return trimmed.startsWith(u';') || trimmed.startsWith(u'#');
}

// The section name of a header line, or a null string when the line is not a header.
QString headerName(const QString& line)
{
    const QString t = line.trimmed();
    if (!t.startsWith(u'['))
        return {};
    const qsizetype close = t.indexOf(u']');
    if (close < 0)
        return {};
    return t.mid(1, close - 1).trimmed();
}

// The key of an entry line, or a null string when the line holds no entry.
QString keyOf(const QString& line)
{
    const QString t = line.trimmed();
    if (t.isEmpty() || isComment(t) || t.startsWith(u'['))
        return {};
    const qsizetype eq = t.indexOf(u'=');
    if (eq <= 0)
        return {};
    return t.left(eq).trimmed();
}

bool sameName(const QString& a, const QString& b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

QString oneLine(QString value)
{
    value.replace(u'\r', u' ');
    value.replace(u'\n', u' ');
    return value;
}

} // namespace

IniFile IniFile::load(const QString& path, IoResult* status)
{
    if (status)
        *status = IoResult::success();
    if (!QFileInfo::exists(path))
        return {};
    QByteArray bytes;
    const Result read = readRegularFile(path, kMaxBytes, bytes);
    if (!read.ok) {
        if (status)
            *status = read;
        return {};
    }
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    // Files written here are UTF-8; files from the Windows titler are in its ANSI code page.
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = decodeWindows1252(bytes);
    return fromText(text);
}

IniFile IniFile::fromText(const QString& text)
{
    IniFile ini;
    QString normalized = text;
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalized.replace(u'\r', u'\n');
    if (normalized.isEmpty())
        return ini;
    ini.lines_ = normalized.split(u'\n');
    if (normalized.endsWith(u'\n'))
        ini.lines_.removeLast();
    return ini;
}

IniFile::Span IniFile::findSection(const QString& section) const
{
    Span span;
    for (int i = 0; i < lines_.size(); ++i) {
        const QString name = headerName(lines_[i]);
        if (name.isNull())
            continue;
        if (span.header >= 0) {
            span.end = i;
            return span;
        }
        if (sameName(name, section))
            span.header = i;
    }
    if (span.header >= 0)
        span.end = static_cast<int>(lines_.size());
    return span;
}

int IniFile::findKey(const Span& span, const QString& key) const
{
    if (span.header < 0)
        return -1;
    for (int i = span.header + 1; i < span.end; ++i) {
        const QString k = keyOf(lines_[i]);
        if (!k.isNull() && sameName(k, key))
            return i;
    }
    return -1;
}

bool IniFile::hasSection(const QString& section) const
{
    return findSection(section).header >= 0;
}

bool IniFile::hasKey(const QString& section, const QString& key) const
{
    return findKey(findSection(section), key) >= 0;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& fallback) const
{
    const int at = findKey(findSection(section), key);
    if (at < 0)
        return fallback;
    const QString& line = lines_[at];
    QString value = line.mid(line.indexOf(u'=') + 1).trimmed();
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value;
}

int IniFile::readInteger(const QString& section, const QString& key, int fallback) const
{
    const QString text = readString(section, key).trimmed();
    bool ok = false;
    int value = text.toInt(&ok, 10);
    if (!ok && (text.startsWith(QStringLiteral("0x")) || text.startsWith(QStringLiteral("0X"))))
        value = text.mid(2).toInt(&ok, 16);
    return ok ? value : fallback;
}

bool IniFile::readBool(const QString& section, const QString& key, bool fallback) const
{
    return readInteger(section, key, fallback ? 1 : 0) != 0;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value)
{
    const QString entry = key.trimmed() + u'=' + oneLine(value);
    const Span span = findSection(section);
    if (span.header < 0) {
        if (!lines_.isEmpty() && !lines_.back().trimmed().isEmpty())
            lines_.append(QString());
        lines_.append(u'[' + section.trimmed() + u']');
        lines_.append(entry);
        return;
    }
    const int at = findKey(span, key);
    if (at >= 0) {
        lines_[at] = entry;
        return;
    }
    int insertAt = span.header + 1;
    for (int i = span.end - 1; i > span.header; --i) {
        if (!lines_[i].trimmed().isEmpty()) {
            insertAt = i + 1;
            break;
        }
    }
    lines_.insert(insertAt, entry);
}

void IniFile::writeInteger(const QString& section, const QString& key, int value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::eraseSection(const QString& section)
{
    for (Span span = findSection(section); span.header >= 0; span = findSection(section))
        lines_.remove(span.header, span.end - span.header);
}

QString IniFile::toText() const
{
    QString text;
    for (const QString& line : lines_) {
        text += line;
        text += u'\n';
    }
    return text;
}

IoResult IniFile::save(const QString& path) const
{
    const QString dir = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(dir))
        return IoResult::failure(QStringLiteral("Cannot write %1: cannot create its directory").arg(path));
    return writeFileAtomically(path, {toText().toUtf8()});
}

IoResult IniFile::update(const QString& path, const std::function<void(IniFile&)>& change)
{
    IoResult read;
    IniFile ini = load(path, &read);
    if (!read.ok) {
        const QString readPrefix = QStringLiteral("Cannot read %1: ").arg(path);
        const QString why = read.error.startsWith(readPrefix) ? read.error.mid(readPrefix.size()) : read.error;
        return IoResult::failure(
            QStringLiteral("Cannot write %1: its present content cannot be read (%2)").arg(path, why));
    }
    change(ini);
    return ini.save(path);
}

} // namespace lumavo
