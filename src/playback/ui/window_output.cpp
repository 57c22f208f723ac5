#include "playback/ui/window_output.h"

#include "playback/ui/fitted_picture.h"
#include "playback/ui/stage.h"

#include <QCoreApplication>
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
    connect(&stage_, &TCan::presented, this, [this](const QRect& region) {
        const bool wasLive = live_;
        live_ = true;
        if (isVisible())
            repaint(wasLive ? fittedRegion(stage_.backBuffer(), size(), region) : pictureRect());
    });
    connect(&stage_, &TCan::closed, this, [this] {
        live_ = false;
        if (isVisible())
            repaint();
    });
}

QRect WindowOutput::pictureRect() const
{
    return fittedRect(stage_.backBuffer(), size());
}

void WindowOutput::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (live_)
        paintFitted(painter, stage_.backBuffer(), size(), true);
    else
        painter.fillRect(rect(), Qt::black);
}

void WindowOutput::keyPressEvent(QKeyEvent* event) { QCoreApplication::sendEvent(&stage_, event); }

void WindowOutput::mousePressEvent(QMouseEvent* event) { QCoreApplication::sendEvent(&stage_, event); }

} // namespace lumavo
