#include "app/ui/editor_commands.h"

#include "app/app_shell.h"
#include "app/editor_model.h"
#include "app/ui/about_window.h"
#include "app/ui/pictures.h"
#include "app/ui/time_options.h"
#include "compose/ui/effects_window.h"
#include "playback/ui/stage.h"
#include "storage/page_edits.h"
#include "storage/project.h"
#include "storage/settings_file.h"
#include "storage/recent_projects.h"
#include "storage/ui/project_info_window.h"
#include "storage/ui/report_printing.h"
#include "storage/ui/system_info_window.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QDesktopServices>
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStandardPaths>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace lumavo {

std::int32_t screenCapability(const QWidget& window, int which)
{
    const QScreen* shown = window.screen();
    const int depth = shown != nullptr ? shown->depth() : 32;
    return displayCapability(which, displayCapsForDepth(depth));
}

EditorCommands::EditorCommands(QMainWindow& frame, EditorHost& host, AppContext& context)
    : QObject(&frame), frame_(frame), host_(host), context_(context), ws_(context.workspace),
      exporter_(new ExportController(&frame, context.prompter, settingsFilePath())),
      openUrl_([](const QUrl& url) { return QDesktopServices::openUrl(url); }), helpSource_(QStringLiteral(":/help"))
{
    setObjectName(QStringLiteral("EditorCommands"));
    createActions();
    buildToolBar();
    buildMenus();
}

// ---- actions, tool bar, menus ---------------------------------------------------------------

template <typename Handler>
QAction* EditorCommands::command(const char* name, const QString& text, Handler handler)
{
    auto* action = new QAction(text, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setIconVisibleInMenu(false);
    connect(action, &QAction::triggered, this, handler);
    return action;
}

void EditorCommands::createActions()
{
    using C = EditorCommands;
    newProjectMenu_ = command("NewProj1", QStringLiteral("&New Project"), &C::NewProj1Click);
    newProjectTool_ = command("NewPrjToolAction", QStringLiteral("New Project"), &C::NewPrjToolButtonClick);
    openProject_ = command("OpenProjectClick", QStringLiteral("&Open Project..."), &C::OpenPrjToolButtonClick);
    saveProjectMenu_ = command("Saveproject", QStringLiteral("&Save Project"), &C::SaveprojectClick1);
    saveProjectTool_ = command("SavePrjToolAction", QStringLiteral("Save Project"), &C::SavePrjToolButtonClick);
    // "New Page" runs the new-page command, as the "NPg" tool button does.
    newPage_ = command("NewPage1", QStringLiteral("New &Page"), &C::NewPageButtonClick);
    copyPage_ = command("CopyPageAction", QStringLiteral("Copy Page"), &C::CopyPageButtonClick);
    savePageMenu_ = command("SaveAs1", QStringLiteral("Save P&age..."), &C::SaveAs1Click);
    savePageTool_ = command("SavePgToolAction", QStringLiteral("Save Page"), &C::SavePgToolButtonClick);
    deletePage_ = command("BDeletepage", QStringLiteral("&Delete Current Page"), &C::DeletePgToolButtonClick);
    prevPage_ = command("PrevPageAction", QStringLiteral("Prev Pg"), &C::PrevPageClick);
    nextPage_ = command("NextPageAction", QStringLiteral("Next Pg"), &C::NextPageClick);
    exportVideo_ = command("ExportVideo1", QStringLiteral("&Export Video..."), &C::ExportVideo1Click);
    print_ = command("PrintFileButton1", QStringLiteral("&Print..."), &C::PrintFileButton1Click1);
    printSetup_ = command("PrintSetup1", QStringLiteral("P&rint Setup..."), &C::PrintSetup1Click);
    exit1_ = command("Exit1", QStringLiteral("E&xit"), &C::Exit1Click);
    // A title box with the focus takes these keys for its own text undo first.
    undo_ = command("Undo1", QStringLiteral("&Undo"), &C::Undo1Click);
    undo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redo_ = command("Redo1", QStringLiteral("&Redo"), &C::Redo1Click);
    redo_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));

    align_ = command("Align2", QStringLiteral("Align"), &C::AlignToolButtonClick);
    align_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    playPage_ = command("PlayPage2", QStringLiteral("Play Page"), &C::PlayPgToolButtonClick);
    playPage_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    playAll_ = command("PlayAllPages2", QStringLiteral("Play All Pages"), &C::PlayAllToolButtonClick);
    easySlowdown_ = command("EasySlowdown1", QStringLiteral("Easy Slow down"), &C::EasySlowdown1Click);
    easySlowdown_->setCheckable(true);

    colorBarTime_ = command("SetColorBarTime1", QStringLiteral("Set Color Bar Time"), &C::SetColorBarTime1Click);
    colorBars_ = command("UseColorBars1", QStringLiteral("Use Color Bars"), &C::ColorBarToolButtonClick);
    colorBars_->setCheckable(true);
    countDown_ = command("UseCountDown1", QStringLiteral("Use Count Down"), &C::CountDownToolButtonClick);
    countDown_->setCheckable(true);
    smoothEdges_ = command("SmoothEdges1", QStringLiteral("Smooth edges"), &C::SmoothEdges1Click);
    smoothEdges_->setCheckable(true);
    repeatLoop_ = command("RepeaTLoop1", QStringLiteral("RepeaT - Loop"), &C::RepeaTLoop1Click);
    repeatLoop_->setCheckable(true);
    QFont defaultItem = repeatLoop_->font();
    defaultItem.setBold(true);   // the menu's default item
    repeatLoop_->setFont(defaultItem);

    projectInfo_ = command("ProjectInformation1", QStringLiteral("Project Information"), &C::ProjectInformation1Click);
    underYourHood_ = command("UnderYourHood1", QStringLiteral("Under Your Hood"), &C::UnderYourHood1Click);
    about_ = command("About1", QStringLiteral("About"), &C::About1Click);
    contents_ = command("Contents1", QStringLiteral("Contents"), &C::Contents1Click);
    exit2_ = command("Exit2", QStringLiteral("E&xit"), &C::Exit2Click);

    pageUpKey_ = command("PageUpKey", QStringLiteral("Prev Pg"), [this] { pageKey(PageStep::Previous); });
    pageUpKey_->setShortcut(QKeySequence(Qt::Key_PageUp));
    pageDownKey_ = command("PageDownKey", QStringLiteral("Next Pg"), [this] { pageKey(PageStep::Next); });
    pageDownKey_->setShortcut(QKeySequence(Qt::Key_PageDown));
}

