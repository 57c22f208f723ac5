#pragma once

#include "platform/ini.h"
#include "platform/prompter.h"
#include "storage/page_extension.h"
#include "storage/page_record.h"
#include "storage/workspace.h"

#include <QString>

namespace lumavo {

// The largest page file whose bytes beyond the first record a save keeps.
constexpr qint64 kMaxPageFileBytes = 64LL * 1024 * 1024;

enum class PageReadStatus { Ok, CannotOpen, TooShort };
// Reads the first 25716 bytes of a page file into out; out is untouched unless Ok. Pipes and
// devices are CannotOpen.
// Bytes beyond the first record are ignored.
PageReadStatus readPageFile(const QString& path, RecordBytes& out);
// Writes one record crash-safely (temporary file, flush, rename). startEmpty false keeps the bytes
// of an existing longer file beyond the first record; true writes exactly one record.
IoResult writePageFile(const QString& path, const RecordBytes& bytes, bool startEmpty);
// Writes a page: its extension first (when it has one), then the record as writePageFile does.
// After the record, an extension left from before is removed when the page has none; that
// failing does not fail the save (the record no longer matches it) and is reported in *leftOver.
IoResult writePageAndExtension(const QString& path, const RecordBytes& bytes, bool startEmpty,
                               const PageExtension& extension, Result* leftOver);

// What the editor does after a load: when loaded, show ws.project.pageNow in the page-number
// display and refresh its controls (showpage).
struct LoadPageOutcome {
    bool loaded = false;          // == ws.editor.pageLoaded
    Notices notices;              // why the page did not load, or a warning on a page that did
};
// Loads page `pageNumber` of the project named projectName (its StripTLP base) from
// ws.project.projectDir into the current page, rest positions and paths through the record buffer.
// The caller has set ws.project.pageNow. Missing page: pageModified cleared, nothing shown. A file
// that cannot be read or is shorter than a record: the "possible older file structure" notice, and
// the workspace and the record buffer stay as they were. Success: newPagePending and pageModified
// cleared, panel 2 "Current", pageIndex := pageNumber's value, titleValid and the path flags
// refreshed (refreshDerivedFields).
LoadPageOutcome LoadPage(Workspace& ws, const QString& projectName, const QString& pageNumber);

inline const QString kProjectFullMessage =
    QStringLiteral("The project is full: all 1000 pages are in use. Delete a page to add another.");

enum class SavePageStatus { NoProject, NoBaseName, Saved, WriteFailed, ProjectFull, Cancelled };
struct SavePageOutcome {
    SavePageStatus status = SavePageStatus::NoProject;
    QString pageNumber;           // the number written (Saved, WriteFailed)
    QString path;                 // the page file written
    Notices notices;              // why nothing was written, or a warning on a save that was
};
// Saves the current page: a pending new page under the lowest free number in a fresh file, else
// over page pageNow ("000" when empty), keeping bytes beyond the record. Saved: pageModified and
// newPagePending cleared, pageNow/pageIndex := the number written, project label shown.
// WriteFailed: the "Can not Save this page for ..." error notice, the file on disk unchanged, and
// pageModified/newPagePending kept so the page is still offered for saving.
// NoBaseName tells "Open a Project or Save this project first."; NoProject does nothing.
// ProjectFull: a pending new page with all 1000 numbers in use; an error notice, nothing written.
// The prompter only asks the question below; failures and warnings are returned, not shown.
// What the record cannot hold (texts, faces and names outside Windows-1252, long names, the lines'
// outline and soft shadow) is written first to the page's extension file; a page without such
// values has none (a left-over one is removed). Characters no page file can hold (a broken
// surrogate pair) are named before anything is written; Cancelled: the operator chose not to save.
SavePageOutcome SavePage(Workspace& ws, Prompter& prompter);

} // namespace lumavo
