#pragma once

#include "align/alignment_paths.h"
#include "app/ui/direction_toolbar.h"
#include "app/ui/editor_commands.h"
#include "storage/ui/app_context.h"
#include "storage/page_commands.h"
#include "storage/page_record.h"
#include "storage/settings_file.h"

#include <QMainWindow>
#include <QPixmap>
#include <QPointer>
#include <QUrl>
#include <cstdint>
#include <functional>

class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QToolButton;

namespace lumavo {

class DelayControls;
class EditorStatusBar;
class LineMenu;
class TitleLines;
class Tsplasher;

// The main editing window: a frame holding the panels (the commands with their tool bar and
// menus, the three title lines, the direction toolbar, the " Delay Controls " box and the status
// bar). It shows and edits the workspace's current page; every control carries the object name
// the handlers and tests refer to.
class TBitMovOptMain : public QMainWindow, public EditorHost {
    Q_OBJECT
public:
    explicit TBitMovOptMain(AppContext& context, QWidget* parent = nullptr);
    ~TBitMovOptMain() override;

    // The current page.
    void Initiate();                      // resets the page; controls follow at the next showpage
    void showpage();                      // writes the page into the controls
    // The IN and OUT buttons show the page's directions (codes 1..13; others leave the button).
    void showDirections();
    bool ProjectValid();                  // shows the first failing message; true: may play
    // Shows picture `image` for direction `code` on line 1..3's IN or OUT button (the page editor
    // records directions); hides the direction toolbar. Other lines only hide the toolbar.
    void setdirectionButton(PathSide side, int line, int code, int image);
    void settoolbarbuttons(int line);     // toggles from archOn/gradOn/shadowOn; other lines: nothing
    std::uint8_t getmpause() const;
    void setmpause(std::uint8_t flag);
    std::uint8_t getTITLENUM() const;
    void setTITLENUM(std::uint8_t line);
    std::int32_t getfadedelay() const;
    void setfadedelay(std::int32_t delay);
    QString getpagenow() const;
    void setpagenow(const QString& page);

    // Previews and file-name labels of picture lines (the title lines panel's).
    bool loadbimage(const QString& name, QLabel* image, QLabel* label);
    void loadprevus();
    void ShowIMagelab();

    // Display capability of the window's screen: 0 bits per pixel, 1 colour resolution,
    // 2 palette size, 3 reserved palette entries; other values 0.
    std::int32_t SysInfo(int which) const override;

    // Ending the program: writes the settings file (an error box and false when that fails),
    // then ends the process through the process-end hook.
    bool shutdown();
    // Writes the settings file; on failure shows the error box naming it and returns false.
    bool writeSettings() override;

    // Applies what a storage command left for the window (and refreshes the status bar).
    void applyActions(const EditorActions& actions) override;
    // Places the window from the settings file and shows a reopened project.
    void applySettings(const SettingsReadOutcome& outcome);
    // Shows the status bar panels from workspace.status.
    void refreshStatusBar();
    // The pop-up menu opening on line 1..3's edit box (check marks, caption, titleNum).
    void PopupMenu1Popup(int line);

    // Seams for the outside world: the process end of shutdown, the settings file, the browser
    // and the folder the help pages are copied from.
    void setProcessEnd(std::function<void()> end) { processEnd_ = std::move(end); }
    void setSettingsPath(const QString& path);

    // The commands panel: its actions, and the play and help commands other windows connect to.
    EditorCommands& commands() const { return *commands_; }
    void setUrlOpener(std::function<bool(const QUrl&)> opener) { commands_->setUrlOpener(std::move(opener)); }
    void setHelpSource(const QString& folder) { commands_->setHelpSource(folder); }
    void setWindows(const EditorWindows& windows);
    const EditorWindows& windows() const { return windows_; }

    // Controls (also reachable by object name).
    QLineEdit* edit(int line) const;
    QToolButton* inButton(int line) const;
    QToolButton* outButton(int line) const;
    QLabel* preview(int line) const;
    QLabel* fileLabel(int line) const;
    QFrame* directionToolbar() const { return directionToolbar_; }
    QToolButton* directionButton(int code) const;   // dir1..dir13
    QToolButton* toggleButton(int number) const;    // SpeedButton1..3
    QMenu* popupMenu() const;
    QLabel* statusPanel(int index) const;
    Tsplasher* splash() const;
    int popupLine() const;

protected:
    void closeEvent(QCloseEvent* event) override;      // FormCloseQuery
    void resizeEvent(QResizeEvent* event) override;    // FormResize
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override; // FormMouseDown

private slots:
    void ToolButton9Click();   // the direction toolbar's close button

private:
    void FormCreate();
    void FormResize();
    void buildTitleLines(QWidget* surface);
    void buildDirectionToolbar();
    void buildDelayControls(QWidget* surface);
    void buildPopupMenu();
    void buildStatusBar();

    void openDirectionToolbar(int line, PathSide side);
    void dirClick(int code);
    void lineToggleClick(int number);
    void editChange(int line, const QString& text);
    void syncEditorControls();
    void applyEditFont(int line);
    void placeWindow(const WindowPlacement& placement);
    // Moves the direction toolbar, kept wholly inside the window.
    void placeDirectionToolbar(int left, int top);
    void showPageNumber();
    QRect editRectInWindow(int line) const;

    AppContext& context_;
    Workspace& ws_;
    EditorWindows windows_;
    EditorCommands* commands_ = nullptr;
    TitleLines* titleLines_ = nullptr;
    LineMenu* lineMenu_ = nullptr;
    EditorStatusBar* statusBar_ = nullptr;
    DirectionToolbar* directionToolbar_ = nullptr;
    DelayControls* delayControls_ = nullptr;
    QPixmap glyphScratch_;
    QPointer<Tsplasher> splash_;

    std::function<void()> processEnd_;
    QString settingsPath_;
};

} // namespace lumavo
