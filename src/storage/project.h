#pragma once

#include "platform/ini.h"
#include "platform/prompter.h"
#include "storage/workspace.h"

#include <QDateTime>
#include <QString>
#include <optional>

namespace lumavo {

inline const QString kProjectSection = QStringLiteral("LumavoProject");
inline const QString kSmoothEdgesKey = QStringLiteral("SmoothEdges");
constexpr int kPageCount = 1000;   // page numbers 000..999

// Base name of a project: trimmed of characters <= 32, a-z upper-cased, cut before the first
// ".TLP"; at most 255 characters. "" for "".
QString StripTLP(const QString& name);
// Three decimal digits, zero-padded: 5 -> "005". n outside 0..999 is clamped.
QString pageNumberText(int n);
// projectDir + base + "." + pageNumber (projectDir ends with a separator or is empty).
QString pageFilePath(const QString& projectDir, const QString& base, const QString& pageNumber);
// The existing page file for the number: the exact name, or one differing only in letter case;
// empty when the page does not exist.
QString findPageFile(const QString& projectDir, const QString& base, const QString& pageNumber);
bool pageExists(const QString& projectDir, const QString& base, const QString& pageNumber);

// The last page number of the unbroken run from 000 ("999" when all 1000 exist), or "NEW" when
// page 000 is missing. Touches no state.
QString lastPageNumber(const QString& projectDir, const QString& base);
// The lowest page number without a page file; nullopt when all 1000 exist. Touches no state.
std::optional<QString> nextFreePageNumber(const QString& projectDir, const QString& base);

// Status bar: panel 3 := pageNumber, panel 4 := "PROJECT: " + name.
void ShowProjectLabel(Workspace& ws, const QString& name, const QString& pageNumber);
// lastPageNumber in ws.project.projectDir, then ShowProjectLabel(base, result).
QString GetNumberOFPages(Workspace& ws, const QString& base);
// nextFreePageNumber in ws.project.projectDir; when found, ShowProjectLabel(base, result).
std::optional<QString> GetNextPageNumber(Workspace& ws, const QString& base);
// Shows "File error, " + text (information icon).
void pmsg(Prompter& prompter, const QString& text);

// The keys of a project file as read (defaults for missing keys).
struct ProjectFileValues {
    QString projectName;          // "ProjectName", default ""
    QString numberOfPages;        // "NumberOPages", read but unused
    bool useColorBars = false;    // "UseColorBars", any non-zero integer is true
    bool useCountDown = false;    // "UseCountDown"
    int holdtimeSecs = 10;        // "Holdtime"
    int bitsPerPixel = 8;         // "BPP", read but unused
    QString dataFile;             // "DataFile", default "" (no live data)
    bool smoothEdges = false;     // "SmoothEdges": antialiased titles with alpha; absent = classic
};
ProjectFileValues readProjectValues(const IniFile& ini);

// What the editor does after OpenProject: enable the page tool buttons, press the leader buttons
// as ws.project.useColorBars/useCountDown, and show the page (when pageLoaded) with showpage.
struct OpenProjectOutcome {
    bool projectFileRead = false; // false: no such file (the project state keeps its name)
    bool pageLoaded = false;      // page 000 was loaded into the workspace
    Notices notices;              // why the file or page 000 could not be read, for the window
};
// Opens the project file at path (exact name or a letter-case variant): sets projectDir, reads
// the leader keys, SmoothEdges and ProjectName, pageNow := "000", shows the project label, pageIndex := 0 and
// loads page 000. A file that cannot be read gives the "Error opening Project Page file:" notice.
OpenProjectOutcome OpenProject(Workspace& ws, const QString& path);

// Display facts written into the project file.
struct ProjectSaveInfo {
    int bitsPerPixel = 32;        // "BPP"
    int reservedPaletteEntries = 0; // "Palette"
    QDateTime now;                // "Birth"; invalid: the current time
};
enum class SaveProjectStatus { Saved, Cancelled, WriteFailed };
struct SaveProjectOutcome {
    SaveProjectStatus status = SaveProjectStatus::Saved;
    Notices notices;   // WriteFailed: "Can not save this project. " and the reason
};
// Save Project: asks for a name through the save dialog when the project has none (Cancelled:
// nothing written, nothing changed), writes every key in order through an atomic write (SmoothEdges
// only when smooth or already in the file, so a classic project's file stays as it was), then sets
// projectName and the project label. WriteFailed: the notice says why, the old file is intact
// and the project state is unchanged. The prompter only asks for the name.
SaveProjectOutcome SaveProject(Workspace& ws, Prompter& prompter, const ProjectSaveInfo& info);

// Sets "DataFile" in the project file at path (an empty name removes the data file); every other
// line stays as it was. Failure leaves the old file and returns the reason.
IoResult writeProjectDataFile(const QString& path, const QString& dataFile);

// "Birth" text: the date in the short date format, a blank, the time in the long time format.
QString birthText(const QDateTime& when);

} // namespace lumavo
