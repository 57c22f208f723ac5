#include "compose/ui/font_form.h"

#include "compose_window_fixture.h"

#include <QAbstractItemDelegate>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTest>

namespace lumavo {
namespace {

class FontForm : public test::ComposeWindowTest {
protected:
    FontForm()
    {
        for (int n = 1; n <= 3; ++n) {
            ws.page.line(n).text = QStringLiteral("  Line %1  ").arg(n);
            ws.page.line(n).fontName = QStringLiteral("Arial");
        }
    }

    QSlider* slider() { return form.findChild<QSlider*>(QStringLiteral("FontSizeTrackbar")); }
    QLabel* label(const char* name) { return form.findChild<QLabel*>(QString::fromLatin1(name)); }
    QListWidget* list() { return form.findChild<QListWidget*>(QStringLiteral("ListBox1")); }
    void click(const char* name) { form.findChild<QPushButton*>(QString::fromLatin1(name))->click(); }

    // Clicks the first face that is not `other`; returns it.
    QString clickFaceOtherThan(const QString& other)
    {
        for (int i = 0; i < list()->count(); ++i) {
            QListWidgetItem* item = list()->item(i);
            if (item->text() == other)
                continue;
            list()->scrollToItem(item);
            QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, list()->visualItemRect(item).center());
            return item->text();
        }
        return {};
    }

    void open(int n)
    {
        ws.editor.titleNum = static_cast<std::uint8_t>(n);
        form.show();
    }

    TbFontForm form{context};
};

TEST_F(FontForm, SmallSizeIsShownAt16AndOkWritesIt)
{
    ws.page.line(1).fontSize = 12;
    open(1);
    EXPECT_EQ(slider()->value(), 16);
    EXPECT_EQ(label("fontsizelabel")->text(), QStringLiteral("16"));
    EXPECT_EQ(label("fsamplelabel")->text(), QStringLiteral("Line 1"));
    click("BitBtn1");
    EXPECT_EQ(ws.page.line(1).fontSize, 16);
    EXPECT_EQ(ws.page.line(1).fontName, QStringLiteral("Arial")); // no face clicked: the line keeps its own
}

TEST_F(FontForm, LargeSizeIsShownAt200AndCancelRestoresIt)
{
    ws.page.line(2).fontSize = 250;
    open(2);
    EXPECT_EQ(slider()->value(), 200);
    clickFaceOtherThan(QStringLiteral("Arial"));
    slider()->setValue(50);
    EXPECT_EQ(label("fontsizelabel")->text(), QStringLiteral("50"));
    click("BitBtn2");
    EXPECT_EQ(ws.page.line(2).fontSize, 250);
    EXPECT_EQ(ws.page.line(2).fontName, QStringLiteral("Arial"));
}

TEST_F(FontForm, FaceChosenForOneLineCarriesToTheNext)
{
    open(1);
    const QString face = clickFaceOtherThan(QStringLiteral("Arial"));
    ASSERT_FALSE(face.isEmpty());
    EXPECT_EQ(label("fontlabel")->text(), face);
    slider()->setValue(72);
    click("BitBtn1");
    EXPECT_EQ(ws.page.line(1).fontName, face);
    EXPECT_EQ(ws.page.line(1).fontSize, 72);

    ws.page.line(2).fontSize = 40;
    open(2);
    EXPECT_EQ(label("fontlabel")->text(), face);
    click("BitBtn1");
    EXPECT_EQ(ws.page.line(2).fontName, face);
    EXPECT_EQ(ws.page.line(2).fontSize, 40);
}

TEST_F(FontForm, EmptyEditGivesAnEmptySample)
{
    ws.page.line(3).text.clear();
    open(3);
    EXPECT_TRUE(label("fsamplelabel")->text().isEmpty());
}

TEST_F(FontForm, EachFaceRowIsAsTallAsThatFacesOwnText)
{
    QStyleOptionViewItem option;
    option.initFrom(list());
    for (int i = 0; i < list()->count(); i += std::max(1, list()->count() / 8)) {
        const QString face = list()->item(i)->text();
        QFont own = QGuiApplication::font();
        if (face != QLatin1String("Default"))
            own.setFamily(face);
        const QSize hint = list()->itemDelegate()->sizeHint(option, list()->model()->index(i, 0));
        EXPECT_EQ(hint.height(), QFontMetrics(own).height() + 2) << face.toStdString();
    }
}

} // namespace
} // namespace lumavo
