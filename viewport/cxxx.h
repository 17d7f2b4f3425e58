// The viewport object: receives the host control's events and the window's keys, sets up
// GL, draws each frame from display list 3 and compiles that list from the model.
#pragma once

#include <cstdint>
#include <vector>

#include "model/color_settings.h"
#include "model/model.h"
#include "model/view_state.h"
#include "viewport/glx_ctl.h"

namespace tamsel {

// Start-up options of the control as InitGL sets them; kept so that they can be seen.
struct GlxStartupOptions {
  bool flags[3] = {false, false, false};
  long values[2] = {0, 0};
};

class CXXX {
 public:
  CXXX(Model& model, ViewState& view, ColorSettings& colors, GlxCtl& control);

  static constexpr unsigned kSceneList = 3;

  void Init() {}
  void InitGL();
  void Draw();
  void DrawForPick();
  void KeyDown(int keyCode, int shift);
  void KeyUp(int keyCode, int shift);
  void MouseDown(int button, int shift, float x, float y);
  void MouseMove(int button, int shift, float x, float y);
  void Pick(const std::vector<std::int32_t>& items);
  void ContextLost() { listCompiled_ = false; }

  // Rebuilds display list 3 from the model. Makes the context current itself, so any
  // handler may call it; inside paintGL the context stays current.
  void CreateCall();

  // Hands the model's view extent to the camera (after CalculateBounds).
  void ApplyViewExtent();

  const GlxStartupOptions& StartupOptions() const { return options_; }
  const std::vector<std::int32_t>& LastPickItems() const { return lastPick_; }
  bool ShiftHeld() const { return shiftHeld_; }

 private:
  Model& model_;
  ViewState& view_;
  ColorSettings& colors_;
  GlxCtl& ctl_;
  GlxStartupOptions options_;
  bool listCompiled_ = false;
  bool shiftHeld_ = false;
  std::vector<std::int32_t> lastPick_;
};

}  // namespace tamsel
