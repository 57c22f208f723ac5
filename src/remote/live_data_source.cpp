#include "remote/live_data_source.h"

#include <QFileInfo>
#include <algorithm>

namespace lumavo {

namespace {
constexpr int kSettleMs = 150;
}

LiveDataSource::LiveDataSource(Workspace& ws, QObject* parent) : QObject(parent), ws_(ws)
{
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, &LiveDataSource::reload);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, &settle_, qOverload<>(&QTimer::start));
    // Editors save by writing a new file and renaming it over the old one: the folder changes.
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, &settle_, qOverload<>(&QTimer::start));
}

void LiveDataSource::followProject()
{
    const QString wanted = dataFilePath(ws_.project);
    if (wanted == path_)
        return;
    path_ = wanted;
    reload();
}

void LiveDataSource::watch()
{
    if (!watcher_.files().isEmpty())
        watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty())
        watcher_.removePaths(watcher_.directories());
    if (path_.isEmpty())
        return;
    if (QFileInfo::exists(path_))
        watcher_.addPath(path_);
    const QString folder = QFileInfo(path_).absolutePath();
    if (QFileInfo(folder).isDir())
        watcher_.addPath(folder);
}

void LiveDataSource::reload()
{
    const int selected = ws_.dataRow.number;
    table_ = {};
    error_.clear();
    if (!path_.isEmpty()) {
        DataTableRead read = readDataTable(path_);
        table_ = std::move(read.table);
        error_ = read.error;
    }
    // The row stays where the operator put it, held within the rows the file has now.
    const int rows = rowCount();
    ws_.dataRow = dataRowOf(table_, rows == 0 ? 0 : std::clamp(selected, 1, rows));
    watch();
    emit changed();
}

bool LiveDataSource::selectRow(int number)
{
    if (number < 1 || number > rowCount())
        return false;
    if (number != ws_.dataRow.number) {
        ws_.dataRow = dataRowOf(table_, number);
        emit changed();
    }
    return true;
}

void LiveDataSource::stepRow(int delta)
{
    if (rowCount() > 0)
        selectRow(std::clamp(ws_.dataRow.number + delta, 1, rowCount()));
}

} // namespace lumavo
