#pragma once

#include "platform/result.h"
#include "storage/workspace.h"

#include <QString>
#include <QStringList>

namespace lumavo {

// The projects last opened or saved, newest first, kept in the settings file under a section of
// their own ("Recent Projects", keys File1..File8), so the options section stays as it always was.
inline const QString kRecentProjectsSection = QStringLiteral("Recent Projects");
inline constexpr int kRecentProjectsLimit = 8;

// The full path of the open project's file (as the settings file's "Lastproject" names it);
// empty when no project is open.
QString openedProjectFile(const ProjectState& project);

// The list from the settings file at path: blank and repeated entries skipped, at most eight.
// A missing or unreadable file gives an empty list.
QStringList readRecentProjects(const QString& settingsPath);
// The list with path in front (moved there when already listed), cut to eight.
QStringList withRecentProject(QStringList recent, const QString& path);
// The list without the projects whose file no longer exists.
QStringList withoutMissingProjects(const QStringList& recent);
// Rewrites the section with the list, keeping every other line of the file; failure keeps the old
// file and names it.
IoResult writeRecentProjects(const QStringList& recent, const QString& settingsPath);

} // namespace lumavo
