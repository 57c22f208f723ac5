#include "app/ui/delay_controls.h"

#include "app/editor_model.h"
#include "playback/delay_durations.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>

namespace lumavo {

namespace {

QLabel* caption(const QString& text, QWidget* parent, const QString& name = {})
{
    auto* label = new QLabel(text, parent);
    if (!name.isEmpty())
        label->setObjectName(name);
    return label;
}

QSlider* makeSlider(const QString& name, int maximum, int step, int page, int tick, QWidget* parent)
{
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(name);
    slider->setRange(0, maximum);
    slider->setSingleStep(step);
    slider->setPageStep(page);
    slider->setTickInterval(tick);
    slider->setTickPosition(QSlider::TicksBelow);
    return slider;
}

// A classic value label with its time beside it, centred under the slider.
QHBoxLayout* valueRow(QLabel* value, QLabel* time)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    row->addStretch();
    row->addWidget(value);
    row->addWidget(time);
    row->addStretch();
    return row;
}

} // namespace

DelayControls::DelayControls(Workspace& ws, QWidget* parent)
    : QGroupBox(QStringLiteral(" Delay Controls "), parent), ws_(ws)
{
    setObjectName(QStringLiteral("PANEL1"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(10, 6, 10, 4);
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(0);

    fade = makeSlider(QStringLiteral("TrackBar2"), 6000, 50, 200, 400, this);
    fadeValue = caption(QStringLiteral("0"), this, QStringLiteral("Label7"));
    effects = makeSlider(QStringLiteral("TrackBar1"), 6, 1, 2, 1, this);
    effects->setToolTip(QStringLiteral("Operating  System Effects"));
    effectName = caption(QStringLiteral("Effects ?"), this, QStringLiteral("Label3"));
    movement = makeSlider(QStringLiteral("DelayTrackBar"), 6000, 50, 200, 400, this);
    movementValue = caption(QStringLiteral("0"), this, QStringLiteral("Label1"));
    pause = makeSlider(QStringLiteral("PauseTrackBar"), 60, 1, 6, 2, this);
    pauseValue = caption(QStringLiteral("0"), this, QStringLiteral("Label4"));
    secondsLabel = caption(QStringLiteral("Sec"), this, QStringLiteral("Label8"));
    movementTime = caption({}, this, QStringLiteral("MovementTime"));
    fadeTime = caption({}, this, QStringLiteral("FadeTime"));
    manual = new QCheckBox(QStringLiteral("Manual"), this);
    manual->setObjectName(QStringLiteral("CheckBox1"));

    grid->addWidget(caption(QStringLiteral("Fade"), this), 0, 0);
    grid->addWidget(fade, 1, 0);
    grid->addLayout(valueRow(fadeValue, fadeTime), 2, 0);
    grid->addWidget(effectName, 0, 1);
    grid->addWidget(effects, 1, 1);
    grid->addWidget(caption(QStringLiteral("Movement"), this), 0, 2);
    grid->addWidget(movement, 1, 2);
    grid->addLayout(valueRow(movementValue, movementTime), 2, 2);
    grid->addWidget(caption(QStringLiteral("Pause"), this), 0, 3);
    grid->addWidget(pause, 1, 3);
    auto* pauseRow = new QHBoxLayout;
    pauseRow->addStretch();
    pauseRow->setSpacing(4);
    pauseRow->addWidget(pauseValue);
    pauseRow->addWidget(secondsLabel);
    pauseRow->addStretch();
    grid->addLayout(pauseRow, 2, 3);
    grid->addWidget(manual, 1, 4);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(2, 3);
    grid->setColumnStretch(3, 3);
    // The pause column keeps its place while its slider is hidden in manual mode.
    QSizePolicy keep = pause->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    pause->setSizePolicy(keep);

    connect(fade, &QSlider::valueChanged, this, &DelayControls::TrackBar2Change);
    connect(effects, &QSlider::valueChanged, this, &DelayControls::TrackBar1Change);
    connect(movement, &QSlider::valueChanged, this, &DelayControls::DelayTrackBArChange);
    connect(pause, &QSlider::valueChanged, this, &DelayControls::PauseTrackBarChange);
    connect(manual, &QCheckBox::toggled, this, &DelayControls::CheckBox1Click);    showDurations();
}

void DelayControls::showManual()
{
    if (manual->isChecked() != ws_.page.mpause) {
        const QSignalBlocker block(manual);
        manual->setChecked(ws_.page.mpause);
    }
    applyManualUi();
}

void DelayControls::showPage()
{
    {
        const QSignalBlocker block(fade);
        fade->setValue(ws_.page.fadeDelay);
    }
    fadeValue->setText(QString::number(fadeLabelValue(fade->value())));
    {
        const QSignalBlocker blockDelay(movement);
        const QSignalBlocker blockPause(pause);
        movement->setValue(ws_.page.movementDelay);
        pause->setValue(ws_.page.pauseSecs);
    }
    movementValue->setText(QString::number(ws_.page.movementDelay));
    showDurations();
    applyManualUi();
    if (!ws_.page.mpause)
        pauseValue->setText(QString::number(ws_.page.pauseSecs));
}

void DelayControls::DelayTrackBArChange(int position)
{
    setMovementDelay(ws_, position);
    movementValue->setText(QString::number(position));
    showDurations();
}

void DelayControls::PauseTrackBarChange(int position)
{
    setPauseSecs(ws_, position);
    pauseValue->setText(QString::number(position));
}

void DelayControls::TrackBar2Change(int position)
{
    fadeValue->setText(QString::number(fadeLabelValue(position)));
    setFadeDelay(ws_, position);
    showDurations();
}

void DelayControls::TrackBar1Change(int position)
{
    effectName->setText(osEffectName(setOsEffect(ws_, position)));
}

void DelayControls::CheckBox1Click(bool checked)
{
    setManualMode(ws_, checked);
    applyManualUi();
}

void DelayControls::showDurations()
{
    // The editor's screen stands for the stage: its width in device pixels and its frame period.
    const QScreen* shown = screen();
    const int width = shown != nullptr ? qRound(shown->size().width() * shown->devicePixelRatio()) : 1920;
    const qreal hz = shown != nullptr && shown->refreshRate() > 1.0 ? shown->refreshRate() : 60.0;
    const DelayDurations d = delayDurations(movement->value(), fade->value(), width,
                                            Clock::Nanoseconds(qRound64(1e9 / hz)));
    movementTime->setText(QStringLiteral("slide %1").arg(durationText(d.slide)));
    movementTime->setToolTip(QStringLiteral("A title slides across the whole screen (%1 pixels) in %2")
                                 .arg(width)
                                 .arg(durationText(d.slide)));
    fadeTime->setText(QStringLiteral("fade %1").arg(durationText(d.fade)));
    fadeTime->setToolTip(QStringLiteral("A fade in or out takes %1").arg(durationText(d.fade)));
}

void DelayControls::applyManualUi()
{
    if (ws_.page.mpause) {
        secondsLabel->hide();
        pauseValue->setText(QStringLiteral("SpaceBar - Manual"));
    } else {
        pauseValue->setText(QString::number(pause->value()));
        secondsLabel->show();
    }
    pause->setVisible(!ws_.page.mpause);
}

} // namespace lumavo
