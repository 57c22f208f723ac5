#pragma once

#include "platform/atomic_file.h"
#include "platform/result.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace lumavo {

// An INI file held in memory as its lines, with the semantics of the classic profile functions:
// section and key names match without regard to letter case (blanks around them ignored); the first
// matching section and key win; writing a key keeps every other section, key, comment and garbage
// line as it was; keys new to a section are added after the section's last entry, in the order they
// are written; erasing a section removes its header and every line up to the next section.
// Files are read as UTF-8, or as Latin-1 when they are not valid UTF-8; they are written as UTF-8.
class IniFile {
public:
    static constexpr qint64 kMaxBytes = 4 * 1024 * 1024;

    IniFile() = default;
    // The file's contents; a missing or unreadable file reads as empty. status (when given) is a
    // failure only for a file that exists but cannot be read: not a regular file (a pipe or a
    // device is never opened for reading), or larger than kMaxBytes.
    static IniFile load(const QString& path, IoResult* status = nullptr);
    // Parses text already in memory (lines split at LF, CR LF or CR).
    static IniFile fromText(const QString& text);

    bool hasSection(const QString& section) const;
    bool hasKey(const QString& section, const QString& key) const;
    // The key's value with surrounding blanks (and one pair of enclosing quotes) removed;
    // fallback when the section or key is missing.
    QString readString(const QString& section, const QString& key, const QString& fallback = {}) const;
    // The value as a decimal (or 0x hexadecimal) integer; fallback when missing or not a number.
    int readInteger(const QString& section, const QString& key, int fallback) const;
    // readInteger(...) != 0.
    bool readBool(const QString& section, const QString& key, bool fallback) const;

    // Sets key=value in the section, creating the section at the end when missing. Line breaks in
    // the value are turned into blanks so that one key stays one line.
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);
    void eraseSection(const QString& section);

    // The file as text, lines ending with "\n".
    QString toText() const;
    // Writes the whole file through a temporary file and an atomic rename; the old file is
    // untouched on failure.
    IoResult save(const QString& path) const;
    // Rewrites the file at path with `change` applied to its present content, keeping every other
    // line. A file that exists but cannot be read is not written: "Cannot write PATH: its present
    // content cannot be read (REASON)".
    static IoResult update(const QString& path, const std::function<void(IniFile&)>& change);

private:
    struct Span {
        int header = -1;   // line of the section header
        int end = 0;       // one past the section's last line
    };
    Span findSection(const QString& section) const;
    int findKey(const Span& span, const QString& key) const;

    QStringList lines_;
};

} // namespace lumavo
