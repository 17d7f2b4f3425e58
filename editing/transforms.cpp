#include "editing/transforms.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <utility>
#include <vector>

#include "model/bounds.h"

namespace tamsel {
namespace {

struct Vec {
  double x = 0, y = 0, z = 0;
};

// The faces a transform applies to, by mesh.
std::vector<std::pair<int, std::vector<int>>> Chosen(const Model& model, int level,
                                                     TransformScope scope) {
  std::vector<std::pair<int, std::vector<int>>> chosen;
  for (int m = 0; m < model.MeshCount(); ++m) {
    const MeshRec& mesh = model.Meshes[static_cast<std::size_t>(m)];
    if (!mesh.HasLevel(level)) continue;
    const LODRec& lod = mesh.LODs[static_cast<std::size_t>(level)];
    if (!lod.Selected) continue;
    std::vector<int> faces;
    for (int f = 0; f < lod.FaceCount(); ++f)
      if (scope == TransformScope::Meshes || lod.Faces[static_cast<std::size_t>(f)].Selected)
        faces.push_back(f);
    if (!faces.empty() || scope == TransformScope::Meshes) chosen.emplace_back(m, std::move(faces));
  }
  return chosen;
}

// The centre of the box of the chosen corners; halving a sum of two Singles is exact.
Vec Centre(const Model& model, int level,
           const std::vector<std::pair<int, std::vector<int>>>& chosen) {
  double lo[3], hi[3];
  std::fill(lo, lo + 3, std::numeric_limits<double>::infinity());
  std::fill(hi, hi + 3, -std::numeric_limits<double>::infinity());
  for (const auto& [m, faces] : chosen) {
    const LODRec& lod =
        model.Meshes[static_cast<std::size_t>(m)].LODs[static_cast<std::size_t>(level)];
    for (int f : faces)
      for (const VertexRec& v : lod.Faces[static_cast<std::size_t>(f)].Vertices) {
        const double p[3] = {v.X, v.Y, v.Z};
        for (int a = 0; a < 3; ++a) {
          lo[a] = std::min(lo[a], p[a]);
          hi[a] = std::max(hi[a], p[a]);
        }
      }
  }
  if (!(lo[0] <= hi[0])) return {};
  return {(lo[0] + hi[0]) / 2, (lo[1] + hi[1]) / 2, (lo[2] + hi[2]) / 2};
}

// A map of points and one of directions, applied to everything a transform moves.
struct Mapping {
  std::function<Vec(Vec)> point, direction;
  void Point(float& x, float& y, float& z) const {
    const Vec v = point({x, y, z});
    x = static_cast<float>(v.x), y = static_cast<float>(v.y), z = static_cast<float>(v.z);
  }
  void Point(Single3& p) const { Point(p.x, p.y, p.z); }
  void Direction(float& x, float& y, float& z) const {
    const Vec v = direction({x, y, z});
    x = static_cast<float>(v.x), y = static_cast<float>(v.y), z = static_cast<float>(v.z);
  }
  void Direction(Single3& d) const { Direction(d.x, d.y, d.z); }
};

void MapFace(FaceRec& face, const Mapping& map) {
  for (VertexRec& v : face.Vertices) {
    map.Point(v.X, v.Y, v.Z);
    map.Direction(v.I, v.J, v.K);
  }
  map.Direction(face.Normal);
  map.Direction(face.Vector1);
  map.Direction(face.Vector2);
}

// The features that belong to a whole mesh follow it; the hitzone box becomes the box
// around its mapped corners.
void MapMeshFeatures(MeshRec& mesh, const Mapping& map) {
  for (Single3* p : {&mesh.Center, &mesh.Target, &mesh.Pivot}) map.Point(*p);
  for (Single3* d : {&mesh.Axis, &mesh.Aim, &mesh.Degree}) map.Direction(*d);
  Single3 lo = mesh.Min, hi = mesh.Max, newLo, newHi;
  for (int k = 0; k < 8; ++k) {
    Single3 c{k & 1 ? hi.x : lo.x, k & 2 ? hi.y : lo.y, k & 4 ? hi.z : lo.z};
    map.Point(c);
    if (k == 0) newLo = newHi = c;
    newLo = {std::min(newLo.x, c.x), std::min(newLo.y, c.y), std::min(newLo.z, c.z)};
    newHi = {std::max(newHi.x, c.x), std::max(newHi.y, c.y), std::max(newHi.z, c.z)};
  }
  mesh.Min = newLo;
  mesh.Max = newHi;
  mesh.Span = {newHi.x - newLo.x, newHi.y - newLo.y, newHi.z - newLo.z};
  for (HardpointRec& hp : mesh.Hardpoints) map.Point(hp.Position);
  for (EngineGlowRec& g : mesh.EngineGlows) map.Point(g.Position);
}

using ChosenFaces = std::vector<std::pair<int, std::vector<int>>>;

int Apply(Model& model, int level, TransformScope scope, const ChosenFaces& chosen,
          const Mapping& map, const std::function<void(FaceRec&)>& after = {}) {
  int count = 0;
  std::vector<int> changed;
  for (const auto& [m, faces] : chosen) {
    MeshRec& mesh = model.Meshes.Edit(static_cast<std::size_t>(m));
    LODRec& lod = mesh.LODs[static_cast<std::size_t>(level)];
    for (int f : faces) {
      FaceRec& face = lod.Faces[static_cast<std::size_t>(f)];
      MapFace(face, map);
      if (after) after(face);
      ++count;
    }
    if (scope == TransformScope::Meshes) MapMeshFeatures(mesh, map);
    changed.push_back(m);
  }
  if (!changed.empty()) CalculateBounds(model, changed);
  return count;
}

// Cosine and sine of a turn, exact for multiples of a quarter turn.
std::pair<double, double> Turn(double degrees) {
  const double quarters = degrees / 90.0;
  if (quarters == std::round(quarters)) {
    switch (((static_cast<long long>(std::round(quarters)) % 4) + 4) % 4) {
      case 0:
        return {1, 0};
      case 1:
        return {0, 1};
      case 2:
        return {-1, 0};
      default:
        return {0, -1};
    }
  }
  const double r = degrees * std::acos(-1.0) / 180.0;
  return {std::cos(r), std::sin(r)};
}

}  // namespace

int RotateSelection(Model& model, int level, TransformScope scope, Axis axis, double degrees) {
  const ChosenFaces chosen = Chosen(model, level, scope);
  const Vec c = Centre(model, level, chosen);
  const auto [cs, sn] = Turn(degrees);
  // The two coordinates of the plane of the turn, in right-handed order.
  const auto turn = [axis, cs = cs, sn = sn](Vec v) {
    double* u = axis == Axis::X ? &v.y : axis == Axis::Y ? &v.z : &v.x;
    double* w = axis == Axis::X ? &v.z : axis == Axis::Y ? &v.x : &v.y;
    const double a = *u, b = *w;
    *u = a * cs - b * sn;
    *w = a * sn + b * cs;
    return v;
  };
  Mapping map;
  map.point = [turn, c](Vec p) {
    const Vec d = turn({p.x - c.x, p.y - c.y, p.z - c.z});
    return Vec{c.x + d.x, c.y + d.y, c.z + d.z};
  };
  map.direction = turn;
  return Apply(model, level, scope, chosen, map);
}

int MirrorSelection(Model& model, int level, TransformScope scope, Axis axis) {
  const ChosenFaces chosen = Chosen(model, level, scope);
  const Vec c = Centre(model, level, chosen);
  const auto flip = [axis](Vec v, double about) {
    double& a = axis == Axis::X ? v.x : axis == Axis::Y ? v.y : v.z;
    a = 2 * about - a;
    return v;
  };
  const double about = axis == Axis::X ? c.x : axis == Axis::Y ? c.y : c.z;
  Mapping map;
  map.point = [flip, about](Vec p) { return flip(p, about); };
  map.direction = [flip](Vec d) { return flip(d, 0); };
  // The mirror turns each face's winding over: the corners in reverse order turn it back.
  return Apply(model, level, scope, chosen, map, [](FaceRec& face) {
    const bool triangle = face.IsTriangle();
    std::swap(face.Vertices[1], face.Vertices[triangle ? 2 : 3]);
  });
}

}  // namespace tamsel
