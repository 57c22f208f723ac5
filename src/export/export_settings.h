#pragma once

#include "platform/geometry.h"
#include "platform/ini.h"

#include <QString>
#include <optional>

namespace lumavo {

// The containers an export can write, chosen by the destination's extension.
enum class ExportFormat {
    Mp4,          // H.264, yuv420p, AAC
    Mov,          // ProRes 4444 with alpha, PCM
    WebM,         // VP9 with alpha, Opus
    PngSequence,  // a numbered pattern such as frames/%05d.png, RGBA, with sound.wav beside it
};

// The ProRes flavours a .mov export can write; 422 HQ has no alpha.
enum class ProResProfile { P4444, P4444XQ, P422HQ };

// A frame rate as an exact fraction (30000/1001 for 29.97).
struct FrameRate {
    int num = 60;
    int den = 1;
    friend constexpr bool operator==(const FrameRate&, const FrameRate&) = default;
};

struct ExportSettings {
    QString destination;
    bool allPages = false;   // false: the current page as Play plays it
    Point size{1920, 1080};
    FrameRate rate;
    int passes = 1;           // passes of the repeat loop in an all-pages export
    double holdSeconds = 3;   // every space-bar wait of a manual page
    bool keyOnly = false;     // write the matte instead of the picture
    int crf = 20;             // H.264 quality
    ProResProfile proRes = ProResProfile::P4444;   // .mov
    bool replaceSequence = false;   // a PNG sequence may replace the frames of an earlier one
};

// The frame number in a PNG sequence's file name: the last "%d" or "%0Nd" in it (N digits at
// least). Every other '%' of the name, and any in its folder, is a plain character.
struct FramePattern {
    bool found = false;
    QString before;   // the name before the pattern
    int digits = 0;   // N of "%0Nd", 0 for "%d"
    QString after;    // the name after it
};
FramePattern framePatternOf(const QString& fileName);
// The path FFmpeg's numbered-image writer takes for `fileName` in `folder`: every '%' but the
// frame pattern's doubled. fileName must hold a frame pattern.
QString imageWriterPath(const QString& folder, const QString& fileName);

// The format of a destination; nullopt for an extension no export writes.
std::optional<ExportFormat> exportFormatFor(const QString& destination);
// `destination` with the extension of `format`: a name without it gets it (a known extension of
// another format is replaced); a PNG sequence gets "_%05d.png" unless the name holds a frame pattern.
QString destinationWithExtension(const QString& destination, ExportFormat format);

// The export dialog's choices in the settings file, under a section of their own ("Export");
// missing or bad values read as the defaults.
ExportSettings readExportChoices(const IniFile& ini);
void writeExportChoices(IniFile& ini, const ExportSettings& settings);

// "23.976", "24", "25", "29.97", "30", "50", "59.94", "60"; nullopt otherwise.
std::optional<FrameRate> parseFrameRate(const QString& text);
// Checks the values a user gave; an empty string when they make an export.
QString validateExportSettings(const ExportSettings& settings);

} // namespace lumavo
