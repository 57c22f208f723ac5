#pragma once

#include "platform/geometry.h"

#include <QString>

namespace lumavo {

class Canvas;

// The colour-bar test pattern on a screen of screen.x by screen.y pixels: seven bars of width
// W div 8, an eighth column of eight blocks (the last silver with a black cross-hatch), and a
// grey-scale strip 32 pixels high along the bottom. Rectangles are outlined with the canvas's pen;
// the pen is left at the last grey and the brush solid.
void drawColorBars(Canvas& canvas, Point screen);

// The count-down's text for k: a blank, the digits, a blank.
QString countDownText(int k);
// Sets the canvas up for the count-down: black brush, "Arial" in white, stage width div 3 points.
void prepareCountDownCanvas(Canvas& canvas, Point stage);
// Draws number k centred on the stage, its cell filled black over the previous number.
void drawCountDownNumber(Canvas& canvas, Point stage, int k);

} // namespace lumavo
