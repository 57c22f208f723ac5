#pragma once

#include "platform/bitmap.h"
#include "platform/geometry.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace lumavo {

// A screen as the output choice sees it: its name (the stored key) and its place on the desktop.
struct ScreenEntry {
    QString name;
    Rect geometry;
};

// The keys screens are stored under, from their names in list order: a screen's own name, "Screen N"
// for one without a name, and "NAME #N" for names that more than one screen shares (N from 1).
QStringList screenKeys(const QStringList& names);

// The screen an output goes to: an index into the screen list, and whether the stored screen was
// missing so that the editor's screen stands in for it.
struct ScreenPick {
    int index = -1;
    bool missing = false;
};

// The stage's screen for the stored key: empty means the editor's screen; a name that no screen
// has gives the editor's screen with missing set. editorIndex -1 (no editor screen) gives screen 0.
ScreenPick pickStageScreen(const std::vector<ScreenEntry>& screens, const QString& key, int editorIndex);

// The key output's screen for the stored key: nullopt when the key is empty or names no screen.
std::optional<int> findScreen(const std::vector<ScreenEntry>& screens, const QString& key);

// The menu text of a screen: "NAME (W x H at X, Y)".
QString screenLabel(const ScreenEntry& screen);

// The canvas a windowed output keeps, whatever the window's size.
enum class WindowCanvas { Off, Hd720, Hd1080, ScreenSize };
// The stored texts "", "1280x720", "1920x1080", "Screen"; unknown text reads as Off.
WindowCanvas parseWindowCanvas(const QString& text);
QString windowCanvasText(WindowCanvas canvas);
// The canvas size for the choice; ScreenSize gives screenSize, Off gives {0, 0}.
Point windowCanvasSize(WindowCanvas canvas, Point screenSize);

// The largest rectangle of source's aspect that fits centred in target (integer pixels).
Rect aspectFit(Point source, Point target);

// Writes the matte of stage's region into matte (same size, 32-bit): white (0x00FFFFFF) where the
// stage pixel is not the key colour black, black elsewhere; a stage with alpha gives its alpha as
// grey. Both bitmaps must be 32-bit.
void drawMatte(Bitmap& stage, Bitmap& matte, const Rect& region);

} // namespace lumavo
