#include "export/ui/export_controller.h"

#include "export/ui/export_dialog.h"
#include "export/ui/export_runner.h"
#include "storage/project.h"

#include <QDir>
#include <QFileInfo>
#include <QProgressDialog>

namespace lumavo {

ExportController::ExportController(QWidget* parent, Prompter& prompter, QString settingsPath)
    : QObject(parent), parent_(parent), prompter_(prompter), settingsPath_(std::move(settingsPath))
{
}

ExportController::~ExportController() = default;

bool ExportController::isExporting() const
{
    return running_ != nullptr && running_->isRunning();
}

ExportSettings ExportController::initialChoices(const Workspace& ws) const
{
    ExportSettings choices = readExportChoices(IniFile::load(settingsPath_));
    const QString folder = ws.project.projectDir;
    if (folder.isEmpty() || ws.project.projectName.isEmpty())
        return choices;
    const QString name = choices.destination.isEmpty() ? StripTLP(ws.project.projectName) + QStringLiteral(".mp4")
                                                       : QFileInfo(choices.destination).fileName();
    choices.destination = QDir(folder).filePath(name);
    return choices;
}

void ExportController::run(const Workspace& ws, const TitleComposer& composer)
{
    if (isExporting()) {
        if (QProgressDialog* window = running_->progressWindow()) {
            window->show();
            window->raise();
            window->activateWindow();
        }
        return;
    }
    ExportDialog dialog(initialChoices(ws), parent_, ws.editor.repeatLoop, ws.project.projectDir);
    if (prompter_.execModal(dialog) != QDialog::Accepted)
        return;
    ExportSettings settings = dialog.settings();
    if (const QString existing = exportWouldReplace(settings); !existing.isEmpty()) {
        if (prompter_.confirm(existing + QStringLiteral("\nDo you want to replace it?"), false, MessageIcon::Question)
            != Answer::Yes)
            return;
        settings.replaceSequence = true;
    }
    if (const IoResult saved = IniFile::update(settingsPath_, [&](IniFile& ini) { writeExportChoices(ini, settings); });
        !saved.ok)
        prompter_.message(saved.error, MessageIcon::Error);

    running_ = std::make_unique<ExportRun>(parent_, ws, settings, composer);
    connect(running_.get(), &ExportRun::finished, this, &ExportController::ended);
}

void ExportController::ended(const ExportResult& result)
{
    const ExportSettings settings = running_->settings();
    for (const QString& message : result.pageMessages)
        prompter_.message(message, MessageIcon::Information);
    if (result.ok)
        showExportFinished(parent_, settings, result);
    else if (!result.cancelled)
        prompter_.message(result.message, MessageIcon::Error);
    emit exportEnded(result);
}

} // namespace lumavo
