#pragma once

#include "platform/bitmap.h"

#include <functional>

namespace lumavo {

// Runs a colour effect (the filter, a gradient) on a bitmap with premultiplied alpha: the effect
// sees the straight colour (alpha 0 reads as black), its result is multiplied by the alpha the
// pixel had before, so the effect changes colour and never coverage. Bitmaps without alpha are
// handed to the effect as they are.
void applyToColour(Bitmap& bitmap, const std::function<void(Bitmap&)>& effect);

// Blurs a premultiplied B,G,R,A bitmap in place: three box passes each way, box half-width
// softBlurStep(radius), pixels outside read as transparent. Radius 0 or less does nothing.
void blurPremultiplied(Bitmap& bitmap, int radius);
// The half-width of one box pass for a blur radius (0 for none).
int softBlurStep(int radius);
// How far a blur of that radius spreads from its source, in pixels.
int softBlurReach(int radius);

} // namespace lumavo
