#include "editing/transforms.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <stdexcept>
#include <utility>
#include <vector>

#include "editing/ship_features.h"
#include "model/bounds.h"
#include "model/number_text.h"

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
  // Software vectors, which stretch with the surface; the directions' map when not set.
  std::function<Vec(Vec)> vector;
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
  if (map.vector) {
    for (Single3* d : {&face.Vector1, &face.Vector2}) {
      const Vec v = map.vector({d->x, d->y, d->z});
      *d = {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)};
    }
  } else {
    map.Direction(face.Vector1);
    map.Direction(face.Vector2);
  }
}

// Puts a face's corners in reverse order, keeping a triangle's corner 3 at its corner 0:
// after a map that turns space inside out, the face keeps its outward side.
void ReverseCorners(FaceRec& face) {
  const bool triangle = face.IsTriangle();
  std::swap(face.Vertices[1], face.Vertices[triangle ? 2 : 3]);
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
std::pair<double, double> CosSin(double degrees) {
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

// A turn about the line parallel to `axis` through c.
Mapping TurnAbout(Vec c, Axis axis, double degrees) {
  const auto [cs, sn] = CosSin(degrees);
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
  return map;
}

}  // namespace

int RotateSelection(Model& model, int level, TransformScope scope, Axis axis, double degrees) {
  const ChosenFaces chosen = Chosen(model, level, scope);
  const Vec c = Centre(model, level, chosen);
  return Apply(model, level, scope, chosen, TurnAbout(c, axis, degrees));
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
  return Apply(model, level, scope, chosen, map, ReverseCorners);
}

namespace {

// The elements a target holds in one mesh: its faces at the level, and for corners the
// selected corners of each (bit k for corner k).
struct Part {
  int mesh = 0;
  std::vector<int> faces;
  std::vector<unsigned> corners;
};

std::vector<Part> PartsOf(const Model& model, const EditTarget& target) {
  std::vector<Part> parts;
  if (target.kind == TargetKind::Hardpoint || target.kind == TargetKind::EngineGlow) return parts;
  for (int m = 0; m < model.MeshCount(); ++m) {
    const MeshRec& mesh = model.Meshes[static_cast<std::size_t>(m)];
    if (!mesh.HasLevel(target.level)) continue;
    const LODRec& lod = mesh.LODs[static_cast<std::size_t>(target.level)];
    if (!lod.Selected) continue;
    // A mesh moves whole: no list of its faces is needed.
    if (target.kind == TargetKind::Meshes) {
      parts.push_back({m, {}, {}});
      continue;
    }
    Part part{m, {}, {}};
    for (int f = 0; f < lod.FaceCount(); ++f) {
      const FaceRec& face = lod.Faces[static_cast<std::size_t>(f)];
      if (!face.Selected) continue;
      unsigned mask = 0;
      for (int k = 0; k < face.CornerCount(); ++k)
        if (face.Vertices[static_cast<std::size_t>(k)].Selected) mask |= 1u << k;
      if (target.kind == TargetKind::Corners && mask == 0) continue;
      part.faces.push_back(f);
      part.corners.push_back(mask);
    }
    if (!part.faces.empty()) parts.push_back(std::move(part));
  }
  return parts;
}

Single3 At(const VertexRec& v) {
  return {v.X, v.Y, v.Z};
}

// The scale's map: points about c, normals by the inverse scale made unit again, software
// vectors as the surface stretches.
Mapping ScaleAbout(Vec c, const std::array<double, 3>& s) {
  Mapping map;
  map.point = [c, s](Vec p) {
    return Vec{c.x + (p.x - c.x) * s[0], c.y + (p.y - c.y) * s[1], c.z + (p.z - c.z) * s[2]};
  };
  map.direction = [s](Vec d) {
    const Vec n{d.x / s[0], d.y / s[1], d.z / s[2]};
    const double was = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    const double is = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    if (!(is > 0) || !(was > 0)) return d;
    return Vec{n.x * was / is, n.y * was / is, n.z * was / is};
  };
  map.vector = [s](Vec d) { return Vec{d.x * s[0], d.y * s[1], d.z * s[2]}; };
  return map;
}

// Moves a feature: a hardpoint or a glow moves; a glow scales its size.
int TransformFeature(Model& model, const EditTarget& target, const Transform& t) {
  const bool hardpoint = target.kind == TargetKind::Hardpoint;
  // A point turned about itself stays, and so does a scaled hardpoint: neither is written.
  if (t.kind == TransformKind::Rotate || (hardpoint && t.kind == TransformKind::Scale)) return 0;
  HardpointRec* hp = hardpoint ? EditHardpointAt(model, target.item) : nullptr;
  EngineGlowRec* glow = hardpoint ? nullptr : EditEngineGlowAt(model, target.item);
  if (!hp && !glow) return 0;
  const auto change = [&t](Single3& v, bool add) {
    const auto one = [&](float c, std::size_t a) {
      return static_cast<float>(add ? c + t.amount[a] : c * std::abs(t.amount[a]));
    };
    v = {one(v.x, 0), one(v.y, 1), one(v.z, 2)};
  };
  if (t.kind == TransformKind::Move)
    change(hp ? hp->Position : glow->Position, true);
  else if (glow)
    change(glow->Size, false);  // a glow's scale is its size
  return 1;
}

std::string Amount(double value) {
  return FormatSingle(static_cast<float>(value));
}

}  // namespace

std::optional<Single3> TargetCentre(const Model& model, const EditTarget& target) {
  if (target.kind == TargetKind::Hardpoint) {
    const HardpointRec* hp = HardpointAt(model, target.item);
    return hp ? std::optional(hp->Position) : std::nullopt;
  }
  if (target.kind == TargetKind::EngineGlow) {
    const EngineGlowRec* glow = EngineGlowAt(model, target.item);
    return glow ? std::optional(glow->Position) : std::nullopt;
  }
  double lo[3], hi[3];
  std::fill(lo, lo + 3, std::numeric_limits<double>::infinity());
  std::fill(hi, hi + 3, -std::numeric_limits<double>::infinity());
  const auto take = [&](const Single3& p) {
    const double q[3] = {p.x, p.y, p.z};
    for (int a = 0; a < 3; ++a) {
      lo[a] = std::min(lo[a], q[a]);
      hi[a] = std::max(hi[a], q[a]);
    }
  };
  for (const Part& part : PartsOf(model, target)) {
    const LODRec& lod = model.Meshes[static_cast<std::size_t>(part.mesh)]
                            .LODs[static_cast<std::size_t>(target.level)];
    // A whole mesh's level has its box already; the gizmo asks for it every frame.
    if (target.kind == TargetKind::Meshes) {
      if (!lod.Faces.empty()) take(lod.BoxMin), take(lod.BoxMax);
      continue;
    }
    for (std::size_t i = 0; i < part.faces.size(); ++i) {
      const FaceRec& face = lod.Faces[static_cast<std::size_t>(part.faces[i])];
      for (int k = 0; k < face.CornerCount(); ++k)
        if (target.kind != TargetKind::Corners || (part.corners[i] >> k & 1u))
          take(At(face.Vertices[static_cast<std::size_t>(k)]));
    }
  }
  if (!(lo[0] <= hi[0])) return std::nullopt;
  return Single3{static_cast<float>((lo[0] + hi[0]) / 2), static_cast<float>((lo[1] + hi[1]) / 2),
                 static_cast<float>((lo[2] + hi[2]) / 2)};
}

int TransformTarget(Model& model, const EditTarget& target, const Transform& t) {
  if (t.kind == TransformKind::Scale)
    for (double s : t.amount)
      if (s == 0 || !std::isfinite(s))
        throw std::invalid_argument("A scale of 0 would flatten the selection");
  if (target.kind == TargetKind::Hardpoint || target.kind == TargetKind::EngineGlow)
    return TransformFeature(model, target, t);
  const auto centre = TargetCentre(model, target);
  if (!centre) return 0;
  const Vec c{centre->x, centre->y, centre->z};
  Mapping map;
  bool insideOut = false;
  switch (t.kind) {
    case TransformKind::Move:
      map.point = [a = t.amount](Vec p) { return Vec{p.x + a[0], p.y + a[1], p.z + a[2]}; };
      map.direction = [](Vec d) { return d; };
      break;
    case TransformKind::Rotate:
      map = TurnAbout(c, t.axis, t.degrees);
      break;
    case TransformKind::Scale:
      map = ScaleAbout(c, t.amount);
      insideOut = t.amount[0] * t.amount[1] * t.amount[2] < 0;
      break;
  }
  int count = 0;
  std::vector<int> changed;
  for (const Part& part : PartsOf(model, target)) {
    MeshRec& mesh = model.Meshes.Edit(static_cast<std::size_t>(part.mesh));
    changed.push_back(part.mesh);
    if (target.kind == TargetKind::Meshes) {
      for (LODRec& lod : mesh.LODs)
        for (FaceRec& face : lod.Faces) {
          MapFace(face, map);
          if (insideOut) ReverseCorners(face);
        }
      MapMeshFeatures(mesh, map);
      ++count;
      continue;
    }
    LODRec& lod = mesh.LODs[static_cast<std::size_t>(target.level)];
    for (std::size_t i = 0; i < part.faces.size(); ++i) {
      FaceRec& face = lod.Faces[static_cast<std::size_t>(part.faces[i])];
      if (target.kind == TargetKind::Faces) {
        MapFace(face, map);
        if (insideOut) ReverseCorners(face);
        ++count;
        continue;
      }
      const bool triangle = face.IsTriangle();
      for (int k = 0; k < (triangle ? 3 : 4); ++k) {
        if (!(part.corners[i] >> k & 1u)) continue;
        VertexRec& v = face.Vertices[static_cast<std::size_t>(k)];
        map.Point(v.X, v.Y, v.Z);
        map.Direction(v.I, v.J, v.K);
        ++count;
      }
      if (triangle) {
        VertexRec& v3 = face.Vertices[3];
        v3.X = face.Vertices[0].X, v3.Y = face.Vertices[0].Y, v3.Z = face.Vertices[0].Z;
      }
    }
  }
  if (!changed.empty()) CalculateBounds(model, changed);
  return count;
}

namespace {

// Every mesh, whole, mapped.
void MapCraft(Model& model, const Mapping& map, bool insideOut) {
  for (MeshRec& mesh : model.Meshes.EditAll()) {
    for (LODRec& lod : mesh.LODs)
      for (FaceRec& face : lod.Faces) {
        MapFace(face, map);
        if (insideOut) ReverseCorners(face);
      }
    MapMeshFeatures(mesh, map);
  }
  CalculateBounds(model);
}

}  // namespace

Single3 CentreCraft(Model& model) {
  CalculateModelBox(model);
  const Single3 c = model.ModelCenter;
  if (c.x == 0 && c.y == 0 && c.z == 0) return {0, 0, 0};
  Mapping map;
  map.point = [c](Vec p) { return Vec{p.x - c.x, p.y - c.y, p.z - c.z}; };
  map.direction = [](Vec d) { return d; };
  MapCraft(model, map, false);
  return {-c.x, -c.y, -c.z};
}

void ScaleCraft(Model& model, double factor) {
  if (factor == 0 || !std::isfinite(factor))
    throw std::invalid_argument("A scale of 0 would flatten the craft");
  MapCraft(model, ScaleAbout({0, 0, 0}, {factor, factor, factor}), factor < 0);
}

std::string TransformLabel(const Transform& t) {
  static const char* const kAxes[] = {"X", "Y", "Z"};
  if (t.kind == TransformKind::Rotate)
    return std::string("Rotate ") + kAxes[static_cast<int>(t.axis)] + " " + Amount(t.degrees) +
           "\u00b0";
  const double none = t.kind == TransformKind::Move ? 0 : 1;
  int moved = 0, axis = 0;
  for (int a = 0; a < 3; ++a)
    if (t.amount[static_cast<std::size_t>(a)] != none) ++moved, axis = a;
  const auto shown = [&](double v) {
    return t.kind == TransformKind::Move ? Amount(v) : Amount(v * 100) + " %";
  };
  const std::string verb = t.kind == TransformKind::Move ? "Move " : "Scale ";
  if (moved == 1) return verb + kAxes[axis] + " " + shown(t.amount[static_cast<std::size_t>(axis)]);
  if (t.kind == TransformKind::Scale && t.amount[0] == t.amount[1] && t.amount[1] == t.amount[2])
    return verb + shown(t.amount[0]);
  return verb + Amount(t.amount[0]) + ", " + Amount(t.amount[1]) + ", " + Amount(t.amount[2]);
}

}  // namespace tamsel
