// The view and display tool bars: orientation presets, the level of detail, the geometry
// level, the drawing mode and normals.
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>

#include "app/keyed_toolbar.h"
#include "app/menus.h"
#include "app/panels/property_panels.h"
#include "app/tamsel_window.h"
#include "editing/geometry_edits.h"
#include "editing/normals.h"
#include "editing/ship_features.h"
#include "editing/texture_tools.h"
#include "model/bounds.h"
#include "viewport/cxxx.h"

namespace tamsel {

void TamselWindow::viewbar_ButtonClick(int index) {
  // A new direction shows the model (or the selection) whole; "fit" keeps the direction.
  if (viewbar_->Key(index) != "fit") Viewport().ViewPreset(viewbar_->Key(index).toStdString());
  Viewport().Fit();
}

void TamselWindow::dispbar_ButtonClick(int index) {
  const QString key = dispbar_->Key(index), tag = dispbar_->Tag(index);
  for (int i = 1; i <= dispbar_->Count(); ++i)
    if (!tag.isEmpty() && dispbar_->Tag(i) == tag) dispbar_->SetValue(i, 0);
  dispbar_->SetValue(index, 1);

  bool chosen = false;
  if (tag == "lodgroup") {
    view_.CurrentLOD = key == "low level" ? Detail::Low : Detail::High;
    chosen = true;  // the panels show the new level's values afresh
  } else if (tag == "geogroup") {
    view_.GeometryLevel = GeometryNamed(key.toStdString()).value_or(Geometry::Mesh);
    panels_->FollowGeometryLevel(view_.GeometryLevel);
    chosen = true;  // the level's list takes the keyboard
  } else if (tag == "rendergroup") {
    view_.DisplayMode = key == "texture" ? Display::Texture : Display::Wire;
  } else if (tag == "normalgroup") {
    view_.NormalsShown = key == "norm";
  }
  ViewChanged(chosen);
}

}  // namespace tamsel
