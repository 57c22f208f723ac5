#pragma once

#include "platform/canvas.h"
#include "platform/clock.h"
#include "storage/ui/app_context.h"
#include "scripted_prompter.h"

#include <gtest/gtest.h>

namespace lumavo::test {

// The workspace and seams a compose window needs, with stable font sizes.
class ComposeWindowTest : public testing::Test {
protected:
    ComposeWindowTest() { Canvas::setLogicalDpi(96); }

    Workspace ws;
    ScriptedPrompter prompter;
    FakeClock clock;
    AppContext context{ws, prompter, clock, {}};
};

} // namespace lumavo::test
