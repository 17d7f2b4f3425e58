#include "support/reference_scene.h"

#include <algorithm>
#include <cmath>

#include "viewport/scene_drawer_base.h"

namespace tamsel {
namespace {

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

PickTable DrawScene(const Model& model, const ViewState& view, const ColorSettings& colors,
                    const SceneInputs& inputs, DrawSink& sink) {
  return SceneDrawer(model, view, colors, inputs, sink).Draw();
}

}  // namespace tamsel
