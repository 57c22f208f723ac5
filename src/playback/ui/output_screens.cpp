#include "playback/ui/output_screens.h"

#include "playback/ui/key_output_window.h"
#include "playback/ui/stage.h"
#include "playback/ui/window_output.h"
#include "storage/workspace.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace lumavo {

namespace {

QScreen* screenAt(int index)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    return index >= 0 && index < screens.size() ? screens[index] : nullptr;
}

int indexOf(QScreen* screen)
{
    return screen != nullptr ? static_cast<int>(QGuiApplication::screens().indexOf(screen)) : -1;
}

QScreen* editorOrPrimary(QScreen* editorScreen)
{
    return editorScreen != nullptr ? editorScreen : QGuiApplication::primaryScreen();
}

} // namespace

OutputScreens::OutputScreens(TCan& stage, Workspace& ws, QObject* parent)
    : QObject(parent), stage_(stage), ws_(ws)
{
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (app != nullptr) {
        const auto changed = [this] {
            updateStandby();
            updateKeyOutput();
            emit screensChanged();
        };
        connect(app, &QGuiApplication::screenAdded, this, changed);
        // Removal is reported while the screen is still listed; look again once it has gone.
        connect(app, &QGuiApplication::screenRemoved, this, changed, Qt::QueuedConnection);
    }
    // The editor may have moved since: look again whenever a playback or the alignment screen ends.
    connect(&stage_, &TCan::closed, this, [this] {
        updateStandby();
        updateKeyOutput();
    });
}

OutputScreens::~OutputScreens() = default;

std::vector<ScreenEntry> OutputScreens::screenEntries()
{
    std::vector<ScreenEntry> entries;
    const QList<QScreen*> screens = QGuiApplication::screens();
    QStringList names;
    for (QScreen* screen : screens)
        names << screen->name();
    const QStringList keys = screenKeys(names);
    for (QScreen* screen : screens) {
        const QRect g = screen->geometry();
        const QString& name = keys[static_cast<qsizetype>(entries.size())];
        entries.push_back({name, {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()}});
    }
    return entries;
}

void OutputScreens::setStageScreenKey(const QString& name)
{
    stageKey_ = name;
    updateStandby();
    updateKeyOutput();
}

void OutputScreens::setKeyScreenKey(const QString& name)
{
    keyKey_ = name;
    updateKeyOutput();
}

void OutputScreens::setWindowCanvas(WindowCanvas canvas)
{
    canvas_ = canvas;
    updateWindowOutput();
    updateStandby();
}

QScreen* OutputScreens::stageScreen(QScreen* editorScreen) const
{
    // The alignment screen is an editing tool: it opens where the editor is.
    if (ws_.editor.alignActive)
        return editorOrPrimary(editorScreen);
    const ScreenPick pick = pickStageScreen(screenEntries(), stageKey_, indexOf(editorOrPrimary(editorScreen)));
    return screenAt(pick.index);
}

bool OutputScreens::stageLeavesEditorFree(QScreen* editorScreen) const
{
    if (canvas_ != WindowCanvas::Off)
        return true;
    QScreen* chosen = stageScreen(editorScreen);
    return chosen != nullptr && chosen != editorOrPrimary(editorScreen);
}

StagePlace OutputScreens::placeForPlayback(QScreen* editorScreen)
{
    const bool aligning = ws_.editor.alignActive;
    const ScreenPick pick = aligning ? ScreenPick{indexOf(editorOrPrimary(editorScreen)), false}
                                     : pickStageScreen(screenEntries(), stageKey_, indexOf(editorOrPrimary(editorScreen)));
    const bool windowed = canvas_ != WindowCanvas::Off && !aligning;
    if (pick.missing && !windowed)
        emit notice(QStringLiteral("Output screen %1 is not connected: playing on the editor's screen.").arg(stageKey_));
    StagePlace place;
    place.screen = screenAt(pick.index);
    place.geometry = place.screen != nullptr ? place.screen->geometry() : QRect(0, 0, 1024, 768);
    place.canvas = place.geometry.size();
    // The alignment screen is worked on with the mouse, so it always takes a whole screen.
    if (windowed) {
        const Point size = windowCanvasSize(canvas_, {place.canvas.width(), place.canvas.height()});
        place.canvas = QSize(size.x, size.y);
        place.showStageWindow = false;
        updateWindowOutput();
    }
    return place;
}

QScreen* OutputScreens::separateOutputScreen() const
{
    const auto index = findScreen(screenEntries(), stageKey_);
    QScreen* chosen = index ? screenAt(*index) : nullptr;
    return chosen != editorOrPrimary(stage_.editorScreen()) ? chosen : nullptr;
}

std::vector<ScreenEntry> OutputScreens::keyScreenChoices() const
{
    const QScreen* editor = editorOrPrimary(stage_.editorScreen());
    const QScreen* output = separateOutputScreen();
    std::vector<ScreenEntry> choices;
    const std::vector<ScreenEntry> entries = screenEntries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const QScreen* screen = screenAt(static_cast<int>(i));
        if (screen != editor && screen != output)
            choices.push_back(entries[i]);
    }
    return choices;
}

void OutputScreens::updateStandby()
{
    QScreen* screen = canvas_ == WindowCanvas::Off ? separateOutputScreen() : nullptr;
    if (screen == nullptr) {
        standby_.reset();
        return;
    }
    if (!standby_) {
        // Kept below every other window, so the stage always comes up over it.
        standby_ = std::make_unique<QWidget>(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                                                          Qt::WindowStaysOnBottomHint);
        standby_->setObjectName(QStringLiteral("OutputStandby"));
        standby_->setWindowTitle(QStringLiteral("Lumavo Output Screen"));
        QPalette black = standby_->palette();
        black.setColor(QPalette::Window, Qt::black);
        standby_->setPalette(black);
        standby_->setAutoFillBackground(true);
        standby_->setCursor(Qt::BlankCursor);
        standby_->setAttribute(Qt::WA_ShowWithoutActivating);
    }
    standby_->setScreen(screen);
    standby_->setGeometry(screen->geometry());
    standby_->show();
}

void OutputScreens::updateKeyOutput()
{
    // The key never covers the editor, nor the programme it keys; such a stored choice waits.
    std::optional<int> index;
    for (const ScreenEntry& entry : keyScreenChoices())
        if (!keyKey_.isEmpty() && entry.name == keyKey_)
            index = findScreen(screenEntries(), keyKey_);
    if (!index) {
        key_.reset();
        return;
    }
    if (!key_)
        key_ = std::make_unique<KeyOutputWindow>(stage_);
    key_->showOn(screenAt(*index));
}

void OutputScreens::updateWindowOutput()
{
    if (canvas_ == WindowCanvas::Off) {
        window_.reset();
        return;
    }
    if (!window_)
        window_ = std::make_unique<WindowOutput>(stage_);
    if (!window_->isVisible())
        window_->show();
}

} // namespace lumavo
