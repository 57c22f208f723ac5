#pragma once

#include "storage/workspace.h"

#include <QString>

namespace lumavo {

// Why the current page may not play: "Enter a title in the black edit box." when no line is in
// use and no leader is on, else "Click an IN direction for title #n" for the lowest line in use
// without an IN direction. Empty when the page may play.
QString projectValidityMessage(const Workspace& ws);

} // namespace lumavo
