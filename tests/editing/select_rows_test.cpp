// Choosing rows in the lists: the flags follow the rows, only the meshes whose flags change
// are copied, and the change to announce says that no record but the flags changed.
#include <gtest/gtest.h>

#include "editing/select_many.h"
#include "support/model_builders.h"

namespace tamsel {
namespace {

using test::Corner;

Model ThreeMeshes() {
  Model model;
  for (int m = 0; m < 3; ++m) {
    std::vector<FaceRec> faces;
    for (int f = 0; f < 3; ++f)
      faces.push_back(test::Quad(Corner(f, m, 0), Corner(f + 1, m, 0), Corner(f + 1, m + 1, 0),
                                 Corner(f, m + 1, 0)));
    model.Meshes.push_back(test::MeshWith(faces, {}, "M" + std::to_string(m)));
  }
  return model;
}

std::vector<bool> FaceFlags(const Model& model, int mesh) {
  std::vector<bool> flags;
  for (const FaceRec& f : model.Meshes[static_cast<std::size_t>(mesh)].LODs[0].Faces)
    flags.push_back(f.Selected != 0);
  return flags;
}

TEST(SelectRows, ListRowsSetTheFlagsAndCopyOnlyTheMeshesWhoseFlagsChange) {
  Model model = ThreeMeshes();
  const Model before = model;  // shares every mesh, as the undo history does
  const ModelChange change = SelectMeshRows(model, 0, {false, true, false});
  EXPECT_TRUE(change.recordsUnchanged);
  EXPECT_TRUE(change.focus);
  EXPECT_TRUE(change.meshes.empty());
  EXPECT_TRUE(model.Meshes[1].LODs[0].Selected);
  EXPECT_TRUE(model.Meshes.SharesWith(before.Meshes, 0)) << "an unchanged mesh was copied";
  EXPECT_FALSE(model.Meshes.SharesWith(before.Meshes, 1));
  EXPECT_TRUE(model.Meshes.SharesWith(before.Meshes, 2));

  const std::vector<FaceRef> rows = FaceRows(model, 0);  // the faces of mesh 2 only
  ASSERT_EQ(rows.size(), 3u);
  SelectFaceRows(model, 0, rows, {true, false, true, true /* past the rows: ignored */});
  EXPECT_EQ(FaceFlags(model, 1), (std::vector<bool>{true, false, true}));
  EXPECT_EQ(FaceFlags(model, 0), (std::vector<bool>{false, false, false}));

  SelectCornerRows(model, 0, {{1, 0, 2}, {1, 9, 0} /* no such face */}, {true, true});
  EXPECT_TRUE(model.Meshes[1].LODs[0].Faces[0].Vertices[2].Selected);
  EXPECT_FALSE(model.Meshes[1].LODs[0].Faces[0].Vertices[1].Selected);
}

TEST(SelectRows, AFaceFoundAloneSelectsItsMeshAndLeavesTheOtherMeshesAsTheyWere) {
  Model model = ThreeMeshes();
  SelectMeshRows(model, 0, {true, false, false});
  SelectFaceRows(model, 0, FaceRows(model, 0), {true, true, true});
  const ModelChange change = SelectFaceAlone(model, 0, {2, 1});
  EXPECT_TRUE(change.focus);
  EXPECT_TRUE(model.Meshes[0].LODs[0].Selected) << "another mesh lost its selection";
  EXPECT_TRUE(model.Meshes[2].LODs[0].Selected);
  EXPECT_EQ(FaceFlags(model, 0), (std::vector<bool>{false, false, false}));
  EXPECT_EQ(FaceFlags(model, 2), (std::vector<bool>{false, true, false}));
  // A face that does not exist changes nothing.
  const Model kept = model;
  EXPECT_FALSE(SelectFaceAlone(model, 0, {2, 7}).focus);
  for (std::size_t m = 0; m < 3; ++m) EXPECT_TRUE(model.Meshes.SharesWith(kept.Meshes, m));
}

}  // namespace
}  // namespace tamsel
