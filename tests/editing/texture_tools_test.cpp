#include "editing/texture_tools.h"

#include <gtest/gtest.h>

#include "support/model_builders.h"

namespace tamsel {
namespace {

using namespace test;

Model Wall() {
  Model model;
  model.Meshes.push_back(
      MeshWith({Quad(Corner(0, 0, 0, 0.1f, 0.2f), Corner(2, 0, 0, 0.3f, 0.4f),
                     Corner(2, 0, 1, 0.5f, 0.6f), Corner(0, 0, 1, 0.7f, 0.8f)),
                Triangle(Corner(5, 5, 5, 0.1f, 0.1f), Corner(6, 5, 5, 0.2f, 0.2f),
                         Corner(5, 6, 5, 0.3f, 0.3f))}));
  model.Meshes.Edit(0).LODs[0].Selected = kTrue;
  model.Meshes.Edit(0).LODs[0].Faces[0].Selected = kTrue;
  return model;
}

std::vector<std::pair<float, float>> UVs(const FaceRec& f) {
  std::vector<std::pair<float, float>> out;
  for (int k = 0; k < 4; ++k)
    out.emplace_back(f.Vertices[static_cast<std::size_t>(k)].U,
                     f.Vertices[static_cast<std::size_t>(k)].V);
  return out;
}

TEST(Stitch, FrontBackProjectsAcrossTheSelectionAndFlatAxesStayAsTheyWere) {
  Model model = Wall();
  ASSERT_TRUE(Stitch(model, 0, StitchView::FrontBack));
  EXPECT_EQ(UVs(model.Meshes[0].LODs[0].Faces[0]),
            (std::vector<std::pair<float, float>>{{1, 0}, {0, 0}, {0, 1}, {1, 1}}));
  // The wall is flat along y: a side stitch keeps U, and sets V from z.
  model.Meshes.Edit(0).LODs[0].Faces[0].Vertices[0].U = 0.25f;
  ASSERT_TRUE(Stitch(model, 0, StitchView::Side));
  EXPECT_EQ(model.Meshes[0].LODs[0].Faces[0].Vertices[0].U, 0.25f);
  EXPECT_EQ(model.Meshes[0].LODs[0].Faces[0].Vertices[3].V, 1.0f);
  model.Meshes.Edit(0).LODs[0].Faces[0].Selected = kFalse;
  EXPECT_FALSE(Stitch(model, 0, StitchView::TopBottom));
}

TEST(Coordinates, RotationsAndMirrorsUndoThemselves) {
  Model model = Wall();
  model.Meshes.Edit(0).LODs[0].Faces[1].Selected = kTrue;
  const auto quad = UVs(model.Meshes[0].LODs[0].Faces[0]),
             tri = UVs(model.Meshes[0].LODs[0].Faces[1]);
  RotateCoordinates(model, 0, false);
  EXPECT_EQ(model.Meshes[0].LODs[0].Faces[0].Vertices[0].U, 0.7f);  // 0 takes 3
  EXPECT_EQ(model.Meshes[0].LODs[0].Faces[1].Vertices[0].U, 0.3f);  // triangle: 0 takes 2
  EXPECT_EQ(model.Meshes[0].LODs[0].Faces[1].Vertices[3].U, 0.1f);  // corner 3 untouched
  RotateCoordinates(model, 0, true);
  EXPECT_EQ(UVs(model.Meshes[0].LODs[0].Faces[0]), quad);
  EXPECT_EQ(UVs(model.Meshes[0].LODs[0].Faces[1]), tri);
  for (int i = 0; i < 12; ++i)
    RotateCoordinates(model, 0, true);  // four turns of a quad, three of a triangle
  EXPECT_EQ(UVs(model.Meshes[0].LODs[0].Faces[0]), quad);
  MirrorCoordinates(model, 0, true);
  EXPECT_FLOAT_EQ(model.Meshes[0].LODs[0].Faces[0].Vertices[0].U, 0.9f);
  MirrorCoordinates(model, 0, true);
  MirrorCoordinates(model, 0, false);
  MirrorCoordinates(model, 0, false);
  // 1 - (1 - x) gives x back to within one step of a Single.
  const auto back = UVs(model.Meshes[0].LODs[0].Faces[1]);
  for (std::size_t k = 0; k < 4; ++k) {
    EXPECT_NEAR(back[k].first, tri[k].first, 1e-7);
    EXPECT_NEAR(back[k].second, tri[k].second, 1e-7);
  }
}

TEST(Coordinates, ResetGivesTheUnitSquareAndLeavesATrianglesCornerThree) {
  Model model = Wall();
  ResetTextureCoordinates(model);
  EXPECT_EQ(UVs(model.Meshes[0].LODs[0].Faces[0]),
            (std::vector<std::pair<float, float>>{{0, 0}, {1, 0}, {1, 1}, {0, 1}}));
  EXPECT_EQ(model.Meshes[0].LODs[0].Faces[1].Vertices[2].V, 1.0f);
  EXPECT_EQ(model.Meshes[0].LODs[0].Faces[1].Vertices[3].U, 0.1f);
}

TEST(TextureAssignment, WritesTheChosenSlotAndRegistersOnce) {
  Model model = Wall();
  EXPECT_EQ(
      AssignTexture(model, 0, 1, "yellow.BMP", FaceRef{0, 0}, FaceVectors{{1, 2, 3}, {4, 5, 6}}),
      1);
  const FaceRec& face = model.Meshes[0].LODs[0].Faces[0];
  EXPECT_EQ(face.TextureNames[0], "t.BMP");
  EXPECT_EQ(face.TextureNames[1], "yellow.BMP");
  EXPECT_EQ(face.Vector2, (Single3{4, 5, 6}));
  EXPECT_EQ(RegisterTexture(model, "yellow.BMP"), (std::pair<int, bool>{0, true}));
  EXPECT_EQ(RegisterTexture(model, "yellow.BMP"), (std::pair<int, bool>{0, false}));
  EXPECT_EQ(model.Textures[0].TransOpacity, 255);
  EXPECT_EQ(model.Textures[0].IllumBrightness, 8);
  EXPECT_EQ(BlankFlightGroupSlots(model, 0), 1);
  EXPECT_EQ(face.TextureNames[1], "BLANK");
  EXPECT_EQ(face.TextureNames[0], "t.BMP");
  EXPECT_EQ(SetSelectedCornersUV(model, 0, 0.5f, 0.5f), 0);
}

}  // namespace
}  // namespace tamsel
