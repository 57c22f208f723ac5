#include "compose/picture_files.h"

#include <QFileInfo>
#include <QStringList>

namespace lumavo {

namespace {

const QStringList& pictureSuffixes()
{
    static const QStringList suffixes{QStringLiteral("bmp"), QStringLiteral("png"), QStringLiteral("jpg"),
                                      QStringLiteral("jpeg"), QStringLiteral("webp"), QStringLiteral("svg")};
    return suffixes;
}

} // namespace

QString pictureFilePatterns()
{
    QStringList patterns;
    for (const QString& suffix : pictureSuffixes())
        patterns << QStringLiteral("*.") + suffix << QStringLiteral("*.") + suffix.toUpper();
    return patterns.join(u' ');
}

bool isPictureFileName(const QString& name)
{
    return pictureSuffixes().contains(QFileInfo(name).suffix().toLower());
}

} // namespace lumavo
