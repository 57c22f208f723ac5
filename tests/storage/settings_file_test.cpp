#include "storage/settings_file.h"

#include "storage/recent_projects.h"

#include "storage_fixture.h"

namespace lumavo {
namespace {

using test::readAll;
using test::writeAll;

class SettingsFileTest : public test::StorageFixture {
protected:
    QString ini() const { return dir.file("conf/lumavo.ini"); }
};

TEST_F(SettingsFileTest, MissingFileChangesNothing)
{
    ws->project.projectDir = "/kept/";
    const SettingsReadOutcome r = readtheinifile(*ws, ini());
    EXPECT_FALSE(r.fileFound);
    EXPECT_FALSE(r.placement.has_value());
    EXPECT_EQ(ws->project.projectDir, "/kept/");
    EXPECT_TRUE(ws->editor.settingsRead);
}

TEST_F(SettingsFileTest, WriteThenReadReopensTheLastProject)
{
    makePage("000");
    ws->project.projectName = "SHOW.TLP";
    ASSERT_EQ(SaveProject(*ws, prompter, {}).status, SaveProjectStatus::Saved);
    const WindowPlacement placed{10, 20, 300, 400};
    const QDateTime when(QDate(2025, 1, 2), QTime(3, 4, 5));
    ASSERT_TRUE(writetheinifile(*ws, placed, ini(), when).ok);
    const QString text = QString::fromUtf8(readAll(ini()));
    const QString dirText = dir.dirWithSeparator();
    EXPECT_EQ(text, "[LUMAVO Options]\nProgram=Lumavo-32\nVersion=01.30\nLastproject=" + dirText +
                        "SHOW.TLP\nDir=" + dirText + "\nTop=10\nLeft=20\nHeight=300\nWidth=400\nBirth=" +
                        birthText(when) + "\n");

    Workspace fresh;
    const SettingsReadOutcome r = readtheinifile(fresh, ini());
    EXPECT_EQ(r.placement, placed);
    EXPECT_TRUE(r.projectOpened);
    EXPECT_TRUE(r.openProject.pageLoaded);
    EXPECT_EQ(fresh.project.projectName, "SHOW.TLP");
    EXPECT_EQ(fresh.page.line(1).text, "page 000");
}

TEST_F(SettingsFileTest, DefaultsAndADeletedLastProject)
{
    ASSERT_TRUE(QDir().mkpath(dir.file("conf")));
    ASSERT_TRUE(writeAll(ini(), "[lumavo options]\nHeight=500\nWidth=600\nLastproject=" +
                                    dir.file("gone.tlp").toUtf8() + "\nDir=/stored/dir\n"));
    const SettingsReadOutcome r = readtheinifile(*ws, ini());
    EXPECT_EQ(r.placement, (WindowPlacement{0, 0, 500, 600}));
    EXPECT_FALSE(r.projectOpened);
    EXPECT_EQ(ws->project.projectDir, "/stored/dir/");
}

TEST_F(SettingsFileTest, RewriteDropsUnknownKeysAndKeepsOtherSections)
{
    ASSERT_TRUE(QDir().mkpath(dir.file("conf")));
    ASSERT_TRUE(writeAll(ini(), "[Other]\na=1\n[LUMAVO OPTIONS]\nHandAdded=yes\nTop=3\n"));
    ws->project.projectName.clear();
    ws->project.projectDir.clear();
    ASSERT_TRUE(writetheinifile(*ws, {}, ini()).ok);
    const IniFile file = IniFile::load(ini());
    EXPECT_FALSE(file.hasKey(kSettingsSection, "HandAdded"));
    EXPECT_EQ(file.readString("Other", "a"), "1");
    EXPECT_TRUE(file.hasKey(kSettingsSection, "Lastproject"));
    EXPECT_EQ(file.readString(kSettingsSection, "Lastproject", "x"), "");
    EXPECT_EQ(file.readString(kSettingsSection, "Dir", "x"), "");
    EXPECT_EQ(file.readInteger(kSettingsSection, "Height", 0), 400);
}

TEST_F(SettingsFileTest, RecentProjectsStayInTheirOwnSectionNewestFirstAtMostEight)
{
    QStringList recent;
    for (int i = 0; i < 10; ++i)
        recent = withRecentProject(recent, dir.file(QStringLiteral("P%1.tlp").arg(i)));
    recent = withRecentProject(recent, dir.file("P5.tlp"));
    ASSERT_EQ(recent.size(), kRecentProjectsLimit);
    EXPECT_EQ(recent.front(), dir.file("P5.tlp")) << "opened again: moved to the front, not repeated";
    EXPECT_EQ(recent.count(dir.file("P5.tlp")), 1);
    EXPECT_EQ(recent[1], dir.file("P9.tlp"));
    ASSERT_TRUE(writeAll(dir.file("P9.tlp"), "[LumavoProject]\n"));
    EXPECT_EQ(withoutMissingProjects(recent), QStringList{dir.file("P9.tlp")});

    // The options section is written as always, and its rewrite keeps the list.
    ASSERT_TRUE(QDir().mkpath(dir.file("conf")));
    ASSERT_TRUE(writeRecentProjects(recent, ini()).ok);
    ws->project.projectName.clear();
    ASSERT_TRUE(writetheinifile(*ws, {}, ini()).ok);
    EXPECT_EQ(readRecentProjects(ini()), recent);
    const IniFile file = IniFile::load(ini());
    EXPECT_FALSE(file.hasKey(kSettingsSection, "File1"));
    EXPECT_EQ(file.readString(kRecentProjectsSection, "File1"), dir.file("P5.tlp"));
}

TEST_F(SettingsFileTest, UnwritableFileReportsIt)
{
    ASSERT_TRUE(QDir().mkpath(ini()));   // a directory where the file should be
    const IoResult r = writetheinifile(*ws, {}, ini());
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains(ini()));
}

TEST_F(SettingsFileTest, KilledSettingsSavesLeftTheirTemporariesForever)
{
    ASSERT_TRUE(QDir().mkpath(dir.file("conf")));
    for (const char* name : {".lumavo.ini.lumavo-a1B2c3", ".lumavo.ini.lumavo-XyZ789", ".other.ini.lumavo-a1B2c3"})
        ASSERT_TRUE(writeAll(dir.file(QStringLiteral("conf/") + name), "x"));
    readtheinifile(*ws, ini());
    EXPECT_EQ(QDir(dir.file("conf")).entryList(QDir::Files | QDir::Hidden), QStringList{".other.ini.lumavo-a1B2c3"});
}

TEST_F(SettingsFileTest, ExitThatCannotWriteTheSettingsSaysCannotWrite)
{
    ASSERT_TRUE(QDir().mkpath(ini()));   // the old content cannot be read, so it cannot be rewritten
    for (const IoResult& r : {writetheinifile(*ws, {}, ini()), writeOutputSettings({}, ini())}) {
        EXPECT_TRUE(r.error.startsWith("Cannot write " + ini() + ": ")) << qPrintable(r.error);
        EXPECT_FALSE(r.error.contains("Cannot read")) << qPrintable(r.error);
    }
}

} // namespace
} // namespace lumavo

