#include "viewport/scene.h"

#include <algorithm>
#include <cmath>

#include "viewport/scene_drawer_base.h"

namespace tamsel {

TextureLookup::TextureLookup(const CowVector<TextureRec>& textures) {
  for (std::size_t t = 0; t < textures.size(); ++t) index_[textures[t].Name] = static_cast<int>(t);
}

const std::string& ShownTextureName(const FaceRec& face, int flightGroupColor) {
  if (face.TextureNames[1] == kBlank || flightGroupColor < 0 || flightGroupColor > 3)
    return face.TextureNames[0];
  const std::string& chosen = face.TextureNames[static_cast<std::size_t>(flightGroupColor)];
  return chosen == kBlank ? face.TextureNames[0].str() : chosen;
}

void AnimateMesh(const MeshRec& mesh, const ViewState& view, const SceneInputs& in, DrawSink& s) {
  const Single3& p = mesh.Pivot;
  if (in.animateAxis) {
    s.Translate(p.x, p.y, p.z);
    s.Rotate(-static_cast<float>(view.AxisAnimAngle), mesh.Axis.x, mesh.Axis.y, mesh.Axis.z);
    s.Translate(-p.x, -p.y, -p.z);
  }
  if (in.animateAim) {
    const float step = static_cast<float>(view.AimAnimStep) / 2000.0f;
    s.Translate(p.x, p.y, p.z);
    s.Translate(mesh.Aim.x * step, mesh.Aim.y * step, mesh.Aim.z * step);
    s.Translate(-p.x, -p.y, -p.z);
  }
  if (in.animateDegree) {
    s.Translate(p.x, p.y, p.z);
    s.Scale(static_cast<float>(view.DegreeAnimStep), 1, 1);
    s.Translate(-p.x, -p.y, -p.z);
  }
}

namespace {

// The property panels' drawings: engine glow cones, hardpoints, the focused mesh's
// rotation vectors or hitzone boxes. They stand for no element.
class PanelDrawer : DrawerBase {
 public:
  PanelDrawer(const Model& model, const ViewState& view, const ColorSettings& colors,
              const SceneInputs& in, DrawSink& sink)
      : DrawerBase(model, view, colors, in, sink) {}

  // Only the focused mesh, selected at the current level, shows its rotation or hitzone.
  const MeshRec* FocusedSelectedMesh() const {
    if (in_.focusedMesh < 0 || in_.focusedMesh >= model_.MeshCount()) return nullptr;
    const MeshRec& mesh = model_.Meshes[static_cast<std::size_t>(in_.focusedMesh)];
    const LODRec* r = Level(mesh);
    return r && r->Selected ? &mesh : nullptr;
  }

  void Box(const Single3& lo, const Single3& hi) {
    const float x[2] = {lo.x, hi.x}, y[2] = {lo.y, hi.y}, z[2] = {lo.z, hi.z};
    for (int side = 0; side < 2; ++side) {
      s_.Begin(Primitive::LineLoop);  // x = const
      s_.Vertex(x[side], y[0], z[0]), s_.Vertex(x[side], y[1], z[0]),
          s_.Vertex(x[side], y[1], z[1]), s_.Vertex(x[side], y[0], z[1]);
      s_.End();
      s_.Begin(Primitive::LineLoop);  // y = const
      s_.Vertex(x[0], y[side], z[0]), s_.Vertex(x[1], y[side], z[0]),
          s_.Vertex(x[1], y[side], z[1]), s_.Vertex(x[0], y[side], z[1]);
      s_.End();
      s_.Begin(Primitive::LineLoop);  // z = const
      s_.Vertex(x[0], y[0], z[side]), s_.Vertex(x[1], y[0], z[side]),
          s_.Vertex(x[1], y[1], z[side]), s_.Vertex(x[0], y[1], z[side]);
      s_.End();
    }
  }

