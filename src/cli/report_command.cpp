#include "cli/commands.h"

#include "platform/silent_prompter.h"
#include "storage/project.h"
#include "storage/report.h"

#include <QFileInfo>
#include <cstdio>

namespace lumavo::cli {

namespace {

constexpr const char* kReportUsage = "usage: report PROJECTFILE --pdf OUT.pdf [--page-size NAME]";


} // namespace

int runReport(const QStringList& args)
{
    QString project;
    QString pdf;
    QString sizeName = QStringLiteral("A4");
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& word = args[i];
        if ((word == "--pdf" || word == "--page-size") && i + 1 < args.size()) {
            (word == "--pdf" ? pdf : sizeName) = args[++i];
        } else if (!word.startsWith("--") && project.isEmpty()) {
            project = word;
        } else {
            return fail(kReportUsage, kExitUsage);
        }
    }
    if (project.isEmpty() || pdf.isEmpty())
        return fail(kReportUsage, kExitUsage);
    const auto pageSize = reportPageSize(sizeName);
    if (!pageSize)
        return fail("unknown page size: " + sizeName, kExitUsage);

    Workspace ws;
    SilentPrompter prompter(Answer::Cancel, true);
    const OpenProjectOutcome opened = OpenProject(ws, QFileInfo(project).absoluteFilePath());
    showNotices(prompter, opened.notices);
    if (!opened.projectFileRead)
        return fail("cannot read project " + project);
    const ReportOutcome outcome = writeProjectReportPdf(ws, prompter, pdf, *pageSize);
    showNotices(prompter, outcome.notices);
    if (outcome.status != ReportStatus::Printed)
        return fail(outcome.detail.isEmpty() ? "cannot write " + pdf : outcome.detail);
    return kExitOk;
}

} // namespace lumavo::cli
