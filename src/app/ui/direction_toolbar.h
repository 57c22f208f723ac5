#pragma once

#include "storage/workspace.h"

#include <QFrame>
#include <array>

class QToolButton;

namespace lumavo {

// The direction toolbar of the editor: the thirteen direction buttons (dir1..dir13), the arch,
// gradient and shadow toggles (SpeedButton1..3), text colour, font and close. It only reports
// what was pressed; the main window acts on the line it was opened for.
class DirectionToolbar : public QFrame {
    Q_OBJECT
public:
    explicit DirectionToolbar(QWidget* parent);

    QToolButton* directionButton(int code) const;   // 1..13
    QToolButton* toggleButton(int number) const;    // 1..3
    // The three toggles down as the line's archOn, gradOn and shadowOn are set.
    void showToggles(const TitleLine& line);

signals:
    void directionClicked(int code);
    void toggleClicked(int number);
    void colourClicked();
    void fontClicked();
    void closeClicked();

private:
    std::array<QToolButton*, 13> dirButtons_{};
    std::array<QToolButton*, 3> speedButtons_{};
};

} // namespace lumavo
