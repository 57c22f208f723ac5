#include "storage/project.h"

#include "platform/atomic_file.h"
#include "storage/file_lookup.h"
#include "storage/page_file.h"
#include "storage/page_record.h"

#include <QDir>
#include <QLocale>
#include <algorithm>

namespace lumavo {

namespace {

constexpr int kMaxNameLength = 255;

// Directory part (with its trailing separator) and file-name part of a path.
std::pair<QString, QString> splitPath(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return {path.left(slash + 1), path.mid(slash + 1)};
}

QString pageFileName(const QString& base, const QString& pageNumber)
{
    return base + u'.' + pageNumber;
}

} // namespace

QString StripTLP(const QString& name)
{
    QString base = trimControl(name);
    for (QChar& ch : base) {
        if (ch >= u'a' && ch <= u'z')
            ch = QChar(ch.unicode() - u'a' + u'A');
    }
    const qsizetype tlp = base.indexOf(QStringLiteral(".TLP"));
    if (tlp >= 0)
        base.truncate(tlp);
    return base.left(kMaxNameLength);
}

QString pageNumberText(int n)
{
    return QStringLiteral("%1").arg(std::clamp(n, 0, kPageCount - 1), 3, 10, QChar(u'0'));
}

QString pageFilePath(const QString& projectDir, const QString& base, const QString& pageNumber)
{
    return projectDir + pageFileName(base, pageNumber);
}

QString findPageFile(const QString& projectDir, const QString& base, const QString& pageNumber)
{
    return findFileIgnoringCase(projectDir, pageFileName(base, pageNumber));
}

bool pageExists(const QString& projectDir, const QString& base, const QString& pageNumber)
{
    return !findPageFile(projectDir, base, pageNumber).isEmpty();
}

QString lastPageNumber(const QString& projectDir, const QString& base)
{
    DirectoryIndex index(projectDir);
    QString previous = QStringLiteral("NEW");
    for (int n = 0; n < kPageCount; ++n) {
        const QString current = pageNumberText(n);
        if (index.find(pageFileName(base, current)).isEmpty())
            return previous;
        previous = current;
    }
    return previous;
}

std::optional<QString> nextFreePageNumber(const QString& projectDir, const QString& base)
{
    DirectoryIndex index(projectDir);
    for (int n = 0; n < kPageCount; ++n) {
        const QString current = pageNumberText(n);
        if (index.find(pageFileName(base, current)).isEmpty())
            return current;
    }
    return std::nullopt;
}

void ShowProjectLabel(Workspace& ws, const QString& name, const QString& pageNumber)
{
    ws.status.panel[3] = pageNumber;
    ws.status.panel[4] = QStringLiteral("PROJECT: ") + name;
}

QString GetNumberOFPages(Workspace& ws, const QString& base)
{
    const QString last = lastPageNumber(ws.project.projectDir, base);
    ShowProjectLabel(ws, base, last);
    return last;
}

std::optional<QString> GetNextPageNumber(Workspace& ws, const QString& base)
{
    const auto next = nextFreePageNumber(ws.project.projectDir, base);
    if (next)
        ShowProjectLabel(ws, base, *next);
    return next;
}

void pmsg(Prompter& prompter, const QString& text)
{
    prompter.message(QStringLiteral("File error, ") + text, MessageIcon::Information);
}

ProjectFileValues readProjectValues(const IniFile& ini)
{
    ProjectFileValues v;
    v.useCountDown = ini.readBool(kProjectSection, QStringLiteral("UseCountDown"), false);
    v.useColorBars = ini.readBool(kProjectSection, QStringLiteral("UseColorBars"), false);
    v.holdtimeSecs = ini.readInteger(kProjectSection, QStringLiteral("Holdtime"), 10);
    // A stored name is a file name; any directory in it is dropped so that page files stay in
    // the project's own directory.
    QString name = ini.readString(kProjectSection, QStringLiteral("ProjectName"));
    name.replace(u'\\', u'/');
    v.projectName = name.mid(name.lastIndexOf(u'/') + 1).left(kMaxNameLength);
    v.numberOfPages = ini.readString(kProjectSection, QStringLiteral("NumberOPages"));
    v.bitsPerPixel = ini.readInteger(kProjectSection, QStringLiteral("BPP"), 8);
    v.dataFile = ini.readString(kProjectSection, QStringLiteral("DataFile"));
    v.smoothEdges = ini.readBool(kProjectSection, kSmoothEdgesKey, false);
    return v;
}

OpenProjectOutcome OpenProject(Workspace& ws, const QString& path)
{
    OpenProjectOutcome outcome;
    const auto [dir, file] = splitPath(path);
    ws.project.projectDir = dir;
    ws.project.dataFile.clear();
    const QString found = findFileIgnoringCase(dir, file);
    // Temporary files of saves that were killed are never opened again.
    removeStaleTemporaries(dir);
    if (!found.isEmpty()) {
        IoResult status;
        const IniFile ini = IniFile::load(found, &status);
        if (status.ok) {
            const ProjectFileValues v = readProjectValues(ini);
            ws.project.useCountDown = v.useCountDown;
            ws.project.useColorBars = v.useColorBars;
            ws.project.colorBarTime = v.holdtimeSecs;
            ws.project.smoothEdges = v.smoothEdges;
            ws.project.projectName = v.projectName;
            ws.project.projectFile = found;
            ws.project.dataFile = v.dataFile;
            outcome.projectFileRead = true;
        } else {
            outcome.notices.push_back(Result::failure(QStringLiteral("Error opening Project Page file:") +
                                                      ws.project.projectName + u'.' + ws.project.pageNow +
                                                      QStringLiteral(" Try another project.")));
        }
    }
    ws.project.pageNow = QStringLiteral("000");
    ShowProjectLabel(ws, ws.project.projectName, GetNumberOFPages(ws, StripTLP(ws.project.projectName)));
    ws.project.pageIndex = 0;
    const LoadPageOutcome loaded = LoadPage(ws, ws.project.projectName, QStringLiteral("000"));
    outcome.notices.insert(outcome.notices.end(), loaded.notices.begin(), loaded.notices.end());
    outcome.pageLoaded = loaded.loaded;
    // Page 000 is there but unreadable: the fields held are not its own, so a save must add a
    // page instead of writing over it.
    if (!outcome.pageLoaded && pageExists(dir, StripTLP(ws.project.projectName), ws.project.pageNow))
        ws.editor.newPagePending = true;
    return outcome;
}

IoResult writeProjectDataFile(const QString& path, const QString& dataFile)
{
    return IniFile::update(
        path, [&](IniFile& ini) { ini.writeString(kProjectSection, QStringLiteral("DataFile"), dataFile); });
}

QString birthText(const QDateTime& when)
{
    const QLocale locale = QLocale::system();
    return locale.toString(when.date(), QLocale::ShortFormat) + u' ' +
           locale.toString(when.time(), QLocale::LongFormat);
}

SaveProjectOutcome SaveProject(Workspace& ws, Prompter& prompter, const ProjectSaveInfo& info)
{
    QString name = ws.project.projectName;
    QString dir = ws.project.projectDir;
    if (name.isEmpty()) {
        FileDialogOptions options;
        options.title = QStringLiteral("Save TLP Title Project");
        options.filter = QStringLiteral("TLP Project Files (*.TLP *.tlp)");
        options.defaultSuffix = QStringLiteral("tlp");
        options.directory = dir;
        options.confirmOverwrite = true;
        const auto chosen = prompter.saveFileName(options);
        if (!chosen || trimControl(*chosen).isEmpty())
            return {SaveProjectStatus::Cancelled, {}};
        name = trimControl(*chosen);
        dir = splitPath(name).first;
    }
    if (dir.isEmpty())
        dir = QDir::currentPath() + u'/';
    name = splitPath(name).second;
    if (!name.contains(u'.'))
        name += QStringLiteral(".tlp");

    QString target = findFileIgnoringCase(dir, name);
    if (target.isEmpty())
        target = dir + name;
    IoResult status;
    IniFile ini = IniFile::load(target, &status);
    if (status.ok) {
        const QString base = StripTLP(name);
        ini.writeString(kProjectSection, QStringLiteral("Program"), ws.applicationTitle);
        ini.writeString(kProjectSection, QStringLiteral("Version"), ws.versionText);
        ini.writeString(kProjectSection, QStringLiteral("ProjectName"), name);
        ini.writeString(kProjectSection, QStringLiteral("Birth"),
                        birthText(info.now.isValid() ? info.now : QDateTime::currentDateTime()));
        ini.writeString(kProjectSection, QStringLiteral("NumberOPages"), lastPageNumber(dir, base));
        ini.writeInteger(kProjectSection, QStringLiteral("UseColorBars"), ws.project.useColorBars ? 1 : 0);
        ini.writeInteger(kProjectSection, QStringLiteral("UseCountDown"), ws.project.useCountDown ? 1 : 0);
        ini.writeInteger(kProjectSection, QStringLiteral("Holdtime"), ws.project.colorBarTime);
        ini.writeInteger(kProjectSection, QStringLiteral("BPP"), info.bitsPerPixel);
        ini.writeInteger(kProjectSection, QStringLiteral("Palette"), info.reservedPaletteEntries);
        // Only projects that use live data carry the key, so classic project files stay as they were.
        if (!ws.project.dataFile.isEmpty() || ini.hasKey(kProjectSection, QStringLiteral("DataFile")))
            ini.writeString(kProjectSection, QStringLiteral("DataFile"), ws.project.dataFile);
        if (ws.project.smoothEdges || ini.hasKey(kProjectSection, kSmoothEdgesKey))
            ini.writeInteger(kProjectSection, kSmoothEdgesKey, ws.project.smoothEdges ? 1 : 0);
        status = ini.save(target);
    }
    if (!status.ok) {
        return {SaveProjectStatus::WriteFailed,
                {Result::failure(QStringLiteral("Can not save this project. ") + status.error)}};
    }
    ws.project.projectDir = dir;
    ws.project.projectName = name;
    ws.project.projectFile = target;
    ShowProjectLabel(ws, name, GetNumberOFPages(ws, StripTLP(name)));
    return {};
}

} // namespace lumavo
