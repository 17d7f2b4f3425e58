// The fighter a newcomer opens: closed parts whose faces all face outward, every feature
// present where it belongs, and a project that survives the OPT round trip.
#include "editing/sample_fighter.h"

#include <gtest/gtest.h>

#include <set>

#include "model/project.h"
#include "opt/opt_import.h"
#include "opt/opt_writer.h"
#include "support/temp_dir.h"

namespace tamsel {
namespace {

const MeshRec& Named(const Model& m, const std::string& name) {
  for (const MeshRec& mesh : m.Meshes)
    if (mesh.Name == name) return mesh;
  throw std::runtime_error("no mesh " + name);
}

TEST(SampleFighter, EveryPartIsClosedAndFacesOutward) {
  test::TempDir dir;
  Model m;
  GenerateFighter(m, dir.path() / "fighter");
  ASSERT_EQ(m.MeshCount(), 7);
  for (const MeshRec& mesh : m.Meshes) {
    ASSERT_EQ(mesh.LODs.size(), 2u) << mesh.Name;
    EXPECT_GT(mesh.LODs[0].FaceCount(), 0) << mesh.Name;
    EXPECT_LE(mesh.LODs[1].FaceCount(), mesh.LODs[0].FaceCount()) << mesh.Name;
    EXPECT_GT(mesh.LODs[1].Distance, mesh.LODs[0].Distance) << mesh.Name;
    for (const LODRec& level : mesh.LODs) {
      // Closed: every edge is walked once each way by the faces around it.
      std::multiset<std::array<float, 6>> edges;
      for (const FaceRec& f : level.Faces) {
        const int n = f.CornerCount();
        for (int k = 0; k < n; ++k) {
          const VertexRec &a = f.Vertices[static_cast<std::size_t>(k)],
                          &b = f.Vertices[static_cast<std::size_t>((k + 1) % n)];
          edges.insert({a.X, a.Y, a.Z, b.X, b.Y, b.Z});
        }
      }
      for (const auto& e : edges)
        EXPECT_EQ(edges.count({e[3], e[4], e[5], e[0], e[1], e[2]}), 1u)
            << mesh.Name << " has an open or doubled edge";
      // Outward: each normal points away from the part's centre line (the parts are
      // convex around it), and is unit length.
      for (const FaceRec& f : level.Faces) {
        const Single3& n = f.Normal;
        EXPECT_NEAR(n.x * n.x + n.y * n.y + n.z * n.z, 1.0f, 1e-4f) << mesh.Name;
        const float dx = f.BoxCenter.x - mesh.Center.x, dy = f.BoxCenter.y - mesh.Center.y,
                    dz = f.BoxCenter.z - mesh.Center.z;
        if (mesh.Name != "Chin Turret") {  // a box with a barrel is not convex
          EXPECT_GT(n.x * dx + n.y * dy + n.z * dz, 0) << mesh.Name;
        }
      }
    }
  }
}

TEST(SampleFighter, ShowsEveryFeatureWhereItBelongs) {
  test::TempDir dir;
  Model m;
  GenerateFighter(m, dir.path() / "fighter");
  // In the craft's axes: the nose along +Y, the cockpit on the top (-Z) and the chin turret
  // under the hull, the right wing on the right (-X).
  const MeshRec& body = Named(m, "Hull");
  EXPECT_GT(body.Max.y, -body.Min.y);
  EXPECT_LT(Named(m, "Cockpit").Center.z, body.Center.z - 2);
  EXPECT_GT(Named(m, "Chin Turret").Center.z, body.Center.z + 2);
  EXPECT_LT(Named(m, "Right Wing").Center.x, -10);
  EXPECT_GT(Named(m, "Left Wing").Center.x, 10);
  // Lasers at both wing tips, the cockpit hardpoint inside the canopy.
  for (const char* wing : {"Right Wing", "Left Wing"}) {
    const MeshRec& w = Named(m, wing);
    ASSERT_EQ(w.Hardpoints.size(), 1u);
    EXPECT_NEAR(std::abs(w.Hardpoints[0].Position.x), std::max(-w.Min.x, w.Max.x), 0.01f);
  }
  EXPECT_EQ(Named(m, "Cockpit").Hardpoints.at(0).HardpointType, 31);
  // A glow behind each nozzle.
  for (const char* engine : {"Right Engine", "Left Engine"}) {
    const MeshRec& e = Named(m, engine);
    ASSERT_EQ(e.EngineGlows.size(), 1u);
    EXPECT_LT(e.EngineGlows[0].Position.y, e.Min.y);
    EXPECT_NEAR(e.EngineGlows[0].Position.x, (e.Min.x + e.Max.x) / 2, 0.01f);
  }
  // A texture per part, a see-through and lit canopy, lit nozzles.
  std::set<std::string> used;
  for (const MeshRec& mesh : m.Meshes)
    for (const FaceRec& f : mesh.LODs[0].Faces) used.insert(f.TextureNames[0]);
  EXPECT_EQ(used.size(), 5u);
  int transparent = 0, illuminated = 0;
  for (const TextureRec& t : m.Textures) {
    transparent += !t.TransColors.empty() && t.TransOpacity < 255;
    illuminated += !t.IllumColors.empty();
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "fighter" / t.Name)) << t.Name;
  }
  EXPECT_EQ(transparent, 1);
  EXPECT_EQ(illuminated, 2);
  // The hull's faces name the three flight-group variants.
  const FaceRec& hull = Named(m, "Hull").LODs[0].Faces[0];
  EXPECT_EQ(hull.TextureNames[2], "fighter_hull_blue.BMP");
  // Hitzones from the boxes, and a turret that turns about its vertical axis.
  const MeshRec& turret = Named(m, "Chin Turret");
  EXPECT_EQ(turret.MeshType, 21);
  EXPECT_EQ(turret.Axis.x, 0);
  EXPECT_EQ(turret.Axis.y, 0);
  EXPECT_EQ(std::abs(turret.Axis.z), 10);
  EXPECT_NEAR(turret.Pivot.y, turret.Center.y, 0.01f);
  EXPECT_GT(Named(m, "Hull").Span.y, 60);
}

TEST(SampleFighter, SurvivesTheOptRoundTrip) {
  test::TempDir dir;
  Model m;
  GenerateFighter(m, dir.path() / "fighter");
  const std::filesystem::path opt = CreateOpt(m, 7u);
  Model back;
  std::filesystem::create_directories(dir.path() / "back");
  NewProject(back, dir.path() / "back");
  ImportOpt(back, opt);
  ASSERT_EQ(back.MeshCount(), m.MeshCount());
  EXPECT_EQ(TotalFaceCount(back), TotalFaceCount(m));
  for (int i = 0; i < m.MeshCount(); ++i) {
    const MeshRec &a = m.Meshes[static_cast<std::size_t>(i)],
                  &b = back.Meshes[static_cast<std::size_t>(i)];
    EXPECT_EQ(a.Hardpoints, b.Hardpoints) << a.Name;
    EXPECT_EQ(a.EngineGlows.size(), b.EngineGlows.size()) << a.Name;
    EXPECT_EQ(a.MeshType, b.MeshType) << a.Name;
  }
}

}  // namespace
}  // namespace tamsel
