#include "app/app_shell.h"

#include "app/editor_model.h"
#include "storage/page_file.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QPoint>
#include <QSysInfo>
#include <QUrl>
#include <algorithm>
#include <QVersionNumber>

namespace lumavo {

QString platformName()
{
    QString name = QSysInfo::kernelType();
    if (name.isEmpty())
        return QSysInfo::productType();
    name[0] = name[0].toUpper();
    return name;
}

void prepareStartup(Workspace& ws)
{
    ws.editor.settingsRead = false;
    ws.project.projectDir.clear();
    ws.versionText = QStringLiteral("01.30");
    ws.osName = platformName();
    setCountDown(ws, false);
    setColorBars(ws, false);
    ws.project.colorBarTime = 10;
    ws.project.smoothEdges = true; // the unnamed project at start is a new one
}

bool copyHelpPages(const QString& source, const QString& target)
{
    QDir().mkpath(target);
    bool copied = QFileInfo::exists(source + QStringLiteral("/index.html"));
    QDirIterator files(source, QDir::Files);
    while (copied && files.hasNext()) {
        const QString from = files.next();
        const QString destination = target + QLatin1Char('/') + files.fileName();
        QFile::remove(destination);
        copied = QFile::copy(from, destination);
    }
    return copied;
}

std::optional<QString> runtimeVersionMessage(const QString& runtimeVersion, const QString& builtVersion)
{
    const QVersionNumber runtime = QVersionNumber::fromString(runtimeVersion);
    const QVersionNumber built = QVersionNumber::fromString(builtVersion);
    if (!runtime.isNull() && runtime >= built)
        return std::nullopt;
    return QStringLiteral("You need to upgrade the Qt libraries to version %1 or higher to prevent "
                          "memory problems.\nContact your distribution for this free upgrade.")
        .arg(builtVersion);
}

DisplayCaps displayCapsForDepth(int bitsPerPixel)
{
    DisplayCaps caps;
    caps.bitsPerPixel = bitsPerPixel;
    caps.colorResolution = bitsPerPixel > 24 ? 24 : bitsPerPixel;
    if (bitsPerPixel <= 8) {
        caps.paletteSize = 1 << bitsPerPixel;
        caps.reservedPaletteEntries = bitsPerPixel == 8 ? 20 : 0;
    }
    return caps;
}

std::int32_t displayCapability(int which, const DisplayCaps& caps)
{
    switch (which) {
    case 0: return caps.bitsPerPixel;
    case 1: return caps.colorResolution;
    case 2: return caps.paletteSize;
    case 3: return caps.reservedPaletteEntries;
    default: return 0;
    }
}

WindowPlacement keepOnScreens(const WindowPlacement& placement, const QList<QRect>& available,
                              const QRect& primary)
{
    // Stored values may be anything: held far inside int so that the rectangle's edges cannot
    // overflow (a desktop is never a million pixels wide).
    static constexpr int kLimit = 1 << 20;
    const auto held = [](int value, int low) { return std::clamp(value, low, kLimit); };
    const QRect window(held(placement.left, -kLimit), held(placement.top, -kLimit), held(placement.width, 0),
                       held(placement.height, 0));
    // A window of no size is judged by its top-left corner.
    const QRect probe = window.isEmpty() ? QRect(window.topLeft(), QSize(1, 1)) : window;
    for (const QRect& area : available) {
        if (area.intersects(probe))
            return placement;
    }
    WindowPlacement moved = placement;
    moved.left = primary.left();
    moved.top = primary.top();
    return moved;
}

WindowPlacement fitMainWindow(const WindowPlacement& stored, const QList<QRect>& available, const QRect& primary)
{
    WindowPlacement fitted = keepOnScreens(stored, available, primary);
    if (fitted.width <= 0)
        fitted.width = kMainWindowWidth;
    if (fitted.height <= 0)
        fitted.height = kMainWindowHeight;
    // The area the window's top-left corner is judged by; the primary one when it is on none.
    QRect area = primary;
    const QRect corner(fitted.left, fitted.top, 1, 1);
    for (const QRect& candidate : available) {
        if (candidate.intersects(corner)) {
            area = candidate;
            break;
        }
    }
    if (area.isValid()) {
        // A window as large as the area (or shrunk to it) is moved wholly onto it.
        const auto onto = [](int start, int size, int areaStart, int areaSize) {
            return size >= areaSize ? areaStart : std::clamp(start, areaStart, areaStart + areaSize - size);
        };
        if (fitted.width >= area.width()) {
            fitted.width = std::min(fitted.width, std::max(area.width(), kMainWindowMinWidth));
            fitted.left = onto(fitted.left, fitted.width, area.left(), area.width());
        }
        if (fitted.height >= area.height()) {
            fitted.height = std::min(fitted.height, std::max(area.height(), kMainWindowMinHeight));
            fitted.top = onto(fitted.top, fitted.height, area.top(), area.height());
        }
    }
    fitted.width = std::max(fitted.width, kMainWindowMinWidth);
    fitted.height = std::max(fitted.height, kMainWindowMinHeight);
    return fitted;
}

namespace {

bool anyTitleTyped(const PageFields& page)
{
    for (int n = 1; n <= kLineCount; ++n) {
        if (page.line(n).titleValid)
            return true;
    }
    return false;
}

} // namespace

CloseOutcome closeQuery(Workspace& ws, Prompter& prompter, const ProjectSaveInfo& info)
{
    if (!ws.editor.pageModified)
        return {};
    const bool noProject = ws.project.projectName.isEmpty();
    if (noProject && !anyTitleTyped(ws.page))
        return {};
    const QString question =
        noProject ? QStringLiteral("Save this project first?") : QStringLiteral("Save current page first?");
    switch (prompter.confirm(question, true)) {
    case Answer::Cancel:
        return {CloseVerdict::StayOpen, {}};
    case Answer::No:
        return {};
    case Answer::Yes:
        break;
    }
    if (noProject) {
        SaveProjectOutcome project = SaveProject(ws, prompter, info);
        if (project.status != SaveProjectStatus::Saved)
            return {CloseVerdict::StayOpen, std::move(project.notices)};
    }
    SavePageOutcome saved = SavePage(ws, prompter);
    const bool kept = saved.status == SavePageStatus::WriteFailed || saved.status == SavePageStatus::Cancelled;
    return {kept ? CloseVerdict::StayOpen : CloseVerdict::Close, std::move(saved.notices)};
}

QPoint placeBeside(const QRect& window, const QSize& size, const QRect& area)
{
    const auto within = [](int start, int length, int areaStart, int areaLength) {
        return std::max(areaStart, std::min(start, areaStart + areaLength - length));
    };
    const int top = within(window.top(), size.height(), area.top(), area.height());
    const int left = within(window.left(), size.width(), area.left(), area.width());
    if (window.right() + 1 + size.width() <= area.right() + 1)
        return {window.right() + 1, top};
    if (window.left() - size.width() >= area.left())
        return {window.left() - size.width(), top};
    if (window.bottom() + 1 + size.height() <= area.bottom() + 1)
        return {left, window.bottom() + 1};
    if (window.top() - size.height() >= area.top())
        return {left, window.top() - size.height()};
    return {area.right() + 1 - size.width(), area.top()};
}

QString projectArgument(const QStringList& arguments, const QString& workingDir)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument.isEmpty() || argument.startsWith(u'-'))
            continue;
        const QUrl url(argument);
        const QString path = url.isLocalFile() ? url.toLocalFile() : argument;
        return QDir::cleanPath(QDir(workingDir).absoluteFilePath(path));
    }
    return {};
}

} // namespace lumavo
