#include "cli/commands.h"

#include "playback/title_motion.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMap>
#include <cstdio>
#include <memory>
#include <optional>

namespace lumavo::cli {

namespace {

const QString kMotionUsage = QStringLiteral(
    "usage: motion in|out --code N --size WxH --rest L,T --screen WxH [--delay D] [--fade F] [--easy] "
    "[--path PATHFILE]");

constexpr int kMaxDelay = 6000;
constexpr int kMaxPixels = 1'000'000;   // sizes, positions: well beyond any screen

std::optional<int> parseInt(const QString& text, int low, int high)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 10);
    if (!ok || v < low || v > high)
        return std::nullopt;
    return v;
}

// "AxB" or "A,B" as two integers within low..high.
std::optional<Point> parsePair(const QString& text, QChar separator, int low, int high)
{
    const QStringList parts = text.split(separator);
    if (parts.size() != 2)
        return std::nullopt;
    const auto a = parseInt(parts[0], low, high);
    const auto b = parseInt(parts[1], low, high);
    if (!a || !b)
        return std::nullopt;
    return Point{*a, *b};
}

// Reads a JSON array of [x, y] points (each 0..65535) into a path whose count is its length - 1.
bool readPathFile(const QString& fileName, DrawnPath& path, QString* error)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read ") + fileName;
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError || !doc.isArray()) {
        *error = fileName + QStringLiteral(": not a JSON array of [x, y] points");
        return false;
    }
    const QJsonArray points = doc.array();
    if (points.size() > kMaxPathCount) {
        *error = fileName + QStringLiteral(": more than %1 points").arg(kMaxPathCount);
        return false;
    }
    for (qsizetype i = 0; i < points.size(); ++i) {
        const QJsonArray xy = points[i].toArray();
        const auto valid = [](const QJsonValue& v) {
            return v.isDouble() && v.toDouble() >= 0 && v.toDouble() <= 65535 && v.toDouble() == v.toInt();
        };
        if (xy.size() != 2 || !valid(xy[0]) || !valid(xy[1])) {
            *error = fileName + QStringLiteral(": point %1 is not [x, y] with 0..65535").arg(i);
            return false;
        }
        path.points[static_cast<std::size_t>(i)] = {static_cast<std::uint16_t>(xy[0].toInt()),
                                                   static_cast<std::uint16_t>(xy[1].toInt())};
    }
    path.count = static_cast<std::int32_t>(points.size()) - 1;
    return true;
}

void printStep(const MotionStep& s)
{
    const long long wait = static_cast<long long>(s.waitNs);
    switch (s.kind) {
    case MotionStep::Kind::Blit:
        std::printf("blit %d %d %lld\n", s.area.left, s.area.top, wait);
        break;
    case MotionStep::Kind::Stretch:
        std::printf("stretch %d %d %d %d %lld\n", s.area.left, s.area.top, s.area.right, s.area.bottom, wait);
        break;
    case MotionStep::Kind::Fade:
        std::printf("fade %d %lld\n", s.level, wait);
        break;
    }
}

} // namespace

int runMotion(const QStringList& args)
{
    if (args.isEmpty() || (args.front() != QLatin1String("in") && args.front() != QLatin1String("out")))
        return fail(kMotionUsage, kExitUsage);
    const bool in = args.front() == QLatin1String("in");
    const QStringList valued = {"--code", "--size", "--rest", "--screen", "--delay", "--fade", "--path"};
    QMap<QString, QString> options;
    bool easy = false;
    for (int i = 1; i < args.size(); ++i) {
        const QString& word = args[i];
        if (word == QLatin1String("--easy")) {
            easy = true;
        } else if (valued.contains(word) && i + 1 < args.size()) {
            options[word] = args[++i];
        } else {
            return fail(valued.contains(word) ? word + QStringLiteral(" needs a value")
                                              : QStringLiteral("unexpected argument ") + word,
                        kExitUsage);
        }
    }
    for (const char* required : {"--code", "--size", "--rest", "--screen"})
        if (!options.contains(QLatin1String(required)))
            return fail(QStringLiteral("%1 is required; ").arg(QLatin1String(required)) + kMotionUsage, kExitUsage);

    MotionInput input;
    const auto code = parseInt(options["--code"], -1000, 1000);
    const auto size = parsePair(options["--size"], 'x', 0, kMaxPixels);
    const auto rest = parsePair(options["--rest"], ',', -kMaxPixels, kMaxPixels);
    const auto screen = parsePair(options["--screen"], 'x', 1, kMaxPixels);
    const auto delay = parseInt(options.value("--delay", "0"), 0, kMaxDelay);
    const auto fade = parseInt(options.value("--fade", "0"), 0, kMaxDelay);
    if (!code)
        return fail("--code: not a whole number: " + options["--code"]);
    if (!size)
        return fail("--size: expected WxH with 0.." + QString::number(kMaxPixels) + ": " + options["--size"]);
    if (!rest)
        return fail("--rest: expected L,T: " + options["--rest"]);
    if (!screen)
        return fail("--screen: expected WxH with 1.." + QString::number(kMaxPixels) + ": " + options["--screen"]);
    if (!delay)
        return fail("--delay: expected 0.." + QString::number(kMaxDelay) + ": " + options["--delay"]);
    if (!fade)
        return fail("--fade: expected 0.." + QString::number(kMaxDelay) + ": " + options["--fade"]);

    input.code = *code;
    input.width = size->x;
    input.height = size->y;
    input.rest = *rest;
    input.screen = *screen;
    input.delay = *delay;
    input.fadeDelay = *fade;
    input.easySlowdown = easy;
    auto path = std::make_unique<DrawnPath>();
    path->count = -1;
    if (options.contains("--path")) {
        QString error;
        if (!readPathFile(options["--path"], *path, &error))
            return fail(error);
    }
    input.path = path.get();

    const Motion motion = in ? titleMotionIn(input) : titleMotionOut(input);
    for (const MotionStep& step : motion.steps)
        printStep(step);
    return kExitOk;
}

} // namespace lumavo::cli
