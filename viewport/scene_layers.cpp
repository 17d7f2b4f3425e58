#include "viewport/scene_layers.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

#include "viewport/unique_edges.h"

namespace tamsel {
namespace {

bool SameCorner(const VertexRec& a, const VertexRec& b) {
  return a.X == b.X && a.Y == b.Y && a.Z == b.Z && a.U == b.U && a.V == b.V && a.I == b.I &&
         a.J == b.J && a.K == b.K;
}
bool Same(const Single3& a, const Single3& b) {
  return a.x == b.x && a.y == b.y && a.z == b.z;
}

void Color(DrawSink& s, const ColorTriple& c) {
  s.Color(c.R, c.G, c.B);
}

// A face's corners as independent triangles (a fan: faces are convex, at most four corners).
void FaceTriangles(DrawSink& s, const FaceRec& face) {
  const int n = face.CornerCount();
  for (int k = 1; k + 1 < n; ++k)
    for (int c : {0, k, k + 1}) {
      const VertexRec& v = face.Vertices[static_cast<std::size_t>(c)];
      s.TexCoord(v.U, v.V);
      s.Vertex(v.X, v.Y, v.Z);
    }
}
void FaceEdges(DrawSink& s, const FaceRec& face) {
  const int n = face.CornerCount();
  for (int k = 0; k < n; ++k)
    for (int c : {k, (k + 1) % n}) {
      const VertexRec& v = face.Vertices[static_cast<std::size_t>(c)];
      s.TexCoord(v.U, v.V);
      s.Vertex(v.X, v.Y, v.Z);
    }
}

void NormalLine(DrawSink& s, double length, const VertexRec& at, double i, double j, double k) {
  const double len = std::sqrt(i * i + j * j + k * k);
  if (len == 0) return;
  const double scale = length / len;
  s.Vertex(at.X, at.Y, at.Z);
  s.Vertex(at.X + static_cast<float>(i * scale), at.Y + static_cast<float>(j * scale),
           at.Z + static_cast<float>(k * scale));
}

// Faces grouped by the texture they show, in texture order, each group in face order.
std::vector<std::pair<int, std::vector<int>>> ByTexture(const LODRec& level,
                                                        const TextureLookup& textures,
                                                        int flightGroupColor) {
  std::map<int, std::vector<int>> groups;
  for (int j = 0; j < level.FaceCount(); ++j)
    groups[textures.Find(
               ShownTextureName(level.Faces[static_cast<std::size_t>(j)], flightGroupColor))]
        .push_back(j);
  return {groups.begin(), groups.end()};
}

std::string Num(double v) {
  return std::to_string(v);
}

// Part keys, joined by appending (chains of + make GCC 12 warn falsely about overlaps).
std::string Key(std::initializer_list<std::string_view> parts) {
  std::string key;
  for (std::string_view p : parts) key.append(p);
  return key;
}

}  // namespace

bool SameDrawing(const MeshRec& a, const MeshRec& b) {
  if (&a == &b) return true;
  if (a.LODs.size() != b.LODs.size()) return false;
  for (std::size_t l = 0; l < a.LODs.size(); ++l) {
    const LODRec &p = a.LODs[l], &q = b.LODs[l];
    if (p.Faces.size() != q.Faces.size() || !Same(p.BoxCenter, q.BoxCenter)) return false;
    if (p.Faces.SharesWith(q.Faces)) continue;  // a renamed mesh: the very same faces
    for (std::size_t f = 0; f < p.Faces.size(); ++f) {
      const FaceRec &x = p.Faces[f], &y = q.Faces[f];
      for (std::size_t k = 0; k < 4; ++k)
        if (!SameCorner(x.Vertices[k], y.Vertices[k])) return false;
      if (!Same(x.Normal, y.Normal) || !Same(x.Vector1, y.Vector1) || !Same(x.Vector2, y.Vector2) ||
          !Same(x.BoxCenter, y.BoxCenter) || x.TextureNames != y.TextureNames)
        return false;
    }
  }
  return true;
}

bool SameSelection(const MeshRec& a, const MeshRec& b) {
  if (a.LODs.size() != b.LODs.size()) return false;
  for (std::size_t l = 0; l < a.LODs.size(); ++l) {
    const LODRec &p = a.LODs[l], &q = b.LODs[l];
    if (p.Selected != q.Selected || p.Faces.size() != q.Faces.size()) return false;
    if (p.Faces.SharesWith(q.Faces)) continue;
    for (std::size_t f = 0; f < p.Faces.size(); ++f) {
      const FaceRec &x = p.Faces[f], &y = q.Faces[f];
      if (x.Selected != y.Selected) return false;
      for (std::size_t k = 0; k < 4; ++k)
        if (x.Vertices[k].Selected != y.Vertices[k].Selected) return false;
    }
  }
  return true;
}

unsigned LayeredScene::PartFor(MeshParts& parts, const std::string& name,
                               const std::function<void(DrawSink&)>& draw) {
  auto it = parts.lists.find(name);
  if (it != parts.lists.end()) return it->second;
  const unsigned id = store_.Compile(draw);
  ++compiles_;
  parts.lists.emplace(name, id);
  return id;
}

const std::vector<std::pair<int, unsigned>>& LayeredScene::RunsFor(MeshParts& parts,
                                                                   const std::string& name,
                                                                   const LODRec& lod,
                                                                   const TextureLookup& textures,
                                                                   int flightGroupColor) {
  auto it = parts.runs.find(name);
  if (it != parts.runs.end()) return it->second;
  std::vector<std::pair<int, unsigned>> runs;
  for (const auto& [t, faces] : ByTexture(lod, textures, flightGroupColor))
    runs.emplace_back(t, PartFor(parts, Key({name, " #", std::to_string(t)}), [&](DrawSink& s) {
                        s.Begin(Primitive::Triangles);
                        for (int j : faces)
                          FaceTriangles(s, lod.Faces[static_cast<std::size_t>(j)]);
                        s.End();
                      }));
  return parts.runs.emplace(name, std::move(runs)).first->second;
}

void LayeredScene::Update(const Model& model, const ViewState& view, const ColorSettings& colors,
                          const SceneInputs& inputs, int textureGeneration, bool flagsOnly) {
  model_ = &model;
  view_ = view;
  colors_ = colors;
  inputs_ = inputs;
  const SceneView v = sceneView_ = SceneView::Of(view, inputs);
  const int level = v.level;
  const bool texture = v.textured;
  const bool meshLevel = v.MeshLevel(), faceLevel = v.FaceLevel(), vertexLevel = v.VertexLevel();
  const int fg = v.flightGroup;
  const TextureLookup textures(model.Textures);
  const std::string lv = Key({"L", std::to_string(level)});
  const std::string look =
      texture ? Key({" tex fg", std::to_string(fg), " t", std::to_string(textureGeneration)})
              : std::string(" wire");
  // What selection parts show besides the flags: they are rebuilt when any of it changes.
  const ColorTriple primary = v.Primary(colors);
  const ColorTriple secondary = v.Secondary(colors);
  const auto rgb = [](const ColorTriple& c) {
    return Key({std::to_string(c.R), ",", std::to_string(c.G), ",", std::to_string(c.B), ";"});
  };
  const std::string colourKey =
      Key({rgb(primary), rgb(secondary), rgb(colors.PrimarySelectWireColor),
           rgb(colors.SecondarySelectWireColor), rgb(colors.SoftVector1Color),
           rgb(colors.SoftVector2Color)});
  const std::string selView =
      Key({"sel ", std::string(GeometryKey(v.geometry)), " ", lv, look, v.normals ? " N" : " -",
           v.vectors ? " V" : " -", " n", Num(model.NormalLength), " ", colourKey});

  // Textured parts of older texture objects would bind ids that may be gone.
  if (textureGeneration != textureGeneration_) {
    textureGeneration_ = textureGeneration;
    for (auto& [identity, parts] : meshes_) {
      for (auto it = parts.lists.begin(); it != parts.lists.end();)
        if (it->first.find(" tex ") != std::string::npos) {
          store_.Delete(it->second);
          it = parts.lists.erase(it);
        } else {
          ++it;
        }
      parts.runs.clear();  // every run is a textured part
    }
  }
  for (auto& [id, parts] : meshes_) parts.used = false;
  std::vector<const void*> previous = std::move(order_);
  order_.clear();
  frame_.clear();
  for (int i = 0; i < model.MeshCount(); ++i) {
    const auto index = static_cast<std::size_t>(i);
    const void* identity = model.Meshes.Identity(index);
    auto found = meshes_.find(identity);
    if (found == meshes_.end() || found->second.used) {
      // A new record: the parts of the record that sat here before serve it when it draws
      // alike, and its selection parts too when its flags are the same.
      MeshParts parts;
      if (index < previous.size()) {
        auto old = meshes_.find(previous[index]);
        if (old != meshes_.end() && !old->second.used && previous[index] != identity &&
            (flagsOnly || SameDrawing(*old->second.mesh, model.Meshes[index]))) {
          parts = std::move(old->second);
          meshes_.erase(old);
          const bool sameSelection = SameSelection(*parts.mesh, model.Meshes[index]);
          for (auto it = parts.lists.begin(); it != parts.lists.end();)
            if (!sameSelection && it->first.rfind("sel ", 0) == 0) {
              store_.Delete(it->second);
              it = parts.lists.erase(it);
            } else {
              ++it;
            }
        }
      }
      parts.mesh = model.Meshes.Share(index);
      found = meshes_.insert_or_assign(identity, std::move(parts)).first;
    }
    MeshParts& parts = found->second;
    parts.used = true;
    order_.push_back(identity);

    const MeshRec& mesh = *parts.mesh;
    MeshFrame f;
    f.mesh = &mesh;
    if (!mesh.HasLevel(level)) {
      frame_.push_back(f);
      continue;
    }
    const LODRec& lod = mesh.LODs[static_cast<std::size_t>(level)];
    f.selected = lod.Selected != 0;
    f.focused = i == inputs.focusedMesh;
    f.animated = v.Animated(i);

    if (!texture) {
      f.body = PartFor(parts, Key({"body ", lv, look}), [&](DrawSink& s) {
        s.Begin(Primitive::Lines);
        DrawUniqueEdges(s, lod.Faces);
        s.End();
      });
      if (v.hiddenLines)
        f.surface = PartFor(parts, Key({"surface ", lv}), [&](DrawSink& s) {
          s.Begin(Primitive::Triangles);
          for (const FaceRec& face : lod.Faces) FaceTriangles(s, face);
          s.End();
        });
    } else {
      // The triangles of each texture's faces are compiled once; the opaque and the blended
      // pass call them with their own texture and colour.
      const std::vector<std::pair<int, unsigned>>& runs =
          RunsFor(parts, Key({"tri ", lv, look}), lod, textures, fg);
      f.body = PartFor(parts, Key({"body ", lv, look}), [&](DrawSink& s) {
        for (const auto& [t, id] : runs) {
          s.BindTexture(t, false);
          store_.Call(id, s);
        }
      });
      f.blend = PartFor(parts, Key({"blend ", lv, look}), [&](DrawSink& s) {
        for (const auto& [t, id] : runs) {
          if (t < 0) continue;  // an untextured face has nothing to blend
          s.BindTexture(t, true);
          s.ColorF(1, 1, 1,
                   static_cast<float>(model.Textures[static_cast<std::size_t>(t)].TransOpacity) /
                       255.0f);
          store_.Call(id, s);
        }
      });
    }
    if (v.faceCentres && f.selected)
      f.points = PartFor(parts, Key({"points ", lv}), [&](DrawSink& s) {
        s.Begin(Primitive::Points);
        for (const FaceRec& face : lod.Faces)
          s.Vertex(face.BoxCenter.x, face.BoxCenter.y, face.BoxCenter.z);
        s.End();
      });
    if (faceLevel && f.selected && v.normals)
      f.normals =
          PartFor(parts, Key({"normals ", lv, " n", Num(model.NormalLength)}), [&](DrawSink& s) {
            s.Begin(Primitive::Lines);
            for (const FaceRec& face : lod.Faces)
              NormalLine(s, model.NormalLength, face.Vertices[0], face.Normal.x, face.Normal.y,
                         face.Normal.z);
            s.End();
          });

    // The selection parts: the focus is part of their view.
    int focus = -1;
    if (faceLevel && inputs.focusedFace && inputs.focusedFace->mesh == i)
      focus = inputs.focusedFace->face;
    std::optional<CornerRef> focusedCorner;
    if (vertexLevel && inputs.focusedCorner && inputs.focusedCorner->mesh == i)
      focusedCorner = inputs.focusedCorner;
    const std::string corner =
        focusedCorner
            ? Key({std::to_string(focusedCorner->face), ".", std::to_string(focusedCorner->corner)})
            : std::string("-");
    const std::string selKey =
        Key({selView, " m", std::to_string(f.focused), " f", std::to_string(focus), " c", corner});
    if (faceLevel)
      f.highlight = PartFor(parts, Key({selKey, " highlight"}), [&](DrawSink& s) {
        // The selected faces in one run (per texture), the focused one last and wider.
        std::vector<int> selected;
        for (int j = 0; j < lod.FaceCount(); ++j)
          if (lod.Faces[static_cast<std::size_t>(j)].Selected && j != focus) selected.push_back(j);
        const bool focusSelected = focus >= 0 && focus < lod.FaceCount() &&
                                   lod.Faces[static_cast<std::size_t>(focus)].Selected;
        for (int pass = 0; pass < 2; ++pass) {
          const std::vector<int> faces = pass == 0       ? selected
                                         : focusSelected ? std::vector<int>{focus}
                                                         : std::vector<int>{};
          if (faces.empty()) continue;
          Color(s, pass == 0 ? secondary : primary);
          s.LineWidth(pass == 0 ? 2.0f : 3.0f);
          if (!texture) {
            s.Begin(Primitive::Lines);
            for (int j : faces) FaceEdges(s, lod.Faces[static_cast<std::size_t>(j)]);
            s.End();
            continue;
          }
          std::map<int, std::vector<int>> groups;
          for (int j : faces)
            groups[textures.Find(ShownTextureName(lod.Faces[static_cast<std::size_t>(j)], fg))]
                .push_back(j);
          for (const auto& [t, group] : groups) {
            s.BindTexture(t, false);
            s.Begin(Primitive::Triangles);
            for (int j : group) FaceTriangles(s, lod.Faces[static_cast<std::size_t>(j)]);
            s.End();
          }
          // A tint can vanish on a texture of its own colour: a sparse grid of dots in the
          // wireframe's selection colour marks the face on any texture.
          s.BindTexture(-1, false);
          s.Stipple(true);
          Color(s, pass == 0 ? colors.SecondarySelectWireColor : colors.PrimarySelectWireColor);
          s.Begin(Primitive::Triangles);
          for (int j : faces) FaceTriangles(s, lod.Faces[static_cast<std::size_t>(j)]);
          s.End();
          s.Stipple(false);
        }
        s.LineWidth(1);
      });
    f.marks = PartFor(parts, Key({selKey, " marks"}), [&](DrawSink& s) {
      if (meshLevel) {
        if (!v.meshCentres) return;
        if (f.selected)
          Color(s, f.focused ? colors.PrimarySelectWireColor : colors.SecondarySelectWireColor);
        else
          s.Color(255, 255, 255);
        s.Begin(Primitive::Points);
        s.Vertex(lod.BoxCenter.x, lod.BoxCenter.y, lod.BoxCenter.z);
        s.End();
        return;
      }
      if (!f.selected) return;
      if (faceLevel) {
        if (!v.faceCentres) return;
        // The selected faces' points in one run, the focused face's last.
        s.Color(colors.SecondarySelectWireColor.R, colors.SecondarySelectWireColor.G,
                colors.SecondarySelectWireColor.B);
        s.Begin(Primitive::Points);
        for (int j = 0; j < lod.FaceCount(); ++j) {
          const FaceRec& face = lod.Faces[static_cast<std::size_t>(j)];
          if (face.Selected && j != focus)
            s.Vertex(face.BoxCenter.x, face.BoxCenter.y, face.BoxCenter.z);
        }
        s.End();
        if (focus >= 0 && focus < lod.FaceCount()) {
          const FaceRec& face = lod.Faces[static_cast<std::size_t>(focus)];
          Color(s, colors.PrimarySelectWireColor);
          s.Begin(Primitive::Points);
          s.Vertex(face.BoxCenter.x, face.BoxCenter.y, face.BoxCenter.z);
          s.End();
        }
        return;
      }
      // Corners of the selected faces, a run per look (plain, selected, focused), then
      // their normals.
      for (int run = 0; run < 3; ++run) {
        const ColorTriple white{255, 255, 255};
        Color(s, run == 0   ? white
                 : run == 1 ? colors.SecondarySelectWireColor
                            : colors.PrimarySelectWireColor);
        s.PointSize(run == 0 ? 4.0f : run == 1 ? 7.0f : 10.0f);
        s.Begin(Primitive::Points);
        for (int j = 0; j < lod.FaceCount(); ++j) {
          const FaceRec& face = lod.Faces[static_cast<std::size_t>(j)];
          if (!face.Selected) continue;
          for (int k = 0; k < face.CornerCount(); ++k) {
            const VertexRec& point = face.Vertices[static_cast<std::size_t>(k)];
            const bool focused =
                focusedCorner && focusedCorner->face == j && focusedCorner->corner == k;
            const int its = !point.Selected ? 0 : focused ? 2 : 1;
            if (its == run) s.Vertex(point.X, point.Y, point.Z);
          }
        }
        s.End();
      }
      s.PointSize(4);
      if (!v.normals) return;
      s.LineWidth(2);
      Color(s, colors.NormalColor);
      s.Begin(Primitive::Lines);
      for (const FaceRec& face : lod.Faces) {
        if (!face.Selected) continue;
        for (int k = 0; k < face.CornerCount(); ++k) {
          const VertexRec& point = face.Vertices[static_cast<std::size_t>(k)];
          NormalLine(s, model.NormalLength, point, point.I, point.J, point.K);
        }
      }
      s.End();
      s.LineWidth(1);
    });
    if (v.vectors && f.selected)
      f.vectors = PartFor(parts, Key({selKey, " vectors"}), [&](DrawSink& s) {
        s.LineWidth(5);
        for (int which = 0; which < 2; ++which) {
          Color(s, which == 0 ? colors.SoftVector1Color : colors.SoftVector2Color);
          s.Begin(Primitive::Lines);
          for (const FaceRec& face : lod.Faces) {
            if (!face.Selected) continue;
            const VertexRec& c0 = face.Vertices[0];
            const Single3& d = which == 0 ? face.Vector1 : face.Vector2;
            s.Vertex(c0.X, c0.Y, c0.Z);
            s.Vertex(c0.X + d.x, c0.Y + d.y, c0.Z + d.z);
          }
          s.End();
        }
        s.LineWidth(1);
      });
    // Selection parts of other views or foci would never serve again: the flags they
    // show are gone with the next pick.
    for (auto it = parts.lists.begin(); it != parts.lists.end();)
      if (it->first.rfind("sel ", 0) == 0 && it->first.rfind(selKey, 0) != 0) {
        store_.Delete(it->second);
        it = parts.lists.erase(it);
      } else {
        ++it;
      }
    frame_.push_back(f);
  }
  DropUnused();
  // The panels' drawings are few: built anew each time.
  if (panel_) store_.Delete(panel_);
  panel_ = store_.Compile([&](DrawSink& s) { DrawPanelOverlays(model, view, colors, inputs, s); });
  ++compiles_;
}

void LayeredScene::DropUnused() {
  for (auto it = meshes_.begin(); it != meshes_.end();) {
    if (it->second.used) {
      ++it;
      continue;
    }
    for (const auto& [name, id] : it->second.lists) store_.Delete(id);
    it = meshes_.erase(it);
  }
}

void LayeredScene::Clear() {
  for (auto& [identity, parts] : meshes_) parts.used = false;
  DropUnused();
  if (panel_) store_.Delete(panel_);
  panel_ = 0;
  frame_.clear();
  order_.clear();
}

void LayeredScene::Forget() {
  meshes_.clear();
  panel_ = 0;
  frame_.clear();
  order_.clear();
}

void LayeredScene::Draw(DrawSink& s) const {
  if (!model_) return;
  const SceneView& v = sceneView_;
  const bool texture = v.textured;
  const bool meshLevel = v.MeshLevel(), faceLevel = v.FaceLevel();
  const ColorTriple primary = v.Primary(colors_);
  const ColorTriple secondary = v.Secondary(colors_);
  const auto call = [&](const MeshFrame& f, unsigned id) {
    if (!id) return;
    if (f.animated) {
      s.Push();
      AnimateMesh(*f.mesh, view_, inputs_, s);
    }
    store_.Call(id, s);
    if (f.animated) s.Pop();
  };
  s.Color(255, 255, 255);
  s.LineWidth(1);
  s.PointSize(4);
  if (v.hiddenLines) {
    // The faces go into depth first, both sides when the back faces show, so that the
    // edges behind them fail the depth test.
    s.DepthOnly(true);
    for (const bool back : {false, true}) {
      if (back && !v.backFaces) continue;
      s.CullFrontFaces(back);
      for (const MeshFrame& f : frame_) call(f, f.surface);
    }
    s.CullFrontFaces(false);
    s.DepthOnly(false);
  }
  if (texture) s.Texturing(true);
  // A face seen from behind shows at half the brightness it has from outside.
  for (const bool back : {true, false}) {
    if (back && !(texture && v.backFaces)) continue;
    s.CullFrontFaces(back);
    for (const MeshFrame& f : frame_) {
      if (!f.body) continue;
      ColorTriple c{255, 255, 255};
      if (meshLevel && f.selected) c = f.focused ? primary : secondary;
      if (back) c = {c.R / 2, c.G / 2, c.B / 2};
      Color(s, c);
      if (meshLevel) s.LineWidth(f.selected ? 2.0f : 1.0f);
      call(f, f.body);
    }
  }
  s.CullFrontFaces(false);
  s.Color(255, 255, 255);
  s.LineWidth(1);
  if (faceLevel) {
    // Highlights draw over the same faces drawn white: equal depths pass.
    s.DepthLessEqual(true);
    for (const MeshFrame& f : frame_) call(f, f.highlight);
    s.DepthLessEqual(false);
    s.Color(255, 255, 255);
    s.LineWidth(1);
  }
  if (texture) {
    s.Blending(true);
    for (const MeshFrame& f : frame_) call(f, f.blend);
    s.ColorF(1, 1, 1, 1);
    s.Blending(false);
    s.Texturing(false);
  }
  if (faceLevel)
    for (const MeshFrame& f : frame_)
      if (f.points) store_.Call(f.points, s);
  s.DepthLessEqual(true);
  for (const MeshFrame& f : frame_)
    if (f.marks) store_.Call(f.marks, s);
  s.DepthLessEqual(false);
  if (faceLevel) {
    s.LineWidth(2);
    Color(s, colors_.NormalColor);
    for (const MeshFrame& f : frame_)
      if (f.normals) store_.Call(f.normals, s);
    for (const MeshFrame& f : frame_)
      if (f.vectors) store_.Call(f.vectors, s);
  }
  s.Color(255, 255, 255);
  s.LineWidth(1);
  s.PointSize(4);
  if (panel_) store_.Call(panel_, s);
  s.Color(255, 255, 255);
  s.LineWidth(1);
  s.PointSize(4);
}

}  // namespace tamsel
