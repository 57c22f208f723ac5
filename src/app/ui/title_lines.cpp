#include "app/ui/title_lines.h"

#include "app/app_shell.h"
#include "app/ui/pictures.h"
#include "compose/picture_files.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/ui/qt_prompter.h"
#include "storage/file_lookup.h"
#include "storage/project.h"

#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>
#include <QPixmap>
#include <QSignalBlocker>
#include <QToolButton>

namespace lumavo {

namespace {

constexpr int kEditHeight = 44;
constexpr int kTitleButtonWidth = 24;
constexpr int kStripWidth = 13;
constexpr int kPreviewSize = 26;
constexpr int kEditPixelHeight = 32;
constexpr int kEditMargin = 120;   // window width less the edit box width

const std::array<QColor, kLineCount> kStripColors{QColor(255, 0, 0), QColor(255, 255, 255), QColor(0, 0, 255)};
const std::array<QString, kLineCount> kLineWords{QStringLiteral(" for line one?"), QStringLiteral(" for line two?"),
                                                QStringLiteral(" for line three?")};

} // namespace

TitleLines::TitleLines(AppContext& context, QWidget* parent) : QWidget(parent), context_(context)
{
    setObjectName(QStringLiteral("TitleLines"));
    setGeometry(0, 0, kMainWindowWidth, kHeight);
    inLabel_ = new QLabel(QStringLiteral("IN"), this);
    inLabel_->setObjectName(QStringLiteral("InLabel"));
    inLabel_->setFont(arialBold(13));
    inLabel_->setGeometry(20, 8, 30, 18);
    outLabel_ = new QLabel(QStringLiteral("OUT"), this);
    outLabel_->setObjectName(QStringLiteral("OutLabel"));
    outLabel_->setFont(arialBold(13));
    for (int k = 1; k <= kLineCount; ++k)
        buildRow(k);
}

void TitleLines::buildRow(int k)
{
    Row& row = rows_[static_cast<std::size_t>(k - 1)];
    const int top = kLineTop + (k - 1) * kLineSpacing;
    const QColor stripColor = kStripColors[static_cast<std::size_t>(k - 1)];
    auto strip = [&](const QString& name) {
        auto* frame = new QFrame(this);
        frame->setObjectName(name);
        frame->setAutoFillBackground(true);
        QPalette pal = frame->palette();
        pal.setColor(QPalette::Window, stripColor);
        frame->setPalette(pal);
        frame->setGeometry(0, top, kStripWidth, kEditHeight);
        return frame;
    };
    auto titleButton = [&](const QString& name, const QString& hint, int image) {
        auto* button = new QToolButton(this);
        button->setObjectName(name);
        button->setToolTip(hint);
        button->setIconSize(QSize(kDirectionPictureSize, kDirectionPictureSize));
        button->setIcon(directionPicture(image));   // the design state until a page is shown
        button->setGeometry(0, top, kTitleButtonWidth, kEditHeight);
        return button;
    };
    row.inButton = titleButton(lineName("t", k, "dirbutton"), QStringLiteral("IN direction"), 4);
    row.leftStrip = strip(lineName("LeftStrip", k));
    row.edit = new QLineEdit(this);
    row.edit->setObjectName(lineName("Edit", k));
    row.edit->setMaxLength(kTextCapacity);   // what the page holds is what the box shows
    row.edit->setGeometry(0, top, kMainWindowWidth - kEditMargin, kEditHeight);
    QPalette pal = row.edit->palette();
    pal.setColor(QPalette::Base, Qt::black);
    pal.setColor(QPalette::Text, Qt::white);
    row.edit->setPalette(pal);
    row.edit->setContextMenuPolicy(Qt::CustomContextMenu);
    row.edit->installEventFilter(this);   // picture files dropped from the file manager
    row.rightStrip = strip(lineName("RightStrip", k));
    row.outButton = titleButton(lineName("T", k, "DirOutButton"), QStringLiteral("OUT direction"), 5);
    row.preview = new QLabel(this);
    row.preview->setObjectName(lineName("PreVuImage", k));
    row.preview->setGeometry(20, top + kEditHeight + 3, kPreviewSize, kPreviewSize);
    row.preview->setScaledContents(true);
    row.preview->hide();
    row.fileLabel = new QLabel(this);
    row.fileLabel->setObjectName(lineName("image", k, "label"));
    row.fileLabel->setGeometry(0, top + kEditHeight + 1, kMainWindowWidth - kEditMargin, 16);

    connect(row.inButton, &QToolButton::clicked, this, [this, k] { emit directionRequested(k, PathSide::In); });
    connect(row.outButton, &QToolButton::clicked, this, [this, k] { emit directionRequested(k, PathSide::Out); });
    connect(row.edit, &QLineEdit::textChanged, this, [this, k](const QString& text) {
        edit(k)->setLayoutDirection(textDirection(text));
        emit textChanged(k, text);
    });
    connect(row.edit, &QLineEdit::customContextMenuRequested, this,
            [this, k](const QPoint& at) { emit menuRequested(k, edit(k)->mapToGlobal(at)); });
    applyEditFont(k);
}

bool TitleLines::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QWidget::eventFilter(watched, event);
    auto* drop = static_cast<QDropEvent*>(event);
    const QList<QUrl> urls = drop->mimeData()->urls();
    const QString path = urls.size() == 1 && urls.front().isLocalFile() ? urls.front().toLocalFile() : QString();
    if (path.isEmpty() || !isPictureFileName(path))
        return QWidget::eventFilter(watched, event);   // text drops stay the edit box's own
    drop->acceptProposedAction();
    if (type == QEvent::Drop) {
        for (int k = 1; k <= kLineCount; ++k)
            if (watched == edit(k))
                emit pictureDropped(k, path);
    }
    return true;
}

