#include "compose/ui/effects_window.h"

#include "platform/ui/caption_animation.h"
#include "compose/effects.h"
#include "storage/page_edits.h"

#include <QFont>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QToolButton>

namespace lumavo {

namespace {

constexpr int kPanelWidth = 248;
constexpr int kPanelHeight = 201;
constexpr int kSampleTextLength = 255;

QColor qColorOf(Color c)
{
    return QColor(redOf(c), greenOf(c), blueOf(c));
}

void fillSwatch(QFrame* shape, Color c)
{
    QPalette palette = shape->palette();
    palette.setColor(QPalette::Window, qColorOf(c));
    shape->setPalette(palette);
}

QLabel* boldLabel(const QString& text, QWidget* parent, int x, int y)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->move(x, y);
    return label;
}

void centreOnScreen(QWidget& window)
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        window.move(area.center() - QPoint(window.width() / 2, window.height() / 2));
    }
}

} // namespace

Tefxctr::Tefxctr(AppContext& context, QWidget* parent) : QDialog(parent), context_(context)
{
    setWindowTitle(QStringLiteral("Color and Gradient Adjustments"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);
    resize(kPanelWidth, 303);

    image1_ = new QLabel(this);
    image1_->setObjectName(QStringLiteral("Image1"));

    panel1_ = new QFrame(this);
    panel1_->setObjectName(QStringLiteral("Panel1"));
    panel1_->setFrameStyle(QFrame::Box | QFrame::Raised);
    panel1_->setGeometry(0, 303 - kPanelHeight, kPanelWidth, kPanelHeight);

    trackBar1_ = new QSlider(Qt::Horizontal, panel1_);
    trackBar1_->setObjectName(QStringLiteral("TrackBar1"));
    trackBar1_->setRange(0, 765);
    trackBar1_->setPageStep(25);
    trackBar1_->setTickInterval(5);
    trackBar1_->setTickPosition(QSlider::TicksBelow);
    trackBar1_->setGeometry(16, 8, 209, 41);

    (new QLabel(QStringLiteral("End - Font Color"), panel1_))->move(48, 56);
    (new QLabel(QStringLiteral("Start Color "), panel1_))->move(152, 56);
    const char* const names[] = {"R", "G", "B"};
    for (int row = 0; row < 3; ++row) {
        boldLabel(QString::fromLatin1(names[row]), panel1_, 32, 72 + 24 * row);
        boldLabel(QString::fromLatin1(names[row]), panel1_, 136, 72 + 24 * row);
    }
    for (int k = 0; k < 6; ++k) {
        auto* edit = new QLineEdit(panel1_);
        edit->setObjectName(QStringLiteral("edit%1").arg(k + 1));
        edit->setInputMask(QStringLiteral("000; "));
        edit->setGeometry(k < 3 ? 48 : 152, 72 + 24 * (k % 3), 33, 21);
        connect(edit, &QLineEdit::textChanged, this, [this] { pROCESSKEYBOARDINPUT(); });
        edits_[static_cast<std::size_t>(k)] = edit;
    }
    shape1_ = new QFrame(panel1_);
    shape1_->setObjectName(QStringLiteral("Shape1"));
    shape1_->setGeometry(88, 72, 17, 73);
    shape1_->setAutoFillBackground(true);
    shape2_ = new QFrame(panel1_);
    shape2_->setObjectName(QStringLiteral("Shape2"));
    shape2_->setGeometry(192, 72, 17, 73);
    shape2_->setAutoFillBackground(true);

    speedButton1_ = new QToolButton(panel1_);
    speedButton1_->setObjectName(QStringLiteral("SpeedButton1"));
    speedButton1_->setCheckable(true);
    speedButton1_->setText(QStringLiteral("Gradient On"));
    speedButton1_->setGeometry(88, 160, 65, 25);

    bitBtn1_ = new QPushButton(QStringLiteral("&Ok"), panel1_);
    bitBtn1_->setObjectName(QStringLiteral("BitBtn1"));
    bitBtn1_->setGeometry(8, 160, 75, 25);
    bitBtn1_->setDefault(true);
    bitBtn2_ = new QPushButton(QStringLiteral("&Cancel"), panel1_);
    bitBtn2_->setObjectName(QStringLiteral("BitBtn2"));
    bitBtn2_->setGeometry(160, 160, 75, 25);

    connect(trackBar1_, &QSlider::valueChanged, this, [this] { TrackBar1Change(); });
    connect(speedButton1_, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(bitBtn1_, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(bitBtn2_, &QPushButton::clicked, this, &QDialog::reject);
}

void Tefxctr::showEvent(QShowEvent* event)
{
    Writeonbitmap();
    panel1_->move(0, image1_->y() + image1_->height() + 10);
    setFixedSize(panel1_->width() + 6, sample_.height() + panel1_->height() + 20);
    centreOnScreen(*this);
    QDialog::showEvent(event);
    if (context_.mainWidget != nullptr)
        ani(*this, *context_.mainWidget, true);
}

void Tefxctr::hideEvent(QHideEvent* event)
{
    if (context_.mainWidget != nullptr)
        ani(*this, *context_.mainWidget, false);
    QDialog::hideEvent(event);
}

void Tefxctr::Writeonbitmap()
{
    const int n = context_.workspace.editor.titleNum;
    if (n < 1 || n > kLineCount)
        return;
    const TitleLine& line = context_.workspace.page.line(n);
    speedButton1_->setChecked(line.gradOn);
    SpeedButton1Click();
    endColor_ = line.fontColor;
    startColor_ = line.gradColor;

    const RgbValues end = rgbValuesOf(line.fontColor);
    const RgbValues start = rgbValuesOf(line.gradColor);
    for (int k = 0; k < 3; ++k) {
        edits_[static_cast<std::size_t>(k)]->setText(QString::number(end[static_cast<std::size_t>(k)]));
        edits_[static_cast<std::size_t>(k + 3)]->setText(QString::number(start[static_cast<std::size_t>(k)]));
    }
    // An edit written with the text it already had reports no change; take the colours anyway.
    pROCESSKEYBOARDINPUT();

    // The sample: the line's text on black, 24 bits, as wide as the panel and as high as the text.
    const QString text = line.text.left(kSampleTextLength);
    Bitmap sample(0, 0, PixelFormat::Bits24);
    Canvas& canvas = sample.canvas();
    canvas.brush.color = kBlack;
    canvas.font.name = line.fontName;
    canvas.font.style = line.fontStyle;
    canvas.font.points = line.fontSize;
    canvas.font.color = line.shadowOn ? line.shadowColor : line.fontColor;
    sample.setSize(kPanelWidth, canvas.textHeight(text));
    if (line.shadowOn) {
        canvas.textOut(0, 0, text);
        canvas.brush.style = BrushStyle::Clear;
        canvas.font.color = line.fontColor;
        canvas.textOut(0, 0, text);
        canvas.brush.style = BrushStyle::Solid;
    } else {
        canvas.font.color = line.fontColor;
        canvas.textOut(0, -1, text);
    }
    sample_ = std::move(sample);
    showSample();
}

void Tefxctr::showSample()
{
    image1_->setPixmap(sample_.isEmpty() ? QPixmap() : QPixmap::fromImage(sample_.toImage()));
    image1_->setGeometry((kPanelWidth - sample_.width()) / 2, 0, sample_.width(), sample_.height());
}

void Tefxctr::TrackBar1Change()
{
    ChangeGradientColors();
}

void Tefxctr::ChangeGradientColors()
{
    const SliderColorPair pair = sliderColorPair(trackBar1_->value());
    for (int k = 0; k < 3; ++k) {
        edits_[static_cast<std::size_t>(k)]->setText(QString::number(pair.end[static_cast<std::size_t>(k)]));
        edits_[static_cast<std::size_t>(k + 3)]->setText(QString::number(pair.start[static_cast<std::size_t>(k)]));
    }
}

RgbValues Tefxctr::readEdits(int first) const
{
    RgbValues values{};
    for (int k = 0; k < 3; ++k)
        values[static_cast<std::size_t>(k)] = readEditNumber(edits_[static_cast<std::size_t>(first + k)]->text());
    return values;
}

void Tefxctr::pROCESSKEYBOARDINPUT()
{
    const RgbValues end = readEdits(0);
    if (const int k = firstAbove255(end); k >= 0) {
        edits_[static_cast<std::size_t>(k)]->setText(QStringLiteral("255")); // runs this again
        return;
    }
    const RgbValues start = readEdits(3);
    if (const int k = firstAbove255(start); k >= 0) {
        edits_[static_cast<std::size_t>(k + 3)]->setText(QStringLiteral("255"));
        return;
    }
    DrawbmSample(end, start);
}

void Tefxctr::DrawbmSample(const RgbValues& end, const RgbValues& start)
{
    endColor_ = colorFromRgbValues(end);
    startColor_ = colorFromRgbValues(start);
    Gradient24(sample_, startColor_, endColor_);
    showSample();
    fillSwatch(shape1_, endColor_);
    fillSwatch(shape2_, startColor_);
}

void Tefxctr::SpeedButton1Click()
{
    const bool down = speedButton1_->isChecked();
    speedButton1_->setText(down ? QStringLiteral("Gradient On") : QStringLiteral("Gradient Off"));
    // The editor's gradient toggle follows this signal (gradOn itself is written on OK).
    emit gradientToggleChanged(down);
}

void Tefxctr::BitBtn1Click()
{
    setLineGradient(context_.workspace, context_.workspace.editor.titleNum, speedButton1_->isChecked(), endColor_,
                    startColor_);
    accept();
}

} // namespace lumavo
