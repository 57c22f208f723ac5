#include "app/ui/line_menu.h"

#include "app/ui/title_lines.h"
#include "compose/ui/font_form.h"
#include "platform/canvas.h"
#include "storage/page_edits.h"
#include "storage/page_extension.h"
#include "compose/picture_files.h"
#include "storage/project.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>

namespace lumavo {

LineMenu::LineMenu(AppContext& context, TitleLines& lines, QWidget* parent)
    : QMenu(parent), context_(context), ws_(context.workspace), lines_(lines)
{
    setObjectName(QStringLiteral("PopupMenu1"));
    editContent_ = addItem(this, "EditContent", QStringLiteral("[]"), nullptr);
    addItem(this, "FontTypeSizw1", QStringLiteral("Font Type -Size"), &LineMenu::FontTypeSizw1Click);
    QMenu* attributes = addMenu(QStringLiteral("Font Atributes"));
    attributes->setObjectName(QStringLiteral("FontAtributes1"));
    connect(attributes, &QMenu::aboutToShow, this, &LineMenu::FontAtributes1Click);
    auto style = [&](const char* name, const QString& text, std::uint8_t bit) {
        QAction* action = addItem(attributes, name, text, nullptr);
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, bit] { setFontStyle(bit); });
        return action;
    };
    bold1_ = style("Bold1", QStringLiteral("Bold"), kStyleBold);
    italic1_ = style("Italic1", QStringLiteral("Italic"), kStyleItalic);
    underLine1_ = style("UnderLine1", QStringLiteral("Under Line"), kStyleUnderline);
    strikeOut1_ = style("StrikeOut1", QStringLiteral("Strike Out"), kStyleStrikeOut);
    addItem(this, "FontColor1", QStringLiteral("Font Color"), &LineMenu::ToolButton13Click);
    addItem(this, "ShadowColor1", QStringLiteral("Shadow Color"), &LineMenu::ShadowColor1Click);
    addItem(this, "LoadBitmap1", QStringLiteral("Use a Bitmap instead..."), &LineMenu::LoadBitmap1Click);
    addItem(this, "PlayaWaveto1", QStringLiteral("Play a Wave too..."), &LineMenu::PlayaWaveto1Click);
    shadowOnOff1_ = addItem(this, "ShadowOnOff1", QStringLiteral("Shadow On/Off"), &LineMenu::ShadowOnOff1Click);
    shadowOnOff1_->setCheckable(true);
    addStyleMenus();
}

void LineMenu::addStyleMenus()
{
    // Both are drawn on smooth projects only; a classic project keeps them for when it turns smooth.
    auto choices = [this](const char* name, const QString& title, std::initializer_list<int> values,
                          const QString& zeroText, void (LineMenu::*set)(int)) {
        QMenu* menu = addMenu(title);
        menu->setObjectName(QString::fromLatin1(name));
        for (const int v : values) {
            QAction* action = menu->addAction(v == 0 ? zeroText : QStringLiteral("%1 px").arg(v));
            action->setCheckable(true);
            action->setData(v);
            connect(action, &QAction::triggered, this, [this, set, v] { (this->*set)(v); });
        }
        connect(menu, &QMenu::aboutToShow, this, &LineMenu::showStyleChecks);
        return menu;
    };
    outlineMenu_ = choices("Outline1", QStringLiteral("Outline"), {0, 1, 2, 3, 4, 6, 8}, QStringLiteral("None"),
                           &LineMenu::setOutline);
    outlineMenu_->addSeparator();
    addItem(outlineMenu_, "OutlineColor1", QStringLiteral("Outline Color"), &LineMenu::OutlineColor1Click);
    softShadowMenu_ = choices("SoftShadow1", QStringLiteral("Soft Shadow"), {0, 2, 4, 8, 12, 16},
                              QStringLiteral("Hard"), &LineMenu::setSoftShadow);
}

void LineMenu::showStyleChecks()
{
    const TitleLine& line = ws_.page.line(popupLine_);
    for (QAction* action : outlineMenu_->actions())
        action->setChecked(action->isCheckable() && action->data().toInt() == line.outlineWidth);
    for (QAction* action : softShadowMenu_->actions())
        action->setChecked(action->data().toInt() == line.softShadowRadius);
}

void LineMenu::setOutline(int width)
{
    const TitleLine& line = ws_.page.line(popupLine_);
    setLineStyle(ws_, popupLine_, width, line.outlineColor, line.softShadowRadius);
}

void LineMenu::setSoftShadow(int radius)
{
    const TitleLine& line = ws_.page.line(popupLine_);
    setLineStyle(ws_, popupLine_, line.outlineWidth, line.outlineColor, radius);
}

void LineMenu::OutlineColor1Click()
{
    if (const std::optional<Color> chosen = chooseColour(&TitleLine::outlineColor)) {
        const TitleLine& line = ws_.page.line(popupLine_);
        setLineStyle(ws_, popupLine_, line.outlineWidth, *chosen, line.softShadowRadius);
    }
}

QAction* LineMenu::addItem(QMenu* menu, const char* name, const QString& text, void (LineMenu::*handler)())
{
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    if (handler != nullptr)
        connect(action, &QAction::triggered, this, handler);
    return action;
}

