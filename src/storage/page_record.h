#pragma once

#include "storage/workspace.h"

#include <QString>
#include <array>
#include <cstdint>
#include <variant>
#include <vector>

namespace lumavo {

using RecordBytes = std::array<std::uint8_t, kRecordSize>;

// Capacities (in bytes) of the short strings of a page record.
constexpr int kTextCapacity = 80;       // texts, wave and bitmap file names
constexpr int kFontNameCapacity = 255;
constexpr int kPageNumberCapacity = 3;

// Ranges of the page values (those of their sliders).
constexpr int kMaxPauseSecs = 60;
constexpr int kMaxMovementDelay = 6000;
constexpr int kMaxFadeDelay = 6000;

// Byte offsets of the record's fields (packed, little-endian).
namespace record_offset {
constexpr int kText1 = 65;             // Text1..3, 81 bytes apart
constexpr int kArchOn1 = 308;
constexpr int kGradOn1 = 311;
constexpr int kFadeDelay = 314;        // uint16
constexpr int kReserved1 = 316;        // 6 zero bytes
constexpr int kManual = 322;
constexpr int kReserved2 = 323;        // 3 zero bytes
constexpr int kGradColor1 = 328;
constexpr int kWaveFile1 = 340;
constexpr int kBitmapFile1 = 583;
constexpr int kInDir1 = 826;           // int8
constexpr int kOutDir1 = 829;          // int8
constexpr int kFontSize1 = 832;
constexpr int kFontColor1 = 844;
constexpr int kShadowColor1 = 856;
constexpr int kFontSizeCopy1 = 868;
constexpr int kPauseSecs = 880;
constexpr int kMovementDelay = 884;
constexpr int kRestLeft1 = 888;
constexpr int kRestTop1 = 900;
constexpr int kFontStyle1 = 912;
constexpr int kFontName1 = 915;        // 256 bytes apart
constexpr int kShadowOn1 = 1683;
constexpr int kPageNumber = 1686;
constexpr int kPathGroup1 = 1692;      // per line: InPathCount, OutPathCount, InPath, OutPath
constexpr int kPathGroupSize = 8008;
constexpr int kPathBlockSize = 4000;
} // namespace record_offset

// One title line's fields exactly as a record holds them (strings decoded, not trimmed).
struct RecordLine {
    QString text;
    bool archOn = false;
    bool gradOn = false;
    Color gradColor = 0;
    QString waveFile;
    QString bitmapFile;
    std::int8_t inDir = 0;
    std::int8_t outDir = 0;
    std::int32_t fontSize = 0;
    Color fontColor = 0;
    Color shadowColor = 0;
    std::int32_t fontSizeCopy = 0;
    std::int32_t restLeft = 0;
    std::int32_t restTop = 0;
    std::uint8_t fontStyle = 0;
    QString fontName;
    bool shadowOn = false;
    std::int32_t inPathCount = 0;      // as stored, not clamped
    std::int32_t outPathCount = 0;
    std::array<PathPoint, kPathSlots> inPath{};
    std::array<PathPoint, kPathSlots> outPath{};
};

// Every interpreted field of a page record; all zero / empty by default.
struct PageRecord {
    std::array<RecordLine, kLineCount> lines{};
    std::uint16_t fadeDelay = 0;
    bool manual = false;
    std::int32_t pauseSecs = 0;
    std::int32_t movementDelay = 0;
    QString pageNumber;

