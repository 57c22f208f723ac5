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