  void Draw() {
    const Panel panel = v_.panel;
    if (panel == Panel::EngineGlow) {
      s_.Blending(true);
      s_.DepthLessEqual(true);
      for (const MeshRec& mesh : model_.Meshes)
        for (const EngineGlowRec& g : mesh.EngineGlows) {
          const float w = g.Size.x, h = g.Size.y, len = g.Size.z;
          if (w == 0) continue;  // a cone of no width, and no height ratio
          const double height = 12.0 * w * len * len / 213.660531888;
          s_.Push();
          s_.ColorF(g.OuterColor.R / 255.0f, g.OuterColor.G / 255.0f, g.OuterColor.B / 255.0f,
                    g.OuterColor.A / 255.0f);
          s_.Translate(g.Position.x, g.Position.y, g.Position.z);
          s_.Rotate(-90, 1, 0, 0);
          s_.Scale(1, h / w, 1);
          s_.Cylinder(w / 4.0, 0, height, true, 16, 16);
          s_.ColorF(g.InnerColor.R / 255.0f, g.InnerColor.G / 255.0f, g.InnerColor.B / 255.0f,
                    g.InnerColor.A / 255.0f);
          s_.Cylinder(w / 8.0, 0, 0.8 * height, true, 16, 16);
          s_.Pop();
        }
      s_.ColorF(1, 1, 1, 1);
      s_.Blending(false);
      s_.DepthLessEqual(false);
    } else if (panel == Panel::Hardpoint) {
      s_.PointSize(10);
      s_.Color(255, 255, 0);
      for (const MeshRec& mesh : model_.Meshes)
        for (const HardpointRec& hp : mesh.Hardpoints)
          Point(hp.Position.x, hp.Position.y, hp.Position.z);
      White();
      s_.PointSize(4);
    } else if (panel == Panel::Rotation || panel == Panel::Hitzone) {
      const MeshRec* mesh = FocusedSelectedMesh();
      if (!mesh) {
        White();
        return;
      }
      if (panel == Panel::Rotation) {
        const Single3& p = mesh->Pivot;
        s_.LineWidth(3);
        Color(colors_.RotationAxisColor);
        Line(p.x, p.y, p.z, mesh->Axis.x, mesh->Axis.y, mesh->Axis.z);
        Color(colors_.RotationAimColor);
        Line(p.x, p.y, p.z, mesh->Aim.x, mesh->Aim.y, mesh->Aim.z);
        Color(colors_.RotationDegreeColor);
        Line(p.x, p.y, p.z, mesh->Degree.x, mesh->Degree.y, mesh->Degree.z);
        s_.LineWidth(1);
      } else {
        Color(colors_.HitzoneMeshColor);
        s_.LineWidth(4);
        Box(mesh->Min, mesh->Max);
        Color(colors_.HitzoneTargetColor);
        s_.LineWidth(3);
        const float half = std::max({mesh->Span.x, mesh->Span.y, mesh->Span.z}) / 4.0f;
        const Single3& t = mesh->Target;
        Box({t.x - half, t.y - half, t.z - half}, {t.x + half, t.y + half, t.z + half});
        s_.LineWidth(1);
      }
    }
  }
};

}  // namespace

void DrawPanelOverlays(const Model& model, const ViewState& view, const ColorSettings& colors,
                       const SceneInputs& inputs, DrawSink& sink) {
  PanelDrawer(model, view, colors, inputs, sink).Draw();
}

double GridSpacing(double extent) {
  if (!(extent > 0) || !std::isfinite(extent)) return 1;
  return std::pow(10.0, std::floor(std::log10(extent / 2)));
}

void DrawGrid(const Model& model, double extent, DrawSink& s) {
  const double spacing = GridSpacing(extent);
  const double reach = extent * 2;
  const double cx = model.ModelCenter.x, cy = model.ModelCenter.y;
  // A little under the craft (its bottom is +Z), so that a flat craft's faces cover the grid,
  // not cross it.
  const auto z = static_cast<float>(model.ModelMax.z + extent / 100);
  const long long first = static_cast<long long>(std::floor((std::min(cx, cy) - reach) / spacing));
  const long long last = static_cast<long long>(std::ceil((std::max(cx, cy) + reach) / spacing));
  if (last - first > 400) return;  // a view far larger than the craft: no grid to speak of
  const auto x0 = static_cast<float>(cx - reach), x1 = static_cast<float>(cx + reach);
  const auto y0 = static_cast<float>(cy - reach), y1 = static_cast<float>(cy + reach);
  for (int bright = 0; bright < 2; ++bright) {
    s.Color(bright ? 90 : 50, bright ? 90 : 50, bright ? 90 : 50);
    s.Begin(Primitive::Lines);
    for (long long i = first; i <= last; ++i) {
      if ((i % 10 == 0) != (bright == 1)) continue;
      const auto at = static_cast<float>(static_cast<double>(i) * spacing);
      if (at >= x0 && at <= x1) s.Vertex(at, y0, z), s.Vertex(at, y1, z);
      if (at >= y0 && at <= y1) s.Vertex(x0, at, z), s.Vertex(x1, at, z);
    }
    s.End();
  }
  s.Color(255, 255, 255);
}

}  // namespace tamsel
