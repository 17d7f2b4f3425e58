#include "editing/geometry_edits.h"

#include "model/bounds.h"

namespace tamsel {
namespace {

float Add(float v, double d) {
  return static_cast<float>(static_cast<double>(v) + d);
}
void Shift(Single3& p, const MeshUpdate& u) {
  p = {Add(p.x, u.x), Add(p.y, u.y), Add(p.z, u.z)};
}

LODRec* LevelOf(MeshRec& mesh, int level) {
  return mesh.HasLevel(level) ? &mesh.LODs[static_cast<std::size_t>(level)] : nullptr;
}

}  // namespace

int UpdateSelectedMeshes(Model& model, int level, const MeshUpdate& u) {
  int changed = 0;
  const double s = u.scale / 100.0;
  for (MeshRec& mesh : model.Meshes) {
    LODRec* lod = LevelOf(mesh, level);
    if (!lod || !lod->Selected) continue;
    ++changed;
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
  CalculateBounds(model);
  return changed;
}

bool UpdateFocusedFaceNormal(Model& model, int level, FaceRef focused, const Single3& normal) {
  if (focused.mesh < 0 || focused.mesh >= model.MeshCount()) return false;
  LODRec* lod = LevelOf(model.Meshes[static_cast<std::size_t>(focused.mesh)], level);
  if (!lod || !lod->Selected || focused.face < 0 || focused.face >= lod->FaceCount()) return false;
  FaceRec& face = lod->Faces[static_cast<std::size_t>(focused.face)];
  if (!face.Selected) return false;
  face.Normal = normal;
  return true;
}

int UpdateSelectedCorners(Model& model, int level, const Single3& position,
                          std::optional<CornerRef> focused, const Single3& normal) {
  int moved = 0;
  for (int m = 0; m < model.MeshCount(); ++m) {
    LODRec* lod = LevelOf(model.Meshes[static_cast<std::size_t>(m)], level);
    if (!lod) continue;
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

std::vector<int> DeleteSelectedMeshes(Model& model, int level) {
  std::vector<int> removed;
  std::vector<MeshRec> kept;
  kept.reserve(model.Meshes.size());
  for (int m = 0; m < model.MeshCount(); ++m) {
    MeshRec& mesh = model.Meshes[static_cast<std::size_t>(m)];
    const LODRec* lod = LevelOf(mesh, level);
    if (lod && lod->Selected)
      removed.push_back(m);
    else
      kept.push_back(std::move(mesh));
  }
  model.Meshes = std::move(kept);
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
  MeshRec& t = model.Meshes[static_cast<std::size_t>(target)];
  t.LODs.resize(2);
  t.LODs[1] = std::move(low);
  model.Meshes.erase(model.Meshes.begin() + source);
  return source;
}

int Quad2Tri(Model& model) {
  int added = 0;
  for (MeshRec& mesh : model.Meshes)
    for (LODRec& lod : mesh.LODs) {
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
        second.Vertices = {p1, p2, p3, p1, VertexRec{}};
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
  CalculateBounds(model);
  return added;
}

void ReverseVertexOrder(Model& model) {
  for (MeshRec& mesh : model.Meshes)
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
