#pragma once

#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace lumavo {

// Pictures the editor paints for itself at start-up.

constexpr int kDirectionPictureSize = 20;   // pixels, square
// Picture `image` of the direction image list: 0..12 for direction codes 1..13, 16 the arch
// (filter) toggle, 17 the gradient toggle, 18 the "S" shadow toggle. Other numbers give an empty
// (transparent) picture.
QPixmap directionPicture(int image);

// "prefix" + n + "suffix": the numbered object names of the editor's controls.
QString lineName(const char* prefix, int line, const char* suffix = "");
// Bold Arial of the given pixel size, the editor's label font.
QFont arialBold(int pixelSize);

// The program icon (a small titler screen with a title on it).
QIcon programIcon();

} // namespace lumavo
