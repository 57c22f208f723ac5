#include "playback/page_validity.h"

namespace lumavo {

QString projectValidityMessage(const Workspace& ws)
{
    for (int n = 1; n <= kLineCount; ++n) {
        const TitleLine& line = ws.page.line(n);
        if (line.titleValid && line.inDir == 0)
            return QStringLiteral("Click an IN direction for title #%1").arg(n);
    }
    const bool anyLine = ws.page.line(1).titleValid || ws.page.line(2).titleValid || ws.page.line(3).titleValid;
    if (!anyLine && !ws.project.useCountDown && !ws.project.useColorBars)
        return QStringLiteral("Enter a title in the black edit box.");
    return {};
}

} // namespace lumavo
