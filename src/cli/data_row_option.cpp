#include "cli/commands.h"

#include "storage/live_data.h"

namespace lumavo::cli {

QString selectDataRow(Workspace& ws, const QString& rowText)
{
    if (rowText.isEmpty())
        return {};
    bool ok = false;
    const int number = rowText.toInt(&ok);
    if (!ok || number < 1)
        return QStringLiteral("bad --row \"%1\": rows count from 1").arg(rowText);
    if (ws.project.dataFile.isEmpty())
        return QStringLiteral("--row needs a project that names a data file (DataFile)");
    const DataTableRead read = readDataTable(dataFilePath(ws.project));
    if (!read.ok)
        return read.error;
    if (number > read.table.rows.size())
        return QStringLiteral("no row %1: the data file has %2 rows").arg(number).arg(read.table.rows.size());
    ws.dataRow = dataRowOf(read.table, number);
    return {};
}

} // namespace lumavo::cli
