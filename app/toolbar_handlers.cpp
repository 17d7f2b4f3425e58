// The tool bars: orientation presets, the level of detail, geometry level, drawing mode and
// normals; and the model-wide commands of the menus.
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

void TamselWindow::ConnectHandlers() {
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
      {"facecountmenu", &TamselWindow::facecountmenu_Click},
      {"quad2trimenu", &TamselWindow::quad2trimenu_Click},
      {"vertexordermenu", &TamselWindow::vertexordermenu_Click},
      {"facenormalmenu", &TamselWindow::facenormalmenu_Click},
      {"vertexnormalmenu", &TamselWindow::vertexnormalmenu_Click},
      {"softwarevectormenu", &TamselWindow::softwarevectormenu_Click},
      {"texturecoordinatemenu", &TamselWindow::texturecoordinatemenu_Click},
      {"hitzonemenu", &TamselWindow::hitzonemenu_Click},
      {"rotationmenu", &TamselWindow::rotationmenu_Click}};
  for (const auto& [name, handler] : menuHandlers)
    connect(MenuItem(name), &QAction::triggered, this, handler);
  for (const ColorMenuItem& item : kColorMenuItems)
    connect(MenuItem(item.name), &QAction::triggered, this,
            [this, name = QString(item.name)] { colormenu_Click(name); });
  connect(viewbar_, &KeyedToolBar::ButtonClick, this, &TamselWindow::viewbar_ButtonClick);
  connect(dispbar_, &KeyedToolBar::ButtonClick, this, &TamselWindow::dispbar_ButtonClick);
}

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
    view_.CurrentLOD = key == "low level" ? "low" : "high";
    chosen = true;  // the panels show the new level's values afresh
  } else if (tag == "geogroup") {
    view_.GeometryLevel = key.toStdString();
    panels_->FollowGeometryLevel(key);
    chosen = true;  // the level's list takes the keyboard
  } else if (tag == "rendergroup") {
    view_.DisplayMode = key == "texture" ? "texture" : "wire";
  } else if (tag == "normalgroup") {
    view_.NormalsShown = key == "norm" ? "show" : "hide";
  }
  ViewChanged(chosen);
}

// The model-wide commands: each one step, its count in the status bar.
void TamselWindow::quad2trimenu_Click() {
  int split = 0;
  if (!Edit("Quad2Tri", [&](tamsel::Model& m) { split = Quad2Tri(m); })) return;
  Viewport().ApplyViewExtent();
  ShowStatus(QString("Quad2Tri split %1 faces").arg(split));
}

void TamselWindow::vertexordermenu_Click() {
  if (Edit("Vertex Order", [](tamsel::Model& m) { ReverseVertexOrder(m); }))
    ShowStatus(QString("Vertex Order reversed %1 faces").arg(TotalFaceCount(model_)));
}

void TamselWindow::facenormalmenu_Click() {
  if (Edit("Face Normals", [](tamsel::Model& m) { CalculateFaceNormals(m); }))
    ShowStatus(QString("Face Normals calculated for %1 faces").arg(TotalFaceCount(model_)));
}

void TamselWindow::vertexnormalmenu_Click() {
  if (Edit("Vertex Normals", [](tamsel::Model& m) { CalculateVertexNormals(m); }))
    ShowStatus(QString("Vertex Normals calculated for %1 corners").arg(TotalCornerCount(model_)));
}

void TamselWindow::softwarevectormenu_Click() {
  if (Edit("Software Vectors", [](tamsel::Model& m) { CalculateSoftwareVectors(m); }))
    ShowStatus(QString("Software Vectors calculated for %1 faces").arg(TotalFaceCount(model_)));
}

void TamselWindow::texturecoordinatemenu_Click() {
  if (Edit("Texture Coordinates", [](tamsel::Model& m) { ResetTextureCoordinates(m); }))
    ShowStatus(QString("Texture Coordinates reset on %1 faces").arg(TotalFaceCount(model_)));
}

void TamselWindow::hitzonemenu_Click() {
  if (Edit("Hitzones", [](tamsel::Model& m) { CalculateHitzones(m); }))
    ShowStatus(QString("Hitzones calculated for %1 meshes").arg(model_.MeshCount()));
}

void TamselWindow::rotationmenu_Click() {
  if (Edit("Rotations", [](tamsel::Model& m) { CalculateRotations(m); }))
    ShowStatus(QString("Rotations calculated for %1 meshes").arg(model_.MeshCount()));
}

}  // namespace tamsel