void LineMenu::PopupMenu1Popup(int line)
{
    popupLine_ = line;
    editContent_->setText(QLatin1Char('[') + lines_.edit(line)->text() + QLatin1Char(']'));
    shadowOnOff1_->setChecked(ws_.page.line(line).shadowOn);
    setTITLENUM(ws_, static_cast<std::uint8_t>(line));
}

void LineMenu::FontAtributes1Click()
{
    const std::uint8_t style = ws_.page.line(popupLine_).fontStyle;
    bold1_->setChecked(style == kStyleBold);
    italic1_->setChecked(style == kStyleItalic);
    underLine1_->setChecked(style == kStyleUnderline);
    strikeOut1_->setChecked(style == kStyleStrikeOut);
}

void LineMenu::setFontStyle(std::uint8_t style)
{
    setLineFontStyle(ws_, popupLine_, style);
    lines_.applyEditFont(popupLine_);
}

void LineMenu::FontTypeSizw1Click()
{
    if (fontForm_ == nullptr)
        return;
    context_.prompter.execModal(*fontForm_);   // the chooser edits the page itself
    const int line = ws_.editor.titleNum;
    lines_.applyEditFont(line >= 1 && line <= kLineCount ? line : popupLine_);
}

void LineMenu::fontbuttonClick()
{
    const int line = ws_.editor.titleNum;
    if (line < 1 || line > kLineCount || fontForm_ == nullptr)
        return;
    context_.prompter.execModal(*fontForm_);
    lines_.applyEditFont(line);
}

std::optional<Color> LineMenu::chooseColour(Color TitleLine::*current)
{
    const int line = ws_.editor.titleNum;
    if (line >= 1 && line <= kLineCount)
        lastChooserColor_ = ws_.page.line(line).*current;
    const std::optional<Color> chosen = context_.prompter.chooseColor(lastChooserColor_);
    if (chosen)
        lastChooserColor_ = *chosen;
    return chosen;
}

void LineMenu::ToolButton13Click()
{
    const std::optional<Color> chosen = chooseColour(&TitleLine::fontColor);
    const int line = ws_.editor.titleNum;
    if (chosen && setLineFontColor(ws_, line, *chosen).line != 0)
        lines_.applyEditFont(line);
}

void LineMenu::ShadowColor1Click()
{
    if (const std::optional<Color> chosen = chooseColour(&TitleLine::shadowColor))
        setLineShadowColor(ws_, popupLine_, *chosen);
}

void LineMenu::ShadowOnOff1Click()
{
    // Switches the shadow of the pop-up's line, as the toolbar's shadow toggle does; its colour
    // stays as it is.
    const int line = popupLine_;
    if (line < 1 || line > kLineCount)
        return;
    setLineToggle(ws_, line, LineToggle::Shadow, !ws_.page.line(line).shadowOn);
    shadowOnOff1_->setChecked(ws_.page.line(line).shadowOn);
}

std::optional<QString> LineMenu::storableChoice(const FileDialogOptions& options)
{
    const std::optional<QString> chosen = context_.prompter.openFileName(options);
    if (!chosen || chosen->isEmpty())
        return chosen;
    return storable(*chosen);
}

std::optional<QString> LineMenu::storable(const QString& path)
{
    const StoredName stored = storableFileName(path, ws_.project.projectDir);
    if (!stored.error.isEmpty()) {
        context_.prompter.message(stored.error, MessageIcon::Error);
        return std::nullopt;
    }
    return stored.name;
}

void LineMenu::LoadBitmap1Click()
{
    FileDialogOptions options;
    options.title = QStringLiteral("Load A Graphic File");
    options.filter = QStringLiteral("Pictures (%1);;Bitmaps (*.bmp)").arg(pictureFilePatterns());
    options.defaultSuffix = QStringLiteral("BMP");
    options.directory = ws_.project.projectDir;
    if (const std::optional<QString> chosen = context_.prompter.openFileName(options))
        usePicture(popupLine_, *chosen);
    const QString dir = ws_.project.projectDir;
    if (!dir.isEmpty() && !QDir::setCurrent(dir))
        pmsg(context_.prompter, QStringLiteral("Cant find my last startup directory? ") + dir);
}

void LineMenu::usePicture(int k, const QString& path)
{
    const std::optional<QString> stored = storable(path);
    if (!stored || stored->isEmpty())
        return;
    const QString& name = ws_.page.line(k).bitmapFile;
    if (setLinePicture(ws_, k, *stored).line != 0 && !name.isEmpty()) {
        setLinePictureShown(ws_, k, lines_.loadbimage(name, lines_.preview(k), lines_.fileLabel(k)));
        lines_.edit(k)->clear();
    }
}

void LineMenu::PlayaWaveto1Click()
{
    FileDialogOptions options;
    options.filter = QStringLiteral("Wave Files (*.wav)");
    options.defaultSuffix = QStringLiteral("wav");
    options.directory = ws_.project.projectDir;
    if (const std::optional<QString> chosen = storableChoice(options))
        setLineWave(ws_, popupLine_, *chosen);
}

} // namespace lumavo
