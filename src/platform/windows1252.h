#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace lumavo {

// Single-byte Windows-1252 text, the character set of the short strings in page records.
// Bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D (unassigned) decode to the C1 controls of the same value.
QString decodeWindows1252(const std::uint8_t* bytes, std::size_t count);
QString decodeWindows1252(const QByteArray& bytes);
// One byte per character (a surrogate pair is one character); characters the code page cannot
// hold become "?".
QByteArray encodeWindows1252(const QString& text);
// The characters of text the code page cannot hold, each once, in order of appearance.
QString unencodableWindows1252(const QString& text);

} // namespace lumavo
