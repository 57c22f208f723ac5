#pragma once

#include "storage/workspace.h"

#include <QStatusBar>
#include <array>

class QLabel;

namespace lumavo {

// The editor's status bar (StatusBar1): five sunken panels Panel0..Panel4, 80, 80, 70 and 40
// pixels wide, the last holding the project name in what room is left.
class EditorStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit EditorStatusBar(QWidget* parent);

    QLabel* panel(int index) const;   // 0..4
    // Shows the panel texts the engine operations left in the workspace.
    void showPanels(const StatusPanels& status);

private:
    std::array<QLabel*, 5> panels_{};
};

} // namespace lumavo
