#pragma once

#include <QStringList>

namespace lumavo {
struct Workspace;
}

namespace lumavo::cli {

// Exit codes of every command.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;   // unreadable file, bad value: one line on stderr
constexpr int kExitUsage = 2;     // the command line itself is wrong

// Each command gets the words after its name ("effect filter a.bmp b.bmp" gives
// {"filter", "a.bmp", "b.bmp"} to runEffect).
int runEffect(const QStringList& args);
int runPage(const QStringList& args);
int runProject(const QStringList& args);
int runCompose(const QStringList& args);
int runMotion(const QStringList& args);
int runReport(const QStringList& args);
int runExport(const QStringList& args);

// The --row option: selects row rowText (counted from 1) of the project's data file for the
// placeholders. Empty rowText selects nothing; the result is empty on success, else the reason.
QString selectDataRow(Workspace& ws, const QString& rowText);

// One line on stderr, then the exit code given.
int fail(const QString& message, int code = kExitFailure);

} // namespace lumavo::cli
