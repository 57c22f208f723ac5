#include "storage/settings_file.h"

#include "storage_fixture.h"

namespace lumavo {
namespace {

using test::readAll;
using test::writeAll;

class SettingsOutputTest : public test::StorageFixture {
protected:
    QString ini() const { return dir.file("lumavo.ini"); }
};

TEST_F(SettingsOutputTest, OldFilesReadAsNoChoiceAndWriteAsBefore)
{
    ASSERT_TRUE(writeAll(ini(), "[LUMAVO Options]\nTop=3\n"));
    EXPECT_EQ(readOutputSettings(ini()), OutputSettings{});
    ASSERT_TRUE(writetheinifile(*ws, {}, ini()).ok);
    EXPECT_FALSE(QString::fromUtf8(readAll(ini())).contains(QStringLiteral("Output")));
}

TEST_F(SettingsOutputTest, ChoiceSurvivesTheShutdownRewriteAndKeepsOtherLines)
{
    ASSERT_TRUE(writeAll(ini(), "[Other]\na=1\n[LUMAVO Options]\nTop=3\n"));
    const OutputSettings chosen{"HDMI-1", "DP-2", "1280x720"};
    ASSERT_TRUE(writeOutputSettings(chosen, ini()).ok);
    EXPECT_EQ(IniFile::load(ini()).readInteger(kSettingsSection, "Top", 0), 3);
    ASSERT_TRUE(writetheinifile(*ws, {1, 2, 300, 400}, ini()).ok);
    EXPECT_EQ(readOutputSettings(ini()), chosen);
    const IniFile file = IniFile::load(ini());
    EXPECT_EQ(file.readString("Other", "a"), "1");
    EXPECT_EQ(file.readInteger(kSettingsSection, "Width", 0), 400);
}

TEST_F(SettingsOutputTest, UnwritableFileKeepsItsReason)
{
    ASSERT_TRUE(QDir().mkpath(ini()));   // a directory where the file should be
    const IoResult r = writeOutputSettings({"HDMI-1", {}, {}}, ini());
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.isEmpty());
}

} // namespace
} // namespace lumavo
