#include "compose/ui/font_form.h"

#include "platform/ui/caption_animation.h"
#include "compose/style_choices.h"
#include "platform/canvas.h"
#include "storage/page_edits.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QStyledItemDelegate>

namespace lumavo {

namespace {

// The face an entry names, at the face's own default size ("Default": the system font).
QFont entryFont(const QString& face)
{
    QFont font = QGuiApplication::font();
    if (face != QLatin1String("Default"))
        font.setFamily(face);
    return font;
}

// Paints each face list entry in its own face; rows are as tall as that face's "Wg" plus 2.
class FaceItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QFontMetrics metrics(entryFont(index.data().toString()));
        return {option.rect.width(), metrics.height() + 2}; // the cell height of "Wg"
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette& palette = option.palette;
        painter->fillRect(option.rect, selected ? palette.highlight() : palette.base());
        painter->setFont(entryFont(index.data().toString()));
        painter->setPen(selected ? palette.highlightedText().color() : palette.text().color());
        const QFontMetrics metrics(painter->font());
        painter->drawText(option.rect.left() + 1, option.rect.top() + 1 + metrics.ascent(), index.data().toString());
    }
};

QFont boldFont(QFont font)
{
    font.setBold(true);
    return font;
}

} // namespace

TbFontForm::TbFontForm(AppContext& context, QWidget* parent) : QDialog(parent), context_(context)
{
    setWindowTitle(QStringLiteral("Change Font and Size "));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);
    setFixedSize(492, 329);
    setFont(QFont(QStringLiteral("Arial")));

    (new QLabel(QStringLiteral("Font Size"), this))->move(8, 11);
    fontsizelabel_ = new QLabel(this);
    fontsizelabel_->setObjectName(QStringLiteral("fontsizelabel"));
    fontsizelabel_->setFont(boldFont(font()));
    fontsizelabel_->setGeometry(59, 7, 60, 16);

    fontSizeTrackbar_ = new QSlider(Qt::Horizontal, this);
    fontSizeTrackbar_->setObjectName(QStringLiteral("FontSizeTrackbar"));
    fontSizeTrackbar_->setRange(kMinChooserPoints, kMaxChooserPoints);
    fontSizeTrackbar_->setValue(kDefaultSize);
    fontSizeTrackbar_->setTickInterval(4);
    fontSizeTrackbar_->setTickPosition(QSlider::TicksBelow);
    fontSizeTrackbar_->setGeometry(8, 27, 134, 46);

    fontlabel_ = new QLabel(QStringLiteral("**"), this);
    fontlabel_->setObjectName(QStringLiteral("fontlabel"));
    QFont labelFont(QStringLiteral("Arial"));
    labelFont.setPixelSize(16);
    fontlabel_->setFont(boldFont(labelFont));
    fontlabel_->setGeometry(16, 75, 140, 22);

    listBox1_ = new QListWidget(this);
    listBox1_->setObjectName(QStringLiteral("ListBox1"));
    listBox1_->setFont(boldFont(font()));
    listBox1_->setItemDelegate(new FaceItemDelegate(listBox1_));
    listBox1_->setGeometry(8, 103, 137, 178);

    auto* panel1 = new QFrame(this);
    panel1->setObjectName(QStringLiteral("Panel1"));
    panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel1->setLineWidth(2);
    panel1->setAutoFillBackground(true);
    QPalette black = panel1->palette();
    black.setColor(QPalette::Window, Qt::black);
    panel1->setPalette(black);
    panel1->setGeometry(160, 16, 281, 265);

    fsamplelabel_ = new QLabel(QStringLiteral("test"), panel1);
    fsamplelabel_->setObjectName(QStringLiteral("fsamplelabel"));
    fsamplelabel_->setFont(QFont(QStringLiteral("Arial")));
    QPalette white = fsamplelabel_->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    fsamplelabel_->setPalette(white);
    fsamplelabel_->move(8, 8);

    bitBtn1_ = new QPushButton(QStringLiteral("OK"), this);
    bitBtn1_->setObjectName(QStringLiteral("BitBtn1"));
    bitBtn1_->setGeometry(144, 296, 75, 25);
    bitBtn1_->setDefault(true);
    bitBtn2_ = new QPushButton(QStringLiteral("Cancel"), this);
    bitBtn2_->setObjectName(QStringLiteral("BitBtn2"));
    bitBtn2_->setGeometry(232, 296, 75, 25);

    connect(fontSizeTrackbar_, &QSlider::valueChanged, this, [this] { FontSizeTrackbarChange(); });
    connect(listBox1_, &QListWidget::itemClicked, this, [this] { ListBox1Click(); });
    connect(bitBtn1_, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(bitBtn2_, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    // The close box and Escape leave as Cancel does: the line gets its own values back.
    connect(this, &QDialog::rejected, this,
            [this] { setLineFont(context_.workspace, context_.workspace.editor.titleNum, entryFace_, entrySize_); });
    FormCreate();
}

void TbFontForm::FormCreate()
{
    listBox1_->addItems(chooserFaceList(QFontDatabase::families()));
}

void TbFontForm::showEvent(QShowEvent* event)
{
    FormShow();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    QDialog::showEvent(event);
    if (context_.mainWidget != nullptr)
        ani(*this, *context_.mainWidget, true);
}

void TbFontForm::hideEvent(QHideEvent* event)
{
    if (context_.mainWidget != nullptr)
        ani(*this, *context_.mainWidget, false);
    QDialog::hideEvent(event);
}

void TbFontForm::FormShow()
{
    const int n = context_.workspace.editor.titleNum;
    if (n < 1 || n > kLineCount)
        return;
    const TitleLine& line = context_.workspace.page.line(n);
    entrySize_ = line.fontSize;
    entryFace_ = line.fontName;
    sampleStyle_ = line.fontStyle;
    QPalette palette = fsamplelabel_->palette();
    palette.setColor(QPalette::WindowText, QColor(redOf(line.fontColor), greenOf(line.fontColor), blueOf(line.fontColor)));
    fsamplelabel_->setPalette(palette);
    sampleText_ = line.text.trimmed().left(255);
    samplePoints_ = line.fontSize;
    sampleFace_ = line.fontName;
    const QSignalBlocker quiet(fontSizeTrackbar_);
    fontSizeTrackbar_->setValue(clampChooserPoints(line.fontSize));
    fontsizelabel_->setText(QString::number(fontSizeTrackbar_->value()));
    FontSizeTrackbarChange();
}

void TbFontForm::ListBox1Click()
{
    const QListWidgetItem* item = listBox1_->currentItem();
    if (item == nullptr)
        return;
    chosenFace_ = item->text();
    fontlabel_->setText(chosenFace_);
    sampleFace_ = chosenFace_;
    applySampleFont();
}

void TbFontForm::FontSizeTrackbarChange()
{
    chosenSize_ = fontSizeTrackbar_->value();
    samplePoints_ = chosenSize_;
    fontsizelabel_->setText(QString::number(chosenSize_));
    fsamplelabel_->setText(sampleText_);
    fsamplelabel_->setLayoutDirection(textDirection(sampleText_));
    applySampleFont();
}

void TbFontForm::applySampleFont()
{
    QFont font = entryFont(sampleFace_);
    font.setPixelSize(std::max(1, Canvas::pixelHeightForPoints(samplePoints_)));
    font.setBold(sampleStyle_ & kStyleBold);
    font.setItalic(sampleStyle_ & kStyleItalic);
    font.setUnderline(sampleStyle_ & kStyleUnderline);
    font.setStrikeOut(sampleStyle_ & kStyleStrikeOut);
    fsamplelabel_->setFont(font);
    fsamplelabel_->adjustSize();
    // Right-to-left text starts at the panel's right edge, so a long sample loses its end, not its start.
    const int inset = 8;
    const bool rightToLeft = fsamplelabel_->layoutDirection() == Qt::RightToLeft;
    const QWidget* panel = fsamplelabel_->parentWidget();
    fsamplelabel_->move(rightToLeft ? panel->width() - inset - fsamplelabel_->width() : inset, inset);
}

void TbFontForm::BitBtn1Click()
{
    Workspace& ws = context_.workspace;
    const int n = ws.editor.titleNum;
    if (n >= 1 && n <= kLineCount)
        setLineFont(ws, n, faceForOk(chosenFace_, ws.page.line(n).fontName), chosenSize_);
    accept();
}

void TbFontForm::BitBtn2Click()
{
    reject(); // the rejected handler writes the entry values back
}

} // namespace lumavo
