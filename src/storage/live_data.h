#pragma once

#include "storage/workspace.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace lumavo {

// A project's live data: a table of named columns, one row per guest or item, read from a CSV file
// in UTF-8 with a header row or from a JSON array of objects. Title texts name its columns as
// {{Column}}; the editor, the console and the remote interface choose the row.

constexpr qint64 kMaxDataFileBytes = 8 * 1024 * 1024;
constexpr int kMaxDataRows = 100000;
constexpr int kMaxDataColumns = 256;

struct DataTable {
    QStringList columns;
    QList<QStringList> rows;   // each as long as columns
};

// A read that failed says why in error (the table is then empty).
struct DataTableRead {
    bool ok = false;
    QString error;
    DataTable table;
};

// CSV: the delimiter is the header's most frequent of comma, semicolon and tab; fields may be
// quoted ("" inside quotes is one quote, line breaks inside quotes are kept); a UTF-8 byte-order
// mark is skipped; blank lines are skipped; short rows are padded with empty values and extra
// fields dropped. Text that is not UTF-8 is refused.
DataTableRead parseCsvTable(const QByteArray& bytes);
// JSON: an array of objects; the columns are every key met, in the order the objects list them
// alphabetically; strings as they are, numbers and booleans as written, null and missing as empty.
DataTableRead parseJsonTable(const QByteArray& bytes);
// The file at path: JSON when its first non-blank byte is '[', CSV otherwise. Missing, unreadable,
// not a regular file or larger than kMaxDataFileBytes: an error naming the file.
DataTableRead readDataTable(const QString& path);

// The row `number` (1-based) of the table; an empty DataRow (number 0) outside 1..rows.
DataRow dataRowOf(const DataTable& table, int number);
// The data file a project names, as a path to open: a relative name is looked up against the
// project's folder. Empty when the project names none.
QString dataFilePath(const ProjectState& project);

struct FilledText {
    QString text;
    QStringList missingColumns;   // placeholders whose column the row lacks, in order, once each
};
// text with each {{Column}} (blanks inside the braces ignored; the column name matched exactly,
// else without regard to case) replaced by the row's value. With no row selected (number 0)
// nothing is replaced and nothing is missing; a column the row lacks stays as typed.
FilledText fillPlaceholders(const QString& text, const DataRow& row);
// The columns that the page's three texts name and the selected row lacks.
QStringList missingColumns(const PageFields& page, const DataRow& row);

} // namespace lumavo
