#include "storage/file_lookup.h"

#include "test_support.h"

#include <QDir>
#include <gtest/gtest.h>

namespace lumavo {
namespace {

using test::writeAll;

class FileLookupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(writeAll(dir.file("Logo.BMP"), "x"));
        ASSERT_TRUE(QDir(dir.path()).mkdir("art"));
        ASSERT_TRUE(writeAll(dir.file("art/Intro.wav"), "x"));
    }
    test::TempDir dir;
};

TEST_F(FileLookupTest, ExactNameFirstThenAnyLetterCase)
{
    EXPECT_EQ(findFileIgnoringCase(dir.path(), "Logo.BMP"), dir.file("Logo.BMP"));
    EXPECT_EQ(findFileIgnoringCase(dir.dirWithSeparator(), "logo.bmp"), dir.file("Logo.BMP"));
    EXPECT_TRUE(findFileIgnoringCase(dir.path(), "logo.bm").isEmpty());
    EXPECT_TRUE(findFileIgnoringCase(dir.file("nodir"), "logo.bmp").isEmpty());
    EXPECT_TRUE(findFileIgnoringCase(dir.path(), "art").isEmpty()) << "directories are not files";
}

struct StoredCase {
    const char* stored;     // %1 = the test directory
    const char* expected;   // relative to the test directory; "" = not found
};

class ResolveStoredPath : public FileLookupTest, public ::testing::WithParamInterface<StoredCase> {};

TEST_P(ResolveStoredPath, FindsTheFileWithoutRewritingThePath)
{
    const QString stored = QString::fromUtf8(GetParam().stored).replace("%1", dir.path());
    const QString expected = QString::fromUtf8(GetParam().expected);
    const QString found = resolveStoredPath(stored, dir.dirWithSeparator());
    if (expected.isEmpty())
        EXPECT_TRUE(found.isEmpty()) << qPrintable(found);
    else
        EXPECT_EQ(QFileInfo(found).canonicalFilePath(), QFileInfo(dir.file(expected)).canonicalFilePath());
}

INSTANTIATE_TEST_SUITE_P(Paths, ResolveStoredPath,
                         ::testing::Values(StoredCase{"%1/Logo.BMP", "Logo.BMP"},
                                           StoredCase{"C:\\TITLES\\LOGO.BMP", "Logo.BMP"},
                                           StoredCase{"c:\\titles\\art\\intro.WAV", ""},
                                           StoredCase{"%1/art/INTRO.WAV", "art/Intro.wav"},
                                           StoredCase{"art\\intro.wav", "art/Intro.wav"},
                                           StoredCase{"/elsewhere/logo.bmp", "Logo.BMP"},
                                           StoredCase{"C:\\TITLES\\MISSING.BMP", ""},
                                           StoredCase{"", ""}));

TEST_F(FileLookupTest, IndexFollowsRenames)
{
    DirectoryIndex index(dir.path());
    EXPECT_EQ(index.find("LOGO.bmp"), dir.file("Logo.BMP"));
    index.noteRenamed("Logo.BMP", "Logo.000");
    EXPECT_TRUE(index.find("logo.bmp").isEmpty());
    EXPECT_EQ(index.find("LOGO.000"), dir.file("Logo.000"));
}

} // namespace
} // namespace lumavo
