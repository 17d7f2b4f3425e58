#include "editing/texture_tools.h"

#include <algorithm>
#include <array>
#include <type_traits>
#include <utility>

namespace tamsel {
namespace {

bool HasSelectedFace(const LODRec& lod) {
  return lod.Selected && std::any_of(lod.Faces.begin(), lod.Faces.end(),
                                     [](const FaceRec& f) { return f.Selected; });
}

// Calls visit(face, meshIndex, faceIndex) for every selected face of a selected mesh. A
// writable model has only the meshes that hold such faces made its own.
template <typename ModelT, typename Visit>
void SelectedFaces(ModelT& model, int level, Visit visit) {
  const auto l = static_cast<std::size_t>(level);
  for (int m = 0; m < model.MeshCount(); ++m) {
    const auto index = static_cast<std::size_t>(m);
    const MeshRec& seen = model.Meshes[index];
    if (!seen.HasLevel(level) || !HasSelectedFace(seen.LODs[l])) continue;
    auto& lod = [&]() -> auto& {
      if constexpr (std::is_const_v<ModelT>)
        return seen.LODs[l];
      else
        return model.Meshes.Edit(index).LODs[l];
    }
    ();
    for (int f = 0; f < lod.FaceCount(); ++f)
      if (lod.Faces[static_cast<std::size_t>(f)].Selected)
        visit(lod.Faces[static_cast<std::size_t>(f)], m, f);
  }
}

bool AnyCornerSelected(const MeshRec& mesh, int level) {
  if (!mesh.HasLevel(level)) return false;
  for (const FaceRec& face : mesh.LODs[static_cast<std::size_t>(level)].Faces)
    for (int k = 0; k < face.CornerCount(); ++k)
      if (face.Vertices[static_cast<std::size_t>(k)].Selected) return true;
  return false;
}

}  // namespace

int SetSelectedCornersUV(Model& model, int level, float u, float v) {
  int changed = 0;
  for (std::size_t m = 0; m < model.Meshes.size(); ++m) {
    if (!AnyCornerSelected(model.Meshes[m], level)) continue;
    for (FaceRec& face : model.Meshes.Edit(m).LODs[static_cast<std::size_t>(level)].Faces)
      for (int k = 0; k < face.CornerCount(); ++k) {
        VertexRec& c = face.Vertices[static_cast<std::size_t>(k)];
        if (c.Selected) c.U = u, c.V = v, ++changed;
      }
  }
  return changed;
}

int AssignTexture(Model& model, int level, int slot, const std::string& name,
                  std::optional<FaceRef> focused, const std::optional<FaceVectors>& vectors) {
  if (slot < 0 || slot > 3) return 0;
  int changed = 0;
  SelectedFaces(model, level, [&](FaceRec& face, int m, int f) {
    face.TextureNames[static_cast<std::size_t>(slot)] = name;
    if (vectors && focused && *focused == FaceRef{m, f}) {
      face.Vector1 = vectors->vector1;
      face.Vector2 = vectors->vector2;
    }
    ++changed;
  });
  return changed;
}

std::pair<int, bool> RegisterTexture(Model& model, const std::string& name) {
  for (int t = 0; t < model.TextureCount(); ++t)
    if (model.Textures[static_cast<std::size_t>(t)].Name == name) return {t, false};
  TextureRec record;
  record.Name = name;
  model.Textures.push_back(record);
  return {model.TextureCount() - 1, true};
}

bool Stitch(Model& model, int level, StitchView view) {
  // The box over the selection, from the corners themselves (as fresh bounds would have it).
  std::array<double, 3> lo{}, hi{};
  bool any = false;
  SelectedFaces(std::as_const(model), level, [&](const FaceRec& face, int, int) {
    for (int k = 0; k < face.CornerCount(); ++k) {
      const VertexRec& v = face.Vertices[static_cast<std::size_t>(k)];
      const double p[3] = {v.X, v.Y, v.Z};
      for (std::size_t a = 0; a < 3; ++a) {
        lo[a] = any ? std::min(lo[a], p[a]) : p[a];
        hi[a] = any ? std::max(hi[a], p[a]) : p[a];
      }
      any = true;
    }
  });
  if (!any) return false;
  // U runs from the maximum down its axis, V from the minimum up.
  const std::size_t uAxis = view == StitchView::Side ? 1 : 0;
  const std::size_t vAxis = view == StitchView::TopBottom ? 1 : 2;
  const double uSpan = hi[uAxis] - lo[uAxis], vSpan = hi[vAxis] - lo[vAxis];
  SelectedFaces(model, level, [&](FaceRec& face, int, int) {
    for (int k = 0; k < 4; ++k) {
      VertexRec& v = face.Vertices[static_cast<std::size_t>(k)];
      const double p[3] = {v.X, v.Y, v.Z};
      if (uSpan != 0) v.U = static_cast<float>((hi[uAxis] - p[uAxis]) / uSpan);
      if (vSpan != 0) v.V = static_cast<float>((p[vAxis] - lo[vAxis]) / vSpan);
    }
  });
  return true;
}

void RotateCoordinates(Model& model, int level, bool clockwise) {
  SelectedFaces(model, level, [&](FaceRec& face, int, int) {
    const int n = face.CornerCount();
    std::array<std::pair<float, float>, 4> uv;
    for (int k = 0; k < n; ++k)
      uv[static_cast<std::size_t>(k)] = {face.Vertices[static_cast<std::size_t>(k)].U,
                                         face.Vertices[static_cast<std::size_t>(k)].V};
    for (int k = 0; k < n; ++k) {
      const int from = clockwise ? (k + 1) % n : (k + n - 1) % n;
      face.Vertices[static_cast<std::size_t>(k)].U = uv[static_cast<std::size_t>(from)].first;
      face.Vertices[static_cast<std::size_t>(k)].V = uv[static_cast<std::size_t>(from)].second;
    }
  });
}

void MirrorCoordinates(Model& model, int level, bool mirrorU) {
  SelectedFaces(model, level, [&](FaceRec& face, int, int) {
    for (int k = 0; k < 4; ++k) {
      VertexRec& v = face.Vertices[static_cast<std::size_t>(k)];
      (mirrorU ? v.U : v.V) = 1 - (mirrorU ? v.U : v.V);
    }
  });
}

void ResetTextureCoordinates(Model& model) {
  constexpr float u[4] = {0, 1, 1, 0}, v[4] = {0, 0, 1, 1};
  for (MeshRec& mesh : model.Meshes.EditAll())
    for (LODRec& lod : mesh.LODs)
      for (FaceRec& face : lod.Faces)
        for (int k = 0; k < face.CornerCount(); ++k)
          face.Vertices[static_cast<std::size_t>(k)].U = u[k],
          face.Vertices[static_cast<std::size_t>(k)].V = v[k];
}

int BlankFlightGroupSlots(Model& model, int level) {
  int changed = 0;
  SelectedFaces(model, level, [&](FaceRec& face, int, int) {
    for (std::size_t s = 1; s < 4; ++s) face.TextureNames[s] = kBlank;
    ++changed;
  });
  return changed;
}

bool UpdateTextureColors(Model& model, int t, ColorTable table, int strength, int tolerance,
                         std::vector<RGB> colors) {
  if (t < 0 || t >= model.TextureCount()) return false;
  TextureRec& tex = model.Textures.Edit(static_cast<std::size_t>(t));
  const auto byte = [](int v, int lo) { return static_cast<std::uint8_t>(std::clamp(v, lo, 255)); };
  if (table == ColorTable::Transparent) {
    tex.TransOpacity = byte(strength, 0);
    tex.TransTolerance = byte(tolerance, 0);
    tex.TransColors = std::move(colors);
  } else {
    tex.IllumBrightness = static_cast<std::uint8_t>(std::clamp(strength, 1, 16));
    tex.IllumTolerance = byte(tolerance, 0);
    tex.IllumColors = std::move(colors);
  }
  return true;
}

}  // namespace tamsel
