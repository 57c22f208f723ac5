#pragma once

class QWidget;

namespace lumavo {

// Plays the caption animation for a dialog opening (from the main window's corner to the dialog)
// or closing (back again): an outline rectangle that moves between the two over about 150 ms.
// Does nothing on a platform without a screen (offscreen), so tests never wait for it.
void ani(QWidget& dialog, QWidget& mainWindow, bool opening);

} // namespace lumavo
