#include "app/ui/remote_desk.h"

#include "app/app_shell.h"
#include "app/ui/data_box.h"
#include "app/ui/main_window.h"
#include "app/ui/output_controls.h"
#include "app/ui/preview_panel.h"
#include "compose/title_composer.h"
#include "platform/silent_prompter.h"
#include "playback/page_validity.h"
#include "playback/ui/stage.h"
#include "remote/stored_pages.h"
#include "remote/ui/remote_server.h"
#include "remote/ui/remote_window.h"
#include "storage/page_edits.h"
#include "storage/page_file.h"
#include "storage/project.h"
#include "storage/ui/app_context.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QDockWidget>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>

namespace lumavo {

namespace {

constexpr int kPollMs = 100;
constexpr int kNoticeMs = 8000;
constexpr int kThumbnailWidth = 320;

} // namespace

RemoteDesk::RemoteDesk(TBitMovOptMain& main, TCan& stage, OutputControls& outputs, AppContext& context,
                       QString settingsPath)
    : main_(main), stage_(stage), outputs_(outputs), context_(context), settingsPath_(std::move(settingsPath)),
      data_(context.workspace), server_(std::make_unique<RemoteServer>(*this))
{
    dataBox_ = new DataBox(data_);
    dataDock_ = new QDockWidget(&main_);
    dataDock_->setObjectName(QStringLiteral("DataDock"));
    dataDock_->setTitleBarWidget(new QWidget(dataDock_));
    dataDock_->setFeatures(QDockWidget::NoDockWidgetFeatures);
    dataDock_->setWidget(dataBox_);
    main_.addDockWidget(Qt::BottomDockWidgetArea, dataDock_);
    dataDock_->hide();
    connect(dataBox_, &DataBox::removeRequested, this, [this] { setDataFile({}); });
    connect(&data_, &LiveDataSource::changed, this, &RemoteDesk::dataChanged);
    addMenus();

    settings_ = readRemoteSettings(settingsPath_);
    if (settings_.enabled)
        problem_ = apply(settings_);
    connect(&poll_, &QTimer::timeout, this, &RemoteDesk::poll);
    poll_.start(kPollMs);
    data_.followProject();
}

RemoteDesk::~RemoteDesk()
{
    server_->stop();
    delete dataDock_;
}

void RemoteDesk::addMenus()
{
    if (QMenu* config = menuTitled(main_, QStringLiteral("&Configuration"))) {
        config->addSeparator();
        QAction* remote = config->addAction(QStringLiteral("Remote Control..."));
        remote->setObjectName(QStringLiteral("RemoteControl1"));
        connect(remote, &QAction::triggered, this, &RemoteDesk::openRemoteWindow);
    }
    if (QMenu* file = menuTitled(main_, QStringLiteral("&File"))) {
        auto* data = new QAction(QStringLiteral("&Data File..."), file);
        data->setObjectName(QStringLiteral("DataFile1"));
        file->insertAction(main_.findChild<QAction*>(QStringLiteral("ExportVideo1")), data);
        connect(data, &QAction::triggered, this, &RemoteDesk::chooseDataFile);
    }
}

// ---- remote control settings ------------------------------------------------------------------

QString RemoteDesk::apply(const RemoteSettings& settings)
{
    settings_ = settings;
    server_->stop();
    const auto feedback = parseHostPort(settings.feedback);
    server_->setFeedback(feedback ? std::optional(std::make_pair(QHostAddress(feedback->first), feedback->second))
                                  : std::nullopt);
    if (!settings.enabled)
        return {};
    const Result started = server_->start(settings.port, settings.allowOthers, settings.token);
    return started.ok ? QString() : started.error;
}

void RemoteDesk::openRemoteWindow()
{
    RemoteControlWindow window(settings_, server_->port(), problem_, &main_);
    if (context_.prompter.execModal(window) != QDialog::Accepted)
        return;
    const RemoteSettings chosen = window.settings();
    const IoResult saved = writeRemoteSettings(chosen, settingsPath_);
    if (!saved.ok)
        context_.prompter.message(saved.error, MessageIcon::Error);
    problem_ = apply(chosen);
    if (!problem_.isEmpty())
        context_.prompter.message(problem_, MessageIcon::Error);
    else if (chosen.enabled)
        main_.statusBar()->showMessage(
            QStringLiteral("Remote control listens on port %1").arg(server_->port()), kNoticeMs);
}

// ---- live data ------------------------------------------------------------------------------

void RemoteDesk::chooseDataFile()
{
    FileDialogOptions options;
    options.title = QStringLiteral("Choose a Data File");
    options.filter = QStringLiteral("Data files (*.csv *.json);;All files (*)");
    options.directory = context_.workspace.project.projectDir;
    const auto chosen = context_.prompter.openFileName(options);
    if (chosen && !chosen->isEmpty())
        setDataFile(*chosen);
}

void RemoteDesk::setDataFile(const QString& path)
{
    ProjectState& project = context_.workspace.project;
    // A file in the project's folder is kept by its name, so the project can move with it.
    const bool inProject = !project.projectDir.isEmpty() && path.startsWith(project.projectDir);
    project.dataFile = inProject ? path.mid(project.projectDir.size()) : path;
    if (!project.projectFile.isEmpty()) {
        const IoResult saved = writeProjectDataFile(project.projectFile, project.dataFile);
        if (!saved.ok)
            context_.prompter.message(saved.error, MessageIcon::Error);
    } else {
        main_.statusBar()->showMessage(QStringLiteral("Save the project to keep its data file."), kNoticeMs);
    }
    data_.followProject();
}

void RemoteDesk::dataChanged()
{
    const bool show = !data_.path().isEmpty();
    if (show && dataDock_->isHidden()) {
        // The Data box takes its row below the delay controls, not from them.
        const int wanted = kMainWindowHeight + dataDock_->sizeHint().height();
        if (main_.height() < wanted && !main_.isMaximized() && !main_.isFullScreen())
            main_.resize(main_.width(), wanted);
    }
    dataDock_->setVisible(show);
    shownMissing_ = missingColumns(context_.workspace.page, context_.workspace.dataRow);
    dataBox_->refresh(shownMissing_);
    if (!data_.error().isEmpty())
        main_.statusBar()->showMessage(data_.error(), kNoticeMs);
}

void RemoteDesk::poll()
{
    data_.followProject();
    const QStringList missing = missingColumns(context_.workspace.page, context_.workspace.dataRow);
    if (missing != shownMissing_) {
        shownMissing_ = missing;
        dataBox_->refresh(missing);
        if (!missing.isEmpty())
            main_.statusBar()->showMessage(
                QStringLiteral("The data file has no column %1").arg(missing.join(QStringLiteral(", "))), kNoticeMs);
    }
    if (server_->isListening())
        server_->publish(status());
}

// ---- the program as the remote interface sees it --------------------------------------------

RemoteStatus RemoteDesk::status() const
{
    const Workspace& ws = context_.workspace;
    RemoteStatus s;
    s.onAir = stage_.player().isPlaying();
    if (!ws.project.pageNow.isEmpty())
        s.page = ws.project.pageNow;
    if (s.onAir) {
        for (int n = 1; n <= kLineCount; ++n)
            if (stage_.player().titleImage(n) != nullptr)
                s.line = n;
        s.waiting = stage_.getspcbarpause();
    }
    s.project = ws.project.projectName;
    if (!ws.project.projectName.isEmpty()) {
        const QString last = lastPageNumber(ws.project.projectDir, StripTLP(ws.project.projectName));
        s.pages = last == QStringLiteral("NEW") ? 0 : last.toInt() + 1;
    }
    s.row = ws.dataRow.number;
    return s;
}

QList<PageSummary> RemoteDesk::pages() const { return storedPageSummaries(context_.workspace.project); }

std::optional<QByteArray> RemoteDesk::thumbnailPng(const QString& number)
{
    const Workspace& ws = context_.workspace;
    auto page = std::make_unique<Workspace>();
    if (!loadStoredPage(ws.project, number, *page))
        return std::nullopt;
    // The page at rest on a black stage, as the alignment screen shows it, scaled down.
    const Point screen = stage_.screenSize();
    QImage stage(std::max(1, screen.x), std::max(1, screen.y), QImage::Format_RGB32);
    stage.fill(Qt::black);
    QPainter painter(&stage);
    const ComposeFormats formats{PixelFormat::Bits32, PixelFormat::Bits32};
    for (int n = 1; n <= kLineCount; ++n) {
        const TitleLine& line = page->page.line(n);
        if (!line.titleValid)
            continue;
        const ComposedTitle title = composeShownLine(line, ws.dataRow, [&](const TitleLine& shown) {
            return composeTitle(shown, n, page->stage.restOf(n), formats, false, ws.project.projectDir, screen);
        });
        if (title.ok && !title.bitmap.isEmpty())
            painter.drawImage(QPoint(title.position.x, title.position.y), title.bitmap.toImage());
    }
    painter.end();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    stage.scaledToWidth(kThumbnailWidth, Qt::SmoothTransformation).save(&buffer, "PNG");
    return png;
}

QString RemoteDesk::busyReason() const
{
    if (pendingStart_)
        return QStringLiteral("a run is starting");
    if (stage_.player().isPlaying())
        return QStringLiteral("a run is on air; stop it first");
    if (outputs_.preview().isPreviewing())
        return QStringLiteral("the preview is playing");
    if (context_.workspace.editor.alignActive)
        return QStringLiteral("the alignment screen is open");
    if (QApplication::activeModalWidget() != nullptr)
        return QStringLiteral("a dialog is open in the editor");
    return {};
}

RemoteOutcome RemoteDesk::cuePage(const QString& number)
{
    Workspace& ws = context_.workspace;
    if (number == ws.project.pageNow && !ws.editor.newPagePending)
        return RemoteOutcome::done();
    if (ws.editor.pageModified || ws.editor.newPagePending)
        return RemoteOutcome::refused(409, QStringLiteral("the editor holds unsaved changes to page %1; save or "
                                                          "discard them before cueing another page")
                                               .arg(ws.project.pageNow));
    if (ws.project.projectName.isEmpty() || !pageExists(ws.project.projectDir, StripTLP(ws.project.projectName), number))
        return RemoteOutcome::refused(404, QStringLiteral("no page %1 in this project").arg(number));
    const QString held = ws.project.pageNow;
    setpagenow(ws, number);
    const LoadPageOutcome loaded = LoadPage(ws, ws.project.projectName, number);
    if (!loaded.loaded) {
        setpagenow(ws, held);
        return RemoteOutcome::refused(500, loaded.notices.empty() ? QStringLiteral("page %1 cannot be read").arg(number)
                                                                  : loaded.notices.front().error);
    }
    EditorActions shown;
    shown.showPage = true;
    shown.showPageNumber = true;
    main_.applyActions(shown);
    return RemoteOutcome::done();
}

RemoteOutcome RemoteDesk::startLater(QAction* command)
{
    if (command == nullptr || !command->isEnabled())
        return RemoteOutcome::refused(409, QStringLiteral("playing is not available yet: open or save a project"));
    const QString problem = projectValidityMessage(context_.workspace);
    if (!problem.isEmpty())
        return RemoteOutcome::refused(409, problem);
    // The run starts from the message loop, as a click would: this request is answered first.
    pendingStart_ = command;
    QTimer::singleShot(0, this, [this] {
        const QPointer<QAction> start = pendingStart_;
        pendingStart_ = nullptr;
        if (start && busyReason().isEmpty())
            start->trigger();
    });
    return RemoteOutcome::done();
}

RemoteOutcome RemoteDesk::run(RemoteCommand command, const std::optional<QString>& page)
{
    const Workspace& ws = context_.workspace;
    const bool playing = stage_.player().isPlaying();
    switch (command) {
    case RemoteCommand::Play:
    case RemoteCommand::PlayAll: {
        if (const QString busy = busyReason(); !busy.isEmpty())
            return RemoteOutcome::refused(409, busy);
        if (command == RemoteCommand::PlayAll) {
            if (ws.editor.pageModified || ws.editor.newPagePending)
                return RemoteOutcome::refused(409, QStringLiteral("play all loads every page into the editor: save "
                                                                  "or discard the changes to page %1 first")
                                                       .arg(ws.project.pageNow));
            return startLater(main_.findChild<QAction*>(QStringLiteral("PlayAllPages2")));
        }
        if (page) {
            const RemoteOutcome cued = cuePage(*page);
            if (!cued.ok())
                return cued;
        }
        return startLater(main_.findChild<QAction*>(QStringLiteral("PlayPage2")));
    }
    case RemoteCommand::Continue:
        if (playing)
            stage_.setspcbarpause(false);
        return RemoteOutcome::done();
    case RemoteCommand::Stop:
        pendingStart_ = nullptr;
        if (playing) {
            stage_.setspcbarpause(false);
            stage_.setkillnow(true);
        }
        return RemoteOutcome::done();
    case RemoteCommand::Cut:
    case RemoteCommand::Close:
        // Closing the stage ends the page as a cut does: every output black in this present.
        pendingStart_ = nullptr;
        if (playing || stage_.isStageWindowShown())
            stage_.cut();
        return RemoteOutcome::done();
    }
    return RemoteOutcome::refused(400, QStringLiteral("unknown command"));
}

RemoteOutcome RemoteDesk::setLineText(const QString& number, int line, const QString& text)
{
    Workspace& ws = context_.workspace;
    const bool held = !ws.editor.newPagePending && ws.project.pageNow == number;
    if (held) {
        if (const QString busy = busyReason(); !busy.isEmpty())
            return RemoteOutcome::refused(409, QStringLiteral("page %1 is held by the editor and %2").arg(number, busy));
    }
    const RemoteOutcome outcome = setStoredLineText(ws, number, line, text);
    if (held) {
        EditorActions shown;
        shown.showPage = true;
        main_.applyActions(shown);
    }
    return outcome;
}

RemoteOutcome RemoteDesk::dataRefusal() const
{
    if (data_.path().isEmpty())
        return RemoteOutcome::refused(409, QStringLiteral("the project names no data file"));
    if (!data_.error().isEmpty())
        return RemoteOutcome::refused(409, data_.error());
    if (data_.rowCount() == 0)
        return RemoteOutcome::refused(409, QStringLiteral("the data file has no rows"));
    return RemoteOutcome::done();
}

RemoteOutcome RemoteDesk::selectRow(int number)
{
    if (const RemoteOutcome refused = dataRefusal(); !refused.ok())
        return refused;
    if (!data_.selectRow(number))
        return RemoteOutcome::refused(404, QStringLiteral("no row %1: the data file has %2 rows").arg(number).arg(data_.rowCount()));
    return RemoteOutcome::done();
}

RemoteOutcome RemoteDesk::stepRow(int delta)
{
    if (const RemoteOutcome refused = dataRefusal(); !refused.ok())
        return refused;
    data_.stepRow(delta);
    return RemoteOutcome::done();
}

} // namespace lumavo
