// Textures packed into atlases: how many, and that every face shows the very texels it
// showed before.
#include "check/texture_pack.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "model/bounds.h"
#include "model/file_io.h"
#include "opt/bitmap.h"
#include "support/model_builders.h"
#include "support/temp_dir.h"

namespace tamsel {
namespace {

using namespace test;
using Colour = std::array<std::uint8_t, 3>;

// A texture of four colours of its own, in quarters, with a mark in one corner so that a
// turned or mirrored copy would show.
Bitmap Quarters(int n, int width, int height) {
  Bitmap b;
  b.width = width, b.height = height;
  for (int k = 0; k < 4; ++k) {
    b.palette[static_cast<std::size_t>(4 * k)] = static_cast<std::uint8_t>(n);
    b.palette[static_cast<std::size_t>(4 * k + 1)] = static_cast<std::uint8_t>(k * 60);
    b.palette[static_cast<std::size_t>(4 * k + 2)] = static_cast<std::uint8_t>(255 - n);
  }
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      b.texels.push_back(static_cast<std::uint8_t>((x >= width / 2) + 2 * (y >= height / 2)));
  b.texels[1] = 3;
  return b;
}

// The colour a face's texture shows at (u, v), rows bottom first as the viewport loads them.
Colour Sample(const Bitmap& b, double u, double v) {
  const int x = std::clamp(static_cast<int>(std::floor(u * b.width)), 0, b.width - 1);
  const int y = std::clamp(static_cast<int>(std::floor(v * b.height)), 0, b.height - 1);
  const std::uint8_t t = b.texels[static_cast<std::size_t>(y * b.width + x)];
  return {b.Red(t), b.Green(t), b.Blue(t)};
}

struct PackedCraft {
  TempDir dir;
  Model model;
  std::map<std::string, Bitmap> files;
  BitmapLoader Loader() {
    return [this](const TextureRec& t) {
      if (auto it = files.find(t.Name); it != files.end()) return it->second;
      return DecodeBitmap(ReadFileBytes(dir / t.Name), t.Name);
    };
  }
  // `count` textures, one face each, the face's corners at the texture's quarter points.
  PackedCraft(int count, int width, int height) {
    model.ProjectPath = dir.path().string();
    std::vector<FaceRec> faces;
    for (int n = 0; n < count; ++n) {
      const std::string name = "t" + std::to_string(n) + ".BMP";
      files[name] = Quarters(n, width, height);
      TextureRec t;
      t.Name = name;
      model.Textures.push_back(t);
      const float x = static_cast<float>(n);
      faces.push_back(Quad(Corner(x, 0, 0, 0, 0), Corner(x, 1, 0, 0, 1), Corner(x + 1, 1, 0, 1, 1),
                           Corner(x + 1, 0, 0, 1, 0), name));
    }
    model.Meshes.push_back(MeshWith(faces));
    CalculateBounds(model);
  }
};

// Every texel centre a face covers, before and after, through the face's corner coordinates.
void ExpectSameTexels(const Model& before, const std::map<std::string, Bitmap>& oldFiles,
                      const Model& after, const BitmapLoader& newFiles) {
  const auto& was = before.Meshes[0].LODs[0].Faces;
  const auto& is = after.Meshes[0].LODs[0].Faces;
  ASSERT_EQ(was.size(), is.size());
  for (std::size_t f = 0; f < was.size(); ++f) {
    const Bitmap& old = oldFiles.at(was[f].TextureNames[0].str());
    TextureRec rec;
    rec.Name = is[f].TextureNames[0].str();
    const Bitmap now = newFiles(rec);
    // The face spans its corners' coordinates: sample it bilinearly at texel centres.
    const VertexRec &a = was[f].Vertices[0], &c = was[f].Vertices[2];
    const VertexRec &a2 = is[f].Vertices[0], &c2 = is[f].Vertices[2];
    for (int y = 0; y < old.height; ++y)
      for (int x = 0; x < old.width; ++x) {
        const double s = (x + 0.5) / old.width, t = (y + 0.5) / old.height;
        const double u = a.U + (c.U - a.U) * s, v = a.V + (c.V - a.V) * t;
        const double u2 = a2.U + (c2.U - a2.U) * s, v2 = a2.V + (c2.V - a2.V) * t;
        ASSERT_EQ(Sample(old, u, v), Sample(now, u2, v2))
            << "face " << f << " texel " << x << ", " << y << " in " << rec.Name;
      }
  }
}

TEST(TexturePack, SixtyFourSmallTexturesMakeOneAtlasAndEveryTexelStays) {
  PackedCraft craft(64, 32, 32);
  const Model before = craft.model;
  FileTransaction files(craft.dir.path());
  const PackReport report = PackTextures(craft.model, Profile::Original, files, craft.Loader());
  files.Commit(false);
  EXPECT_EQ(report.packed, 64);
  ASSERT_EQ(report.atlases.size(), 1u);
  EXPECT_EQ(craft.model.TextureCount(), 1);
  const Bitmap atlas = DecodeBitmap(ReadFileBytes(craft.dir / report.atlases[0]), "atlas");
  EXPECT_EQ(atlas.width, 256);
  EXPECT_EQ(atlas.height, 256);
  ExpectSameTexels(before, craft.files, craft.model, craft.Loader());
  EXPECT_FALSE(std::filesystem::exists(craft.dir / "t0.BMP")) << "never there: nothing removed";
}

TEST(TexturePack, OddSizesArePaddedAndTilingOrVariantTexturesStayAlone) {
  PackedCraft craft(6, 24, 20);
  auto& faces = craft.model.Meshes.Edit(0).LODs[0].Faces;
  faces[4].Vertices[2].U = 2;           // tiles
  faces[5].TextureNames[1] = "t0.BMP";  // a flight-group variant: t0 and t5 stay
  const Model before = craft.model;
  FileTransaction files(craft.dir.path());
  const PackReport report = PackTextures(craft.model, Profile::Original, files, craft.Loader());
  files.Commit(false);
  EXPECT_EQ(report.packed, 3) << "t1, t2, t3";
  ASSERT_EQ(report.atlases.size(), 1u);
  EXPECT_EQ(craft.model.TextureCount(), 4);
  const auto& after = craft.model.Meshes[0].LODs[0].Faces;
  EXPECT_EQ(after[0].TextureNames[0], "t0.BMP");
  EXPECT_EQ(after[4].TextureNames[0], "t4.BMP");
  EXPECT_EQ(after[1].TextureNames[0], report.atlases[0]);
  // Only the packed faces are compared: the others kept their coordinates.
  Model packedBefore = before, packedAfter = craft.model;
  for (Model* m : {&packedBefore, &packedAfter}) {
    auto& f = m->Meshes.Edit(0).LODs[0].Faces.Edit();
    f = {f[1], f[2], f[3]};
  }
  ExpectSameTexels(packedBefore, craft.files, packedAfter, craft.Loader());
}

TEST(TexturePack, AFileOfTheAtlasNameKeepsItsBytes) {
  PackedCraft craft(2, 16, 16);
  WriteFileAtomic(craft.dir / "ATLAS_1.BMP", std::string_view("mine"));
  FileTransaction files(craft.dir.path());
  const PackReport report = PackTextures(craft.model, Profile::Original, files, craft.Loader());
  files.Commit(false);
  ASSERT_EQ(report.atlases.size(), 1u);
  EXPECT_EQ(report.atlases[0], "ATLAS_1_2.BMP");
  EXPECT_EQ(ReadFileText(craft.dir / "ATLAS_1.BMP"), "mine");
}

}  // namespace
}  // namespace tamsel
