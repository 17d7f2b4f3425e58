#include "editing/element_edits.h"

#include "editing/geometry_edits.h"
#include "editing/ship_features.h"
#include "model/bounds.h"

namespace tamsel {
namespace {

bool AnySelectedFace(const LODRec& lod) {
  for (const FaceRec& face : lod.Faces)
    if (face.Selected) return true;
  return false;
}

}  // namespace

FaceRec CopyOfFace(const FaceRec& face, IdCounters& ids) {
  FaceRec copy = face;
  copy.Id = ids.NewFaceId();
  copy.Selected = kFalse;
  for (VertexRec& v : copy.Vertices) {
    v.Id = ids.NewVertexId();
    v.Selected = kFalse;
  }
  return copy;
}

int DeleteTarget(Model& model, const EditTarget& target) {
  switch (target.kind) {
    case TargetKind::Meshes:
      return static_cast<int>(DeleteSelectedMeshes(model, target.level).size());
    case TargetKind::Corners:
      return 0;
    case TargetKind::Hardpoint:
      return DeleteHardpoint(model, target.item) ? 1 : 0;
    case TargetKind::EngineGlow:
      return DeleteEngineGlow(model, target.item) ? 1 : 0;
    case TargetKind::Faces:
      break;
  }
  int removed = 0;
  std::vector<int> changed;
  for (int m : SelectedMeshes(model, target.level)) {
    if (!AnySelectedFace(
            model.Meshes[static_cast<std::size_t>(m)].LODs[static_cast<std::size_t>(target.level)]))
      continue;
    auto& faces = model.Meshes.Edit(static_cast<std::size_t>(m))
                      .LODs[static_cast<std::size_t>(target.level)]
                      .Faces;
    const std::size_t before = faces.size();
    std::erase_if(faces.Edit(), [](const FaceRec& f) { return f.Selected != kFalse; });
    removed += static_cast<int>(before - faces.size());
    changed.push_back(m);
  }
  if (!changed.empty()) CalculateBounds(model, changed);
  return removed;
}

int DuplicateTarget(Model& model, EditTarget& target) {
  if (target.kind == TargetKind::Hardpoint || target.kind == TargetKind::EngineGlow) {
    const bool hardpoint = target.kind == TargetKind::Hardpoint;
    if (hardpoint ? !HardpointAt(model, target.item) : !EngineGlowAt(model, target.item)) return 0;
    MeshRec& mesh = model.Meshes.Edit(static_cast<std::size_t>(target.item.mesh));
    const auto item = static_cast<std::size_t>(target.item.item);
    if (hardpoint) {
      mesh.Hardpoints.push_back(mesh.Hardpoints[item]);
      target.item.item = mesh.HardpointCount() - 1;
    } else {
      mesh.EngineGlows.push_back(mesh.EngineGlows[item]);
      target.item.item = mesh.EngineGlowCount() - 1;
    }
    return 1;
  }
  if (target.kind == TargetKind::Corners) return 0;
  const std::vector<int> meshes = SelectedMeshes(model, target.level);
  const auto L = static_cast<std::size_t>(target.level);
  if (target.kind == TargetKind::Meshes) {
    for (int m : meshes) {
      MeshRec copy = model.Meshes[static_cast<std::size_t>(m)];
      copy.Name += " copy";
      for (LODRec& lod : copy.LODs) AssignNewIds(lod, model.Ids);
      if (copy.HasLevel(target.level)) copy.LODs[L].Selected = kTrue;
      model.Meshes.Edit(static_cast<std::size_t>(m)).LODs[L].Selected = kFalse;
      model.Meshes.push_back(std::move(copy));
    }
    if (!meshes.empty()) CalculateBounds(model, {});
    return static_cast<int>(meshes.size());
  }
  int copied = 0;
  std::vector<int> changed;
  for (int m : meshes) {
    if (!AnySelectedFace(model.Meshes[static_cast<std::size_t>(m)].LODs[L])) continue;
    auto& faces = model.Meshes.Edit(static_cast<std::size_t>(m)).LODs[L].Faces;
    const std::size_t count = faces.size();
    for (std::size_t f = 0; f < count; ++f) {
      if (!faces[f].Selected) continue;
      FaceRec copy = CopyOfFace(faces[f], model.Ids);
      copy.Selected = kTrue;
      faces[f].Selected = kFalse;
      faces.push_back(copy);
      ++copied;
    }
    changed.push_back(m);
  }
  if (!changed.empty()) CalculateBounds(model, changed);
  return copied;
}

}  // namespace tamsel
