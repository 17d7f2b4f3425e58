// A tool bar of keyed buttons, numbered from 1 like the positions the handlers use. A
// button has a key (what handlers test), a tag (its group), a tool tip and a pressed state
// (Value 1 pressed, 0 released); separators and spacers take positions too.
#pragma once

#include <QString>
#include <QWidget>
#include <vector>

class QHBoxLayout;
class QIcon;
class QToolButton;

namespace tamsel {

struct ToolButtonDef {
  enum Kind { Button, Separator, Spacer };
  Kind kind = Button;
  QString key, tag, caption, glyph;
  bool toggles = true;
  QString icon;  // a theme icon's name; the button shows its text alone without one
};

class KeyedToolBar : public QWidget {
  Q_OBJECT
 public:
  KeyedToolBar(const QString& name, const std::vector<ToolButtonDef>& buttons,
               QWidget* parent = nullptr);

  int Count() const { return static_cast<int>(entries_.size()); }
  QString Key(int index) const;
  QString Tag(int index) const;
  int Value(int index) const;
  void SetValue(int index, int value);
  bool Visible(int index) const;
  void SetVisible(int index, bool visible);
  bool Enabled(int index) const;
  void SetEnabled(int index, bool enabled);
  int IndexOfKey(const QString& key) const;  // 0 when no button has the key
  QToolButton* ButtonAt(int index) const;    // nullptr for separators and spacers
  QWidget* Item(int index) const;

  // The narrowest a button gets; a button with an icon and text takes what both need.
  static constexpr int kButtonWidth = 40;
  static constexpr int kButtonHeight = 28;

 signals:
  void ButtonClick(int index);

 private:
  struct Entry {
    ToolButtonDef def;
    QWidget* widget = nullptr;
    QToolButton* button = nullptr;
  };
  const Entry* At(int index) const;
  std::vector<Entry> entries_;
  QHBoxLayout* layout_;
};

// A theme icon by name (or its symbolic variant); null when the theme has neither.
QIcon ThemeIcon(const QString& name);

}  // namespace tamsel
