#include "cli/commands.h"

#include "storage/file_lookup.h"
#include "storage/project.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <cstdio>

namespace lumavo::cli {

namespace {

QByteArray jsonText(const QString& text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

int projectInfo(const QString& path)
{
    const QFileInfo info(path);
    const QString dir = info.absolutePath() + u'/';
    const QString found = findFileIgnoringCase(dir, info.fileName());
    if (found.isEmpty())
        return fail("cannot read " + path + ": no such file");
    IoResult status;
    const IniFile ini = IniFile::load(found, &status);
    if (!status.ok)
        return fail(status.error);
    const ProjectFileValues values = readProjectValues(ini);
    const QString base = StripTLP(values.projectName);
    const auto next = nextFreePageNumber(dir, base);
    QByteArray out = "{\n";
    out += "  \"ProjectName\": " + jsonText(values.projectName) + ",\n";
    out += "  \"base\": " + jsonText(base) + ",\n";
    out += "  \"lastPage\": " + jsonText(lastPageNumber(dir, base)) + ",\n";
    out += "  \"nextFreePage\": " + (next ? jsonText(*next) : QByteArray("null")) + ",\n";
    out += QByteArray("  \"UseColorBars\": ") + (values.useColorBars ? "true" : "false") + ",\n";
    out += QByteArray("  \"UseCountDown\": ") + (values.useCountDown ? "true" : "false") + ",\n";
    out += "  \"Holdtime\": " + QByteArray::number(values.holdtimeSecs) + "\n}\n";
    std::fwrite(out.constData(), 1, static_cast<std::size_t>(out.size()), stdout);
    return kExitOk;
}

} // namespace

int runProject(const QStringList& args)
{
    if (args.size() == 2 && args[0] == "info")
        return projectInfo(args[1]);
    return fail("usage: project info PROJECTFILE", kExitUsage);
}

} // namespace lumavo::cli
