#include "export/export_settings.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace lumavo {

FramePattern framePatternOf(const QString& fileName)
{
    static const QRegularExpression number(QStringLiteral("%(0(\\d{1,2}))?d"));
    FramePattern pattern;
    QRegularExpressionMatch last;
    for (auto it = number.globalMatch(fileName); it.hasNext();)
        last = it.next();
    if (!last.hasMatch())
        return pattern;
    pattern.found = true;
    pattern.before = fileName.left(last.capturedStart());
    pattern.digits = last.captured(2).toInt();
    pattern.after = fileName.mid(last.capturedEnd());
    return pattern;
}

QString imageWriterPath(const QString& folder, const QString& fileName)
{
    const auto plain = [](QString text) { return text.replace(u'%', QStringLiteral("%%")); };
    const FramePattern p = framePatternOf(fileName);
    const QString number = p.digits > 0 ? QStringLiteral("%0") + QString::number(p.digits) + u'd' : QStringLiteral("%d");
    return plain(folder) + u'/' + plain(p.before) + number + plain(p.after);
}

std::optional<ExportFormat> exportFormatFor(const QString& destination)
{
    const QFileInfo info(destination);
    const QString suffix = info.suffix().toLower();
    if (suffix == "png" && framePatternOf(info.fileName()).found)
        return ExportFormat::PngSequence;
    if (suffix == "mp4")
        return ExportFormat::Mp4;
    if (suffix == "mov")
        return ExportFormat::Mov;
    if (suffix == "webm")
        return ExportFormat::WebM;
    return std::nullopt;
}

QString destinationWithExtension(const QString& destination, ExportFormat format)
{
    if (destination.isEmpty() || exportFormatFor(destination) == format)
        return destination;
    const QFileInfo info(destination);
    QString name = info.fileName();
    const QString suffix = info.suffix().toLower();
    if (suffix == "mp4" || suffix == "mov" || suffix == "webm" || suffix == "png")
        name.chop(suffix.size() + 1);
    switch (format) {
    case ExportFormat::Mp4: name += QStringLiteral(".mp4"); break;
    case ExportFormat::Mov: name += QStringLiteral(".mov"); break;
    case ExportFormat::WebM: name += QStringLiteral(".webm"); break;
    case ExportFormat::PngSequence:
        name += framePatternOf(name).found ? QStringLiteral(".png") : QStringLiteral("_%05d.png");
        break;
    }
    const qsizetype slash = destination.lastIndexOf(u'/');
    return destination.left(slash + 1) + name;
}

namespace {
const QString kExportSection = QStringLiteral("Export");
const char* const kProResNames[] = {"4444", "4444xq", "422hq"};
} // namespace

ExportSettings readExportChoices(const IniFile& ini)
{
    const ExportSettings defaults;
    ExportSettings s;
    const auto number = [&](const char* key, int fallback) {
        return ini.readInteger(kExportSection, QLatin1String(key), fallback);
    };
    s.destination = ini.readString(kExportSection, QStringLiteral("File"));
    s.allPages = number("AllPages", 0) != 0;
    s.size = {number("Width", defaults.size.x), number("Height", defaults.size.y)};
    s.rate = parseFrameRate(ini.readString(kExportSection, QStringLiteral("Rate"))).value_or(defaults.rate);
    s.passes = number("Passes", defaults.passes);
    s.holdSeconds = number("HoldTenths", static_cast<int>(defaults.holdSeconds * 10)) / 10.0;
    s.keyOnly = number("KeyOnly", 0) != 0;
    s.crf = number("Crf", defaults.crf);
    const QString proRes = ini.readString(kExportSection, QStringLiteral("ProRes"));
    for (int i = 0; i < 3; ++i)
        if (proRes == QLatin1String(kProResNames[i]))
            s.proRes = static_cast<ProResProfile>(i);
    // A value no export takes falls back to its default, so a damaged file cannot block the dialog.
    ExportSettings check = s;
    check.destination = QStringLiteral("x.mp4");
    if (!validateExportSettings(check).isEmpty()) {
        const QString keep = s.destination;
        s = defaults;
        s.destination = keep;
    }
    return s;
}

void writeExportChoices(IniFile& ini, const ExportSettings& s)
{
    ini.writeString(kExportSection, QStringLiteral("File"), s.destination);
    ini.writeInteger(kExportSection, QStringLiteral("AllPages"), s.allPages ? 1 : 0);
    ini.writeInteger(kExportSection, QStringLiteral("Width"), s.size.x);
    ini.writeInteger(kExportSection, QStringLiteral("Height"), s.size.y);
    QString rate = QStringLiteral("60");
    for (const char* text : {"23.976", "24", "25", "29.97", "30", "50", "59.94", "60"})
        if (parseFrameRate(QLatin1String(text)) == s.rate)
            rate = QLatin1String(text);
    ini.writeString(kExportSection, QStringLiteral("Rate"), rate);
    ini.writeInteger(kExportSection, QStringLiteral("Passes"), s.passes);
    ini.writeInteger(kExportSection, QStringLiteral("HoldTenths"), static_cast<int>(s.holdSeconds * 10 + 0.5));
    ini.writeInteger(kExportSection, QStringLiteral("KeyOnly"), s.keyOnly ? 1 : 0);
    ini.writeInteger(kExportSection, QStringLiteral("Crf"), s.crf);
    ini.writeString(kExportSection, QStringLiteral("ProRes"), QLatin1String(kProResNames[static_cast<int>(s.proRes)]));
}

std::optional<FrameRate> parseFrameRate(const QString& text)
{
    struct Named {
        const char* text;
        FrameRate rate;
    };
    static const Named kRates[] = {
        {"23.976", {24000, 1001}}, {"24", {24, 1}}, {"25", {25, 1}},       {"29.97", {30000, 1001}},
        {"30", {30, 1}},           {"50", {50, 1}}, {"59.94", {60000, 1001}}, {"60", {60, 1}},
    };
    for (const Named& named : kRates)
        if (text == QLatin1String(named.text))
            return named.rate;
    return std::nullopt;
}

QString validateExportSettings(const ExportSettings& s)
{
    if (!exportFormatFor(s.destination))
        return QStringLiteral("unknown export format \"%1\": use .mp4, .mov, .webm or a pattern such as "
                              "frames/%05d.png")
            .arg(QFileInfo(s.destination).fileName());
    if (s.size.x < 16 || s.size.y < 16 || s.size.x > 7680 || s.size.y > 4320 || s.size.x % 2 != 0
        || s.size.y % 2 != 0)
        return QStringLiteral("bad frame size %1x%2: use an even size from 16x16 to 7680x4320")
            .arg(s.size.x)
            .arg(s.size.y);
    if (s.passes < 1)
        return QStringLiteral("bad number of passes %1: use 1 or more").arg(s.passes);
    if (!(s.holdSeconds >= 0) || s.holdSeconds > 3600)
        return QStringLiteral("bad hold time %1: use 0 to 3600 seconds").arg(s.holdSeconds);
    if (s.crf < 0 || s.crf > 51)
        return QStringLiteral("bad quality %1: use 0 to 51").arg(s.crf);
    return {};
}

} // namespace lumavo
