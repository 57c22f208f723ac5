#pragma once

#include "platform/ini.h"
#include "platform/prompter.h"
#include "storage/project.h"
#include "storage/workspace.h"

#include <QDateTime>
#include <QString>
#include <optional>

namespace lumavo {

inline const QString kSettingsSection = QStringLiteral("LUMAVO Options");

// The main window's placement in screen pixels, as the settings file keeps it.
struct WindowPlacement {
    int top = 0;
    int left = 0;
    int height = 400;
    int width = 200;
    friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

// The settings file: QStandardPaths::GenericConfigLocation + "/lumavo.ini".
QString settingsFilePath();

struct SettingsReadOutcome {
    bool fileFound = false;
    std::optional<WindowPlacement> placement; // set when the file exists: place the main window
    QString lastProject;                      // "Lastproject" as read
    bool projectOpened = false;               // the last project existed and OpenProject ran
    OpenProjectOutcome openProject;           // its outcome (show the page when pageLoaded)
};
// Reads the settings file at path: placement (Top 0, Left 0, Height 400, Width 200 by default, and
// for a zero or negative size),
// projectDir from "Dir", then reopens "Lastproject" when that file exists. A missing file changes
// nothing. Sets ws.editor.settingsRead. reopenLastProject false: the placement and "Dir" only (a
// project named on the command line opens instead).
SettingsReadOutcome readtheinifile(Workspace& ws, const QString& path,
                                   bool reopenLastProject = true);

// Rewrites the "LUMAVO Options" section (erased first, keys in order Program, Version,
// Lastproject, Dir, Top, Left, Height, Width, Birth, then the output keys it found), keeping other
// sections, atomically.
// now invalid: the current time. Failure leaves the old file and returns the reason naming it.
IoResult writetheinifile(const Workspace& ws, const WindowPlacement& placement, const QString& path,
                         const QDateTime& now = {});

// The operator's output choice, kept under keys of its own in the same section: "OutputScreen"
// (a screen name; empty: the editor's screen), "KeyOutputScreen" (empty: none) and "OutputWindow"
// ("", "1280x720", "1920x1080" or "Screen"). Files without them read as empty.
struct OutputSettings {
    QString outputScreen;
    QString keyOutputScreen;
    QString outputWindow;
    friend bool operator==(const OutputSettings&, const OutputSettings&) = default;
};
OutputSettings readOutputSettings(const QString& path);
// Writes the three keys, keeping every other line of the file; failure keeps the old file.
IoResult writeOutputSettings(const OutputSettings& outputs, const QString& path);

} // namespace lumavo
