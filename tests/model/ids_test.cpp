#include <gtest/gtest.h>

#include "model/model.h"

namespace tamsel {
namespace {

TEST(IdCounters, IncrementThenTakeFromTheStartValues) {
  IdCounters ids;
  EXPECT_EQ(ids.NewMeshId(), 1001);
  EXPECT_EQ(ids.NewFaceId(), 2001);
  EXPECT_EQ(ids.NewVertexId(), 20001);
  EXPECT_EQ(ids.NewMeshId(), 1002);
}

TEST(IdCounters, AssignNewIdsNumbersLevelFacesAndAllFourCornersAndClearsSelection) {
  IdCounters ids;
  LODRec level;
  level.Selected = kTrue;
  level.Faces.resize(2);
  level.Faces[1].Selected = kTrue;
  level.Faces[1].Vertices[2].Selected = kTrue;
  AssignNewIds(level, ids);
  EXPECT_EQ(level.Id, 1001);
  EXPECT_EQ(level.Selected, kFalse);
  EXPECT_EQ(level.Faces[0].Id, 2001);
  EXPECT_EQ(level.Faces[1].Id, 2002);
  EXPECT_EQ(level.Faces[0].Vertices[0].Id, 20001);
  EXPECT_EQ(level.Faces[1].Vertices[3].Id, 20008);
  EXPECT_EQ(level.Faces[1].Selected, kFalse);
  EXPECT_EQ(level.Faces[1].Vertices[2].Selected, kFalse);
  // Reading the same level again gives new, larger ids.
  AssignNewIds(level, ids);
  EXPECT_EQ(level.Id, 1002);
  EXPECT_EQ(level.Faces[0].Vertices[0].Id, 20009);
}

TEST(Model, ClearEmptiesTheModelButNeverRestartsTheIds) {
  Model model;
  model.Ids.NewMeshId();
  model.Meshes.resize(3);
  model.Textures.resize(2);
  model.ModelMin = {1, 2, 3};
  model.Clear();
  EXPECT_EQ(model.MeshCount(), 0);
  EXPECT_EQ(model.TextureCount(), 0);
  EXPECT_EQ(model.ModelMin, Single3{});
  EXPECT_EQ(model.Ids.NewMeshId(), 1002);
}

TEST(Model, TotalFaceCountCountsBothLevels) {
  Model model;
  EXPECT_EQ(TotalFaceCount(model), 0);
  MeshRec mesh;
  mesh.LODs.resize(2);
  mesh.LODs[0].Faces.resize(100);
  mesh.LODs[1].Faces.resize(40);
  model.Meshes.push_back(mesh);
  EXPECT_EQ(TotalFaceCount(model), 140);
}

}  // namespace
}  // namespace tamsel
