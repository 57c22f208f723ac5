#include "platform/ui/caption_animation.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QRubberBand>
#include <QThread>
#include <QWidget>

namespace lumavo {

namespace {

constexpr int kAnimationMs = 150;
constexpr int kFrameMs = 15;

QRect interpolate(const QRect& from, const QRect& to, double t)
{
    auto mix = [t](int a, int b) { return static_cast<int>(a + (b - a) * t); };
    return QRect(QPoint(mix(from.left(), to.left()), mix(from.top(), to.top())),
                 QPoint(mix(from.right(), to.right()), mix(from.bottom(), to.bottom())));
}

} // namespace

void ani(QWidget& dialog, QWidget& mainWindow, bool opening)
{
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        return;
    const QRect dialogRect = dialog.frameGeometry();
    const QRect mainCorner(mainWindow.frameGeometry().topLeft(), QSize(24, 24));
    const QRect from = opening ? mainCorner : dialogRect;
    const QRect to = opening ? dialogRect : mainCorner;

    QRubberBand band(QRubberBand::Rectangle);
    band.setGeometry(from);
    band.show();
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < kAnimationMs) {
        band.setGeometry(interpolate(from, to, static_cast<double>(elapsed.elapsed()) / kAnimationMs));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(kFrameMs);
    }
    band.hide();
}

} // namespace lumavo
