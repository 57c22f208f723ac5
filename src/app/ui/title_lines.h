#pragma once

#include "app/editor_model.h"
#include "storage/ui/app_context.h"

#include <QWidget>
#include <array>

class QFrame;
class QIcon;
class QLabel;
class QLineEdit;
class QToolButton;

namespace lumavo {

// The editor's three title lines. Line k is an IN button, a coloured strip, the black edit box
// (Edit1..Edit3), a strip and an OUT button, with the picture preview and its file-name label
// below; "IN" and "OUT" stand above the button columns. The panel shows the current page's lines
// and reports what the operator does; the main window acts on the reports.
class TitleLines : public QWidget {
    Q_OBJECT
public:
    TitleLines(AppContext& context, QWidget* parent);

    static constexpr int kLineTop = 30;       // top of line 1's edit box
    static constexpr int kLineSpacing = 76;   // from one line's top to the next
    static constexpr int kHeight = kLineTop + kLineCount * kLineSpacing;

    QLineEdit* edit(int line) const;          // line 1..3
    QToolButton* inButton(int line) const;
    QToolButton* outButton(int line) const;
    QLabel* preview(int line) const;
    QLabel* fileLabel(int line) const;

    // Lays the rows out for a window `windowWidth` pixels wide and returns the positions used.
    TitleRowLayout layoutRows(int windowWidth, int directionToolbarWidth);
    // The edit boxes take the page's texts without reporting a change.
    void showTexts();
    // Line `line`'s edit box in the page's face, style and colour.
    void applyEditFont(int line);
    // Shows direction `code` with `icon` on line `line`'s IN or OUT button.
    void showDirection(PathSide side, int line, const QIcon& icon, int code);
    // Hides line `line`'s preview and empties its file-name label.
    void clearPicture(int line);

    // Previews and file-name labels of picture lines: loads `name` (found beside the project)
    // into `image`, an error box when it cannot; loads every missing preview of the page; places
    // the file-name labels under their edit boxes.
    bool loadbimage(const QString& name, QLabel* image, QLabel* label);
    void loadprevus();
    void ShowIMagelab();

signals:
    void directionRequested(int line, PathSide side);     // an IN or OUT button was clicked
    void textChanged(int line, const QString& text);      // an edit box's text changed
    void menuRequested(int line, const QPoint& globalPos); // right click in an edit box
    void pictureDropped(int line, const QString& path);   // a picture file dropped on an edit box

private:
    struct Row {
        QToolButton* inButton = nullptr;
        QFrame* leftStrip = nullptr;
        QLineEdit* edit = nullptr;
        QFrame* rightStrip = nullptr;
        QToolButton* outButton = nullptr;
        QLabel* preview = nullptr;
        QLabel* fileLabel = nullptr;
    };
    const Row& row(int line) const { return rows_.at(static_cast<std::size_t>(line - 1)); }
    void buildRow(int line);
    bool eventFilter(QObject* watched, QEvent* event) override;

    AppContext& context_;
    std::array<Row, kLineCount> rows_{};
    QLabel* inLabel_ = nullptr;
    QLabel* outLabel_ = nullptr;
};

} // namespace lumavo