QToolButton* EditorCommands::addToolButton(QAction* action, const char* name, const QString& caption,
                                           const QString& hint, int icon)
{
    action->setIconText(caption);
    action->setToolTip(hint);
    action->setIcon(frame_.style()->standardIcon(static_cast<QStyle::StandardPixmap>(icon)));
    auto* button = new QToolButton(toolBar_);
    button->setObjectName(QString::fromLatin1(name));
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    if (hint.isEmpty())
        button->setToolTip({});   // no hint rather than the caption again
    // Narrow buttons, so that the whole bar fits the window's design width.
    button->setFixedSize(std::max(32, QFontMetrics(toolBar_->font()).horizontalAdvance(caption) + 8), 44);
    toolBar_->addWidget(button);
    return button;
}

void EditorCommands::buildToolBar()
{
    toolBar_ = new QToolBar(QStringLiteral("ToolBar3"), &frame_);
    toolBar_->setObjectName(QStringLiteral("ToolBar3"));
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolBar_->setIconSize(QSize(18, 18));
    QFont toolFont = toolBar_->font();
    toolFont.setPixelSize(11);
    toolBar_->setFont(toolFont);
    toolBar_->layout()->setSpacing(0);
    frame_.addToolBar(Qt::TopToolBarArea, toolBar_);

    addToolButton(newProjectTool_, "NewPrjToolButton", QStringLiteral("New "), QStringLiteral("Start a new project"),
                  QStyle::SP_FileIcon);
    addToolButton(openProject_, "OpenPrjToolButton", QStringLiteral("Open"), QStringLiteral("Open a project"),
                  QStyle::SP_DialogOpenButton);
    addToolButton(saveProjectTool_, "SavePrjToolButton", QStringLiteral("Save"), QStringLiteral("Save current project"),
                  QStyle::SP_DialogSaveButton);
    toolBar_->addSeparator();
    addToolButton(playPage_, "PlayPgToolButton", QStringLiteral("Play"), QStringLiteral("Play current page"),
                  QStyle::SP_MediaPlay);
    addToolButton(playAll_, "PlayAllToolButton", QStringLiteral("P All"), QStringLiteral("Play all pages"),
                  QStyle::SP_MediaSeekForward);
    toolBar_->addSeparator();
    addToolButton(prevPage_, "PrevPage", QStringLiteral("Prev Pg"), {}, QStyle::SP_ArrowLeft);
    addToolButton(nextPage_, "NextPage", QStringLiteral("Next Pg"), {}, QStyle::SP_ArrowRight);
    toolBar_->addSeparator();
    pageNumber_ = new QLabel(QStringLiteral("000"), toolBar_);
    pageNumber_->setObjectName(QStringLiteral("CurPgNumber"));
    pageNumber_->setFont(arialBold(24));
    pageNumber_->setContentsMargins(6, 0, 6, 0);
    toolBar_->addWidget(pageNumber_);
    addToolButton(newPage_, "NewPageButton", QStringLiteral("NPg"), QStringLiteral("Add new blank page"),
                  QStyle::SP_FileDialogNewFolder);
    addToolButton(copyPage_, "CopyPageButton", QStringLiteral("C Pg"), QStringLiteral("Copy to new page"),
                  QStyle::SP_FileDialogDetailedView);
    addToolButton(savePageTool_, "SavePgToolButton", QStringLiteral("S Pg"), QStringLiteral("Save current page"),
                  QStyle::SP_DriveFDIcon);
    toolBar_->addSeparator();
    addToolButton(deletePage_, "DeletePgToolButton", QStringLiteral("D Pg"), QStringLiteral("Delete current page"),
                  QStyle::SP_TrashIcon);
    addToolButton(align_, "AlignToolButton", QStringLiteral("Align"), QStringLiteral("Go to the Align screen"),
                  QStyle::SP_TitleBarNormalButton);
    toolBar_->addSeparator();
    addToolButton(colorBars_, "ColorBarToolButton", QStringLiteral("C Bar"), QStringLiteral("Start with color bars"),
                  QStyle::SP_DesktopIcon);
    addToolButton(countDown_, "CountDownToolButton", QStringLiteral("C Dn"), QStringLiteral("Start with Count Down"),
                  QStyle::SP_BrowserReload);
}

