#pragma once

#include "app/ui/main_window.h"
#include "platform/clock.h"
#include "scripted_prompter.h"
#include "test_support.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

namespace lumavo::test {

// A main window on its own (no other windows), with a scripted prompter, a settings file in a
// temporary folder and a process end that only counts.
class MainWindowTest : public testing::Test {
protected:
    MainWindowTest() : context{workspace, prompter, clock, {}}
    {
        window = std::make_unique<TBitMovOptMain>(context);
        context.mainWidget = window.get();
        window->setSettingsPath(settingsPath());
        window->setProcessEnd([this] { ++processEnds; });
        prompter.messages.clear();   // start-up messages are not the test's business
    }

    QString settingsPath() const { return dir.file(QStringLiteral("lumavo.ini")); }
    template <typename T = QToolButton>
    T* control(const char* name) const
    {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QAction* action(const char* name) const { return control<QAction>(name); }
    void click(const char* name) const { control(name)->click(); }
    // Saves the project as SHOW.tlp in the test folder through the Save tool button.
    void saveProjectAs(const QString& name = QStringLiteral("SHOW.tlp"))
    {
        prompter.saveNames.push_back(dir.file(name));
        click("SavePrjToolButton");
    }

    TempDir dir;
    Workspace workspace;
    ScriptedPrompter prompter;
    FakeClock clock;
    AppContext context;
    std::unique_ptr<TBitMovOptMain> window;
    int processEnds = 0;
};

} // namespace lumavo::test
