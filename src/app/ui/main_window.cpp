#include "app/ui/main_window.h"

#include "app/app_shell.h"
#include "app/editor_model.h"
#include "app/ui/about_window.h"
#include "app/ui/delay_controls.h"
#include "app/ui/direction_toolbar.h"
#include "app/ui/line_menu.h"
#include "app/ui/pictures.h"
#include "app/ui/splash_window.h"
#include "app/ui/status_bar.h"
#include "app/ui/time_options.h"
#include "app/ui/title_lines.h"
#include "compose/ui/effects_window.h"
#include "compose/ui/font_form.h"
#include "platform/ui/qt_prompter.h"
#include "playback/page_validity.h"
#include "playback/ui/stage.h"
#include "export/ui/export_dialog.h"
#include "export/ui/export_runner.h"
#include "storage/file_lookup.h"
#include "storage/project.h"
#include "storage/ui/project_info_window.h"
#include "storage/ui/report_printing.h"
#include "storage/ui/system_info_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStandardPaths>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace lumavo {

namespace {

constexpr int kDesignWidth = kMainWindowWidth;
constexpr int kDesignHeight = kMainWindowHeight;

} // namespace

TBitMovOptMain::TBitMovOptMain(AppContext& context, QWidget* parent)
    : QMainWindow(parent), context_(context), ws_(context.workspace), settingsPath_(settingsFilePath()),
      helpSource_(QStringLiteral(":/help"))
{
    processEnd_ = [] { QCoreApplication::exit(0); };
    openUrl_ = [](const QUrl& url) { return QDesktopServices::openUrl(url); };

    setObjectName(QStringLiteral("BitMovOptMain"));
    setWindowTitle(kMainCaption);
    setWindowIcon(programIcon());
    QFont windowFont(QStringLiteral("MS Sans Serif"));
    windowFont.setPixelSize(11);
    setFont(windowFont);

    buildToolBar();
    buildMenus();
    auto* surface = new QWidget(this);
    surface->setObjectName(QStringLiteral("Surface"));
    setCentralWidget(surface);
    buildTitleLines(surface);
    buildDelayControls(surface);
    buildPopupMenu();
    buildDirectionToolbar();
    buildStatusBar();
    resize(kDesignWidth, kDesignHeight);
    setMinimumSize(kMainWindowMinWidth, kMainWindowMinHeight);
    FormCreate();
}

TBitMovOptMain::~TBitMovOptMain()
{
    delete splash_.data();
}

// ---- building the window ------------------------------------------------------------------