void EditorCommands::buildMenus()
{
    QMenuBar* bar = frame_.menuBar();
    auto menu = [bar](const char* name, const QString& title, std::initializer_list<QAction*> items) {
        QMenu* m = bar->addMenu(title);
        m->setObjectName(QString::fromLatin1(name));
        for (QAction* item : items) {
            if (item == nullptr)
                m->addSeparator();
            else
                m->addAction(item);
        }
        return m;
    };
    menu("File1", QStringLiteral("&File"),
         {newProjectMenu_, openProject_, saveProjectMenu_, nullptr, newPage_, savePageMenu_, deletePage_, nullptr,
          exportVideo_, print_, printSetup_, nullptr, exit1_});
    QMenu* file = bar->findChild<QMenu*>(QStringLiteral("File1"));
    recentMenu_ = new QMenu(QStringLiteral("Open &Recent"), file);
    recentMenu_->setObjectName(QStringLiteral("OpenRecent1"));
    file->insertMenu(saveProjectMenu_, recentMenu_);
    connect(recentMenu_, &QMenu::aboutToShow, this, &EditorCommands::fillRecentMenu);
    menu("Edit1", QStringLiteral("&Edit"), {undo_, redo_});
    menu("Page1", QStringLiteral("&Page"), {align_, playPage_, playAll_, easySlowdown_});
    QMenu* configuration = menu("Configuration1", QStringLiteral("&Configuration"),
                                {colorBarTime_, colorBars_, countDown_, repeatLoop_, smoothEdges_});
    // The project's setting changes with New and Open: show it as it stands.
    connect(configuration, &QMenu::aboutToShow, this, [this] { smoothEdges_->setChecked(ws_.project.smoothEdges); });
    menu("Window1", QStringLiteral("&Window"), {projectInfo_, underYourHood_});
    menu("Help1", QStringLiteral("&Help"), {about_, contents_});
    bar->addAction(exit2_);
}

// ---- what the window shows of the commands ---------------------------------------------------

void EditorCommands::showPageNumber(const QString& page)
{
    pageNumber_->setText(page);
}

void EditorCommands::enableNewAndCopy(bool on)
{
    newPage_->setEnabled(on);
    copyPage_->setEnabled(on);
}

void EditorCommands::enableProjectTools(bool useColorBars, bool useCountDown)
{
    for (QAction* action : {newPage_, copyPage_, savePageTool_, deletePage_, align_, playPage_, playAll_})
        action->setEnabled(true);
    colorBars_->setChecked(useColorBars);
    countDown_->setChecked(useCountDown);
}

