#include "main_window_fixture.h"
#include "storage/page_file.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

namespace lumavo::test {
namespace {

TEST_F(MainWindowTest, LayoutHasTheToolBarCaptionsHintsAndStatusPanels)
{
    const std::vector<std::tuple<const char*, const char*, const char*>> buttons{
        {"NewPrjToolButton", "New ", "Start a new project"}, {"OpenPrjToolButton", "Open", "Open a project"},
        {"SavePrjToolButton", "Save", "Save current project"}, {"PlayPgToolButton", "Play", "Play current page"},
        {"PlayAllToolButton", "P All", "Play all pages"}, {"PrevPage", "Prev Pg", ""}, {"NextPage", "Next Pg", ""},
        {"NewPageButton", "NPg", "Add new blank page"}, {"CopyPageButton", "C Pg", "Copy to new page"},
        {"SavePgToolButton", "S Pg", "Save current page"}, {"DeletePgToolButton", "D Pg", "Delete current page"},
        {"AlignToolButton", "Align", "Go to the Align screen"}, {"ColorBarToolButton", "C Bar", "Start with color bars"},
        {"CountDownToolButton", "C Dn", "Start with Count Down"}};
    for (const auto& [name, text, hint] : buttons) {
        QToolButton* button = control(name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), QString::fromLatin1(text)) << name;
        EXPECT_EQ(button->toolTip(), QString::fromLatin1(hint)) << name;
        EXPECT_TRUE(button->isEnabled()) << name;
    }
    EXPECT_EQ(control<QLabel>("CurPgNumber")->text(), QStringLiteral("000"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Lumavo Pro"));
    EXPECT_EQ(window->statusPanel(0)->width(), 80);
    EXPECT_EQ(window->statusPanel(2)->width(), 70);
    EXPECT_EQ(window->statusPanel(3)->width(), 40);
    EXPECT_EQ(window->statusPanel(0)->text(), QStringLiteral("CntDwn OFF"));
    EXPECT_EQ(window->statusPanel(1)->text(), QStringLiteral("Clr Bars OFF"));
    EXPECT_TRUE(window->directionToolbar()->isHidden());
    EXPECT_EQ(control<QSlider>("TrackBar1")->toolTip(), QStringLiteral("Operating  System Effects"));
}

TEST_F(MainWindowTest, MenusCarryTheirCaptionsAccessKeysAndShortcuts)
{
    const std::vector<std::pair<const char*, const char*>> items{
        {"NewProj1", "&New Project"}, {"OpenProjectClick", "&Open Project..."}, {"Saveproject", "&Save Project"},
        {"NewPage1", "New &Page"}, {"SaveAs1", "Save P&age..."}, {"BDeletepage", "&Delete Current Page"},
        {"ExportVideo1", "&Export Video..."}, {"PrintFileButton1", "&Print..."}, {"PrintSetup1", "P&rint Setup..."}, {"Exit1", "E&xit"},
        {"Align2", "Align"}, {"PlayPage2", "Play Page"}, {"PlayAllPages2", "Play All Pages"},
        {"EasySlowdown1", "Easy Slow down"}, {"SetColorBarTime1", "Set Color Bar Time"},
        {"UseColorBars1", "Use Color Bars"}, {"UseCountDown1", "Use Count Down"}, {"RepeaTLoop1", "RepeaT - Loop"},
        {"ProjectInformation1", "Project Information"}, {"UnderYourHood1", "Under Your Hood"}, {"About1", "About"},
        {"Contents1", "Contents"}, {"Exit2", "E&xit"}};
    for (const auto& [name, text] : items)
        EXPECT_EQ(action(name)->text(), QString::fromLatin1(text)) << name;
    EXPECT_EQ(action("Align2")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_A));
    EXPECT_EQ(action("PlayPage2")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    EXPECT_TRUE(action("RepeaTLoop1")->font().bold());
    const QList<QAction*> file = control<QMenu>("File1")->actions();
    ASSERT_EQ(file.size(), 14);
    EXPECT_EQ(file[2]->menu(), control<QMenu>("OpenRecent1")) << "Open Recent stands after Open Project...";
    EXPECT_TRUE(file[4]->isSeparator());
    EXPECT_TRUE(file[8]->isSeparator());
    EXPECT_TRUE(file[12]->isSeparator());
}

TEST_F(MainWindowTest, AToolButtonAndAMenuItemOfOneCommandShareOneAction)
{
    const std::vector<std::pair<const char*, const char*>> shared{
        {"OpenPrjToolButton", "OpenProjectClick"}, {"PlayPgToolButton", "PlayPage2"},
        {"PlayAllToolButton", "PlayAllPages2"}, {"NewPageButton", "NewPage1"}, {"DeletePgToolButton", "BDeletepage"},
        {"AlignToolButton", "Align2"}, {"ColorBarToolButton", "UseColorBars1"},
        {"CountDownToolButton", "UseCountDown1"}};
    for (const auto& [button, item] : shared)
        EXPECT_EQ(control(button)->defaultAction(), action(item)) << button;
    // Buttons whose menu item runs another command keep an action of their own.
    for (const auto& [button, item] : {std::pair{"NewPrjToolButton", "NewProj1"}, {"SavePrjToolButton", "Saveproject"},
                                        {"SavePgToolButton", "SaveAs1"}}) {
        ASSERT_NE(control(button)->defaultAction(), nullptr) << button;
        EXPECT_NE(control(button)->defaultAction(), action(item)) << button;
    }
    EXPECT_EQ(control("PlayPgToolButton")->defaultAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    // The menus show no tool bar pictures.
    EXPECT_FALSE(action("PlayPage2")->isIconVisibleInMenu());
}

TEST_F(MainWindowTest, APendingNewPageDisablesItsMenuItemWithTheButtons)
{
    saveProjectAs();
    click("NewPageButton");
    EXPECT_FALSE(action("NewPage1")->isEnabled());
    EXPECT_FALSE(control("CopyPageButton")->isEnabled());
    EXPECT_TRUE(action("SaveAs1")->isEnabled());
    window->edit(1)->setText(QStringLiteral("Page"));
    click("SavePgToolButton");
    EXPECT_TRUE(action("NewPage1")->isEnabled());
    EXPECT_TRUE(control("NewPageButton")->isEnabled());
}

TEST_F(MainWindowTest, CtrlAInATitleBoxOpenedAlignInsteadOfSelectingTheText)
{
    window->show();
    QApplication::setActiveWindow(window.get());
    QSignalSpy aligned(action("Align2"), &QAction::triggered);
    QLineEdit* box = control<QLineEdit>("Edit2");
    box->setText(QStringLiteral("Second line"));
    box->setFocus();
    box->deselect();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(box->selectedText(), QStringLiteral("Second line"));
    EXPECT_EQ(aligned.count(), 0);
    control<QSlider>("DelayTrackBar")->setFocus();
    QTest::keyClick(control<QSlider>("DelayTrackBar"), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(aligned.count(), 1) << "anywhere else Ctrl+A is Align";
}

TEST_F(MainWindowTest, OpeningANamedProjectAsksToSaveFirstAndRefusesAMissingFile)
{
    saveProjectAs();
    window->edit(1)->setText(QStringLiteral("Unsaved"));
    window->commands().openProjectPath(dir.file(QStringLiteral("GONE.tlp")));
    EXPECT_TRUE(prompter.confirmations.isEmpty()) << "nothing to open: nothing asked, nothing lost";
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(window->edit(1)->text(), QStringLiteral("Unsaved"));
    prompter.answers = {Answer::No};
    window->commands().openProjectPath(dir.file(QStringLiteral("SHOW.tlp")));
    EXPECT_EQ(prompter.confirmations, QStringList{QStringLiteral("Save current page?")});
    EXPECT_FALSE(workspace.editor.pageModified);
}

TEST_F(MainWindowTest, PageDownAndPageUpWalkThePagesUnlessATitleBoxHasFocus)
{
    window->show();
    QApplication::setActiveWindow(window.get());
    saveProjectAs();
    window->edit(1)->setText(QStringLiteral("First page"));
    click("SavePgToolButton");
    click("NewPageButton");
    window->edit(1)->setText(QStringLiteral("Second page"));
    click("SavePgToolButton");
    QSlider* slider = control<QSlider>("DelayTrackBar");
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_PageUp);
    EXPECT_EQ(control<QLabel>("CurPgNumber")->text(), QStringLiteral("000"));
    QTest::keyClick(slider, Qt::Key_PageDown);
    EXPECT_EQ(control<QLabel>("CurPgNumber")->text(), QStringLiteral("001"));
    window->edit(1)->setFocus();
    QTest::keyClick(window->edit(1), Qt::Key_PageUp);
    EXPECT_EQ(control<QLabel>("CurPgNumber")->text(), QStringLiteral("001")) << "the keys belong to the text";
}

TEST_F(MainWindowTest, DelayControlsShowTheTimesBesideTheirNumbers)
{
    control<QSlider>("TrackBar2")->setValue(6000);
    EXPECT_EQ(control<QLabel>("FadeTime")->text(), QStringLiteral("fade 11.88 s"));   // 33 x 6000^2 x 10 ns
    EXPECT_EQ(control<QLabel>("Label7")->text(), QStringLiteral("26")) << "the classic label stays";
    control<QSlider>("DelayTrackBar")->setValue(0);
    EXPECT_EQ(control<QLabel>("MovementTime")->text(), QStringLiteral("slide 0 s"));
    control<QSlider>("DelayTrackBar")->setValue(1000);
    EXPECT_NE(control<QLabel>("MovementTime")->text(), QStringLiteral("slide 0 s"));
}

TEST_F(MainWindowTest, DirectionToolbarRanOffTheWindowAtTheMinimumWidth)
{
    window->show();
    window->resize(window->minimumWidth(), window->height());
    for (QToolButton* button : {window->inButton(1), window->outButton(3)}) {
        button->click();
        const QRect bar = window->directionToolbar()->geometry();
        EXPECT_GE(bar.left(), 0);
        EXPECT_LE(bar.right(), window->width() - 1);
        window->directionToolbar()->hide();
    }
}

TEST_F(MainWindowTest, InitiateAndShowpageShowDefaultDirectionsAndEmptyControls)
{
    workspace.page.line(1).text = QStringLiteral("old");
    workspace.page.movementDelay = 400;
    workspace.page.fadeDelay = 800;
    workspace.page.mpause = true;
    window->showpage();
    window->Initiate();
    window->showpage();
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(window->inButton(k)->property("directionCode").toInt(), 5);
        EXPECT_EQ(window->outButton(k)->property("directionCode").toInt(), 6);
        EXPECT_TRUE(window->edit(k)->text().isEmpty());
    }
    EXPECT_EQ(control<QSlider>("DelayTrackBar")->value(), 0);
    EXPECT_EQ(control<QSlider>("PauseTrackBar")->value(), 0);
    EXPECT_EQ(control<QSlider>("TrackBar2")->value(), 800);   // the fade delay is kept
    EXPECT_FALSE(control<QCheckBox>("CheckBox1")->isChecked());
    EXPECT_FALSE(window->ProjectValid());
    EXPECT_EQ(prompter.messageTexts(), QStringList{QStringLiteral("Enter a title in the black edit box.")});
}

TEST_F(MainWindowTest, ShowpageDoesNotMarkThePageModifiedAndClampsSliders)
{
    workspace.page.fadeDelay = 7000;
    workspace.page.pauseSecs = 99;
    window->showpage();
    EXPECT_FALSE(workspace.editor.pageModified);
    EXPECT_EQ(workspace.page.fadeDelay, 7000);
    EXPECT_EQ(control<QSlider>("TrackBar2")->value(), 6000);
    EXPECT_EQ(control<QLabel>("Label7")->text(), QStringLiteral("26"));
    EXPECT_EQ(control<QSlider>("PauseTrackBar")->value(), 60);
}

TEST_F(MainWindowTest, ProjectValidPassesWithALeaderAlone)
{
    click("CountDownToolButton");
    EXPECT_TRUE(window->ProjectValid());
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(MainWindowTest, ProjectValidReportsTheLowestLineWithoutAnInDirection)
{
    window->edit(1)->setText(QStringLiteral("one"));
    window->edit(3)->setText(QStringLiteral("three"));
    workspace.page.line(1).inDir = 0;
    workspace.page.line(3).inDir = 0;
    EXPECT_FALSE(window->ProjectValid());
    EXPECT_EQ(prompter.messageTexts(), QStringList{QStringLiteral("Click an IN direction for title #1")});
}

TEST_F(MainWindowTest, ChoosingDirectionsThroughTheToolbarSetsCodesAndPathFlags)
{
    window->inButton(2)->click();
    EXPECT_FALSE(workspace.editor.pageModified) << "opening the toolbar changes nothing a save writes";
    EXPECT_TRUE(window->directionToolbar()->isVisible() || !window->directionToolbar()->isHidden());
    EXPECT_EQ(workspace.editor.titleNum, 2);
    window->directionButton(11)->click();
    EXPECT_TRUE(workspace.editor.pageModified);
    EXPECT_EQ(workspace.page.line(2).inDir, 11);
    EXPECT_TRUE(workspace.page.line(2).inPathOn);
    EXPECT_TRUE(window->directionToolbar()->isHidden());
    EXPECT_EQ(window->inButton(2)->property("directionCode").toInt(), 11);

    window->inButton(2)->click();
    window->directionButton(4)->click();
    EXPECT_EQ(workspace.page.line(2).inDir, 4);
    EXPECT_FALSE(workspace.page.line(2).inPathOn);

    window->outButton(3)->click();
    window->directionButton(13)->click();
    EXPECT_EQ(workspace.page.line(3).outDir, 13);
    EXPECT_EQ(workspace.editor.lastDirection, 13);
}

TEST_F(MainWindowTest, ALoadedDirectionOfZeroLeavesTheButtonsGlyph)
{
    window->showpage();
    workspace.page.line(1).inDir = 0;
    window->showpage();
    EXPECT_EQ(window->inButton(1)->property("directionCode").toInt(), 5);
    EXPECT_EQ(workspace.page.line(1).inDir, 0);
}

TEST_F(MainWindowTest, ToolbarTogglesShowAndStoreTheLinesSwitches)
{
    workspace.page.line(3).shadowOn = true;
    window->outButton(3)->click();
    EXPECT_FALSE(window->toggleButton(1)->isChecked());
    EXPECT_TRUE(window->toggleButton(3)->isChecked());
    window->toggleButton(1)->click();
    window->toggleButton(3)->click();
    EXPECT_TRUE(workspace.page.line(3).archOn);
    EXPECT_FALSE(workspace.page.line(3).shadowOn);
    click("ToolButton9");
    EXPECT_TRUE(window->directionToolbar()->isHidden());
}

TEST_F(MainWindowTest, TypingIntoAPictureLineHidesThePreviewAndClearsTheLabel)
{
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const QString path = dir.file(QStringLiteral("logo.bmp"));
    ASSERT_TRUE(picture.save(path, "BMP"));
    window->PopupMenu1Popup(2);
    prompter.openNames.push_back(path);
    action("LoadBitmap1")->trigger();
    ASSERT_FALSE(window->preview(2)->isHidden());
    window->edit(2)->setText(QStringLiteral("X"));
    EXPECT_TRUE(window->preview(2)->isHidden());
    EXPECT_TRUE(window->fileLabel(2)->text().isEmpty());
    EXPECT_TRUE(workspace.page.line(2).bitmapFile.isEmpty());
    EXPECT_TRUE(workspace.page.line(2).titleValid);
}

TEST_F(MainWindowTest, ResizeTo900LaysTheTitleLinesOut)
{
    window->show();
    window->resize(900, 492);
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(window->edit(k)->width(), 780);
        EXPECT_EQ(window->edit(k)->x(), 57);
        EXPECT_EQ(window->outButton(k)->x(), 57 + 780 + 16);
        EXPECT_EQ(window->inButton(k)->x(), 20);
    }
    EXPECT_EQ(control<QLabel>("OutLabel")->x(), window->outButton(1)->x());
}

TEST_F(MainWindowTest, SliderLabelsAndEffectNames)
{
    control<QSlider>("TrackBar2")->setValue(459);
    EXPECT_EQ(control<QLabel>("Label7")->text(), QStringLiteral("1"));
    EXPECT_EQ(workspace.page.fadeDelay, 459);
    EXPECT_TRUE(workspace.editor.pageModified);
    control<QSlider>("TrackBar2")->setValue(6000);
    EXPECT_EQ(control<QLabel>("Label7")->text(), QStringLiteral("26"));

    workspace.editor.pageModified = false;
    control<QSlider>("TrackBar1")->setValue(6);
    EXPECT_EQ(control<QLabel>("Label3")->text(), QStringLiteral("Src paint"));
    EXPECT_EQ(workspace.editor.osEffect, 6);
    control<QSlider>("TrackBar1")->setValue(0);
    EXPECT_EQ(control<QLabel>("Label3")->text(), QStringLiteral("Normal"));
    EXPECT_FALSE(workspace.editor.pageModified);

    control<QSlider>("DelayTrackBar")->setValue(250);
    EXPECT_EQ(control<QLabel>("Label1")->text(), QStringLiteral("250"));
    EXPECT_EQ(workspace.page.movementDelay, 250);
    control<QSlider>("PauseTrackBar")->setValue(7);
    EXPECT_EQ(control<QLabel>("Label4")->text(), QStringLiteral("7"));
    EXPECT_EQ(workspace.page.pauseSecs, 7);
}

TEST_F(MainWindowTest, ManualHidesThePauseSliderAndUncheckingShowsItsPosition)
{
    control<QSlider>("PauseTrackBar")->setValue(12);
    workspace.editor.pageModified = false;
    control<QCheckBox>("CheckBox1")->click();
    EXPECT_TRUE(workspace.page.mpause);
    EXPECT_TRUE(control<QSlider>("PauseTrackBar")->isHidden());
    EXPECT_TRUE(control<QLabel>("Label8")->isHidden());
    EXPECT_EQ(control<QLabel>("Label4")->text(), QStringLiteral("SpaceBar - Manual"));
    EXPECT_TRUE(workspace.editor.pageModified);
    workspace.editor.pageModified = false;
    control<QCheckBox>("CheckBox1")->click();
    EXPECT_FALSE(control<QSlider>("PauseTrackBar")->isHidden());
    EXPECT_EQ(control<QLabel>("Label4")->text(), QStringLiteral("12"));
    EXPECT_TRUE(workspace.editor.pageModified);    // the pause slider's move is still unsaved
    control<QSlider>("PauseTrackBar")->setValue(0);
    EXPECT_FALSE(workspace.editor.pageModified);   // back to the page as it started
}

TEST_F(MainWindowTest, LeaderButtonsAndTheirMenuItemsAreOneCommand)
{
    click("CountDownToolButton");
    EXPECT_TRUE(workspace.project.useCountDown);
    EXPECT_TRUE(action("UseCountDown1")->isChecked());
    EXPECT_EQ(window->statusPanel(0)->text(), QStringLiteral("CntDwn ON"));
    click("CountDownToolButton");
    EXPECT_EQ(window->statusPanel(0)->text(), QStringLiteral("CntDwn OFF"));

    // Choosing the menu item switches the leader and presses the button with it.
    action("UseCountDown1")->trigger();
    EXPECT_TRUE(workspace.project.useCountDown);
    EXPECT_TRUE(control("CountDownToolButton")->isChecked());
    EXPECT_EQ(window->statusPanel(0)->text(), QStringLiteral("CntDwn ON"));
    action("UseColorBars1")->trigger();
    EXPECT_TRUE(workspace.project.useColorBars);
    EXPECT_TRUE(control("ColorBarToolButton")->isChecked());
    EXPECT_EQ(window->statusPanel(1)->text(), QStringLiteral("Clr Bars ON"));

    // An opened project's leaders show on the buttons, the menu items and the status panels.
    workspace.project.useColorBars = false;
    EditorActions opened;
    opened.enableProjectTools = true;
    window->applyActions(opened);
    EXPECT_FALSE(control("ColorBarToolButton")->isChecked());
    EXPECT_FALSE(action("UseColorBars1")->isChecked());
    EXPECT_EQ(window->statusPanel(1)->text(), QStringLiteral("Clr Bars OFF"));
    EXPECT_TRUE(action("UseCountDown1")->isChecked());
    EXPECT_EQ(window->statusPanel(0)->text(), QStringLiteral("CntDwn ON"));
}

TEST_F(MainWindowTest, EasySlowdownAndRepeatLoopMirrorTheirCheckMarks)
{
    action("EasySlowdown1")->trigger();
    action("RepeaTLoop1")->trigger();
    EXPECT_TRUE(workspace.editor.easySlowdown);
    EXPECT_TRUE(workspace.editor.repeatLoop);
    action("RepeaTLoop1")->trigger();
    EXPECT_FALSE(workspace.editor.repeatLoop);
    EXPECT_TRUE(action("EasySlowdown1")->isChecked());
}

TEST_F(MainWindowTest, ClosingWithoutAProjectOffersToSaveTypedTitlesThenWritesTheSettings)
{
    window->edit(1)->setText(QStringLiteral("unsaved"));
    prompter.answers = {Answer::No};
    EXPECT_TRUE(window->close());
    EXPECT_EQ(prompter.confirmations, QStringList{QStringLiteral("Save this project first?")});
    EXPECT_EQ(processEnds, 1);
    const IniFile ini = IniFile::load(settingsPath());
    EXPECT_EQ(ini.readString(kSettingsSection, QStringLiteral("Program")), QStringLiteral("Lumavo-32"));
    EXPECT_TRUE(ini.hasKey(kSettingsSection, QStringLiteral("Lastproject")));
    EXPECT_EQ(ini.readString(kSettingsSection, QStringLiteral("Lastproject")), QString());
}

TEST_F(MainWindowTest, TheCloseQuestionsThreeAnswers)
{
    saveProjectAs();
    window->edit(1)->setText(QStringLiteral("edited"));
    prompter.answers = {Answer::Cancel, Answer::No};
    EXPECT_FALSE(window->close());
    EXPECT_EQ(processEnds, 0);
    EXPECT_EQ(prompter.confirmations, QStringList{QStringLiteral("Save current page first?")});
    EXPECT_TRUE(window->close());   // No
    EXPECT_EQ(processEnds, 1);
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("SHOW.000"))));
}

