#include "playback/page_player.h"

#include "storage/page_file.h"
#include "storage/project.h"

namespace lumavo {

PageSource storagePageSource(Workspace& ws, Prompter& prompter)
{
    PageSource source;
    source.lastPageNumber = [&ws] { return GetNumberOFPages(ws, StripTLP(ws.project.projectName)); };
    source.loadPage = [&ws, &prompter](const QString& pageNumber) {
        return LoadPage(ws, prompter, ws.project.projectName, pageNumber).loaded;
    };
    return source;
}

} // namespace lumavo
