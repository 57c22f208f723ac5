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

// Runs lumavo-cli with the given words, headless, and waits up to a minute for it.
inline CliRun runCli(const QStringList& args)
{
    static const TempDir runtimeDir;
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_RUNTIME_DIR", runtimeDir.path());
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