TEST_F(MainWindowTest, AnsweringYesSavesThePageBeforeEnding)
{
    saveProjectAs();
    window->edit(1)->setText(QStringLiteral("edited"));
    prompter.answers = {Answer::Yes};
    EXPECT_TRUE(window->close());
    EXPECT_EQ(processEnds, 1);
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("SHOW.000"))));
}

TEST_F(MainWindowTest, FileExitWithCancelKeepsRunningWithTheSettingsWritten)
{
    saveProjectAs();
    window->edit(1)->setText(QStringLiteral("edited"));
    prompter.answers = {Answer::Cancel};
    action("Exit1")->trigger();
    EXPECT_EQ(processEnds, 0);
    const IniFile ini = IniFile::load(settingsPath());
    EXPECT_EQ(ini.readString(kSettingsSection, QStringLiteral("Lastproject")),
              dir.dirWithSeparator() + QStringLiteral("SHOW.tlp"));
}

TEST_F(MainWindowTest, ASettingsFileThatCannotBeWrittenKeepsTheProgramRunningUnlessTheOperatorLeavesAnyway)
{
    window->setSettingsPath(dir.path());   // a folder cannot be written as a file
    EXPECT_FALSE(window->close());          // "Exit without saving the settings?" No
    EXPECT_EQ(processEnds, 0);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Error);
    prompter.answers = {Answer::Yes};
    EXPECT_TRUE(window->close());
    EXPECT_EQ(processEnds, 1);
}

