#include "cli/commands.h"

#include "compose/title_composer.h"
#include "platform/silent_prompter.h"
#include "storage/page_file.h"
#include "storage/project.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace lumavo::cli {

namespace {

constexpr const char* kComposeUsage =
    "usage: compose PROJECTFILE --page NNN --line K --out FILE [--align] [--bits 24|32] [--row N]";

struct ComposeArgs {
    QString project;
    QString page;
    QString line;
    QString out;
    QString bits = QStringLiteral("24");
    QString row;
    bool align = false;
};

// nullopt for words that do not make a compose command line.
std::optional<ComposeArgs> parseComposeArgs(const QStringList& args)
{
    ComposeArgs parsed;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& word = args[i];
        QString* target = word == "--page" ? &parsed.page
            : word == "--line"             ? &parsed.line
            : word == "--out"              ? &parsed.out
            : word == "--bits"             ? &parsed.bits
            : word == "--row"              ? &parsed.row
                                           : nullptr;
        if (target != nullptr && i + 1 < args.size())
            *target = args[++i];
        else if (word == "--align")
            parsed.align = true;
        else if (!word.startsWith("--") && parsed.project.isEmpty())
            parsed.project = word;
        else
            return std::nullopt;
    }
    if (parsed.project.isEmpty() || parsed.page.isEmpty() || parsed.line.isEmpty() || parsed.out.isEmpty())
        return std::nullopt;
    return parsed;
}

} // namespace

int runCompose(const QStringList& args)
{
    const auto parsed = parseComposeArgs(args);
    if (!parsed)
        return fail(kComposeUsage, kExitUsage);
    if (!QRegularExpression(QStringLiteral("^\\d{3}$")).match(parsed->page).hasMatch())
        return fail(QStringLiteral("bad page number \"%1\": use three digits, 000 to 999").arg(parsed->page));
    bool lineOk = false;
    const int n = parsed->line.toInt(&lineOk);
    if (!lineOk || n < 1 || n > kLineCount)
        return fail(QStringLiteral("bad line \"%1\": use 1, 2 or 3").arg(parsed->line));
    if (parsed->bits != "24" && parsed->bits != "32")
        return fail(QStringLiteral("bad --bits value \"%1\": use 24 or 32").arg(parsed->bits));

    Workspace ws;
    SilentPrompter prompter;
    const OpenProjectOutcome opened = OpenProject(ws, QFileInfo(parsed->project).absoluteFilePath());
    showNotices(prompter, opened.notices);
    if (!opened.projectFileRead)
        return fail(QStringLiteral("cannot read project ") + parsed->project);
    prompter.shown.clear(); // the project opens on page 000; only the page asked for matters
    ws.project.pageNow = parsed->page;
    const LoadPageOutcome loaded = LoadPage(ws, ws.project.projectName, parsed->page);
    showNotices(prompter, loaded.notices);
    if (!loaded.loaded) {
        const QString detail = prompter.shown.isEmpty() ? QStringLiteral("no such page") : prompter.shown.front();
        return fail(QStringLiteral("cannot load page %1: %2").arg(parsed->page, detail));
    }

    if (const QString problem = selectDataRow(ws, parsed->row); !problem.isEmpty())
        return fail(problem);

    const TitleLine& line = ws.page.line(n);
    if (line.text.isEmpty() && line.bitmapFile.isEmpty())
        return fail(QStringLiteral("line %1 of page %2 is empty").arg(n).arg(parsed->page));
    const bool wide = parsed->bits == "32";
    const ComposeFormats formats{wide ? PixelFormat::Bits32 : PixelFormat::Bits24,
                                 wide ? PixelFormat::Bits32 : PixelFormat::Bits24, ws.project.smoothEdges};
    ws.editor.alignActive = parsed->align;
    const ComposedTitle title = composeShownLine(line, ws.dataRow, [&](const TitleLine& shown) {
        return composeTitle(shown, n, ws.stage.restOf(n), formats, parsed->align, ws.project.projectDir, Point{0, 0});
    });
    if (!title.ok)
        return fail(title.errorMessage.simplified());
    if (title.bitmap.isEmpty())
        return fail(QStringLiteral("line %1 of page %2 composes to an empty title").arg(n).arg(parsed->page));
    QString error;
    if (!title.bitmap.saveToFile(parsed->out, &error))
        return fail(error);
    return kExitOk;
}

} // namespace lumavo::cli
