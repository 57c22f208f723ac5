#include "playback/ui/fitted_picture.h"

#include "playback/output_layout.h"

#include <QImage>
#include <QPainter>

namespace lumavo {

QRect fittedRect(const Bitmap& picture, QSize area)
{
    const Rect fit = aspectFit({picture.width(), picture.height()}, {area.width(), area.height()});
    return {fit.left, fit.top, fit.width(), fit.height()};
}

QRect fittedRegion(const Bitmap& picture, QSize area, const QRect& region)
{
    if (picture.isEmpty())
        return QRect(QPoint(0, 0), area);
    const QRect fit = fittedRect(picture, area);
    const qreal sx = static_cast<qreal>(fit.width()) / picture.width();
    const qreal sy = static_cast<qreal>(fit.height()) / picture.height();
    const QRectF mapped(fit.x() + region.x() * sx, fit.y() + region.y() * sy, region.width() * sx,
                        region.height() * sy);
    return mapped.toAlignedRect().adjusted(-1, -1, 1, 1) & QRect(QPoint(0, 0), area);
}

void paintFitted(QPainter& painter, Bitmap& picture, QSize area, bool smooth)
{
    painter.fillRect(QRect(QPoint(0, 0), area), Qt::black);
    if (picture.isEmpty())
        return;
    const QImage frame(picture.scanLine(0), picture.width(), picture.height(), picture.bytesPerLine(),
                       QImage::Format_RGB32);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    painter.drawImage(fittedRect(picture, area), frame);
}

} // namespace lumavo
