#include "app/ui/main_window.h"

#include "app/app_shell.h"
#include "app/editor_model.h"
#include "app/ui/delay_controls.h"
#include "app/ui/direction_toolbar.h"
#include "app/ui/line_menu.h"
#include "app/ui/pictures.h"
#include "app/ui/splash_window.h"
#include "app/ui/status_bar.h"
#include "app/ui/title_lines.h"
#include "compose/ui/effects_window.h"
#include "compose/ui/font_form.h"
#include "platform/ui/qt_prompter.h"
#include "playback/page_validity.h"
#include "playback/ui/stage.h"
#include "storage/project.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QToolButton>

namespace lumavo {

namespace {

constexpr int kDesignWidth = kMainWindowWidth;
constexpr int kDesignHeight = kMainWindowHeight;
constexpr int kToolbarMargin = 2;   // the direction toolbar keeps this far inside the window

} // namespace

TBitMovOptMain::TBitMovOptMain(AppContext& context, QWidget* parent)
    : QMainWindow(parent), context_(context), ws_(context.workspace), settingsPath_(settingsFilePath())
{
    processEnd_ = [] { QCoreApplication::exit(0); };

    setObjectName(QStringLiteral("BitMovOptMain"));
    setWindowTitle(kMainCaption);
    setWindowIcon(programIcon());
    QFont windowFont(QStringLiteral("MS Sans Serif"));
    windowFont.setPixelSize(11);
    setFont(windowFont);

    commands_ = new EditorCommands(*this, *this, context_);
    auto* surface = new QWidget(this);
    surface->setObjectName(QStringLiteral("Surface"));
    setCentralWidget(surface);
    surface->installEventFilter(this);   // docks shown above it (the console) resize it alone
    commands_->setSettingsPath(settingsPath_);
    surface->addActions(commands_->pageKeys());
    buildTitleLines(surface);
    buildDelayControls(surface);
    buildPopupMenu();
    buildDirectionToolbar();
    buildStatusBar();
    resize(kDesignWidth, kDesignHeight);
    // Never narrower than the direction toolbar, so its last buttons (font, close) stay reachable.
    setMinimumSize(std::max(kMainWindowMinWidth, directionToolbar_->width() + 2 * kToolbarMargin),
                   kMainWindowMinHeight);
    FormCreate();
}

TBitMovOptMain::~TBitMovOptMain()
{
    delete splash_.data();
}

void TBitMovOptMain::setSettingsPath(const QString& path)
{
    settingsPath_ = path;
    commands_->setSettingsPath(path);
}

// ---- building the window ------------------------------------------------------------------

void TBitMovOptMain::buildTitleLines(QWidget* surface)
{
    titleLines_ = new TitleLines(context_, surface);
    connect(titleLines_, &TitleLines::directionRequested, this, &TBitMovOptMain::openDirectionToolbar);
    connect(titleLines_, &TitleLines::textChanged, this, &TBitMovOptMain::editChange);
    connect(titleLines_, &TitleLines::menuRequested, this, [this](int line, const QPoint& at) {
        PopupMenu1Popup(line);
        lineMenu_->exec(at);
    });
    connect(titleLines_, &TitleLines::pictureDropped, this,
            [this](int line, const QString& path) { lineMenu_->usePicture(line, path); });
}

void TBitMovOptMain::buildDirectionToolbar()
{
    directionToolbar_ = new DirectionToolbar(this);
    connect(directionToolbar_, &DirectionToolbar::directionClicked, this, &TBitMovOptMain::dirClick);
    connect(directionToolbar_, &DirectionToolbar::toggleClicked, this, &TBitMovOptMain::lineToggleClick);
    connect(directionToolbar_, &DirectionToolbar::colourClicked, lineMenu_, &LineMenu::ToolButton13Click);
    connect(directionToolbar_, &DirectionToolbar::fontClicked, lineMenu_, &LineMenu::fontbuttonClick);
    connect(directionToolbar_, &DirectionToolbar::closeClicked, this, &TBitMovOptMain::ToolButton9Click);
}

void TBitMovOptMain::buildDelayControls(QWidget* surface)
{
    delayControls_ = new DelayControls(ws_, surface);
}

void TBitMovOptMain::buildPopupMenu()
{
    lineMenu_ = new LineMenu(context_, *titleLines_, this);
}

void TBitMovOptMain::buildStatusBar()
{
    statusBar_ = new EditorStatusBar(this);
    setStatusBar(statusBar_);
}

// ---- start-up, layout, ending ---------------------------------------------------------------

void TBitMovOptMain::FormCreate()
{
    splash_ = new Tsplasher;
    splash_->showSplash();
    if (const auto message = runtimeVersionMessage(QString::fromLatin1(qVersion()), QStringLiteral(QT_VERSION_STR)))
        context_.prompter.message(*message);
    prepareStartup(ws_);
    glyphScratch_ = QPixmap(kDirectionPictureSize, kDirectionPictureSize);
    directionToolbar_->hide();
    Initiate();
    refreshStatusBar();
}

void TBitMovOptMain::FormResize()
{
    const TitleRowLayout layout = titleLines_->layoutRows(width(), directionToolbar_->width());
    placeDirectionToolbar(layout.directionToolbarLeft, directionToolbar_->y());
    // The delay box stands along the bottom, above the status bar.
    const int panelTop = TitleLines::kHeight;
    delayControls_->setGeometry(8, panelTop, width() - 16, std::max(100, centralWidget()->height() - panelTop - 6));
}

void TBitMovOptMain::placeDirectionToolbar(int left, int top)
{
    const int rightmost = std::max(kToolbarMargin, width() - directionToolbar_->width() - kToolbarMargin);
    directionToolbar_->move(std::clamp(left, kToolbarMargin, rightmost), top);
}

bool TBitMovOptMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == centralWidget() && event->type() == QEvent::Resize && delayControls_ != nullptr &&
        directionToolbar_ != nullptr)
        FormResize();
    return QMainWindow::eventFilter(watched, event);
}

void TBitMovOptMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TBitMovOptMain::mousePressEvent(QMouseEvent* event)
{
    if (windows_.stage != nullptr)
        windows_.stage->hide();
    QCoreApplication::processEvents();
    show();
    raise();
    activateWindow();
    QMainWindow::mousePressEvent(event);
}

void TBitMovOptMain::closeEvent(QCloseEvent* event)
{
    const CloseOutcome query = closeQuery(ws_, context_.prompter, ProjectSaveInfo{SysInfo(0), SysInfo(3), {}});
    refreshStatusBar();
    showNotices(context_.prompter, query.notices);
    if (query.verdict == CloseVerdict::StayOpen || !shutdown()) {
        event->ignore();
        return;
    }
    event->accept();
}

bool TBitMovOptMain::writeSettings()
{
    const WindowPlacement placement{y(), x(), height(), width()};
    const IoResult written = writetheinifile(ws_, placement, settingsPath_);
    if (!written.ok)
        context_.prompter.message(written.error, MessageIcon::Error);
    return written.ok;
}

bool TBitMovOptMain::shutdown()
{
    // Settings that cannot be written are no reason to keep the operator from leaving: the box
    // has said why, and the question lets them fix it first or go without.
    if (!writeSettings() &&
        context_.prompter.confirm(QStringLiteral("Exit without saving the settings?"), false) != Answer::Yes)
        return false;
    glyphScratch_ = QPixmap();
    processEnd_();
    return true;
}

std::int32_t TBitMovOptMain::SysInfo(int which) const
{
    return screenCapability(*this, which);
}

void TBitMovOptMain::placeWindow(const WindowPlacement& placement)
{
    QList<QRect> areas;
    for (const QScreen* s : QGuiApplication::screens())
        areas << s->availableGeometry();
    const QScreen* primary = QGuiApplication::primaryScreen();
    const WindowPlacement shown = fitMainWindow(placement, areas, primary != nullptr ? primary->availableGeometry() : QRect());
    move(shown.left, shown.top);
    resize(shown.width, shown.height);
}

void TBitMovOptMain::applySettings(const SettingsReadOutcome& outcome)
{
    if (outcome.placement)
        placeWindow(*outcome.placement);
    if (outcome.projectOpened) {
        EditorActions actions;
        actions.enableProjectTools = true;
        actions.showPage = outcome.openProject.pageLoaded;
        actions.showPageNumber = outcome.openProject.pageLoaded;
        actions.notices = outcome.openProject.notices;
        applyActions(actions);
    }
    refreshStatusBar();
}

