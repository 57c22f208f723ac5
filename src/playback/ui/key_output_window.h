#pragma once

#include "platform/bitmap.h"

#include <QWidget>

class QScreen;

namespace lumavo {

class TCan;

// A frameless full-screen window showing the stage's matte for a keyer's key input: white where the
// stage is not the key colour black, black elsewhere, redrawn in the same present as the stage;
// all black once the stage has closed.
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
    void follow(const QRect& region);

    TCan& stage_;
    Bitmap matte_;
};

} // namespace lumavo
