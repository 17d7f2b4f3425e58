#include "app/keyed_toolbar.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QToolButton>

namespace tamsel {

KeyedToolBar::KeyedToolBar(const QString& name, const std::vector<ToolButtonDef>& buttons,
                           QWidget* parent)
    : QWidget(parent), layout_(new QHBoxLayout(this)) {
  setObjectName(name);
  layout_->setContentsMargins(0, 0, 0, 0);
  layout_->setSpacing(0);
  for (const ToolButtonDef& def : buttons) {
    Entry entry{def};
    if (def.kind == ToolButtonDef::Button) {
      auto* button = new QToolButton(this);
      button->setObjectName(name + "_" + QString(def.key).replace(' ', '_'));
      button->setText(def.glyph.isEmpty() ? def.caption : def.glyph);
      button->setToolTip(def.caption);
      button->setStatusTip(def.caption);
      button->setCheckable(def.toggles);
      button->setAutoRaise(true);
      const QIcon icon = ThemeIcon(def.icon);
      if (!icon.isNull()) {
        button->setIcon(icon);
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
      }
      button->setMinimumSize(kButtonWidth, kButtonHeight);
      button->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
      button->setFocusPolicy(Qt::NoFocus);
      const int index = static_cast<int>(entries_.size()) + 1;
      connect(button, &QToolButton::clicked, this, [this, index] { emit ButtonClick(index); });
      entry.widget = entry.button = button;
    } else if (def.kind == ToolButtonDef::Separator) {
      auto* line = new QFrame(this);
      line->setFrameShape(QFrame::VLine);
      line->setFrameShadow(QFrame::Sunken);
      line->setFixedSize(8, kButtonHeight);
      entry.widget = line;
    } else {
      entry.widget = new QWidget(this);
      entry.widget->setFixedSize(0, 0);
    }
    layout_->addWidget(entry.widget);
    entries_.push_back(entry);
  }
  setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
}

QIcon ThemeIcon(const QString& name) {
  if (name.isEmpty()) return {};
  // Desktops without a platform theme still have the one installed with the program's
  // packages; the symbolic variant is the one every size of that theme has.
  if (QIcon::themeName().isEmpty() || QIcon::themeName() == "hicolor")
    QIcon::setThemeName("Adwaita");
  for (const QString& candidate : {name, name + "-symbolic"})
    if (QIcon::hasThemeIcon(candidate)) return QIcon::fromTheme(candidate);
  return {};
}

const KeyedToolBar::Entry* KeyedToolBar::At(int index) const {
  if (index < 1 || index > Count()) return nullptr;
  return &entries_[static_cast<std::size_t>(index - 1)];
}

QString KeyedToolBar::Key(int index) const {
  return At(index) ? At(index)->def.key : QString();
}
QString KeyedToolBar::Tag(int index) const {
  return At(index) ? At(index)->def.tag : QString();
}

int KeyedToolBar::Value(int index) const {
  const Entry* e = At(index);
  return e && e->button && e->button->isChecked() ? 1 : 0;
}

void KeyedToolBar::SetValue(int index, int value) {
  const Entry* e = At(index);
  if (e && e->button) e->button->setChecked(value != 0);
}

bool KeyedToolBar::Visible(int index) const {
  const Entry* e = At(index);
  return e && !e->widget->isHidden();
}

void KeyedToolBar::SetVisible(int index, bool visible) {
  if (const Entry* e = At(index)) e->widget->setVisible(visible);
}

bool KeyedToolBar::Enabled(int index) const {
  const Entry* e = At(index);
  return e && e->widget->isEnabled();
}

void KeyedToolBar::SetEnabled(int index, bool enabled) {
  if (const Entry* e = At(index)) e->widget->setEnabled(enabled);
}

int KeyedToolBar::IndexOfKey(const QString& key) const {
  for (int i = 1; i <= Count(); ++i)
    if (At(i)->button && At(i)->def.key == key) return i;
  return 0;
}

QToolButton* KeyedToolBar::ButtonAt(int index) const {
  const Entry* e = At(index);
  return e ? e->button : nullptr;
}

QWidget* KeyedToolBar::Item(int index) const {
  const Entry* e = At(index);
  return e ? e->widget : nullptr;
}

}  // namespace tamsel
