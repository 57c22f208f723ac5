#pragma once

#include "app/ui/main_window.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "storage/ui/app_context.h"
#include "platform/wave_player.h"
#include "storage/workspace.h"

#include <QString>
#include <functional>
#include <memory>

namespace lumavo {

class AlignmentScreen;
class OutputControls;
class RemoteDesk;

// Runs the program: start-up, the message loop, shutdown. Returns the process exit code.
int runApplication(int argc, char** argv);

// Delivers one event; an exception escaping it is shown as an error box through `prompter` and
// the program goes on (the result is then false). The general error report of the message loop.
bool deliverReportingErrors(const std::function<bool()>& deliver, Prompter& prompter);

// The program object: owns the workspace and the seven long-lived windows and hands every window
// the same context. The seams (prompter, clock, wave players) come from the caller.
class Application {
public:
    Application(Prompter& prompter, Clock& clock, std::function<std::unique_ptr<WavePlayer>()> makeWavePlayer,
                QString settingsPath, SystemProbe* systemProbe = nullptr);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Creates the windows in order (main window, font chooser, project information, time
    // options, system information, stage, gradient window), sets the stage's start-up values
    // in the current page and reads the settings file once. With `projectToOpen` (the command
    // line's project) that project opens instead of the settings file's last one.
    void createWindows(const QString& projectToOpen = {});

    Workspace& workspace() { return workspace_; }
    AppContext& context() { return context_; }
    TBitMovOptMain& mainWindow() { return *mainWindow_; }
    RemoteDesk& remoteDesk() { return *remoteDesk_; }

private:
    void connectWindows(AlignmentScreen& alignment);

    Workspace workspace_;
    AppContext context_;
    QString settingsPath_;
    std::unique_ptr<TBitMovOptMain> mainWindow_;
    std::unique_ptr<TbFontForm> fontForm_;
    std::unique_ptr<Tbdebug> projectInfo_;
    std::unique_ptr<TBconfig> timeOptions_;
    std::unique_ptr<Tsyschk> systemInfo_;
    std::unique_ptr<TCan> stage_;
    std::unique_ptr<Tefxctr> effectsWindow_;
    std::unique_ptr<OutputControls> outputControls_;
    std::unique_ptr<RemoteDesk> remoteDesk_;
};

} // namespace lumavo
