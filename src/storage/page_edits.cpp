#include "storage/page_edits.h"

#include "storage/page_extension.h"

#include <algorithm>

namespace lumavo {

namespace {

bool validLine(int line)
{
    return line >= 1 && line <= kLineCount;
}

PageState currentState(const Workspace& ws)
{
    return {ws.page, ws.stage};
}

void restoreState(Workspace& ws, const PageState& state)
{
    ws.page = state.page;
    ws.stage = state.stage;
}

// What a save writes beside the record: the extension file's text (empty when it keeps none).
QByteArray extensionSnapshot(const Workspace& ws)
{
    const PageExtension extension = extensionFromWorkspace(ws);
    return extension.isEmpty() ? QByteArray() : encodePageExtension(extension);
}

// Before the first edit of a run the page is as the program started it: that is the baseline.
void takeBaselineOnce(Workspace& ws)
{
    PageEditorMemory& memory = ws.pageEditor;
    if (!memory.baselineTaken) {
        memory.baseline = pageSnapshot(ws);
        memory.baselineExtension = extensionSnapshot(ws);
        memory.baselineTaken = true;
    }
}

// Modified exactly when what a save would write (record and extension) differs from the baseline.
void settleModified(Workspace& ws)
{
    takeBaselineOnce(ws);
    ws.editor.pageModified =
        pageSnapshot(ws) != ws.pageEditor.baseline || extensionSnapshot(ws) != ws.pageEditor.baselineExtension;
}

void pushStep(std::vector<PageState>& steps, PageState state)
{
    if (steps.size() >= kMaxUndoSteps)
        steps.erase(steps.begin());
    steps.push_back(std::move(state));
}

// Keys of edits that merge with the one before them when it had the same key.
enum MergeKey : int {
    kNoMerge = 0,
    kMergeMovement = 1,
    kMergePause = 2,
    kMergeFade = 3,
    kMergeText = 10,    // + line
    kMergePicture = 20, // + line: choosing a picture, its preview and the emptied edit box
};

// Runs `change` on the workspace as one step of the history and settles the modified flag.
// Returns whether the page changed.
template <typename Change>
bool applyEdit(Workspace& ws, int mergeKey, Change&& change)
{
    takeBaselineOnce(ws);
    PageState before = currentState(ws);
    change();
    PageEditorMemory& memory = ws.pageEditor;
    const bool changed = !(currentState(ws) == before);
    // While the alignment screen is open, its session is the step.
    if (changed && !memory.openSession) {
        const bool merge = mergeKey != kNoMerge && mergeKey == memory.mergeKey && !memory.undo.empty();
        if (!merge)
            pushStep(memory.undo, std::move(before));
        memory.redo.clear();
        memory.mergeKey = mergeKey;
    }
    settleModified(ws);
    return changed;
}

// Runs `change` on line `line` as one edit.
template <typename Change>
PageEdit editLine(Workspace& ws, int line, Change&& change, int mergeKey = kNoMerge)
{
    PageEdit edit;
    if (!validLine(line))
        return edit;
    edit.line = line;
    edit.changed = applyEdit(ws, mergeKey, [&] { change(ws.page.line(line)); });
    return edit;
}

} // namespace

RecordBytes pageSnapshot(const Workspace& ws)
{
    RecordBytes bytes{};
    encodePageRecord(recordFromWorkspace(ws, ws.project.pageNow), bytes);
    return bytes;
}

void pageReplaced(Workspace& ws)
{
    PageEditorMemory& memory = ws.pageEditor;
    memory.undo.clear();
    memory.redo.clear();
    memory.mergeKey = kNoMerge;
    memory.openSession.reset();
    pageSaved(ws);
}

void pageSaved(Workspace& ws)
{
    PageEditorMemory& memory = ws.pageEditor;
    memory.baseline = pageSnapshot(ws);
    memory.baselineExtension = extensionSnapshot(ws);
    memory.baselineTaken = true;
    memory.mergeKey = kNoMerge;
    ws.editor.pageModified = false;
}

bool canUndoPageEdit(const Workspace& ws) { return !ws.pageEditor.undo.empty(); }
bool canRedoPageEdit(const Workspace& ws) { return !ws.pageEditor.redo.empty(); }

namespace {

// Moves one step from `from` to `to`, restoring the state it holds.
bool stepHistory(Workspace& ws, std::vector<PageState>& from, std::vector<PageState>& to)
{
    if (from.empty())
        return false;
    pushStep(to, currentState(ws));
    restoreState(ws, from.back());
    from.pop_back();
    ws.pageEditor.mergeKey = kNoMerge;
    settleModified(ws);
    return true;
}

} // namespace

bool undoPageEdit(Workspace& ws) { return stepHistory(ws, ws.pageEditor.undo, ws.pageEditor.redo); }
bool redoPageEdit(Workspace& ws) { return stepHistory(ws, ws.pageEditor.redo, ws.pageEditor.undo); }

void alignmentOpened(Workspace& ws)
{
    takeBaselineOnce(ws);
    ws.pageEditor.openSession = currentState(ws);
}

void alignmentClosed(Workspace& ws)
{
    PageEditorMemory& memory = ws.pageEditor;
    if (memory.openSession && !(*memory.openSession == currentState(ws))) {
        pushStep(memory.undo, std::move(*memory.openSession));
        memory.redo.clear();
        memory.mergeKey = kNoMerge;
    }
    memory.openSession.reset();
    settleModified(ws);
}

TextEdit setLineText(Workspace& ws, int line, const QString& text)
{
    // The edit box emptied because a picture was chosen belongs to the picture's step.
    const bool pictureChosen = ws.pageEditor.mergeKey == kMergePicture + line && text.isEmpty();
    TextEdit result;
    result.edit = editLine(
        ws, line,
        [&](TitleLine& title) {
            title.text = text.left(kTextCapacity);
            if (!title.text.isEmpty()) {
                result.clearPicture = true;
                title.bitmapFile.clear();
            }
            title.titleValid = !title.text.isEmpty() || !title.bitmapFile.isEmpty();
        },
        pictureChosen ? kMergePicture + line : kMergeText + line);
    return result;
}

PageEdit setLineFont(Workspace& ws, int line, const QString& face, std::int32_t points)
{
    return editLine(ws, line, [&](TitleLine& title) {
        title.fontName = face;
        title.fontSize = points;
    });
}

PageEdit setLineFontStyle(Workspace& ws, int line, std::uint8_t style)
{
    return editLine(ws, line, [&](TitleLine& title) { title.fontStyle = style; });
}

PageEdit setLineFontColor(Workspace& ws, int line, Color color)
{
    return editLine(ws, line, [&](TitleLine& title) { title.fontColor = color; });
}

PageEdit setLineShadowColor(Workspace& ws, int line, Color color)
{
    return editLine(ws, line, [&](TitleLine& title) { title.shadowColor = color; });
}

PageEdit setLineGradient(Workspace& ws, int line, bool on, Color end, Color start)
{
    return editLine(ws, line, [&](TitleLine& title) {
        title.gradOn = on;
        title.fontColor = end;
        title.gradColor = start;
    });
}

PageEdit setLinePicture(Workspace& ws, int line, const QString& file)
{
    ws.pageEditor.mergeKey = kNoMerge;   // a new step, which the preview and the emptied box join
    return editLine(
        ws, line, [&](TitleLine& title) { title.bitmapFile = file; }, kMergePicture + line);
}

void setLinePictureShown(Workspace& ws, int line, bool loaded)
{
    editLine(ws, line, [&](TitleLine& title) { title.titleValid = loaded; }, kMergePicture + line);
}

PageEdit setLineWave(Workspace& ws, int line, const QString& file)
{
    return editLine(ws, line, [&](TitleLine& title) { title.waveFile = file; });
}

PageEdit setLineStyle(Workspace& ws, int line, std::int32_t outlineWidth, Color outlineColor,
                      std::int32_t softShadowRadius)
{
    return editLine(ws, line, [&](TitleLine& title) {
        title.outlineWidth = std::clamp(outlineWidth, 0, kMaxLineStylePixels);
        title.outlineColor = outlineColor;
        title.softShadowRadius = std::clamp(softShadowRadius, 0, kMaxLineStylePixels);
    });
}

PageEdit setLineToggle(Workspace& ws, int line, LineToggle toggle, bool down)
{
    return editLine(ws, line, [&](TitleLine& title) {
        switch (toggle) {
        case LineToggle::Arch: title.archOn = down; break;
        case LineToggle::Gradient: title.gradOn = down; break;
        case LineToggle::Shadow: title.shadowOn = down; break;
        }
    });
}

PageEdit setLineDirection(Workspace& ws, PathSide side, int line, int code)
{
    return editLine(ws, line, [&](TitleLine& title) {
        if (side == PathSide::In) {
            title.inDir = code;
            title.inPathOn = code == 11;
        } else {
            title.outDir = code;
            title.outPathOn = code == 11;
        }
    });
}

PageEdit eraseLinePath(Workspace& ws, PathSide side, int line)
{
    PageEdit edit;
    if (!validLine(line))
        return edit;
    edit.line = line;
    edit.changed = applyEdit(ws, kNoMerge, [&] {
        DrawnPath& path = side == PathSide::In ? ws.stage.inPath(line) : ws.stage.outPath(line);
        path.count = -1;
        path.points.fill(PathPoint{});
    });
    return edit;
}

PageEdit setLineRest(Workspace& ws, int line, Point position)
{
    PageEdit edit;
    if (!validLine(line))
        return edit;
    edit.line = line;
    edit.changed = applyEdit(ws, kNoMerge, [&] { ws.stage.restOf(line) = position; });
    return edit;
}

void setMovementDelay(Workspace& ws, std::int32_t delay)
{
    applyEdit(ws, kMergeMovement, [&] { ws.page.movementDelay = delay; });
}

void setPauseSecs(Workspace& ws, std::int32_t secs)
{
    applyEdit(ws, kMergePause, [&] { ws.page.pauseSecs = secs; });
}

void setFadeDelay(Workspace& ws, std::int32_t delay)
{
    applyEdit(ws, kMergeFade, [&] { ws.page.fadeDelay = delay; });
}

void setmpause(Workspace& ws, std::uint8_t flag)
{
    applyEdit(ws, kNoMerge, [&] { ws.page.mpause = flag != 0; });
}

void setfadedelay(Workspace& ws, std::int32_t delay) { setFadeDelay(ws, delay); }

void settleTitleValidity(PageFields& page)
{
    for (TitleLine& line : page.lines)
        line.titleValid = !line.text.isEmpty() || !line.bitmapFile.isEmpty();
}

int setColorBarTime(Workspace& ws, int secs)
{
    ws.project.colorBarTime = std::clamp(secs, 0, kMaxColorBarSecs);
    return ws.project.colorBarTime;
}

void setTITLENUM(Workspace& ws, std::uint8_t line) { ws.editor.titleNum = line; }
void setpagenow(Workspace& ws, const QString& page) { ws.project.pageNow = page.left(kMaxPageNowLength); }
void setEasySlowdown(Workspace& ws, bool on) { ws.editor.easySlowdown = on; }
void setRepeatLoop(Workspace& ws, bool on) { ws.editor.repeatLoop = on; }
void setAlignActive(Workspace& ws, bool on) { ws.editor.alignActive = on; }

int setOsEffect(Workspace& ws, int position)
{
    ws.editor.osEffect = static_cast<std::int16_t>(std::clamp(position, 0, kMaxOsEffect));
    return ws.editor.osEffect;
}

} // namespace lumavo
