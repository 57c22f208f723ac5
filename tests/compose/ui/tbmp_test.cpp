#include "compose/ui/tbmp.h"

#include "compose_window_fixture.h"
#include "test_support.h"

#include <QMouseEvent>
#include <QApplication>

namespace lumavo {
namespace {

class TitleImage : public test::ComposeWindowTest {
protected:
    QWidget stage;
    const QSize screen{800, 600};
    const ComposeFormats formats{PixelFormat::Bits32, PixelFormat::Bits32};
};

TEST_F(TitleImage, ComposedTitleWaitsHiddenAtItsRestPosition)
{
    ws.page.line(3).text = QStringLiteral("Title");
    ws.stage.restOf(3) = Point{40, 50};
    ws.editor.alignActive = true;
    const auto image = setupImage(ws, prompter, 3, formats, &stage, screen);
    EXPECT_FALSE(image->isVisible());
    EXPECT_EQ(image->parentWidget(), &stage);
    EXPECT_EQ(image->left(), 40);
    EXPECT_EQ(image->top(), 50);
    EXPECT_EQ(image->size(), QSize(image->picture().width(), image->picture().height()));
    EXPECT_FALSE(image->picture().isEmpty());
    EXPECT_EQ(image->picture().pixel(0, 0), rgb(0, 0, 255));
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(TitleImage, PictureThatFailsShowsTheMessageAndStaysEmptyOffScreen)
{
    test::TempDir dir;
    ASSERT_TRUE(test::writeAll(dir.file("broken.bmp"), "BM garbage"));
    ws.page.line(1).bitmapFile = dir.file("broken.bmp");
    const auto image = setupImage(ws, prompter, 1, formats, &stage, screen);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, pictureErrorMessage(dir.file("broken.bmp")));
    EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Error);
    EXPECT_TRUE(image->picture().isEmpty());
    EXPECT_EQ(image->left(), 801);
    EXPECT_EQ(image->top(), 601);
    EXPECT_EQ(ws.page.line(1).bitmapFile, dir.file("broken.bmp"));   // kept for the next save
}

TEST_F(TitleImage, ReportsPressAndReleaseToTheStage)
{
    ws.page.line(2).text = QStringLiteral("Drag me");
    const auto image = setupImage(ws, prompter, 2, formats, &stage, screen);
    std::vector<std::pair<Qt::MouseButton, QPoint>> pressed;
    std::vector<std::pair<Qt::MouseButton, QPoint>> released;
    QObject::connect(image.get(), &Tbmp::mousePressed,
                     [&](Tbmp* who, Qt::MouseButton b, QPoint p) { if (who == image.get()) pressed.emplace_back(b, p); });
    QObject::connect(image.get(), &Tbmp::mouseReleased,
                     [&](Tbmp* who, Qt::MouseButton b, QPoint p) { if (who == image.get()) released.emplace_back(b, p); });
    QMouseEvent down(QEvent::MouseButtonPress, QPointF(3, 4), QPointF(3, 4), Qt::RightButton, Qt::RightButton, {});
    QApplication::sendEvent(image.get(), &down);
    QMouseEvent up(QEvent::MouseButtonRelease, QPointF(5, 6), QPointF(5, 6), Qt::RightButton, Qt::NoButton, {});
    QApplication::sendEvent(image.get(), &up);
    ASSERT_EQ(pressed.size(), 1u);
    EXPECT_EQ(pressed[0], (std::pair{Qt::RightButton, QPoint(3, 4)}));
    ASSERT_EQ(released.size(), 1u);
    EXPECT_EQ(released[0], (std::pair{Qt::RightButton, QPoint(5, 6)}));
}

} // namespace
} // namespace lumavo
