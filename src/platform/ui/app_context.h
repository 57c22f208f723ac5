#pragma once

#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/wave_player.h"
#include "storage/workspace.h"

#include <QWidget>
#include <functional>
#include <memory>

namespace lumavo {

class TBitMovOptMain;
class TbFontForm;
class Tbdebug;
class TBconfig;
class Tsyschk;
class TCan;
class Tefxctr;
class SystemProbe;

// What every long-lived window is handed: the workspace, the seams, and the other windows.
// The application object owns all of it; a test builds only what it needs and leaves the rest null.
struct AppContext {
    Workspace& workspace;
    Prompter& prompter;
    Clock& clock;
    std::function<std::unique_ptr<WavePlayer>()> makeWavePlayer;
    SystemProbe* systemProbe = nullptr;

    // The seven long-lived windows, in creation order; null until created.
    TBitMovOptMain* mainWindow = nullptr;
    QWidget* mainWidget = nullptr;   // the main window as a plain widget (to show, hide, place)
    TbFontForm* fontForm = nullptr;
    Tbdebug* projectInfo = nullptr;
    TBconfig* timeOptions = nullptr;
    Tsyschk* systemInfo = nullptr;
    TCan* stage = nullptr;
    Tefxctr* effectsWindow = nullptr;
};

} // namespace lumavo
