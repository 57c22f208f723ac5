#include "app/ui/pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>

namespace lumavo {

namespace {

const QColor kInk(20, 40, 120);

// An arrow across the picture from its centre in direction (dx, dy), each -1, 0 or 1.
void drawArrow(QPainter& p, int dx, int dy)
{
    const double s = kDirectionPictureSize;
    const QPointF centre(s / 2.0, s / 2.0);
    const double reach = (dx != 0 && dy != 0) ? 6.0 : 8.0;
    const QPointF tip = centre + QPointF(dx * reach, dy * reach);
    const QPointF tail = centre - QPointF(dx * reach, dy * reach);
    p.setPen(QPen(kInk, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(tail, tip);
    const double angle = qAtan2(dy, dx);
    const double head = 6.0;
    QPolygonF arrowHead;
    arrowHead << tip
              << tip - QPointF(head * qCos(angle - 0.5), head * qSin(angle - 0.5))
              << tip - QPointF(head * qCos(angle + 0.5), head * qSin(angle + 0.5));
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawPolygon(arrowHead);
}

// A title unrolling from one side: a bar at the start edge and an arrow across.
void drawUnroll(QPainter& p, bool fromLeft)
{
    const int s = kDirectionPictureSize;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 40, 40));
    p.drawRect(fromLeft ? 2 : s - 5, 3, 3, s - 6);
    drawArrow(p, fromLeft ? 1 : -1, 0);
}

void drawPath(QPainter& p)
{
    QPainterPath path(QPointF(2, 16));
    path.cubicTo(QPointF(6, 0), QPointF(12, 22), QPointF(17, 5));
    p.setPen(QPen(kInk, 2.0, Qt::DotLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 40, 40));
    p.drawEllipse(QPointF(17, 5), 2.5, 2.5);
}

void drawFade(QPainter& p)
{
    QLinearGradient ramp(2, 0, kDirectionPictureSize - 2, 0);
    ramp.setColorAt(0, Qt::black);
    ramp.setColorAt(1, Qt::white);
    p.setPen(QPen(kInk, 1));
    p.setBrush(ramp);
    p.drawRect(QRectF(2.5, 4.5, kDirectionPictureSize - 5, kDirectionPictureSize - 9));
}

void drawAppear(QPainter& p)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(255, 215, 0));
    QPolygonF star;
    const QPointF c(kDirectionPictureSize / 2.0, kDirectionPictureSize / 2.0);
    for (int i = 0; i < 10; ++i) {
        const double r = (i % 2 == 0) ? 9.0 : 4.0;
        const double a = -M_PI / 2 + i * M_PI / 5;
        star << c + QPointF(r * qCos(a), r * qSin(a));
    }
    p.drawPolygon(star);
}

void drawArch(QPainter& p)
{
    p.setPen(QPen(kInk, 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(2, 5, 16, 24), 0, 180 * 16);
    for (int x = 4; x < 18; x += 4)
        p.drawLine(QPointF(x, 18), QPointF(x + 3, 13));
}

void drawGradientToggle(QPainter& p)
{
    QLinearGradient ramp(0, 2, 0, kDirectionPictureSize - 2);
    ramp.setColorAt(0, QColor(255, 60, 60));
    ramp.setColorAt(0.5, QColor(255, 255, 80));
    ramp.setColorAt(1, QColor(60, 60, 255));
    p.setPen(QPen(kInk, 1));
    p.setBrush(ramp);
    p.drawRect(QRectF(3.5, 2.5, kDirectionPictureSize - 7, kDirectionPictureSize - 5));
}

void drawShadowToggle(QPainter& p)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(17);
    font.setBold(true);
    p.setFont(font);
    const QRect box(0, 0, kDirectionPictureSize, kDirectionPictureSize);
    p.setPen(QColor(150, 150, 150));
    p.drawText(box.translated(2, 2), Qt::AlignCenter, QStringLiteral("S"));
    p.setPen(kInk);
    p.drawText(box, Qt::AlignCenter, QStringLiteral("S"));
}

} // namespace

QPixmap directionPicture(int image)
{
    QPixmap picture(kDirectionPictureSize, kDirectionPictureSize);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    switch (image) {
    case 0: drawArrow(p, 1, 1); break;    // from the upper left
    case 1: drawArrow(p, -1, -1); break;  // from the lower right
    case 2: drawArrow(p, 1, -1); break;   // from the lower left
    case 3: drawArrow(p, -1, 1); break;   // from the upper right
    case 4: drawArrow(p, 1, 0); break;    // from the left
    case 5: drawArrow(p, -1, 0); break;   // from the right
    case 6: drawArrow(p, 0, 1); break;    // from the top
    case 7: drawArrow(p, 0, -1); break;   // from the bottom
    case 8: drawUnroll(p, true); break;
    case 9: drawUnroll(p, false); break;
    case 10: drawPath(p); break;
    case 11: drawFade(p); break;
    case 12: drawAppear(p); break;
    case 16: drawArch(p); break;
    case 17: drawGradientToggle(p); break;
    case 18: drawShadowToggle(p); break;
    default: break;
    }
    return picture;
}

QIcon programIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        const double unit = size / 32.0;
        p.setPen(QPen(QColor(30, 30, 30), unit));
        p.setBrush(QColor(10, 20, 90));
        p.drawRoundedRect(QRectF(1, 3 * unit, size - 2, 24 * unit), 3 * unit, 3 * unit);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(200, 40, 40));
        p.drawRect(QRectF(5 * unit, 9 * unit, 22 * unit, 4 * unit));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(8 * unit, 15 * unit, 16 * unit, 3 * unit));
        p.setBrush(QColor(60, 90, 230));
        p.drawRect(QRectF(11 * unit, 20 * unit, 10 * unit, 2 * unit));
        p.setBrush(QColor(60, 60, 60));
        p.drawRect(QRectF(13 * unit, 27 * unit, 6 * unit, 3 * unit));
        icon.addPixmap(pixmap);
    }
    return icon;
}

QString lineName(const char* prefix, int line, const char* suffix)
{
    return QString::fromLatin1(prefix) + QString::number(line) + QString::fromLatin1(suffix);
}

QFont arialBold(int pixelSize)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    return font;
}

} // namespace lumavo
