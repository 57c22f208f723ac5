#include "cli/commands.h"

#include "compose/title_composer.h"
#include "export/exporter.h"
#include "platform/silent_prompter.h"
#include "storage/page_file.h"
#include "storage/project.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QRegularExpression>
#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace lumavo::cli {

namespace {

constexpr const char* kExportUsage =
    "usage: export PROJECTFILE --out FILE [--page NNN | --all] [--size WxH] [--fps R] [--passes N] "
    "[--hold SECONDS] [--key-only] [--crf N] [--prores 4444|4444xq|422hq] [--replace] [--row N]";

// The signal that asked the export to stop (SIGINT or SIGTERM), 0 while none has.
volatile std::sig_atomic_t stopSignal = 0;

extern "C" void askToStop(int signal)
{
    stopSignal = signal;
}

// While it lives, SIGINT and SIGTERM ask the export to stop instead of killing the process, so
// that it removes its partial files; the old handlers come back afterwards.
class StopOnSignals {
public:
    StopOnSignals()
    {
        stopSignal = 0;
        struct sigaction action {};
        action.sa_handler = &askToStop;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGINT, &action, &oldInt_);
        ::sigaction(SIGTERM, &action, &oldTerm_);
    }
    ~StopOnSignals()
    {
        ::sigaction(SIGINT, &oldInt_, nullptr);
        ::sigaction(SIGTERM, &oldTerm_, nullptr);
    }
    StopOnSignals(const StopOnSignals&) = delete;
    StopOnSignals& operator=(const StopOnSignals&) = delete;

private:
    struct sigaction oldInt_ {};
    struct sigaction oldTerm_ {};
};

struct ExportArgs {
    QString project;
    QString page;
    QString size;
    QString fps;
    QString passes;
    QString hold;
    QString crf;
    QString proRes;
    QString row;
    ExportSettings settings;
};

std::optional<ExportArgs> parseExportArgs(const QStringList& args)
{
    ExportArgs parsed;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& word = args[i];
        QString* target = word == "--out" ? &parsed.settings.destination
            : word == "--page"            ? &parsed.page
            : word == "--size"            ? &parsed.size
            : word == "--fps"             ? &parsed.fps
            : word == "--passes"          ? &parsed.passes
            : word == "--hold"            ? &parsed.hold
            : word == "--crf"             ? &parsed.crf
            : word == "--prores"          ? &parsed.proRes
            : word == "--row"             ? &parsed.row
                                          : nullptr;
        if (target != nullptr && i + 1 < args.size())
            *target = args[++i];
        else if (word == "--all")
            parsed.settings.allPages = true;
        else if (word == "--key-only")
            parsed.settings.keyOnly = true;
        else if (word == "--replace")
            parsed.settings.replaceSequence = true;
        else if (!word.startsWith("--") && parsed.project.isEmpty())
            parsed.project = word;
        else
            return std::nullopt;
    }
    if (parsed.project.isEmpty() || parsed.settings.destination.isEmpty()
        || (parsed.settings.allPages && !parsed.page.isEmpty()))
        return std::nullopt;
    return parsed;
}

