#pragma once

#include "platform/bitmap.h"

#include <QWidget>

class QScreen;

namespace lumavo {

class TCan;

// A frameless full-screen window showing the stage's matte for a keyer's key input: white where the
// stage is not the key colour black, black elsewhere, redrawn in the same present as the stage;
// all black while no programme plays (before, between and after plays, while aligning).
class KeyOutputWindow : public QWidget {
    Q_OBJECT
public:
    explicit KeyOutputWindow(TCan& stage, QWidget* parent = nullptr);

    // Covers the screen and shows the window.
    void showOn(QScreen* screen);
    // The matte as last drawn (the stage's back-buffer size).
    const Bitmap& matte() const { return matte_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Converts the region about to be presented into the matte...
    void prepare(const QRect& region);
    // ...and shows it in the same present as the stage.
    void showPrepared(const QRect& region);
    void blackOut();

    TCan& stage_;
    Bitmap matte_;
    QRect pending_;   // a resized matte is shown whole at the next present
};

} // namespace lumavo
