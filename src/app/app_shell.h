#pragma once

#include "platform/prompter.h"
#include "storage/project.h"
#include "storage/settings_file.h"
#include "storage/workspace.h"

#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace lumavo {

inline const QString kMainCaption = QStringLiteral("Lumavo Pro");

// The platform's own name for osName, e.g. "Linux".
QString platformName();

// The workspace as the main window's creation leaves it: no settings read yet, no project
// folder, version "01.30", osName, both leaders off (with their status panels), colour bars
// of 10 seconds.
void prepareStartup(Workspace& ws);

// Help > Contents: copies the manual's pages from `source` (index.html among them) into the
// folder `target`, made when missing. False when there is no index.html or a copy fails.
bool copyHelpPages(const QString& source, const QString& target);

// The start-up check of the Qt libraries: the information text when the runtime version
// (qVersion()) is below the version Lumavo was built with, or cannot be read; nullopt otherwise.
std::optional<QString> runtimeVersionMessage(const QString& runtimeVersion, const QString& builtVersion);

// Display figures of one screen, as SysInfo reports them.
struct DisplayCaps {
    int bitsPerPixel = 32;
    int colorResolution = 24;
    int paletteSize = 0;
    int reservedPaletteEntries = 0;
};
// Display figures for a screen of the given colour depth (palette figures only for 8 bits or less).
DisplayCaps displayCapsForDepth(int bitsPerPixel);
// SysInfo: 0 bits per pixel, 1 colour resolution, 2 palette size, 3 reserved palette entries;
// any other value gives 0.
std::int32_t displayCapability(int which, const DisplayCaps& caps);

// A placement restored from the settings file that lies wholly outside every available screen
// area is moved to the top-left of the primary screen's area, keeping its size; any other
// placement is returned as it is.
WindowPlacement keepOnScreens(const WindowPlacement& placement, const QList<QRect>& available,
                              const QRect& primary);

// The main window's size as designed (also the size for a stored size of zero or less) and the
// smallest size it may be made: the title lines, the direction toolbar and the delay controls
// still show.
inline constexpr int kMainWindowWidth = 649;
inline constexpr int kMainWindowHeight = 492;
inline constexpr int kMainWindowMinWidth = 480;
inline constexpr int kMainWindowMinHeight = 360;

// The main window's placement from the settings file made usable: a width or height of zero or
// less becomes the designed one, a size beyond the available area of the screen the window is
// on (or the primary screen's, when it is on none) shrinks to that area and moves onto it, and a
// window lying wholly off every screen moves as keepOnScreens moves it.
WindowPlacement fitMainWindow(const WindowPlacement& stored, const QList<QRect>& available, const QRect& primary);

// The project named on the command line (`lumavo FILE.tlp`, as a file manager starts it): the first
// argument after the program's name that is not an option, a path or a file: URL, made absolute
// against workingDir. Empty when there is none.
QString projectArgument(const QStringList& arguments, const QString& workingDir);

// Where a window of `size` goes beside `window` within `area`: right of it, else left of it, else
// below, else above, else at the area's top-right corner; tops and lefts kept within the area.
QPoint placeBeside(const QRect& window, const QSize& size, const QRect& area);

enum class CloseVerdict { Close, StayOpen };
struct CloseOutcome {
    CloseVerdict verdict = CloseVerdict::Close;
    Notices notices;   // why a save failed, for the window
};
// The close query: with unsaved edits and an open project, asks "Save current page first?"
// (Yes/No/Cancel). Cancel stays open; Yes saves the page and closes only when the save worked
// (a failed save keeps the edits and returns its notices); No closes. With typed titles and no
// project open it asks "Save this project first?" instead; Yes saves the project (`info` for its
// file) and then the page, and stays open when either is cancelled or fails. Otherwise closes at once.
CloseOutcome closeQuery(Workspace& ws, Prompter& prompter, const ProjectSaveInfo& info = {});

} // namespace lumavo
