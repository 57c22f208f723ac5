#include "align/ui/alignment_screen.h"

#include "compose/ui/tbmp.h"
#include "platform/bitmap_dialogs.h"
#include "storage/page_edits.h"
#include "playback/stage_surface.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>
#include <QProgressBar>
#include <QStyle>
#include <QToolButton>
#include <algorithm>

namespace lumavo {

namespace {

constexpr int kPanelWidth = 76;
constexpr int kPanelHeight = 321;
constexpr int kPanelRightOffset = 75;   // the panel's left edge is this far from the screen's right
constexpr int kPanelTop = 6;
constexpr int kTimerIntervalMs = 250;

bool leftButtonAlone(const QMouseEvent& event)
{
    return event.buttons() == Qt::LeftButton && event.modifiers() == Qt::NoModifier;
}

// Shrinks the label's font until its text fits its width (the panel is narrow and fixed).
void fitTextWidth(QLabel& label)
{
    QFont font = label.font();
    int pixels = QFontInfo(font).pixelSize();
    while (pixels > 7 && QFontMetrics(font).horizontalAdvance(label.text()) > label.width() - 2)
        font.setPixelSize(--pixels);
    label.setFont(font);
}

QString colorSheet(Color c)
{
    return QStringLiteral("background-color: rgb(%1, %2, %3);").arg(redOf(c)).arg(greenOf(c)).arg(blueOf(c));
}

} // namespace

// A title image while the screen is open; the image is a child of the stage.
struct AlignmentScreen::Title {
    QPointer<Tbmp> image;
    ~Title() { delete image.data(); }
    // True when the title has a picture to show, drag and save.
    bool shown() const { return image != nullptr && !image->picture().isEmpty(); }
};

AlignmentScreen::AlignmentScreen(AppContext& context, QWidget& stage, StageSurface& surface)
    : QObject(&stage), context_(context), stage_(stage), surface_(surface), paths_(context.workspace)
{
    timer_.setInterval(kTimerIntervalMs);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &AlignmentScreen::Timer1Timer);
    buildPanel();
    stage_.installEventFilter(this);
}

AlignmentScreen::~AlignmentScreen() { dropTitles(); }

AlignmentScreen& AlignmentScreen::attachTo(TCan& stage, AppContext& context)
{
    auto screen = std::make_unique<AlignmentScreen>(context, stage, stage);
    AlignmentScreen& attached = *screen;
    stage.setAlignment(std::move(screen));
    return attached;
}

void AlignmentScreen::hidePanel() { panel_->hide(); }

// ---- the panel -------------------------------------------------------------------------------

