#pragma once

#include "test_support.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

namespace lumavo::test {

// What one run of lumavo-cli left: its exit code (-1 when it crashed) and its output.
struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    QString stderrText;
    QStringList lines;   // stdout split into non-empty lines
};

// Runs lumavo-cli with the given words, headless, and waits up to a minute for it. Without a
// session, the program runs as from a cron job: no display and no runtime directory.
inline CliRun runCli(const QStringList& args, bool withSession = true)
{
    static const TempDir runtimeDir;
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    if (withSession) {
        env.insert("XDG_RUNTIME_DIR", runtimeDir.path());
    } else {
        env.remove("XDG_RUNTIME_DIR");
        env.remove("QT_QPA_PLATFORM");
        env.remove("DISPLAY");
    }
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(LUMAVO_CLI), args);
    process.waitForFinished(60000);
    CliRun run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    run.stderrText = QString::fromLocal8Bit(run.err);
    run.lines = QString::fromLocal8Bit(run.out).split('\n', Qt::SkipEmptyParts);
    return run;
}

} // namespace lumavo::test
