#pragma once

#include <QHash>
#include <QSet>
#include <QString>

namespace lumavo {

// The path of the file `name` in directory `dir` (with or without a trailing separator): the exact
// name when it exists, else a file whose name differs only in letter case, else empty.
QString findFileIgnoringCase(const QString& dir, const QString& name);

// Where a path stored in a page (picture, wave) points today: the stored path when that file
// exists; else the file of the same name in any letter case in the stored path's own directory;
// else the file of that name (the part after the last "/" or "\") in any letter case in
// projectDir. Empty when none exists. The stored path itself is never rewritten.
QString resolveStoredPath(const QString& storedPath, const QString& projectDir);

// The file names of one directory, listed once, for many look-ups that ignore letter case.
class DirectoryIndex {
public:
    // dir with or without a trailing separator; "" is the current directory.
    explicit DirectoryIndex(const QString& dir);
    // As findFileIgnoringCase, from the listing.
    QString find(const QString& name) const;
    // Keeps the listing right after a file was renamed or removed (to empty) in this directory.
    void noteRenamed(const QString& fromName, const QString& toName);

private:
    QString dir_;
    QSet<QString> exact_;
    QHash<QString, QString> folded_;   // case-folded name -> a real name
};

} // namespace lumavo
