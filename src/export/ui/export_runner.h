#pragma once

#include "export/exporter.h"

#include <QObject>

class QWidget;

namespace lumavo {

// Runs an export off the interface thread behind a progress dialog (percent and time left, and a
// Cancel button); the event loop keeps running, so the windows stay responsive. Returns when the
// export has ended, with its result. `ws` is copied before the export starts.
ExportResult runExportWithProgress(QWidget* parent, const Workspace& ws, const ExportSettings& settings,
                                   const TitleComposer& composer);

// The progress dialog's text: "37% - about 12 s left".
QString exportProgressText(std::int64_t done, std::int64_t total, double secondsSoFar);

} // namespace lumavo
