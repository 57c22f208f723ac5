#pragma once

#include "compose/title_composer.h"
#include "platform/bitmap.h"
#include "platform/prompter.h"
#include "storage/workspace.h"

#include <QImage>
#include <QWidget>
#include <memory>

namespace lumavo {

// A title image: a child of the stage that holds one composed title bitmap at its place on the
// stage. It sizes itself to its picture and never stretches it. Created hidden, empty and just off
// the screen; mouse presses and releases on it are reported to the stage through the signals.
// Places and pictures are in stage pixels (the back buffer's); `pixelRatio` stage pixels make one
// logical pixel of the stage window (a high-density screen, or a windowed output's canvas scale),
// so the widget stands and paints where the picture stands in the back buffer.
class Tbmp : public QWidget {
    Q_OBJECT
public:
    // Hidden, 0 x 0, at (screenSize.width() + 1, screenSize.height() + 1), child of stage.
    Tbmp(QWidget* stage, QSize screenSize, qreal pixelRatio = 1.0);

    const Bitmap& picture() const { return picture_; }
    // Replaces the picture; the image takes its size.
    void setPicture(Bitmap picture);
    // Moves the image to Left and Top on the stage, in stage pixels.
    void placeAt(Point stagePixels);
    // Left and Top on the stage, in stage pixels.
    int left() const { return place_.x; }
    int top() const { return place_.y; }

signals:
    // pos is within the image; the stage maps it with mapToParent when it needs stage coordinates.
    void mousePressed(Tbmp* image, Qt::MouseButton button, QPoint pos);
    void mouseReleased(Tbmp* image, Qt::MouseButton button, QPoint pos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Bitmap picture_;
    QImage shown_; // the picture as painted
    qreal ratio_ = 1.0;
    Point place_;
};

// Composes title line n (1..3) of the workspace's page into a new hidden title image of the stage,
// placed at the line's rest position (SetupImage1, setupImage2, setupImage3). When the picture
// cannot be loaded (or the title is too large) the message is shown through the prompter and the
// image stays empty and off the screen.
std::unique_ptr<Tbmp> setupImage(Workspace& ws, Prompter& prompter, int n, const ComposeFormats& formats,
                                 QWidget* stage, QSize screenSize, qreal pixelRatio = 1.0);

} // namespace lumavo
