#pragma once

#include "storage/live_data.h"
#include "storage/workspace.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

namespace lumavo {

// Keeps the workspace's selected data row (ws.dataRow) filled from the project's data file: reads
// the file the project names, reads it again when it changes on disk, and moves the selected row.
// A file that cannot be read leaves no row selected (placeholders show as typed) and says why.
class LiveDataSource : public QObject {
    Q_OBJECT
public:
    explicit LiveDataSource(Workspace& ws, QObject* parent = nullptr);

    // Reads the data file when the project now names another one (or none). Cheap when unchanged.
    void followProject();
    // Reads the data file again now.
    void reload();

    const DataTable& table() const { return table_; }
    int rowCount() const { return static_cast<int>(table_.rows.size()); }
    int row() const { return ws_.dataRow.number; }
    // Why the file could not be read; empty when it was (or when there is none).
    const QString& error() const { return error_; }
    const QString& path() const { return path_; }

    // Selects row 1..rowCount(); false (nothing changed) outside.
    bool selectRow(int number);
    // Steps from the selected row, stopping at the first and the last.
    void stepRow(int delta);

signals:
    // The table, the selected row or the error changed.
    void changed();

private:
    void watch();

    Workspace& ws_;
    QString path_;
    DataTable table_;
    QString error_;
    QFileSystemWatcher watcher_;
    QTimer settle_;   // a file being written changes several times: read it once it settles
};

} // namespace lumavo
