// What the game-ready commands change on screen: a generated low level keeps the sphere's
// outline from every side, and a packed craft looks as it did before packing.
#include <gtest/gtest.h>

#include "check/texture_pack.h"
#include "editing/generate_lod.h"
#include "model/bounds.h"
#include "model/file_io.h"
#include "opt/bitmap.h"
#include "render/image_compare.h"
#include "support/model_builders.h"
#include "support/temp_dir.h"
#include "viewport/bitmap_image.h"
#include "viewport/craft_render.h"

namespace tamsel {
namespace {

constexpr int kWidth = 320, kHeight = 240;

RenderRequest Request(ViewAngle angle, Detail level) {
  RenderRequest r;
  r.angle = angle;
  r.width = kWidth;
  r.height = kHeight;
  r.view.DisplayMode = Display::Texture;
  r.view.NormalsShown = false;
  r.view.CurrentLOD = level;
  return r;
}

// The pixels that are not the black background.
std::vector<bool> Silhouette(const QImage& image) {
  std::vector<bool> lit;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) lit.push_back((image.pixel(x, y) & 0xFFFFFF) != 0);
  return lit;
}

TEST(ReadyForGame, ALowLevelKeepsTheSpheresOutlineFromEverySide) {
  Model model;
  model.Meshes.push_back(test::UvSphere(10, 100, 200, "white.BMP"));  // 20 000 faces
  TextureRec white;
  white.Name = "white.BMP";
  model.Textures.push_back(white);
  CalculateBounds(model);
  ASSERT_EQ(GenerateLowLevels(model, {}, {}).size(), 1u);
  CalculateBounds(model);
  QImage plain(4, 4, QImage::Format_RGB32);
  plain.fill(QColor(220, 220, 220));
  const PictureSource pictures = [&](std::size_t) { return plain; };
  for (const auto& [angle, name] :
       {std::pair{ViewAngle::Perspective, "3d"}, std::pair{ViewAngle::Top, "top"},
        std::pair{ViewAngle::Front, "front"}, std::pair{ViewAngle::Right, "right"}}) {
    const RenderResult high = RenderCraft(model, Request(angle, Detail::High), pictures);
    const RenderResult low = RenderCraft(model, Request(angle, Detail::Low), pictures);
    ASSERT_FALSE(high.image.isNull()) << high.error;
    ASSERT_FALSE(low.image.isNull()) << low.error;
    const auto a = Silhouette(high.image), b = Silhouette(low.image);
    long lit = 0, differ = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
      lit += a[i];
      differ += a[i] != b[i];
    }
    ASSERT_GT(lit, 1000) << name;
    EXPECT_LE(differ, lit / 50) << name << ": " << differ << " of " << lit << " pixels";
    if (std::string(name) == "3d") {
      // In wireframe, where the fewer faces show.
      RenderRequest wire = Request(angle, Detail::Low);
      wire.view.DisplayMode = Display::Wire;
      const RenderResult edges = RenderCraft(model, wire, pictures);
      EXPECT_EQ(test::MatchBaseline("lod_sphere_low_3d_wire", edges.image), "");
    }
  }
}

// 48 textures leave the atlas room for a border of one texel each, which repeats the texture
// as it repeats on its own: a face's edge pixels then sample what they sampled before.
TEST(ReadyForGame, APackedCraftLooksAsItDidBefore) {
  test::TempDir dir;
  Model model;
  model.ProjectPath = dir.path().string();
  std::vector<FaceRec> faces;
  for (int n = 0; n < 48; ++n) {
    Bitmap b;
    b.width = b.height = 32;
    for (int k = 0; k < 4; ++k) {
      b.palette[static_cast<std::size_t>(4 * k)] = static_cast<std::uint8_t>(n * 4);
      b.palette[static_cast<std::size_t>(4 * k + 1)] = static_cast<std::uint8_t>(60 + k * 60);
      b.palette[static_cast<std::size_t>(4 * k + 2)] = static_cast<std::uint8_t>(250 - n * 3);
    }
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x)
        b.texels.push_back(static_cast<std::uint8_t>(((x / 8) + (y / 8)) % 4));
    const std::string name = "T" + std::to_string(n) + ".BMP";
    WriteFileAtomic(dir / name, EncodeBitmap(b));
    TextureRec t;
    t.Name = name;
    model.Textures.push_back(t);
    const float x = static_cast<float>(n % 8) * 2, y = static_cast<float>(n / 8) * 2;
    // Wound to face up (-Z), towards the Top view.
    faces.push_back(test::Quad(test::Corner(x, y, 0, 0, 0), test::Corner(x + 2, y, 0, 1, 0),
                               test::Corner(x + 2, y + 2, 0, 1, 1), test::Corner(x, y + 2, 0, 0, 1),
                               name));
  }
  model.Meshes.push_back(test::MeshWith(faces));
  CalculateBounds(model);
  const RenderRequest top = Request(ViewAngle::Top, Detail::High);
  const RenderResult before = RenderCraft(model, top, ProjectPictures(model));
  ASSERT_FALSE(before.image.isNull()) << before.error;
  long shown = 0;
  for (const bool lit : Silhouette(before.image)) shown += lit;
  ASSERT_GT(shown, kWidth * kHeight / 4) << "the craft shows, so the comparison says something";
  FileTransaction files(dir.path());
  const PackReport report = PackTextures(model, Profile::Original, files, ProjectBitmaps(model));
  files.Commit(false);
  ASSERT_EQ(report.atlases.size(), 1u);
  ASSERT_EQ(model.TextureCount(), 1);
  const RenderResult after = RenderCraft(model, top, ProjectPictures(model));
  ASSERT_FALSE(after.image.isNull()) << after.error;
  const test::ImageDifference difference = test::CompareImages(before.image, after.image, 24);
  EXPECT_TRUE(difference.sameSize);
  EXPECT_LE(difference.differing, difference.total / 1000)
      << difference.differing << " of " << difference.total << " pixels differ";
  EXPECT_EQ(test::MatchBaseline("packed_top", after.image), "");
}

}  // namespace
}  // namespace tamsel
