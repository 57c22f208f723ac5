#include "compose/style_choices.h"

#include "compose/effects.h"

#include <algorithm>

namespace lumavo {

SliderColorPair sliderColorPair(int position)
{
    const int p = std::clamp(position, 0, 765);
    if (p <= 255)
        return {{p, 255 - p, 0}, {0, p, 255 - p}};
    if (p <= 509)
        return {{510 - p, p - 255, 0}, {p - 255, 0, 510 - p}};
    return {{0, 765 - p, p - 510}, {765 - p, p - 510, 0}};
}

int readEditNumber(const QString& text)
{
    int i = 0;
    while (i < text.size() && text[i] == QLatin1Char(' '))
        ++i;
    long long value = 0;
    for (; i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i)
        value = std::min<long long>(value * 10 + (text[i].unicode() - '0'), 1'000'000'000);
    return static_cast<int>(value);
}

int firstAbove255(const RgbValues& values)
{
    for (int k = 0; k < 3; ++k)
        if (values[static_cast<std::size_t>(k)] > 255)
            return k;
    return -1;
}

Color colorFromRgbValues(const RgbValues& values)
{
    const auto byte = [&](int k) { return static_cast<std::uint8_t>(std::clamp(values[static_cast<std::size_t>(k)], 0, 255)); };
    return TripleToColor(RGBTRIPLE{byte(2), byte(1), byte(0)});
}

RgbValues rgbValuesOf(Color color)
{
    return {redOf(color), greenOf(color), blueOf(color)};
}

int clampChooserPoints(int points)
{
    return std::clamp(points, kMinChooserPoints, kMaxChooserPoints);
}

QStringList chooserFaceList(const QStringList& families)
{
    QStringList faces = families;
    faces << QStringLiteral("Default");
    faces.removeDuplicates();
    std::stable_sort(faces.begin(), faces.end(),
                     [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return faces;
}

QString faceForOk(const QString& chosenFace, const QString& lineFace)
{
    return chosenFace.isEmpty() ? lineFace : chosenFace;
}

} // namespace lumavo
