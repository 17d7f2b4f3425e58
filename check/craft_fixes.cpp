#include "check/craft_fixes.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <unordered_map>

#include "check/mesh_split.h"
#include "check/texture_pack.h"
#include "editing/generate_lod.h"
#include "editing/normals.h"
#include "model/bounds.h"

namespace tamsel {
namespace {

bool MeshExists(const Model& model, int m) {
  return m >= 0 && m < model.MeshCount();
}

bool FixFaces(Model& model, const Element& e) {
  if (!MeshExists(model, e.mesh) ||
      !model.Meshes[static_cast<std::size_t>(e.mesh)].HasLevel(e.level))
    return false;
  LODRec& lod =
      model.Meshes.Edit(static_cast<std::size_t>(e.mesh)).LODs[static_cast<std::size_t>(e.level)];
  bool any = false;
  for (const int f : e.faces) {
    if (f < 0 || f >= lod.FaceCount()) continue;
    FaceRec& face = lod.Faces[static_cast<std::size_t>(f)];
    face.Normal = FaceNormalOf(face);
    face.Vector1 = SoftwareVectorOf(face);
    any = true;
  }
  return any;
}

// Vertex normals as Calculate > Vertex Normals makes them, for the one level only.
bool FixVertexNormals(Model& model, const Element& e) {
  if (!MeshExists(model, e.mesh) ||
      !model.Meshes[static_cast<std::size_t>(e.mesh)].HasLevel(e.level))
    return false;
  Model scratch;
  scratch.Meshes = std::vector<MeshRec>(model.Meshes.begin(), model.Meshes.end());
  CalculateVertexNormals(scratch);
  model.Meshes.Edit(static_cast<std::size_t>(e.mesh)).LODs[static_cast<std::size_t>(e.level)] =
      scratch.Meshes[static_cast<std::size_t>(e.mesh)].LODs[static_cast<std::size_t>(e.level)];
  return true;
}

bool FixResample(Model& model, const Element& e, Profile profile, FileTransaction& files,
                 const BitmapLoader& bitmaps) {
  if (e.texture < 0 || e.texture >= model.TextureCount()) return false;
  const TextureRec& texture = model.Textures[static_cast<std::size_t>(e.texture)];
  const Bitmap bitmap = bitmaps(texture);
  const int side = LimitsOf(profile).textureSide;
  const int w = NearestPowerOfTwo(bitmap.width, side), h = NearestPowerOfTwo(bitmap.height, side);
  if (w == bitmap.width && h == bitmap.height) return false;
  const std::filesystem::path old = texture.Name;
  const std::string wanted = old.stem().string() + "_" + std::to_string(w) + "x" +
                             std::to_string(h) + old.extension().string();
  const std::string name = files.Bring(wanted, EncodeBitmap(ResampleBitmap(bitmap, w, h)));
  // The record and every slot naming it take the new file; the old one stays in the folder.
  const std::string before = texture.Name;
  model.Textures.Edit(static_cast<std::size_t>(e.texture)).Name = name;
  const TextureName from(before), to(name);
  for (std::size_t m = 0; m < model.Meshes.size(); ++m) {
    bool names = false;
    for (const LODRec& lod : model.Meshes[m].LODs)
      for (const FaceRec& face : lod.Faces)
        names = names || std::find(face.TextureNames.begin(), face.TextureNames.end(), from) !=
                             face.TextureNames.end();
    if (!names) continue;
    for (LODRec& lod : model.Meshes.Edit(m).LODs)
      for (FaceRec& face : lod.Faces)
        for (TextureName& slot : face.TextureNames)
          if (slot == from) slot = to;
  }
  return true;
}

bool FixUnusedTextures(Model& model) {
  std::unordered_map<std::string, std::size_t> last;
  for (std::size_t t = 0; t < model.Textures.size(); ++t) last[model.Textures[t].Name] = t;
  std::vector<bool> used(model.Textures.size(), false);
  for (const MeshRec& mesh : model.Meshes)
    for (const LODRec& lod : mesh.LODs)
      for (const FaceRec& face : lod.Faces)
        for (std::size_t k = 0; k < 4; ++k)
          if (const auto it = last.find(face.TextureNames[k].str()); it != last.end())
            used[it->second] = true;
  if (std::all_of(used.begin(), used.end(), [](bool u) { return u; })) return false;
  model.Textures.KeepIf([&](std::size_t t) { return used[t]; });
  return true;
}

bool FixDistances(Model& model, const Element& e) {
  if (!MeshExists(model, e.mesh)) return false;
  MeshRec& mesh = model.Meshes.Edit(static_cast<std::size_t>(e.mesh));
  std::vector<float> distances;
  for (const LODRec& lod : mesh.LODs) distances.push_back(lod.Distance);
  std::sort(distances.begin(), distances.end());
  for (std::size_t l = 0; l < mesh.LODs.size(); ++l) mesh.LODs[l].Distance = distances[l];
  return true;
}

bool FixHitzone(Model& model, const Element& e) {
  if (!MeshExists(model, e.mesh) || model.Meshes[static_cast<std::size_t>(e.mesh)].LODs.empty())
    return false;
  MeshRec& mesh = model.Meshes.Edit(static_cast<std::size_t>(e.mesh));
  CalculateMeshBounds(mesh);
  const LODRec& high = mesh.LODs[0];
  mesh.Min = high.BoxMin;
  mesh.Max = high.BoxMax;
  mesh.Span = {high.BoxMax.x - high.BoxMin.x, high.BoxMax.y - high.BoxMin.y,
               high.BoxMax.z - high.BoxMin.z};
  mesh.Center = high.BoxCenter;
  return true;
}

bool FixSplit(Model& model, const Element& e, Profile profile) {
  if (!MeshExists(model, e.mesh)) return false;
  std::vector<MeshRec> parts = SplitMesh(model.Meshes[static_cast<std::size_t>(e.mesh)],
                                         LimitsOf(profile).meshVertices, model.Ids);
  if (parts.size() < 2) return false;
  model.Meshes.Edit(static_cast<std::size_t>(e.mesh)) = std::move(parts[0]);
  for (std::size_t p = 1; p < parts.size(); ++p)
    model.Meshes.insert(static_cast<std::size_t>(e.mesh) + p, std::move(parts[p]));
  return true;
}

}  // namespace

int NearestPowerOfTwo(int side, int largest) {
  int p = 1;
  while (p < side && p < (1 << 30)) p <<= 1;  // the power at or above
  if (p > 1 && static_cast<double>(side) / (p / 2.0) < static_cast<double>(p) / side) p /= 2;
  return largest > 0 ? std::min(p, largest) : p;
}

Bitmap ResampleBitmap(const Bitmap& bitmap, int width, int height) {
  Bitmap out;
  out.width = width;
  out.height = height;
  out.palette = bitmap.palette;
  out.texels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    const auto sy = static_cast<std::size_t>((2 * y + 1) * static_cast<long long>(bitmap.height) /
                                             (2 * height));
    for (int x = 0; x < width; ++x) {
      const auto sx = static_cast<std::size_t>((2 * x + 1) * static_cast<long long>(bitmap.width) /
                                               (2 * width));
      out.texels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                 static_cast<std::size_t>(x)] =
          bitmap.texels[sy * static_cast<std::size_t>(bitmap.width) + sx];
    }
  }
  return out;
}

