#include "compose/ui/tbmp.h"

#include <QMouseEvent>
#include <QPainter>

namespace lumavo {

Tbmp::Tbmp(QWidget* stage, QSize screenSize) : QWidget(stage)
{
    setEnabled(false);
    hide();
    resize(0, 0);
    move(screenSize.width() + 1, screenSize.height() + 1);
    setCursor(Qt::PointingHandCursor);
    setEnabled(true);
}

void Tbmp::setPicture(Bitmap picture)
{
    picture_ = std::move(picture);
    shown_ = picture_.isEmpty() ? QImage() : picture_.toImage();
    resize(picture_.width(), picture_.height());
    update();
}

void Tbmp::paintEvent(QPaintEvent*)
{
    if (shown_.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, shown_);
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
                                 QWidget* stage, QSize screenSize)
{
    auto image = std::make_unique<Tbmp>(stage, screenSize);
    ComposedTitle title = composeTitle(ws.page.line(n), n, ws.stage.restOf(n), formats, ws.editor.alignActive,
                                       ws.project.projectDir, Point{screenSize.width(), screenSize.height()});
    if (!title.ok) {
        prompter.message(title.errorMessage, MessageIcon::Error);
        return image;
    }
    image->setPicture(std::move(title.bitmap));
    image->move(title.position.x, title.position.y);
    return image;
}

} // namespace lumavo
