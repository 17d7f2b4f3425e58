// Models in and out: round trips through glTF and OBJ, files written by hand and by the
// import library's own exporters, paths that try to leave the model's folder, images.
#include <gtest/gtest.h>
#include <tiny_gltf.h>

#include <assimp/scene.h>
#include <algorithm>
#include <assimp/Exporter.hpp>
#include <assimp/Importer.hpp>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "editing/normals.h"
#include "interchange/model_export.h"
#include "interchange/model_import.h"
#include "interchange/own_gltf.h"
#include "model/file_error.h"
#include "model/file_io.h"
#include "model/project.h"
#include "opt/bitmap.h"
#include "opt/opt_import.h"
#include "opt/opt_writer.h"
#include "support/gltf_views.h"
#include "support/model_builders.h"
#include "support/opt_bytes.h"
#include "support/read_model.h"
#include "support/rich_project.h"
#include "support/temp_dir.h"

namespace tamsel {
namespace {

using namespace test;
namespace fs = std::filesystem;

const Bitmap& BitmapNamed(const ModelImportResult& r, const std::string& name) {
  for (const auto& [n, b] : r.bitmaps)
    if (n == name) return b;
  throw std::runtime_error("no bitmap " + name);
}

// The colour of every texel, the way a viewer sees the texture.
std::vector<std::array<int, 3>> Pixels(const Bitmap& b) {
  std::vector<std::array<int, 3>> out;
  for (std::uint8_t k : b.texels) out.push_back({b.Red(k), b.Green(k), b.Blue(k)});
  return out;
}

void ExpectSameCorners(const LODRec& a, const LODRec& b, float tolerance) {
  ASSERT_EQ(a.Faces.size(), b.Faces.size());
  for (std::size_t f = 0; f < a.Faces.size(); ++f) {
    ASSERT_EQ(a.Faces[f].CornerCount(), b.Faces[f].CornerCount()) << f;
    for (int k = 0; k < 4; ++k) {
      const VertexRec &x = a.Faces[f].Vertices[static_cast<std::size_t>(k)],
                      &y = b.Faces[f].Vertices[static_cast<std::size_t>(k)];
      for (const auto& [p, q] :
           {std::pair{x.X, y.X}, {x.Y, y.Y}, {x.Z, y.Z}, {x.U, y.U}, {x.V, y.V}})
        if (tolerance == 0) {
          EXPECT_EQ(p, q) << "face " << f << " corner " << k;
        } else {
          EXPECT_NEAR(p, q, tolerance) << "face " << f << " corner " << k;
        }
      for (const auto& [p, q] : {std::pair{x.I, y.I}, {x.J, y.J}, {x.K, y.K}})
        EXPECT_NEAR(p, q, 1e-6) << "face " << f << " corner " << k;
    }
    EXPECT_EQ(a.Faces[f].TextureNames[0], b.Faces[f].TextureNames[0]);
  }
}

TEST(GltfRoundTrip, AProjectComesBackWithEverythingTheEditorKeeps) {
  for (const char* name : {"craft.gltf", "craft.glb"}) {
    TempDir dir;
    const Model model = RichProject(dir);
    WriteGltf(model, ProjectBitmaps(model), dir / name);
    const ModelImportResult back = Read(dir / name);
    ASSERT_EQ(back.meshes.size(), model.Meshes.size()) << name;
    for (std::size_t m = 0; m < model.Meshes.size(); ++m) {
      const MeshRec &a = model.Meshes[m], &b = back.meshes[m];
      EXPECT_EQ(b.Name, a.Name);
      ExpectSameFeatures(a, b);  // types, target id, hitzone, rotation, hardpoints, glows
      ASSERT_EQ(b.LODs.size(), a.LODs.size()) << name;
      for (std::size_t l = 0; l < a.LODs.size(); ++l) {
        EXPECT_EQ(b.LODs[l].Distance, a.LODs[l].Distance);
        ExpectSameCorners(a.LODs[l], b.LODs[l], 0);
        for (std::size_t f = 0; f < a.LODs[l].Faces.size(); ++f) {
          EXPECT_EQ(b.LODs[l].Faces[f].TextureNames, a.LODs[l].Faces[f].TextureNames);
          EXPECT_EQ(b.LODs[l].Faces[f].Normal, a.LODs[l].Faces[f].Normal);
          EXPECT_EQ(b.LODs[l].Faces[f].Vector2, a.LODs[l].Faces[f].Vector2);
        }
      }
    }
    ASSERT_EQ(back.textures.size(), model.Textures.size());
    for (std::size_t t = 0; t < model.Textures.size(); ++t) {
      const TextureRec &a = model.Textures[t], &b = back.textures[t];
      EXPECT_EQ(b.Name, a.Name);
      EXPECT_EQ(b.TransOpacity, a.TransOpacity);
      EXPECT_EQ(b.TransTolerance, a.TransTolerance);
      EXPECT_EQ(b.TransColors, a.TransColors);
      EXPECT_EQ(b.IllumBrightness, a.IllumBrightness);
      EXPECT_EQ(b.IllumColors, a.IllumColors);
      const Bitmap original = DecodeBitmap(ReadFileBytes(dir / a.Name), a.Name);
      EXPECT_EQ(Pixels(BitmapNamed(back, b.Name)), Pixels(original)) << b.Name;
    }
  }
}

TEST(ObjRoundTrip, HighLevelsComeBackWithTheirCornersNormalsAndPixels) {
  TempDir dir;
  const Model model = RichProject(dir);
  WriteObj(model, ProjectBitmaps(model), dir / "craft.obj");
  const ModelImportResult back = Read(dir / "craft.obj");
  ASSERT_EQ(back.meshes.size(), model.Meshes.size());
  for (std::size_t m = 0; m < model.Meshes.size(); ++m) {
    std::string name = model.Meshes[m].Name;
    std::replace(name.begin(), name.end(), ' ', '_');  // OBJ names are one word
    EXPECT_EQ(back.meshes[m].Name, name);
    ASSERT_EQ(back.meshes[m].LODs.size(), 1u);
    // Names differ (the bitmaps are named after the file), so compare by first texture.
    LODRec expected = model.Meshes[m].LODs[0];
    for (std::size_t f = 0; f < expected.Faces.size(); ++f)
      expected.Faces[f].TextureNames[0] = back.meshes[m].LODs[0].Faces[f].TextureNames[0];
    ExpectSameCorners(expected, back.meshes[m].LODs[0], 0);
  }
  // Each texture comes back with its pixels, under a name of the import's.
  ASSERT_EQ(back.bitmaps.size(), 2u);
  const Bitmap a = DecodeBitmap(ReadFileBytes(dir / "a.BMP"), "a");
  EXPECT_EQ(Pixels(back.bitmaps[0].second), Pixels(a));
}

TEST(ModelImport, ObjWrittenByHandQuadsPolygonsMissingFilesAndHostilePaths) {
  TempDir outside;
  TempDir dir;
  WriteFileAtomic(outside / "x.png", EncodePng({1, 1, {255, 0, 0, 255}}));
  WriteFileAtomic(dir / "m.mtl", "newmtl up\nmap_Kd ../" + outside.path().filename().string() +
                                     "/x.png\nnewmtl abs\nmap_Kd " + (outside / "x.png").string() +
                                     "\nnewmtl plain\nKd 0 1 0\n");
  WriteFileAtomic(dir / "cube.obj",
                  "mtllib m.mtl\nmtllib missing.mtl\n"
                  "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0.5 1.5 0\n"
                  "o Quad\nusemtl up\nf 1 2 3 4\n"
                  "o Penta\nusemtl abs\nf 1 2 3 5 4\n"
                  "o Tri\nusemtl plain\nf 1 2 3\nl 1 2\n");
  const ModelImportResult r = Read(dir / "cube.obj");
  ASSERT_EQ(r.meshes.size(), 3u);
  EXPECT_EQ(r.meshes[0].Name, "Quad");
  ASSERT_EQ(r.meshes[0].LODs[0].Faces.size(), 1u);
  EXPECT_EQ(r.meshes[0].LODs[0].Faces[0].CornerCount(), 4);
  EXPECT_EQ(r.meshes[1].LODs[0].Faces.size(), 3u);  // the pentagon as a fan
  const FaceRec& tri = r.meshes[2].LODs[0].Faces[0];
  EXPECT_TRUE(tri.IsTriangle());
  // The file's up (+Y) is the craft's top (-Z) and its front (+Z) our nose (+Y): a turn of
  // the axes, with the corners in reverse order (corner 0 first) so that the file's
  // counter-clockwise face is clockwise here, seen from the same side.
  EXPECT_EQ(tri.Vertices[1].X, 1.0f);
  EXPECT_EQ(tri.Vertices[1].Z, -1.0f);
  EXPECT_EQ(tri.Vertices[2].X, 1.0f);
  EXPECT_EQ(tri.Vertices[2].Z, 0.0f);
  // Normals were computed as Calculate would, pointing out of the front side (+Z in the file,
  // +Y here).
  EXPECT_NEAR(tri.Vertices[0].J, 1.0f, 1e-6);
  // Neither image outside the folder was read: every material is a plain colour, a column
  // of one swatch bitmap, and each face's corners sit in its colour's column.
  std::string all;
  for (const std::string& w : r.warnings) all += w + "\n";
  EXPECT_NE(all.find("outside the model's folder"), std::string::npos) << all;
  EXPECT_NE(all.find("triangulated"), std::string::npos) << all;
  EXPECT_NE(all.find("lines and points skipped"), std::string::npos) << all;
  ASSERT_EQ(r.bitmaps.size(), 1u);
  const Bitmap& swatch = BitmapNamed(r, "cube_colours.BMP");
  EXPECT_EQ(swatch.width, 256);
  const auto colourAt = [&](const VertexRec& v) {
    const int column = static_cast<int>(v.U * static_cast<float>(swatch.width));
    const int row = static_cast<int>(v.V * static_cast<float>(swatch.height));
    return swatch.texels[static_cast<std::size_t>(row * swatch.width + column)];
  };
  for (const MeshRec& mesh : r.meshes)
    for (const FaceRec& f : mesh.LODs[0].Faces)
      EXPECT_NE(swatch.Red(colourAt(f.Vertices[0])), 255) << "the red image outside was read";
  const std::uint8_t green = colourAt(tri.Vertices[1]);
  EXPECT_EQ(swatch.Green(green), 255);
  EXPECT_EQ(swatch.Red(green), 0);
  for (const VertexRec& v : tri.Vertices) EXPECT_EQ(colourAt(v), green);
}

// A glTF file of another tool, made with the glTF library: a node hierarchy with
// transforms, an embedded true-colour texture of 1000 x 600 and an external one with alpha.
void WriteForeignGltf(const fs::path& path) {
  tinygltf::Model m;
  m.asset.version = "2.0";
  std::vector<float> positions = {0, 0, 0, 1, 0, 0, 1, 1, 0}, uv = {0, 0, 1, 0, 1, 1};
  tinygltf::Buffer buffer;
  const auto append = [&](const std::vector<float>& v) { return AppendFloats(m, buffer, v); };
  tinygltf::Accessor pos;
  pos.bufferView = append(positions), pos.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT;
  pos.type = TINYGLTF_TYPE_VEC3, pos.count = 3, pos.minValues = {0, 0, 0},
  pos.maxValues = {1, 1, 0};
  tinygltf::Accessor tex;
  tex.bufferView = append(uv), tex.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT;
  tex.type = TINYGLTF_TYPE_VEC2, tex.count = 3;
  const std::vector<float> order = {0, 0, 0};  // room for three 32-bit indices
  tinygltf::Accessor indices;
  indices.bufferView = append(order), indices.componentType = TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT;
  indices.type = TINYGLTF_TYPE_SCALAR, indices.count = 3;
  const std::uint32_t tri[3] = {0, 1, 2};
  std::memcpy(&buffer.data[buffer.data.size() - 12], tri, 12);
  m.accessors = {pos, tex, indices};
  tinygltf::Image big;
  big.width = 1000, big.height = 600, big.component = 4, big.bits = 8;
  big.pixel_type = TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE;
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 1000; ++x)
      big.image.insert(big.image.end(),
                       {static_cast<unsigned char>(x % 256), static_cast<unsigned char>(y % 256),
                        static_cast<unsigned char>((x * y) % 256), 255});
  // The big image embedded in the buffer, the small one a file beside the model.
  const Bytes png = EncodePng({1000, 600, big.image});
  big.image.clear();
  big.mimeType = "image/png";
  {
    const std::size_t at = buffer.data.size();
    buffer.data.insert(buffer.data.end(), png.begin(), png.end());
    tinygltf::BufferView view;
    view.buffer = 0, view.byteOffset = at, view.byteLength = png.size();
    m.bufferViews.push_back(view);
    big.bufferView = static_cast<int>(m.bufferViews.size()) - 1;
  }
  m.buffers.push_back(buffer);
  std::vector<std::uint8_t> holesPixels(64, 200);
  for (int i = 0; i < 4; ++i)
    holesPixels[static_cast<std::size_t>(4 * i + 3)] = 0;  // top row clear
  WriteFileAtomic(path.parent_path() / "holes.png", EncodePng({4, 4, holesPixels}));
  tinygltf::Image holes;
  holes.uri = "holes.png";
  m.images = {big, holes};
  m.textures.resize(2);
  m.textures[0].source = 0, m.textures[1].source = 1;
  m.materials.resize(2);
  m.materials[0].name = "Big";
  m.materials[0].pbrMetallicRoughness.baseColorTexture.index = 0;
  m.materials[1].name = "Holes";
  m.materials[1].pbrMetallicRoughness.baseColorTexture.index = 1;
  for (int i = 0; i < 2; ++i) {
    tinygltf::Mesh mesh;
    mesh.name = "Part" + std::to_string(i);
    tinygltf::Primitive p;
    p.attributes = {{"POSITION", 0}, {"TEXCOORD_0", 1}};
    p.indices = 2;
    p.mode = TINYGLTF_MODE_TRIANGLES;
    p.material = i;
    mesh.primitives = {p};
    m.meshes.push_back(mesh);
  }
  tinygltf::Node parent, child;
  parent.name = "Body", parent.mesh = 0, parent.translation = {10, 0, 0}, parent.children = {1};
  child.name = "Fin", child.mesh = 1, child.scale = {2, 2, 2};
  m.nodes = {parent, child};
  m.scenes.resize(1);
  m.scenes[0].nodes = {0};
  tinygltf::TinyGLTF io;
  ASSERT_TRUE(io.WriteGltfSceneToFile(&m, path.string(), false, true, true, false));
}

// What the import cannot read is told: an extension it does not know, an embedded image it
// cannot decode (named for a person, not "*0").
TEST(ModelImport, WhatAForeignGltfHoldsThatCannotBeReadIsTold) {
  TempDir dir;
  WriteForeignGltf(dir / "ship.gltf");
  tinygltf::TinyGLTF io;
  tinygltf::Model m;
  std::string error, warning;
  ASSERT_TRUE(io.LoadASCIIFromFile(&m, &error, &warning, (dir / "ship.gltf").string()));
  m.extensionsUsed.push_back("KHR_techniques_webgl");
  const tinygltf::BufferView& view =
      m.bufferViews[static_cast<std::size_t>(m.images[0].bufferView)];
  std::fill_n(m.buffers[0].data.begin() + static_cast<std::ptrdiff_t>(view.byteOffset), 16, 0);
  ASSERT_TRUE(io.WriteGltfSceneToFile(&m, (dir / "ship.gltf").string(), false, true, true, false));
  ModelImportOptions options;
  options.texture.maxSize = 256;
  const ModelImportResult r = Read(dir / "ship.gltf", options);
  std::string all;
  for (const std::string& w : r.warnings) all += w + "\n";
  EXPECT_NE(all.find("KHR_techniques_webgl"), std::string::npos) << all;
  EXPECT_NE(all.find("embedded image 1 of ship.gltf"), std::string::npos) << all;
  EXPECT_EQ(all.find("*0"), std::string::npos) << all;
}

TEST(ModelImport, ForeignGltfWithTransformsEmbeddedAndExternalImagesAndAlpha) {
  TempDir dir;
  WriteForeignGltf(dir / "ship.gltf");
  ModelImportOptions options;
  options.texture.maxSize = 256;
  const ModelImportResult r = Read(dir / "ship.gltf", options);
  ASSERT_EQ(r.meshes.size(), 2u);
  EXPECT_EQ(r.meshes[0].Name, "Body");
  EXPECT_EQ(r.meshes[1].Name, "Fin");
  // The child inherits the parent's translation and scales its own corners: (1,1,0) ->
  // (10 + 2, 2, 0) in the file, (12, 0, -2) here.
  const auto& fin = r.meshes[1].LODs[0].Faces[0];
  bool found = false;
  for (int k = 0; k < 3; ++k)
    found = found || (fin.Vertices[static_cast<std::size_t>(k)].X == 12 &&
                      fin.Vertices[static_cast<std::size_t>(k)].Z == -2);
  EXPECT_TRUE(found);
  const Bitmap& big = BitmapNamed(r, "ship_Big.BMP");
  EXPECT_EQ(big.width, 256);
  EXPECT_EQ(big.height, 256);
  const TextureRec& holes = r.textures[1];
  ASSERT_EQ(holes.TransColors.size(), 1u);
  EXPECT_EQ(holes.TransOpacity, 0);
  std::string all;
  for (const std::string& w : r.warnings) all += w + "\n";
  EXPECT_NE(all.find("resampled from 1000 x 600 to 256 x 256"), std::string::npos) << all;
  EXPECT_NE(all.find("reduced to"), std::string::npos) << all;
}

TEST(ModelImport, TheImportLibrarysOwn3dsAndFbxFilesComeIn) {
  TempDir dir;
  const Model model = RichProject(dir);
  WriteObj(model, ProjectBitmaps(model), dir / "craft.obj");
  Assimp::Importer importer;
  const aiScene* scene = importer.ReadFile((dir / "craft.obj").string(), 0);
  ASSERT_NE(scene, nullptr);
  Assimp::Exporter exporter;
  for (const char* format : {"3ds", "fbxa"}) {
    const fs::path out =
        dir / (std::string("craft.") + (format == std::string("fbxa") ? "fbx" : format));
    ASSERT_EQ(exporter.Export(scene, format, out.string()), AI_SUCCESS) << format;
    const ModelImportResult r = Read(out);
    std::size_t faces = 0;
    for (const MeshRec& m : r.meshes) faces += m.LODs[0].Faces.size();
    EXPECT_GE(faces, 3u) << format;
    // Coordinates within the craft's box, whatever unit the format carried.
    for (const MeshRec& m : r.meshes)
      for (const FaceRec& f : m.LODs[0].Faces)
        for (const VertexRec& v : f.Vertices) EXPECT_LE(std::fabs(v.X), 12.0f) << format;
  }
}

TEST(ModelImport, FacesComeInWithTheirFrontOutwardAndAFileThatCannotBeReadChangesNothing) {
  TempDir dir;
  // A cube with counter-clockwise faces seen from outside, as every format has them.
  WriteFileAtomic(dir / "cube.obj",
                  "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 1\nv 1 0 1\nv 1 1 1\nv 0 1 1\n"
                  "f 1 4 3 2\nf 5 6 7 8\nf 1 2 6 5\nf 2 3 7 6\nf 3 4 8 7\nf 4 1 5 8\n");
  const Single3 centre = FromFileAxes(0.5f, 0.5f, 0.5f, UpAxis::Y);
  // The import computes the face normals itself, and they survive the OPT file.
  const auto expectOutward = [&](const std::vector<MeshRec>& meshes, const char* where) {
    ASSERT_EQ(meshes.size(), 1u) << where;
    for (const FaceRec& f : meshes[0].LODs[0].Faces) {
      const VertexRec& v = f.Vertices[0];
      const double out = (v.X - centre.x) * f.Normal.x + (v.Y - centre.y) * f.Normal.y +
                         (v.Z - centre.z) * f.Normal.z;
      EXPECT_NEAR(out, 0.5, 1e-6) << where;  // unit length, pointing out
    }
  };
  expectOutward(Read(dir / "cube.obj").meshes, "import");
  fs::create_directories(dir / "p");
  Model project;
  NewProject(project, dir / "p");
  WriteFileAtomic(dir / "broken.glb", std::string("glTF\x02\0\0\0garbage", 15));
  EXPECT_THROW(ImportModel(project, dir / "broken.glb", {}), FileError);
  EXPECT_EQ(project.MeshCount(), 0);
  EXPECT_TRUE(fs::is_empty(dir / "p"));
  std::vector<std::string> warnings;
  ImportModel(project, dir / "cube.obj", {}, nullptr, &warnings);
  EXPECT_EQ(project.MeshCount(), 1);
  std::mt19937 random(1);
  IdCounters ids;
  const Bytes opt = WriteOptBytes(project, ProjectBitmaps(project), random);
  expectOutward(ReadOptImport(opt, "cube.opt", ids, 0).meshes, "OPT file");
  ASSERT_EQ(project.TextureCount(), 1);
  EXPECT_TRUE(fs::exists(dir / "p" / project.Textures[0].Name));
}

TEST(Images, FewColoursStayExactAndTrueColourIsReduced) {
  std::vector<std::string> warnings;
  RgbaImage small{2, 2, {1, 2, 3, 255, 4, 5, 6, 255, 7, 8, 9, 255, 1, 2, 3, 255}};
  const IndexedTexture exact = ToIndexed(small, {}, "small", warnings);
  EXPECT_TRUE(warnings.empty());
  // Top-left texel (1,2,3) is in the bitmap's top row, which it stores last.
  const int k = exact.bitmap.texels[2];
  EXPECT_EQ((std::array<int, 3>{exact.bitmap.Red(k), exact.bitmap.Green(k), exact.bitmap.Blue(k)}),
            (std::array<int, 3>{1, 2, 3}));
  RgbaImage rich{64, 64, {}};
  for (int i = 0; i < 64 * 64; ++i)
    rich.rgba.insert(rich.rgba.end(),
                     {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i / 16),
                      static_cast<std::uint8_t>(i * 7), 255});
  const IndexedTexture reduced = ToIndexed(rich, {256, false}, "rich", warnings);
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find("reduced to"), std::string::npos);
  EXPECT_EQ(reduced.bitmap.texels.size(), 64u * 64u);
}

}  // namespace
}  // namespace tamsel

