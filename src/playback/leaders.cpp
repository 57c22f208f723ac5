#include "playback/leaders.h"

#include "platform/canvas.h"
#include "platform/color.h"

#include <array>

namespace lumavo {

namespace {

constexpr int kGreyStripHeight = 32;
constexpr int kGreyStepWidth = 16;

constexpr std::array<Color, 7> kBarColors = {
    rgb(255, 255, 255), rgb(255, 255, 0), rgb(0, 255, 255), rgb(0, 255, 0),
    rgb(255, 0, 255),   rgb(0, 0, 255),   rgb(255, 0, 0),
};
constexpr std::array<Color, 7> kBlockColors = {
    rgb(128, 0, 0),   rgb(0, 128, 0),   rgb(128, 128, 0), rgb(0, 0, 128),
    rgb(128, 0, 128), rgb(0, 128, 128), rgb(128, 128, 128),
};
constexpr Color kSilver = rgb(192, 192, 192);

void filled(Canvas& canvas, const Rect& r, Color color)
{
    canvas.brush = {color, BrushStyle::Solid};
    canvas.rectangle(r);
}

} // namespace

void drawColorBars(Canvas& canvas, Point screen)
{
    const int W = screen.x, H = screen.y;
    const int d = W / 8;
    for (int k = 0; k < 7; ++k)
        filled(canvas, {k * d, 0, (k + 1) * d, H}, kBarColors[static_cast<std::size_t>(k)]);

    const int b = H / 10;
    for (int k = 0; k < 7; ++k)
        filled(canvas, {7 * d, k * b, 8 * d, (k + 1) * b}, kBlockColors[static_cast<std::size_t>(k)]);
    const Rect last{7 * d, 7 * b, 8 * d, H};
    filled(canvas, last, kSilver);
    canvas.brush = {kBlack, BrushStyle::Cross};
    canvas.fillRect(last);
    canvas.brush.style = BrushStyle::Solid;

    filled(canvas, {0, H - kGreyStripHeight, W, H}, kBlack);
    const int n = W / 32;
    for (int g = 0; g <= n; ++g) {
        const auto v = static_cast<std::uint8_t>(n > 0 ? g * 255 / n : 0);
        canvas.pen.color = rgb(v, v, v);
        filled(canvas, {kGreyStepWidth * g, H - kGreyStripHeight, g * (W / 16), H}, rgb(v, v, v));
    }
}

QString countDownText(int k) { return QStringLiteral(" %1 ").arg(k); }

void prepareCountDownCanvas(Canvas& canvas, Point stage)
{
    canvas.brush = {kBlack, BrushStyle::Solid};
    canvas.font.name = QStringLiteral("Arial");
    canvas.font.color = kWhite;
    canvas.font.points = stage.x / 3;
}

void drawCountDownNumber(Canvas& canvas, Point stage, int k)
{
    const QString text = countDownText(k);
    const int x = stage.x / 2 - canvas.textWidth(text) / 2;
    const int y = stage.y / 2 - canvas.textHeight(QString::number(k)) / 2;
    canvas.textOut(x, y, text);
}

} // namespace lumavo
