#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

namespace lumavo::test {

// A fresh directory for one test, removed afterwards.
class TempDir {
public:
    TempDir() { dir_.setAutoRemove(true); }
    QString path() const { return dir_.path(); }
    // path() + "/" + name
    QString file(const QString& name) const { return dir_.filePath(name); }
    // path() with a trailing separator, as project directories are kept.
    QString dirWithSeparator() const { return dir_.path() + QDir::separator(); }

private:
    QTemporaryDir dir_;
};

inline QByteArray readAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

inline bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(bytes) == bytes.size();
}

} // namespace lumavo::test
