#include "editing/select_many.h"

#include <utility>

namespace tamsel {
namespace {

bool IsSelected(const Model& model, int level, const PickTarget& t) {
  const MeshRec& mesh = model.Meshes[static_cast<std::size_t>(t.mesh)];
  const LODRec& lod = mesh.LODs[static_cast<std::size_t>(level)];
  if (t.kind == PickKind::Mesh) return lod.Selected != 0;
  const FaceRec& face = lod.Faces[static_cast<std::size_t>(t.face)];
  if (t.kind == PickKind::Face) return face.Selected != 0;
  return face.Vertices[static_cast<std::size_t>(t.corner)].Selected != 0;
}

// Writes a flag only where it differs, so that unchanged meshes stay shared with history.
void SetSelected(Model& model, int level, const PickTarget& t, bool selected) {
  if (IsSelected(model, level, t) == selected) return;
  const Boolean flag = selected ? kTrue : kFalse;
  if (t.kind == PickKind::Mesh)
    model.Meshes.Edit(static_cast<std::size_t>(t.mesh))
        .LODs[static_cast<std::size_t>(level)]
        .Selected = flag;
  else if (t.kind == PickKind::Face)
    EditFaceAt(model, level, {t.mesh, t.face})->Selected = flag;
  else
    EditCornerAt(model, level, {t.mesh, t.face, t.corner})->Selected = flag;
}

}  // namespace

std::vector<Candidate> Candidates(const Model& model, int level, PickKind kind) {
  std::vector<Candidate> out;
  for (int m = 0; m < model.MeshCount(); ++m) {
    const MeshRec& mesh = model.Meshes[static_cast<std::size_t>(m)];
    if (!mesh.HasLevel(level)) continue;
    const LODRec& lod = mesh.LODs[static_cast<std::size_t>(level)];
    if (kind == PickKind::Mesh) {
      out.push_back({{PickKind::Mesh, m}, lod.BoxCenter});
      continue;
    }
    if (!lod.Selected) continue;
    for (int f = 0; f < lod.FaceCount(); ++f) {
      const FaceRec& face = lod.Faces[static_cast<std::size_t>(f)];
      if (kind == PickKind::Face) {
        out.push_back({{PickKind::Face, m, f}, face.BoxCenter});
      } else if (kind == PickKind::Corner && face.Selected) {
        for (int k = 0; k < face.CornerCount(); ++k) {
          const VertexRec& v = face.Vertices[static_cast<std::size_t>(k)];
          out.push_back({{PickKind::Corner, m, f, k}, {v.X, v.Y, v.Z}});
        }
      }
    }
  }
  return out;
}

int SelectWhere(Model& model, int level, PickKind kind, SelectOp op,
                const std::function<bool(const Single3&)>& inside) {
  int count = 0;
  for (const Candidate& c : Candidates(model, level, kind)) {
    const bool in = inside(c.at);
    count += in;
    if (op == SelectOp::Replace)
      SetSelected(model, level, c.target, in);
    else if (in)
      SetSelected(model, level, c.target, op == SelectOp::Add);
  }
  return count;
}

ModelChange SelectAll(Model& model, int level, PickKind kind) {
  SelectWhere(model, level, kind, SelectOp::Replace, [](const Single3&) { return true; });
  return SelectionChange(false);
}

ModelChange SelectNone(Model& model, int level, PickKind kind) {
  SelectWhere(model, level, kind, SelectOp::Replace, [](const Single3&) { return false; });
  return SelectionChange(false);
}

ModelChange InvertSelection(Model& model, int level, PickKind kind) {
  for (const Candidate& c : Candidates(model, level, kind))
    SetSelected(model, level, c.target, !IsSelected(model, level, c.target));
  return SelectionChange(false);
}

ModelChange SelectOnly(Model& model, int level, int mesh, const std::vector<int>& faces) {
  const auto l = static_cast<std::size_t>(level);
  for (std::size_t m = 0; m < model.Meshes.size(); ++m) {
    if (!model.Meshes[m].HasLevel(level)) continue;
    const LODRec& seen = model.Meshes[m].LODs[l];
    std::vector<bool> wanted(seen.Faces.size(), false);
    if (static_cast<int>(m) == mesh)
      for (const int f : faces)
        if (f >= 0 && static_cast<std::size_t>(f) < wanted.size())
          wanted[static_cast<std::size_t>(f)] = true;
    const Boolean meshFlag = static_cast<int>(m) == mesh ? kTrue : kFalse;
    bool same = seen.Selected == meshFlag;
    for (std::size_t f = 0; same && f < seen.Faces.size(); ++f)
      same = (seen.Faces[f].Selected != 0) == wanted[f];
    if (same) continue;  // flags as wanted: the mesh is not copied
    LODRec& lod = model.Meshes.Edit(m).LODs[l];
    lod.Selected = meshFlag;
    for (std::size_t f = 0; f < lod.Faces.size(); ++f)
      lod.Faces[f].Selected = wanted[f] ? kTrue : kFalse;
  }
  return SelectionChange(true);
}

ModelChange SelectMeshRows(Model& model, int level, const std::vector<bool>& selected) {
  for (std::size_t m = 0; m < model.Meshes.size() && m < selected.size(); ++m)
    if (model.Meshes[m].HasLevel(level))
      SetSelected(model, level, {PickKind::Mesh, static_cast<int>(m)}, selected[m]);
  return SelectionChange(true);
}

ModelChange SelectFaceRows(Model& model, int level, const std::vector<FaceRef>& rows,
                           const std::vector<bool>& selected) {
  for (std::size_t i = 0; i < rows.size() && i < selected.size(); ++i)
    if (FaceAt(std::as_const(model), level, rows[i]))
      SetSelected(model, level, {PickKind::Face, rows[i].mesh, rows[i].face}, selected[i]);
  return SelectionChange(true);
}

ModelChange SelectCornerRows(Model& model, int level, const std::vector<CornerRef>& rows,
                             const std::vector<bool>& selected) {
  for (std::size_t i = 0; i < rows.size() && i < selected.size(); ++i)
    if (CornerAt(std::as_const(model), level, rows[i]))
      SetSelected(model, level, {PickKind::Corner, rows[i].mesh, rows[i].face, rows[i].corner},
                  selected[i]);
  return SelectionChange(true);
}

ModelChange SelectFaceAlone(Model& model, int level, FaceRef face) {
  if (!FaceAt(std::as_const(model), level, face)) return SelectionChange(false);
  SetSelected(model, level, {PickKind::Mesh, face.mesh}, true);
  for (const FaceRef& row : FaceRows(model, level))
    SetSelected(model, level, {PickKind::Face, row.mesh, row.face}, row == face);
  return SelectionChange(true);
}

}  // namespace tamsel
