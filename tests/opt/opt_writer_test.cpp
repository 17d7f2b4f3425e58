#include "opt/opt_writer.h"

#include <gtest/gtest.h>

#include "model/file_error.h"
#include "model/file_io.h"
#include "opt/color565.h"
#include "opt/lod_distance.h"
#include "opt/texture_encoder.h"
#include "support/model_builders.h"
#include "support/opt_bytes.h"
#include "support/temp_dir.h"

namespace tamsel {
namespace {

using namespace test;

Bytes Write(const Model& model, const MemoryBitmaps& bitmaps, std::uint32_t seed = 1) {
  std::mt19937 random(seed);
  return WriteOptBytes(model, bitmaps.Loader(), random);
}

Model OneMesh(std::vector<FaceRec> faces, std::vector<std::string> textures) {
  Model model;
  model.Meshes.push_back(MeshWith(std::move(faces)));
  for (const std::string& name : textures) {
    TextureRec t;
    t.Name = name;
    model.Textures.push_back(t);
  }
  return model;
}

TEST(OptWriter, HeaderMeshNodeTablesAndFaceDataFollowTheWrittenLayout) {
  Model model =
      OneMesh({Quad(Corner(0, 0, 0, 0, 0), Corner(2, 0, 0, 1, 0), Corner(2, 2, 0, 1, 1),
                    Corner(0, 2, 0, 0, 1)),
               Triangle(Corner(0, 0, 0, 0, 0), Corner(2, 2, 0, 1, 1), Corner(0, 0, 3, 0.5f, 0.5f))},
              {"t.BMP"});
  model.Meshes.Edit(0).LODs[0].Faces[1].Normal = {0.5f, 0.25f, 0.125f};
  MemoryBitmaps bitmaps;
  bitmaps.bitmaps["t.BMP"] = PlainBitmap(8, 8);
  const Bytes b = Write(model, bitmaps);

  EXPECT_EQ(L(b, 0), -5);
  EXPECT_EQ(L(b, 4), static_cast<std::int32_t>(b.size() - 8));
  EXPECT_EQ(L(b, 8), 108);
  EXPECT_EQ(b[12], 2);
  EXPECT_EQ(b[13], 0);
  EXPECT_EQ(L(b, 14), 1);
  EXPECT_EQ(L(b, 18), 122);
  const std::size_t mesh = P(b, 22);
  ASSERT_EQ(mesh, 26u);  // 22 + 4 x meshes
  EXPECT_EQ(L(b, mesh + 4), 0);
  EXPECT_EQ(L(b, mesh + 8), 6);  // no engine glows, no hardpoints
  EXPECT_EQ(P(b, mesh + 12), mesh + 24);
  EXPECT_EQ(L(b, mesh + 16), 1);
  EXPECT_EQ(L(b, mesh + 20), 0);
  const int types[6] = {3, 13, 11, 25, 23, 0};
  for (int k = 0; k < 6; ++k) EXPECT_EQ(L(b, Child(b, mesh, k) + 4), types[k]) << k;

  // Vertex table: 5 distinct positions + 2 box corners, data behind the header.
  const std::size_t vertices = Child(b, mesh, 0);
  EXPECT_EQ(vertices, mesh + 24 + 6 * 4);
  EXPECT_EQ(L(b, vertices + 16), 7);
  EXPECT_EQ(P(b, vertices + 20), vertices + 24);
  EXPECT_EQ(F(b, vertices + 24 + 12 * 4 + 8), 3.0f);  // (0, 0, 3) is the fifth distinct
  EXPECT_EQ(F(b, vertices + 24 + 12 * 5), -0.5f);     // box minimum - 0.5
  EXPECT_EQ(F(b, vertices + 24 + 12 * 6 + 8), 3.5f);  // box maximum + 0.5
  EXPECT_EQ(L(b, Child(b, mesh, 1) + 16), 5);         // distinct U,V pairs
  EXPECT_EQ(L(b, Child(b, mesh, 2) + 16), 1);         // every normal is (0, 0, 1)

  // Holder: three null children and the level-of-detail node.
  const std::size_t holder = Child(b, mesh, 5);
  EXPECT_EQ(L(b, holder + 8), 4);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(L(b, holder + 24 + 4 * static_cast<std::size_t>(k)), 0);
  const std::size_t lod = Child(b, holder, 3);
  EXPECT_EQ(lod, holder + 24 + 16);
  EXPECT_EQ(L(b, lod + 4), 21);
  EXPECT_EQ(L(b, lod + 8), 1);
  EXPECT_EQ(P(b, lod + 20), lod + 28);
  EXPECT_EQ(F(b, lod + 28), 1.0f);  // distance 0

  const std::size_t group = Child(b, lod, 0);
  EXPECT_EQ(L(b, group + 8), 2);
  const std::size_t texture = Child(b, group, 0);
  EXPECT_EQ(L(b, texture + 4), 20);
  const std::size_t faces = Child(b, group, 1);
  EXPECT_EQ(L(b, faces + 4), 1);
  EXPECT_EQ(L(b, faces + 16), 2);
  const std::size_t d = P(b, faces + 20);
  EXPECT_EQ(d, faces + 24);
  EXPECT_EQ(L(b, d), 7);  // 4 + 3 corners
  const std::int32_t quad[16] = {0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3, 0, 0, 0, 0};
  const std::int32_t tri[16] = {0, 2, 4, -1, 4, 5, 6, -1, 0, 2, 4, -1, 0, 0, 0, -1};
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(L(b, d + 4 + 4 * static_cast<std::size_t>(i)), quad[i]) << "quad " << i;
    EXPECT_EQ(L(b, d + 68 + 4 * static_cast<std::size_t>(i)), tri[i]) << "triangle " << i;
  }
  EXPECT_EQ(F(b, d + 4 + 128 + 12), 0.5f);  // second face normal
  for (std::size_t i = 0; i < 48; i += 4) EXPECT_EQ(F(b, d + 4 + 128 + 24 + i), 0.0f);
  EXPECT_EQ(d + 4 + 200, b.size());
}

TEST(OptWriter, EngineGlowsAndHardpointsTakeTheirPlacesAmongTheChildren) {
  Model model = RichModel();
  MemoryBitmaps bitmaps;
  bitmaps.bitmaps["a.BMP"] = PlainBitmap(4, 4);
  bitmaps.bitmaps["b.BMP"] = PlainBitmap(4, 4, 9);
  const Bytes b = Write(model, bitmaps);
  const std::size_t mesh = P(b, 22);
  EXPECT_EQ(L(b, mesh + 8), 6 + 1 + 2);
  const int types[9] = {3, 13, 11, 25, 28, 23, 0, 22, 22};
  for (int k = 0; k < 9; ++k) EXPECT_EQ(L(b, Child(b, mesh, k) + 4), types[k]) << k;
  const std::size_t glow = P(b, Child(b, mesh, 4) + 20);
  EXPECT_EQ(L(b, glow), 0);
  EXPECT_EQ(b[glow + 4], 100);        // inner blue
  EXPECT_EQ(b[glow + 6], 255);        // inner red
  EXPECT_EQ(b[glow + 11], 40);        // outer alpha
  EXPECT_EQ(F(b, glow + 12), 4.0f);   // width first
  EXPECT_EQ(F(b, glow + 28), -1.0f);  // position y
  EXPECT_EQ(F(b, glow + 68), 6.0f);   // density 3 C
  const std::size_t hp = P(b, Child(b, mesh, 8) + 20);
  EXPECT_EQ(L(b, hp), 31);
  EXPECT_EQ(F(b, hp + 12), 2.5f);
  const std::size_t descriptor = P(b, Child(b, mesh, 3) + 20);
  EXPECT_EQ(L(b, descriptor), 4);
  EXPECT_EQ(L(b, descriptor + 56), -3);
  EXPECT_EQ(F(b, descriptor + 60), 9.0f);
  const std::size_t lod = Child(b, Child(b, mesh, 6), 3);
  EXPECT_EQ(L(b, lod + 8), 2);
  EXPECT_EQ(F(b, lod + 36), SwitchFromDistance(1.25f));
}

TEST(OptWriter, TexturesAreWrittenOnceThenReferencedAndSwitchesOnlyForVariants) {
  Model model =
      OneMesh({Quad(Corner(0, 0, 0), Corner(1, 0, 0), Corner(1, 1, 0), Corner(0, 1, 0), "a.BMP"),
               Quad(Corner(0, 0, 1), Corner(1, 0, 1), Corner(1, 1, 1), Corner(0, 1, 1), "a.BMP"),
               Quad(Corner(0, 0, 2), Corner(1, 0, 2), Corner(1, 1, 2), Corner(0, 1, 2), "a.BMP")},
              {"a.BMP", "b.BMP"});
  model.Meshes.Edit(0).LODs[0].Faces[1].TextureNames = {"a.BMP", "b.BMP", kBlank, "b.BMP", ""};
  MemoryBitmaps bitmaps;
  bitmaps.bitmaps["a.BMP"] = PlainBitmap(4, 4);
  bitmaps.bitmaps["b.BMP"] = PlainBitmap(4, 4, 3);
  const Bytes b = Write(model, bitmaps);
  const std::size_t group = Child(b, Child(b, Child(b, P(b, 22), 5), 3), 0);
  ASSERT_EQ(L(b, group + 8), 4);  // two groups: faces 1 and 3 share one
  const std::size_t first = Child(b, group, 0);
  EXPECT_EQ(L(b, first + 4), 20);
  EXPECT_EQ(Name8(b, P(b, first)), "TEX00000");
  EXPECT_EQ(L(b, Child(b, group, 1) + 16), 2);  // faces 1 and 3
  const std::size_t sw = Child(b, group, 2);
  ASSERT_EQ(L(b, sw + 4), 24);
  EXPECT_EQ(L(b, sw + 8), 4);
  // Slot 0 is a later use of TEX00000; slot 1 the first use of TEX00001; the BLANK slot 2
  // takes slot 0's texture; slot 3 is a later use of TEX00001.
  const int types[4] = {7, 20, 7, 7};
  const char* names[4] = {"TEX00000", "TEX00001", "TEX00000", "TEX00001"};
  for (int k = 0; k < 4; ++k) {
    const std::size_t t = Child(b, sw, k);
    EXPECT_EQ(L(b, t + 4), types[k]) << k;
    EXPECT_EQ(Name8(b, types[k] == 7 ? P(b, t + 20) : P(b, t)), names[k]) << k;
  }
  const std::size_t ref = Child(b, sw, 0);
  EXPECT_EQ(L(b, ref + 16), 1);
  EXPECT_EQ(b[P(b, ref + 20) + 8], 0);
}

TEST(OptWriter, TextureNodeLevelsPaletteAndAlpha) {
  Model model =
      OneMesh({Quad(Corner(0, 0, 0), Corner(1, 0, 0), Corner(1, 1, 0), Corner(0, 1, 0), "a.BMP")},
              {"a.BMP"});
  TextureRec& t = model.Textures.Edit(0);
  t.TransOpacity = 77;
  MemoryBitmaps bitmaps;
  Bitmap bitmap = PlainBitmap(64, 32);
  bitmap.palette[0] = 200, bitmap.palette[1] = 100,
  bitmap.palette[2] = 50;  // colour 0: r 50 g 100 b 200
  bitmap.palette[4 * 7 + 2] = 200, bitmap.palette[4 * 7 + 1] = 100, bitmap.palette[4 * 7] = 50;
  t.TransColors = {{50, 100, 200}};
  bitmaps.bitmaps["a.BMP"] = bitmap;
  const Bytes b = Write(model, bitmaps, 42);
  const std::size_t group = Child(b, Child(b, Child(b, P(b, 22), 5), 3), 0);
  const std::size_t node = Child(b, group, 0);
  EXPECT_EQ(P(b, node), node + 24);
  EXPECT_EQ(L(b, node + 8), 1);
  EXPECT_EQ(P(b, node + 12), node + 33);
  EXPECT_GE(L(b, node + 16), 1);
  EXPECT_EQ(P(b, node + 20), node + 37);
  const std::size_t data = node + 37;
  EXPECT_EQ(L(b, data + 8), 2048);
  EXPECT_EQ(L(b, data + 12), 2730);  // 64x32 down to 2x1
  EXPECT_EQ(L(b, data + 16), 64);
  EXPECT_EQ(L(b, data + 20), 32);
  // Level 2 keeps texels 1, 3, 5 ... of rows 1, 3, 5 ... (counting from 1).
  EXPECT_EQ(b[data + 24 + 2048 + 1], bitmap.texels[2]);
  EXPECT_EQ(b[data + 24 + 2048 + 32], bitmap.texels[2 * 64]);
  const std::size_t palette = P(b, data);
  EXPECT_EQ(palette, data + 24 + 2730);
  // Colour 7 (r 200, g 100, b 50): level 1 is (144, 44, 0), level 16 (255, 164, 114).
  EXPECT_EQ(U16(b, palette + 2 * 7), static_cast<std::uint16_t>(Color565(144, 44, 0)));
  EXPECT_EQ(U16(b, palette + 15 * 512 + 2 * 7),
            static_cast<std::uint16_t>(Color565(255, 164, 114)));
  EXPECT_EQ(U16(b, palette + 7 * 512 + 2 * 7), static_cast<std::uint16_t>(Color565(200, 100, 50)));
  // The alpha node follows the palette block: colour 0 is transparent.
  const std::size_t alpha = P(b, node + 33);
  EXPECT_EQ(alpha, palette + 8192);
  EXPECT_EQ(L(b, alpha + 4), 26);
  EXPECT_EQ(L(b, alpha + 16), 2730);
  for (std::size_t i = 0; i < 2730; ++i)
    ASSERT_EQ(b[alpha + 24 + i], b[data + 24 + i] == 0 ? 77 : 255) << i;
}

TEST(OptWriter, OpaqueTexturesHaveNoAlphaEvenWithColoursListed) {
  Model model =
      OneMesh({Quad(Corner(0, 0, 0), Corner(1, 0, 0), Corner(1, 1, 0), Corner(0, 1, 0), "a.BMP")},
              {"a.BMP"});
  model.Textures.Edit(0).TransColors = {{0, 0, 0}};
  MemoryBitmaps bitmaps;
  bitmaps.bitmaps["a.BMP"] = PlainBitmap(4, 4);
  const Bytes b = Write(model, bitmaps);
  const std::size_t node = Child(b, Child(b, Child(b, Child(b, P(b, 22), 5), 3), 0), 0);
  EXPECT_EQ(L(b, node + 8), 0);
  EXPECT_EQ(L(b, node + 12), 0);
  EXPECT_EQ(P(b, node + 20), node + 33);
}

TEST(OptWriter, PaletteBlocksAreSharedButNeverWithIlluminatedTextures) {
  std::vector<FaceRec> faces;
  for (const char* name : {"a.BMP", "b.BMP", "c.BMP", "d.BMP"})
    faces.push_back(Quad(Corner(0, 0, 0), Corner(1, 0, 0), Corner(1, 1, 0), Corner(0, 1, 0), name));
  Model model = OneMesh(faces, {"a.BMP", "b.BMP", "c.BMP", "d.BMP"});
  model.Textures.Edit(1).IllumColors = {{255, 255, 0}};  // b: illuminated, same palette as a
  MemoryBitmaps bitmaps;
  for (const char* name : {"a.BMP", "b.BMP", "d.BMP"}) bitmaps.bitmaps[name] = PlainBitmap(4, 4);
  bitmaps.bitmaps["c.BMP"] = PlainBitmap(4, 4, 5);  // another palette
  const Bytes b = Write(model, bitmaps);
  const std::size_t group = Child(b, Child(b, Child(b, P(b, 22), 5), 3), 0);
  std::size_t palette[4];
  for (int t = 0; t < 4; ++t) palette[t] = P(b, Child(b, group, 2 * t) + 33);
  EXPECT_NE(palette[1], palette[0]) << "an illuminated texture gets its own block";
  EXPECT_NE(palette[2], palette[0]);
  EXPECT_EQ(palette[3], palette[0]) << "d shares a's block, never b's";
}

TEST(OptWriter, IlluminatedColoursKeepTheirBrightnessAtEveryLevel) {
  Model model =
      OneMesh({Quad(Corner(0, 0, 0), Corner(1, 0, 0), Corner(1, 1, 0), Corner(0, 1, 0), "a.BMP")},
              {"a.BMP"});
  Bitmap bitmap = PlainBitmap(4, 4);
  // Colour 5 is (r 250, g 5, b 5), colour 6 (r 249, g 6, b 6).
  model.Textures.Edit(0).IllumColors = {{252, 3, 5}};
  model.Textures.Edit(0).IllumTolerance = 2;
  model.Textures.Edit(0).IllumBrightness = 16;
  MemoryBitmaps bitmaps;
  bitmaps.bitmaps["a.BMP"] = bitmap;
  const Bytes b = Write(model, bitmaps);
  const std::size_t node = Child(b, Child(b, Child(b, Child(b, P(b, 22), 5), 3), 0), 0);
  const std::size_t palette = P(b, node + 33);
  for (int level = 0; level < 16; ++level) {
    EXPECT_EQ(U16(b, palette + 512 * static_cast<std::size_t>(level) + 10),
              PaletteLevelColor(250, 5, 5, 16))
        << level;
    EXPECT_EQ(U16(b, palette + 512 * static_cast<std::size_t>(level) + 12),
              PaletteLevelColor(249, 6, 6, level + 1))
        << "colour 6 lies outside the tolerance";
  }
}

TEST(OptWriter, LevelsHalveWhileBothSidesExceedOne) {
  const TextureLevels square = LevelsOf(256, 256);
  EXPECT_EQ(square.sizes.size(), 9u);
  EXPECT_EQ(square.texels, 87381);
  const TextureLevels wide = LevelsOf(256, 128);
  EXPECT_EQ(wide.sizes.size(), 8u);
  EXPECT_EQ(wide.sizes.back(), (std::pair<int, int>{2, 1}));
  EXPECT_EQ(LevelsOf(64, 32).texels, 2730);
  // Sides that are not powers of two keep their odd rows and texels: ceil(n / 2).
  const TextureLevels odd = LevelsOf(6, 5);
  EXPECT_EQ(odd.sizes, (std::vector<std::pair<int, int>>{{6, 5}, {3, 3}, {2, 2}, {1, 1}}));
  EXPECT_EQ(odd.texels, 30 + 9 + 4 + 1);
  EXPECT_EQ(LevelsOf(1, 1).texels, 1);
}

TEST(OptWriter, NonPowerOfTwoTexturesWriteAsManyTexelsAsTheyCount) {
  Model model =
      OneMesh({Quad(Corner(0, 0, 0), Corner(1, 0, 0), Corner(1, 1, 0), Corner(0, 1, 0), "a.BMP")},
              {"a.BMP"});
  model.Textures.Edit(0).TransOpacity = 10;
  MemoryBitmaps bitmaps;
  bitmaps.bitmaps["a.BMP"] = PlainBitmap(6, 5);
  const Bytes b = Write(model, bitmaps);
  const std::size_t node = Child(b, Child(b, Child(b, Child(b, P(b, 22), 5), 3), 0), 0);
  const std::size_t data = node + 37;
  EXPECT_EQ(L(b, data + 12), 44);
  EXPECT_EQ(P(b, data), data + 24 + 44);
  EXPECT_EQ(L(b, P(b, node + 33) + 16), 44);
}

TEST(OptWriter, MissingTexturesAndBitmapsAreAllReportedAndNothingIsWritten) {
  TempDir dir;
  Model model =
      OneMesh({Quad(Corner(0, 0, 0), Corner(1, 0, 0), Corner(1, 1, 0), Corner(0, 1, 0), "gone.BMP"),
               Quad(Corner(0, 0, 1), Corner(1, 0, 1), Corner(1, 1, 1), Corner(0, 1, 1), "a.BMP")},
              {"a.BMP"});
  model.ProjectPath = dir.path().string();
  const std::filesystem::path out = OptFilePath(model);
  WriteFileAtomic(out, std::string("previous"));
  try {
    CreateOpt(model, 1);
    FAIL() << "no error";
  } catch (const FileError& e) {
    const std::string what = e.what();
    EXPECT_NE(what.find("mesh 1, level 1, face 1: texture \"gone.BMP\" is not in the texture list"),
              std::string::npos)
        << what;
    EXPECT_NE(what.find("a.BMP"), std::string::npos) << what;  // its bitmap is missing
  }
  EXPECT_EQ(ReadFileText(out), "previous");
}

TEST(OptWriter, AModelWithoutMeshesIsTheHeaderAlone) {
  const Bytes b = Write(Model{}, MemoryBitmaps{});
  ASSERT_EQ(b.size(), 22u);
  EXPECT_EQ(L(b, 4), 14);
  EXPECT_EQ(L(b, 14), 0);
}

TEST(OptWriter, TextureIdsAreRandomUnlessSeeded) {
  Model model =
      OneMesh({Quad(Corner(0, 0, 0), Corner(1, 0, 0), Corner(1, 1, 0), Corner(0, 1, 0), "a.BMP")},
              {"a.BMP"});
  MemoryBitmaps bitmaps;
  bitmaps.bitmaps["a.BMP"] = PlainBitmap(4, 4);
  EXPECT_EQ(Write(model, bitmaps, 5), Write(model, bitmaps, 5));
  EXPECT_NE(Write(model, bitmaps, 5), Write(model, bitmaps, 6));
}

TEST(LodDistance, SwitchValuesAndDistancesConvertBothWays) {
  EXPECT_EQ(SwitchFromDistance(1000), 0.0f);
  EXPECT_EQ(SwitchFromDistance(5000), 0.0f);
  EXPECT_EQ(SwitchFromDistance(0), 1.0f);
  EXPECT_EQ(SwitchFromDistance(-3), 1.0f);
  EXPECT_EQ(DistanceFromSwitch(0), 1000.0f);
  EXPECT_EQ(DistanceFromSwitch(-1), 1000.0f);
  EXPECT_EQ(DistanceFromSwitch(1), 0.0f);
  EXPECT_EQ(DistanceFromSwitch(7), 0.0f);
  EXPECT_NEAR(DistanceFromSwitch(SwitchFromDistance(2.5f)), 2.5f, 1e-4f);
  // A switch value read and written again is the same value or its neighbour: not every
  // Single is the image of a distance, as a step of one in the distance's last digit can
  // move the value by more than one step. The neighbour is then stable: importing and
  // writing again changes nothing more.
  std::mt19937 random(3);
  std::uniform_real_distribution<float> unit(1e-6f, 0.999f);
  int exact = 0;
  for (int i = 0; i < 5000; ++i) {
    const float v = unit(random);
    const float once = SwitchFromDistance(DistanceFromSwitch(v));
    exact += once == v;
    ASSERT_TRUE(once == v || once == std::nextafter(v, 0.0f) || once == std::nextafter(v, 1.0f))
        << v;
    ASSERT_EQ(SwitchFromDistance(DistanceFromSwitch(once)), once) << v;
  }
  EXPECT_GT(exact, 2500);
}

}  // namespace
}  // namespace tamsel
