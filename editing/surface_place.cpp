#include "editing/surface_place.h"

#include <cmath>

#include "editing/quad_shape.h"
#include "editing/ship_features.h"

namespace tamsel {
namespace {

Single3 S(Point3d v) {
  return {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)};
}

// A frame whose first vector is n: the second is the default second (+Z) made square to n
// (+X when n runs along Z), the third completes it as the defaults do (d3 = d1 x d2).
void FaceAlong(EngineGlowRec& glow, const Single3& normal) {
  const Point3d d1 = Unit(Of(normal));
  if (d1.x == 0 && d1.y == 0 && d1.z == 0) return;
  const Point3d up = std::abs(d1.z) > 0.999 ? Point3d{1, 0, 0} : Point3d{0, 0, 1};
  const double along = Dot(up, d1);
  const Point3d d2 = Unit({up.x - along * d1.x, up.y - along * d1.y, up.z - along * d1.z});
  const Point3d d3 = Cross(d1, d2);
  glow.Density1 = S(d1);
  glow.Density2 = S(d2);
  glow.Density3 = S(d3);
}

float MirrorX(float x, float about) {
  return static_cast<float>(2.0 * about - x);
}

}  // namespace

std::optional<ItemRef> PlaceHardpoint(Model& model, int mesh, std::optional<int> item,
                                      const Single3& point) {
  if (mesh < 0 || mesh >= model.MeshCount()) return std::nullopt;
  ItemRef ref{mesh, item.value_or(-1)};
  if (!item) {
    MeshRec& m = model.Meshes.Edit(static_cast<std::size_t>(mesh));
    m.Hardpoints.push_back({0, point});
    ref.item = m.HardpointCount() - 1;
    return ref;
  }
  HardpointRec* hp = EditHardpointAt(model, ref);
  if (!hp) return std::nullopt;
  hp->Position = point;
  return ref;
}

std::optional<ItemRef> PlaceEngineGlow(Model& model, int mesh, int level, std::optional<int> item,
                                       const Single3& point, const Single3& normal) {
  if (mesh < 0 || mesh >= model.MeshCount()) return std::nullopt;
  ItemRef ref{mesh, item.value_or(-1)};
  if (!item) {
    ref.item = AddEngineGlow(model, mesh, level);
    if (ref.item < 0) return std::nullopt;
  }
  EngineGlowRec* glow = EditEngineGlowAt(model, ref);
  if (!glow) return std::nullopt;
  glow->Position = point;
  FaceAlong(*glow, normal);
  return ref;
}

std::optional<ItemRef> MirrorHardpoint(Model& model, ItemRef ref) {
  const HardpointRec* hp = HardpointAt(model, ref);
  if (!hp) return std::nullopt;
  HardpointRec copy = *hp;
  copy.Position.x = MirrorX(copy.Position.x, model.ModelCenter.x);
  MeshRec& mesh = model.Meshes.Edit(static_cast<std::size_t>(ref.mesh));
  mesh.Hardpoints.push_back(copy);
  return ItemRef{ref.mesh, mesh.HardpointCount() - 1};
}

std::optional<ItemRef> MirrorEngineGlow(Model& model, ItemRef ref) {
  const EngineGlowRec* glow = EngineGlowAt(model, ref);
  if (!glow) return std::nullopt;
  EngineGlowRec copy = *glow;
  copy.Position.x = MirrorX(copy.Position.x, model.ModelCenter.x);
  // The frame mirrors too; its first vector keeps facing out of the mirrored surface.
  for (Single3* d : {&copy.Density1, &copy.Density2, &copy.Density3}) d->x = -d->x;
  MeshRec& mesh = model.Meshes.Edit(static_cast<std::size_t>(ref.mesh));
  mesh.EngineGlows.push_back(copy);
  return ItemRef{ref.mesh, mesh.EngineGlowCount() - 1};
}

}  // namespace tamsel
