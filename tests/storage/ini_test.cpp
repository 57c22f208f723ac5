#include "platform/ini.h"

#include "test_support.h"

#include <QFile>
#include <gtest/gtest.h>

namespace lumavo {
namespace {

const QString kSample = QStringLiteral(
    "; a comment\n"
    "stray line before any section\n"
    "[Other]\n"
    "keep=me\n"
    "\n"
    "[ Lumavo Options ]\n"
    "  Top = 12 \n"
    "garbage without equals\n"
    "Name=\"quoted value\"\n"
    "Hex=0x1F\n"
    "Bad=12abc\n"
    "Top=99\n"
    "\n"
    "[tail]\n"
    "x=1\n");

TEST(IniFile, ReadsIgnoringLetterCaseAndBlanks)
{
    const IniFile ini = IniFile::fromText(kSample);
    EXPECT_EQ(ini.readInteger("LUMAVO OPTIONS", "top", -1), 12) << "the first of two equal keys wins";
    EXPECT_EQ(ini.readString("lumavo options", "NAME"), "quoted value");
    EXPECT_EQ(ini.readInteger("Lumavo Options", "Hex", 0), 31);
    EXPECT_EQ(ini.readInteger("Lumavo Options", "Bad", 7), 7);
    EXPECT_EQ(ini.readInteger("Lumavo Options", "Missing", 400), 400);
    EXPECT_EQ(ini.readString("Nowhere", "keep", "dflt"), "dflt");
    EXPECT_EQ(ini.readString("Other", "keep"), "me");
    EXPECT_FALSE(ini.hasKey("Other", "x"));
    EXPECT_TRUE(ini.readBool("tail", "x", false));
}

TEST(IniFile, WritingAKeyKeepsEveryOtherLine)
{
    IniFile ini = IniFile::fromText(kSample);
    ini.writeString("lumavo OPTIONS", "top", "5");
    ini.writeString("Lumavo Options", "New", "n");
    ini.writeInteger("Fresh", "A", -3);
    ini.writeString("Fresh", "B", "two\nlines");
    const QString text = ini.toText();
    EXPECT_TRUE(text.contains("stray line before any section\n"));
    EXPECT_TRUE(text.contains("garbage without equals\n"));
    EXPECT_TRUE(text.contains("[Other]\nkeep=me\n"));
    EXPECT_TRUE(text.contains("top=5\n"));
    EXPECT_TRUE(text.contains("Top=99\nNew=n\n\n[tail]")) << qPrintable(text);
    EXPECT_TRUE(text.endsWith("[Fresh]\nA=-3\nB=two lines\n")) << qPrintable(text);
    EXPECT_EQ(IniFile::fromText(text).readInteger("Fresh", "A", 0), -3);
}

TEST(IniFile, EraseSectionRemovesItsKeysOnly)
{
    IniFile ini = IniFile::fromText(kSample);
    ini.eraseSection("LUMAVO OPTIONS");
    EXPECT_FALSE(ini.hasSection("Lumavo Options"));
    EXPECT_FALSE(ini.toText().contains("garbage without equals"));
    EXPECT_EQ(ini.readString("Other", "keep"), "me");
    EXPECT_EQ(ini.readString("tail", "x"), "1");
}

TEST(IniFile, MissingFileReadsEmptyAndSaveIsAtomic)
{
    test::TempDir dir;
    IoResult status;
    const IniFile missing = IniFile::load(dir.file("none.ini"), &status);
    EXPECT_TRUE(status.ok);
    EXPECT_TRUE(missing.toText().isEmpty());

    IniFile ini;
    ini.writeString("S", "k", QString::fromUtf8("W\u00E4rme"));
    const QString path = dir.file("sub/dir/a.ini");
    ASSERT_TRUE(ini.save(path).ok);
    EXPECT_EQ(IniFile::load(path).readString("s", "K"), QString::fromUtf8("W\u00E4rme"));
}

TEST(IniFile, LegacySingleByteFileStillReads)
{
    test::TempDir dir;
    ASSERT_TRUE(test::writeAll(dir.file("old.ini"), QByteArray("[S]\r\nname=Caf\xE9\r\ntitle=\x93Z\x8A" "a\x94 \x80\r\n")));
    const IniFile ini = IniFile::load(dir.file("old.ini"));
    EXPECT_EQ(ini.readString("S", "name"), QString::fromUtf8("Caf\u00E9"));
    // The Windows code page, not Latin-1: 0x80..0x9F are letters and quotes there.
    EXPECT_EQ(ini.readString("S", "title"), QString::fromUtf8("\u201CZ\u0160a\u201D \u20AC"));
}

TEST(IniFile, SaveIntoUnwritablePlaceFailsAndNamesTheFile)
{
    test::TempDir dir;
    ASSERT_TRUE(test::writeAll(dir.file("blocker"), "x"));
    IniFile ini;
    ini.writeString("S", "k", "v");
    const IoResult r = ini.save(dir.file("blocker/a.ini"));
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains("blocker/a.ini"));
}

} // namespace
} // namespace lumavo
