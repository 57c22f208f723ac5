#pragma once

#include "compose/style_choices.h"
#include "platform/bitmap.h"
#include "storage/ui/app_context.h"

#include <QDialog>
#include <array>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QToolButton;

namespace lumavo {

// "Color and Gradient Adjustments": the current title line's gradient colours (end = fontColor,
// start = gradColor) and its gradient switch, with a sample of the line's text. OK writes them into
// the current page (line workspace.editor.titleNum); Cancel writes nothing. Controls carry their
// names as object names (TrackBar1, edit1..edit6, SpeedButton1, BitBtn1, BitBtn2, Image1, ...).
class Tefxctr : public QDialog {
    Q_OBJECT
public:
    explicit Tefxctr(AppContext& context, QWidget* parent = nullptr);

    const Bitmap& sample() const { return sample_; }
    Color endColor() const { return endColor_; }
    Color startColor() const { return startColor_; }

    // Refills the window from the current line and draws the sample text (no gradient yet).
    void Writeonbitmap();
    // Writes the slider's colour pair into the six edits.
    void ChangeGradientColors();
    // Holds each edit to 255, then redraws the sample from the six edits when all are in range.
    void pROCESSKEYBOARDINPUT();
    // Sets both colours, applies the 24-bit gradient to the sample and fills the swatches.
    void DrawbmSample(const RgbValues& end, const RgbValues& start);

signals:
    // The window's gradient toggle changed (down = on); the editor's toggle has been set to match.
    void gradientToggleChanged(bool down);

protected:
    void showEvent(QShowEvent* event) override;   // FormShow
    void hideEvent(QHideEvent* event) override;   // FormClose

private:
    void TrackBar1Change();
    void SpeedButton1Click();
    void BitBtn1Click();
    RgbValues readEdits(int first) const;
    void showSample();

    AppContext& context_;
    Bitmap sample_{0, 0, PixelFormat::Bits24};
    Color endColor_ = kWhite;
    Color startColor_ = kWhite;

    QLabel* image1_ = nullptr;
    QFrame* panel1_ = nullptr;
    QSlider* trackBar1_ = nullptr;
    std::array<QLineEdit*, 6> edits_{};
    QFrame* shape1_ = nullptr;
    QFrame* shape2_ = nullptr;
    QToolButton* speedButton1_ = nullptr;
    QPushButton* bitBtn1_ = nullptr;
    QPushButton* bitBtn2_ = nullptr;
};

} // namespace lumavo
