#include "editing/normals.h"
#include "model/position_key.h"
#include "model/progress.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <unordered_map>

namespace tamsel {
namespace {

struct P {
  double x, y, z;
};
P At(const VertexRec& v) {
  return {v.X, v.Y, v.Z};
}
int Last(const FaceRec& face) {
  return face.CornerCount() - 1;
}

}  // namespace

Single3 FaceNormalOf(const FaceRec& face) {
  const P p0 = At(face.Vertices[0]), p1 = At(face.Vertices[1]);
  const P pl = At(face.Vertices[static_cast<std::size_t>(Last(face))]);
  const P a{p1.x - p0.x, p1.y - p0.y, p1.z - p0.z}, b{pl.x - p0.x, pl.y - p0.y, pl.z - p0.z};
  Single3 n = {static_cast<float>(-(a.y * b.z - a.z * b.y)),
               static_cast<float>(-(a.z * b.x - a.x * b.z)),
               static_cast<float>(-(a.x * b.y - a.y * b.x))};
  const double i = n.x, j = n.y, k = n.z;
  const double length = std::sqrt(i * i + j * j + k * k);
  if (length != 0)
    n = {static_cast<float>(i / length), static_cast<float>(j / length),
         static_cast<float>(k / length)};
  return n;
}

void CalculateFaceNormals(Model& model) {
  for (MeshRec& mesh : model.Meshes.EditAll())
    for (LODRec& lod : mesh.LODs)
      for (FaceRec& face : lod.Faces) face.Normal = FaceNormalOf(face);
}

namespace {

struct Sum {
  int count = 0;
  double i = 0, j = 0, k = 0;
};

}  // namespace

void CalculateVertexNormals(Model& model) {
  std::size_t levels = 0;
  for (const MeshRec& mesh : model.Meshes) levels = std::max(levels, mesh.LODs.size());
  for (std::size_t l = 0; l < levels; ++l) {
    ReportProgress(static_cast<std::int64_t>(l), static_cast<std::int64_t>(levels));
    // Sums in the order the full scan would add them: mesh, face, corner.
    std::unordered_map<PositionKey, Sum, PositionKeyHash> sums;
    for (const MeshRec& mesh : model.Meshes) {
      if (l >= mesh.LODs.size()) continue;
      for (const FaceRec& face : mesh.LODs[l].Faces)
        for (int c = 0; c <= Last(face); ++c) {
          if (std::isnan(face.Vertices[static_cast<std::size_t>(c)].X) ||
              std::isnan(face.Vertices[static_cast<std::size_t>(c)].Y) ||
              std::isnan(face.Vertices[static_cast<std::size_t>(c)].Z))
            continue;  // a position that is not a number equals nothing, not even itself
          Sum& s = sums[PositionKeyOf(face.Vertices[static_cast<std::size_t>(c)])];
          ++s.count;
          s.i += face.Normal.x;
          s.j += face.Normal.y;
          s.k += face.Normal.z;
        }
    }
    for (MeshRec& mesh : model.Meshes.EditAll()) {
      if (l >= mesh.LODs.size()) continue;
      for (FaceRec& face : mesh.LODs[l].Faces)
        for (int c = 0; c <= Last(face); ++c) {
          VertexRec& v = face.Vertices[static_cast<std::size_t>(c)];
          const auto it = sums.find(PositionKeyOf(v));
          if (it == sums.end() || it->second.count == 0) {
            v.I = v.J = v.K = 0;
            continue;
          }
          const Sum& s = it->second;
          v.I = static_cast<float>(s.i / s.count);
          v.J = static_cast<float>(s.j / s.count);
          v.K = static_cast<float>(s.k / s.count);
        }
    }
  }
}

Single3 SoftwareVectorOf(const FaceRec& face) {
  const VertexRec& c0 = face.Vertices[0];
  const VertexRec& c1 = face.Vertices[1];
  const VertexRec& c2 = face.Vertices[2];
  const VertexRec& cl = face.Vertices[static_cast<std::size_t>(Last(face))];
  const double v0 = c0.V, v1 = c1.V;
  const P a{c0.X + (static_cast<double>(cl.X) - c0.X) * v0,
            c0.Y + (static_cast<double>(cl.Y) - c0.Y) * v0,
            c0.Z + (static_cast<double>(cl.Z) - c0.Z) * v0};
  const P b{c1.X + (static_cast<double>(c2.X) - c1.X) * v1,
            c1.Y + (static_cast<double>(c2.Y) - c1.Y) * v1,
            c1.Z + (static_cast<double>(c2.Z) - c1.Z) * v1};
  return {static_cast<float>(b.x - a.x), static_cast<float>(b.y - a.y),
          static_cast<float>(b.z - a.z)};
}

void CalculateSoftwareVectors(Model& model) {
  for (MeshRec& mesh : model.Meshes.EditAll())
    for (LODRec& lod : mesh.LODs)
      for (FaceRec& face : lod.Faces) face.Vector1 = SoftwareVectorOf(face);
}

}  // namespace tamsel
