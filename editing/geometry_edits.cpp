#include "editing/geometry_edits.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

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

namespace {

// The quads of a mesh over all its levels.
std::int64_t QuadCount(const MeshRec& mesh) {
  std::int64_t quads = 0;
  for (const LODRec& lod : mesh.LODs)
    for (const FaceRec& face : lod.Faces) quads += !face.IsTriangle();
  return quads;
}

// The mesh with every quad split, read from `source` and written afresh, so that a mesh the
// history shares is not copied first only to be rebuilt. Ids come from the ranges starting
// at faceId and vertexId, in the order a split one face at a time would draw them: the new
// face's id, its four corners' ids, then the first triangle's new corner 3.
MeshRec SplitQuads(const MeshRec& source, std::int32_t faceId, std::int32_t vertexId) {
  MeshRec mesh = MeshShell(source);
  for (std::size_t l = 0; l < source.LODs.size(); ++l) {
    const LODRec& from = source.LODs[l];
    LODRec& lod = mesh.LODs[l];
    std::size_t quads = 0;
    for (const FaceRec& face : from.Faces) quads += !face.IsTriangle();
    lod.Faces.reserve(from.Faces.size() + quads);
    for (const FaceRec& face : from.Faces) {
      if (face.IsTriangle()) {
        lod.Faces.push_back(face);
        continue;
      }
      const VertexRec p0 = face.Vertices[0], p1 = face.Vertices[1], p2 = face.Vertices[2],
                      p3 = face.Vertices[3];
      FaceRec& first = lod.Faces.emplace_back(face);
      // The new face is a triangle by construction, so it is not visited again (a corner
      // that is not a number would otherwise never compare equal and split forever).
      FaceRec& second = lod.Faces.emplace_back(face);
      second.Id = ++faceId;
      second.Vertices = {p1, p2, p3, p1};
      for (VertexRec& v : second.Vertices) v.Id = ++vertexId;
      first.Vertices[2] = p3;
      first.Vertices[3] = p0;
      first.Vertices[3].Id = ++vertexId;
    }
  }
  CalculateMeshBounds(mesh);  // here, on the mesh's own core
  return mesh;
}

}  // namespace

int Quad2Tri(Model& model) {
  struct Job {
    std::size_t mesh;
    std::int32_t faceId, vertexId;
    MeshRec result;
  };
  std::vector<Job> jobs;
  std::int64_t added = 0;
  for (std::size_t m = 0; m < model.Meshes.size(); ++m) {
    const std::int64_t quads = QuadCount(model.Meshes[m]);
    if (quads == 0) continue;
    jobs.push_back({m,
                    static_cast<std::int32_t>(model.Ids.NextFaceId + added),
                    static_cast<std::int32_t>(model.Ids.NextVertexId + 5 * added),
                    {}});
    added += quads;
  }
  if (jobs.empty()) return 0;
  // Meshes are independent: they are split on every core, each from its own id ranges,
  // while this thread, whose progress reporter it is, tells how many are done.
  std::atomic<std::size_t> next{0};
  std::size_t done = 0;
  std::mutex mutex;
  std::condition_variable finished;
  const auto work = [&] {
    for (std::size_t j; (j = next++) < jobs.size();) {
      jobs[j].result = SplitQuads(model.Meshes[jobs[j].mesh], jobs[j].faceId, jobs[j].vertexId);
      const std::lock_guard lock(mutex);
      ++done;
      finished.notify_one();
    }
  };
  std::vector<std::thread> workers;
  const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
  for (std::size_t t = 0; t < std::min(cores, jobs.size()); ++t) workers.emplace_back(work);
  // Every count is told, also when several meshes end at once.
  for (std::size_t told = 0; told < jobs.size();) {
    std::size_t now;
    {
      std::unique_lock lock(mutex);
      finished.wait(lock, [&] { return done > told; });
      now = done;
    }
    while (told < now)
      ReportProgress(static_cast<std::int64_t>(++told), static_cast<std::int64_t>(jobs.size()));
  }
  for (std::thread& t : workers) t.join();
  for (Job& job : jobs) model.Meshes.Set(job.mesh, std::move(job.result));
  model.Ids.NextFaceId += static_cast<std::int32_t>(added);
  model.Ids.NextVertexId += static_cast<std::int32_t>(5 * added);
  CalculateBounds(model, {});  // the meshes' boxes are done; the model's box follows them
  return static_cast<int>(added);
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
