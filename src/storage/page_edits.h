#pragma once

#include "platform/color.h"
#include "storage/page_record.h"
#include "storage/workspace.h"

#include <QString>
#include <cstdint>

namespace lumavo {

// The page editor: the one writer of the current page (ws.page and the stage's rest positions and
// drawn paths). The windows read the page and change it only through these operations; storage
// tells the editor when it loads, saves or replaces the page.
//
// The modified rule, decided here alone: the page is modified exactly when the record a save
// would write differs from the one it would have written when the page was last loaded, saved or
// replaced (a pending new page is offered for saving through newPagePending besides).
//
// Undo history: every operation that changes the page is one step (consecutive typing in one
// line, or consecutive moves of one slider, merge into one step); loading or replacing the page
// clears the history.

// The record a save would write now (under page number pageNow).
RecordBytes pageSnapshot(const Workspace& ws);

// Storage: the page was loaded or replaced by another one (new page, new project, a page
// shown after a deletion): the baseline is the page as it is now, the history is cleared and
// the page is not modified.
void pageReplaced(Workspace& ws);
// Storage: the page was saved: the baseline is the page as it is now; the history stays.
void pageSaved(Workspace& ws);

// Undo and redo of page edits. False (and nothing changed) when there is no step.
bool canUndoPageEdit(const Workspace& ws);
bool canRedoPageEdit(const Workspace& ws);
bool undoPageEdit(Workspace& ws);
bool redoPageEdit(Workspace& ws);

// The alignment screen works on the stage's paths and rest positions while it is open: what it
// changed between opening and closing becomes one step.
void alignmentOpened(Workspace& ws);
void alignmentClosed(Workspace& ws);

// What one edit of a title line leaves for the window.
struct PageEdit {
    int line = 0;            // the line edited, 1..3; 0 when the line was outside 1..3 (nothing stored)
    bool changed = false;    // the edit changed the page (one undo step)
};

// The text of line `line`'s edit box, cut to what the record holds (kTextCapacity). Keeps
// titleValid and the text/picture exclusivity: text typed empties bitmapFile.
struct TextEdit {
    PageEdit edit;
    bool clearPicture = false;   // the line's picture was dropped: hide its preview, empty its label
};
TextEdit setLineText(Workspace& ws, int line, const QString& text);

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

// Which of the direction toolbar's three per-line toggles.
enum class LineToggle { Arch, Gradient, Shadow };
// Stores a toggle's down state in line `line` (archOn, gradOn, shadowOn).
PageEdit setLineToggle(Workspace& ws, int line, LineToggle toggle, bool down);
// A direction chosen for line `line`: inDir/inPathOn (side In) or outDir/outPathOn; the path
// flag becomes (code == 11).
PageEdit setLineDirection(Workspace& ws, PathSide side, int line, int code);
// Empties the drawn path of line `line`'s side (a direction chosen again loses its path).
PageEdit eraseLinePath(Workspace& ws, PathSide side, int line);
// Where line `line`'s title came to rest on the stage (the player, after its move in).
PageEdit setLineRest(Workspace& ws, int line, Point position);

// The delay sliders and the Manual box.
void setMovementDelay(Workspace& ws, std::int32_t delay);
void setPauseSecs(Workspace& ws, std::int32_t secs);
void setFadeDelay(Workspace& ws, std::int32_t delay);
void setmpause(Workspace& ws, std::uint8_t flag);     // mpause := (flag != 0)
void setfadedelay(Workspace& ws, std::int32_t delay);  // the same as setFadeDelay

// After a page is shown: a line is valid when it has a text or a picture. Marks nothing.
void settleTitleValidity(PageFields& page);

// The colour-bar time of the project, held to 0..kMaxColorBarSecs; returns the value stored.
constexpr int kMaxColorBarSecs = 30;
int setColorBarTime(Workspace& ws, int secs);

// The editor's plain accessors of values outside the page: each stores the value as given.
void setTITLENUM(Workspace& ws, std::uint8_t line);   // the line being edited
void setpagenow(Workspace& ws, const QString& page);  // cut to 255 characters

constexpr int kMaxPageNowLength = 255;
constexpr int kMaxOsEffect = 6;
constexpr std::size_t kMaxUndoSteps = 100;

// Run choices of the editor that are not part of the page: they mark nothing.
void setEasySlowdown(Workspace& ws, bool on);
void setRepeatLoop(Workspace& ws, bool on);
// The alignment screen is open (the stage serves as it) or closed again.
void setAlignActive(Workspace& ws, bool on);
// The OS-effects slider: osEffect := position held to 0..6; returns the value stored.
int setOsEffect(Workspace& ws, int position);

} // namespace lumavo