namespace tamsel {
namespace {

// What another tool sees of an exported craft: the library reads the glTF as any tool
// would. The viewport shows the craft in the game's left-handed axes; the file is
// right-handed, so that the craft looks the same there, nose (+Y) to the front (+Z), top
// to +Y, not mirrored: every corner (x, y, z) at (x, z, y), and each face's corners
// counter-clockwise about its outward side.
TEST(ExportAxes, ACraftComesOutAsTheViewportShowsItNotMirrored) {
  TempDir dir;
  const Model model = RichProject(dir);
  WriteGltf(model, ProjectBitmaps(model), dir / "craft.gltf");
  Assimp::Importer importer;
  const aiScene* scene = importer.ReadFile((dir / "craft.gltf").string(), 0);
  ASSERT_NE(scene, nullptr);
  ASSERT_GE(scene->mNumMeshes, 1u);
  // The first primitive holds the first mesh's high level's first faces, corners in order.
  const aiMesh& file = *scene->mMeshes[0];
  const LODRec& lod = model.Meshes[0].LODs[0];
  unsigned vertex = 0;
  int faces = 0;
  for (const FaceRec& face : lod.Faces) {
    const int n = face.CornerCount();
    if (vertex + static_cast<unsigned>(n) > file.mNumVertices) break;
    for (int k = 0; k < n; ++k) {
      const VertexRec& v = face.Vertices[static_cast<std::size_t>(k)];
      const aiVector3D& p = file.mVertices[vertex + static_cast<unsigned>(k)];
      EXPECT_EQ(p.x, v.X);
      EXPECT_EQ(p.y, v.Z);
      EXPECT_EQ(p.z, v.Y);
    }
    vertex += static_cast<unsigned>(n);
    ++faces;
  }
  ASSERT_GT(faces, 0);
  // Each triangle of the file winds counter-clockwise about the side the face's corners
  // call outward here: -(P1 - P0) x (P2 - P0), mapped into the file's axes.
  for (unsigned t = 0; t < file.mNumFaces; ++t) {
    const aiFace& tri = file.mFaces[t];
    ASSERT_EQ(tri.mNumIndices, 3u);
    const aiVector3D a = file.mVertices[tri.mIndices[0]], b = file.mVertices[tri.mIndices[1]],
                     c = file.mVertices[tri.mIndices[2]];
    const aiVector3D wound = (b - a) ^ (c - a);
    // The same triangle's corners here: the file's mirrored back.
    const auto here = [](const aiVector3D& p) { return aiVector3D(p.x, p.z, p.y); };
    const aiVector3D outward = -((here(b) - here(a)) ^ (here(c) - here(a)));
    const aiVector3D mapped(outward.x, outward.z, outward.y);
    if (wound.Length() == 0) continue;
    EXPECT_GT(wound * mapped, 0) << "triangle " << t;
  }
  // And read back, the corners are where they were.
  const ModelImportResult back = Read(dir / "craft.gltf");
  EXPECT_EQ(back.meshes[0].LODs[0].Faces[0].Vertices, lod.Faces[0].Vertices);
}

}  // namespace
}  // namespace tamsel
