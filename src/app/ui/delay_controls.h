#pragma once

#include <QGroupBox>

class QCheckBox;
class QLabel;
class QSlider;

namespace lumavo {

// The " Delay Controls " box of the editor: fade, OS effects, movement and pause sliders with
// their value labels and the Manual box. It only builds and lays them out; the main window
// connects the controls and shows the page in them.
class DelayControls : public QGroupBox {
    Q_OBJECT
public:
    explicit DelayControls(QWidget* parent);

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
};

} // namespace lumavo
