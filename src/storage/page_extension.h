#pragma once

#include "platform/color.h"
#include "platform/result.h"
#include "storage/page_record.h"
#include "storage/workspace.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

namespace lumavo {

// What the 25716-byte record of a page cannot hold lives in a UTF-8 JSON file beside the page
// file, named after it with ".json" added (SHOW.004 -> SHOW.004.json). A page whose values all fit
// its record has no extension file, so such pages stay exactly what the classic titler writes.

// One title line's values that its record cannot hold. A name or text is set only when the
// record cannot store it exactly; the record then holds its Windows-1252 form ("?" for each
// character the code page lacks, cut to the field's capacity).
struct LineExtension {
    std::optional<QString> text;       // at most kTextCapacity characters
    std::optional<QString> fontName;
    std::optional<QString> bitmapFile; // any length
    std::optional<QString> waveFile;
    std::int32_t outlineWidth = 0;     // the per-line styles, stored when not at their defaults
    Color outlineColor = 0x000000;
    std::int32_t softShadowRadius = 0;

    friend bool operator==(const LineExtension&, const LineExtension&) = default;
};

struct PageExtension {
    std::array<LineExtension, kLineCount> lines{};

    LineExtension& line(int k) { return lines.at(static_cast<std::size_t>(k - 1)); }
    const LineExtension& line(int k) const { return lines.at(static_cast<std::size_t>(k - 1)); }
    // True when every value fits the record and every style is at its default: no file is kept.
    bool isEmpty() const { return *this == PageExtension{}; }
    friend bool operator==(const PageExtension&, const PageExtension&) = default;
};

// The extension file of the page file at pagePath.
QString pageExtensionPath(const QString& pagePath);

// The record field's Windows-1252 form of value, as encodePageRecord stores it (capacity in bytes).
QString recordFormOf(const QString& value, int capacity);

// The strings of `record` that it cannot hold exactly (texts first cut to kTextCapacity
// characters), as an extension without styles.
PageExtension extensionForRecord(const PageRecord& record);
// What a save of the current page keeps beside `saved`, the record it writes: extensionForRecord
// plus the lines' styles.
PageExtension extensionForPage(const Workspace& ws, const PageRecord& saved);
// The same for the record the current page would be saved as now.
PageExtension extensionFromWorkspace(const Workspace& ws);

// Puts the extension's strings into record where the record still holds their Windows-1252 form;
// a field the record holds differently (the page was saved elsewhere since) keeps the record's
// value. Returns how many fields were taken from the extension.
int mergeExtension(const PageExtension& extension, PageRecord& record);
// The lines' styles from the extension (defaults where it has none).
void applyExtensionStyles(const PageExtension& extension, Workspace& ws);

// The file's UTF-8 JSON text, and back. Decoding fails (nullopt, the reason in *why) for text that
// is not a JSON object of this format or holds a value of the wrong type; unknown keys are ignored.
QByteArray encodePageExtension(const PageExtension& extension);
std::optional<PageExtension> decodePageExtension(const QByteArray& json, QString* why);

enum class ExtensionReadStatus { None, Ok, Garbled };
struct ExtensionRead {
    ExtensionReadStatus status = ExtensionReadStatus::None;
    PageExtension extension;   // Ok only
    QString error;             // Garbled: the file and the reason
};
// Reads the extension of the page file at pagePath. None: there is no such file.
ExtensionRead readPageExtension(const QString& pagePath);
// The message shown when a page's extension cannot be used; the page loads from its record.
QString garbledExtensionMessage(const ExtensionRead& read);

// Writes the extension beside the page file crash-safely, or removes a file left from before when
// the extension is empty.
Result writePageExtension(const QString& pagePath, const PageExtension& extension);
// Removes the page's extension file when there is one.
Result removePageExtension(const QString& pagePath);
// After page file fromPage was renamed to toPage: its extension follows it; when it has none, a
// stray extension at toPage's name is removed so it is never taken for the moved page's.
Result movePageExtension(const QString& fromPage, const QString& toPage);

// Empty when a picture or wave name can be kept in a page; otherwise why it cannot (a control
// character, blanks at either end, or more than kMaxStoredNameLength characters).
constexpr int kMaxStoredNameLength = 4096;
QString unstorableNameReason(const QString& name);

// The name a page keeps for a picture or wave chosen at `path`: relative to projectDir when the
// file lies inside it (nameRelativeToProject). error is set, naming the file and the reason, when
// no page can keep the name.
struct StoredName {
    QString name;
    QString error;
};
StoredName storableFileName(const QString& path, const QString& projectDir);

} // namespace lumavo
