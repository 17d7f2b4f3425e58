#include "editing/ship_features.h"

#include <utility>

#include "model/bounds.h"

namespace tamsel {
namespace {

const LODRec* LevelOf(const Model& model, int mesh, int level) {
  if (mesh < 0 || mesh >= model.MeshCount()) return nullptr;
  const MeshRec& m = model.Meshes[static_cast<std::size_t>(mesh)];
  return m.HasLevel(level) ? &m.LODs[static_cast<std::size_t>(level)] : nullptr;
}

template <typename T>
const T* ItemAt(const Model& model, ItemRef ref, std::vector<T> MeshRec::*items) {
  if (ref.mesh < 0 || ref.mesh >= model.MeshCount()) return nullptr;
  const auto& list = model.Meshes[static_cast<std::size_t>(ref.mesh)].*items;
  if (ref.item < 0 || static_cast<std::size_t>(ref.item) >= list.size()) return nullptr;
  return &list[static_cast<std::size_t>(ref.item)];
}

template <typename T>
T* EditItemAt(Model& model, ItemRef ref, std::vector<T> MeshRec::*items) {
  if (!ItemAt(std::as_const(model), ref, items)) return nullptr;
  return &(model.Meshes.Edit(static_cast<std::size_t>(ref.mesh)).*
           items)[static_cast<std::size_t>(ref.item)];
}

template <typename T>
bool EraseAt(Model& model, ItemRef ref, std::vector<T> MeshRec::*items) {
  if (!ItemAt(std::as_const(model), ref, items)) return false;
  auto& list = model.Meshes.Edit(static_cast<std::size_t>(ref.mesh)).*items;
  list.erase(list.begin() + ref.item);
  return true;
}

}  // namespace

int AddHardpoint(Model& model, int mesh, int level) {
  const LODRec* lod = LevelOf(model, mesh, level);
  if (!lod) return -1;
  const Single3 at = lod->BoxCenter;
  auto& list = model.Meshes.Edit(static_cast<std::size_t>(mesh)).Hardpoints;
  list.push_back({0, at});
  return static_cast<int>(list.size()) - 1;
}

bool DeleteHardpoint(Model& model, ItemRef hp) {
  return EraseAt(model, hp, &MeshRec::Hardpoints);
}
const HardpointRec* HardpointAt(const Model& model, ItemRef hp) {
  return ItemAt(model, hp, &MeshRec::Hardpoints);
}
HardpointRec* EditHardpointAt(Model& model, ItemRef hp) {
  return EditItemAt(model, hp, &MeshRec::Hardpoints);
}

int AddEngineGlow(Model& model, int mesh, int level) {
  const LODRec* lod = LevelOf(model, mesh, level);
  if (!lod) return -1;
  EngineGlowRec g;
  g.InnerColor = {128, 255, 255, 255};
  g.OuterColor = {255, 128, 128, 128};
  g.Position = lod->BoxCenter;
  g.Size = {lod->BoxMax.x - lod->BoxMin.x, lod->BoxMax.y - lod->BoxMin.y, 3};
  g.Density1 = {0, 1, 0};
  g.Density2 = {0, 0, 1};
  g.Density3 = {1, 0, 0};
  auto& list = model.Meshes.Edit(static_cast<std::size_t>(mesh)).EngineGlows;
  list.push_back(g);
  return static_cast<int>(list.size()) - 1;
}

bool DeleteEngineGlow(Model& model, ItemRef eg) {
  return EraseAt(model, eg, &MeshRec::EngineGlows);
}
const EngineGlowRec* EngineGlowAt(const Model& model, ItemRef eg) {
  return ItemAt(model, eg, &MeshRec::EngineGlows);
}
EngineGlowRec* EditEngineGlowAt(Model& model, ItemRef eg) {
  return EditItemAt(model, eg, &MeshRec::EngineGlows);
}

void SetEngineGlowToFace(EngineGlowRec& glow, const FaceRec& face) {
  glow.Position = face.BoxCenter;
  glow.Size = {2 * (face.BoxMax.x - face.BoxMin.x), 2 * (face.BoxMax.z - face.BoxMin.z), 3};
}

void FitHitzoneToHighLevel(MeshRec& mesh) {
  const LODRec& high = mesh.LODs[0];
  mesh.Center = high.BoxCenter;
  mesh.Min = high.BoxMin;
  mesh.Max = high.BoxMax;
  mesh.Span = {high.BoxMax.x - high.BoxMin.x, high.BoxMax.y - high.BoxMin.y,
               high.BoxMax.z - high.BoxMin.z};
  mesh.Target = high.BoxCenter;
}

void SetRotationToHighLevel(MeshRec& mesh) {
  mesh.Pivot = mesh.LODs[0].BoxCenter;
  mesh.Axis = {0, 0, 32767};
  mesh.Aim = {0, 32767, 0};
  mesh.Degree = {32767, 0, 0};
}

void CalculateHitzones(Model& model) {
  CalculateBounds(model);
  for (MeshRec& mesh : model.Meshes.EditAll()) FitHitzoneToHighLevel(mesh);
}

void CalculateRotations(Model& model) {
  CalculateBounds(model);
  for (MeshRec& mesh : model.Meshes.EditAll()) SetRotationToHighLevel(mesh);
}

bool UpdateHardpoint(Model& model, ItemRef hp, std::optional<std::int32_t> type,
                     const Single3& position) {
  HardpointRec* rec = EditHardpointAt(model, hp);
  if (!rec) return false;
  if (type) rec->HardpointType = *type;
  rec->Position = position;
  return true;
}

bool UpdateEngineGlow(Model& model, ItemRef eg, const EngineGlowRec& values) {
  EngineGlowRec* rec = EditEngineGlowAt(model, eg);
  if (rec) *rec = values;
  return rec != nullptr;
}

bool UpdateHitzone(Model& model, int mesh, const Hitzone& h) {
  if (mesh < 0 || mesh >= model.MeshCount()) return false;
  MeshRec& rec = model.Meshes.Edit(static_cast<std::size_t>(mesh));
  if (h.meshType) rec.MeshType = *h.meshType;
  if (h.explosionType) rec.ExplosionType = *h.explosionType;
  rec.Span = h.span;
  rec.Center = h.center;
  rec.Min = h.min;
  rec.Max = h.max;
  rec.Target = h.target;
  rec.TargetId = h.targetId;
  return true;
}

bool UpdateRotation(Model& model, int mesh, const Rotation& r) {
  if (mesh < 0 || mesh >= model.MeshCount()) return false;
  MeshRec& rec = model.Meshes.Edit(static_cast<std::size_t>(mesh));
  rec.Pivot = r.pivot;
  rec.Axis = r.axis;
  rec.Aim = r.aim;
  rec.Degree = r.degree;
  return true;
}

}  // namespace tamsel
