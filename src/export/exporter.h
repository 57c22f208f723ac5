#pragma once

#include "export/export_settings.h"
#include "playback/page_player.h"
#include "storage/workspace.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

namespace lumavo {

struct ExportResult {
    bool ok = false;
    bool cancelled = false;
    QString message;          // why it failed; empty on success and on cancel
    QStringList pageMessages; // what playback said besides errors (an error fails the export)
    std::int64_t frames = 0;
    bool hasSound = false;
};

// Called after each frame with the frames done and the run's total; return false to cancel.
using ExportProgress = std::function<bool(std::int64_t done, std::int64_t total)>;

// Plays the timeline of an export without encoding it: `onFrame` gets frame k, the stage's back
// buffer at k / rate, and the region presented since the previous frame. Returns the frame count.
using TimelineFrame = std::function<void(std::int64_t k, const Bitmap& back, const Rect& changed)>;
std::int64_t playTimeline(const Workspace& ws, const ExportSettings& settings, const TitleComposer& composer,
                          const TimelineFrame& onFrame);

// Renders the current page (as Play plays it) or all pages (as the play-all command plays them)
// of `ws` into settings.destination, frame k being the stage at k / rate from the start of the
// run. The page player runs on a stage that is never shown and a clock that never waits; `ws`
// itself is left as it was. The file appears only when the export succeeds.
// What an export with these settings would replace, in one sentence ("show.mp4 already exists.");
// empty when nothing.
QString exportWouldReplace(const ExportSettings& settings);

// The finished export in a few words: "show.mp4: 12.4 MB, 10.5 s (630 frames)"; a PNG sequence
// counts its frames and its sound.wav.
QString exportSummary(const ExportSettings& settings, const ExportResult& result);

ExportResult exportVideo(const Workspace& ws, const ExportSettings& settings, const TitleComposer& composer,
                         const ExportProgress& progress = {});

} // namespace lumavo