void AlignmentScreen::buildPanel()
{
    panel_ = new QFrame(&stage_);
    panel_->setObjectName(QStringLiteral("Panel1"));
    panel_->setFrameStyle(QFrame::Box | QFrame::Plain);
    panel_->setLineWidth(1);
    panel_->setFixedSize(kPanelWidth, kPanelHeight);
    panel_->setCursor(Qt::PointingHandCursor);
    // The panel keeps the desktop's colours, not the black palette of the stage it sits on.
    QPalette own = QApplication::palette();
    own.setResolveMask(~QPalette::ResolveMask(0));
    panel_->setPalette(own);
    panel_->setAutoFillBackground(true);
    panel_->installEventFilter(this);

    toolBar_ = new QWidget(panel_);
    toolBar_->setObjectName(QStringLiteral("ToolBar1"));
    toolBar_->installEventFilter(this);

    QStyle* style = stage_.style();
    auto button = [this](const char* name, const QString& hint) {
        auto* b = new QToolButton(toolBar_);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(hint);
        b->setCursor(Qt::ArrowCursor);
        b->setFocusPolicy(Qt::NoFocus);   // the arrow keys stay with the stage (nudging)
        return b;
    };
    hideButton_ = button("ToolButton4", QStringLiteral("Hide Panel"));
    hideButton_->setIcon(style->standardIcon(QStyle::SP_TitleBarMinButton));
    exitButton_ = button("ToolButton1", QStringLiteral("Exit Alignment Screen"));
    exitButton_->setIcon(style->standardIcon(QStyle::SP_DialogCloseButton));

    static constexpr std::array<const char*, 6> kNames{"P1In", "P1Out", "P2In", "P2Out", "P3In", "P3Out"};
    pathGroup_ = new QButtonGroup(this);
    pathGroup_->setExclusive(true);
    for (std::size_t i = 0; i < kAllPaths.size(); ++i) {
        const PathId id = kAllPaths[i];
        const QString hint = QStringLiteral("%1 #%2").arg(id.side == PathSide::In ? "IN" : "OUT").arg(id.line);
        QToolButton* b = button(kNames[i], hint);
        b->setText(QString::number(id.line));
        b->setCheckable(true);
        pathGroup_->addButton(b);
        connect(b, &QToolButton::clicked, this, [this, id] { pathButtonClick(id); });
        pathButtons_[i] = b;
    }
    resetButton_ = button("ToolButton10", QStringLiteral("Reset Current Path"));
    resetButton_->setIcon(style->standardIcon(QStyle::SP_DialogResetButton));
    resetButton_->setCheckable(true);
    pathGroup_->addButton(resetButton_);
    connect(resetButton_, &QToolButton::clicked, this, [this] { paths_.releasePath(); });
    helpButton_ = button("ToolButton11", QStringLiteral("Help"));
    helpButton_->setIcon(style->standardIcon(QStyle::SP_MessageBoxQuestion));
    infoButton_ = button("ToolButton2", QStringLiteral("Project Information"));
    infoButton_->setIcon(style->standardIcon(QStyle::SP_FileDialogInfoView));

    connect(hideButton_, &QToolButton::pressed, this, [this] {
        panel_->hide();
        stage_.repaint();
    });
    connect(hideButton_, &QToolButton::released, this, [this] {
        QCoreApplication::processEvents();
        panel_->show();
    });
    connect(exitButton_, &QToolButton::clicked, this, &AlignmentScreen::ExitAlignClick);
    connect(helpButton_, &QToolButton::clicked, this, &AlignmentScreen::helpRequested);
    connect(infoButton_, &QToolButton::clicked, this, &AlignmentScreen::projectInfoRequested);

    gridBox_ = new QCheckBox(QStringLiteral("Grid"), panel_);
    gridBox_->setObjectName(QStringLiteral("CheckBox1"));
    gridBox_->setCursor(Qt::ArrowCursor);
    gridBox_->setFocusPolicy(Qt::NoFocus);
    connect(gridBox_, &QCheckBox::clicked, this, [this](bool checked) { showgrid(checked); });

    countLabel_ = new QLabel(QStringLiteral("0"), panel_);
    countLabel_->setObjectName(QStringLiteral("CountLabel"));
    countLabel_->setAlignment(Qt::AlignCenter);
    gauge_ = new QProgressBar(panel_);
    gauge_->setObjectName(QStringLiteral("PathGauge"));
    gauge_->setOrientation(Qt::Vertical);
    gauge_->setRange(0, kMaxPathCount);
    gauge_->setValue(0);
    gauge_->setTextVisible(false);
    gauge_->setToolTip(QStringLiteral("Remaining Path Length"));
    gauge_->setStyleSheet(QStringLiteral("QProgressBar { background-color: rgb(255, 0, 0); border: 1px solid black; }"
                                         "QProgressBar::chunk { background-color: rgb(0, 128, 0); }"));

    readout_ = new QLabel(&stage_);
    readout_->setObjectName(QStringLiteral("PositionReadout"));
    readout_->setStyleSheet(QStringLiteral("background-color: black; color: white; padding: 1px;"));
    readout_->setAttribute(Qt::WA_TransparentForMouseEvents);
    readout_->hide();

    layoutPanel();
    panel_->hide();
}

