#include "editing/sample_craft.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "editing/sample_files.h"
#include "model/bounds.h"
#include "model/file_error.h"
#include "model/file_io.h"
#include "model/project.h"
#include "opt/bitmap.h"

namespace tamsel {
namespace fs = std::filesystem;

namespace {

std::string TextureFile(int t) {
  return "sample_TEX" + std::to_string(t) + ".BMP";
}

// A palette of two colour ramps and a few accent colours, and a hull-plate pattern.
Bitmap MakeTexture(int t, int size) {
  Bitmap b;
  b.width = b.height = size;
  const int hue = t * 67;
  for (int k = 0; k < 256; ++k) {
    const int ramp = k % 128 * 2;
    b.palette[static_cast<std::size_t>(4 * k)] = static_cast<std::uint8_t>((ramp + hue) % 256);
    b.palette[static_cast<std::size_t>(4 * k + 1)] =
        static_cast<std::uint8_t>(k < 128 ? ramp : ramp / 2);
    b.palette[static_cast<std::size_t>(4 * k + 2)] =
        static_cast<std::uint8_t>(k < 128 ? ramp / 2 : ramp);
  }
  // Index 0: black (transparent windows); index 255: bright yellow (lights).
  for (int c = 0; c < 3; ++c) b.palette[static_cast<std::size_t>(c)] = 0;
  b.palette[4 * 255] = 32, b.palette[4 * 255 + 1] = 240, b.palette[4 * 255 + 2] = 248;
  b.texels.resize(static_cast<std::size_t>(size) * static_cast<std::size_t>(size));
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const int plate = ((x / 8) + (y / 8) + t) % 2;
      int index = 40 + plate * 30 + (x * 7 + y * 3) % 20 + (t % 2) * 128;
      if (x % 16 == 3 && y % 16 < 4) index = 0;
      if (x % 16 == 11 && y % 16 == 11) index = 255;
      b.texels[static_cast<std::size_t>(y * size + x)] = static_cast<std::uint8_t>(index);
    }
  return b;
}

// A tube along x from x0 to x1 with an elliptic cross section, closed by triangle fans.
// The faces are spread over the texture bands in order.
std::vector<FaceRec> Tube(float x0, float x1, float ry, float rz, int around, int rings,
                          const std::vector<std::array<std::string, 4>>& bands) {
  const std::size_t total = static_cast<std::size_t>(around) * static_cast<std::size_t>(rings + 2);
  std::vector<FaceRec> faces;
  const auto point = [&](int ring, int seg) {
    const double a = 2 * std::numbers::pi * seg / around;
    const float x = x0 + (x1 - x0) * static_cast<float>(ring) / static_cast<float>(rings);
    const float taper = 1.0f - 0.3f * static_cast<float>(ring) / static_cast<float>(rings);
    VertexRec v;
    v.X = x;
    v.Y = static_cast<float>(ry * taper * std::cos(a));
    v.Z = static_cast<float>(rz * taper * std::sin(a));
    v.U = static_cast<float>(ring) / static_cast<float>(rings);
    v.V = static_cast<float>(seg) / static_cast<float>(around);
    const float len = std::sqrt(v.Y * v.Y + v.Z * v.Z);
    v.J = len > 0 ? v.Y / len : 0;
    v.K = len > 0 ? v.Z / len : 0;
    return v;
  };
  const auto add = [&](VertexRec a, VertexRec b, VertexRec c, VertexRec d) {
    FaceRec f;
    f.Vertices = {a, b, c, d};
    const auto& names = bands[faces.size() * bands.size() / total];
    for (std::size_t s = 0; s < 4; ++s) f.TextureNames[s] = names[s];
    // The face normal of the first three corners, on the side Calculate > Face Normals
    // puts it for this winding (the craft check finds normals that point against it).
    const float ux = b.X - a.X, uy = b.Y - a.Y, uz = b.Z - a.Z;
    const float vx = c.X - a.X, vy = c.Y - a.Y, vz = c.Z - a.Z;
    Single3 n{-(uy * vz - uz * vy), -(uz * vx - ux * vz), -(ux * vy - uy * vx)};
    const float len = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    if (len > 0) n = {n.x / len, n.y / len, n.z / len};
    f.Normal = n;
    f.Vector1 = {b.X - a.X, b.Y - a.Y, b.Z - a.Z};
    f.Vector2 = {d.X - a.X, d.Y - a.Y, d.Z - a.Z};
    faces.push_back(f);
  };
  for (int r = 0; r < rings; ++r)
    for (int s = 0; s < around; ++s)
      add(point(r, s), point(r + 1, s), point(r + 1, s + 1), point(r, s + 1));
  for (int end = 0; end < 2; ++end) {
    VertexRec centre;
    centre.X = end == 0 ? x0 : x1;
    centre.I = end == 0 ? -1.0f : 1.0f;
    centre.U = centre.V = 0.5f;
    const int ring = end == 0 ? 0 : rings;
    for (int s = 0; s < around; ++s) {
      VertexRec a = point(ring, s), b = point(ring, s + 1);
      a.I = b.I = centre.I;
      if (end == 0)
        add(centre, b, a, centre);
      else
        add(centre, a, b, centre);
    }
  }
  return faces;
}

}  // namespace

