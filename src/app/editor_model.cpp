#include "app/editor_model.h"

#include "storage/page_extension.h"
#include "storage/page_file.h"
#include "storage/page_record.h"

#include <QStringList>
#include <algorithm>
#include <array>

namespace lumavo {

void applyStartupValues(Workspace& ws)
{
    PageFields& page = ws.page;
    constexpr std::array<std::int32_t, kLineCount> kSizes{60, 50, 30};
    constexpr std::array<std::int32_t, kLineCount> kInDirs{1, 5, 3};
    constexpr std::array<std::int32_t, kLineCount> kOutDirs{3, 6, 1};
    for (int k = 1; k <= kLineCount; ++k) {
        TitleLine& line = page.line(k);
        const auto i = static_cast<std::size_t>(k - 1);
        line.fontSize = kSizes[i];
        line.fontName = QStringLiteral("Arial");
        line.fontColor = kWhite;
        line.inDir = kInDirs[i];
        line.outDir = kOutDirs[i];
    }
}

bool mayErasePath(const Workspace& ws, Prompter& prompter, int line, PathSide side)
{
    if (line < 1 || line > kLineCount)
        return true;
    const bool in = side == PathSide::In;
    const DrawnPath& path = in ? ws.stage.inPath(line) : ws.stage.outPath(line);
    if (path.count <= 0)
        return true;
    const QString question = QStringLiteral("Erase the drawn %1 path of line %2?")
                                 .arg(in ? QStringLiteral("IN") : QStringLiteral("OUT"))
                                 .arg(line);
    return prompter.confirm(question, false) == Answer::Yes;
}

PathSide directionTarget(const EditorState& editor)
{
    return editor.dirTarget;
}

void setDirectionTarget(EditorState& editor, PathSide side)
{
    editor.dirTarget = side;
}

bool chooseDirection(Workspace& ws, int code)
{
    ws.editor.lastDirection = code;
    return setLineDirection(ws, directionTarget(ws.editor), ws.editor.titleNum, code).line != 0;
}

int fadeLabelValue(int fadePosition)
{
    return fadePosition / 230;
}

QString osEffectName(int position)
{
    static const QStringList kNames{
        QStringLiteral("Normal"),     QStringLiteral("Not Copy"),  QStringLiteral("Not Erase"),
        QStringLiteral("Patt Paint"), QStringLiteral("Src Erase"), QStringLiteral("Src Invert"),
        QStringLiteral("Src paint")};
    return kNames.at(std::clamp(position, 0, static_cast<int>(kNames.size()) - 1));
}

void setManualMode(Workspace& ws, bool checked)
{
    setmpause(ws, checked ? 1 : 0);
}

EditChange editTextChanged(Workspace& ws, int line, const QString& text)
{
    return {setLineText(ws, line, text).clearPicture};
}

QString countDownPanelText(bool on)
{
    return on ? QStringLiteral("CntDwn ON") : QStringLiteral("CntDwn OFF");
}

QString colorBarsPanelText(bool on)
{
    return on ? QStringLiteral("Clr Bars ON") : QStringLiteral("Clr Bars OFF");
}

void setCountDown(Workspace& ws, bool on)
{
    ws.project.useCountDown = on;
    ws.status.panel[0] = countDownPanelText(on);
}

void setColorBars(Workspace& ws, bool on)
{
    ws.project.useColorBars = on;
    ws.status.panel[1] = colorBarsPanelText(on);
}

TitleRowLayout layoutTitleRow(int windowWidth, const TitleRowWidths& widths)
{
    TitleRowLayout row;
    row.inLeft = 20;
    row.leftStripLeft = row.inLeft + widths.inButton;
    row.editLeft = row.leftStripLeft + widths.strip;
    row.editWidth = windowWidth - 120;
    row.outLeft = row.editLeft + row.editWidth + 16;
    row.rightStripLeft = row.editLeft + row.editWidth;
    row.outLabelLeft = row.outLeft;
    row.directionToolbarLeft = row.outLeft + widths.outButton - widths.directionToolbar;
    return row;
}

} // namespace lumavo
