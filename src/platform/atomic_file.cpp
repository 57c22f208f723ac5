#include "platform/atomic_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumavo {

namespace {

const QString kTemporaryMark = QStringLiteral(".lumavo-");

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

Result writeFailure(const QString& path, const QString& why)
{
    return Result::failure(QStringLiteral("Cannot write %1: %2").arg(path, why));
}

// Writes all of data; a write that stores nothing is a failure even without an errno.
bool writeAll(const FileWriteCalls& calls, int fd, QByteArrayView data, QString& why)
{
    const char* p = data.data();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t n = calls.write(fd, p, static_cast<std::size_t>(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            why = systemReason(errno);
            return false;
        }
        if (n == 0) {
            why = QStringLiteral("the disk took no more bytes (short write)");
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

// The mode a new file gets from the process's umask.
mode_t defaultFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Why a destination that exists is no file a save may replace; empty when it is one.
QString refusalFor(const QByteArray& name, const struct stat& st)
{
    if (S_ISFIFO(st.st_mode))
        return QStringLiteral("it is a FIFO, not a regular file");
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        return QStringLiteral("it is a device, not a regular file");
    if (S_ISDIR(st.st_mode))
        return QStringLiteral("it is a folder, not a regular file");
    if (S_ISSOCK(st.st_mode))
        return QStringLiteral("it is a socket, not a regular file");
    if (!S_ISREG(st.st_mode))
        return QStringLiteral("it is not a regular file");
    // The permission bits first, so that a read-only file is refused to root as well.
    if ((st.st_mode & 0222) == 0)
        return QStringLiteral("the file is read-only");
    if (::access(name.constData(), W_OK) != 0)
        return systemReason(errno);
    return {};
}

void syncFolder(const QString& dir)
{
    const int dirFd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}

} // namespace

Result resolveSaveTarget(const QString& path, QString* target, LinkPolicy links)
{
    constexpr int kMaxLinks = 40;   // as the kernel's own limit on a chain of links
    QString at = path;
    for (int depth = 0;; ++depth) {
        const QByteArray name = QFile::encodeName(at);
        struct stat st {};
        if (::lstat(name.constData(), &st) != 0) {
            if (errno != ENOENT)
                return writeFailure(path, systemReason(errno));
            *target = at;   // a new file (or the name a dangling link holds)
            return Result::success();
        }
        if (!S_ISLNK(st.st_mode)) {
            if (const QString why = refusalFor(name, st); !why.isEmpty())
                return writeFailure(path, why);
            *target = at;
            return Result::success();
        }
        if (links == LinkPolicy::Refuse)
            return writeFailure(path, QStringLiteral("it is a symbolic link"));
        if (depth >= kMaxLinks)
            return writeFailure(path, systemReason(ELOOP));
        QByteArray linked(4096, Qt::Uninitialized);
        const ssize_t n = ::readlink(name.constData(), linked.data(), static_cast<std::size_t>(linked.size()));
        if (n < 0)
            return writeFailure(path, systemReason(errno));
        linked.truncate(n);
        const QString next = QFile::decodeName(linked);
        // A relative link is relative to the folder that holds it.
        at = next.startsWith(u'/') ? next : QFileInfo(at).absolutePath() + u'/' + next;
    }
}

Result replaceWithFile(const QString& written, const QString& path, LinkPolicy links)
{
    QString target;
    if (Result checked = resolveSaveTarget(path, &target, links); !checked.ok)
        return checked;
    const QByteArray from = QFile::encodeName(written);
    const QByteArray to = QFile::encodeName(target);
    struct stat old {};
    ::chmod(from.constData(), ::stat(to.constData(), &old) == 0 ? (old.st_mode & 07777) : defaultFileMode());
    const int fd = ::open(from.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return writeFailure(path, systemReason(errno));
    const int synced = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    if (synced != 0)
        return writeFailure(path, systemReason(error));
    if (::rename(from.constData(), to.constData()) != 0)
        return writeFailure(path, systemReason(errno));
    syncFolder(QFileInfo(target).absolutePath());
    return Result::success();
}

FileWriteCalls FileWriteCalls::system()
{
    return {&::write, &::fsync, &::close};
}

QString temporaryFileTemplate(const QString& fileName)
{
    return u'.' + fileName + kTemporaryMark + QStringLiteral("XXXXXX");
}

bool isWriterTemporaryName(const QString& fileName)
{
    static const QRegularExpression pattern(QStringLiteral("^\\..+\\.lumavo-[A-Za-z0-9]{6}$"));
    return pattern.match(fileName).hasMatch();
}

int removeStaleTemporaries(const QString& dir, const QString& targetName)
{
    const QDir d(dir.isEmpty() ? QStringLiteral(".") : dir);
    const QString prefix = u'.' + targetName + kTemporaryMark;
    int removed = 0;
    const QStringList names = d.entryList({QStringLiteral(".*") + kTemporaryMark + u'*'},
                                          QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QString& name : names) {
        const bool ours = targetName.isEmpty() || (name.startsWith(prefix) && name.size() == prefix.size() + 6);
        if (ours && isWriterTemporaryName(name) && QFile::remove(d.filePath(name)))
            ++removed;
    }
    return removed;
}

Result writeFileAtomically(const QString& path, std::initializer_list<QByteArrayView> parts)
{
    return writeFileAtomically(path, parts, FileWriteCalls::system());
}

Result writeFileAtomically(const QString& path, std::initializer_list<QByteArrayView> parts,
                           const FileWriteCalls& calls)
{
    QString targetPath;
    if (Result checked = resolveSaveTarget(path, &targetPath); !checked.ok)
        return checked;
    const QFileInfo info(targetPath);
    const QString dir = info.absolutePath();
    QByteArray temp = QFile::encodeName(dir + u'/' + temporaryFileTemplate(info.fileName()));
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return writeFailure(path, systemReason(errno));
    const auto discard = [&](const QString& why, bool open) {
        if (open)
            calls.close(fd);
        ::unlink(temp.constData());
        return writeFailure(path, why);
    };

    // The new file keeps the old one's permissions; a new file gets the usual ones.
    struct stat old {};
    const QByteArray target = QFile::encodeName(targetPath);
    const mode_t mode = ::stat(target.constData(), &old) == 0 ? (old.st_mode & 07777) : defaultFileMode();
    ::fchmod(fd, mode);

    QString why;
    for (const QByteArrayView part : parts) {
        if (!writeAll(calls, fd, part, why))
            return discard(why, true);
    }
    if (calls.fsync(fd) != 0)
        return discard(systemReason(errno), true);
    if (calls.close(fd) != 0)
        return discard(systemReason(errno), false);
    if (::rename(temp.constData(), target.constData()) != 0)
        return discard(systemReason(errno), false);
    syncFolder(dir);   // makes the rename itself survive a power cut
    return Result::success();
}

int openRegularFileForReading(const QString& path, QString* why)
{
    // Non-blocking, so that opening a pipe with no writer does not wait.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (why)
            *why = systemReason(errno);
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        if (why)
            *why = QStringLiteral("not a regular file");
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags != -1)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

Result readRegularFile(const QString& path, qint64 maxBytes, QByteArray& out, bool truncateAtMax)
{
    const auto failure = [&](const QString& why) {
        return Result::failure(QStringLiteral("Cannot read %1: %2").arg(path, why));
    };
    QString why;
    const int fd = openRegularFileForReading(path, &why);
    if (fd < 0)
        return failure(why);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int error = errno;
        ::close(fd);
        return failure(systemReason(error));
    }
    if (st.st_size > maxBytes && !truncateAtMax) {
        ::close(fd);
        return failure(QStringLiteral("the file is too large (%1 bytes, at most %2)").arg(st.st_size).arg(maxBytes));
    }
    QByteArray bytes(static_cast<qsizetype>(std::min<qint64>(st.st_size, maxBytes)), Qt::Uninitialized);
    qsizetype got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, static_cast<std::size_t>(bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            return failure(systemReason(error));
        }
        if (n == 0)
            break; // the file shrank while being read
        got += n;
    }
    ::close(fd);
    bytes.truncate(got);
    out = std::move(bytes);
    return Result::success();
}

} // namespace lumavo
