#pragma once

#include "platform/color.h"
#include "platform/geometry.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace lumavo {

constexpr int kLineCount = 3;        // title lines are numbered 1..3
constexpr int kPathSlots = 1000;     // stored points per drawn path
constexpr int kMaxPathCount = 999;   // highest path count (index of the last point)
constexpr int kRecordSize = 25716;   // bytes in one page record

// One title line of the current page. The text mirrors the line's edit box.
struct TitleLine {
    QString text;
    bool titleValid = false;
    QString fontName = QStringLiteral("Arial");
    std::int32_t fontSize = 40;        // points
    std::uint8_t fontStyle = 0;        // FontStyleBit set (the edit box font's style)
    Color fontColor = 0xFFFFFF;
    Color shadowColor = 0xC0C0C0;
    bool shadowOn = false;
    bool gradOn = false;
    Color gradColor = 0xFFFFFF;
    bool archOn = false;               // the diagonal filter switch
    QString bitmapFile;                // non-empty: a picture line
    QString waveFile;
    std::int32_t inDir = 5;            // direction codes 0..13, 0 = none
    std::int32_t outDir = 6;
    bool inPathOn = false;
    bool outPathOn = false;
    // Kept in the page's extension file: the record has no room for them.
    std::int32_t outlineWidth = 0;     // pixels, 0 = no outline
    Color outlineColor = 0x000000;
    std::int32_t softShadowRadius = 0; // blur radius in pixels, 0 = the classic hard shadow

    friend bool operator==(const TitleLine&, const TitleLine&) = default;
};

// The page fields the editor holds (the current page).
struct PageFields {
    std::array<TitleLine, kLineCount> lines;
    std::int32_t movementDelay = 0;    // 0..6000
    std::int32_t pauseSecs = 0;        // 0..60
    std::int32_t fadeDelay = 0;        // 0..6000
    bool mpause = false;               // manual (space-bar) mode

    TitleLine& line(int k) { return lines.at(static_cast<std::size_t>(k - 1)); }
    const TitleLine& line(int k) const { return lines.at(static_cast<std::size_t>(k - 1)); }

    friend bool operator==(const PageFields&, const PageFields&) = default;
};

struct PathPoint {
    std::uint16_t x = 0;
    std::uint16_t y = 0;
    friend constexpr bool operator==(const PathPoint&, const PathPoint&) = default;
};

// A path drawn on the alignment screen: count is the index of the last point (-1 when empty).
struct DrawnPath {
    std::int32_t count = 0;
    std::array<PathPoint, kPathSlots> points{};
    friend bool operator==(const DrawnPath&, const DrawnPath&) = default;
};

// What the stage owns: rest positions and the six drawn paths (index 0..2 for lines 1..3).
struct StageLayout {
    std::array<Point, kLineCount> rest{};
    std::array<DrawnPath, kLineCount> inPaths{};
    std::array<DrawnPath, kLineCount> outPaths{};

    Point& restOf(int k) { return rest.at(static_cast<std::size_t>(k - 1)); }
    DrawnPath& inPath(int k) { return inPaths.at(static_cast<std::size_t>(k - 1)); }
    DrawnPath& outPath(int k) { return outPaths.at(static_cast<std::size_t>(k - 1)); }
    const Point& restOf(int k) const { return rest.at(static_cast<std::size_t>(k - 1)); }
    const DrawnPath& inPath(int k) const { return inPaths.at(static_cast<std::size_t>(k - 1)); }
    const DrawnPath& outPath(int k) const { return outPaths.at(static_cast<std::size_t>(k - 1)); }

    friend bool operator==(const StageLayout&, const StageLayout&) = default;
};

// Everything of the current page that an edit can change: one step of the undo history.
struct PageState {
    PageFields page;
    StageLayout stage;
    friend bool operator==(const PageState&, const PageState&) = default;
};

// What the page editor (storage/page_edits) remembers between edits. Only the editor touches it.
struct PageEditorMemory {
    // The record a save would have written when the page was last loaded, saved or replaced.
    std::array<std::uint8_t, kRecordSize> baseline{};
    QByteArray baselineExtension;      // the extension file's text at the baseline, empty = none
    bool baselineTaken = false;
    std::vector<PageState> undo;       // oldest first
    std::vector<PageState> redo;       // the step redone next last
    int mergeKey = 0;                  // edits with the same non-zero key merge into one step
    std::optional<PageState> openSession; // the page as the alignment screen found it
};

// The open project.
struct ProjectState {
    QString projectDir;                // ends with a separator when set
    QString projectName;               // file name of the project file, empty = no project
    QString projectFile;               // path of the project file opened or saved, empty = none
    QString pageNow;                   // "000".."999", empty until first set
    std::int32_t pageIndex = 0;
    bool useColorBars = false;
    bool useCountDown = false;
    std::int32_t colorBarTime = 10;    // seconds
    QString dataFile;                  // project key "DataFile": the live data file as stored, empty = none
    bool smoothEdges = false;          // project key SmoothEdges: antialiased titles with alpha
};

// The selected row of the project's data file, as the titles' {{Column}} placeholders see it.
struct DataRow {
    std::int32_t number = 0;           // 1-based; 0 = no row selected (placeholders stay as typed)
    QStringList columns;
    QStringList values;                // one per column
};

// The IN or OUT side of a title line's motion (its direction and drawn path).
enum class PathSide { In, Out };

// Editor state that is not stored with the page.
struct EditorState {
    bool pageModified = false;
    bool newPagePending = false;
    bool pageLoaded = false;
    bool alignActive = false;
    std::uint8_t titleNum = 1;
    PathSide dirTarget = PathSide::Out; // the side the direction toolbar is open for
    std::int32_t lastDirection = 0;
    std::int16_t osEffect = 0;         // 0..6, the raster operation slider
    bool easySlowdown = false;
    bool repeatLoop = false;
    bool settingsRead = false;
};

// Texts of the main window's status bar panels 0..4, written by engine operations and shown by
// the window after each command.
struct StatusPanels {
    std::array<QString, 5> panel;
};

// Everything the program keeps in memory about the open project and page: one instance, owned by
// the application and handed by reference to the windows and engine operations.
struct Workspace {
    PageFields page;
    StageLayout stage;
    ProjectState project;
    EditorState editor;
    StatusPanels status;
    DataRow dataRow;
    // The one page-record buffer of the run: the last record read or written, zero at start.
    std::array<std::uint8_t, kRecordSize> recordBuffer{};
    PageEditorMemory pageEditor;

    QString applicationTitle = QStringLiteral("Lumavo-32");
    QString versionText = QStringLiteral("01.30");
    QString osName;
};

} // namespace lumavo