TEST_F(MainWindowTest, SavePageWithoutAProjectAsksToSaveTheProjectFirst)
{
    click("SavePgToolButton");
    EXPECT_EQ(prompter.messageTexts(), QStringList{QStringLiteral("Save Project first, than add New pages.")});
}

TEST_F(MainWindowTest, PageCommandsThroughTheButtons)
{
    saveProjectAs();
    ASSERT_TRUE(QFile::exists(dir.file(QStringLiteral("SHOW.tlp"))));
    window->edit(1)->setText(QStringLiteral("First page"));
    click("SavePgToolButton");
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("SHOW.000"))));
    EXPECT_EQ(window->statusPanel(3)->text(), QStringLiteral("000"));
    EXPECT_EQ(window->statusPanel(4)->text(), QStringLiteral("PROJECT: SHOW.tlp"));

    click("NewPageButton");
    EXPECT_EQ(window->statusPanel(2)->text(), QStringLiteral("New Page"));
    EXPECT_FALSE(control("NewPageButton")->isEnabled());
    EXPECT_FALSE(control("CopyPageButton")->isEnabled());
    EXPECT_TRUE(window->edit(1)->text().isEmpty());
    window->edit(2)->setText(QStringLiteral("Second page"));
    click("SavePgToolButton");
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("SHOW.001"))));
    EXPECT_TRUE(control("NewPageButton")->isEnabled());

    click("PrevPage");
    EXPECT_EQ(window->edit(1)->text(), QStringLiteral("First page"));
    EXPECT_TRUE(window->edit(2)->text().isEmpty());
    EXPECT_EQ(control<QLabel>("CurPgNumber")->text(), QStringLiteral("000"));
    EXPECT_EQ(window->statusPanel(2)->text(), QStringLiteral("Current"));
    click("NextPage");
    EXPECT_EQ(window->edit(2)->text(), QStringLiteral("Second page"));
    EXPECT_EQ(control<QLabel>("CurPgNumber")->text(), QStringLiteral("001"));

    click("CopyPageButton");
    EXPECT_EQ(window->statusPanel(2)->text(), QStringLiteral("Copy Page"));
    click("SavePgToolButton");
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("SHOW.002"))));

    prompter.answers = {Answer::Yes};
    click("DeletePgToolButton");
    EXPECT_EQ(prompter.confirmations.last(), QStringLiteral("ARE YOU SURE? Delete Page 002 of SHOW"));
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("SHOW.002"))));
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("SHOW.001"))));
}

