#include "editing/selection.h"

#include <utility>

namespace tamsel {

PickKind LevelKind(Geometry level) {
  return level == Geometry::Face     ? PickKind::Face
         : level == Geometry::Vertex ? PickKind::Corner
                                     : PickKind::Mesh;
}

namespace {

// One mesh's flags under a pick, through `set(flag, value)`: run once to see whether any
// flag changes and once to change them, so that a mesh the pick leaves alone is not
// copied away from the undo history.
template <typename Lod, typename Set>
void PickInLevel(Lod& lod, int m, PickKind levelKind, const PickTarget& picked, bool clearing,
                 bool keep, PickTarget& chosen, Set set) {
  if (levelKind == PickKind::Mesh) {
    const bool hit = !clearing && picked.kind == PickKind::Mesh && picked.mesh == m;
    set(lod.Selected, hit || (keep && lod.Selected) ? kTrue : kFalse);
    if (hit) chosen = {PickKind::Mesh, m};
    return;
  }
  // A face or corner picked on a mesh that is not selected selects the mesh too (and a
  // corner its face), so that what was clicked is what gets chosen; the meshes and faces
  // selected already stay, as they are what the lists show.
  const bool inMesh = picked.kind == levelKind && picked.mesh == m && picked.face >= 0 &&
                      picked.face < lod.FaceCount();
  if (inMesh) set(lod.Selected, kTrue);
  for (int f = 0; f < lod.FaceCount(); ++f) {
    auto& face = lod.Faces[static_cast<std::size_t>(f)];
    if (levelKind == PickKind::Face) {
      const bool hit = inMesh && picked.face == f;
      set(face.Selected, hit || (keep && face.Selected) ? kTrue : kFalse);
      if (hit) chosen = {PickKind::Face, m, f};
      continue;
    }
    const bool inFace =
        inMesh && picked.face == f && picked.corner >= 0 && picked.corner < face.CornerCount();
    if (inFace) set(face.Selected, kTrue);
    for (int k = 0; k < 4; ++k) {
      auto& v = face.Vertices[static_cast<std::size_t>(k)];
      const bool hit = inFace && picked.corner == k;
      set(v.Selected, hit || (keep && v.Selected) ? kTrue : kFalse);
      if (hit) chosen = {PickKind::Corner, m, f, k};
    }
  }
}

}  // namespace

PickTarget ApplyPick(Model& model, int level, PickKind levelKind, const PickTarget& picked,
                     bool shift) {
  PickTarget chosen;
  const bool clearing = picked.kind == PickKind::None;
  const bool keep = shift && !clearing;
  for (int m = 0; m < model.MeshCount(); ++m) {
    const auto index = static_cast<std::size_t>(m);
    const MeshRec& mesh = model.Meshes[index];
    if (!mesh.HasLevel(level)) continue;
    const auto l = static_cast<std::size_t>(level);
    bool changes = false;
    PickInLevel(mesh.LODs[l], m, levelKind, picked, clearing, keep, chosen,
                [&](const Boolean& flag, Boolean value) { changes = changes || flag != value; });
    if (changes)
      PickInLevel(model.Meshes.Edit(index).LODs[l], m, levelKind, picked, clearing, keep, chosen,
                  [](Boolean& flag, Boolean value) { flag = value; });
  }
  return chosen;
}

namespace {

template <typename Visit>
void SelectedMeshes(const Model& model, int level, Visit visit) {
  for (int m = 0; m < model.MeshCount(); ++m) {
    const MeshRec& mesh = model.Meshes[static_cast<std::size_t>(m)];
    if (mesh.HasLevel(level) && mesh.LODs[static_cast<std::size_t>(level)].Selected) visit(m, mesh);
  }
}

}  // namespace

std::vector<FaceRef> FaceRows(const Model& model, int level) {
  std::vector<FaceRef> rows;
  SelectedMeshes(model, level, [&](int m, const MeshRec& mesh) {
    for (int f = 0; f < mesh.LODs[static_cast<std::size_t>(level)].FaceCount(); ++f)
      rows.push_back({m, f});
  });
  return rows;
}

std::vector<CornerRef> CornerRows(const Model& model, int level) {
  std::vector<CornerRef> rows;
  SelectedMeshes(model, level, [&](int m, const MeshRec& mesh) {
    const LODRec& lod = mesh.LODs[static_cast<std::size_t>(level)];
    for (int f = 0; f < lod.FaceCount(); ++f) {
      const FaceRec& face = lod.Faces[static_cast<std::size_t>(f)];
      if (!face.Selected) continue;
      for (int k = 0; k < face.CornerCount(); ++k) rows.push_back({m, f, k});
    }
  });
  return rows;
}

std::vector<ItemRef> HardpointRows(const Model& model, int level) {
  std::vector<ItemRef> rows;
  SelectedMeshes(model, level, [&](int m, const MeshRec& mesh) {
    for (int h = 0; h < mesh.HardpointCount(); ++h) rows.push_back({m, h});
  });
  return rows;
}

std::vector<ItemRef> EngineGlowRows(const Model& model, int level) {
  std::vector<ItemRef> rows;
  SelectedMeshes(model, level, [&](int m, const MeshRec& mesh) {
    for (int e = 0; e < mesh.EngineGlowCount(); ++e) rows.push_back({m, e});
  });
  return rows;
}

std::array<float, 8> CornerValues(const VertexRec& v) {
  return {v.X, v.Y, v.Z, v.I, v.J, v.K, v.U, v.V};
}

const FaceRec* FaceAt(const Model& model, int level, FaceRef ref) {
  if (ref.mesh < 0 || ref.mesh >= model.MeshCount()) return nullptr;
  const MeshRec& mesh = model.Meshes[static_cast<std::size_t>(ref.mesh)];
  if (!mesh.HasLevel(level)) return nullptr;
  const LODRec& lod = mesh.LODs[static_cast<std::size_t>(level)];
  if (ref.face < 0 || ref.face >= lod.FaceCount()) return nullptr;
  return &lod.Faces[static_cast<std::size_t>(ref.face)];
}

const VertexRec* CornerAt(const Model& model, int level, CornerRef ref) {
  const FaceRec* face = FaceAt(model, level, {ref.mesh, ref.face});
  if (!face || ref.corner < 0 || ref.corner > 3) return nullptr;
  return &face->Vertices[static_cast<std::size_t>(ref.corner)];
}

FaceRec* EditFaceAt(Model& model, int level, FaceRef ref) {
  if (!FaceAt(std::as_const(model), level, ref)) return nullptr;
  return &model.Meshes.Edit(static_cast<std::size_t>(ref.mesh))
              .LODs[static_cast<std::size_t>(level)]
              .Faces[static_cast<std::size_t>(ref.face)];
}

VertexRec* EditCornerAt(Model& model, int level, CornerRef ref) {
  FaceRec* face = CornerAt(std::as_const(model), level, ref)
                      ? EditFaceAt(model, level, {ref.mesh, ref.face})
                      : nullptr;
  return face ? &face->Vertices[static_cast<std::size_t>(ref.corner)] : nullptr;
}

}  // namespace tamsel
