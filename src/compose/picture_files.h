#pragma once

#include <QString>

namespace lumavo {

// The picture files a title line can use instead of its text: BMP, PNG, JPEG, WebP and SVG.
// Patterns for a file dialog ("*.bmp *.BMP *.png ..."), both letter cases.
QString pictureFilePatterns();
// True when the name ends in one of those extensions, in any letter case.
bool isPictureFileName(const QString& name);

} // namespace lumavo
