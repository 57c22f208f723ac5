#include "storage/live_data.h"

#include "platform/atomic_file.h"
#include "storage/file_lookup.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QMap>
#include <QStringDecoder>

namespace lumavo {

namespace {

DataTableRead failed(const QString& why) { return {false, why, {}}; }

QChar csvDelimiter(QStringView text)
{
    const QStringView header = text.left(text.indexOf(u'\n'));
    QChar best = u',';
    qsizetype most = header.count(u',');
    for (const QChar candidate : {QChar(u';'), QChar(u'\t')}) {
        if (header.count(candidate) > most) {
            most = header.count(candidate);
            best = candidate;
        }
    }
    return best;
}

// Splits CSV text into records of fields (RFC 4180 quoting); blank records are dropped.
QList<QStringList> csvRecords(QStringView text, QChar delimiter, int maxRecords, bool* tooMany)
{
    QList<QStringList> records;
    QStringList fields;
    QString field;
    bool quoted = false;
    bool fieldStarted = false;
    auto endRecord = [&] {
        if (fieldStarted || !field.isEmpty() || !fields.isEmpty())
            fields << field;
        const bool blank = fields.isEmpty() || (fields.size() == 1 && fields.front().trimmed().isEmpty());
        if (!blank)
            records << fields;
        fields.clear();
        field.clear();
        fieldStarted = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"' && field.trimmed().isEmpty()) {
            field.clear();
            quoted = true;
            fieldStarted = true;
        } else if (c == delimiter) {
            fields << field;
            field.clear();
            fieldStarted = true;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            endRecord();
            if (records.size() > maxRecords) {
                *tooMany = true;
                return records;
            }
        } else {
            field += c;
        }
    }
    endRecord();
    *tooMany = records.size() > maxRecords;
    return records;
}

QString jsonText(const QJsonValue& value)
{
    switch (value.type()) {
    case QJsonValue::String: return value.toString();
    case QJsonValue::Bool: return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Double: return QString::number(value.toDouble(), 'g', 15);
    default: return {};
    }
}

} // namespace

DataTableRead parseCsvTable(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return failed(QStringLiteral("the data file is not UTF-8 text"));
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    bool tooMany = false;
    const QList<QStringList> records = csvRecords(text, csvDelimiter(text), kMaxDataRows + 1, &tooMany);
    if (tooMany)
        return failed(QStringLiteral("the data file has more than %1 rows").arg(kMaxDataRows));
    if (records.isEmpty())
        return failed(QStringLiteral("the data file has no header row"));
    DataTableRead read{true, {}, {}};
    for (const QString& name : records.front())
        read.table.columns << name.trimmed();
    if (read.table.columns.size() > kMaxDataColumns)
        return failed(QStringLiteral("the data file has more than %1 columns").arg(kMaxDataColumns));
    const qsizetype width = read.table.columns.size();
    for (qsizetype r = 1; r < records.size(); ++r) {
        QStringList row = records[r].mid(0, width);
        while (row.size() < width)
            row << QString();
        read.table.rows << row;
    }
    return read;
}

DataTableRead parseJsonTable(const QByteArray& bytes)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        return failed(QStringLiteral("the data file is not valid JSON (%1 at byte %2)")
                          .arg(error.errorString())
                          .arg(error.offset));
    if (!document.isArray())
        return failed(QStringLiteral("the data file is not a JSON array of objects"));
    const QJsonArray items = document.array();
    if (items.size() > kMaxDataRows)
        return failed(QStringLiteral("the data file has more than %1 rows").arg(kMaxDataRows));
    DataTableRead read{true, {}, {}};
    QMap<QString, int> index;
    for (const QJsonValue& item : items) {
        if (!item.isObject())
            return failed(QStringLiteral("the data file is not a JSON array of objects"));
        for (const QString& key : item.toObject().keys()) {
            if (!index.contains(key)) {
                if (index.size() >= kMaxDataColumns)
                    return failed(QStringLiteral("the data file has more than %1 columns").arg(kMaxDataColumns));
                index.insert(key, static_cast<int>(read.table.columns.size()));
                read.table.columns << key;
            }
        }
    }
    for (const QJsonValue& item : items) {
        const QJsonObject object = item.toObject();
        QStringList row;
        for (const QString& column : read.table.columns)
            row << jsonText(object.value(column));
        read.table.rows << row;
    }
    return read;
}

DataTableRead readDataTable(const QString& path)
{
    QByteArray bytes;
    const Result status = readRegularFile(path, kMaxDataFileBytes, bytes);
    if (!status.ok)
        return failed(status.error);
    DataTableRead read;
    const QByteArray start = bytes.left(64).trimmed();
    read = start.startsWith('[') ? parseJsonTable(bytes) : parseCsvTable(bytes);
    if (!read.ok)
        read.error = path + QStringLiteral(": ") + read.error;
    return read;
}

DataRow dataRowOf(const DataTable& table, int number)
{
    if (number < 1 || number > table.rows.size())
        return {};
    return DataRow{number, table.columns, table.rows.at(number - 1)};
}

QString dataFilePath(const ProjectState& project)
{
    if (project.dataFile.isEmpty())
        return {};
    const QString found = resolveStoredPath(project.dataFile, project.projectDir);
    if (!found.isEmpty())
        return found;
    return project.dataFile.startsWith(u'/') ? project.dataFile : project.projectDir + project.dataFile;
}

FilledText fillPlaceholders(const QString& text, const DataRow& row)
{
    FilledText filled;
    if (row.number == 0 || !text.contains(QStringLiteral("{{"))) {
        filled.text = text;
        return filled;
    }
    qsizetype at = 0;
    while (at < text.size()) {
        const qsizetype open = text.indexOf(QStringLiteral("{{"), at);
        const qsizetype close = open < 0 ? -1 : text.indexOf(QStringLiteral("}}"), open + 2);
        if (close < 0) {
            filled.text += text.mid(at);
            break;
        }
        filled.text += text.mid(at, open - at);
        const QString name = text.mid(open + 2, close - open - 2).trimmed();
        qsizetype column = row.columns.indexOf(name);
        if (column < 0) {
            for (qsizetype c = 0; c < row.columns.size() && column < 0; ++c)
                if (row.columns[c].compare(name, Qt::CaseInsensitive) == 0)
                    column = c;
        }
        if (column >= 0 && column < row.values.size()) {
            filled.text += row.values[column];
        } else {
            filled.text += text.mid(open, close + 2 - open);
            if (!filled.missingColumns.contains(name))
                filled.missingColumns << name;
        }
        at = close + 2;
    }
    return filled;
}

QStringList missingColumns(const PageFields& page, const DataRow& row)
{
    QStringList missing;
    for (const TitleLine& line : page.lines)
        for (const QString& name : fillPlaceholders(line.text, row).missingColumns)
            if (!missing.contains(name))
                missing << name;
    return missing;
}

} // namespace lumavo