QLineEdit* TitleLines::edit(int line) const { return row(line).edit; }
QToolButton* TitleLines::inButton(int line) const { return row(line).inButton; }
QToolButton* TitleLines::outButton(int line) const { return row(line).outButton; }
QLabel* TitleLines::preview(int line) const { return row(line).preview; }
QLabel* TitleLines::fileLabel(int line) const { return row(line).fileLabel; }

TitleRowLayout TitleLines::layoutRows(int windowWidth, int directionToolbarWidth)
{
    TitleRowWidths widths;
    widths.inButton = kTitleButtonWidth;
    widths.strip = kStripWidth;
    widths.outButton = kTitleButtonWidth;
    widths.directionToolbar = directionToolbarWidth;
    const TitleRowLayout layout = layoutTitleRow(windowWidth, widths);
    resize(windowWidth, kHeight);
    for (Row& r : rows_) {
        r.inButton->move(layout.inLeft, r.inButton->y());
        r.leftStrip->move(layout.leftStripLeft, r.leftStrip->y());
        r.edit->setGeometry(layout.editLeft, r.edit->y(), layout.editWidth, r.edit->height());
        r.outButton->move(layout.outLeft, r.outButton->y());
        r.rightStrip->move(layout.rightStripLeft, r.rightStrip->y());
    }
    outLabel_->setGeometry(layout.outLabelLeft, 8, 40, 18);
    ShowIMagelab();
    return layout;
}

void TitleLines::showTexts()
{
    for (int k = 1; k <= kLineCount; ++k) {
        QLineEdit* box = edit(k);
        const QString& text = context_.workspace.page.line(k).text;
        if (box->text() != text) {
            const QSignalBlocker block(box);
            box->setText(text);
            box->setLayoutDirection(textDirection(text));
        }
    }
}

void TitleLines::applyEditFont(int line)
{
    const TitleLine& title = context_.workspace.page.line(line);
    QLineEdit* box = edit(line);
    QFont font(title.fontName);
    font.setPixelSize(kEditPixelHeight);
    font.setBold(title.fontStyle & kStyleBold);
    font.setItalic(title.fontStyle & kStyleItalic);
    font.setUnderline(title.fontStyle & kStyleUnderline);
    font.setStrikeOut(title.fontStyle & kStyleStrikeOut);
    box->setFont(font);
    QPalette pal = box->palette();
    pal.setColor(QPalette::Text, toQColor(title.fontColor));
    box->setPalette(pal);
}

void TitleLines::showDirection(PathSide side, int line, const QIcon& icon, int code)
{
    QToolButton* button = side == PathSide::In ? inButton(line) : outButton(line);
    button->setIcon(icon);
    button->setProperty("directionCode", code);
}

void TitleLines::clearPicture(int line)
{
    fileLabel(line)->clear();
    preview(line)->hide();
}

bool TitleLines::loadbimage(const QString& name, QLabel* image, QLabel* label)
{
    label->setText(name);
    const QString found = resolveStoredPath(name, context_.workspace.project.projectDir);
    // The one picture loader, with its size and truncation guards.
    Bitmap picture;
    if (found.isEmpty() || !picture.loadFromFile(found)) {
        context_.prompter.message(QStringLiteral("Error opening graphics file: ") + name, MessageIcon::Error);
        return false;
    }
    image->setPixmap(QPixmap::fromImage(picture.toImage()));
    image->setProperty("previewFile", name);
    image->setScaledContents(true);
    image->show();
    ShowIMagelab();
    return true;
}

void TitleLines::loadprevus()
{
    for (int k = 1; k <= kLineCount; ++k) {
        const QString name = context_.workspace.page.line(k).bitmapFile;
        QLabel* image = preview(k);
        // A preview left over from another page or picture is not this line's preview.
        if (image->property("previewFile").toString() != name) {
            image->hide();
            image->clear();
            image->setProperty("previewFile", QString());
            if (name.isEmpty())
                fileLabel(k)->clear();
        }
        const bool empty = image->pixmap().isNull() || image->isHidden();
        if (name.isEmpty() || !empty)
            continue;
        if (!loadbimage(name, image, fileLabel(k))) {
            const QString where = (QStringLiteral(" Where is ") + name).left(90);
            pmsg(context_.prompter, where + kLineWords[static_cast<std::size_t>(k - 1)]);
        }
    }
}

void TitleLines::ShowIMagelab()
{
    for (int k = 1; k <= kLineCount; ++k) {
        const QString& name = context_.workspace.page.line(k).bitmapFile;
        if (name.isEmpty())
            continue;
        const QLineEdit* box = edit(k);
        QLabel* label = fileLabel(k);
        label->setGeometry(box->x(), box->y() + box->height() + (k == 1 ? 1 : 0), box->width(), label->height());
        label->setText(name);
    }
}

} // namespace lumavo
