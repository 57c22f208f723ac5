#pragma once

#include "export/ui/export_controller.h"
#include "storage/page_commands.h"
#include "storage/page_record.h"
#include "storage/ui/app_context.h"

#include <QObject>
#include <QString>
#include <QUrl>
#include <array>
#include <cstdint>
#include <functional>

class QAction;
class QLabel;
class QMainWindow;
class QMenu;
class QToolBar;
class QToolButton;
class QWidget;

namespace lumavo {

class TbFontForm;
class Tbdebug;
class TBconfig;
class Tsyschk;
class TCan;
class Tefxctr;

// The other long-lived windows the editor opens; the application fills them in, a test may
// leave any of them null.
struct EditorWindows {
    TbFontForm* fontForm = nullptr;
    Tbdebug* projectInfo = nullptr;
    TBconfig* timeOptions = nullptr;
    Tsyschk* systemInfo = nullptr;
    TCan* stage = nullptr;
    Tefxctr* effectsWindow = nullptr;
};

// What the commands need of the window that holds them.
class EditorHost {
public:
    // Shows what a storage command left for the window (and refreshes the status bar).
    virtual void applyActions(const EditorActions& actions) = 0;
    // Writes the settings file; on failure shows the error box naming it and returns false.
    virtual bool writeSettings() = 0;
    // Display capability of the window's screen (see displayCapability).
    virtual std::int32_t SysInfo(int which) const = 0;

protected:
    ~EditorHost() = default;
};

// Display capability `which` of the screen `window` is on: 0 bits per pixel, 1 colour
// resolution, 2 palette size, 3 reserved palette entries; other values 0.
std::int32_t screenCapability(const QWidget& window, int which);

// The editor's commands: one QAction per command, shown in the menus and on the tool bar (a tool
// button takes its command's action as its default action, so check marks and enabling follow by
// themselves), and the handlers that run them. A tool button and a menu item share an action
// where they run the same command; where they run different ones (New and New Project, the two
// saves) each has its own.
class EditorCommands : public QObject {
    Q_OBJECT
public:
    EditorCommands(QMainWindow& frame, EditorHost& host, AppContext& context);

    void setWindows(const EditorWindows& windows) { windows_ = windows; }
    void setUrlOpener(std::function<bool(const QUrl&)> opener) { openUrl_ = std::move(opener); }
    void setHelpSource(const QString& folder) { helpSource_ = folder; }
    // The settings file the recent projects and the export's choices are kept in (none: not kept).
    void setSettingsPath(const QString& path)
    {
        settingsPath_ = path;
        exporter_->setSettingsPath(path);
    }

    // File > Open Recent, filled from the settings file each time it opens: the projects, newest
    // first (a missing one greyed), "Remove Missing" and "Clear List".
    QMenu* recentMenu() const { return recentMenu_; }
    void fillRecentMenu();
    // Page Up / Page Down for Prev Pg / Next Pg; the frame adds them to its editing surface, so
    // they rest while editing does.
    QList<QAction*> pageKeys() const { return {pageUpKey_, pageDownKey_}; }

