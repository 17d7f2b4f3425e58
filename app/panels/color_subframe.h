// The transparency and illumination sub-frames: twins that differ in names, ranges and
// the colour table of the texture record they edit.
#pragma once

#include <array>

#include "app/panels/panel_host.h"
#include "model/model.h"

class QLabel;
class QLineEdit;
class QScrollBar;
class QFrame;

namespace tamsel {

class RowList;

class ColorSubFrame : public PropertyFrame {
 public:
  struct Kind {
    QString prefix;    // "trans" or "illum"
    QString strength;  // "opacity" or "brightness"
    int strengthMin, strengthMax, strengthStart;
    QString update;   // the UPDATE button's name
    QString caption;  // how messages name the panel's boxes
  };
  static const Kind kTransparency, kIllumination;

  ColorSubFrame(PanelHost& host, const Kind& kind, QWidget* parent);
  void Refresh(const ModelChange& change) override;
  void Clear() override;

  // Marks every pixel within the tolerance of one of the colour rows, in magenta.
  static QImage Marked(const QImage& picture, const std::vector<RGB>& rows, int tolerance);

  void FocusListedTexture();
  void ShowColorUnderPointer(int x, int y);
  void TakeColorUnderPointer();
  void ChooseColorRow(int channel);
  void RemoveColorRow();
  void StrengthFromSlider();
  void StrengthFromText();
  void ToleranceFromSlider();
  void ToleranceFromText();
  void ApplyColorBoxes();

 private:
  bool Transparency() const { return kind_.prefix == "trans"; }
  void ShowTextureRows(const ModelChange& change);
  // The texture's table and strength as stored: what was added and not applied goes.
  void ShowTexture(int t);
  std::vector<RGB> Table(const TextureRec& texture) const;

  Kind kind_;
  RowList* textures_ = nullptr;
  QLabel* viewer_ = nullptr;
  QFrame* tintDisplay_ = nullptr;
  QLineEdit* tintText_ = nullptr;
  std::array<RowList*, 3> tints_{};  // R, G, B
  QScrollBar* strengthBar_ = nullptr;
  QLineEdit* strengthText_ = nullptr;
  QFrame* strengthDisplay_ = nullptr;
  QScrollBar* toleranceBar_ = nullptr;
  QLineEdit* toleranceText_ = nullptr;
  int shownTexture_ = -1;
};

}  // namespace tamsel
