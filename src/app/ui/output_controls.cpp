#include "app/ui/output_controls.h"

#include "app/app_shell.h"
#include "app/ui/on_air_console.h"
#include "app/ui/preview_panel.h"
#include "playback/ui/output_screens.h"
#include "playback/ui/stage.h"
#include "storage/settings_file.h"
#include "storage/ui/app_context.h"

#include <QActionGroup>
#include <QDockWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

namespace lumavo {

namespace {

constexpr int kNoticeMs = 8000;
constexpr QSize kPreviewWindowSize(480, 310);

QDockWidget* dockFor(QMainWindow& main, QWidget* content, const QString& name)
{
    auto* dock = new QDockWidget(&main);
    dock->setObjectName(name);
    dock->setTitleBarWidget(new QWidget(dock));   // no title bar, no floating, no closing
    dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    dock->setWidget(content);
    main.addDockWidget(Qt::TopDockWidgetArea, dock);
    dock->hide();
    return dock;
}

} // namespace

QMenu* menuTitled(QMainWindow& main, const QString& title)
{
    for (QAction* action : main.menuBar()->actions())
        if (action->menu() != nullptr && action->text() == title)
            return action->menu();
    return nullptr;
}

OutputControls::OutputControls(QMainWindow& main, TCan& stage, AppContext& context, QString settingsPath)
    : main_(main), stage_(stage), context_(context), settingsPath_(std::move(settingsPath)),
      outputs_(std::make_unique<OutputScreens>(stage, context.workspace))
{
    const OutputSettings stored = readOutputSettings(settingsPath_);
    outputs_->setStageScreenKey(stored.outputScreen);
    outputs_->setKeyScreenKey(stored.keyOutputScreen);
    outputs_->setWindowCanvas(parseWindowCanvas(stored.outputWindow));
    stage_.setPlacement(outputs_.get());
    const auto showNotice = [this](const QString& text) { main_.statusBar()->showMessage(text, kNoticeMs); };
    connect(outputs_.get(), &OutputScreens::notice, &main_, showNotice);
    connect(&stage_, &TCan::notice, &main_, showNotice);

    console_ = new OnAirConsole(stage_, context_.workspace);
    consoleDock_ = dockFor(main_, console_, QStringLiteral("OnAirDock"));
    // The preview is a small window of its own beside the editor, so the title lines and the
    // Delay Controls keep their room.
    preview_ = new PreviewPanel(context_, &main_);
    preview_->setWindowFlag(Qt::Tool);
    preview_->setWindowTitle(QStringLiteral("Lumavo Preview"));
    preview_->resize(kPreviewWindowSize);
    addMenus();
}

OutputControls::~OutputControls()
{
    stage_.setPlacement(nullptr);
    // The console and the preview refer to the stage and the workspace; they go with this object.
    delete consoleDock_;
    delete preview_;
}

void OutputControls::addMenus()
{
    if (QMenu* page = menuTitled(main_, QStringLiteral("&Page"))) {
        QAction* preview = page->addAction(QStringLiteral("Preview"));
        preview->setObjectName(QStringLiteral("Preview1"));
        preview->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
        connect(preview, &QAction::triggered, this, &OutputControls::previewCurrentPage);
    }
    QMenu* config = menuTitled(main_, QStringLiteral("&Configuration"));
    if (config == nullptr)
        return;
    config->addSeparator();
    QMenu* screen = config->addMenu(QStringLiteral("Output Screen"));
    screen->setObjectName(QStringLiteral("OutputScreen1"));
    QMenu* key = config->addMenu(QStringLiteral("Key Output Screen"));
    key->setObjectName(QStringLiteral("KeyOutputScreen1"));
    QMenu* window = config->addMenu(QStringLiteral("Output in a Window"));
    window->setObjectName(QStringLiteral("OutputWindow1"));
    // Filled each time they open, so screens plugged in or out since show up as they are.
    connect(screen, &QMenu::aboutToShow, this, [this, screen] { fillScreenMenu(screen, false); });
    connect(key, &QMenu::aboutToShow, this, [this, key] { fillScreenMenu(key, true); });
    connect(window, &QMenu::aboutToShow, this, [this, window] { fillWindowMenu(window); });
    fillScreenMenu(screen, false);
    fillScreenMenu(key, true);
    fillWindowMenu(window);
}

void OutputControls::fillScreenMenu(QMenu* menu, bool keyOutput)
{
    menu->clear();
    auto* group = new QActionGroup(menu);
    // A stored key screen that is not offered now (the editor's or the output's) reads as None.
    const QString current = keyOutput ? (outputs_->keyOutput() != nullptr ? outputs_->keyScreenKey() : QString())
                                      : outputs_->stageScreenKey();
    const auto add = [&](const QString& text, const QString& name) {
        QAction* action = menu->addAction(text);
        action->setCheckable(true);
        action->setChecked(name == current);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, keyOutput, name] {
            if (keyOutput)
                outputs_->setKeyScreenKey(name);
            else
                outputs_->setStageScreenKey(name);
            saveChoice();
        });
    };
    add(keyOutput ? QStringLiteral("None") : QStringLiteral("Same as editor"), QString());
    for (const ScreenEntry& entry : keyOutput ? outputs_->keyScreenChoices() : OutputScreens::screenEntries())
        add(screenLabel(entry), entry.name);
}