void AlignmentScreen::layoutPanel()
{
    // Tool bar rows, two buttons wide, with a colour chip at each side of the path rows.
    constexpr int kLeft = 7, kRight = 39, kButtonW = 30, kButtonH = 24, kRowStep = 26;
    auto separator = [this](int y) {
        auto* line = new QFrame(toolBar_);
        line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
        line->setGeometry(2, y, kPanelWidth - 6, 2);
    };
    toolBar_->setGeometry(1, 1, kPanelWidth - 2, 184);
    int y = 2;
    hideButton_->setGeometry(kLeft, y, kButtonW, kButtonH);
    exitButton_->setGeometry(kRight, y, kButtonW, kButtonH);
    y += kRowStep;
    separator(y);
    y += 3;
    auto* header = new QLabel(QStringLiteral("In     Out     "), toolBar_);
    header->setGeometry(kLeft, y, kPanelWidth - kLeft - 2, 14);
    y += 15;
    for (int line = 1; line <= kLineCount; ++line) {
        const std::size_t i = static_cast<std::size_t>(line - 1) * 2;
        pathButtons_[i]->setGeometry(kLeft, y, kButtonW, kButtonH);
        pathButtons_[i + 1]->setGeometry(kRight, y, kButtonW, kButtonH);
        for (const int chipX : {2, kRight + kButtonW + 1}) {
            auto* chip = new QFrame(toolBar_);
            chip->setGeometry(chipX, y + 4, 4, kButtonH - 8);
            chip->setStyleSheet(colorSheet(pathColor(line)));
        }
        y += kRowStep;
    }
    resetButton_->setGeometry(kLeft, y, kButtonW, kButtonH);
    helpButton_->setGeometry(kRight, y, kButtonW, kButtonH);
    y += kRowStep;
    infoButton_->setGeometry(kLeft, y, kButtonW, kButtonH);
    y += kRowStep;
    separator(y);

    gridBox_->setGeometry(6, 188, kPanelWidth - 8, 18);
    auto* caption = new QLabel(QStringLiteral("Path Length"), panel_);
    caption->setObjectName(QStringLiteral("PathLengthCaption"));
    caption->setGeometry(2, 208, kPanelWidth - 4, 14);
    caption->setAlignment(Qt::AlignCenter);
    fitTextWidth(*caption);
    countLabel_->setGeometry(2, 224, kPanelWidth - 4, 14);
    gauge_->setGeometry((kPanelWidth - 20) / 2, 240, 20, kPanelHeight - 240 - 5);
}

void AlignmentScreen::showPanel()
{
    panel_->move(stage_.width() - kPanelRightOffset, kPanelTop);
    panel_->show();
    panel_->raise();
    if (gridBox_->isChecked())
        showgrid(true);
}

QToolButton* AlignmentScreen::pathButton(PathId id) const
{
    const auto it = std::find(kAllPaths.begin(), kAllPaths.end(), id);
    return it == kAllPaths.end() ? nullptr : pathButtons_[static_cast<std::size_t>(it - kAllPaths.begin())];
}

Tbmp* AlignmentScreen::titleImage(int n) const
{
    const auto& title = titles_.at(static_cast<std::size_t>(n - 1));
    return title && title->shown() ? title->image.data() : nullptr;
}

// ---- opening and closing ---------------------------------------------------------------------

