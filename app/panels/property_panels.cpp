#include "app/panels/property_panels.h"

#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <tuple>

#include "app/event_watcher.h"
#include "app/keyed_toolbar.h"
#include "app/panels/color_subframe.h"
#include "app/panels/feature_frames.h"
#include "app/panels/geometry_frame.h"
#include "app/panels/geometry_subframe.h"
#include "app/panels/mesh_frames.h"
#include "app/panels/texture_frame.h"
#include "app/panels/texture_subframe.h"
#include "app/toolbar_buttons.h"

namespace tamsel {
namespace {

// The property tool bar's positions.
enum Bar {
  kGeometry = 1,
  kTexture = 2,
  kHitzone = 3,
  kRotation = 4,
  kSubGeometry = 9,
  kSubTexture = 10,
  kSubTransparency = 11,
  kSubIllumination = 12
};

}  // namespace

PropertyPanels::PropertyPanels(PanelHost& host, QWidget* parent) : QWidget(parent), host_(host) {
  setObjectName("propertiespanel");
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(4, 4, 4, 4);
  bar_ = new KeyedToolBar("propbar", PropBarButtons(), this);
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

  bar_->SetValue(kGeometry, 1);
  bar_->SetValue(kSubGeometry, 1);
  bar_->SetValue(kSubTransparency, 1);
  bar_->SetVisible(kSubTransparency, false);
  bar_->SetVisible(kSubIllumination, false);
  bar_->SetEnabled(kSubTexture, false);  // the texture sub-frame belongs to faces and corners
  BringToFront(&geometry_->GeometrySub());
  BringToFront(&texture_->Transparency());
  BringToFront(geometry_);
  connect(bar_, &KeyedToolBar::ButtonClick, this, [this](int index) { ShowPanelOfButton(index); });
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
    bar_->SetEnabled(kHitzone, true);
    bar_->SetEnabled(kRotation, true);
    bar_->SetValue(kSubGeometry, 1);
    bar_->SetValue(kSubTexture, 0);
  } else {
    bar_->SetEnabled(kHitzone, false);
    bar_->SetEnabled(kRotation, false);
    if (view.PropertyPanel == Panel::Hitzone || view.PropertyPanel == Panel::Rotation) {
      view.PropertyPanel = Panel::Geometry;
      BringToFront(geometry_);
      bar_->SetValue(kGeometry, 1);
      bar_->SetValue(kHitzone, 0);
      bar_->SetValue(kRotation, 0);
      bar_->SetValue(kSubGeometry, 1);
      bar_->SetValue(kSubTexture, 0);
      bar_->SetVisible(kSubGeometry, true);
      bar_->SetVisible(kSubTexture, true);
      bar_->SetEnabled(kSubTexture, true);
    }
  }
  bar_->SetEnabled(kSubTexture, level != tamsel::Geometry::Mesh);
  if (level == tamsel::Geometry::Vertex) view.GeometrySubPanel = GeometrySub::Geometry;
}

void PropertyPanels::ShowPanelOfButton(int index) {
  ViewState& view = host_.View();
  const QString key = bar_->Key(index);
  const std::tuple<const char*, Panel, QWidget*> panels[] = {
      {"geometry", Panel::Geometry, geometry_},    {"texture", Panel::Texture, texture_},
      {"hitzone", Panel::Hitzone, hitzone_},       {"rotation", Panel::Rotation, rotation_},
      {"hardpoint", Panel::Hardpoint, hardpoint_}, {"engine glow", Panel::EngineGlow, engineGlow_}};
  for (const auto& [name, panel, frame] : panels) {
    if (key != name) continue;
    for (int i = 1; i <= 6; ++i) bar_->SetValue(i, 0);
    bar_->SetValue(index, 1);
    view.PropertyPanel = panel;
    BringToFront(frame);
    bar_->SetVisible(kSubGeometry, key == "geometry");
    bar_->SetVisible(kSubTexture, key == "geometry");
    bar_->SetVisible(kSubTransparency, key == "texture");
    bar_->SetVisible(kSubIllumination, key == "texture");
  }
  // The sub-frame buttons behave as pairs: the clicked one stays pressed.
  if (key == "subgeometry") {
    BringToFront(&geometry_->GeometrySub());
    view.GeometrySubPanel = GeometrySub::Geometry;
    bar_->SetValue(index, 1);
    bar_->SetValue(kSubTexture, 0);
  } else if (key == "subtexture") {
    BringToFront(&geometry_->TextureSub());
    view.GeometrySubPanel = GeometrySub::Texture;
    bar_->SetValue(index, 1);
    bar_->SetValue(kSubGeometry, 0);
  } else if (key == "subtransparency") {
    BringToFront(&texture_->Transparency());
    view.TextureSubPanel = TextureSub::Transparency;
    bar_->SetValue(index, 1);
    bar_->SetValue(kSubIllumination, 0);
  } else if (key == "subillumination") {
    BringToFront(&texture_->Illumination());
    view.TextureSubPanel = TextureSub::Illumination;
    bar_->SetValue(index, 1);
    bar_->SetValue(kSubTransparency, 0);
  }
  host_.ViewChanged();
}

}  // namespace tamsel
