#include "platform/atomic_file.h"

#include "platform/bitmap.h"
#include "platform/sound_file.h"
#include "test_support.h"

#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <random>
#include <vector>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace lumavo {
namespace {

using test::TempDir;

QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

// A device that stores the first half of the first write, then is full.
ssize_t halfThenFull(int fd, const void* data, std::size_t count)
{
    static bool first = true;
    if (first) {
        first = false;
        return ::write(fd, data, count / 2);
    }
    errno = ENOSPC;
    return -1;
}

ssize_t storesNothing(int, const void*, std::size_t) { return 0; }

int flushFails(int)
{
    errno = EIO;
    return -1;
}

TEST(AtomicFile, FullDiskLeftAnEmptyFileAndReportedSuccess)
{
    TempDir dir;
    const QString path = dir.file("SHOW.TLP");
    ASSERT_TRUE(test::writeAll(path, "old contents"));

    FileWriteCalls full = FileWriteCalls::system();
    full.write = &halfThenFull;
    Result r = writeFileAtomically(path, {QByteArray(4096, 'n')}, full);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, "Cannot write " + path + ": No space left on device");

    FileWriteCalls shortWrite = FileWriteCalls::system();
    shortWrite.write = &storesNothing;
    r = writeFileAtomically(path, {QByteArray("abc")}, shortWrite);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains("short write"));

    FileWriteCalls badFlush = FileWriteCalls::system();
    badFlush.fsync = &flushFails;
    r = writeFileAtomically(path, {QByteArray("abc")}, badFlush);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.endsWith(": Input/output error")) << r.error.toStdString();

    EXPECT_EQ(test::readAll(path), "old contents");
    EXPECT_EQ(entries(dir.path()), QStringList{"SHOW.TLP"});   // no temporary left
}

TEST(AtomicFile, WritesThePartsAndKeepsThePermissions)
{
    TempDir dir;
    const QString path = dir.file("a.ini");
    ASSERT_TRUE(test::writeAll(path, "x"));
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    ASSERT_TRUE(writeFileAtomically(path, {QByteArray("one "), QByteArray("two")}).ok);
    EXPECT_EQ(test::readAll(path), "one two");
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(entries(dir.path()), QStringList{"a.ini"});
}

// A real full file system: a tiny tmpfs (needs the right to mount).
TEST(AtomicFile, FullTmpfsKeepsTheOldFileAndSaysWhy)
{
    TempDir dir;
    const QByteArray mountPoint = QFile::encodeName(dir.path());
    if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here";
    const QString path = dir.file("SHOW.TLP");
    const Result first = writeFileAtomically(path, {QByteArray(8 * 1024, 'o')});
    const Result tooBig = writeFileAtomically(path, {QByteArray(200 * 1024, 'n')});
    Bitmap big(400, 400, PixelFormat::Bits24);
    QString bitmapError;
    const bool bitmapSaved = big.saveToFile(dir.file("snap.bmp"), &bitmapError);
    const QByteArray kept = test::readAll(path);
    const QStringList left = entries(dir.path());
    ::umount(mountPoint.constData());

    EXPECT_TRUE(first.ok);
    EXPECT_FALSE(tooBig.ok);
    EXPECT_EQ(tooBig.error, "Cannot write " + path + ": No space left on device");
    EXPECT_EQ(kept, QByteArray(8 * 1024, 'o'));
    EXPECT_FALSE(bitmapSaved);
    EXPECT_TRUE(bitmapError.contains("No space left on device")) << bitmapError.toStdString();
    EXPECT_EQ(left, QStringList{"SHOW.TLP"});
}

