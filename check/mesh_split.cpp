#include "check/mesh_split.h"

#include <algorithm>
#include <unordered_set>

#include "model/position_key.h"

namespace tamsel {

std::vector<MeshRec> SplitMesh(const MeshRec& mesh, int limit, IdCounters& ids) {
  // The longest side of the mesh's box over all levels.
  float lo[3] = {0, 0, 0}, hi[3] = {0, 0, 0};
  bool first = true;
  for (const LODRec& lod : mesh.LODs)
    for (const FaceRec& face : lod.Faces)
      for (int k = 0; k < face.CornerCount(); ++k) {
        const VertexRec& v = face.Vertices[static_cast<std::size_t>(k)];
        const float p[3] = {v.X, v.Y, v.Z};
        for (int i = 0; i < 3; ++i) {
          lo[i] = first ? p[i] : std::min(lo[i], p[i]);
          hi[i] = first ? p[i] : std::max(hi[i], p[i]);
        }
        first = false;
      }
  int axis = 0;
  for (int i = 1; i < 3; ++i)
    if (hi[i] - lo[i] > hi[axis] - lo[axis]) axis = i;

  struct Item {
    double key;
    std::size_t level, face;
  };
  std::vector<Item> items;
  for (std::size_t l = 0; l < mesh.LODs.size(); ++l)
    for (std::size_t f = 0; f < mesh.LODs[l].Faces.size(); ++f) {
      const FaceRec& face = mesh.LODs[l].Faces[f];
      double sum = 0;
      for (int k = 0; k < face.CornerCount(); ++k) {
        const VertexRec& v = face.Vertices[static_cast<std::size_t>(k)];
        sum += axis == 0 ? v.X : axis == 1 ? v.Y : v.Z;
      }
      items.push_back({sum / face.CornerCount(), l, f});
    }
  std::stable_sort(items.begin(), items.end(),
                   [](const Item& a, const Item& b) { return a.key < b.key; });

  // Which part each face goes to: a new part starts when the next face would take the
  // current one past the limit.
  std::vector<std::vector<int>> part(mesh.LODs.size());
  for (std::size_t l = 0; l < mesh.LODs.size(); ++l) part[l].assign(mesh.LODs[l].Faces.size(), 0);
  std::unordered_set<PositionKey, PositionKeyHash> positions;
  int parts = 1;
  for (const Item& item : items) {
    const FaceRec& face = mesh.LODs[item.level].Faces[item.face];
    std::size_t fresh = 0;
    for (int k = 0; k < face.CornerCount(); ++k)
      fresh += positions.count(PositionKeyOf(face.Vertices[static_cast<std::size_t>(k)])) == 0;
    if (!positions.empty() && positions.size() + fresh > static_cast<std::size_t>(limit)) {
      positions.clear();
      ++parts;
    }
    for (int k = 0; k < face.CornerCount(); ++k)
      positions.insert(PositionKeyOf(face.Vertices[static_cast<std::size_t>(k)]));
    part[item.level][item.face] = parts - 1;
  }

  std::vector<MeshRec> out;
  for (int p = 0; p < parts; ++p) {
    MeshRec& piece = out.emplace_back(MeshShell(mesh));
    if (p > 0) {
      piece.Name = mesh.Name + " " + std::to_string(p + 1);
      piece.Hardpoints.clear();
      piece.EngineGlows.clear();
    }
    for (std::size_t l = 0; l < mesh.LODs.size(); ++l) {
      LODRec& level = piece.LODs[l];
      for (std::size_t f = 0; f < mesh.LODs[l].Faces.size(); ++f)
        if (part[l][f] == p) level.Faces.push_back(mesh.LODs[l].Faces[f]);
      if (p > 0) level.Id = ids.NewMeshId();
    }
    // Empty levels at the end go; an empty high level under faces at the low one stays,
    // so the low faces keep showing at their distances only.
    while (piece.LODs.size() > 1 && piece.LODs.back().Faces.empty()) piece.LODs.pop_back();
  }
  return out;
}

}  // namespace tamsel
