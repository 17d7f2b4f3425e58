#include "viewport/scene.h"

#include <algorithm>
#include <cmath>

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

// What both drawers share: the inputs, the level shown and small drawing helpers.
class DrawerBase {
 protected:
  DrawerBase(const Model& model, const ViewState& view, const ColorSettings& colors,
             const SceneInputs& in, DrawSink& sink)
      : model_(model),
        view_(view),
        colors_(colors),
        in_(in),
        s_(sink),
        v_(SceneView::Of(view, in)),
        level_(v_.level) {}

  const LODRec* Level(const MeshRec& mesh) const {
    return mesh.HasLevel(level_) ? &mesh.LODs[static_cast<std::size_t>(level_)] : nullptr;
  }
  void Color(const ColorTriple& c) { s_.Color(c.R, c.G, c.B); }
  void White() { s_.Color(255, 255, 255); }
  void Line(float x, float y, float z, float dx, float dy, float dz) {
    s_.Begin(Primitive::Lines);
    s_.Vertex(x, y, z);
    s_.Vertex(x + dx, y + dy, z + dz);
    s_.End();
  }
  void Point(float x, float y, float z) {
    s_.Begin(Primitive::Points);
    s_.Vertex(x, y, z);
    s_.End();
  }

  const Model& model_;
  const ViewState& view_;
  const ColorSettings& colors_;
  const SceneInputs& in_;
  DrawSink& s_;
  const SceneView v_;
  int level_;
};

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

class SceneDrawer : DrawerBase {
 public:
  SceneDrawer(const Model& model, const ViewState& view, const ColorSettings& colors,
              const SceneInputs& in, DrawSink& sink)
      : DrawerBase(model, view, colors, in, sink),
        textures_(model.Textures),
        texture_(v_.textured),
        primary_(v_.Primary(colors)),
        secondary_(v_.Secondary(colors)) {}

  PickTable Draw() {
    s_.Color(255, 255, 255);
    if (texture_) s_.Texturing(true);
    OpaquePass();
    if (texture_ && v_.FaceLevel()) SelectionStipple();
    if (texture_) BlendedPass();
    // What follows carries no pick names of its own.
    s_.LoadName(DrawSink::kNoName);
    LevelOverlays();
    s_.LoadName(DrawSink::kNoName);
    DrawPanelOverlays(model_, view_, colors_, in_, s_);
    s_.Color(255, 255, 255);
    s_.LineWidth(1);
    s_.PointSize(4);
    return std::move(names_);
  }

 private:
  bool Animated(int mesh) const { return v_.Animated(mesh); }

  void Animate(const MeshRec& mesh) { AnimateMesh(mesh, view_, in_, s_); }

  void FaceShape(const FaceRec& face) {
    s_.Begin(texture_ ? Primitive::Polygon : Primitive::LineLoop);
    for (int k = 0; k < face.CornerCount(); ++k) {
      const VertexRec& v = face.Vertices[static_cast<std::size_t>(k)];
      s_.TexCoord(v.U, v.V);
      s_.Vertex(v.X, v.Y, v.Z);
    }
    s_.End();
  }

  void OpaquePass() {
    const bool meshLevel = v_.MeshLevel(), faceLevel = v_.FaceLevel();
    for (int i = 0; i < model_.MeshCount(); ++i) {
      const MeshRec& mesh = model_.Meshes[static_cast<std::size_t>(i)];
      const LODRec* r = Level(mesh);
      if (!r) continue;
      if (meshLevel) {
        s_.LoadName(names_.Add({PickKind::Mesh, i}));
        if (r->Selected) {
          Color(i == in_.focusedMesh ? primary_ : secondary_);
          s_.LineWidth(2);
        } else {
          White();
        }
      }
      const bool animated = Animated(i);
      for (int j = 0; j < r->FaceCount(); ++j) {
        const FaceRec& face = r->Faces[static_cast<std::size_t>(j)];
        if (texture_) s_.BindTexture(textures_.Find(ShownTextureName(face, v_.flightGroup)), false);
        if (faceLevel) {
          s_.LoadName(names_.Add({PickKind::Face, i, j}));
          if (face.Selected) {
            const bool focused = in_.focusedFace && *in_.focusedFace == FaceRef{i, j};
            Color(focused ? primary_ : secondary_);
            s_.LineWidth(focused ? 3.0f : 2.0f);
          } else {
            White();
          }
        }
        if (animated) {
          s_.Push();
          Animate(mesh);
        }
        FaceShape(face);
        if (animated) s_.Pop();
        if (faceLevel) s_.LineWidth(1);
      }
      if (meshLevel) s_.LineWidth(1);
    }
  }

