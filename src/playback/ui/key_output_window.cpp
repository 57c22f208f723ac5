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
    setAttribute(Qt::WA_ShowWithoutActivating);
    connect(&stage_, &TCan::aboutToPresent, this, &KeyOutputWindow::prepare);
    connect(&stage_, &TCan::presented, this, &KeyOutputWindow::showPrepared);
    // Titles left in the back buffer are not on air once the stage has closed: key nothing.
    connect(&stage_, &TCan::closed, this, &KeyOutputWindow::blackOut);
    blackOut();
}

void KeyOutputWindow::showOn(QScreen* screen)
{
    if (screen == nullptr)
        return;
    setScreen(screen);
    setGeometry(screen->geometry());
    show();
}

void KeyOutputWindow::blackOut()
{
    const Bitmap& back = stage_.backBuffer();
    matte_ = Bitmap(back.width(), back.height(), PixelFormat::Bits32);
    matte_.canvas().brush = {kBlack, BrushStyle::Solid};
    matte_.canvas().fillRect({0, 0, matte_.width(), matte_.height()});
    if (isVisible())
        repaint();
}

void KeyOutputWindow::prepare(const QRect& region)
{
    Bitmap& back = stage_.backBuffer();
    Rect area{region.left(), region.top(), region.left() + region.width(), region.top() + region.height()};
    if (matte_.width() != back.width() || matte_.height() != back.height()) {
        matte_ = Bitmap(back.width(), back.height(), PixelFormat::Bits32);
        area = {0, 0, back.width(), back.height()};
        pending_ = QRect(0, 0, back.width(), back.height());
    }
    drawMatte(back, matte_, area);
}

void KeyOutputWindow::showPrepared(const QRect& region)
{
    const QRect changed = pending_.isNull() ? region : pending_.united(region);
    pending_ = QRect();
    if (isVisible())
        repaint(fittedRegion(matte_, size(), changed));
}

void KeyOutputWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintFitted(painter, matte_, size(), false);
}

} // namespace lumavo
