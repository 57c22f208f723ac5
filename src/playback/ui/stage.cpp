#include "playback/ui/stage.h"

#include "platform/bitmap_dialogs.h"
#include "playback/ui/gl_stage_view.h"
#include "playback/ui/sound_wave_player.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

namespace lumavo {

namespace {

constexpr int kMessageWaitMs = 50;
constexpr double kDefaultRefreshHz = 60.0;

// The title pixel format for a screen depth; nullopt for a depth without one.
std::optional<PixelFormat> titleFormatForDepth(int depth)
{
    switch (depth) {
    case 8: return PixelFormat::Bits8;
    case 16: return PixelFormat::Bits16;
    case 24: return PixelFormat::Bits24;
    case 32: return PixelFormat::Bits32;
    default: return std::nullopt;
    }
}

} // namespace

TCan::TCan(AppContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), context_(context)
{
    setObjectName(QStringLiteral("Can"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::StrongFocus);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);

    wave_ = context_.makeWavePlayer ? context_.makeWavePlayer() : nullptr;
    if (!wave_)
        wave_ = std::make_unique<SoundWavePlayer>();
    if (auto* sound = dynamic_cast<SoundWavePlayer*>(wave_.get()))
        sound->setProblemReport([this](const QString& text) { emit notice(text); });
    player_ = std::make_unique<PagePlayer>(context_.workspace, *this, flags_, context_.clock,
                                           *wave_, &composeTitle);
    wakeTimer_.setSingleShot(true);

    fitToScreen();
    // Making the OpenGL view takes a while (context, shaders): not on the way to the first frame.
    useOpenGl(false);
}

TCan::~TCan()
{
    // The alignment screen's title images and panel refer to this window and its back buffer.
    alignment_.reset();
}

void TCan::setAlignment(std::unique_ptr<StageAlignment> alignment)
{
    alignment_ = std::move(alignment);
    if (alignment_)
        alignment_->hidePanel();
}

// ---- commands --------------------------------------------------------------------------------

void TCan::playCurrentPage()
{
    player_->playCurrentPage();
    showNotices(context_.prompter, player_->takeNotices());
}

void TCan::playAllPages()
{
    Notices loading;
    player_->playAllPages(storagePageSource(context_.workspace, loading));
    showNotices(context_.prompter, loading);
    showNotices(context_.prompter, player_->takeNotices());
}

void TCan::enterAlignment()
{
    if (alignment_)
        alignment_->enterAlignment();
}

void TCan::clearInPath(int line)
{
    if (alignment_)
        alignment_->clearInPath(line);
}

void TCan::clearOutPath(int line)
{
    if (alignment_)
        alignment_->clearOutPath(line);
}

void TCan::killcan() { player_->killcan(); }

void TCan::cut() { player_->cut(); }

void TCan::saveabitmap()
{
    Bitmap picture = back_;
    picture.setPixelFormat(PixelFormat::Bits24);
    saveBitmapAs(picture, context_.prompter);
}

// ---- the stage surface ------------------------------------------------------------------------

QScreen* TCan::editorScreen() const
{
    return context_.mainWidget != nullptr ? context_.mainWidget->screen() : nullptr;
}

QScreen* TCan::stageScreen() const
{
    QScreen* editor = editorScreen();
    if (placement_ != nullptr)
        if (QScreen* chosen = placement_->stageScreen(editor))
            return chosen;
    if (editor != nullptr)
        return editor;
    return screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
}

bool TCan::presentsThroughOpenGl() const { return glContainer_ != nullptr && glContainer_->isVisible(); }

void TCan::useOpenGl(bool on)
{
    if (!glTried_) {
        glTried_ = true;
        if (std::unique_ptr<GlStageView> view = GlStageView::create(*this)) {
            gl_ = view.get();
            glContainer_ = QWidget::createWindowContainer(view.release(), this);
            glContainer_->setFocusPolicy(Qt::NoFocus);
        }
    }
    if (glContainer_ == nullptr)
        return;
    glContainer_->setGeometry(rect());
    glContainer_->setVisible(on);
}

Point TCan::screenSize() const { return {back_.width(), back_.height()}; }

void TCan::fitToScreen()
{
    QScreen* s = stageScreen();
    QRect area = s != nullptr ? s->geometry() : QRect(0, 0, 1024, 768);
    std::optional<QSize> canvas;   // a windowed output's fixed canvas
    awayFromEditor_ = false;
    if (placement_ != nullptr) {
        QScreen* editorScreen = context_.mainWidget != nullptr ? context_.mainWidget->screen() : nullptr;
        const StagePlace place = placement_->placeForPlayback(editorScreen);
        awayFromEditor_ = place.screen != nullptr && editorScreen != nullptr && place.screen != editorScreen;
        area = place.geometry;
        showStageWindow_ = place.showStageWindow;
        // Separate X screens all start at (0, 0): the geometry alone does not pick the screen.
        if (place.screen != nullptr && place.screen != screen())
            setScreen(place.screen);
        if (!showStageWindow_)
            canvas = place.canvas;
    }
    setGeometry(area);
    // The back buffer holds the screen's device pixels, so titles are composed for the device
    // size and shown without scaling on a high-density screen.
    const qreal ratio = s != nullptr ? s->devicePixelRatio() : 1.0;
    const int width = canvas ? canvas->width() : qRound(area.width() * ratio);
    const int height = canvas ? canvas->height() : qRound(area.height() * ratio);
    if (back_.width() != width || back_.height() != height) {
        back_ = Bitmap(width, height, PixelFormat::Bits32);
        back_.canvas().brush = {kBlack, BrushStyle::Solid};
        back_.canvas().fillRect({0, 0, back_.width(), back_.height()});
    }
}

qreal TCan::backBufferRatio() const
{
    return width() > 0 ? static_cast<qreal>(back_.width()) / width() : 1.0;
}

void TCan::readScreenFormats()
{
    QScreen* s = stageScreen();
    if (s == nullptr) {
        context_.prompter.message(QStringLiteral("Unable to set pixel format for your video card, using default."),
                                  MessageIcon::Error);
        formats_.title = PixelFormat::Device;
        return;
    }
    depth_ = s->depth();
    if (const auto format = titleFormatForDepth(depth_)) {
        formats_.title = *format;
        formats_.effect = *format == PixelFormat::Bits32 ? PixelFormat::Bits32 : PixelFormat::Bits24;
    }
}

void TCan::present(const Rect& region)
{
    // The region is in back-buffer (device) pixels; the widget repaints in logical ones.
    const qreal ratio = backBufferRatio();
    const QRectF logical(region.left / ratio, region.top / ratio, region.width() / ratio, region.height() / ratio);
    const QRect area(region.left, region.top, region.width(), region.height());
    // The alignment screen is an editing tool: the outputs never show it.
    const bool programme = !context_.workspace.editor.alignActive;
    if (programme)
        emit aboutToPresent(area);
    if (presentsThroughOpenGl() && !gl_->present(back_, area))
        useOpenGl(false);   // the driver failed: paint from here on
    if (isVisible() && !presentsThroughOpenGl())
        repaint(logical.toAlignedRect());
    if (programme)
        emit presented(area);
}

Clock::Nanoseconds TCan::framePeriod() const
{
    QScreen* s = stageScreen();
    const double hz = s != nullptr && s->refreshRate() > 1.0 ? s->refreshRate() : kDefaultRefreshHz;
    return Clock::Nanoseconds(static_cast<std::int64_t>(1e9 / hz));
}

void TCan::pumpMessages()
{
    emit pumping();
    QCoreApplication::processEvents();
}

void TCan::waitForMessages()
{
    wakeTimer_.start(kMessageWaitMs);
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void TCan::showForPlayback()
{
    if (alignment_)
        alignment_->hidePanel();
    fitToScreen();
    setCursor(context_.workspace.editor.alignActive ? Qt::ArrowCursor : Qt::BlankCursor);
    if (!showStageWindow_)
        return;
    // On a screen of its own the stage leaves the editor active, so that the on-air console takes
    // the space bar and Esc without a click first; over the editor it takes the keys itself.
    const bool keepEditorActive = awayFromEditor_ && !context_.workspace.editor.alignActive;
    // The alignment screen's title images and panel are widgets: it always paints.
    useOpenGl(!context_.workspace.editor.alignActive);
    if (!isVisible())
        paintedSinceShown_ = false;
    blackedOut_ = false;
    // The stage comes up activated even then: a window manager stacks a window shown without the
    // focus low, under the black window holding the output screen. The editor takes the focus back.
    show();
    raise();
    if (keepEditorActive && context_.mainWidget != nullptr) {
        context_.mainWidget->activateWindow();
        return;
    }
    activateWindow();
    setFocus();
}

void TCan::enableStage() { setEnabled(true); }

bool TCan::isShownOnScreen() const
{
    // A windowed output is up already; the stage's own window stays hidden then.
    if (!showStageWindow_)
        return true;
    if (presentsThroughOpenGl())
        return gl_->isExposed() && gl_->hasShownFrame();
    return isVisible() && windowHandle() != nullptr && windowHandle()->isExposed() && paintedSinceShown_;
}

void TCan::closeStage()
{
    emit closed();
    setEnabled(false);
    // Black goes out before the window goes: what shows through until the screen beneath repaints
    // is black, not the last titles.
    if (isVisible()) {
        blackedOut_ = true;
        if (presentsThroughOpenGl())
            gl_->presentBlack();
        repaint();
    }
    hide();
    if (context_.mainWidget != nullptr) {
        context_.mainWidget->show();
        context_.mainWidget->activateWindow();
    }
    emit stageClosed();
}

// ---- events ----------------------------------------------------------------------------------

void TCan::paintEvent(QPaintEvent* event)
{
    if (back_.isEmpty() || blackedOut_) {
        QPainter(this).fillRect(event->rect(), Qt::black);
        return;
    }
    QImage frame(back_.scanLine(0), back_.width(), back_.height(), back_.bytesPerLine(), QImage::Format_RGB32);
    const qreal ratio = backBufferRatio();
    frame.setDevicePixelRatio(ratio);
    QPainter painter(this);
    const QRect area = event->rect();
    const QRectF source(area.x() * ratio, area.y() * ratio, area.width() * ratio, area.height() * ratio);
    painter.drawImage(QRectF(area), frame, source);
    paintedSinceShown_ = true;
}

void TCan::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    readScreenFormats();
}

void TCan::keyPressEvent(QKeyEvent* event)
{
    const bool space = event->key() == Qt::Key_Space;
    if (space && context_.workspace.page.mpause) {
        if (!event->isAutoRepeat())
            flags_.spaceBarPause = !flags_.spaceBarPause;
        return;
    }
    if (context_.workspace.editor.alignActive)
        return;
    // Presenter clickers send Right and Page Down: they continue a manual wait and never stop.
    if (event->key() == Qt::Key_Right || event->key() == Qt::Key_PageDown) {
        flags_.spaceBarPause = false;
        return;
    }
    // Shift+Esc cuts at once; Esc after a stop request cuts too, as a second left click does (a
    // single run of all pages ends with the stage up and the stop flag set).
    const bool escape = event->key() == Qt::Key_Escape;
    if (escape && isEnabled() && (flags_.killNow || event->modifiers() == Qt::ShiftModifier)) {
        cut();
        return;
    }
    flags_.spaceBarPause = false;
    flags_.killNow = true;
}

void TCan::mousePressEvent(QMouseEvent* event)
{
    // In alignment mode the alignment screen handles the mouse before this handler sees it.
    if (context_.workspace.editor.alignActive)
        return;
    if (alignment_)
        alignment_->stopPathTimer();
    if (event->modifiers() != Qt::NoModifier)
        return;
    if (event->button() == Qt::LeftButton) {
        if (flags_.killNow && isEnabled())
            cut();
        flags_.killNow = true;
    } else if (event->button() == Qt::RightButton) {
        saveabitmap();
    }
}

} // namespace lumavo
