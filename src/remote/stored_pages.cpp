#include "remote/stored_pages.h"

#include "app/editor_model.h"
#include "platform/silent_prompter.h"
#include "storage/page_file.h"
#include "storage/project.h"

#include <memory>

namespace lumavo {

namespace {

QString firstNotice(const Notices& notices, const QString& fallback)
{
    return notices.empty() ? fallback : notices.front().error.simplified();
}

bool holdsPage(const Workspace& ws, const QString& number)
{
    return !ws.editor.newPagePending && ws.project.pageNow == number;
}

} // namespace

bool loadStoredPage(const ProjectState& project, const QString& number, Workspace& into)
{
    if (project.projectName.isEmpty() || !pageExists(project.projectDir, StripTLP(project.projectName), number))
        return false;
    into.project = project;
    into.project.pageNow = number;
    return LoadPage(into, project.projectName, number).loaded;
}

QList<PageSummary> storedPageSummaries(const ProjectState& project)
{
    QList<PageSummary> pages;
    if (project.projectName.isEmpty())
        return pages;
    const QString last = lastPageNumber(project.projectDir, StripTLP(project.projectName));
    if (last == QStringLiteral("NEW"))
        return pages;
    auto scratch = std::make_unique<Workspace>();
    for (int n = 0; n <= last.toInt(); ++n) {
        const QString number = pageNumberText(n);
        if (!loadStoredPage(project, number, *scratch))
            continue;
        pages << PageSummary{number, {scratch->page.line(1).text, scratch->page.line(2).text, scratch->page.line(3).text}};
    }
    return pages;
}

RemoteOutcome setStoredLineText(Workspace& ws, const QString& number, int line, const QString& text)
{
    if (line < 1 || line > kLineCount)
        return RemoteOutcome::refused(400, QStringLiteral("title lines are 1, 2 and 3"));
    const bool held = holdsPage(ws, number);
    if (held && ws.editor.pageModified)
        return RemoteOutcome::refused(409, QStringLiteral("page %1 has unsaved changes in the editor; save or "
                                                          "discard them first").arg(number));
    std::unique_ptr<Workspace> scratch;
    Workspace* target = &ws;
    if (!held) {
        scratch = std::make_unique<Workspace>();
        if (!loadStoredPage(ws.project, number, *scratch))
            return RemoteOutcome::refused(404, QStringLiteral("no page %1 in this project").arg(number));
        target = scratch.get();
    } else if (!pageExists(ws.project.projectDir, StripTLP(ws.project.projectName), number)) {
        return RemoteOutcome::refused(404, QStringLiteral("page %1 is not saved yet").arg(number));
    }
    editTextChanged(*target, line, text);
    SilentPrompter quiet;
    const SavePageOutcome saved = SavePage(*target, quiet);
    if (saved.status != SavePageStatus::Saved)
        return RemoteOutcome::refused(500, firstNotice(saved.notices, QStringLiteral("page %1 could not be saved").arg(number)));
    // Saved, with what the save warned about (text the page format cannot hold) passed on.
    QStringList warnings;
    for (const Result& notice : saved.notices)
        warnings << notice.error;
    return RemoteOutcome{200, warnings.join(u' ').simplified()};
}

} // namespace lumavo
