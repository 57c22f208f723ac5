#include "playback/ui/window_output.h"

#include "playback/output_layout.h"
#include "playback/ui/stage.h"

#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace lumavo {

WindowOutput::WindowOutput(TCan& stage, QWidget* parent) : QWidget(parent, Qt::Window), stage_(stage)
{
    setObjectName(QStringLiteral("WindowOutput"));
    setWindowTitle(QStringLiteral("Lumavo Output"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    resize(960, 540);
    connect(&stage_, &TCan::presented, this, [this] {
        if (isVisible())
            repaint(pictureRect());
    });
}

QRect WindowOutput::pictureRect() const
{
    Bitmap& back = stage_.backBuffer();
    const Rect fit = aspectFit({back.width(), back.height()}, {width(), height()});
    return {fit.left, fit.top, fit.width(), fit.height()};
}

void WindowOutput::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    Bitmap& back = stage_.backBuffer();
    if (back.isEmpty())
        return;
    const QImage frame(back.scanLine(0), back.width(), back.height(), back.bytesPerLine(), QImage::Format_RGB32);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(pictureRect(), frame);
}

void WindowOutput::keyPressEvent(QKeyEvent* event) { QCoreApplication::sendEvent(&stage_, event); }

void WindowOutput::mousePressEvent(QMouseEvent* event) { QCoreApplication::sendEvent(&stage_, event); }

} // namespace lumavo
