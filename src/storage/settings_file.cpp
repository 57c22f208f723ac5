#include "storage/settings_file.h"

#include "platform/atomic_file.h"
#include "storage/file_lookup.h"
#include "storage/recent_projects.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>

namespace lumavo {

namespace {
constexpr int kMaxSettingLength = 255;

OutputSettings outputsIn(const IniFile& ini)
{
    return {ini.readString(kSettingsSection, QStringLiteral("OutputScreen")),
            ini.readString(kSettingsSection, QStringLiteral("KeyOutputScreen")),
            ini.readString(kSettingsSection, QStringLiteral("OutputWindow"))};
}

void writeOutputs(IniFile& ini, const OutputSettings& outputs)
{
    ini.writeString(kSettingsSection, QStringLiteral("OutputScreen"), outputs.outputScreen);
    ini.writeString(kSettingsSection, QStringLiteral("KeyOutputScreen"), outputs.keyOutputScreen);
    ini.writeString(kSettingsSection, QStringLiteral("OutputWindow"), outputs.outputWindow);
}
} // namespace

QString settingsFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).trimmed() +
           QStringLiteral("/lumavo.ini");
}

SettingsReadOutcome readtheinifile(Workspace& ws, const QString& path,
                                   bool reopenLastProject)
{
    SettingsReadOutcome outcome;
    ws.editor.settingsRead = true;
    // Temporaries of settings saves that were killed (beside the file a link leads to, when it is one).
    QString written;
    if (!resolveSaveTarget(path, &written).ok)
        written = path;
    removeStaleTemporaries(QFileInfo(written).absolutePath(), QFileInfo(written).fileName());
    if (!QFileInfo(path).isFile())
        return outcome;
    outcome.fileFound = true;
    const IniFile ini = IniFile::load(path);
    outcome.lastProject = ini.readString(kSettingsSection, QStringLiteral("Lastproject")).left(kMaxSettingLength);
    WindowPlacement placement;
    const WindowPlacement defaults;
    placement.top = ini.readInteger(kSettingsSection, QStringLiteral("Top"), defaults.top);
    placement.left = ini.readInteger(kSettingsSection, QStringLiteral("Left"), defaults.left);
    placement.height = ini.readInteger(kSettingsSection, QStringLiteral("Height"), defaults.height);
    placement.width = ini.readInteger(kSettingsSection, QStringLiteral("Width"), defaults.width);
    // A window of no size cannot be used: such a size is taken as never stored.
    if (placement.height <= 0)
        placement.height = defaults.height;
    if (placement.width <= 0)
        placement.width = defaults.width;
    outcome.placement = placement;
    QString dir = ini.readString(kSettingsSection, QStringLiteral("Dir")).left(kMaxSettingLength);
    if (!dir.isEmpty() && !dir.endsWith(u'/'))
        dir += u'/';
    ws.project.projectDir = dir;

    const QString& last = outcome.lastProject;
    const qsizetype slash = last.lastIndexOf(u'/');
    if (reopenLastProject && !last.isEmpty() &&
        !findFileIgnoringCase(last.left(slash + 1), last.mid(slash + 1)).isEmpty()) {
        outcome.projectOpened = true;
        outcome.openProject = OpenProject(ws, last);
    }
    return outcome;
}

IoResult writetheinifile(const Workspace& ws, const WindowPlacement& placement, const QString& path,
                         const QDateTime& now)
{
    return IniFile::update(path, [&](IniFile& ini) {
        const bool hadOutputs = ini.hasKey(kSettingsSection, QStringLiteral("OutputScreen")) ||
                                ini.hasKey(kSettingsSection, QStringLiteral("KeyOutputScreen")) ||
                                ini.hasKey(kSettingsSection, QStringLiteral("OutputWindow"));
        const OutputSettings outputs = outputsIn(ini);
        ini.eraseSection(QStringLiteral("LUMAVO OPTIONS"));
        const ProjectState& project = ws.project;
        const QString last = openedProjectFile(project);
        ini.writeString(kSettingsSection, QStringLiteral("Program"), ws.applicationTitle);
        ini.writeString(kSettingsSection, QStringLiteral("Version"), ws.versionText);
        ini.writeString(kSettingsSection, QStringLiteral("Lastproject"), last);
        ini.writeString(kSettingsSection, QStringLiteral("Dir"), project.projectDir);
        ini.writeInteger(kSettingsSection, QStringLiteral("Top"), placement.top);
        ini.writeInteger(kSettingsSection, QStringLiteral("Left"), placement.left);
        ini.writeInteger(kSettingsSection, QStringLiteral("Height"), placement.height);
        ini.writeInteger(kSettingsSection, QStringLiteral("Width"), placement.width);
        ini.writeString(kSettingsSection, QStringLiteral("Birth"),
                        birthText(now.isValid() ? now : QDateTime::currentDateTime()));
        if (hadOutputs)
            writeOutputs(ini, outputs);
    });
}

OutputSettings readOutputSettings(const QString& path) { return outputsIn(IniFile::load(path)); }

IoResult writeOutputSettings(const OutputSettings& outputs, const QString& path)
{
    return IniFile::update(path, [&](IniFile& ini) { writeOutputs(ini, outputs); });
}

} // namespace lumavo