// ---- the current page -----------------------------------------------------------------------

void TBitMovOptMain::Initiate()
{
    lumavo::Initiate(ws_);
    syncEditorControls();
}

void TBitMovOptMain::syncEditorControls()
{
    titleLines_->showTexts();
    delayControls_->showManual();
}

void TBitMovOptMain::showpage()
{
    syncEditorControls();
    showDirections();
    delayControls_->showPage();
    for (int k = 1; k <= kLineCount; ++k)
        applyEditFont(k);
    loadprevus();
}

void TBitMovOptMain::showDirections()
{
    for (const PathSide side : {PathSide::In, PathSide::Out}) {
        for (int k = 1; k <= kLineCount; ++k) {
            const TitleLine& line = ws_.page.line(k);
            const int code = side == PathSide::In ? line.inDir : line.outDir;
            if (code >= 1 && code <= 13)
                setdirectionButton(side, k, code, code - 1);
        }
    }
}

void TBitMovOptMain::applyEditFont(int line)
{
    titleLines_->applyEditFont(line);
}

bool TBitMovOptMain::ProjectValid()
{
    const QString message = projectValidityMessage(ws_);
    if (message.isEmpty())
        return true;
    context_.prompter.message(message);
    return false;
}

void TBitMovOptMain::setdirectionButton(PathSide side, int line, int code, int image)
{
    glyphScratch_.fill(Qt::transparent);
    {
        QPainter p(&glyphScratch_);
        p.drawPixmap(0, 0, directionPicture(image));
    }
    if (line >= 1 && line <= kLineCount)
        titleLines_->showDirection(side, line, QIcon(glyphScratch_), code);
    directionToolbar_->hide();
}

void TBitMovOptMain::settoolbarbuttons(int line)
{
    if (line >= 1 && line <= kLineCount)
        directionToolbar_->showToggles(ws_.page.line(line));
}

std::uint8_t TBitMovOptMain::getmpause() const { return ws_.page.mpause ? 1 : 0; }
void TBitMovOptMain::setmpause(std::uint8_t flag) { lumavo::setmpause(ws_, flag); }
std::uint8_t TBitMovOptMain::getTITLENUM() const { return ws_.editor.titleNum; }
void TBitMovOptMain::setTITLENUM(std::uint8_t line) { lumavo::setTITLENUM(ws_, line); }
std::int32_t TBitMovOptMain::getfadedelay() const { return ws_.page.fadeDelay; }
void TBitMovOptMain::setfadedelay(std::int32_t delay) { lumavo::setfadedelay(ws_, delay); }
QString TBitMovOptMain::getpagenow() const { return ws_.project.pageNow; }
void TBitMovOptMain::setpagenow(const QString& page) { lumavo::setpagenow(ws_, page); }

void TBitMovOptMain::openDirectionToolbar(int line, PathSide side)
{
    const bool inDirection = side == PathSide::In;
    if (!mayErasePath(ws_, context_.prompter, line, side))
        return;
    setDirectionTarget(ws_.editor, side);
    setTITLENUM(static_cast<std::uint8_t>(line));
    settoolbarbuttons(line);
    const QRect editBox = editRectInWindow(line);
    const int top = std::max(0, editBox.top() - 28);
    const QRect firstIn(inButton(1)->mapTo(this, QPoint(0, 0)), inButton(1)->size());
    const QRect firstOut(outButton(1)->mapTo(this, QPoint(0, 0)), outButton(1)->size());
    const int left = inDirection ? firstIn.left() : firstOut.left() + firstOut.width() - directionToolbar_->width();
    placeDirectionToolbar(left, top);
    directionToolbar_->show();
    directionToolbar_->raise();
    if (windows_.stage == nullptr)
        return;
    if (inDirection)
        windows_.stage->clearInPath(line);
    else
        windows_.stage->clearOutPath(line);
}

void TBitMovOptMain::dirClick(int code)
{
    const PathSide target = directionTarget(ws_.editor);
    const int line = ws_.editor.titleNum;
    chooseDirection(ws_, code);
    setdirectionButton(target, line, code, code - 1);
    refreshStatusBar();
}

