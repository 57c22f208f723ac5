#pragma once

#include "scripted_prompter.h"
#include "storage/ui/app_context.h"
#include "test_support.h"
#include "../test_stage.h"

namespace lumavo::test {

// What a window beside the stage is handed in a test: a workspace, a scripted prompter, the fake
// clock and a logging wave player.
struct StageContext {
    Workspace ws;
    ScriptedPrompter prompter;
    FakeClock clock;
    QStringList waveLog;
    AppContext context{ws, prompter, clock, [this] { return std::make_unique<RecordingWavePlayer>(waveLog); }};

    // Line 1 "Hi" comes in straight to (50, 60) and stays there.
    void oneTitlePage()
    {
        TitleLine& line = ws.page.line(1);
        line.text = "Hi";
        line.titleValid = true;
        line.fontSize = 40;
        line.inDir = 13;
        line.outDir = 0;
        ws.stage.restOf(1) = {50, 60};
    }
};

} // namespace lumavo::test
