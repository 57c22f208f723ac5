#include "storage/page_edits.h"

#include "storage/page_extension.h"

#include <algorithm>

namespace lumavo {

namespace {

bool validLine(int line)
{
    return line >= 1 && line <= kLineCount;
}

// Runs `change` on line `line` under the modified rule.
template <typename Change>
PageEdit editLine(Workspace& ws, int line, Change&& change)
{
    PageEdit edit;
    if (!validLine(line))
        return edit;
    const RecordBytes before = pageSnapshot(ws);
    const PageExtension extensionBefore = extensionFromWorkspace(ws);
    change(ws.page.line(line));
    edit.line = line;
    edit.changed = noteEdit(ws, before);
    // Two names or faces may share their Windows-1252 form and differ only in the extension.
    if (!edit.changed && extensionFromWorkspace(ws) != extensionBefore) {
        setsav(ws, 1);
        edit.changed = true;
    }
    return edit;
}

} // namespace

RecordBytes pageSnapshot(const Workspace& ws)
{
    RecordBytes bytes{};
    encodePageRecord(recordFromWorkspace(ws, ws.project.pageNow), bytes);
    return bytes;
}

bool noteEdit(Workspace& ws, const RecordBytes& before)
{
    const bool changed = pageSnapshot(ws) != before;
    if (changed)
        setsav(ws, 1);
    return changed;
}

void setsav(Workspace& ws, int flag)
{
    ws.editor.pageModified = flag != 0;
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
    return editLine(ws, line, [&](TitleLine& title) { title.bitmapFile = file; });
}

void setLinePictureShown(Workspace& ws, int line, bool loaded)
{
    if (validLine(line))
        ws.page.line(line).titleValid = loaded;
}

PageEdit setLineWave(Workspace& ws, int line, const QString& file)
{
    return editLine(ws, line, [&](TitleLine& title) { title.waveFile = file; });
}

PageEdit setLineStyle(Workspace& ws, int line, std::int32_t outlineWidth, Color outlineColor,
                      std::int32_t softShadowRadius)
{
    PageEdit edit;
    if (!validLine(line))
        return edit;
    TitleLine& title = ws.page.line(line);
    const std::int32_t width = std::clamp(outlineWidth, 0, kMaxLineStylePixels);
    const std::int32_t radius = std::clamp(softShadowRadius, 0, kMaxLineStylePixels);
    edit.line = line;
    edit.changed = title.outlineWidth != width || title.outlineColor != outlineColor ||
                   title.softShadowRadius != radius;
    title.outlineWidth = width;
    title.outlineColor = outlineColor;
    title.softShadowRadius = radius;
    if (edit.changed)
        setsav(ws, 1);
    return edit;
}

void setMovementDelay(Workspace& ws, std::int32_t delay)
{
    ws.page.movementDelay = delay;
    setsav(ws, 1);
}

void setPauseSecs(Workspace& ws, std::int32_t secs)
{
    ws.page.pauseSecs = secs;
    setsav(ws, 1);
}

void setFadeDelay(Workspace& ws, std::int32_t delay)
{
    ws.page.fadeDelay = delay;
    setsav(ws, 1);
}

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

void setmpause(Workspace& ws, std::uint8_t flag) { ws.page.mpause = flag != 0; }
void setTITLENUM(Workspace& ws, std::uint8_t line) { ws.editor.titleNum = line; }
void setfadedelay(Workspace& ws, std::int32_t delay) { ws.page.fadeDelay = delay; }
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
