#include "app/view_bars.h"

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QShortcut>
#include <QToolBar>

#include "app/panels/panel_host.h"
#include "app/panels/property_panels.h"
#include "app/tool_bars.h"
#include "viewport/viewport_controller.h"

namespace tamsel {

ViewBars::ViewBars(QMainWindow& window, QMenu* viewMenu, PanelHost& host, PropertyPanels& panels,
                   ViewportController& viewport)
    : QObject(&window), host_(host), panels_(panels), viewport_(viewport) {
  BuildViewBar(window);
  BuildDisplayBar(window);
  BuildViewMenu(window, viewMenu);
}

void ViewBars::BuildViewBar(QMainWindow& window) {
  viewBar_ = MakeToolBar("viewtoolbar", "View");
  viewBar_->setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
  window.addToolBar(viewBar_);
  const auto add = [this](const ToolButton& button) {
    return AddToolButton(viewBar_, "viewbar", button);
  };
  view_.perspective =
      add({"perspective", "3D",
           "Perspective: look at the craft from above, in front and to its left, and frame it (5)",
           "", false});
  view_.top = add({"top", "Top", "Top: look down on the craft, and frame it (7; Ctrl+7 from below)",
                   "", false});
  view_.right =
      add({"right", "Right",
           "Right: look at the craft's right side, and frame it (3; Ctrl+3 its left)", "", false});
  view_.front = add(
      {"front", "Front",
       "Front: look at the craft from the front, and frame it (1; Ctrl+1 from behind)", "", false});
  view_.fit = add({"fit", "Fit", "Fit the selection, or the whole model, to the view (F)",
                   "zoom-fit-best", false});
  // A new direction shows the model (or the selection) whole; Fit keeps the direction.
  for (const auto& [action, preset] :
       {std::pair{view_.perspective, "perspective"}, std::pair{view_.top, "top"},
        std::pair{view_.right, "right"}, std::pair{view_.front, "front"}})
    connect(action, &QAction::triggered, this, [this, key = QString(preset)] { ShowPreset(key); });
  connect(view_.fit, &QAction::triggered, this, [this] { viewport_.Navigation().Fit(); });
}

void ViewBars::BuildDisplayBar(QMainWindow& window) {
  displayBar_ = MakeToolBar("displaytoolbar", "Display");
  displayBar_->setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
  window.addToolBar(displayBar_);
  // Each group is exclusive: a click on the pressed button keeps it pressed.
  auto* levels = new QActionGroup(this);
  auto* geometry = new QActionGroup(this);
  auto* drawing = new QActionGroup(this);
  auto* normals = new QActionGroup(this);
  const auto add = [this](const ToolButton& button, QActionGroup* group) {
    return AddToolButton(displayBar_, "dispbar", button, group);
  };
  display_.highLevel = add(
      {"high level", "Hi", "High Level: show and edit the high level of detail", "value-increase"},
      levels);
  display_.lowLevel =
      add({"low level", "Lo", "Low Level: show and edit the low level of detail", "value-decrease"},
          levels);
  displayBar_->addSeparator();
  display_.mesh = add({"mesh", "Mesh", "Mesh: pick and edit whole meshes"}, geometry);
  display_.face =
      add({"face", "Face", "Face: pick and edit faces of the selected meshes"}, geometry);
  display_.vertex =
      add({"vertex", "Vert", "Vertex: pick and edit corners of the selected faces"}, geometry);
  displayBar_->addSeparator();
  display_.wireframe =
      add({"wireframe", "Wire", "Wireframe: draw the craft as wires", "view-grid"}, drawing);
  display_.texture =
      add({"texture", "Tex", "Texture: draw the craft textured", "image-x-generic"}, drawing);
  displayBar_->addSeparator();
  display_.hideNormals = add({"no norm", "-N", "Hide Normals", "view-conceal"}, normals);
  display_.showNormals = add(
      {"norm", "+N", "Show Normals: draw the normals of the selection", "view-reveal"}, normals);
  // The pressed buttons match the start values of the view state.
  for (QAction* action :
       {display_.highLevel, display_.mesh, display_.wireframe, display_.showNormals})
    action->setChecked(true);

  connect(levels, &QActionGroup::triggered, this, [this](QAction* chosen) {
    host_.View().CurrentLOD = chosen == display_.lowLevel ? Detail::Low : Detail::High;
    host_.ViewChanged(true);  // the panels show the new level's values afresh
  });
  connect(geometry, &QActionGroup::triggered, this, [this](QAction* chosen) {
    ViewState& view = host_.View();
    view.GeometryLevel = chosen == display_.face     ? Geometry::Face
                         : chosen == display_.vertex ? Geometry::Vertex
                                                     : Geometry::Mesh;
    panels_.FollowGeometryLevel(view.GeometryLevel);
    host_.ViewChanged(true);  // the level's list takes the keyboard
  });
  connect(drawing, &QActionGroup::triggered, this, [this](QAction* chosen) {
    host_.View().DisplayMode = chosen == display_.texture ? Display::Texture : Display::Wire;
    host_.ViewChanged(false);
  });
  connect(normals, &QActionGroup::triggered, this, [this](QAction* chosen) {
    host_.View().NormalsShown = chosen == display_.showNormals;
    host_.ViewChanged(false);
  });
}

void ViewBars::BuildViewMenu(QMainWindow& window, QMenu* viewMenu) {
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
  QMenu* views = viewMenu->addMenu("&Views");
  views->setObjectName("viewpresetsmenu");
  for (const Preset& p : presets) {
    const QString name = p.name;
    const auto show = [this, name] { ShowPreset(name); };
    for (Qt::KeyboardModifiers pad :
         {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::KeypadModifier)}) {
      auto* shortcut = new QShortcut(QKeySequence(p.modifiers | pad | p.key), &window);
      connect(shortcut, &QShortcut::activated, this, show);
    }
    // The key is shown, not bound: the shortcuts above take it, on the keypad as well.
    const QString keys = QKeySequence(p.modifiers | p.key).toString(QKeySequence::NativeText);
    QAction* action = views->addAction(QString(p.caption) + "\t" + keys);
    action->setObjectName(name + "viewmenu");
    action->setStatusTip("Turn to the " + QString(p.caption).remove('&') +
                         " view and frame the craft");
    connect(action, &QAction::triggered, this, show);
  }
}

void ViewBars::ShowDisplayButtons(bool shown) {
  for (QAction* action : displayBar_->actions()) action->setVisible(shown);
}

void ViewBars::ShowPreset(const QString& key) {
  viewport_.Navigation().ViewPreset(key.toStdString());
  viewport_.Navigation().Fit();
}

}  // namespace tamsel
