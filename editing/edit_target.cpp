#include "editing/edit_target.h"

#include "editing/ship_features.h"

namespace tamsel {

EditTarget TargetOf(const ViewState& view, const Focus& focus, const Model& model) {
  EditTarget target;
  target.level = view.LevelIndex();
  if (view.PropertyPanel == Panel::Hardpoint && focus.hardpoint &&
      HardpointAt(model, *focus.hardpoint)) {
    target.kind = TargetKind::Hardpoint;
    target.item = *focus.hardpoint;
    return target;
  }
  if (view.PropertyPanel == Panel::EngineGlow && focus.engineGlow &&
      EngineGlowAt(model, *focus.engineGlow)) {
    target.kind = TargetKind::EngineGlow;
    target.item = *focus.engineGlow;
    return target;
  }
  target.kind = view.GeometryLevel == Geometry::Face     ? TargetKind::Faces
                : view.GeometryLevel == Geometry::Vertex ? TargetKind::Corners
                                                         : TargetKind::Meshes;
  return target;
}

int TargetCount(const Model& model, const EditTarget& target) {
  switch (target.kind) {
    case TargetKind::Hardpoint:
      return HardpointAt(model, target.item) ? 1 : 0;
    case TargetKind::EngineGlow:
      return EngineGlowAt(model, target.item) ? 1 : 0;
    default:
      break;
  }
  int count = 0;
  for (const MeshRec& mesh : model.Meshes) {
    if (!mesh.HasLevel(target.level)) continue;
    const LODRec& lod = mesh.LODs[static_cast<std::size_t>(target.level)];
    if (!lod.Selected) continue;
    if (target.kind == TargetKind::Meshes) {
      ++count;
      continue;
    }
    for (const FaceRec& face : lod.Faces) {
      if (!face.Selected) continue;
      if (target.kind == TargetKind::Faces) {
        ++count;
        continue;
      }
      for (int k = 0; k < face.CornerCount(); ++k)
        count += face.Vertices[static_cast<std::size_t>(k)].Selected ? 1 : 0;
    }
  }
  return count;
}

std::vector<int> SelectedMeshes(const Model& model, int level) {
  std::vector<int> meshes;
  for (int m = 0; m < model.MeshCount(); ++m) {
    const MeshRec& mesh = model.Meshes[static_cast<std::size_t>(m)];
    if (mesh.HasLevel(level) && mesh.LODs[static_cast<std::size_t>(level)].Selected)
      meshes.push_back(m);
  }
  return meshes;
}

std::string TargetNoun(TargetKind kind, int count) {
  const char* noun = kind == TargetKind::Meshes      ? "mesh"
                     : kind == TargetKind::Faces     ? "face"
                     : kind == TargetKind::Corners   ? "corner"
                     : kind == TargetKind::Hardpoint ? "hardpoint"
                                                     : "engine glow";
  std::string text = noun;
  if (count != 1) text += kind == TargetKind::Meshes ? "es" : "s";
  return text;
}

}  // namespace tamsel
