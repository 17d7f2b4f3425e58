#include "editing/geometry_edits.h"

#include "model/bounds.h"
#include "model/name_text.h"
#include "model/progress.h"

namespace tamsel {
namespace {

float Add(float v, double d) {
  return static_cast<float>(static_cast<double>(v) + d);
}
void Shift(Single3& p, const MeshUpdate& u) {
  p = {Add(p.x, u.x), Add(p.y, u.y), Add(p.z, u.z)};
}

template <typename Mesh>
auto* LevelOf(Mesh& mesh, int level) {
  return mesh.HasLevel(level) ? &mesh.LODs[static_cast<std::size_t>(level)] : nullptr;
}

bool AnyCornerSelected(const LODRec& lod) {
  for (const FaceRec& face : lod.Faces)
    for (int k = 0; k < face.CornerCount(); ++k)
      if (face.Vertices[static_cast<std::size_t>(k)].Selected) return true;
  return false;
}

bool AnyQuad(const MeshRec& mesh) {
  for (const LODRec& lod : mesh.LODs)
    for (const FaceRec& face : lod.Faces)
      if (!face.IsTriangle()) return true;
  return false;
}

}  // namespace

int UpdateSelectedMeshes(Model& model, int level, const MeshUpdate& u) {
  std::vector<int> changed;
  const double s = u.scale / 100.0;
  for (int m = 0; m < model.MeshCount(); ++m) {
    const auto* selected = LevelOf(model.Meshes[static_cast<std::size_t>(m)], level);
    if (!selected || !selected->Selected) continue;
    changed.push_back(m);
    MeshRec& mesh = model.Meshes.Edit(static_cast<std::size_t>(m));
    LODRec* lod = LevelOf(mesh, level);
    lod->Distance = static_cast<float>(u.distance);
    const Single3 c = lod->BoxCenter;
    // Scale about the box centre, then shift: the net move is p -> s (p + T).
    const auto move = [s](float& p, double t, float centre) {
      double v = centre + (p - static_cast<double>(centre)) * s;
      v = v + s * (t + centre) - centre;
      p = static_cast<float>(v);
    };
    for (FaceRec& face : lod->Faces)
      for (int k = 0; k < 4; ++k) {
        VertexRec& v = face.Vertices[static_cast<std::size_t>(k)];
        move(v.X, u.x, c.x);
        move(v.Y, u.y, c.y);
        move(v.Z, u.z, c.z);
      }
    for (Single3* p : {&mesh.Center, &mesh.Min, &mesh.Max, &mesh.Target, &mesh.Pivot}) Shift(*p, u);
    for (HardpointRec& hp : mesh.Hardpoints) Shift(hp.Position, u);
    for (EngineGlowRec& g : mesh.EngineGlows) Shift(g.Position, u);
  }
  if (!changed.empty()) CalculateBounds(model, changed);
  return static_cast<int>(changed.size());
}

bool UpdateFocusedFaceNormal(Model& model, int level, FaceRef focused, const Single3& normal) {
  if (focused.mesh < 0 || focused.mesh >= model.MeshCount()) return false;
  const LODRec* lod = LevelOf(model.Meshes[static_cast<std::size_t>(focused.mesh)], level);
  if (!lod || !lod->Selected || focused.face < 0 || focused.face >= lod->FaceCount()) return false;
  if (!lod->Faces[static_cast<std::size_t>(focused.face)].Selected) return false;
  model.Meshes.Edit(static_cast<std::size_t>(focused.mesh))
      .LODs[static_cast<std::size_t>(level)]
      .Faces[static_cast<std::size_t>(focused.face)]
      .Normal = normal;
  return true;
}

int UpdateSelectedCorners(Model& model, int level, const Single3& position,
                          std::optional<CornerRef> focused, const Single3& normal) {
  int moved = 0;
  for (int m = 0; m < model.MeshCount(); ++m) {
    const LODRec* seen = LevelOf(model.Meshes[static_cast<std::size_t>(m)], level);
    if (!seen || !AnyCornerSelected(*seen)) continue;
    LODRec* lod = LevelOf(model.Meshes.Edit(static_cast<std::size_t>(m)), level);
    for (int f = 0; f < lod->FaceCount(); ++f) {
      FaceRec& face = lod->Faces[static_cast<std::size_t>(f)];
      const bool triangle = face.IsTriangle();
      for (int k = 0; k < (triangle ? 3 : 4); ++k) {
        VertexRec& v = face.Vertices[static_cast<std::size_t>(k)];
        if (!v.Selected) continue;
        v.X = position.x, v.Y = position.y, v.Z = position.z;
        if (triangle && k == 0)
          face.Vertices[3].X = v.X, face.Vertices[3].Y = v.Y, face.Vertices[3].Z = v.Z;
        if (focused && *focused == CornerRef{m, f, k})
          v.I = normal.x, v.J = normal.y, v.K = normal.z;
        ++moved;
      }
    }
  }
  return moved;
}

bool RenameMesh(Model& model, int mesh, const std::string& name) {
  if (mesh < 0 || mesh >= model.MeshCount()) return false;
  model.Meshes.Edit(static_cast<std::size_t>(mesh)).Name = WithoutControlCharacters(name);
  return true;
}

std::vector<int> DeleteSelectedMeshes(Model& model, int level) {
  std::vector<int> removed;
  model.Meshes.KeepIf([&](std::size_t m) {
    const LODRec* lod = LevelOf(model.Meshes[m], level);
    if (lod && lod->Selected) removed.push_back(static_cast<int>(m));
    return !(lod && lod->Selected);
  });
  return removed;
}

int AssignLowLevel(Model& model, int target) {
  if (target < 0 || target >= model.MeshCount()) return -1;
  int source = -1;
  for (int m = 0; m < model.MeshCount() && source < 0; ++m)
    if (m != target && model.Meshes[static_cast<std::size_t>(m)].LODs[0].Selected) source = m;
  if (source < 0) return -1;
  LODRec low = model.Meshes[static_cast<std::size_t>(source)].LODs[0];
  low.Distance = 1000;
  for (FaceRec& face : low.Faces) face.TextureNames[4].clear();
  MeshRec& t = model.Meshes.Edit(static_cast<std::size_t>(target));
  t.LODs.resize(2);
  t.LODs[1] = std::move(low);
  model.Meshes.erase(static_cast<std::size_t>(source));
  return source;
}

int Quad2Tri(Model& model) {
  int added = 0;
  std::vector<int> touched;
  for (int m = 0; m < model.MeshCount(); ++m) {
    ReportProgress(m, model.MeshCount());
    if (!AnyQuad(model.Meshes[static_cast<std::size_t>(m)])) continue;
    touched.push_back(m);
    for (LODRec& lod : model.Meshes.Edit(static_cast<std::size_t>(m)).LODs) {
      std::vector<FaceRec> faces;
      faces.reserve(lod.Faces.size());
      for (FaceRec& face : lod.Faces) {
        if (face.IsTriangle()) {
          faces.push_back(std::move(face));
          continue;
        }
        const VertexRec p0 = face.Vertices[0], p1 = face.Vertices[1], p2 = face.Vertices[2],
                        p3 = face.Vertices[3];
        FaceRec second = face;
        second.Id = model.Ids.NewFaceId();
        second.Vertices = {p1, p2, p3, p1};
        for (int k = 0; k < 4; ++k)
          second.Vertices[static_cast<std::size_t>(k)].Id = model.Ids.NewVertexId();
        face.Vertices[2] = p3;
        face.Vertices[3] = p0;
        face.Vertices[3].Id = model.Ids.NewVertexId();
        faces.push_back(std::move(face));
        // The new face is a triangle by construction, so it is not visited again (a corner
        // that is not a number would otherwise never compare equal and split forever).
        faces.push_back(std::move(second));
        ++added;
      }
      lod.Faces = std::move(faces);
    }
  }
  if (!touched.empty()) CalculateBounds(model, touched);
  return added;
}

void ReverseVertexOrder(Model& model) {
  for (MeshRec& mesh : model.Meshes.EditAll())
    for (LODRec& lod : mesh.LODs)
      for (FaceRec& face : lod.Faces) {
        VertexRec& a = face.Vertices[1];
        VertexRec& b = face.Vertices[face.IsTriangle() ? 2 : 3];
        std::swap(a.X, b.X);
        std::swap(a.Y, b.Y);
        std::swap(a.Z, b.Z);
      }
}

}  // namespace tamsel
