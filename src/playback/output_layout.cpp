#include "playback/output_layout.h"

#include <algorithm>
#include <cstdint>

namespace lumavo {

QStringList screenKeys(const QStringList& names)
{
    QStringList keys;
    for (const QString& own : names) {
        const QString number = QString::number(keys.size() + 1);
        keys << (own.isEmpty()             ? QStringLiteral("Screen ") + number
                 : names.count(own) > 1 ? own + QStringLiteral(" #") + number
                                        : own);
    }
    return keys;
}

std::optional<int> findScreen(const std::vector<ScreenEntry>& screens, const QString& key)
{
    if (key.isEmpty())
        return std::nullopt;
    for (std::size_t i = 0; i < screens.size(); ++i) {
        if (screens[i].name == key)
            return static_cast<int>(i);
    }
    return std::nullopt;
}

ScreenPick pickStageScreen(const std::vector<ScreenEntry>& screens, const QString& key, int editorIndex)
{
    const int fallback = editorIndex >= 0 && editorIndex < static_cast<int>(screens.size()) ? editorIndex
                         : screens.empty()                                                  ? -1
                                                                                            : 0;
    if (key.isEmpty())
        return {fallback, false};
    if (const auto found = findScreen(screens, key))
        return {*found, false};
    return {fallback, true};
}

QString screenLabel(const ScreenEntry& screen)
{
    const Rect& g = screen.geometry;
    return QStringLiteral("%1 (%2 x %3 at %4, %5)")
        .arg(screen.name)
        .arg(g.width())
        .arg(g.height())
        .arg(g.left)
        .arg(g.top);
}

WindowCanvas parseWindowCanvas(const QString& text)
{
    if (text == QLatin1String("1280x720"))
        return WindowCanvas::Hd720;
    if (text == QLatin1String("1920x1080"))
        return WindowCanvas::Hd1080;
    if (text == QLatin1String("Screen"))
        return WindowCanvas::ScreenSize;
    return WindowCanvas::Off;
}

QString windowCanvasText(WindowCanvas canvas)
{
    switch (canvas) {
    case WindowCanvas::Hd720: return QStringLiteral("1280x720");
    case WindowCanvas::Hd1080: return QStringLiteral("1920x1080");
    case WindowCanvas::ScreenSize: return QStringLiteral("Screen");
    case WindowCanvas::Off: break;
    }
    return {};
}

Point windowCanvasSize(WindowCanvas canvas, Point screenSize)
{
    switch (canvas) {
    case WindowCanvas::Hd720: return {1280, 720};
    case WindowCanvas::Hd1080: return {1920, 1080};
    case WindowCanvas::ScreenSize: return screenSize;
    case WindowCanvas::Off: break;
    }
    return {0, 0};
}

Rect aspectFit(Point source, Point target)
{
    if (source.x <= 0 || source.y <= 0 || target.x <= 0 || target.y <= 0)
        return {0, 0, 0, 0};
    // Compare target.x / target.y with source.x / source.y without rounding.
    const std::int64_t wide = static_cast<std::int64_t>(target.x) * source.y;
    const std::int64_t tall = static_cast<std::int64_t>(target.y) * source.x;
    int width = target.x;
    int height = target.y;
    if (wide > tall)
        width = static_cast<int>((static_cast<std::int64_t>(target.y) * source.x + source.y / 2) / source.y);
    else if (wide < tall)
        height = static_cast<int>((static_cast<std::int64_t>(target.x) * source.y + source.x / 2) / source.x);
    const int left = (target.x - width) / 2;
    const int top = (target.y - height) / 2;
    return {left, top, left + width, top + height};
}

void drawMatte(Bitmap& stage, Bitmap& matte, const Rect& region)
{
    const int left = std::max(region.left, 0);
    const int top = std::max(region.top, 0);
    const int right = std::min({region.right, stage.width(), matte.width()});
    const int bottom = std::min({region.bottom, stage.height(), matte.height()});
    const bool alpha = stage.hasAlpha();
    for (int y = top; y < bottom; ++y) {
        const auto* in = reinterpret_cast<const std::uint32_t*>(stage.scanLine(y));
        auto* out = reinterpret_cast<std::uint32_t*>(matte.scanLine(y));
        if (alpha) {
            for (int x = left; x < right; ++x)
                out[x] = (in[x] >> 24) * 0x010101u;
            continue;
        }
        for (int x = left; x < right; ++x)
            out[x] = (in[x] & 0x00FFFFFFu) != 0 ? 0x00FFFFFFu : 0u;
    }
}

} // namespace lumavo
