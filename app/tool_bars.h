// The window's tool bars are QToolBars of actions. A button and its action carry a prefix
// and the button's key as their object name ("propbar_hitzone"), by which tests and
// automation find them.
#pragma once

#include <QString>

class QAction;
class QActionGroup;
class QIcon;
class QToolBar;

namespace tamsel {

struct ToolButton {
  const char* key;        // "hitzone", "high level": the object name's second part
  const char* text;       // what the button shows
  const char* tip;        // its tool tip and status tip
  const char* icon = "";  // a theme icon's name; the button shows its text alone without one
  bool checkable = true;
};

// A tool bar named `name` whose buttons keep their text beside any icon, never take the
// keyboard, and keep a size that fits their text.
QToolBar* MakeToolBar(const QString& name, const QString& title);
// Adds the button's action to `bar` (and to `group`, when given), named `prefix`_key.
QAction* AddToolButton(QToolBar* bar, const QString& prefix, const ToolButton& button,
                       QActionGroup* group = nullptr);

// A theme icon by name (or its symbolic variant); null when the theme has neither.
QIcon ThemeIcon(const QString& name);

// The narrowest a button gets; a button with an icon and text takes what both need.
inline constexpr int kToolButtonWidth = 40;
inline constexpr int kToolButtonHeight = 28;

}  // namespace tamsel
