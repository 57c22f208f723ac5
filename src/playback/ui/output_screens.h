#pragma once

#include "playback/output_layout.h"
#include "playback/ui/stage_placement.h"

#include <QObject>
#include <QString>
#include <memory>
#include <vector>

class QScreen;

namespace lumavo {

class TCan;
class KeyOutputWindow;
class WindowOutput;
struct Workspace;

// The operator's output choice: the stage's screen ("Same as editor" when the key is empty), the key
// output's screen (none when empty) and the windowed output's canvas. Places the stage for each
// playback (the alignment screen always on the editor's screen), keeps the outputs up and black
// whenever no programme plays, and follows screens coming and going.
class OutputScreens : public QObject, public StagePlacement {
    Q_OBJECT
public:
    OutputScreens(TCan& stage, Workspace& ws, QObject* parent = nullptr);
    ~OutputScreens() override;

    // The screens Qt knows now, in its order, named by screenKeys().
    static std::vector<ScreenEntry> screenEntries();

    QString stageScreenKey() const { return stageKey_; }
    QString keyScreenKey() const { return keyKey_; }
    WindowCanvas windowCanvas() const { return canvas_; }
    void setStageScreenKey(const QString& name);
    void setKeyScreenKey(const QString& name);
    void setWindowCanvas(WindowCanvas canvas);

    // True when a playback leaves the editor's screen free (another screen, or a window output).
    bool stageLeavesEditorFree(QScreen* editorScreen) const;

    KeyOutputWindow* keyOutput() const { return key_.get(); }
    WindowOutput* windowOutput() const { return window_.get(); }
    // The black window that holds the output screen while the stage is not on it; null when the
    // stage plays over the editor or in a window.
    QWidget* standby() const { return standby_.get(); }
    // The screens the key output may take: neither the editor's nor the output's.
    std::vector<ScreenEntry> keyScreenChoices() const;

    // StagePlacement
    QScreen* stageScreen(QScreen* editorScreen) const override;
    StagePlace placeForPlayback(QScreen* editorScreen) override;

signals:
    // The screen list changed (a screen was added or removed).
    void screensChanged();
    // A notice for the status bar, such as a missing output screen.
    void notice(const QString& text);

private:
    void updateKeyOutput();
    void updateWindowOutput();
    void updateStandby();
    // The chosen output screen when it is connected and is not the editor's; null otherwise.
    QScreen* separateOutputScreen() const;

    TCan& stage_;
    Workspace& ws_;
    QString stageKey_;
    QString keyKey_;
    WindowCanvas canvas_ = WindowCanvas::Off;
    std::unique_ptr<KeyOutputWindow> key_;
    std::unique_ptr<WindowOutput> window_;
    std::unique_ptr<QWidget> standby_;
};

} // namespace lumavo