void AlignmentScreen::EnterAlignment()
{
    Workspace& ws = context_.workspace;
    surface_.enableStage();
    setAlignActive(ws, true);
    alignmentOpened(ws);   // what the screen changes until it closes is one edit of the page

    // InitImageScreen: a black stage over the whole screen, with the default cursor in this mode.
    Bitmap& back = surface_.backBuffer();
    back.canvas().brush = {kBlack, BrushStyle::Solid};
    back.canvas().copyMode = RasterOp::SrcCopy;
    back.canvas().fillRect({0, 0, back.width(), back.height()});
    surface_.showForPlayback();
    surface_.pumpMessages();
    presentAll();
    showPanel();

    for (std::size_t i = 0; i < kAllPaths.size(); ++i)
        pathButtons_[i]->setEnabled(paths_.pathEnabled(kAllPaths[i]));
    toolBar_->show();
    countLabel_->show();
    gauge_->show();
    gauge_->setRange(0, kMaxPathCount);

    if (paths_.anyPathDrawn()) {
        paths_.showAllPaths(canvas());
        timer_.start();
    }
    composeTitles();
    presentAll();
}

void AlignmentScreen::composeTitles()
{
    Workspace& ws = context_.workspace;
    const Point screen = surface_.screenSize();
    ComposeFormats formats = surface_.composeFormats();
    formats.smooth = ws.project.smoothEdges;
    for (int n = 1; n <= kLineCount; ++n) {
        auto& slot = titles_[static_cast<std::size_t>(n - 1)];
        slot.reset();
        if (!ws.page.line(n).titleValid)
            continue;
        slot = std::make_unique<Title>();
        slot->image = setupImage(ws, context_.prompter, n, formats, &stage_,
                                 QSize(screen.x, screen.y), pixelRatio()).release();
        if (!slot->shown())
            continue;
        Tbmp& image = *slot->image;
        image.installEventFilter(this);
        image.show();
        canvas().copyMode = RasterOp::SrcCopy;
        canvas().draw(image.left(), image.top(), image.picture());
        if (selected_ == 0)
            selected_ = n;
    }
    panel_->raise();
}

void AlignmentScreen::dropTitles()
{
    selected_ = 0;
    drag_ = DragKind::None;
    dragged_ = nullptr;
    for (auto& title : titles_)
        title.reset();
}

void AlignmentScreen::ExitAlignClick()
{
    Workspace& ws = context_.workspace;
    setAlignActive(ws, false);
    timer_.stop();

    // A title whose picture failed has no image to read: it keeps the rest position it had.
    std::array<Point, kLineCount> where{};
    for (int n = 1; n <= kLineCount; ++n) {
        const Tbmp* image = titleImage(n);
        where[static_cast<std::size_t>(n - 1)] = image ? Point{image->left(), image->top()} : ws.stage.restOf(n);
    }
    paths_.takeRestPositions(where);
    alignmentClosed(ws);

    countLabel_->hide();
    toolBar_->hide();
    gauge_->hide();
    panel_->hide();
    readout_->hide();
    dropTitles();
    surface_.closeStage();
    emit closed();
}

// ---- paths ---------------------------------------------------------------------------------

void AlignmentScreen::clearPathOnStage(PathId id)
{
    paths_.clearPath(canvas(), id);
    presentAll();
}

void AlignmentScreen::clearInPath(int line)
{
    if (line >= 1 && line <= kLineCount)
        clearPathOnStage({line, PathSide::In});
}

void AlignmentScreen::clearOutPath(int line)
{
    if (line >= 1 && line <= kLineCount)
        clearPathOnStage({line, PathSide::Out});
}

void AlignmentScreen::pathButtonClick(PathId id)
{
    paths_.choosePath(canvas(), id);
    presentAll();
}

void AlignmentScreen::showCount()
{
    const int count = paths_.currentCount();
    countLabel_->setText(QString::number(count));
    gauge_->setValue(std::clamp(count, 0, kMaxPathCount));
}

void AlignmentScreen::showgrid(bool on)
{
    if (on)
        timer_.start();
    drawGrid(canvas(), on);
    drawSafeAreas(canvas(), on);
    presentAll();
}

void AlignmentScreen::Timer1Timer()
{
    paths_.timerTick(canvas(), gridBox_->isChecked());
    if (gridBox_->isChecked())
        drawSafeAreas(canvas(), true);
    presentAll();
}

// ---- drawing helpers ---------------------------------------------------------------------------

