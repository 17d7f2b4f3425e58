#include "editing/generate_lod.h"

#include <meshoptimizer.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <map>
#include <unordered_map>

#include "editing/normals.h"
#include "editing/tri2quad.h"
#include "model/bounds.h"

namespace tamsel {
namespace {

// A corner as the simplifier tells corners apart: everything but its id and flag, and the
// textures of its face.
struct CornerKey {
  float values[8];  // X Y Z U V I J K
  int textures;     // index of the face's texture names
  // Bit for bit, as the hash reads them: -0 is not 0, and a NaN is the same as itself.
  friend bool operator==(const CornerKey& a, const CornerKey& b) {
    for (std::size_t i = 0; i < 8; ++i)
      if (std::bit_cast<std::uint32_t>(a.values[i]) != std::bit_cast<std::uint32_t>(b.values[i]))
        return false;
    return a.textures == b.textures;
  }
};
struct CornerHash {
  std::size_t operator()(const CornerKey& k) const {
    std::size_t h = static_cast<std::size_t>(k.textures);
    for (const float v : k.values) {
      std::uint32_t bits;
      std::memcpy(&bits, &v, sizeof bits);
      h = h * 1000003u ^ bits;
    }
    return h;
  }
};

struct Welded {
  std::vector<float> positions;     // x y z per vertex
  std::vector<VertexRec> corners;   // the record of each vertex
  std::vector<int> textures;        // each vertex's texture names
  std::vector<std::size_t> faceOf;  // a face each vertex came from
  std::vector<std::array<TextureName, kTextureSlots>> textureSets;
  std::vector<unsigned> indices;  // three per triangle, in face order
};

Welded Weld(const LODRec& level) {
  Welded w;
  std::unordered_map<CornerKey, unsigned, CornerHash> seen;
  std::map<std::array<TextureName, kTextureSlots>, int> sets;
  for (std::size_t f = 0; f < level.Faces.size(); ++f) {
    const FaceRec& face = level.Faces[f];
    auto [set, added] = sets.emplace(face.TextureNames, static_cast<int>(w.textureSets.size()));
    if (added) w.textureSets.push_back(face.TextureNames);
    unsigned at[4];
    for (int k = 0; k < face.CornerCount(); ++k) {
      const VertexRec& v = face.Vertices[static_cast<std::size_t>(k)];
      const CornerKey key{{v.X, v.Y, v.Z, v.U, v.V, v.I, v.J, v.K}, set->second};
      auto [it, isNew] = seen.emplace(key, static_cast<unsigned>(w.corners.size()));
      if (isNew) {
        w.positions.insert(w.positions.end(), {v.X, v.Y, v.Z});
        w.corners.push_back(v);
        w.textures.push_back(set->second);
        w.faceOf.push_back(f);
      }
      at[k] = it->second;
    }
    w.indices.insert(w.indices.end(), {at[0], at[1], at[2]});
    if (!face.IsTriangle()) w.indices.insert(w.indices.end(), {at[0], at[2], at[3]});
  }
  return w;
}

LODRec Rebuild(const LODRec& high, const Welded& w, const std::vector<unsigned>& indices,
               IdCounters& ids) {
  LODRec low;
  std::vector<FaceRec> faces;
  faces.reserve(indices.size() / 3);
  for (std::size_t t = 0; t + 2 < indices.size(); t += 3) {
    const unsigned a = indices[t], b = indices[t + 1], c = indices[t + 2];
    FaceRec face;
    face.Vertices = {w.corners[a], w.corners[b], w.corners[c], w.corners[a]};
    for (VertexRec& v : face.Vertices) v.Selected = kFalse;
    face.TextureNames = w.textureSets[static_cast<std::size_t>(w.textures[a])];
    face.Normal = FaceNormalOf(face);
    // A triangle along a locked border can come out without area: it covers nothing.
    if (face.Normal.x == 0 && face.Normal.y == 0 && face.Normal.z == 0) continue;
    face.Vector1 = SoftwareVectorOf(face);
    face.Vector2 = high.Faces[w.faceOf[a]].Vector2;
    faces.push_back(face);
  }
  low.Faces = std::move(faces);
  AssignNewIds(low, ids);
  return low;
}

struct Simplified {
  std::vector<unsigned> indices;
  float error = 0;
  bool sloppy = false;
};

// The welded triangles simplified towards `triangles`, within `error` of the mesh's size.
Simplified Simplify(const Welded& w, std::size_t triangles, double error) {
  const std::size_t target = 3 * std::max<std::size_t>(1, triangles);
  Simplified s;
  s.indices.resize(w.indices.size());
  std::size_t count = meshopt_simplify(
      s.indices.data(), w.indices.data(), w.indices.size(), w.positions.data(), w.corners.size(),
      3 * sizeof(float), target, static_cast<float>(error), meshopt_SimplifyLockBorder, &s.error);
  // Where the careful simplifier stops far short of the target within the error allowed,
  // the sloppy one may reach it within the same error.
  if (count > 2 * target) {
    std::vector<unsigned> sloppy(w.indices.size());
    float sloppyError = 0;
    const std::size_t n = meshopt_simplifySloppy(
        sloppy.data(), w.indices.data(), w.indices.size(), w.positions.data(), w.corners.size(),
        3 * sizeof(float), target, static_cast<float>(error), &sloppyError);
    if (n >= 3 && n < count && sloppyError <= error) {
      s.indices = std::move(sloppy);
      count = n;
      s.error = sloppyError;
      s.sloppy = true;
    }
  }
  s.indices.resize(count);
  return s;
}

}  // namespace

float LowLevelDistance(const Model& model) {
  const double size = std::max({model.ModelSpan.x, model.ModelSpan.y, model.ModelSpan.z});
  return static_cast<float>(std::clamp(size / 400.0, 0.001, 999.0));
}

std::vector<LodReport> GenerateLowLevels(Model& model, const std::vector<int>& meshes,
                                         const LodOptions& options) {
  CalculateModelBox(model);
  const float distance = LowLevelDistance(model);
  std::vector<LodReport> reports;
  std::vector<int> changed;
  for (int m = 0; m < model.MeshCount(); ++m) {
    if (!meshes.empty() && std::find(meshes.begin(), meshes.end(), m) == meshes.end()) continue;
    const MeshRec& mesh = model.Meshes[static_cast<std::size_t>(m)];
    if (mesh.LODs.empty() || mesh.LODs[0].Faces.empty()) continue;
    const LODRec& high = mesh.LODs[0];
    const Welded w = Weld(high);
    LodReport report;
    report.mesh = m;
    report.facesBefore = high.FaceCount();
    // The target counts faces, and Tri2Quad pairs some triangles into quads again: the
    // triangles aimed at grow by what the pairing took, for a second and a third try.
    const double wanted = std::max(1.0, options.ratio * report.facesBefore);
    double aim = wanted;
    float error = 0;
    LODRec low;
    double bestMiss = -1;
    for (int attempt = 0; attempt < 3; ++attempt) {
      Simplified s = Simplify(w, static_cast<std::size_t>(std::llround(aim)), options.error);
      LODRec paired = Rebuild(high, w, s.indices, model.Ids);
      Tri2QuadLevel(paired);
      const double faces = paired.FaceCount();
      const double miss = std::abs(faces - wanted);
      if (bestMiss < 0 || miss < bestMiss) {
        bestMiss = miss;
        low = std::move(paired);
        error = s.error;
        report.sloppy = s.sloppy;
      }
      if (faces <= 0 || miss <= 0.02 * wanted || s.indices.size() >= w.indices.size()) break;
      aim = aim * wanted / faces;
    }
    low.Distance = distance;
    MeshRec& edited = model.Meshes.Edit(static_cast<std::size_t>(m));
    edited.LODs.resize(2);
    report.facesAfter = low.FaceCount();
    edited.LODs[1] = std::move(low);
    report.deviation = error;  // meshoptimizer's error is relative to the mesh's extent
    changed.push_back(m);
    reports.push_back(report);
  }
  if (!changed.empty()) CalculateBounds(model, changed);
  return reports;
}

}  // namespace tamsel
