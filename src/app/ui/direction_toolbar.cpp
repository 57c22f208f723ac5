#include "app/ui/direction_toolbar.h"

#include "app/ui/pictures.h"

#include <QHBoxLayout>
#include <QLinearGradient>
#include <QPainter>
#include <QToolButton>

namespace lumavo {

namespace {
constexpr int kDirectionToolbarHeight = 28;
} // namespace

DirectionToolbar::DirectionToolbar(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("directiontoolbar"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 1, 2, 1);
    layout->setSpacing(0);
    auto button = [this, layout](const QString& name, int image, const QString& hint) {
        auto* b = new QToolButton(this);
        b->setObjectName(name);
        b->setIcon(directionPicture(image));
        b->setIconSize(QSize(kDirectionPictureSize, kDirectionPictureSize));
        b->setAutoRaise(true);
        b->setToolTip(hint);
        layout->addWidget(b);
        return b;
    };
    auto separator = [this, layout] {
        auto* line = new QFrame(this);
        line->setFrameShape(QFrame::VLine);
        line->setFrameShadow(QFrame::Sunken);
        layout->addSpacing(3);
        layout->addWidget(line);
        layout->addSpacing(3);
    };
    static const std::array<const char*, 13> kHints{
        "Diagonal from upper left", "Diagonal from lower right", "Diagonal from lower left",
        "Diagonal from upper right", "From the left", "From the right", "From the top", "From the bottom",
        "Unroll from the left", "Unroll from the right", "Drawn path", "Fade", "Appear"};
    for (int code = 1; code <= 13; ++code) {
        QToolButton* b = button(lineName("dir", code), code - 1, QString::fromLatin1(kHints[static_cast<std::size_t>(code - 1)]));
        dirButtons_[static_cast<std::size_t>(code - 1)] = b;
        connect(b, &QToolButton::clicked, this, [this, code] { emit directionClicked(code); });
    }
    separator();
    static const std::array<const char*, 3> kToggleHints{"Filter", "Gradient", "Shadow"};
    for (int n = 1; n <= 3; ++n) {
        QToolButton* b = button(lineName("SpeedButton", n), 15 + n, QString::fromLatin1(kToggleHints[static_cast<std::size_t>(n - 1)]));
        b->setCheckable(true);
        speedButtons_[static_cast<std::size_t>(n - 1)] = b;
        connect(b, &QToolButton::clicked, this, [this, n] { emit toggleClicked(n); });
    }
    separator();
    auto textButton = [this, layout](const QString& name, const QString& text, const QString& hint) {
        auto* b = new QToolButton(this);
        b->setObjectName(name);
        b->setText(text);
        b->setToolTip(hint);
        b->setAutoRaise(true);
        layout->addWidget(b);
        return b;
    };
    QToolButton* colour = textButton(QStringLiteral("ToolButton13"), {}, QStringLiteral("Text color"));
    QPixmap swatch(16, 16);
    swatch.fill(Qt::transparent);
    {
        QPainter p(&swatch);
        p.setPen(Qt::black);
        QLinearGradient g(0, 0, 16, 0);
        g.setColorAt(0, Qt::red);
        g.setColorAt(0.5, Qt::green);
        g.setColorAt(1, Qt::blue);
        p.setBrush(g);
        p.drawRect(1, 1, 13, 13);
    }
    colour->setIcon(swatch);
    connect(colour, &QToolButton::clicked, this, &DirectionToolbar::colourClicked);
    QToolButton* font = textButton(QStringLiteral("fontbutton"), QStringLiteral("F"), QStringLiteral("Font"));
    font->setFont(arialBold(14));
    connect(font, &QToolButton::clicked, this, &DirectionToolbar::fontClicked);
    QToolButton* close = textButton(QStringLiteral("ToolButton9"), QStringLiteral("X"), QStringLiteral("Close"));
    connect(close, &QToolButton::clicked, this, &DirectionToolbar::closeClicked);
    setFixedSize(sizeHint().width(), kDirectionToolbarHeight);
    hide();
}

QToolButton* DirectionToolbar::directionButton(int code) const { return dirButtons_.at(static_cast<std::size_t>(code - 1)); }
QToolButton* DirectionToolbar::toggleButton(int number) const { return speedButtons_.at(static_cast<std::size_t>(number - 1)); }

void DirectionToolbar::showToggles(const TitleLine& line)
{
    toggleButton(1)->setChecked(line.archOn);
    toggleButton(2)->setChecked(line.gradOn);
    toggleButton(3)->setChecked(line.shadowOn);
}

} // namespace lumavo
