#include "app/panels/property_panels.h"

#include <QAction>
#include <QActionGroup>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QToolBar>
#include <QVBoxLayout>
#include <tuple>

#include "app/event_watcher.h"
#include "app/panels/color_subframe.h"
#include "app/panels/feature_frames.h"
#include "app/panels/geometry_frame.h"
#include "app/panels/geometry_subframe.h"
#include "app/panels/mesh_frames.h"
#include "app/panels/texture_frame.h"
#include "app/panels/texture_subframe.h"
#include "app/tool_bars.h"

namespace tamsel {
PropertyPanels::PropertyPanels(PanelHost& host, QWidget* parent) : QWidget(parent), host_(host) {
  setObjectName("propertiespanel");
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(4, 4, 4, 4);
  BuildBar();
  column->addWidget(bar_);
  stack_ = new QStackedWidget;
  stack_->setObjectName("propertystack");
  stack_->addWidget(geometry_ = new GeometryFrame(host, stack_));
  stack_->addWidget(texture_ = new TextureFrame(host, stack_));
  stack_->addWidget(hitzone_ = new HitzoneFrame(host, stack_));
  stack_->addWidget(rotation_ = new RotationFrame(host, stack_));
  stack_->addWidget(hardpoint_ = new HardpointFrame(host, stack_));
  stack_->addWidget(engineGlow_ = new EngineGlowFrame(host, stack_));
  scroll_ = new QScrollArea;
  scroll_->setObjectName("propertyscroll");
  scroll_->setWidgetResizable(true);
  scroll_->setFrameShape(QFrame::NoFrame);
  // The frames scroll down, never across: the dock is kept as wide as the frame on show.
  scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroll_->setWidget(stack_);
  column->addWidget(scroll_, 1);
  new EventWatcher(stack_, {QEvent::LayoutRequest}, [this](QEvent*) {
    scroll_->setMinimumWidth(stack_->minimumSizeHint().width() +
                             scroll_->verticalScrollBar()->sizeHint().width());
  });

  BringToFront(&geometry_->GeometrySub());
  BringToFront(&texture_->Transparency());
  BringToFront(geometry_);
}

void PropertyPanels::BuildBar() {
  bar_ = MakeToolBar("propbar", "Panels");
  bar_->setParent(this);
  bar_->setMovable(false);
  // The panels are one exclusive group, each pair of sub-frames another.
  auto* panels = new QActionGroup(this);
  auto* geometrySub = new QActionGroup(this);
  auto* textureSub = new QActionGroup(this);
  const auto add = [this](const ToolButton& button, QActionGroup* group) {
    return AddToolButton(bar_, "propbar", button, group);
  };
  actions_.geometry =
      add({"geometry", "Geo", "Geometry: positions, sizes, normals and levels of detail"}, panels);
  actions_.texture =
      add({"texture", "Tex", "Texture: transparent and illuminated colours"}, panels);
  actions_.hitzone =
      add({"hitzone", "Hit", "Hitzone: the box the game tests hits against"}, panels);
  actions_.rotation =
      add({"rotation", "Rot", "Rotation: pivot, axis, aim and degree of a moving part"}, panels);
  actions_.hardpoint = add({"hardpoint", "HP", "Hardpoint: where weapons fire from"}, panels);
  actions_.engineGlow =
      add({"engine glow", "EG", "Engine Glow: cones of light at the nozzles"}, panels);
  bar_->addSeparator();
  actions_.subGeometry =
      add({"subgeometry", "sGeo", "Geometry: of the selected faces or corners"}, geometrySub);
  actions_.subTexture =
      add({"subtexture", "sTex", "Texture: textures and coordinates of the selected faces"},
          geometrySub);
  actions_.subTransparency = add(
      {"subtransparency", "Trn", "Transparency: the see-through colours of a texture"}, textureSub);
  actions_.subIllumination = add(
      {"subillumination", "Ill", "Illumination: the colours of a texture that glow"}, textureSub);

  actions_.geometry->setChecked(true);
  actions_.subGeometry->setChecked(true);
  actions_.subTransparency->setChecked(true);
  actions_.subTransparency->setVisible(false);
  actions_.subIllumination->setVisible(false);
  actions_.subTexture->setEnabled(false);  // the texture sub-frame belongs to faces and corners
  connect(panels, &QActionGroup::triggered, this, &PropertyPanels::ShowPanelOf);
  connect(geometrySub, &QActionGroup::triggered, this, &PropertyPanels::ShowSubFrameOf);
  connect(textureSub, &QActionGroup::triggered, this, &PropertyPanels::ShowSubFrameOf);
}

std::array<PropertyFrame*, 6> PropertyPanels::Frames() const {
  return {geometry_, texture_, hitzone_, rotation_, hardpoint_, engineGlow_};
}

void PropertyPanels::Refresh(const ModelChange& change) {
  for (PropertyFrame* frame : Frames()) frame->Refresh(change);
  // A number filled in shows from its start (0.36184406, not 36184406) in a narrow box; the
  // box being typed in keeps its cursor.
  for (QLineEdit* box : stack_->findChildren<QLineEdit*>())
    if (!box->hasFocus()) box->setCursorPosition(0);
}

void PropertyPanels::Clear() {
  for (PropertyFrame* frame : Frames()) frame->Clear();
}

void PropertyPanels::BringToFront(QWidget* frame) {
  if (!frame) return;
  auto* stack = qobject_cast<QStackedWidget*>(frame->parentWidget());
  if (!stack) return;
  stack->setCurrentWidget(frame);
  // A stack takes the size of the frame on show, not of its tallest or widest frame, so
  // that a short frame is not stretched into grey space and a wide one hidden behind it
  // does not push the panel beyond the dock.
  for (int i = 0; i < stack->count(); ++i) {
    QWidget* page = stack->widget(i);
    const auto policy = page == frame ? QSizePolicy::Preferred : QSizePolicy::Ignored;
    page->setSizePolicy(policy, policy);
  }
  stack->updateGeometry();
}

void PropertyPanels::ShowFrames(bool shown) {
  stack_->setVisible(shown);
}

void PropertyPanels::FollowGeometryLevel(tamsel::Geometry level) {
  ViewState& view = host_.View();
  if (level == tamsel::Geometry::Mesh) {
    view.GeometrySubPanel = GeometrySub::Geometry;
    BringToFront(&geometry_->GeometrySub());
    actions_.hitzone->setEnabled(true);
    actions_.rotation->setEnabled(true);
    actions_.subGeometry->setChecked(true);
  } else {
    actions_.hitzone->setEnabled(false);
    actions_.rotation->setEnabled(false);
    if (view.PropertyPanel == Panel::Hitzone || view.PropertyPanel == Panel::Rotation) {
      view.PropertyPanel = Panel::Geometry;
      BringToFront(geometry_);
      actions_.geometry->setChecked(true);
      actions_.subGeometry->setChecked(true);
      ShowSubButtonsOf(Panel::Geometry);
    }
  }
  actions_.subTexture->setEnabled(level != tamsel::Geometry::Mesh);
  if (level == tamsel::Geometry::Vertex) view.GeometrySubPanel = GeometrySub::Geometry;
}

void PropertyPanels::ShowSubButtonsOf(Panel panel) {
  actions_.subGeometry->setVisible(panel == Panel::Geometry);
  actions_.subTexture->setVisible(panel == Panel::Geometry);
  actions_.subTransparency->setVisible(panel == Panel::Texture);
  actions_.subIllumination->setVisible(panel == Panel::Texture);
}

void PropertyPanels::ShowPanelOf(QAction* chosen) {
  const std::tuple<QAction*, Panel, QWidget*> panels[] = {
      {actions_.geometry, Panel::Geometry, geometry_},
      {actions_.texture, Panel::Texture, texture_},
      {actions_.hitzone, Panel::Hitzone, hitzone_},
      {actions_.rotation, Panel::Rotation, rotation_},
      {actions_.hardpoint, Panel::Hardpoint, hardpoint_},
      {actions_.engineGlow, Panel::EngineGlow, engineGlow_}};
  for (const auto& [action, panel, frame] : panels) {
    if (action != chosen) continue;
    host_.View().PropertyPanel = panel;
    BringToFront(frame);
    ShowSubButtonsOf(panel);
  }
  host_.ViewChanged();
}

void PropertyPanels::ShowSubFrameOf(QAction* chosen) {
  ViewState& view = host_.View();
  if (chosen == actions_.subGeometry) {
    BringToFront(&geometry_->GeometrySub());
    view.GeometrySubPanel = GeometrySub::Geometry;
  } else if (chosen == actions_.subTexture) {
    BringToFront(&geometry_->TextureSub());
    view.GeometrySubPanel = GeometrySub::Texture;
  } else if (chosen == actions_.subTransparency) {
    BringToFront(&texture_->Transparency());
    view.TextureSubPanel = TextureSub::Transparency;
  } else if (chosen == actions_.subIllumination) {
    BringToFront(&texture_->Illumination());
    view.TextureSubPanel = TextureSub::Illumination;
  }
  host_.ViewChanged();
}

}  // namespace tamsel