TEST_F(MainWindowTest, PAllAfterAnUnsavedEditAsksToSaveThePageFirst)
{
    saveProjectAs();
    window->edit(1)->setText(QStringLiteral("First"));
    click("SavePgToolButton");
    window->edit(1)->setText(QStringLiteral("First, edited"));
    prompter.answers = {Answer::Yes};
    click("PlayAllToolButton");
    EXPECT_EQ(prompter.confirmations, QStringList{QStringLiteral("Save current page?")});
    EXPECT_FALSE(workspace.editor.pageModified);
    workspace.page.line(1).text.clear();
    ASSERT_TRUE(LoadPage(workspace, workspace.project.projectName, QStringLiteral("000")).loaded);
    EXPECT_EQ(workspace.page.line(1).text, QStringLiteral("First, edited"));
}

TEST_F(MainWindowTest, TitleBoxesHoldNoMoreThanThePageStores)
{
    window->edit(2)->setText(QString(kTextCapacity + 30, QLatin1Char('w')));
    EXPECT_EQ(window->edit(2)->text().size(), kTextCapacity);
    EXPECT_EQ(workspace.page.line(2).text, window->edit(2)->text());
}

TEST_F(MainWindowTest, EditUndoAndRedoStepThroughPageEditsAndShowThem)
{
    saveProjectAs();
    window->edit(1)->setText(QStringLiteral("Saved"));
    click("SavePgToolButton");
    window->edit(1)->setText(QStringLiteral("Changed"));
    control<QSlider>("DelayTrackBar")->setValue(300);
    action("Undo1")->trigger();
    EXPECT_EQ(control<QSlider>("DelayTrackBar")->value(), 0);
    EXPECT_EQ(window->edit(1)->text(), QStringLiteral("Changed"));
    action("Undo1")->trigger();
    EXPECT_EQ(window->edit(1)->text(), QStringLiteral("Saved"));
    EXPECT_FALSE(workspace.editor.pageModified);
    action("Redo1")->trigger();
    EXPECT_EQ(window->edit(1)->text(), QStringLiteral("Changed"));
    EXPECT_TRUE(workspace.editor.pageModified);
    EXPECT_EQ(action("Undo1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(action("Redo1")->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));

    click("NextPage");                     // no page 001: the page stays, and so does its history
    click("NewPageButton");                // another page: nothing to undo
    action("Undo1")->trigger();
    EXPECT_TRUE(window->edit(1)->text().isEmpty());
}

TEST_F(MainWindowTest, NewAndOpenAskToSaveTheEditedPageFirst)
{
    saveProjectAs();
    window->edit(1)->setText(QStringLiteral("kept"));
    prompter.answers = {Answer::Yes};
    click("NewPrjToolButton");
    EXPECT_EQ(prompter.confirmations.value(0), QStringLiteral("Save current page?"));
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("SHOW.000")))) << "Yes saved the page before New";
    EXPECT_EQ(window->edit(1)->text(), QString());
}

