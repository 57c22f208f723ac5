#include "cli/commands.h"

#include "compose/effects.h"
#include "platform/bitmap.h"

#include <QMap>
#include <optional>

namespace lumavo::cli {

namespace {

struct EffectArgs {
    QStringList positional;
    QMap<QString, QString> options; // "--bits" -> "32"
};

// Splits the words into positional arguments and the options that take a value. nullopt (with
// the message in *usageError) for an unknown option or an option without its value.
std::optional<EffectArgs> splitArgs(const QStringList& args, const QStringList& known, QString* usageError)
{
    EffectArgs out;
    for (int i = 0; i < args.size(); ++i) {
        const QString& word = args[i];
        if (!word.startsWith(QLatin1String("--"))) {
            out.positional << word;
            continue;
        }
        if (!known.contains(word)) {
            *usageError = QStringLiteral("unknown option ") + word;
            return std::nullopt;
        }
        if (i + 1 >= args.size()) {
            *usageError = word + QStringLiteral(" needs a value");
            return std::nullopt;
        }
        out.options[word] = args[++i];
    }
    return out;
}

// "0xBBGGRR" (or decimal) within 0..0xFFFFFF.
std::optional<Color> parseColor(const QString& text)
{
    bool ok = false;
    const uint value = text.trimmed().toUInt(&ok, 0);
    if (!ok || value > 0xFFFFFF)
        return std::nullopt;
    return static_cast<Color>(value);
}

} // namespace

int runEffect(const QStringList& args)
{
    const QString usage = QStringLiteral("usage: effect filter IN OUT [--bits 24|32] | effect gradient IN OUT "
                                         "--start 0xBBGGRR --end 0xBBGGRR [--bits 24|32]");
    if (args.isEmpty() || (args.front() != QLatin1String("filter") && args.front() != QLatin1String("gradient")))
        return fail(usage, kExitUsage);
    const bool gradient = args.front() == QLatin1String("gradient");
    QString usageError;
    const auto parsed = splitArgs(args.mid(1), {"--bits", "--start", "--end"}, &usageError);
    if (!parsed)
        return fail(usageError, kExitUsage);
    if (parsed->positional.size() != 2)
        return fail(usage, kExitUsage);
    if (gradient && (!parsed->options.contains("--start") || !parsed->options.contains("--end")))
        return fail(QStringLiteral("gradient needs --start and --end"), kExitUsage);
    if (!gradient && (parsed->options.contains("--start") || parsed->options.contains("--end")))
        return fail(QStringLiteral("filter takes no colours"), kExitUsage);

    const QString bitsText = parsed->options.value("--bits", QStringLiteral("24"));
    if (bitsText != QLatin1String("24") && bitsText != QLatin1String("32"))
        return fail(QStringLiteral("bad --bits value \"%1\": use 24 or 32").arg(bitsText));
    const bool wide = bitsText == QLatin1String("32");
    std::optional<Color> start;
    std::optional<Color> end;
    if (gradient) {
        start = parseColor(parsed->options.value("--start"));
        end = parseColor(parsed->options.value("--end"));
        if (!start || !end)
            return fail(QStringLiteral("bad colour \"%1\": use 0xBBGGRR")
                            .arg(!start ? parsed->options.value("--start") : parsed->options.value("--end")));
    }

    const QString& in = parsed->positional[0];
    const QString& out = parsed->positional[1];
    Bitmap bitmap;
    QString error;
    if (!bitmap.loadFromFile(in, &error))
        return fail(error);
    bitmap.setPixelFormat(wide ? PixelFormat::Bits32 : PixelFormat::Bits24);
    if (!gradient) {
        wide ? Filter32(bitmap) : Filter24(bitmap);
    } else if (wide) {
        bitmap.canvas().font.color = *end;
        Gradient32(bitmap);
    } else {
        Gradient24(bitmap, *start, *end);
    }
    if (!bitmap.saveToFile(out, &error))
        return fail(error);
    return kExitOk;
}

} // namespace lumavo::cli
