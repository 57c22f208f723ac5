#pragma once

#include "playback/title_motion.h"

namespace lumavo {

class Bitmap;
class Canvas;
class Clock;
class FramePacer;

// Runs a motion on the stage canvas: puts the motion's copy mode on the canvas, draws every step
// into the back buffer in order, and sleeps each step's wait against deadlines chained from the
// motion's start, presenting through the pacer. Ends with the last frame presented.
// A fade uses `fadeForm` and may raise the title's pixel format (see FadeFrames).
void runMotion(const Motion& motion, Bitmap& title, Canvas& stage, FramePacer& pacer, Clock& clock,
               FadeForm fadeForm);

} // namespace lumavo
