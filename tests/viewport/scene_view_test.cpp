#include "viewport/scene_view.h"

#include <gtest/gtest.h>

namespace tamsel {
namespace {

ViewState View(Display mode, Geometry level) {
  ViewState v;
  v.DisplayMode = mode;
  v.GeometryLevel = level;
  return v;
}

// The rules every drawer and the picker follow, one row per view.
TEST(SceneView, WhatEachViewShows) {
  struct Row {
    Display mode;
    Geometry level;
    bool meshCentres, faceCentres, corners, normals;
    PickKind picks;
  };
  const Row rows[] = {
      {Display::Wire, Geometry::Mesh, true, false, false, false, PickKind::Mesh},
      {Display::Texture, Geometry::Mesh, false, false, false, false, PickKind::Mesh},
      {Display::Wire, Geometry::Face, false, true, false, true, PickKind::Face},
      {Display::Texture, Geometry::Face, false, false, false, true, PickKind::Face},
      {Display::Wire, Geometry::Vertex, false, false, true, true, PickKind::Corner},
      {Display::Texture, Geometry::Vertex, false, false, true, true, PickKind::Corner},
  };
  for (const Row& r : rows) {
    const SceneView s = SceneView::Of(View(r.mode, r.level), {});
    const std::string where =
        std::string(GeometryKey(r.level)) + (r.mode == Display::Texture ? " textured" : " wire");
    EXPECT_EQ(s.meshCentres, r.meshCentres) << where;
    EXPECT_EQ(s.faceCentres, r.faceCentres) << where;
    EXPECT_EQ(s.corners, r.corners) << where;
    EXPECT_EQ(s.normals, r.normals) << where;
    EXPECT_EQ(s.Picks(), r.picks) << where;
    EXPECT_EQ(s.textured, r.mode == Display::Texture) << where;
  }
}

TEST(SceneView, NormalsVectorsAndLevelFollowTheirSwitches) {
  ViewState v = View(Display::Wire, Geometry::Face);
  v.NormalsShown = false;
  EXPECT_FALSE(SceneView::Of(v, {}).normals);
  // Software vectors belong to the face level's texture sub-frame alone.
  v.GeometrySubPanel = GeometrySub::Texture;
  EXPECT_TRUE(SceneView::Of(v, {}).vectors);
  v.GeometryLevel = Geometry::Vertex;
  EXPECT_FALSE(SceneView::Of(v, {}).vectors);
  v.CurrentLOD = Detail::Low;
  v.FlightGroupColor = 2;
  EXPECT_EQ(SceneView::Of(v, {}).level, 1);
  EXPECT_EQ(SceneView::Of(v, {}).flightGroup, 2);
}

TEST(SceneView, OnlyTheRotationFrameAnimatesTheFocusedMesh) {
  ViewState v;
  SceneInputs in;
  in.focusedMesh = 3;
  in.animateAim = true;
  EXPECT_FALSE(SceneView::Of(v, in).Animated(3)) << "the geometry frame animates nothing";
  v.PropertyPanel = Panel::Rotation;
  EXPECT_TRUE(SceneView::Of(v, in).Animated(3));
  EXPECT_FALSE(SceneView::Of(v, in).Animated(2));
  in.animateAim = false;
  EXPECT_FALSE(SceneView::Of(v, in).Animated(3)) << "no box ticked";
  in.animateDegree = true;
  in.focusedMesh = -1;
  EXPECT_FALSE(SceneView::Of(v, in).Animated(-1)) << "no mesh focused";
}

TEST(SceneView, SelectionColoursFollowTheMode) {
  ColorSettings c;
  c.PrimarySelectWireColor = {1, 2, 3};
  c.PrimarySelectTexColor = {4, 5, 6};
  c.SecondarySelectWireColor = {7, 8, 9};
  c.SecondarySelectTexColor = {10, 11, 12};
  const SceneView wire = SceneView::Of(View(Display::Wire, Geometry::Mesh), {});
  const SceneView tex = SceneView::Of(View(Display::Texture, Geometry::Mesh), {});
  EXPECT_EQ(wire.Primary(c).R, 1);
  EXPECT_EQ(wire.Secondary(c).R, 7);
  // Textured faces are tinted halfway from white, so that the texture stays readable.
  EXPECT_EQ(tex.Primary(c).R, 130);
  EXPECT_EQ(tex.Secondary(c).R, 133);
  c.PrimarySelectTexColor = {0, 0, 255};
  const ColorTriple blue = tex.Primary(c);
  EXPECT_EQ(blue.R, 128);
  EXPECT_EQ(blue.B, 255);
}

TEST(ViewStateKeys, GeometryKeysRoundTripAndRefuseOthers) {
  for (Geometry g : {Geometry::Mesh, Geometry::Face, Geometry::Vertex})
    EXPECT_EQ(GeometryNamed(GeometryKey(g)), g);
  EXPECT_FALSE(GeometryNamed("Mesh"));
  EXPECT_FALSE(GeometryNamed(""));
}

}  // namespace
}  // namespace tamsel
