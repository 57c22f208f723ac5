#include "app/ui/splash_window.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace lumavo {

namespace {
constexpr int kSplashTickMs = 500;
constexpr int kLastTick = 5;   // the splash goes on the tick after this one
} // namespace

Tsplasher::Tsplasher(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("Tsplasher"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(307, 61);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0, 0, 255));
    setPalette(pal);

    auto* label = new QLabel(QStringLiteral("Lumavo Pro  v1 .30"), this);
    label->setObjectName(QStringLiteral("Label1"));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(32);
    font.setBold(true);
    font.setItalic(true);
    label->setFont(font);
    label->setStyleSheet(QStringLiteral("color: white;"));
    label->move(16, 8);
    label->adjustSize();

    timer_.setInterval(kSplashTickMs);
    connect(&timer_, &QTimer::timeout, this, &Tsplasher::Timer1Timer);

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
}

void Tsplasher::showSplash()
{
    show();
    ticks_ = 0;
    timer_.start();
    QCoreApplication::processEvents();
}

void Tsplasher::Timer1Timer()
{
    ++ticks_;
    if (ticks_ > kLastTick) {
        timer_.stop();
        close();
    }
}

} // namespace lumavo
