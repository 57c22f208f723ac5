#pragma once

#include "platform/bitmap.h"
#include "storage/ui/app_context.h"
#include "playback/page_player.h"
#include "playback/stage_surface.h"

#include <QTimer>
#include <QWidget>
#include <memory>

class QLabel;

namespace lumavo {

// Plays the current page inside the editor: a stage of its own, scaled down into the panel, on the
// same timeline and clock as the real stage but with the sounds off. No output screen changes.
// Esc or Stop ends it; the space bar releases a manual hold.
class PreviewPanel : public QWidget, public StageSurface {
    Q_OBJECT
public:
    explicit PreviewPanel(AppContext& context, QWidget* parent = nullptr);
    ~PreviewPanel() override;

    // Plays the current page on a canvas of the output's size; returns when the preview ends.
    void preview(Point canvas);
    // Stop: clears the hold and sets the stop flag; with the stop flag already set it ends the
    // preview at once.
    void stopPreview();
    const PlaybackFlags& flags() const { return flags_; }
    bool isPreviewing() const { return player_->isPlaying(); }
    // Where the canvas lands inside the picture area.
    QRect pictureRect() const;

    // StageSurface
    Bitmap& backBuffer() override { return back_; }
    void present(const Rect& region) override;
    Clock::Nanoseconds framePeriod() const override;
    Point screenSize() const override { return {back_.width(), back_.height()}; }
    int screenDepth() const override { return 32; }
    ComposeFormats composeFormats() const override { return {PixelFormat::Bits32, PixelFormat::Bits32}; }
    void pumpMessages() override;
    void waitForMessages() override;
    void showForPlayback() override;
    void enableStage() override { enabled_ = true; }
    void closeStage() override;
    bool isEnabledStage() const override { return enabled_; }

signals:
    // The preview ended and the panel hid itself.
    void finished();

private:
    void spaceBar();

    AppContext& context_;
    Bitmap back_;
    PlaybackFlags flags_;
    std::unique_ptr<WavePlayer> silence_;
    std::unique_ptr<PagePlayer> player_;
    QWidget* picture_ = nullptr;
    QTimer wakeTimer_;
    bool enabled_ = false;
};

} // namespace lumavo
