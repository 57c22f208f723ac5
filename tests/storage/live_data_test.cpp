#include "storage/live_data.h"
#include "storage/project.h"
#include "scripted_prompter.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace lumavo {
namespace {

using test::ScriptedPrompter;
using test::TempDir;
using test::readAll;
using test::writeAll;

DataRow rowOf(const QStringList& columns, const QStringList& values) { return DataRow{1, columns, values}; }

TEST(LiveData, CsvKeepsQuotedDelimitersQuotesAndLineBreaks)
{
    const QByteArray csv = "\xEF\xBB\xBFName,Role\r\n"
                           "\"Doe, Jane\",\"Host \"\"live\"\"\"\r\n"
                           "\r\n"
                           "\"Two\nlines\",x,extra\n"
                           "Short\n";
    const DataTableRead read = parseCsvTable(csv);
    ASSERT_TRUE(read.ok) << read.error.toStdString();
    EXPECT_EQ(read.table.columns, (QStringList{"Name", "Role"}));
    ASSERT_EQ(read.table.rows.size(), 3);
    EXPECT_EQ(read.table.rows[0], (QStringList{"Doe, Jane", "Host \"live\""}));
    EXPECT_EQ(read.table.rows[1], (QStringList{"Two\nlines", "x"}));
    EXPECT_EQ(read.table.rows[2], (QStringList{"Short", ""}));
}

TEST(LiveData, CsvWithSemicolonsAndUtf8Names)
{
    const DataTableRead read = parseCsvTable("Name;Rôle\nZoë;Gäst\n");
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.table.columns, (QStringList{"Name", QString::fromUtf8("Rôle")}));
    EXPECT_EQ(read.table.rows[0][1], QString::fromUtf8("Gäst"));
}

TEST(LiveData, BrokenFilesAreRefusedWithAReason)
{
    EXPECT_FALSE(parseCsvTable("Name\n\xFF\xFE bad\n").ok);
    EXPECT_FALSE(parseCsvTable("").ok);
    EXPECT_FALSE(parseJsonTable("[1, 2]").ok);
    EXPECT_FALSE(parseJsonTable("{\"Name\": 1}").ok);
    const DataTableRead broken = parseJsonTable("[{\"Name\": ");
    EXPECT_FALSE(broken.ok);
    EXPECT_FALSE(broken.error.isEmpty());
    EXPECT_FALSE(readDataTable("/no/such/file.csv").ok);
}

TEST(LiveData, JsonArrayGivesEveryKeyAsAColumn)
{
    TempDir dir;
    ASSERT_TRUE(writeAll(dir.file("guests.json"),
                         "  [{\"Name\": \"Ann\", \"Age\": 42}, {\"Name\": \"Bo\", \"Host\": true, \"Age\": null}]"));
    const DataTableRead read = readDataTable(dir.file("guests.json"));
    ASSERT_TRUE(read.ok) << read.error.toStdString();
    EXPECT_EQ(read.table.columns, (QStringList{"Age", "Name", "Host"}));
    EXPECT_EQ(read.table.rows[0], (QStringList{"42", "Ann", ""}));
    EXPECT_EQ(read.table.rows[1], (QStringList{"", "Bo", "true"}));
}

TEST(LiveData, PlaceholdersFillFromTheRowAndMissingColumnsStayAsTyped)
{
    const DataRow row = rowOf({"Name", "Role"}, {"Ann", "Host"});
    EXPECT_EQ(fillPlaceholders("{{Name}} - {{ role }}", row).text, "Ann - Host");
    const FilledText missing = fillPlaceholders("{{Name}} {{Title}} {{Title}} {{Name", row);
    EXPECT_EQ(missing.text, "Ann {{Title}} {{Title}} {{Name");
    EXPECT_EQ(missing.missingColumns, QStringList{"Title"});
    // No row selected: the text is shown as typed and nothing is reported missing.
    const FilledText none = fillPlaceholders("{{Name}}", DataRow{});
    EXPECT_EQ(none.text, "{{Name}}");
    EXPECT_TRUE(none.missingColumns.isEmpty());
}

TEST(LiveData, RowsCountFromOne)
{
    DataTable table{{"Name"}, {{"Ann"}, {"Bo"}}};
    EXPECT_EQ(dataRowOf(table, 2).values, QStringList{"Bo"});
    EXPECT_EQ(dataRowOf(table, 0).number, 0);
    EXPECT_EQ(dataRowOf(table, 3).number, 0);
}

TEST(LiveData, ProjectKeepsItsDataFileAndAProjectWithoutOneClearsIt)
{
    TempDir dir;
    ScriptedPrompter prompter;
    Workspace ws;
    ASSERT_TRUE(writeAll(dir.file("a.tlp"), "[LumavoProject]\nProjectName=A.TLP\nDataFile=guests.csv\n"));
    ASSERT_TRUE(writeAll(dir.file("b.tlp"), "[LumavoProject]\nProjectName=B.TLP\n"));
    ASSERT_TRUE(OpenProject(ws, dir.file("a.tlp")).projectFileRead);
    EXPECT_EQ(ws.project.dataFile, "guests.csv");
    EXPECT_EQ(dataFilePath(ws.project), dir.file("guests.csv"));
    ASSERT_TRUE(writeProjectDataFile(dir.file("a.tlp"), "other.json").ok);
    EXPECT_TRUE(readAll(dir.file("a.tlp")).contains("DataFile=other.json"));
    ASSERT_TRUE(OpenProject(ws, dir.file("b.tlp")).projectFileRead);
    EXPECT_TRUE(ws.project.dataFile.isEmpty());
    // Saving a project that uses no data file adds no key.
    ASSERT_EQ(SaveProject(ws, prompter, ProjectSaveInfo{}).status, SaveProjectStatus::Saved);
    EXPECT_FALSE(readAll(dir.file("b.tlp")).contains("DataFile"));
}

} // namespace
} // namespace lumavo
