#pragma once

#include "storage/ui/app_context.h"

#include <QDialog>
#include <cstdint>

class QLabel;
class QSlider;
class QPushButton;

namespace lumavo {

// "Time  Options": sets the colour-bar time (0..30 seconds) of the project. The slider writes the
// value at once; OK keeps it, Cancel restores the value the window opened with, the close box
// keeps what the slider last set.
class TBconfig : public QDialog {
    Q_OBJECT
public:
    explicit TBconfig(AppContext& context, QWidget* parent = nullptr);

    QSlider* slider() const { return trackBar1_; }
    QLabel* valueLabel() const { return valueLabel_; }
    QPushButton* okButton() const { return bitBtn1_; }
    QPushButton* cancelButton() const { return bitBtn2_; }

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;   // Esc cancels as Cancel does

private slots:
    void TrackBar1Change(int position);
    void BitBtn1Click();
    void BitBtn2Click();

private:
    AppContext& context_;
    QSlider* trackBar1_ = nullptr;
    QLabel* valueLabel_ = nullptr;
    QPushButton* bitBtn1_ = nullptr;
    QPushButton* bitBtn2_ = nullptr;
    std::uint8_t restoreValue_ = 0;   // colorBarTime when the window opened
};

} // namespace lumavo
