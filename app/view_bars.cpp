#include "app/view_bars.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QToolBar>
#include <tuple>

#include "app/keyed_toolbar.h"
#include "app/panels/panel_host.h"
#include "app/panels/property_panels.h"
#include "app/toolbar_buttons.h"
#include "viewport/viewport_controller.h"

namespace tamsel {

ViewBars::ViewBars(QMainWindow& window, PanelHost& host, PropertyPanels& panels,
                   ViewportController& viewport)
    : QObject(&window), host_(host), panels_(panels), viewport_(viewport) {
  viewbar_ = new KeyedToolBar("viewbar", ViewBarButtons());
  dispbar_ = new KeyedToolBar("dispbar", DispBarButtons());
  for (auto [bar, name, title] : {std::tuple{viewbar_, "viewtoolbar", "View"},
                                  std::tuple{dispbar_, "displaytoolbar", "Display"}}) {
    auto* tools = window.addToolBar(title);
    tools->setObjectName(name);
    tools->setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
    tools->addWidget(bar);
  }
  // The pressed buttons match the start values of the view state.
  for (const char* key : {"high level", "mesh", "wireframe", "norm"})
    dispbar_->SetValue(dispbar_->IndexOfKey(key), 1);
  connect(viewbar_, &KeyedToolBar::ButtonClick, this, &ViewBars::TurnToViewOfButton);
  // The number keys of the keypad's layout choose the presets, on the keypad or the number
  // row, and with Ctrl the opposite side, as modelling tools have it; a text box keeps the
  // digits typed into it. View > Views lists them all with their keys.
  struct Preset {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* name;
    const char* caption;
  };
  const Preset presets[] = {{Qt::Key_7, {}, "top", "&Top"},
                            {Qt::Key_1, {}, "front", "&Front"},
                            {Qt::Key_3, {}, "right", "&Right"},
                            {Qt::Key_7, Qt::ControlModifier, "bottom", "B&ottom"},
                            {Qt::Key_1, Qt::ControlModifier, "back", "&Back"},
                            {Qt::Key_3, Qt::ControlModifier, "left", "&Left"},
                            {Qt::Key_5, {}, "perspective", "&3D"}};
  QMenu* views = nullptr;
  if (auto* viewMenu = window.menuBar()->findChild<QMenu*>("viewmenu")) {
    views = viewMenu->addMenu("&Views");
    views->setObjectName("viewpresetsmenu");
  }
  for (const Preset& p : presets) {
    const QString name = p.name;
    const auto show = [this, name] { ShowPreset(name); };
    for (Qt::KeyboardModifiers pad :
         {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::KeypadModifier)}) {
      auto* shortcut = new QShortcut(QKeySequence(p.modifiers | pad | p.key), &window);
      connect(shortcut, &QShortcut::activated, this, show);
    }
    if (!views) continue;
    // The key is shown, not bound: the shortcuts above take it, on the keypad as well.
    const QString keys = QKeySequence(p.modifiers | p.key).toString(QKeySequence::NativeText);
    QAction* action = views->addAction(QString(p.caption) + "\t" + keys);
    action->setObjectName(name + "viewmenu");
    action->setStatusTip("Turn to the " + QString(p.caption).remove('&') +
                         " view and frame the craft");
    connect(action, &QAction::triggered, this, show);
  }
  connect(dispbar_, &KeyedToolBar::ButtonClick, this, &ViewBars::ChooseDisplayOfButton);
}

void ViewBars::ShowPreset(const QString& key) {
  viewport_.Navigation().ViewPreset(key.toStdString());
  viewport_.Navigation().Fit();
}

void ViewBars::TurnToViewOfButton(int index) {
  // A new direction shows the model (or the selection) whole; "fit" keeps the direction.
  if (viewbar_->Key(index) != "fit")
    viewport_.Navigation().ViewPreset(viewbar_->Key(index).toStdString());
  viewport_.Navigation().Fit();
}

void ViewBars::ChooseDisplayOfButton(int index) {
  const QString key = dispbar_->Key(index), tag = dispbar_->Tag(index);
  for (int i = 1; i <= dispbar_->Count(); ++i)
    if (!tag.isEmpty() && dispbar_->Tag(i) == tag) dispbar_->SetValue(i, 0);
  dispbar_->SetValue(index, 1);

  ViewState& view = host_.View();
  bool chosen = false;
  if (tag == "lodgroup") {
    view.CurrentLOD = key == "low level" ? Detail::Low : Detail::High;
    chosen = true;  // the panels show the new level's values afresh
  } else if (tag == "geogroup") {
    view.GeometryLevel = GeometryNamed(key.toStdString()).value_or(Geometry::Mesh);
    panels_.FollowGeometryLevel(view.GeometryLevel);
    chosen = true;  // the level's list takes the keyboard
  } else if (tag == "rendergroup") {
    view.DisplayMode = key == "texture" ? Display::Texture : Display::Wire;
  } else if (tag == "normalgroup") {
    view.NormalsShown = key == "norm";
  }
  host_.ViewChanged(chosen);
}

}  // namespace tamsel
