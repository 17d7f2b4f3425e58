#include "support/model_builders.h"

#include <cmath>

#include <gtest/gtest.h>

namespace tamsel::test {

VertexRec Corner(float x, float y, float z, float u, float v) {
  VertexRec c;
  c.X = x, c.Y = y, c.Z = z, c.U = u, c.V = v;
  c.I = 0, c.J = 0, c.K = 1;
  return c;
}

FaceRec Quad(VertexRec a, VertexRec b, VertexRec c, VertexRec d, const std::string& texture) {
  FaceRec f;
  f.Vertices = {a, b, c, d};
  f.TextureNames = {texture, kBlank, kBlank, kBlank, ""};
  f.Normal = {0, 0, 1};
  return f;
}

FaceRec Triangle(VertexRec a, VertexRec b, VertexRec c, const std::string& texture) {
  return Quad(a, b, c, a, texture);
}

MeshRec MeshWith(std::vector<FaceRec> high, std::vector<FaceRec> low, std::string name) {
  MeshRec m;
  m.Name = std::move(name);
  LODRec l0;
  l0.Faces = std::move(high);
  m.LODs.push_back(std::move(l0));
  if (!low.empty()) {
    LODRec l1;
    l1.Faces = std::move(low);
    l1.Distance = 1.25f;
    m.LODs.push_back(std::move(l1));
  }
  return m;
}

void ExpectSameFeatures(const MeshRec& a, const MeshRec& b) {
  EXPECT_EQ(a.MeshType, b.MeshType);
  EXPECT_EQ(a.ExplosionType, b.ExplosionType);
  EXPECT_EQ(a.Span, b.Span);
  EXPECT_EQ(a.Center, b.Center);
  EXPECT_EQ(a.Min, b.Min);
  EXPECT_EQ(a.Max, b.Max);
  EXPECT_EQ(a.TargetId, b.TargetId);
  EXPECT_EQ(a.Target, b.Target);
  EXPECT_EQ(a.Pivot, b.Pivot);
  EXPECT_EQ(a.Axis, b.Axis);
  EXPECT_EQ(a.Aim, b.Aim);
  EXPECT_EQ(a.Degree, b.Degree);
  EXPECT_TRUE(a.Hardpoints == b.Hardpoints);
  EXPECT_TRUE(a.EngineGlows == b.EngineGlows);
}

FaceRec BoxFace(const BoxSide& side, Single3 centre, float half, bool insideOut) {
  // u x v = outward, so (-u-v, u-v, u+v, -u+v) runs counter-clockwise seen from outside.
  const Single3 n = side.outward;
  const Single3 u = n.x != 0 ? Single3{0, 1, 0} : Single3{1, 0, 0};
  const Single3 v{n.y * u.z - n.z * u.y, n.z * u.x - n.x * u.z, n.x * u.y - n.y * u.x};
  const auto at = [&](float a, float b) {
    return Corner(centre.x + half * (n.x + a * u.x + b * v.x),
                  centre.y + half * (n.y + a * u.y + b * v.y),
                  centre.z + half * (n.z + a * u.z + b * v.z), (a + 1) / 2, (b + 1) / 2);
  };
  const std::string texture = std::string(side.name) + ".BMP";
  FaceRec f = insideOut ? Quad(at(-1, -1), at(1, -1), at(1, 1), at(-1, 1), texture)
                        : Quad(at(-1, -1), at(-1, 1), at(1, 1), at(1, -1), texture);
  f.Normal = insideOut ? Single3{-n.x, -n.y, -n.z} : n;
  return f;
}

MeshRec ColouredBox(Single3 centre, float half, bool insideOut) {
  std::vector<FaceRec> faces;
  for (const BoxSide& side : kBoxSides) faces.push_back(BoxFace(side, centre, half, insideOut));
  return MeshWith(std::move(faces), {}, "box");
}

Single3 Winding(const FaceRec& f) {
  const VertexRec &a = f.Vertices[0], &b = f.Vertices[1], &c = f.Vertices[2];
  const double ux = b.X - a.X, uy = b.Y - a.Y, uz = b.Z - a.Z;
  const double vx = c.X - a.X, vy = c.Y - a.Y, vz = c.Z - a.Z;
  return {static_cast<float>(uy * vz - uz * vy), static_cast<float>(uz * vx - ux * vz),
          static_cast<float>(ux * vy - uy * vx)};
}

MeshRec UvSphere(float radius, int rings, int segments, const std::string& texture) {
  const FaceRec reference = BoxFace(kBoxSides[0]);
  const auto outwardSign = [](const FaceRec& f, const Single3& out) {
    const VertexRec &a = f.Vertices[0], &b = f.Vertices[1], &c = f.Vertices[2];
    const double ux = b.X - a.X, uy = b.Y - a.Y, uz = b.Z - a.Z;
    const double vx = c.X - a.X, vy = c.Y - a.Y, vz = c.Z - a.Z;
    return (uy * vz - uz * vy) * out.x + (uz * vx - ux * vz) * out.y + (ux * vy - uy * vx) * out.z;
  };
  const bool wantPositive = outwardSign(reference, kBoxSides[0].outward) > 0;
  const double pi = std::acos(-1.0);
  const auto at = [&](int i, int j) {
    // The seam's corners are the very positions of the first column's.
    const double theta = pi * i / rings, phi = 2 * pi * (j % segments) / segments;
    return Corner(static_cast<float>(radius * std::sin(theta) * std::cos(phi)),
                  static_cast<float>(radius * std::sin(theta) * std::sin(phi)),
                  static_cast<float>(radius * std::cos(theta)),
                  static_cast<float>(j) / static_cast<float>(segments),
                  static_cast<float>(i) / static_cast<float>(rings));
  };
  std::vector<FaceRec> faces;
  for (int i = 0; i < rings; ++i)
    for (int j = 0; j < segments; ++j) {
      // Each pole is one position (sin(pi) is not quite 0).
      FaceRec f = i == 0 ? Triangle(at(0, 0), at(1, j), at(1, j + 1), texture)
                  : i == rings - 1
                      ? Triangle(at(i, j), at(i + 1, 0), at(i, j + 1), texture)
                      : Quad(at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1), texture);
      Single3 centre{0, 0, 0};
      for (int k = 0; k < 3; ++k) {
        const VertexRec& v = f.Vertices[static_cast<std::size_t>(k)];
        centre = {centre.x + v.X, centre.y + v.Y, centre.z + v.Z};
      }
      if ((outwardSign(f, centre) > 0) != wantPositive) {
        const bool triangle = f.IsTriangle();
        std::swap(f.Vertices[1], f.Vertices[triangle ? 2 : 3]);
      }
      faces.push_back(f);
    }
  return MeshWith(faces, {}, "sphere");
}