namespace lumavo {
namespace {

class SettingsSafetyTest : public test::StorageFixture {
protected:
    QString ini() const { return dir.file("lumavo.ini"); }
};

TEST_F(SettingsSafetyTest, ZeroOrNegativeWindowSizesFallBackToTheDefaults)
{
    ASSERT_TRUE(test::writeAll(ini(), "[LUMAVO Options]\nTop=-5\nLeft=3000000\nHeight=0\nWidth=-20\n"));
    const SettingsReadOutcome r = readtheinifile(*ws, ini());
    ASSERT_TRUE(r.placement.has_value());
    EXPECT_EQ(r.placement->height, 400);
    EXPECT_EQ(r.placement->width, 200);

}

TEST_F(SettingsSafetyTest, LastProjectNamingADeviceBlockedStartUp)
{
    for (const QString& last : {QStringLiteral("/dev/zero"), QStringLiteral("/dev/ZERO")}) {
        ASSERT_TRUE(test::writeAll(ini(), ("[LUMAVO Options]\nLastproject=" + last + "\n").toUtf8()));
        const SettingsReadOutcome r = readtheinifile(*ws, ini());
        EXPECT_FALSE(r.projectOpened) << last.toStdString();
    }
    // A settings file that is itself a device reads as empty.
    const SettingsReadOutcome r = readtheinifile(*ws, "/dev/zero");
    EXPECT_FALSE(r.projectOpened);
}

TEST_F(SettingsSafetyTest, LastProjectNamedTheStoredNameInsteadOfTheFileOpened)
{
    // The demo's project file stores its name without the extension.
    ASSERT_TRUE(test::writeAll(dir.file("DEMO.tlp"), "[LumavoProject]\nProjectName=DEMO\n"));
    OpenProject(*ws, dir.file("DEMO.tlp"));
    ASSERT_TRUE(writetheinifile(*ws, {}, ini()).ok);
    Workspace next;
    const SettingsReadOutcome r = readtheinifile(next, ini());
    EXPECT_EQ(r.lastProject, dir.file("DEMO.tlp"));
    EXPECT_TRUE(r.projectOpened);
}

} // namespace
} // namespace lumavo