// Reads the number options into the settings; an empty string when they are all well formed.
QString readNumbers(ExportArgs& a)
{
    ExportSettings& s = a.settings;
    if (!a.size.isEmpty()) {
        const auto m = QRegularExpression(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$")).match(a.size);
        if (!m.hasMatch())
            return QStringLiteral("bad --size \"%1\": use WxH, such as 1920x1080").arg(a.size);
        s.size = {m.captured(1).toInt(), m.captured(2).toInt()};
    }
    if (!a.fps.isEmpty()) {
        const auto rate = parseFrameRate(a.fps);
        if (!rate)
            return QStringLiteral("bad --fps \"%1\": use 23.976, 24, 25, 29.97, 30, 50, 59.94 or 60").arg(a.fps);
        s.rate = *rate;
    }
    bool ok = true;
    if (!a.passes.isEmpty() && ((s.passes = a.passes.toInt(&ok)), !ok))
        return QStringLiteral("bad --passes \"%1\"").arg(a.passes);
    if (!a.hold.isEmpty() && ((s.holdSeconds = a.hold.toDouble(&ok)), !ok))
        return QStringLiteral("bad --hold \"%1\"").arg(a.hold);
    if (!a.crf.isEmpty() && ((s.crf = a.crf.toInt(&ok)), !ok))
        return QStringLiteral("bad --crf \"%1\"").arg(a.crf);
    if (s.passes > 1 && !s.allPages)
        return QStringLiteral("--passes %1 plays the whole project: add --all").arg(s.passes);
    if (a.proRes == "4444xq")
        s.proRes = ProResProfile::P4444XQ;
    else if (a.proRes == "422hq")
        s.proRes = ProResProfile::P422HQ;
    else if (!a.proRes.isEmpty() && a.proRes != "4444")
        return QStringLiteral("bad --prores \"%1\": use 4444, 4444xq or 422hq").arg(a.proRes);
    if (!a.page.isEmpty() && !QRegularExpression(QStringLiteral("^\\d{3}$")).match(a.page).hasMatch())
        return QStringLiteral("bad page number \"%1\": use three digits, 000 to 999").arg(a.page);
    return validateExportSettings(s);
}

} // namespace

int runExport(const QStringList& args)
{
    auto parsed = parseExportArgs(args);
    if (!parsed)
        return fail(kExportUsage, kExitUsage);
    if (const QString problem = readNumbers(*parsed); !problem.isEmpty())
        return fail(problem);

    Workspace ws;
    SilentPrompter prompter;
    const OpenProjectOutcome opened = OpenProject(ws, QFileInfo(parsed->project).absoluteFilePath());
    showNotices(prompter, opened.notices);
    if (!opened.projectFileRead)
        return fail(QStringLiteral("cannot read project ") + parsed->project);
    if (!parsed->page.isEmpty()) {
        prompter.shown.clear();
        ws.project.pageNow = parsed->page;
        const LoadPageOutcome loaded = LoadPage(ws, ws.project.projectName, parsed->page);
        showNotices(prompter, loaded.notices);
        if (!loaded.loaded) {
            const QString detail = prompter.shown.isEmpty() ? QStringLiteral("no such page") : prompter.shown.front();
            return fail(QStringLiteral("cannot load page %1: %2").arg(parsed->page, detail));
        }
    }

    if (const QString problem = selectDataRow(ws, parsed->row); !problem.isEmpty())
        return fail(problem);

    const bool showProgress = isatty(STDERR_FILENO) != 0;
    QElapsedTimer timer;
    timer.start();
    const ExportProgress progress = [&](std::int64_t done, std::int64_t total) {
        if (showProgress && (done % 15 == 0 || done == total)) {
            const double seconds = std::max(timer.elapsed(), qint64{1}) / 1000.0;
            const double fps = done / seconds;
            const double left = fps > 0 ? (total - done) / fps : 0;
            std::fprintf(stderr, "\r%3d%%  frame %lld of %lld  %.0f fps  %.0f s left   ",
                         total > 0 ? static_cast<int>(100 * done / total) : 100, static_cast<long long>(done),
                         static_cast<long long>(total), fps, left);
        }
        return stopSignal == 0;
    };
    const StopOnSignals stopOnSignals;
    const ExportResult result = exportVideo(ws, parsed->settings, &composeTitle, progress);
    if (showProgress)
        std::fputs("\n", stderr);
    if (result.cancelled && stopSignal != 0)
        return 128 + stopSignal;   // as the shell reports a process the signal ended
    for (const QString& message : result.pageMessages)
        std::fprintf(stderr, "lumavo-cli: %s\n", message.toLocal8Bit().constData());
    if (!result.ok)
        return fail(result.message);
    return kExitOk;
}

} // namespace lumavo::cli
