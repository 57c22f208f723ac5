#include "playback/page_player.h"

#include "storage/page_file.h"
#include "storage/project.h"


namespace lumavo {

PageSource storagePageSource(Workspace& ws, Notices& notices)
{
    PageSource source;
    source.lastPageNumber = [&ws] { return GetNumberOFPages(ws, StripTLP(ws.project.projectName)); };
    source.loadPage = [&ws, &notices](const QString& pageNumber) {
        LoadPageOutcome loaded = LoadPage(ws, ws.project.projectName, pageNumber);
        for (Result& notice : loaded.notices)
            tellOnce(notices, std::move(notice));
        return loaded.loaded;
    };
    return source;
}

} // namespace lumavo
