#include "editing/sample_fighter.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

#include "editing/normals.h"
#include "editing/sample_files.h"
#include "editing/ship_features.h"
#include "model/bounds.h"
#include "model/file_error.h"
#include "model/file_io.h"
#include "model/project.h"
#include "opt/bitmap.h"

namespace tamsel {
namespace fs = std::filesystem;

namespace {

// The parts are laid out with the top along +Z and the right side along +X, the way they are
// easiest to read here; GenerateFighter then turns the craft half a turn about Y into the
// craft's axes (top -Z, right side -X, nose +Y). A turn keeps every face's outside.
struct P3 {
  float x = 0, y = 0, z = 0;
};
P3 operator-(P3 a, P3 b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
float Dot(P3 a, P3 b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}
P3 Cross(P3 a, P3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

struct Corner {
  P3 p;
  float u = 0, v = 0;
};

// ---- Textures: 64 x 64, 8 bits, a palette of the part's colours. ----------------------

constexpr int kSize = 64;
using Rgb = std::array<std::uint8_t, 3>;

// Palette entries the painters use; the rest shade the base colour.
enum Ink : std::uint8_t { kGlass = 1, kLight = 2, kStripe = 3, kSeam = 4, kGlow = 5, kShade = 16 };

Bitmap Paint(Rgb base, Rgb stripe, Rgb glass, Rgb light, Rgb glow,
             const std::function<std::uint8_t(int x, int y)>& ink) {
  Bitmap b;
  b.width = b.height = kSize;
  const auto set = [&](int k, Rgb c) {
    b.palette[static_cast<std::size_t>(4 * k)] = c[2];  // blue, green, red
    b.palette[static_cast<std::size_t>(4 * k + 1)] = c[1];
    b.palette[static_cast<std::size_t>(4 * k + 2)] = c[0];
  };
  set(kGlass, glass);
  set(kLight, light);
  set(kStripe, stripe);
  set(kSeam, {static_cast<std::uint8_t>(base[0] / 2), static_cast<std::uint8_t>(base[1] / 2),
              static_cast<std::uint8_t>(base[2] / 2)});
  set(kGlow, glow);
  for (int k = 0; k < 16; ++k) {  // 16 shades of the base, for the plates' grain
    const auto shade = [&](std::uint8_t c) {
      return static_cast<std::uint8_t>(std::clamp(c * (88 + k) / 100, 0, 255));
    };
    set(kShade + k, {shade(base[0]), shade(base[1]), shade(base[2])});
  }
  b.texels.resize(kSize * kSize);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      std::uint8_t i = ink(x, y);
      if (i == 0)
        i = static_cast<std::uint8_t>(kShade + ((x * 5 + y * 3) / 7 + (x / 16 + y / 16)) % 16);
      b.texels[static_cast<std::size_t>(y * kSize + x)] = i;
    }
  return b;
}

std::uint8_t Plates(int x, int y) {
  return x % 16 == 0 || y % 16 == 0 ? kSeam : 0;
}

struct PaintedTexture {
  std::string file;
  Bitmap bitmap;
};

std::vector<PaintedTexture> Textures() {
  const Rgb hull{178, 182, 190}, dark{70, 74, 82}, none{0, 0, 0};
  std::vector<PaintedTexture> t;
  // The hull carries the flight-group stripe: red, then the yellow, blue and green variants.
  const std::pair<const char*, Rgb> stripes[] = {{"fighter_hull.BMP", {200, 30, 30}},
                                                 {"fighter_hull_yellow.BMP", {230, 200, 20}},
                                                 {"fighter_hull_blue.BMP", {40, 70, 210}},
                                                 {"fighter_hull_green.BMP", {30, 170, 60}}};
  for (const auto& [file, stripe] : stripes)
    t.push_back({file, Paint(hull, stripe, none, none, none, [](int x, int y) -> std::uint8_t {
                   if (y >= 28 && y < 36) return kStripe;
                   return Plates(x, y);
                 })});
  t.push_back({"fighter_wing.BMP", Paint({150, 155, 162}, {200, 30, 30}, none, none, none,
                                         [](int x, int y) -> std::uint8_t {
                                           if (x >= 52 && x < 58) return kStripe;
                                           return Plates(x, y);
                                         })});
  // The canopy: a dark frame around see-through glass, with instrument lights below.
  t.push_back({"fighter_canopy.BMP", Paint(dark, dark, {60, 110, 170}, {80, 255, 120}, none,
                                           [](int x, int y) -> std::uint8_t {
                                             if (y > 52 && x % 8 == 3) return kLight;
                                             if (x % 21 < 3 || y % 24 < 3) return kSeam;
                                             return kGlass;
                                           })});
  // The engines: metal with a glowing nozzle ring at the rear.
  t.push_back({"fighter_engine.BMP", Paint({120, 124, 130}, dark, none, none, {255, 150, 40},
                                           [](int x, int y) -> std::uint8_t {
                                             if (y < 8) return kGlow;
                                             return x % 8 == 0 ? kSeam : 0;
                                           })});
  t.push_back({"fighter_turret.BMP", Paint(dark, {200, 30, 30}, none, none, none,
                                           [](int x, int y) { return Plates(x, y); })});
  return t;
}

// ---- Geometry. ---------------------------------------------------------------------------

// A face whose corners are turned, if need be, so that they run clockwise seen from the
// side `outward` points to: the side its normal will point to.
FaceRec Face(std::vector<Corner> c, P3 outward, const std::string& texture,
             const std::array<std::string, 4>& variants = {}) {
  const P3 a = c[1].p - c[0].p, b = c.back().p - c[0].p;
  const P3 n = Cross(b, a);  // the normal of the corner order as given
  if (Dot(n, outward) < 0) std::reverse(c.begin() + 1, c.end());
  FaceRec f;
  for (std::size_t k = 0; k < 4; ++k) {
    const Corner& from = k < c.size() ? c[k] : c[0];  // a triangle repeats corner 0
    VertexRec& v = f.Vertices[k];
    v.X = from.p.x, v.Y = from.p.y, v.Z = from.p.z;
    v.U = from.u, v.V = from.v;
  }
  f.TextureNames = {texture, kBlank, kBlank, kBlank};
  for (std::size_t s = 1; s < 4; ++s)
    if (!variants[s].empty()) f.TextureNames[s] = variants[s];
  return f;
}

P3 Centroid(const std::vector<Corner>& c) {
  P3 s;
  for (const Corner& k : c) s = {s.x + k.p.x, s.y + k.p.y, s.z + k.p.z};
  const float n = static_cast<float>(c.size());
  return {s.x / n, s.y / n, s.z / n};
}

// A body along Y through stations of elliptic cross sections, closed by fans at both ends.
struct Station {
  float y, cx, cz, rx, rz;
};

std::vector<FaceRec> Loft(const std::vector<Station>& s, int around, const std::string& texture,
                          const std::array<std::string, 4>& variants = {}) {
  std::vector<FaceRec> faces;
  const auto at = [&](std::size_t i, int k) {
    // The seam takes corner 0's position exactly, so that the body is closed there.
    const double a = 2 * std::numbers::pi * (k % around) / around;
    Corner c;
    c.p = {s[i].cx + s[i].rx * static_cast<float>(std::cos(a)), s[i].y,
           s[i].cz + s[i].rz * static_cast<float>(std::sin(a))};
    c.u = static_cast<float>(k) / static_cast<float>(around);
    c.v = static_cast<float>(i) / static_cast<float>(s.size() - 1);
    return c;
  };
  for (std::size_t i = 0; i + 1 < s.size(); ++i)
    for (int k = 0; k < around; ++k) {
      std::vector<Corner> quad = {at(i, k), at(i + 1, k), at(i + 1, k + 1), at(i, k + 1)};
      const P3 m = Centroid(quad);
      const float cx = (s[i].cx + s[i + 1].cx) / 2, cz = (s[i].cz + s[i + 1].cz) / 2;
      faces.push_back(Face(quad, {m.x - cx, 0, m.z - cz}, texture, variants));
    }
  for (const std::size_t end : {std::size_t{0}, s.size() - 1}) {
    Corner centre;
    centre.p = {s[end].cx, s[end].y, s[end].cz};
    centre.u = centre.v = 0.5f;
    const P3 out{0, end == 0 ? -1.0f : 1.0f, 0};
    for (int k = 0; k < around; ++k)
      faces.push_back(Face({centre, at(end, k), at(end, k + 1)}, out, texture, variants));
  }
  return faces;
}

// A slab between two chords: the root at x = rootX, the tip at x = tipX, each a run of y
// at its own height, thickness 2h. Every side is one quad.
std::vector<FaceRec> Slab(float rootX, float rootY0, float rootY1, float rootZ, float tipX,
                          float tipY0, float tipY1, float tipZ, float h,
                          const std::string& texture) {
  const P3 p[8] = {{rootX, rootY0, rootZ - h}, {rootX, rootY1, rootZ - h},
                   {tipX, tipY1, tipZ - h},    {tipX, tipY0, tipZ - h},
                   {rootX, rootY0, rootZ + h}, {rootX, rootY1, rootZ + h},
                   {tipX, tipY1, tipZ + h},    {tipX, tipY0, tipZ + h}};
  P3 mid;
  for (const P3& q : p) mid = {mid.x + q.x / 8, mid.y + q.y / 8, mid.z + q.z / 8};
  const int sides[6][4] = {{0, 1, 2, 3}, {4, 5, 6, 7}, {0, 1, 5, 4},
                           {3, 2, 6, 7}, {1, 2, 6, 5}, {0, 3, 7, 4}};
  const float uv[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
  std::vector<FaceRec> faces;
  for (const auto& side : sides) {
    std::vector<Corner> quad;
    for (int k = 0; k < 4; ++k) quad.push_back({p[side[k]], uv[k][0], uv[k][1]});
    faces.push_back(Face(quad, Centroid(quad) - mid, texture));
  }
  return faces;
}

MeshRec Mesh(std::string name, int type, int explosion, std::vector<FaceRec> high,
             std::vector<FaceRec> low) {
  MeshRec mesh;
  mesh.Name = std::move(name);
  mesh.MeshType = type;
  mesh.ExplosionType = explosion;
  LODRec h, l;
  h.Faces = std::move(high);
  l.Faces = std::move(low);
  l.Distance = 2.5f;  // the low level shows beyond this distance
  mesh.LODs.push_back(std::move(h));
  mesh.LODs.push_back(std::move(l));
  return mesh;
}

std::vector<Station> HullStations(float scale) {
  // Tail to nose: a tapered fuselage with a pointed nose.
  return {{-30, 0, 0, 4.0f * scale, 3.0f * scale},
          {-12, 0, 0, 5.0f * scale, 4.0f * scale},
          {10, 0, 0.5f, 4.5f * scale, 3.8f * scale},
          {30, 0, 0, 2.2f * scale, 2.0f * scale},
          {42, 0, -0.5f, 0.4f, 0.4f}};
}

std::vector<Station> NacelleStations(float x) {
  return {{-34, x, -1, 2.6f, 2.6f},
          {-20, x, -1, 3.0f, 3.0f},
          {-8, x, -1, 2.4f, 2.4f},
          {-4, x, -1, 0.8f, 0.8f}};
}

EngineGlowRec Glow(float x) {
  EngineGlowRec g;
  g.InnerColor = {255, 255, 255, 255};
  g.OuterColor = {255, 140, 40, 200};
  g.Position = {x, -34.5f, -1};
  g.Size = {4, 4, 6};
  g.Density1 = {1, 0.6f, 0.3f};
  g.Density2 = {0.6f, 0.6f, 0.6f};
  g.Density3 = {0.3f, 0.3f, 0.3f};
  return g;
}

Single3 HalfTurnAboutY(const Single3& p) {
  return {-p.x, p.y, -p.z};
}

}  // namespace

void GenerateFighter(Model& model, const fs::path& folder) {
  SampleFiles files(folder);
  NewProject(model, folder);

  for (PaintedTexture& painted : Textures()) {
    files.AddBitmap(painted.file, painted.bitmap);
    TextureRec rec;
    rec.Name = painted.file;
    if (painted.file == "fighter_canopy.BMP") {
      rec.TransColors.push_back({60, 110, 170});  // the glass
      rec.TransOpacity = 110;
      rec.TransTolerance = 4;
      rec.IllumColors.push_back({80, 255, 120});  // the instruments
      rec.IllumBrightness = 12;
      rec.IllumTolerance = 4;
    }
    if (painted.file == "fighter_engine.BMP") {
      rec.IllumColors.push_back({255, 150, 40});  // the nozzle ring
      rec.IllumBrightness = 16;
      rec.IllumTolerance = 8;
    }
    model.Textures.push_back(std::move(rec));
  }

  const std::array<std::string, 4> variants = {"", "fighter_hull_yellow.BMP",
                                               "fighter_hull_blue.BMP", "fighter_hull_green.BMP"};
  model.Meshes.push_back(Mesh("Hull", 1, 7, Loft(HullStations(1), 12, "fighter_hull.BMP", variants),
                              Loft(HullStations(1), 6, "fighter_hull.BMP", variants)));
  for (const float side : {1.0f, -1.0f}) {
    std::vector<FaceRec> wing =
        Slab(side * 4, -22, 6, 0, side * 40, -20, -10, 1.5f, 0.8f, "fighter_wing.BMP");
    MeshRec mesh = Mesh(side > 0 ? "Right Wing" : "Left Wing", 2, 2, wing, wing);
    mesh.Hardpoints.push_back({1, {side * 40, -9.5f, 1.5f}});  // a laser at each wing tip
    model.Meshes.push_back(std::move(mesh));
  }
  const std::vector<Station> canopy = {{8, 0, 3.2f, 0.6f, 0.6f},
                                       {14, 0, 4.4f, 2.4f, 2.2f},
                                       {22, 0, 3.6f, 2.0f, 1.8f},
                                       {27, 0, 2.4f, 0.5f, 0.5f}};
  MeshRec cockpit = Mesh("Cockpit", 7, 0, Loft(canopy, 10, "fighter_canopy.BMP"),
                         Loft(canopy, 5, "fighter_canopy.BMP"));
  cockpit.Hardpoints.push_back({31, {0, 16, 4}});  // where the pilot sits
  model.Meshes.push_back(std::move(cockpit));
  for (const float side : {1.0f, -1.0f}) {
    MeshRec mesh = Mesh(side > 0 ? "Right Engine" : "Left Engine", 6, 3,
                        Loft(NacelleStations(side * 9), 10, "fighter_engine.BMP"),
                        Loft(NacelleStations(side * 9), 5, "fighter_engine.BMP"));
    mesh.EngineGlows.push_back(Glow(side * 9));
    model.Meshes.push_back(std::move(mesh));
  }
  std::vector<FaceRec> turret =
      Slab(-1.5f, 24, 27, -3.8f, 1.5f, 24, 27, -3.8f, 1.2f, "fighter_turret.BMP");
  std::vector<FaceRec> barrel =
      Loft({{27, 0, -3.8f, 0.4f, 0.4f}, {34, 0, -3.8f, 0.3f, 0.3f}}, 6, "fighter_turret.BMP");
  turret.insert(turret.end(), barrel.begin(), barrel.end());
  MeshRec gun = Mesh("Chin Turret", 21, 1, turret, turret);
  gun.Hardpoints.push_back({5, {0, 34, -3.8f}});
  model.Meshes.push_back(std::move(gun));

  for (MeshRec& mesh : model.Meshes.EditAll()) {
    for (LODRec& level : mesh.LODs) {
      for (FaceRec& face : level.Faces)
        for (VertexRec& v : face.Vertices) v.X = -v.X, v.Z = -v.Z;
      AssignNewIds(level, model.Ids);
    }
    for (HardpointRec& hp : mesh.Hardpoints) hp.Position = HalfTurnAboutY(hp.Position);
    for (EngineGlowRec& g : mesh.EngineGlows) g.Position = HalfTurnAboutY(g.Position);
  }
  SettleAfterRead(model);
  CalculateFaceNormals(model);
  CalculateVertexNormals(model);
  CalculateSoftwareVectors(model);
  CalculateHitzones(model);
  CalculateRotations(model);
  // The chin turret swings about its vertical axis, aimed forward.
  MeshRec& turretMesh = model.Meshes.Edit(static_cast<std::size_t>(model.MeshCount() - 1));
  turretMesh.Axis = {0, 0, -10};
  turretMesh.Aim = {0, 10, 0};
  turretMesh.Degree = {-10, 0, 0};
  for (MeshRec& mesh : model.Meshes.EditAll()) mesh.TargetId = 0;
  files.Finish(model);
}

}  // namespace tamsel
