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

DirectoryIndex::DirectoryIndex(const QString& dir) : dir_(dir)
{
    const QDir d(dir.isEmpty() ? QStringLiteral(".") : dir);
    const QStringList names = d.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& name : names) {
        exact_.insert(name);
        folded_.insert(folded(name), name);   // sorted order: the first variant wins
    }
}

QString DirectoryIndex::find(const QString& name) const
{
    if (name.isEmpty())
        return {};
    if (exact_.contains(name))
        return joinPath(dir_, name);
    const auto it = folded_.constFind(folded(name));
    return it == folded_.constEnd() ? QString() : joinPath(dir_, it.value());
}

void DirectoryIndex::noteRenamed(const QString& fromName, const QString& toName)
{
    exact_.remove(fromName);
    const QString key = folded(fromName);
    folded_.remove(key);
    for (const QString& other : std::as_const(exact_)) {
        if (folded(other) == key) {
            folded_.insert(key, other);
            break;
        }
    }
    if (!toName.isEmpty()) {
        exact_.insert(toName);
        if (!folded_.contains(folded(toName)))
            folded_.insert(folded(toName), toName);
    }
}

QString findFileIgnoringCase(const QString& dir, const QString& name)
{
    if (name.isEmpty())
        return {};
    const QString exact = joinPath(dir, name);
    if (QFileInfo(exact).isFile())
        return exact;
    if (name.contains(u'/'))
        return {};
    const QDir d(dir.isEmpty() ? QStringLiteral(".") : dir);
    if (!d.exists())
        return {};
    return DirectoryIndex(dir).find(name);
}

QString resolveStoredPath(const QString& storedPath, const QString& projectDir)
{
    if (storedPath.isEmpty())
        return {};
    if (QFileInfo(storedPath).isFile())
        return storedPath;
    QString path = storedPath;
    path.replace(u'\\', u'/');
    const qsizetype slash = path.lastIndexOf(u'/');
    const QString name = path.mid(slash + 1);
    const QString storedDir = slash >= 0 ? path.left(slash + 1) : QString();
    const bool relative = QDir::isRelativePath(path) && !(path.size() > 1 && path[1] == u':');
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
