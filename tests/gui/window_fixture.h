// Starts the real window as the program does and waits for its first frame.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <memory>
#include <vector>

#include "app/tamsel_window.h"
#include "app/viewport_link.h"
#include "gui/scripted_dialogs.h"

namespace tamsel::test {

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = std::make_unique<TamselWindow>(dialogs);
    // Large enough that every panel shows whole without scrolling, and on the screen, so
    // that a click at a control's place reaches it; the layout tests try small sizes.
    window->setGeometry(0, 0, 1600, 1100);
    window->Startup();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->Link().FramesDrawn() > 0; }, 10000));
  }
  void TearDown() override { window.reset(); }

  template <typename T = QWidget>
  T* Find(const QString& name) {
    return window->findChild<T*>(name);
  }

  // A menu action by its object name, as automation finds it.
  QAction* Action(const QString& name) {
    QAction* action = window->findChild<QAction*>(name);
    EXPECT_NE(action, nullptr) << "no action " << name.toStdString();
    return action;
  }

  // A tool bar button by its object name ("propbar_hitzone").
  QToolButton* Button(const QString& name) {
    auto* button = window->findChild<QToolButton*>(name);
    EXPECT_NE(button, nullptr) << "no button " << name.toStdString();
    return button;
  }
  // The buttons of a tool bar ("viewtoolbar", "displaytoolbar", "propbar"), in order,
  // separators left out.
  std::vector<QToolButton*> ButtonsOf(const QString& bar) {
    std::vector<QToolButton*> buttons;
    auto* tools = window->findChild<QToolBar*>(bar);
    EXPECT_NE(tools, nullptr) << bar.toStdString();
    if (!tools) return buttons;
    for (QAction* action : tools->actions())
      if (auto* b = qobject_cast<QToolButton*>(tools->widgetForAction(action)))
        buttons.push_back(b);
    return buttons;
  }

  ScriptedDialogs dialogs;
  std::unique_ptr<TamselWindow> window;
};

}  // namespace tamsel::test