    // The page number shown on the tool bar (CurPgNumber).
    void showPageNumber(const QString& page);
    // The new-page and copy-page commands, disabled while a new or copy page is pending.
    void enableNewAndCopy(bool on);
    // Every page command enabled, and the leader toggles showing the project's choices.
    void enableProjectTools(bool useColorBars, bool useCountDown);

signals:
    // Before and after every play command (the outputs show the on-air console meanwhile).
    void playbackStarting();
    void playbackEnded();

public slots:
    // Help > Contents and Window > Project Information (the alignment screen's buttons too).
    void Contents1Click();
    void ProjectInformation1Click();
    // The alignment screen has closed (its changes are one edit of the page): the window shows
    // what it left.
    void alignmentClosed();
    // Opens the project file at path as Open does ("Save current page?" first), without the dialog.
    void openProjectPath(const QString& path);

private slots:
    void NewPrjToolButtonClick();
    void NewProj1Click();
    void OpenPrjToolButtonClick();
    void SavePrjToolButtonClick();
    void SaveprojectClick1();
    void PlayPgToolButtonClick();
    void PlayAllToolButtonClick();
    void PrevPageClick();
    void NextPageClick();
    void NewPageButtonClick();
    void CopyPageButtonClick();
    void SavePgToolButtonClick();
    void SaveAs1Click();
    void DeletePgToolButtonClick();
    void Undo1Click();
    void Redo1Click();
    void AlignToolButtonClick();
    void ColorBarToolButtonClick(bool down);
    void CountDownToolButtonClick(bool down);
    void EasySlowdown1Click(bool on);
    void RepeaTLoop1Click(bool on);
    void SmoothEdges1Click(bool on);
    void SetColorBarTime1Click();
    void PrintFileButton1Click1();
    void ExportVideo1Click();
    void PrintSetup1Click();
    void Exit1Click();
    void Exit2Click();
    void UnderYourHood1Click();
    void About1Click();

private:
    // One command: its action's object name and menu text. The tool bar's caption and hint,
    // where it has a button, are set by addToolButton.
    template <typename Handler>
    QAction* command(const char* name, const QString& text, Handler handler);
    void createActions();
    void buildToolBar();
    void buildMenus();
    QToolButton* addToolButton(QAction* action, const char* name, const QString& caption, const QString& hint,
                               int icon);
    void play(void (TCan::*run)());
    // The open project goes to the front of the recent projects.
    void noteRecentProject();
    void keepRecentProjects(const QStringList& recent);
    void pageKey(PageStep step);
    void showUndoneStep(bool stepped);   // after Undo or Redo: the controls show the page
    ProjectSaveInfo saveInfo() const;

    QMainWindow& frame_;
    EditorHost& host_;
    AppContext& context_;
    Workspace& ws_;
    EditorWindows windows_;
    ExportController* exporter_;     // the Export Video command, owned as a child
    std::function<bool(const QUrl&)> openUrl_;
    QString helpSource_;
    QString settingsPath_;
    QMenu* recentMenu_ = nullptr;
    QAction* pageUpKey_ = nullptr;
    QAction* pageDownKey_ = nullptr;

    QToolBar* toolBar_ = nullptr;
    QLabel* pageNumber_ = nullptr;

    // Commands with a menu item and a tool button.
    QAction* openProject_ = nullptr;
    QAction* playPage_ = nullptr;
    QAction* playAll_ = nullptr;
    QAction* newPage_ = nullptr;
    QAction* deletePage_ = nullptr;
    QAction* align_ = nullptr;
    QAction* colorBars_ = nullptr;
    QAction* countDown_ = nullptr;
    // Tool bar only.
    QAction* newProjectTool_ = nullptr;
    QAction* saveProjectTool_ = nullptr;
    QAction* prevPage_ = nullptr;
    QAction* nextPage_ = nullptr;
    QAction* copyPage_ = nullptr;
    QAction* savePageTool_ = nullptr;
    // Menu only.
    QAction* newProjectMenu_ = nullptr;
    QAction* saveProjectMenu_ = nullptr;
    QAction* savePageMenu_ = nullptr;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    QAction* exportVideo_ = nullptr;
    QAction* print_ = nullptr;
    QAction* printSetup_ = nullptr;
    QAction* exit1_ = nullptr;
    QAction* easySlowdown_ = nullptr;
    QAction* colorBarTime_ = nullptr;
    QAction* repeatLoop_ = nullptr;
    QAction* smoothEdges_ = nullptr;
    QAction* projectInfo_ = nullptr;
    QAction* underYourHood_ = nullptr;
    QAction* about_ = nullptr;
    QAction* contents_ = nullptr;
    QAction* exit2_ = nullptr;
};

} // namespace lumavo
