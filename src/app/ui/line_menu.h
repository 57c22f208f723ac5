#pragma once

#include "platform/color.h"
#include "storage/ui/app_context.h"

#include <QMenu>
#include <cstdint>
#include <optional>

class QAction;

namespace lumavo {

class TbFontForm;
class TitleLines;

// The pop-up menu of a title line's edit box (PopupMenu1) and the styling commands it shares with
// the direction toolbar: font face and size, font attributes, font and shadow colours, a picture
// instead of the text, a wave to play. Each command changes the page through the editor model and
// shows the result on the title lines.
class LineMenu : public QMenu {
    Q_OBJECT
public:
    LineMenu(AppContext& context, TitleLines& lines, QWidget* parent);

    void setFontForm(TbFontForm* form) { fontForm_ = form; }
    // The menu opening on line 1..3: check marks, the "[text]" caption, titleNum.
    void PopupMenu1Popup(int line);
    int popupLine() const { return popupLine_; }
    // A picture (chosen or dropped onto the line) used instead of line 1..3's text.
    void usePicture(int line, const QString& path);

public slots:
    void fontbuttonClick();     // the direction toolbar's font button: the chooser for titleNum
    void ToolButton13Click();   // font colour of titleNum (also the menu's "Font Color")

private slots:
    void FontAtributes1Click();
    void FontTypeSizw1Click();
    void ShadowColor1Click();
    void ShadowOnOff1Click();
    void LoadBitmap1Click();
    void PlayaWaveto1Click();

private:
    QAction* addItem(QMenu* menu, const char* name, const QString& text, void (LineMenu::*handler)());
    void setFontStyle(std::uint8_t style);
    // The Outline and Soft Shadow sub-menus: a choice of widths and radii, checked as the line has them.
    void addStyleMenus();
    void showStyleChecks();
    void setOutline(int width);
    void setSoftShadow(int radius);
    void OutlineColor1Click();
    // The colour chooser, opened on titleNum's colour `current` (or the last colour it held).
    std::optional<Color> chooseColour(Color TitleLine::*current);
    // A picture or wave file from the open dialog, as the page keeps its name; a name no page can
    // keep is refused with a message (nullopt), and the line stays as it was.
    std::optional<QString> storableChoice(const FileDialogOptions& options);
    // The name a page can keep for the file at path (relative to the project when inside it), or
    // nothing after saying why no page can keep it.
    std::optional<QString> storable(const QString& path);

    AppContext& context_;
    Workspace& ws_;
    TitleLines& lines_;
    TbFontForm* fontForm_ = nullptr;
    QAction* editContent_ = nullptr;
    QAction* bold1_ = nullptr;
    QAction* italic1_ = nullptr;
    QAction* underLine1_ = nullptr;
    QAction* strikeOut1_ = nullptr;
    QAction* shadowOnOff1_ = nullptr;
    QMenu* outlineMenu_ = nullptr;
    QMenu* softShadowMenu_ = nullptr;
    int popupLine_ = 1;
    Color lastChooserColor_ = kBlack;   // the colour chooser keeps the colour it last held
};

} // namespace lumavo
