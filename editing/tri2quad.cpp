#include "editing/tri2quad.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <tuple>

#include "editing/quad_shape.h"
#include "model/bounds.h"

namespace tamsel {
namespace {

using Key = std::tuple<float, float, float>;
Key KeyOf(const VertexRec& v) {
  return {v.X, v.Y, v.Z};
}

bool SameCorner(const VertexRec& a, const VertexRec& b) {
  return a.X == b.X && a.Y == b.Y && a.Z == b.Z && a.U == b.U && a.V == b.V && a.I == b.I &&
         a.J == b.J && a.K == b.K;
}

// The quad two triangles make when `a`'s edge i runs back along `b`'s edge j, or nothing.
std::optional<FaceRec> Joined(const FaceRec& a, int i, const FaceRec& b, int j) {
  const auto at = [](const FaceRec& f, int k) {
    return f.Vertices[static_cast<std::size_t>(k % 3)];
  };
  if (!SameCorner(at(a, i), at(b, j + 1)) || !SameCorner(at(a, i + 1), at(b, j))) return {};
  if (a.TextureNames != b.TextureNames) return {};
  FaceRec quad = a;
  quad.Vertices = {at(a, i + 2), at(a, i), at(b, j + 2), at(a, i + 1)};
  std::vector<Single3> corners;
  for (const VertexRec& v : quad.Vertices) corners.push_back({v.X, v.Y, v.Z});
  if (!IsFlatConvexQuad(corners)) return {};
  // The winding stays the triangles': the area normal points as the first one's does.
  return quad;
}

double EdgeLength(const FaceRec& f, int i) {
  const VertexRec &p = f.Vertices[static_cast<std::size_t>(i % 3)],
                  &q = f.Vertices[static_cast<std::size_t>((i + 1) % 3)];
  return std::hypot(double{p.X} - q.X, double{p.Y} - q.Y, double{p.Z} - q.Z);
}

// Merges the triangles of one level; `take` says which faces may take part.
int MergeLevel(LODRec& lod, const std::vector<bool>& take) {
  const std::vector<FaceRec>& faces = lod.Faces;
  const std::size_t n = faces.size();
  std::vector<bool> gone(n, false), used(n, false);
  std::vector<std::optional<FaceRec>> made(n);
  const auto usable = [&](std::size_t f) { return take[f] && !used[f] && faces[f].IsTriangle(); };
  const auto tryPair = [&](std::size_t f, std::size_t g) {
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j)
        if (auto quad = Joined(faces[f], i, faces[g], j)) {
          made[f] = quad;
          used[f] = used[g] = gone[g] = true;
          return true;
        }
    return false;
  };
  // First the neighbours in the list, as Quad2Tri leaves a quad's two halves.
  for (std::size_t f = 0; f + 1 < n; ++f)
    if (usable(f) && usable(f + 1)) tryPair(f, f + 1);
  // Then any two across a shared edge, the longest shared edges first.
  std::map<std::pair<Key, Key>, std::vector<std::pair<std::size_t, int>>> edges;
  for (std::size_t f = 0; f < n; ++f)
    if (usable(f))
      for (int i = 0; i < 3; ++i)
        edges[{KeyOf(faces[f].Vertices[static_cast<std::size_t>(i)]),
               KeyOf(faces[f].Vertices[static_cast<std::size_t>((i + 1) % 3)])}]
            .push_back({f, i});
  struct Candidate {
    double length;
    std::size_t f, g;
    int i, j;
  };
  std::vector<Candidate> candidates;
  for (const auto& [edge, sides] : edges) {
    if (edge.first >= edge.second) continue;  // each edge once, from its lesser end
    const auto back = edges.find({edge.second, edge.first});
    if (back == edges.end()) continue;
    for (const auto& [f, i] : sides)
      for (const auto& [g, j] : back->second)
        if (f != g)
          candidates.push_back({EdgeLength(faces[f], i), std::min(f, g), std::max(f, g),
                                f < g ? i : j, f < g ? j : i});
  }
  std::stable_sort(
      candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        return a.length != b.length ? a.length > b.length : std::tie(a.f, a.g) < std::tie(b.f, b.g);
      });
  for (const Candidate& c : candidates) {
    if (!usable(c.f) || !usable(c.g)) continue;
    if (auto quad = Joined(faces[c.f], c.i, faces[c.g], c.j)) {
      made[c.f] = quad;
      used[c.f] = used[c.g] = gone[c.g] = true;
    }
  }
  int count = 0;
  for (const auto& quad : made) count += quad ? 1 : 0;
  if (count == 0) return 0;
  std::vector<FaceRec> result;
  result.reserve(n - static_cast<std::size_t>(count));
  for (std::size_t f = 0; f < n; ++f) {
    if (gone[f]) continue;
    result.push_back(made[f] ? *made[f] : faces[f]);
  }
  lod.Faces = std::move(result);
  return count;
}

}  // namespace

int Tri2QuadLevel(LODRec& level) {
  return MergeLevel(level, std::vector<bool>(level.Faces.size(), true));
}

int Tri2Quad(Model& model, int level, bool selectedOnly) {
  int count = 0;
  std::vector<int> changed;
  for (int m = 0; m < model.MeshCount(); ++m) {
    const MeshRec& seen = model.Meshes[static_cast<std::size_t>(m)];
    for (int l = 0; l < seen.LODCount(); ++l) {
      const LODRec& lod = seen.LODs[static_cast<std::size_t>(l)];
      if (selectedOnly && (l != level || !lod.Selected)) continue;
      std::vector<bool> take(lod.Faces.size(), true);
      std::size_t triangles = 0;
      for (std::size_t f = 0; f < take.size(); ++f) {
        if (selectedOnly) take[f] = lod.Faces[f].Selected != kFalse;
        if (take[f] && lod.Faces[f].IsTriangle()) ++triangles;
      }
      if (triangles < 2) continue;
      LODRec copy = lod;  // shares the faces until MergeLevel writes them
      const int made = MergeLevel(copy, take);
      if (made == 0) continue;
      model.Meshes.Edit(static_cast<std::size_t>(m)).LODs[static_cast<std::size_t>(l)] =
          std::move(copy);
      count += made;
      if (changed.empty() || changed.back() != m) changed.push_back(m);
    }
  }
  if (!changed.empty()) CalculateBounds(model, changed);
  return count;
}

}  // namespace tamsel
