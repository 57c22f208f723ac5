#pragma once

#include "export/exporter.h"
#include "platform/prompter.h"

#include <QObject>
#include <QString>

#include <memory>

class QWidget;

namespace lumavo {

class ExportRun;

// The Export Video command: the dialog with the choices remembered in the settings file (section
// "Export"), opening in the project's folder; a question before an existing file or sequence is
// replaced; then the export beside the editor, and a message when it ends. One export at a time:
// asking again while one runs brings its progress window forward.
class ExportController : public QObject {
    Q_OBJECT
public:
    ExportController(QWidget* parent, Prompter& prompter, QString settingsPath);
    ~ExportController() override;

    void setSettingsPath(const QString& path) { settingsPath_ = path; }
    void run(const Workspace& ws, const TitleComposer& composer);
    bool isExporting() const;

signals:
    void exportEnded(const ExportResult& result);

private:
    // The choices to offer: the remembered ones, in the project's folder when one is open.
    ExportSettings initialChoices(const Workspace& ws) const;
    void ended(const ExportResult& result);

    QWidget* parent_;
    Prompter& prompter_;
    QString settingsPath_;
    std::unique_ptr<ExportRun> running_;
};

} // namespace lumavo
