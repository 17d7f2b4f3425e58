// The hardpoint and engine-glow frames: lists of the selected meshes' elements, and the
// focused element's values.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "app/controls.h"
#include "app/panels/panel_host.h"

class QComboBox;
class QFrame;

namespace tamsel {

class RowList;

// What both frames share: the rows of the selected meshes' elements, rebuilt with every
// change, and the focused element's values shown afresh when another is focused or the
// records changed (typed values stay otherwise).
class ItemListFrame : public PropertyFrame {
 public:
  struct Kind {
    std::optional<ItemRef> Focus::*focused;
    std::vector<ItemRef> (*rows)(const Model&, int level);
    std::string (*text)(int mesh, int item);
    bool (*exists)(const Model&, ItemRef);
  };
  ItemListFrame(PanelHost& host, const Kind& kind, const QString& name, const QString& title,
                QWidget* parent);
  void Refresh(const ModelChange& change) override;
  void Clear() override;
  // A click on a row focuses its element.
  void ListClick();

 protected:
  virtual void Show(ItemRef item) = 0;
  // The focused element when it exists and is listed.
  std::optional<ItemRef> Focused();
  // Focuses an element added to the mesh that had the focus.
  void FocusAdded(int mesh, int item);
  RowList* list_ = nullptr;

 private:
  Kind kind_;
  std::vector<ItemRef> rows_;
  std::optional<ItemRef> shown_;
};

class HardpointFrame : public ItemListFrame {
 public:
  HardpointFrame(PanelHost& host, QWidget* parent);
  void AddHardpoint();
  void DeleteHardpoint();
  void PlaceHardpointAtFocus(bool toVertex);
  void ApplyHardpointBoxes();

 private:
  void Show(ItemRef item) override;
  QComboBox* type_ = nullptr;
  XYZBoxes position_;
};

class EngineGlowFrame : public ItemListFrame {
 public:
  EngineGlowFrame(PanelHost& host, QWidget* parent);
  void AddEngineGlow();
  void DeleteEngineGlow();
  void PlaceGlowOnFocusedFace();
  // The swatch's colour dialog; the choice goes into the boxes, not yet into the glow.
  void ChooseGlowColor(bool inner);
  void ApplyEngineGlowBoxes();

 private:
  void Show(ItemRef item) override;
  std::array<QLineEdit*, 4> inner_{}, outer_{};  // R, G, B, A
  QFrame* innerSwatch_ = nullptr;
  QFrame* outerSwatch_ = nullptr;
  XYZBoxes position_, size_, density_[3];
};

}  // namespace tamsel
