#pragma once

#include <QWidget>

namespace lumavo {

class TCan;

// The stage in an ordinary titled, resizable window, for capture programs: the stage's fixed-size
// canvas scaled to fit with its aspect kept, black bars around it, redrawn in the same present.
// Black while the stage is closed. Keys and clicks act on the stage as on the full-screen stage.
class WindowOutput : public QWidget {
    Q_OBJECT
public:
    explicit WindowOutput(TCan& stage, QWidget* parent = nullptr);

    // Where the canvas lands inside the window now.
    QRect pictureRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    TCan& stage_;
    bool live_ = false;   // the stage has presented since it was last closed
};

} // namespace lumavo
