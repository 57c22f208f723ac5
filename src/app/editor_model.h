#pragma once

#include "align/alignment_paths.h"
#include "platform/prompter.h"
#include "storage/page_edits.h"
#include "storage/page_record.h"
#include "storage/workspace.h"

#include <QString>
#include <cstdint>

namespace lumavo {

// The page values the stage's creation sets once per run, after the main window's reset:
// font sizes 60, 50, 30; "Arial" in white on every line; IN codes 1, 5, 3 and OUT codes 3, 6, 1.
void applyStartupValues(PageFields& page);

// Opening line 1..3's IN (or OUT) direction toolbar erases the drawn path of that side. True when
// that may go ahead: the path has no points, or the operator answered Yes to
// "Erase the drawn IN path of line N?" (OUT for the OUT side).
bool mayErasePath(const Workspace& ws, Prompter& prompter, int line, PathSide side);

// The modified rule (pageSnapshot, noteEdit, setsav) and the edits of single page values live in
// storage/page_edits.h, so that the windows below the editor use the same rule.

// The data part of setdirectionButton: side In sets inDir/inPathOn of the line, Out
// outDir/outPathOn; the path flag becomes (code == 11). Returns false and changes nothing for a
// line outside 1..3.
bool recordDirection(PageFields& page, PathSide side, int line, int code);

// The side the direction toolbar is open for.
PathSide directionTarget(const EditorState& editor);
void setDirectionTarget(EditorState& editor, PathSide side);

// Choosing direction `code` from the direction toolbar for editor.titleNum / editor.dirTarget.
// Remembers the code as the last direction clicked. Returns recordDirection's result.
bool chooseDirection(Workspace& ws, int code);

// Which of the direction toolbar's three per-line toggles.
enum class LineToggle { Arch, Gradient, Shadow };
// Stores a toggle's down state in line `line` (archOn, gradOn, shadowOn). Lines outside 1..3
// store nothing and return false.
bool setLineToggle(PageFields& page, int line, LineToggle toggle, bool down);

// The fade slider's value label: position div 230.
int fadeLabelValue(int fadePosition);
// The name shown for an OS-effects slider position 0..6 ("Normal" .. "Src paint"); positions
// outside the range name the nearest end.
QString osEffectName(int position);

// The Manual box: mpause := checked; marks the page modified when mpause now differs from the
// manual flag of the page record last read or written (ws.recordBuffer), and unmarks it when the
// page held is again exactly that record (no pending new page).
void setManualMode(Workspace& ws, bool checked);

// What an edit box's change leaves for the window to do.
struct EditChange {
    bool clearPicture = false;   // hide the line's preview and empty its file-name label
};
// An edit box of line 1..3 now holds `text`: keeps the page text, titleValid and the
// text/picture exclusivity (text typed empties bitmapFile and marks the page modified).
EditChange editTextChanged(Workspace& ws, int line, const QString& text);

// Status panel texts of the two leader toggles.
QString countDownPanelText(bool on);
QString colorBarsPanelText(bool on);
// The leader toggles: store the state in the project values and write their status panel
// (count-down panel 0, colour bars panel 1).
void setCountDown(Workspace& ws, bool on);
void setColorBars(Workspace& ws, bool on);

// Widths of the controls of one title row that FormResize lays out.
struct TitleRowWidths {
    int inButton = 24;
    int strip = 13;
    int outButton = 24;
    int directionToolbar = 0;
};
// Horizontal positions of one title row for a window width, in pixels.
struct TitleRowLayout {
    int inLeft = 0;
    int leftStripLeft = 0;
    int editLeft = 0;
    int editWidth = 0;
    int rightStripLeft = 0;
    int outLeft = 0;
    int outLabelLeft = 0;
    int directionToolbarLeft = 0;   // the toolbar right-aligned with the OUT button column
};
TitleRowLayout layoutTitleRow(int windowWidth, const TitleRowWidths& widths);

} // namespace lumavo
