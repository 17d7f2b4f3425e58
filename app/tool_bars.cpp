#include "app/tool_bars.h"

#include <QAction>
#include <QActionGroup>
#include <QIcon>
#include <QToolBar>
#include <QToolButton>

namespace tamsel {

QToolBar* MakeToolBar(const QString& name, const QString& title) {
  auto* bar = new QToolBar(title);
  bar->setObjectName(name);
  bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  bar->setIconSize(QSize(16, 16));
  return bar;
}

QAction* AddToolButton(QToolBar* bar, const QString& prefix, const ToolButton& button,
                       QActionGroup* group) {
  const QString name = prefix + "_" + QString(button.key).replace(' ', '_');
  QAction* action = bar->addAction(button.text);
  action->setObjectName(name);
  action->setToolTip(button.tip);
  action->setStatusTip(button.tip);
  action->setCheckable(button.checkable);
  const QIcon icon = ThemeIcon(button.icon);
  if (!icon.isNull()) action->setIcon(icon);
  if (group) group->addAction(action);
  QWidget* widget = bar->widgetForAction(action);
  widget->setObjectName(name);
  widget->setMinimumSize(kToolButtonWidth, kToolButtonHeight);
  widget->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
  widget->setFocusPolicy(Qt::NoFocus);
  return action;
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

}  // namespace tamsel
