#include "cli_run.h"
#include "storage/page_record.h"
#include "test_support.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <sys/stat.h>

#include <gtest/gtest.h>

namespace lumavo {
namespace {

using test::readAll;
using test::writeAll;

using test::CliRun;
using test::runCli;

TEST(PageCli, WriteThenDumpRoundTripsEveryKind)
{
    test::TempDir dir;
    const QByteArray json = R"({
        "Text1": "  Caf\u00e9 \u20ac  ", "Text2": "x", "ArchOn2": true, "Manual": true, "FadeDelay": 6000,
        "GradColor3": 4294967295, "InDir1": -1, "OutDir3": 11, "FontStyle2": 8,
        "FontName1": "Liberation Sans", "RestLeft1": -20, "PageNumber": "0042",
        "InPathCount1": 2, "InPath1": [[1, 2], [3, 4], [65535, 0]],
        "OutPathCount2": -1, "OutPath2": [[9, 9]]
    })";
    ASSERT_TRUE(writeAll(dir.file("in.json"), json));
    const CliRun written = runCli({"page", "write", dir.file("in.json"), dir.file("P.000")});
    ASSERT_EQ(written.exitCode, 0) << written.err.constData();
    const QByteArray bytes = readAll(dir.file("P.000"));
    ASSERT_EQ(bytes.size(), kRecordSize);
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[826]), 0xFF);
    EXPECT_EQ(bytes.mid(1686, 4), QByteArray("\x03" "004", 4)) << "cut to its capacity";
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[66 + 5]), 0xE9);

    const CliRun dumped = runCli({"page", "dump", dir.file("P.000")});
    ASSERT_EQ(dumped.exitCode, 0) << dumped.err.constData();
    const QJsonObject o = QJsonDocument::fromJson(dumped.out).object();
    EXPECT_EQ(o.value("Text1").toString(), QString::fromUtf8("  Caf\u00e9 \u20ac  ")) << "not trimmed";
    EXPECT_TRUE(o.value("ArchOn2").toBool());
    EXPECT_FALSE(o.value("ArchOn1").toBool());
    EXPECT_EQ(o.value("FadeDelay").toInt(), 6000);
    EXPECT_EQ(o.value("GradColor3").toDouble(), 4294967295.0);
    EXPECT_EQ(o.value("InDir1").toInt(), -1);
    EXPECT_EQ(o.value("FontStyle2").toInt(), 8);
    EXPECT_EQ(o.value("RestLeft1").toInt(), -20);
    EXPECT_EQ(o.value("PageNumber").toString(), "004");
    EXPECT_EQ(o.value("InPath1").toArray(), (QJsonArray{QJsonArray{1, 2}, QJsonArray{3, 4}, QJsonArray{65535, 0}}));
    EXPECT_EQ(o.value("OutPath2").toArray(), QJsonArray{});
    EXPECT_EQ(o.value("InPath3").toArray().size(), 1) << "count 0 holds one point";
    EXPECT_EQ(o.keys().size(), 3 * 17 + 5 + 3 * 4);
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[13708]), 9) << "slots beyond the count are still written";

    // Writing the dump back gives a page that dumps the same.
    ASSERT_TRUE(writeAll(dir.file("again.json"), dumped.out));
    ASSERT_EQ(runCli({"page", "write", dir.file("again.json"), dir.file("P.001")}).exitCode, 0);
    EXPECT_EQ(runCli({"page", "dump", dir.file("P.001")}).out, dumped.out);
}

TEST(PageCli, DumpClampsAHugePathCount)
{
    test::TempDir dir;
    QByteArray bytes(kRecordSize, '\0');
    bytes[1692] = static_cast<char>(0x88);   // InPathCount1 = 5000
    bytes[1693] = 0x13;
    ASSERT_TRUE(writeAll(dir.file("P.000"), bytes));
    const CliRun dumped = runCli({"page", "dump", dir.file("P.000")});
    ASSERT_EQ(dumped.exitCode, 0);
    const QJsonObject o = QJsonDocument::fromJson(dumped.out).object();
    EXPECT_EQ(o.value("InPathCount1").toInt(), 5000);
    EXPECT_EQ(o.value("InPath1").toArray().size(), 1000);
}

struct FailCase {
    const char* name;
    QByteArray file;       // contents of the input ("" = no file)
    QStringList args;      // %in / %out replaced
    int exitCode;
};

class PageCliFailure : public ::testing::TestWithParam<FailCase> {};