void OutputControls::fillWindowMenu(QMenu* menu)
{
    menu->clear();
    auto* group = new QActionGroup(menu);
    const std::pair<WindowCanvas, QString> choices[] = {{WindowCanvas::Off, QStringLiteral("Off")},
                                                        {WindowCanvas::Hd720, QStringLiteral("1280 x 720")},
                                                        {WindowCanvas::Hd1080, QStringLiteral("1920 x 1080")},
                                                        {WindowCanvas::ScreenSize, QStringLiteral("Screen size")}};
    for (const auto& [canvas, text] : choices) {
        QAction* action = menu->addAction(text);
        action->setCheckable(true);
        action->setChecked(canvas == outputs_->windowCanvas());
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, canvas = canvas] {
            outputs_->setWindowCanvas(canvas);
            saveChoice();
        });
    }
}

void OutputControls::saveChoice()
{
    const IoResult saved = writeOutputSettings(
        {outputs_->stageScreenKey(), outputs_->keyScreenKey(), windowCanvasText(outputs_->windowCanvas())},
        settingsPath_);
    if (!saved.ok)
        context_.prompter.message(saved.error, MessageIcon::Error);
}

void OutputControls::setEditing(bool on)
{
    if (QWidget* central = main_.centralWidget())
        central->setEnabled(on);
    main_.menuBar()->setEnabled(on);
    for (QToolBar* bar : main_.findChildren<QToolBar*>())
        bar->setEnabled(on);
}

void OutputControls::playbackStarting()
{
    if (!outputs_->stageLeavesEditorFree(main_.screen()))
        return;
    setEditing(false);
    console_->refresh();
    consoleDock_->show();
}

void OutputControls::playbackEnded()
{
    if (consoleDock_->isHidden())
        return;
    consoleDock_->hide();
    setEditing(true);
}

void OutputControls::previewCurrentPage()
{
    if (preview_->isPreviewing() || stage_.player().isPlaying())
        return;
    setEditing(false);
    const QScreen* shown = main_.screen();
    const QRect area = shown != nullptr ? shown->availableGeometry() : QRect();
    preview_->move(placeBeside(main_.frameGeometry(), preview_->frameGeometry().size(), area));
    // The preview composes on the canvas the output would use, so the layout matches.
    QScreen* screen = outputs_->stageScreen(main_.screen());
    const QSize size = screen != nullptr ? screen->size() : QSize(1024, 768);
    const Point screenSize{size.width(), size.height()};
    const Point canvas = outputs_->windowCanvas() != WindowCanvas::Off
                             ? windowCanvasSize(outputs_->windowCanvas(), screenSize)
                             : screenSize;
    preview_->preview(canvas);
    setEditing(true);
    main_.activateWindow();
}

} // namespace lumavo
