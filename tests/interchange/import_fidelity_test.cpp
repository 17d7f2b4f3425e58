// Real files come in right: the same scene at the same size in FBX (centimetres, inches),
// Collada and glTF; concave and bent polygons covered exactly; textures found whatever case
// or separator the tool wrote; texture transforms applied; what cannot be carried told;
// images shared; hostile files refused without hanging or exhausting memory.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <tiny_gltf.h>
#include <unistd.h>

#include <assimp/scene.h>
#include <assimp/Exporter.hpp>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "editing/normals.h"
#include "editing/sample_craft.h"
#include "interchange/model_export.h"
#include "interchange/model_import.h"
#include "interchange/polygon_split.h"
#include "interchange/texture_image.h"
#include "model/file_error.h"
#include "model/file_io.h"
#include "opt/opt_writer.h"
#include "support/gltf_views.h"
#include "support/read_model.h"
#include "support/rich_project.h"
#include "support/temp_dir.h"

namespace tamsel {
namespace {

using namespace test;
namespace fs = std::filesystem;

std::string Warnings(const ModelImportResult& r) {
  std::string all;
  for (const std::string& w : r.warnings) all += w + "\n";
  return all;
}

// The width of the scene across X, whichever side of the axis it lies on.
float LargestX(const ModelImportResult& r) {
  float x = 0;
  for (const MeshRec& m : r.meshes)
    for (const FaceRec& f : m.LODs[0].Faces)
      for (const VertexRec& v : f.Vertices) x = std::max(x, std::abs(v.X));
  return x;
}

// One triangle 100 units wide, as a scene the library's exporters write.
aiScene* Triangle(std::optional<double> unitInCm) {
  auto* s = new aiScene;
  s->mRootNode = new aiNode("root");
  s->mNumMeshes = 1;
  s->mMeshes = new aiMesh*[1];
  auto* m = new aiMesh;
  s->mMeshes[0] = m;
  m->mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
  m->mNumVertices = 3;
  m->mVertices = new aiVector3D[3]{{0, 0, 0}, {100, 0, 0}, {0, 100, 0}};
  m->mNumFaces = 1;
  m->mFaces = new aiFace[1];
  m->mFaces[0].mNumIndices = 3;
  m->mFaces[0].mIndices = new unsigned[3]{0, 1, 2};
  s->mNumMaterials = 1;
  s->mMaterials = new aiMaterial* [1] { new aiMaterial };
  auto* child = new aiNode("tri");
  child->mNumMeshes = 1;
  child->mMeshes = new unsigned[1]{0};
  s->mRootNode->addChildren(1, &child);
  if (unitInCm) {
    s->mMetaData = aiMetadata::Alloc(2);
    s->mMetaData->Set(0, "UnitScaleFactor", *unitInCm);
    s->mMetaData->Set(1, "OriginalUnitScaleFactor", *unitInCm);
  }
  return s;
}

void Export(aiScene* scene, const char* format, const fs::path& out) {
  Assimp::Exporter exporter;
  ASSERT_EQ(exporter.Export(scene, format, out.string()), AI_SUCCESS) << exporter.GetErrorString();
  delete scene;
}

TEST(ImportUnits, TheSameSceneInFbxColladaAndGltfComesInAtTheSameSize) {
  TempDir dir;
  Export(Triangle(1.0), "fbxa", dir / "centimetres.fbx");
  Export(Triangle(2.54), "fbxa", dir / "inches.fbx");
  Export(Triangle(500.0), "fbxa", dir / "fivemetres.fbx");
  // The same triangle in metres for glTF, and in Collada with a centimetre unit element.
  aiScene* metres = Triangle(std::nullopt);
  for (unsigned i = 0; i < 3; ++i) metres->mMeshes[0]->mVertices[i] /= 100;
  Export(metres, "gltf2", dir / "metres.gltf");
  Export(Triangle(std::nullopt), "collada", dir / "plain.dae");
  std::string dae = ReadFileText(dir / "plain.dae");
  const std::size_t unit = dae.find("meter=\"1\"");
  ASSERT_NE(unit, std::string::npos);
  dae.replace(unit, 9, "meter=\"0.01\"");
  WriteFileAtomic(dir / "centimetres.dae", dae);

  const ModelImportOptions asIs{UpAxis::Z, 1, {}, {}, {}};
  EXPECT_NEAR(LargestX(Read(dir / "metres.gltf", asIs)), 1.0f, 1e-5);
  EXPECT_NEAR(LargestX(Read(dir / "centimetres.fbx", asIs)), 1.0f, 1e-5);
  EXPECT_NEAR(LargestX(Read(dir / "centimetres.dae", asIs)), 1.0f, 1e-5);
  EXPECT_NEAR(LargestX(Read(dir / "inches.fbx", asIs)), 2.54f, 1e-5);
  EXPECT_NEAR(LargestX(Read(dir / "fivemetres.fbx", asIs)), 500.0f, 1e-3);
  // --scale multiplies after the file's own unit.
  EXPECT_NEAR(LargestX(Read(dir / "centimetres.fbx", {UpAxis::Z, 3, {}, {}, {}})), 3.0f, 1e-5);
}

// The same tall triangle (1 wide, 4 high) in FBX files whose global settings say Y up and
// Z up: both come in standing on the craft's top (-Z) without being told which.
TEST(ImportAxes, FbxFilesComeInUprightAsTheyDeclare) {
  TempDir dir;
  for (const bool zUp : {false, true}) {
    aiScene* scene = Triangle(1.0);
    aiVector3D* v = scene->mMeshes[0]->mVertices;
    v[0] = {0, 0, 0}, v[1] = {100, 0, 0};
    v[2] = zUp ? aiVector3D(0, 0, 400) : aiVector3D(0, 400, 0);
    aiMetadata* m = scene->mMetaData;
    scene->mMetaData = aiMetadata::Alloc(6);
    scene->mMetaData->Set(0, "UnitScaleFactor", 1.0);
    scene->mMetaData->Set(1, "OriginalUnitScaleFactor", 1.0);
    scene->mMetaData->Set(2, "UpAxis", std::int32_t{zUp ? 2 : 1});
    scene->mMetaData->Set(3, "UpAxisSign", std::int32_t{1});
    scene->mMetaData->Set(4, "FrontAxis", std::int32_t{zUp ? 1 : 2});
    scene->mMetaData->Set(5, "FrontAxisSign", std::int32_t{zUp ? -1 : 1});
    delete m;
    Export(scene, "fbxa", dir / (zUp ? "z.fbx" : "y.fbx"));
  }
  for (const char* file : {"y.fbx", "z.fbx"}) {
    const ModelImportResult r = Read(dir / file);
    float top = 0, bottom = -1;
    for (const VertexRec& c : r.meshes.at(0).LODs[0].Faces.at(0).Vertices)
      top = std::min(top, c.Z), bottom = std::max(bottom, c.Z);
    EXPECT_NEAR(top, -4, 1e-5) << file << ": its top is the craft's top";
    EXPECT_NEAR(bottom, 0, 1e-5) << file;
    EXPECT_EQ(Warnings(r).find("does not say which way is up"), std::string::npos) << file;
  }
  // --up overrides what the file says: the Y-up file taken as Z up lies on its back.
  const ModelImportResult tipped = Read(dir / "y.fbx", {UpAxis::Z, 1, {}, {}, {}});
  float least = 0;
  for (const VertexRec& c : tipped.meshes.at(0).LODs[0].Faces.at(0).Vertices)
    least = std::min(least, c.Z);
  EXPECT_NEAR(least, 0, 1e-5);
  // A format that declares nothing is taken as Y up, and the report says so.
  WriteFileAtomic(dir / "t.obj", "v 0 0 0\nv 1 0 0\nv 0 4 0\nf 1 2 3\n");
  EXPECT_NE(Warnings(Read(dir / "t.obj")).find("Y was taken as up"), std::string::npos);
}

// Meshes the file unwrapped keep their coordinates whatever their material: a plain colour
// gets a small bitmap of its own, shared by the materials of that colour. A mesh without
// coordinates takes a cell of the swatch.
TEST(ImportMaterials, APlainColourKeepsTheUnwrap) {
  TempDir dir;
  WriteFileAtomic(dir / "m.mtl", "newmtl red\nKd 1 0 0\nnewmtl alsored\nKd 1 0 0\n");
  WriteFileAtomic(dir / "u.obj",
                  "mtllib m.mtl\nv 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
                  "vt 0.125 0.25\nvt 0.75 0.25\nvt 0.75 0.875\nvt 0.125 0.875\n"
                  "o A\nusemtl red\nf 1/1 2/2 3/3 4/4\no B\nusemtl alsored\nf 1/1 2/2 3/3\n"
                  "o C\nusemtl red\nf 1 2 3\n");
  const ModelImportResult r = Read(dir / "u.obj");
  ASSERT_EQ(r.meshes.size(), 3u);
  std::set<std::pair<float, float>> uv;
  for (const VertexRec& c : r.meshes[0].LODs[0].Faces[0].Vertices) uv.insert({c.U, c.V});
  EXPECT_EQ(uv, (std::set<std::pair<float, float>>{
                    {0.125f, 0.25f}, {0.75f, 0.25f}, {0.75f, 0.875f}, {0.125f, 0.875f}}));
  const std::string plain = r.meshes[0].LODs[0].Faces[0].TextureNames[0];
  EXPECT_EQ(r.meshes[1].LODs[0].Faces[0].TextureNames[0], plain) << "one bitmap per colour";
  EXPECT_NE(r.meshes[2].LODs[0].Faces[0].TextureNames[0], plain) << "the swatch";
  const Bitmap* bitmap = nullptr;
  for (const auto& [name, b] : r.bitmaps)
    if (name == plain) bitmap = &b;
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->width, 8);
  EXPECT_EQ(bitmap->height, 8);
  const std::uint8_t index = bitmap->texels[0];
  EXPECT_EQ(bitmap->palette[4 * index + 2], 255);  // red
  EXPECT_EQ(bitmap->palette[4 * index + 1], 0);
}

// An STL whose facets carry (0, 0, 0) normals gets normals computed and its hitzone; a file
// of lights alone
// holds no faces and is refused, with no placeholder mesh for its nodes.
TEST(ImportNormals, ZeroNormalsAreComputedHitzonesFittedAndAFileOfLightsIsRefused) {
  TempDir dir;
  WriteFileAtomic(dir / "z.stl",
                  "solid z\nfacet normal 0 0 0\nouter loop\nvertex 0 0 0\nvertex 1 0 0\n"
                  "vertex 0 1 0\nendloop\nendfacet\nendsolid z\n");
  const ModelImportResult r = Read(dir / "z.stl", {UpAxis::Z, 1, {}, {}, {}});
  const FaceRec& facet = r.meshes.at(0).LODs[0].Faces.at(0);
  for (int k = 0; k < facet.CornerCount(); ++k) {
    const VertexRec& c = facet.Vertices[static_cast<std::size_t>(k)];
    const float length = std::sqrt(c.I * c.I + c.J * c.J + c.K * c.K);
    EXPECT_NEAR(length, 1, 1e-5);
    EXPECT_NEAR(c.K, -1, 1e-5) << "out of the face's top, as its winding says";
  }
  // Its hitzone is its box, as Calculate > Hitzones makes it.
  const MeshRec& solid = r.meshes.at(0);
  EXPECT_EQ(solid.Min, solid.LODs[0].BoxMin);
  EXPECT_EQ(solid.Max, solid.LODs[0].BoxMax);
  EXPECT_GT(solid.Span.x, 0);
  auto* lights = new aiScene;
  lights->mRootNode = new aiNode("root");
  auto* lamp = new aiNode("lamp");
  lights->mRootNode->addChildren(1, &lamp);
  lights->mNumLights = 1;
  lights->mLights = new aiLight* [1] { new aiLight };
  lights->mLights[0]->mName = "lamp";
  lights->mLights[0]->mType = aiLightSource_POINT;
  Export(lights, "collada", dir / "lights.dae");
  try {
    Read(dir / "lights.dae");
    ADD_FAILURE() << "a file of lights imported";
  } catch (const FileError& e) {
    EXPECT_NE(std::string(e.what()).find("holds no faces to import"), std::string::npos)
        << e.what();
  }
}

// A PLY whose body ends before its header's face count, and an STL with an empty solid beside
// a full one: what the files hold comes in, no face twice, and the report says so.
TEST(ImportEdges, ATruncatedPlyAndAnEmptySolidBringWhatTheFilesHold) {
  TempDir dir;
  WriteFileAtomic(dir / "t.ply",
                  "ply\nformat ascii 1.0\nelement vertex 4\nproperty float x\nproperty float "
                  "y\nproperty float z\nelement face 5\nproperty list uchar int "
                  "vertex_indices\nend_header\n0 0 0\n1 0 0\n1 1 0\n0 1 0\n3 0 1 2\n3 0 2 3\n");
  const ModelImportResult ply = Read(dir / "t.ply");
  ASSERT_EQ(ply.meshes.size(), 1u);
  EXPECT_EQ(ply.meshes[0].LODs[0].Faces.size(), 2u);
  EXPECT_NE(Warnings(ply).find("ends before the last 3 faces"), std::string::npos) << Warnings(ply);
  WriteFileAtomic(dir / "e.stl",
                  "solid a\nendsolid a\nsolid b\nfacet normal 0 0 1\nouter loop\nvertex 0 0 "
                  "0\nvertex 1 0 0\nvertex 0 1 0\nendloop\nendfacet\nendsolid b\n");
  const ModelImportResult stl = Read(dir / "e.stl");
  ASSERT_EQ(stl.meshes.size(), 1u);
  EXPECT_EQ(stl.meshes[0].LODs[0].Faces.size(), 1u);
  // A modelling tool's own file is refused with the way round it.
  WriteFileAtomic(dir / "scene.blend", std::string("BLENDER-v300"));
  try {
    Read(dir / "scene.blend");
    ADD_FAILURE() << "a .blend file was read";
  } catch (const FileError& e) {
    EXPECT_NE(std::string(e.what()).find("export the scene as glTF from Blender"),
              std::string::npos);
  }
}

double Area(const Single3& a, const Single3& b, const Single3& c, const Single3& up) {
  const double ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
  const double vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
  const double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
  return 0.5 * (nx * up.x + ny * up.y + nz * up.z);  // signed, seen along `up`
}

TEST(PolygonSplit, ConcavePolygonsAreCoveredExactlyWithTheirWindingKept) {
  // An L-shaped hexagon of area 3, counter-clockwise seen from +Z, and the same clockwise.
  std::vector<Single3> l = {{0, 0, 0}, {2, 0, 0}, {2, 1, 0}, {1, 1, 0}, {1, 2, 0}, {0, 2, 0}};
  for (int pass = 0; pass < 2; ++pass) {
    const double sign = pass == 0 ? 1 : -1;
    const auto tris = SplitPolygon(l);
    ASSERT_EQ(tris.size(), 4u);
    double total = 0;
    for (const auto& t : tris) {
      const double a = Area(l[t[0]], l[t[1]], l[t[2]], {0, 0, 1});
      EXPECT_GT(a * sign, 0) << "every triangle faces the polygon's way";
      total += a;
    }
    EXPECT_NEAR(total, 3 * sign, 1e-9) << "no triangle outside the polygon";
    std::reverse(l.begin() + 1, l.end());
  }
  // An arrowhead quad is concave: two triangles of its area (1), not the fan's.
  const std::vector<Single3> arrow = {{0, 0, 0}, {2, 1, 0}, {0, 2, 0}, {1, 1, 0}};
  EXPECT_FALSE(IsFlatConvexQuad(arrow));
  const auto tris = SplitPolygon(arrow);
  ASSERT_EQ(tris.size(), 2u);
  double total = 0;
  for (const auto& t : tris)
    total += std::fabs(Area(arrow[t[0]], arrow[t[1]], arrow[t[2]], {0, 0, 1}));
  EXPECT_NEAR(total, 1.0, 1e-9);
  EXPECT_TRUE(IsFlatConvexQuad({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}));
  EXPECT_FALSE(IsFlatConvexQuad({{0, 0, 0}, {1, 0, 0}, {1, 1, 0.5f}, {0, 1, 0}})) << "bent";
}

// A 4 x 4 square with a 2 x 2 hole, the rings joined by a seam walked both ways: the
// triangles cover the ring (area 12), not the hole, and all face the polygon's way.
TEST(PolygonSplit, ABridgedHoleIsLeftOpenAndALineCoversNothing) {
  TempDir dir;
  WriteFileAtomic(dir / "keyhole.obj",
                  "v 0 0 0\nv 4 0 0\nv 4 4 0\nv 0 4 0\nv 1 1 0\nv 1 3 0\nv 3 3 0\nv 3 1 0\n"
                  "v 0 0 1\nv 1 0 1\nv 2 0 1\nv 3 0 1\nv 4 0 1\n"
                  "o Ring\nf 1 2 3 4 1 5 6 7 8 5\no Line\nf 9 10 11 12 13\n");
  const ModelImportResult r = Read(dir / "keyhole.obj", {UpAxis::Z, 1, {}, {}, {}});
  ASSERT_EQ(r.meshes.size(), 1u) << "the line brings no faces, so no mesh";
  double area = 0;
  for (const FaceRec& f : r.meshes[0].LODs[0].Faces) {
    const auto at = [&](int k) {
      const VertexRec& v = f.Vertices[static_cast<std::size_t>(k)];
      return Single3{v.X, v.Y, v.Z};
    };
    const double a = Area(at(0), at(1), at(2), {0, 0, -1});
    EXPECT_LE(a, 0) << "clockwise seen from the top, as every face of the ring";
    area -= a;
    // No triangle reaches into the hole.
    const float cx = (at(0).x + at(1).x + at(2).x) / 3, cy = (at(0).y + at(1).y + at(2).y) / 3;
    EXPECT_FALSE(cx > 1 && cx < 3 && -cy > 1 && -cy < 3) << cx << "," << cy;
  }
  EXPECT_NEAR(area, 12, 1e-5);
  EXPECT_NE(Warnings(r).find("1 faces whose corners all lie on a line dropped"), std::string::npos)
      << Warnings(r);
}

TEST(PolygonSplit, AnObjWithAConcaveHexagonAndQuadComesInAsCoveringTriangles) {
  TempDir dir;
  WriteFileAtomic(dir / "l.obj",
                  "v 0 0 0\nv 2 0 0\nv 2 1 0\nv 1 1 0\nv 1 2 0\nv 0 2 0\nv 4 0 0\nv 6 1 0\n"
                  "v 4 2 0\nv 5 1 0\nf 1 2 3 4 5 6\nf 7 8 9 10\n");
  const ModelImportResult r = Read(dir / "l.obj", {UpAxis::Z, 1, {}, {}, {}});
  ASSERT_EQ(r.meshes.size(), 1u);
  const auto& faces = r.meshes[0].LODs[0].Faces;
  ASSERT_EQ(faces.size(), 6u);
  double area = 0;
  for (const FaceRec& f : faces) {
    EXPECT_TRUE(f.IsTriangle());
    const auto at = [&](int k) {
      const VertexRec& v = f.Vertices[static_cast<std::size_t>(k)];
      return Single3{v.X, v.Y, v.Z};
    };
    // The file's top (+Z, its faces counter-clockwise seen from there) is the craft's top
    // (-Z): clockwise seen from there, the face normal pointing up.
    const double a = Area(at(0), at(1), at(2), {0, 0, -1});
    EXPECT_LT(a, 0);
    EXPECT_LT(f.Normal.z, -0.99f);
    area -= a;
  }
  EXPECT_NEAR(area, 3 + 1, 1e-5);
  EXPECT_NE(Warnings(r).find("1 bent or concave quads"), std::string::npos) << Warnings(r);
}

TEST(TexturePaths, WrongCaseBackslashesAndForeignFoldersFindTheFileButNeverOutside) {
  TempDir outside, dir;
  fs::create_directories(dir / "Textures");
  const std::vector<std::uint8_t> red = {255, 0, 0, 255}, blue = {0, 0, 255, 255};
  WriteFileAtomic(dir / "Textures" / "hull.png", EncodePng({1, 1, red}));
  WriteFileAtomic(dir / "wing.png", EncodePng({1, 1, blue}));
  WriteFileAtomic(outside / "secret.png", EncodePng({1, 1, blue}));
  WriteFileAtomic(dir / "M.MTL",
                  "newmtl hull\nmap_Kd .\\TEXTURES\\HULL.PNG\n"
                  "newmtl wing\nmap_Kd C:\\Users\\artist\\craft\\wing.png\n"
                  "newmtl secret\nmap_Kd " +
                      (outside / "secret.png").string() + "\n");
  WriteFileAtomic(
      dir / "craft.obj",
      "mtllib m.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\n"
      "o A\nusemtl hull\nf 1 2 3\no B\nusemtl wing\nf 1 2 3\no C\nusemtl secret\nf 1 2 3\n");
  const ModelImportResult r = Read(dir / "craft.obj");
  ASSERT_EQ(r.bitmaps.size(), 3u) << Warnings(r);
  // Named after the image file alone, never after the folders on its way.
  EXPECT_EQ(r.bitmaps[0].first, "craft_hull.BMP");
  EXPECT_EQ(r.bitmaps[0].second.Red(r.bitmaps[0].second.texels[0]), 255);
  EXPECT_EQ(r.bitmaps[1].first, "craft_wing.BMP");
  EXPECT_EQ(r.bitmaps[1].second.Blue(r.bitmaps[1].second.texels[0]), 255);
  // secret.png is outside: the material's colour instead, and a warning.
  EXPECT_NE(r.bitmaps[2].second.Blue(r.bitmaps[2].second.texels[0]), 255);
  EXPECT_NE(Warnings(r).find("outside the model's folder"), std::string::npos) << Warnings(r);
}

// A one-triangle glTF with a base colour image, written with the glTF library.
struct GltfTriangle {
  tinygltf::Model m;
  GltfTriangle(const std::vector<float>& uv, int materials) {
    m.asset.version = "2.0";
    tinygltf::Buffer buffer;
    const auto append = [&](const std::vector<float>& v) { return AppendFloats(m, buffer, v); };
    tinygltf::Accessor pos, tex, colour;
    pos.bufferView = append({0, 0, 0, 1, 0, 0, 0, 1, 0});
    pos.componentType = tex.componentType = colour.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT;
    pos.type = TINYGLTF_TYPE_VEC3, pos.count = 3, pos.minValues = {0, 0, 0},
    pos.maxValues = {1, 1, 0};
    tex.bufferView = append(uv), tex.type = TINYGLTF_TYPE_VEC2, tex.count = 3;
    colour.bufferView = append({1, 0, 0, 1, 0, 1, 0, 1, 0, 0, 1, 1});
    colour.type = TINYGLTF_TYPE_VEC4, colour.count = 3;
    m.accessors = {pos, tex, colour};
    m.buffers.push_back(buffer);
    tinygltf::Image image;
    image.uri = "hull.png";
    m.images = {image};
    m.textures.resize(1);
    m.textures[0].source = 0;
    for (int i = 0; i < materials; ++i) {
      tinygltf::Material material;
      material.name = "paint" + std::to_string(i);
      material.pbrMetallicRoughness.baseColorTexture.index = 0;
      m.materials.push_back(material);
      tinygltf::Mesh mesh;
      tinygltf::Primitive p;
      p.attributes = {{"POSITION", 0}, {"TEXCOORD_0", 1}};
      p.material = i;
      p.mode = TINYGLTF_MODE_TRIANGLES;
      mesh.primitives = {p};
      m.meshes.push_back(mesh);
      tinygltf::Node node;
      node.mesh = i;
      node.name = "part" + std::to_string(i);
      m.nodes.push_back(node);
    }
    m.scenes.resize(1);
    for (int i = 0; i < materials; ++i) m.scenes[0].nodes.push_back(i);
  }
  void Write(const fs::path& path) {
    std::vector<std::uint8_t> pixels;
    for (int i = 0; i < 16; ++i) pixels.insert(pixels.end(), {200, 100, 50, 255});
    WriteFileAtomic(path.parent_path() / "hull.png", EncodePng({4, 4, pixels}));
    tinygltf::TinyGLTF io;
    ASSERT_TRUE(io.WriteGltfSceneToFile(&m, path.string(), false, false, true, false));
  }
};

TEST(GltfFidelity, TextureTransformsAreAppliedToTheCoordinates) {
  TempDir dir;
  GltfTriangle plain({0, 0, 1, 0, 0, 1}, 1);
  plain.Write(dir / "plain.gltf");
  GltfTriangle moved({0, 0, 1, 0, 0, 1}, 1);
  tinygltf::Value::Object transform;
  transform["offset"] =
      tinygltf::Value(tinygltf::Value::Array{tinygltf::Value(0.5), tinygltf::Value(0.25)});
  transform["scale"] =
      tinygltf::Value(tinygltf::Value::Array{tinygltf::Value(2.0), tinygltf::Value(3.0)});
  moved.m.materials[0].pbrMetallicRoughness.baseColorTexture.extensions["KHR_texture_transform"] =
      tinygltf::Value(transform);
  moved.m.extensionsUsed = {"KHR_texture_transform"};
  moved.Write(dir / "moved.gltf");
  const FaceRec a = Read(dir / "plain.gltf").meshes[0].LODs[0].Faces[0];
  const FaceRec b = Read(dir / "moved.gltf").meshes[0].LODs[0].Faces[0];
  // glTF: uv' = offset + scale * uv, with V measured from the top; here V is from the bottom.
  for (int k = 0; k < 3; ++k) {
    const VertexRec &p = a.Vertices[static_cast<std::size_t>(k)],
                    &q = b.Vertices[static_cast<std::size_t>(k)];
    const float u = p.U, vTop = 1 - p.V;
    EXPECT_NEAR(q.U, 0.5f + 2 * u, 1e-5) << k;
    EXPECT_NEAR(1 - q.V, 0.25f + 3 * vTop, 1e-5) << k;
  }
}

TEST(GltfFidelity, MaterialsOnOneImageShareABitmapAndLossesAreCounted) {
  TempDir dir;
  GltfTriangle two({0, 0, 1, 0, 0, 1}, 2);
  for (tinygltf::Mesh& mesh : two.m.meshes) mesh.primitives[0].attributes["COLOR_0"] = 2;
  two.Write(dir / "two.gltf");
  const ModelImportResult r = Read(dir / "two.gltf");
  ASSERT_EQ(r.meshes.size(), 2u);
  ASSERT_EQ(r.bitmaps.size(), 1u);
  ASSERT_EQ(r.textures.size(), 1u);
  EXPECT_EQ(r.bitmaps[0].first, "two_hull.BMP");
  for (const MeshRec& mesh : r.meshes)
    EXPECT_EQ(mesh.LODs[0].Faces[0].TextureNames[0], "two_hull.BMP");
  EXPECT_NE(Warnings(r).find("2 meshes with vertex colours"), std::string::npos) << Warnings(r);
}

TEST(HostileModels, AFifoNamedByTheModelIsNeverOpenedAndAHugeImageIsRefusedFromItsHeader) {
  TempDir dir;
  ASSERT_EQ(mkfifo((dir / "m.mtl").c_str(), 0600), 0);
  ASSERT_EQ(mkfifo((dir / "pipe.png").c_str(), 0600), 0);
  WriteFileAtomic(dir / "n.mtl", std::string("newmtl a\nmap_Kd pipe.png\n"));
  WriteFileAtomic(
      dir / "f.obj",
      std::string("mtllib m.mtl\nmtllib n.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nusemtl a\nf 1 2 3\n"));
  alarm(60);  // a hang fails the test instead of stalling the run
  const ModelImportResult r = Read(dir / "f.obj");
  alarm(0);
  EXPECT_EQ(r.meshes.size(), 1u);

  // A PNG header claiming 16384 x 16384 pixels, with nothing behind it.
  Bytes png = {0x89, 'P',  'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0,
               0,    0x40, 0,   0,   0,    0x40, 0,    8,    6, 0, 0, 0,  0,   0,   0,   0};
  std::string error;
  try {
    DecodeImage(png, "huge.png");
  } catch (const FileError& e) {
    error = e.what();
  }
  EXPECT_NE(error.find("huge.png: the image is too large (16384 x 16384"), std::string::npos)
      << error;
}

TEST(HostileModels, ManyPlainColoursShareSwatchBitmapsEachFaceInItsColoursColumn) {
  TempDir dir;
  std::string mtl, obj = "mtllib m.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\n";
  for (int i = 0; i < 600; ++i) {
    mtl += "newmtl m" + std::to_string(i) + "\nKd " + std::to_string(i % 200 / 255.0) + " " +
           std::to_string(i / 200 / 255.0) + " 1\n";
    obj += "usemtl m" + std::to_string(i) + "\nf 1 2 3\n";
  }
  WriteFileAtomic(dir / "m.mtl", mtl);
  WriteFileAtomic(dir / "many.obj", obj);
  const ModelImportResult r = Read(dir / "many.obj");
  ASSERT_EQ(r.bitmaps.size(), 3u);  // 256 + 256 + 88 colours
  ASSERT_EQ(r.textures.size(), 3u);
  std::map<std::string, const Bitmap*> byName;
  for (const auto& [name, bitmap] : r.bitmaps) byName[name] = &bitmap;
  ASSERT_EQ(r.meshes.size(), 1u);
  const auto& faces = r.meshes[0].LODs[0].Faces;
  ASSERT_EQ(faces.size(), 600u);
  for (std::size_t i = 0; i < faces.size(); ++i) {
    const Bitmap& b = *byName.at(faces[i].TextureNames[0]);
    const VertexRec& v = faces[i].Vertices[2];
    const std::uint8_t k = b.texels[static_cast<std::size_t>(
        static_cast<int>(v.V * b.height) * b.width + static_cast<int>(v.U * b.width))];
    EXPECT_EQ(b.Red(k), i % 200) << i;
    EXPECT_EQ(b.Green(k), i / 200) << i;
    EXPECT_EQ(b.Blue(k), 255) << i;
  }
}

TEST(ObjExport, ImagesCarryTheTransparentColoursAlphaAndAreNamedWithoutTheBitmapsExtension) {
  TempDir dir;
  Model model = RichProject(dir);
  Bitmap half = PlainBitmap(4, 4);
  for (std::size_t i = 0; i < half.palette.size(); ++i) half.palette[i] = 0;
  for (int c = 0; c < 3; ++c) half.palette[static_cast<std::size_t>(4 + c)] = 255;
  for (std::size_t i = 0; i < half.texels.size(); ++i) half.texels[i] = i % 2;  // black, white
  WriteFileAtomic(dir / "a.BMP", EncodeBitmap(half));
  WriteObj(model, ProjectBitmaps(model), dir / "craft.obj");
  EXPECT_FALSE(fs::exists(dir / "craft_a.BMP.png"));
  const RgbaImage a = DecodeImage(ReadFileBytes(dir / "craft_a.png"), "craft_a.png");
  ASSERT_EQ(a.rgba.size(), 4u * 16);
  for (std::size_t i = 0; i < 16; ++i)  // black is a transparent colour of opacity 100
    EXPECT_EQ(a.rgba[4 * i + 3], i % 2 ? 255 : 100) << i;
  const std::string mtl = ReadFileText(dir / "craft.mtl");
  EXPECT_NE(mtl.find("map_Kd craft_a.png\nmap_d craft_a.png"), std::string::npos) << mtl;
  EXPECT_NE(mtl.find("map_Kd craft_b.png"), std::string::npos) << mtl;
}

TEST(OwnGltf, ALargeCraftIsRecognisedByItsJsonAndComesBackWhole) {
  TempDir dir;
  Model craft;
  SampleOptions o;
  o.meshes = 200, o.faces = 16, o.textures = 2, o.size = 8;
  GenerateSample(craft, dir / "s200", o);
  int hardpoints = 0, glows = 0;
  for (const MeshRec& m : craft.Meshes)
    hardpoints += m.HardpointCount(), glows += m.EngineGlowCount();
  ASSERT_GT(hardpoints, 0);
  for (const char* name : {"s200.glb", "s200.gltf"}) {
    ExportModel(craft, ProjectBitmaps(craft), dir / name);
    const ModelImportResult r = Read(dir / name);
    ASSERT_EQ(r.meshes.size(), 200u) << name;
    int h = 0, g = 0, quads = 0;
    for (const MeshRec& m : r.meshes) {
      h += m.HardpointCount(), g += m.EngineGlowCount();
      EXPECT_EQ(m.LODCount(), 2) << name;
      for (const FaceRec& f : m.LODs[0].Faces) quads += !f.IsTriangle();
    }
    EXPECT_EQ(h, hardpoints) << name;
    EXPECT_EQ(g, glows) << name;
    EXPECT_GT(quads, 0) << name;
  }
  // What the standard attributes carry exactly, and the normals and vectors the reader makes
  // from the corners, are not written twice: a craft whose face normals and software vectors
  // are calculated comes back bit for bit from a file of its geometry alone.
  Model computed = craft;
  CalculateFaceNormals(computed);
  CalculateSoftwareVectors(computed);
  for (MeshRec& m : computed.Meshes.EditAll())
    for (LODRec& l : m.LODs)
      for (FaceRec& f : l.Faces) {
        f.Vector2 = {0, 0, 0};
        for (float* c :
             {&f.Normal.x, &f.Normal.y, &f.Normal.z, &f.Vector1.x, &f.Vector1.y, &f.Vector1.z})
          if (*c == 0) *c = 0;  // as a project file keeps a zero
      }
  ExportModel(computed, ProjectBitmaps(computed), dir / "lean.gltf");
  const std::string json = ReadFileText(dir / "lean.gltf");
  EXPECT_EQ(json.find("\"faces\""), std::string::npos);
  const ModelImportResult lean = Read(dir / "lean.gltf");
  ASSERT_EQ(lean.meshes.size(), computed.Meshes.size());
  for (std::size_t m = 0; m < lean.meshes.size(); ++m)
    for (std::size_t l = 0; l < lean.meshes[m].LODs.size(); ++l) {
      const auto &was = computed.Meshes[m].LODs[l].Faces, &is = lean.meshes[m].LODs[l].Faces;
      ASSERT_EQ(is.size(), was.size());
      for (std::size_t f = 0; f < was.size(); ++f) {
        EXPECT_EQ(std::memcmp(&is[f].Normal, &was[f].Normal, sizeof(Single3)), 0);
        EXPECT_EQ(std::memcmp(&is[f].Vector1, &was[f].Vector1, sizeof(Single3)), 0);
        EXPECT_EQ(std::memcmp(&is[f].Vector2, &was[f].Vector2, sizeof(Single3)), 0);
        for (std::size_t k = 0; k < 4; ++k) {
          const VertexRec &a = is[f].Vertices[k], &b = was[f].Vertices[k];
          EXPECT_TRUE(a.X == b.X && a.Y == b.Y && a.Z == b.Z && a.U == b.U && a.V == b.V &&
                      a.I == b.I && a.J == b.J && a.K == b.K)
              << m << " " << l << " " << f << " " << k;
        }
      }
    }
  // Another tool's file that merely mentions the word is not taken for ours.
  GltfTriangle foreign({0, 0, 1, 0, 0, 1}, 1);
  foreign.m.nodes[0].name = "\"tamsel\"";
  foreign.Write(dir / "foreign.gltf");
  EXPECT_EQ(Read(dir / "foreign.gltf").meshes[0].LODCount(), 1);
}

}  // namespace
}  // namespace tamsel

