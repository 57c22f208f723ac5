#pragma once

#include "storage/ui/app_context.h"

#include <QDialog>
#include <QString>

class QLabel;
class QListWidget;
class QPushButton;
class QSlider;

namespace lumavo {

// "Change Font and Size ": the face and size (16..200 points) of the current title line
// (workspace.editor.titleNum), with a live sample on black. OK writes the chosen face and size;
// Cancel writes back the values the line had when the window was shown. The face last clicked
// is kept from one showing to the next. Controls carry their names as object names
// (FontSizeTrackbar, fontsizelabel, fontlabel, ListBox1, Panel1, fsamplelabel, BitBtn1, BitBtn2).
class TbFontForm : public QDialog {
    Q_OBJECT
public:
    explicit TbFontForm(AppContext& context, QWidget* parent = nullptr);

    int chosenSize() const { return chosenSize_; }
    const QString& chosenFace() const { return chosenFace_; }

protected:
    void showEvent(QShowEvent* event) override;   // FormShow
    void hideEvent(QHideEvent* event) override;   // FormClose

private:
    void FormCreate();
    void FormShow();
    void ListBox1Click();
    void FontSizeTrackbarChange();
    void BitBtn1Click();
    void BitBtn2Click();
    void applySampleFont();

    AppContext& context_;
    int entrySize_ = 0;
    QString entryFace_;
    int chosenSize_ = kDefaultSize;
    QString chosenFace_;
    QString sampleText_;
    QString sampleFace_;
    int samplePoints_ = kDefaultSize;
    std::uint8_t sampleStyle_ = 0;

    QLabel* fontsizelabel_ = nullptr;
    QSlider* fontSizeTrackbar_ = nullptr;
    QLabel* fontlabel_ = nullptr;
    QListWidget* listBox1_ = nullptr;
    QLabel* fsamplelabel_ = nullptr;
    QPushButton* bitBtn1_ = nullptr;
    QPushButton* bitBtn2_ = nullptr;

    static constexpr int kDefaultSize = 16;
};

} // namespace lumavo