Canvas& AlignmentScreen::canvas() { return surface_.backBuffer().canvas(); }

qreal AlignmentScreen::pixelRatio() const
{
    return stage_.width() > 0 ? static_cast<qreal>(surface_.screenSize().x) / stage_.width() : 1.0;
}

Point AlignmentScreen::toStagePixels(QPointF logical) const
{
    const qreal ratio = pixelRatio();
    return {qRound(logical.x() * ratio), qRound(logical.y() * ratio)};
}

void AlignmentScreen::presentAll()
{
    const Bitmap& back = surface_.backBuffer();
    surface_.present({0, 0, back.width(), back.height()});
}

TitlePictures AlignmentScreen::pictures() const
{
    TitlePictures result{};
    for (std::size_t i = 0; i < titles_.size(); ++i) {
        if (const Tbmp* image = titleImage(static_cast<int>(i) + 1))
            result[i] = {&image->picture(), {image->left(), image->top()}};
    }
    return result;
}

// ---- the mouse -------------------------------------------------------------------------------

bool AlignmentScreen::eventFilter(QObject* watched, QEvent* event)
{
    if (!context_.workspace.editor.alignActive)
        return false;
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress && watched == &stage_)
        return nudgeKey(static_cast<QKeyEvent&>(*event));
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseButtonDblClick)
        return false;
    auto& mouse = static_cast<QMouseEvent&>(*event);
    const QPoint stagePos = stage_.mapFromGlobal(mouse.globalPosition().toPoint());

    if (drag_ != DragKind::None) {
        if (type == QEvent::MouseMove) {
            CanDragOver(stagePos);
        } else if (type == QEvent::MouseButtonRelease && mouse.buttons() == Qt::NoButton) {
            const bool wasTitle = drag_ == DragKind::Title;
            FormDragDrop();
            if (wasTitle)
                FormMouseUp();
        }
        return true;
    }

    if (watched == &stage_) {
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)
            FormMouseDown(mouse);
        else if (type == QEvent::MouseMove)
            FormMouseMove(mouse);
        else
            FormMouseUp();
        return true;
    }
    if (watched == toolBar_) {
        if (type == QEvent::MouseButtonPress)
            timer_.stop();   // ToolBar1Click
        return true;
    }
    if (watched == panel_) {
        if (type == QEvent::MouseButtonPress && mouse.button() == Qt::LeftButton)
            beginDrag(DragKind::Panel, panel_, stagePos);
        return true;
    }
    for (int n = 1; n <= kLineCount; ++n) {
        if (watched != titleImage(n))
            continue;
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)
            ImageMouseDown(n, mouse, stagePos);
        else if (type == QEvent::MouseButtonRelease)
            FormMouseUp();
        return true;
    }
    return false;
}

void AlignmentScreen::FormMouseDown(QMouseEvent& event)
{
    timer_.stop();
    readout_->hide();
    paths_.mouseDown(canvas(), toStagePixels(event.position()), event.button() == Qt::LeftButton && leftButtonAlone(event),
                     pictures());
    presentAll();
}

void AlignmentScreen::FormMouseMove(QMouseEvent& event)
{
    const Point from = canvas().penPosition();
    if (!paths_.mouseMove(canvas(), toStagePixels(event.position()), leftButtonAlone(event)))
        return;
    const Point to = canvas().penPosition();
    surface_.present({std::min(from.x, to.x) - 2, std::min(from.y, to.y) - 2, std::max(from.x, to.x) + 3,
                      std::max(from.y, to.y) + 3});
    showCount();
}

void AlignmentScreen::FormMouseUp()
{
    paths_.mouseUp(canvas(), pictures());
    presentAll();
    timer_.start();
}

void AlignmentScreen::ImageMouseDown(int n, QMouseEvent& event, QPoint stagePos)
{
    if (event.button() == Qt::RightButton && event.buttons() == Qt::RightButton) {
        saveTitlePicture(n);
    } else if (event.button() == Qt::LeftButton) {
        selected_ = n;
        beginDrag(DragKind::Title, titleImage(n), stagePos);
    }
}