void TBitMovOptMain::buildToolBar()
{
    toolBar3_ = new QToolBar(QStringLiteral("ToolBar3"), this);
    toolBar3_->setObjectName(QStringLiteral("ToolBar3"));
    toolBar3_->setMovable(false);
    toolBar3_->setFloatable(false);
    toolBar3_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolBar3_->setIconSize(QSize(18, 18));
    QFont toolFont = toolBar3_->font();
    toolFont.setPixelSize(11);
    toolBar3_->setFont(toolFont);
    toolBar3_->layout()->setSpacing(0);
    addToolBar(Qt::TopToolBarArea, toolBar3_);

    auto add = [this](const char* name, const QString& text, const QString& hint, QStyle::StandardPixmap icon,
                      void (TBitMovOptMain::*handler)()) {
        auto* button = new QToolButton(toolBar3_);
        button->setObjectName(QString::fromLatin1(name));
        button->setText(text);
        button->setToolTip(hint);
        button->setIcon(style()->standardIcon(icon));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        // Narrow buttons, so that the whole bar fits the window's design width.
        button->setFixedSize(std::max(32, QFontMetrics(toolBar3_->font()).horizontalAdvance(text) + 8), 44);
        connect(button, &QToolButton::clicked, this, handler);
        toolBar3_->addWidget(button);
        return button;
    };
    add("NewPrjToolButton", QStringLiteral("New "), QStringLiteral("Start a new project"), QStyle::SP_FileIcon,
        &TBitMovOptMain::NewPrjToolButtonClick);
    add("OpenPrjToolButton", QStringLiteral("Open"), QStringLiteral("Open a project"), QStyle::SP_DialogOpenButton,
        &TBitMovOptMain::OpenPrjToolButtonClick);
    add("SavePrjToolButton", QStringLiteral("Save"), QStringLiteral("Save current project"),
        QStyle::SP_DialogSaveButton, &TBitMovOptMain::SavePrjToolButtonClick);
    toolBar3_->addSeparator();
    QToolButton* playPage = add("PlayPgToolButton", QStringLiteral("Play"), QStringLiteral("Play current page"), QStyle::SP_MediaPlay,
        &TBitMovOptMain::PlayPgToolButtonClick);
    QToolButton* playAll = add("PlayAllToolButton", QStringLiteral("P All"), QStringLiteral("Play all pages"), QStyle::SP_MediaSeekForward,
        &TBitMovOptMain::PlayAllToolButtonClick);
    toolBar3_->addSeparator();
    add("PrevPage", QStringLiteral("Prev Pg"), {}, QStyle::SP_ArrowLeft, &TBitMovOptMain::PrevPageClick);
    add("NextPage", QStringLiteral("Next Pg"), {}, QStyle::SP_ArrowRight, &TBitMovOptMain::NextPageClick);
    toolBar3_->addSeparator();
    curPgNumber_ = new QLabel(QStringLiteral("000"), toolBar3_);
    curPgNumber_->setObjectName(QStringLiteral("CurPgNumber"));
    curPgNumber_->setFont(arialBold(24));
    curPgNumber_->setContentsMargins(6, 0, 6, 0);
    toolBar3_->addWidget(curPgNumber_);
    newPageButton_ = add("NewPageButton", QStringLiteral("NPg"), QStringLiteral("Add new blank page"),
                         QStyle::SP_FileDialogNewFolder, &TBitMovOptMain::NewPageButtonClick);
    copyPageButton_ = add("CopyPageButton", QStringLiteral("C Pg"), QStringLiteral("Copy to new page"),
                          QStyle::SP_FileDialogDetailedView, &TBitMovOptMain::CopyPageButtonClick);
    QToolButton* savePage = add("SavePgToolButton", QStringLiteral("S Pg"), QStringLiteral("Save current page"), QStyle::SP_DriveFDIcon,
        &TBitMovOptMain::SavePgToolButtonClick);
    toolBar3_->addSeparator();
    QToolButton* deletePage = add("DeletePgToolButton", QStringLiteral("D Pg"), QStringLiteral("Delete current page"), QStyle::SP_TrashIcon,
        &TBitMovOptMain::DeletePgToolButtonClick);
    QToolButton* align = add("AlignToolButton", QStringLiteral("Align"), QStringLiteral("Go to the Align screen"),
        QStyle::SP_TitleBarNormalButton, &TBitMovOptMain::AlignToolButtonClick);
    toolBar3_->addSeparator();
    colorBarToolButton_ = add("ColorBarToolButton", QStringLiteral("C Bar"), QStringLiteral("Start with color bars"),
                              QStyle::SP_DesktopIcon, &TBitMovOptMain::ColorBarToolButtonClick);
    colorBarToolButton_->setCheckable(true);
    countDownToolButton_ = add("CountDownToolButton", QStringLiteral("C Dn"), QStringLiteral("Start with Count Down"),
                               QStyle::SP_BrowserReload, &TBitMovOptMain::CountDownToolButtonClick);
    countDownToolButton_->setCheckable(true);
    projectTools_ = {newPageButton_, copyPageButton_, savePage, deletePage, align, playPage, playAll};
}

QAction* TBitMovOptMain::addMenuItem(QMenu* menu, const char* name, const QString& text,
                                     void (TBitMovOptMain::*handler)())
{
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    if (handler != nullptr)
        connect(action, &QAction::triggered, this, handler);
    return action;
}