  // Selected textured faces again, a sparse grid of dots in the wireframe's selection colour
  // over the tint, which can vanish on a texture of its own colour. Stands for no element.
  void SelectionStipple() {
    s_.LoadName(DrawSink::kNoName);
    s_.BindTexture(-1, false);
    s_.DepthLessEqual(true);
    s_.Stipple(true);
    for (int i = 0; i < model_.MeshCount(); ++i) {
      const MeshRec& mesh = model_.Meshes[static_cast<std::size_t>(i)];
      const LODRec* r = Level(mesh);
      if (!r) continue;
      for (int j = 0; j < r->FaceCount(); ++j) {
        const FaceRec& face = r->Faces[static_cast<std::size_t>(j)];
        if (!face.Selected) continue;
        const bool focused = in_.focusedFace && *in_.focusedFace == FaceRef{i, j};
        Color(focused ? colors_.PrimarySelectWireColor : colors_.SecondarySelectWireColor);
        if (Animated(i)) {
          s_.Push();
          Animate(mesh);
        }
        FaceShape(face);
        if (Animated(i)) s_.Pop();
      }
    }
    s_.Stipple(false);
    s_.DepthLessEqual(false);
    White();
  }

  // The blended pass: each face again with its second texture at the texture's opacity.
  void BlendedPass() {
    s_.LoadName(DrawSink::kNoName);
    s_.Blending(true);
    for (int i = 0; i < model_.MeshCount(); ++i) {
      const MeshRec& mesh = model_.Meshes[static_cast<std::size_t>(i)];
      const LODRec* r = Level(mesh);
      if (!r) continue;
      const bool animated = Animated(i);
      for (const FaceRec& face : r->Faces) {
        const int t = textures_.Find(ShownTextureName(face, v_.flightGroup));
        if (t < 0) continue;  // an untextured face has nothing to blend
        s_.BindTexture(t, true);
        s_.ColorF(
            1, 1, 1,
            static_cast<float>(model_.Textures[static_cast<std::size_t>(t)].TransOpacity) / 255.0f);
        if (animated) {
          s_.Push();
          Animate(mesh);
        }
        FaceShape(face);
        if (animated) s_.Pop();
      }
    }
    s_.ColorF(1, 1, 1, 1);
    s_.Blending(false);
    s_.Texturing(false);
  }

  // A line of NormalLength along (i, j, k); nothing for a zero vector.
  void NormalLine(float x, float y, float z, float i, float j, float k) {
    const double len = std::sqrt(static_cast<double>(i) * i + static_cast<double>(j) * j +
                                 static_cast<double>(k) * k);
    if (len == 0) return;
    const double scale = model_.NormalLength / len;
    Line(x, y, z, static_cast<float>(i * scale), static_cast<float>(j * scale),
         static_cast<float>(k * scale));
  }

  // The points of the level, then the normals, then the software vectors, each kind under
  // its element's name: drawn by kind, runs of the same colour and width join into one
  // draw instead of one draw per element.
  struct OverlayItem {
    std::uint32_t name;
    const FaceRec* face;
    const VertexRec* corner;  // null at the face level
    bool focused;
  };

