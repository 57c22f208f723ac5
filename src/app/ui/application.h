#pragma once

namespace lumavo {

// Runs the program: start-up, the message loop, shutdown. Returns the process exit code.
int runApplication(int argc, char** argv);

} // namespace lumavo
