#pragma once

#include <QByteArray>
#include <QSize>

namespace lumavo {

class Bitmap;

namespace bmp_file {

// The bits per pixel named in a BMP file's header (its first 30 bytes or more); 0 when the bytes
// are not a BMP header.
int bitCount(const QByteArray& head);

// The picture size a BMP header names (the height positive also for top-down files); invalid when
// head is not a BMP header with an information header of 40 bytes or more.
QSize pictureSize(const QByteArray& head);

// True when head starts an uncompressed BMP whose pixel rows need more than fileSize bytes.
bool isTruncated(const QByteArray& head, qint64 fileSize);

// A whole uncompressed BMP file (bottom-up rows): 32 bits per pixel for 32-bit and device bitmaps
// (the fourth byte written as 0), 24 bits for every other format.
QByteArray encode(const Bitmap& bitmap);

} // namespace bmp_file
} // namespace lumavo
