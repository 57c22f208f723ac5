#pragma once

#include <QRect>
#include <QSize>

class QScreen;

namespace lumavo {

// Where the stage goes for a playback: its screen, its window geometry, the size of its back buffer,
// and whether its own window is shown (a windowed output shows the picture in a window of its own).
struct StagePlace {
    QScreen* screen = nullptr;
    QRect geometry;
    QSize canvas;
    bool showStageWindow = true;
};

// Chooses the stage's place; the output choice implements it. Without one the stage covers the
// editor's screen.
class StagePlacement {
public:
    virtual ~StagePlacement() = default;
    // The screen the stage's frame period and depth come from (no side effects).
    virtual QScreen* stageScreen(QScreen* editorScreen) const = 0;
    // The place for the playback about to start; may tell the operator about a missing screen.
    virtual StagePlace placeForPlayback(QScreen* editorScreen) = 0;
};

} // namespace lumavo
