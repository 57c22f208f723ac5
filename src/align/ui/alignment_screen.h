#pragma once

#include "align/alignment_paths.h"
#include "playback/ui/stage.h"
#include "storage/ui/app_context.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <array>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QFrame;
class QKeyEvent;
class QLabel;
class QProgressBar;
class QToolButton;
class QWidget;

namespace lumavo {

class StageSurface;
class Tbmp;

// The stage's second mode: the operator drags the titles to their rest positions and draws the
// IN and OUT paths of direction code 11. Owns the floating panel (tool bar, path buttons, "Grid",
// count label and gauge), the title images shown while the screen is open and the 250 ms path
// timer. Draws into the stage's back buffer and handles the stage's mouse while alignActive is set.
class AlignmentScreen : public QObject, public StageAlignment {
    Q_OBJECT
public:
    // stage is the stage window (parent of the panel and the title images); surface its back buffer.
    AlignmentScreen(AppContext& context, QWidget& stage, StageSurface& surface);
    ~AlignmentScreen() override;
    // Makes an alignment screen for `stage` and installs it there (the stage owns it).
    static AlignmentScreen& attachTo(TCan& stage, AppContext& context);

    // StageAlignment
    void enterAlignment() override { EnterAlignment(); }
    void hidePanel() override;
    void stopPathTimer() override { timer_.stop(); }

    // Opens the alignment screen (the editor's Align command).
    void EnterAlignment();
    // Closes it: takes the rest positions, hides the panel and the stage, drops the title images.
    void ExitAlignClick();
    // Empties line 1..3's IN or OUT path and paints it out (the editor's direction toolbar and
    // new page); the path button states are left as they are.
    void clearInPath(int line) override;
    void clearOutPath(int line) override;

    // Draws (on) or erases (off) the centre-line grid; switching it on starts the path timer.
    void showgrid(bool on);
    // One tick of the path timer.
    void Timer1Timer();

    AlignmentPaths& paths() { return paths_; }
    QTimer& pathTimer() { return timer_; }
    QFrame* panel() const { return panel_; }
    QToolButton* pathButton(PathId id) const;
    QToolButton* resetButton() const { return resetButton_; }
    QToolButton* hidePanelButton() const { return hideButton_; }
    QToolButton* exitButton() const { return exitButton_; }
    QToolButton* helpButton() const { return helpButton_; }
    QToolButton* projectInfoButton() const { return infoButton_; }
    QCheckBox* gridBox() const { return gridBox_; }
    QLabel* countLabel() const { return countLabel_; }
    QProgressBar* gauge() const { return gauge_; }
    QLabel* positionReadout() const { return readout_; }
    // The title the arrow keys nudge: 1..3, 0 when none is shown.
    int selectedTitle() const { return selected_; }
    // Title image n (1..3) while the screen is open; null for a line not in use or whose
    // picture could not be composed.
    Tbmp* titleImage(int n) const;

signals:
    // The help button and the project information button; the application opens the windows.
    void helpRequested();
    void projectInfoRequested();
    // The screen has closed (Exit): the rest positions are taken.
    void closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Title;
    enum class DragKind { None, Title, Panel };

    void buildPanel();
    void layoutPanel();
    void showPanel();
    void composeTitles();
    void dropTitles();
    TitlePictures pictures() const;
    Canvas& canvas();
    void presentAll();
    void presentAround(PathPoint point);
    void showCount();
    // Stage pixels (the back buffer's) per logical pixel of the stage window: the screen's device
    // pixel ratio, or a windowed output's canvas scale. The mouse comes in logical pixels.
    qreal pixelRatio() const;
    Point toStagePixels(QPointF logical) const;

    // The stage's mouse in alignment mode.
    void FormMouseDown(QMouseEvent& event);
    void FormMouseMove(QMouseEvent& event);
    void FormMouseUp();
    // Title images and the panel: press, drag over the stage, drop.
    void ImageMouseDown(int n, QMouseEvent& event, QPoint stagePos);
    void beginDrag(DragKind kind, QWidget* widget, QPoint stagePos);
    void CanDragOver(QPoint stagePos);   // stagePos in the stage window's logical pixels
    // Moves a title image and its picture on the stage to `place` (stage pixels) and shows where.
    void moveTitle(Tbmp& image, Point place);
    void showReadout(const Tbmp& image);
    // An arrow key nudges the selected title by one pixel (ten with Shift); true when handled.
    bool nudgeKey(QKeyEvent& event);
    void FormDragDrop();
    void saveTitlePicture(int n);
    void pathButtonClick(PathId id);
    void clearPathOnStage(PathId id);

    AppContext& context_;
    QWidget& stage_;
    StageSurface& surface_;
    AlignmentPaths paths_;
    QTimer timer_;
    std::array<std::unique_ptr<Title>, kLineCount> titles_;

    QFrame* panel_ = nullptr;
    QWidget* toolBar_ = nullptr;
    QButtonGroup* pathGroup_ = nullptr;
    std::array<QToolButton*, 6> pathButtons_{};
    QToolButton* resetButton_ = nullptr;
    QToolButton* hideButton_ = nullptr;
    QToolButton* exitButton_ = nullptr;
    QToolButton* helpButton_ = nullptr;
    QToolButton* infoButton_ = nullptr;
    QCheckBox* gridBox_ = nullptr;
    QLabel* countLabel_ = nullptr;
    QProgressBar* gauge_ = nullptr;
    QLabel* readout_ = nullptr;

    DragKind drag_ = DragKind::None;
    QPointer<QWidget> dragged_;
    Point grab_;        // where the dragged widget was grabbed, from its top-left corner
    int selected_ = 0;  // the title the arrow keys move (the last one pressed), 0 = none
};

} // namespace lumavo
