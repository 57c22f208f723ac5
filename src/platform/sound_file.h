#pragma once

#include <QString>
#include <sndfile.h>

namespace lumavo {

// Opens a sound file for reading. Only a regular file is opened, and a pipe or device named as a
// sound is refused at once instead of blocking the caller. Null with the reason when the file
// cannot be opened or read as sound; otherwise close it with sf_close.
SNDFILE* openSoundFile(const QString& path, SF_INFO& info, QString* error);

} // namespace lumavo
