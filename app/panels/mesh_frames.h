// The hitzone and rotation frames: values of the focused mesh. UPDATE in them changes only
// that mesh, however many are selected, so their titles name it.
#pragma once

#include "app/controls.h"
#include "app/panels/panel_host.h"

class QCheckBox;
class QComboBox;

namespace tamsel {

// What both frames share: they show their mesh's values afresh when another mesh is
// focused or the mesh's records changed, and keep what was typed otherwise.
class MeshValuesFrame : public PropertyFrame {
 public:
  using PropertyFrame::PropertyFrame;
  void Refresh(const ModelChange& change) override;
  void Clear() override;

 protected:
  virtual void Show(const MeshRec& mesh) = 0;
  // The focused mesh, when it has the level on show.
  const MeshRec* Mesh();

 private:
  QString baseTitle_;
  int shownMesh_ = -1, shownLevel_ = -1;
};

class HitzoneFrame : public MeshValuesFrame {
 public:
  HitzoneFrame(PanelHost& host, QWidget* parent);
  void ApplyHitzoneBoxes();
  // The span and centre follow the minimum and maximum as they are typed.
  void FollowExtentBoxes(int axis);

 private:
  void Show(const MeshRec& mesh) override;
  QComboBox* meshType_ = nullptr;
  QComboBox* explosionType_ = nullptr;
  XYZBoxes span_, center_, min_, max_, target_;
  QLineEdit* targetId_ = nullptr;
};

class RotationFrame : public MeshValuesFrame {
 public:
  RotationFrame(PanelHost& host, QWidget* parent);
  void ApplyRotationBoxes();
  struct Animations {
    bool axis = false, aim = false, degree = false;
  };
  Animations Animated() const;

 private:
  void Show(const MeshRec& mesh) override;
  XYZBoxes pivot_, axis_, aim_, degree_;
  QCheckBox* animateAxis_ = nullptr;
  QCheckBox* animateAim_ = nullptr;
  QCheckBox* animateDegree_ = nullptr;
};

}  // namespace tamsel
