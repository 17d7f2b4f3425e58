// The viewport object: receives the host control's events and the window's keys, sets up
// GL, draws each frame from display list 3, compiles that list from the model, navigates
// the camera and resolves picks.
#pragma once

#include <cstdint>
#include <memory>
#include <tuple>
#include <vector>

#include "editing/document.h"
#include "model/color_settings.h"
#include "model/model.h"
#include "model/view_state.h"
#include "viewport/gl_sink.h"
#include "viewport/glx_ctl.h"
#include "viewport/scene.h"
#include "viewport/scene_pick.h"
#include "viewport/texture_objects.h"
#include "viewport/viewport_host.h"

namespace tamsel {

// Start-up options of the control as InitGL sets them; kept so that they can be seen.
struct GlxStartupOptions {
  bool flags[3] = {false, false, false};
  long values[2] = {0, 0};
};

class CXXX {
 public:
  CXXX(Model& model, ViewState& view, ColorSettings& colors, GlxCtl& control, ViewportHost& host);

  static constexpr unsigned kSceneList = 3;
  // Keys as the window passes them.
  static constexpr int kLeft = 37, kUp = 38, kRight = 39, kDown = 40;

  void Init() {}
  void InitGL();
  void Draw();
  void DrawForPick();
  void KeyDown(int keyCode, int shift);
  void KeyUp(int keyCode, int shift);
  void MouseDown(int button, int shift, float x, float y);
  void MouseMove(int button, int shift, float x, float y);
  // Zooms about the view centre: a notch 15 % nearer or farther, with Shift 2 %.
  void Wheel(double steps, int shift);
  // Zooms as Wheel does, about the point under the pointer at (x, y) logical pixels: what
  // shows there stays there.
  void WheelAt(double steps, int shift, float x, float y);
  // Frames the selection (or the whole model when nothing is selected) at the current
  // level of detail: its larger projected side spans 90 % of the view, pan reset.
  void Fit();
  // Frames the whole model at the current level, selected or not, in the current direction.
  void FitWhole();
  void Pick(const std::vector<std::int32_t>& items);
  // Picks at a click (logical pixels) on the CPU, with the selection pass's rules, and
  // applies the result as Pick does.
  void Click(int x, int y);
  // What a click at (x, y) would pick, without applying it; `size` is the pick square's
  // side in logical pixels.
  PickOutcome PickAt(int x, int y, double size = GlxCtl::kPickSize);
  // What a click at (x, y) chooses (PickClick): PickAt's choice, or at the corner level the
  // corner of the face clicked that lies nearest to the pointer.
  PickOutcome ClickAt(int x, int y);
  void ContextLost() {
    listCompiled_ = false;
    layers_.Forget();
    store_.Forget();
  }

  // Brings the scene's parts up to date with the model after `change`. Makes the context current
  // itself, so any handler may call it; inside paintGL the context stays current.
  void CreateCall(const ModelChange& change);
  // After a change the caller cannot name: every mesh's record is compared.
  void CreateCall();
  // Brings the parts up to date without asking for a frame; false without a GL context. Only
  // the parts whose meshes or view changed are compiled anew; `flagsOnly` as for
  // LayeredScene::Update.
  bool Compile(bool flagsOnly = false);
  // Compiles the reference scene, every element under its pick name, into the scene list:
  // what a GL selection pass picks from (tests compare the CPU pick and the frames with it).
  bool CompileReference();
  // Deletes every compiled part, so that the next Compile builds all anew.
  void DropParts();

  // The orientations: "perspective", "top", "right", "front", "bottom", "back", "left".
  void ViewPreset(const std::string& key);
  // After an edit: the turn, pan and zoom stay where the modeller put them (the model's
  // recomputed extent gives way to the zoom on screen), and the view volume deepens to hold
  // the edited model.
  void KeepView();

  TextureObjects& Textures() { return textures_; }
  const PickTable& Names() const { return names_; }
  const GlxStartupOptions& StartupOptions() const { return options_; }
  bool ShiftHeld() const { return shiftHeld_; }
  bool RightDragging() const { return rightDragging_; }
  // The model units a pixel of the view spans as it is drawn now.
  double UnitsPerPixel() const;
  // The smallest view extent zooming may reach: a ten-thousandth of the model's size.
  double ZoomFloor() const;

 private:
  void SetExtent(double extent);
  // The camera and pointer of a pick at (x, y) logical pixels, in device pixels.
  PickView PickViewAt(int x, int y, double size) const;
  void DrawScene();
  void Frame(bool selectionFirst);

  Model& model_;
  ViewState& view_;
  ColorSettings& colors_;
  GlxCtl& ctl_;
  ViewportHost& host_;
  TextureObjects textures_;
  PickTable names_;
  PickBoxes pickBoxes_;
  GlListStore store_;
  LayeredScene layers_{store_};
  // The texture records and versions of their GL objects the parts were compiled with.
  std::vector<std::pair<std::shared_ptr<const TextureRec>, unsigned>> textureSeen_;
  int textureGeneration_ = 0;
  int TextureGeneration();
  GlxStartupOptions options_;
  bool listCompiled_ = false;
  bool referenceScene_ = false;  // the scene list holds the reference scene, not the parts
  bool shiftHeld_ = false;
  bool rightDragging_ = false;
  bool middleDragging_ = false;
  long mouseX_ = 0, mouseY_ = 0, dragStartX_ = 0, dragStartY_ = 0;
};

}  // namespace tamsel
