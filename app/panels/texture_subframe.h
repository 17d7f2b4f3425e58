// The texture sub-frame: the focused face's texture, its software vectors and flight-group
// variants, the focused corner's U and V, stitching and the coordinate tools.
#pragma once

#include <array>
#include <optional>

#include "app/controls.h"
#include "app/panels/panel_host.h"

class QLabel;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace tamsel {

class RowList;

class TextureSubFrame : public PropertyFrame {
 public:
  TextureSubFrame(PanelHost& host, QWidget* parent);
  void Refresh(const ModelChange& change) override;
  void Clear() override;
  void ShowLevel(Geometry level);
  // U, then V: one row per corner.
  const std::array<RowList*, 2>& CornerLists() const { return coordLists_; }

  void PreviewListedBitmap();
  void ApplyTextureBoxes();
  void StitchCoordinates(int view);
  void RotateCoordinates(bool clockwise);
  void FlipCoordinates(bool mirrorU);
  void ShowFlightGroupColor(int color);
  void TurnFlightGroupsOff();

 private:
  // The bitmaps of the project's folder, whether the project uses them or not.
  void ShowBitmapFiles();
  void ShowFace();
  void ShowCorner();

  std::array<RowList*, 2> coordLists_{};
  RowList* files_ = nullptr;
  QLabel* preview_ = nullptr;
  QLabel* viewer_ = nullptr;
  QLineEdit* u_ = nullptr;
  QLineEdit* v_ = nullptr;
  XYZBoxes vector1_, vector2_;
  std::array<QRadioButton*, 4> colours_{};
  QRadioButton* fgOn_ = nullptr;
  QRadioButton* fgOff_ = nullptr;
  std::vector<QWidget*> faceControls_;
  std::optional<FaceRef> shownFace_;
  std::optional<CornerRef> shownCorner_;
  int shownSlot_ = -1, shownLevel_ = -1;
};

}  // namespace tamsel
