#include "storage/file_lookup.h"

#include <QDir>
#include <QFileInfo>

namespace lumavo {

namespace {

QString joinPath(const QString& dir, const QString& name)
{
    if (dir.isEmpty() || dir.endsWith(u'/'))
        return dir + name;
    return dir + u'/' + name;
}

QString folded(const QString& name)
{
    return name.toCaseFolded();
}

} // namespace

DirectoryIndex::DirectoryIndex(const QString& dir) : dir_(dir) {}

void DirectoryIndex::list()
{
    listed_ = true;
    const QDir d(dir_.isEmpty() ? QStringLiteral(".") : dir_);
    // Regular files only (and links to them): a pipe or a device of a matching name would block
    // or never end when read.
    const QStringList names = d.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& name : names)
        folded_[folded(name)].append(name);
}

QString DirectoryIndex::find(const QString& name)
{
    if (name.isEmpty() || name.contains(u'/'))
        return {};
    const QString exact = joinPath(dir_, name);
    if (QFileInfo(exact).isFile())
        return exact;
    if (!listed_)
        list();
    const auto it = folded_.constFind(folded(name));
    return it == folded_.constEnd() || it->isEmpty() ? QString() : joinPath(dir_, it->front());
}

void DirectoryIndex::noteRenamed(const QString& fromName, const QString& toName)
{
    if (!listed_)
        return;
    const auto it = folded_.find(folded(fromName));
    if (it != folded_.end())
        it->removeOne(fromName);
    if (!toName.isEmpty())
        folded_[folded(toName)].append(toName);
}

QString findFileIgnoringCase(const QString& dir, const QString& name)
{
    if (name.isEmpty())
        return {};
    return DirectoryIndex(dir).find(name);
}

QString nameRelativeToProject(const QString& path, const QString& projectDir)
{
    if (path.isEmpty() || projectDir.isEmpty() || QDir::isRelativePath(path))
        return path;
    const QString relative = QDir(projectDir).relativeFilePath(QDir::cleanPath(path));
    if (relative.startsWith(QStringLiteral("../")) || relative == QStringLiteral("..") ||
        QDir::isAbsolutePath(relative))
        return path;
    return relative;
}

QString resolveStoredPath(const QString& storedPath, const QString& projectDir)
{
    if (storedPath.isEmpty())
        return {};
    QString path = storedPath;
    path.replace(u'\\', u'/');
    const qsizetype slash = path.lastIndexOf(u'/');
    const QString name = path.mid(slash + 1);
    const QString storedDir = slash >= 0 ? path.left(slash + 1) : QString();
    const bool relative = QDir::isRelativePath(path) && !(path.size() > 1 && path[1] == u':');
    // A relative name belongs to the project, whatever folder the program was started from.
    if (!relative && QFileInfo(storedPath).isFile())
        return storedPath;
    if (!projectDir.isEmpty() && relative) {
        const QString found = findFileIgnoringCase(joinPath(projectDir, storedDir), name);
        if (!found.isEmpty())
            return found;
    }
    if (!storedDir.isEmpty() && !relative) {
        const QString found = findFileIgnoringCase(storedDir, name);
        if (!found.isEmpty())
            return found;
    }
    if (projectDir.isEmpty())
        return {};
    return findFileIgnoringCase(projectDir, name);
}

} // namespace lumavo
