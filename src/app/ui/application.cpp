#include "app/ui/application.h"

#include "align/ui/alignment_screen.h"
#include "app/app_shell.h"
#include "app/editor_model.h"
#include "app/ui/main_window.h"
#include "app/ui/output_controls.h"
#include "app/ui/remote_desk.h"
#include "app/ui/time_options.h"
#include "compose/ui/effects_window.h"
#include "compose/ui/font_form.h"
#include "platform/ui/qt_prompter.h"
#include "playback/ui/sound_wave_player.h"
#include "playback/ui/stage.h"
#include "storage/settings_file.h"
#include "storage/system_probe.h"
#include "storage/ui/project_info_window.h"
#include "storage/ui/system_info_window.h"

#include <QApplication>
#include <QDir>
#include <QToolButton>
#include <exception>

namespace lumavo {

namespace {

// The message loop's general error report: an exception escaping a handler becomes an error box.
class LumavoApplication final : public QApplication {
public:
    using QApplication::QApplication;
    void setErrorPrompter(Prompter* prompter) { prompter_ = prompter; }

    bool notify(QObject* receiver, QEvent* event) override
    {
        if (prompter_ == nullptr)
            return QApplication::notify(receiver, event);
        return deliverReportingErrors([&] { return QApplication::notify(receiver, event); }, *prompter_);
    }

private:
    Prompter* prompter_ = nullptr;
};

} // namespace

bool deliverReportingErrors(const std::function<bool()>& deliver, Prompter& prompter)
{
    try {
        return deliver();
    } catch (const std::exception& error) {
        prompter.message(QString::fromLocal8Bit(error.what()), MessageIcon::Error);
    } catch (...) {
        prompter.message(QStringLiteral("An unexpected error occurred."), MessageIcon::Error);
    }
    return false;
}

Application::Application(Prompter& prompter, Clock& clock,
                         std::function<std::unique_ptr<WavePlayer>()> makeWavePlayer, QString settingsPath,
                         SystemProbe* systemProbe)
    : context_{workspace_, prompter, clock, std::move(makeWavePlayer), systemProbe},
      settingsPath_(std::move(settingsPath))
{
}

Application::~Application()
{
    // Windows that may point at each other go before the main window they belong to.
    remoteDesk_.reset();
    outputControls_.reset();
    effectsWindow_.reset();
    stage_.reset();
    systemInfo_.reset();
    timeOptions_.reset();
    projectInfo_.reset();
    fontForm_.reset();
    mainWindow_.reset();
}

void Application::createWindows(const QString& projectToOpen)
{
    mainWindow_ = std::make_unique<TBitMovOptMain>(context_);
    mainWindow_->setSettingsPath(settingsPath_);
    context_.mainWidget = mainWindow_.get();
    fontForm_ = std::make_unique<TbFontForm>(context_, mainWindow_.get());
    projectInfo_ = std::make_unique<Tbdebug>(context_, mainWindow_.get());
    timeOptions_ = std::make_unique<TBconfig>(context_, mainWindow_.get());
    systemInfo_ = std::make_unique<Tsyschk>(context_, mainWindow_.get());
    stage_ = std::make_unique<TCan>(context_, nullptr);
    AlignmentScreen& alignment = AlignmentScreen::attachTo(*stage_, context_);
    applyStartupValues(workspace_);
    mainWindow_->showDirections();   // the IN and OUT buttons show the directions the page holds
    effectsWindow_ = std::make_unique<Tefxctr>(context_, mainWindow_.get());
    connectWindows(alignment);
    outputControls_ = std::make_unique<OutputControls>(*mainWindow_, *stage_, context_, settingsPath_);
    EditorCommands& commands = mainWindow_->commands();
    QObject::connect(&commands, &EditorCommands::playbackStarting, outputControls_.get(),
                     &OutputControls::playbackStarting);
    QObject::connect(&commands, &EditorCommands::playbackEnded, outputControls_.get(),
                     &OutputControls::playbackEnded);
    remoteDesk_ = std::make_unique<RemoteDesk>(*mainWindow_, *stage_, *outputControls_, context_, settingsPath_);

    if (!workspace_.editor.settingsRead)
        mainWindow_->applySettings(
            readtheinifile(workspace_, settingsPath_, projectToOpen.isEmpty()));
    if (!projectToOpen.isEmpty())
        commands.openProjectPath(projectToOpen);
}

// The windows talk to each other only through here: the lower ones signal, the main window acts.
void Application::connectWindows(AlignmentScreen& alignment)
{
    TBitMovOptMain* main = mainWindow_.get();
    main->setWindows({fontForm_.get(), projectInfo_.get(), timeOptions_.get(), systemInfo_.get(), stage_.get(),
                      effectsWindow_.get()});
    EditorCommands* commands = &main->commands();
    QObject::connect(&alignment, &AlignmentScreen::helpRequested, commands, &EditorCommands::Contents1Click);
    QObject::connect(&alignment, &AlignmentScreen::projectInfoRequested, commands,
                     &EditorCommands::ProjectInformation1Click);
    QObject::connect(&alignment, &AlignmentScreen::closed, commands, &EditorCommands::alignmentClosed);
    // The stage may close in the middle of a page: repaint what it covered at once.
    QObject::connect(stage_.get(), &TCan::stageClosed, main, qOverload<>(&QWidget::update));
    QObject::connect(effectsWindow_.get(), &Tefxctr::gradientToggleChanged, main,
                     [main](bool down) { main->toggleButton(2)->setChecked(down); });
}

int runApplication(int argc, char** argv)
{
    LumavoApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lumavo"));
    QtPrompter prompter;
    app.setErrorPrompter(&prompter);
    SteadyClock clock;
    LinuxSystemProbe systemProbe;
    Application application(prompter, clock, [] { return std::make_unique<SoundWavePlayer>(); },
                             settingsFilePath(), &systemProbe);
    application.createWindows(projectArgument(QCoreApplication::arguments(), QDir::currentPath()));
    application.mainWindow().show();
    const int code = QApplication::exec();
    app.setErrorPrompter(nullptr);
    return code;
}

} // namespace lumavo