  void LevelOverlays() {
    if (v_.MeshLevel()) {
      if (!v_.meshCentres) return;
      for (int i = 0; i < model_.MeshCount(); ++i) {
        const LODRec* r = Level(model_.Meshes[static_cast<std::size_t>(i)]);
        if (!r) continue;
        s_.LoadName(names_.Add({PickKind::Mesh, i}));
        if (r->Selected)
          Color(i == in_.focusedMesh ? colors_.PrimarySelectWireColor
                                     : colors_.SecondarySelectWireColor);
        else
          White();
        Point(r->BoxCenter.x, r->BoxCenter.y, r->BoxCenter.z);
      }
      return;
    }
    const bool faceLevel = v_.FaceLevel();
    std::vector<OverlayItem> items;
    for (int i = 0; i < model_.MeshCount(); ++i) {
      const LODRec* r = Level(model_.Meshes[static_cast<std::size_t>(i)]);
      if (!r || !r->Selected) continue;
      for (int j = 0; j < r->FaceCount(); ++j) {
        const FaceRec& face = r->Faces[static_cast<std::size_t>(j)];
        if (faceLevel) {
          items.push_back({names_.Add({PickKind::Face, i, j}), &face, nullptr,
                           in_.focusedFace && *in_.focusedFace == FaceRef{i, j}});
        } else if (face.Selected) {
          for (int k = 0; k < face.CornerCount(); ++k)
            items.push_back({names_.Add({PickKind::Corner, i, j, k}), &face,
                             &face.Vertices[static_cast<std::size_t>(k)],
                             in_.focusedCorner && *in_.focusedCorner == CornerRef{i, j, k}});
        }
      }
    }
    for (const OverlayItem& item : items) {
      if (faceLevel && !v_.faceCentres) break;
      s_.LoadName(item.name);
      const bool selected = item.corner ? item.corner->Selected != 0 : item.face->Selected != 0;
      if (item.focused && (selected || faceLevel))
        Color(colors_.PrimarySelectWireColor);
      else if (selected)
        Color(colors_.SecondarySelectWireColor);
      else
        White();
      if (item.corner) {
        s_.PointSize(selected ? (item.focused ? 10.0f : 7.0f) : 4.0f);
        Point(item.corner->X, item.corner->Y, item.corner->Z);
      } else {
        Point(item.face->BoxCenter.x, item.face->BoxCenter.y, item.face->BoxCenter.z);
      }
    }
    if (v_.normals) {
      s_.LineWidth(2);
      Color(colors_.NormalColor);
      for (const OverlayItem& item : items) {
        s_.LoadName(item.name);
        const VertexRec& at = item.corner ? *item.corner : item.face->Vertices[0];
        if (item.corner)
          NormalLine(at.X, at.Y, at.Z, at.I, at.J, at.K);
        else
          NormalLine(at.X, at.Y, at.Z, item.face->Normal.x, item.face->Normal.y,
                     item.face->Normal.z);
      }
    }
    if (v_.vectors) {
      s_.LineWidth(5);
      for (int v = 0; v < 2; ++v) {
        Color(v == 0 ? colors_.SoftVector1Color : colors_.SoftVector2Color);
        for (const OverlayItem& item : items) {
          if (!item.face->Selected) continue;
          s_.LoadName(item.name);
          const VertexRec& c0 = item.face->Vertices[0];
          const Single3& d = v == 0 ? item.face->Vector1 : item.face->Vector2;
          Line(c0.X, c0.Y, c0.Z, d.x, d.y, d.z);
        }
      }
    }
    White();
    s_.LineWidth(1);
    s_.PointSize(4);
  }

  TextureLookup textures_;
  bool texture_;
  const ColorTriple primary_, secondary_;
  PickTable names_;
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

PickTable DrawScene(const Model& model, const ViewState& view, const ColorSettings& colors,
                    const SceneInputs& inputs, DrawSink& sink) {
  return SceneDrawer(model, view, colors, inputs, sink).Draw();
}

}  // namespace tamsel
