// The tool bars and view options: orientation presets, the level of detail, geometry
// level, drawing mode and normals, and the property panels.
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>

#include "app/keyed_toolbar.h"
#include "app/menus.h"
#include "app/row_list.h"
#include "app/tamsel_window.h"
#include "viewport/cxxx.h"

namespace tamsel {

void TamselWindow::ConnectHandlers() {
  ConnectGeometryHandlers();
  ConnectTextureHandlers();
  ConnectFeatureHandlers();
  const std::pair<const char*, void (TamselWindow::*)()> menuHandlers[] = {
      {"opznewmenu", &TamselWindow::opznewmenu_Click},
      {"opzopenmenu", &TamselWindow::opzopenmenu_Click},
      {"saveopzmenu", &TamselWindow::saveopzmenu_Click},
      {"optimportmenu", &TamselWindow::optimportmenu_Click},
      {"opzimportmenu", &TamselWindow::opzimportmenu_Click},
      {"dxfimportmenu", &TamselWindow::dxfimportmenu_Click},
      {"optcreatemenu", &TamselWindow::optcreatemenu_Click},
      {"threedsimportmenu", &TamselWindow::threedsimportmenu_Click},
      {"exportmodelmenu", &TamselWindow::exportmodelmenu_Click},
      {"facecountmenu", &TamselWindow::facecountmenu_Click}};
  for (const auto& [name, handler] : menuHandlers)
    connect(MenuItem(name), &QAction::triggered, this, handler);
  for (const ColorMenuItem& item : kColorMenuItems)
    connect(MenuItem(item.name), &QAction::triggered, this,
            [this, name = QString(item.name)] { colormenu_Click(name); });
  connect(viewbar_, &KeyedToolBar::ButtonClick, this, &TamselWindow::viewbar_ButtonClick);
  connect(dispbar_, &KeyedToolBar::ButtonClick, this, &TamselWindow::dispbar_ButtonClick);
  connect(propbar_, &KeyedToolBar::ButtonClick, this, &TamselWindow::propbar_ButtonClick);
  connect(Control<QCheckBox>("rotanimaxis"), &QCheckBox::clicked, this,
          &TamselWindow::rotanimaxis_Click);
  connect(Control<QCheckBox>("rotanimaim"), &QCheckBox::clicked, this,
          &TamselWindow::rotanimaim_Click);
  connect(Control<QCheckBox>("rotanimdegree"), &QCheckBox::clicked, this,
          &TamselWindow::rotanimdegree_Click);
  // After choosing Rotate or Pan the arrow keys must reach the window again.
  for (const char* name : {"rotateop", "panop"})
    connect(Control<QRadioButton>(name), &QRadioButton::released, this, [this] { FocusTaker(); });
}

void TamselWindow::viewbar_ButtonClick(int index) {
  // A new direction shows the model (or the selection) whole; "fit" keeps the direction.
  if (viewbar_->Key(index) != "fit") cxxx_->ViewPreset(viewbar_->Key(index).toStdString());
  cxxx_->Fit();
}

void TamselWindow::dispbar_ButtonClick(int index) {
  const QString key = dispbar_->Key(index), tag = dispbar_->Tag(index);
  for (int i = 1; i <= dispbar_->Count(); ++i)
    if (!tag.isEmpty() && dispbar_->Tag(i) == tag) dispbar_->SetValue(i, 0);
  dispbar_->SetValue(index, 1);

  if (tag == "lodgroup") {
    view_.CurrentLOD = key == "low level" ? "low" : "high";
    const int level = view_.LevelIndex();
    // The lists show the new level's selection; a row of -1 is no mesh to show.
    RebuildSelectionLists(level);
    const int row = List("meshlist")->ListIndex();
    if (row >= 0) MeshScreens(row, level);
  } else if (tag == "geogroup") {
    if (key == "mesh") {
      List("meshlist")->setFocus();
      view_.GeometryLevel = "mesh";
      view_.GeometrySubPanel = "geometry";
      BringToFront(Control("geometrysubframe"));
      propbar_->SetEnabled(3, true);
      propbar_->SetEnabled(4, true);
      propbar_->SetValue(9, 1);
      propbar_->SetValue(10, 0);
    } else {
      propbar_->SetEnabled(3, false);
      propbar_->SetEnabled(4, false);
      if (view_.PropertyPanel == "hitzone" || view_.PropertyPanel == "rotation") {
        view_.PropertyPanel = "geometry";
        BringToFront(Control("geometryframe"));
        propbar_->SetValue(1, 1);
        propbar_->SetValue(3, 0);
        propbar_->SetValue(4, 0);
        propbar_->SetValue(9, 1);
        propbar_->SetValue(10, 0);
        propbar_->SetVisible(9, true);
        propbar_->SetVisible(10, true);
        propbar_->SetEnabled(10, true);
      }
    }
    if (key == "face") {
      propbar_->SetEnabled(10, true);
      view_.GeometryLevel = "face";
    } else {
      propbar_->SetEnabled(10, false);
    }
    if (key == "vertex") {
      propbar_->SetEnabled(10, true);
      view_.GeometryLevel = "vertex";
      view_.GeometrySubPanel = "geometry";
    }
    SetGeometryLevelControls(key);
    if (key == "face") List("facelist")->setFocus();
    if (key == "vertex") List("Xvertexlist")->setFocus();
  } else if (tag == "rendergroup") {
    view_.DisplayMode = key == "texture" ? "texture" : "wire";
  } else if (tag == "normalgroup") {
    view_.NormalsShown = key == "norm" ? "show" : "hide";
  }
  Redisplay();
}

void TamselWindow::propbar_ButtonClick(int index) {
  const QString key = propbar_->Key(index);
  static const std::pair<const char*, const char*> panels[] = {
      {"geometry", "geometryframe"},   {"texture", "textureframe"},
      {"hitzone", "hitzoneframe"},     {"rotation", "rotationframe"},
      {"hardpoint", "hardpointframe"}, {"engine glow", "engineglowframe"}};
  for (const auto& [panel, frame] : panels) {
    if (key != panel) continue;
    for (int i = 1; i <= 6; ++i) propbar_->SetValue(i, 0);
    propbar_->SetValue(index, 1);
    view_.PropertyPanel = panel;
    BringToFront(Control(frame));
    propbar_->SetVisible(9, key == "geometry");
    propbar_->SetVisible(10, key == "geometry");
    propbar_->SetVisible(11, key == "texture");
    propbar_->SetVisible(12, key == "texture");
  }
  // The sub-frame buttons behave as pairs: the clicked one stays pressed.
  if (key == "subgeometry") {
    BringToFront(Control("geometrysubframe"));
    view_.GeometrySubPanel = "geometry";
    propbar_->SetValue(index, 1);
    propbar_->SetValue(10, 0);
  } else if (key == "subtexture") {
    BringToFront(Control("texturesubframe"));
    view_.GeometrySubPanel = "texture";
    propbar_->SetValue(index, 1);
    propbar_->SetValue(9, 0);
  } else if (key == "subtransparency") {
    BringToFront(Control("transsubframe"));
    view_.TextureSubPanel = "transparency";
    propbar_->SetValue(index, 1);
    propbar_->SetValue(12, 0);
  } else if (key == "subillumination") {
    BringToFront(Control("illumsubframe"));
    view_.TextureSubPanel = "illumination";
    propbar_->SetValue(index, 1);
    propbar_->SetValue(11, 0);
  }
  Redisplay();
}

// Ticking starts an animation from its rest; unticking shows the part at rest again.
void TamselWindow::rotanimaxis_Click() {
  view_.AxisAnimAngle = 0;
  Redisplay();
}
void TamselWindow::rotanimaim_Click() {
  view_.AimAnimStep = 0;
  Redisplay();
}
void TamselWindow::rotanimdegree_Click() {
  view_.DegreeAnimStep = 0;
  Redisplay();
}

}  // namespace tamsel