TEST(AtomicFile, SaveKilledAtAnyMomentLeavesTheOldFileOrTheNewOne)
{
    TempDir dir;
    const QString path = dir.file("SHOW.TLP");
    const QByteArray oldBytes(64 * 1024, 'o');
    const QByteArray newBytes(64 * 1024, 'n');
    ASSERT_TRUE(test::writeAll(path, oldBytes));
    std::mt19937 random(12345);
    for (int round = 0; round < 20; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (;;)
                writeFileAtomically(path, {round % 2 ? oldBytes : newBytes});
        }
        ::usleep(static_cast<useconds_t>(random() % 20000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        const QByteArray now = test::readAll(path);
        EXPECT_TRUE(now == oldBytes || now == newBytes) << "round " << round;
        removeStaleTemporaries(dir.path());
        EXPECT_EQ(entries(dir.path()), QStringList{"SHOW.TLP"}) << "round " << round;
    }
}

TEST(AtomicFile, WriterTemporaryNames)
{
    EXPECT_TRUE(isWriterTemporaryName(".SHOW.TLP.lumavo-a1B2c3"));
    EXPECT_FALSE(isWriterTemporaryName("SHOW.TLP.lumavo-a1B2c3"));
    EXPECT_FALSE(isWriterTemporaryName(".SHOW.TLP.lumavo-a1B2c"));
    EXPECT_FALSE(isWriterTemporaryName(".SHOW.TLP"));
    EXPECT_TRUE(isWriterTemporaryName(QString(temporaryFileTemplate("A.000")).replace("XXXXXX", "Qw3rty")));
}

bool makeLink(const QString& target, const QString& link)
{
    return ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()) == 0;
}

TEST(AtomicFile, SaveReplacedAFifoADeviceOrAFolderWithAPlainFile)
{
    TempDir dir;
    const QString fifo = dir.file("fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(makeLink("/dev/null", dir.file("null")));   // a link, so a faulty writer replaces only it
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    const struct {
        const char* name;
        const char* why;
    } cases[] = {{"fifo", "it is a FIFO"}, {"null", "it is a device"}, {"folder", "it is a folder"}};
    for (const auto& c : cases) {
        const QString path = dir.file(c.name);
        const Result r = writeFileAtomically(path, {QByteArray("new")});
        EXPECT_FALSE(r.ok) << c.name;
        EXPECT_TRUE(r.error.startsWith("Cannot write " + path + ": " + c.why)) << r.error.toStdString();
    }
    struct stat st {};
    EXPECT_TRUE(::stat(QFile::encodeName(fifo).constData(), &st) == 0 && S_ISFIFO(st.st_mode));
    EXPECT_TRUE(::lstat(QFile::encodeName(dir.file("null")).constData(), &st) == 0 && S_ISLNK(st.st_mode));
    EXPECT_EQ(entries(dir.path()), (QStringList{"fifo", "null"}));
}

TEST(AtomicFile, ReadOnlyFileWasReplacedEvenForRoot)
{
    TempDir dir;
    const QString path = dir.file("SHOW.000");
    ASSERT_TRUE(test::writeAll(path, "old"));
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const Result r = writeFileAtomically(path, {QByteArray("new")});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, "Cannot write " + path + ": the file is read-only");
    EXPECT_EQ(test::readAll(path), "old");
    EXPECT_EQ(entries(dir.path()), QStringList{"SHOW.000"});
}

TEST(AtomicFile, SaveOverALinkReplacedTheLinkInsteadOfItsTarget)
{
    TempDir project, pages;
    const QString page = pages.file("SHOW.000");
    ASSERT_TRUE(test::writeAll(page, "old"));
    ASSERT_TRUE(QFile::setPermissions(page, QFile::ReadOwner | QFile::WriteOwner));
    // A chain: an absolute link to a relative one in the other folder.
    ASSERT_TRUE(makeLink("SHOW.000", pages.file("current")));
    ASSERT_TRUE(makeLink(pages.file("current"), project.file("SHOW.000")));
    ASSERT_TRUE(writeFileAtomically(project.file("SHOW.000"), {QByteArray("new")}).ok);
    EXPECT_EQ(test::readAll(page), "new");
    EXPECT_TRUE(QFileInfo(project.file("SHOW.000")).isSymLink());
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(page).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u) << "the target keeps its permissions";
    EXPECT_EQ(entries(pages.path()), (QStringList{"current", "SHOW.000"}));

    // A dangling link writes the file it names.
    ASSERT_TRUE(makeLink(pages.file("SHOW.001"), project.file("SHOW.001")));
    ASSERT_TRUE(writeFileAtomically(project.file("SHOW.001"), {QByteArray("one")}).ok);
    EXPECT_EQ(test::readAll(pages.file("SHOW.001")), "one");
    EXPECT_TRUE(QFileInfo(project.file("SHOW.001")).isSymLink());

    // An export refuses links.
    QString target;
    EXPECT_FALSE(resolveSaveTarget(project.file("SHOW.000"), &target, LinkPolicy::Refuse).ok);
}