bool FixesTogether(FixKind fix) {
  return fix != FixKind::None && fix != FixKind::SplitMesh &&
         fix != FixKind::RemoveUnusedTextures && fix != FixKind::PackTextures;
}

int ApplyFixes(Model& model, const std::vector<Finding>& findings, Profile profile,
               FileTransaction& files, const BitmapLoader& bitmaps) {
  int changed = 0;
  for (const Finding& f : findings)
    if (FixesTogether(f.fix)) changed += ApplyFix(model, f, profile, files, bitmaps);
  return changed;
}

bool ApplyFix(Model& model, const Finding& finding, Profile profile, FileTransaction& files,
              const BitmapLoader& bitmaps) {
  const Element& e = finding.element;
  switch (finding.fix) {
    case FixKind::None:
      return false;
    case FixKind::NormalsAndVectors:
      return FixFaces(model, e);
    case FixKind::VertexNormals:
      return FixVertexNormals(model, e);
    case FixKind::Bounds:
      if (!MeshExists(model, e.mesh)) return false;
      CalculateMeshBounds(model.Meshes.Edit(static_cast<std::size_t>(e.mesh)));
      return true;
    case FixKind::ResampleTexture:
      return FixResample(model, e, profile, files, bitmaps);
    case FixKind::RemoveUnusedTextures:
      return FixUnusedTextures(model);
    case FixKind::SortDistances:
      return FixDistances(model, e);
    case FixKind::SplitMesh:
      return FixSplit(model, e, profile);
    case FixKind::HitzoneBox:
      return FixHitzone(model, e);
    case FixKind::GenerateLowLevel:
      return MeshExists(model, e.mesh) && !GenerateLowLevels(model, {e.mesh}, {}).empty();
    case FixKind::PackTextures:
      return !PackTextures(model, profile, files, bitmaps).atlases.empty();
  }
  return false;
}

}  // namespace tamsel