// ---- project and page commands --------------------------------------------------------------

ProjectSaveInfo EditorCommands::saveInfo() const
{
    return ProjectSaveInfo{host_.SysInfo(0), host_.SysInfo(3), {}};
}

void EditorCommands::fillRecentMenu()
{
    recentMenu_->clear();
    const QStringList recent = settingsPath_.isEmpty() ? QStringList() : readRecentProjects(settingsPath_);
    const QStringList present = withoutMissingProjects(recent);
    for (qsizetype i = 0; i < recent.size(); ++i) {
        const QString& path = recent[i];
        const QFileInfo file(path);
        QAction* item = recentMenu_->addAction(
            QStringLiteral("&%1  %2   (%3)").arg(i + 1).arg(file.fileName(), QDir::toNativeSeparators(file.path())));
        item->setObjectName(QStringLiteral("RecentProject%1").arg(i + 1));
        item->setToolTip(path);
        item->setEnabled(present.contains(path));   // a project that is gone is shown greyed
        connect(item, &QAction::triggered, this, [this, path] { openProjectPath(path); });
    }
    if (recent.isEmpty())
        recentMenu_->addAction(QStringLiteral("(no recent projects)"))->setEnabled(false);
    recentMenu_->addSeparator();
    QAction* removeMissing = recentMenu_->addAction(QStringLiteral("Remove &Missing"));
    removeMissing->setObjectName(QStringLiteral("RemoveMissingProjects"));
    removeMissing->setEnabled(present.size() < recent.size());
    connect(removeMissing, &QAction::triggered, this, [this, present] { keepRecentProjects(present); });
    QAction* clear = recentMenu_->addAction(QStringLiteral("&Clear List"));
    clear->setObjectName(QStringLiteral("ClearRecentProjects"));
    clear->setEnabled(!recent.isEmpty());
    connect(clear, &QAction::triggered, this, [this] { keepRecentProjects({}); });
}

void EditorCommands::keepRecentProjects(const QStringList& recent)
{
    if (settingsPath_.isEmpty())
        return;
    const IoResult written = writeRecentProjects(recent, settingsPath_);
    if (!written.ok)
        context_.prompter.message(written.error, MessageIcon::Error);
}

void EditorCommands::noteRecentProject()
{
    const QString path = openedProjectFile(ws_.project);
    if (settingsPath_.isEmpty() || path.isEmpty() || !QFileInfo(path).isFile())
        return;
    // Kept quietly: a settings file that cannot be written is reported when the program ends.
    writeRecentProjects(withRecentProject(readRecentProjects(settingsPath_), path), settingsPath_);
}

void EditorCommands::openProjectPath(const QString& path)
{
    host_.applyActions(openProjectFile(ws_, context_.prompter, path));
    noteRecentProject();
}

void EditorCommands::pageKey(PageStep step)
{
    // In a text box the keys belong to the text.
    const QWidget* focus = QApplication::focusWidget();
    if (qobject_cast<const QLineEdit*>(focus) != nullptr || qobject_cast<const QAbstractSpinBox*>(focus) != nullptr)
        return;
    QAction* command = step == PageStep::Next ? nextPage_ : prevPage_;
    if (command->isEnabled())
        command->trigger();
}

void EditorCommands::NewProj1Click() { host_.applyActions(newProjectFromMenu(ws_, context_.prompter)); }
void EditorCommands::NewPrjToolButtonClick() { host_.applyActions(newProjectFromTool(ws_, context_.prompter)); }
void EditorCommands::OpenPrjToolButtonClick()
{
    host_.applyActions(openProjectCommand(ws_, context_.prompter));
    noteRecentProject();
}

void EditorCommands::SavePrjToolButtonClick()
{
    host_.applyActions(saveProjectCommand(ws_, context_.prompter, saveInfo(), true));
    noteRecentProject();
}

void EditorCommands::SaveprojectClick1()
{
    host_.applyActions(saveProjectCommand(ws_, context_.prompter, saveInfo(), false));
    noteRecentProject();
}

