#pragma once

#include "platform/bitmap.h"

#include <QRect>
#include <QWindow>
#include <memory>

class QOpenGLContext;
struct _XDisplay;

namespace lumavo {

// Shows the stage's back buffer through OpenGL: a native window over the stage whose texture takes
// only the changed region of each present, drawn and swapped at once, with the swap interval
// synchronised to the display where the driver offers it. A software renderer copies just the
// changed rectangle to the window instead of swapping the whole of it. Keys and clicks go to the input target
// (the stage) as if they had reached it.
class GlStageView final : public QWindow {
public:
    // A view when OpenGL works on this platform (never on the offscreen or minimal platforms, nor
    // with LUMAVO_PRESENT=raster in the environment); null otherwise, and the stage paints as before.
    static std::unique_ptr<GlStageView> create(QObject& inputTarget);
    ~GlStageView() override;

    // Uploads the region of back (32-bit, the window's device size) and shows the whole frame now.
    // False when drawing failed; the caller then falls back to painting.
    bool present(const Bitmap& back, const QRect& region);
    // Shows black now, whatever the back buffer holds.
    void presentBlack();
    // True once a frame has been swapped since the view was last shown.
    bool hasShownFrame() const { return shown_; }

protected:
    void exposeEvent(QExposeEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool event(QEvent* event) override;

private:
    explicit GlStageView(QObject& inputTarget);
    bool initialise();
    void blackBackground();
    void resolveCopySubBuffer();
    // Draws the texture (or black) and shows it; with a sub-buffer copy only `region` travels.
    bool draw(bool black, QRect region = {});

    QObject& target_;
    std::unique_ptr<QOpenGLContext> context_;
    const Bitmap* back_ = nullptr;   // the last back buffer presented, for a redraw on expose
    unsigned texture_ = 0;
    unsigned program_ = 0;
    int textureWidth_ = 0;
    int textureHeight_ = 0;
    bool shown_ = false;
    bool black_ = false;
    // With a software renderer: glXCopySubBufferMESA, which shows a rectangle of the back buffer.
    using CopySubBuffer = void (*)(_XDisplay*, unsigned long, int, int, int, int);
    CopySubBuffer copySubBuffer_ = nullptr;
    _XDisplay* display_ = nullptr;
    bool backHoldsFrame_ = false;
    QSize drawnSize_;
};

} // namespace lumavo
