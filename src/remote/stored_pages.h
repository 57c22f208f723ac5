#pragma once

#include "remote/remote_api.h"
#include "storage/workspace.h"

#include <QList>
#include <QString>

namespace lumavo {

// The stored pages of the open project, 000 up to the last of the unbroken run, with their texts
// as saved (the editor's unsaved changes are not in them). Pages that cannot be read are left out.
QList<PageSummary> storedPageSummaries(const ProjectState& project);

// Loads stored page `number` of the open project into a workspace of its own, for looking at it
// without touching the editor. False when there is no such page or it cannot be read.
bool loadStoredPage(const ProjectState& project, const QString& number, Workspace& into);

// Sets the text of line 1..3 of stored page `number` as typing it would, and saves the page with
// the editor's page save. When `number` is the page the editor holds, the edit goes to the editor's
// page (refused with 409 while it holds unsaved changes); any other page is loaded, edited and
// saved on its own. 404 for a page that does not exist, 500 with the reason when the save failed;
// a save that warned (text the page format cannot hold) is done with the warning as its reason.
RemoteOutcome setStoredLineText(Workspace& ws, const QString& number, int line, const QString& text);

} // namespace lumavo