TEST_P(PageCliFailure, OneLineOnStderr)
{
    test::TempDir dir;
    if (!GetParam().file.isEmpty()) {
        ASSERT_TRUE(writeAll(dir.file("in"), GetParam().file));
    }
    QStringList args;
    for (QString a : GetParam().args)
        args << a.replace("%in", dir.file("in")).replace("%out", dir.file("out"));
    const CliRun r = runCli(args);
    EXPECT_EQ(r.exitCode, GetParam().exitCode);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(r.err.trimmed().count('\n'), 0) << r.err.constData();
    EXPECT_FALSE(QFile::exists(dir.file("out")));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PageCliFailure,
    ::testing::Values(FailCase{"ShortFile", QByteArray(kRecordSize - 1, 'a'), {"page", "dump", "%in"}, 1},
                      FailCase{"MissingFile", {}, {"page", "dump", "%in"}, 1},
                      FailCase{"NotJson", "{oops", {"page", "write", "%in", "%out"}, 1},
                      FailCase{"WrongType", R"({"InDir1": "five"})", {"page", "write", "%in", "%out"}, 1},
                      FailCase{"OutOfRange", R"({"InDir1": 300})", {"page", "write", "%in", "%out"}, 1},
                      FailCase{"UnknownKey", R"({"Txt1": "a"})", {"page", "write", "%in", "%out"}, 1},
                      FailCase{"BadPoint", R"({"InPath1": [[1]]})", {"page", "write", "%in", "%out"}, 1},
                      FailCase{"HugeNumberCastBeforeItsRangeCheck", R"({"InDir1": 1e300})", {"page", "write", "%in", "%out"}, 1},
                      FailCase{"PauseOfHoursFrozeTheStage", R"({"PauseSecs": 100000})", {"page", "write", "%in", "%out"}, 1},
                      FailCase{"MovementDelayOutOfRange", R"({"MovementDelay": 2000000000})", {"page", "write", "%in", "%out"}, 1},
                      FailCase{"FadeDelayOutOfRange", R"({"FadeDelay": 6001})", {"page", "write", "%in", "%out"}, 1},
                      FailCase{"NegativePause", R"({"PauseSecs": -1})", {"page", "write", "%in", "%out"}, 1},
                      FailCase{"Usage", {}, {"page", "dump"}, 2},
                      FailCase{"ProjectUsage", {}, {"project", "list", "%in"}, 2},
                      FailCase{"MissingProject", {}, {"project", "info", "%in"}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProjectCli, InfoReportsNumbering)
{
    test::TempDir dir;
    ASSERT_TRUE(writeAll(dir.file("copy.tlp"),
                         "[LumavoProject]\nProjectName=Show.tlp\nUseCountDown=1\nHoldtime=15\n"));
    for (const char* n : {"000", "001", "003"})
        ASSERT_TRUE(writeAll(dir.file(QStringLiteral("SHOW.") + n), "x"));
    const CliRun r = runCli({"project", "info", dir.file("copy.tlp")});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    const QJsonObject o = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(o.value("ProjectName").toString(), "Show.tlp");
    EXPECT_EQ(o.value("base").toString(), "SHOW");
    EXPECT_EQ(o.value("lastPage").toString(), "001");
    EXPECT_EQ(o.value("nextFreePage").toString(), "002");
    EXPECT_FALSE(o.value("UseColorBars").toBool());
    EXPECT_TRUE(o.value("UseCountDown").toBool());
    EXPECT_EQ(o.value("Holdtime").toInt(), 15);
}

TEST(PageCli, TextOutsideTheCodePageWasWrittenAsQuestionMarks)
{
    test::TempDir dir;
    ASSERT_TRUE(writeAll(dir.file("in.json"),
                         QString::fromUtf8(R"({"Text1": "Καλησπέρα", "WaveFile2": "東京.wav", "OutlineWidth3": 2})").toUtf8()));
    const CliRun r = runCli({"page", "write", dir.file("in.json"), dir.file("P.000")});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    const QByteArray bytes = readAll(dir.file("P.000"));
    ASSERT_EQ(bytes.size(), kRecordSize);
    EXPECT_EQ(bytes.mid(65, 10), QByteArray("\x09?????????", 10)) << "the record keeps the Windows-1252 form";
    const QJsonObject o = QJsonDocument::fromJson(runCli({"page", "dump", dir.file("P.000")}).out).object();
    EXPECT_EQ(o.value("Text1").toString(), QString::fromUtf8("Καλησπέρα"));
    EXPECT_EQ(o.value("WaveFile2").toString(), QString::fromUtf8("東京.wav"));
    EXPECT_EQ(o.value("OutlineWidth3").toInt(), 2);

    // Writing Windows-1252 text over it leaves a classic page without an extension.
    ASSERT_TRUE(writeAll(dir.file("in.json"), R"({"Text1": "plain"})"));
    ASSERT_EQ(runCli({"page", "write", dir.file("in.json"), dir.file("P.000")}).exitCode, 0);
    EXPECT_FALSE(QFile::exists(dir.file("P.000.json")));
}

TEST(PageCli, WriteReplacedAFifoALinkOrAReadOnlyPage)
{
    test::TempDir dir, elsewhere;
    ASSERT_TRUE(writeAll(dir.file("in.json"), R"({"Text1": "new"})"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.file("fifo")).constData(), 0600), 0);
    const CliRun fifo = runCli({"page", "write", dir.file("in.json"), dir.file("fifo")});
    EXPECT_EQ(fifo.exitCode, 1);
    EXPECT_TRUE(fifo.stderrText.contains(dir.file("fifo") + ": it is a FIFO")) << qPrintable(fifo.stderrText);
    EXPECT_FALSE(QFileInfo(dir.file("fifo")).isFile());

    ASSERT_TRUE(writeAll(dir.file("old.000"), "old"));
    ASSERT_TRUE(QFile::setPermissions(dir.file("old.000"), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const CliRun readOnly = runCli({"page", "write", dir.file("in.json"), dir.file("old.000")});
    EXPECT_EQ(readOnly.exitCode, 1);
    EXPECT_TRUE(readOnly.stderrText.contains("read-only")) << qPrintable(readOnly.stderrText);
    EXPECT_EQ(readAll(dir.file("old.000")), "old");

    // A project whose page lives in another folder: the page there gets the new contents.
    ASSERT_TRUE(writeAll(elsewhere.file("P.000"), "old"));
    ASSERT_TRUE(QFile::link(elsewhere.file("P.000"), dir.file("P.000")));
    const CliRun linked = runCli({"page", "write", dir.file("in.json"), dir.file("P.000")});
    EXPECT_EQ(linked.exitCode, 0) << qPrintable(linked.stderrText);
    EXPECT_TRUE(QFileInfo(dir.file("P.000")).isSymLink());
    EXPECT_EQ(readAll(elsewhere.file("P.000")).size(), kRecordSize);
}

} // namespace
} // namespace lumavo
