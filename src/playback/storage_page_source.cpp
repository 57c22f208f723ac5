#include "playback/page_player.h"

#include "storage/page_file.h"
#include "storage/project.h"

#include <algorithm>

namespace lumavo {

PageSource storagePageSource(Workspace& ws, Notices& notices)
{
    PageSource source;
    source.lastPageNumber = [&ws] { return GetNumberOFPages(ws, StripTLP(ws.project.projectName)); };
    source.loadPage = [&ws, &notices](const QString& pageNumber) {
        LoadPageOutcome loaded = LoadPage(ws, ws.project.projectName, pageNumber);
        for (Result& notice : loaded.notices) {
            // The repeat loop meets an unreadable page on every pass: it is told once.
            const bool told = std::any_of(notices.begin(), notices.end(),
                                          [&](const Result& n) { return n.error == notice.error; });
            if (!told)
                notices.push_back(std::move(notice));
        }
        return loaded.loaded;
    };
    return source;
}

} // namespace lumavo
