#pragma once

#include "export/exporter.h"

#include <QObject>
#include <QPointer>
#include <QProgressDialog>
#include <QString>

#include <atomic>
#include <memory>

class QMessageBox;
class QThread;
class QTimer;
class QWidget;

namespace lumavo {

// One export running off the interface thread behind a progress window that is not modal: the
// editor stays usable, and the export works on a copy of `ws` taken when it starts. The window
// shows the percent and time left on its label and the same percent on its bar, and has a Cancel
// button. Destroying the run (the program quitting) cancels the export and waits for it, so its
// partial files are removed.
class ExportRun : public QObject {
    Q_OBJECT
public:
    ExportRun(QWidget* parent, const Workspace& ws, const ExportSettings& settings, const TitleComposer& composer);
    ~ExportRun() override;
    ExportRun(const ExportRun&) = delete;
    ExportRun& operator=(const ExportRun&) = delete;

    bool isRunning() const;
    void cancel() { cancel_ = true; }
    const ExportSettings& settings() const { return settings_; }
    QProgressDialog* progressWindow() const { return progress_; }

signals:
    // The export has ended (done, failed or cancelled).
    void finished(const ExportResult& result);

private:
    void tick();

    ExportSettings settings_;
    QPointer<QProgressDialog> progress_;
    QThread* worker_ = nullptr;
    QTimer* ticker_ = nullptr;
    std::atomic<bool> cancel_{false};
    std::atomic<std::int64_t> done_{0};
    std::atomic<std::int64_t> total_{0};
    std::int64_t startedMs_ = 0;
    ExportResult result_;
};

// Runs an export as ExportRun does and returns its result when it has ended; the event loop keeps
// running meanwhile.
ExportResult runExportWithProgress(QWidget* parent, const Workspace& ws, const ExportSettings& settings,
                                   const TitleComposer& composer);

// The message shown when an export has finished well: its file, size and length, and a
// "Show in Folder" button that opens the file's folder in the file manager. Not modal; it deletes
// itself when closed.
QMessageBox* showExportFinished(QWidget* parent, const ExportSettings& settings, const ExportResult& result);

// The percent of an export, as both the progress window's label and its bar show it.
int exportPercent(std::int64_t done, std::int64_t total);
// The progress window's text: "37% - about 12 s left".
QString exportProgressText(std::int64_t done, std::int64_t total, double secondsSoFar);

} // namespace lumavo
