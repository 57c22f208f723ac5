#include "storage/ui/project_info_window.h"

#include "storage/page_record.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>
#include <array>
#include <utility>

namespace lumavo {

namespace {

constexpr int kClientWidth = 530;
constexpr int kClientHeight = 380;

// One row of the three per-line columns: its captions for lines 1..3 and the value label's name
// (a record field's name, with the line number added, for the rows that show one).
struct LineRow {
    std::array<const char*, kLineCount> captions;
    const char* name;
    const char* placeholder;   // shown when the row is not filled
};

const std::array<LineRow, 13> kLineRows = {{
    {{"Img1Yend", "Img2Yend", "Img3end"}, "RestLeft", ""},
    {{"Img1Xend", "Img2Xend", "Img3Xend"}, "RestTop", ""},
    {{"Grad Color", "Grad Color", "Grad Color"}, "GradColor", ""},
    {{"Pix Height ", "Pix Height ", "Pix Height "}, "pixHeight", "?"},
    {{"Brush Color", "Brush Color", "Brush Color"}, "brushColor", "Label71"},
    {{"Font Color", "Font Color", "Font Color"}, "FontColor", ""},
    {{"Shadow Color", "Shadow Color", "Shadow Color"}, "ShadowColor", ""},
    {{"Font Size", "Font Size", "Font Size"}, "FontSize", ""},
    {{"Font Name", "Font Name", "Font Name"}, "FontName", ""},
    {{"Y Pos", "Y Pos", "Y Pos"}, "yPos", "?"},
    {{"X Pos", "X Pos", "X Pos"}, "xPos", "?"},
    {{"", "", ""}, "spare", "Label67"},
    {{"Pix Bits", "Pix Bits", "Pix Bits"}, "pixBits", "Label76"},
}};

QString lineValidityText(const TitleLine& line, int k)
{
    return line.titleValid ? QStringLiteral("Valid") : QStringLiteral("%1-Not Valid").arg(k);
}

} // namespace

Tbdebug::Tbdebug(AppContext& context, QWidget* parent) : QDialog(parent), context_(context)
{
    setWindowTitle(QStringLiteral("Lumavo"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(false);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    setFont(font);
    resize(kClientWidth, kClientHeight);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 6, 8, 6);
    outer->setSpacing(4);

    auto* top = new QHBoxLayout;
    auto* heading = new QLabel(QStringLiteral("Stored Params"), this);
    QFont headingFont(QStringLiteral("Arial"));
    headingFont.setPixelSize(13);
    heading->setFont(headingFont);
    heading->setStyleSheet(QStringLiteral("color: red"));
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    connect(close, &QPushButton::clicked, this, &Tbdebug::close);
    top->addWidget(heading);
    top->addStretch();
    top->addWidget(close);
    outer->addLayout(top);

    auto* lines = new QGridLayout;
    lines->setHorizontalSpacing(6);
    lines->setVerticalSpacing(0);
    for (int k = 1; k <= kLineCount; ++k) {
        for (int row = 0; row < static_cast<int>(kLineRows.size()); ++row) {
            const LineRow& rowInfo = kLineRows[static_cast<std::size_t>(row)];
            lines->addWidget(new QLabel(QString::fromLatin1(rowInfo.captions[static_cast<std::size_t>(k - 1)]), this),
                             row, (k - 1) * 2);
            lines->addWidget(addValue(QString::fromLatin1(rowInfo.name) + QString::number(k),
                                      QString::fromLatin1(rowInfo.placeholder)),
                             row, (k - 1) * 2 + 1);
        }
    }
    outer->addLayout(lines);

    auto* lower = new QGridLayout;
    lower->setHorizontalSpacing(6);
    lower->setVerticalSpacing(0);
    lower->addWidget(new QLabel(QStringLiteral("Titles"), this), 0, 0);
    lower->addWidget(new QLabel(QStringLiteral("Bitmaps"), this), 3, 0);
    for (int k = 1; k <= kLineCount; ++k) {
        lower->addWidget(addValue(QStringLiteral("titleValid%1").arg(k), {}), k - 1, 1);
        lower->addWidget(addValue(QStringLiteral("Text%1").arg(k), {}), k - 1, 2);
        lower->addWidget(addValue(QStringLiteral("BitmapFile%1").arg(k), {}), k + 2, 1, 1, 2);
    }
    const std::array<std::pair<const char*, const char*>, 4> pageRows = {{
        {"Pause", "PauseSecs"}, {"Delay", "MovementDelay"}, {"Path Record Size ", "pathRecordSize"},
        {"Page Record Size", "pageRecordSize"}}};
    int row = 0;
    for (const auto& [caption, name] : pageRows) {
        lower->addWidget(new QLabel(QString::fromLatin1(caption), this), row, 3);
        lower->addWidget(addValue(QString::fromLatin1(name), {}), row, 4);
        if (++row == 2)
            lower->addWidget(addValue(QStringLiteral("osName"), {}), row++, 3, 1, 2);
    }
    const std::array<std::pair<const char*, const char*>, 6> pathRows = {{
        {"Path 1in", "InPathCount1"}, {"Path 1 out", "OutPathCount1"}, {"Path 2 in", "InPathCount2"},
        {"Path 2 out", "OutPathCount2"}, {"Path 3 in", "InPathCount3"}, {"Path 3 out", "OutPathCount3"}}};
    row = 0;
    for (const auto& [caption, name] : pathRows) {
        lower->addWidget(new QLabel(QString::fromLatin1(caption), this), row, 5);
        lower->addWidget(addValue(QString::fromLatin1(name), {}), row, 6);
        ++row;
    }
    lower->setColumnStretch(2, 1);
    outer->addLayout(lower);
    outer->addStretch();
}

QLabel* Tbdebug::addValue(const QString& name, const QString& placeholder)
{
    auto* label = new QLabel(placeholder, this);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

void Tbdebug::FormShow()
{
    const Workspace& ws = context_.workspace;
    const auto set = [this](const QString& name, const QString& text) {
        if (auto* label = findChild<QLabel*>(name))
            label->setText(text);
    };
    const auto number = [](qint64 value) { return QString::number(value); };
    // The page as a save would write it: every value label is named after its record field.
    const PageRecord record = recordFromWorkspace(ws, ws.project.pageNow);
    for (const RecordField& field : pageRecordFields())
        set(field.name, recordFieldText(record, field));
    for (int k = 1; k <= kLineCount; ++k)
        set("titleValid" + QString::number(k), lineValidityText(ws.page.line(k), k));
    set("osName", ws.osName);
    set("pathRecordSize", number(record_offset::kPathBlockSize));
    set("pageRecordSize", number(kRecordSize));
}

void Tbdebug::showEvent(QShowEvent* event)
{
    FormShow();
    if (!event->spontaneous()) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    }
    QDialog::showEvent(event);
}

} // namespace lumavo
