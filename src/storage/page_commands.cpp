#include "storage/page_commands.h"

#include "storage/file_lookup.h"
#include "storage/page_extension.h"
#include "storage/page_edits.h"
#include "storage/page_file.h"

#include <QFile>
#include <QFileInfo>

namespace lumavo {

void Initiate(Workspace& ws)
{
    for (TitleLine& line : ws.page.lines) {
        line.fontName = QStringLiteral("Arial");
        line.fontSize = 40;
        line.shadowOn = false;
        line.fontColor = 0xFFFFFF;
        line.shadowColor = 0xC0C0C0;
    }
    ws.editor.alignActive = false;
    ws.editor.titleNum = 1;
    ws.page.pauseSecs = 0;
    ws.page.movementDelay = 0;
    ws.page.mpause = false;
    for (TitleLine& line : ws.page.lines) {
        line.text.clear();
        line.bitmapFile.clear();
        line.titleValid = false;
        line.inDir = 5;
        line.outDir = 6;
        line.gradColor = 0xFFFFFF;
        line.gradOn = false;
    }
}

void clearDrawnPath(DrawnPath& path)
{
    path.count = -1;
    path.points.fill(PathPoint{});
}

void makenewpage(Workspace& ws)
{
    for (int k = 1; k <= kLineCount; ++k) {
        clearDrawnPath(ws.stage.inPath(k));
        clearDrawnPath(ws.stage.outPath(k));
    }
    for (TitleLine& line : ws.page.lines)
        line.titleValid = false;
}

SaveOffer offerToSaveCurrentPage(Workspace& ws, Prompter& prompter, bool withCancel)
{
    if (!ws.editor.pageModified && !ws.editor.newPagePending)
        return {};
    switch (prompter.confirm(QStringLiteral("Save current page?"), withCancel)) {
    case Answer::Cancel:
        return {false, {}};
    case Answer::No:
        return {};
    case Answer::Yes:
        break;
    }
    SavePageOutcome saved = SavePage(ws, prompter);
    const bool kept = saved.status != SavePageStatus::WriteFailed && saved.status != SavePageStatus::Cancelled;
    return {kept, std::move(saved.notices)};
}

namespace {

// Runs `command` once "Save current page?" lets it go on; the save's notices come first.
template <typename Command>
EditorActions afterSaveOffer(Workspace& ws, Prompter& prompter, Command&& command)
{
    SaveOffer offer = offerToSaveCurrentPage(ws, prompter);
    EditorActions actions;
    if (offer.goOn)
        actions = command();
    actions.notices.insert(actions.notices.begin(), offer.notices.begin(), offer.notices.end());
    return actions;
}

// A new project has no name, no folder and no pages: the first save writes page 000 of the
// project the user names then.
void startNewProject(Workspace& ws, const QString& pageLabel)
{
    ws.project.projectName.clear();
    ws.project.projectDir.clear();
    ws.project.projectFile.clear();
    ws.project.dataFile.clear();
    ws.project.smoothEdges = true; // new projects draw smooth titles
    ws.project.pageNow = QStringLiteral("000");
    ws.project.pageIndex = 0;
    Initiate(ws);
    ShowProjectLabel(ws, QString(), pageLabel);
    ws.editor.newPagePending = false;
    makenewpage(ws);
    pageReplaced(ws);
}

} // namespace

EditorActions newProjectFromMenu(Workspace& ws)
{
    startNewProject(ws, QStringLiteral("NEW"));
    EditorActions actions;
    actions.showPage = true;
    actions.clearPreviews = true;
    actions.showPageNumber = true;
    return actions;
}

EditorActions newProjectFromMenu(Workspace& ws, Prompter& prompter)
{
    return afterSaveOffer(ws, prompter, [&] { return newProjectFromMenu(ws); });
}

EditorActions newProjectFromTool(Workspace& ws)
{
    startNewProject(ws, QStringLiteral("000"));
    EditorActions actions;
    actions.showPage = true;
    actions.clearPreviews = true;
    actions.showPageNumber = true;
    actions.enableNewAndCopy = false;
    return actions;
}

EditorActions newProjectFromTool(Workspace& ws, Prompter& prompter)
{
    return afterSaveOffer(ws, prompter, [&] { return newProjectFromTool(ws); });
}

namespace {

// OpenProject of a file the operator named; the page just opened is unmodified.
EditorActions openChosenProject(Workspace& ws, const QString& path)
{
    const OpenProjectOutcome opened = OpenProject(ws, path);
    if (!opened.pageLoaded)
        pageReplaced(ws);
    EditorActions actions;
    actions.notices = opened.notices;
    actions.enableProjectTools = true;
    actions.enableNewAndCopy = true;
    actions.showPage = opened.pageLoaded;
    actions.showPageNumber = opened.pageLoaded;
    return actions;
}

} // namespace

EditorActions openProjectCommand(Workspace& ws, Prompter& prompter)
{
    FileDialogOptions options;
    options.filter = QStringLiteral("TLP Title Project (*.TLP *.tlp)");
    options.defaultSuffix = QStringLiteral("tlp");
    options.directory = ws.project.projectDir;
    return afterSaveOffer(ws, prompter, [&] {
        const auto chosen = prompter.openFileName(options);
        return chosen && !chosen->isEmpty() ? openChosenProject(ws, *chosen) : EditorActions{};
    });
}

EditorActions openProjectFile(Workspace& ws, Prompter& prompter, const QString& path)
{
    if (!QFileInfo(path).isFile()) {
        EditorActions refused;
        refused.notices.push_back(Result::failure(QStringLiteral("The project file %1 does not exist.").arg(path)));
        return refused;
    }
    return afterSaveOffer(ws, prompter, [&] { return openChosenProject(ws, path); });
}

EditorActions saveProjectCommand(Workspace& ws, Prompter& prompter, const ProjectSaveInfo& info,
                                 bool fromToolButton)
{
    EditorActions actions;
    actions.notices = SaveProject(ws, prompter, info).notices;
    if (fromToolButton)
        actions.enableNewAndCopy = true;
    return actions;
}

namespace {

// Marks the page as pending under the panel text `label`; when a page is already pending it only
// shows "Current". Returns whether a new pending page was started.
bool startPendingPage(Workspace& ws, const QString& label, EditorActions& actions)
{
    if (ws.editor.newPagePending) {
        ws.status.panel[2] = QStringLiteral("Current");
        return false;
    }
    ws.editor.newPagePending = true;
    ws.status.panel[2] = label;
    actions.enableNewAndCopy = false;
    return true;
}

} // namespace

EditorActions newPage(Workspace& ws)
{
    EditorActions actions;
    startPendingPage(ws, QStringLiteral("New Page"), actions);
    makenewpage(ws);
    Initiate(ws);
    pageReplaced(ws);
    actions.showPage = true;
    actions.clearPreviews = true;
    return actions;
}

EditorActions copyPage(Workspace& ws)
{
    EditorActions actions;
    startPendingPage(ws, QStringLiteral("Copy Page"), actions);
    return actions;
}

namespace {

// True when a new page could not be saved because every number is in use.
bool projectIsFull(const Workspace& ws)
{
    return !ws.editor.newPagePending && !ws.project.projectName.isEmpty() &&
           !nextFreePageNumber(ws.project.projectDir, StripTLP(ws.project.projectName));
}

EditorActions refusedAsFull()
{
    EditorActions refused;
    refused.notices.push_back(Result::failure(kProjectFullMessage));
    return refused;
}

} // namespace

EditorActions newPageCommand(Workspace& ws, Prompter& prompter)
{
    if (projectIsFull(ws))
        return refusedAsFull();
    if (!ws.editor.pageModified)
        return newPage(ws);
    return afterSaveOffer(ws, prompter, [&] { return newPage(ws); });
}

EditorActions copyPageCommand(Workspace& ws)
{
    return projectIsFull(ws) ? refusedAsFull() : copyPage(ws);
}

EditorActions savePageCommand(Workspace& ws, Prompter& prompter, bool fromToolButton)
{
    EditorActions actions;
    if (fromToolButton && ws.project.projectName.isEmpty()) {
        actions.notices.push_back(
            Result::failure(QStringLiteral("Save Project first, than add New pages."), MessageIcon::Information));
        return actions;
    }
    SavePageOutcome saved = SavePage(ws, prompter);
    // The page may have been saved under a new number: the tool bar shows the number saved.
    actions.showPageNumber = saved.status == SavePageStatus::Saved;
    actions.notices = std::move(saved.notices);
    if (fromToolButton)
        actions.enableNewAndCopy = true;
    return actions;
}

namespace {

// D Pg on a page that was never saved: after the question, the pending page is dropped and the
// editor shows the stored page it was started from (as after a deletion). Nothing stored is touched.
DeletePageOutcome discardPendingPage(Workspace& ws, Prompter& prompter)
{
    if (prompter.confirm(kDiscardPendingPageQuestion, false, MessageIcon::Warning) != Answer::Yes)
        return {};
    ws.status.panel[2] = QStringLiteral("Current");
    return {true, showPageAfterDelete(ws, ws.project.pageIndex)};
}

} // namespace

DeletePageOutcome deletePage(Workspace& ws, Prompter& prompter)
{
    ProjectState& project = ws.project;
    if (ws.editor.newPagePending)
        return discardPendingPage(ws, prompter);
    DeletePageOutcome outcome;
    if (project.projectName.isEmpty())
        return outcome;
    const QString base = StripTLP(project.projectName);
    const QString file = findPageFile(project.projectDir, base, project.pageNow);
    if (file.isEmpty())
        return outcome;
    const QString question = QStringLiteral("ARE YOU SURE? Delete Page ") + project.pageNow +
                             QStringLiteral(" of ") + base;
    if (prompter.confirm(question, false, MessageIcon::Warning) != Answer::Yes)
        return outcome;
    project.projectName = base;
    if (!QFile::remove(file)) {
        outcome.notices.push_back(Result::failure(QStringLiteral("File I/O error, page not deleted.")));
        return outcome;
    }
    // Left behind, the extension would be taken for the page that moves into this number.
    if (const Result removed = removePageExtension(file); !removed.ok)
        outcome.notices.push_back(Result::failure(removed.error, MessageIcon::Warning));
    const int deleted = project.pageNow.toInt();
    renumberfrompg(ws, deleted, project.projectName);
    const Notices shown = showPageAfterDelete(ws, deleted);
    outcome.notices.insert(outcome.notices.end(), shown.begin(), shown.end());
    outcome.removed = true;
    return outcome;
}

Notices showPageAfterDelete(Workspace& ws, int deletedPage)
{
    Notices notices;
    // The editor must never keep the deleted page's fields under another page's number: it shows
    // the page that moved into the slot, else the one before it, else an empty page 000.
    ProjectState& project = ws.project;
    const QString base = StripTLP(project.projectName);
    ws.editor.newPagePending = false;
    for (int n : {deletedPage, deletedPage - 1}) {
        if (n < 0 || !pageExists(project.projectDir, base, pageNumberText(n)))
            continue;
        project.pageNow = pageNumberText(n);
        project.pageIndex = n;
        LoadPageOutcome loaded = LoadPage(ws, project.projectName, project.pageNow);
        notices.insert(notices.end(), loaded.notices.begin(), loaded.notices.end());
        if (loaded.loaded)
            return notices;
    }
    project.pageNow = QStringLiteral("000");
    project.pageIndex = 0;
    Initiate(ws);
    makenewpage(ws);
    pageReplaced(ws);
    // Page 000 there but unreadable: save nothing over it by accident.
    if (pageExists(project.projectDir, base, project.pageNow))
        ws.editor.newPagePending = true;
    return notices;
}

EditorActions deletePageCommand(Workspace& ws, Prompter& prompter)
{
    DeletePageOutcome deleted = deletePage(ws, prompter);
    EditorActions actions;
    actions.notices = std::move(deleted.notices);
    if (!deleted.removed)
        return actions;
    actions.showPage = true;
    actions.showPageNumber = true;
    actions.clearPreviews = !ws.editor.pageLoaded;
    actions.enableNewAndCopy = true;   // no page is pending any more
    return actions;
}

int renumberfrompg(Workspace& ws, int deletedPage, const QString& base)
{
    const QString& dir = ws.project.projectDir;
    DirectoryIndex index(dir);
    int moved = 0;
    for (int n = deletedPage + 1; n < kPageCount; ++n) {
        const QString from = index.find(base + u'.' + pageNumberText(n));
        if (from.isEmpty())
            break;
        // The moved file keeps the letter case of its own name; only the number changes.
        const QString fromName = QFileInfo(from).fileName();
        const QString toName = fromName.left(fromName.size() - 3) + pageNumberText(n - 1);
        const QString to = from.left(from.size() - fromName.size()) + toName;
        if (!QFile::rename(from, to))
            break;
        // A page whose extension stays behind still loads, with "?" for what only it held.
        movePageExtension(from, to);
        index.noteRenamed(fromName, toName);
        ShowProjectLabel(ws, base, pageNumberText(n - 1));
        ++moved;
    }
    return moved;
}

namespace {

EditorActions stepToPage(Workspace& ws, PageStep step)
{
    ProjectState& project = ws.project;
    const int heldIndex = project.pageIndex;
    const QString heldNumber = project.pageNow;
    // There is no page after 999: stepping on would name a page number of four digits.
    EditorActions actions;
    if (step == PageStep::Next && heldIndex >= kPageCount - 1)
        return actions;
    const int delta = step == PageStep::Next ? 1 : -1;
    const QString base = StripTLP(project.projectName);
    for (int n = std::max(0, heldIndex + delta); n >= 0 && n < kPageCount; n += delta) {
        project.pageNow = pageNumberText(n);
        const bool exists = pageExists(project.projectDir, base, project.pageNow);
        LoadPageOutcome loaded = LoadPage(ws, project.projectName, project.pageNow);
        actions.notices.insert(actions.notices.end(), loaded.notices.begin(), loaded.notices.end());
        if (loaded.loaded) {
            actions.showPage = true;
            actions.showPageNumber = true;
            return actions;
        }
        if (!exists)
            break;   // no page there
        // A page that exists but cannot be read is stepped over, never saved over.
    }
    // The page shown keeps its number, so a save goes back to it.
    project.pageIndex = heldIndex;
    project.pageNow = heldNumber;
    return actions;
}

} // namespace

EditorActions PagePointerClick(Workspace& ws, Prompter& prompter, PageStep step)
{
    return afterSaveOffer(ws, prompter, [&] { return stepToPage(ws, step); });
}

} // namespace lumavo