    RecordLine& line(int k) { return lines.at(static_cast<std::size_t>(k - 1)); }
    const RecordLine& line(int k) const { return lines.at(static_cast<std::size_t>(k - 1)); }
};

// The kinds of value a record field holds (packed, little-endian).
enum class RecordFieldType {
    ShortText,   // a length byte, then `capacity` Windows-1252 characters
    Flag,        // one byte, non-zero = on
    Int8,        // one signed byte (direction codes)
    UInt8,
    UInt16,
    Int32,
    UInt32,      // colours
    Path,        // `capacity` points of two uint16 each (x, then y)
};

using PathPoints = std::array<PathPoint, kPathSlots>;
// Where a field's value lives in a PageRecord.
using RecordValue = std::variant<QString*, bool*, std::int8_t*, std::uint8_t*, std::uint16_t*, std::int32_t*,
                                 std::uint32_t*, PathPoints*>;

// How a field travels between the record and the current page (its fields, rest positions, paths).
enum class PageCarry {
    None,        // the page does not hold it (PageNumber is the number a save writes under)
    Plain,       // copied both ways
    Trimmed,     // a title: control characters trimmed both ways, cut to the capacity on save
    TrimOnLoad,  // a file name: trimmed when loaded
    InRange,     // clamped into 0..limit when loaded; the record buffer keeps the stored bytes
    PathCount,   // clamped into -1..999 both ways
    StyleBits,   // only the four style bits are loaded
    SaveOnly,    // written from the page, never read back (FontSizeCopy)
};
// A value on its way between the record and the page: a number, a text or a path. A path (4000
// bytes) travels by the address of its source, which outlives the copy it is carried to.
using CarriedValue = std::variant<qint64, QString, const PathPoints*>;
struct PageBinding {
    PageCarry carry = PageCarry::None;
    int limit = 0;                                                     // InRange's upper bound
    CarriedValue (*read)(const Workspace&, int line) = nullptr;
    void (*write)(Workspace&, int line, const CarriedValue&) = nullptr;
};

// One field of the page record. The table of them (pageRecordFields) is the one description of
// the record: decoding, encoding, the mapping to the current page, the text check before a save,
// lumavo-cli page dump/write and the project information window all go through it.
struct RecordField {
    QString name;                                  // "Text1", "FadeDelay", ... as lumavo-cli prints it
    int offset = 0;                                // byte offset in the record
    int capacity = 0;                              // characters of a text, points of a path, else bytes
    RecordFieldType type = RecordFieldType::Int32;
    int line = 0;                                  // title line 1..3; 0 for a field of the page
    RecordValue (*value)(PageRecord&, int line) = nullptr;
    PageBinding current;                           // where the current page holds it
};
// Every field in the order lumavo-cli prints them (texts and flags first, paths last).
const std::vector<RecordField>& pageRecordFields();
// The field named `name`, or null.
const RecordField* findRecordField(const QString& name);
// A field's value as the windows show it: the text, or the number (a path: its point count).
QString recordFieldText(const PageRecord& record, const RecordField& field);

// Decodes every field; string lengths above their capacity are taken as the capacity. Never fails.
PageRecord decodePageRecord(const RecordBytes& bytes);
// Writes every field into bytes (strings encoded to Windows-1252 and cut to their capacity, the
// bytes after a string's length zeroed, Reserved1/Reserved2 zeroed). Reserved0 (0..64) and the
// alignment pairs (326..327, 1690..1691) keep what bytes already holds.
void encodePageRecord(const PageRecord& record, RecordBytes& bytes);

// Removes leading and trailing characters with a code of 32 or below.
QString trimControl(const QString& text);
// The first `count` characters of text; a surrogate pair is one character and never split.
QString leftCharacters(const QString& text, int count);
// Clamps a stored path count into -1..999.
std::int32_t clampPathCount(std::int32_t count);

// The record as the save writes it from the current page, the stage's rest positions and paths,
// under page number `pageNumber` (texts trimmed, path counts clamped, codes cut to their low byte).
PageRecord recordFromWorkspace(const Workspace& ws, const QString& pageNumber);
// Copies a record into the current page, rest positions and paths as a load does: texts, wave and
// bitmap names trimmed; direction codes sign-extended; path counts clamped into -1..999; pauseSecs,
// movementDelay and fadeDelay clamped into their ranges.
// Touches no editor flag, titleValid or inPathOn/outPathOn (see refreshDerivedFields).
void applyRecordToWorkspace(const PageRecord& record, Workspace& ws);
// The data part of showing a page: titleValid := text or bitmap present, and inPathOn/outPathOn :=
// (code = 11) for every direction code in 1..13 (other codes leave the flag as it is).
void refreshDerivedFields(PageFields& page);

// Every text field of a record with its field name ("Text1", "WaveFile1", ..., "PageNumber").
struct StoredText {
    QString field;
    QString value;
};
std::vector<StoredText> storedTexts(const PageRecord& record);
// One line per text field holding characters no page file can store (half of a surrogate pair),
// "Text1: ..."; empty when every character can be stored.
QString describeUnstorableText(const PageRecord& record);

} // namespace lumavo