TEST(AtomicFile, StaleTemporariesOfOneFileAreRemovedAndNoOthers)
{
    TempDir dir;
    for (const char* name : {".lumavo.ini.lumavo-a1B2c3", ".lumavo.ini.lumavo-Zz9999", ".other.ini.lumavo-a1B2c3",
                             "lumavo.ini", ".lumavo.ini.lumavo-a1B2c3d"})
        ASSERT_TRUE(test::writeAll(dir.file(name), "x"));
    EXPECT_EQ(removeStaleTemporaries(dir.path(), "lumavo.ini"), 2);
    EXPECT_EQ(entries(dir.path()), (QStringList{".lumavo.ini.lumavo-a1B2c3d", ".other.ini.lumavo-a1B2c3", "lumavo.ini"}));
}

TEST(ReadRegularFile, PipesAndDevicesAreRefusedWithoutBlocking)
{
    TempDir dir;
    const QString fifo = dir.file("fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QByteArray out("untouched");
    EXPECT_FALSE(readRegularFile(fifo, 1024, out).ok);
    const Result zero = readRegularFile("/dev/zero", 1024, out);
    EXPECT_EQ(zero.error, "Cannot read /dev/zero: not a regular file");
    EXPECT_EQ(out, "untouched");

    const QString big = dir.file("big");
    ASSERT_TRUE(test::writeAll(big, QByteArray(2000, 'b')));
    EXPECT_FALSE(readRegularFile(big, 1000, out).ok);
    ASSERT_TRUE(readRegularFile(big, 1000, out, true).ok);
    EXPECT_EQ(out, QByteArray(1000, 'b'));
    const Result missing = readRegularFile(dir.file("none"), 10, out);
    EXPECT_TRUE(missing.error.endsWith("No such file or directory"));
}

TEST(SoundFile, OpensOnlyRegularSoundFilesAndNeverBlocksOnAPipe)
{
    TempDir dir;
    const QString fifo = dir.file("chime.wav");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    SF_INFO info{};
    QString error;
    EXPECT_EQ(openSoundFile(fifo, info, &error), nullptr);
    EXPECT_EQ(error, "not a regular file");
    EXPECT_EQ(openSoundFile("/dev/zero", info, &error), nullptr);

    const QString text = dir.file("text.wav");
    ASSERT_TRUE(test::writeAll(text, "not a sound at all"));
    EXPECT_EQ(openSoundFile(text, info, &error), nullptr);
    EXPECT_FALSE(error.isEmpty());

    const QString wave = dir.file("tone.wav");
    SF_INFO format{};
    format.samplerate = 8000;
    format.channels = 1;
    format.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* out = sf_open(QFile::encodeName(wave).constData(), SFM_WRITE, &format);
    ASSERT_NE(out, nullptr);
    const std::vector<short> samples(800, 1000);
    sf_writef_short(out, samples.data(), 800);
    sf_close(out);
    SNDFILE* in = openSoundFile(wave, info, &error);
    ASSERT_NE(in, nullptr) << error.toStdString();
    EXPECT_EQ(info.frames, 800);
    EXPECT_EQ(info.samplerate, 8000);
    sf_close(in);
}

} // namespace
} // namespace lumavo
