// The views and the pick against a box whose sides are known: each preset looks at the side
// it is named for, and a click at the centre of the view chooses that side.
#include <gtest/gtest.h>

#include "editing/normals.h"
#include "model/bounds.h"
#include "support/model_builders.h"
#include "viewport/camera_frame.h"
#include "viewport/scene_pick.h"

namespace tamsel {
namespace {

using test::kBoxSides;

constexpr ViewAngle kViewOf[6] = {ViewAngle::Top,  ViewAngle::Bottom, ViewAngle::Front,
                                  ViewAngle::Back, ViewAngle::Right,  ViewAngle::Left};

Model Box(bool insideOut = false) {
  Model model;
  model.Meshes.push_back(test::ColouredBox({0, 0, 0}, 1, insideOut));
  CalculateBounds(model);
  return model;
}

// A view of the whole model from a preset, 200 x 200 pixels, and a pick at (x, y) in it.
PickView ViewFrom(const Model& model, const ViewState& view, ViewAngle angle, double x = 100,
                  double y = 100) {
  Camera camera;
  ResetCamera(camera);
  OrientCamera(camera, angle);
  const auto framing = FrameView(camera, model, view, 200, 200, false);
  EXPECT_TRUE(framing.has_value());
  ApplyFraming(camera, *framing);
  camera.SetOrtho(-framing->extent, framing->extent, -framing->extent, framing->extent);
  PickView at;
  at.width = at.height = 200;
  at.projection = camera.Projection(200, 200);
  at.modelView = camera.ModelView();
  at.x = x, at.y = y;
  return at;
}

// The builder's corners agree with the rule Calculate > Face Normals follows: each side's
// normal points out of the box, where the side is named for.
TEST(CraftAxes, TheBoxSidesFaceWhereTheyAreNamed) {
  Model model = Box();
  CalculateFaceNormals(model);
  for (std::size_t s = 0; s < 6; ++s) {
    const Single3& n = model.Meshes[0].LODs[0].Faces[s].Normal;
    const Single3& want = kBoxSides[s].outward;
    EXPECT_NEAR(n.x, want.x, 1e-6) << kBoxSides[s].name;
    EXPECT_NEAR(n.y, want.y, 1e-6) << kBoxSides[s].name;
    EXPECT_NEAR(n.z, want.z, 1e-6) << kBoxSides[s].name;
  }
}

TEST(CraftAxes, AClickInTheMiddleOfEachPresetChoosesTheSideItIsNamedFor) {
  const Model model = Box();
  for (const Display mode : {Display::Texture, Display::Wire}) {
    ViewState view;
    view.DisplayMode = mode;
    view.HiddenLines = mode == Display::Wire;  // a wireframe picks its faces where they hide
    view.GeometryLevel = Geometry::Face;
    for (std::size_t s = 0; s < 6; ++s) {
      PickBoxes boxes;
      const PickOutcome picked =
          PickScene(model, view, {}, ViewFrom(model, view, kViewOf[s]), boxes);
      ASSERT_EQ(picked.kind, PickOutcome::Named) << kBoxSides[s].name;
      EXPECT_EQ(picked.target, (PickTarget{PickKind::Face, 0, static_cast<int>(s)}))
          << kBoxSides[s].name << " picked " << kBoxSides[picked.target.face].name;
    }
  }
}

// Two planes facing the top, one over the other: the click chooses the upper one, from either
// mesh order.
TEST(CraftAxes, AClickChoosesTheNearerOfTwoPlanes) {
  for (const bool upperFirst : {true, false}) {
    Model model;
    const FaceRec upper = test::BoxFace(kBoxSides[0], {0, 0, -2}, 1);
    const FaceRec lower = test::BoxFace(kBoxSides[0], {0, 0, 1}, 1);
    model.Meshes.push_back(test::MeshWith({upperFirst ? upper : lower}));
    model.Meshes.push_back(test::MeshWith({upperFirst ? lower : upper}));
    CalculateBounds(model);
    for (const Display mode : {Display::Texture, Display::Wire}) {
      ViewState view;
      view.DisplayMode = mode;
      view.HiddenLines = true;
      PickBoxes boxes;
      const PickOutcome picked =
          PickScene(model, view, {}, ViewFrom(model, view, ViewAngle::Top), boxes);
      EXPECT_EQ(picked.target, (PickTarget{PickKind::Mesh, upperFirst ? 0 : 1}));
    }
  }
}

// Where faces are solid the rectangle takes only what shows: from the Top view the top
// side's centre and corners show, the bottom side's are hidden, the sides' edges on the top
// show.
TEST(CraftAxes, FacesHideWhatLiesBehindThemFromTheRectangle) {
  const Model model = Box();
  ViewState view;
  view.DisplayMode = Display::Texture;
  const PickView at = ViewFrom(model, view, ViewAngle::Top);
  PickBoxes boxes;
  const auto hidden = [&](Single3 p) { return HiddenByFaces(model, view, at, p, boxes); };
  EXPECT_FALSE(hidden({0, 0, -1})) << "the top's centre";
  EXPECT_TRUE(hidden({0, 0, 1})) << "the bottom's centre";
  EXPECT_TRUE(hidden({0.5f, 0.5f, 0})) << "inside the box";
  for (const float x : {-1.0f, 1.0f})
    for (const float y : {-1.0f, 1.0f}) {
      EXPECT_FALSE(hidden({x, y, -1})) << "a corner of the top";
      EXPECT_TRUE(hidden({x * 0.5f, y * 0.5f, 1})) << "under the top";
    }
  EXPECT_FALSE(hidden({0, 3, 0})) << "beside the box, nothing in front";
}

// Turned inside out, the near side is seen from behind: a click passes through it to the
// far side, unless the back faces show.
TEST(CraftAxes, AFaceSeenFromBehindIsPickedOnlyWhenBackFacesShow) {
  const Model model = Box(true);
  ViewState view;
  view.DisplayMode = Display::Texture;
  view.GeometryLevel = Geometry::Face;
  PickBoxes boxes;
  EXPECT_EQ(PickScene(model, view, {}, ViewFrom(model, view, ViewAngle::Top), boxes).target,
            (PickTarget{PickKind::Face, 0, 1}))
      << "the bottom, seen from inside";
  view.BackFacesShown = true;
  EXPECT_EQ(PickScene(model, view, {}, ViewFrom(model, view, ViewAngle::Top), boxes).target,
            (PickTarget{PickKind::Face, 0, 0}))
      << "the top, seen from behind";
}

// At the corner level, a click on a face of a mesh not selected chooses the corner of that
// face nearest to the pointer.
TEST(CraftAxes, ACornerClickOnAnUnselectedMeshChoosesTheNearestCornerOfTheFaceSeen) {
  const Model model = Box();
  ViewState view;
  view.DisplayMode = Display::Texture;
  view.GeometryLevel = Geometry::Vertex;
  // From the Top view +X is on the left and +Y up: the upper left of the top side is its
  // corner at (1, 1, -1).
  PickBoxes boxes;
  const PickOutcome picked =
      PickClick(model, view, {}, ViewFrom(model, view, ViewAngle::Top, 80, 80), boxes);
  ASSERT_EQ(picked.kind, PickOutcome::Named);
  ASSERT_EQ(picked.target.kind, PickKind::Corner);
  EXPECT_EQ(picked.target.face, 0);
  const VertexRec& v = model.Meshes[0]
                           .LODs[0]
                           .Faces[static_cast<std::size_t>(picked.target.face)]
                           .Vertices[static_cast<std::size_t>(picked.target.corner)];
  EXPECT_EQ(v.X, 1);
  EXPECT_EQ(v.Y, 1);
  EXPECT_EQ(v.Z, -1);
  // Nothing under the pointer is still nothing.
  EXPECT_EQ(PickClick(model, view, {}, ViewFrom(model, view, ViewAngle::Top, 2, 2), boxes).kind,
            PickOutcome::NoHit);
}

}  // namespace
}  // namespace tamsel