void TBitMovOptMain::buildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File1"));
    addMenuItem(file, "NewProj1", QStringLiteral("&New Project"), &TBitMovOptMain::NewProj1Click);
    addMenuItem(file, "OpenProjectClick", QStringLiteral("&Open Project..."), &TBitMovOptMain::OpenPrjToolButtonClick);
    addMenuItem(file, "Saveproject", QStringLiteral("&Save Project"), &TBitMovOptMain::SaveprojectClick1);
    file->addSeparator();
    // "New Page" runs the new-page command, as the "NPg" tool button does.
    addMenuItem(file, "NewPage1", QStringLiteral("New &Page"), &TBitMovOptMain::NewPageButtonClick);
    addMenuItem(file, "SaveAs1", QStringLiteral("Save P&age..."), &TBitMovOptMain::SaveAs1Click);
    addMenuItem(file, "BDeletepage", QStringLiteral("&Delete Current Page"), &TBitMovOptMain::DeletePgToolButtonClick);
    file->addSeparator();
    addMenuItem(file, "ExportVideo1", QStringLiteral("&Export Video..."), &TBitMovOptMain::ExportVideo1Click);
    addMenuItem(file, "PrintFileButton1", QStringLiteral("&Print..."), &TBitMovOptMain::PrintFileButton1Click1);
    addMenuItem(file, "PrintSetup1", QStringLiteral("P&rint Setup..."), &TBitMovOptMain::PrintSetup1Click);
    file->addSeparator();
    addMenuItem(file, "Exit1", QStringLiteral("E&xit"), &TBitMovOptMain::Exit1Click);

    QMenu* page = menuBar()->addMenu(QStringLiteral("&Page"));
    page->setObjectName(QStringLiteral("Page1"));
    addMenuItem(page, "Align2", QStringLiteral("Align"), &TBitMovOptMain::AlignToolButtonClick)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    addMenuItem(page, "PlayPage2", QStringLiteral("Play Page"), &TBitMovOptMain::PlayPgToolButtonClick)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    addMenuItem(page, "PlayAllPages2", QStringLiteral("Play All Pages"), &TBitMovOptMain::PlayAllToolButtonClick);
    easySlowdown1_ = addMenuItem(page, "EasySlowdown1", QStringLiteral("Easy Slow down"), &TBitMovOptMain::EasySlowdown1Click);
    easySlowdown1_->setCheckable(true);

    QMenu* config = menuBar()->addMenu(QStringLiteral("&Configuration"));
    config->setObjectName(QStringLiteral("Configuration1"));
    addMenuItem(config, "SetColorBarTime1", QStringLiteral("Set Color Bar Time"), &TBitMovOptMain::SetColorBarTime1Click);
    useColorBars1_ = addMenuItem(config, "UseColorBars1", QStringLiteral("Use Color Bars"), &TBitMovOptMain::UseColorBars2Click);
    useColorBars1_->setCheckable(true);
    useCountDown1_ = addMenuItem(config, "UseCountDown1", QStringLiteral("Use Count Down"), &TBitMovOptMain::UseCountDown2Click);
    useCountDown1_->setCheckable(true);
    repeaTLoop1_ = addMenuItem(config, "RepeaTLoop1", QStringLiteral("RepeaT - Loop"), &TBitMovOptMain::RepeaTLoop1Click);
    repeaTLoop1_->setCheckable(true);
    QFont defaultItem = repeaTLoop1_->font();
    defaultItem.setBold(true);   // the menu's default item
    repeaTLoop1_->setFont(defaultItem);

    QMenu* window = menuBar()->addMenu(QStringLiteral("&Window"));
    window->setObjectName(QStringLiteral("Window1"));
    addMenuItem(window, "ProjectInformation1", QStringLiteral("Project Information"),
         &TBitMovOptMain::ProjectInformation1Click);
    addMenuItem(window, "UnderYourHood1", QStringLiteral("Under Your Hood"), &TBitMovOptMain::UnderYourHood1Click);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    addMenuItem(help, "About1", QStringLiteral("About"), &TBitMovOptMain::About1Click);
    addMenuItem(help, "Contents1", QStringLiteral("Contents"), &TBitMovOptMain::Contents1Click);

    QAction* exit2 = menuBar()->addAction(QStringLiteral("E&xit"));
    exit2->setObjectName(QStringLiteral("Exit2"));
    connect(exit2, &QAction::triggered, this, &TBitMovOptMain::Exit2Click);
}

