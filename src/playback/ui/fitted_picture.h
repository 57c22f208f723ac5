#pragma once

#include "platform/bitmap.h"

#include <QRect>
#include <QSize>

class QPainter;

namespace lumavo {

// Where a picture of the bitmap's size lands in an area, scaled to fit with its aspect kept.
QRect fittedRect(const Bitmap& picture, QSize area);

// Where a region of the picture (in picture pixels) lands in the area, widened by a pixel for the
// scaling filter: what a window repaints when that region changed.
QRect fittedRegion(const Bitmap& picture, QSize area, const QRect& region);

// Fills the area black and draws the 32-bit picture into fittedRect() without copying it; smooth
// filters when scaling, otherwise each pixel is the nearest one (for a matte that must stay two-toned).
void paintFitted(QPainter& painter, Bitmap& picture, QSize area, bool smooth);

} // namespace lumavo
