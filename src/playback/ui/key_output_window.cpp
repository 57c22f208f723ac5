#include "playback/ui/key_output_window.h"

#include "playback/output_layout.h"
#include "playback/ui/fitted_picture.h"
#include "playback/ui/stage.h"

#include <QPainter>
#include <QScreen>

namespace lumavo {

KeyOutputWindow::KeyOutputWindow(TCan& stage, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), stage_(stage)
{
    setObjectName(QStringLiteral("KeyOutput"));
    setWindowTitle(QStringLiteral("Key Output"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::BlankCursor);
    connect(&stage_, &TCan::presented, this, &KeyOutputWindow::follow);
    // Titles left in the back buffer are not on air once the stage has closed: key nothing.
    connect(&stage_, &TCan::closed, this, [this] {
        matte_.canvas().brush = {kBlack, BrushStyle::Solid};
        matte_.canvas().fillRect({0, 0, matte_.width(), matte_.height()});
        if (isVisible())
            repaint();
    });
    follow(QRect(0, 0, stage_.backBuffer().width(), stage_.backBuffer().height()));
}

void KeyOutputWindow::showOn(QScreen* screen)
{
    if (screen == nullptr)
        return;
    setScreen(screen);
    setGeometry(screen->geometry());
    show();
}

void KeyOutputWindow::follow(const QRect& region)
{
    Bitmap& back = stage_.backBuffer();
    Rect area{region.left(), region.top(), region.left() + region.width(), region.top() + region.height()};
    if (matte_.width() != back.width() || matte_.height() != back.height()) {
        matte_ = Bitmap(back.width(), back.height(), PixelFormat::Bits32);
        area = {0, 0, back.width(), back.height()};
    }
    drawMatte(back, matte_, area);
    if (isVisible())
        repaint();
}

void KeyOutputWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintFitted(painter, matte_, size(), false);
}

} // namespace lumavo
