#pragma once

#include "export/export_settings.h"
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
    void showUndoneStep(bool stepped);   // after Undo or Redo: the controls show the page
    ProjectSaveInfo saveInfo() const;

    QMainWindow& frame_;
    EditorHost& host_;
    AppContext& context_;
    Workspace& ws_;
    EditorWindows windows_;
    ExportSettings exportChoices_;   // the last export's choices, offered again
    std::function<bool(const QUrl&)> openUrl_;
    QString helpSource_;

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
    QAction* projectInfo_ = nullptr;
    QAction* underYourHood_ = nullptr;
    QAction* about_ = nullptr;
    QAction* contents_ = nullptr;
    QAction* exit2_ = nullptr;
};

} // namespace lumavo
