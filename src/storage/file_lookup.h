#pragma once

#include <QHash>
#include <QSet>
#include <QString>

namespace lumavo {

// The path of the file `name` in directory `dir` (with or without a trailing separator): the exact
// name when it exists, else a file whose name differs only in letter case, else empty.
QString findFileIgnoringCase(const QString& dir, const QString& name);

// Where a path stored in a page (picture, wave) points today. An absolute path: the file itself
// when it exists; else the file of the same name in any letter case in its own directory. A
// relative path: that path under projectDir, in any letter case (never under the current
// directory). Last, the file of that name (the part after the last "/" or "\") in any letter case
// in projectDir. Empty when none exists. The stored path itself is never rewritten.
QString resolveStoredPath(const QString& storedPath, const QString& projectDir);

// The name a page stores for a picture or wave file: its path relative to projectDir when the file
// lies in that folder or below it, else path as given. Empty projectDir: path as given.
QString nameRelativeToProject(const QString& path, const QString& projectDir);

// Many look-ups in one directory that ignore letter case: an exact name is checked on its own; the
// directory is listed once, at the first name that does not exist exactly.
class DirectoryIndex {
public:
    // dir with or without a trailing separator; "" is the current directory.
    explicit DirectoryIndex(const QString& dir);
    // As findFileIgnoringCase.
    QString find(const QString& name);
    // Keeps the listing right after a file of this directory was renamed (toName empty: removed).
    void noteRenamed(const QString& fromName, const QString& toName);

private:
    void list();

    QString dir_;
    bool listed_ = false;
    QHash<QString, QStringList> folded_;   // case-folded name -> the real names, sorted
};

} // namespace lumavo
