#include "app/ui/time_options.h"

#include "platform/ui/caption_animation.h"
#include "storage/page_edits.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>

namespace lumavo {

TBconfig::TBconfig(AppContext& context, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint),
      context_(context)
{
    setObjectName(QStringLiteral("TBconfig"));
    setWindowTitle(QStringLiteral("Time  Options"));
    setFixedSize(300, 150);

    auto* caption = new QLabel(QStringLiteral("Set Color Bar Time in Seconds"), this);
    caption->setObjectName(QStringLiteral("Label1"));
    caption->setGeometry(16, 12, 200, 20);

    valueLabel_ = new QLabel(QStringLiteral("0"), this);
    valueLabel_->setObjectName(QStringLiteral("Label2"));
    QFont bold(QStringLiteral("Arial"));
    bold.setPixelSize(16);
    bold.setBold(true);
    valueLabel_->setFont(bold);
    valueLabel_->setGeometry(230, 10, 50, 24);

    trackBar1_ = new QSlider(Qt::Horizontal, this);
    trackBar1_->setObjectName(QStringLiteral("TrackBar1"));
    trackBar1_->setRange(0, kMaxColorBarSecs);
    trackBar1_->setSingleStep(1);
    trackBar1_->setPageStep(5);
    trackBar1_->setTickInterval(1);
    trackBar1_->setTickPosition(QSlider::TicksBelow);
    trackBar1_->setGeometry(12, 40, 276, 36);
    connect(trackBar1_, &QSlider::valueChanged, this, &TBconfig::TrackBar1Change);

    bitBtn1_ = new QPushButton(QStringLiteral("OK"), this);
    bitBtn1_->setObjectName(QStringLiteral("BitBtn1"));
    bitBtn1_->setDefault(true);
    bitBtn1_->setGeometry(60, 100, 80, 28);
    connect(bitBtn1_, &QPushButton::clicked, this, &TBconfig::BitBtn1Click);

    bitBtn2_ = new QPushButton(QStringLiteral("Cancel"), this);
    bitBtn2_->setObjectName(QStringLiteral("BitBtn2"));
    bitBtn2_->setGeometry(160, 100, 80, 28);
    connect(bitBtn2_, &QPushButton::clicked, this, &TBconfig::BitBtn2Click);
}

void TBconfig::showEvent(QShowEvent* event)
{
    const int secs = setColorBarTime(context_.workspace, context_.workspace.project.colorBarTime);
    restoreValue_ = static_cast<std::uint8_t>(secs);
    {
        const QSignalBlocker block(trackBar1_);
        trackBar1_->setValue(secs);
    }
    valueLabel_->setText(QString::number(trackBar1_->value()));
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - frameGeometry().center() + pos());
    QDialog::showEvent(event);
    if (context_.mainWidget != nullptr)
        ani(*this, *context_.mainWidget, true);
}

void TBconfig::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        BitBtn2Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TBconfig::done(int result)
{
    if (context_.mainWidget != nullptr && isVisible())
        ani(*this, *context_.mainWidget, false);
    QDialog::done(result);
}

void TBconfig::TrackBar1Change(int position)
{
    valueLabel_->setText(QString::number(setColorBarTime(context_.workspace, position)));
}

void TBconfig::BitBtn1Click()
{
    setColorBarTime(context_.workspace, trackBar1_->value());
    accept();
}

void TBconfig::BitBtn2Click()
{
    setColorBarTime(context_.workspace, restoreValue_);
    reject();
}

} // namespace lumavo
