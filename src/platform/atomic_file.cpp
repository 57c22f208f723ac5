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

} // namespace

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

int removeStaleTemporaries(const QString& dir)
{
    const QDir d(dir.isEmpty() ? QStringLiteral(".") : dir);
    int removed = 0;
    const QStringList names = d.entryList({QStringLiteral(".*") + kTemporaryMark + u'*'},
                                          QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QString& name : names) {
        if (isWriterTemporaryName(name) && QFile::remove(d.filePath(name)))
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
    const QFileInfo info(path);
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
    const QByteArray target = QFile::encodeName(path);
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
    // Make the rename itself survive a power cut.
    const int dirFd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
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
