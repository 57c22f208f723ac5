#include "cli/commands.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace lumavo::cli {

int fail(const QString& message, int code)
{
    std::fprintf(stderr, "lumavo-cli: %s\n", message.toLocal8Bit().constData());
    return code;
}

} // namespace lumavo::cli

namespace {

const char* const kUsage =
    "usage: lumavo-cli COMMAND ...\n"
    "  effect filter IN OUT [--bits 24|32]\n"
    "  effect gradient IN OUT --start 0xBBGGRR --end 0xBBGGRR [--bits 24|32]\n"
    "  page dump PAGEFILE\n"
    "  page write JSONFILE PAGEFILE\n"
    "  project info PROJECTFILE\n"
    "  compose PROJECTFILE --page NNN --line K --out FILE [--align] [--bits 24|32]\n"
    "  motion in|out --code N --size WxH --rest L,T --screen WxH [--delay D] [--fade F] [--easy]\n"
    "         [--path PATHFILE]\n"
    "  report PROJECTFILE --pdf OUT.pdf [--page-size NAME]\n"
    "  export PROJECTFILE --out FILE [--page NNN | --all] [--size WxH] [--fps R] [--passes N]\n"
    "         [--hold SECONDS] [--key-only] [--crf N]\n";

} // namespace

int main(int argc, char** argv)
{
    // Fonts and images need a GUI application object, but never a display.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Without a session (a cron job, a container), Qt would warn on stderr about the missing
    // runtime directory; stderr is kept for the command's own one-line errors.
    if (std::getenv("XDG_RUNTIME_DIR") == nullptr) {
        const std::string dir = "/tmp/lumavo-runtime-" + std::to_string(getuid());
        mkdir(dir.c_str(), 0700);
        struct stat info {};
        if (stat(dir.c_str(), &info) == 0 && info.st_uid == getuid() && (info.st_mode & 0077) == 0)
            setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    }
    QGuiApplication app(argc, argv);

    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty() || args.front() == "--help" || args.front() == "-h") {
        std::fputs(kUsage, args.isEmpty() ? stderr : stdout);
        return args.isEmpty() ? lumavo::cli::kExitUsage : lumavo::cli::kExitOk;
    }
    using Command = std::function<int(const QStringList&)>;
    const std::map<QString, Command> commands = {
        {"effect", lumavo::cli::runEffect},   {"page", lumavo::cli::runPage},
        {"project", lumavo::cli::runProject}, {"compose", lumavo::cli::runCompose},
        {"motion", lumavo::cli::runMotion},   {"report", lumavo::cli::runReport},
        {"export", lumavo::cli::runExport},
    };
    const QString name = args.takeFirst();
    const auto it = commands.find(name);
    if (it == commands.end()) {
        std::fputs(kUsage, stderr);
        return lumavo::cli::fail("unknown command: " + name, lumavo::cli::kExitUsage);
    }
    return it->second(args);
}