TEST_F(MainWindowTest, OpeningADirectionToolbarAsksBeforeErasingADrawnPath)
{
    DrawnPath& out = workspace.stage.outPath(1);
    out.count = 3;
    prompter.answers = {Answer::No};
    window->outButton(1)->click();
    EXPECT_EQ(prompter.confirmations.value(0), QStringLiteral("Erase the drawn OUT path of line 1?"));
    EXPECT_EQ(out.count, 3);
    EXPECT_TRUE(window->directionToolbar()->isHidden());
    window->inButton(1)->click();   // an empty IN path goes without a question
    EXPECT_EQ(prompter.confirmations.size(), 1u);
    EXPECT_FALSE(window->directionToolbar()->isHidden());
}

TEST_F(MainWindowTest, NewProjectFromTheToolButtonResetsThePage)
{
    saveProjectAs();
    window->edit(1)->setText(QStringLiteral("text"));
    click("NewPrjToolButton");
    EXPECT_TRUE(workspace.project.projectName.isEmpty());
    EXPECT_TRUE(window->edit(1)->text().isEmpty());
    EXPECT_FALSE(workspace.editor.pageModified);
    EXPECT_EQ(window->statusPanel(3)->text(), QStringLiteral("000"));
    EXPECT_FALSE(control("NewPageButton")->isEnabled());
}

TEST_F(MainWindowTest, OpeningAProjectShowsItsFirstPageAndPressesItsLeaderButtons)
{
    saveProjectAs();
    window->edit(3)->setText(QStringLiteral("Stored"));
    click("SavePgToolButton");
    click("CountDownToolButton");
    saveProjectAs();   // stores UseCountDown
    click("NewPrjToolButton");
    click("CountDownToolButton");
    ASSERT_FALSE(control("CountDownToolButton")->isChecked());

    prompter.openNames.push_back(dir.file(QStringLiteral("SHOW.tlp")));
    click("OpenPrjToolButton");
    EXPECT_EQ(window->edit(3)->text(), QStringLiteral("Stored"));
    EXPECT_TRUE(control("CountDownToolButton")->isChecked());
    EXPECT_FALSE(workspace.editor.pageModified);
}

} // namespace
} // namespace lumavo::test
