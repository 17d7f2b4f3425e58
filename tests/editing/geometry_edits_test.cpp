#include "editing/geometry_edits.h"

#include <gtest/gtest.h>

#include <bit>
#include <random>
#include <set>

#include "editing/normals.h"
#include "model/bounds.h"
#include "support/model_builders.h"

namespace tamsel {
namespace {

using namespace test;

Model Squares() {
  Model model;
  model.Meshes.push_back(
      MeshWith({Quad(Corner(0, 0, 0), Corner(2, 0, 0), Corner(2, 2, 0), Corner(0, 2, 0)),
                Triangle(Corner(4, 0, 0), Corner(6, 0, 0), Corner(4, 2, 0))},
               {}, "A"));
  model.Meshes.push_back(MeshWith(
      {Quad(Corner(0, 0, 5), Corner(1, 0, 5), Corner(1, 1, 5), Corner(0, 1, 5))}, {}, "B"));
  model.Meshes.push_back(
      MeshWith({Triangle(Corner(9, 9, 9), Corner(8, 9, 9), Corner(9, 8, 9))}, {}, "C"));
  model.Meshes.Edit(0).Hardpoints = {{1, {1, 1, 1}}};
  model.Meshes.Edit(0).EngineGlows.resize(1);
  model.Meshes.Edit(0).Span = {3, 3, 3};
  for (MeshRec& m : model.Meshes.EditAll()) AssignNewIds(m.LODs[0], model.Ids);
  CalculateBounds(model);
  return model;
}

TEST(MeshUpdate, MovesThenScalesAboutTheOriginAndShiftsTheFeatures) {
  Model model = Squares();
  model.Meshes.Edit(0).LODs[0].Selected = kTrue;
  EXPECT_EQ(UpdateSelectedMeshes(model, 0, {2.5, 100, 1, 0, 0}), 1);
  const FaceRec& quad = model.Meshes[0].LODs[0].Faces[0];
  EXPECT_EQ(quad.Vertices[2].X, 3.0f);
  EXPECT_EQ(model.Meshes[0].LODs[0].Distance, 2.5f);
  EXPECT_EQ(model.Meshes[0].Hardpoints[0].Position.x, 2.0f);
  EXPECT_EQ(model.Meshes[0].EngineGlows[0].Position.x, 1.0f);
  EXPECT_EQ(model.Meshes[0].Span.x, 3.0f);                          // the span stays
  EXPECT_EQ(model.Meshes[1].LODs[0].Faces[0].Vertices[1].X, 1.0f);  // unselected: untouched
  EXPECT_EQ(model.Meshes[0].LODs[0].BoxMax.x, 7.0f);                // bounds recomputed

  UpdateSelectedMeshes(model, 0, {0, 200, 0, 0, 0});
  EXPECT_EQ(quad.Vertices[2].X, 6.0f);  // twice the distance from the origin
  EXPECT_EQ(quad.Vertices[2].Y, 4.0f);
  EXPECT_EQ(model.Meshes[0].Hardpoints[0].Position.x, 2.0f);  // not scaled
  // A mesh without the current level is skipped.
  EXPECT_EQ(UpdateSelectedMeshes(model, 1, {0, 50, 9, 9, 9}), 0);
}

TEST(CornerUpdate, WeldsSelectedCornersAndKeepsTrianglesTriangles) {
  Model model = Squares();
  FaceRec& quad = model.Meshes.Edit(0).LODs[0].Faces[0];
  FaceRec& tri = model.Meshes.Edit(0).LODs[0].Faces[1];
  quad.Vertices[1].Selected = quad.Vertices[2].Selected = kTrue;
  tri.Vertices[0].Selected = kTrue;
  tri.Vertices[3].Selected = kTrue;  // the copy is not a corner of its own
  EXPECT_EQ(UpdateSelectedCorners(model, 0, {7, 8, 9}, CornerRef{0, 0, 2}, {0, 1, 0}), 3);
  EXPECT_EQ(quad.Vertices[1].X, 7.0f);
  EXPECT_EQ(quad.Vertices[2].Z, 9.0f);
  EXPECT_EQ(quad.Vertices[2].J, 1.0f);  // only the focused corner gets the normal
  EXPECT_EQ(quad.Vertices[1].J, 0.0f);
  EXPECT_TRUE(tri.IsTriangle());
  EXPECT_EQ(tri.Vertices[3].Y, 8.0f);
}

TEST(FaceUpdate, OnlyTheFocusedSelectedFaceGetsTheNormal) {
  Model model = Squares();
  EXPECT_FALSE(UpdateFocusedFaceNormal(model, 0, {0, 1}, {1, 0, 0}));  // mesh not selected
  model.Meshes.Edit(0).LODs[0].Selected = kTrue;
  model.Meshes.Edit(0).LODs[0].Faces[1].Selected = kTrue;
  EXPECT_TRUE(UpdateFocusedFaceNormal(model, 0, {0, 1}, {1, 0, 0}));
  EXPECT_EQ(model.Meshes[0].LODs[0].Faces[1].Normal, (Single3{1, 0, 0}));
  EXPECT_FALSE(UpdateFocusedFaceNormal(model, 0, {0, 7}, {1, 0, 0}));
}

TEST(MeshDelete, RemovesSelectedMeshesOfTheLevelAndKeepsTheOrder) {
  Model model = Squares();
  model.Meshes.Edit(0).LODs[0].Selected = model.Meshes.Edit(1).LODs[0].Selected = kTrue;
  EXPECT_EQ(DeleteSelectedMeshes(model, 1), std::vector<int>{});
  EXPECT_EQ(DeleteSelectedMeshes(model, 0), (std::vector<int>{0, 1}));
  ASSERT_EQ(model.MeshCount(), 1);
  EXPECT_EQ(model.Meshes[0].Name, "C");
}

TEST(AssignLod, TheFirstOtherSelectedMeshBecomesTheLowLevel) {
  Model model = Squares();
  EXPECT_EQ(AssignLowLevel(model, -1), -1);
  model.Meshes.Edit(0).LODs[0].Selected = kTrue;
  EXPECT_EQ(AssignLowLevel(model, 0), -1);  // only the target selected
  model.Meshes.Edit(1).LODs[0].Selected = model.Meshes.Edit(2).LODs[0].Selected = kTrue;
  const std::int32_t sourceId = model.Meshes[1].LODs[0].Faces[0].Id;
  EXPECT_EQ(AssignLowLevel(model, 0), 1);
  ASSERT_EQ(model.MeshCount(), 2);
  EXPECT_EQ(model.Meshes[1].Name, "C");
  ASSERT_EQ(model.Meshes[0].LODCount(), 2);
  EXPECT_EQ(model.Meshes[0].LODs[1].Distance, 1000.0f);
  EXPECT_EQ(model.Meshes[0].LODs[1].Faces[0].Id, sourceId);
  EXPECT_EQ(model.Meshes[0].LODs[1].Faces[0].Vertices[0].Z, 5.0f);
  // Again: the low level is replaced.
  EXPECT_EQ(AssignLowLevel(model, 0), 1);
  EXPECT_EQ(model.Meshes[0].LODs[1].Faces[0].Vertices[0].X, 9.0f);
}

TEST(Quad2Tri, SplitsQuadsAlongTheDiagonalFromCornerOneToThree) {
  Model model = Squares();
  const std::int32_t lastFace = model.Ids.NextFaceId;
  EXPECT_EQ(Quad2Tri(model), 2);
  const auto& faces = model.Meshes[0].LODs[0].Faces;
  ASSERT_EQ(faces.size(), 3u);
  EXPECT_TRUE(faces[0].IsTriangle() && faces[1].IsTriangle() && faces[2].IsTriangle());
  EXPECT_EQ(faces[0].Vertices[2].Y, 2.0f);  // A B D
  EXPECT_EQ(faces[0].Vertices[2].X, 0.0f);
  EXPECT_EQ(faces[1].Vertices[0].X, 2.0f);  // B C D
  EXPECT_EQ(faces[1].Vertices[1].Y, 2.0f);
  EXPECT_EQ(faces[1].Id, lastFace + 1);
  EXPECT_EQ(faces[2].Vertices[0].X, 4.0f);  // the triangle moved back
  // Every corner has an id of its own.
  std::set<std::int32_t> ids;
  for (const FaceRec& f : faces)
    for (int k = 0; k < 4; ++k) ids.insert(f.Vertices[static_cast<std::size_t>(k)].Id);
  EXPECT_EQ(ids.size(), 12u);
  EXPECT_EQ(Quad2Tri(model), 0);  // only triangles left
}

// Meshes are split side by side on every core, each rebuilt from its record: everything of
// a mesh but its faces stays, and the ids are those of splitting one quad after another.
TEST(Quad2Tri, KeepsEveryMeshValueAndDrawsIdsInTheOrderOfTheFaces) {
  Model model = test::RichModel();
  const Model before = model;
  const std::int32_t face = model.Ids.NextFaceId, vertex = model.Ids.NextVertexId;
  const int added = Quad2Tri(model);
  ASSERT_GT(added, 0);
  EXPECT_EQ(model.Ids.NextFaceId, face + added);
  EXPECT_EQ(model.Ids.NextVertexId, vertex + 5 * added);
  std::int32_t nextFace = face, nextVertex = vertex;
  for (std::size_t m = 0; m < model.Meshes.size(); ++m) {
    const MeshRec& a = before.Meshes[m];
    const MeshRec& b = model.Meshes[m];
    EXPECT_EQ(a.Name, b.Name);
    test::ExpectSameFeatures(a, b);
    ASSERT_EQ(a.LODs.size(), b.LODs.size());
    for (std::size_t l = 0; l < a.LODs.size(); ++l) {
      EXPECT_EQ(a.LODs[l].Id, b.LODs[l].Id);
      EXPECT_EQ(a.LODs[l].Distance, b.LODs[l].Distance);
      EXPECT_EQ(a.LODs[l].Selected, b.LODs[l].Selected);
      std::size_t at = 0;
      for (const FaceRec& old : a.LODs[l].Faces) {
        const FaceRec& first = b.LODs[l].Faces[at++];
        EXPECT_EQ(first.Id, old.Id);
        EXPECT_EQ(first.TextureNames, old.TextureNames);
        if (old.IsTriangle()) continue;
        const FaceRec& second = b.LODs[l].Faces[at++];
        EXPECT_EQ(second.Id, ++nextFace);
        for (const VertexRec& v : second.Vertices) EXPECT_EQ(v.Id, ++nextVertex);
        EXPECT_EQ(first.Vertices[3].Id, ++nextVertex);
        EXPECT_EQ(second.Normal, old.Normal);
      }
      EXPECT_EQ(at, b.LODs[l].Faces.size());
    }
  }
}

TEST(VertexOrder, ReversesPositionsOnlyAndTwiceRestores) {
  Model model = Squares();
  model.Meshes.Edit(0).LODs[0].Faces[0].Vertices[3].U = 0.75f;
  const Model before = model;
  ReverseVertexOrder(model);
  const FaceRec& quad = model.Meshes[0].LODs[0].Faces[0];
  EXPECT_EQ(quad.Vertices[1].Y, 2.0f);  // D's position in slot 1
  EXPECT_EQ(quad.Vertices[3].X, 2.0f);
  EXPECT_EQ(quad.Vertices[3].U, 0.75f);  // coordinates stay with their slots
  EXPECT_EQ(model.Meshes[0].LODs[0].Faces[1].Vertices[2].X, 6.0f);
  ReverseVertexOrder(model);
  EXPECT_EQ(model.Meshes[0].LODs[0].Faces[0].Vertices[1].X,
            before.Meshes[0].LODs[0].Faces[0].Vertices[1].X);
  EXPECT_EQ(model.Meshes[0].LODs[0].Faces[0].Vertices[3].Y,
            before.Meshes[0].LODs[0].Faces[0].Vertices[3].Y);
}

TEST(Normals, FaceNormalsPointWhereCornersTurnClockwiseAndDegenerateFacesGetZero) {
  Model model;
  model.Meshes.push_back(
      MeshWith({Quad(Corner(0, 0, 0), Corner(1, 0, 0), Corner(1, 1, 0), Corner(0, 1, 0)),
                Quad(Corner(0, 0, 0), Corner(0, 1, 0), Corner(1, 1, 0), Corner(1, 0, 0)),
                Quad(Corner(2, 2, 2), Corner(2, 2, 2), Corner(3, 3, 3), Corner(2, 2, 2))}));
  CalculateFaceNormals(model);
  EXPECT_EQ(model.Meshes[0].LODs[0].Faces[0].Normal, (Single3{0, 0, -1}));
  EXPECT_EQ(model.Meshes[0].LODs[0].Faces[1].Normal, (Single3{0, 0, 1}));
  EXPECT_EQ(model.Meshes[0].LODs[0].Faces[2].Normal, (Single3{0, 0, 0}));
}

TEST(Normals, VertexNormalsAverageAcrossMeshesAtExactPositionsOnly) {
  Model model;
  FaceRec floor = Quad(Corner(0, 0, 0), Corner(1, 0, 0), Corner(1, 1, 0), Corner(0, 1, 0));
  FaceRec wall = Quad(Corner(0, 0, 0), Corner(1, 0, 0), Corner(1, 0, 1), Corner(0, 0, 1));
  floor.Normal = {0, 0, 1};
  wall.Normal = {0, 1, 0};
  model.Meshes.push_back(MeshWith({floor}));
  model.Meshes.push_back(
      MeshWith({wall}, {Triangle(Corner(0, 0, 0), Corner(5, 0, 0), Corner(0, 5, 0))}));
  model.Meshes.Edit(1).LODs[0].Faces[0].Vertices[3].X = -0.0f;  // -0 matches 0
  CalculateVertexNormals(model);
  const VertexRec& shared = model.Meshes[0].LODs[0].Faces[0].Vertices[1];
  EXPECT_EQ(shared.J, 0.5f);
  EXPECT_EQ(shared.K, 0.5f);
  EXPECT_EQ(model.Meshes[0].LODs[0].Faces[0].Vertices[2].K, 1.0f);  // not shared
  // The low level has only itself.
  EXPECT_EQ(model.Meshes[1].LODs[1].Faces[0].Vertices[0].K, 1.0f);
}

TEST(Normals, VertexNormalsMatchTheFullScanBitForBit) {
  std::mt19937 random(5);
  std::uniform_int_distribution<int> grid(0, 4);
  Model model;
  for (int m = 0; m < 3; ++m) {
    std::vector<FaceRec> faces;
    for (int f = 0; f < 60; ++f) {
      const auto c = [&] {
        return Corner(static_cast<float>(grid(random)), static_cast<float>(grid(random)),
                      0.5f * grid(random));
      };
      faces.push_back(f % 3 ? Quad(c(), c(), c(), c()) : Triangle(c(), c(), c()));
    }
    model.Meshes.push_back(MeshWith(faces, {faces[0], faces[1]}));
  }
  CalculateFaceNormals(model);
  Model reference = model;
  // The full scan, as the command is defined.
  for (MeshRec& mesh : reference.Meshes.EditAll())
    for (std::size_t l = 0; l < mesh.LODs.size(); ++l)
      for (FaceRec& face : mesh.LODs[l].Faces)
        for (int c = 0; c < face.CornerCount(); ++c) {
          VertexRec& p = face.Vertices[static_cast<std::size_t>(c)];
          int count = 0;
          double i = 0, j = 0, k = 0;
          for (const MeshRec& m2 : model.Meshes) {
            if (l >= m2.LODs.size()) continue;
            for (const FaceRec& f2 : m2.LODs[l].Faces)
              for (int c2 = 0; c2 < f2.CornerCount(); ++c2) {
                const VertexRec& q = f2.Vertices[static_cast<std::size_t>(c2)];
                if (q.X == p.X && q.Y == p.Y && q.Z == p.Z)
                  ++count, i += f2.Normal.x, j += f2.Normal.y, k += f2.Normal.z;
              }
          }
          p.I = static_cast<float>(i / count), p.J = static_cast<float>(j / count),
          p.K = static_cast<float>(k / count);
        }
  CalculateVertexNormals(model);
  for (std::size_t m = 0; m < model.Meshes.size(); ++m)
    for (std::size_t l = 0; l < model.Meshes[m].LODs.size(); ++l)
      for (std::size_t f = 0; f < model.Meshes[m].LODs[l].Faces.size(); ++f)
        for (int c = 0; c < 4; ++c) {
          const VertexRec& a =
              model.Meshes[m].LODs[l].Faces[f].Vertices[static_cast<std::size_t>(c)];
          const VertexRec& b =
              reference.Meshes[m].LODs[l].Faces[f].Vertices[static_cast<std::size_t>(c)];
          ASSERT_EQ(std::bit_cast<std::uint32_t>(a.I), std::bit_cast<std::uint32_t>(b.I))
              << m << " " << f << " " << c;
          ASSERT_EQ(std::bit_cast<std::uint32_t>(a.K), std::bit_cast<std::uint32_t>(b.K));
        }
}

TEST(Normals, SoftwareVectorsRunBetweenTheEdgePointsAtTheCornersV) {
  Model model;
  FaceRec face = Quad(Corner(0, 0, 0, 0, 0), Corner(4, 0, 0, 0, 0), Corner(4, 2, 0, 0, 1),
                      Corner(0, 2, 0, 0, 1));
  model.Meshes.push_back(MeshWith({face}));
  CalculateSoftwareVectors(model);
  EXPECT_EQ(model.Meshes[0].LODs[0].Faces[0].Vector1, (Single3{4, 0, 0}));  // V0 = V1 = 0: P1 - P0
  model.Meshes.Edit(0).LODs[0].Faces[0].Vertices[0].V = 0.5f;
  model.Meshes.Edit(0).LODs[0].Faces[0].Vertices[1].V = 0.25f;
  CalculateSoftwareVectors(model);
  EXPECT_EQ(model.Meshes[0].LODs[0].Faces[0].Vector1, (Single3{4, -0.5f, 0}));
}

}  // namespace
}  // namespace tamsel
