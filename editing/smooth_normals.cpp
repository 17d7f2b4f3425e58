#include "editing/smooth_normals.h"

#include <cmath>
#include <numbers>
#include <unordered_map>

#include "editing/quad_shape.h"

namespace tamsel {
namespace {

struct PositionKey {
  float x, y, z;
  friend bool operator==(const PositionKey&, const PositionKey&) = default;
};
struct PositionHash {
  std::size_t operator()(const PositionKey& k) const {
    const auto bits = [](float f) { return std::hash<float>{}(f); };
    return bits(k.x) * 73856093u ^ bits(k.y) * 19349663u ^ bits(k.z) * 83492791u;
  }
};

// One corner as the smoothing sees it: its face's outward unit normal and its angle.
struct Corner {
  std::size_t face;
  int k;
  Point3d normal;
  double angle;
};

std::int64_t SmoothLevel(LODRec& level, double cosLimit) {
  std::vector<FaceRec>& faces = level.Faces.Edit();
  std::unordered_map<PositionKey, std::vector<Corner>, PositionHash> at;
  for (std::size_t f = 0; f < faces.size(); ++f) {
    const FaceRec& face = faces[f];
    const int n = face.CornerCount();
    std::vector<Single3> corners;
    for (int k = 0; k < n; ++k) {
      const VertexRec& v = face.Vertices[static_cast<std::size_t>(k)];
      corners.push_back({v.X, v.Y, v.Z});
    }
    // Corners run clockwise seen from outside: the area normal of that order points in.
    const Point3d area = AreaNormal(corners);
    const Point3d outward = Unit({-area.x, -area.y, -area.z});
    for (int k = 0; k < n; ++k) {
      const Point3d p = Of(corners[static_cast<std::size_t>(k)]);
      const Point3d a = Unit(Sub(Of(corners[static_cast<std::size_t>((k + n - 1) % n)]), p));
      const Point3d b = Unit(Sub(Of(corners[static_cast<std::size_t>((k + 1) % n)]), p));
      const double angle = std::acos(std::clamp(Dot(a, b), -1.0, 1.0));
      const VertexRec& v = face.Vertices[static_cast<std::size_t>(k)];
      at[{v.X, v.Y, v.Z}].push_back({f, k, outward, angle});
    }
  }
  std::int64_t given = 0;
  for (auto& [position, corners] : at)
    for (const Corner& c : corners) {
      Point3d sum{0, 0, 0};
      for (const Corner& other : corners)
        if (other.face == c.face || Dot(other.normal, c.normal) >= cosLimit)
          sum = {sum.x + other.normal.x * other.angle, sum.y + other.normal.y * other.angle,
                 sum.z + other.normal.z * other.angle};
      Point3d n = Unit(sum);
      if (n.x == 0 && n.y == 0 && n.z == 0) n = c.normal;  // a face without area stays its own
      FaceRec& face = faces[c.face];
      VertexRec& v = face.Vertices[static_cast<std::size_t>(c.k)];
      v.I = static_cast<float>(n.x), v.J = static_cast<float>(n.y), v.K = static_cast<float>(n.z);
      if (c.k == 0 && face.IsTriangle())
        face.Vertices[3].I = v.I, face.Vertices[3].J = v.J, face.Vertices[3].K = v.K;
      ++given;
    }
  return given;
}

}  // namespace

std::int64_t SmoothNormalsByAngle(Model& model, double degrees, const std::vector<int>& meshes) {
  const double cosLimit = std::cos(std::clamp(degrees, 0.0, 180.0) * std::numbers::pi / 180);
  std::int64_t given = 0;
  for (int m = 0; m < model.MeshCount(); ++m) {
    if (!meshes.empty() && std::find(meshes.begin(), meshes.end(), m) == meshes.end()) continue;
    MeshRec& mesh = model.Meshes.Edit(static_cast<std::size_t>(m));
    for (LODRec& level : mesh.LODs) given += SmoothLevel(level, cosLimit);
  }
  return given;
}

}  // namespace tamsel
