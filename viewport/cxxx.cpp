#include "viewport/cxxx.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "viewport/camera_frame.h"
#include "viewport/gl_decor.h"
#include "viewport/gl_frame.h"
#include "viewport/gl_sink.h"

namespace tamsel {

CXXX::CXXX(Model& model, ViewState& view, ColorSettings& colors, GlxCtl& control,
           ViewportHost& host)
    : model_(model),
      view_(view),
      colors_(colors),
      ctl_(control),
      host_(host),
      textures_(control),
      store_(textures_, control.ShapeTool()) {}

void CXXX::InitGL() {
  SetupSceneState();

  model_.ViewExtent = 10.0;

  ctl_.Lights(1) = SceneLight();
  ResetCamera(ctl_.Camera());
  ctl_.Camera().SetViewportOrigin(ctl_.x(), ctl_.y(), true);

  options_ = GlxStartupOptions{{false, true, true}, {1, 1}};
  ctl_.Screen().Option = false;
  // A new context has none of the old textures or lists.
  textures_.Reload();
  listCompiled_ = false;
  CreateCall();
}

void CXXX::Draw() {
  ctl_.Screen().Clear();
  if (view_.PropertyPanel == Panel::Rotation) {
    // Only an animation recompiles here, and it asks for no frame: the window's timer does
    // while a box is ticked. A frame that asked for the next one kept a core busy for ever.
    const SceneInputs in = host_.CurrentSceneInputs();
    if (in.animateAxis && (view_.AxisAnimAngle += 5) > 359) view_.AxisAnimAngle = 0;
    if (in.animateAim && ++view_.AimAnimStep > 20) view_.AimAnimStep = 0;
    if (in.animateDegree && ++view_.DegreeAnimStep > 20) view_.DegreeAnimStep = 0;
    if (in.animateAxis || in.animateAim || in.animateDegree) Compile();
  }
  if (view_.GradientShown) DrawBackgroundGradient();
  // The grid follows the zoom and the gizmo the turn, frame by frame, so they are drawn
  // here, not compiled.
  if (view_.GridShown) {
    GlSink grid(textures_, ctl_.ShapeTool());
    DrawGrid(model_, model_.ViewExtent, grid);
  }
  DrawScene();
  if (view_.AxesShown) DrawAxesGizmo(ctl_.Camera().Orientation());
}

void CXXX::DrawForPick() {
  DrawScene();
}

void CXXX::DrawScene() {
  if (!listCompiled_) return;
  if (referenceScene_) {
    glCallList(kSceneList);
    return;
  }
  // The frame only sets state and calls the parts: cheap enough to issue every time, and
  // parts drawn from vertex buffers cannot be called from a display list without being
  // copied into it.
  GlSink sink(textures_, ctl_.ShapeTool());
  layers_.Draw(sink);
}

void CXXX::CreateCall(const ModelChange& change) {
  // Flags and focus alone leave every mesh drawing as it did: its body parts stay without
  // its faces being compared.
  if (Compile(change.selectionOnly && !change.everything)) ctl_.Redraw();
}

void CXXX::CreateCall() {
  if (Compile()) ctl_.Redraw();
}

bool CXXX::Compile(bool flagsOnly) {
  GlxCtl::ContextScope scope(ctl_);
  if (!scope.ok()) return false;
  layers_.Update(model_, view_, colors_, host_.CurrentSceneInputs(), TextureGeneration(),
                 flagsOnly);
  listCompiled_ = true;
  referenceScene_ = false;
  return true;
}

bool CXXX::CompileReference() {
  GlxCtl::ContextScope scope(ctl_);
  if (!scope.ok()) return false;
  textures_.MakeAll();  // not inside the list: their images would go into it
  glNewList(kSceneList, GL_COMPILE);
  GlSink sink(textures_, ctl_.ShapeTool());
  names_ = tamsel::DrawScene(model_, view_, colors_, host_.CurrentSceneInputs(), sink);
  glEndList();
  listCompiled_ = true;
  referenceScene_ = true;
  return true;
}

void CXXX::DropParts() {
  GlxCtl::ContextScope scope(ctl_);
  if (scope.ok()) layers_.Clear();
}

int CXXX::TextureGeneration() {
  // Versions, not GL ids: asking for the ids would make every texture's objects, which a
  // wireframe never draws.
  bool same = textureSeen_.size() == model_.Textures.size();
  for (std::size_t t = 0; same && t < textureSeen_.size(); ++t) {
    const auto& [record, version] = textureSeen_[t];
    same = record.get() == model_.Textures.Identity(t) && version == textures_.Version(t);
  }
  if (same) return textureGeneration_;
  textureSeen_.clear();
  for (std::size_t t = 0; t < model_.Textures.size(); ++t)
    textureSeen_.emplace_back(model_.Textures.Share(t), textures_.Version(t));
  return ++textureGeneration_;
}

void CXXX::ViewPreset(const std::string& key) {
  if (const auto angle = ViewAngleNamed(key)) OrientCamera(ctl_.Camera(), *angle);
  ctl_.Redraw();
}

double CXXX::ZoomFloor() const {
  return tamsel::ZoomFloor(model_);
}

// Zooming stays between a floor relative to the model and a ceiling far beyond any craft,
// so the view volume never collapses or overflows.
void CXXX::SetExtent(double extent) {
  if (!std::isfinite(extent)) return;
  model_.ViewExtent = std::clamp(extent, ZoomFloor(), 1e9);
  ctl_.Camera().SetOrtho(-model_.ViewExtent, model_.ViewExtent, -model_.ViewExtent,
                         model_.ViewExtent);
}

void CXXX::KeepView() {
  Camera& camera = ctl_.Camera();
  model_.ViewExtent = camera.Ortho()[1];
  // The volume deepens to hold whatever the edit moved, and never grows shallower: nothing
  // is cut away, and the view's turn, pan and zoom stay as they were.
  const Matrix4 m = camera.ModelView();
  double depth = 0;
  for (int k = 0; k < 8; ++k) {
    const double x = k & 1 ? model_.ModelMax.x : model_.ModelMin.x;
    const double y = k & 2 ? model_.ModelMax.y : model_.ModelMin.y;
    const double z = k & 4 ? model_.ModelMax.z : model_.ModelMin.z;
    depth = std::max(depth, std::fabs(m[2] * x + m[6] * y + m[10] * z + m[14]));
  }
  if (!std::isfinite(depth)) return;
  camera.NearPlane = std::min(camera.NearPlane, -(depth + 1));
  camera.FarPlane = std::max(camera.FarPlane, depth + 1);
}

void CXXX::KeyDown(int keyCode, int shift) {
  if (shift == 1) shiftHeld_ = true;
  if (keyCode < kLeft || keyCode > kDown) return;
  Camera& camera = ctl_.Camera();
  const bool rotate = host_.RotateChosen();
  const double e = model_.ViewExtent;
  if (shift == 0) {
    switch (keyCode) {
      case kLeft:
        rotate ? camera.RotateY(-3) : camera.Pan(e / 5, 0);
        break;
      case kRight:
        rotate ? camera.RotateY(3) : camera.Pan(-e / 5, 0);
        break;
      case kUp:
        rotate ? camera.RotateX(3) : camera.Pan(0, -e / 5);
        break;
      case kDown:
        rotate ? camera.RotateX(-3) : camera.Pan(0, e / 5);
        break;
    }
  } else if (shift == 1) {
    if (rotate && keyCode == kLeft) camera.RotateZ(-3);
    if (rotate && keyCode == kRight) camera.RotateZ(3);
    if (!rotate && keyCode == kUp) SetExtent(e * 0.9);
    if (!rotate && keyCode == kDown) SetExtent(e * 1.1);
  }
  ctl_.Redraw();
}

double CXXX::UnitsPerPixel() const {
  const int w = std::max(1, ctl_.width()), h = std::max(1, ctl_.height());
  const auto o = ctl_.Camera().Ortho();
  const double aspect = static_cast<double>(w) / h;
  const double height = (o[3] - o[2]) * (aspect < 1 ? 1 / aspect : 1);
  return height / h;
}

void CXXX::Wheel(double steps, int shift) {
  if (steps == 0 || !std::isfinite(steps)) return;
  SetExtent(model_.ViewExtent * std::pow((shift & 1) ? 0.98 : 0.85, steps));
  ctl_.Redraw();
}

void CXXX::WheelAt(double steps, int shift, float x, float y) {
  if (steps == 0 || !std::isfinite(steps)) return;
  const double before = UnitsPerPixel();
  Wheel(steps, shift);
  // The pointer's offset from the centre, in pixels, y up; the pan moves the point that
  // showed there back under it at the new scale.
  const double ox = x - ctl_.width() / 2.0, oy = ctl_.height() / 2.0 - y;
  const double change = UnitsPerPixel() - before;
  ctl_.Camera().Pan(ox * change, oy * change);
  ctl_.Redraw();
}

void CXXX::Fit() {
  Frame(true);
}

void CXXX::FitWhole() {
  Frame(false);
}

void CXXX::Frame(bool selectionFirst) {
  Camera& camera = ctl_.Camera();
  const auto framing =
      FrameView(camera, model_, view_, ctl_.width(), ctl_.height(), selectionFirst);
  if (!framing) return;
  ApplyFraming(camera, *framing);
  SetExtent(std::max(framing->extent, ZoomFloor() / 0.9));
  ctl_.Redraw();
}

void CXXX::KeyUp(int /*keyCode*/, int shift) {
  if (shift == 0) shiftHeld_ = false;
}

void CXXX::MouseDown(int button, int /*shift*/, float x, float y) {
  middleDragging_ = button == 4;
  mouseX_ = std::lround(x);
  mouseY_ = std::lround(y);
  if (button == 2) {
    rightDragging_ = true;
    dragStartX_ = std::lround(x);
    dragStartY_ = std::lround(y);
  }
  host_.FocusTaker();
}

void CXXX::MouseMove(int button, int /*shift*/, float x, float y) {
  const long lastX = mouseX_, lastY = mouseY_;
  mouseX_ = std::lround(x);
  mouseY_ = std::lround(y);
  if (button == 0) return;
  if ((button & 4) && middleDragging_) {
    // The model follows the pointer, as in other 3D tools.
    const double unit = UnitsPerPixel();
    ctl_.Camera().Pan(static_cast<double>(mouseX_ - lastX) * unit,
                      -static_cast<double>(mouseY_ - lastY) * unit);
    ctl_.Redraw();
    return;
  }
  if (button == 2 && rightDragging_) {
    const double dx = static_cast<double>(mouseX_ - dragStartX_),
                 dy = static_cast<double>(mouseY_ - dragStartY_);
    const double e = model_.ViewExtent;
    Camera& camera = ctl_.Camera();
    if (host_.RotateChosen()) {
      if (!shiftHeld_) {
        camera.RotateY(0.05 * dx);
        camera.RotateX(0.05 * dy);
      } else {
        camera.RotateZ(0.05 * dx);
      }
    } else if (shiftHeld_) {
      SetExtent(dy >= 0 ? e * (1 + dy / 10000) : e * (1 - std::fabs(dy) / 10000));
    } else {
      camera.Pan(e * dx / 5000, -e * dy / 5000);
    }
  }
  ctl_.Redraw();
}

PickView CXXX::PickViewAt(int x, int y, double size) const {
  const qreal ratio = ctl_.devicePixelRatioF();
  PickView at;
  at.width = static_cast<int>(ctl_.width() * ratio);
  at.height = static_cast<int>(ctl_.height() * ratio);
  at.projection = ctl_.Camera().Projection(at.width, at.height);
  at.modelView = ctl_.Camera().ModelView();
  at.x = static_cast<int>(x * ratio);
  at.y = static_cast<int>(y * ratio);
  at.size = size * ratio;
  return at;
}

PickOutcome CXXX::PickAt(int x, int y, double size) {
  return PickScene(model_, view_, host_.CurrentSceneInputs(), PickViewAt(x, y, size), pickBoxes_);
}

PickOutcome CXXX::ClickAt(int x, int y) {
  return PickClick(model_, view_, host_.CurrentSceneInputs(), PickViewAt(x, y, GlxCtl::kPickSize),
                   pickBoxes_);
}

void CXXX::Click(int x, int y) {
  if (!rightDragging_) return;
  const PickOutcome outcome = ClickAt(x, y);
  // Hits on things that stand for no element change nothing; no hit at all clears.
  if (outcome.kind == PickOutcome::NoHit) host_.ApplyPickResult({}, shiftHeld_);
  if (outcome.kind == PickOutcome::Named) host_.ApplyPickResult(outcome.target, shiftHeld_);
  CreateCall();
  host_.FocusTaker();
}

void CXXX::Pick(const std::vector<std::int32_t>& items) {
  if (!rightDragging_) return;
  const int n = ctl_.HitCount();
  if (n == 0) {
    host_.ApplyPickResult({}, shiftHeld_);
  } else {
    // The nearest hit wins; depths are unsigned, ties keep the earlier record.
    std::uint32_t best = 0xFFFFFFFFu;
    PickTarget picked;
    bool any = false;
    std::size_t pos = 0;
    for (int r = 0; r < n && pos + 3 <= items.size(); ++r) {
      const auto count = static_cast<std::uint32_t>(items[pos]);
      const auto minDepth = static_cast<std::uint32_t>(items[pos + 1]);
      for (std::uint32_t k = 0; k < count && pos + 3 + k < items.size(); ++k) {
        const auto name = static_cast<std::uint32_t>(items[pos + 3 + k]);
        if (name == DrawSink::kNoName) continue;
        const PickTarget target = names_.Resolve(name);
        if (target.kind == PickKind::None) continue;
        if (!any || minDepth < best) {
          best = minDepth;
          picked = target;
          any = true;
        }
      }
      pos += 3 + count;
    }
    // Hits with no name standing for an element change nothing.
    if (any) host_.ApplyPickResult(picked, shiftHeld_);
  }
  CreateCall();
  host_.FocusTaker();
}

}  // namespace tamsel