void EditorCommands::NewPageButtonClick() { host_.applyActions(newPageCommand(ws_, context_.prompter)); }
void EditorCommands::CopyPageButtonClick() { host_.applyActions(copyPageCommand(ws_)); }
void EditorCommands::SavePgToolButtonClick() { host_.applyActions(savePageCommand(ws_, context_.prompter, true)); }
void EditorCommands::SaveAs1Click() { host_.applyActions(savePageCommand(ws_, context_.prompter, false)); }
void EditorCommands::DeletePgToolButtonClick() { host_.applyActions(deletePageCommand(ws_, context_.prompter)); }
void EditorCommands::Undo1Click() { showUndoneStep(undoPageEdit(ws_)); }
void EditorCommands::Redo1Click() { showUndoneStep(redoPageEdit(ws_)); }

void EditorCommands::showUndoneStep(bool stepped)
{
    EditorActions actions;
    actions.showPage = stepped;
    host_.applyActions(actions);
}

void EditorCommands::NextPageClick() { host_.applyActions(PagePointerClick(ws_, context_.prompter, PageStep::Next)); }

void EditorCommands::PrevPageClick()
{
    host_.applyActions(PagePointerClick(ws_, context_.prompter, PageStep::Previous));
}

// ---- playing and aligning -------------------------------------------------------------------

void EditorCommands::play(void (TCan::*run)())
{
    if (windows_.stage == nullptr)
        return;
    emit playbackStarting();
    (windows_.stage->*run)();
    emit playbackEnded();
    EditorActions actions;
    actions.showPage = true;
    actions.showPageNumber = !ws_.project.pageNow.isEmpty();
    host_.applyActions(actions);
}

void EditorCommands::PlayPgToolButtonClick() { play(&TCan::playCurrentPage); }
void EditorCommands::PlayAllToolButtonClick()
{
    // Every page is played from its file: an unsaved edit is offered for saving first.
    SaveOffer offer = offerToSaveCurrentPage(ws_, context_.prompter);
    if (offer.goOn) {
        showNotices(context_.prompter, offer.notices);
        play(&TCan::playAllPages);
        return;
    }
    EditorActions stopped;
    stopped.notices = std::move(offer.notices);
    host_.applyActions(stopped);
}

void EditorCommands::AlignToolButtonClick()
{
    if (windows_.stage != nullptr)
        windows_.stage->enterAlignment();
}

void EditorCommands::alignmentClosed() { host_.applyActions({}); }

// ---- run options ----------------------------------------------------------------------------

void EditorCommands::ColorBarToolButtonClick(bool down)
{
    setColorBars(ws_, down);
    host_.applyActions({});
}

void EditorCommands::CountDownToolButtonClick(bool down)
{
    setCountDown(ws_, down);
    host_.applyActions({});
}

void EditorCommands::EasySlowdown1Click(bool on) { setEasySlowdown(ws_, on); }
void EditorCommands::RepeaTLoop1Click(bool on) { setRepeatLoop(ws_, on); }
void EditorCommands::SmoothEdges1Click(bool on) { ws_.project.smoothEdges = on; }

void EditorCommands::SetColorBarTime1Click()
{
    if (windows_.timeOptions != nullptr)
        context_.prompter.execModal(*windows_.timeOptions);
}

// ---- report, export, windows, help ----------------------------------------------------------

void EditorCommands::PrintFileButton1Click1() { host_.applyActions(printProjectReport(context_)); }
void EditorCommands::PrintSetup1Click() { runPrintSetup(context_); }

void EditorCommands::ExportVideo1Click() { exporter_->run(ws_, &composeTitle); }

void EditorCommands::Exit1Click()
{
    if (host_.writeSettings())
        frame_.close();
}

void EditorCommands::Exit2Click() { frame_.close(); }

void EditorCommands::ProjectInformation1Click()
{
    if (windows_.projectInfo == nullptr)
        return;
    windows_.projectInfo->show();
    windows_.projectInfo->raise();
}

void EditorCommands::UnderYourHood1Click()
{
    if (windows_.systemInfo != nullptr)
        context_.prompter.execModal(*windows_.systemInfo);
}

void EditorCommands::About1Click()
{
    TAnimateXAbout about(ws_.versionText, &frame_);
    context_.prompter.execModal(about);
}

void EditorCommands::Contents1Click()
{
    const QString target = QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/help");
    const bool copied = copyHelpPages(helpSource_, target);
    const QString index = target + QStringLiteral("/index.html");
    if (!copied || !openUrl_(QUrl::fromLocalFile(index)))
        context_.prompter.message(QStringLiteral("The user manual could not be opened: ") + index, MessageIcon::Error);
}

} // namespace lumavo
