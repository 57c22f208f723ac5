#pragma once

#include "platform/color.h"
#include "storage/page_record.h"
#include "storage/workspace.h"

#include <QString>
#include <cstdint>

namespace lumavo {

// Edits of the current page and the one rule of which of them mark it modified. The windows
// (main window, font chooser, gradient window, time options) change the workspace only through
// these and show what they return.

// The modified rule: an edit marks the page modified when it changed what a save would write.
// Take the snapshot before the edit and pass it afterwards; noteEdit returns whether it changed.
RecordBytes pageSnapshot(const Workspace& ws);
bool noteEdit(Workspace& ws, const RecordBytes& before);

// pageModified := (flag != 0).
void setsav(Workspace& ws, int flag);

// What one edit of a title line leaves for the window.
struct PageEdit {
    int line = 0;            // the line edited, 1..3; 0 when the line was outside 1..3 (nothing stored)
    bool changed = false;    // what a save would write differs now (the page is marked modified)
};

// The font chooser: face and size (points) of line `line`. Used for OK and for Cancel's write-back.
PageEdit setLineFont(Workspace& ws, int line, const QString& face, std::int32_t points);
// The pop-up menu's font attributes: fontStyle := style (FontStyleBit values).
PageEdit setLineFontStyle(Workspace& ws, int line, std::uint8_t style);
PageEdit setLineFontColor(Workspace& ws, int line, Color color);
PageEdit setLineShadowColor(Workspace& ws, int line, Color color);
// The gradient window's OK: gradient switch, end colour (the font colour) and start colour.
PageEdit setLineGradient(Workspace& ws, int line, bool on, Color end, Color start);
// A picture chosen for the line: bitmapFile := file (see storableFileName).
// titleValid follows with setLinePictureShown once the preview has loaded (or failed to).
PageEdit setLinePicture(Workspace& ws, int line, const QString& file);
void setLinePictureShown(Workspace& ws, int line, bool loaded);
// A wave chosen for the line: waveFile := file (see storableFileName).
PageEdit setLineWave(Workspace& ws, int line, const QString& file);

// The line's outline (width in pixels, colour) and soft shadow radius, held to 0..kMaxLineStylePixels.
// They live beside the record, so a change marks the page modified itself.
constexpr int kMaxLineStylePixels = 64;
PageEdit setLineStyle(Workspace& ws, int line, std::int32_t outlineWidth, Color outlineColor,
                      std::int32_t softShadowRadius);

// The delay sliders: each move stores the value and marks the page modified.
void setMovementDelay(Workspace& ws, std::int32_t delay);
void setPauseSecs(Workspace& ws, std::int32_t secs);
void setFadeDelay(Workspace& ws, std::int32_t delay);

// After a page is shown: a line is valid when it has a text or a picture. Marks nothing.
void settleTitleValidity(PageFields& page);

// The colour-bar time of the project, held to 0..kMaxColorBarSecs; returns the value stored.
constexpr int kMaxColorBarSecs = 30;
int setColorBarTime(Workspace& ws, int secs);

// The editor's plain accessors: each stores the value as given and marks nothing.
void setmpause(Workspace& ws, std::uint8_t flag);     // mpause := (flag != 0)
void setTITLENUM(Workspace& ws, std::uint8_t line);   // the line being edited
void setfadedelay(Workspace& ws, std::int32_t delay);
void setpagenow(Workspace& ws, const QString& page);  // cut to 255 characters

constexpr int kMaxPageNowLength = 255;
constexpr int kMaxOsEffect = 6;

// Run choices of the editor that are not part of the page: they mark nothing.
void setEasySlowdown(Workspace& ws, bool on);
void setRepeatLoop(Workspace& ws, bool on);
// The alignment screen is open (the stage serves as it) or closed again.
void setAlignActive(Workspace& ws, bool on);
// The OS-effects slider: osEffect := position held to 0..6; returns the value stored.
int setOsEffect(Workspace& ws, int position);

} // namespace lumavo