namespace tamsel {
namespace {

// A cube without normals: the plain mean rounds its corners; smoothed by 30 degrees its sides
// stay flat.
TEST(ImportNormals, AFileWithoutNormalsCanBeSmoothedByAngle) {
  test::TempDir dir;
  WriteFileAtomic(dir / "cube.obj",
                  std::string_view("v -1 -1 -1\nv 1 -1 -1\nv 1 1 -1\nv -1 1 -1\n"
                                   "v -1 -1 1\nv 1 -1 1\nv 1 1 1\nv -1 1 1\n"
                                   "f 1 4 3 2\nf 5 6 7 8\nf 1 2 6 5\nf 2 3 7 6\nf 3 4 8 7\n"
                                   "f 4 1 5 8\n"));
  ModelImportOptions options;
  options.up = UpAxis::Y;
  const ModelImportResult plain = test::Read(dir / "cube.obj", options);
  options.smoothAngle = 30;
  const ModelImportResult smooth = test::Read(dir / "cube.obj", options);
  ASSERT_EQ(smooth.meshes.size(), 1u);
  for (const FaceRec& f : smooth.meshes[0].LODs[0].Faces)
    for (int k = 0; k < f.CornerCount(); ++k) {
      const VertexRec& v = f.Vertices[static_cast<std::size_t>(k)];
      // Every corner's normal is its side's: one coordinate 1 or -1, the others 0.
      EXPECT_NEAR(std::abs(v.I) + std::abs(v.J) + std::abs(v.K), 1, 1e-5);
      EXPECT_NEAR(v.I * f.Normal.x + v.J * f.Normal.y + v.K * f.Normal.z, 1, 1e-5);
    }
  const VertexRec& round = plain.meshes[0].LODs[0].Faces[0].Vertices[0];
  EXPECT_GT(std::min({std::abs(round.I), std::abs(round.J), std::abs(round.K)}), 0.3f)
      << "the plain mean points across the corner";
}

}  // namespace
}  // namespace tamsel
