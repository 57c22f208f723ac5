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
void applyStartupValues(Workspace& ws);

// Opening line 1..3's IN (or OUT) direction toolbar erases the drawn path of that side. True when
// that may go ahead: the path has no points, or the operator answered Yes to
// "Erase the drawn IN path of line N?" (OUT for the OUT side).
bool mayErasePath(const Workspace& ws, Prompter& prompter, int line, PathSide side);

// The page editor (storage/page_edits.h) is the one writer of the page and decides "modified";
// the operations below are the editor's commands that also touch the editor state.

// The side the direction toolbar is open for.
PathSide directionTarget(const EditorState& editor);
void setDirectionTarget(EditorState& editor, PathSide side);

// Choosing direction `code` from the direction toolbar for editor.titleNum / editor.dirTarget
// (setLineDirection). Remembers the code as the last direction clicked. False for a line outside
// 1..3 (nothing stored).
bool chooseDirection(Workspace& ws, int code);

// The fade slider's value label: position div 230.
int fadeLabelValue(int fadePosition);
// The name shown for an OS-effects slider position 0..6 ("Normal" .. "Src paint"); positions
// outside the range name the nearest end.
QString osEffectName(int position);

// The Manual box: mpause := checked, an edit of the page like any other.
void setManualMode(Workspace& ws, bool checked);

// What an edit box's change leaves for the window to do.
struct EditChange {
    bool clearPicture = false;   // hide the line's preview and empty its file-name label
};
// An edit box of line 1..3 now holds `text` (setLineText: cut to the record's capacity, titleValid
// and the text/picture exclusivity kept).
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
