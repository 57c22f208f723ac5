#pragma once

#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/wave_player.h"
#include "storage/workspace.h"

#include <QWidget>
#include <functional>
#include <memory>

namespace lumavo {

class SystemProbe;

// What every long-lived window is handed: the workspace and the seams. Windows do not know each
// other through it: the application object connects them (signals, or the narrow interfaces the
// lower windows declare). A test builds only what it needs and leaves the rest null.
struct AppContext {
    Workspace& workspace;
    Prompter& prompter;
    Clock& clock;
    std::function<std::unique_ptr<WavePlayer>()> makeWavePlayer;
    SystemProbe* systemProbe = nullptr;
    // The main window as a plain widget: the anchor dialogs open from, the screen the stage uses
    // and the window the stage shows again when playback ends. Null until created.
    QWidget* mainWidget = nullptr;
};

} // namespace lumavo
