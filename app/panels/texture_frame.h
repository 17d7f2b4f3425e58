// The texture frame: the transparency and illumination sub-frames in a stack.
#pragma once

#include "app/panels/panel_host.h"

class QStackedWidget;

namespace tamsel {

class ColorSubFrame;

class TextureFrame : public PropertyFrame {
 public:
  TextureFrame(PanelHost& host, QWidget* parent);
  void Refresh(const ModelChange& change) override;
  void Clear() override;
  ColorSubFrame& Transparency() { return *transparency_; }
  ColorSubFrame& Illumination() { return *illumination_; }

 private:
  QStackedWidget* stack_ = nullptr;
  ColorSubFrame* transparency_ = nullptr;
  ColorSubFrame* illumination_ = nullptr;
};

}  // namespace tamsel
