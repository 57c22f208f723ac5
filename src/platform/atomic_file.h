#pragma once

#include "platform/result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstddef>
#include <initializer_list>
#include <sys/types.h>

namespace lumavo {

// The system calls the atomic writer makes on its temporary file; tests replace them to act as a
// failing device.
struct FileWriteCalls {
    ssize_t (*write)(int fd, const void* data, std::size_t count);
    int (*fsync)(int fd);
    int (*close)(int fd);
    static FileWriteCalls system();
};

// What a save does with a destination that is a symbolic link.
enum class LinkPolicy {
    WriteThrough,   // write the file the link (or chain of links) ends at; the link stays
    Refuse,         // refuse it
};

// Where a save of `path` writes: `path` itself, or the file a symbolic link at `path` ends at
// (a dangling link gives the name it holds). Refuses, with a reason naming `path`, a destination
// that exists and is not a regular file (a device, a FIFO, a directory, a socket) or that the user
// cannot write, and a file with no write permission bit even for a user who could (root).
Result resolveSaveTarget(const QString& path, QString* target, LinkPolicy links = LinkPolicy::WriteThrough);

// Writes parts one after another as the whole new contents of path, crash-safely: a temporary file
// in the folder of the file written (named by temporaryFileName), every write checked, flushed to
// the disk and closed, then renamed over the old file. The destination is checked first as
// resolveSaveTarget does; a refused one is left alone and nothing is written. On failure the old
// file is untouched, the temporary file is removed and the reason names the file and the system's
// cause ("No space left on device").
Result writeFileAtomically(const QString& path, std::initializer_list<QByteArrayView> parts);
Result writeFileAtomically(const QString& path, std::initializer_list<QByteArrayView> parts,
                           const FileWriteCalls& calls);

// Puts a finished file `written` (in the destination's folder) in place of `path` with one rename,
// after the checks of resolveSaveTarget, and makes the rename durable. A new file gets the usual
// permissions, a replaced one keeps its own. On failure `written` is left for the caller.
Result replaceWithFile(const QString& written, const QString& path, LinkPolicy links);

// The pattern of the writer's temporary files for a file name: "." + name + ".lumavo-XXXXXX".
QString temporaryFileTemplate(const QString& fileName);
// True for a name the writer gives its temporary files (any target name).
bool isWriterTemporaryName(const QString& fileName);
// Removes the writer's temporary files left in dir by a save that was killed; other files are
// never touched. With a targetName, only the temporaries of that file. Returns how many were removed.
int removeStaleTemporaries(const QString& dir, const QString& targetName = {});

// Reads a regular file (never a pipe, device or directory: those are refused without blocking)
// into out. A file above maxBytes is refused unless truncateAtMax, which reads its first maxBytes.
// Opens `path` for reading only when it is a regular file, and without waiting on a pipe or device
// that has no writer. Returns the descriptor (in blocking mode, close-on-exec), or -1 with the
// reason in `why`.
int openRegularFileForReading(const QString& path, QString* why);

Result readRegularFile(const QString& path, qint64 maxBytes, QByteArray& out, bool truncateAtMax = false);

} // namespace lumavo