void TBitMovOptMain::lineToggleClick(int number)
{
    static const std::array<LineToggle, 3> kToggles{LineToggle::Arch, LineToggle::Gradient, LineToggle::Shadow};
    const bool down = toggleButton(number)->isChecked();
    const int line = ws_.editor.titleNum;
    setLineToggle(ws_, line, kToggles[static_cast<std::size_t>(number - 1)], down);
    if (number == 2 && down && windows_.effectsWindow != nullptr) {
        context_.prompter.execModal(*windows_.effectsWindow);
        // The gradient window's OK sets the line's colour: the edit box shows it.
        if (line >= 1 && line <= kLineCount)
            applyEditFont(line);
    }
}

void TBitMovOptMain::editChange(int line, const QString& text)
{
    if (editTextChanged(ws_, line, text).clearPicture)
        titleLines_->clearPicture(line);
}

// ---- styling --------------------------------------------------------------------------------

void TBitMovOptMain::PopupMenu1Popup(int line)
{
    lineMenu_->PopupMenu1Popup(line);
}

void TBitMovOptMain::setWindows(const EditorWindows& windows)
{
    windows_ = windows;
    commands_->setWindows(windows);
    lineMenu_->setFontForm(windows.fontForm);
}

void TBitMovOptMain::ToolButton9Click()
{
    directionToolbar_->hide();
}

bool TBitMovOptMain::loadbimage(const QString& name, QLabel* image, QLabel* label)
{
    return titleLines_->loadbimage(name, image, label);
}

void TBitMovOptMain::loadprevus() { titleLines_->loadprevus(); }
void TBitMovOptMain::ShowIMagelab() { titleLines_->ShowIMagelab(); }

// ---- what the commands leave ----------------------------------------------------------------

void TBitMovOptMain::applyActions(const EditorActions& actions)
{
    if (actions.clearPreviews) {
        for (int k = 1; k <= kLineCount; ++k)
            titleLines_->clearPicture(k);
    }
    if (actions.showPage)
        showpage();
    if (actions.showPageNumber)
        showPageNumber();
    if (actions.enableNewAndCopy)
        commands_->enableNewAndCopy(*actions.enableNewAndCopy);
    if (actions.enableProjectTools) {
        // The opened project's leaders, shown alike on the buttons, menu items and status panels.
        setColorBars(ws_, ws_.project.useColorBars);
        setCountDown(ws_, ws_.project.useCountDown);
        commands_->enableProjectTools(ws_.project.useColorBars, ws_.project.useCountDown);
    }
    refreshStatusBar();
    showNotices(context_.prompter, actions.notices);
}

void TBitMovOptMain::refreshStatusBar()
{
    statusBar_->showPanels(ws_.status);
}

void TBitMovOptMain::showPageNumber()
{
    commands_->showPageNumber(ws_.project.pageNow);
}

// ---- controls -------------------------------------------------------------------------------

QLineEdit* TBitMovOptMain::edit(int line) const { return titleLines_->edit(line); }
QToolButton* TBitMovOptMain::inButton(int line) const { return titleLines_->inButton(line); }
QToolButton* TBitMovOptMain::outButton(int line) const { return titleLines_->outButton(line); }
QLabel* TBitMovOptMain::preview(int line) const { return titleLines_->preview(line); }
QLabel* TBitMovOptMain::fileLabel(int line) const { return titleLines_->fileLabel(line); }
QToolButton* TBitMovOptMain::directionButton(int code) const { return directionToolbar_->directionButton(code); }
QToolButton* TBitMovOptMain::toggleButton(int number) const { return directionToolbar_->toggleButton(number); }
QLabel* TBitMovOptMain::statusPanel(int index) const { return statusBar_->panel(index); }
QMenu* TBitMovOptMain::popupMenu() const { return lineMenu_; }
int TBitMovOptMain::popupLine() const { return lineMenu_->popupLine(); }
Tsplasher* TBitMovOptMain::splash() const { return splash_.data(); }

QRect TBitMovOptMain::editRectInWindow(int line) const
{
    const QLineEdit* box = edit(line);
    return QRect(box->mapTo(this, QPoint(0, 0)), box->size());
}

} // namespace lumavo
