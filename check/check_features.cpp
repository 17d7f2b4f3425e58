#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

#include "check/check_parts.h"

namespace tamsel {
namespace {

struct Box {
  double min[3] = {0, 0, 0}, max[3] = {0, 0, 0};
  bool empty = true;
  void Add(double x, double y, double z) {
    const double p[3] = {x, y, z};
    for (int i = 0; i < 3; ++i) {
      min[i] = empty ? p[i] : std::min(min[i], p[i]);
      max[i] = empty ? p[i] : std::max(max[i], p[i]);
    }
    empty = false;
  }
  double Size() const { return std::max({max[0] - min[0], max[1] - min[1], max[2] - min[2]}); }
  // How far a point lies outside the box (0 inside).
  double Outside(const Single3& s) const {
    const double p[3] = {s.x, s.y, s.z};
    double d = 0;
    for (int i = 0; i < 3; ++i) {
      const double out = std::max({min[i] - p[i], p[i] - max[i], 0.0});
      d += out * out;
    }
    return std::sqrt(d);
  }
};

Box LevelBox(const LODRec& lod) {
  Box box;
  for (const FaceRec& face : lod.Faces)
    for (int k = 0; k < face.CornerCount(); ++k) {
      const VertexRec& v = face.Vertices[static_cast<std::size_t>(k)];
      if (std::isfinite(v.X) && std::isfinite(v.Y) && std::isfinite(v.Z)) box.Add(v.X, v.Y, v.Z);
    }
  return box;
}

Element MeshElement(int m) {
  Element e;
  e.kind = Element::Kind::Mesh;
  e.mesh = m;
  return e;
}
Element ItemElement(Element::Kind kind, int m, int item) {
  Element e = MeshElement(m);
  e.kind = kind;
  e.item = item;
  return e;
}

bool IsZero(const Single3& s) {
  return s.x == 0 && s.y == 0 && s.z == 0;
}

std::string TheGame(const CheckContext& c) {
  return "the " + std::string(ProfileName(c.profile)) + " game";
}

}  // namespace

void CheckFeatures(const CheckContext& c) {
  const Model& model = c.model;
  const CraftLimits& limits = c.limits;
  if (model.MeshCount() > limits.meshes)
    c.Add("mesh-count", MeshElement(limits.meshes),
          "The craft has " + std::to_string(model.MeshCount()) + " meshes; " + TheGame(c) +
              " loads " + std::to_string(limits.meshes) + ", so " +
              MeshWords(model, limits.meshes) + " and those after it are not loaded.");

  Box craft;
  for (const MeshRec& mesh : model.Meshes)
    for (const LODRec& lod : mesh.LODs) {
      const Box b = LevelBox(lod);
      if (!b.empty)
        craft.Add(b.min[0], b.min[1], b.min[2]), craft.Add(b.max[0], b.max[1], b.max[2]);
    }
  // Further outside the craft's box than the craft is long is no place on the craft.
  const double far = std::max(craft.Size(), 1.0);

  int hardpoints = 0, glows = 0, rotating = 0;
  std::map<std::string, int> names;
  for (int m = 0; m < model.MeshCount(); ++m) {
    const MeshRec& mesh = model.Meshes[static_cast<std::size_t>(m)];
    const std::string words = MeshWords(model, m);
    for (int h = 0; h < mesh.HardpointCount(); ++h, ++hardpoints) {
      if (hardpoints == limits.hardpoints)
        c.Add("hardpoint-count", ItemElement(Element::Kind::Hardpoint, m, h),
              "The craft has more than " + std::to_string(limits.hardpoints) + " hardpoints; " +
                  TheGame(c) + " loads " + std::to_string(limits.hardpoints) + ", so hardpoint " +
                  std::to_string(h + 1) + " of " + words + " and those after it are not loaded.");
      if (!craft.empty &&
          craft.Outside(mesh.Hardpoints[static_cast<std::size_t>(h)].Position) > far)
        c.Add("hardpoint-far", ItemElement(Element::Kind::Hardpoint, m, h),
              "Hardpoint " + std::to_string(h + 1) + " of " + words +
                  " lies far outside the craft; its shots would start out in space.");
    }
    for (int g = 0; g < mesh.EngineGlowCount(); ++g, ++glows) {
      if (glows == limits.engineGlows)
        c.Add("engine-glow-count", ItemElement(Element::Kind::EngineGlow, m, g),
              "The craft has more than " + std::to_string(limits.engineGlows) + " engine glows; " +
                  TheGame(c) + " loads " + std::to_string(limits.engineGlows) +
                  ", so engine glow " + std::to_string(g + 1) + " of " + words +
                  " and those after it are not loaded.");
      if (!craft.empty &&
          craft.Outside(mesh.EngineGlows[static_cast<std::size_t>(g)].Position) > far)
        c.Add("engine-glow-far", ItemElement(Element::Kind::EngineGlow, m, g),
              "Engine glow " + std::to_string(g + 1) + " of " + words +
                  " lies far outside the craft; it would shine in empty space.");
    }
    if (IsRotatingType(mesh.MeshType)) {
      if (++rotating == limits.rotatingParts + 1)
        c.Add("rotating-parts", MeshElement(m),
              "The craft has more than " + std::to_string(limits.rotatingParts) +
                  " rotating parts; " + TheGame(c) + " turns " +
                  std::to_string(limits.rotatingParts) + ", so " + words +
                  " and the rotating meshes after it do not turn.");
      if (IsZero(mesh.Axis))
        c.Add("rotation-axis-zero", MeshElement(m),
              Capital(words) +
                  " is of a rotating type but its rotation axis is (0, 0, 0); "
                  "the game cannot turn it. Calculate > Rotations sets one.");
    }
    if (!mesh.LODs.empty()) {
      const Box own = LevelBox(mesh.LODs[0]);
      const double slack = 1e-3 * std::max(own.Size(), 1.0);
      const bool holds = [&] {
        if (own.empty) return true;
        const double lo[3] = {mesh.Min.x, mesh.Min.y, mesh.Min.z};
        const double hi[3] = {mesh.Max.x, mesh.Max.y, mesh.Max.z};
        for (int i = 0; i < 3; ++i)
          if (lo[i] > own.min[i] + slack || hi[i] < own.max[i] - slack) return false;
        return true;
      }();
      if (!holds)
        c.Add("hitzone-box", MeshElement(m),
              "The hitzone box of " + words +
                  " does not hold the mesh; shots pass through the parts outside it.");
    }
    for (int l = 1; l < mesh.LODCount(); ++l)
      if (mesh.LODs[static_cast<std::size_t>(l - 1)].Distance >=
          mesh.LODs[static_cast<std::size_t>(l)].Distance) {
        Element level = MeshElement(m);
        level.kind = Element::Kind::Level;
        level.level = l;
        c.Add("level-distances", level,
              "The level distances of " + words +
                  " do not rise from the high level to the low; the game never shows the "
                  "low level, or shows it too near.");
        break;
      }
    if (!mesh.Name.empty()) {
      const auto [it, fresh] = names.emplace(mesh.Name, m);
      if (!fresh)
        c.Add("mesh-name-duplicate", MeshElement(m),
              Capital(words) + " has the name of " + MeshWords(model, it->second) +
                  "; the lists cannot tell them apart.");
    }
  }
}

}  // namespace tamsel