Model RichModel() {
  Model model;
  MeshRec a = MeshWith(
      {Quad(Corner(0, 0, 0, 0, 0), Corner(1, 0, 0, 1, 0), Corner(1, 1, 0, 1, 1),
            Corner(0, 1, 0, 0, 1), "a.BMP"),
       Triangle(Corner(0, 0, 1, 0.25f, 0.5f), Corner(2, 0, 1, 0.75f, 0.5f),
                Corner(0, 2, 1.5f, 0.5f, 1), "b.BMP")},
      {Triangle(Corner(-1, -1, -1), Corner(3, -1, -1), Corner(-1, 3, -1), "a.BMP")}, "Hull");
  a.LODs[0].Faces[0].Vertices[2].I = 0.6f;
  a.LODs[0].Faces[0].Vertices[2].K = 0.8f;
  a.LODs[0].Faces[1].TextureNames = {"b.BMP", "a.BMP", kBlank, "a.BMP", ""};
  a.LODs[0].Faces[1].Normal = {0.1f, 0.2f, 0.97467943f};
  a.LODs[0].Faces[1].Vector1 = {1.5f, -2.25f, 1e-7f};
  a.LODs[0].Faces[1].Vector2 = {-0.0001f, 3e20f, 0.333333343f};
  a.MeshType = 4, a.ExplosionType = 7, a.TargetId = -3;
  a.Span = {1, 2, 3}, a.Center = {0.5f, 1, 1.5f}, a.Min = {0, 0, 0}, a.Max = {1, 2, 3};
  a.Target = {9, 8, 7}, a.Pivot = {0.1f, 0.2f, 0.3f}, a.Axis = {0, 0, 1};
  a.Aim = {5, 0, 0}, a.Degree = {0, 2, 0};
  a.Hardpoints = {{1, {0.5f, 0.5f, 0}}, {31, {0, 0, 2.5f}}};
  a.EngineGlows = {{{255, 200, 100, 50},
                    {10, 20, 30, 40},
                    {0, -1, 0},
                    {4, 3, 8},
                    {1, 0.5f, 0.25f},
                    {0.125f, 2, 3},
                    {4, 5, 6}}};
  MeshRec b = MeshWith(
      {Quad(Corner(10, 0, 0), Corner(11, 0, 0), Corner(11, 0, 1), Corner(10, 0, 1), "b.BMP")}, {},
      "Wing 2");
  b.LODs[0].Distance = 0.5f;
  model.Meshes = {a, b};
  for (MeshRec& m : model.Meshes.EditAll())
    for (LODRec& l : m.LODs) AssignNewIds(l, model.Ids);
  TextureRec ta;
  ta.Name = "a.BMP";
  ta.TransOpacity = 100;
  ta.TransTolerance = 3;
  ta.TransColors = {{0, 0, 0}, {255, 0, 255}};
  TextureRec tb;
  tb.Name = "b.BMP";
  tb.IllumBrightness = 16;
  tb.IllumTolerance = 2;
  tb.IllumColors = {{248, 252, 0}};
  model.Textures = {ta, tb};
  return model;
}

}  // namespace tamsel::test
