#pragma once

#include "platform/prompter.h"
#include "storage/project.h"
#include "storage/workspace.h"

#include <QString>
#include <optional>

namespace lumavo {

// Window work that a command leaves to the editor, done after the command returns.
struct EditorActions {
    bool showPage = false;              // refresh the controls from the page (showpage)
    bool clearPreviews = false;         // hide the three preview images, empty their labels
    bool showPageNumber = false;        // show ws.project.pageNow in the page-number display
    std::optional<bool> enableNewAndCopy; // set: enable/disable the new-page and copy-page buttons
    bool enableProjectTools = false;    // enable new/copy/save/delete page, align, play, play all
                                        // and press the leader buttons from ws.project
    Notices notices;                    // failures and warnings the window shows, in order
};

// Resets the current page to its defaults (fonts, colours, texts, bitmaps, directions, delays,
// mpause, gradient; titleNum 1, alignActive 0). Keeps archOn, waveFile, fontStyle, fadeDelay,
// the path flags and everything outside the page.
void Initiate(Workspace& ws);
// Empties one drawn path: count -1, all slots (0, 0).
void clearDrawnPath(DrawnPath& path);
// Clears the six drawn paths and the three titleValid flags (previews: EditorActions).
void makenewpage(Workspace& ws);

// What "Save current page?" came to: goOn is false when the operator cancelled or the save failed
// or was cancelled, and then the command that asked must not go on (the edit would be lost).
struct SaveOffer {
    bool goOn = true;
    Notices notices;    // the save's failure or warnings, for the window
};
// Asks "Save current page?" for an unsaved or pending page (Yes saves; withCancel adds Cancel).
SaveOffer offerToSaveCurrentPage(Workspace& ws, Prompter& prompter, bool withCancel = false);
// New project from the menu: Initiate, project label ("", "NEW"); a new project has no name, no
// directory and page 000, and nothing is pending or modified.
EditorActions newProjectFromMenu(Workspace& ws);
// The same, after "Save current page?" for an unsaved or pending page (Yes saves; a failed save
// stops the command with its notice).
EditorActions newProjectFromMenu(Workspace& ws, Prompter& prompter);
// New project from the tool button: as the menu's, label ("", "000"), new/copy page disabled.
EditorActions newProjectFromTool(Workspace& ws);
EditorActions newProjectFromTool(Workspace& ws, Prompter& prompter);
// "Save current page?" for an unsaved or pending page, then the open dialog; on a chosen file OpenProject and pageModified cleared. Cancel changes nothing.
EditorActions openProjectCommand(Workspace& ws, Prompter& prompter);
// The same for a file named without the dialog (the command line, Open Recent): "Save current
// page?" first, then OpenProject of path. A path that is no file is refused with a message and
// changes nothing.
EditorActions openProjectFile(Workspace& ws, Prompter& prompter, const QString& path);
// Save Project; fromToolButton also enables new/copy page.
EditorActions saveProjectCommand(Workspace& ws, Prompter& prompter, const ProjectSaveInfo& info,
                                 bool fromToolButton);
// New page: starts a pending new page ("New Page"), or only shows "Current" when one is pending;
// then makenewpage and Initiate.
EditorActions newPage(Workspace& ws);
// Copy page: marks the current fields as a pending new page ("Copy Page"), or only shows
// "Current" when one is already pending.
EditorActions copyPage(Workspace& ws);
// The tool buttons: the same, refused with a kProjectFullMessage notice (nothing changed) when no
// page number is free. A new page empties the fields, so an unsaved edit is offered for saving
// first (a failed save keeps the page); a copy carries the edit to the new page.
EditorActions newPageCommand(Workspace& ws, Prompter& prompter);
EditorActions copyPageCommand(Workspace& ws);
// Save page: the tool button refuses without a project name ("Save Project first, than add New
// pages."), then enables new/copy page; the menu item runs SavePage alone.
EditorActions savePageCommand(Workspace& ws, Prompter& prompter, bool fromToolButton);
inline const QString kDiscardPendingPageQuestion =
    QStringLiteral("The new page has not been saved. Discard it?");
// With a new or copied page pending: asks kDiscardPendingPageQuestion; Yes drops the pending page
// and shows the stored page it was started from (showPageAfterDelete); nothing stored is deleted.
// Otherwise: delete page pageNow after the Yes/No question; projectName becomes its base name, the file is
// removed and the pages after it move down (renumberfrompg). An I/O error shows "File I/O error,
// page not deleted." and renumbers nothing. Returns true when the page file was removed; the editor
// then holds the page that moved into the slot (showPageAfterDelete).
// The prompter only asks; failures and warnings come back in the outcome's notices.
struct DeletePageOutcome {
    bool removed = false;         // the stored page (or the pending page) is gone
    Notices notices;
};
DeletePageOutcome deletePage(Workspace& ws, Prompter& prompter);
// After page deletedPage was removed and the rest renumbered: loads the page now numbered
// deletedPage, else deletedPage - 1, else starts an empty page 000; nothing pending or modified.
// Returns why a page it tried could not be read.
Notices showPageAfterDelete(Workspace& ws, int deletedPage);
// The D Pg command: deletePage, then what the window shows.
EditorActions deletePageCommand(Workspace& ws, Prompter& prompter);
// Moves pages deleted+1, deleted+2, ... down by one until the first missing page or failed
// rename, showing each new number in the project label. Returns the number of pages moved.
int renumberfrompg(Workspace& ws, int deletedPage, const QString& base);

enum class PageStep { Next, Previous };
// Next / previous page: asks "Save current page?" for an unsaved or pending page (Yes saves; a
// failed save stays on the page), steps pageIndex (not below 0, not past 999), sets pageNow and
// loads it. A page that exists but cannot be read is stepped over; at a missing page, or when only
// unreadable pages remain, pageNow and pageIndex stay those of the page held (the page shown is
// the page saved).
EditorActions PagePointerClick(Workspace& ws, Prompter& prompter, PageStep step);

} // namespace lumavo
