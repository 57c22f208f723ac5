#pragma once

#include "playback/title_motion.h"

namespace lumavo {

class Bitmap;
class Canvas;
class Clock;
class FramePacer;

// Runs a motion on the stage canvas: puts the motion's copy mode on the canvas and draws every
// step into the back buffer in order, each at its own time (the waits chained from the motion's
// start). The screen is shown on the pacer's frame grid: at each frame time, every step due at or
// before it is drawn; the rest frame appears at the last frame time of the motion, or at the first
// one at or after its end. Window messages run between frames and in waits longer than a frame;
// the motion ends at once, drawing nothing more, when the pacer is halted.
// A fade uses `fadeForm` and may raise the title's pixel format (see FadeFrames).
void runMotion(const Motion& motion, Bitmap& title, Canvas& stage, FramePacer& pacer, Clock& clock,
               FadeForm fadeForm);

} // namespace lumavo