void GenerateSample(Model& model, const fs::path& folder, const SampleOptions& o) {
  if (o.meshes < 1 || o.faces < 1 || o.textures < 1 || o.size < 2 || o.size > 4096)
    throw FileError(folder.string(), "", "sample sizes out of range");
  SampleFiles files(folder);
  NewProject(model, folder);

  for (int t = 0; t < o.textures; ++t) {
    files.AddBitmap(TextureFile(t), MakeTexture(t, o.size));
    TextureRec rec;
    rec.Name = TextureFile(t);
    if (t % 2 == 0) {
      rec.TransColors.push_back({0, 0, 0});
      rec.TransOpacity = 96;
    }
    if (t % 3 == 0) {
      rec.IllumColors.push_back({248, 240, 32});
      rec.IllumBrightness = 14;
      rec.IllumTolerance = 8;
    }
    model.Textures.push_back(rec);
  }

  const int around = std::clamp(static_cast<int>(std::sqrt(o.faces)), 3, 256);
  const int rings = std::max(1, (o.faces - 2 * around) / around);
  const int lowAround = std::max(3, around / 2), lowRings = std::max(1, rings / 2);
  for (int m = 0; m < o.meshes; ++m) {
    MeshRec mesh;
    mesh.Name = m == 0 ? "Hull" : "Section " + std::to_string(m);
    const float x0 = static_cast<float>(m) * 40.0f - 20.0f, x1 = x0 + 38.0f;
    const float ry = 12.0f - static_cast<float>(m % 3) * 2.0f, rz = 8.0f;
    // Every texture is used: mesh m takes textures m, m + meshes, m + 2 meshes ...; the
    // first mesh shows flight-group variants.
    std::vector<std::array<std::string, 4>> bands;
    for (int t = m % o.textures; t < o.textures || bands.empty(); t += o.meshes) {
      std::array<std::string, 4> names = {TextureFile(t % o.textures), kBlank, kBlank, kBlank};
      if (m == 0 && o.textures >= 4)
        for (int k = 1; k < 4; ++k) names[static_cast<std::size_t>(k)] = TextureFile(k);
      bands.push_back(names);
    }
    LODRec high, low;
    high.Faces = Tube(x0, x1, ry, rz, around, rings, bands);
    high.Distance = 0;
    low.Faces = Tube(x0, x1, ry, rz, lowAround, lowRings, bands);
    low.Distance = 2.5f;
    mesh.LODs.push_back(std::move(high));
    mesh.LODs.push_back(std::move(low));
    mesh.MeshType = m == 0 ? 1 : (m % 31) + 1;
    mesh.ExplosionType = m % 11;
    mesh.Min = {x0, -ry, -rz};
    mesh.Max = {x1, ry, rz};
    mesh.Span = {x1 - x0, 2 * ry, 2 * rz};
    mesh.Center = {(x0 + x1) / 2, 0, 0};
    mesh.TargetId = m;
    mesh.Target = mesh.Center;
    mesh.Pivot = {x0, 0, 0};
    mesh.Axis = {0, 0, 10};
    mesh.Aim = {10, 0, 0};
    mesh.Degree = {0, 10, 0};
    mesh.Hardpoints.push_back({1, {x1, ry * 0.7f, 0}});
    mesh.Hardpoints.push_back({m == 0 ? 31 : 7, {x1, -ry * 0.7f, 0}});
    if (m == 0) {
      EngineGlowRec g;
      g.InnerColor = {255, 255, 255, 255};
      g.OuterColor = {64, 128, 255, 200};
      g.Position = {x0 - 1, 0, 0};
      g.Size = {8, 6, 12};
      g.Density1 = {1, 0.5f, 0.25f};
      g.Density2 = {0.5f, 0.5f, 0.5f};
      g.Density3 = {0.25f, 0.25f, 0.25f};
      mesh.EngineGlows.push_back(g);
    }
    for (LODRec& level : mesh.LODs) AssignNewIds(level, model.Ids);
    model.Meshes.push_back(std::move(mesh));
  }
  SettleAfterRead(model);
  files.Finish(model);
}

}  // namespace tamsel
