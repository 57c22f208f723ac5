#pragma once

#include <QWidget>

class QAction;
class QKeySequence;
class QLabel;
class QPushButton;

namespace lumavo {

class TCan;
struct Workspace;

// A key that triggers the returned action anywhere in owner's window while owner is shown.
QAction* addWindowKey(QWidget& owner, const QKeySequence& key);

// The operator's console while the stage plays on another screen: "On air", the page and line
// playing, and Continue (space), Stop (Esc) and Cut (Shift+Esc), which act on the stage as its own
// keys and clicks do. The keys work anywhere in the window the console sits in while it is shown;
// the status follows every message run of playback.
class OnAirConsole : public QWidget {
    Q_OBJECT
public:
    OnAirConsole(TCan& stage, const Workspace& ws, QWidget* parent = nullptr);

    // Continue: releases a space-bar hold.
    void continuePlayback();
    // Stop: clears the hold and sets the stop flag; with the stop flag already set it closes the
    // stage (as a second click on the stage does).
    void stopPlayback();
    // Cut: every output black at once, the run ends.
    void cutPlayback();
    // Shows the page and the line now playing.
    void refresh();
    // The text of the page-and-line label.
    QString playingText() const;

private:
    TCan& stage_;
    const Workspace& ws_;
    QLabel* playing_ = nullptr;
};

} // namespace lumavo
