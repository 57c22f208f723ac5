#include "main_window_fixture.h"

#include <QFile>
#include <QImage>
#include <QMenu>
#include <QCoreApplication>
#include <QMimeData>
#include <QDropEvent>
#include <QUrl>

namespace lumavo::test {
namespace {

class StylingTest : public MainWindowTest {
protected:
    QString makeBitmap(const QString& name)
    {
        QImage picture(10, 6, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        const QString path = dir.file(name);
        EXPECT_TRUE(picture.save(path, "BMP"));
        return path;
    }
};

TEST_F(StylingTest, OpeningThePopupNamesTheLineAndShowsItsShadow)
{
    window->edit(2)->setText(QStringLiteral("Two"));
    workspace.page.line(2).shadowOn = true;
    window->PopupMenu1Popup(2);
    EXPECT_EQ(action("EditContent")->text(), QStringLiteral("[Two]"));
    EXPECT_TRUE(action("ShadowOnOff1")->isChecked());
    EXPECT_EQ(workspace.editor.titleNum, 2);
    window->PopupMenu1Popup(1);
    EXPECT_FALSE(action("ShadowOnOff1")->isChecked());
}

TEST_F(StylingTest, StyleItemsSetExactlyOneStyleAndCheckIt)
{
    window->PopupMenu1Popup(1);
    action("Bold1")->trigger();
    EXPECT_EQ(workspace.page.line(1).fontStyle, 1);
    EXPECT_TRUE(window->edit(1)->font().bold());
    control<QMenu>("FontAtributes1")->aboutToShow();
    EXPECT_TRUE(action("Bold1")->isChecked());
    action("StrikeOut1")->trigger();
    control<QMenu>("FontAtributes1")->aboutToShow();
    EXPECT_EQ(workspace.page.line(1).fontStyle, 8);
    EXPECT_FALSE(window->edit(1)->font().bold());
    EXPECT_TRUE(window->edit(1)->font().strikeOut());
    EXPECT_FALSE(action("Bold1")->isChecked());
    EXPECT_TRUE(action("StrikeOut1")->isChecked());

    workspace.page.line(1).fontStyle = 1 | 2;   // a combination stored in a page
    control<QMenu>("FontAtributes1")->aboutToShow();
    for (const char* name : {"Bold1", "Italic1", "UnderLine1", "StrikeOut1"})
        EXPECT_FALSE(action(name)->isChecked()) << name;
}

TEST_F(StylingTest, TextColourPresetsTheChooserAndCancelKeepsTheColour)
{
    workspace.page.line(3).fontColor = 0x00FF00;
    workspace.editor.titleNum = 3;
    action("FontColor1")->trigger();   // cancelled
    EXPECT_EQ(prompter.colorPresets, std::vector<Color>{0x00FF00});
    EXPECT_EQ(workspace.page.line(3).fontColor, 0x00FF00u);
    EXPECT_FALSE(workspace.editor.pageModified) << "a cancelled chooser changes nothing";
    prompter.colors.push_back(Color{0x0000FF});
    click("ToolButton13");
    EXPECT_EQ(workspace.page.line(3).fontColor, 0x0000FFu);
    EXPECT_EQ(window->edit(3)->palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_TRUE(workspace.editor.pageModified) << "a new colour is an edit Next Pg and Exit must not lose";
}

TEST_F(StylingTest, ShadowColourGoesToThePopupLine)
{
    window->PopupMenu1Popup(2);
    prompter.colors.push_back(Color{0x123456});
    action("ShadowColor1")->trigger();
    EXPECT_EQ(prompter.colorPresets.back(), 0xC0C0C0u);
    EXPECT_EQ(workspace.page.line(2).shadowColor, 0x123456u);
    EXPECT_EQ(workspace.page.line(1).shadowColor, 0xC0C0C0u);
}

TEST_F(StylingTest, ShadowOnOffSwitchesTheShadowAndKeepsItsColour)
{
    window->PopupMenu1Popup(1);            // a fresh run: the colour chooser was never used
    action("ShadowOnOff1")->trigger();
    EXPECT_TRUE(workspace.page.line(1).shadowOn);
    EXPECT_EQ(workspace.page.line(1).shadowColor, 0xC0C0C0u);
    window->PopupMenu1Popup(1);
    EXPECT_TRUE(action("ShadowOnOff1")->isChecked());
    action("ShadowOnOff1")->trigger();
    EXPECT_FALSE(workspace.page.line(1).shadowOn);
}

TEST_F(StylingTest, ChoosingABitmapForATextLineShowsThePreviewAndTheName)
{
    const QString path = makeBitmap(QStringLiteral("logo.bmp"));
    window->edit(1)->setText(QStringLiteral("words"));
    window->PopupMenu1Popup(1);
    prompter.openNames.push_back(path);
    action("LoadBitmap1")->trigger();
    ASSERT_FALSE(prompter.fileDialogs.empty());
    EXPECT_EQ(prompter.fileDialogs.back().title, QStringLiteral("Load A Graphic File"));
    EXPECT_EQ(workspace.page.line(1).bitmapFile, path);
    EXPECT_TRUE(window->edit(1)->text().isEmpty());
    EXPECT_TRUE(workspace.page.line(1).titleValid);
    EXPECT_FALSE(window->preview(1)->isHidden());
    EXPECT_EQ(window->fileLabel(1)->text(), path);
    EXPECT_EQ(window->fileLabel(1)->y(), window->edit(1)->y() + window->edit(1)->height() + 1);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(StylingTest, ATruncatedBitmapIsRefusedByThePreviewWithItsMessage)
{
    const QString path = makeBitmap(QStringLiteral("cut.bmp"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.resize(file.size() / 2));
    file.close();
    window->PopupMenu1Popup(1);
    prompter.openNames.push_back(path);
    action("LoadBitmap1")->trigger();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, QStringLiteral("Error opening graphics file: ") + path);
    EXPECT_FALSE(workspace.page.line(1).titleValid);
}

TEST_F(StylingTest, CancellingTheBitmapDialogChangesNothing)
{
    window->edit(2)->setText(QStringLiteral("keep"));
    window->PopupMenu1Popup(2);
    action("LoadBitmap1")->trigger();
    EXPECT_EQ(window->edit(2)->text(), QStringLiteral("keep"));
    EXPECT_TRUE(workspace.page.line(2).bitmapFile.isEmpty());
    EXPECT_TRUE(workspace.page.line(2).titleValid);
}

TEST_F(StylingTest, AnUnreadableBitmapIsReportedAndTheLineIsNotValid)
{
    const QString path = dir.file(QStringLiteral("broken.bmp"));
    ASSERT_TRUE(writeAll(path, QByteArray("BM not really a picture")));
    window->PopupMenu1Popup(3);
    prompter.openNames.push_back(path);
    action("LoadBitmap1")->trigger();
    EXPECT_EQ(prompter.messageTexts(), QStringList{QStringLiteral("Error opening graphics file: ") + path});
    EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(workspace.page.line(3).bitmapFile, path);
    EXPECT_FALSE(workspace.page.line(3).titleValid);
    EXPECT_EQ(window->fileLabel(3)->text(), path);
}

TEST_F(StylingTest, ALongBitmapPathWasCutIntoANameOfNoFileAndAnUnstorableOneErasedTheText)
{
    const QString path = QStringLiteral("/") + QString(100, QLatin1Char('p')) + QStringLiteral(".bmp");
    window->PopupMenu1Popup(1);
    prompter.openNames.push_back(path);
    action("LoadBitmap1")->trigger();
    EXPECT_EQ(workspace.page.line(1).bitmapFile, path);

    window->edit(2)->setText(QStringLiteral("keep me"));
    window->PopupMenu1Popup(2);
    prompter.openNames.push_back(QStringLiteral("/pictures/two\nlines.bmp"));
    prompter.messages.clear();
    action("LoadBitmap1")->trigger();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_TRUE(prompter.messages[0].text.startsWith(QStringLiteral("This file name cannot be kept in the page")));
    EXPECT_EQ(window->edit(2)->text(), QStringLiteral("keep me"));
    EXPECT_TRUE(workspace.page.line(2).bitmapFile.isEmpty());
}

TEST_F(StylingTest, AMissingPictureWhenShowingAPageAsksWhereItIs)
{
    workspace.page.line(2).bitmapFile = QStringLiteral("/gone/away.bmp");
    refreshDerivedFields(workspace.page);   // as a load leaves the page
    window->showpage();
    EXPECT_EQ(prompter.messageTexts(),
              (QStringList{QStringLiteral("Error opening graphics file: /gone/away.bmp"),
                           QStringLiteral("File error,  Where is /gone/away.bmp for line two?")}));
    EXPECT_TRUE(workspace.page.line(2).titleValid);
}

TEST_F(StylingTest, AStoredPictureIsFoundInTheProjectFolderAndPreviewed)
{
    makeBitmap(QStringLiteral("LOGO.BMP"));
    workspace.project.projectDir = dir.dirWithSeparator();
    workspace.page.line(1).bitmapFile = QStringLiteral("C:\\old\\place\\logo.bmp");
    window->showpage();
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_FALSE(window->preview(1)->isHidden());
}

TEST_F(StylingTest, AWaveIsChosenForThePopupLineAndCancelKeepsIt)
{
    window->PopupMenu1Popup(3);
    prompter.openNames.push_back(QStringLiteral("/sounds/") + QString(90, QLatin1Char('w')) + QStringLiteral(".wav"));
    action("PlayaWaveto1")->trigger();
    EXPECT_EQ(workspace.page.line(3).waveFile.size(), 102) << "kept whole";
    const QString kept = workspace.page.line(3).waveFile;
    action("PlayaWaveto1")->trigger();
    EXPECT_EQ(workspace.page.line(3).waveFile, kept);
}

} // namespace
} // namespace lumavo::test

namespace lumavo::test {
namespace {

TEST_F(MainWindowTest, ShowingAPageReplacesAPreviewLeftFromThePreviousPage)
{
    QImage red(4, 4, QImage::Format_RGB32), green(4, 4, QImage::Format_RGB32);
    red.fill(Qt::red);
    green.fill(Qt::green);
    const QString first = dir.file(QStringLiteral("red.bmp")), second = dir.file(QStringLiteral("green.bmp"));
    ASSERT_TRUE(red.save(first, "BMP") && green.save(second, "BMP"));
    workspace.page.line(1).bitmapFile = first;
    window->showpage();
    ASSERT_EQ(window->preview(1)->pixmap().toImage().pixelColor(0, 0), QColor(Qt::red));

    workspace.page.line(1).bitmapFile = second;   // the next page shows another picture
    window->showpage();
    EXPECT_EQ(window->preview(1)->pixmap().toImage().pixelColor(0, 0), QColor(Qt::green));
    EXPECT_EQ(window->fileLabel(1)->text(), second);

    workspace.page.line(1).bitmapFile.clear();    // and then a text line
    window->showpage();
    EXPECT_TRUE(window->preview(1)->isHidden());
    EXPECT_TRUE(window->fileLabel(1)->text().isEmpty());
}

} // namespace
} // namespace lumavo::test

namespace lumavo::test {
namespace {

TEST_F(StylingTest, APictureDroppedFromTheFileManagerReplacesTheLinesTextAndTextDropsStayText)
{
    QImage logo(8, 8, QImage::Format_ARGB32);
    logo.fill(qRgba(255, 0, 0, 100));
    const QString path = dir.file(QStringLiteral("logo.png"));
    ASSERT_TRUE(logo.save(path));
    window->edit(3)->setText(QStringLiteral("words"));
    auto dropOnLine3 = [&](QMimeData& data) {
        // A drop reaches the widget that accepted the drag's entry.
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window->edit(3), &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window->edit(3), &drop);
    };
    QMimeData text;
    text.setText(QStringLiteral("plain"));
    dropOnLine3(text);
    EXPECT_TRUE(workspace.page.line(3).bitmapFile.isEmpty());
    QMimeData file;
    file.setUrls({QUrl::fromLocalFile(path)});
    dropOnLine3(file);
    EXPECT_EQ(workspace.page.line(3).bitmapFile, path);
    EXPECT_TRUE(window->edit(3)->text().isEmpty());
    EXPECT_FALSE(window->preview(3)->isHidden());
}

TEST_F(StylingTest, SmoothEdgesItemShowsAndSetsTheProjectsSetting)
{
    workspace.project.smoothEdges = false;
    control<QMenu>("Configuration1")->aboutToShow();
    EXPECT_FALSE(action("SmoothEdges1")->isChecked());
    action("SmoothEdges1")->trigger();
    EXPECT_TRUE(workspace.project.smoothEdges);
}

} // namespace
} // namespace lumavo::test
