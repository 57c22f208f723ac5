#include "storage/recent_projects.h"

#include "platform/ini.h"

#include <QDir>
#include <algorithm>
#include <QFileInfo>

namespace lumavo {

namespace {
QString keyOf(int index) { return QStringLiteral("File%1").arg(index + 1); }
} // namespace

QString openedProjectFile(const ProjectState& project)
{
    if (project.projectName.isEmpty())
        return {};
    // The file actually opened: the name stored inside a project file may lack its extension.
    return project.projectFile.isEmpty() ? project.projectDir + project.projectName : project.projectFile;
}

QStringList readRecentProjects(const QString& settingsPath)
{
    const IniFile ini = IniFile::load(settingsPath);
    QStringList recent;
    for (int i = 0; i < kRecentProjectsLimit; ++i) {
        const QString path = ini.readString(kRecentProjectsSection, keyOf(i));
        if (!path.isEmpty() && !recent.contains(path))
            recent << path;
    }
    return recent;
}

QStringList withRecentProject(QStringList recent, const QString& path)
{
    if (path.isEmpty())
        return recent;
    const QString clean = QDir::cleanPath(path);
    recent.removeAll(clean);
    recent.prepend(clean);
    while (recent.size() > kRecentProjectsLimit)
        recent.removeLast();
    return recent;
}

QStringList withoutMissingProjects(const QStringList& recent)
{
    QStringList kept;
    for (const QString& path : recent)
        if (QFileInfo(path).isFile())
            kept << path;
    return kept;
}

IoResult writeRecentProjects(const QStringList& recent, const QString& settingsPath)
{
    return IniFile::update(settingsPath, [&](IniFile& ini) {
        ini.eraseSection(kRecentProjectsSection);
        for (int i = 0; i < std::min<int>(static_cast<int>(recent.size()), kRecentProjectsLimit); ++i)
            ini.writeString(kRecentProjectsSection, keyOf(i), recent[i]);
    });
}

} // namespace lumavo
