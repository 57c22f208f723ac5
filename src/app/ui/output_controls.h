#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QDockWidget;
class QMainWindow;
class QMenu;

namespace lumavo {

class OnAirConsole;
class OutputScreens;
class PreviewPanel;
class TCan;
struct AppContext;

// The menu of the main window's menu bar with that title ("&Configuration"); null when none.
QMenu* menuTitled(QMainWindow& main, const QString& title);

// The outputs in the editor: the Configuration menu's Output Screen, Key Output Screen and Output in
// a Window choices (kept in the settings file), Page > Preview, and the on-air console that stands in
// for the editing controls while the stage plays away from the editor's screen.
class OutputControls : public QObject {
    Q_OBJECT
public:
    OutputControls(QMainWindow& main, TCan& stage, AppContext& context, QString settingsPath);
    ~OutputControls() override;

    OutputScreens& outputs() { return *outputs_; }
    OnAirConsole& console() { return *console_; }
    PreviewPanel& preview() { return *preview_; }

    // Around every play command: shows the console and disables editing when the stage leaves the
    // editor's screen free.
    void playbackStarting();
    void playbackEnded();
    // Page > Preview.
    void previewCurrentPage();

private:
    void addMenus();
    void fillScreenMenu(QMenu* menu, bool keyOutput);
    void fillWindowMenu(QMenu* menu);
    void saveChoice();
    void setEditing(bool on);

    QMainWindow& main_;
    TCan& stage_;
    AppContext& context_;
    QString settingsPath_;
    std::unique_ptr<OutputScreens> outputs_;
    QDockWidget* consoleDock_ = nullptr;
    OnAirConsole* console_ = nullptr;
    PreviewPanel* preview_ = nullptr;
};

} // namespace lumavo
