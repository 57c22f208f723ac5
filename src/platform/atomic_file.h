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

// Writes parts one after another as the whole new contents of path, crash-safely: a temporary file
// in the same directory (named by temporaryFileName), every write checked, flushed to the disk and
// closed, then renamed over the old file. On failure the old file is untouched, the temporary file
// is removed and the reason names the file and the system's cause ("No space left on device").
Result writeFileAtomically(const QString& path, std::initializer_list<QByteArrayView> parts);
Result writeFileAtomically(const QString& path, std::initializer_list<QByteArrayView> parts,
                           const FileWriteCalls& calls);

// The pattern of the writer's temporary files for a file name: "." + name + ".lumavo-XXXXXX".
QString temporaryFileTemplate(const QString& fileName);
// True for a name the writer gives its temporary files (any target name).
bool isWriterTemporaryName(const QString& fileName);
// Removes the writer's temporary files left in dir by a save that was killed; other files are
// never touched. Returns how many were removed.
int removeStaleTemporaries(const QString& dir);

// Reads a regular file (never a pipe, device or directory: those are refused without blocking)
// into out. A file above maxBytes is refused unless truncateAtMax, which reads its first maxBytes.
// Opens `path` for reading only when it is a regular file, and without waiting on a pipe or device
// that has no writer. Returns the descriptor (in blocking mode, close-on-exec), or -1 with the
// reason in `why`.
int openRegularFileForReading(const QString& path, QString* why);

Result readRegularFile(const QString& path, qint64 maxBytes, QByteArray& out, bool truncateAtMax = false);

} // namespace lumavo
