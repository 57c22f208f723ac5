#include "compose/ui/tbmp.h"

#include <QMouseEvent>
#include <QPainter>
#include <QtMath>

namespace lumavo {

Tbmp::Tbmp(QWidget* stage, QSize screenSize, qreal pixelRatio)
    : QWidget(stage), ratio_(pixelRatio > 0 ? pixelRatio : 1.0)
{
    setEnabled(false);
    hide();
    resize(0, 0);
    placeAt({screenSize.width() + 1, screenSize.height() + 1});
    setCursor(Qt::PointingHandCursor);
    setEnabled(true);
}

void Tbmp::setPicture(Bitmap picture)
{
    picture_ = std::move(picture);
    shown_ = picture_.isEmpty() ? QImage() : picture_.toImage();
    shown_.setDevicePixelRatio(ratio_);
    resize(qCeil(picture_.width() / ratio_), qCeil(picture_.height() / ratio_));
    update();
}

void Tbmp::placeAt(Point stagePixels)
{
    place_ = stagePixels;
    move(qRound(stagePixels.x / ratio_), qRound(stagePixels.y / ratio_));
}

void Tbmp::paintEvent(QPaintEvent*)
{
    if (shown_.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), shown_);   // at its logical size: one stage pixel a device pixel
}

void Tbmp::mousePressEvent(QMouseEvent* event)
{
    emit mousePressed(this, event->button(), event->position().toPoint());
}

void Tbmp::mouseReleaseEvent(QMouseEvent* event)
{
    emit mouseReleased(this, event->button(), event->position().toPoint());
}

std::unique_ptr<Tbmp> setupImage(Workspace& ws, Prompter& prompter, int n, const ComposeFormats& formats,
                                 QWidget* stage, QSize screenSize, qreal pixelRatio)
{
    auto image = std::make_unique<Tbmp>(stage, screenSize, pixelRatio);
    ComposedTitle title = composeShownLine(ws.page.line(n), ws.dataRow, [&](const TitleLine& shown) {
        return composeTitle(shown, n, ws.stage.restOf(n), formats, ws.editor.alignActive, ws.project.projectDir,
                            Point{screenSize.width(), screenSize.height()});
    });
    if (!title.ok) {
        prompter.message(title.errorMessage, MessageIcon::Error);
        return image;
    }
    image->setPicture(std::move(title.bitmap));
    image->placeAt(title.position);
    return image;
}

} // namespace lumavo
