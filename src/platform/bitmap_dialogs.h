#pragma once

#include "platform/bitmap.h"
#include "platform/prompter.h"

namespace lumavo {

// Asks for a file name with the "Save As A Bitmap File" dialog and writes the picture there.
// Cancelling writes nothing; a failed write is reported through the prompter with the file's name.
// True when the picture was written.
bool saveBitmapAs(const Bitmap& picture, Prompter& prompter);

} // namespace lumavo
