#pragma once

#include "storage/workspace.h"

#include <QGroupBox>

class QCheckBox;
class QLabel;
class QSlider;

namespace lumavo {

// The " Delay Controls " box of the editor: fade, OS effects, movement and pause sliders with
// their value labels and the Manual box. It shows the current page's timing and stores each
// move of a control in the page through the editor model.
class DelayControls : public QGroupBox {
    Q_OBJECT
public:
    DelayControls(Workspace& ws, QWidget* parent);

    // The Manual box and the pause column from the page's manual flag.
    void showManual();
    // The sliders and their labels from the page (no control reports a change).
    void showPage();

    QSlider* fade = nullptr;          // TrackBar2
    QSlider* effects = nullptr;       // TrackBar1
    QSlider* movement = nullptr;      // DelayTrackBar
    QSlider* pause = nullptr;         // PauseTrackBar
    QLabel* fadeValue = nullptr;      // Label7
    QLabel* effectName = nullptr;     // Label3
    QLabel* movementValue = nullptr;  // Label1
    QLabel* pauseValue = nullptr;     // Label4
    QLabel* secondsLabel = nullptr;   // Label8
    QCheckBox* manual = nullptr;      // CheckBox1
    // Beside the classic value labels: the time a full-width slide takes at this movement delay,
    // and the time the whole fade takes.
    QLabel* movementTime = nullptr;
    QLabel* fadeTime = nullptr;

private slots:
    void DelayTrackBArChange(int position);
    void PauseTrackBarChange(int position);
    void TrackBar2Change(int position);
    void TrackBar1Change(int position);
    void CheckBox1Click(bool checked);

private:
    void applyManualUi();
    void showDurations();

    Workspace& ws_;
};

} // namespace lumavo
