#include "app/ui/preview_panel.h"

#include "app/ui/on_air_console.h"
#include "playback/ui/fitted_picture.h"

#include <QAction>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumavo {

namespace {

constexpr int kMessageWaitMs = 50;
constexpr double kPreviewRefreshHz = 60.0;
constexpr int kEdge = 1;
const QColor kEdgeColour(110, 110, 110);

// The preview's wave player: every file opens and nothing sounds, so a preview never changes the page.
class SilentWavePlayer final : public WavePlayer {
public:
    bool open(const QString&, QString*) override { return true; }
    void play() override {}
    void close() override {}
};

// Paints the preview's back buffer scaled into itself with its aspect kept.
class PreviewPicture final : public QWidget {
public:
    PreviewPicture(PreviewPanel& panel, QWidget* parent) : QWidget(parent), panel_(panel)
    {
        setObjectName(QStringLiteral("PreviewPicture"));
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMinimumSize(320, 180);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        // The stage one pixel in from each side, so that its edge shows as a thin grey frame
        // between the stage's own black and the black of the letterbox around it.
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
        painter.translate(kEdge, kEdge);
        const QSize area = size() - QSize(2 * kEdge, 2 * kEdge);
        paintFitted(painter, panel_.backBuffer(), area, true);
        painter.setPen(kEdgeColour);
        painter.drawRect(fittedRect(panel_.backBuffer(), area).adjusted(-kEdge, -kEdge, 0, 0));
    }

private:
    PreviewPanel& panel_;
};

} // namespace

PreviewPanel::PreviewPanel(AppContext& context, QWidget* parent)
    : QWidget(parent), context_(context), silence_(std::make_unique<SilentWavePlayer>())
{
    setObjectName(QStringLiteral("PreviewPanel"));
    player_ = std::make_unique<PagePlayer>(context_.workspace, *this, flags_, context_.clock,
                                           *silence_, &composeTitle);
    wakeTimer_.setSingleShot(true);

    auto* layout = new QVBoxLayout(this);
    picture_ = new PreviewPicture(*this, this);
    layout->addWidget(picture_, 1);
    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel(QStringLiteral("Preview (sound off)"), this), 1);
    auto* stop = new QPushButton(QStringLiteral("Stop"), this);
    stop->setObjectName(QStringLiteral("PreviewStopButton"));
    stop->setFocusPolicy(Qt::NoFocus);
    bar->addWidget(stop);
    layout->addLayout(bar);
    connect(stop, &QPushButton::clicked, this, &PreviewPanel::stopPreview);

    connect(addWindowKey(*this, Qt::Key_Escape), &QAction::triggered, this, &PreviewPanel::stopPreview);
    connect(addWindowKey(*this, Qt::Key_Space), &QAction::triggered, this, &PreviewPanel::spaceBar);
    hide();
}

PreviewPanel::~PreviewPanel() = default;

void PreviewPanel::preview(Point canvas)
{
    if (player_->isPlaying() || canvas.x <= 0 || canvas.y <= 0)
        return;
    if (back_.width() != canvas.x || back_.height() != canvas.y)
        back_ = Bitmap(canvas.x, canvas.y, PixelFormat::Bits32);
    back_.canvas().brush = {kBlack, BrushStyle::Solid};
    back_.canvas().fillRect({0, 0, back_.width(), back_.height()});
    player_->playCurrentPage();
    showNotices(context_.prompter, player_->takeNotices());
}

void PreviewPanel::stopPreview()
{
    if (flags_.killNow && enabled_)
        player_->killcan();
    flags_.spaceBarPause = false;
    flags_.killNow = true;
}

void PreviewPanel::spaceBar()
{
    // As on the stage: in manual mode the space bar toggles the hold; otherwise it stops.
    if (context_.workspace.page.mpause) {
        flags_.spaceBarPause = !flags_.spaceBarPause;
        return;
    }
    flags_.spaceBarPause = false;
    flags_.killNow = true;
}

QRect PreviewPanel::pictureRect() const
{
    return fittedRect(back_, picture_->size() - QSize(2 * kEdge, 2 * kEdge)).translated(kEdge, kEdge);
}

void PreviewPanel::present(const Rect&)
{
    if (picture_->isVisible())
        picture_->repaint();
}

Clock::Nanoseconds PreviewPanel::framePeriod() const
{
    return Clock::Nanoseconds(static_cast<std::int64_t>(1e9 / kPreviewRefreshHz));
}

void PreviewPanel::pumpMessages() { QCoreApplication::processEvents(); }

void PreviewPanel::waitForMessages()
{
    wakeTimer_.start(kMessageWaitMs);
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void PreviewPanel::showForPlayback()
{
    show();
    if (isWindow()) {   // a window of its own takes the keys (Esc, space)
        raise();
        activateWindow();
    }
}

void PreviewPanel::closeStage()
{
    const bool wasEnabled = enabled_;
    enabled_ = false;
    hide();
    if (wasEnabled)
        emit finished();
}

} // namespace lumavo
