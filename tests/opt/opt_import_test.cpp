#include "opt/opt_import.h"

#include <gtest/gtest.h>

#include <random>

#include "model/bounds.h"
#include "model/file_error.h"
#include "model/file_io.h"
#include "model/project.h"
#include "opt/lod_distance.h"
#include "opt/opt_writer.h"
#include "support/model_builders.h"
#include "support/opt_builder.h"
#include "support/opt_bytes.h"
#include "support/rich_project.h"
#include "support/temp_dir.h"

namespace tamsel {
namespace {

using namespace test;
namespace fs = std::filesystem;

// A project folder holding RichModel and its two bitmaps.
Model ImportIntoNewProject(const fs::path& folder, const fs::path& opt) {
  fs::create_directories(folder);
  Model model;
  NewProject(model, folder);
  ImportOpt(model, opt);
  return model;
}

TEST(OptRoundTrip, ProjectToOptToProjectToOptIsByteIdentical) {
  TempDir dir;
  fs::create_directories(dir / "one");
  Model original = RichProject(dir);
  const Bytes first = [&] {
    std::mt19937 r(9);
    return WriteOptBytes(original, ProjectBitmaps(original), r);
  }();
  WriteFileAtomic(dir / "first.opt", first);
  Model two = ImportIntoNewProject(dir / "two", dir / "first.opt");
  const fs::path second = CreateOpt(two, 9);
  Model three = ImportIntoNewProject(dir / "three", second);
  const fs::path third = CreateOpt(three, 9);
  EXPECT_EQ(ReadFileBytes(second), ReadFileBytes(third));
  // The first file differs only where the import cannot carry the model (texture names
  // and transparency: the original has an alpha node, the imports do not).
  EXPECT_NE(first, ReadFileBytes(second));
}

TEST(OptRoundTrip, TheImportGivesBackTheModelsGeometryAndFeatures) {
  TempDir dir;
  Model original = RichProject(dir);
  CreateOpt(original, 1);
  Model back = ImportIntoNewProject(dir / "back", OptFilePath(original));
  ASSERT_EQ(back.MeshCount(), 2);
  EXPECT_EQ(back.Meshes[0].Name, "MESH 1");
  EXPECT_EQ(back.Meshes[1].Name, "MESH 2");
  for (std::size_t m = 0; m < 2; ++m) {
    const MeshRec &a = original.Meshes[m], &b = back.Meshes[m];
    ExpectSameFeatures(a, b);
    ASSERT_EQ(a.LODCount(), b.LODCount());
    for (std::size_t l = 0; l < a.LODs.size(); ++l) {
      EXPECT_EQ(SwitchFromDistance(a.LODs[l].Distance), SwitchFromDistance(b.LODs[l].Distance));
      ASSERT_EQ(a.LODs[l].FaceCount(), b.LODs[l].FaceCount());
    }
  }
  // Faces come back grouped by texture; RichModel's faces are already in group order.
  const FaceRec &tri = back.Meshes[0].LODs[0].Faces[1], &orig = original.Meshes[0].LODs[0].Faces[1];
  EXPECT_TRUE(tri.IsTriangle());
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(tri.Vertices[k].X, orig.Vertices[k].X);
    EXPECT_EQ(tri.Vertices[k].U, orig.Vertices[k].U);
    EXPECT_EQ(tri.Vertices[k].K, orig.Vertices[k].K);
  }
  EXPECT_NE(tri.Vertices[3].Id, tri.Vertices[0].Id);
  EXPECT_EQ(tri.Normal, orig.Normal);
  EXPECT_EQ(tri.Vector1, Single3{});  // the writer writes texturing directions as 0
  const std::string title = OptTitle(OptFilePath(original));
  EXPECT_EQ(tri.TextureNames[0], title + "_TEX00001.BMP");
  EXPECT_EQ(tri.TextureNames[1], title + "_TEX00000.BMP");
  EXPECT_EQ(tri.TextureNames[2], title + "_TEX00001.BMP");  // BLANK slots take slot 0
  EXPECT_EQ(back.Meshes[0].LODs[0].Faces[0].TextureNames[1], kBlank);
  // Each texture once, as a bitmap with the original's texels.
  ASSERT_EQ(back.TextureCount(), 2);
  EXPECT_EQ(back.Textures[0].Name, title + "_TEX00000.BMP");
  EXPECT_EQ(back.Textures[0].TransOpacity, 255);
  const Bitmap bitmap = DecodeBitmap(ReadFileBytes(dir / "back" / back.Textures[0].Name), "a");
  EXPECT_EQ(bitmap.texels, PlainBitmap(8, 4).texels);
  EXPECT_GT(back.ViewExtent, 0);
  EXPECT_EQ(back.Meshes[0].LODs[0].BoxMax.z, 1.5f);  // bounds ran
}

TEST(OptImport, MeshesAreNumberedAfterTheModelsAndIdsContinue) {
  TempDir dir;
  Model original = RichProject(dir);
  CreateOpt(original, 1);
  Model model;
  NewProject(model, dir.path());
  model.Meshes = std::vector<MeshRec>(
      3, MeshWith({Triangle(Corner(0, 0, 0), Corner(1, 0, 0), Corner(0, 1, 0))}));
  model.Ids.NextFaceId = 5000;
  ImportOpt(model, OptFilePath(original));
  ASSERT_EQ(model.MeshCount(), 5);
  EXPECT_EQ(model.Meshes[3].Name, "MESH 4");
  EXPECT_EQ(model.Meshes[4].Name, "MESH 5");
  EXPECT_EQ(model.Meshes[3].LODs[0].Faces[0].Id, 5001);
  ImportOpt(model, OptFilePath(original));
  EXPECT_EQ(model.MeshCount(), 7);
  EXPECT_EQ(model.TextureCount(), 4);  // registered again, same names
  EXPECT_EQ(model.Textures[0].Name, model.Textures[2].Name);
}

// A file in a layout the writer never makes: global offset 1000, headers first and their
// child arrays and data appended later, a holder with one child, unknown node types, a
// texture with two children, a switch whose first slot is a reference and whose third is
// empty.
Bytes OtherLayout(int holderChildren) {
  OptBuilder o(1, 1000);
  const std::size_t mesh = o.Header(0);
  o.SetMesh(0, mesh);
  const std::size_t vertices = o.Header(3, 4), coords = o.Header(13, 2), normals = o.Header(11, 1);
  const std::size_t unknown = o.Header(99), descriptor = o.Header(25), rotation = o.Header(23);
  const std::size_t hardpoint = o.Header(22), glow = o.Header(28), holder = o.Header(0);
  const std::size_t lod = o.Header(21, 2), level1 = o.Header(0), level2 = o.Header(0);
  const std::size_t texA = o.Header(20, 77), faces1 = o.Header(1, 1), sw = o.Header(24);
  const std::size_t refA = o.Header(7), texB = o.Header(20, 78), refB = o.Header(7);
  const std::size_t faces2 = o.Header(1, 1), refB2 = o.Header(7), faces3 = o.Header(1, 1);
  const std::size_t stray = o.Header(42);

  o.Children(mesh, {static_cast<std::int64_t>(unknown), -1, static_cast<std::int64_t>(holder),
                    static_cast<std::int64_t>(vertices), static_cast<std::int64_t>(coords),
                    static_cast<std::int64_t>(normals), static_cast<std::int64_t>(descriptor),
                    static_cast<std::int64_t>(rotation), static_cast<std::int64_t>(hardpoint),
                    static_cast<std::int64_t>(glow)});
  if (holderChildren == 1)
    o.Children(holder, {static_cast<std::int64_t>(lod)});
  else
    o.Children(holder, {-1, static_cast<std::int64_t>(stray), static_cast<std::int64_t>(lod)});
  o.Children(lod, {static_cast<std::int64_t>(level1), static_cast<std::int64_t>(level2)});
  o.Children(level1, {static_cast<std::int64_t>(texA), static_cast<std::int64_t>(faces1),
                      static_cast<std::int64_t>(stray), static_cast<std::int64_t>(sw),
                      static_cast<std::int64_t>(faces2)});
  o.Children(sw, {static_cast<std::int64_t>(refA), static_cast<std::int64_t>(texB), -1,
                  static_cast<std::int64_t>(refB)});
  o.Children(level2, {static_cast<std::int64_t>(refB2), static_cast<std::int64_t>(faces3)});
  o.Children(texA, {static_cast<std::int64_t>(stray), static_cast<std::int64_t>(stray)});

  o.Data(lod, DataBytes().F(1.0f).F(SwitchFromDistance(3.0f)));
  DataBytes v;
  for (float p : {0.f, 0.f, 0.f, 4.f, 0.f, 0.f, 4.f, 4.f, 0.f, 0.f, 4.f, 1.f}) v.F(p);
  o.Data(vertices, v);
  o.Data(coords, DataBytes().F(0).F(0).F(1).F(0.5f));
  o.Data(normals, DataBytes().F(0).F(0).F(-1));
  DataBytes desc;
  desc.L(6).L(2);
  for (int i = 0; i < 12; ++i) desc.F(static_cast<float>(i));
  desc.L(12).F(1).F(2).F(3);
  o.Data(descriptor, desc);
  DataBytes rot;
  for (int i = 0; i < 12; ++i) rot.F(static_cast<float>(i) / 2);
  o.Data(rotation, rot);
  o.Data(hardpoint, DataBytes().L(25).F(1).F(2).F(3));
  DataBytes g;
  g.L(0).B(1).B(2).B(3).B(4).B(5).B(6).B(7).B(8);
  for (int i = 0; i < 15; ++i) g.F(static_cast<float>(i));
  o.Data(glow, g);

  const auto face = [](DataBytes& d, std::array<std::int32_t, 4> vi,
                       std::array<std::int32_t, 4> ti) {
    for (std::int32_t i : vi) d.L(i);
    d.L(0).L(1).L(2).L(3);
    for (std::int32_t i : ti) d.L(i);
    d.L(0).L(0).L(0).L(0);
  };
  DataBytes f1;
  f1.L(4);
  face(f1, {0, 1, 2, 3}, {0, 1, 1, 0});
  f1.F(0).F(0).F(1).F(1).F(2).F(3).F(4).F(5).F(6);
  o.Data(faces1, f1);
  DataBytes f2;
  f2.L(3);
  face(f2, {0, 2, 3, -1}, {1, 0, 1, -1});
  f2.F(0).F(1).F(0).Zeros(24);
  o.Data(faces2, f2);
  DataBytes f3;
  f3.L(4);
  face(f3, {3, 2, 1, 0}, {0, 0, 0, 0});
  f3.F(1).F(0).F(0).Zeros(24);
  o.Data(faces3, f3);

  // Textures: name, data header, texels, palette (level 8 only matters).
  const auto texture = [&](std::size_t node, const std::string& name, std::uint8_t fill) {
    o.Name(node, name);
    const std::size_t data = o.Size();
    DataBytes d;
    d.L(0).L(0).L(4).L(5).L(2).L(2).B(fill).B(1).B(2).B(3).B(0);
    o.Data(node, d);
    const std::size_t palette = o.Size();
    DataBytes p;
    p.Zeros(8192);
    o.Data(stray, p);  // any node will do to append bytes
    o.Set(data, o.Ptr(palette));
    o.Set(palette + 3584, 0xF800);  // colour 0 of level 8: red
  };
  texture(texA, "TEXA", 9);
  texture(texB, "../../x", 8);
  o.Data(refA, DataBytes().Text8("TEXA"));
  o.Data(refB, DataBytes().Text8("../../x"));
  o.Data(refB2, DataBytes().Text8("../../x"));
  o.Data(stray, DataBytes().Zeros(4));
  return o.Take();
}

TEST(OptImport, ReadsFilesOfOtherLayoutsByFollowingThePointers) {
  for (int holderChildren : {1, 3}) {
    IdCounters ids;
    const OptImportResult r = ReadOptImport(OtherLayout(holderChildren), "/x/craft.opt", ids, 0);
    ASSERT_EQ(r.meshes.size(), 1u);
    const MeshRec& m = r.meshes[0];
    EXPECT_EQ(m.MeshType, 6);
    EXPECT_EQ(m.ExplosionType, 2);
    EXPECT_EQ(m.Max, (Single3{9, 10, 11}));
    EXPECT_EQ(m.TargetId, 12);
    EXPECT_EQ(m.Target, (Single3{1, 2, 3}));
    EXPECT_EQ(m.Degree, (Single3{4.5f, 5, 5.5f}));
    ASSERT_EQ(m.HardpointCount(), 1);
    EXPECT_EQ(m.Hardpoints[0].HardpointType, 25);
    ASSERT_EQ(m.EngineGlowCount(), 1);
    EXPECT_EQ(m.EngineGlows[0].InnerColor, (RGBA{3, 2, 1, 4}));
    EXPECT_EQ(m.EngineGlows[0].Size, (Single3{0, 1, 2}));
    EXPECT_EQ(m.EngineGlows[0].Position, (Single3{3, 4, 5}));
    ASSERT_EQ(m.LODCount(), 2);
    EXPECT_EQ(m.LODs[0].Distance, 0.0f);
    EXPECT_EQ(SwitchFromDistance(m.LODs[1].Distance), SwitchFromDistance(3.0f));
    ASSERT_EQ(m.LODs[0].FaceCount(), 2);
    ASSERT_EQ(m.LODs[1].FaceCount(), 1);
    const FaceRec &quad = m.LODs[0].Faces[0], &tri = m.LODs[0].Faces[1];
    EXPECT_FALSE(quad.IsTriangle());
    EXPECT_EQ(quad.Vertices[2].X, 4.0f);
    EXPECT_EQ(quad.Vertices[1].U, 1.0f);
    EXPECT_EQ(quad.Vertices[1].V, 0.5f);
    EXPECT_EQ(quad.Vertices[0].K, -1.0f);
    EXPECT_EQ(quad.Normal, (Single3{0, 0, 1}));
    EXPECT_EQ(quad.Vector1, (Single3{1, 2, 3}));
    EXPECT_EQ(quad.Vector2, (Single3{4, 5, 6}));
    EXPECT_EQ(quad.TextureNames[0], "craft_TEXA.BMP");
    EXPECT_EQ(quad.TextureNames[1], kBlank);
    EXPECT_TRUE(tri.IsTriangle());
    EXPECT_EQ(tri.Vertices[3].U, tri.Vertices[0].U);
    EXPECT_EQ(tri.Vertices[2].Z, 1.0f);
    EXPECT_EQ(tri.TextureNames[0], "craft_TEXA.BMP");
    EXPECT_EQ(tri.TextureNames[1], "craft_.._.._x.BMP");
    EXPECT_EQ(tri.TextureNames[2], kBlank);  // the empty switch slot
    EXPECT_EQ(tri.TextureNames[3], "craft_.._.._x.BMP");
    EXPECT_EQ(m.LODs[1].Faces[0].TextureNames[0], "craft_.._.._x.BMP");
    // One record per texture node read, none for references or empty slots.
    ASSERT_EQ(r.textures.size(), 2u);
    EXPECT_EQ(r.textures[0].Name, "craft_TEXA.BMP");
    EXPECT_EQ(r.textures[1].Name, "craft_.._.._x.BMP");
    ASSERT_EQ(r.bitmaps.size(), 2u);
    EXPECT_EQ(r.bitmaps[0].second.texels, (std::vector<std::uint8_t>{9, 1, 2, 3}));
    EXPECT_EQ(r.bitmaps[0].second.Red(0), 248);
    EXPECT_EQ(ids.NextMeshId, 1002);
  }
}

TEST(OptImport, ATextureNameCannotLeaveTheProjectFolder) {
  TempDir dir;
  fs::create_directories(dir / "project");
  WriteFileAtomic(dir / "craft.opt", OtherLayout(1));
  Model model = ImportIntoNewProject(dir / "project", dir / "craft.opt");
  EXPECT_TRUE(fs::exists(dir / "project" / "craft_.._.._x.BMP"));
  const auto files = dir.Snapshot();
  for (const auto& [name, contents] : files)
    EXPECT_TRUE(name == "craft.opt" || name.rfind("project/", 0) == 0) << name;
}

struct Corruption {
  const char* what;
  std::size_t (*at)(const Bytes&);
  std::int32_t value;
  const char* message;
};

TEST(OptImport, StructuralFaultsAreClearErrors) {
  TempDir dir;
  Model original = RichProject(dir);
  std::mt19937 r(1);
  const Bytes good = WriteOptBytes(original, ProjectBitmaps(original), r);
  const Corruption cases[] = {
      {"mesh pointer outside", [](const Bytes&) -> std::size_t { return 22; }, 0x7fffffff,
       "outside the file"},
      {"three levels", [](const Bytes& b) { return Child(b, Child(b, P(b, 22), 6), 3) + 8; }, 3,
       "levels of detail"},
      {"no levels", [](const Bytes& b) { return Child(b, Child(b, P(b, 22), 6), 3) + 8; }, 0,
       "levels of detail"},
      {"vertex index",
       [](const Bytes& b) {
         return P(b, Child(b, Child(b, Child(b, Child(b, P(b, 22), 6), 3), 0), 1) + 20) + 4;
       },
       500, "vertex index"},
      {"normal index",
       [](const Bytes& b) {
         return P(b, Child(b, Child(b, Child(b, Child(b, P(b, 22), 6), 3), 0), 1) + 20) + 52;
       },
       -7, "normal index"},
      {"face count",
       [](const Bytes& b) {
         return Child(b, Child(b, Child(b, Child(b, P(b, 22), 6), 3), 0), 1) + 16;
       },
       100000000, "face block"},
      {"NaN position", [](const Bytes& b) { return P(b, Child(b, P(b, 22), 0) + 20); }, 0x7fc00000,
       "finite"},
      {"mesh count", [](const Bytes&) -> std::size_t { return 14; }, 1 << 28, "mesh count"},
  };
  for (const Corruption& c : cases) {
    Bytes b = good;
    const std::size_t at = c.at(b);
    std::memcpy(&b[at], &c.value, 4);
    IdCounters ids;
    try {
      ReadOptImport(b, "bad.opt", ids, 0);
      ADD_FAILURE() << c.what << ": accepted";
    } catch (const FileError& e) {
      const std::string what = e.what();
      EXPECT_NE(what.find("bad.opt, byte "), std::string::npos) << c.what << ": " << what;
      EXPECT_NE(what.find(c.message), std::string::npos) << c.what << ": " << what;
    }
    EXPECT_EQ(ids.NextFaceId, 2000) << c.what;
  }
}

TEST(OptImport, SharedNodesAreRefused) {
  TempDir dir;
  Model original = RichProject(dir);
  std::mt19937 r(1);
  Bytes b = WriteOptBytes(original, ProjectBitmaps(original), r);
  // Point mesh 2 at mesh 1's node.
  std::memcpy(&b[26], &b[22], 4);
  IdCounters ids;
  EXPECT_THROW(ReadOptImport(b, "twice.opt", ids, 0), FileError);
}

TEST(OptImport, EveryTruncationAndRandomDamageIsAnErrorOrAValidRead) {
  TempDir dir;
  Model original = RichProject(dir);
  std::mt19937 r(1);
  const Bytes good = WriteOptBytes(original, ProjectBitmaps(original), r);
  for (std::size_t cut = 0; cut < good.size(); ++cut) {
    IdCounters ids;
    EXPECT_THROW(ReadOptImport(Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut)),
                               "cut.opt", ids, 0),
                 FileError)
        << cut;
  }
  std::mt19937 random(11);
  for (int i = 0; i < 3000; ++i) {
    Bytes b = good;
    for (int flips = 0; flips < 3; ++flips)
      b[random() % b.size()] = static_cast<std::uint8_t>(random());
    IdCounters ids;
    try {
      ReadOptImport(b, "flipped.opt", ids, 0);
    } catch (const FileError&) {
    }
  }
}

TEST(OptImport, ABadFileLeavesModelAndFolderUnchanged) {
  TempDir dir;
  Model original = RichProject(dir);
  CreateOpt(original, 1);
  Bytes b = ReadFileBytes(OptFilePath(original));
  b.resize(b.size() - 10);
  fs::create_directories(dir / "project");
  WriteFileAtomic(dir / "broken.opt", b);
  Model model;
  NewProject(model, dir / "project");
  model.Meshes.push_back(MeshWith({Triangle(Corner(0, 0, 0), Corner(1, 0, 0), Corner(0, 1, 0))}));
  const auto before = dir.Snapshot();
  EXPECT_THROW(ImportOpt(model, dir / "broken.opt"), FileError);
  EXPECT_EQ(dir.Snapshot(), before);
  EXPECT_EQ(model.MeshCount(), 1);
  EXPECT_EQ(model.TextureCount(), 0);
  EXPECT_EQ(model.Ids.NextMeshId, 1000);
}

}  // namespace
}  // namespace tamsel