void TBitMovOptMain::buildTitleLines(QWidget* surface)
{
    titleLines_ = new TitleLines(context_, surface);
    connect(titleLines_, &TitleLines::directionRequested, this, &TBitMovOptMain::openDirectionToolbar);
    connect(titleLines_, &TitleLines::textChanged, this, &TBitMovOptMain::editChange);
    connect(titleLines_, &TitleLines::menuRequested, this, [this](int line, const QPoint& at) {
        PopupMenu1Popup(line);
        lineMenu_->exec(at);
    });
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
    directionToolbar_->move(layout.directionToolbarLeft, directionToolbar_->y());
    // The delay box stands along the bottom, above the status bar.
    const int panelTop = TitleLines::kHeight;
    delayControls_->setGeometry(8, panelTop, width() - 16, std::max(100, centralWidget()->height() - panelTop - 6));
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
    const CloseVerdict verdict = closeQuery(ws_, context_.prompter, ProjectSaveInfo{SysInfo(0), SysInfo(3), {}});
    refreshStatusBar();
    if (verdict == CloseVerdict::StayOpen || !shutdown()) {
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
    if (!writeSettings())
        return false;
    glyphScratch_ = QPixmap();
    processEnd_();
    return true;
}

void TBitMovOptMain::Exit1Click()
{
    if (writeSettings())
        close();
}

void TBitMovOptMain::Exit2Click()
{
    close();
}

std::int32_t TBitMovOptMain::SysInfo(int which) const
{
    const QScreen* shown = screen();
    const int depth = shown != nullptr ? shown->depth() : 32;
    return displayCapability(which, displayCapsForDepth(depth));
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
    for (int k = 1; k <= kLineCount; ++k) {
        const int code = ws_.page.line(k).inDir;
        if (code >= 1 && code <= 13)
            setdirectionButton(PathSide::In, k, code, code - 1);
    }
    for (int k = 1; k <= kLineCount; ++k) {
        const int code = ws_.page.line(k).outDir;
        if (code >= 1 && code <= 13)
            setdirectionButton(PathSide::Out, k, code, code - 1);
    }
    delayControls_->showPage();
    for (int k = 1; k <= kLineCount; ++k)
        applyEditFont(k);
    settleTitleValidity(ws_.page);
    loadprevus();
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
    if (recordDirection(ws_.page, side, line, code))
        titleLines_->showDirection(side, line, QIcon(glyphScratch_), code);
    directionToolbar_->hide();
}

void TBitMovOptMain::settoolbarbuttons(int line)
{
    if (line >= 1 && line <= kLineCount)
        directionToolbar_->showToggles(ws_.page.line(line));
}

std::uint8_t TBitMovOptMain::getmpause() const { return ws_.page.mpause ? 1 : 0; }
void TBitMovOptMain::setmpause(std::uint8_t flag) { ws_.page.mpause = flag != 0; }
std::uint8_t TBitMovOptMain::getTITLENUM() const { return ws_.editor.titleNum; }
void TBitMovOptMain::setTITLENUM(std::uint8_t line) { ws_.editor.titleNum = line; }
std::int32_t TBitMovOptMain::getfadedelay() const { return ws_.page.fadeDelay; }
void TBitMovOptMain::setfadedelay(std::int32_t delay) { ws_.page.fadeDelay = delay; }
QString TBitMovOptMain::getpagenow() const { return ws_.project.pageNow; }
void TBitMovOptMain::setpagenow(const QString& page) { ws_.project.pageNow = page.left(255); }
void TBitMovOptMain::setsav(int flag) { lumavo::setsav(ws_, flag); }

void TBitMovOptMain::openDirectionToolbar(int line, PathSide side)
{
    const bool inDirection = side == PathSide::In;
    if (!mayErasePath(ws_, context_.prompter, line, side))
        return;
    setsav(1);
    setDirectionTarget(ws_.editor, side);
    ws_.editor.titleNum = static_cast<std::uint8_t>(line);
    settoolbarbuttons(line);
    const QRect editBox = editRectInWindow(line);
    const int top = std::max(0, editBox.top() - 28);
    const QRect firstIn(inButton(1)->mapTo(this, QPoint(0, 0)), inButton(1)->size());
    const QRect firstOut(outButton(1)->mapTo(this, QPoint(0, 0)), outButton(1)->size());
    const int left = inDirection ? firstIn.left() : firstOut.left() + firstOut.width() - directionToolbar_->width();
    directionToolbar_->move(left, top);
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
}

void TBitMovOptMain::lineToggleClick(int number)
{
    const RecordBytes before = pageSnapshot(ws_);
    static const std::array<LineToggle, 3> kToggles{LineToggle::Arch, LineToggle::Gradient, LineToggle::Shadow};
    const bool down = toggleButton(number)->isChecked();
    setLineToggle(ws_.page, ws_.editor.titleNum, kToggles[static_cast<std::size_t>(number - 1)], down);
    if (number == 2 && down && windows_.effectsWindow != nullptr)
        context_.prompter.execModal(*windows_.effectsWindow);
    noteEdit(ws_, before);
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

// ---- timing ---------------------------------------------------------------------------------

void TBitMovOptMain::ColorBarToolButtonClick()
{
    const bool down = colorBarToolButton_->isChecked();
    useColorBars1_->setChecked(down);
    setColorBars(ws_, down);
    refreshStatusBar();
}

void TBitMovOptMain::CountDownToolButtonClick()
{
    const bool down = countDownToolButton_->isChecked();
    useCountDown1_->setChecked(down);
    setCountDown(ws_, down);
    refreshStatusBar();
}

void TBitMovOptMain::UseColorBars2Click() { ColorBarToolButtonClick(); }
void TBitMovOptMain::UseCountDown2Click() { CountDownToolButtonClick(); }
void TBitMovOptMain::EasySlowdown1Click() { ws_.editor.easySlowdown = easySlowdown1_->isChecked(); }
void TBitMovOptMain::RepeaTLoop1Click() { ws_.editor.repeatLoop = repeaTLoop1_->isChecked(); }

void TBitMovOptMain::SetColorBarTime1Click()
{
    if (windows_.timeOptions != nullptr)
        context_.prompter.execModal(*windows_.timeOptions);
}

// ---- page and project commands --------------------------------------------------------------

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
    if (actions.enableNewAndCopy) {
        newPageButton_->setEnabled(*actions.enableNewAndCopy);
        copyPageButton_->setEnabled(*actions.enableNewAndCopy);
    }
    if (actions.enableProjectTools) {
        for (QToolButton* button : projectTools_)
            button->setEnabled(true);
        colorBarToolButton_->setChecked(ws_.project.useColorBars);
        countDownToolButton_->setChecked(ws_.project.useCountDown);
    }
    refreshStatusBar();
}

void TBitMovOptMain::refreshStatusBar()
{
    statusBar_->showPanels(ws_.status);
}

void TBitMovOptMain::showPageNumber()
{
    curPgNumber_->setText(ws_.project.pageNow);
}

void TBitMovOptMain::NewProj1Click()
{
    applyActions(newProjectFromMenu(ws_, context_.prompter));
}

void TBitMovOptMain::NewPrjToolButtonClick()
{
    applyActions(newProjectFromTool(ws_, context_.prompter));
}

void TBitMovOptMain::OpenPrjToolButtonClick()
{
    applyActions(openProjectCommand(ws_, context_.prompter));
}

void TBitMovOptMain::SavePrjToolButtonClick()
{
    const ProjectSaveInfo info{SysInfo(0), SysInfo(3), {}};
    applyActions(saveProjectCommand(ws_, context_.prompter, info, true));
}

void TBitMovOptMain::SaveprojectClick1()
{
    const ProjectSaveInfo info{SysInfo(0), SysInfo(3), {}};
    applyActions(saveProjectCommand(ws_, context_.prompter, info, false));
}

void TBitMovOptMain::NewPageButtonClick() { applyActions(newPage(ws_, context_.prompter)); }
void TBitMovOptMain::CopyPageButtonClick() { applyActions(copyPage(ws_, context_.prompter)); }
void TBitMovOptMain::SavePgToolButtonClick() { applyActions(savePageCommand(ws_, context_.prompter, true)); }
void TBitMovOptMain::SaveAs1Click() { applyActions(savePageCommand(ws_, context_.prompter, false)); }

void TBitMovOptMain::DeletePgToolButtonClick()
{
    applyActions(deletePageCommand(ws_, context_.prompter));
    refreshStatusBar();
}

void TBitMovOptMain::NextPageClick() { pagePointer(PageStep::Next); }
void TBitMovOptMain::PrevPageClick() { pagePointer(PageStep::Previous); }

void TBitMovOptMain::pagePointer(PageStep step)
{
    applyActions(PagePointerClick(ws_, context_.prompter, step));
}

void TBitMovOptMain::PlayPgToolButtonClick()
{
    if (windows_.stage == nullptr)
        return;
    emit playbackStarting();
    windows_.stage->playCurrentPage();
    emit playbackEnded();
    afterPlayback();
}

void TBitMovOptMain::PlayAllToolButtonClick()
{
    if (windows_.stage == nullptr)
        return;
    emit playbackStarting();
    windows_.stage->playAllPages();
    emit playbackEnded();
    afterPlayback();
}

void TBitMovOptMain::afterPlayback()
{
    EditorActions actions;
    actions.showPage = true;
    actions.showPageNumber = !ws_.project.pageNow.isEmpty();
    applyActions(actions);
}

void TBitMovOptMain::AlignToolButtonClick()
{
    if (windows_.stage == nullptr)
        return;
    beforeAlignment_ = pageSnapshot(ws_);
    windows_.stage->enterAlignment();
}

void TBitMovOptMain::alignmentClosed() { noteEdit(ws_, beforeAlignment_); }

void TBitMovOptMain::PrintFileButton1Click1()
{
    applyActions(printProjectReport(context_));
}

void TBitMovOptMain::ExportVideo1Click()
{
    ExportDialog dialog(exportChoices_, this);
    if (context_.prompter.execModal(dialog) != QDialog::Accepted)
        return;
    exportChoices_ = dialog.settings();
    const ExportResult result = runExportWithProgress(this, ws_, exportChoices_, &composeTitle);
    for (const QString& message : result.pageMessages)
        context_.prompter.message(message, MessageIcon::Error);
    if (!result.ok && !result.cancelled)
        context_.prompter.message(result.message, MessageIcon::Error);
}

void TBitMovOptMain::PrintSetup1Click()
{
    runPrintSetup(context_);
}

void TBitMovOptMain::ProjectInformation1Click()
{
    if (windows_.projectInfo == nullptr)
        return;
    windows_.projectInfo->show();
    windows_.projectInfo->raise();
}

void TBitMovOptMain::UnderYourHood1Click()
{
    if (windows_.systemInfo != nullptr)
        context_.prompter.execModal(*windows_.systemInfo);
}

void TBitMovOptMain::About1Click()
{
    TAnimateXAbout about(ws_.versionText, this);
    context_.prompter.execModal(about);
}

void TBitMovOptMain::Contents1Click()
{
    const QString target = QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/help");
    const bool copied = copyHelpPages(helpSource_, target);
    const QString index = target + QStringLiteral("/index.html");
    if (!copied || !openUrl_(QUrl::fromLocalFile(index)))
        context_.prompter.message(QStringLiteral("The user manual could not be opened: ") + index, MessageIcon::Error);
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