void AlignmentScreen::beginDrag(DragKind kind, QWidget* widget, QPoint stagePos)
{
    drag_ = kind;
    dragged_ = widget;
    widget->setCursor(Qt::DragMoveCursor);
    // The point grabbed stays under the pointer: a title's in stage pixels, the panel's in logical ones.
    if (const auto* image = qobject_cast<Tbmp*>(widget)) {
        const Point mouse = toStagePixels(stagePos);
        grab_ = {mouse.x - image->left(), mouse.y - image->top()};
    } else {
        grab_ = {stagePos.x() - widget->x(), stagePos.y() - widget->y()};
    }
}

void AlignmentScreen::CanDragOver(QPoint stagePos)
{
    timer_.stop();
    if (auto* image = qobject_cast<Tbmp*>(dragged_.data())) {
        const Point mouse = toStagePixels(stagePos);
        moveTitle(*image, {mouse.x - grab_.x, mouse.y - grab_.y});
    } else if (dragged_ != nullptr) {
        dragged_->move(stagePos - QPoint(grab_.x, grab_.y));
        dragged_->raise();
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void AlignmentScreen::moveTitle(Tbmp& image, Point place)
{
    const Point from{image.left(), image.top()};
    moveTitlePicture(canvas(), image.picture(), from, place);
    image.placeAt(place);
    image.raise();
    const int w = image.picture().width(), h = image.picture().height();
    surface_.present({std::min(from.x, place.x), std::min(from.y, place.y), std::max(from.x, place.x) + w,
                      std::max(from.y, place.y) + h});
    showReadout(image);
}

void AlignmentScreen::showReadout(const Tbmp& image)
{
    int line = 0;
    for (int n = 1; n <= kLineCount; ++n)
        if (titleImage(n) == &image)
            line = n;
    readout_->setText(
        QStringLiteral("Title %1   Hori Pos: %2 Vert Pos: %3").arg(line).arg(image.left()).arg(image.top()));
    readout_->adjustSize();
    // Just above the title's top-left corner (below it at the top of the screen).
    const QPoint corner = image.pos();
    int top = corner.y() - readout_->height() - 2;
    if (top < 0)
        top = corner.y() + image.height() + 2;
    readout_->move(std::clamp(corner.x(), 0, std::max(0, stage_.width() - readout_->width())),
                   std::clamp(top, 0, std::max(0, stage_.height() - readout_->height())));
    readout_->show();
    readout_->raise();
}

bool AlignmentScreen::nudgeKey(QKeyEvent& event)
{
    int dx = 0, dy = 0;
    switch (event.key()) {
    case Qt::Key_Left: dx = -1; break;
    case Qt::Key_Right: dx = 1; break;
    case Qt::Key_Up: dy = -1; break;
    case Qt::Key_Down: dy = 1; break;
    default: return false;
    }
    Tbmp* image = selected_ != 0 ? titleImage(selected_) : nullptr;
    if (image == nullptr || drag_ != DragKind::None)
        return true;
    const int step = event.modifiers().testFlag(Qt::ShiftModifier) ? 10 : 1;
    moveTitle(*image, {image->left() + dx * step, image->top() + dy * step});
    return true;
}

void AlignmentScreen::FormDragDrop()
{
    if (dragged_ != nullptr)
        dragged_->setCursor(Qt::PointingHandCursor);
    drag_ = DragKind::None;
    dragged_ = nullptr;
    readout_->hide();
    timer_.start();
}

// ---- saving a title's picture ----------------------------------------------------------------------

void AlignmentScreen::saveTitlePicture(int n)
{
    const Tbmp* image = titleImage(n);
    if (image == nullptr)
        return;
    saveBitmapAs(image->picture(), context_.prompter);
}

} // namespace lumavo
