// The hardpoint and engine-glow frames: lists of the selected meshes' elements, and the
// focused element's values.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "app/controls.h"
#include "app/panels/panel_host.h"

class QComboBox;
class QFrame;

namespace tamsel {

class RowList;

class HardpointFrame : public PropertyFrame {
 public:
  HardpointFrame(PanelHost& host, QWidget* parent);
  void Refresh(const ModelChange& change) override;
  void Clear() override;
  void hardpointlist_Click();
  void hpaddbut_Click();
  void hpdeletebut_Click();
  void hpset_Click(bool toVertex);
  void updatehpbut_Click();

 private:
  std::optional<ItemRef> Focused();
  RowList* list_ = nullptr;
  QComboBox* type_ = nullptr;
  XYZBoxes position_;
  std::vector<ItemRef> rows_;
  std::optional<ItemRef> shown_;
};

class EngineGlowFrame : public PropertyFrame {
 public:
  EngineGlowFrame(PanelHost& host, QWidget* parent);
  void Refresh(const ModelChange& change) override;
  void Clear() override;
  void engineglowlist_Click();
  void egaddbut_Click();
  void egdeletebut_Click();
  void egsetfacebut_Click();
  // The swatch's colour dialog; the choice goes into the boxes, not yet into the glow.
  void egdisplay_Click(bool inner);
  void updateegbut_Click();

 private:
  std::optional<ItemRef> Focused();
  RowList* list_ = nullptr;
  std::array<QLineEdit*, 4> inner_{}, outer_{};  // R, G, B, A
  QFrame* innerSwatch_ = nullptr;
  QFrame* outerSwatch_ = nullptr;
  XYZBoxes position_, size_, density_[3];
  std::vector<ItemRef> rows_;
  std::optional<ItemRef> shown_;
};

}  // namespace tamsel
