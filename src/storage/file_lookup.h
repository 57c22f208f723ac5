#pragma once

#include <QString>

namespace lumavo {

// The path of the file `name` in directory `dir` (with or without a trailing separator): the exact
// name when it exists, else a file whose name differs only in letter case, else empty.
QString findFileIgnoringCase(const QString& dir, const QString& name);

// Where a path stored in a page (picture, wave) points today: the stored path when that file
// exists; else the file of the same name in any letter case in the stored path's own directory;
// else the file of that name (the part after the last "/" or "\") in any letter case in
// projectDir. Empty when none exists. The stored path itself is never rewritten.
QString resolveStoredPath(const QString& storedPath, const QString& projectDir);

} // namespace lumavo
