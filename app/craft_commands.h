// The model-wide commands of the Calculate, Fix and Options menus: each one undo step whose
// count the status bar tells; and the colour settings and the face count.
#pragma once

#include <QObject>
#include <QString>
#include <vector>

#include "model/color_settings.h"

namespace tamsel {

class PanelHost;
struct Model;

class CraftCommands : public QObject {
 public:
  CraftCommands(PanelHost& host, ColorSettings& colors, QObject* parent);

  void SplitQuadsIntoTriangles();
  void ReverseCornerOrder();
  void RecalculateFaceNormals();
  void RecalculateVertexNormals();
  // Asks the angle (30 degrees at first) and smooths the selected meshes' normals, or every
  // mesh's when none is selected.
  void SmoothVertexNormalsByAngle();
  // Asks the share of faces to keep (0.25 at first) and makes the low level of the selected
  // meshes, or of every mesh when none is selected, from their high levels.
  void GenerateLowDetail();
  void RecalculateSoftwareVectors();
  void RecalculateTextureCoordinates();
  void RecalculateHitzones();
  void RecalculateRotations();
  // The colour dialog for one of the settings, starting from its colour.
  void ChooseSettingColor(ColorTriple ColorSettings::*setting);
  void ShowFaceCount();
  // The Edit menu's selection commands, at the level being edited.
  void SelectEverything();
  void SelectNothing();
  void InvertTheSelection();

 private:
  PanelHost& host_;
  ColorSettings& colors_;
  tamsel::Model& model_;
  double lastAngle_ = 30;
  double lastRatio_ = 0.25;
  // The meshes selected at the level shown; every mesh when none is.
  std::vector<int> SelectedOrAll() const;
};

}  // namespace tamsel
