// The geometry sub-frame: the corner lists and the boxes of the focused mesh, face and
// corner, with Delete, Assign LOD and UPDATE.
#pragma once

#include <array>
#include <optional>

#include "app/controls.h"
#include "app/panels/panel_host.h"

class QComboBox;
class QPushButton;

namespace tamsel {

class RowList;

class GeometrySubFrame : public PropertyFrame {
 public:
  GeometrySubFrame(PanelHost& host, QWidget* parent);
  void Refresh(const ModelChange& change) override;
  void Clear() override;
  // Shows the controls of one geometry level ("mesh", "face" or "vertex") and hides the rest.
  void ShowLevel(Geometry level);
  // X, Y, Z, then I, J, K: one row per corner, as the texture sub-frame's U and V.
  const std::array<RowList*, 6>& CornerLists() const { return cornerLists_; }

  void DeleteSelectedMeshes();
  void AssignLodToSelection();
  void ApplyGeometryBoxes();
  // Turns the selected meshes (faces, at the face level) by the degrees in the box about
  // the chosen axis through their centre; mirrors them across it.
  void TurnSelection();
  void MirrorSelection();

 private:
  // The translation, angle and size boxes hold a change to apply, not a value of the mesh:
  // they start afresh for a newly chosen mesh, and keep what was typed across its edits.
  void ShowMesh(bool fresh);
  void ShowFace();
  void ShowCorner();

  std::array<RowList*, 6> cornerLists_{};
  std::array<QLineEdit*, 6> cornerBoxes_{};
  XYZBoxes meshMove_, meshTurn_, faceMove_, faceTurn_, faceNormal_;
  QLineEdit* meshSize_ = nullptr;
  QLineEdit* meshDistance_ = nullptr;
  QLineEdit* faceSize_ = nullptr;
  QPushButton* delete_ = nullptr;
  QPushButton* assignLod_ = nullptr;
  QPushButton* update_ = nullptr;
  QComboBox* transformAxis_ = nullptr;
  QLineEdit* turnDegrees_ = nullptr;
  QPushButton* turn_ = nullptr;
  QPushButton* mirror_ = nullptr;
  // What the boxes show, so that a change of it starts them afresh.
  int shownMesh_ = -1, shownLevel_ = -1;
  std::optional<FaceRef> shownFace_;
  std::optional<CornerRef> shownCorner_;
};

}  // namespace tamsel
